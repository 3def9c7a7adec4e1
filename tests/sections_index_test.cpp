// The sections index on trees written by the writer (and one written byte by byte):
// entries and their links, key validity, path strings both ways with the path
// cache, key ranges, side tables, and damaged files.
#include <algorithm>
#include <string>
#include <tuple>
#include <vector>

#include "tests/test_support.h"
#include "writer/byte_writer.h"
#include "writer/hostile_books.h"
#include "writer/sections_writer.h"

namespace {

using orva::writer::SectionEntry;
using orva::writer::SectionsDescription;
using Bytes = std::vector<std::uint8_t>;
using SectionArray = CArray<cSectionsData, cSectionsData&>;

SectionEntry Entry(const char* name, std::uint8_t level, std::uint32_t sync = 0) {
  SectionEntry e;
  e.name = name;
  e.level = level;
  e.syncWord = sync;
  e.syncHalf = static_cast<std::uint16_t>(sync + 1);
  e.wordCount = static_cast<std::uint16_t>(sync * 10);
  return e;
}

// Keys: 0 Intro | 1 Genesis, 2 1, 3 1, 4 2, 5 2, 6 1 | 7 Exodus, 8 1, 9 1 | glossary
// 10 Aaron, 11 Abel. The glossary entry after the last section is deeper than it.
SectionsDescription SmallBible() {
  SectionsDescription d;
  d.version.publisherID = 7;
  d.version.bookID = 42;
  d.sections = {Entry("Intro", 1, 100),  Entry("Genesis", 1, 101), Entry("1", 2, 102), Entry("1", 3, 103),
                Entry("2", 3, 104),      Entry("2", 2, 105),       Entry("1", 3, 106), Entry("Exodus", 1, 107),
                Entry("1", 2, 108),      Entry("1", 3, 109)};
  d.glossary = {Entry("Aaron", 4, 110), Entry("Abel", 5, 111)};
  d.nonBible = {0, 10};
  d.wordCounts = true;
  return d;
}

const char* const kPaths[] = {"Intro",       "Genesis",     "Genesis/1", "Genesis/1/1", "Genesis/1/2", "Genesis/2",
                              "Genesis/2/1", "Exodus",      "Exodus/1",  "Exodus/1/1",  "Aaron",       "Abel"};

std::string Backslashed(const std::string& path) {
  std::string out = "\\" + path;
  std::replace(out.begin(), out.end(), '/', '\\');
  return out;
}

class SectionsIndexTest : public orva::test::OneIndexTest {
 protected:
  // Writes the index and opens it in m_book; the result of Open.
  int Write(const SectionsDescription& d) { return WriteBytes(orva::writer::EncodeSectionsIndex(d)); }
  int WriteBytes(const Bytes& bytes) { return Reopen(ORVA_SECTIONS, bytes); }
  cSectionsData Section(int key) {
    cSectionsData s;
    EXPECT_EQ(m_book.GetEntry(key, s), 0) << key;
    return s;
  }
};

TEST_F(SectionsIndexTest, EntriesCarryTheirFieldsAndKeysTellSectionsFromGlossaryEntries) {
  ASSERT_EQ(Write(SmallBible()), 0);
  // name level book level-count | key parent child next prev
  const char* const kExpected[] = {
      "Intro 1 0 0 | 0 -1 -1 1 -1", "Genesis 1 1 0 | 1 -1 2 7 0", "1 2 1 1 | 2 1 3 5 -1",
      "1 3 1 2 | 3 2 -1 4 -1",      "2 3 1 3 | 4 2 -1 -1 3",      "2 2 1 4 | 5 1 6 -1 2",
      "1 3 1 5 | 6 5 -1 -1 -1",     "Exodus 1 7 0 | 7 -1 8 -1 1", "1 2 7 1 | 8 7 9 -1 -1",
      "1 3 7 2 | 9 8 -1 -1 -1",     "Aaron 4 -1 0 | 10 -1 -1 11 -1", "Abel 5 -1 1 | 11 -1 -1 -1 10"};
  for (int key = 0; key < 12; ++key) {
    const cSectionsData s = Section(key);
    EXPECT_EQ(orva::test::FieldsOf(s), kExpected[key]) << key;
    EXPECT_EQ(orva::test::SyncOf(s), orva::test::Sync(100 + key, 101 + key)) << key;
  }

  // Which keys are sections, which glossary entries.
  sSectionsHeader header{};
  EXPECT_EQ(m_book.GetSectionHeader(nullptr), 1);
  EXPECT_EQ(m_book.GetSectionHeader(&header), 0);
  EXPECT_EQ(+header.wRecordLength, 20);
  EXPECT_EQ(+header.lSectionCount, 10);
  EXPECT_EQ(+header.lGlossaryCount, 2);
  EXPECT_EQ(+header.wRecordSize, 29);
  EXPECT_EQ(m_book.GetLastSectionKey(), 9);
  EXPECT_EQ(m_book.GetLastKey(), 11);

  for (int key : {-2, -1, 0, 9, 10, 11, 12}) {
    SCOPED_TRACE(key);
    EXPECT_EQ(m_book.IsValidSectionKey(key), key >= 0 && key <= 9);
    EXPECT_EQ(m_book.IsValidGlossaryKey(key), key == -2 || key == 10 || key == 11);
    EXPECT_EQ(m_book.IsValidKey(key), key >= 0 && key <= 11);
    cSectionsData s;
    s.SetName("untouched");
    const bool section = key >= 0 && key <= 9;
    const bool glossary = key == -2 || key == 10 || key == 11;
    EXPECT_EQ(m_book.GetSection(key, s), section ? 0 : 1);
    EXPECT_EQ(m_book.GetSectionAndValidateKey(key, s), section);
    EXPECT_EQ(m_book.GetEntry(key, s), section || glossary ? 0 : 1);
    EXPECT_EQ(m_book.GetGlossary(key, s), glossary ? 0 : 1);
    if (!section && !glossary) {
      EXPECT_EQ(s.GetName(), "untouched");
    }
  }
  cSectionsData first;
  ASSERT_EQ(m_book.GetGlossary(-2, first), 0);
  EXPECT_EQ(first.GetSectionKey(), 10);
  EXPECT_EQ(first.GetName(), "Aaron");

  // Without glossary entries, -2 is still a glossary key but names no entry.
  SectionsDescription noGlossary = SmallBible();
  noGlossary.glossary.clear();
  ASSERT_EQ(Write(noGlossary), 0);
  EXPECT_TRUE(m_book.IsValidGlossaryKey(-2));
  EXPECT_EQ(m_book.GetGlossary(-2, first), 1);
  EXPECT_EQ(m_book.GetEntry(-2, first), 1);
}

TEST_F(SectionsIndexTest, PathsToKeysAndBack) {
  ASSERT_EQ(Write(SmallBible()), 0);
  for (int key = 0; key < 10; ++key) EXPECT_EQ(m_book.GetSectionKey(Backslashed(kPaths[key]).c_str()), key);
  EXPECT_EQ(m_book.GetSectionKey("\\Genesis\\2\\"), 5);
  EXPECT_EQ(m_book.GetSectionKey("gENESIS\\\\2\\1"), 6);
  EXPECT_EQ(m_book.GetSectionKey("Exodus\\1\\1"), 9);
  for (const char* missing : {"", "\\", "\\\\\\", "Leviticus", "Genesis\\3", "Genesis\\1\\1\\1", "Aaron",
                              "Genesis\\Intro", "Gen"}) {
    EXPECT_EQ(m_book.GetSectionKey(missing), -1) << missing;
  }
  EXPECT_EQ(m_book.GetSectionKey(nullptr), -1);

  // Keys to paths, walked or from the cache.
  auto expectPaths = [&](const std::vector<int>& order) {
    for (int key : order) {
      SCOPED_TRACE(key);
      EXPECT_EQ(std::string(m_book.GetPathFromKey(key)), Backslashed(kPaths[key]));
      EXPECT_EQ(std::string(m_book.GetFormattedPathFromKey(key, "/")), kPaths[key]);
    }
  };
  expectPaths({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11});
  expectPaths({11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0});
  // A verse of Genesis, then Exodus, then Genesis again: the chapter cached for
  // Genesis 1 must not be completed with Exodus above it.
  expectPaths({3, 7, 4, 9, 6, 4, 3, 8, 3});
  EXPECT_EQ(std::string(m_book.GetFormattedPathFromKey(4, " > ")), "Genesis > 1 > 2");
  EXPECT_EQ(std::string(m_book.GetFormattedPathFromKey(3, nullptr)), "Genesis11");

  // A top-level section whose parent is a glossary entry on level 0: walking goes
  // on above level 1, and so must a path that the cache could otherwise complete.
  SectionsDescription above = SmallBible();
  above.sections[7].parentOffset = orva::writer::RecordOffset(above, 11);
  above.glossary[1].level = 0;
  ASSERT_EQ(Write(above), 0);
  for (int key : {9, 9, 8, 7}) {
    EXPECT_EQ(std::string(m_book.GetFormattedPathFromKey(key, "/")), std::string("Abel/") + kPaths[key]);
  }

  for (int key : {-2, -1, 12}) {
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetPathFromKey(key), CFileException::generic);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetFormattedPathFromKey(key, "/"), CFileException::generic);
  }
}

TEST_F(SectionsIndexTest, SiblingWalksAndNames) {
  ASSERT_EQ(Write(SmallBible()), 0);
  for (auto [key, count] : {std::pair{7, 3}, {4, 2}, {9, 1}}) EXPECT_EQ(m_book.GetSiblingSectionCount(key), count);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSiblingSectionCount(10), CFileException::generic);

  SectionArray sections;
  sections.SetSize(1);
  EXPECT_EQ(m_book.GetSectionsArray(1, sections), 3) << "appended after the element already there";
  EXPECT_EQ(sections[1].GetSectionKey(), 1);
  EXPECT_EQ(sections[2].GetSectionKey(), 7);
  EXPECT_EQ(m_book.GetSectionsArray(10, sections), 3) << "a glossary key is not a section";

  struct Walk {
    std::vector<int> keys;
    size_t stopAfter;
  };
  auto callback = [](cSectionsData& s, void* context) {
    auto* walk = static_cast<Walk*>(context);
    walk->keys.push_back(s.GetSectionKey());
    return walk->keys.size() < walk->stopAfter ? 1 : 0;
  };
  Walk all{{}, 99}, two{{}, 2};
  EXPECT_EQ(m_book.EnumSections(0, callback, &all), 4) << "the chain ran out: one more than the calls";
  EXPECT_EQ(all.keys, (std::vector<int>{0, 1, 7}));
  EXPECT_EQ(m_book.EnumSections(0, callback, &two), 2) << "the callback ended the walk";
  EXPECT_EQ(m_book.EnumSections(10, callback, &two), 0);

  // Names for a range of siblings.
  auto names = [&](int key, int a, int b, int already = 0) {
    CStringArray out;
    for (int i = 0; i < already; ++i) out.Add("old");
    const int size = m_book.GetSectionNamesForRange(key, a, b, out);
    std::vector<std::string> got;
    for (int i = 0; i < out.GetSize(); ++i) got.push_back(static_cast<const char*>(out[i]));
    EXPECT_EQ(size, out.GetSize());
    return got;
  };
  using Names = std::vector<std::string>;
  EXPECT_EQ(names(0, 0, 3), (Names{"Intro", "Genesis", "Exodus"}));
  EXPECT_EQ(names(0, 1, 2), (Names{"Genesis"}));
  EXPECT_EQ(names(0, 1, 9), (Names{"Genesis", "Exodus"})) << "the chain ends first";
  EXPECT_EQ(names(1, 1, 2), (Names{"Exodus"})) << "positions count from the given section";
  EXPECT_EQ(names(0, -1, 1), (Names{"Intro", "Genesis"})) << "b - a names from the start";
  EXPECT_EQ(names(0, 2, 2), Names{});
  EXPECT_EQ(names(0, 3, 1), Names{});
  EXPECT_EQ(names(0, 2, 3, 3), (Names{"Exodus", "old", "old"})) << "stored from index 0, the rest stays";
}

TEST_F(SectionsIndexTest, KeyRangesWordCountsAndNonBibleSections) {
  ASSERT_EQ(Write(SmallBible()), 0);
  auto range = [&](int key) {
    int first = -9, last = -9;
    m_book.GetKeyRange(Section(key), &first, &last);
    return std::make_pair(first, last);
  };
  for (auto [key, first, last] : {std::tuple{0, 0, 0}, {4, 1, 6}, {1, 1, 6}, {9, 7, 9}, {11, 10, 11}}) {
    EXPECT_EQ(range(key), std::make_pair(first, last)) << key;
  }
  cSectionsData outside;
  outside.SetSectionKey(12);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetKeyRange(outside, nullptr, nullptr), CFileException::generic);

  for (auto [key, count] : {std::pair{4, 1040}, {9, 1090}, {10, -1}, {-1, -1}}) {
    EXPECT_EQ(m_book.SectionWordCount(key), count) << key;
  }

  CWordArray nonBible;
  nonBible.Add(77);
  m_book.GetNonBibleSections(nonBible);
  EXPECT_EQ(orva::test::Values(nonBible), (std::vector<WORD>{0, 10}));

  SectionsDescription plain = SmallBible();
  plain.nonBible.clear();
  ASSERT_EQ(Write(plain), 0);
  m_book.GetNonBibleSections(nonBible);
  EXPECT_EQ(nonBible.GetSize(), 0) << "equal offsets: an empty list";
  plain.wordCounts = false;
  ASSERT_EQ(Write(plain), 0);
  EXPECT_EQ(m_book.SectionWordCount(4), -1) << "no word-count table";
  m_book.GetNonBibleSections(nonBible);
  EXPECT_EQ(nonBible.GetSize(), 0);
}

TEST_F(SectionsIndexTest, RecordSizesUseTheFirst29BytesAndZeroAShortTail) {
  for (std::uint16_t size : {25, 29, 40}) {
    SCOPED_TRACE(size);
    SectionsDescription d = SmallBible();
    for (auto& e : d.sections) e.syncWord = 0xAABBCCDD;
    d.recordSize = size;
    ASSERT_EQ(Write(d), 0);
    const cSectionsData s = Section(4);
    EXPECT_EQ(orva::test::FieldsOf(s), "2 3 1 3 | 4 2 -1 -1 3");
    EXPECT_EQ(orva::test::SyncOf(s), size == 25 ? orva::test::Sync(0xCCDD, 0)
                                                : orva::test::Sync(0xAABBCCDD, 105));
    EXPECT_EQ(std::string(m_book.GetFormattedPathFromKey(9, "/")), "Exodus/1/1");
    EXPECT_EQ(m_book.GetSectionKey("Genesis\\2\\1"), 6);
  }
}

TEST_F(SectionsIndexTest, ReadsTheLayoutWrittenByteByByte) {
  // Two top-level sections "A" (sync 1, 2) and "B", records of 30 bytes, word counts.
  orva::writer::ByteWriter file;
  orva::writer::WriteVersionRecord(file, m_version);
  const std::uint32_t first = 18 + 20, names = first + 2 * 30, list = names + 3 + 3, counts = list + 2;
  file.U16(20).U32(2).U32(0).U16(30).U32(list).U32(counts);
  file.U32(0).U32(0).U32(first + 30).U32(5).U16(0xFFFF).U8(1).U32(names).U32(1).U16(2).U8(0xEE);
  file.U32(0).U32(first).U32(0).U32(6).U16(0).U8(1).U32(names + 3).U32(0).U16(0).U8(0xEE);
  file.U16(1).Text("A").U16(1).Text("B");
  file.U16(1);
  file.U16(300).U16(301);
  ASSERT_EQ(WriteBytes(file.Data()), 0);

  EXPECT_EQ(orva::test::FieldsOf(Section(0)), "A 1 5 -1 | 0 -1 -1 1 -1") << "the level count sign-extended";
  EXPECT_EQ(orva::test::FieldsOf(Section(1)), "B 1 6 0 | 1 -1 -1 -1 0");
  EXPECT_EQ(orva::test::SyncOf(Section(0)), orva::test::Sync(1, 2));
  EXPECT_EQ(m_book.SectionWordCount(1), 301);
  CWordArray nonBible;
  m_book.GetNonBibleSections(nonBible);
  EXPECT_EQ(orva::test::Values(nonBible), std::vector<WORD>{1});
}

TEST_F(SectionsIndexTest, MembersNeedTheSectionsOpen) {
  Point(m_book);
  ASSERT_EQ(m_book.Open(ORVA_TEXT), 0);
  cSectionsData s;
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSection(0, s), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.IsValidKey(0), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSectionKey("A"), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSectionHeader(nullptr), CFileException::generic);
}

TEST_F(SectionsIndexTest, EntriesSharingOneLongNameCostWhatTheBoundsAllow) {
  using orva::test::RaisedWithinBounds;
  constexpr int kName = 32767;
  ASSERT_EQ(WriteBytes(orva::writer::SharedNameSections(m_version, 2000, kName, true)), 0);
  CString path;
  EXPECT_EQ(RaisedWithinBounds([&] { path = m_book.GetPathFromKey(255); }), "none");
  EXPECT_EQ(path.GetLength(), 256 * (kName + 1)) << "the longest path: 256 levels";
  EXPECT_EQ(RaisedWithinBounds([&] { m_book.GetPathFromKey(1999); }), "1/-1/") << "parents on one level";
  EXPECT_EQ(RaisedWithinBounds([&] { m_book.GetFormattedPathFromKey(1999, "/"); }), "1/-1/");

  ASSERT_EQ(WriteBytes(orva::writer::SharedNameSections(m_version, 2000, kName, false)), 0);
  SectionArray array;
  CStringArray names;
  EXPECT_EQ(RaisedWithinBounds([&] { m_book.GetSectionsArray(0, array); }), "1/-1/") << "past 8 MiB";
  EXPECT_EQ(RaisedWithinBounds([&] { m_book.GetSectionNamesForRange(0, 0, 2000, names); }), "1/-1/");
  EXPECT_EQ(names.GetSize(), 256);
}

TEST_F(SectionsIndexTest, DamagedHeadersRaiseAtOpen) {
  auto openRaises = [&](const SectionsDescription& d) {
    return orva::test::Raised([&] { Write(d); });
  };
  SectionsDescription d = SmallBible();
  d.recordSize = 0;
  EXPECT_EQ(openRaises(d), "1/-1/") << "records of no bytes";
  d = SmallBible();
  d.glossaryCount = -1;
  EXPECT_EQ(openRaises(d), "1/-1/");
  d.glossaryCount = 200;
  EXPECT_EQ(openRaises(d), "14/-1/") << "a table past the end of the file";
  EXPECT_TRUE(m_book.IsClosed());
}

TEST_F(SectionsIndexTest, DamagedEntriesRaiseInsteadOfHangingOrReadingOutside) {
  const SectionsDescription good = SmallBible();
  const std::uint32_t end = static_cast<std::uint32_t>(orva::writer::EncodeSectionsIndex(good).size());
  cSectionsData s;
  SectionArray array;
  CStringArray names;
  auto never = [](cSectionsData&, void*) { return 1; };

  // Genesis and Exodus each other's next sibling; Exodus 1's parent is its verse.
  SectionsDescription loops = good;
  loops.sections[7].nextOffset = orva::writer::RecordOffset(good, 1);
  loops.sections[8].parentOffset = orva::writer::RecordOffset(good, 9);
  ASSERT_EQ(Write(loops), 0);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSiblingSectionCount(1), CFileException::generic);
  array.SetSize(1);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSectionsArray(0, array), CFileException::generic);
  EXPECT_EQ(array.GetSize(), 1) << "left as it was";
  EXPECT_ORVA_FILE_EXCEPTION(m_book.EnumSections(0, never, nullptr), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSectionNamesForRange(0, 0, 100, names), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSectionKey("Leviticus"), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetPathFromKey(9), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetFormattedPathFromKey(9, "/"), CFileException::generic);
  EXPECT_EQ(m_book.GetSectionKey("Genesis\\1\\2"), 4) << "what does not loop still reads";

  SectionsDescription outside = good;
  outside.sections[3].nextOffset = end + 1000;  // past the table: a key beyond the last
  outside.sections[5].parentOffset = orva::writer::FirstRecordOffset(good) - 60u;  // before the table: key -2
  outside.sections[4].nameOffset = end;         // a name past the end of the file
  outside.sections[6].nameLength = -3;
  outside.sections[2].prevOffset = 1;  // 1 - first record offset rounds toward zero: none
  ASSERT_EQ(Write(outside), 0);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSiblingSectionCount(3), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetPathFromKey(5), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSection(4, s), CFileException::endOfFile);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetSection(6, s), CFileException::generic);
  EXPECT_EQ(m_book.GetSection(3, s), 0) << "a bad link is handed out as a key, not followed";
  EXPECT_EQ(s.GetNextKey(), (end + 1000 - orva::writer::FirstRecordOffset(good)) / 29);
  EXPECT_EQ(m_book.GetSection(2, s), 0);
  EXPECT_EQ(s.GetPrevKey(), -1);
  EXPECT_EQ(m_book.GetSection(7, s), 0);

  SectionsDescription tables = good;
  tables.nonBibleOffset = end;        // the list would end before it starts
  tables.wordCountOffset = end + 10;  // and the counts lie past the end
  ASSERT_EQ(Write(tables), 0);
  CWordArray nonBible;
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetNonBibleSections(nonBible), CFileException::endOfFile);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.SectionWordCount(0), CFileException::endOfFile);
}

}  // namespace
