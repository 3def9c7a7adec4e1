// The verse sync index: reference parsing, look-ups on written tables (every verse
// and every gap), the book range, the type and open checks, a file written byte by
// byte, and damaged files.
#include <string>
#include <vector>

#include "sync/vsync_file.h"
#include "tests/test_support.h"
#include "writer/byte_writer.h"
#include "writer/vsync_writer.h"

namespace {

using orva::writer::VerseSyncBook;
using orva::writer::VerseSyncDescription;
using orva::writer::VerseSyncVerse;
using Bytes = std::vector<std::uint8_t>;

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
