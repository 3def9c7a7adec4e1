#include "text/viewable_file.h"

#include <algorithm>

#include "book/book_folder.h"
#include "files/file_checks.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

int cViewableFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetViewablePath() + orva::FileNameOfBit(ORVA_VIEWABLE),
                     [this] { ReadHeader(); });
}

void cViewableFile::ReadHeader() {
  const DWORD at = m_wVersionRecordLength;
  m_wHeaderLength = orva::ReadHeaderRecord(*this, static_cast<LONG>(at), m_Header);
  m_dwFirstDescriptor = at + m_wHeaderLength;
}

int cViewableFile::ReadDescriptor(int block, sViewableRec& descriptor) {
  if (block < 0 || block >= BlockCount()) return 1;
  const WORD recordSize = m_Header.wRecordSize;
  if (recordSize < sizeof descriptor) orva::ThrowDamaged();
  // The whole record must be in the file, though only its first 12 bytes are kept.
  orva::SeekToBytes(*this, m_dwFirstDescriptor + static_cast<long long>(block) * recordSize, recordSize);
  Read(&descriptor, sizeof descriptor);
  return 0;
}

DWORD cViewableFile::BlockSize(int block) {
  sViewableRec descriptor;
  return ReadDescriptor(block, descriptor) == 0 ? descriptor.dwTextSize : 0;
}

std::uint64_t cViewableFile::AreaSize(int block) {
  const DWORD size = BlockSize(block);
  return size == 0 ? 0 : static_cast<std::uint64_t>(m_dwPreambleSize) + size;
}
