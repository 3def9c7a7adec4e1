// The sync indexes through the book object. Word, Strong's-number and date: exact
// and partial look-ups on tables of every small size, keys with placeholders and
// combining marks, the type and open checks, the word and file members. Verse:
// reference parsing, look-ups on every verse and gap, the book range, the type and
// open checks. For both, a file written byte by byte, and damaged files.
#include <cstdio>
#include <string>
#include <vector>

#include "sync/vsync_file.h"
#include "tests/lang_test_support.h"
#include "tests/test_support.h"
#include "writer/byte_writer.h"
#include "writer/hostile_books.h"
#include "writer/sync_writer.h"
#include "writer/vsync_writer.h"

namespace {

using orva::test::Lang;
using orva::writer::SyncDescription;
using orva::writer::SyncWord;
using orva::writer::VerseSyncDescription;
using Bytes = std::vector<std::uint8_t>;

std::string Packaged(const cLanguageString& text) {
  const CString key = LangToPackagedString(text);
  return {static_cast<const char*>(key), static_cast<size_t>(key.GetLength())};
}

class SyncIndexTest : public orva::test::OneIndexTest {
 protected:
  SyncDescription Words(std::vector<SyncWord> words) const {
    SyncDescription d;
    d.version = m_version;
    d.words = std::move(words);
    return d;
  }
  // Writes the word sync index and opens it in m_book; the result of Open.
  int WriteBytes(const Bytes& file) { return Reopen(ORVA_WSYNC, file); }
  int Write(const SyncDescription& d) { return WriteBytes(orva::writer::EncodeSyncIndex(d)); }
  // The partial look-up as "key:word".
  std::string Partial(const std::string& key, const char* start = "unchanged") {
    CString word = start;
    const int found = m_book.GetWSyncKeyPartialMatch(key.c_str(), word);
    return std::to_string(found) + ":" + static_cast<const char*>(word);
  }
};

TEST_F(SyncIndexTest, EveryWordAndEveryGapOnTablesOfEverySmallSize) {
  // Words w000, w002, ... with sync key 100 + i; the odd numbers lie between them.
  for (int size = 0; size <= 18; ++size) {
    std::vector<SyncWord> words;
    auto name = [](int n) {
      char text[8];
      std::snprintf(text, sizeof text, "w%03d", n);
      return std::string(text);
    };
    for (int i = 0; i < size; ++i) words.push_back({name(2 * i), static_cast<std::uint32_t>(100 + i)});
    ASSERT_EQ(Write(Words(words)), 0);
    EXPECT_EQ(m_book.GetWSyncWordCount(), static_cast<DWORD>(size));
    for (int n = -1; n <= 2 * size; ++n) {
      const std::string key = n < 0 ? "a" : name(n);
      const int next = (n + 1) / 2;  // the first word at or above the key
      const bool present = n >= 0 && n % 2 == 0 && n / 2 < size;
      EXPECT_EQ(m_book.GetWSyncKey(key.c_str()), present ? 100 + n / 2 : -1) << size << " " << key;
      const std::string expected = size == 0      ? "-1:unchanged"
                                   : next < size  ? std::to_string(100 + next) + ":" + name(2 * next)
                                                  : "-1:";
      EXPECT_EQ(Partial(key), expected) << size << " " << key;
    }
  }
}

TEST_F(SyncIndexTest, CaseIsIgnoredByTheWriterAndTheLookUps) {
  // Byte order would put "Zed" before "apple".
  ASSERT_EQ(Write(Words({{"apple", 1}, {"Zed", 2}, {"LORD", 3}, {"", 4}})), 0);
  CString word;
  const char* const kOrder[] = {"", "apple", "LORD", "Zed"};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(m_book.GetSyncWordAt(i, word), 1);
    EXPECT_EQ(word, kOrder[i]);
  }
  EXPECT_EQ(m_book.GetWSyncKey("zED"), 2);
  EXPECT_EQ(m_book.GetWSyncKey("Lord"), 3);
  EXPECT_EQ(m_book.GetWSyncKey(""), 4) << "the empty key finds an empty word";
  EXPECT_EQ(m_book.GetWSyncKey(nullptr), 4);
  EXPECT_EQ(Partial("LO"), "3:LORD");

  ASSERT_EQ(Write(Words({{"beta", 1}, {"alpha", 2}})), 0);
  EXPECT_EQ(Partial(""), "2:alpha") << "the empty key stops at the first entry";
  EXPECT_EQ(m_book.GetWSyncKey(""), -1);
}

TEST_F(SyncIndexTest, KeysWithPlaceholdersScanEveryFormOfTheKey) {
  // "it’s": U+2019 has the forms 0x27 and 0x92, so the key spans "it's" ... "it\x92s";
  // "its" and "itself" lie between them.
  const std::string key = Packaged(Lang(u"it\u2019s"));
  ASSERT_EQ(key, "it\xADs\xAC\x27\x92");
  EXPECT_EQ(orva::writer::StoredSyncWord(Lang(u"it\u2019s")), "it's");
  ASSERT_EQ(Write(Words({{"it's", 1}, {"its", 2}, {"itself", 3}, {"it\x92s", 4}, {"iu", 5}})), 0);
  EXPECT_EQ(m_book.GetWSyncKey(key.c_str()), 1);
  EXPECT_EQ(m_book.GetWSyncKey("it\xADs"), -1) << "a placeholder without alternatives is a plain byte";

  // Without the first form the walk passes the words between and stops beyond the
  // highest form.
  ASSERT_EQ(Write(Words({{"its", 2}, {"itself", 3}, {"it\x92s", 4}, {"iu", 5}})), 0);
  EXPECT_EQ(m_book.GetWSyncKey(key.c_str()), -1);
  EXPECT_EQ(Partial(key), "5:iu");
  ASSERT_EQ(Write(Words({{"it\x92s", 4}})), 0);
  EXPECT_EQ(Partial(key), "-1:it\x92s") << "the last word, passed without a match";
}

TEST_F(SyncIndexTest, AdjacentMarksMatchInEitherOrder) {
  // Bet with sheva (0xC0) and dagesh (0xCC) in either order, then an apostrophe
  // whose two forms give the key its alternatives. Between the two orders lies
  // bet with tsere (0xC5), which matches neither.
  auto word = [](const std::u16string& hebrew) {
    return Lang({{hebrew, orva::test::kHebrew}, {u"\u2019", orva::test::kEnglish}});
  };
  const cLanguageString shevaFirst = word(u"\u05D1\u05B0\u05BC"), dageshFirst = word(u"\u05D1\u05BC\u05B0");
  const std::string stored = orva::writer::StoredSyncWord(dageshFirst);
  ASSERT_EQ(stored, "<Hebrew:\xE1\xCC\xC0<English:'");
  for (const cLanguageString* text : {&shevaFirst, &dageshFirst}) {
    ASSERT_EQ(Write(Words({{stored, 7}, {"<Hebrew:\xE1\xC5", 8}, {"<Hebrew:\xE1\xD0", 9}})), 0);
    const std::string key = Packaged(*text);
    EXPECT_EQ(m_book.GetWSyncKey(key.c_str()), 7) << key;
    ASSERT_EQ(Write(Words({{orva::writer::StoredSyncWord(shevaFirst), 6}, {"<Hebrew:\xE1\xC5", 8}})), 0);
    EXPECT_EQ(m_book.GetWSyncKey(key.c_str()), 6) << key;
  }
}

TEST_F(SyncIndexTest, AKeyOfAMegabyteOfMarksIsReadInLinearTime) {
  // Each bet with dagesh and sheva swaps in the lowest form: a pass that found the
  // byte of every mark from the start of the key would take hours.
  std::string marks;
  for (int i = 0; i < 350000; ++i) marks += "\xE1\xCC\xC0";
  const std::string key = "<Hebrew:" + marks + "<English:\xAD\xAC\x27\x92";
  ASSERT_EQ(Write(Words({{"<Hebrew:\xE1\xC0\xCC\xE1\xC5", 1}, {"<Hebrew:\xE1\xCC", 2}})), 0);
  EXPECT_EQ(m_book.GetWSyncKey(key.c_str()), -1);
  EXPECT_EQ(Partial(key), "-1:<Hebrew:\xE1\xCC") << "below the highest form, the last word";
}

TEST_F(SyncIndexTest, WalksOverLongSharedOrOverlappingWordsStayWithinBounds) {
  using orva::writer::WalkedWords;
  const char* key = orva::writer::WalkedSyncKey();
  for (WalkedWords words : {WalkedWords::kShared, WalkedWords::kOverlapping, WalkedWords::kTagRuns}) {
    SCOPED_TRACE(static_cast<int>(words));
    ASSERT_EQ(WriteBytes(orva::writer::WalkedSyncIndex(m_version, 64000, words)), 0);
    CString last, word;
    ASSERT_EQ(m_book.GetSyncWordAt(63999, last), 1);
    EXPECT_EQ(orva::test::RaisedWithinBounds([&] {
                EXPECT_EQ(m_book.GetWSyncKey(key), -1);
                EXPECT_EQ(m_book.GetWSyncKeyPartialMatch(key, word), -1);
              }),
              "none");
    EXPECT_EQ(word, last) << "the walk ran out at the last word, which comes whole";
    EXPECT_GT(word.GetLength(), 10000);
  }
}

TEST_F(SyncIndexTest, TypeCheckComesBeforeTheOpenCheck) {
  Replace("ssync.idx", orva::writer::EncodeSyncIndex(Words({{"H1234", 11}})));
  Replace("dsync.idx", orva::writer::EncodeSyncIndex(Words({{"2024-01-01", 12}})));
  Replace("wsync.idx", orva::writer::EncodeSyncIndex(Words({{"word", 13}})));
  CString word = "unchanged";
  cORVABookBase closed;
  Point(closed, "date");
  EXPECT_EQ(closed.GetWSyncKey("word"), -1) << "nothing open, nothing touched";
  EXPECT_EQ(closed.GetWSyncWordCount(), 0u);
  EXPECT_ORVA_FILE_EXCEPTION(closed.GetDSyncKey("x"), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(closed.GetSyncWordAt(0, word), CFileException::generic);

  for (const char* type : {"strongs", "date"}) {
    Point(m_book, type);
    ASSERT_EQ(m_book.Open(ORVA_WSYNC | ORVA_SSYNC | ORVA_DSYNC), 0);
    const bool strongs = std::string(type) == "strongs";
    word = "unchanged";
    EXPECT_EQ(m_book.GetWSyncKey("word"), -1);
    EXPECT_EQ(m_book.GetWSyncKeyPartialMatch("word", word), -1);
    EXPECT_EQ(m_book.GetWSyncWordCount(), 0u);
    EXPECT_EQ(m_book.GetVSyncKey("1,1,1"), -1);
    EXPECT_EQ(m_book.GetSSyncKey("h1234"), strongs ? 11 : -1);
    EXPECT_EQ(m_book.GetSSyncKeyPartialMatch("H1", word), strongs ? 11 : -1);
    EXPECT_EQ(m_book.GetDSyncKey("2024-01-01"), strongs ? -1 : 12);
    EXPECT_EQ(word, strongs ? "H1234" : "unchanged");
    EXPECT_EQ(m_book.GetSyncWordAt(0, word), 1);
    EXPECT_EQ(word, strongs ? "H1234" : "2024-01-01");
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSyncWordForPointer(1, word), CFileException::generic);
    m_book.Close(ORVA_ALL_OPEN);
  }
  Point(m_book, "word");
  ASSERT_EQ(m_book.Open(ORVA_SECTIONS), 0);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWSyncKey("word"), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSyncFileSize(), CFileException::generic);
}

TEST_F(SyncIndexTest, WordsByIndexAndByPositionAndTheWholeFile) {
  const SyncDescription d = Words({{"alpha", 1}, {"beta", 2}});
  const Bytes file = orva::writer::EncodeSyncIndex(d);
  ASSERT_EQ(WriteBytes(file), 0);
  CString word = "unchanged";
  EXPECT_EQ(m_book.GetSyncWordAt(-1, word), 0);
  EXPECT_EQ(m_book.GetSyncWordAt(2, word), 0);
  EXPECT_EQ(word, "unchanged");
  EXPECT_EQ(m_book.GetSyncWordAt(1, word), 1);
  EXPECT_EQ(word, "beta");

  word = "unchanged";
  EXPECT_EQ(m_book.GetSyncWordForPointer(0, word), 0);
  EXPECT_EQ(word, "unchanged");
  const DWORD second = orva::writer::SyncTableOffset(d) + 2 * 8 + 2 + 5;
  EXPECT_EQ(m_book.GetSyncWordForPointer(second, word), 0);
  EXPECT_EQ(word, "beta");
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSyncWordForPointer(static_cast<DWORD>(file.size()) - 1, word),
                             CFileException::endOfFile);

  ASSERT_EQ(m_book.GetSyncFileSize(), static_cast<int>(file.size()));
  std::vector<char> copy(file.size());
  EXPECT_EQ(m_book.GetSyncFileData(copy.data()), 0);
  EXPECT_EQ(Bytes(copy.begin(), copy.end()), file);

  m_book.Close(ORVA_ALL_OPEN);
  Point(m_book, "verse");
  ASSERT_EQ(m_book.Open(ORVA_VSYNC), 0);
  EXPECT_EQ(m_book.GetSyncFileSize(), 0);
  EXPECT_EQ(m_book.GetSyncFileData(nullptr), 0);
  EXPECT_EQ(m_book.GetSyncWordAt(0, word), 0);
}

TEST_F(SyncIndexTest, ReadsTheLayoutWrittenByteByByte) {
  // A header of 18 bytes and entries of 12, holding "A" (key 5) and "bc" (key
  // 0xFFFFFFFF); the bytes the reader skips are 0xEE.
  orva::writer::ByteWriter file;
  orva::writer::WriteVersionRecord(file, m_version);
  const std::uint32_t table = 18 + 18, words = table + 2 * 12;
  file.U16(18).U16(0xEEEE).U32(2).U16(12).U32(0xEEEEEEEE).U16(0xEEEE).U16(0xEEEE);
  file.U32(5).U32(words).U32(0xEEEEEEEE);
  file.U32(0xFFFFFFFF).U32(words + 3).U32(0xEEEEEEEE);
  file.U16(1).Text("A").U16(2).Text("bc");
  ASSERT_EQ(WriteBytes(file.Data()), 0);
  EXPECT_EQ(m_book.GetWSyncWordCount(), 2u);
  EXPECT_EQ(m_book.GetWSyncKey("a"), 5);
  EXPECT_EQ(Partial("b"), "-1:bc") << "a stored key of all ones reads as -1";
  CString word;
  EXPECT_EQ(m_book.GetSyncWordAt(1, word), 1);
  EXPECT_EQ(word, "bc");
}

TEST_F(SyncIndexTest, DamagedFilesRaiseFileExceptions) {
  auto raises = [&](const SyncDescription& d) { return orva::test::Raised([&] { Write(d); }); };
  SyncDescription d = Words({{"alpha", 1}, {"beta", 2}, {"gamma", 3}});
  d.headerLength = 9;
  EXPECT_EQ(raises(d), "1/-1/") << "a header without the entry size";
  d.headerLength = 10;
  EXPECT_EQ(raises(d), "none");
  d.entrySize = 7;
  EXPECT_EQ(raises(d), "1/-1/");
  d.entrySize = 8;
  d.wordCount = 1000;
  EXPECT_EQ(raises(d), "14/-1/") << "a table past the end of the file";
  d.wordCount = 0x80000000u;
  EXPECT_EQ(raises(d), "14/-1/");
  EXPECT_TRUE(m_book.IsClosed());
  EXPECT_EQ(StoresAdded(), 0);

  d = Words({{"alpha", 1}, {"beta", 2}, {"gamma", 3}});
  d.words[1].wordLength = -2;
  d.words[2].wordOffset = 0xFFFFFFF0u;
  ASSERT_EQ(Write(d), 0);
  CString word = "unchanged";
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWSyncKey("beta"), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWSyncKeyPartialMatch("gamma", word), CFileException::generic);
  EXPECT_EQ(m_book.GetSyncWordAt(2, word), 0) << "the exception is caught";
  EXPECT_EQ(word, "unchanged");
  EXPECT_EQ(m_book.GetSyncWordAt(0, word), 1);
  d.words[1].wordLength = 500;
  ASSERT_EQ(Write(d), 0);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWSyncKey("beta"), CFileException::endOfFile);
}

TEST(VerseReferenceTest, ThreeNumbersReadAsAtoiReadsThem) {
  const struct {
    const char* text;
    bool valid;
    int book, chapter, verse;
  } kCases[] = {
      {"1,2,3", true, 1, 2, 3},          {" 1, 2,\t3", true, 1, 2, 3},
      {"1,2,", true, 1, 2, 0},           {"1,2,3,4", true, 1, 2, 3},
      {"+4,-5,6x", true, 4, -5, 6},      {"a,b,c", true, 0, 0, 0},
      {" ,2,3", true, 0, 2, 3},          {"1 2,3,4", true, 1, 3, 4},
      {"99999999999,1,1", true, 2147483647, 1, 1},
      {"1,2", false, 0, 0, 0},           {",2,3", false, 0, 0, 0},
      {"1,,3", false, 0, 0, 0},          {"", false, 0, 0, 0},
      {",", false, 0, 0, 0},             {"123", false, 0, 0, 0},
  };
  for (const auto& c : kCases) {
    int book = -7, chapter = -7, verse = -7;
    EXPECT_EQ(cVSyncFile::ParseVerseReference(c.text, book, chapter, verse), c.valid) << c.text;
    if (c.valid) {
      EXPECT_EQ(book, c.book) << c.text;
      EXPECT_EQ(chapter, c.chapter) << c.text;
      EXPECT_EQ(verse, c.verse) << c.text;
    } else {
      EXPECT_EQ(book + chapter + verse, -21) << "left alone: " << c.text;
    }
  }
  int book = 0, chapter = 0, verse = 0;
  EXPECT_FALSE(cVSyncFile::ParseVerseReference(nullptr, book, chapter, verse));
}

class VerseSyncTest : public orva::test::OneIndexTest {
 protected:
  int WriteBytes(const Bytes& file) { return Reopen(ORVA_VSYNC, file); }
  int Write(const VerseSyncDescription& d) { return WriteBytes(orva::writer::EncodeVerseSyncIndex(d)); }
  // Books 5, 6 and 7: book 5 has `chapters` chapters of chapter+1 verses each,
  // value 1000 * chapter + verse; book 6 has none; book 7 one verse, 7:1:1.
  VerseSyncDescription Books(int chapters) const {
    VerseSyncDescription d;
    d.version = m_version;
    d.firstBook = 5;
    d.books.resize(3);
    for (int c = chapters; c >= 1; --c) {  // written out of order: the writer sorts
      for (int v = 1; v <= c + 1; ++v) {
        d.books[0].verses.push_back({static_cast<std::uint16_t>(c), static_cast<std::uint16_t>(v),
                                     static_cast<std::uint32_t>(1000 * c + v)});
      }
    }
    d.books[2].verses.push_back({1, 1, 77});
    return d;
  }
  int Key(const std::string& reference) {
    const int key = m_book.GetVSyncKey(reference.c_str());
    EXPECT_EQ(m_book.GetSectionKeyByVerse(reference.c_str()), key) << reference;
    return key;
  }
  static std::string Ref(int book, int chapter, int verse) {
    return std::to_string(book) + "," + std::to_string(chapter) + "," + std::to_string(verse);
  }
};

TEST_F(VerseSyncTest, EveryVerseAndEveryGapOnTablesOfSeveralSizes) {
  for (int chapters = 1; chapters <= 9; ++chapters) {
    ASSERT_EQ(Write(Books(chapters)), 0);
    for (int c = 0; c <= chapters + 1; ++c) {
      for (int v = 0; v <= c + 2; ++v) {
        const bool present = c >= 1 && c <= chapters && v >= 1 && v <= c + 1;
        EXPECT_EQ(Key(Ref(5, c, v)), present ? 1000 * c + v : -1) << chapters << " " << Ref(5, c, v);
      }
    }
  }
}

TEST_F(VerseSyncTest, BooksOutsideTheTableOrWithoutVerses) {
  ASSERT_EQ(Write(Books(3)), 0);
  EXPECT_EQ(Key("7,1,1"), 77) << "a table of one entry";
  EXPECT_EQ(Key("5,1,2,9"), 1002);
  EXPECT_EQ(Key(" 5, 1, 2"), 1002);
  // Around the table of one entry, a book without verses (6), one before the first,
  // references that do not parse, and a book number that would wrap to 5.
  for (const char* missing : {"7,1,2", "7,1,0", "7,0,1", "7,2,1", "6,1,1", "4,1,1", "5,1", "5,,2", ",1,2",
                              "-65531,1,2"}) {
    EXPECT_EQ(Key(missing), -1) << missing;
  }

  // The book table is the end of the file: a book above the last would be read
  // past it.
  VerseSyncDescription d = Books(3);
  d.books[0].verses.clear();
  d.books[2].verses.clear();
  ASSERT_EQ(Write(d), 0);
  EXPECT_EQ(Key("8,1,1"), -1);
  EXPECT_EQ(Key("7,1,1"), -1);

  // Verse 0 is a verse like any other; offsets of 0 and counts of 0 mean none.
  d = Books(3);
  d.books[2].verses.push_back({1, 0, 70});
  d.books[0].tableOffset = 0;
  ASSERT_EQ(Write(d), 0);
  EXPECT_EQ(Key("7,1,"), 70);
  EXPECT_EQ(Key("5,1,1"), -1);
  d.books[0].verseCount = 1;  // entry 0 at offset 0 would be 18:7 (the version record)
  ASSERT_EQ(Write(d), 0);
  EXPECT_EQ(Key("5,18,7"), -1);
  d.books[0].tableOffset.reset();
  d.books[0].verseCount = 0;
  ASSERT_EQ(Write(d), 0);
  EXPECT_EQ(Key("5,1,1"), -1);

  d.firstBook = 9;
  d.lastBook = 8;
  ASSERT_EQ(Write(d), 0);
  EXPECT_EQ(Key("9,1,1"), -1) << "a first book above the last: no books";
}

TEST_F(VerseSyncTest, TypeAndOpenChecks) {
  Replace("vsync.idx", orva::writer::EncodeVerseSyncIndex(Books(2)));
  Point(m_book, "word");
  ASSERT_EQ(m_book.Open(ORVA_VSYNC | ORVA_WSYNC), 0);
  EXPECT_EQ(Key("5,1,1"), -1) << "another sync type";
  m_book.Close(ORVA_ALL_OPEN);
  Point(m_book, "Verse");
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetVSyncKey("5,1,1"), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSectionKeyByVerse("5,1,1"), CFileException::generic);
  ASSERT_EQ(m_book.Open(ORVA_VSYNC), 0);
  EXPECT_EQ(Key("5,1,1"), 1001);
}

TEST_F(VerseSyncTest, ReadsTheLayoutWrittenByteByByte) {
  // Books 2 and 3, a header of 12 bytes, book records of 8, verse entries of 10;
  // skipped bytes are 0xEE. Book 2 holds 1:1 and 1:7, book 3 holds 2:5.
  orva::writer::ByteWriter file;
  orva::writer::WriteVersionRecord(file, m_version);
  const std::uint32_t books = 18 + 12, verses = books + 2 * 8;
  file.U16(12).U16(2).U16(3).U16(8).U16(10).U16(0xEEEE);
  file.U32(verses).U16(2).U16(0xEEEE);
  file.U32(verses + 20).U16(1).U16(0xEEEE);
  file.U16(1).U16(1).U32(0x01020304).U16(0xEEEE);
  file.U16(1).U16(7).U32(0xFFFFFFFF).U16(0xEEEE);
  file.U16(2).U16(5).U32(9).U16(0xEEEE);
  ASSERT_EQ(WriteBytes(file.Data()), 0);
  EXPECT_EQ(Key("2,1,1"), 0x01020304);
  EXPECT_EQ(Key("2,1,7"), -1) << "a value of all ones reads as -1";
  EXPECT_EQ(Key("3,2,5"), 9);
  EXPECT_EQ(Key("3,2,4"), -1);
}

TEST_F(VerseSyncTest, DamagedFilesRaiseFileExceptions) {
  auto raises = [&](const VerseSyncDescription& d) { return orva::test::Raised([&] { Write(d); }); };
  VerseSyncDescription d = Books(2);
  d.headerLength = 9;
  EXPECT_EQ(raises(d), "1/-1/");
  d.headerLength = 10;
  EXPECT_EQ(raises(d), "none");
  d.bookRecordSize = 5;
  EXPECT_EQ(raises(d), "1/-1/");
  d.bookRecordSize = 6;
  d.verseEntrySize = 7;
  EXPECT_EQ(raises(d), "1/-1/");
  d = Books(2);
  d.lastBook = 2000;
  EXPECT_EQ(raises(d), "14/-1/") << "a book table past the end of the file";
  EXPECT_TRUE(m_book.IsClosed());
  EXPECT_EQ(StoresAdded(), 0);

  d = Books(2);
  d.books[0].tableOffset = 0xFFFFFFF0u;
  d.books[2].verseCount = 60000;
  ASSERT_EQ(Write(d), 0);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetVSyncKey("5,1,1"), CFileException::endOfFile);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetVSyncKey("7,1,1"), CFileException::endOfFile);
}

}  // namespace
