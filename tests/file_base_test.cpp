// cFileBase on files written in the test: opening with its identity and version
// checks, the use count, reads, seeks and variable records.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "tests/test_support.h"
#include "writer/byte_writer.h"

namespace {

using orva::writer::ByteWriter;
using orva::writer::EncodeVersionRecord;
using orva::writer::TempBookDir;
using orva::writer::VersionFields;
using Bytes = std::vector<std::uint8_t>;

// A book object that records its hook calls, one line each, instead of showing
// notices.
class HookBook : public cORVABookBase {
 public:
  HookBook(const char* publisher, const char* book) {
    SetPublisherID(publisher);
    SetBookID(book);
  }
  void PubIDBookIDMismatch(const char* path, WORD expectedPub, WORD expectedBook, WORD filePub,
                           WORD fileBook) override {
    Record("ids", path, {expectedPub, expectedBook, filePub, fileBook});
  }
  void LeastCompatibleORVAVersionError(const char* path, BYTE programMajor, BYTE programMinor, BYTE fileMajor,
                                       BYTE fileMinor) override {
    Record("version", path, {programMajor, programMinor, fileMajor, fileMinor});
  }

  std::vector<std::string> calls;

 private:
  void Record(const char* hook, const char* path, std::initializer_list<int> values) {
    std::string line = std::string(hook) + " " + path;
    for (int v : values) line += " " + std::to_string(v);
    calls.push_back(line);
  }
};

// Exposes whether the operating-system file is open.
class ProbeFile : public cFileBase {
 public:
  bool OsFileOpen() const { return m_File.IsOpen() != 0; }
};

VersionFields Version(WORD publisher, WORD book, BYTE major = 2, BYTE minor = 0, WORD length = 18) {
  VersionFields v;
  v.publisherID = publisher;
  v.bookID = book;
  v.lcsMajor = major;
  v.lcsMinor = minor;
  v.length = length;
  return v;
}

Bytes AsBytes(const sVersionRecord* r) {
  return Bytes(reinterpret_cast<const BYTE*>(r), reinterpret_cast<const BYTE*>(r) + sizeof *r);
}

class FileBaseTest : public ::testing::Test {
 protected:
  std::string Write(const Bytes& bytes, const std::string& name = "book.dat") {
    dir.WriteFile(name, bytes);
    return dir.FilePath(name);
  }
  // The result of a first Open of a file with this version record.
  int OpenWith(const VersionFields& v, HookBook& book) {
    ProbeFile file;
    const int result = file.Open(Write(EncodeVersionRecord(v)).c_str(), book);
    EXPECT_EQ(file.GetRefCount(), result == 0 ? 1 : 0);
    EXPECT_EQ(file.OsFileOpen(), result == 0);
    return result;
  }

  TempBookDir dir;
};

TEST_F(FileBaseTest, FailedFirstOpenLeavesTheFileClosed) {
  HookBook book("0", "0");
  Bytes truncated = EncodeVersionRecord(Version(0, 0));
  truncated.resize(10);
  Bytes tooLong = EncodeVersionRecord(Version(0, 0, 2, 0, 100));
  tooLong.resize(60);
  for (const Bytes& bytes : {Bytes{}, Bytes{0x12}, truncated, tooLong}) {
    SCOPED_TRACE(bytes.size());
    cFileBase file;
    const std::string path = Write(bytes);
    EXPECT_ORVA_FILE_EXCEPTION(file.Open(path.c_str(), book), CFileException::endOfFile);
    EXPECT_EQ(file.GetRefCount(), 0);
    // A repaired file opens in the same object.
    Write(EncodeVersionRecord(Version(0, 0)));
    EXPECT_EQ(file.Open(path.c_str(), book), 0);
    EXPECT_EQ(file.GetRefCount(), 1);
    EXPECT_EQ(file.Close(), 0);
  }
  EXPECT_TRUE(book.calls.empty());
  cFileBase missing;
  EXPECT_EQ(missing.Open(dir.FilePath("absent.idx").c_str(), book), ORVA_ERR_FILE_NOT_FOUND);
  EXPECT_EQ(missing.GetRefCount(), 0);
}

TEST_F(FileBaseTest, VersionRecordLengthsAndReservedBytes) {
  HookBook book("7", "9");
  // L = 6: the ids only, the rest zero; the record behind it must not leak in.
  ByteWriter out;
  orva::writer::WriteVersionRecord(out, Version(7, 9, 5, 5, 6));
  out.U16(20).Bytes(Bytes(18, 0xAB));
  Bytes expected(18, 0);
  std::memcpy(expected.data(), out.Data().data(), 6);
  ProbeFile file;
  ASSERT_EQ(file.Open(Write(out.Data()).c_str(), book), 0);
  EXPECT_EQ(AsBytes(file.VersionRecord()), expected);
  EXPECT_EQ(file.GetRecordSize(6), 20);
  EXPECT_EQ(file.Close(), 0);

  // L = 40: the first 18 bytes with the uninterpreted ones unchanged; the next
  // record starts at 40.
  VersionFields longRecord = Version(7, 9, 1, 7, 40);
  std::memcpy(longRecord.reserved1, "\x01\xFE\x00\x80", 4);
  std::memcpy(longRecord.reserved2, "\xFF\x02\x7F\x00\x55\xAA", 6);
  Bytes bytes = EncodeVersionRecord(longRecord);
  std::fill(bytes.begin() + 18, bytes.end(), 0xCD);
  bytes.insert(bytes.end(), {5, 0, 'a', 'b', 'c'});
  ASSERT_EQ(file.Open(Write(bytes).c_str(), book), 0);
  EXPECT_EQ(AsBytes(file.VersionRecord()), Bytes(bytes.begin(), bytes.begin() + 18));
  void* record = nullptr;
  ASSERT_EQ(file.GetVariableRecord(40, &record), 5);
  EXPECT_EQ(Bytes(static_cast<BYTE*>(record), static_cast<BYTE*>(record) + 5), (Bytes{5, 0, 'a', 'b', 'c'}));
  ::operator delete(record);
  EXPECT_EQ(file.Close(), 0);
}

TEST_F(FileBaseTest, IdentifiersAreReadAsAtoiLow16Bits) {
  struct Case {
    const char* publisher;
    const char* book;
    WORD filePublisher;
    WORD fileBook;
  };
  const Case matches[] = {
      {"0042", "7", 42, 7},          {"abc", "", 0, 0},       {"70000", "65536", 70000 - 65536, 0},
      {"  +17", "\t-1", 17, 0xFFFF}, {"12abc", "3 4", 12, 3},
  };
  for (const Case& c : matches) {
    SCOPED_TRACE(std::string(c.publisher) + "/" + c.book);
    HookBook book(c.publisher, c.book);
    EXPECT_EQ(OpenWith(Version(c.filePublisher, c.fileBook), book), 0);
    EXPECT_TRUE(book.calls.empty());
  }

  HookBook book("0042", "70001");
  EXPECT_EQ(OpenWith(Version(42, 70001 - 65536 + 1, 9, 9), book), ORVA_ERR_ID_MISMATCH);
  // The identity is checked first: a file of another book is never version-checked.
  EXPECT_EQ(book.calls, std::vector<std::string>{"ids " + dir.FilePath("book.dat") + " 42 4465 42 4466"});
}

TEST_F(FileBaseTest, LeastCompatibleVersionRules) {
  HookBook plain("1", "2");
  EXPECT_EQ(OpenWith(Version(1, 2, 2, 0), plain), 0);
  EXPECT_EQ(OpenWith(Version(1, 2, 1, 255), plain), 0);
  EXPECT_EQ(OpenWith(Version(1, 2, 2, 1), plain), ORVA_ERR_VERSION);
  EXPECT_EQ(OpenWith(Version(1, 2, 3, 0), plain), ORVA_ERR_VERSION);
  const std::string path = dir.FilePath("book.dat");
  EXPECT_EQ(plain.calls, (std::vector<std::string>{"version " + path + " 2 0 2 1", "version " + path + " 2 0 3 0"}));

  // A client version starting with '2' refuses every file of major version 2 or
  // more, without a notice.
  HookBook client2("1", "2");
  client2.SetClientProgramVersion("2.5");
  EXPECT_EQ(OpenWith(Version(1, 2, 2, 0), client2), ORVA_ERR_VERSION);
  EXPECT_EQ(OpenWith(Version(1, 2, 3, 0), client2), ORVA_ERR_VERSION);
  EXPECT_EQ(OpenWith(Version(1, 2, 1, 9), client2), 0);
  EXPECT_TRUE(client2.calls.empty());

  HookBook client3("1", "2");
  client3.SetClientProgramVersion("3.0");
  for (BYTE major : {0, 1, 2, 3, 255}) EXPECT_EQ(OpenWith(Version(1, 2, major, 9), client3), 0);
  EXPECT_TRUE(client3.calls.empty());
}

TEST_F(FileBaseTest, FurtherOpensCountUsesWithoutReading) {
  HookBook book("5", "6");
  HookBook other("8", "9");
  VersionFields v = Version(5, 6);
  v.reserved2[0] = 0x77;
  const std::string path = Write(EncodeVersionRecord(v));
  ProbeFile file;
  ASSERT_EQ(file.Open(path.c_str(), book), 0);
  // Neither the other identity nor a missing path is looked at again.
  EXPECT_EQ(file.Open(path.c_str(), other), 0);
  EXPECT_EQ(file.Open(dir.FilePath("absent.idx").c_str(), other), 0);
  EXPECT_TRUE(other.calls.empty());
  EXPECT_EQ(file.GetRefCount(), 3);
  EXPECT_EQ(file.Close(), 2);
  EXPECT_EQ(file.Close(), 1);
  EXPECT_TRUE(file.OsFileOpen());
  EXPECT_EQ(file.Close(), 0);
  EXPECT_FALSE(file.OsFileOpen());
  // The record read at the first open stays after closing.
  EXPECT_EQ(file.VersionRecord()->wPublisherID, 5);
  EXPECT_EQ(file.VersionRecord()->reserved2[0], 0x77);
  // A new first open checks again.
  EXPECT_EQ(file.Open(path.c_str(), other), ORVA_ERR_ID_MISMATCH);
  EXPECT_EQ(other.calls.size(), 1u);
  EXPECT_EQ(file.GetRefCount(), 0);
}

TEST_F(FileBaseTest, ReadsSeeksAndVariableRecords) {
  ByteWriter out;
  orva::writer::WriteVersionRecord(out, Version(0, 0));  // 0..17
  out.U16(7).Text("hello");                              // 18..24
  out.U16(0);                                            // 25..26: L = 0
  out.U16(2);                                            // 27..28: the length field only
  out.U16(9).Text("abc");                                // 29..33: runs past the end
  const Bytes bytes = out.Take();
  HookBook book("0", "0");
  cFileBase file;
  ASSERT_EQ(file.Open(Write(bytes).c_str(), book), 0);
  // The record at `position` and the position afterwards.
  auto recordAt = [&](LONG position) {
    void* record = nullptr;
    const WORD length = file.GetVariableRecord(position, &record);
    Bytes got(static_cast<const BYTE*>(record), static_cast<const BYTE*>(record) + length);
    ::operator delete(record);
    return std::make_pair(got, file.Seek(0, CFile::current));
  };

  // GetRecordSize leaves the position at the record: a read of L bytes there
  // gives what GetVariableRecord gives.
  EXPECT_EQ(file.GetRecordSize(18), 7);
  Bytes viaRead(7);
  EXPECT_EQ(file.Read(viaRead.data(), 7), 7u);
  EXPECT_EQ(viaRead, Bytes(bytes.begin() + 18, bytes.begin() + 25));
  EXPECT_EQ(recordAt(18), std::make_pair(viaRead, LONG{25}));
  EXPECT_EQ(recordAt(25), std::make_pair(Bytes{}, LONG{25}));
  EXPECT_EQ(recordAt(27), std::make_pair(Bytes{2, 0}, LONG{29}));

  // A record that runs past the end: the buffer is the caller's all the same.
  void* record = nullptr;
  EXPECT_ORVA_FILE_EXCEPTION(file.GetVariableRecord(29, &record), CFileException::endOfFile);
  EXPECT_NE(record, nullptr);
  ::operator delete(record);
  EXPECT_ORVA_FILE_EXCEPTION(file.GetRecordSize(33), CFileException::endOfFile);
  EXPECT_ORVA_FILE_EXCEPTION(file.GetRecordSize(1000), CFileException::endOfFile);

  Bytes tail(4);
  EXPECT_EQ(file.Seek(-4, CFile::end), 30);
  EXPECT_EQ(file.Read(tail.data(), 4), 4u);
  EXPECT_EQ(tail, Bytes(bytes.end() - 4, bytes.end()));
  EXPECT_EQ(file.Seek(-3, CFile::end), 31);
  EXPECT_ORVA_FILE_EXCEPTION(file.Read(tail.data(), 4), CFileException::endOfFile);
  // A seek before the start raises the framework's own exception.
  EXPECT_EQ(orva::test::CatchFileException([&] { file.Seek(-1, CFile::begin); }).cause, CFileException::badSeek);
  EXPECT_EQ(orva::test::CatchFileException([&] { file.Seek(-40, CFile::end); }).cause, CFileException::badSeek);
  EXPECT_EQ(file.Close(), 0);
}

}  // namespace
