// The book object's concordance members and its word cursor: each reaches the
// store's concordance file, and the cursor follows what the member found or read.
#include "book/book_store.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

cConcordFile& cORVABookBase::ConcordFile() {
  RequireOpen(ORVA_CONCORD);
  return m_pStore->m_ConcordFile;
}

cConcordFile& cORVABookBase::SharedConcordFile() {
  if (m_pStore == nullptr || m_pStore->m_ConcordFile.GetRefCount() == 0) ThrowNotOpen();
  return m_pStore->m_ConcordFile;
}

int cORVABookBase::SelectCurrentLanguage(unsigned short lang, unsigned short* previous) {
  m_nWordCursor = -1;
  m_wCursorLanguage = 1033;
  if (!IsOpen(ORVA_CONCORD)) {
    // Called back by Open's own language selection: the open left the concordance
    // closed, and opening it again would only come back here.
    if (m_bSelectingLanguage) return 1;
    if (Open(ORVA_CONCORD) != 0 || !IsOpen(ORVA_CONCORD)) return 1;
  }
  return m_pStore->m_ConcordFile.SelectLanguage(lang, previous);
}

unsigned short cORVABookBase::GetCurrentLanguage() { return SharedConcordFile().CurrentLanguage(); }

DWORD cORVABookBase::WordCount(unsigned short lang) { return SharedConcordFile().WordCount(lang); }

int cORVABookBase::ListLanguages(CArray<unsigned short, unsigned short&>& languages) {
  return SharedConcordFile().ListLanguages(languages);
}

int cORVABookBase::GetWord(int wordKey, cLanguageString& word) { return SharedConcordFile().ReadWord(wordKey, word); }

int cORVABookBase::GetWordlistAtKey(int first, int count, CArray<cLanguageString, cLanguageString&>& words) {
  return SharedConcordFile().ReadWordList(first, count, words);
}

int cORVABookBase::FindNearestMatchingWord(cLanguageString& search, cLanguageString& found) {
  m_nWordCursor = ConcordFile().FindNearest(search, found);
  m_wCursorLanguage = search.GetLanguage();
  return m_nWordCursor;
}

int cORVABookBase::FindExactMatchingWord(cLanguageString& search) {
  m_nWordCursor = ConcordFile().FindExact(search);
  m_wCursorLanguage = search.GetLanguage();
  return m_nWordCursor;
}

int cORVABookBase::GetFirstWord(unsigned short lang, cLanguageString& word) {
  cConcordFile& file = ConcordFile();
  m_wCursorLanguage = lang;
  if (file.SelectLanguage(lang, nullptr) != 0) return -1;
  m_nWordCursor = file.ReadWord(0, word);
  return m_nWordCursor;
}

int cORVABookBase::GetLastWord(unsigned short lang, cLanguageString& word) {
  cConcordFile& file = ConcordFile();
  m_wCursorLanguage = lang;
  if (file.SelectLanguage(lang, nullptr) != 0) return -1;
  m_nWordCursor = file.ReadWord(static_cast<int>(file.WordCount(m_wCursorLanguage) - 1), word);
  return m_nWordCursor;
}

int cORVABookBase::GetNextWord(cLanguageString& word) {
  cConcordFile& file = ConcordFile();
  if (m_nWordCursor == -1 || m_wCursorLanguage == 0) return -1;
  if (file.SelectLanguage(m_wCursorLanguage, nullptr) != 0) return -1;
  m_nWordCursor = file.ReadWord(m_nWordCursor + 1, word);
  return m_nWordCursor;
}

int cORVABookBase::GetPrevWord(cLanguageString& word) {
  cConcordFile& file = ConcordFile();
  if (m_nWordCursor == -1 || m_wCursorLanguage == 0) return -1;
  if (file.SelectLanguage(m_wCursorLanguage, nullptr) != 0) return -1;
  m_nWordCursor = file.ReadWord(m_nWordCursor - 1, word);
  return m_nWordCursor;
}

int cORVABookBase::GetKeysForWord(cLanguageString& word, CUIntArray& keys) {
  if (FindExactMatchingWord(word) != -1) ConcordFile().ReadKeys(m_nWordCursor, keys);
  m_wCursorLanguage = word.GetLanguage();
  return m_nWordCursor;
}

int cORVABookBase::GetKeysForWord(int wordKey, CUIntArray& keys) {
  cConcordFile& file = ConcordFile();
  m_nWordCursor = file.ReadKeys(wordKey, keys);
  m_wCursorLanguage = file.CurrentLanguage();
  return m_nWordCursor;
}

int cORVABookBase::GetWordListRecord(cLanguageString& word, sWordListRec& record) {
  if (FindExactMatchingWord(word) != -1) ConcordFile().ReadRecord(m_nWordCursor, record);
  m_wCursorLanguage = word.GetLanguage();
  return m_nWordCursor;
}

int cORVABookBase::GetWordListRecord(int wordKey, sWordListRec& record) {
  cConcordFile& file = ConcordFile();
  m_nWordCursor = file.ReadRecord(wordKey, record);
  m_wCursorLanguage = file.CurrentLanguage();
  return m_nWordCursor;
}

int cORVABookBase::GetWordPositionList(int wordKey, int key, CWordArray& positions) {
  cConcordFile& file = ConcordFile();
  m_nWordCursor = file.ReadPositions(wordKey, static_cast<DWORD>(key), positions);
  m_wCursorLanguage = file.CurrentLanguage();
  return m_nWordCursor;
}
