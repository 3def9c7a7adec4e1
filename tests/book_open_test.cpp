// The book object's open protocol: flag bits, hooks, error codes and their
// messages, rollback, sync-bit masking, closing and copying; sharing of open files
// between book objects that name the same book in one store, the order in which a
// store opens its files, and what an exception during an open leaves; media
// availability.
#include <climits>
#include <cstring>
#include <fstream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

namespace {

using orva::test::BytesOf;
using orva::test::FindStore;
using orva::test::HookBook;
using orva::test::MessageBoxCapture;
using orva::test::UseCount;
using orva::writer::VersionFields;
using Bytes = std::vector<std::uint8_t>;
using BookOpenTest = orva::test::SkeletonBookTest;
using BookStoreTest = orva::test::SkeletonBookTest;
using MediaTest = orva::test::SkeletonBookTest;

TEST_F(BookOpenTest, HooksSeeEveryRequestAndPreOpenFilesCanStopIt) {
  HookBook book;
  Point(book);
  book.SetTextPath("");
  EXPECT_EQ(book.IsOpen(0), 1);
  EXPECT_EQ(book.Open(0), 0);

  // The hooks see the request without foreign sync bits, but with bits above 0x200
  // and bits without a path, which are dropped silently.
  EXPECT_EQ(book.Open(0x400 | ORVA_TEXT | ORVA_VIEWABLE | ORVA_WSYNC | ORVA_VSYNC), 0);
  EXPECT_EQ(book.pre, (std::vector<DWORD>{0, 0x400 | ORVA_TEXT | ORVA_VIEWABLE | ORVA_WSYNC}));
  EXPECT_EQ(book.post, book.pre);
  EXPECT_EQ(book.OpenFlags(), ORVA_VIEWABLE | ORVA_WSYNC);
  EXPECT_EQ(book.SearchEvent(ORVA_VIEWABLE), 0);
  EXPECT_ORVA_FILE_EXCEPTION(book.SearchEvent(ORVA_TEXT | ORVA_VIEWABLE), CFileException::generic);

  // An already open bit refuses the whole request, before PreOpenFiles.
  EXPECT_EQ(book.Open(ORVA_VIEWABLE | ORVA_SECTIONS), ORVA_ERR_ALREADY_OPEN);
  EXPECT_EQ(book.pre.size(), 2u);
  EXPECT_EQ(book.OpenFlags(), ORVA_VIEWABLE | ORVA_WSYNC);
  EXPECT_EQ(UseCount(book, ORVA_VIEWABLE), 1);
  EXPECT_EQ(UseCount(book, ORVA_SECTIONS), 0);
  book.Close(ORVA_ALL_OPEN);

  HookBook refusing;
  Point(refusing);
  refusing.preResult = 19;
  EXPECT_EQ(refusing.Open(ORVA_TEXT | ORVA_SECTIONS), 19);
  EXPECT_TRUE(refusing.IsClosed() && refusing.post.empty());
  cORVABookBase pathless;  // nothing to open: no store either
  EXPECT_EQ(pathless.Open(ORVA_TEXT | ORVA_SECTIONS | ORVA_MEDIA), 0);
  EXPECT_TRUE(pathless.IsClosed());
}

TEST_F(BookOpenTest, FailedOpenRollsBackWhatTheCallOpened) {
  m_dir.RemoveFile("sections.idx");
  const DWORD request = ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS;
  HookBook fresh;
  Point(fresh);
  EXPECT_EQ(fresh.Open(request), ORVA_ERR_FILE_NOT_FOUND);
  EXPECT_TRUE(fresh.IsClosed() && fresh.post.empty());
  EXPECT_EQ(fresh.RemoteFlags(), 0u);
  EXPECT_EQ(StoresAdded(), 0) << "a new store must not survive a failed open";

  // A store shared with another book keeps that book's uses.
  cORVABookBase holder;
  Point(holder);
  ASSERT_EQ(holder.Open(ORVA_VIEWABLE), 0);
  fresh.SetClientProgramVersion("3.0");  // plays no part in this refusal
  EXPECT_EQ(fresh.Open(request), ORVA_ERR_FILE_NOT_FOUND);
  EXPECT_TRUE(fresh.IsClosed());
  EXPECT_EQ(StoresAdded(), 1);
  EXPECT_EQ(UseCount(holder, ORVA_VIEWABLE), 1);
  EXPECT_EQ(UseCount(holder, ORVA_TEXT), 0);

  // A store the book holds already keeps the book's earlier bits.
  EXPECT_EQ(holder.Open(ORVA_TEXT | ORVA_SECTIONS), ORVA_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(holder.OpenFlags(), ORVA_VIEWABLE);
  EXPECT_EQ(UseCount(holder, ORVA_TEXT), 0);
  EXPECT_EQ(UseCount(holder, ORVA_VIEWABLE), 1) << "uses of earlier calls stay";
  holder.Close(ORVA_ALL_OPEN);
  // What an exception during an open leaves is BookStoreTest.ExceptionDuringOpen's.
}

TEST_F(BookOpenTest, IdentityAndVersionChecksShowTheirNotices) {
  MessageBoxCapture boxes;
  const std::string path = m_dir.FilePath("sections.idx");
  auto expectOneNotice = [&](const std::string& text) {
    EXPECT_EQ(boxes.Shown(), std::vector<std::string>{text});
    boxes.Shown().clear();
  };

  // Which client versions refuse which files, and silently, is FileBaseTest's.
  Replace("sections.idx", VersionWith([](VersionFields& v) { v.bookID = 43; }));
  cORVABookBase book;
  Point(book);
  book.SetClientProgramVersion("3.0");  // plays no part in the identity check
  EXPECT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS), ORVA_ERR_ID_MISMATCH);
  expectOneNotice(
      "The PublisherID and/or BookID for the file being opened does not match the values expected for this "
      "book.\nValues expected: PubID=7, BookID=42\nValues in file: PubID=7, BookID=43\n\nFile: " + path + "\n");

  Replace("sections.idx", VersionWith([](VersionFields& v) { v.lcsMinor = 1; }));
  book.SetClientProgramVersion("");
  EXPECT_EQ(book.Open(ORVA_SECTIONS), ORVA_ERR_VERSION);
  expectOneNotice(
      "LeastCompatibleORVAVersionError:\nThe program can't read this file. Incompatible ORVA version.\nLeast "
      "Compatible ORVA Version:\nProgram:  Major=2, Minor=0\nFile: Major=2, Minor=1\nPath: " + path + "\n");

  // A text longer than the message buffer is cut, not overrun.
  book.LeastCompatibleORVAVersionError(std::string(1000, 'p').c_str(), 2, 0, 9, 9);
  ASSERT_EQ(boxes.Shown().size(), 1u);
  EXPECT_EQ(boxes.Shown()[0].size(), 511u);
  EXPECT_EQ(boxes.Shown()[0].back(), 'p');
}

TEST_F(BookOpenTest, OnlyTheBooksOwnSyncBitSurvives) {
  const DWORD allSync = ORVA_WSYNC | ORVA_VSYNC | ORVA_SSYNC | ORVA_DSYNC;
  const std::pair<const char*, DWORD> kTypes[] = {
      {"word", ORVA_WSYNC}, {"WORD", ORVA_WSYNC}, {"Verse", ORVA_VSYNC}, {"strongs", ORVA_SSYNC},
      {"dAtE", ORVA_DSYNC}, {"", 0},                {"words", 0},           {"psalm", 0}};
  for (const auto& [type, flag] : kTypes) {
    SCOPED_TRACE(type);
    cORVABookBase book;
    Point(book, type);
    EXPECT_EQ(book.GetSyncTypeFlag(), flag);
    EXPECT_EQ(book.Open(allSync | ORVA_TEXT), 0);
    EXPECT_EQ(book.OpenFlags(), flag | ORVA_TEXT);
    EXPECT_EQ(book.IsOpen(allSync), 1) << "foreign sync bits are not tested";
    for (DWORD bit = ORVA_WSYNC; bit <= ORVA_DSYNC; bit <<= 1) EXPECT_EQ(UseCount(book, bit), bit == flag ? 1 : 0);
    book.Close(allSync & ~flag);  // masked away: closes nothing
    EXPECT_EQ(book.OpenFlags(), flag | ORVA_TEXT);
    book.Close(allSync);
    EXPECT_EQ(book.OpenFlags(), ORVA_TEXT);
  }
}

TEST_F(BookOpenTest, CloseAllAndMarkAllRemoteFilesClosed) {
  cORVABookBase book;
  Point(book);
  book.Close(ORVA_ALL_OPEN);  // on a closed book: nothing happens
  book.Close(ORVA_SECTIONS);
  EXPECT_TRUE(book.IsClosed());
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS | ORVA_WSYNC | ORVA_MEDIA), 0);
  book.Close(ORVA_WSYNC | ORVA_MEDIA);
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS);

  // Marking leaves a closed-looking book whose files stay in the store.
  book.MarkAllRemoteFilesClosed();
  EXPECT_TRUE(book.IsClosed() && !book.IsOpen(ORVA_TEXT));
  EXPECT_EQ(book.LocalFlags(), 0u);
  EXPECT_EQ(book.RemoteFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_ORVA_FILE_EXCEPTION(book.SearchEvent(ORVA_SECTIONS), CFileException::generic);
  sVersionRecord record;
  std::memset(&record, 0xCD, sizeof record);
  EXPECT_EQ(book.GetIdxVersionRecord(&record), 0);
  EXPECT_EQ(BytesOf(record), Bytes(18, 0xCD)) << "no index counts as open";
  book.Close(ORVA_ALL_OPEN);
  EXPECT_EQ(UseCount(book, ORVA_TEXT), 1) << "Close(ALL) sees an empty open set";
  book.Close(ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(book.RemoteFlags(), 0u);
}

TEST_F(BookOpenTest, IdxVersionRecordComesFromTheFirstOpenIndex) {
  // Each index carries its own bit in its reserved bytes.
  const auto marked = [](DWORD bit) {
    return [bit](VersionFields& v) {
      v.reserved1[0] = static_cast<std::uint8_t>(bit);
      v.reserved2[5] = 0xA5;
    };
  };
  for (DWORD bit : {ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES, ORVA_WSYNC}) {
    Replace(orva::FileNameOfBit(bit), SkeletonFileWith(orva::FileNameOfBit(bit), marked(bit)));
  }
  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_MEDIA), 0);
  sVersionRecord record;
  std::memset(&record, 0xCD, sizeof record);
  EXPECT_EQ(book.GetIdxVersionRecord(&record), 0);
  EXPECT_EQ(BytesOf(record), Bytes(18, 0xCD)) << "untouched without an open index";

  const DWORD kCases[][2] = {{ORVA_VIEWABLE | ORVA_SECTIONS, ORVA_SECTIONS},
                             {ORVA_VIEWABLE | ORVA_CONCORD, ORVA_VIEWABLE},
                             {ORVA_VERSES | ORVA_CONCORD, ORVA_CONCORD},
                             {ORVA_VERSES | ORVA_WSYNC, ORVA_VERSES}};
  for (const auto& c : kCases) {
    ASSERT_EQ(book.Open(c[0]), 0);
    EXPECT_EQ(book.GetIdxVersionRecord(&record), 0);
    EXPECT_EQ(BytesOf(record), VersionWith(marked(c[1]))) << "open 0x" << std::hex << c[0];
    book.Close(c[0]);
  }
}

TEST_F(BookOpenTest, CopiesStartClosedAndLeaveTheSourceOpen) {
  cORVABookBase source, assigned;
  Point(source, "verse");
  source.SetEdition("1st");
  source.SetClientProgramVersion("3.0");
  ASSERT_EQ(source.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  assigned = source;
  cORVABookBase copy(source);
  for (cORVABookBase* target : {&copy, &assigned}) {
    EXPECT_TRUE(target->IsClosed());
    EXPECT_EQ(target->RemoteFlags(), 0u);
    EXPECT_EQ(target->GetSectionsPath() + target->GetSyncType() + target->GetClientProgramVersion(),
              source.GetSectionsPath() + "verse3.0");
    EXPECT_EQ(target->GetPublisherID() + target->GetBookID() + target->GetEdition(), "7421st");
  }
  EXPECT_EQ(copy.Open(ORVA_SECTIONS), 0) << "the copy opens on its own";
  EXPECT_EQ(UseCount(source, ORVA_SECTIONS), 2);
  copy.Close(ORVA_ALL_OPEN);

  // Assignment keeps the target's own events object.
  auto* events = reinterpret_cast<cORVAEvents*>(&copy);
  assigned.SetEventsObjectPtr(events);
  source.SetEventsObjectPtr(reinterpret_cast<cORVAEvents*>(&source));
  assigned = source;
  EXPECT_EQ(assigned.GetEventsObjectPtr(), events);

  const cORVABookBase& self = source;
  source = self;
  EXPECT_EQ(source.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(UseCount(source, ORVA_TEXT), 1);
  EXPECT_EQ(UseCount(source, ORVA_SECTIONS), 1);
}

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

TEST(ErrorCodes, MessagesCausesAndFormatVersion) {
  // Messages from both ends of the table (the end-to-end and host tests see those
  // of 0, 2 and 14), and the one of every other code; no code shares a message.
  const std::pair<int, const char*> kMessages[] = {
      {1, "An unspecified error occurred."},    {13, "The disk is full."},
      {15, "Publisher ID and/or the Book ID mismatch error."},
      {19, "The user selected CANCEL when prompt to insert a disk."},
      {20, "File error occurred."},             {-1, "File error occurred."},
      {INT_MIN, "File error occurred."}};
  cORVABookBase book;
  for (const auto& [code, text] : kMessages) EXPECT_EQ(std::string(book.GetErrorString(code)), text) << code;
  std::set<std::string> distinct = {"File error occurred."};
  for (int code = 0; code < 20; ++code) distinct.insert(static_cast<const char*>(book.GetErrorString(code)));
  EXPECT_EQ(distinct.size(), 21u) << "each of the codes 0 to 19 has a message of its own";

  for (int cause = 2; cause <= 14; ++cause) EXPECT_EQ(book.ConvertCauseToErrorCode(cause), cause);
  for (int cause : {0, 1, 15, -1, INT_MIN, INT_MAX}) EXPECT_EQ(book.ConvertCauseToErrorCode(cause), 1) << cause;

  EXPECT_EQ(GetCurrentORVAVersionInfo(), 0x0200);
  EXPECT_EQ(GetLeastCompatibleORVAVersionInfo(), 0x0200);
}

TEST_F(MediaTest, TheMediaCounterAndMediaAvailability) {
  cORVABookBase book, sharer;
  Point(book);
  Point(sharer);
  // Opened alone, the media bit makes a store of the media counter.
  ASSERT_EQ(book.Open(ORVA_MEDIA), 0);
  EXPECT_EQ(StoresAdded(), 1);
  for (DWORD bit = ORVA_TEXT; bit <= ORVA_MEDIA; bit <<= 1) EXPECT_EQ(UseCount(book, bit), bit == ORVA_MEDIA ? 1 : 0);
  book.Close(ORVA_MEDIA);

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

  // Without a media path nothing is available.
  book.SetMediaPath("");
  EXPECT_EQ(book.IsMediaAvailable("x", path), 0);
  EXPECT_EQ(path, "unchanged");
  EXPECT_TRUE(book.IsClosed());
}

}  // namespace
