// On-disk records of the sections index ("sections.idx"), copied from the file as
// they stand: the header that follows the version record, and the head of each
// entry record of the table that follows the header.
#pragma once

#include "orvada/sections_data.h"
#include "platform/types.h"

#pragma pack(push, 1)
// The sections header. Only its first 20 bytes are held; a shorter header record
// leaves the missing fields zero.
struct sSectionsHeader {
  WORD wRecordLength;       // H, the header record's length, these two bytes included
  LONG lSectionCount;       // S: section keys are 0 ... S-1
  LONG lGlossaryCount;      // G: glossary keys are S ... S+G-1
  WORD wRecordSize;         // R, the size of one entry record
  DWORD dwNonBibleOffset;   // position of the list of non-Bible sections
  DWORD dwWordCountOffset;  // position of the word-count table; 0 when there is none
};

// The first 29 bytes of an entry record. Links are file positions of other entry
// records (0 for none); a shorter record leaves the missing fields zero, a longer
// one has its remaining bytes ignored.
struct sSectionRec {
  DWORD dwParentOffset;
  DWORD dwPrevOffset;
  DWORD dwNextOffset;
  DWORD dwBookKey;
  short nLevelCount;    // keys back to the first entry of the entry's book
  BYTE byLevel;         // 1 for top-level sections
  DWORD dwNameOffset;   // position of the name: i16 byte count, then the bytes
  SYNC_DATA SyncData;
};
#pragma pack(pop)

static_assert(sizeof(sSectionsHeader) == 20, "sSectionsHeader is 20 bytes on disk");
static_assert(sizeof(sSectionRec) == 29, "sSectionRec is 29 bytes on disk");
