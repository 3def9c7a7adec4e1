// Coded lists: the parameter, literal bit streams, where a list starts and ends in
// the file, and round trips through the writer's encoder.
#include <gtest/gtest.h>

#include <random>

#include "concordance/coded_list.h"
#include "test_support.h"
#include "writer/golomb_writer.h"

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

}  // namespace
}  // namespace orva::test
