// cConcordFile: the file object of "concord.idx" in the shared book store: the
// concordance header, its language table and the current language, which every
// book object of the store shares.
#pragma once

#include "orvada/concord_records.h"
#include "orvada/file_base.h"

class cBookStore;
class cORVABookBase;

class cConcordFile : public cFileBase {
 public:
  // Opens the book's concordance path followed by "concord.idx"; the first
  // successful open records `store` as the owner and reads the header. Returns 0 or
  // an error code; a header that runs past the file raises the end-of-file exception.
  int Open(cBookStore& store, cORVABookBase& book);

  // The id of the current language, 0 before any has been selected.
  WORD CurrentLanguage() const { return m_CurrentLanguage.wLanguageID; }
  // Makes `lang` current: 0 when it is now current, 1 when the file lacks it (the
  // table's last language is then current). Stores the previous id through
  // `previous` when it is not null.
  int SelectLanguage(WORD lang, WORD* previous);

  const sConcordHeader& Header() const { return m_Header; }
  DWORD KeyRange() const { return m_dwKeyRange; }

 private:
  void ReadHeader();
  // Reads min(LR, 16) bytes of language record `index` into `record`.
  void ReadLanguageRecord(int index, sLanguageRec& record);

  sConcordHeader m_Header{};
  DWORD m_dwLanguageTable = 0;
  sLanguageRec m_CurrentLanguage{};
  DWORD m_dwKeyRange = 0;
};
