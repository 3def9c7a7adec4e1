#include "text/text_file.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <string>

#include "book/book_folder.h"
#include "files/endian.h"
#include "files/file_checks.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "text/lzss_codec.h"

namespace {

// No LZSS stream decodes to more than nine bytes per stored byte: a 2-byte pair
// copies at most 18. A compressed block whose text size is larger could only
// decode short, so it is refused before its text is allocated.
constexpr unsigned long long kMostDecodedPerStoredByte = 9;


std::unique_ptr<BYTE[]> Allocate(DWORD size) {
  return AfxAllocating([size] { return std::unique_ptr<BYTE[]>(new BYTE[size]); });
}

}  // namespace

cTextFile::cTextFile() = default;

cTextFile::~cTextFile() = default;

int cTextFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetTextPath() + orva::FileNameOfBit(ORVA_TEXT), [] {});
}

void cTextFile::CheckBlock(const sViewableRec& block) const {
  if (block.dwTextSize > static_cast<DWORD>(INT_MAX)) orva::ThrowDamaged();
  switch (m_byCompression) {
    case 0:
      orva::RequireBytes(*this, block.dwOffset, block.dwTextSize);
      break;
    case 1:
      orva::RequireBytes(*this, block.dwOffset, block.dwStoredSize);
      if (block.dwTextSize > kMostDecodedPerStoredByte * block.dwStoredSize) orva::ThrowDamaged();
      break;
    default:
      orva::ThrowDamaged();
  }
}

std::vector<char> cTextFile::ReadHeaderText() {
  const DWORD at = m_wVersionRecordLength;
  unsigned char length[4];
  orva::ReadBytesAt(*this, at, length, sizeof length);
  const DWORD textLength = orva::DecodeU32(length);
  orva::RequireBytes(*this, at + 4ll, textLength);
  std::vector<char> text;
  AfxAllocating([&] { text.resize(static_cast<size_t>(textLength) + 1); });
  if (textLength != 0) Read(text.data(), textLength);
  text[textLength] = '\0';
  return text;
}

CString cTextFile::ReadControlWord(const char* word) {
  const std::vector<char> text = ReadHeaderText();
  const std::string key = std::string("{\\") + (word ? word : "") + ":";
  // The search stops at the text's first zero byte (the terminator at the latest).
  const char* found = std::strstr(text.data(), key.c_str());
  if (found == nullptr) return CString();
  const char* first = found + key.size();
  const char* end = text.data() + text.size() - 1;
  const char* last = std::find(first, end, '}');
  return CString(first, static_cast<int>(last - first));
}

void cTextFile::CopyVersionRecord(sVersionRecord& record) const {
  std::memcpy(&record, &m_VersionRecord, std::min<size_t>(m_wVersionRecordLength, sizeof record));
}

int cTextFile::ReadBlock(const sViewableRec& block, BYTE* destination) {
  CheckBlock(block);
  Seek(static_cast<LONG>(block.dwOffset), CFile::begin);
  if (m_byCompression == 0) {
    if (block.dwTextSize != 0) Read(destination, block.dwTextSize);
    return 0;
  }
  const std::unique_ptr<BYTE[]> stored = Allocate(block.dwStoredSize);
  if (block.dwStoredSize != 0) Read(stored.get(), block.dwStoredSize);
  cMemoryReadStream in;
  in.m_pBuffer = stored.get();
  in.m_dwSize = block.dwStoredSize;
  cMemoryWriteStream out;
  out.m_pBuffer = destination;
  out.m_dwSize = block.dwTextSize;
  // One codec serves every block of the file: each call sets up its own state.
  if (!m_pCodec) m_pCodec = AfxAllocating([] { return std::make_unique<cLzssCodec>(); });
  m_pCodec->Decode(&in, &out);
  if (out.m_dwPosition != block.dwTextSize) orva::ThrowDamaged();
  return 0;
}

int cTextFile::LoadPreamble(const sViewableRec& first, BYTE compression) {
  if (m_bPreambleHeld) return 0;
  if (GetRefCount() == 0) orva::ThrowDamaged();
  m_byCompression = compression;
  CheckBlock(first);
  std::unique_ptr<BYTE[]> preamble = Allocate(first.dwTextSize);
  ReadBlock(first, preamble.get());
  m_pPreamble = std::move(preamble);
  m_dwPreambleSize = first.dwTextSize;
  m_bPreambleHeld = true;
  return 0;
}

void cTextFile::ReadArea(const sViewableRec& block, BYTE* destination) {
  // Checked before the preamble is written, so that a block this library refuses
  // leaves the caller's buffer untouched.
  CheckBlock(block);
  if (m_dwPreambleSize != 0) std::memcpy(destination, m_pPreamble.get(), m_dwPreambleSize);
  ReadBlock(block, destination + m_dwPreambleSize);
}

void cTextFile::CheckRange(const sViewableRec& block, LONG position, LONG count) const {
  const unsigned long long areaSize = static_cast<unsigned long long>(m_dwPreambleSize) + block.dwTextSize;
  if (position < 0 || count < 0 || static_cast<unsigned long long>(position) + count > areaSize) orva::ThrowDamaged();
}

LONG cTextFile::CopyPreamblePart(const sViewableRec& block, LONG position, LONG count, BYTE* destination) const {
  CheckRange(block, position, count);
  if (static_cast<DWORD>(position) >= m_dwPreambleSize) return 0;
  const LONG part = static_cast<LONG>(std::min<unsigned long long>(m_dwPreambleSize - position, count));
  if (part != 0) std::memcpy(destination, m_pPreamble.get() + position, static_cast<size_t>(part));
  return part;
}

void cTextFile::ReadStoredRange(const sViewableRec& block, LONG position, LONG count, BYTE* destination) {
  const LONG fromPreamble = CopyPreamblePart(block, position, count, destination);
  const DWORD rest = static_cast<DWORD>(count - fromPreamble);
  if (rest == 0) return;
  const unsigned long long at = block.dwOffset + (static_cast<unsigned long long>(position) + fromPreamble -
                                                  m_dwPreambleSize);
  orva::ReadBytesAt(*this, at, destination + fromPreamble, rest);
}

void cTextFile::ReadCompressedRange(const sViewableRec& block, LONG position, LONG count, BYTE* destination) {
  CheckRange(block, position, count);
  const bool sameBlock = m_bChunkHeld && std::memcmp(&m_ChunkBlock, &block, sizeof block) == 0;
  if (position == 0 || !sameBlock) {
    // A range at position 0 starts the reading of an area: its block is decoded
    // once, and the ranges after it are copied from memory. A later range of
    // another block (two readers interleaved) decodes its own block again.
    m_pChunk.reset();
    m_bChunkHeld = false;
    CheckBlock(block);
    std::unique_ptr<BYTE[]> chunk = Allocate(block.dwTextSize);
    ReadBlock(block, chunk.get());
    m_pChunk = std::move(chunk);
    m_ChunkBlock = block;
    m_bChunkHeld = true;
  }
  const LONG fromPreamble = CopyPreamblePart(block, position, count, destination);
  const size_t rest = static_cast<size_t>(count - fromPreamble);
  if (rest == 0) return;
  const size_t at = static_cast<size_t>(position) + static_cast<size_t>(fromPreamble) - m_dwPreambleSize;
  std::memcpy(destination + fromPreamble, m_pChunk.get() + at, rest);
}
