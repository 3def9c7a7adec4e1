// The verses index: occurrence lists of books, chapters and verses, plain and coded,
// from files written by the writer and byte by byte; missing references; damage.
#include <functional>
#include <tuple>

#include "files/endian.h"
#include "tests/test_support.h"
#include "writer/verses_writer.h"

namespace orva::test {
namespace {

using Bytes = std::vector<std::uint8_t>;
using writer::BookEntry;
using writer::ChapterEntry;
using writer::VerseEntry;
using List = std::vector<std::uint32_t>;

// Book 1: chapters 1 (verses 1, 2 without a list, 3) and 2 (no verses); book 2
// without chapters and without an all-chapters list; books 0x7FFF, 0x8000 and
// 0xFFFF with numbers of 2^15 and above below them. Every list is distinct.
writer::VersesDescription SmallIndex(bool coded) {
  writer::VersesDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  d.coded = coded;
  BookEntry genesis{1, List{10, 11}, List{20}, List{30, 31, 32}, {}};
  ChapterEntry one{1, List{100}, List{101, 102}, {VerseEntry{3, List{1003}}, VerseEntry{1, List{1000, 1001}},
                                                  VerseEntry{2, std::nullopt}}};
  genesis.chapters = {ChapterEntry{2, List{200}, std::nullopt, {}}, one};
  BookEntry exodus{2, List{40, 41, 42, 43}, std::nullopt, List{50}, {}};
  BookEntry high{0x8000, List{60}, List{61}, List{62}, {}};
  high.chapters = {ChapterEntry{0x8001, List{70}, List{71}, {VerseEntry{0x7FFF, List{80}}, VerseEntry{0xFFFF, List{90}}}},
                   ChapterEntry{0x7FFF, List{72}, List{73}, {}}};
  d.books = {high, BookEntry{0xFFFF, List{65535}, {}, {}, {}}, exodus, BookEntry{0x7FFF, List{7}, {}, {}, {}}, genesis};
  return d;
}

class VersesTest : public OneIndexTest {
 protected:
  int Write(const writer::VersesDescription& d) { return WriteBytes(writer::EncodeVersesIndex(d)); }
  int WriteBytes(const Bytes& bytes) { return Reopen(ORVA_VERSES, bytes); }
  // The result of a query and the array after it; the array holds {99} before.
  std::pair<int, List> Query(const std::function<int(CUIntArray&)>& query) {
    CUIntArray values;
    UINT marker = 99;
    values.Add(marker);
    const int n = query(values);
    return {n, Values(values)};
  }
  std::pair<int, List> Book(WORD book) {
    return Query([&](CUIntArray& a) { return m_book.GetBookOccurrences(book, a); });
  }
  std::pair<int, List> Chapter(WORD book, WORD chapter) {
    return Query([&](CUIntArray& a) { return m_book.GetChapterOccurrences(book, chapter, a); });
  }
  std::pair<int, List> Verse(WORD book, WORD chapter, WORD verse) {
    return Query([&](CUIntArray& a) { return m_book.GetVerseOccurrences(book, chapter, verse, a); });
  }
};

using Result = std::pair<int, List>;
const Result kUntouched{0, {99}};

TEST_F(VersesTest, EachQueryReadsItsOwnListOrLeavesTheArray) {
  // Plain, coded, and coded with the header and every record longer than its structure.
  for (int form = 0; form < 3; ++form) {
    SCOPED_TRACE(form);
    writer::VersesDescription d = SmallIndex(form > 0);
    if (form == 2) {
      std::tie(d.headerLength, d.bookRecSize, d.chapterRecSize, d.verseRecSize) = std::tuple(17, 25, 19, 11);
    }
    ASSERT_EQ(Write(d), 0);
    EXPECT_EQ(Book(1), Result(2, {10, 11}));
    EXPECT_EQ(Query([&](CUIntArray& a) { return m_book.GetBookOccurrencesAllChapters(1, a); }), Result(1, {20}));
    EXPECT_EQ(Query([&](CUIntArray& a) { return m_book.GetBookOccurrencesAllVerses(1, a); }),
              Result(3, {30, 31, 32}));
    EXPECT_EQ(Chapter(1, 1), Result(1, {100}));
    EXPECT_EQ(Chapter(1, 2), Result(1, {200}));
    EXPECT_EQ(Query([&](CUIntArray& a) { return m_book.GetChapterOccurrencesAllVerses(1, 1, a); }),
              Result(2, {101, 102}));
    EXPECT_EQ(Verse(1, 1, 1), Result(2, {1000, 1001}));
    EXPECT_EQ(Verse(1, 1, 3), Result(1, {1003}));
    EXPECT_EQ(Book(2), Result(4, {40, 41, 42, 43}));
    // Numbers of 2^15 and above compare unsigned.
    EXPECT_EQ(Book(0x7FFF), Result(1, {7}));
    EXPECT_EQ(Book(0x8000), Result(1, {60}));
    EXPECT_EQ(Book(0xFFFF), Result(1, {65535}));
    EXPECT_EQ(Chapter(0x8000, 0x8001), Result(1, {70}));
    EXPECT_EQ(Chapter(0x8000, 0x7FFF), Result(1, {72}));
    EXPECT_EQ(Verse(0x8000, 0x8001, 0xFFFF), Result(1, {90}));
    EXPECT_EQ(Verse(0x8000, 0x8001, 0x7FFF), Result(1, {80}));
    // Missing references and lists leave the array as it was.
    EXPECT_EQ(Book(3), kUntouched) << "no such book";
    EXPECT_EQ(Book(0), kUntouched);
    EXPECT_EQ(Query([&](CUIntArray& a) { return m_book.GetBookOccurrencesAllChapters(2, a); }), kUntouched)
        << "offset 0";
    EXPECT_EQ(Chapter(2, 1), kUntouched) << "a book without chapters";
    EXPECT_EQ(Chapter(1, 3), kUntouched) << "no such chapter";
    EXPECT_EQ(Query([&](CUIntArray& a) { return m_book.GetChapterOccurrencesAllVerses(1, 2, a); }), kUntouched);
    EXPECT_EQ(Verse(1, 2, 1), kUntouched) << "a chapter without verses";
    EXPECT_EQ(Verse(1, 1, 2), kUntouched) << "a verse without a list";
    EXPECT_EQ(Verse(1, 1, 4), kUntouched);
    EXPECT_EQ(Verse(0x8000, 0x8001, 0x8000), kUntouched);
  }
  // A table of one record: found, or missing after one read.
  writer::VersesDescription one;
  one.version = m_version;
  one.books = {BookEntry{9, List{1}, {}, {}, {ChapterEntry{4, List{2}, {}, {}}}}};
  ASSERT_EQ(Write(one), 0);
  EXPECT_EQ(Book(9), Result(1, {1}));
  EXPECT_EQ(Book(8), kUntouched);
  EXPECT_EQ(Book(10), kUntouched);
  EXPECT_EQ(Chapter(9, 4), Result(1, {2}));
  EXPECT_EQ(Chapter(9, 5), kUntouched);
  // An empty plain list is a list of 0 values: the array is emptied.
  one.books[0].list = List{};
  ASSERT_EQ(Write(one), 0);
  EXPECT_EQ(Book(9), Result(0, {}));
}

// Book 5, chapter 3 (list 20, 37), verse 7 (list 7), coded with range 100,
// written byte by byte.
Bytes CodedFile() {
  return {
      18, 0, 7, 0, 42, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,  // version record
      14, 0, 1, 0, 20, 0, 16, 0, 6, 0, 1, 100, 0, 0,           // 18: header, coded, G 100 at bytes 11-12
      5, 0, 1, 0, 52, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,  // 32: book 5, 1 chapter at 52
      3, 0, 1, 0, 68, 0, 0, 0, 74, 0, 0, 0, 0, 0, 0, 0,             // 52: chapter 3, 1 verse at 68, list 74
      7, 0, 80, 0, 0, 0,                                            // 68: verse 7, list 80
      2, 0, 0, 0, 0x51, 0x00,  // 74: b 34: 0 10100 | 0 10000
      1, 0, 0, 0, 0x0E,        // 80: b 69: 0 000111
  };
}

TEST_F(VersesTest, AFileWrittenByteByByteIsRead) {
  ASSERT_EQ(WriteBytes(CodedFile()), 0);
  EXPECT_EQ(Chapter(5, 3), Result(2, {20, 37}));
  EXPECT_EQ(Verse(5, 3, 7), Result(1, {7}));
  EXPECT_EQ(Book(5), kUntouched);
  Bytes plain = CodedFile();
  plain[28] = 0;  // the coding flag: the same lists read as u32 values
  plain[74] = 1;
  plain.insert(plain.end(), {0, 0, 0, 0});
  ASSERT_EQ(WriteBytes(plain), 0);
  EXPECT_EQ(Chapter(5, 3), Result(1, {DecodeU32(&plain[78])}));
}

TEST_F(VersesTest, DamageRaisesFileExceptions) {
  // Records shorter than their structures.
  for (int table = 0; table < 3; ++table) {
    writer::VersesDescription d = SmallIndex(false);
    (table == 0 ? d.bookRecSize : table == 1 ? d.chapterRecSize : d.verseRecSize) -= 1;
    ASSERT_EQ(Write(d), 0);
    EXPECT_ORVA_FILE_EXCEPTION(Verse(1, 1, 1), CFileException::generic);
  }
  // A coded list with a count of 0.
  writer::VersesDescription d = SmallIndex(true);
  d.books[4].list = List{};
  ASSERT_EQ(Write(d), 0);
  EXPECT_ORVA_FILE_EXCEPTION(Book(1), CFileException::generic);

  // Counts larger than the file, a table and a list past its end.
  for (bool coded : {false, true}) {
    Bytes bytes = writer::EncodeVersesIndex(SmallIndex(coded));
    const size_t firstBook = 18 + 14;  // book 1
    const DWORD list = DecodeU32(&bytes[firstBook + 8]);
    EncodeU32(&bytes[list], 0x7FFFFFFF);
    ASSERT_EQ(WriteBytes(bytes), 0);
    CUIntArray values;
    values.SetSize(1);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetBookOccurrences(1, values), CFileException::endOfFile);
    EXPECT_EQ(values.GetSize(), 1) << "refused before the array is sized";
    EncodeU32(&bytes[firstBook + 8], static_cast<DWORD>(bytes.size()) - 3);
    EncodeU32(&bytes[firstBook + 12], 0xFFFFFFF0u);
    ASSERT_EQ(WriteBytes(bytes), 0);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetBookOccurrences(1, values), CFileException::endOfFile);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetBookOccurrencesAllChapters(1, values), CFileException::endOfFile);
    EncodeU16(&bytes[18 + 2], 0xFFFF);  // books announced far past the end of the file
    ASSERT_EQ(WriteBytes(bytes), 0);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetBookOccurrences(1, values), CFileException::endOfFile);
  }
}

TEST_F(VersesTest, QueriesNeedTheVersesIndexOpen) {
  Point(m_book);
  ASSERT_EQ(m_book.Open(ORVA_CONCORD), 0);
  CUIntArray values;
  const std::vector<std::function<void()>> queries = {
      [&] { m_book.GetBookOccurrences(1, values); },
      [&] { m_book.GetBookOccurrencesAllChapters(1, values); },
      [&] { m_book.GetBookOccurrencesAllVerses(1, values); },
      [&] { m_book.GetChapterOccurrences(1, 1, values); },
      [&] { m_book.GetChapterOccurrencesAllVerses(1, 1, values); },
      [&] { m_book.GetVerseOccurrences(1, 1, 1, values); }};
  for (const auto& query : queries) EXPECT_ORVA_FILE_EXCEPTION(query(), CFileException::generic);
  ASSERT_EQ(m_book.Open(ORVA_VERSES), 0);
  for (const auto& query : queries) EXPECT_EQ(Raised(query), "none") << "the skeleton's empty index";
}

}  // namespace
}  // namespace orva::test
