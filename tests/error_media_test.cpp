// Error codes and their messages, the format version, media availability, and the
// members that stand in for remote access.
#include <climits>
#include <filesystem>
#include <string>

#include "tests/test_support.h"

namespace {

using orva::test::UseCount;

TEST(ErrorCodes, MessagesCausesAndFormatVersion) {
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
  for (int code = 0; code < 20; ++code) EXPECT_EQ(std::string(book.GetErrorString(code)), kMessages[code]) << code;
  for (int code : {20, -1, INT_MIN}) EXPECT_EQ(std::string(book.GetErrorString(code)), "File error occurred.") << code;

  for (int cause = 2; cause <= 14; ++cause) EXPECT_EQ(book.ConvertCauseToErrorCode(cause), cause);
  for (int cause : {0, 1, 15, -1, INT_MIN, INT_MAX}) EXPECT_EQ(book.ConvertCauseToErrorCode(cause), 1) << cause;

  EXPECT_EQ(GetCurrentORVAVersionInfo(), 0x0200);
  EXPECT_EQ(GetLeastCompatibleORVAVersionInfo(), 0x0200);
}

using MediaTest = orva::test::SkeletonBookTest;

TEST_F(MediaTest, OnlyAMediaPathMakesMediaAvailableAndTheOpenSetStaysAsItWas) {
  cORVABookBase book, sharer;
  Point(book);
  Point(sharer);
  sharer.SetMediaPath("C:\\Media\\");
  CString path = "before";
  EXPECT_EQ(sharer.IsMediaAvailable("x", path), 1);
  EXPECT_EQ(path, "C:\\Media\\x");
  EXPECT_EQ(StoresAdded(), 0) << "the media counter's store is gone after the call";

  // A book with other files open keeps them; a closed book joins its store for the call.
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  EXPECT_EQ(book.IsMediaAvailable("a.mp3", path), 1);
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(book.RemoteFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(sharer.IsMediaAvailable("a.mp3", path), 1);
  EXPECT_TRUE(sharer.IsClosed());
  EXPECT_EQ(StoresAdded(), 1);
  EXPECT_EQ(UseCount(book, ORVA_TEXT) + UseCount(book, ORVA_SECTIONS), 2);
  EXPECT_EQ(UseCount(book, ORVA_MEDIA), 0);

  // With the media bit already open the call answers 0 and the bit stays open.
  ASSERT_EQ(book.Open(ORVA_MEDIA), 0);
  path = "unchanged";
  EXPECT_EQ(book.IsMediaAvailable("a.mp3", path), 0);
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS | ORVA_MEDIA);
  EXPECT_EQ(UseCount(book, ORVA_MEDIA), 1);
  book.Close(ORVA_ALL_OPEN);

  // Without a media path nothing is available, whatever the server settings.
  book.SetMediaPath("");
  book.SetServerIP("192.168.1.20");
  book.SetPort(8080);
  EXPECT_EQ(book.IsMediaAvailable("x", path), 0);
  EXPECT_EQ(path, "unchanged");
  EXPECT_TRUE(book.IsClosed());
  const std::string target = m_dir.FilePath("copied.bin");
  EXPECT_EQ(book.IsBookRemote(), 0);
  EXPECT_EQ(book.CopyRemoteFile(target.c_str(), "book.dat", 1), 1);
  EXPECT_FALSE(std::filesystem::exists(target)) << "nothing is copied";
}

}  // namespace
