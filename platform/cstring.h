// CString: the framework's 8-bit string with value semantics. It may hold any bytes,
// NUL included (the length counts), and converts to a NUL-terminated `const char*`
// that stays valid until the string is next changed or destroyed. Every member that
// allocates raises CMemoryException* when memory runs out.
#pragma once

#include <string>

#include "platform/object.h"
#include "platform/types.h"

class CString {
 public:
  CString() = default;
  CString(const char* text);  // NOLINT: implicit by design
  CString(const char* bytes, int length);
  CString(char ch, int repeat = 1);
  CString(const CString& other);
  CString(CString&& other) noexcept = default;
  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept = default;
  ~CString() = default;

  operator const char*() const { return m_text.c_str(); }  // NOLINT: implicit by design

  int GetLength() const { return static_cast<int>(m_text.size()); }
  BOOL IsEmpty() const { return m_text.empty() ? TRUE : FALSE; }
  void Empty() { m_text.clear(); }
  // An index outside the string raises CFileException(generic).
  char GetAt(int index) const;
  char operator[](int index) const { return GetAt(index); }

  CString& operator=(const char* text);
  CString& operator+=(const CString& other);
  CString& operator+=(const char* text);
  CString& operator+=(char ch);

  // Byte comparisons: negative, 0 or positive, bytes taken as unsigned.
  int Compare(const char* other) const;
  // As Compare, with the ASCII letters A-Z folded to a-z first.
  int CompareNoCase(const char* other) const;

  // Index of the first occurrence, or -1.
  int Find(char ch) const;
  int Find(const char* sub) const;

  // Substrings; counts and positions are clamped to the string.
  CString Left(int count) const;
  CString Mid(int first) const;
  CString Mid(int first, int count) const;
  CString Right(int count) const;

  friend CString operator+(const CString& a, const CString& b);
  friend CString operator+(const CString& a, const char* b);
  friend CString operator+(const char* a, const CString& b);
  friend CString operator+(const CString& a, char b);

  friend bool operator==(const CString& a, const CString& b) { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const char* b) { return a.Compare(b) == 0; }
  friend bool operator==(const char* a, const CString& b) { return b.Compare(a) == 0; }
  friend bool operator!=(const CString& a, const CString& b) { return !(a == b); }
  friend bool operator!=(const CString& a, const char* b) { return !(a == b); }
  friend bool operator!=(const char* a, const CString& b) { return !(a == b); }
  friend bool operator<(const CString& a, const CString& b) { return a.m_text < b.m_text; }

 private:
  explicit CString(std::string text) : m_text(std::move(text)) {}

  std::string m_text;
};
