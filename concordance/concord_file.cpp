#include "concordance/concord_file.h"

#include <algorithm>
#include <cstring>

#include "files/endian.h"
#include "files/record_buffer.h"
#include "orvada/book_base.h"

int cConcordFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetConcordPath() + "concord.idx", [this] { ReadHeader(); });
}

void cConcordFile::ReadHeader() {
  const LONG headerAt = m_wVersionRecordLength;
  const WORD headerLength = GetRecordSize(headerAt);
  m_dwLanguageTable = static_cast<DWORD>(headerAt) + headerLength;
  m_dwKeyRange = 0;

  orva::RecordBuffer record;
  GetVariableRecord(headerAt, record.Receive());
  m_Header = sConcordHeader{};
  std::memcpy(&m_Header, record.Data(), std::min<size_t>(headerLength, sizeof m_Header));

  if (m_Header.byCoded != 0) {
    Seek(static_cast<LONG>(m_dwLanguageTable), CFile::begin);
    unsigned char range[4];
    Read(range, sizeof range);
    m_dwKeyRange = orva::DecodeU32(range);
    m_dwLanguageTable += 4;
  }
}

void cConcordFile::ReadLanguageRecord(int index, sLanguageRec& record) {
  const long long at = m_dwLanguageTable + static_cast<long long>(index) * m_Header.wLanguageRecSize;
  if (at > GetFileLength()) AfxThrowFileException(CFileException::endOfFile);
  Seek(static_cast<LONG>(at), CFile::begin);
  Read(&record, std::min<UINT>(m_Header.wLanguageRecSize, sizeof record));
}

int cConcordFile::SelectLanguage(WORD lang, WORD* previous) {
  if (previous) *previous = CurrentLanguage();
  if (lang == CurrentLanguage()) return 0;
  for (int i = 0; i < m_Header.wLanguageCount; ++i) {
    ReadLanguageRecord(i, m_CurrentLanguage);
    if (m_CurrentLanguage.wLanguageID == lang) return 0;
  }
  return 1;
}
