// Checks that every reader makes before it trusts a position or a count read from a
// file: each compares what is needed with the bytes that remain, by subtraction, so
// that no sum can overflow. Failures raise the library's file exceptions: cause
// endOfFile (14) for what lies past the end, generic (1) for malformed fields.
#pragma once

#include <cstddef>
#include <string>

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

// Raises the end-of-file exception unless `count` records of `size` bytes each
// (size above 0) lie in the file from `position` on.
inline void RequireRecords(const cFileBase& file, long long position, unsigned long long count,
                           unsigned long long size) {
  if (BytesFrom(file, position) / size < count) AfxThrowFileException(CFileException::endOfFile);
}

// Reads `count` bytes at `position` into `buffer`, after the check of SeekToBytes.
inline void ReadBytesAt(cFileBase& file, long long position, void* buffer, UINT count) {
  SeekToBytes(file, position, count);
  file.Read(buffer, count);
}

// Reads the header record of an index file: the variable record at `position`
// (the one after the version record). Checks that all of its L bytes lie in the
// file, copies its first min(L, size) bytes over `header`, which is zeroed first
// (so a short record leaves the missing fields 0), and leaves the file positioned
// after the record. Returns L. Only the bytes kept are read: no buffer of the
// record's length is made.
WORD ReadHeaderRecord(cFileBase& file, LONG position, void* header, std::size_t size);
template <class Header>
WORD ReadHeaderRecord(cFileBase& file, LONG position, Header& header) {
  return ReadHeaderRecord(file, position, &header, sizeof header);
}

// Counted text, as the indexes store names and words: an i16 count at `position`,
// then the text. CountAt reads the count, raising generic for a negative one;
// ReadCountedBytes also checks that the whole text lies in the file and reads its
// first `limit` bytes (all of it by default) into `text`, replacing its contents.
// A comparison that a prefix decides reads only that prefix, so that a long text
// that many records share costs no more than a short one. Returns the count.
int CountAt(cFileBase& file, long long position);
int ReadCountedBytes(cFileBase& file, long long position, std::string& text,
                     std::size_t limit = static_cast<std::size_t>(-1));

// The most text one call hands out in names or words (bytes of section names,
// characters of concordance words): far above what any book needs (all the
// section names of a whole Bible hold about 100 KB), far below what a damaged file
// that points many records at one long text could ask for. A member stops with
// the generic file exception before its result grows past it.
constexpr long long kMaxResultText = 1 << 23;

[[noreturn]] inline void ThrowDamaged() { AfxThrowFileException(CFileException::generic); }

}  // namespace orva
