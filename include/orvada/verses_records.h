// On-disk records of the verses index ("verses.idx"), copied from the file as they
// stand: the header after the version record and the heads of the book, chapter
// and verse records. A list offset of 0 means the index holds no such list.
//
// An occurrence list at its offset is a u32 count n, then n u32 values (plain) or a
// coded list of n values with the header's occurrence range (coded).
#pragma once

#include "platform/types.h"

#pragma pack(push, 1)
// The verses header. Only its first 14 bytes are held; a shorter header record
// leaves the missing fields zero. The book table follows the header record.
struct sVersesHeader {
  WORD wRecordLength;     // H, these two bytes included
  WORD wBookCount;        // NB
  WORD wBookRecSize;      // BR (at least 20)
  WORD wChapterRecSize;   // CR (at least 16)
  WORD wVerseRecSize;     // VR (at least 6)
  BYTE byCoded;           // 0: plain occurrence lists; nonzero: coded
  WORD wOccurrenceRange;  // G, the range of every coded occurrence list
  BYTE byReserved;
};

// The head of a book record; the book table is sorted by book number.
struct sBookRec {
  WORD wBook;
  WORD wChapterCount;         // NC
  DWORD dwChapterTable;       // position of NC chapter records of CR bytes
  DWORD dwBookList;           // the book as a whole
  DWORD dwAllChaptersList;    // all chapters of the book
  DWORD dwAllVersesList;      // all verses of the book
};

// The head of a chapter record; a chapter table is sorted by chapter number.
struct sChapterRec {
  WORD wChapter;
  WORD wVerseCount;        // NV
  DWORD dwVerseTable;      // position of NV verse records of VR bytes
  DWORD dwChapterList;     // the chapter as a whole
  DWORD dwAllVersesList;   // all verses of the chapter
};

// The head of a verse record; a verse table is sorted by verse number.
struct sVerseRec {
  WORD wVerse;
  DWORD dwVerseList;
};
#pragma pack(pop)

static_assert(sizeof(sVersesHeader) == 14, "sVersesHeader is 14 bytes on disk");
static_assert(sizeof(sBookRec) == 20, "sBookRec is 20 bytes on disk");
static_assert(sizeof(sChapterRec) == 16, "sChapterRec is 16 bytes on disk");
static_assert(sizeof(sVerseRec) == 6, "sVerseRec is 6 bytes on disk");
