#include "files/file_checks.h"

#include <algorithm>
#include <cstring>

#include "files/endian.h"

namespace orva {

WORD ReadHeaderRecord(cFileBase& file, LONG position, void* header, std::size_t size) {
  const WORD length = file.GetRecordSize(position);
  RequireBytes(file, position, length);
  std::memset(header, 0, size);
  file.Read(header, static_cast<UINT>(std::min<std::size_t>(length, size)));
  file.Seek(position + length, CFile::begin);
  return length;
}

int CountAt(cFileBase& file, long long position) {
  unsigned char count[2];
  ReadBytesAt(file, position, count, sizeof count);
  const int length = DecodeI16(count);
  if (length < 0) ThrowDamaged();
  return length;
}

int ReadCountedBytes(cFileBase& file, long long position, std::string& text, std::size_t limit) {
  const int length = CountAt(file, position);
  RequireBytes(file, position + 2, static_cast<unsigned long long>(length));
  const size_t kept = std::min(static_cast<size_t>(length), limit);
  AfxAllocating([&] { text.resize(kept); });
  if (kept > 0) file.Read(&text[0], static_cast<UINT>(kept));
  return length;
}

}  // namespace orva
