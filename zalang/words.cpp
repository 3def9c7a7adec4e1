#include "zalang/words.h"

#include "platform/exceptions.h"
#include "zalang/char_data.h"
#include "zalang/language_table.h"

namespace zalang {

namespace {

bool IsApostrophe(char16_t c) { return c == u'\'' || c == 0x2019; }
bool IsHyphen(char16_t c) { return c == u'-' || c == 0x2010 || c == 0x2011; }

bool IsSeparator(char16_t c) {
  if (c < 0x80) {
    return !((c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z'));
  }
  if (c < 0xC0) return c != 0xAA && c != 0xB5 && c != 0xBA;
  if (c == 0xD7 || c == 0xF7) return true;
  if (c >= 0x2000 && c <= 0x2BFF) return true;
  if (c >= 0x3000 && c <= 0x303F) return true;
  return c == 0x037E || c == 0x0387 || c == 0x05BE || c == 0x05C0 || c == 0x05C3 || c == 0x05C6 ||
         (c >= 0xD800 && c <= 0xDFFF) || c == 0xFFFD;
}

// Every combining mark lies at U+0300 or above: plain text never builds the
// language library's character tables.
bool IsMarkAbove(char16_t c) { return c >= 0x300 && IsMark(c); }

bool StartsWord(char16_t c) { return !IsSeparator(c) && !IsMarkAbove(c); }

}  // namespace

std::vector<WordSpan> SplitWords(const std::u16string& text) {
  std::vector<WordSpan> words;
  const size_t n = text.size();
  size_t previousEnd = 0;
  for (size_t at = 0; at < n;) {
    if (!StartsWord(text[at])) {
      ++at;
      continue;
    }
    WordSpan word{at, at + 1, false};
    while (word.end < n && !IsSeparator(text[word.end])) ++word.end;
    word.joined = !words.empty() && at == previousEnd + 1 &&
                  (IsApostrophe(text[previousEnd]) || IsHyphen(text[previousEnd]));
    AfxAllocating([&] { words.push_back(word); });
    previousEnd = at = word.end;
  }
  return words;
}

bool IsWordCharacter(char16_t c) { return !IsSeparator(c); }

void FoldWordInPlace(std::u16string& word) {
  size_t out = 0;
  for (char16_t c : word) {
    // ASCII folds as the language library folds it, without building its tables.
    if (c < 0x80) c = c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
    else if (IsApostrophe(c)) c = u'\'';
    else if (IsHyphen(c)) c = u'-';
    else c = cCharData::Get().Weight(c);
    if (c != 0) word[out++] = c;
  }
  word.resize(out);
}

std::u16string FoldWord(const std::u16string& word) {
  std::u16string folded = AfxAllocating([&] { return word; });
  FoldWordInPlace(folded);
  return folded;
}

std::string StrongsWord(const std::string& number) {
  if (number.size() < 2) return {};
  const char letter = number[0];
  if (letter != 'G' && letter != 'g' && letter != 'H' && letter != 'h') return {};
  if (number.find_first_not_of("0123456789", 1) != std::string::npos) return {};
  const size_t first = number.find_first_not_of('0', 1);
  if (first == std::string::npos || number.size() - first > 5) return {};
  return static_cast<char>(letter == 'G' || letter == 'g' ? 'g' : 'h') + number.substr(first);
}

std::string StrongsNumber(const std::string& word) {
  if (StrongsWord(word) != word) return word;
  return static_cast<char>(word[0] == 'g' ? 'G' : 'H') + word.substr(1);
}

}  // namespace zalang
