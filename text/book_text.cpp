// The book object's text members: they check the parts they need and read through
// the store's text file and viewable index.
#include <algorithm>
#include <climits>
#include <cstdint>

#include "book/book_store.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

namespace {

// Makes sure the store's text file holds the preamble and the index knows its
// size; false when descriptor 0 cannot be read.
bool EnsurePreamble(cBookStore& store) {
  cTextFile& text = store.m_TextFile;
  cViewableFile& index = store.m_ViewableFile;
  if (!text.HasPreamble()) {
    sViewableRec first;
    if (index.ReadDescriptor(0, first) != 0) return false;
    text.LoadPreamble(first, index.Header().byCompression);
  }
  index.SetPreambleSize(text.PreambleSize());
  return true;
}

// An area or block size as the members return it: sizes of 2 GiB and more cannot
// be returned, and their areas cannot be read.
int AsSize(std::uint64_t size) { return size > static_cast<std::uint64_t>(INT_MAX) ? 0 : static_cast<int>(size); }

// Reads `count` bytes of area `area` from `position` on; false when the preamble
// or the area's descriptor cannot be read.
bool ReadRange(cBookStore& store, int area, int position, int count, char* buffer) {
  if (count < 0 || !EnsurePreamble(store)) return false;
  sViewableRec block;
  if (store.m_ViewableFile.ReadDescriptor(area, block) != 0) return false;
  BYTE* destination = reinterpret_cast<BYTE*>(buffer);
  if (store.m_ViewableFile.IsCompressed()) {
    store.m_TextFile.ReadCompressedRange(block, position, count, destination);
  } else {
    store.m_TextFile.ReadStoredRange(block, position, count, destination);
  }
  return true;
}

}  // namespace

int cORVABookBase::GetViewableAreaSize(int area) {
  RequireOpen(ORVA_VIEWABLE);
  if (!EnsurePreamble(*m_pStore)) return 0;
  return AsSize(m_pStore->m_ViewableFile.AreaSize(area));
}

int cORVABookBase::GetViewableArea(int area, char* buffer) {
  RequireOpen(ORVA_TEXT | ORVA_VIEWABLE);
  if (!EnsurePreamble(*m_pStore)) return 1;
  sViewableRec block;
  if (m_pStore->m_ViewableFile.ReadDescriptor(area, block) != 0) return 1;
  // An empty block makes an empty area (its size is 0): a buffer sized by
  // GetViewableAreaSize has no room for the preamble.
  if (block.dwTextSize == 0) return 0;
  if (m_pStore->m_TextFile.PreambleSize() + static_cast<std::uint64_t>(block.dwTextSize) > INT_MAX) return 1;
  m_pStore->m_TextFile.ReadArea(block, reinterpret_cast<BYTE*>(buffer));
  return 0;
}

int cORVABookBase::GetFirstViewableAreaChunk(int area, unsigned int chunkSize, char* buffer) {
  RequireOpen(ORVA_TEXT | ORVA_VIEWABLE);
  m_nChunkPosition = 0;
  m_nChunkAreaSize = 0;
  m_nChunkAreaNumber = area;
  m_nChunkSize = static_cast<int>(chunkSize);
  m_nChunkAreaSize = GetViewableAreaSize(area);
  const int count = std::min(m_nChunkSize, m_nChunkAreaSize);
  if (!ReadRange(*m_pStore, area, 0, count, buffer)) return 0;
  m_nChunkPosition = count;
  return count;
}

int cORVABookBase::GetNextViewableAreaChunk(char* buffer) {
  RequireOpen(ORVA_TEXT | ORVA_VIEWABLE);
  const int count = std::min(m_nChunkAreaSize - m_nChunkPosition, m_nChunkSize);
  if (count <= 0) return 0;
  if (!ReadRange(*m_pStore, m_nChunkAreaNumber, m_nChunkPosition, count, buffer)) return 0;
  m_nChunkPosition += count;
  return count;
}

int cORVABookBase::GetViewableBlockSize(int block) {
  RequireOpen(ORVA_VIEWABLE);
  return AsSize(m_pStore->m_ViewableFile.BlockSize(block));
}

int cORVABookBase::GetViewableBlock(int block, char* buffer) {
  RequireOpen(ORVA_TEXT | ORVA_VIEWABLE);
  if (!EnsurePreamble(*m_pStore)) return 1;
  sViewableRec descriptor;
  if (m_pStore->m_ViewableFile.ReadDescriptor(block, descriptor) != 0) return 1;
  if (descriptor.dwTextSize > static_cast<DWORD>(INT_MAX)) return 1;
  m_pStore->m_TextFile.ReadBlock(descriptor, reinterpret_cast<BYTE*>(buffer));
  return 0;
}

void cORVABookBase::GetBookHeaderData(sVersionRecord& record) {
  RequireOpen(ORVA_TEXT);
  m_pStore->m_TextFile.CopyVersionRecord(record);
}

CString cORVABookBase::GetHeaderControlWordData(const char* word) {
  RequireOpen(ORVA_TEXT);
  return m_pStore->m_TextFile.ReadControlWord(word);
}
