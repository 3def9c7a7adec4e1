#include "orvada/book_base.h"

#include <new>

#include "book/book_folder.h"
#include "book/book_store.h"
#include "platform/exceptions.h"
#include "platform/msgbox.h"
#include "platform/winapi.h"

namespace {

// The ten bits of the parts of a book, in ascending order.
constexpr DWORD kPartBits[] = {ORVA_TEXT,  ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                               ORVA_WSYNC, ORVA_VSYNC,    ORVA_SSYNC,    ORVA_DSYNC,   ORVA_MEDIA};
constexpr DWORD kSyncBits = ORVA_WSYNC | ORVA_VSYNC | ORVA_SSYNC | ORVA_DSYNC;
constexpr DWORD kAllPartBits = ORVA_TEXT | ORVA_VIEWABLE | ORVA_SECTIONS | ORVA_CONCORD | ORVA_VERSES | kSyncBits |
                               ORVA_MEDIA;

// The index bits whose version record GetIdxVersionRecord reports, in the order tried.
constexpr DWORD kIndexBits[] = {ORVA_SECTIONS, ORVA_VIEWABLE, ORVA_CONCORD, ORVA_VERSES,
                                ORVA_WSYNC,    ORVA_VSYNC,    ORVA_SSYNC,   ORVA_DSYNC};

constexpr size_t kMessageSize = 512;

// Sets a flag for its own lifetime and restores the old value, also when an
// exception passes.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : m_flag(flag), m_old(flag) { flag = true; }
  ~FlagScope() { m_flag = m_old; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& m_flag;
  bool m_old;
};

}  // namespace

WORD GetCurrentORVAVersionInfo() { return 0x0200; }

WORD GetLeastCompatibleORVAVersionInfo() { return 0x0200; }

void ConstructElements(cORVABookBase* first, int count) {
  for (int i = 0; i < count; ++i) new (first + i) cORVABookBase;
}

void DestructElements(cORVABookBase* first, int count) {
  for (int i = 0; i < count; ++i) first[i].~cORVABookBase();
}

cORVABookBase::cORVABookBase() = default;

cORVABookBase::cORVABookBase(const cORVABookBase& other) : CObject(other) { CopyAssignHelper(other); }

cORVABookBase& cORVABookBase::operator=(const cORVABookBase& other) {
  if (this != &other) CopyAssignHelper(other);
  return *this;
}

cORVABookBase::~cORVABookBase() {
  if (m_dwOpenFlags != 0) Close(m_dwOpenFlags);
}

void cORVABookBase::CopyAssignHelper(const cORVABookBase& other) {
  m_strBookName = other.m_strBookName;
  m_strDefVolumeID = other.m_strDefVolumeID;
  m_strRegVolumeID = other.m_strRegVolumeID;
  m_strDefMediaType = other.m_strDefMediaType;
  m_strRegMediaType = other.m_strRegMediaType;
  m_strDefPath = other.m_strDefPath;
  m_strTextPath = other.m_strTextPath;
  m_strViewablePath = other.m_strViewablePath;
  m_strSectionsPath = other.m_strSectionsPath;
  m_strVersesPath = other.m_strVersesPath;
  m_strConcordPath = other.m_strConcordPath;
  m_strWSyncPath = other.m_strWSyncPath;
  m_strVSyncPath = other.m_strVSyncPath;
  m_strSSyncPath = other.m_strSSyncPath;
  m_strDSyncPath = other.m_strDSyncPath;
  m_strMediaPath = other.m_strMediaPath;
  m_strEdition = other.m_strEdition;
  m_strBookID = other.m_strBookID;
  m_strPublisherID = other.m_strPublisherID;
  m_strSetID = other.m_strSetID;
  m_strSyncType = other.m_strSyncType;
  m_strClientProgramVersion = other.m_strClientProgramVersion;
  m_nDataSetNumber = other.m_nDataSetNumber;
  m_nBookNumber = other.m_nBookNumber;
  m_pStore = nullptr;
  m_dwOpenFlags = m_dwRemoteFlags = m_dwLocalFlags = 0;
  m_nChunkPosition = m_nChunkAreaSize = m_nChunkSize = m_nChunkAreaNumber = 0;
  m_nWordCursor = other.m_nWordCursor;
  m_wCursorLanguage = 1033;
  m_strServerIP.Empty();
  m_nPort = 0;
}

void cORVABookBase::PubIDBookIDMismatch(const char* path, WORD expectedPubID, WORD expectedBookID,
                                        WORD filePubID, WORD fileBookID) {
  char text[kMessageSize];
  AfxFormatBuffer(text, sizeof text,
                  "The PublisherID and/or BookID for the file being opened does not match the values "
                  "expected for this book.\nValues expected: PubID=%d, BookID=%d\nValues in file: PubID=%d, "
                  "BookID=%d\n\nFile: %s\n",
                  expectedPubID, expectedBookID, filePubID, fileBookID, path ? path : "");
  AfxMessageBox(text, 0, 0);
}

void cORVABookBase::LeastCompatibleORVAVersionError(const char* path, BYTE programMajor, BYTE programMinor,
                                                    BYTE fileMajor, BYTE fileMinor) {
  char text[kMessageSize];
  AfxFormatBuffer(text, sizeof text,
                  "LeastCompatibleORVAVersionError:\nThe program can't read this file. Incompatible ORVA "
                  "version.\nLeast Compatible ORVA Version:\nProgram:  Major=%d, Minor=%d\nFile: Major=%d, "
                  "Minor=%d\nPath: %s\n",
                  programMajor, programMinor, fileMajor, fileMinor, path ? path : "");
  AfxMessageBox(text, 0, 0);
}

int cORVABookBase::PreOpenFiles(DWORD /*request*/) { return 0; }

void cORVABookBase::PostOpenFiles(DWORD /*request*/) {}

int cORVABookBase::FindFilePaths(DWORD& /*a*/, DWORD& /*b*/, DWORD& /*c*/) { return 0; }

DWORD cORVABookBase::GetSyncTypeFlag() const {
  const auto* type = reinterpret_cast<const unsigned char*>(static_cast<const char*>(m_strSyncType));
  for (DWORD bit : {ORVA_WSYNC, ORVA_VSYNC, ORVA_SSYNC, ORVA_DSYNC}) {
    if (_mbsicmp(type, reinterpret_cast<const unsigned char*>(orva::SyncTypeOfBit(bit))) == 0) return bit;
  }
  return 0;
}

void cORVABookBase::MaskInvalidSyncFileFlags(DWORD& request) const {
  request &= ~(kSyncBits & ~GetSyncTypeFlag());
}

const CString* cORVABookBase::PathOfBit(DWORD bit) const {
  switch (bit) {
    case ORVA_TEXT: return &m_strTextPath;
    case ORVA_VIEWABLE: return &m_strViewablePath;
    case ORVA_SECTIONS: return &m_strSectionsPath;
    case ORVA_CONCORD: return &m_strConcordPath;
    case ORVA_VERSES: return &m_strVersesPath;
    case ORVA_WSYNC: return &m_strWSyncPath;
    case ORVA_VSYNC: return &m_strVSyncPath;
    case ORVA_SSYNC: return &m_strSSyncPath;
    case ORVA_DSYNC: return &m_strDSyncPath;
    case ORVA_MEDIA: return &m_strMediaPath;
    default: return nullptr;
  }
}

DWORD cORVABookBase::GetLocalFlags(DWORD request) {
  DWORD local = 0;
  for (DWORD bit : kPartBits) {
    if ((request & bit) && !PathOfBit(bit)->IsEmpty()) local |= bit;
  }
  return local;
}

DWORD cORVABookBase::GetRemoteFlags(DWORD request) {
  DWORD remote = 0;
  for (DWORD bit : kPartBits) {
    if ((request & bit) && PathOfBit(bit)->IsEmpty()) remote |= bit;
  }
  return remote;
}

BOOL cORVABookBase::IsLocal(DWORD bit) {
  for (DWORD highest = ORVA_MEDIA; highest != 0; highest >>= 1) {
    if (bit & highest) return PathOfBit(highest)->IsEmpty() ? FALSE : TRUE;
  }
  return FALSE;
}

int cORVABookBase::Open(DWORD request) {
  MaskInvalidSyncFileFlags(request);
  if (m_dwOpenFlags & request) return ORVA_ERR_ALREADY_OPEN;
  const int hook = PreOpenFiles(request);
  if (hook != 0) return hook;

  const DWORD local = GetLocalFlags(request);
  if (local != 0) {
    if (m_dwRemoteFlags != 0) {
      const int result = m_pStore->OpenFiles(*this, local);
      if (result != 0) return result;
    } else {
      cBookStore* store = nullptr;
      const int result = cBookStore::FindOrCreateStore(*this, store, local);
      if (result != 0) return result;
      m_pStore = store;
    }
    m_dwOpenFlags |= local;
    m_dwRemoteFlags |= local;
  }
  PostOpenFiles(request);
  if (request & ORVA_CONCORD) {
    // When the concordance stayed closed (no path), SelectCurrentLanguage would open
    // it through here again, without end: the flag tells it not to.
    FlagScope selecting(m_bSelectingLanguage);
    SelectCurrentLanguage(1033, nullptr);
  }
  return 0;
}

void cORVABookBase::Close(DWORD request) {
  MaskInvalidSyncFileFlags(request);
  if (request == ORVA_ALL_OPEN) {
    if (m_dwOpenFlags == 0) return;
    request = m_dwOpenFlags;
  }
  if (m_dwRemoteFlags != 0) {
    const DWORD bits = m_dwRemoteFlags & request;
    m_dwRemoteFlags &= ~request;
    // The store may destroy itself here; it is forgotten below once nothing is held.
    if (bits != 0) m_pStore->CloseFiles(bits);
  }
  m_dwOpenFlags &= ~request;
  if (m_dwRemoteFlags == 0) {
    m_pStore = nullptr;
    ResetCursors();
  }
}

void cORVABookBase::ResetCursors() {
  m_nChunkPosition = m_nChunkAreaSize = m_nChunkSize = m_nChunkAreaNumber = 0;
  m_nWordCursor = -1;
  m_wCursorLanguage = 1033;
}

BOOL cORVABookBase::IsOpen(DWORD request) const {
  // Every query member asks; only a request with sync bits needs the sync type.
  if (request & kSyncBits) MaskInvalidSyncFileFlags(request);
  return (request & kAllPartBits & ~m_dwOpenFlags) == 0 ? TRUE : FALSE;
}

void cORVABookBase::ThrowNotOpen() { AfxThrowFileException(CFileException::generic); }

int cORVABookBase::SearchEvent(DWORD request) {
  RequireOpen(request);
  return 0;
}

void cORVABookBase::MarkAllRemoteFilesClosed() {
  m_dwOpenFlags = 0;
  m_dwLocalFlags = 0;
}

int cORVABookBase::CopyRemoteFile(const char* /*targetPath*/, const char* /*sourceName*/, int /*flag*/) {
  return 1;
}

int cORVABookBase::GetIdxVersionRecord(sVersionRecord* record) {
  for (DWORD bit : kIndexBits) {
    if (m_dwOpenFlags & bit) {
      m_pStore->GetFileVersionRecord(bit, record);
      return 0;
    }
  }
  return 0;
}
