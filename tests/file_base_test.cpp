// Files: the platform's file stand-in, whose two read paths give the same bytes
// around window boundaries and the end of the file, and which opens only regular
// files; and cFileBase on files written in the test: opening with its identity and
// version checks, the use count, reads, seeks and variable records.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "tests/test_support.h"
#include "writer/byte_writer.h"

namespace {

using orva::test::BytesOf;
using orva::test::HookBook;
using orva::writer::ByteWriter;
using orva::writer::EncodeVersionRecord;
using orva::writer::VersionFields;
using Bytes = std::vector<std::uint8_t>;

class ProbeFile : public cFileBase {  // tells whether the operating-system file is open
 public:
  bool OsFileOpen() const { return m_File.IsOpen() != 0; }
};

VersionFields Version(WORD publisher, WORD book, BYTE major = 2, BYTE minor = 0, WORD length = 18) {
  return {publisher, book, {}, major, minor, {}, length};
}

class FileBaseTest : public ::testing::Test {
 protected:
  std::string Write(const Bytes& bytes) {
    dir.WriteFile("book.dat", bytes);
    return dir.FilePath("book.dat");
  }
  // The result of a first Open of a file with this version record.
  int OpenWith(const VersionFields& v, HookBook& book) {
    ProbeFile file;
    const int result = file.Open(Write(EncodeVersionRecord(v)).c_str(), book);
    EXPECT_EQ(file.GetRefCount(), result == 0 ? 1 : 0);
    EXPECT_EQ(file.OsFileOpen(), result == 0);
    return result;
  }

  orva::writer::TempBookDir dir;
};

TEST_F(FileBaseTest, FileShorterThanItsVersionRecordLeavesTheFileClosed) {
  HookBook book("0", "0");
  Bytes tooLong = EncodeVersionRecord(Version(0, 0, 2, 0, 100));
  tooLong.resize(60);
  for (const Bytes& bytes : {Bytes{}, Bytes{0x12}, tooLong}) {
    SCOPED_TRACE(bytes.size());
    cFileBase file;
    const std::string path = Write(bytes);
    EXPECT_ORVA_FILE_EXCEPTION(file.Open(path.c_str(), book), CFileException::endOfFile);
    EXPECT_EQ(file.GetRefCount(), 0);
    Write(EncodeVersionRecord(Version(0, 0)));
    EXPECT_EQ(file.Open(path.c_str(), book), 0) << "a repaired file opens in the same object";
    EXPECT_EQ(file.Close(), 0);
  }
  EXPECT_TRUE(book.calls.empty());
}

TEST_F(FileBaseTest, IdentifiersAreReadAsAtoiLow16Bits) {
  const std::tuple<const char*, const char*, WORD, WORD> kMatches[] = {
      {"0042", "7", 42, 7},          {"abc", "", 0, 0},       {"70000", "65536", 70000 - 65536, 0},
      {"  +17", "\t-1", 17, 0xFFFF}, {"12abc", "3 4", 12, 3},
  };
  for (const auto& [publisher, bookID, filePublisher, fileBook] : kMatches) {
    SCOPED_TRACE(std::string(publisher) + "/" + bookID);
    HookBook book(publisher, bookID);
    EXPECT_EQ(OpenWith(Version(filePublisher, fileBook), book), 0);
    EXPECT_TRUE(book.calls.empty());
  }

  HookBook book("0042", "70001");
  EXPECT_EQ(OpenWith(Version(42, 70001 - 65536 + 1, 9, 9), book), ORVA_ERR_ID_MISMATCH);
  // The identity is checked first: a file of another book is never version-checked.
  EXPECT_EQ(book.calls, std::vector<std::string>{"ids " + dir.FilePath("book.dat") + " 42 4465 42 4466"});
}

TEST_F(FileBaseTest, LeastCompatibleVersionRules) {
  // Without a client version, files above 2.0 are refused with a notice; a client
  // version starting with '2' refuses every file of major version 2 or more,
  // silently; any other client version accepts every file.
  const std::tuple<const char*, int, int, int> kCases[] = {
      {"", 2, 0, 0},       {"", 1, 255, 0},     {"", 2, 1, ORVA_ERR_VERSION}, {"", 3, 0, ORVA_ERR_VERSION},
      {"2.5", 2, 0, ORVA_ERR_VERSION}, {"2.5", 3, 0, ORVA_ERR_VERSION}, {"2.5", 1, 9, 0},
      {"3.0", 3, 9, 0},    {"3.0", 255, 9, 0},  {"1", 2, 1, 0},
  };
  for (const auto& [client, major, minor, result] : kCases) {
    const std::string version = std::to_string(major) + " " + std::to_string(minor);
    SCOPED_TRACE(std::string(client) + " " + version);
    HookBook book("1", "2");
    book.SetClientProgramVersion(client);
    EXPECT_EQ(OpenWith(Version(1, 2, static_cast<BYTE>(major), static_cast<BYTE>(minor)), book), result);
    const std::string notice = "version " + dir.FilePath("book.dat") + " 2 0 " + version;
    EXPECT_EQ(book.calls, result && !*client ? std::vector<std::string>{notice} : std::vector<std::string>{});
  }
}

TEST_F(FileBaseTest, FurtherOpensCountUsesWithoutReading) {
  HookBook book("5", "6"), other("8", "9");
  const std::string path = Write(EncodeVersionRecord(Version(5, 6)));
  ProbeFile file;
  ASSERT_EQ(file.Open(path.c_str(), book), 0);
  // Neither the other identity nor a missing path is looked at again.
  EXPECT_EQ(file.Open(path.c_str(), other), 0);
  EXPECT_EQ(file.Open(dir.FilePath("absent.idx").c_str(), other), 0);
  EXPECT_TRUE(other.calls.empty());
  EXPECT_EQ(file.Close(), 2);
  EXPECT_EQ(file.Close(), 1);
  EXPECT_TRUE(file.OsFileOpen());
  EXPECT_EQ(file.Close(), 0);
  EXPECT_FALSE(file.OsFileOpen());
  EXPECT_EQ(file.Open(path.c_str(), other), ORVA_ERR_ID_MISMATCH) << "a new first open checks again";
  EXPECT_EQ(file.GetRefCount(), 0);
}

TEST_F(FileBaseTest, VersionRecordLengthsAndVariableRecords) {
  // L = 6: the ids only, the rest zero; the record behind it must not leak in.
  HookBook book("7", "9");
  ByteWriter shortRecord;
  orva::writer::WriteVersionRecord(shortRecord, Version(7, 9, 5, 5, 6));
  shortRecord.U16(20).Bytes(Bytes(18, 0xAB));
  cFileBase file;
  ASSERT_EQ(file.Open(Write(shortRecord.Data()).c_str(), book), 0);
  EXPECT_EQ(BytesOf(*file.VersionRecord()), (Bytes{6, 0, 7, 0, 9, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(file.Close(), 0);

  // L = 40: the first 18 bytes are held, the uninterpreted ones unchanged.
  VersionFields longRecord = Version(7, 9, 1, 7, 40);
  std::memcpy(longRecord.reserved1, "\x01\xFE\x00\x80", 4);
  std::memcpy(longRecord.reserved2, "\xFF\x02\x7F\x00\x55\xAA", 6);
  ByteWriter out;
  orva::writer::WriteVersionRecord(out, longRecord);  // 0..39
  out.U16(7).Text("hello");                           // 40..46
  out.U16(0);                                         // 47..48: L = 0
  out.U16(2);                                         // 49..50: the length field only
  out.U16(9).Text("abc");                             // 51..55: runs past the end
  const Bytes bytes = out.Take();
  ASSERT_EQ(file.Open(Write(bytes).c_str(), book), 0);
  EXPECT_EQ(BytesOf(*file.VersionRecord()), Bytes(bytes.begin(), bytes.begin() + 18));
  // The record at `position` and the position afterwards.
  auto recordAt = [&](LONG position) {
    void* record = nullptr;
    const WORD length = file.GetVariableRecord(position, &record);
    Bytes got(static_cast<const BYTE*>(record), static_cast<const BYTE*>(record) + length);
    ::operator delete(record);
    return std::make_pair(got, file.Seek(0, CFile::current));
  };

  // GetRecordSize leaves the position at the record.
  EXPECT_EQ(file.GetRecordSize(40), 7);
  Bytes viaRead(7);
  EXPECT_EQ(file.Read(viaRead.data(), 7), 7u);
  EXPECT_EQ(viaRead, Bytes(bytes.begin() + 40, bytes.begin() + 47));
  EXPECT_EQ(recordAt(40), std::make_pair(viaRead, LONG{47}));
  EXPECT_EQ(recordAt(47), std::make_pair(Bytes{}, LONG{47}));
  EXPECT_EQ(recordAt(49), std::make_pair(Bytes{2, 0}, LONG{51}));

  // A record that runs past the end: the buffer is the caller's all the same.
  void* record = nullptr;
  EXPECT_ORVA_FILE_EXCEPTION(file.GetVariableRecord(51, &record), CFileException::endOfFile);
  EXPECT_NE(record, nullptr);
  ::operator delete(record);
  EXPECT_ORVA_FILE_EXCEPTION(file.GetRecordSize(55), CFileException::endOfFile);
  EXPECT_EQ(file.Seek(-3, CFile::end), 53);
  EXPECT_ORVA_FILE_EXCEPTION(file.Read(viaRead.data(), 4), CFileException::endOfFile);
  EXPECT_EQ(orva::test::Raised([&] { file.Seek(-1, CFile::begin); }).substr(0, 2), "9/") << "bad seek";
  EXPECT_EQ(file.Close(), 0);
}

TEST(PlatformFile, MappedBufferedAndSmallFilesReadTheSameBytes) {
  orva::writer::TempBookDir dir;
  constexpr LONG kWindow = 64 * 1024;
  Bytes bytes(2 * kWindow + 123);
  std::mt19937 random(7);
  for (auto& b : bytes) b = static_cast<std::uint8_t>(random());
  dir.WriteFile("data.bin", bytes);
  const std::string path = dir.FilePath("data.bin");
  CFile mapped, buffered;
  ASSERT_TRUE(mapped.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone));
  ASSERT_TRUE(buffered.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone | CFile::osBuffered));
  EXPECT_TRUE(mapped.IsMapped());
  EXPECT_FALSE(buffered.IsMapped());

  // Reads that straddle a window boundary, start or end on it, go back across it,
  // and run up to and past the end (a position beyond the end reads nothing).
  const LONG end = static_cast<LONG>(bytes.size());
  const std::pair<LONG, UINT> reads[] = {{0, 10},           {kWindow - 3, 7},     {kWindow, 1},    {kWindow - 1, 1},
                                         {10, 2 * kWindow}, {2 * kWindow - 1, 2}, {end - 5, 5},    {end - 5, 100},
                                         {end, 1},          {end + 10, 1},        {kWindow + 1, 1}};
  for (const auto& [position, count] : reads) {
    SCOPED_TRACE(position);
    for (CFile* file : {&mapped, &buffered}) {
      EXPECT_EQ(file->Seek(position, CFile::begin), position);
      Bytes got(count);
      const UINT n = file->Read(got.data(), count);
      ASSERT_EQ(n, position >= end ? 0u : std::min<UINT>(count, static_cast<UINT>(end - position)));
      EXPECT_TRUE(std::equal(got.begin(), got.begin() + n, bytes.begin() + std::min(position, end)));
      EXPECT_EQ(file->GetPosition(), static_cast<DWORD>(position) + n);
    }
  }

  // Small files are read whole at open.
  for (const size_t size : {size_t{1}, size_t{100}, size_t{64 * 1024}}) {
    Bytes small(size);
    for (size_t i = 0; i < size; ++i) small[i] = static_cast<std::uint8_t>(i * 31 + size);
    dir.WriteFile("small.bin", small);
    CFile file;
    ASSERT_TRUE(file.Open(dir.FilePath("small.bin").c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_TRUE(file.IsMapped()) << "every byte in memory";
    // Truncating the file on disk changes nothing for the reader that has it.
    dir.WriteFile("small.bin", {});
    Bytes got(size + 5);
    EXPECT_EQ(file.Read(got.data(), static_cast<UINT>(got.size())), size);
    got.resize(size);
    EXPECT_EQ(got, small) << size;
  }
}

TEST(PlatformFile, OnlyRegularFilesOpenAndNothingBlocks) {
  orva::writer::TempBookDir dir;
  const std::string fifo = dir.FilePath("pipe");
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  for (const std::string& path : {fifo, dir.Path(), dir.FilePath("missing")}) {
    CFile file;
    CFileException error;
    ::alarm(10);  // a pipe without a writer must not hold the open
    EXPECT_FALSE(file.Open(path.c_str(), CFile::modeRead | CFile::shareDenyNone, &error)) << path;
    ::alarm(0);
    EXPECT_EQ(error.m_cause, path == dir.FilePath("missing") ? CFileException::fileNotFound
                                                             : CFileException::accessDenied)
        << path;
  }
}

}  // namespace
