// On-disk records of the concordance ("concord.idx"), copied from the file as they
// stand: the header after the version record, one record of the language table, and
// the head of one record of a language's word table.
#pragma once

#include "platform/types.h"

#pragma pack(push, 1)
// The concordance header. Only its first 8 bytes are held; a shorter header record
// leaves the missing fields zero. With coded lists a u32, the key range N (the
// range of every coded key list), follows the header record, and the language
// table follows that.
struct sConcordHeader {
  WORD wRecordLength;     // H, these two bytes included
  WORD wLanguageCount;    // L
  WORD wLanguageRecSize;  // LR, the size of one language record (at least 14)
  BYTE byCoded;           // 0: plain lists; nonzero: key lists, position directories
                          // and position lists are coded lists
  BYTE byReserved;
};

// One record of the language table (only its first 16 bytes are read).
struct sLanguageRec {
  WORD wLanguageID;
  DWORD dwWordCount;       // W: word keys are 0 ... W-1
  DWORD dwWordTableOffset; // position of the word table: W records of WR bytes
  WORD wWordRecSize;       // WR (at least 18 with plain lists, 16 with coded ones)
  WORD wPositionRange;     // P, the range of the language's coded position lists
  WORD wReserved;
};

// The first 18 bytes of a word record. The word entry at dwEntryOffset holds the
// word's length (i16, in characters), its text (bytes for language 1033, 16-bit
// characters otherwise) and then its key list. The last six bytes depend on the
// file's coding flag.
struct sWordListRec {
  DWORD dwData;         // the book's own; the library passes it on unread
  DWORD dwKeyCount;     // plain: K32, the keys stored as u32; coded: K, every key
  DWORD dwEntryOffset;  // position of the word entry
  union {
    struct {
      WORD wKey16Count;      // K16, the keys stored as u16 (before the u32 ones)
      DWORD dwPositionTable; // position of K u32 offsets of the position lists
    } plain;
    struct {
      DWORD dwPositionDirectory;  // position of the coded offsets of the position lists
      WORD wData;                 // the book's own; passed on unread
    } coded;
  } lists;
};
#pragma pack(pop)

static_assert(sizeof(sConcordHeader) == 8, "sConcordHeader is 8 bytes on disk");
static_assert(sizeof(sLanguageRec) == 16, "sLanguageRec is 16 bytes on disk");
static_assert(sizeof(sWordListRec) == 18, "sWordListRec is 18 bytes on disk");

// The framework's element functions for collections of language records: they do
// nothing (the records are plain data).
void ConstructElements(sLanguageRec* first, int count);
void DestructElements(sLanguageRec* first, int count);
