// cVersesFile: the file object of "verses.idx" in the shared book store: occurrence
// lists by book, chapter and verse (see orvada/verses_records.h for the records).
//
// A query finds the book record by bisection of the book table, then the chapter
// record in the book's chapter table and the verse record in the chapter's verse
// table, numbers compared as unsigned 16-bit values, and reads the list whose
// offset the record holds. It keeps no state between queries but the file position.
//
// Each query returns the number of values now in the array, or 0 with the array
// untouched when the book, chapter or verse is missing or its list offset is 0.
// Damage raises CFileException*: cause endOfFile (14) for a record or list that
// lies past the end of the file, and for a count larger than the bytes left could
// hold (refused before the array is sized); cause generic (1) for records shorter
// than their structures (book 20, chapter 16, verse 6 bytes) in a table that is
// searched, and for a coded list with a count of 0.
#pragma once

#include "orvada/file_base.h"
#include "orvada/verses_records.h"
#include "platform/arrays.h"

class cBookStore;
class cORVABookBase;

class cVersesFile : public cFileBase {
 public:
  // Opens the book's GetVersesPath() followed by "verses.idx" through
  // cFileBase::Open; the first successful open records `store` as the owner and
  // reads the header. Returns 0 or an error code; a header that runs past the file
  // raises the end-of-file exception and leaves the file closed.
  int Open(cBookStore& store, cORVABookBase& book);

  const sVersesHeader& Header() const { return m_Header; }
  bool IsCoded() const { return m_Header.byCoded != 0; }

  int BookOccurrences(WORD book, CUIntArray& occurrences);
  int BookAllChaptersOccurrences(WORD book, CUIntArray& occurrences);
  int BookAllVersesOccurrences(WORD book, CUIntArray& occurrences);
  int ChapterOccurrences(WORD book, WORD chapter, CUIntArray& occurrences);
  int ChapterAllVersesOccurrences(WORD book, WORD chapter, CUIntArray& occurrences);
  int VerseOccurrences(WORD book, WORD chapter, WORD verse, CUIntArray& occurrences);

 private:
  void ReadHeader();
  // Bisects a table of `count` records of `size` bytes at `base` for the record
  // whose first field is `number`, and copies its first `held` bytes into
  // `record`. False when the record is missing.
  bool FindRecord(WORD count, WORD number, WORD size, DWORD base, void* record, UINT held);
  bool FindBook(WORD book, sBookRec& record);
  bool FindChapter(WORD book, WORD chapter, sChapterRec& record);
  // Reads the occurrence list at `offset` into `occurrences`; 0 for offset 0.
  int ReadList(DWORD offset, CUIntArray& occurrences);

  sVersesHeader m_Header{};
  WORD m_wHeaderLength = 0;
  DWORD m_dwBookTable = 0;
};
