// Flattening of arrays of section records: the element count (u32), then per
// element its flattened length (u32) and the flattened record.
#include <cstring>
#include <limits>
#include <new>

#include "files/endian.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

int cORVABookBase::StoreSectionsArray(char** buffer, CArray<cSectionsData, cSectionsData&>& sections) {
  const int count = sections.GetSize();
  size_t total = 4;
  for (int i = 0; i < count; ++i) total += 4 + sections[i].FlatSize();
  if (total > static_cast<size_t>(std::numeric_limits<int>::max())) AfxThrowMemoryException();

  auto* out = static_cast<unsigned char*>(AfxAllocating([&] { return ::operator new(total); }));
  orva::EncodeU32(out, static_cast<std::uint32_t>(count));
  unsigned char* at = out + 4;
  for (int i = 0; i < count; ++i) {
    const size_t size = sections[i].FlatSize();
    orva::EncodeU32(at, static_cast<std::uint32_t>(size));
    sections[i].FlattenInto(at + 4);
    at += 4 + size;
  }
  *buffer = reinterpret_cast<char*>(out);
  return static_cast<int>(total);
}

void cORVABookBase::LoadSectionsArray(char* buffer, CArray<cSectionsData, cSectionsData&>& sections) {
  const auto* in = reinterpret_cast<const unsigned char*>(buffer);
  const int count = static_cast<int>(orva::DecodeU32(in));
  sections.SetSize(count);
  const unsigned char* at = in + 4;
  for (int i = 0; i < count; ++i) {
    const std::uint32_t size = orva::DecodeU32(at);
    sections[i].Load(reinterpret_cast<const char*>(at + 4));
    at += 4 + static_cast<size_t>(size);
  }
}
