// On-disk records of the viewable index (viewable.idx), copied from the file as
// they stand.
#pragma once

#include "platform/types.h"

#pragma pack(push, 1)
// The header: the variable record after the version record. Only its first 16
// bytes are held; a shorter record leaves the missing fields zero.
struct sViewableHeader {
  WORD wRecordLength;   // H, these two bytes included
  DWORD dwAreaCount;    // A: the descriptors of the preamble and the viewable areas
  DWORD dwBlockCount;   // B: further descriptors, of blocks that are read bare
  BYTE byCompression;   // 0 stored, 1 LZSS; the same for every block of the book
  BYTE byReserved1;
  WORD wRecordSize;     // R: the size of one descriptor record, at least 12
  WORD wReserved2;
};

// One descriptor: where a block of book.dat lies and how big it is. A descriptor
// record of R bytes begins with these 12; the rest is ignored.
struct sViewableRec {
  DWORD dwOffset;      // position of the block in book.dat
  DWORD dwTextSize;    // the block's text, once read and, if compressed, decoded
  DWORD dwStoredSize;  // the bytes a compressed block occupies in book.dat
};
#pragma pack(pop)

static_assert(sizeof(sViewableHeader) == 16, "sViewableHeader is 16 bytes on disk");
static_assert(sizeof(sViewableRec) == 12, "sViewableRec is 12 bytes on disk");
