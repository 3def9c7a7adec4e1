#include "orvada/file_base.h"

#include <algorithm>
#include <cstring>

#include "files/endian.h"
#include "files/file_checks.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"

int cFileBase::Open(const char* path, cORVABookBase& book) {
  if (m_nRefCount > 0) {
    ++m_nRefCount;
    return 0;
  }
  CFileException error;
  if (!m_File.Open(path, CFile::modeRead | CFile::shareDenyNone, &error)) {
    return book.ConvertCauseToErrorCode(error.m_cause);
  }
  try {
    GetVersionRecord();
  } catch (...) {
    m_File.Close();
    throw;
  }
  int result = ValidatePubAndBookID(book, path);
  if (result == 0) result = ValidateLCSVersion(book, path);
  if (result != 0) {
    m_File.Close();
    return result;
  }
  m_nRefCount = 1;
  return 0;
}

int cFileBase::Close() {
  if (m_nRefCount <= 0) return 0;
  if (--m_nRefCount == 0) m_File.Close();
  return m_nRefCount;
}

void cFileBase::ThrowEndOfFile() { AfxThrowFileException(CFileException::endOfFile); }

WORD cFileBase::GetRecordSize(LONG position) {
  Seek(position, CFile::begin);
  unsigned char length[2];
  Read(length, sizeof length);
  Seek(position, CFile::begin);
  return orva::DecodeU16(length);
}

WORD cFileBase::GetVariableRecord(LONG position, void** record) {
  const WORD length = GetRecordSize(position);
  // A record is at most 64 KiB, so its buffer is allocated before the bytes are
  // known to be there: the caller owns it even when the read below raises.
  void* buffer = AfxAllocating([&] { return ::operator new(length); });
  std::memset(buffer, 0, length);
  *record = buffer;
  Read(buffer, length);
  return length;
}

void cFileBase::GetVersionRecord() {
  m_wVersionRecordLength = GetRecordSize(0);
  orva::ReadHeaderRecord(*this, 0, m_VersionRecord);
}

const sVersionRecord* cFileBase::VersionRecord() {
  if (m_wVersionRecordLength == 0) GetVersionRecord();
  return &m_VersionRecord;
}

int cFileBase::ValidatePubAndBookID(cORVABookBase& book, const char* path) {
  const WORD publisher = static_cast<WORD>(RuntimeAtoi(book.GetPublisherID()));
  const WORD bookID = static_cast<WORD>(RuntimeAtoi(book.GetBookID()));
  if (m_VersionRecord.wPublisherID == publisher && m_VersionRecord.wBookID == bookID) return 0;
  book.PubIDBookIDMismatch(path, publisher, bookID, m_VersionRecord.wPublisherID, m_VersionRecord.wBookID);
  return ORVA_ERR_ID_MISMATCH;
}

int cFileBase::ValidateLCSVersion(cORVABookBase& book, const char* path) {
  const CString client = book.GetClientProgramVersion();
  const BYTE major = m_VersionRecord.byLCSMajor;
  const BYTE minor = m_VersionRecord.byLCSMinor;
  if (!client.IsEmpty()) return (client[0] == '2' && major >= 2) ? ORVA_ERR_VERSION : 0;
  if ((major << 8 | minor) <= GetCurrentORVAVersionInfo()) return 0;
  const WORD library = GetCurrentORVAVersionInfo();
  book.LeastCompatibleORVAVersionError(path, static_cast<BYTE>(library >> 8), static_cast<BYTE>(library & 0xFF),
                                       major, minor);
  return ORVA_ERR_VERSION;
}
