// Sharing of open files between book objects that name the same book.
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using orva::test::FindStore;
using orva::test::MessageBoxCapture;
using orva::test::SkeletonBookTest;
using orva::test::UseCount;
using orva::writer::EncodeVersionRecord;
using orva::writer::VersionFields;

// The first `count` bytes of a file object, read through its open file.
std::vector<std::uint8_t> ReadHead(cFileBase& file, UINT count) {
  std::vector<std::uint8_t> bytes(count);
  file.Seek(0, CFile::begin);
  file.Read(bytes.data(), count);
  return bytes;
}

using BookStoreTest = SkeletonBookTest;

TEST_F(BookStoreTest, BooksWithTheSameKeyShareOneStore) {
  cORVABookBase first;
  cORVABookBase second;
  Point(first);
  Point(second);
  ASSERT_EQ(first.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  ASSERT_EQ(second.Open(ORVA_SECTIONS | ORVA_CONCORD), 0);
  EXPECT_EQ(StoresAdded(), 1);
  cBookStore* store = FindStore(first);
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->GetRefCount(ORVA_SECTIONS), 2);
  EXPECT_EQ(store->GetRefCount(ORVA_TEXT), 1);
  EXPECT_EQ(store->GetRefCount(ORVA_CONCORD), 1);

  first.Close(ORVA_ALL_OPEN);
  EXPECT_EQ(StoresAdded(), 1);
  EXPECT_EQ(store->GetRefCount(ORVA_SECTIONS), 1);
  EXPECT_EQ(store->GetRefCount(ORVA_TEXT), 0);
  EXPECT_EQ(second.OpenFlags(), ORVA_SECTIONS | ORVA_CONCORD);
  EXPECT_EQ(ReadHead(store->m_SectionsFile, 18), EncodeVersionRecord(m_version)) << "still readable";
  EXPECT_EQ(second.GetCurrentLanguage(), 1033);

  second.Close(ORVA_SECTIONS | ORVA_CONCORD);
  EXPECT_EQ(StoresAdded(), 0);
}

TEST_F(BookStoreTest, KeysDifferingInCaseGetTwoStores) {
  cORVABookBase lower;
  cORVABookBase upper;
  Point(lower);
  Point(upper);
  lower.SetEdition("kjv");
  upper.SetEdition("KJV");
  ASSERT_EQ(lower.Open(ORVA_SECTIONS), 0);
  ASSERT_EQ(upper.Open(ORVA_SECTIONS), 0);
  EXPECT_EQ(StoresAdded(), 2);
  EXPECT_EQ(UseCount(lower, ORVA_SECTIONS), 1);
  EXPECT_EQ(UseCount(upper, ORVA_SECTIONS), 1);
}

TEST_F(BookStoreTest, FirstOpenerDecidesThePath) {
  orva::writer::TempBookDir otherDir;
  VersionFields marked = m_version;
  marked.reserved1[0] = 0x99;
  otherDir.WriteFile("sections.idx", EncodeVersionRecord(marked));

  cORVABookBase first;
  Point(first);
  ASSERT_EQ(first.Open(ORVA_TEXT | ORVA_SECTIONS), 0);

  cORVABookBase second;
  Point(second);
  second.SetTextPath("/no/such/directory/");
  second.SetSectionsPath(otherDir.Path().c_str());
  EXPECT_EQ(second.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  EXPECT_EQ(UseCount(first, ORVA_TEXT), 2);
  sVersionRecord record{};
  EXPECT_EQ(second.GetIdxVersionRecord(&record), 0);
  EXPECT_EQ(record.reserved1[0], 0) << "read from the first book's directory";
}

TEST_F(BookStoreTest, LastCloseEndsTheStoreAndTheNextOpenChecksAgain) {
  MessageBoxCapture boxes;
  cORVABookBase first;
  cORVABookBase second;
  Point(first);
  Point(second);
  ASSERT_EQ(first.Open(ORVA_SECTIONS), 0);

  VersionFields otherBook = m_version;
  otherBook.bookID = 99;
  Replace("sections.idx", EncodeVersionRecord(otherBook));
  EXPECT_EQ(second.Open(ORVA_SECTIONS), 0) << "an open file is shared without a new check";
  EXPECT_TRUE(boxes.Shown().empty());

  first.Close(ORVA_SECTIONS);
  EXPECT_EQ(StoresAdded(), 1);
  second.Close(ORVA_SECTIONS);
  EXPECT_EQ(StoresAdded(), 0);

  EXPECT_EQ(first.Open(ORVA_SECTIONS), ORVA_ERR_ID_MISMATCH);
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(first.IsClosed());
  EXPECT_EQ(StoresAdded(), 0);

  Replace("sections.idx", EncodeVersionRecord(m_version));
  EXPECT_EQ(first.Open(ORVA_SECTIONS), 0);
  EXPECT_EQ(StoresAdded(), 1);
}

TEST_F(BookStoreTest, MediaBitAloneMakesAStoreOfTheMediaCounter) {
  cORVABookBase first;
  cORVABookBase second;
  Point(first);
  Point(second);
  ASSERT_EQ(first.Open(ORVA_MEDIA), 0);
  EXPECT_EQ(StoresAdded(), 1);
  cBookStore* store = FindStore(first);
  ASSERT_NE(store, nullptr);
  EXPECT_EQ(store->GetRefCount(ORVA_MEDIA), 1);
  for (DWORD bit = ORVA_TEXT; bit <= ORVA_DSYNC; bit <<= 1) EXPECT_EQ(store->GetRefCount(bit), 0) << bit;

  ASSERT_EQ(second.Open(ORVA_MEDIA), 0);
  EXPECT_EQ(store->GetRefCount(ORVA_MEDIA), 2);
  first.Close(ORVA_MEDIA);
  EXPECT_EQ(store->GetRefCount(ORVA_MEDIA), 1);
  second.Close(ORVA_MEDIA);
  EXPECT_EQ(StoresAdded(), 0);
  EXPECT_EQ(UseCount(first, ORVA_MEDIA), 0);
  EXPECT_EQ(StoresAdded(), 0) << "looking for a store creates none";
}

}  // namespace
