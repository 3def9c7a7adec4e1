// Error codes and their messages, media availability, and the members that stand
// in for remote access.
#include <climits>
#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace {

using orva::test::SkeletonBookTest;
using orva::test::UseCount;

TEST(ErrorCodes, EveryCodeHasItsMessage) {
  const char* const kMessages[] = {
      "No errors occurred.",
      "An unspecified error occurred.",
      "The file could not be located.",
      "All or part of the path is invalid.",
      "The permitted number of open files was exceeded.",
      "The file could not be accessed.",
      "The was an attempt to use an invalid file handle.",
      "The current working directory cannot be removed.",
      "There are no more directory entries.",
      "There was an error trying to set the file pointer.",
      "There was a hardware error.",
      "SHARE.EXE was not loaded, or a shared region was locked.",
      "There was an attempt to lock a region that was already locked.",
      "The disk is full.",
      "The end of file was reached.",
      "Publisher ID and/or the Book ID mismatch error.",
      "Least Compatible ORVA Version error.",
      "The file was already open.",
      "Failed to load the book header area.",
      "The user selected CANCEL when prompt to insert a disk.",
  };
  cORVABookBase book;
  for (int code = 0; code < 20; ++code) {
    EXPECT_EQ(std::string(book.GetErrorString(code)), kMessages[code]) << "code " << code;
  }
  for (int code : {20, -1, 1000, INT_MIN}) {
    EXPECT_EQ(std::string(book.GetErrorString(code)), "File error occurred.") << "code " << code;
  }
}

TEST(ErrorCodes, FileExceptionCausesBecomeCodes) {
  cORVABookBase book;
  for (int cause = 2; cause <= 14; ++cause) EXPECT_EQ(book.ConvertCauseToErrorCode(cause), cause);
  for (int cause : {0, 1, 15, 16, 17, -1, -2, INT_MIN, INT_MAX}) {
    EXPECT_EQ(book.ConvertCauseToErrorCode(cause), 1) << "cause " << cause;
  }
}

TEST(FormatVersion, LibraryImplementsVersionTwoZero) {
  EXPECT_EQ(GetCurrentORVAVersionInfo(), 0x0200);
  EXPECT_EQ(GetLeastCompatibleORVAVersionInfo(), 0x0200);
}

using MediaTest = SkeletonBookTest;

TEST_F(MediaTest, OnlyAMediaPathMakesMediaAvailable) {
  cORVABookBase book;
  book.SetMediaPath("C:\\Media\\");
  CString path = "before";
  EXPECT_EQ(book.IsMediaAvailable("x", path), 1);
  EXPECT_EQ(path, "C:\\Media\\x");
  EXPECT_TRUE(book.IsClosed());
  EXPECT_EQ(book.RemoteFlags(), 0u);

  Point(book);
  EXPECT_EQ(book.IsMediaAvailable("clip.wav", path), 1);
  EXPECT_EQ(std::string(path), m_dir.FilePath("clip.wav"));
  EXPECT_FALSE(std::filesystem::exists(m_dir.FilePath("clip.wav")));
  EXPECT_TRUE(book.IsClosed());
  EXPECT_EQ(StoresAdded(), 0) << "the media counter's store is gone after the call";

  book.SetMediaPath("");
  path = "unchanged";
  EXPECT_EQ(book.IsMediaAvailable("x", path), 0);
  EXPECT_EQ(path, "unchanged");
  EXPECT_TRUE(book.IsClosed());
  EXPECT_EQ(StoresAdded(), 0);
}

TEST_F(MediaTest, CallLeavesTheOpenSetAsItFoundIt) {
  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  CString path;
  EXPECT_EQ(book.IsMediaAvailable("a.mp3", path), 1);
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(book.RemoteFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(UseCount(book, ORVA_TEXT), 1);
  EXPECT_EQ(UseCount(book, ORVA_SECTIONS), 1);
  EXPECT_EQ(UseCount(book, ORVA_MEDIA), 0);
  EXPECT_EQ(StoresAdded(), 1);

  // A closed book joins the store of another book with the same key for the call.
  cORVABookBase sharer;
  Point(sharer);
  EXPECT_EQ(sharer.IsMediaAvailable("a.mp3", path), 1);
  EXPECT_TRUE(sharer.IsClosed());
  EXPECT_EQ(StoresAdded(), 1);
  EXPECT_EQ(UseCount(book, ORVA_MEDIA), 0);

  // With the media bit already open the call answers 0 and the bit stays open.
  ASSERT_EQ(book.Open(ORVA_MEDIA), 0);
  path = "unchanged";
  EXPECT_EQ(book.IsMediaAvailable("a.mp3", path), 0);
  EXPECT_EQ(path, "unchanged");
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS | ORVA_MEDIA);
  EXPECT_EQ(UseCount(book, ORVA_MEDIA), 1);
}

TEST_F(MediaTest, RemoteAccessIsNeverAvailable) {
  cORVABookBase book;
  Point(book);
  const std::string target = m_dir.FilePath("copied.bin");
  EXPECT_EQ(book.IsBookRemote(), 0);
  EXPECT_EQ(book.CopyRemoteFile(target.c_str(), "book.dat", 1), 1);

  book.SetServerIP("192.168.1.20");
  book.SetPort(8080);
  EXPECT_EQ(book.IsBookRemote(), 0);
  EXPECT_EQ(book.CopyRemoteFile(target.c_str(), "book.dat", 1), 1);
  EXPECT_EQ(book.CopyRemoteFile(target.c_str(), "book.dat", 0), 1);
  EXPECT_FALSE(std::filesystem::exists(target)) << "nothing is copied";
  EXPECT_TRUE(book.IsClosed());
}

}  // namespace
