// Language tags and the visible characters of tagged strings.
#include <algorithm>

#include "langtext/tagged_string.h"

namespace {

constexpr unsigned char kSeparator = ORVA_ALTERNATIVES_SEPARATOR;

// Steps over the visible character or valid tag at text[position]: returns 1 for a
// visible character, 0 for a tag. Afterwards `position` is on the byte after it,
// or on the terminating zero when a tag's name ran to the end.
int Step(const char* text, int& position) {
  unsigned short language = 0;
  if (text[position] == ORVA_LANGUAGE_TAG_START && ParseLanguageTag(text, position, language)) {
    if (text[position] != 0) ++position;
    return 0;
  }
  ++position;
  return 1;
}

}  // namespace

int ParseLanguageTag(const char* text, int& position, unsigned short& language) {
  if (!text || position < 0 || text[position] != ORVA_LANGUAGE_TAG_START) return 0;
  const OrvaToILI& languages = OrvaToILI::Instance();
  constexpr int kMaxName = kLanguageTagWindow - 2;
  const int longest = std::min(languages.GetLongestNameLength(), kMaxName);
  const char* name = text + position + 1;
  unsigned short wide[kMaxName + 1];
  int length = 0;
  for (; name[length] != 0 && name[length] != ORVA_LANGUAGE_TAG_END; ++length) {
    if (length == longest) return 0;
    wide[length] = static_cast<unsigned char>(name[length]);
  }
  if (length == 0) return 0;
  wide[length] = 0;
  const unsigned short id = languages.OrvaLanguageStringToOrvaLangId(wide);
  if (id == 0) return 0;
  language = id;
  position += length + 1;
  return 1;
}

int VisibleLength(const char* text) {
  if (!text) return 0;
  int count = 0;
  for (int position = 0; text[position] != 0 && static_cast<unsigned char>(text[position]) != kSeparator;)
    count += Step(text, position);
  return count;
}

CString LeftVisible(int count, const char* text) {
  if (!text || count <= 0) return CString();
  int taken = 0;
  int position = 0;
  while (text[position] != 0 && taken < count) taken += Step(text, position);
  return AfxAllocating([&] { return CString(text, position); });
}

int VisibleIndexToByteIndex(int index, const char* text) {
  if (!text || index < 0) return -1;
  int count = 0;
  int position = 0;
  while (text[position] != 0 && count <= index) count += Step(text, position);
  return position - 1;
}
