"""orvada.raw.BookBase: the book object's members with Python types."""

import pytest

import orvada
import orvada.raw as raw
from conftest import opened


def test_opening_closing_and_failures(bible, tmp_path):
    book = raw.BookBase()
    raw.PointBookAt(book, bible)
    assert (book.GetPublisherID(), book.GetBookID(), book.GetSyncType()) == ("3", "9", "verse")
    assert book.GetTextPath() == f"{bible}/"
    with pytest.raises(orvada.DamagedBook) as raised:  # the not-open exception
        book.GetSectionKey("Genesis")
    assert raised.value.cause == 1
    assert book.Open(raw.ORVA_TEXT | raw.ORVA_SECTIONS) == raw.ORVA_OK
    assert book.IsOpen(raw.ORVA_SECTIONS) and not book.IsOpen(raw.ORVA_CONCORD)
    assert book.Open(raw.ORVA_TEXT) == raw.ORVA_ERR_ALREADY_OPEN
    assert book.GetIdxVersionRecord().wBookID == 9
    book.Close()
    assert book.IsClosed() and book.OpenFlags() == 0
    assert book.GetErrorString(raw.ORVA_ERR_FILE_NOT_FOUND) == "The file could not be located."

    with pytest.raises(orvada.BookNotFound, match="no such book folder"):
        raw.PointBookAt(book, tmp_path / "missing")
    with pytest.raises(orvada.BookNotFound, match="no book files"):
        raw.PointBookAt(book, tmp_path)
    book.SetTextPath(str(tmp_path) + "/")
    assert book.Open(raw.ORVA_TEXT) == raw.ORVA_ERR_FILE_NOT_FOUND
    with pytest.raises(TypeError):
        book.GetSectionKey(3)
    with pytest.raises(ValueError):
        book.GetSectionKey("Génesis")  # 8-bit text of a book: bytes, or ASCII str


class Hooked(raw.BookBase):
    def __init__(self, pre_open=None):
        super().__init__()
        self.calls = []
        self.pre_open = pre_open

    def PubIDBookIDMismatch(self, path, expectedPubID, expectedBookID, filePubID, fileBookID):
        self.calls.append(("mismatch", path.rsplit("/", 1)[1], expectedBookID, fileBookID))

    def PreOpenFiles(self, request):
        self.calls.append(("pre", request))
        if isinstance(self.pre_open, Exception):
            raise self.pre_open
        return self.pre_open or super().PreOpenFiles(request)

    def PostOpenFiles(self, request):
        self.calls.append(("post", request))
        book_text = self.GetHeaderControlWordData("TITLE")  # a hook may call the library
        self.calls.append(("title", book_text))


def test_hooks_a_subclass_overrides(bible):
    book = Hooked()
    raw.PointBookAt(book, bible)
    assert book.Open(raw.ORVA_TEXT) == raw.ORVA_OK
    assert book.calls == [("pre", raw.ORVA_TEXT), ("post", raw.ORVA_TEXT), ("title", b"Small Bible")]
    book.Close()

    book = Hooked()
    raw.PointBookAt(book, bible)
    book.SetBookID("8")
    assert book.Open(raw.ORVA_SECTIONS) == raw.ORVA_ERR_ID_MISMATCH
    assert ("mismatch", "sections.idx", 8, 9) in book.calls

    book = Hooked(pre_open=raw.ORVA_ERR_CANCELLED)
    raw.PointBookAt(book, bible)
    assert book.Open(raw.ORVA_TEXT) == raw.ORVA_ERR_CANCELLED and book.IsClosed()

    book = Hooked(pre_open=KeyError("from the hook"))
    raw.PointBookAt(book, bible)
    with pytest.raises(KeyError, match="from the hook"):
        book.Open(raw.ORVA_TEXT)
    assert book.IsClosed()


def test_notices_go_to_the_message_handler(bible):
    notices = []
    raw.SetMessageBoxHandler(lambda text, type, help: notices.append(text))
    try:
        book = raw.BookBase()
        raw.PointBookAt(book, bible)
        book.SetPublisherID("4")
        assert book.Open(raw.ORVA_VIEWABLE) == raw.ORVA_ERR_ID_MISMATCH
    finally:
        raw.SetMessageBoxHandler(None)
    assert len(notices) == 1 and "viewable.idx" in notices[0]


def test_text(bible):
    with opened(bible) as book:
        assert book.GetHeaderControlWordData("TITLE") == b"Small Bible"
        assert book.GetBookHeaderData().wPublisherID == 3
        area = book.GetViewableArea(1)
        assert area == book.GetViewableBlock(0) + book.GetViewableBlock(1)  # the preamble, then the block
        assert b"1 In the beginning God created" in area and len(area) == book.GetViewableAreaSize(1)
        chunks = [book.GetFirstViewableAreaChunk(1, 7)]
        while chunks[-1]:
            chunks.append(book.GetNextViewableAreaChunk())
        assert b"".join(chunks) == area and max(map(len, chunks)) == 7
        assert book.GetViewableAreaSize(99) == 0 and book.GetViewableArea(99) is None


def test_sections(bible):
    with opened(bible) as book:
        header = book.GetSectionHeader()
        assert (header.lSectionCount, header.lGlossaryCount) == (book.GetLastSectionKey() + 1, 0)
        books = book.GetSectionsArray(0)
        assert [s.GetName() for s in books] == [b"Genesis", b"John"]
        assert book.GetSectionNamesForRange(0, 1, 2) == [b"John"]
        key = book.GetSectionKey(b"john\\3\\16")
        assert book.GetPathFromKey(key) == b"\\John\\3\\16"
        assert book.GetFormattedPathFromKey(key, " ") == b"John 3 16"
        verse = book.GetSection(key)
        assert verse.GetParentKey() == book.GetSectionKey("John\\3") and verse.GetLevel() == 3
        assert book.GetKeyRange(verse) == (books[1].GetSectionKey(), book.GetLastSectionKey())
        assert book.GetSection(book.GetLastKey() + 1) is None

        seen = []
        assert book.EnumSections(0, lambda s: seen.append(s.GetName()) or False) == 1
        assert book.EnumSections(0, lambda s: seen.append(s.GetName()) or True) == 3
        assert seen == [b"Genesis", b"Genesis", b"John"]
        with pytest.raises(ZeroDivisionError):
            book.EnumSections(0, lambda s: 1 / 0)

        flat = book.StoreSectionsArray(books)
        assert book.LoadSectionsArray(flat) == books
        for cut in (3, 4 + 4 + 41, len(flat) - 1):
            with pytest.raises(ValueError):
                book.LoadSectionsArray(flat[:cut])
        copy = raw.SectionsData()
        copy.Load(verse.Store())
        assert copy == verse and copy.GetSyncData() == verse.GetSyncData()
        with pytest.raises(ValueError):
            copy.Load(verse.Store()[:-1])


def test_concordance_and_verses(bible):
    with opened(bible) as book:
        assert book.ListLanguages() == [1033]
        words = book.GetWordlistAtKey(0, book.WordCount(1033))
        assert words == sorted(words) and words[0] == book.GetFirstWord(1033)[1]
        walked = [book.GetFirstWord(1033)[1]]
        while (step := book.GetNextWord())[0] >= 0:
            walked.append(step[1])
        assert walked == words and book.GetLastWord(1033)[1] == words[-1]

        word_key, keys = book.GetKeysForWord("Light")
        assert str(book.GetWord(word_key)) == "light"
        assert [book.GetPathFromKey(k) for k in keys] == [b"\\Genesis\\1\\3", b"\\John\\1\\5"]
        assert book.GetWordPositionList(word_key, keys[0]) == (word_key, [7, 11])
        assert book.GetWordListRecord(word_key)[1].dwKeyCount == 2
        assert book.FindNearestMatchingWord("lig") == (word_key, raw.LanguageString("light"))
        assert book.FindExactMatchingWord("lig") == -1

        assert book.GetVerseOccurrences(43, 3, 16) == [book.GetSectionKey("John\\3\\16")]
        assert book.GetVerseOccurrences(43, 3, 17) == []


def test_sync(bible, dictionary):
    with opened(bible) as book:
        assert book.GetVSyncKey("43,3,16") == book.GetSectionKey("John\\3\\16")
        assert book.GetSectionKeyByVerse(b"1, 1, 3") == book.GetSectionKey("Genesis\\1\\3")
        assert book.GetWSyncKey("bread") == -1 and book.GetSyncFileSize() == 0
    with opened(dictionary) as book:
        assert book.GetWSyncWordCount() == 2
        assert [book.GetSyncWordAt(i) for i in range(3)] == [b"Abba", b"bread", None]
        key = book.GetWSyncKey("BREAD")
        assert book.GetPathFromKey(key).endswith(b"bread")
        assert book.GetWSyncKeyPartialMatch("bre") == (key, b"bread")
        assert book.GetSyncFileData() == (dictionary / "wsync.idx").read_bytes()


def test_flattened_string_arrays():
    book = raw.BookBase()
    strings = [b"", b"a\x00b", bytes(range(256)) * 2]
    flat = book.StoreCStringArray(strings)
    assert book.LoadCStringArray(flat) == strings
    with pytest.raises(ValueError):
        book.LoadCStringArray(flat[:-1])
    with pytest.raises(orvada.DamagedBook) as raised:
        book.LoadCStringArray(b"\x05\x00\x00\x00\x02\x00\x00\x00\x00\x00")
    assert raised.value.cause == 14
