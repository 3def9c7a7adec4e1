#include "zalang/language_string.h"

#include <algorithm>
#include <climits>
#include <cstddef>
#include <cstring>
#include <new>
#include <string>

#include "platform/exceptions.h"
#include "zalang/language_registry.h"

namespace {

// The block every empty string without a buffer of its own points at. It is never
// written: every change first gives the string a buffer.
struct EmptyBlock {
  cLanguageStringData data;
  unsigned short chars[1];
  unsigned short ids[1];
};
EmptyBlock g_emptyBlock = {{0, 0}, {0}, {0}};
static_assert(offsetof(EmptyBlock, chars) == sizeof(cLanguageStringData), "characters follow the block");

// Characters and ids each take two bytes, and the block must stay addressable by int.
constexpr LONG kMaxLength = (INT_MAX - static_cast<LONG>(sizeof(cLanguageStringData))) / 4 - 1;

unsigned short* CharsOf(cLanguageStringData* block) {
  return reinterpret_cast<unsigned short*>(reinterpret_cast<char*>(block) + sizeof(cLanguageStringData));
}

unsigned short* IdsOf(cLanguageStringData* block) { return CharsOf(block) + block->nAllocLength + 1; }

}  // namespace

void ConstructElements(cLanguageString* first, int count) {
  for (int i = 0; i < count; ++i) new (first + i) cLanguageString;
}

void DestructElements(cLanguageString* first, int count) {
  for (int i = 0; i < count; ++i) first[i].~cLanguageString();
}

cLanguageString::cLanguageString() noexcept { PointAtEmpty(); }

cLanguageString::cLanguageString(const cLanguageString& other) : cLanguageString() { *this = other; }

cLanguageString::cLanguageString(cLanguageString&& other) noexcept : cLanguageString() { *this = std::move(other); }

cLanguageString::cLanguageString(const unsigned short* text, unsigned short language) : cLanguageString() {
  AssignCopy(language, text, -1);
}

cLanguageString::cLanguageString(const char* text, unsigned short language) : cLanguageString() {
  SingleByteToWideChar(text, language, UINT_MAX);
}

cLanguageString::~cLanguageString() { Release(); }

cLanguageString& cLanguageString::operator=(const cLanguageString& other) {
  if (this == &other) return *this;
  const int length = static_cast<int>(other.GetLength());
  Resize(length, false);
  std::copy(other.m_pchData, other.m_pchData + length, m_pchData);
  std::copy(other.m_pLangIDs, other.m_pLangIDs + length, m_pLangIDs);
  return *this;
}

cLanguageString& cLanguageString::operator=(cLanguageString&& other) noexcept {
  if (this == &other) return *this;
  Release();
  m_pchData = other.m_pchData;
  m_pLangIDs = other.m_pLangIDs;
  other.PointAtEmpty();
  return *this;
}

cLanguageString& cLanguageString::operator=(const char* text) {
  SingleByteToWideChar(text, kDefaultLanguage, UINT_MAX);
  return *this;
}

void cLanguageString::AssignCopy(unsigned short language, const unsigned short* text, int length) {
  if (!text || length < -1) length = 0;
  if (length == -1) length = SafeStrlen(text);
  const unsigned short* end = m_pchData + GetData()->nAllocLength + 1;
  if (text >= m_pchData && text < end) {  // a piece of this string: copy it first
    cLanguageString copy;
    copy.AssignCopy(language, text, length);
    *this = std::move(copy);
    return;
  }
  Resize(length, false);
  std::copy(text, text + length, m_pchData);
  std::fill(m_pLangIDs, m_pLangIDs + length, language);
}

void cLanguageString::SingleByteToWideChar(const char* bytes, unsigned short language, unsigned int count) {
  size_t length = 0;
  if (bytes) {
    const void* zero = std::memchr(bytes, 0, std::min<size_t>(count, static_cast<size_t>(kMaxLength) + 1));
    length = zero ? static_cast<size_t>(static_cast<const char*>(zero) - bytes) : count;
  }
  if (length > static_cast<size_t>(kMaxLength)) AfxThrowMemoryException();
  Resize(static_cast<int>(length), false);
  // ASCII reads as itself in every table: text of it needs no code page built.
  const zalang::cCodePage* codePage = nullptr;
  for (size_t i = 0; i < length; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    if (byte < 0x80) {
      m_pchData[i] = byte;
      continue;
    }
    if (!codePage) codePage = &zalang::cLanguageRegistry::Get().CodePageOf(language);
    m_pchData[i] = codePage->Reading(byte);
  }
  std::fill(m_pLangIDs, m_pLangIDs + length, language);
}

cLanguageString& cLanguageString::operator+=(const cLanguageString& other) {
  const int length = static_cast<int>(GetLength());
  const int added = static_cast<int>(other.GetLength());
  if (added > kMaxLength - length) AfxThrowMemoryException();
  // Appending a string to itself needs no copy first: after Resize, other's
  // pointers are this string's, and they point at the kept characters.
  Resize(length + added, true);
  std::copy(other.m_pchData, other.m_pchData + added, m_pchData + length);
  std::copy(other.m_pLangIDs, other.m_pLangIDs + added, m_pLangIDs + length);
  return *this;
}

unsigned short cLanguageString::operator[](int index) const {
  return index >= 0 && static_cast<UINT>(index) < GetLength() ? m_pchData[index] : 0;
}

int cLanguageString::GetString(unsigned short* buffer) const {
  const int length = static_cast<int>(GetLength());
  std::copy(m_pchData, m_pchData + length + 1, buffer);
  return length;
}

cLanguageString::operator CString() const {
  const zalang::cLanguageRegistry& registry = zalang::cLanguageRegistry::Get();
  const size_t length = GetLength();
  return AfxAllocating([&] {
    std::string bytes(length, '?');
    for (size_t i = 0; i < length; ++i) {
      const int byte = registry.CodePageOf(m_pLangIDs[i]).PreferredByte(m_pchData[i]);
      if (byte >= 0) bytes[i] = static_cast<char>(byte);
    }
    return CString(bytes.data(), static_cast<int>(length));
  });
}

unsigned short cLanguageString::GetLanguage() const { return IsEmpty() ? 0 : m_pLangIDs[0]; }

void cLanguageString::Empty(int freeBuffer) {
  if (freeBuffer) {
    Release();
    PointAtEmpty();
  } else if (m_pchData != g_emptyBlock.chars) {
    Resize(0, false);
  }
}

void cLanguageString::Resize(int length, bool keep) {
  if (length == 0 && m_pchData == g_emptyBlock.chars) return;
  cLanguageStringData* block = GetData();
  if (length > block->nAllocLength) {
    if (length > kMaxLength) AfxThrowMemoryException();
    // Appending grows the buffer geometrically, so that a string built piece by
    // piece costs time linear in its length.
    const LONG capacity = keep ? std::max<LONG>(length, std::min(kMaxLength, block->nAllocLength * 2)) : length;
    const size_t bytes = sizeof(cLanguageStringData) + 4 * (static_cast<size_t>(capacity) + 1);
    auto* grown = static_cast<cLanguageStringData*>(AfxAllocating([&] { return ::operator new(bytes); }));
    grown->nAllocLength = capacity;
    grown->nDataLength = 0;
    if (keep) {
      std::copy(m_pchData, m_pchData + block->nDataLength, CharsOf(grown));
      std::copy(m_pLangIDs, m_pLangIDs + block->nDataLength, IdsOf(grown));
    }
    Release();
    block = grown;
    m_pchData = CharsOf(block);
    m_pLangIDs = IdsOf(block);
  }
  block->nDataLength = length;
  m_pchData[length] = 0;
  m_pLangIDs[length] = 0;
}

void cLanguageString::Release() noexcept {
  if (m_pchData != g_emptyBlock.chars) ::operator delete(GetData());
}

void cLanguageString::PointAtEmpty() noexcept {
  m_pchData = g_emptyBlock.chars;
  m_pLangIDs = g_emptyBlock.ids;
}
