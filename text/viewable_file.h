// cViewableFile: the file object of "viewable.idx" in the shared book store.
//
// viewable.idx holds the version record, then at its length V the header record
// (sViewableHeader, length H), then from V + H the descriptor table: A + B records
// of R bytes, the record of block i at V + H + i * R, each beginning with an
// sViewableRec. Block 0 is the preamble; block i is shown as viewable area i, the
// preamble followed by the block's text.
//
// Reading raises the framework's file exception (CFileException*, OS error -1, no
// file name): cause 14 (endOfFile) for a header or a descriptor record that runs
// past the end of the file, cause 1 (generic) for a descriptor record size R below
// 12, which cannot hold a descriptor.
#pragma once

#include <cstdint>

#include "orvada/file_base.h"
#include "orvada/text_records.h"

class cBookStore;
class cORVABookBase;

class cViewableFile : public cFileBase {
 public:
  // Opens the book's GetViewablePath() followed by "viewable.idx" through
  // cFileBase::Open; the first successful open in the object's life records `store`
  // as the owner and reads the header record. Returns 0 or an error code.
  int Open(cBookStore& store, cORVABookBase& book);

  // The number of descriptors, A + B, as a signed 32-bit sum; block numbers
  // 0 .. A + B - 1 are valid (none when a damaged header makes the sum negative).
  int BlockCount() const { return static_cast<int>(m_Header.dwAreaCount + m_Header.dwBlockCount); }
  // 1 when `block` is not a valid block number; otherwise fills `descriptor` and
  // returns 0.
  int ReadDescriptor(int block, sViewableRec& descriptor);
  // The text size of `block`, 0 when the number is not valid.
  DWORD BlockSize(int block);
  // 0 when the block is empty or not valid, else the preamble size + its text size.
  std::uint64_t AreaSize(int block);
  // Nonzero when the book's blocks are compressed (any nonzero compression type).
  BOOL IsCompressed() const { return m_Header.byCompression != 0 ? TRUE : FALSE; }
  const sViewableHeader& Header() const { return m_Header; }

  // The preamble size that area sizes add, copied from the text file once it has
  // loaded the preamble.
  void SetPreambleSize(DWORD size) { m_dwPreambleSize = size; }

 private:
  void ReadHeader();

  sViewableHeader m_Header{};
  WORD m_wHeaderLength = 0;
  DWORD m_dwFirstDescriptor = 0;
  DWORD m_dwPreambleSize = 0;
};
