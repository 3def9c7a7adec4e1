// StoreCStringArray / LoadCStringArray: the flattened form byte for byte, round
// trips, and what loading leaves in the array when the data is damaged.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "tests/test_support.h"
#include "writer/byte_writer.h"

namespace {

using orva::writer::ByteWriter;
using Bytes = std::vector<std::uint8_t>;

CStringArray Array(const std::vector<std::string>& items) {
  CStringArray a;
  for (const std::string& s : items) a.Add(CString(s.data(), static_cast<int>(s.size())));
  return a;
}

std::vector<std::string> Items(const CStringArray& a) {
  std::vector<std::string> items;
  for (int i = 0; i < a.GetSize(); ++i) items.emplace_back(static_cast<const char*>(a[i]), a[i].GetLength());
  return items;
}

Bytes Store(const CStringArray& strings) {
  cORVABookBase book;
  char* buffer = nullptr;
  const int length = book.StoreCStringArray(&buffer, strings);
  EXPECT_NE(buffer, nullptr);
  Bytes bytes(buffer, buffer + length);
  ::operator delete(buffer);
  return bytes;
}

// Loads from a copy of exactly the given bytes; the cause of a file exception, or -1.
int Load(Bytes bytes, CStringArray& strings) {
  cORVABookBase book;
  return orva::test::CatchFileException([&] { book.LoadCStringArray(reinterpret_cast<char*>(bytes.data()), strings); })
      .cause;
}

// The archive encoding of one string, written out independently of the library.
void Encode(ByteWriter& out, const std::string& s) {
  if (s.size() <= 254) {
    out.U8(static_cast<std::uint8_t>(s.size()));
  } else if (s.size() <= 0xFFFD) {
    out.U8(0xFF).U16(static_cast<std::uint16_t>(s.size()));
  } else {
    out.U8(0xFF).U16(0xFFFF).U32(static_cast<std::uint32_t>(s.size()));
  }
  out.Text(s);
}

Bytes Flattened(const std::vector<std::string>& items) {
  ByteWriter data;
  for (const std::string& s : items) Encode(data, s);
  ByteWriter out;
  out.U32(static_cast<std::uint32_t>(items.size())).U32(static_cast<std::uint32_t>(data.Size())).Bytes(data.Data());
  return out.Take();
}

void SetU32(Bytes& bytes, size_t offset, std::uint32_t value) {
  for (size_t i = 0; i < 4; ++i) bytes[offset + i] = static_cast<std::uint8_t>(value >> (8 * i));
}

TEST(StringArray, LengthFormsByteForByte) {
  const std::pair<size_t, Bytes> forms[] = {
      {0, {0x00}},
      {254, {0xFE}},
      {255, {0xFF, 0xFF, 0x00}},
      {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
      {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const auto& [length, head] : forms) {
    SCOPED_TRACE(length);
    std::string s(length, 'q');
    if (length) s.back() = 'z';
    const Bytes bytes = Store(Array({s}));
    ASSERT_EQ(bytes.size(), 8 + head.size() + length);
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 8 + static_cast<long>(head.size())), head);
    EXPECT_EQ(bytes, Flattened({s}));
  }
}

TEST(StringArray, MixedAndEmptyArrays) {
  const std::vector<std::string> items = {"", "a", std::string(300, 'x'), std::string("\0\xFF\0", 3), "tail"};
  EXPECT_EQ(Store(Array(items)), Flattened(items));
  // Beyond the 4096-byte archive buffer: strings that straddle and exceed it.
  const std::vector<std::string> large = {std::string(4000, 'a'), std::string(200, 'b'), std::string(9000, 'c'), "d"};
  EXPECT_EQ(Store(Array(large)), Flattened(large));
  EXPECT_EQ(Store(CStringArray()), (Bytes{0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(StringArray, RoundTripsSeededRandomArrays) {
  std::mt19937 random(20240611);
  const size_t boundaries[] = {0, 1, 254, 255, 256, 4095, 4096, 65533, 65534, 65535, 70000};
  for (int round = 0; round < 60; ++round) {
    std::vector<std::string> items(1 + random() % 12);
    for (std::string& s : items) {
      const size_t length = random() % 4 == 0 ? boundaries[random() % 11] : random() % 40;
      s.resize(length);
      for (char& c : s) {
        const unsigned pick = random() % 8;
        c = static_cast<char>(pick == 0 ? 0x00 : pick == 1 ? 0xFF : random());
      }
    }
    SCOPED_TRACE(round);
    const Bytes bytes = Store(Array(items));
    CStringArray loaded = Array({"stale", "stale", "stale", "stale", "stale", "stale", "stale"});
    ASSERT_EQ(Load(bytes, loaded), -1);
    EXPECT_EQ(Items(loaded), items);
  }
}

TEST(StringArray, LoadResizesOrLeavesTheArray) {
  CStringArray target = Array({"keep", "these"});
  EXPECT_EQ(Load(Store(CStringArray()), target), -1);
  EXPECT_EQ(Items(target), (std::vector<std::string>{"keep", "these"}));
  // A count of 0 wins over whatever data follows.
  Bytes zeroCount = Flattened({"x"});
  SetU32(zeroCount, 0, 0);
  EXPECT_EQ(Load(zeroCount, target), -1);
  EXPECT_EQ(Items(target), (std::vector<std::string>{"keep", "these"}));

  CStringArray five = Array({"1", "2", "3", "4", "5"});
  EXPECT_EQ(Load(Flattened({"a", "", "c"}), five), -1);
  EXPECT_EQ(Items(five), (std::vector<std::string>{"a", "", "c"}));

  // As many strings as data bytes: every one empty.
  CStringArray empties;
  EXPECT_EQ(Load(Flattened({"", "", "", ""}), empties), -1);
  EXPECT_EQ(Items(empties), (std::vector<std::string>(4, "")));
}

TEST(StringArray, TruncatedDataKeepsTheStringsReadSoFar) {
  const std::vector<std::string> items = {"alpha", std::string(300, 'b'), "", "c"};
  const Bytes full = Flattened(items);
  std::vector<size_t> ends;  // where each encoded string ends in the data
  size_t at = 0;
  for (const std::string& s : items) ends.push_back(at += (s.size() <= 254 ? 1 : 3) + s.size());
  for (size_t m = items.size(); m < ends.back(); ++m) {
    SCOPED_TRACE(m);
    Bytes cut(full.begin(), full.begin() + 8 + static_cast<long>(m));
    SetU32(cut, 4, static_cast<std::uint32_t>(m));
    CStringArray loaded;
    EXPECT_EQ(Load(cut, loaded), CFileException::endOfFile);
    ASSERT_EQ(loaded.GetSize(), 4);
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(Items(loaded)[i], ends[i] <= m ? items[i] : "");
  }
  // More strings announced than the data holds.
  Bytes more = Flattened({"abc"});
  SetU32(more, 0, 2);
  CStringArray loaded;
  EXPECT_EQ(Load(more, loaded), CFileException::endOfFile);
  EXPECT_EQ(Items(loaded), (std::vector<std::string>{"abc", ""}));
}

TEST(StringArray, ImpossibleCountsAreRefusedWithTheArrayUnchanged) {
  const std::vector<std::string> before = {"one", "two"};
  for (std::uint32_t count : {0xFFFFFFFFu, 0x80000000u, 5u}) {
    SCOPED_TRACE(count);
    Bytes bytes = Flattened({"", "", "", ""});
    SetU32(bytes, 0, count);
    CStringArray target = Array(before);
    EXPECT_EQ(Load(bytes, target), CFileException::generic);
    EXPECT_EQ(Items(target), before);
  }
}

}  // namespace
