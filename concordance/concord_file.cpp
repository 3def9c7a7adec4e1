// Opening the concordance, its header and its language table.
#include "concordance/concord_file.h"

#include <algorithm>
#include <cstring>

#include "book/book_folder.h"
#include "files/file_checks.h"
#include "files/endian.h"
#include "orvada/book_base.h"

namespace {

// Language records shorter than this lack part of the word table's description.
constexpr WORD kMinLanguageRecSize = 14;

}  // namespace

void ConstructElements(sLanguageRec* /*first*/, int /*count*/) {}

void DestructElements(sLanguageRec* /*first*/, int /*count*/) {}

int cConcordFile::Open(cBookStore& store, cORVABookBase& book) {
  EmptyCaches();
  return OpenInStore(store, book, book.GetConcordPath() + orva::FileNameOfBit(ORVA_CONCORD), [this] { ReadHeader(); });
}

void cConcordFile::EmptyCaches() {
  m_nCachedWord = -1;
  m_nLastKeyIndex = -1;
  m_KeyCache.SetSize(0);
  m_PositionOffsets.SetSize(0);
  m_nOffsetsKnown = 0;
}

void cConcordFile::ReadHeader() {
  const LONG headerAt = m_wVersionRecordLength;
  m_dwKeyRange = 0;
  const WORD headerLength = orva::ReadHeaderRecord(*this, headerAt, m_Header);
  m_dwLanguageTable = static_cast<DWORD>(headerAt) + headerLength;

  if (IsCoded()) {
    unsigned char range[4];
    orva::ReadBytesAt(*this, m_dwLanguageTable, range, sizeof range);
    m_dwKeyRange = orva::DecodeU32(range);
    m_dwLanguageTable += 4;
  }
}

void cConcordFile::ReadLanguageRecord(int index, sLanguageRec& record) {
  const WORD size = m_Header.wLanguageRecSize;
  if (size < kMinLanguageRecSize) orva::ThrowDamaged();
  const UINT held = std::min<UINT>(size, sizeof record);
  orva::ReadBytesAt(*this, m_dwLanguageTable + static_cast<long long>(index) * size, &record, held);
}

int cConcordFile::SelectLanguage(WORD lang, WORD* previous) {
  if (previous) *previous = CurrentLanguage();
  if (lang == CurrentLanguage()) return 0;
  EmptyCaches();
  for (int i = 0; i < m_Header.wLanguageCount; ++i) {
    ReadLanguageRecord(i, m_CurrentLanguage);
    if (m_CurrentLanguage.wLanguageID == lang) return 0;
  }
  return 1;
}

DWORD cConcordFile::WordCount(WORD lang) {
  WORD previous = 0;
  const DWORD count = SelectLanguage(lang, &previous) == 0 ? m_CurrentLanguage.dwWordCount : 0;
  SelectLanguage(previous, nullptr);
  return count;
}

int cConcordFile::ListLanguages(CArray<unsigned short, unsigned short&>& languages) {
  if (m_Header.wLanguageCount < 1) ReadHeader();
  if (m_Header.wLanguageCount < 1) return 1;
  sLanguageRec record{};
  for (int i = 0; i < m_Header.wLanguageCount; ++i) {
    ReadLanguageRecord(i, record);
    unsigned short id = record.wLanguageID;
    languages.Add(id);
  }
  return 0;
}
