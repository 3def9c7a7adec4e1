#include "platform/exceptions.h"

#include <cerrno>
#include <new>

void CException::Delete() {
  if (m_bAutoDelete) delete this;
}

int CFileException::OsErrorToException(LONG osError) {
  switch (osError) {
    case 0:
      return none;
    case ENOENT:
      return fileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG:
    case ELOOP:
    case EINVAL:
      return badPath;
    case EMFILE:
    case ENFILE:
      return tooManyOpenFiles;
    case EACCES:
    case EPERM:
    case EISDIR:
    case EROFS:
      return accessDenied;
    case EBADF:
      return invalidFile;
    case EBUSY:
    case ETXTBSY:
      return sharingViolation;
    case ENOLCK:
      return lockViolation;
    case ESPIPE:
      return badSeek;
    case EIO:
      return hardIO;
    case ENOSPC:
    case EDQUOT:
      return diskFull;
    default:
      return generic;
  }
}

void AfxThrowFileException(int cause, LONG osError, const char* fileName) {
  CFileException* e = new (std::nothrow) CFileException(cause, osError, fileName);
  if (e == nullptr) AfxThrowMemoryException();
  throw e;
}

void AfxThrowMemoryException() {
  static CMemoryException outOfMemory(false);
  CMemoryException* e = new (std::nothrow) CMemoryException();
  throw e ? e : &outOfMemory;
}
