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

  // Where a reader stands: a new reader made from it goes on from there, whatever
  // was read from the file in between.
  struct Place {
    long long next = 0;               // the next byte to load
    unsigned long long remaining = 0;  // bytes of the file from `next` on
    unsigned long long bits = 0;       // loaded bits not read yet, as m_bits holds them
    int count = 0;
  };
  // The place of a list that begins at byte `position`.
  static Place Start(const cFileBase& file, long long position) {
    return {position, orva::BytesFrom(file, position), 0, 0};
  }
  cBitReader(cFileBase& file, const Place& place)
      : m_File(file), m_start(place.next), m_remaining(place.remaining), m_bits(place.bits), m_nCount(place.count) {
    file.Seek(static_cast<LONG>(place.next), CFile::begin);
  }
  Place Here() const { return {m_start + m_loaded, m_remaining, m_bits, m_nCount}; }
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

  // Reads `values` runs of 1-bits, each ended by a 0-bit, as the entries of a list
  // with divisor 1 (no remainders): out[i] = the entry before + run + 1, where
  // the entry before out[0] is `entry`, or with `direct` out[0] is its run alone.
  // A frequent word's keys are such a list. Each entry then is its 0-bit's place
  // in the list plus a constant, so the 0-bits of the loaded bits are taken all
  // at once, lowest first, rather than one run after another.
  template <class T>
  void ReadUnaryEntries(DWORD values, DWORD entry, bool direct, T* out) {
    // entry = base + (the place of its 0-bit, counted from the first bit read here)
    const DWORD base = direct ? 0 : entry + 1;
    DWORD taken = 0;  // bits read here before the loaded ones, modulo 2^32
    DWORD i = 0;
    while (i < values) {
      if (m_nCount < kRefillBelow) Refill();
      if (m_nCount == 0) ThrowEndOfFile();
      const unsigned long long zeros = ~m_bits & (~0ull << (64 - m_nCount));
      const auto found = static_cast<DWORD>(__builtin_popcountll(zeros));
      if (found > values - i) {  // the list ends within these bits: one run at a time
        for (; i < values; ++i) {
          const int ones = __builtin_clzll(~m_bits);
          Drop(ones + 1);
          taken += static_cast<DWORD>(ones) + 1;
          out[i] = static_cast<T>(base + taken - 1);
        }
        return;
      }
      T* at = out + i + found;
      for (unsigned long long z = zeros; z != 0; z &= z - 1) {
        *--at = static_cast<T>(base + taken + static_cast<DWORD>(63 - __builtin_ctzll(z)));
      }
      i += found;
      // Up to and with the last 0-bit, or every loaded bit when none is a 0-bit.
      const int used = found > 0 ? 64 - __builtin_ctzll(zeros) : m_nCount;
      Drop(used);
      taken += static_cast<DWORD>(used);
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
