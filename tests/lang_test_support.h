// Helpers for the language-string suites: language strings from UTF-16 literals.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "orvada/lang_text.h"

namespace orva::test {

enum : unsigned short { kEnglish = 1033, kGerman = 1031, kGreek = 1032, kHebrew = 1037 };

// `text` with every character in `language`.
inline cLanguageString Lang(const std::u16string& text, unsigned short language = kEnglish) {
  cLanguageString s;
  s.AssignCopy(language, reinterpret_cast<const unsigned short*>(text.c_str()), static_cast<int>(text.size()));
  return s;
}

// Pieces of text, each in its own language, one after the other.
inline cLanguageString Lang(std::initializer_list<std::pair<std::u16string, unsigned short>> pieces) {
  cLanguageString s;
  for (const auto& piece : pieces) s += Lang(piece.first, piece.second);
  return s;
}

inline std::u16string CharsOf(const cLanguageString& s) {
  return {reinterpret_cast<const char16_t*>(s.GetString()), s.GetLength()};
}

inline std::vector<unsigned short> IdsOf(const cLanguageString& s) {
  return {s.GetLanguageIDs(), s.GetLanguageIDs() + s.GetLength()};
}

inline std::string BytesOf(const CString& s) { return {static_cast<const char*>(s), static_cast<size_t>(s.GetLength())}; }

}  // namespace orva::test
