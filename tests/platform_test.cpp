// The platform stand-ins where they could go wrong: file windows, clamping,
// rounding, cutting and folding.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "platform/platform.h"
#include "tests/test_support.h"
#include "writer/book_dir.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using orva::test::CatchFileException;

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
  mapped.Seek(3, CFile::begin);
  EXPECT_EQ(CatchFileException([&] { mapped.Seek(-4, CFile::current); }).cause, CFileException::badSeek);
  EXPECT_EQ(CatchFileException([&] { buffered.Seek(-end - 1, CFile::end); }).cause, CFileException::badSeek);
}

TEST(PlatformFile, OpenFailuresAndEmptyFile) {
  orva::writer::TempBookDir dir;
  CFile file;
  CFileException missing, directory;
  EXPECT_FALSE(file.Open(dir.FilePath("missing").c_str(), CFile::modeRead, &missing));
  EXPECT_EQ(missing.m_cause, CFileException::fileNotFound);
  EXPECT_FALSE(file.Open(dir.SubDir("sub").c_str(), CFile::modeRead, &directory));
  EXPECT_EQ(directory.m_cause, CFileException::accessDenied);
  EXPECT_FALSE(file.IsOpen());
  dir.WriteFile("empty", {});
  for (UINT flags : {UINT{CFile::modeRead}, UINT{CFile::osBuffered}}) {
    ASSERT_TRUE(file.Open(dir.FilePath("empty").c_str(), flags));
    BYTE b = 0;
    EXPECT_EQ(file.Read(&b, 1), 0u);
  }
}

TEST(PlatformString, SubstringsClampAndCompareNoCase) {
  const CString s("abcdef");
  EXPECT_EQ(s.Left(-1), "");
  EXPECT_EQ(s.Left(99), "abcdef");
  EXPECT_EQ(s.Mid(-3), "abcdef");
  EXPECT_EQ(s.Mid(4, 99), "ef");
  EXPECT_EQ(s.Mid(99, 2), "");
  EXPECT_EQ(s.Mid(2, -1), "");
  EXPECT_EQ(s.Right(99), "abcdef");
  EXPECT_EQ(s.Right(-1), "");
  EXPECT_EQ(CString("a\0b", 3).Right(1), "b");

  EXPECT_EQ(CString("Hello").CompareNoCase("hELLO"), 0);
  EXPECT_LT(CString("abc").CompareNoCase("ABD"), 0);
  // Letters fold to lower case: '_' (0x5F) sorts above 'A' but below 'a'.
  EXPECT_GT(CString("_").Compare("A"), 0);
  EXPECT_LT(CString("_").CompareNoCase("A"), 0);
  EXPECT_GT(CString("\xE4").CompareNoCase("\xC4"), 0);
}

TEST(PlatformArray, SizingGrowingCopyingAndBounds) {
  CUIntArray a;
  a.SetAtGrow(4, 9);
  EXPECT_EQ(a.GetSize(), 5);
  EXPECT_EQ(a[0] + a[4], 9u);
  a.SetSize(2);
  a.SetSize(3);
  EXPECT_EQ(a[2], 0u);
  a.SetSize(-1);
  EXPECT_EQ(a.GetSize(), 0);

  CStringArray s, copy;
  s.Add("one");
  s.Add("two");
  copy.SetSize(3);
  copy.Copy(s);
  ASSERT_EQ(copy.GetSize(), 2);
  EXPECT_EQ(copy[1], "two");
  for (int bad : {-1, 2}) EXPECT_EQ(CatchFileException([&] { s.GetAt(bad); }).cause, CFileException::generic);
  EXPECT_EQ(CatchFileException([&] { s.SetAtGrow(-1, "x"); }).cause, CFileException::generic);
  EXPECT_EQ(s.GetSize(), 2);
}

TEST(PlatformList, AddRemoveFind) {
  CObject a, b, c;
  CObList list;
  list.AddTail(&b);
  const POSITION pc = list.AddTail(&c);
  list.AddHead(&a);
  list.AddTail(&b);
  auto contents = [&] {
    std::vector<CObject*> order;
    for (POSITION p = list.GetHeadPosition(); p;) order.push_back(list.GetNext(p));
    return order;
  };
  EXPECT_EQ(contents(), (std::vector<CObject*>{&a, &b, &c, &b}));
  const POSITION secondB = list.Find(&b, list.Find(&b));
  EXPECT_EQ(secondB, list.GetTailPosition());
  EXPECT_EQ(list.Find(&b, secondB), nullptr);
  list.RemoveAt(pc);
  list.RemoveAt(list.GetHeadPosition());
  list.RemoveAt(list.GetTailPosition());
  EXPECT_EQ(contents(), std::vector<CObject*>{&b});
  EXPECT_EQ(list.GetHeadPosition(), list.GetTailPosition());
  EXPECT_EQ(list.Find(&c), nullptr);
  list.RemoveAll();
  EXPECT_EQ(list.GetTailPosition(), nullptr);
  list.AddTail(&a);
  EXPECT_EQ(list.GetAt(list.GetHeadPosition()), &a);
}

TEST(PlatformWinApi, MulDivRoundsHalfAwayFromZero) {
  EXPECT_EQ(MulDiv(5, 1, 2), 3);
  EXPECT_EQ(MulDiv(-5, 1, 2), -3);
  EXPECT_EQ(MulDiv(5, 1, -2), -3);
  EXPECT_EQ(MulDiv(-5, 1, -2), 3);
  EXPECT_EQ(MulDiv(4, 1, 3), 1);
  EXPECT_EQ(MulDiv(-5, 1, 3), -2);
  EXPECT_EQ(MulDiv(INT_MAX, INT_MAX, INT_MAX), INT_MAX);  // the product needs 64 bits
  EXPECT_EQ(MulDiv(INT_MAX, 2, 1), -1);
  EXPECT_EQ(MulDiv(1, 1, 0), -1);
}

TEST(PlatformWinApi, FormatCutsAndTerminates) {
  char buffer[8];
  std::memset(buffer, 'x', sizeof buffer);
  EXPECT_EQ(AfxFormatBuffer(buffer, 5, "%s-%d", "abcdef", 42), 4);
  EXPECT_STREQ(buffer, "abcd");
  EXPECT_EQ(buffer[5], 'x');
  EXPECT_EQ(AfxFormatBuffer(buffer, sizeof buffer, "%d", 12), 2);
  EXPECT_STREQ(buffer, "12");
  std::vector<char> big(512, 'x');
  EXPECT_EQ(AfxFormatBuffer(big.data(), big.size(), "%s!", std::string(1000, 'q').c_str()), 511);
  EXPECT_EQ(std::strlen(big.data()), 511u);
}

TEST(PlatformWinApi, MbsCompareAndAtoi) {
  auto icmp = [](const char* a, const char* b) {
    return _mbsicmp(reinterpret_cast<const unsigned char*>(a), reinterpret_cast<const unsigned char*>(b));
  };
  EXPECT_EQ(icmp("ABC", "abc"), 0);
  EXPECT_EQ(icmp("\xC4", "\xE4"), -1);
  EXPECT_EQ(icmp("[", "a"), -1);  // '[' (0x5B) sorts below the letters once they fold down
  EXPECT_EQ(icmp("Z", "_"), 1);
  EXPECT_EQ(icmp("\x80", "z"), 1);  // bytes compare unsigned
  EXPECT_EQ(icmp("ab", "ABC"), -1);
  EXPECT_EQ(_mbscmp(reinterpret_cast<const unsigned char*>("Z"), reinterpret_cast<const unsigned char*>("_")), -1);

  // atoi: blanks, a sign, digits; saturating at the range of int.
  EXPECT_EQ(RuntimeAtoi(" \t\n-0042x"), -42);
  EXPECT_EQ(RuntimeAtoi("- 7"), 0);
  EXPECT_EQ(RuntimeAtoi("abc"), 0);
  EXPECT_EQ(RuntimeAtoi("2147483648"), INT_MAX);
  EXPECT_EQ(RuntimeAtoi("-2147483648"), INT_MIN);
  EXPECT_EQ(RuntimeAtoi("-99999999999999999999999"), INT_MIN);
  EXPECT_EQ(RuntimeAtoi("99999999999999999999999"), INT_MAX);
}

}  // namespace
