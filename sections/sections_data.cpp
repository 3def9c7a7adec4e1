#include "orvada/sections_data.h"

#include <cstring>
#include <limits>
#include <new>

#include "files/endian.h"
#include "platform/exceptions.h"

namespace {

constexpr size_t kNameAt = 36;       // the name follows eight keys and its length
constexpr size_t kFixedSize = 42;    // everything but the name's bytes

}  // namespace

cSectionsData::cSectionsData() : m_SyncData{} {}

void cSectionsData::GetSyncData(SYNC_DATA* data) const {
  data->words.dwValue = m_SyncData.words.dwValue;
  data->words.wValue = m_SyncData.words.wValue;
}

size_t cSectionsData::FlatSize() const { return kFixedSize + static_cast<size_t>(m_strName.GetLength()); }

void cSectionsData::FlattenInto(unsigned char* out) const {
  const int keys[] = {m_nLevel,     m_nBookKey,   m_nLevelCount, m_nSectionKey,
                      m_nParentKey, m_nChildKey,  m_nNextKey,    m_nPrevKey};
  for (size_t i = 0; i < 8; ++i) orva::EncodeU32(out + 4 * i, static_cast<std::uint32_t>(keys[i]));
  const size_t length = static_cast<size_t>(m_strName.GetLength());
  orva::EncodeU32(out + 32, static_cast<std::uint32_t>(length));
  if (length) std::memcpy(out + kNameAt, static_cast<const char*>(m_strName), length);
  orva::EncodeU32(out + kNameAt + length, m_SyncData.words.dwValue);
  orva::EncodeU16(out + kNameAt + length + 4, m_SyncData.words.wValue);
}

int cSectionsData::Store(char** buffer) const {
  const size_t size = FlatSize();
  if (size > static_cast<size_t>(std::numeric_limits<int>::max())) AfxThrowMemoryException();
  auto* out = static_cast<unsigned char*>(AfxAllocating([&] { return ::operator new(size); }));
  FlattenInto(out);
  *buffer = reinterpret_cast<char*>(out);
  return static_cast<int>(size);
}

void cSectionsData::Load(const char* buffer) {
  const auto* in = reinterpret_cast<const unsigned char*>(buffer);
  int* const keys[] = {&m_nLevel,     &m_nBookKey,  &m_nLevelCount, &m_nSectionKey,
                       &m_nParentKey, &m_nChildKey, &m_nNextKey,    &m_nPrevKey};
  for (size_t i = 0; i < 8; ++i) *keys[i] = orva::DecodeI32(in + 4 * i);
  const size_t length = orva::DecodeU32(in + 32);
  // The name is taken as a zero-terminated string: a zero byte ends it.
  const void* zero = std::memchr(in + kNameAt, 0, length);
  const size_t kept = zero ? static_cast<size_t>(static_cast<const unsigned char*>(zero) - (in + kNameAt)) : length;
  m_strName = CString(buffer + kNameAt, static_cast<int>(kept));
  m_SyncData.words.dwValue = orva::DecodeU32(in + kNameAt + length);
  m_SyncData.words.wValue = orva::DecodeU16(in + kNameAt + length + 4);
}

void ConstructElements(cSectionsData* first, int count) {
  for (int i = 0; i < count; ++i) new (first + i) cSectionsData;
}

void DestructElements(cSectionsData* first, int count) {
  for (int i = 0; i < count; ++i) first[i].~cSectionsData();
}
