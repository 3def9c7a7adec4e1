#include "sync/vsync_file.h"

#include <cstring>

#include "book/book_folder.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "files/file_checks.h"
#include "sync/sync_reading.h"

namespace {

constexpr WORD kMinBookRecordSize = sizeof(sVSyncBookRec);
constexpr WORD kMinVerseEntrySize = sizeof(sVSyncVerseRec);

}  // namespace

int cVSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetVSyncPath() + orva::FileNameOfBit(ORVA_VSYNC), [this] { ReadSyncHeader(); });
}

void cVSyncFile::ReadSyncHeader() {
  const LONG headerAt = m_wVersionRecordLength;
  m_wHeaderLength = orva::ReadSyncHeaderRecord(*this, headerAt, &m_Header, sizeof m_Header);
  m_dwTableOffset = static_cast<DWORD>(headerAt) + m_wHeaderLength;
  const WORD recordSize = m_Header.wBookRecordSize;
  if (recordSize < kMinBookRecordSize || m_Header.wVerseEntrySize < kMinVerseEntrySize) {
    orva::ThrowDamaged();
  }
  const int books = m_Header.wLastBook - m_Header.wFirstBook + 1;
  if (books > 0) orva::RequireRecords(*this, m_dwTableOffset, static_cast<unsigned long long>(books), recordSize);
}

bool cVSyncFile::ParseVerseReference(const char* reference, int& book, int& chapter, int& verse) {
  if (reference == nullptr) return false;
  const char* comma = std::strchr(reference, ',');
  if (comma == nullptr || comma == reference) return false;
  const char* rest = comma + 1;
  const char* second = std::strchr(rest, ',');
  if (second == nullptr || second == rest) return false;
  // atoi stops at the comma after each field: no field needs to be copied out.
  book = RuntimeAtoi(reference);
  chapter = RuntimeAtoi(rest);
  verse = RuntimeAtoi(second + 1);
  return true;
}

int cVSyncFile::FindVerseKey(const char* reference) {
  int book = 0;
  int chapter = 0;
  int verse = 0;
  if (!ParseVerseReference(reference, book, chapter, verse)) return -1;
  if (book < m_Header.wFirstBook || book > m_Header.wLastBook) return -1;

  sVSyncBookRec record{};
  const long long recordAt =
      m_dwTableOffset + static_cast<long long>(book - m_Header.wFirstBook) * m_Header.wBookRecordSize;
  orva::ReadBytesAt(*this, recordAt, &record, sizeof record);
  const DWORD tableAt = record.dwVerseTableOffset;
  if (tableAt == 0 || record.wVerseCount == 0) return -1;

  const WORD entrySize = m_Header.wVerseEntrySize;
  int low = 0;
  int high = record.wVerseCount - 1;
  while (low <= high) {
    const int mid = (low + high) / 2;
    sVSyncVerseRec entry{};
    orva::ReadBytesAt(*this, tableAt + static_cast<long long>(mid) * entrySize, &entry, sizeof entry);
    const int entryChapter = entry.wChapter;
    const int entryVerse = entry.wVerse;
    if (chapter < entryChapter || (chapter == entryChapter && verse < entryVerse)) {
      high = mid - 1;
    } else if (chapter > entryChapter || verse > entryVerse) {
      low = mid + 1;
    } else {
      return static_cast<int>(entry.dwValue);
    }
  }
  return -1;
}
