// Packaged strings and matching with ambiguous characters.
#include <cstring>
#include <string>

#include "langtext/tagged_string.h"

namespace {

constexpr char kSeparator = static_cast<char>(ORVA_ALTERNATIVES_SEPARATOR);
constexpr char kPlaceholder = static_cast<char>(ORVA_AMBIGUOUS_PLACEHOLDER);

}  // namespace

CString PackageAmbiguity(const CString& tagged, const CStringArray& alternatives) {
  return AfxAllocating([&] {
    std::string out(tagged, static_cast<size_t>(tagged.GetLength()));
    for (int k = 0; k < alternatives.GetSize(); ++k) {
      out += kSeparator;
      out.append(alternatives[k], static_cast<size_t>(alternatives[k].GetLength()));
    }
    return CString(out.data(), static_cast<int>(out.size()));
  });
}

void UnpackageAmbiguity(const CString& packaged, CString& tagged, CStringArray& alternatives) {
  const char* bytes = packaged;
  const auto size = static_cast<size_t>(packaged.GetLength());
  const auto* separator = static_cast<const char*>(std::memchr(bytes, kSeparator, size));
  if (!separator) {
    tagged = packaged;
    return;
  }
  AfxAllocating([&] { tagged = CString(bytes, static_cast<int>(separator - bytes)); });
  const char* end = bytes + size;
  for (const char* piece = separator + 1;; piece = separator + 1) {
    separator = static_cast<const char*>(std::memchr(piece, kSeparator, static_cast<size_t>(end - piece)));
    const char* pieceEnd = separator ? separator : end;
    alternatives.Add(AfxAllocating([&] { return CString(piece, static_cast<int>(pieceEnd - piece)); }));
    if (!separator) break;
  }
}

std::string SubstitutePlaceholders(const char* pattern, const CStringArray& alternatives) {
  std::string substituted = AfxAllocating([&] { return std::string(pattern ? pattern : ""); });
  int k = 0;
  for (char& byte : substituted) {
    if (byte != kPlaceholder) continue;
    if (k < alternatives.GetSize() && !alternatives[k].IsEmpty()) byte = alternatives[k][0];
    ++k;
  }
  return substituted;
}

int MatchConvertedPattern(const char* word, const cLanguageString& pattern, int options) {
  return pattern.Compare(TaggedStringToLang(word ? word : ""), options, 0) == 0 ? 1 : 0;
}

int MatchAmbiguous(const char* word, const char* pattern, const CStringArray& alternatives, int length,
                   int options) {
  if (length == 0) return 0;
  const std::string substituted = SubstitutePlaceholders(pattern, alternatives);
  if (length == -1) return MatchConvertedPattern(word, TaggedStringToLang(substituted.c_str()), options);
  const cLanguageString wordString = TaggedStringToLang(LeftVisible(length, word ? word : ""));
  const cLanguageString patternString = TaggedStringToLang(LeftVisible(length, substituted.c_str()));
  return patternString.Compare(wordString, options, 0) == 0 ? 1 : 0;
}

int MatchPackagedAmbiguous(const char* word, const char* packaged, int length, int options) {
  CString tagged;
  CStringArray alternatives;
  UnpackageAmbiguity(CString(packaged), tagged, alternatives);
  return MatchAmbiguous(word, tagged, alternatives, length, options);
}
