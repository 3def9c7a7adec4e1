// The book object's occurrence members: each checks that the verses part is open
// and reads through the store's verses file.
#include "book/book_store.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

cVersesFile& cORVABookBase::VersesFile() {
  RequireOpen(ORVA_VERSES);
  return m_pStore->m_VersesFile;
}

int cORVABookBase::GetBookOccurrences(unsigned short book, CUIntArray& occurrences) {
  return VersesFile().BookOccurrences(book, occurrences);
}

int cORVABookBase::GetBookOccurrencesAllChapters(unsigned short book, CUIntArray& occurrences) {
  return VersesFile().BookAllChaptersOccurrences(book, occurrences);
}

int cORVABookBase::GetBookOccurrencesAllVerses(unsigned short book, CUIntArray& occurrences) {
  return VersesFile().BookAllVersesOccurrences(book, occurrences);
}

int cORVABookBase::GetChapterOccurrences(unsigned short book, unsigned short chapter, CUIntArray& occurrences) {
  return VersesFile().ChapterOccurrences(book, chapter, occurrences);
}

int cORVABookBase::GetChapterOccurrencesAllVerses(unsigned short book, unsigned short chapter,
                                                  CUIntArray& occurrences) {
  return VersesFile().ChapterAllVersesOccurrences(book, chapter, occurrences);
}

int cORVABookBase::GetVerseOccurrences(unsigned short book, unsigned short chapter, unsigned short verse,
                                       CUIntArray& occurrences) {
  return VersesFile().VerseOccurrences(book, chapter, verse, occurrences);
}
