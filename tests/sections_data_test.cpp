// Section records and arrays of them, flattened and rebuilt, against the byte
// layouts of the record and array formats written out by hand.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "orvada.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using SectionArray = CArray<cSectionsData, cSectionsData&>;

Bytes Stored(const cSectionsData& record) {
  char* buffer = nullptr;
  const int size = record.Store(&buffer);
  Bytes bytes(buffer, buffer + size);
  ::operator delete(buffer);
  return bytes;
}

Bytes StoredArray(SectionArray& records) {
  char* buffer = nullptr;
  cORVABookBase book;
  const int size = book.StoreSectionsArray(&buffer, records);
  Bytes bytes(buffer, buffer + size);
  ::operator delete(buffer);
  return bytes;
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
  EXPECT_EQ(intro.GetName(), "Intro");
  EXPECT_EQ(intro.GetLevel(), 2);
  EXPECT_EQ(intro.GetBookKey(), 1);
  EXPECT_EQ(intro.GetLevelCount(), 3);
  EXPECT_EQ(intro.GetSectionKey(), 4);
  EXPECT_EQ(intro.GetParentKey(), 5);
  EXPECT_EQ(intro.GetChildKey(), -1);
  EXPECT_EQ(intro.GetNextKey(), 6);
  EXPECT_EQ(intro.GetPrevKey(), 7);
  SYNC_DATA sync{};
  intro.GetSyncData(&sync);
  EXPECT_EQ(+sync.words.dwValue, 0x11223344u);
  EXPECT_EQ(+sync.words.wValue, 0x5566u);
  EXPECT_EQ(Stored(intro), kIntro) << "Store after Load gives the same bytes back";

  // Copies carry the sync data along.
  cSectionsData copy(intro), assigned;
  assigned = copy;
  EXPECT_EQ(Stored(assigned), kIntro);
}

TEST(SectionsDataTest, NameIsCutAtAZeroByteAndTheFieldsAfterItStayInPlace) {
  Bytes bytes = kIntro;
  bytes[36 + 2] = 0;  // "In\0ro"
  cSectionsData record;
  record.SetName("something longer");
  record.Load(reinterpret_cast<const char*>(bytes.data()));
  EXPECT_EQ(std::string(record.GetName(), static_cast<size_t>(record.GetName().GetLength())), "In");
  SYNC_DATA sync{};
  record.GetSyncData(&sync);
  EXPECT_EQ(+sync.words.dwValue, 0x11223344u);
  EXPECT_EQ(+sync.words.wValue, 0x5566u);
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

}  // namespace
