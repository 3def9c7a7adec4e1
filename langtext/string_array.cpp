#include <cstring>

#include "files/endian.h"
#include "orvada/book_base.h"
#include "platform/archive.h"
#include "platform/exceptions.h"

namespace {

constexpr UINT kHeaderSize = 8;  // element count (i32), data length (u32)

}  // namespace

int cORVABookBase::StoreCStringArray(char** buffer, const CStringArray& strings) {
  CMemFile data(1024);
  {
    CArchive archive(&data, CArchive::store, 4096);
    for (int i = 0; i < strings.GetSize(); ++i) archive << strings[i];
    archive.Close();
  }
  const UINT length = data.GetLength();
  auto* out = static_cast<unsigned char*>(AfxAllocating([&] { return ::operator new(kHeaderSize + length); }));
  orva::EncodeU32(out, static_cast<std::uint32_t>(strings.GetSize()));
  orva::EncodeU32(out + 4, length);
  if (length) std::memcpy(out + kHeaderSize, data.GetData(), length);
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
