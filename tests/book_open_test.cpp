// The open protocol of the book object: flag bits, hooks, error codes, rollback,
// sync-bit masking, closing and copying.
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"

namespace {

using orva::test::BytesOf;
using orva::test::HookBook;
using orva::test::MessageBoxCapture;
using orva::test::UseCount;
using orva::writer::VersionFields;
using Bytes = std::vector<std::uint8_t>;
using BookOpenTest = orva::test::SkeletonBookTest;

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
  EXPECT_EQ(StoresAdded(), 0);
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
  EXPECT_EQ(StoresAdded(), 0);
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

}  // namespace
