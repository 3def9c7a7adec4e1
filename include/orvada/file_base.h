// cFileBase: the reader under every file of a book.
//
// It owns the operating-system file, opens it read-only and shared, reads and checks
// the version record at its head, and counts how many book objects use it (the
// shared book store opens each file once and counts the further opens). Opening
// reports a result code (0, the error codes 1-14 of a failed open, 15 for a file of
// another book, 16 for a file of a newer format); reading raises the framework's
// file exception: CFileException* with cause endOfFile (14), OS error -1 and no file
// name for every short read.
#pragma once

#include "orvada/version_record.h"
#include "platform/cstring.h"
#include "platform/file.h"
#include "platform/object.h"
#include "platform/types.h"

class cBookStore;
class cORVABookBase;

class cFileBase : public CObject {
 public:
  cFileBase() = default;
  ~cFileBase() override = default;
  cFileBase(const cFileBase&) = delete;
  cFileBase& operator=(const cFileBase&) = delete;

  // Opens `path` for `book`. When the file is open already, adds a use and returns
  // 0 without reading or checking anything. Otherwise opens the file, reads its
  // version record and checks it against the book's identifiers and the library's
  // format version (calling the book's hooks on a mismatch); returns 0 with one use,
  // or an error code with the file closed. A file shorter than two bytes, or than
  // its version record, raises the end-of-file exception and stays closed.
  int Open(const char* path, cORVABookBase& book);
  // Gives one use back, closing the file at 0; returns the remaining uses.
  int Close();
  int GetRefCount() const { return m_nRefCount; }

  // Reads exactly `count` bytes at the current position, or raises end-of-file.
  UINT Read(void* buffer, UINT count) {
    if (m_File.Read(buffer, count) < count) ThrowEndOfFile();
    return count;
  }
  // Moves the position as CFile::Seek does (origin 0 start, 1 current, 2 end) and
  // returns the new position.
  LONG Seek(LONG offset, UINT from) { return m_File.Seek(offset, from); }
  // The length L of the variable record at `position`; the position is left there.
  WORD GetRecordSize(LONG position);
  // The whole variable record at `position` (length field included) in a new
  // buffer of L bytes allocated with the global operator new: the caller owns it,
  // also when reading its contents raises, and frees it with ::operator delete.
  // Returns L; the position is left at `position` + L.
  WORD GetVariableRecord(LONG position, void** record);
  // Reads the version record: its first min(L, 18) bytes, the rest zero.
  void GetVersionRecord();
  // The version record, read first if it has not been read; valid while the object lives.
  const sVersionRecord* VersionRecord();

  // 0 when the file's publisher and book ids equal the book's (its id strings read
  // as decimal, low 16 bits); otherwise calls the book's PubIDBookIDMismatch and
  // returns 15.
  int ValidatePubAndBookID(cORVABookBase& book, const char* path);
  // Without a client program version: 16 after the book's
  // LeastCompatibleORVAVersionError when the file needs a format above 2.0, else 0.
  // With one: 16, silently, when it starts with '2' and the file's least-compatible
  // major version is 2 or more, else 0.
  int ValidateLCSVersion(cORVABookBase& book, const char* path);

  // The length of the open file in bytes: readers check offsets and counts against
  // it before they allocate or read.
  DWORD GetFileLength() const { return m_File.GetLength(); }

 protected:
  [[noreturn]] static void ThrowEndOfFile();

  // The open member of every file object: opens `path` for `book` and, on the first
  // successful open of this object, records `store` as its owner and runs
  // `readHeader`. If that raises, the use is given back and the owner forgotten
  // before the exception goes on, so the file counts as closed.
  template <class ReadHeader>
  int OpenInStore(cBookStore& store, cORVABookBase& book, const CString& path, ReadHeader readHeader);

  cBookStore* m_pOwner = nullptr;
  CFile m_File;
  sVersionRecord m_VersionRecord{};
  WORD m_wVersionRecordLength = 0;
  int m_nRefCount = 0;
};

template <class ReadHeader>
int cFileBase::OpenInStore(cBookStore& store, cORVABookBase& book, const CString& path, ReadHeader readHeader) {
  const int result = Open(path, book);
  if (result != 0 || m_pOwner != nullptr) return result;
  m_pOwner = &store;
  try {
    readHeader();
  } catch (...) {
    m_pOwner = nullptr;
    Close();
    throw;
  }
  return 0;
}
