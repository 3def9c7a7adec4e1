#include "concordance/verses_file.h"

#include <algorithm>

#include "book/book_folder.h"
#include "concordance/coded_list.h"
#include "files/file_checks.h"
#include "files/endian.h"
#include "orvada/book_base.h"

int cVersesFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetVersesPath() + orva::FileNameOfBit(ORVA_VERSES), [this] { ReadHeader(); });
}

void cVersesFile::ReadHeader() {
  const LONG headerAt = m_wVersionRecordLength;
  m_wHeaderLength = orva::ReadHeaderRecord(*this, headerAt, m_Header);
  m_dwBookTable = static_cast<DWORD>(headerAt) + m_wHeaderLength;
}

bool cVersesFile::FindRecord(WORD count, WORD number, WORD size, DWORD base, void* record, UINT held) {
  if (count == 0) return false;
  if (size < held) orva::ThrowDamaged();
  int lo = 0, hi = count - 1;
  while (lo <= hi) {
    const int mid = (lo + hi) / 2;
    // The whole record must be in the file, though only its head is copied.
    orva::SeekToBytes(*this, base + static_cast<long long>(mid) * size, size);
    Read(record, held);
    const WORD found = orva::DecodeU16(static_cast<const unsigned char*>(record));
    if (found == number) return true;
    if (found > number) hi = mid - 1;
    else lo = mid + 1;
  }
  return false;
}

bool cVersesFile::FindBook(WORD book, sBookRec& record) {
  return FindRecord(m_Header.wBookCount, book, m_Header.wBookRecSize, m_dwBookTable, &record, sizeof record);
}

bool cVersesFile::FindChapter(WORD book, WORD chapter, sChapterRec& record) {
  sBookRec bookRec{};
  return FindBook(book, bookRec) && FindRecord(bookRec.wChapterCount, chapter, m_Header.wChapterRecSize,
                                               bookRec.dwChapterTable, &record, sizeof record);
}

int cVersesFile::ReadList(DWORD offset, CUIntArray& occurrences) {
  if (offset == 0) return 0;
  unsigned char countField[4];
  orva::ReadBytesAt(*this, offset, countField, sizeof countField);
  const DWORD count = orva::DecodeU32(countField);
  const long long at = offset + 4LL;
  if (IsCoded()) {
    orva::ReadCodedList(*this, at, count, m_Header.wOccurrenceRange, occurrences);
  } else {
    orva::RequireBytes(*this, at, 4ULL * count);
    occurrences.SetSize(static_cast<int>(count));
    if (count > 0) Read(occurrences.GetData(), 4 * count);  // little-endian host
  }
  return static_cast<int>(count);
}

int cVersesFile::BookOccurrences(WORD book, CUIntArray& occurrences) {
  sBookRec record{};
  return FindBook(book, record) ? ReadList(record.dwBookList, occurrences) : 0;
}

int cVersesFile::BookAllChaptersOccurrences(WORD book, CUIntArray& occurrences) {
  sBookRec record{};
  return FindBook(book, record) ? ReadList(record.dwAllChaptersList, occurrences) : 0;
}

int cVersesFile::BookAllVersesOccurrences(WORD book, CUIntArray& occurrences) {
  sBookRec record{};
  return FindBook(book, record) ? ReadList(record.dwAllVersesList, occurrences) : 0;
}

int cVersesFile::ChapterOccurrences(WORD book, WORD chapter, CUIntArray& occurrences) {
  sChapterRec record{};
  return FindChapter(book, chapter, record) ? ReadList(record.dwChapterList, occurrences) : 0;
}

int cVersesFile::ChapterAllVersesOccurrences(WORD book, WORD chapter, CUIntArray& occurrences) {
  sChapterRec record{};
  return FindChapter(book, chapter, record) ? ReadList(record.dwAllVersesList, occurrences) : 0;
}

int cVersesFile::VerseOccurrences(WORD book, WORD chapter, WORD verse, CUIntArray& occurrences) {
  sChapterRec chapterRec{};
  sVerseRec record{};
  if (!FindChapter(book, chapter, chapterRec) ||
      !FindRecord(chapterRec.wVerseCount, verse, m_Header.wVerseRecSize, chapterRec.dwVerseTable, &record,
                  sizeof record)) {
    return 0;
  }
  return ReadList(record.dwVerseList, occurrences);
}
