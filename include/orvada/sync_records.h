// On-disk records of the sync indexes, copied from the file as they stand: the
// word, Strong's-number and date sync files ("wsync.idx", "ssync.idx", "dsync.idx"),
// which share one format, and the verse sync file ("vsync.idx").
//
// Both formats keep a header record after the version record; only its first 16
// bytes are held, a shorter record leaves the missing fields zero.
#pragma once

#include "platform/types.h"

#pragma pack(push, 1)
// The header of a word, Strong's-number or date sync file.
struct sSyncHeader {
  WORD wRecordLength;  // H, the header record's length, these two bytes included
  WORD wReserved;
  DWORD dwWordCount;   // entries in the entry table
  WORD wEntrySize;     // size of one entry (at least 8)
  BYTE reserved[6];
};

// The first 8 bytes of an entry of the table that follows the header. The entries
// are sorted by their words, compared as _mbsicmp does.
struct sSyncEntry {
  DWORD dwSyncKey;     // what a look-up of the entry's word returns
  DWORD dwWordOffset;  // position of the word: i16 byte count, then the bytes
};

// The header of the verse sync file.
struct sVSyncHeader {
  WORD wRecordLength;    // H, these two bytes included
  WORD wFirstBook;       // the book numbers of the book table, first ... last
  WORD wLastBook;
  WORD wBookRecordSize;  // size of one book record (at least 6)
  WORD wVerseEntrySize;  // size of one verse entry (at least 8)
  BYTE reserved[6];
};

// The first 6 bytes of a record of the book table that follows the header.
struct sVSyncBookRec {
  DWORD dwVerseTableOffset;  // position of the book's verse table; 0: none
  WORD wVerseCount;
};

// The first 8 bytes of a verse entry; a book's entries are sorted by chapter, then
// verse.
struct sVSyncVerseRec {
  WORD wChapter;
  WORD wVerse;
  DWORD dwValue;  // the section key of the verse
};
#pragma pack(pop)

static_assert(sizeof(sSyncHeader) == 16, "sSyncHeader holds the first 16 header bytes");
static_assert(sizeof(sSyncEntry) == 8, "sSyncEntry is the first 8 bytes of an entry");
static_assert(sizeof(sVSyncHeader) == 16, "sVSyncHeader holds the first 16 header bytes");
static_assert(sizeof(sVSyncBookRec) == 6, "sVSyncBookRec is the first 6 bytes of a book record");
static_assert(sizeof(sVSyncVerseRec) == 8, "sVSyncVerseRec is the first 8 bytes of a verse entry");
