#include "sync/sync_file.h"

#include "book/book_folder.h"
#include "files/endian.h"
#include "files/file_checks.h"
#include "langtext/tagged_string.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "sync/key_bounds.h"
#include "sync/sync_reading.h"

namespace {

constexpr WORD kMinEntrySize = sizeof(sSyncEntry);
constexpr int kEmptyTable = -2;

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
  ReadWord(m_CurrentEntry.dwWordOffset);
}

void cSyncFile::ReadWord(DWORD offset) { orva::ReadCountedBytes(*this, offset, m_strWord); }

CString cSyncFile::WordRead() const {
  return AfxAllocating([&] { return CString(m_strWord.data(), static_cast<int>(m_strWord.size())); });
}

void cSyncFile::ReadSyncWord(int index, CString& word) {
  ReadEntry(index);
  word = WordRead();
}

void cSyncFile::ReadWordAt(DWORD offset, CString& word) {
  ReadWord(offset);
  word = WordRead();
}

int cSyncFile::Nearest(int low, int high, const char* key) {
  for (;;) {
    if (low == high) {
      ReadEntry(low);
      if (CompareNoCase(m_strWord, key) >= 0) return low;
      m_strWord.clear();
      return -1;
    }
    const int mid = low + (high - low) / 2;
    ReadEntry(mid);
    const int order = CompareNoCase(m_strWord, key);
    if (order == 0) return mid;
    if (low + 1 == high) {
      // Entry `low` was just read: only entry 0 has not been compared before.
      if (low == 0 && order > 0) return 0;
      ReadEntry(high);
      if (CompareNoCase(m_strWord, key) >= 0) return high;
      m_strWord.clear();
      return -1;
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
  word = WordRead();
  return found;
}

int cSyncFile::Walk(const char* key, bool& matched) {
  matched = false;
  CString tagged;
  CStringArray alternatives;
  UnpackageAmbiguity(CString(key ? key : ""), tagged, alternatives);
  std::string low;
  std::string high;
  orva::SyncKeyBounds(tagged, alternatives, low, high);

  const DWORD count = GetWordCount();
  if (count == 0) return kEmptyTable;
  const int last = static_cast<int>(count - 1);
  int at = Nearest(0, last, low.c_str());
  if (at < 0) return -1;
  // MatchAmbiguous(word, tagged, alternatives, -1, 0) for each word walked, with
  // the pattern made once.
  const cLanguageString pattern =
      TaggedStringToLang(SubstitutePlaceholders(tagged, alternatives).c_str());
  for (;;) {
    if (MatchConvertedPattern(m_strWord.c_str(), pattern, 0)) {
      matched = true;
      return at;
    }
    if (CompareNoCase(m_strWord, high.c_str()) > 0) return at;
    if (at == last) return -1;
    ReadEntry(++at);
  }
}

int cSyncFile::FindSyncKeyPartial(const char* key, CString& word) {
  bool matched = false;
  const int at = Walk(key, matched);
  if (at == kEmptyTable) return -1;
  word = WordRead();
  return at < 0 ? -1 : static_cast<int>(m_CurrentEntry.dwSyncKey);
}

int cSyncFile::FindSyncKey(const char* key) {
  bool matched = false;
  const int at = Walk(key, matched);
  return at >= 0 && matched ? static_cast<int>(m_CurrentEntry.dwSyncKey) : -1;
}
