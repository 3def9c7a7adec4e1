#include "files/file_checks.h"

#include <algorithm>
#include <cstring>

namespace orva {

WORD ReadHeaderRecord(cFileBase& file, LONG position, void* header, std::size_t size) {
  const WORD length = file.GetRecordSize(position);
  RequireBytes(file, position, length);
  std::memset(header, 0, size);
  file.Read(header, static_cast<UINT>(std::min<std::size_t>(length, size)));
  file.Seek(position + length, CFile::begin);
  return length;
}

}  // namespace orva
