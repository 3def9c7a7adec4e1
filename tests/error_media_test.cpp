// Error codes and their messages, the format version, media availability, and the
// members that stand in for remote access.
#include <climits>
#include <filesystem>
#include <string>
#include <utility>

#include "tests/test_support.h"

namespace {

using orva::test::UseCount;

TEST(ErrorCodes, MessagesCausesAndFormatVersion) {
  // Messages from both ends of the table (the end-to-end and host tests see those
  // of 0, 2 and 14), and the one of every other code.
  const std::pair<int, const char*> kMessages[] = {
      {1, "An unspecified error occurred."},    {13, "The disk is full."},
      {15, "Publisher ID and/or the Book ID mismatch error."},
      {19, "The user selected CANCEL when prompt to insert a disk."},
      {20, "File error occurred."},             {-1, "File error occurred."},
      {INT_MIN, "File error occurred."}};
  cORVABookBase book;
  for (const auto& [code, text] : kMessages) EXPECT_EQ(std::string(book.GetErrorString(code)), text) << code;

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
