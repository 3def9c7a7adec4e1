#include "sections/sections_file.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "book/book_folder.h"
#include "files/endian.h"
#include "files/file_checks.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

namespace {

constexpr long long kLevelAt = 18;  // offset of the level byte in an entry record

}  // namespace

int cSectionsFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetSectionsPath() + orva::FileNameOfBit(ORVA_SECTIONS),
                     [this] { ReadHeader(); });
}

void cSectionsFile::ReadHeader() {
  const LONG headerAt = m_wVersionRecordLength;
  m_nEntryCount = 0;
  m_wHeaderLength = orva::ReadHeaderRecord(*this, headerAt, m_Header);
  m_dwFirstRecord = static_cast<DWORD>(headerAt) + m_wHeaderLength;

  if (m_Header.lSectionCount < 0 || m_Header.lGlossaryCount < 0) orva::ThrowDamaged();
  const long long entries = static_cast<long long>(m_Header.lSectionCount) + m_Header.lGlossaryCount;
  if (entries == 0) return;
  if (m_Header.wRecordSize == 0) orva::ThrowDamaged();
  orva::RequireRecords(*this, m_dwFirstRecord, static_cast<unsigned long long>(entries), m_Header.wRecordSize);
  m_nEntryCount = static_cast<int>(entries);
}

void cSectionsFile::ReadRecord(int key, sSectionRec& record) {
  if (!IsEntryKey(key)) orva::ThrowDamaged();
  const UINT size = std::min<UINT>(m_Header.wRecordSize, sizeof record);
  record = sSectionRec{};
  orva::ReadBytesAt(*this, m_dwFirstRecord + static_cast<long long>(key) * m_Header.wRecordSize, &record, size);
}

int cSectionsFile::ChildKey(int key, BYTE level) {
  const int next = key + 1;
  if (key < 0 || next >= SectionCount() || m_Header.wRecordSize <= kLevelAt) return -1;
  orva::SeekToBytes(*this, m_dwFirstRecord + static_cast<long long>(next) * m_Header.wRecordSize + kLevelAt, 1);
  BYTE nextLevel = 0;
  Read(&nextLevel, 1);
  return nextLevel > level ? next : -1;
}

void cSectionsFile::ReadName(DWORD offset, size_t limit) { orva::ReadCountedBytes(*this, offset, m_strName, limit); }

CString cSectionsFile::NameRead() const {
  // The name is a zero-terminated string to the host: a zero byte ends it.
  const size_t zero = m_strName.find('\0');
  const size_t kept = zero == std::string::npos ? m_strName.size() : zero;
  return AfxAllocating([&] { return CString(m_strName.data(), static_cast<int>(kept)); });
}

int cSectionsFile::LinkToKey(DWORD offset) const {
  if (offset == 0 || m_Header.wRecordSize == 0) return -1;
  // The distance is taken as a signed 32-bit number, as the format's writers do.
  const auto distance = static_cast<std::int32_t>(offset - m_dwFirstRecord);
  return distance / static_cast<std::int32_t>(m_Header.wRecordSize);
}

void cSectionsFile::ReadEntry(int key, cSectionsData& entry) {
  sSectionRec record;
  ReadRecord(key, record);
  ReadName(record.dwNameOffset);
  entry.m_strName = NameRead();
  entry.m_nSectionKey = key;
  entry.m_nLevel = record.byLevel;
  entry.m_nBookKey = static_cast<int>(record.dwBookKey);
  entry.m_nLevelCount = record.nLevelCount;
  entry.m_SyncData.words.dwValue = record.SyncData.words.dwValue;
  entry.m_SyncData.words.wValue = record.SyncData.words.wValue;
  entry.m_nParentKey = LinkToKey(record.dwParentOffset);
  entry.m_nNextKey = LinkToKey(record.dwNextOffset);
  entry.m_nPrevKey = LinkToKey(record.dwPrevOffset);
  entry.m_nChildKey = ChildKey(key, record.byLevel);
}

int cSectionsFile::NextKey(int key) {
  sSectionRec record;
  ReadRecord(key, record);
  return LinkToKey(record.dwNextOffset);
}

int cSectionsFile::SiblingCount(int key) {
  if (!IsSectionKey(key)) orva::ThrowDamaged();
  sSectionRec start;
  ReadRecord(key, start);
  int count = 1;
  for (const bool forward : {false, true}) {
    // Fields of the packed record are copied out, never referred to.
    auto linkOf = [forward](const sSectionRec& r) { return forward ? r.dwNextOffset : r.dwPrevOffset; };
    sSectionRec record = start;
    for (int at = LinkToKey(linkOf(record)); at != -1; at = LinkToKey(linkOf(record))) {
      if (count > m_nEntryCount) orva::ThrowDamaged();  // the links loop
      ReadRecord(at, record);
      ++count;
    }
  }
  return count;
}

void cSectionsFile::KeyRange(const cSectionsData& entry, int* first, int* last) {
  int key = entry.GetSectionKey();
  if (!IsEntryKey(key)) orva::ThrowDamaged();
  if (first) *first = static_cast<int>(static_cast<long long>(key) - entry.GetLevelCount());
  sSectionRec record;
  for (; key < m_nEntryCount - 1; ++key) {
    ReadRecord(key + 1, record);
    if (static_cast<int>(record.dwBookKey) != entry.GetBookKey()) break;
  }
  if (last) *last = key;
}

void cSectionsFile::NonBibleSections(CWordArray& sections) {
  sections.RemoveAll();
  const DWORD count = (m_Header.dwWordCountOffset - m_Header.dwNonBibleOffset) / 2;
  if (count == 0) return;
  // Checked before the array is sized; the u16 list is copied as it stands (the
  // host is little-endian).
  orva::RequireRecords(*this, m_Header.dwNonBibleOffset, count, 2);
  sections.SetSize(static_cast<int>(count));
  orva::ReadBytesAt(*this, m_Header.dwNonBibleOffset, sections.GetData(), 2 * count);
}

int cSectionsFile::WordCount(int key) {
  if (!IsSectionKey(key) || m_Header.dwWordCountOffset == 0) return -1;
  unsigned char count[2];
  orva::ReadBytesAt(*this, m_Header.dwWordCountOffset + 2LL * key, count, sizeof count);
  return orva::DecodeU16(count);
}
