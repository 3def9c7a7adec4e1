// Sharing of open files between book objects that name the same book, the order
// in which a store opens its files, and what an exception during an open leaves.
#include <fstream>
#include <string>
#include <vector>

#include "tests/test_support.h"

namespace {

using orva::test::FindStore;
using orva::test::HookBook;
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

TEST_F(BookStoreTest, FilesOpenInTheFixedOrder) {
  // Two files of another book: only the first of them in the open order is checked,
  // and the viewable index comes before the sections index.
  Replace("sections.idx", VersionWith([](VersionFields& v) { v.bookID = 98; }));
  Replace("viewable.idx", VersionWith([](VersionFields& v) { v.bookID = 99; }));
  HookBook book("7", "42");
  Point(book);
  EXPECT_EQ(book.Open(ORVA_SECTIONS | ORVA_VIEWABLE | ORVA_TEXT), ORVA_ERR_ID_MISMATCH);
  EXPECT_EQ(book.calls, std::vector<std::string>{"ids " + m_dir.FilePath("viewable.idx") + " 7 42 7 99"});
  EXPECT_EQ(StoresAdded(), 0);

  // The media counter comes before the sync files: an exception at the sync file
  // finds the media use taken, and the call keeps it (no rollback for exceptions).
  cORVABookBase holder, failing;
  Point(holder);
  Point(failing);
  ASSERT_EQ(holder.Open(ORVA_TEXT), 0);
  Replace("wsync.idx", {0x40});
  EXPECT_ORVA_FILE_EXCEPTION(failing.Open(ORVA_WSYNC | ORVA_MEDIA), CFileException::endOfFile);
  EXPECT_TRUE(failing.IsClosed() && failing.RemoteFlags() == 0);
  EXPECT_EQ(UseCount(holder, ORVA_MEDIA), 1);
  EXPECT_EQ(UseCount(holder, ORVA_WSYNC), 0);
  FindStore(holder)->CloseFiles(ORVA_MEDIA);  // the use nothing else gives back
  holder.Close(ORVA_ALL_OPEN);
}

// True when some file of `folder` is mapped into this process.
bool AnyFileMapped(const std::string& folder) {
  std::ifstream maps("/proc/self/maps");
  for (std::string line; std::getline(maps, line);) {
    if (line.find(folder) != std::string::npos) return true;
  }
  return false;
}

TEST_F(BookStoreTest, ExceptionDuringOpen) {
  const DWORD request = ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS;
  Replace("sections.idx", {0x12});  // shorter than its version record

  // A store created by the call goes, with the files it opened before the failure.
  cORVABookBase book;
  Point(book);
  EXPECT_ORVA_FILE_EXCEPTION(book.Open(request), CFileException::endOfFile);
  EXPECT_TRUE(book.IsClosed() && book.RemoteFlags() == 0);
  EXPECT_EQ(StoresAdded(), 0);
  EXPECT_FALSE(AnyFileMapped(m_dir.Path())) << "book.dat and viewable.idx must be released";

  // In a shared store the uses taken before the failure stay; the flags of both
  // book objects are unchanged, also when the failing one held bits already.
  cORVABookBase holder;
  Point(holder);
  ASSERT_EQ(holder.Open(ORVA_VIEWABLE | ORVA_CONCORD), 0);
  ASSERT_EQ(book.Open(ORVA_CONCORD), 0);
  EXPECT_ORVA_FILE_EXCEPTION(book.Open(request), CFileException::endOfFile);
  EXPECT_EQ(book.OpenFlags(), ORVA_CONCORD);
  EXPECT_EQ(book.RemoteFlags(), ORVA_CONCORD);
  EXPECT_EQ(holder.OpenFlags(), ORVA_VIEWABLE | ORVA_CONCORD);
  EXPECT_EQ(UseCount(holder, ORVA_TEXT), 1);
  EXPECT_EQ(UseCount(holder, ORVA_VIEWABLE), 2);
  EXPECT_EQ(UseCount(holder, ORVA_SECTIONS), 0);
  EXPECT_EQ(StoresAdded(), 1);

  FindStore(holder)->CloseFiles(ORVA_TEXT | ORVA_VIEWABLE);
  book.Close(ORVA_ALL_OPEN);
  holder.Close(ORVA_ALL_OPEN);
  EXPECT_FALSE(AnyFileMapped(m_dir.Path()));
}

}  // namespace
