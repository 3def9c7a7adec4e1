// cTextFile: the file object of "book.dat" in the shared book store.
//
// book.dat holds the version record, then at its length V a u32 header-text length
// T and the T bytes of the header text (where the control words are written), and
// anywhere after that the text blocks, which only the descriptors of viewable.idx
// locate. A book's blocks are all stored (compression type 0: the text itself) or
// all LZSS-compressed (type 1: a stream of the stored size that decodes to exactly
// the text size).
//
// The file object keeps block 0, the preamble that precedes the text of every
// viewable area, from its first load for the rest of its life, and, for chunked
// reading of a compressed book, the decoded text of the block being read.
//
// Reading raises the framework's file exception (CFileException*, OS error -1, no
// file name): cause 14 (endOfFile) when a block, a header text or a range lies
// beyond the end of the file; cause 1 (generic) for a compressed block that
// decodes to fewer bytes than its text size, for a compression type other than 0
// and 1, and for a block the library will not read (below). An allocation failure
// raises CMemoryException*.
//
// Size bounds, checked against the descriptor and the file before anything is
// allocated or read: a stored block must lie within the file; a compressed block's
// stored bytes must lie within the file and its text size may be at most nine
// times its stored size (a 2-byte pair yields at most 18 bytes, so no stream
// decodes to more); and no block's text may reach 2 GiB, the limit of the book
// object's int sizes. The library therefore never allocates more for a block than
// nine times the file's length, and never 2 GiB or more.
#pragma once

#include <memory>
#include <vector>

#include "orvada/file_base.h"
#include "orvada/text_records.h"
#include "platform/cstring.h"

class cBookStore;
class cLzssCodec;
class cORVABookBase;

class cTextFile : public cFileBase {
 public:
  cTextFile();
  ~cTextFile() override;

  // Opens the book's GetTextPath() followed by "book.dat" through cFileBase::Open; the first
  // successful open records `store` as the owner. Returns 0 or an error code.
  int Open(cBookStore& store, cORVABookBase& book);

  // The T bytes of the header text followed by a zero byte.
  std::vector<char> ReadHeaderText();
  // The data of control word `word` in the header text: the bytes after the first
  // "{\word:" (searched, case counting, in the text before its first zero byte) up
  // to the next "}" or the end of the text. Empty when the word is not there.
  CString ReadControlWord(const char* word);
  // Copies the first min(L, 18) bytes of the version record (L its length field)
  // into `record`, leaving the rest of `record` as it was.
  void CopyVersionRecord(sVersionRecord& record) const;

  // Fills `destination` (the block's text size in bytes) with the text of the block
  // `block` describes, in the book's compression type. Returns 0 or raises.
  int ReadBlock(const sViewableRec& block, BYTE* destination);

  // Loads block 0 as the preamble and takes `compression` as the book's compression
  // type, once: when a preamble is held this returns 0 at once. A load that raises
  // leaves no preamble held, so the next read tries again. Raises the generic
  // file exception when the file is not open. Returns 0 or raises.
  int LoadPreamble(const sViewableRec& first, BYTE compression);
  bool HasPreamble() const { return m_bPreambleHeld; }
  DWORD PreambleSize() const { return m_dwPreambleSize; }
  BYTE CompressionType() const { return m_byCompression; }

  // Writes the preamble and then the text of `block` (preamble size + text size bytes).
  void ReadArea(const sViewableRec& block, BYTE* destination);
  // Writes area bytes `position` .. `position` + `count` - 1 of the area of `block`
  // (the preamble, then the block's text). The stored form reads the block's part
  // from the file; the compressed form decodes the block into the chunk buffer at
  // position 0, or when the buffer holds another block, and copies from it. A
  // range outside the area raises the generic file exception.
  void ReadStoredRange(const sViewableRec& block, LONG position, LONG count, BYTE* destination);
  void ReadCompressedRange(const sViewableRec& block, LONG position, LONG count, BYTE* destination);

 private:
  // Raises unless the block is one this library reads (see the size bounds above).
  void CheckBlock(const sViewableRec& block) const;
  // Raises unless area bytes position .. position + count - 1 of `block` exist.
  void CheckRange(const sViewableRec& block, LONG position, LONG count) const;
  // Checks the range and writes the part of it that comes from the preamble to
  // `destination`; returns the length of that part.
  LONG CopyPreamblePart(const sViewableRec& block, LONG position, LONG count, BYTE* destination) const;

  std::unique_ptr<BYTE[]> m_pPreamble;
  DWORD m_dwPreambleSize = 0;
  bool m_bPreambleHeld = false;
  BYTE m_byCompression = 0;
  // The decoded text of m_ChunkBlock while m_bChunkHeld.
  std::unique_ptr<BYTE[]> m_pChunk;
  sViewableRec m_ChunkBlock{};
  bool m_bChunkHeld = false;
  // The decoder of compressed blocks, made at the first one.
  std::unique_ptr<cLzssCodec> m_pCodec;
};
