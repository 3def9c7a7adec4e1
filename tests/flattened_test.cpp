// What the book object flattens into buffers of its own and rebuilds from them:
// section records and arrays of them, and string arrays, against their byte
// layouts written out by hand; round trips; what loading leaves in the array
// when the data is damaged.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "files/endian.h"
#include "tests/test_support.h"
#include "writer/byte_writer.h"

namespace {

using orva::writer::ByteWriter;
using Bytes = std::vector<std::uint8_t>;
using SectionArray = CArray<cSectionsData, cSectionsData&>;
using Strings = std::vector<std::string>;

// The bytes that `store` wrote into the buffer it allocated, which is given back.
template <class F>
Bytes Flat(F&& store) {
  char* buffer = nullptr;
  const int length = store(&buffer);
  Bytes bytes(buffer, buffer + length);
  ::operator delete(buffer);
  return bytes;
}
Bytes Stored(const cSectionsData& record) { return Flat([&](char** b) { return record.Store(b); }); }
Bytes StoredArray(SectionArray& records) {
  return Flat([&](char** b) { return cORVABookBase().StoreSectionsArray(b, records); });
}
Bytes Stored(const CStringArray& strings) {
  return Flat([&](char** b) { return cORVABookBase().StoreCStringArray(b, strings); });
}

CStringArray Array(const Strings& items) {
  CStringArray a;
  for (const std::string& s : items) a.Add(CString(s.data(), static_cast<int>(s.size())));
  return a;
}

Strings Items(const CStringArray& a) {
  Strings items;
  for (int i = 0; i < a.GetSize(); ++i) items.emplace_back(static_cast<const char*>(a[i]), a[i].GetLength());
  return items;
}

// Level 2, book 1, level count 3, keys 4 (section) 5 (parent) -1 (child) 6 (next)
// 7 (prev), the name "Intro", sync data 0x11223344 and 0x5566.
const Bytes kIntro = {2, 0, 0, 0,    1, 0, 0, 0,    3, 0, 0, 0,    4, 0, 0, 0,    5, 0, 0, 0,
                      0xFF, 0xFF, 0xFF, 0xFF,       6, 0, 0, 0,    7, 0, 0, 0,    5, 0, 0, 0,
                      'I', 'n', 't', 'r', 'o',      0x44, 0x33, 0x22, 0x11, 0x66, 0x55};

TEST(SectionsDataTest, RecordFlattensToTheDocumentedBytes) {
  const Bytes defaults = {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF,
                          0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                          0xFF, 0xFF, 0xFF, 0xFF, 0,    0,    0,    0,    0,    0,    0,    0,    0,    0};
  EXPECT_EQ(Stored(cSectionsData()), defaults);

  ASSERT_EQ(kIntro.size(), 47u);
  cSectionsData intro;
  intro.Load(reinterpret_cast<const char*>(kIntro.data()));
  EXPECT_EQ(orva::test::FieldsOf(intro), "Intro 2 1 3 | 4 5 -1 6 7");
  EXPECT_EQ(orva::test::SyncOf(intro), orva::test::Sync(0x11223344, 0x5566));
  EXPECT_EQ(Stored(intro), kIntro) << "Store after Load gives the same bytes back";

  // Copies carry the sync data along.
  cSectionsData copy(intro), assigned;
  assigned = copy;
  EXPECT_EQ(Stored(assigned), kIntro);

  // A name is cut at a zero byte; the fields after it stay in place.
  Bytes bytes = kIntro;
  bytes[36 + 2] = 0;  // "In\0ro"
  cSectionsData record;
  record.SetName("something longer");
  record.Load(reinterpret_cast<const char*>(bytes.data()));
  EXPECT_EQ(std::string(record.GetName(), static_cast<size_t>(record.GetName().GetLength())), "In");
  EXPECT_EQ(orva::test::SyncOf(record), orva::test::Sync(0x11223344, 0x5566));
}

TEST(SectionsDataTest, ArraysFlattenAndResizeTheTarget) {
  SectionArray empty;
  EXPECT_EQ(StoredArray(empty), (Bytes{0, 0, 0, 0}));

  cSectionsData intro, plain;
  intro.Load(reinterpret_cast<const char*>(kIntro.data()));
  plain.SetSectionKey(9);
  SectionArray two;
  two.Add(intro);
  two.Add(plain);
  Bytes expected = {2, 0, 0, 0, 47, 0, 0, 0};
  expected.insert(expected.end(), kIntro.begin(), kIntro.end());
  const Bytes plainBytes = Stored(plain);
  expected.insert(expected.end(), {42, 0, 0, 0});
  expected.insert(expected.end(), plainBytes.begin(), plainBytes.end());
  Bytes flat = StoredArray(two);
  ASSERT_EQ(flat, expected);

  cORVABookBase book;
  for (int before : {0, 5}) {
    SectionArray target;
    target.SetSize(before);
    book.LoadSectionsArray(reinterpret_cast<char*>(flat.data()), target);
    ASSERT_EQ(target.GetSize(), 2) << before;
    EXPECT_EQ(Stored(target[0]), kIntro);
    EXPECT_EQ(Stored(target[1]), plainBytes);
  }

  Bytes none = {0, 0, 0, 0};
  SectionArray three;
  three.SetSize(3);
  book.LoadSectionsArray(reinterpret_cast<char*>(none.data()), three);
  EXPECT_EQ(three.GetSize(), 0);
}

// Loads from a copy of exactly the given bytes; what that raised.
std::string Load(Bytes bytes, CStringArray& strings) {
  return orva::test::Raised([&] { cORVABookBase().LoadCStringArray(reinterpret_cast<char*>(bytes.data()), strings); });
}

// The flattened form, written out independently of the library.
Bytes Flattened(const Strings& items) {
  ByteWriter data;
  for (const std::string& s : items) {
    if (s.size() <= 254) data.U8(static_cast<std::uint8_t>(s.size()));
    else if (s.size() <= 0xFFFD) data.U8(0xFF).U16(static_cast<std::uint16_t>(s.size()));
    else data.U8(0xFF).U16(0xFFFF).U32(static_cast<std::uint32_t>(s.size()));
    data.Text(s);
  }
  ByteWriter out;
  out.U32(static_cast<std::uint32_t>(items.size())).U32(static_cast<std::uint32_t>(data.Size())).Bytes(data.Data());
  return out.Take();
}

// `bytes` with the u32 at `offset` (0: the count, 4: the data length) set to `value`.
Bytes Patched(Bytes bytes, size_t offset, std::uint32_t value) {
  orva::EncodeU32(&bytes[offset], value);
  return bytes;
}

TEST(StringArray, LengthFormsByteForByte) {
  const std::pair<size_t, Bytes> forms[] = {
      {0, {0x00}}, {254, {0xFE}}, {255, {0xFF, 0xFF, 0x00}}, {65533, {0xFF, 0xFD, 0xFF}},
      {65534, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}}, {70000, {0xFF, 0xFF, 0xFF, 0x70, 0x11, 0x01, 0x00}},
  };
  for (const auto& [length, head] : forms) {
    SCOPED_TRACE(length);
    std::string s(length, 'q');
    if (length) s.back() = 'z';
    const Bytes bytes = Stored(Array({s}));
    ASSERT_EQ(bytes.size(), 8 + head.size() + length);
    EXPECT_EQ(Bytes(bytes.begin() + 8, bytes.begin() + 8 + static_cast<long>(head.size())), head);
    EXPECT_EQ(bytes, Flattened({s}));
  }
  EXPECT_EQ(Stored(CStringArray()), Bytes(8, 0));
}

TEST(StringArray, MixedArraysRoundTrip) {
  const Strings arrays[] = {
      {"", "a", std::string(300, 'x'), std::string("\0\xFF\0", 3), std::string(65533, '\xFF'), "tail"},
      // Beyond the 4096-byte archive buffer: strings that straddle and exceed it.
      {std::string(4000, 'a'), std::string(200, 'b'), std::string(9000, 'c'), "d", std::string(65534, '\0')},
  };
  // Several megabytes: 40,000 strings of every short length, and one of 1 MiB.
  Strings large;
  for (int i = 0; i < 40000; ++i) large.emplace_back(static_cast<size_t>(i * 7919 % 256), static_cast<char>('a' + i % 26));
  large.emplace_back(1 << 20, 'z');
  for (const Strings& items : {arrays[0], arrays[1], large}) {
    const Bytes bytes = Stored(Array(items));
    EXPECT_EQ(bytes, Flattened(items));
    CStringArray loaded = Array(Strings(7, "stale"));
    ASSERT_EQ(Load(bytes, loaded), "none");
    EXPECT_EQ(Items(loaded), items);
  }
}

TEST(StringArray, LoadResizesOrLeavesTheArray) {
  // A count of 0 leaves the array alone, whatever data follows.
  CStringArray target = Array({"keep", "these"});
  EXPECT_EQ(Load(Stored(CStringArray()), target), "none");
  EXPECT_EQ(Load(Patched(Flattened({"x"}), 0, 0), target), "none");
  EXPECT_EQ(Items(target), (Strings{"keep", "these"}));

  CStringArray five = Array({"1", "2", "3", "4", "5"});
  EXPECT_EQ(Load(Flattened({"a", "", "c"}), five), "none");
  EXPECT_EQ(Items(five), (Strings{"a", "", "c"}));

  // Impossible counts, negative or above the data length, are refused with the array unchanged.
  for (const auto& [count, raised] : {std::pair{0xFFFFFFFFu, "1/-1/"}, {0x80000000u, "1/-1/"}, {5u, "14/-1/"}}) {
    EXPECT_EQ(Load(Patched(Flattened({"", "", "", ""}), 0, count), five), raised) << count;
    EXPECT_EQ(Items(five), (Strings{"a", "", "c"}));
  }
}

TEST(StringArray, TruncatedDataKeepsTheStringsReadSoFar) {
  const Strings items = {"alpha", std::string(300, 'b'), "", "c"};
  const size_t ends[] = {6, 309, 310, 312};  // where each encoded string ends in the data
  const Bytes full = Flattened(items);
  for (size_t m = items.size(); m < ends[3]; ++m) {
    SCOPED_TRACE(m);
    CStringArray loaded;  // strings it held before must not survive a failed load
    for (const char* old : {"v", "w", "x", "y", "z"}) loaded.Add(old);
    const Bytes cut(full.begin(), full.begin() + 8 + static_cast<long>(m));
    EXPECT_EQ(Load(Patched(cut, 4, static_cast<std::uint32_t>(m)), loaded), "14/-1/");
    ASSERT_EQ(loaded.GetSize(), 4);
    for (size_t i = 0; i < items.size(); ++i) EXPECT_EQ(Items(loaded)[i], ends[i] <= m ? items[i] : "");
  }
  // More strings announced than the data holds.
  CStringArray loaded;
  EXPECT_EQ(Load(Patched(Flattened({"abc"}), 0, 2), loaded), "14/-1/");
  EXPECT_EQ(Items(loaded), (Strings{"abc", ""}));
}

}  // namespace
