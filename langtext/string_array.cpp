#include <climits>
#include <cstring>

#include "files/endian.h"
#include "orvada/book_base.h"
#include "platform/archive.h"
#include "platform/exceptions.h"

namespace {

constexpr UINT kHeaderSize = 8;  // element count (i32), data length (u32)

}  // namespace

// The strings are measured first and encoded straight into the one buffer handed
// out: no intermediate memory file, and no copy of the data beyond the one into
// the result.
int cORVABookBase::StoreCStringArray(char** buffer, const CStringArray& strings) {
  BYTE head[7];
  unsigned long long length = 0;
  for (int i = 0; i < strings.GetSize(); ++i) {
    const UINT size = static_cast<UINT>(strings[i].GetLength());
    length += CArchive::EncodeStringHead(size, head) + static_cast<unsigned long long>(size);
  }
  // The result's length is an int: larger data cannot be described.
  if (length > static_cast<unsigned long long>(INT_MAX) - kHeaderSize) AfxThrowMemoryException();
  auto* out = static_cast<unsigned char*>(AfxAllocating([&] { return ::operator new(kHeaderSize + length); }));
  orva::EncodeU32(out, static_cast<std::uint32_t>(strings.GetSize()));
  orva::EncodeU32(out + 4, static_cast<std::uint32_t>(length));
  unsigned char* at = out + kHeaderSize;
  for (int i = 0; i < strings.GetSize(); ++i) {
    const UINT size = static_cast<UINT>(strings[i].GetLength());
    const UINT headSize = CArchive::EncodeStringHead(size, head);
    std::memcpy(at, head, headSize);
    if (size) std::memcpy(at + headSize, static_cast<const char*>(strings[i]), size);
    at += headSize + size;
  }
  *buffer = reinterpret_cast<char*>(out);
  return static_cast<int>(kHeaderSize + length);
}

void cORVABookBase::LoadCStringArray(char* buffer, CStringArray& strings) {
  const auto* in = reinterpret_cast<const unsigned char*>(buffer);
  const LONG count = orva::DecodeI32(in);
  const UINT length = orva::DecodeU32(in + 4);
  if (count == 0) return;
  if (count < 0) AfxThrowFileException(CFileException::generic);
  // Every string takes at least one byte, so the data must run out before a count
  // above its length is reached; failing here keeps a damaged count from sizing
  // the array.
  if (static_cast<UINT>(count) > length) AfxThrowFileException(CFileException::endOfFile);
  strings.RemoveAll();
  strings.SetSize(count);
  CMemFile data(in + kHeaderSize, length);
  CArchive archive(&data, CArchive::load);
  for (int i = 0; i < count; ++i) archive >> strings[i];
}
