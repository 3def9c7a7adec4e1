// cBitReader: the bits of a coded list, read from a cFileBase at its current
// position, each byte from its most significant bit down.
//
// A list ends wherever its last value ends, and the file may end right there. The
// reader takes bytes from the file through cFileBase::Read several at a time, but
// never beyond the end of the file, and raises the end-of-file exception
// (CFileException*, cause 14, OS error -1, no file name) only when a bit it must
// return lies beyond the end: exactly when reading the file one byte at a time, a
// byte only when one of its bits is needed, would raise it. Finish() puts the file
// position just after the last byte whose bits were used, as such a reader would
// leave it. The reader allocates nothing; the unread bits live in one word, so that
// a run of 1-bits or a remainder is taken whole, not bit by bit.
#pragma once

#include "files/file_checks.h"
#include "orvada/file_base.h"
#include "platform/exceptions.h"
#include "platform/types.h"

class cBitReader {
 public:
  // Starts at the file's current position, with no bits loaded.
  explicit cBitReader(cFileBase& file)
      : m_File(file), m_start(file.Seek(0, CFile::current)), m_remaining(orva::BytesFrom(file, m_start)) {}
  cBitReader(const cBitReader&) = delete;
  cBitReader& operator=(const cBitReader&) = delete;

  // The next bit: 0 or 1.
  int ReadBit() {
    Need(1);
    const int bit = static_cast<int>(m_bits >> 63);
    Drop(1);
    return bit;
  }

  // Reads a run of 1-bits and the 0-bit that ends it; returns `step` times the
  // number of 1-bits, modulo 2^32.
  DWORD ReadUnary(DWORD step) {
    DWORD sum = 0;
    for (;;) {
      if (m_nCount < kRefillBelow) Refill();
      // The bits below the loaded ones are 0, so the run ends within them or
      // right after them.
      const int ones = __builtin_clzll(~m_bits);
      if (ones < m_nCount) {
        Drop(ones + 1);
        return sum + step * static_cast<DWORD>(ones);
      }
      if (m_remaining == 0) ThrowEndOfFile();
      sum += step * static_cast<DWORD>(m_nCount);
      Drop(m_nCount);
    }
  }

  // The next `count` bits (0 to 32) as a number, the first bit most significant.
  DWORD ReadBits(int count) {
    if (count == 0) return 0;
    Need(count);
    const auto value = static_cast<DWORD>(m_bits >> (64 - count));
    Drop(count);
    return value;
  }

  // A remainder in truncated binary (1 <= k <= 32, 0 <= t < 2^k): k-1 bits r, and
  // when r >= t one more bit e, giving 2r + e - t.
  DWORD ReadTruncated(int k, DWORD t) {
    if (m_nCount < k) Refill();
    if (m_nCount >= k) {
      // Both readings at once: the extra bit is taken only when it belongs.
      const auto bits = static_cast<DWORD>(m_bits >> (64 - k));
      const bool extra = (bits >> 1) >= t;
      Drop(k - 1 + static_cast<int>(extra));
      return extra ? bits - t : bits >> 1;
    }
    const DWORD r = ReadBits(k - 1);
    return r >= t ? 2 * r + static_cast<DWORD>(ReadBit()) - t : r;
  }

  // Positions the file just after the last byte whose bits were used.
  void Finish() { m_File.Seek(static_cast<LONG>(m_start + m_loaded - m_nCount / 8), CFile::begin); }

 private:
  // A refill below this many bits leaves at least 49 (when the file has them), enough
  // for any remainder; the word holds at most 56, so a 0-bit always lies below them.
  static constexpr int kRefillBelow = 33;
  static constexpr int kMostBits = 56;

  [[noreturn]] static void ThrowEndOfFile() { AfxThrowFileException(CFileException::endOfFile); }

  void Need(int count) {
    if (m_nCount < count) Refill();
    if (m_nCount < count) ThrowEndOfFile();
  }
  void Drop(int count) {
    m_bits <<= count;
    m_nCount -= count;
  }
  // Loads whole bytes while they fit in the word and the file has them.
  void Refill() {
    const unsigned long long room = static_cast<unsigned long long>(kMostBits - m_nCount) / 8;
    const UINT count = static_cast<UINT>(room < m_remaining ? room : m_remaining);
    if (count == 0) return;
    BYTE bytes[8];
    m_File.Read(bytes, count);
    for (UINT i = 0; i < count; ++i) {
      m_bits |= static_cast<unsigned long long>(bytes[i]) << (56 - m_nCount);
      m_nCount += 8;
    }
    m_remaining -= count;
    m_loaded += count;
  }

  cFileBase& m_File;
  const long long m_start;
  unsigned long long m_remaining;  // bytes of the file after those loaded
  long long m_loaded = 0;          // bytes loaded since the start
  // The loaded bits not read yet, the next one in the top bit, zeros below them.
  unsigned long long m_bits = 0;
  int m_nCount = 0;
};
