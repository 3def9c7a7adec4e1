// cBitReader: the bits of a coded list, pulled from a cFileBase one byte at a time
// at the file's current position, each byte from its most significant bit down.
//
// A reader starts with no byte loaded and reads the next byte only when a bit of it
// is needed, so that it never reads past the last byte of a list, and the file's
// position afterwards is just after that byte. Running out of file raises the
// end-of-file exception (CFileException*, cause 14) of cFileBase::Read. The reader
// allocates nothing and holds one byte.
#pragma once

#include "orvada/file_base.h"
#include "platform/types.h"

class cBitReader {
 public:
  explicit cBitReader(cFileBase& file) : m_File(file) {}
  cBitReader(const cBitReader&) = delete;
  cBitReader& operator=(const cBitReader&) = delete;

  // The next bit: 0 or 1.
  int ReadBit() {
    if (m_nBit < 0) Load();
    return (m_byte >> m_nBit--) & 1;
  }

  // Reads a run of 1-bits and the 0-bit that ends it; returns `step` times the
  // number of 1-bits, modulo 2^32.
  DWORD ReadUnary(DWORD step) {
    DWORD sum = 0;
    for (;;) {
      if (m_nBit < 0) Load();
      // The unread bits of the byte, inverted: the highest set one is the first 0-bit.
      const unsigned zeros = ~static_cast<unsigned>(m_byte) & ((2u << m_nBit) - 1);
      if (zeros == 0) {
        sum += step * static_cast<DWORD>(m_nBit + 1);
        m_nBit = -1;
        continue;
      }
      const int zeroAt = 31 - __builtin_clz(zeros);
      sum += step * static_cast<DWORD>(m_nBit - zeroAt);
      m_nBit = zeroAt - 1;
      return sum;
    }
  }

  // The next `count` bits (0 to 32) as a number, the first bit most significant.
  DWORD ReadBits(int count) {
    DWORD value = 0;
    while (count > 0) {
      if (m_nBit < 0) Load();
      const int available = m_nBit + 1;
      const int taken = count < available ? count : available;
      const unsigned bits = (static_cast<unsigned>(m_byte) >> (available - taken)) & ((1u << taken) - 1);
      value = static_cast<DWORD>((static_cast<unsigned long long>(value) << taken) | bits);
      m_nBit -= taken;
      count -= taken;
    }
    return value;
  }

 private:
  void Load() {
    m_File.Read(&m_byte, 1);
    m_nBit = 7;
  }

  cFileBase& m_File;
  int m_nBit = -1;  // the index of the next bit in m_byte; -1 when no byte is loaded
  BYTE m_byte = 0;
};
