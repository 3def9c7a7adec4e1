#include "platform/cstring.h"

#include <algorithm>
#include <cstring>

#include "platform/exceptions.h"

namespace {

int FoldAscii(unsigned char c) { return (c >= 'A' && c <= 'Z') ? c + ('a' - 'A') : c; }

int Sign(int v) { return (v > 0) - (v < 0); }

}  // namespace

CString::CString(const char* text) {
  if (text) AfxAllocating([&] { m_text = text; });
}

CString::CString(const char* bytes, int length) {
  if (bytes && length > 0) AfxAllocating([&] { m_text.assign(bytes, static_cast<size_t>(length)); });
}

CString::CString(char ch, int repeat) {
  AfxAllocating([&] { m_text.assign(static_cast<size_t>(std::max(repeat, 0)), ch); });
}

CString::CString(const CString& other) { AfxAllocating([&] { m_text = other.m_text; }); }

CString& CString::operator=(const CString& other) {
  if (this != &other) AfxAllocating([&] { m_text = other.m_text; });
  return *this;
}

char CString::GetAt(int index) const {
  if (index < 0 || index >= GetLength()) AfxThrowFileException(CFileException::generic);
  return m_text[static_cast<size_t>(index)];
}

CString& CString::operator=(const char* text) {
  AfxAllocating([&] { m_text = text ? text : ""; });
  return *this;
}

CString& CString::operator+=(const CString& other) {
  AfxAllocating([&] { m_text += other.m_text; });
  return *this;
}

CString& CString::operator+=(const char* text) {
  if (text) AfxAllocating([&] { m_text += text; });
  return *this;
}

CString& CString::operator+=(char ch) {
  AfxAllocating([&] { m_text += ch; });
  return *this;
}

int CString::Compare(const char* other) const {
  return Sign(std::strcmp(m_text.c_str(), other ? other : ""));
}

int CString::CompareNoCase(const char* other) const {
  const auto* a = reinterpret_cast<const unsigned char*>(m_text.c_str());
  const auto* b = reinterpret_cast<const unsigned char*>(other ? other : "");
  for (;; ++a, ++b) {
    const int d = FoldAscii(*a) - FoldAscii(*b);
    if (d != 0 || *a == 0) return Sign(d);
  }
}

int CString::Find(char ch) const {
  const size_t at = m_text.find(ch);
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

int CString::Find(const char* sub) const {
  const size_t at = m_text.find(sub ? sub : "");
  return at == std::string::npos ? -1 : static_cast<int>(at);
}

CString CString::Left(int count) const { return Mid(0, count); }

CString CString::Mid(int first) const { return Mid(first, GetLength()); }

CString CString::Mid(int first, int count) const {
  const int size = GetLength();
  first = std::clamp(first, 0, size);
  count = std::clamp(count, 0, size - first);
  return CString(AfxAllocating([&] { return m_text.substr(static_cast<size_t>(first), static_cast<size_t>(count)); }));
}

CString CString::Right(int count) const {
  count = std::clamp(count, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString operator+(const CString& a, const CString& b) {
  return CString(AfxAllocating([&] { return a.m_text + b.m_text; }));
}
CString operator+(const CString& a, const char* b) {
  return CString(AfxAllocating([&] { return a.m_text + (b ? b : ""); }));
}
CString operator+(const char* a, const CString& b) {
  return CString(AfxAllocating([&] { return (a ? a : "") + b.m_text; }));
}
CString operator+(const CString& a, char b) {
  return CString(AfxAllocating([&] { return a.m_text + b; }));
}
