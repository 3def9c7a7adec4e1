// The file stand-in: its two read paths give the same bytes, around window
// boundaries and the end of the file, and only regular files open.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "writer/book_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

TEST(PlatformFile, MappedAndBufferedReadTheSameBytes) {
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
}

TEST(PlatformFile, SmallFilesAreReadWholeAtOpen) {
  orva::writer::TempBookDir dir;
  for (const size_t size : {size_t{1}, size_t{100}, size_t{64 * 1024}}) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<std::uint8_t>(i * 31 + size);
    dir.WriteFile("small.bin", bytes);
    CFile file;
    ASSERT_TRUE(file.Open(dir.FilePath("small.bin").c_str(), CFile::modeRead | CFile::shareDenyNone));
    EXPECT_TRUE(file.IsMapped()) << "every byte in memory";
    // Truncating the file on disk changes nothing for the reader that has it.
    dir.WriteFile("small.bin", {});
    Bytes got(size + 5);
    EXPECT_EQ(file.Read(got.data(), static_cast<UINT>(got.size())), size);
    got.resize(size);
    EXPECT_EQ(got, bytes) << size;
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
