// The open protocol of the book object: flag bits, hooks, error codes, rollback,
// sync-bit masking, closing, copying and the concordance language chosen on open.
#include <cstring>
#include <string>
#include <vector>

#include "tests/test_support.h"
#include "writer/concord_writer.h"

namespace {

using orva::test::MessageBoxCapture;
using orva::test::SkeletonBookTest;
using orva::test::UseCount;
using orva::writer::EncodeVersionRecord;
using orva::writer::VersionFields;

// Records the requests its open hooks receive; PreOpenFiles answers `preResult`.
class HookBook : public cORVABookBase {
 public:
  int PreOpenFiles(DWORD request) override {
    pre.push_back(request);
    return preResult;
  }
  void PostOpenFiles(DWORD request) override { post.push_back(request); }

  int preResult = 0;
  std::vector<DWORD> pre;
  std::vector<DWORD> post;
};

using BookOpenTest = SkeletonBookTest;

TEST_F(BookOpenTest, HooksFrameEveryOpenAndPreOpenFilesCanStopIt) {
  HookBook book;
  Point(book);
  EXPECT_EQ(book.IsOpen(0), 1);
  EXPECT_EQ(book.Open(0), 0);
  EXPECT_EQ(book.pre, std::vector<DWORD>{0});
  EXPECT_EQ(book.post, std::vector<DWORD>{0});
  EXPECT_EQ(StoresAdded(), 0);

  // The hooks see the request without foreign sync bits but with bits above 0x200.
  book.pre.clear();
  book.post.clear();
  EXPECT_EQ(book.Open(0x400 | ORVA_TEXT | ORVA_WSYNC | ORVA_VSYNC), 0);
  EXPECT_EQ(book.pre, std::vector<DWORD>{0x400 | ORVA_TEXT | ORVA_WSYNC});
  EXPECT_EQ(book.post, std::vector<DWORD>{0x400 | ORVA_TEXT | ORVA_WSYNC});
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT | ORVA_WSYNC);
  book.Close(ORVA_ALL_OPEN);

  for (int code : {18, 19}) {
    HookBook refusing;
    Point(refusing);
    refusing.preResult = code;
    EXPECT_EQ(refusing.Open(ORVA_TEXT | ORVA_SECTIONS), code);
    EXPECT_TRUE(refusing.IsClosed());
    EXPECT_TRUE(refusing.post.empty());
    EXPECT_EQ(StoresAdded(), 0);
  }
}

TEST_F(BookOpenTest, AlreadyOpenBitRefusesTheWholeRequest) {
  HookBook book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_TEXT), 0);
  EXPECT_EQ(book.Open(ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS), ORVA_ERR_ALREADY_OPEN);
  EXPECT_EQ(book.pre.size(), 1u) << "refused before PreOpenFiles";
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT);
  EXPECT_EQ(UseCount(book, ORVA_TEXT), 1);
  EXPECT_EQ(UseCount(book, ORVA_VIEWABLE), 0);
  EXPECT_EQ(UseCount(book, ORVA_SECTIONS), 0);
}

TEST_F(BookOpenTest, BitsWithoutPathAreDroppedSilently) {
  HookBook book;
  Point(book);
  book.SetTextPath("");
  EXPECT_EQ(book.Open(ORVA_TEXT | ORVA_VIEWABLE), 0);
  EXPECT_EQ(book.OpenFlags(), ORVA_VIEWABLE);
  EXPECT_EQ(book.post, std::vector<DWORD>{ORVA_TEXT | ORVA_VIEWABLE});
  EXPECT_EQ(book.SearchEvent(ORVA_VIEWABLE), 0);
  EXPECT_ORVA_FILE_EXCEPTION(book.SearchEvent(ORVA_TEXT), CFileException::generic);
  EXPECT_ORVA_FILE_EXCEPTION(book.SearchEvent(ORVA_TEXT | ORVA_VIEWABLE), CFileException::generic);
  book.Close(ORVA_ALL_OPEN);

  cORVABookBase pathless;  // no path at all: nothing to open, no store
  pathless.SetBookID("42");
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
  EXPECT_TRUE(fresh.IsClosed());
  EXPECT_EQ(fresh.RemoteFlags(), 0u);
  EXPECT_TRUE(fresh.post.empty());
  EXPECT_EQ(StoresAdded(), 0) << "a new store must not survive a failed open";

  // A store shared with another book keeps that book's uses.
  cORVABookBase holder;
  Point(holder);
  ASSERT_EQ(holder.Open(ORVA_VIEWABLE), 0);
  EXPECT_EQ(fresh.Open(request), ORVA_ERR_FILE_NOT_FOUND);
  EXPECT_TRUE(fresh.IsClosed());
  EXPECT_EQ(StoresAdded(), 1);
  EXPECT_EQ(UseCount(holder, ORVA_VIEWABLE), 1);
  EXPECT_EQ(UseCount(holder, ORVA_TEXT), 0);

  // A store the book holds already keeps the book's earlier bits.
  EXPECT_EQ(holder.Open(ORVA_TEXT | ORVA_SECTIONS), ORVA_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(holder.OpenFlags(), ORVA_VIEWABLE);
  EXPECT_EQ(UseCount(holder, ORVA_TEXT), 0);
  EXPECT_EQ(UseCount(holder, ORVA_VIEWABLE), 1);
}

TEST_F(BookOpenTest, IdentityAndVersionChecksShowTheirNotices) {
  MessageBoxCapture boxes;
  const std::string path = m_dir.FilePath("sections.idx");

  VersionFields otherBook = m_version;
  otherBook.bookID = 43;
  Replace("sections.idx", EncodeVersionRecord(otherBook));
  for (const char* client : {"", "3.0"}) {  // the client version plays no part here
    boxes.Clear();
    cORVABookBase book;
    Point(book);
    book.SetClientProgramVersion(client);
    EXPECT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS), ORVA_ERR_ID_MISMATCH);
    EXPECT_TRUE(book.IsClosed());
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              "The PublisherID and/or BookID for the file being opened does not match the values expected "
              "for this book.\nValues expected: PubID=7, BookID=42\nValues in file: PubID=7, BookID=43\n\n"
              "File: " + path + "\n");
    EXPECT_EQ(boxes.Shown()[0].type, 0u);
    EXPECT_EQ(boxes.Shown()[0].help, 0u);
  }

  VersionFields newer = m_version;
  newer.lcsMinor = 1;
  Replace("sections.idx", EncodeVersionRecord(newer));
  boxes.Clear();
  {
    cORVABookBase book;
    Point(book);
    EXPECT_EQ(book.Open(ORVA_SECTIONS), ORVA_ERR_VERSION);
    ASSERT_EQ(boxes.Shown().size(), 1u);
    EXPECT_EQ(boxes.Shown()[0].text,
              "LeastCompatibleORVAVersionError:\nThe program can't read this file. Incompatible ORVA "
              "version.\nLeast Compatible ORVA Version:\nProgram:  Major=2, Minor=0\nFile: Major=2, "
              "Minor=1\nPath: " + path + "\n");
    EXPECT_EQ(boxes.Shown()[0].type, 0u);

    boxes.Clear();
    book.SetClientProgramVersion("2.5");
    EXPECT_EQ(book.Open(ORVA_SECTIONS), ORVA_ERR_VERSION);
    EXPECT_TRUE(boxes.Shown().empty()) << "a client version refuses silently";
    EXPECT_TRUE(book.IsClosed());

    book.SetClientProgramVersion("3.0");
    EXPECT_EQ(book.Open(ORVA_SECTIONS), 0);
    EXPECT_TRUE(boxes.Shown().empty());
  }
}

TEST_F(BookOpenTest, FileShorterThanItsVersionRecordRaisesEndOfFile) {
  VersionFields longRecord = m_version;
  longRecord.length = 100;
  std::vector<std::uint8_t> cut = EncodeVersionRecord(longRecord);
  cut.resize(30);
  std::vector<std::uint8_t> halfRecord = EncodeVersionRecord(m_version);
  halfRecord.resize(10);

  for (const auto& bytes : {std::vector<std::uint8_t>{}, std::vector<std::uint8_t>{0x12}, halfRecord, cut}) {
    Replace("sections.idx", bytes);
    cORVABookBase book;
    Point(book);
    EXPECT_ORVA_FILE_EXCEPTION(book.Open(ORVA_SECTIONS), CFileException::endOfFile);
    EXPECT_TRUE(book.IsClosed());
    EXPECT_EQ(book.RemoteFlags(), 0u);
    EXPECT_EQ(StoresAdded(), 0) << bytes.size() << " bytes";
  }
}

TEST_F(BookOpenTest, OnlyTheBooksOwnSyncBitSurvives) {
  const DWORD allSync = ORVA_WSYNC | ORVA_VSYNC | ORVA_SSYNC | ORVA_DSYNC;
  const struct {
    const char* type;
    DWORD flag;
  } kTypes[] = {{"word", ORVA_WSYNC}, {"WORD", ORVA_WSYNC}, {"Verse", ORVA_VSYNC}, {"strongs", ORVA_SSYNC},
                {"dAtE", ORVA_DSYNC}, {"", 0},                {"words", 0},           {"psalm", 0}};
  for (const auto& entry : kTypes) {
    SCOPED_TRACE(entry.type);
    cORVABookBase book;
    Point(book, entry.type);
    EXPECT_EQ(book.GetSyncTypeFlag(), entry.flag);
    EXPECT_EQ(book.Open(allSync | ORVA_TEXT), 0);
    EXPECT_EQ(book.OpenFlags(), entry.flag | ORVA_TEXT);
    EXPECT_EQ(book.IsOpen(allSync), 1) << "foreign sync bits are not tested";
    for (DWORD bit = ORVA_WSYNC; bit <= ORVA_DSYNC; bit <<= 1) {
      EXPECT_EQ(UseCount(book, bit), bit == entry.flag ? 1 : 0);
    }
    book.Close(allSync & ~entry.flag);  // masked away: closes nothing
    EXPECT_EQ(book.OpenFlags(), entry.flag | ORVA_TEXT);
    book.Close(allSync);
    EXPECT_EQ(book.OpenFlags(), ORVA_TEXT);
  }
}

TEST_F(BookOpenTest, CloseAllAndCloseOnAClosedBook) {
  cORVABookBase book;
  Point(book);
  book.Close(ORVA_ALL_OPEN);
  book.Close(ORVA_SECTIONS);
  EXPECT_TRUE(book.IsClosed());
  EXPECT_EQ(StoresAdded(), 0);

  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS | ORVA_WSYNC | ORVA_MEDIA), 0);
  book.Close(ORVA_TEXT);
  EXPECT_EQ(book.OpenFlags(), ORVA_SECTIONS | ORVA_WSYNC | ORVA_MEDIA);
  EXPECT_EQ(StoresAdded(), 1);
  book.Close(ORVA_ALL_OPEN);
  EXPECT_TRUE(book.IsClosed());
  EXPECT_EQ(book.RemoteFlags(), 0u);
  EXPECT_EQ(StoresAdded(), 0);
}

TEST_F(BookOpenTest, MarkAllRemoteFilesClosedKeepsTheFilesInTheStore) {
  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_SECTIONS), 0);
  book.MarkAllRemoteFilesClosed();
  EXPECT_TRUE(book.IsClosed());
  EXPECT_EQ(book.IsOpen(ORVA_TEXT), 0);
  EXPECT_EQ(book.LocalFlags(), 0u);
  EXPECT_EQ(book.RemoteFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_ORVA_FILE_EXCEPTION(book.SearchEvent(ORVA_SECTIONS), CFileException::generic);
  EXPECT_EQ(UseCount(book, ORVA_SECTIONS), 1);

  book.Close(ORVA_ALL_OPEN);
  EXPECT_EQ(UseCount(book, ORVA_TEXT), 1) << "Close(ALL) sees an empty open set";
  EXPECT_EQ(StoresAdded(), 1);

  book.Close(ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(book.RemoteFlags(), 0u);
  EXPECT_EQ(StoresAdded(), 0);
}

TEST_F(BookOpenTest, IdxVersionRecordComesFromTheFirstOpenIndex) {
  // Every file carries its own bit in its reserved bytes.
  for (DWORD bit = ORVA_TEXT; bit <= ORVA_DSYNC; bit <<= 1) {
    VersionFields version = m_version;
    version.reserved1[0] = static_cast<std::uint8_t>(bit);
    version.reserved1[1] = static_cast<std::uint8_t>(bit >> 8);
    version.reserved2[5] = 0xA5;
    if (bit == ORVA_CONCORD) {
      orva::writer::ConcordDescription concord;
      concord.version = version;
      Replace("concord.idx", orva::writer::EncodeConcordIndex(concord));
    } else {
      Replace(orva::writer::FileNameOfBit(bit), EncodeVersionRecord(version));
    }
  }
  auto bitOfRecord = [](const sVersionRecord& record) {
    return static_cast<DWORD>(record.reserved1[0] | record.reserved1[1] << 8);
  };

  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_TEXT | ORVA_MEDIA), 0);
  sVersionRecord record;
  std::memset(&record, 0xCD, sizeof record);
  EXPECT_EQ(book.GetIdxVersionRecord(&record), 0);
  for (size_t i = 0; i < sizeof record; ++i) EXPECT_EQ(reinterpret_cast<BYTE*>(&record)[i], 0xCD);

  const DWORD kCases[][2] = {{ORVA_VIEWABLE | ORVA_SECTIONS, ORVA_SECTIONS},
                             {ORVA_VIEWABLE | ORVA_CONCORD, ORVA_VIEWABLE},
                             {ORVA_VERSES | ORVA_WSYNC, ORVA_VERSES}};
  for (const auto& c : kCases) {
    ASSERT_EQ(book.Open(c[0]), 0);
    std::memset(&record, 0, sizeof record);
    EXPECT_EQ(book.GetIdxVersionRecord(&record), 0);
    EXPECT_EQ(bitOfRecord(record), c[1]) << "open 0x" << std::hex << c[0];
    EXPECT_EQ(record.reserved2[5], 0xA5);
    book.Close(c[0]);
  }
}

TEST_F(BookOpenTest, CopiesStartClosedAndLeaveTheSourceOpen) {
  cORVABookBase source;
  Point(source, "verse");
  source.SetEdition("1st");
  source.SetBookName("Genesis");
  source.SetClientProgramVersion("3.0");
  source.SetBookNumber(4);
  source.SetDataSetNumber(5);
  source.SetServerIP("10.0.0.1");
  source.SetPort(8080);
  ASSERT_EQ(source.Open(ORVA_TEXT | ORVA_SECTIONS), 0);

  auto expectCopied = [&](cORVABookBase& copy) {
    EXPECT_TRUE(copy.IsClosed());
    EXPECT_EQ(copy.RemoteFlags(), 0u);
    EXPECT_EQ(copy.GetTextPath(), source.GetTextPath());
    EXPECT_EQ(copy.GetMediaPath(), source.GetMediaPath());
    EXPECT_EQ(copy.GetPublisherID() + copy.GetBookID() + copy.GetEdition(), "7421st");
    EXPECT_EQ(copy.GetSyncType() + copy.GetClientProgramVersion() + copy.GetBookName(), "verse3.0Genesis");
    EXPECT_EQ(copy.GetBookNumber() * 10 + copy.GetDataSetNumber(), 45);
    EXPECT_EQ(copy.GetServerIP(), "");
    EXPECT_EQ(copy.GetPort(), 0u);
  };

  {
    cORVABookBase copy(source);
    expectCopied(copy);
    EXPECT_EQ(copy.Open(ORVA_SECTIONS), 0) << "the copy opens on its own";
    EXPECT_EQ(UseCount(source, ORVA_SECTIONS), 2);
  }
  EXPECT_EQ(source.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS);
  EXPECT_EQ(UseCount(source, ORVA_SECTIONS), 1);

  auto* events = reinterpret_cast<cORVAEvents*>(&source);
  cORVABookBase assigned;
  assigned.SetEventsObjectPtr(events);
  assigned.SetServerIP("10.0.0.2");
  assigned.SetPort(21);
  assigned = source;
  expectCopied(assigned);
  EXPECT_EQ(assigned.GetEventsObjectPtr(), events) << "assignment keeps the target's events object";
  EXPECT_EQ(UseCount(source, ORVA_TEXT), 1);

  const cORVABookBase& self = source;
  source = self;
  EXPECT_EQ(source.OpenFlags(), ORVA_TEXT | ORVA_SECTIONS);
}

TEST_F(BookOpenTest, OpeningTheConcordanceSelectsTheDefaultLanguage) {
  orva::writer::ConcordDescription concord;
  concord.version = m_version;
  concord.languages.resize(2);
  concord.languages[0].id = 1031;
  concord.languages[1].id = 1033;
  Replace("concord.idx", orva::writer::EncodeConcordIndex(concord));

  cORVABookBase book;
  Point(book);
  ASSERT_EQ(book.Open(ORVA_CONCORD), 0);
  EXPECT_EQ(book.GetCurrentLanguage(), 1033);
  EXPECT_EQ(book.SelectCurrentLanguage(1031, nullptr), 0);
  EXPECT_EQ(book.GetCurrentLanguage(), 1031);
  EXPECT_EQ(book.SelectCurrentLanguage(1036, nullptr), 1);
  EXPECT_EQ(book.GetCurrentLanguage(), 1033) << "a missing language leaves the table's last one current";
  book.Close(ORVA_CONCORD);

  // A closed concordance is opened by the selection itself.
  EXPECT_EQ(book.SelectCurrentLanguage(1031, nullptr), 0);
  EXPECT_EQ(book.OpenFlags(), ORVA_CONCORD);
  EXPECT_EQ(book.GetCurrentLanguage(), 1031);
  book.Close(ORVA_CONCORD);

  // Without a concordance path neither call opens anything (nor calls the other forever).
  book.SetConcordPath("");
  EXPECT_EQ(book.SelectCurrentLanguage(1033, nullptr), 1);
  EXPECT_EQ(book.Open(ORVA_CONCORD | ORVA_TEXT), 0);
  EXPECT_EQ(book.OpenFlags(), ORVA_TEXT);
  book.Close(ORVA_TEXT);

  book.SetConcordPath(m_dir.Path().c_str());
  m_dir.RemoveFile("concord.idx");
  EXPECT_EQ(book.SelectCurrentLanguage(1033, nullptr), 1);
  EXPECT_TRUE(book.IsClosed());
}

}  // namespace
