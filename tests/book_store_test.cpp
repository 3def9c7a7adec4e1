// Sharing of open files between book objects that name the same book.
#include "tests/test_support.h"

namespace {

using orva::test::FindStore;
using orva::test::MessageBoxCapture;
using orva::test::UseCount;
using orva::writer::VersionFields;
using BookStoreTest = orva::test::SkeletonBookTest;

TEST_F(BookStoreTest, BooksWithTheSameKeyShareOneStoreUntilTheLastClose) {
  MessageBoxCapture boxes;
  cORVABookBase first, second;
  Point(first);
  Point(second);
  ASSERT_EQ(first.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  Replace("sections.idx", VersionWith([](VersionFields& v) { v.bookID = 99; }));
  ASSERT_EQ(second.Open(ORVA_SECTIONS | ORVA_CONCORD), 0) << "an open file is shared without a new check";
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
  EXPECT_EQ(store->m_SectionsFile.GetRecordSize(0), 18) << "still readable";
  EXPECT_EQ(second.GetCurrentLanguage(), 1033);
  second.Close(ORVA_SECTIONS | ORVA_CONCORD);
  EXPECT_EQ(StoresAdded(), 0);

  EXPECT_TRUE(boxes.Shown().empty());
  EXPECT_EQ(first.Open(ORVA_SECTIONS), ORVA_ERR_ID_MISMATCH) << "a new store checks the file again";
  EXPECT_EQ(boxes.Shown().size(), 1u);
  EXPECT_TRUE(first.IsClosed());
}

TEST_F(BookStoreTest, KeysDifferingInCaseGetTwoStores) {
  cORVABookBase lower, upper;
  Point(lower);
  Point(upper);
  lower.SetEdition("kjv");
  upper.SetEdition("KJV");
  ASSERT_EQ(lower.Open(ORVA_SECTIONS), 0);
  ASSERT_EQ(upper.Open(ORVA_SECTIONS), 0);
  EXPECT_EQ(StoresAdded(), 2);
  EXPECT_EQ(UseCount(lower, ORVA_SECTIONS), 1);
  EXPECT_EQ(UseCount(upper, ORVA_SECTIONS), 1);

  // Closing the older store takes only its own entry out of the list.
  lower.Close(ORVA_SECTIONS);
  EXPECT_EQ(StoresAdded(), 1);
  EXPECT_EQ(FindStore(lower), nullptr);
  EXPECT_EQ(UseCount(upper, ORVA_SECTIONS), 1);
}

TEST_F(BookStoreTest, FirstOpenerDecidesThePath) {
  orva::writer::TempBookDir otherDir;
  otherDir.WriteFile("sections.idx", VersionWith([](VersionFields& v) { v.reserved1[0] = 0x99; }));

  cORVABookBase first, second;
  Point(first);
  Point(second);
  ASSERT_EQ(first.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  second.SetTextPath("/no/such/directory/");
  second.SetSectionsPath(otherDir.Path().c_str());
  EXPECT_EQ(second.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  EXPECT_EQ(UseCount(first, ORVA_TEXT), 2);
  sVersionRecord record{};
  EXPECT_EQ(second.GetIdxVersionRecord(&record), 0);
  EXPECT_EQ(record.reserved1[0], 0) << "read from the first book's directory";
}

TEST_F(BookStoreTest, MediaBitAloneMakesAStoreOfTheMediaCounter) {
  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_MEDIA), 0);
  EXPECT_EQ(StoresAdded(), 1);
  for (DWORD bit = ORVA_TEXT; bit <= ORVA_MEDIA; bit <<= 1) EXPECT_EQ(UseCount(book, bit), bit == ORVA_MEDIA ? 1 : 0);
  book.Close(ORVA_MEDIA);
  EXPECT_EQ(StoresAdded(), 0);
}

}  // namespace
