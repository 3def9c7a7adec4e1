"""orvada.Book and orvada.Library: the orva program's answers as Python values."""

import random
import shutil
import threading
import time

import pytest

import orvada
import orvada.raw as raw


def test_a_book_answers_with_sections_verses_entries_and_words(bible):
    with orvada.Book(bible) as book:
        info = book.info
        assert (info.name, info.kind, info.title, info.language, info.publisher, info.book_id, info.sections,
                info.strongs) == ("book", "Bible", "Small Bible", "English", 3, 9, 2, False)
        genesis = book.toc()[0]
        assert [s.name for s in book.toc()] == ["Genesis", "John"]
        assert [(s.name, s.count) for s in genesis.children] == [("1", 3), ("2", 1)]
        assert [s.path for s in genesis.children[0].children] == ["Genesis\\1\\1", "Genesis\\1\\2", "Genesis\\1\\3"]
        assert [s.key for s in book.toc("Gen 1")] == [s.key for s in genesis.children[0].children]
        assert [(v.reference, v.text) for v in book.read("Gen 1:2-3; John 3:16")] == [
            ("Genesis 1:2", "And the earth was without form, and void."),
            ("Genesis 1:3", "And God said, Let there be light: and there was light."),
            ("John 3:16", "For God so loved the world.")]
        assert book.read("John 3:16")[0].strongs is None
        assert book.verse(43, 1, 5).text == "And the light shineth in darkness."
        entry = book.sync("1,2,1")
        assert (entry.reference, entry.path, [v.key for v in entry.verses]) == ("Genesis 2:1", "\\Genesis\\2\\1",
                                                                                 [entry.key])
        assert [(w.word, w.count) for w in book.words("l")] == [("let", 1), ("light", 2), ("loved", 1)]
        assert [w.word for w in book.words("l", limit=2)] == ["let", "light"]
    assert book.closed


def test_find_counts_at_once_and_reads_its_hits_as_they_are_iterated(bible):
    book = orvada.Book(bible)
    light = book.find("light")
    assert (len(light), light.hits_read) == (2, 0)
    assert [(h.reference, h.positions) for h in light] == [("Genesis 1:3", {"light": [7, 11]}),
                                                             ("John 1:5", {"light": [3]})]
    assert [h.reference for h in book.find("the", "earth")] == ["Genesis 1:1", "Genesis 1:2", "Genesis 2:1"]
    assert [h.positions for h in book.find("the earth", phrase=True)] == [{"the earth": [9]}, {"the earth": [2]},
                                                                         {"the earth": [5]}]
    assert book.find("lo", prefix=True).words == [["loved"]]
    the = book.find("the", limit=4)
    assert (len(the), the.total, len(list(the)), the[-1].reference, the[0].reference) == (4, 6, 4, "John 1:1",
                                                                                            "Genesis 1:1")


def test_the_kjv_counts_light_and_reads_the_first_hits_of_the_alone(kjv):
    kjv = orvada.Book(kjv)
    assert kjv.read("John 3:16")[0].text.startswith("For God so loved the world, that he gave")
    assert len(kjv.find("light")) == 235
    the = kjv.find("the")
    assert [hit.reference for _, hit in zip(range(3), the)] == ["Genesis 1:1", "Genesis 1:2", "Genesis 1:4"]
    assert len(the) > 20000 and the.hits_read < 100


def test_failures_are_orvada_exceptions_with_the_library_message(bible, tmp_path):
    for missing in (tmp_path / "none", "\udc80", b"\x80"):  # a path need not be UTF-8
        with pytest.raises(orvada.BookNotFound, match="no such book folder"):
            orvada.Book(missing)
    with pytest.raises(orvada.BookNotFound, match="no book files"):
        orvada.Library(tmp_path)
    book = orvada.Book(bible)
    with pytest.raises(orvada.BadReference, match="John has no chapter 9"):
        book.read("John 9:1")
    for bad in (lambda: book.verse(43, 3, 17), lambda: book.toc("Exodus"), lambda: book.sync("9,9,9")):
        with pytest.raises(orvada.BadReference):
            bad()
    with pytest.raises(orvada.BadReference, match='"" is no verse: book,chapter,verse'):
        book.sync("")
    for no_numbers in (lambda: book.find(strongs="G25"), lambda: book.read("John 3:16", strongs=True)):
        with pytest.raises(orvada.Error, match="no Strong's numbers") as raised:
            no_numbers()
        assert type(raised.value) is orvada.Error
    for wrong in (lambda: book.find(None), lambda: book.find("light", strongs=5), lambda: book.find("light", limit="3"),
                  lambda: book.read("John 3:16", strongs="yes")):
        with pytest.raises(TypeError):
            wrong()
    search = book.find("light")
    book.close()
    for closed in (lambda: list(search), lambda: book.read("John 3:16")):
        with pytest.raises(orvada.Error, match="closed"):
            closed()

    class Hooked(raw.BookBase):  # a hook runs under the library's lock: a Book must not wait for it
        def PreOpenFiles(self, request):
            orvada.Book(bible).read("John 3:16")
            return 0

    with pytest.raises(orvada.Error, match="inside a hook"):
        hooked = Hooked()
        raw.PointBookAt(hooked, bible)
        hooked.Open(raw.ORVA_TEXT)

    class Dropping(raw.BookBase):  # the last reference to a Book goes inside a hook: no deadlock
        def PreOpenFiles(self, request):
            held.clear()
            return 0

    held = [orvada.Book(bible)]
    held[0].read("John 3:16")
    dropping = Dropping()
    raw.PointBookAt(dropping, bible)
    assert dropping.Open(raw.ORVA_TEXT) == raw.ORVA_OK and not held
    assert orvada.Book(bible).read("John 3:16")[0].text == "For God so loved the world."



def test_closing_a_book_while_another_thread_asks_it(bible, library):
    """The asking thread ends with orvada.Error ("closed"), never a crash."""
    def ask(book, ended):
        try:
            while True:
                book.read("Gen 1")
                list(book.find("the"))
        except orvada.Error as e:
            ended.append(str(e))

    for round in range(60):
        owner = orvada.Book(bible) if round % 2 else orvada.Library(library)
        book = owner if round % 2 else owner["plain"]
        ended = []
        asker = threading.Thread(target=ask, args=(book, ended))
        asker.start()
        time.sleep(random.uniform(0, 0.002))
        owner.close()
        asker.join(10)
        assert not asker.is_alive() and ended and "closed" in ended[0]


def ask_everything(folder):
    """Every question of a Book of `folder`; the orvada exceptions raised (any other fails the test)."""
    raised = []
    questions = [lambda b: b.info, lambda b: [s.children for s in b.toc()], lambda b: b.read("Gen 1:1-John 3:16"),
                 lambda b: b.verse(43, 3, 16), lambda b: b.sync("1,1,3"), lambda b: b.words(),
                 lambda b: list(b.find("the", "light")), lambda b: list(b.find("the earth", phrase=True))]
    try:
        book = orvada.Book(folder)
    except orvada.Error as e:
        return [e]
    for question in questions:
        try:
            question(book)
        except orvada.Error as e:
            raised.append(e)
    return raised


def test_damaged_books_raise_damaged_book_and_never_crash(bible, tmp_path):
    rng = random.Random(18)
    for file in sorted(bible.iterdir()):
        for trial in range(8):
            copy = tmp_path / ("%s-%d" % (file.name, trial))
            shutil.copytree(bible, copy)
            data = bytearray(file.read_bytes())
            if trial == 0:
                data = data[:10]
            elif trial < 4:
                data = data[:rng.randrange(len(data))]
            else:
                for _ in range(3):
                    data[rng.randrange(len(data))] ^= 1 << rng.randrange(8)
            (copy / file.name).write_bytes(data)
            raised = ask_everything(copy)
            if trial == 0 and file.name != "verses.idx":  # shorter than its version record (no Book
                # question reads the verses index of a Bible)
                assert any(isinstance(e, orvada.DamagedBook) for e in raised), file.name


def test_a_library_answers_from_each_book_that_can(library):
    with orvada.Library(library) as books:
        assert [b.name for b in books.books] == [b.name for b in books] == ["plain", "tagged", "greek"]
        assert "tagged" in books and "none" not in books
        row = books.read("John 3:16")[0]
        assert (row.reference, row.book, row.chapter, row.verse) == ("John 3:16", 43, 3, 16)
        assert {name: verse.text for name, verse in row.texts.items()} == {
            "plain": "For God so loved the world.", "tagged": "For God so loved the world."}
        assert {name: len(search) for name, search in books.find("god").items()} == {"plain": 3, "tagged": 2, "greek": 0}
        assert books["tagged"].read("John 3:16")[0].strongs[:4] == [("For", []), ("God", ["G2316"]), ("so", []),
                                                                    ("loved", ["G25"])]
        study = books.strongs("g0025")  # as the books key it
        assert study.number == "G25" and list(study.entries) == ["greek"] and study.entries["greek"].paragraphs[-1].endswith("to love")
        usage = study.bibles["tagged"]
        assert ([(t.words, t.count) for t in usage.translations], usage.count,
                [v.reference for v in usage.verses]) == ([("loved", 1)], 1, ["John 3:16"])
        plain = books["plain"]
    with pytest.raises(orvada.Error, match="closed"):
        plain.read("John 3:16")
