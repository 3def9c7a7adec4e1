// The concordance's key and position lists: coded lists on their own (the
// parameter, literal bit streams, where a list starts and ends in the file, round
// trips through the writer's encoder); position lists that words share; plain and
// coded lists from files written by the writer and byte by byte; the caches;
// damaged files; the open state. Fields of the packed records are copied out (+x)
// before gtest binds references to them.
#include <algorithm>
#include <functional>
#include <random>
#include <tuple>

#include "concordance/coded_list.h"
#include "files/endian.h"
#include "tests/concord_test_support.h"
#include "writer/golomb_writer.h"
#include "writer/hostile_books.h"
#include "writer/list_pool.h"

namespace orva::test {
namespace {

using Bytes = std::vector<std::uint8_t>;

// A file of an empty version record (a book without ids) followed by `bytes`,
// opened as a bare cFileBase.
class CodedListFile {
 public:
  explicit CodedListFile(const Bytes& bytes) {
    writer::VersionFields version;
    Bytes file = writer::EncodeVersionRecord(version);
    file.insert(file.end(), bytes.begin(), bytes.end());
    m_dir.WriteFile("list", file);
    EXPECT_EQ(m_file.Open(m_dir.FilePath("list").c_str(), m_book), 0);
  }
  ~CodedListFile() { m_file.Close(); }

  // Decodes `values` entries from byte `at` of `bytes`; unwritten entries stay 0xEEEE....
  template <class T = DWORD>
  std::vector<T> Decode(DWORD count, DWORD values, DWORD range, const DWORD* start = nullptr, LONG at = 0) {
    std::vector<T> out(values, static_cast<T>(0xEEEEEEEE));
    m_file.Seek(kStart + at, CFile::begin);
    DecodeCodedList(m_file, count, values, range, start, out.data());
    return out;
  }
  LONG Position() { return m_file.Seek(0, CFile::current) - kStart; }
  cFileBase& File() { return m_file; }

  static constexpr LONG kStart = 18;

 private:
  writer::TempBookDir m_dir;
  cORVABookBase m_book;
  cFileBase m_file;
};

TEST(CodedListTest, ParameterFollowsRangeAndCount) {
  const struct {
    DWORD range, count, b;
    int k;
    DWORD t;
  } kCases[] = {
      {100, 4, 17, 5, 15},  // 6900 / 100 = 69, 69 div 4
      {50, 1, 35, 6, 29},   // 34.5 rounds up
      {7, 10, 1, 0, 0},     // h = 5, b = 0 becomes 1: pure unary
      {29, 10, 2, 1, 0},    // h = 20: one remainder bit
      {0, 3, 1, 0, 0},
      {0x80000000u, 1, 2813203579u, 32, 1481763717u},  // the range is signed: h < 0
  };
  for (const auto& c : kCases) {
    const GolombParameter p = GolombParameterFor(c.range, c.count);
    EXPECT_EQ(p.b, c.b) << c.range << "/" << c.count;
    EXPECT_EQ(p.k, c.k) << c.range << "/" << c.count;
    EXPECT_EQ(p.t, c.t) << c.range << "/" << c.count;
  }
}

TEST(CodedListTest, LiteralStreamsDecode) {
  // The worked example: 1 0 0011 | 0 1111 1 | four ignored bits.
  CodedListFile example({0x8D, 0xF0});
  EXPECT_EQ(example.Decode(4, 2, 100), (std::vector<DWORD>{20, 37}));
  const DWORD start = 10;
  EXPECT_EQ(example.Decode(4, 2, 100, &start), (std::vector<DWORD>{31, 48})) << "a continued sequence";
  EXPECT_EQ(example.Position(), 2) << "the byte after the list is not read";

  // b = 1: unary only. Values 0, 2, 1: 0 | 110 | 10, then ignored 1-bits.
  CodedListFile unary({0x6B});
  EXPECT_EQ(unary.Decode(10, 3, 7), (std::vector<DWORD>{0, 3, 5}));
  // b = 2: one remainder bit each. Values 3, 0: 10 1 | 0 0.
  CodedListFile oneBit({0xA0});
  EXPECT_EQ(oneBit.Decode(10, 2, 29), (std::vector<DWORD>{3, 4}));
  // Positions keep their low 16 bits: 70000 = 0x11170 with b = 1,000,000.
  const Bytes wide = writer::EncodeCodedList({70000}, 1449275, 1);
  CodedListFile truncated(wide);
  EXPECT_EQ(truncated.Decode<WORD>(1, 1, 1449275), (std::vector<WORD>{0x1170}));
}

TEST(CodedListTest, EachListStartsOnAFreshByteAndEndsWithItsLastValue) {
  // List one (range 100, count 4) ends in the middle of its second byte, whose
  // remaining bits are set; list two starts on the third byte.
  CodedListFile file({0x8D, 0xFF, 0x8D, 0xF0});
  EXPECT_EQ(file.Decode(4, 2, 100), (std::vector<DWORD>{20, 37}));
  EXPECT_EQ(file.Position(), 2);
  EXPECT_EQ(file.Decode(4, 2, 100, nullptr, 2), (std::vector<DWORD>{20, 37}));

  // Running off the end raises end-of-file with the entries decoded so far kept.
  std::vector<DWORD> out(3, 0xEEEEEEEE);
  file.File().Seek(CodedListFile::kStart + 2, CFile::begin);
  EXPECT_ORVA_FILE_EXCEPTION(DecodeCodedList(file.File(), 4, 3, 100, nullptr, out.data()),
                             CFileException::endOfFile);
  EXPECT_EQ(out, (std::vector<DWORD>{20, 37, 0xEEEEEEEE}));

  // A list may end in the last bit of the file (range 100, count 4: 10 0011 |
  // 111110 0011); a run of 1-bits or a remainder that the file cuts short raises.
  CodedListFile exact({0x8F, 0xE3});
  EXPECT_EQ(exact.Decode(4, 2, 100), (std::vector<DWORD>{20, 109}));
  EXPECT_EQ(exact.Position(), 2);
  for (const Bytes& cut : {Bytes{0x8F}, Bytes{0xFF, 0xFF}}) {
    CodedListFile file({cut});
    EXPECT_ORVA_FILE_EXCEPTION(file.Decode(4, 2, 100), CFileException::endOfFile);
  }

  // A count of 0 is refused before anything is read.
  file.File().Seek(CodedListFile::kStart, CFile::begin);
  EXPECT_ORVA_FILE_EXCEPTION(DecodeCodedList(file.File(), 0, 0, 100, nullptr, out.data()),
                             CFileException::generic);
  EXPECT_EQ(file.Position(), 0);
}

TEST(CodedListTest, EncoderAndDecoderRoundTrip) {
  // Random lists, written one after another into one file and decoded in turn.
  struct Case {
    std::vector<DWORD> entries;
    DWORD range;
    LONG at, continuedAt;
  };
  std::vector<Case> cases;
  Bytes bytes;
  std::mt19937 engine(9);
  auto random = [&] { return static_cast<DWORD>(engine()); };
  for (int round = 0; round < 300; ++round) {
    const DWORD n = 1 + random() % 200;
    // Ranges near the list's span, anywhere (2^31 and above too), and tiny ones
    // (long unary runs, so with small gaps).
    const bool tiny = round % 3 == 2;
    const DWORD spread = tiny ? 1 + random() % 64 : 1u << (random() % 24);
    Case c;
    DWORD value = random() % spread;
    for (DWORD i = 0; i < n; ++i, value += 1 + random() % spread) c.entries.push_back(value);
    const DWORD kRanges[] = {c.entries.back() + 1, random(), 1 + random() % 64};
    c.range = kRanges[round % 3];
    c.at = static_cast<LONG>(bytes.size());
    const Bytes list = writer::EncodeCodedList(c.entries, c.range);
    bytes.insert(bytes.end(), list.begin(), list.end());
    // A continued list (a position directory): the values between the first and
    // the last, with the parameter of the whole count.
    c.continuedAt = static_cast<LONG>(bytes.size());
    if (n >= 3) {
      const std::vector<DWORD> between(c.entries.begin() + 1, c.entries.end() - 1);
      const Bytes continued = writer::EncodeCodedList(between, c.range, n, &c.entries[0]);
      bytes.insert(bytes.end(), continued.begin(), continued.end());
    }
    cases.push_back(c);
  }
  CodedListFile file(bytes);
  for (const Case& c : cases) {
    const DWORD n = static_cast<DWORD>(c.entries.size());
    SCOPED_TRACE(testing::Message() << "range " << c.range << ", n " << n);
    EXPECT_EQ(file.Decode(n, n, c.range, nullptr, c.at), c.entries);
    if (n >= 3) {
      EXPECT_EQ(file.Decode(n, n - 2, c.range, &c.entries[0], c.continuedAt),
                std::vector<DWORD>(c.entries.begin() + 1, c.entries.end() - 1));
    }
  }
}

// Words of more than 1000 keys share their lists when that makes the lists
// smaller: the bound of 1000 keys leaves them out, a larger one is tried too. A
// word that shares finds each of its lists, coded, at its offsets, which ascend.
TEST(ShareListsTest, WordsOfManyKeysShareWhenItPays) {
  constexpr std::uint16_t kRange = 100;
  std::vector<writer::WordLists> words(12);
  for (size_t w = 0; w < words.size(); ++w) {
    for (size_t key = 0; key < 1500; ++key) words[w].push_back({static_cast<std::uint16_t>(1 + (key + w) % 3)});
  }
  std::vector<const writer::WordLists*> all;
  for (const writer::WordLists& word : words) all.push_back(&word);
  const writer::SharedLists shared = writer::ShareLists(all, kRange);
  ASSERT_EQ(shared.offsets.size(), words.size());
  for (size_t w = 0; w < words.size(); ++w) {
    SCOPED_TRACE(testing::Message() << "word " << w);
    const std::vector<std::uint32_t>& offsets = shared.offsets[w];
    ASSERT_EQ(offsets.size(), words[w].size());
    for (size_t key = 0; key < offsets.size(); ++key) {
      if (key > 0) {
        ASSERT_LT(offsets[key - 1], offsets[key]);
      }
      const Bytes list = writer::CodedPositionList(words[w][key], kRange);
      ASSERT_LE(offsets[key] + list.size(), shared.bytes.size());
      ASSERT_TRUE(std::equal(list.begin(), list.end(), shared.bytes.begin() + offsets[key])) << "key " << key;
    }
  }
}

TEST_F(ConcordTest, KeysAndPositionsOfEveryLayout) {
  // Each layout with records of the structures' sizes, and with a longer header and
  // longer language and word records, whose extra bytes are ignored.
  for (int form = 0; form < 6; ++form) {
    SCOPED_TRACE(form);
    const Lists lists = kAllLists[form % 3];
    writer::ConcordDescription d = SmallConcordance(lists);
    if (form >= 3) {
      std::tie(d.headerLength, d.languageRecSize) = std::tuple(12, 23);
      for (auto& language : d.languages) language.wordRecSize = 27;
    }
    writer::ConcordLayout layout;
    ASSERT_EQ(Write(d, &layout), 0);
    for (size_t language = 0; language < 2; ++language) {
      const std::vector<writer::ConcordWord> words = writer::SortedWords(d.languages[language]);
      for (size_t k = 0; k < words.size(); ++k) {
        const int key = static_cast<int>(k);
        cLanguageString text = Lang(words[k].text, d.languages[language].id);
        CUIntArray keys;
        ASSERT_EQ(m_book.GetKeysForWord(text, keys), key);
        EXPECT_EQ(Values(keys), words[k].keys);
        for (size_t i = 0; i < words[k].keys.size(); ++i) {
          CWordArray positions;
          EXPECT_EQ(m_book.GetWordPositionList(key, static_cast<int>(words[k].keys[i]), positions), key);
          EXPECT_EQ(Values(positions), words[k].positions[i]) << "key " << words[k].keys[i];
        }
        sWordListRec record;
        std::memset(&record, 0xCD, sizeof record);
        EXPECT_EQ(m_book.GetWordListRecord(key, record), key);
        EXPECT_EQ(+record.dwData, words[k].data);
        EXPECT_EQ(+record.dwEntryOffset, layout.words[language][k].entry);
        const DWORD count = static_cast<DWORD>(words[k].keys.size());
        if (lists == Lists::kCoded) {
          EXPECT_EQ(+record.dwKeyCount, count);
          EXPECT_EQ(+record.lists.coded.dwPositionDirectory, layout.words[language][k].offsets);
        } else {
          DWORD narrow = 0;
          while (lists == Lists::kNarrow && narrow < count && words[k].keys[narrow] <= 0xFFFF) ++narrow;
          EXPECT_EQ(DWORD{record.lists.plain.wKey16Count}, narrow);
          EXPECT_EQ(+record.dwKeyCount, count - narrow);
          EXPECT_EQ(+record.lists.plain.dwPositionTable, layout.words[language][k].offsets);
        }
      }
    }
    // Keys and words that are not there.
    CUIntArray keys;
    keys.SetSize(2);
    cLanguageString missing = Lang(u"cedars");
    EXPECT_EQ(m_book.GetKeysForWord(missing, keys), -1);
    EXPECT_EQ(keys.GetSize(), 2) << "untouched";
    EXPECT_EQ(m_book.GetKeysForWord(5, keys), -1);
    EXPECT_EQ(keys.GetSize(), 2) << "untouched";
    CWordArray positions;
    positions.SetSize(3);
    EXPECT_EQ(m_book.GetWordPositionList(2, 4, positions), -1) << "a key the word lacks";
    EXPECT_EQ(positions.GetSize(), 0);
    positions.SetSize(3);
    EXPECT_EQ(m_book.GetWordPositionList(-1, 1, positions), -1);
    EXPECT_EQ(positions.GetSize(), 0);
    sWordListRec record{};
    EXPECT_EQ(m_book.GetWordListRecord(missing, record), -1);
    EXPECT_EQ(+record.dwEntryOffset, 0u);
  }
}

// Shared position lists (as the book builder writes a coded concordance) read
// as each word's own. Lists beyond a word's keys are left out; a word with fewer
// lists than keys has empty ones at the rest, which a reader takes for damage
// (a coded list holds at least one value), as it does unshared.
TEST_F(ConcordTest, SharedListsReadAsEachWordsOwn) {
  for (const bool share : {false, true}) {
    SCOPED_TRACE(share ? "shared" : "apart");
    writer::ConcordDescription d = SmallConcordance(Lists::kCoded);
    d.shareLists = share;
    d.languages[0].words.push_back(Word(u"fig", {1, 3, 4}, {{2}}));
    d.languages[0].words.push_back(Word(u"grape", {2}, {{1}, {5}}));
    ASSERT_EQ(Write(d), 0);
    for (size_t language = 0; language < 2; ++language) {
      const std::vector<writer::ConcordWord> words = writer::SortedWords(d.languages[language]);
      for (size_t k = 0; k < words.size(); ++k) {
        const int key = static_cast<int>(k);
        cLanguageString text = Lang(words[k].text, d.languages[language].id);
        CUIntArray keys;
        ASSERT_EQ(m_book.GetKeysForWord(text, keys), key);
        EXPECT_EQ(Values(keys), words[k].keys);
        for (size_t i = 0; i < words[k].keys.size(); ++i) {
          SCOPED_TRACE(testing::Message() << "word " << k << ", key " << words[k].keys[i]);
          const int at = static_cast<int>(words[k].keys[i]);
          CWordArray positions;
          if (i >= words[k].positions.size()) {
            EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWordPositionList(key, at, positions), CFileException::generic);
            continue;
          }
          EXPECT_EQ(m_book.GetWordPositionList(key, at, positions), key);
          EXPECT_EQ(Values(positions), words[k].positions[i]);
        }
      }
    }
  }
}

// One language, words "ox" (keys 5 and 100000; positions 3, 300 and 256) and
// "yak" (key 7; positions 1, 2), plain, written byte by byte.
Bytes PlainFile() {
  return {
      18, 0, 7, 0, 42, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,  // version record
      8, 0, 1, 0, 16, 0, 0, 0,                                  // 18: header, plain
      0x09, 0x04, 2, 0, 0, 0, 42, 0, 0, 0, 18, 0, 0, 0, 0, 0,   // 26: 1033, W 2, table 42, WR 18
      0xEF, 0xBE, 0xAD, 0xDE, 1, 0, 0, 0, 78, 0, 0, 0, 1, 0, 99, 0, 0, 0,  // 42: "ox": K32 1, K16 1
      0, 0, 0, 0, 0, 0, 0, 0, 107, 0, 0, 0, 1, 0, 119, 0, 0, 0,            // 60: "yak": K16 1
      2, 0, 'o', 'x', 5, 0, 0xA0, 0x86, 1, 0,  // 78: entry, keys 5 (u16) and 100000 (u32)
      1, 1, 0, 3, 0x2C, 1,                     // 88: 1 byte position, 1 u16 position
      0, 1, 0, 0, 1,                           // 94: 1 u16 position
      88, 0, 0, 0, 94, 0, 0, 0,                // 99: the position-offset table
      3, 0, 'y', 'a', 'k', 7, 0,               // 107: entry, key 7 (u16)
      2, 0, 0, 1, 2,                           // 114: 2 byte positions
      114, 0, 0, 0,                            // 119
  };
}

// One language (P 50), the word "hi" with keys 20, 37, 38, 60 (key range 100) and
// the positions 7 | 40 | 3, 4 | 0, coded, written byte by byte.
Bytes CodedFile() {
  return {
      18, 0, 7, 0, 42, 0, 0, 0, 0, 0, 2, 0, 0, 0, 0, 0, 0, 0,  // version record
      8, 0, 1, 0, 16, 0, 1, 0,                                  // 18: header, coded
      100, 0, 0, 0,                                             // 26: key range
      0x09, 0x04, 1, 0, 0, 0, 46, 0, 0, 0, 16, 0, 50, 0, 0, 0,  // 30: 1033, W 1, table 46, WR 16, P 50
      0x11, 0x22, 0x33, 0x44, 4, 0, 0, 0, 62, 0, 0, 0, 82, 0, 0, 0,  // 46: K 4, entry 62, directory 82
      2, 0, 'h', 'i', 0x8D, 0xF0, 0x48,  // 62: entry; keys: 10 0011 | 0 11111 | 0 0000 | 10 0100
      1, 0, 0x1C,                        // 69: 7 (b 35): 0 00111
      1, 0, 0x8A,                        // 72: 40: 10 00101
      2, 0, 0x18, 0x00,                  // 75: 3, 4 (b 17): 0 0011 | 0 0000
      1, 0, 0x00,                        // 79: 0
      10, 0, 0, 0, 69, 0, 0, 0, 0xD8,    // 82: span 10, first 69; 72, 75 (b 1): 110 | 110
  };
}

TEST_F(ConcordTest, FilesWrittenByteByByteAreRead) {
  CUIntArray keys;
  CWordArray positions;
  cLanguageString word;
  auto positionsAt = [&](int wordKey, int key) {
    EXPECT_EQ(m_book.GetWordPositionList(wordKey, key, positions), wordKey);
    return Values(positions);
  };

  ASSERT_EQ(WriteBytes(PlainFile()), 0);
  EXPECT_EQ(m_book.GetFirstWord(kEnglish, word), 0);
  EXPECT_EQ(CharsOf(word), u"ox");
  EXPECT_EQ(m_book.GetKeysForWord(0, keys), 0);
  EXPECT_EQ(Values(keys), (std::vector<UINT>{5, 100000}));
  EXPECT_EQ(positionsAt(0, 5), (std::vector<WORD>{3, 300}));
  EXPECT_EQ(positionsAt(0, 100000), (std::vector<WORD>{256}));
  EXPECT_EQ(m_book.GetNextWord(word), 1);
  EXPECT_EQ(CharsOf(word), u"yak");
  EXPECT_EQ(positionsAt(1, 7), (std::vector<WORD>{1, 2}));
  sWordListRec record{};
  EXPECT_EQ(m_book.GetWordListRecord(0, record), 0);
  EXPECT_EQ(+record.dwData, 0xDEADBEEFu);

  ASSERT_EQ(WriteBytes(CodedFile()), 0);
  cLanguageString hi = Lang(u"HI");
  EXPECT_EQ(m_book.GetKeysForWord(hi, keys), 0);
  EXPECT_EQ(Values(keys), (std::vector<UINT>{20, 37, 38, 60}));
  EXPECT_EQ(positionsAt(0, 38), (std::vector<WORD>{3, 4}));
  EXPECT_EQ(positionsAt(0, 20), (std::vector<WORD>{7}));
  EXPECT_EQ(positionsAt(0, 37), (std::vector<WORD>{40}));
  EXPECT_EQ(positionsAt(0, 60), (std::vector<WORD>{0}));
  std::memset(&record, 0xCD, sizeof record);
  EXPECT_EQ(m_book.GetWordListRecord(hi, record), 0);
  EXPECT_EQ(+record.dwData, 0x44332211u);
  EXPECT_EQ(+record.lists.coded.wData, 0xCDCD) << "the bytes beyond WR are untouched";
}

TEST_F(ConcordTest, CodedDirectoriesOfOneTwoAndManyKeys) {
  // The writer's coded directories: one key holds no span, two keys no coded values.
  const writer::ConcordDescription d = SmallConcordance(Lists::kCoded);
  writer::ConcordLayout layout;
  ASSERT_EQ(Write(d, &layout), 0);
  const auto& babel = layout.words[0][1];  // one key
  const auto& apple = layout.words[0][0];  // two keys
  EXPECT_EQ(babel.lists.size(), 1u);
  EXPECT_EQ(apple.lists.size(), 2u);
  const Bytes bytes = writer::EncodeConcordIndex(d);
  EXPECT_EQ(DecodeU32(&bytes[babel.offsets]), babel.lists[0]) << "one key: the first offset only";
  EXPECT_EQ(DecodeU32(&bytes[apple.offsets]), apple.lists[1] - apple.lists[0]) << "two keys: the span";
  EXPECT_EQ(DecodeU32(&bytes[apple.offsets + 4]), apple.lists[0]);
  EXPECT_EQ(layout.words[0][1].record - layout.words[0][0].record, 18u);
}

TEST_F(ConcordTest, CachesBelongToOneWordOfTheCurrentLanguage) {
  ASSERT_EQ(Write(SmallConcordance(Lists::kCoded)), 0);
  CUIntArray keys;
  CWordArray positions;
  EXPECT_EQ(m_book.GetKeysForWord(0, keys), 0);
  EXPECT_EQ(File().CachedWordKey(), 0);
  // The same word key in another language is another word.
  EXPECT_EQ(m_book.SelectCurrentLanguage(kGerman, nullptr), 0);
  EXPECT_EQ(File().CachedWordKey(), -1);
  EXPECT_EQ(m_book.GetKeysForWord(0, keys), 0);
  EXPECT_EQ(Values(keys), (std::vector<UINT>{8, 9}));
  EXPECT_EQ(m_book.GetWordPositionList(0, 9, positions), 0);
  EXPECT_EQ(Values(positions), (std::vector<WORD>{2}));
  EXPECT_EQ(m_book.SelectCurrentLanguage(kEnglish, nullptr), 0);
  EXPECT_EQ(m_book.GetWordPositionList(0, 70000, positions), 0) << "positions read the key list themselves";
  EXPECT_EQ(Values(positions), (std::vector<WORD>{2}));
  EXPECT_EQ(m_book.GetWordPositionList(0, 3, positions), 0);
  EXPECT_EQ(Values(positions), (std::vector<WORD>{1, 300}));
  EXPECT_EQ(m_book.GetKeysForWord(0, keys), 0);
  EXPECT_EQ(Values(keys), (std::vector<UINT>{3, 70000}));
  EXPECT_EQ(m_book.GetWordPositionList(4, 9, positions), 4) << "another word";
  EXPECT_EQ(Values(positions), (std::vector<WORD>{2}));
  EXPECT_EQ(m_book.GetWordPositionList(0, 70000, positions), 0);
  EXPECT_EQ(Values(positions), (std::vector<WORD>{2}));
  // Every open empties the caches, a shared one too.
  cORVABookBase sharer;
  Point(sharer);
  ASSERT_EQ(File().CachedWordKey(), 0);
  ASSERT_EQ(sharer.Open(ORVA_CONCORD), 0);
  EXPECT_EQ(File().CachedWordKey(), -1);
}

TEST_F(ConcordTest, DamageRaisesFileExceptions) {
  CUIntArray keys;
  CWordArray positions;
  cLanguageString word;
  auto damaged = [&](Lists lists, auto change) {
    writer::ConcordDescription d = SmallConcordance(lists);
    writer::ConcordLayout layout;
    Bytes bytes = writer::EncodeConcordIndex(d, &layout);
    change(d, layout, bytes);
    EXPECT_EQ(WriteBytes(bytes), 0);
  };
  auto poke32 = [](Bytes& bytes, size_t at, DWORD value) { EncodeU32(&bytes[at], value); };

  // A word table past the end of the file, and more words announced than written.
  for (DWORD tableAt : {0x7FFFFFF0u, 0xFFFFFFF0u}) {
    writer::ConcordDescription d = SmallConcordance(Lists::kNarrow);
    d.languages[0].wordTableOffset = tableAt;
    ASSERT_EQ(Write(d), 0);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetFirstWord(kEnglish, word), CFileException::endOfFile);
  }
  writer::ConcordDescription d = SmallConcordance(Lists::kNarrow);
  d.languages[0].wordCount = 0x7FFFFFFF;
  ASSERT_EQ(Write(d), 0);
  cLanguageString zebra = Lang(u"zebra");
  EXPECT_ORVA_FILE_EXCEPTION(m_book.FindNearestMatchingWord(zebra, word), CFileException::endOfFile);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetLastWord(kEnglish, word), CFileException::endOfFile);

  // Counts larger than the file: refused before the array is sized.
  for (Lists lists : kAllLists) {
    damaged(lists, [&](auto&, const writer::ConcordLayout& layout, Bytes& bytes) {
      poke32(bytes, layout.words[0][2].record + 4, 0x40000000);  // K32, or K
    });
    keys.SetSize(1);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetKeysForWord(2, keys), CFileException::endOfFile);
    EXPECT_EQ(keys.GetSize(), 1);
    EXPECT_EQ(File().CachedWordKey(), -1);
  }
  damaged(Lists::kCoded, [&](auto&, const writer::ConcordLayout& layout, Bytes& bytes) {
    EncodeU16(&bytes[layout.words[0][2].lists[1]], 0xFFFF);  // m
  });
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWordPositionList(2, 2, positions), CFileException::endOfFile);
  damaged(Lists::kNarrow, [&](auto&, const writer::ConcordLayout& layout, Bytes& bytes) {
    EncodeU16(&bytes[layout.words[0][2].lists[1] + 1], 0x8000);  // m16
  });
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWordPositionList(2, 2, positions), CFileException::endOfFile);
  EXPECT_EQ(m_book.GetWordPositionList(2, 1, positions), 2) << "the other lists are intact";

  // Counts of 0 in coded lists, more than 65535 plain positions, a negative word
  // length and word records shorter than their structure are generic damage.
  damaged(Lists::kCoded, [&](auto&, const writer::ConcordLayout& layout, Bytes& bytes) {
    poke32(bytes, layout.words[0][2].record + 4, 0);
    EncodeU16(&bytes[layout.words[0][0].lists[1]], 0);
  });
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetKeysForWord(2, keys), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWordPositionList(0, 70000, positions), CFileException::generic);
  damaged(Lists::kNarrow, [&](auto&, const writer::ConcordLayout& layout, Bytes& bytes) {
    bytes[layout.words[0][2].lists[1]] = 2;
    EncodeU16(&bytes[layout.words[0][2].lists[1] + 1], 0xFFFE);
    EncodeU16(&bytes[layout.words[0][3].entry], 0x8000);
  });
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWordPositionList(2, 2, positions), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWord(3, word), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(m_book.GetKeysForWord(3, keys), CFileException::generic);
  for (Lists lists : kAllLists) {
    d = SmallConcordance(lists);
    d.languages[0].wordRecSize = lists == Lists::kCoded ? 15 : 17;
    ASSERT_EQ(Write(d), 0);
    EXPECT_ORVA_FILE_EXCEPTION(m_book.GetWord(0, word), CFileException::generic);
  }
  d = SmallConcordance(Lists::kNarrow);
  d.languageRecSize = 13;
  EXPECT_ORVA_FILE_EXCEPTION(Write(d), CFileException::generic);
}

TEST_F(ConcordTest, WordListsOfOneSharedLongWordStopAt8MiCharacters) {
  ASSERT_EQ(WriteBytes(writer::SharedWordConcordance(m_version, 1000, 32767)), 0);
  CArray<cLanguageString, cLanguageString&> words;
  EXPECT_EQ(RaisedWithinBounds([&] { m_book.GetWordlistAtKey(0, 1000, words); }), "1/-1/");
  EXPECT_EQ(words.GetSize(), 256);
}

TEST_F(ConcordTest, MembersNeedTheConcordanceOpen) {
  ASSERT_EQ(Write(SmallConcordance(Lists::kNarrow)), 0);
  cORVABookBase other;
  Point(other);
  ASSERT_EQ(other.Open(ORVA_SECTIONS), 0);
  cLanguageString word = Lang(u"cedar");
  CUIntArray keys;
  CWordArray positions;
  sWordListRec record{};
  CArray<cLanguageString, cLanguageString&> words;
  CArray<unsigned short, unsigned short&> languages;
  const auto notOpen = std::to_string(CFileException::generic) + "/-1/";
  const std::vector<std::function<void()>> guarded = {
      [&] { other.FindNearestMatchingWord(word, word); }, [&] { other.FindExactMatchingWord(word); },
      [&] { other.GetFirstWord(kEnglish, word); },        [&] { other.GetLastWord(kEnglish, word); },
      [&] { other.GetNextWord(word); },                   [&] { other.GetPrevWord(word); },
      [&] { other.GetKeysForWord(word, keys); },          [&] { other.GetKeysForWord(0, keys); },
      [&] { other.GetWordListRecord(word, record); },     [&] { other.GetWordListRecord(0, record); },
      [&] { other.GetWordPositionList(0, 1, positions); }};
  const std::vector<std::function<void()>> shared = {
      [&] { other.GetCurrentLanguage(); }, [&] { other.WordCount(kEnglish); },
      [&] { other.ListLanguages(languages); }, [&] { other.GetWord(0, word); },
      [&] { other.GetWordlistAtKey(0, 2, words); }};
  for (const auto& call : guarded) EXPECT_EQ(Raised(call), notOpen);
  // The others need only the store's concordance open, by any of its books.
  for (const auto& call : shared) EXPECT_EQ(Raised(call), "none");
  EXPECT_EQ(CharsOf(word), u"apple");
  m_book.Close(ORVA_ALL_OPEN);
  for (const auto& call : shared) EXPECT_EQ(Raised(call), notOpen);
  other.Close(ORVA_ALL_OPEN);
  for (const auto& call : shared) EXPECT_EQ(Raised(call), notOpen);
}

}  // namespace
}  // namespace orva::test
