#include "book/book_store.h"

#include <memory>

#include "orvada/book_base.h"
#include "platform/oblist.h"
#include "platform/winapi.h"

namespace {

// The order in which a store walks the bits: the media counter before the sync files.
constexpr DWORD kOpenOrder[] = {ORVA_TEXT, ORVA_VIEWABLE, ORVA_SECTIONS, ORVA_CONCORD, ORVA_VERSES,
                                ORVA_MEDIA, ORVA_WSYNC, ORVA_VSYNC, ORVA_SSYNC, ORVA_DSYNC};

// The process-wide list of live stores, in the order of creation. It holds the
// stores without owning them. It is never destroyed: a host's static book object
// may close its files after every other static object of the program is gone.
CObList& StoreList() {
  static CObList* list = AfxAllocating([] { return new CObList(10); });
  return *list;
}

bool SameKey(const CString& a, const CString& b) {
  return _mbscmp(reinterpret_cast<const unsigned char*>(static_cast<const char*>(a)),
                 reinterpret_cast<const unsigned char*>(static_cast<const char*>(b))) == 0;
}

}  // namespace

CString cBookStore::KeyOf(const cORVABookBase& book) {
  return book.GetPublisherID() + book.GetBookID() + book.GetEdition();
}

int cBookStore::GetStoreCount() { return StoreList().GetCount(); }

cBookStore* cBookStore::Find(const CString& key) {
  CObList& list = StoreList();
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    auto* candidate = static_cast<cBookStore*>(list.GetNext(pos));
    if (SameKey(candidate->m_strKey, key)) return candidate;
  }
  return nullptr;
}

int cBookStore::FindOrCreateStore(cORVABookBase& book, cBookStore*& store, DWORD bits) {
  const CString key = KeyOf(book);
  if (cBookStore* shared = Find(key)) {
    const int result = shared->OpenFiles(book, bits);
    if (result == 0) store = shared;
    return result;
  }
  auto created = AfxAllocating([] { return std::make_unique<cBookStore>(); });
  const int result = created->OpenFiles(book, bits);
  if (result != 0) return result;
  created->m_strKey = key;
  StoreList().AddTail(created.get());
  store = created.release();
  return 0;
}

int cBookStore::OpenFiles(cORVABookBase& book, DWORD bits) {
  for (size_t i = 0; i < std::size(kOpenOrder); ++i) {
    if ((bits & kOpenOrder[i]) == 0) continue;
    const int result = OpenBit(kOpenOrder[i], book);
    if (result == 0) continue;
    for (size_t j = 0; j < i; ++j) {
      if (bits & kOpenOrder[j]) CloseBit(kOpenOrder[j]);
    }
    return result;
  }
  return 0;
}

void cBookStore::CloseFiles(DWORD bits) {
  bool inUse = false;
  for (DWORD bit : kOpenOrder) {
    const int remaining = (bits & bit) ? CloseBit(bit) : GetRefCount(bit);
    if (remaining != 0) inUse = true;
  }
  if (inUse) return;
  CObList& list = StoreList();
  for (POSITION pos = list.GetHeadPosition(); pos != nullptr;) {
    const POSITION at = pos;
    auto* candidate = static_cast<cBookStore*>(list.GetNext(pos));
    if (SameKey(candidate->m_strKey, m_strKey)) {
      list.RemoveAt(at);
      break;
    }
  }
  delete this;
}

int cBookStore::OpenBit(DWORD bit, cORVABookBase& book) {
  switch (bit) {
    case ORVA_TEXT: return m_TextFile.Open(*this, book);
    case ORVA_VIEWABLE: return m_ViewableFile.Open(*this, book);
    case ORVA_SECTIONS: return m_SectionsFile.Open(*this, book);
    case ORVA_CONCORD: return m_ConcordFile.Open(*this, book);
    case ORVA_VERSES: return m_VersesFile.Open(*this, book);
    case ORVA_MEDIA: return m_MediaFile.Open();
    case ORVA_WSYNC: return m_WSyncFile.Open(*this, book);
    case ORVA_VSYNC: return m_VSyncFile.Open(*this, book);
    case ORVA_SSYNC: return m_SSyncFile.Open(*this, book);
    case ORVA_DSYNC: return m_DSyncFile.Open(*this, book);
    default: return ORVA_ERR_GENERIC;
  }
}

int cBookStore::CloseBit(DWORD bit) {
  if (bit == ORVA_MEDIA) return m_MediaFile.GetRefCount() > 0 ? m_MediaFile.Close() : 0;
  cFileBase* file = FileOfBit(bit);
  return file ? file->Close() : 0;
}

cFileBase* cBookStore::FileOfBit(DWORD bit) {
  switch (bit) {
    case ORVA_TEXT: return &m_TextFile;
    case ORVA_VIEWABLE: return &m_ViewableFile;
    case ORVA_SECTIONS: return &m_SectionsFile;
    case ORVA_CONCORD: return &m_ConcordFile;
    case ORVA_VERSES: return &m_VersesFile;
    case ORVA_WSYNC: return &m_WSyncFile;
    case ORVA_VSYNC: return &m_VSyncFile;
    case ORVA_SSYNC: return &m_SSyncFile;
    case ORVA_DSYNC: return &m_DSyncFile;
    default: return nullptr;
  }
}

int cBookStore::GetRefCount(DWORD bit) const {
  if (bit == ORVA_MEDIA) return m_MediaFile.GetRefCount();
  const cFileBase* file = const_cast<cBookStore*>(this)->FileOfBit(bit);
  return file ? file->GetRefCount() : 0;
}

int cBookStore::GetFileVersionRecord(DWORD bit, sVersionRecord* record) {
  if (bit == ORVA_TEXT || record == nullptr) return 1;
  cFileBase* file = FileOfBit(bit);
  if (file == nullptr) return 1;
  *record = *file->VersionRecord();
  return 0;
}

cFileBase* cBookStore::GetSyncFile(DWORD bit) {
  switch (bit) {
    case ORVA_WSYNC: return &m_WSyncFile;
    case ORVA_VSYNC: return &m_VSyncFile;
    case ORVA_SSYNC: return &m_SSyncFile;
    case ORVA_DSYNC: return &m_DSyncFile;
    default: return nullptr;
  }
}
