// Checks that the readers of the concordance and the verses index make before they
// trust a position or a count read from a file: each compares what is needed with
// the bytes that remain, by subtraction, so that no sum can overflow.
#pragma once

#include "orvada/file_base.h"
#include "platform/exceptions.h"

namespace orva {

// The bytes of `file` from `position` to its end; 0 at or past the end.
inline unsigned long long BytesFrom(const cFileBase& file, long long position) {
  const long long length = file.GetFileLength();
  return position >= 0 && position < length ? static_cast<unsigned long long>(length - position) : 0;
}

// Raises the end-of-file exception unless `position` lies in the file (its end
// included) and `need` bytes follow it.
inline void RequireBytes(const cFileBase& file, long long position, unsigned long long need) {
  const long long length = file.GetFileLength();
  if (position < 0 || position > length || static_cast<unsigned long long>(length - position) < need) {
    AfxThrowFileException(CFileException::endOfFile);
  }
}

// Seeks `file` to `position` after checking that `need` bytes lie there; raises the
// end-of-file exception otherwise (also for positions no seek can reach).
inline void SeekToBytes(cFileBase& file, long long position, unsigned long long need) {
  RequireBytes(file, position, need);
  file.Seek(static_cast<LONG>(position), CFile::begin);
}

[[noreturn]] inline void ThrowDamaged() { AfxThrowFileException(CFileException::generic); }

}  // namespace orva
