#include "sync/sync_file.h"

#include <cstring>

#include "book/book_folder.h"
#include "files/endian.h"
#include "files/file_checks.h"
#include "langtext/tagged_string.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "sync/key_bounds.h"
#include "sync/sync_reading.h"
#include "sync/sync_walk.h"

namespace {

constexpr WORD kMinEntrySize = sizeof(sSyncEntry);

int CompareNoCase(const std::string& word, const char* key) {
  return _mbsicmp(reinterpret_cast<const unsigned char*>(word.c_str()), reinterpret_cast<const unsigned char*>(key));
}

}  // namespace

int cSyncFile::OpenSyncFile(cBookStore& store, cORVABookBase& book, const CString& path) {
  return OpenInStore(store, book, path, [this] { ReadSyncHeader(); });
}

int cWSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenSyncFile(store, book, book.GetWSyncPath() + orva::FileNameOfBit(ORVA_WSYNC));
}

int cSSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenSyncFile(store, book, book.GetSSyncPath() + orva::FileNameOfBit(ORVA_SSYNC));
}

int cDSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenSyncFile(store, book, book.GetDSyncPath() + orva::FileNameOfBit(ORVA_DSYNC));
}

void cSyncFile::ReadSyncHeader() {
  const LONG headerAt = m_wVersionRecordLength;
  m_wHeaderLength = orva::ReadSyncHeaderRecord(*this, headerAt, &m_Header, sizeof m_Header);
  m_dwTableOffset = static_cast<DWORD>(headerAt) + m_wHeaderLength;
  const DWORD count = m_Header.dwWordCount;
  const WORD entrySize = m_Header.wEntrySize;
  if (entrySize < kMinEntrySize) orva::ThrowDamaged();
  orva::RequireRecords(*this, m_dwTableOffset, count, entrySize);
}

void cSyncFile::ReadEntry(int index) {
  if (index < 0 || static_cast<DWORD>(index) >= GetWordCount()) orva::ThrowDamaged();
  const long long at = m_dwTableOffset + static_cast<long long>(index) * m_Header.wEntrySize;
  orva::ReadBytesAt(*this, at, &m_CurrentEntry, sizeof m_CurrentEntry);
}

void cSyncFile::ReadWord(DWORD offset, size_t limit) { orva::ReadCountedBytes(*this, offset, m_strWord, limit); }

CString cSyncFile::WordRead() const {
  return AfxAllocating([&] { return CString(m_strWord.data(), static_cast<int>(m_strWord.size())); });
}

void cSyncFile::ReadSyncWord(int index, CString& word) {
  ReadEntry(index);
  ReadWord(m_CurrentEntry.dwWordOffset);
  word = WordRead();
}

void cSyncFile::ReadWordAt(DWORD offset, CString& word) {
  ReadWord(offset);
  word = WordRead();
}

int cSyncFile::CompareWord(const char* key) {
  // Decided within the key's length + 1 bytes of the word.
  ReadWord(m_CurrentEntry.dwWordOffset, std::strlen(key) + 1);
  return CompareNoCase(m_strWord, key);
}

int cSyncFile::Nearest(int low, int high, const char* key) {
  for (;;) {
    if (low == high) {
      ReadEntry(low);
      return CompareWord(key) >= 0 ? low : -1;
    }
    const int mid = low + (high - low) / 2;
    ReadEntry(mid);
    const int order = CompareWord(key);
    if (order == 0) return mid;
    if (low + 1 == high) {
      // Entry `low` was just read: only entry 0 has not been compared before.
      if (low == 0 && order > 0) return 0;
      ReadEntry(high);
      return CompareWord(key) >= 0 ? high : -1;
    }
    if (order > 0) {
      high = mid;
    } else {
      low = mid;
    }
  }
}

int cSyncFile::FindNearestSyncEntry(int low, int high, const char* key, CString& word) {
  if (low > high) return -1;
  const int found = Nearest(low, high, key ? key : "");
  // The entry read last is the one found.
  m_strWord.clear();
  if (found >= 0) ReadWord(m_CurrentEntry.dwWordOffset);
  word = WordRead();
  return found;
}

cSyncFile::Stop cSyncFile::Walk(const char* key) {
  CString tagged;
  CStringArray alternatives;
  UnpackageAmbiguity(CString(key ? key : ""), tagged, alternatives);
  std::string low;
  std::string high;
  orva::SyncKeyBounds(tagged, alternatives, low, high);

  const DWORD count = GetWordCount();
  if (count == 0) return Stop::kEmptyTable;
  const int last = static_cast<int>(count - 1);
  int at = Nearest(0, last, low.c_str());
  if (at < 0) return Stop::kAllBelow;
  // MatchAmbiguous(word, tagged, alternatives, -1, 0) for each word walked, with
  // the pattern made once.
  const cLanguageString pattern = TaggedStringToLang(SubstitutePlaceholders(tagged, alternatives).c_str());
  cSyncWalk walk(*this, pattern, high);
  for (;;) {
    switch (walk.Judge(m_CurrentEntry.dwWordOffset)) {
      case cSyncWalk::kMatch:
        return Stop::kMatch;
      case cSyncWalk::kAbove:
        return Stop::kAbove;
      case cSyncWalk::kInside:
        break;
    }
    if (at == last) return Stop::kRanOut;
    ReadEntry(++at);
  }
}

int cSyncFile::FindSyncKeyPartial(const char* key, CString& word) {
  const Stop stop = Walk(key);
  if (stop == Stop::kEmptyTable) return -1;
  m_strWord.clear();
  if (stop != Stop::kAllBelow) ReadWord(m_CurrentEntry.dwWordOffset);
  word = WordRead();
  return stop == Stop::kMatch || stop == Stop::kAbove ? static_cast<int>(m_CurrentEntry.dwSyncKey) : -1;
}

int cSyncFile::FindSyncKey(const char* key) {
  return Walk(key) == Stop::kMatch ? static_cast<int>(m_CurrentEntry.dwSyncKey) : -1;
}
