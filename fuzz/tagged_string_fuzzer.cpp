// Any bytes as tagged and packaged strings, and as 16-bit language strings, through
// every tagged-string function; checks the invariants that hold for any input.
// Input: one control byte, then a word, a zero byte and a pattern (packaged).
//   bit 0:    the options of the matches (ordinal)
//   bits 1-3: the length of the matches (-2, -1, 0, 1, 2, 3, 5, 100)
//   bits 4-6: the language of the 16-bit string made of the input's bytes
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "langtext/tagged_string.h"

namespace {

constexpr size_t kMaxInput = 512;

void Check(bool holds) {
  if (!holds) std::abort();
}

int Sign(int v) { return (v > 0) - (v < 0); }

// Tagged string -> language string -> tagged and packaged string, and back.
void RoundTrip(const char* text) {
  const cLanguageString language = TaggedStringToLang(text);
  CString tagged;
  CStringArray alternatives;
  LangToTaggedStrings(language, tagged, alternatives);
  const CString packaged = PackageAmbiguity(tagged, alternatives);
  CString unpackedTagged;
  CStringArray unpacked;
  UnpackageAmbiguity(packaged, unpackedTagged, unpacked);
  Check(unpackedTagged == tagged && unpacked.GetSize() == alternatives.GetSize());
  for (int k = 0; k < unpacked.GetSize(); ++k) Check(unpacked[k] == alternatives[k] && unpacked[k].GetLength() > 1);
  Check(VisibleLength(tagged) == static_cast<int>(TaggedStringToLang(tagged).GetLength()));
  Check(MatchPackagedAmbiguous(tagged, packaged, -1, 0) == 1 || alternatives.GetSize() > 0);
}

void Visible(const char* text) {
  const int length = static_cast<int>(std::strlen(text));
  VisibleLength(text);
  for (int k : {-1, 0, 1, 2, 7, 1000}) {
    const CString left = LeftVisible(k, text);
    Check(left.GetLength() <= length && std::memcmp(left, text, static_cast<size_t>(left.GetLength())) == 0);
    const int at = VisibleIndexToByteIndex(k, text);
    Check(at >= -1 && at < length);
  }
  for (int i = 0; i < length; ++i) {
    int position = i;
    unsigned short language = 0;
    if (ParseLanguageTag(text, position, language)) Check(position > i && position <= length && language != 0);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  const int options = data[0] & 1;
  const int length = std::vector<int>{-2, -1, 0, 1, 2, 3, 5, 100}[(data[0] >> 1) & 7];
  const unsigned short kLanguages[] = {1033, 1032, 1037, 1031, 0, 999, 1036, 1034};
  const unsigned short language = kLanguages[(data[0] >> 4) & 7];
  const std::string input(reinterpret_cast<const char*>(data + 1), size - 1);
  const std::string word = input.c_str();
  const std::string pattern = input.size() > word.size() ? input.substr(word.size() + 1).c_str() : "";
  try {
    Visible(word.c_str());
    RoundTrip(word.c_str());
    CString tagged;
    CStringArray alternatives;
    UnpackageAmbiguity(CString(pattern.c_str()), tagged, alternatives);
    MatchAmbiguous(word.c_str(), tagged, alternatives, length, options);
    MatchPackagedAmbiguous(word.c_str(), pattern.c_str(), length, options);
    Check(MatchAmbiguous(word.c_str(), word.c_str(), CStringArray(), length, options) == (length != 0));

    // The input's bytes as 16-bit characters.
    std::vector<unsigned short> chars((input.size() + 1) / 2 + 1, 0);
    std::memcpy(chars.data(), input.data(), input.size());
    const cLanguageString wide(chars.data(), language);
    const cLanguageString other = TaggedStringToLang(word.c_str());
    LangToPackagedString(wide);
    static_cast<void>(static_cast<CString>(wide));
    for (int collate = 0; collate < 2; ++collate) {
      Check(Sign(wide.Compare(other, options, collate)) == -Sign(other.Compare(wide, options, collate)));
      Check(wide.Compare(wide, options, collate) == 0);
    }
  } catch (CException* e) {
    e->Delete();
  }
  return 0;
}
