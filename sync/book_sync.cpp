// The book object's sync members: each checks the book's sync type, then that the
// sync file is open, and reads through the store's sync file object.
#include "book/book_store.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

cFileBase* cORVABookBase::GetSyncFile(DWORD flag) const {
  return m_pStore != nullptr ? m_pStore->GetSyncFile(flag) : nullptr;
}

cSyncFile& cORVABookBase::OpenedSyncFile(DWORD flag) {
  // After the type check the flag is the sync type's, which IsOpen does not mask:
  // the open set decides, and a file object this book did not open is never read.
  if ((m_dwOpenFlags & flag) == 0) ThrowNotOpen();
  // Only the word, Strong's and date flags reach here.
  return *static_cast<cSyncFile*>(GetSyncFile(flag));
}

int cORVABookBase::GetWSyncKey(const char* key) {
  if (GetSyncTypeFlag() != ORVA_WSYNC) return -1;
  return OpenedSyncFile(ORVA_WSYNC).FindSyncKey(key);
}

int cORVABookBase::GetWSyncKeyPartialMatch(const char* key, CString& word) {
  if (GetSyncTypeFlag() != ORVA_WSYNC) return -1;
  return OpenedSyncFile(ORVA_WSYNC).FindSyncKeyPartial(key, word);
}

DWORD cORVABookBase::GetWSyncWordCount() {
  if (GetSyncTypeFlag() != ORVA_WSYNC) return 0;
  return OpenedSyncFile(ORVA_WSYNC).GetWordCount();
}

int cORVABookBase::GetSSyncKey(const char* key) {
  if (GetSyncTypeFlag() != ORVA_SSYNC) return -1;
  return OpenedSyncFile(ORVA_SSYNC).FindSyncKey(key);
}

int cORVABookBase::GetSSyncKeyPartialMatch(const char* key, CString& word) {
  if (GetSyncTypeFlag() != ORVA_SSYNC) return -1;
  return OpenedSyncFile(ORVA_SSYNC).FindSyncKeyPartial(key, word);
}

int cORVABookBase::GetDSyncKey(const char* key) {
  if (GetSyncTypeFlag() != ORVA_DSYNC) return -1;
  return OpenedSyncFile(ORVA_DSYNC).FindSyncKey(key);
}

int cORVABookBase::GetSyncWordAt(int index, CString& word) {
  const DWORD flag = GetSyncTypeFlag();
  RequireOpen(flag);
  auto* file = dynamic_cast<cSyncFile*>(GetSyncFile(flag));
  if (file == nullptr || static_cast<DWORD>(index) >= file->GetWordCount()) return 0;
  try {
    file->ReadSyncWord(index, word);
  } catch (CFileException* e) {
    e->Delete();
    return 0;
  }
  return 1;
}

int cORVABookBase::GetSyncFileSize() {
  const DWORD flag = GetSyncTypeFlag();
  RequireOpen(flag);
  const auto* file = dynamic_cast<const cSyncFile*>(GetSyncFile(flag));
  return file != nullptr ? static_cast<int>(file->GetFileLength()) : 0;
}

int cORVABookBase::GetSyncFileData(char* buffer) {
  const DWORD flag = GetSyncTypeFlag();
  RequireOpen(flag);
  auto* file = dynamic_cast<cSyncFile*>(GetSyncFile(flag));
  if (file == nullptr) return 0;
  const DWORD length = file->GetFileLength();
  file->Seek(0, CFile::begin);
  file->Read(buffer, length);
  return 0;
}

int cORVABookBase::GetSyncWordForPointer(DWORD offset, CString& word) {
  // Not IsOpen: under another sync type it masks the bit away and would pass.
  if ((m_dwOpenFlags & ORVA_WSYNC) == 0) ThrowNotOpen();
  if (offset != 0) m_pStore->m_WSyncFile.ReadWordAt(offset, word);
  return 0;
}

int cORVABookBase::GetVSyncKey(const char* reference) {
  if (GetSyncTypeFlag() != ORVA_VSYNC) return -1;
  RequireOpen(ORVA_VSYNC);
  return m_pStore->m_VSyncFile.FindVerseKey(reference);
}

int cORVABookBase::GetSectionKeyByVerse(const char* reference) { return GetVSyncKey(reference); }
