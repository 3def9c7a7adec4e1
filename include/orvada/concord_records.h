// On-disk records of the concordance file, copied from the file as they stand.
#pragma once

#include "platform/types.h"

#pragma pack(push, 1)
// The concordance header: the variable record after the version record.
struct sConcordHeader {
  WORD wRecordLength;     // H, these two bytes included
  WORD wLanguageCount;    // L
  WORD wLanguageRecSize;  // LR, the size of one language record
  BYTE byCoded;           // 0: plain lists; nonzero: coded lists
  BYTE byReserved;
};

// One record of the language table (only its first 16 bytes are read).
struct sLanguageRec {
  WORD wLanguageID;
  DWORD dwWordCount;       // W
  DWORD dwWordTableOffset;
  WORD wWordRecSize;       // WR
  WORD wPositionRange;     // P
  WORD wReserved;
};
#pragma pack(pop)

static_assert(sizeof(sConcordHeader) == 8, "sConcordHeader is 8 bytes on disk");
static_assert(sizeof(sLanguageRec) == 16, "sLanguageRec is 16 bytes on disk");
