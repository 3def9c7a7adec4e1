// Coded lists: ascending lists of numbers stored as Golomb codes of their gaps, the
// remainders in truncated binary, packed most significant bit first from a byte
// boundary.
//
// A list of n values with range R has the parameter b = round(69 * R / 100) div n
// (R taken as a signed 32-bit number, halves rounded away from zero, the quotient
// unsigned; b = 1 when that gives 0), k = ceil(log2 b) and t = 2^k - b. A value v
// is v div b one-bits and a zero-bit, then the remainder r = v mod b in k-1 bits
// when r < t, else r + t in k bits (no remainder bits when b = 1). The first entry
// of a list is its first value; every later entry is the previous one plus the
// value plus 1, in unsigned 32-bit arithmetic, so a list is strictly ascending. A
// list that continues a sequence started elsewhere treats its first value as a gap
// from the given start as well.
#pragma once

#include "concordance/bit_reader.h"
#include "files/file_checks.h"
#include "orvada/file_base.h"
#include "platform/types.h"

namespace orva {

struct GolombParameter {
  DWORD b;  // the divisor, at least 1
  int k;    // ceil(log2 b): 0 ... 32
  DWORD t;  // 2^k - b: remainders below t take k-1 bits
};

// The parameter of a list of `count` values (count >= 1) with range `range`.
GolombParameter GolombParameterFor(DWORD range, DWORD count);

// Decodes `values` entries of a coded list into out[0 ... values-1], reading from
// the file's current position (the list's first byte) with a fresh bit reader.
// `count` is the value count that the parameter is computed from (the file format
// may decode fewer values than that); `start` is null for a list that starts its
// own sequence, else the entry before out[0]. Entries are stored truncated to T.
//
// A count of 0 raises the generic file exception (CFileException*, cause 1) before
// anything is read: no valid file holds such a list. A list that runs past the end
// of the file raises the end-of-file exception; `out` then holds the entries
// decoded so far. Afterwards the file is positioned just after the list's last
// byte. The caller sizes `out` after checking the count against the file
// (CheckCodedListFits). The first form takes the parameter computed already.
template <class T>
void DecodeCodedList(cFileBase& file, const GolombParameter& p, DWORD values, const DWORD* start, T* out) {
  cBitReader bits(file);
  DWORD entry = start ? *start : 0;
  if (p.b == 1) {  // no remainders: runs of 1-bits alone
    bits.ReadUnaryEntries(values, entry, start == nullptr, out);
    bits.Finish();
    return;
  }
  for (DWORD i = 0; i < values; ++i) {
    const DWORD q = bits.ReadUnary(p.b);
    const DWORD r = p.b > 1 ? bits.ReadTruncated(p.k, p.t) : 0;
    const DWORD v = q + r;
    entry = (i == 0 && start == nullptr) ? v : entry + v + 1;
    out[i] = static_cast<T>(entry);
  }
  bits.Finish();
}

// Decodes the next `values` entries of a list that goes on after the entry
// `previous` (every value a gap) from `bits`, into out[0 ... values-1].
inline void DecodeValues(cBitReader& bits, const GolombParameter& p, DWORD values, DWORD previous, UINT* out) {
  DWORD entry = previous;
  for (DWORD i = 0; i < values; ++i) {
    const DWORD q = bits.ReadUnary(p.b);
    const DWORD r = p.b > 1 ? bits.ReadTruncated(p.k, p.t) : 0;
    entry += q + r + 1;
    out[i] = entry;
  }
}

template <class T>
void DecodeCodedList(cFileBase& file, DWORD count, DWORD values, DWORD range, const DWORD* start, T* out) {
  if (count == 0) ThrowDamaged();
  DecodeCodedList(file, GolombParameterFor(range, count), values, start, out);
}

// Every value takes at least one bit: raises the end-of-file exception when
// `values` values cannot fit in the bytes from `position` to the end of the file,
// so that no array is sized for a list the file cannot hold, and the generic one
// for more values than an array can hold (2^31 - 1).
inline void CheckCodedListFits(const cFileBase& file, long long position, unsigned long long values) {
  if (BytesFrom(file, position) < (values + 7) / 8) AfxThrowFileException(CFileException::endOfFile);
  if (values > 0x7FFFFFFF) ThrowDamaged();
}

// Reads the whole coded list of `count` values at `position`, a list that starts
// its own sequence, into `array` (CUIntArray or CWordArray), resized to `count`. A
// count of 0, or one the bytes left cannot hold, raises as above before the array
// is touched.
template <class Array>
void ReadCodedList(cFileBase& file, long long position, DWORD count, DWORD range, Array& array) {
  if (count == 0) ThrowDamaged();
  ReadCodedList(file, position, count, GolombParameterFor(range, count), array);
}

// The same with the list's parameter given (count >= 1).
template <class Array>
void ReadCodedList(cFileBase& file, long long position, DWORD count, const GolombParameter& p, Array& array) {
  CheckCodedListFits(file, position, count);
  file.Seek(static_cast<LONG>(position), CFile::begin);
  array.SetSize(static_cast<int>(count));
  DecodeCodedList(file, p, count, nullptr, array.GetData());
}

}  // namespace orva
