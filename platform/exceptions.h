// The framework's exceptions. They are thrown as pointers to heap objects: whoever
// catches one owns it and calls Delete(), which frees it unless it is a static
// instance (the memory exception used when there is no memory left to throw with).
#pragma once

#include <new>

#include "platform/cstring.h"
#include "platform/object.h"
#include "platform/types.h"

class CException : public CObject {
 public:
  explicit CException(bool autoDelete = true) : m_bAutoDelete(autoDelete) {}
  // Frees a heap exception; does nothing for a static one.
  void Delete();

 private:
  bool m_bAutoDelete;
};

class CMemoryException : public CException {
 public:
  using CException::CException;
};

class CFileException : public CException {
 public:
  // The causes; the book object's error codes 0 to 14 are these numbers.
  enum {
    none = 0,
    generic = 1,
    fileNotFound = 2,
    badPath = 3,
    tooManyOpenFiles = 4,
    accessDenied = 5,
    invalidFile = 6,
    removeCurrentDir = 7,
    directoryFull = 8,
    badSeek = 9,
    hardIO = 10,
    sharingViolation = 11,
    lockViolation = 12,
    diskFull = 13,
    endOfFile = 14,
  };

  explicit CFileException(int cause = none, LONG osError = -1, const char* fileName = nullptr)
      : m_cause(cause), m_lOsError(osError), m_strFileName(fileName) {}

  // The cause for an operating-system error number (errno): a missing file is
  // fileNotFound, a bad directory part badPath, a refused permission accessDenied,
  // and so on; numbers without a closer cause give generic.
  static int OsErrorToException(LONG osError);

  int m_cause;
  LONG m_lOsError;
  CString m_strFileName;
};

// Throw `new CFileException(cause, osError, fileName)`.
[[noreturn]] void AfxThrowFileException(int cause, LONG osError = -1, const char* fileName = nullptr);
// Throw a CMemoryException*; when even that cannot be allocated, a static instance.
[[noreturn]] void AfxThrowMemoryException();

// Runs `allocate` and turns the language's std::bad_alloc into the framework's
// memory exception, so that a host sees one kind of allocation failure.
template <class F>
auto AfxAllocating(F&& allocate) -> decltype(allocate()) {
  try {
    return allocate();
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
}
