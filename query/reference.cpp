#include "query/reference.h"

#include <cctype>
#include <cstring>

#include "query/book_access.h"
#include "query/book_list.h"

namespace orva::query {

namespace {

constexpr const char* kEnDash = "\xE2\x80\x93";  // U+2013 in UTF-8

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsSubsequence(const std::string& part, const std::string& whole) {
  size_t at = 0;
  for (char c : whole) {
    if (at < part.size() && part[at] == c) ++at;
  }
  return at == part.size();
}

size_t TrailingDigits(const std::string& text) {
  size_t at = text.size();
  while (at > 0 && std::isdigit(static_cast<unsigned char>(text[at - 1]))) --at;
  return at;
}

// Digits without their leading zeros ("0" for zeros alone).
std::string Number(const std::string& digits) {
  const size_t first = digits.find_first_not_of('0');
  return first == std::string::npos ? "0" : digits.substr(first);
}

// "Book Chapter:Verse", "Book Chapter", "Book", "Chapter:Verse" or "Number": the
// numbers from the end, the separator ':' or '.', blanks allowed around it.
WrittenPlace ParsePlace(const std::string& written) {
  WrittenPlace place;
  const std::string text = Trim(written);
  const size_t at = TrailingDigits(text);
  if (at == text.size()) {
    place.book = text;
    return place;
  }
  const std::string last = Number(text.substr(at));
  const std::string head = Trim(text.substr(0, at));
  if (head.empty()) {
    place.number = last;
    return place;
  }
  if (head.back() == ':' || head.back() == '.') {
    const std::string before = Trim(head.substr(0, head.size() - 1));
    const size_t chapterAt = TrailingDigits(before);
    if (chapterAt < before.size()) {
      place.book = Trim(before.substr(0, chapterAt));
      place.number = Number(before.substr(chapterAt));
      place.verse = last;
      return place;
    }
  }
  // "1 2" is no book and chapter: a number right after a book's leading digit.
  if (head.find_first_not_of("0123456789 \t") == std::string::npos) {
    place.book = text;
    return place;
  }
  place.book = head;  // "Gen. 1": the dot ends an abbreviation
  place.number = last;
  return place;
}

}  // namespace

std::vector<WrittenReference> ParseReferences(const std::string& text) {
  const auto fail = [&](const std::string& what) { throw BookError("\"" + text + "\": " + what); };
  if (Trim(text).empty()) throw BookError("an empty reference names nothing");
  std::string list = text;
  for (size_t dash = list.find(kEnDash); dash != std::string::npos; dash = list.find(kEnDash, dash)) {
    list.replace(dash, std::strlen(kEnDash), "-");
  }
  std::vector<WrittenReference> references;
  char separator = 0;
  for (size_t at = 0;;) {
    const size_t end = list.find_first_of(",;", at);
    const std::string item = list.substr(at, end == std::string::npos ? end : end - at);
    if (Trim(item).empty()) fail("one of its references is empty");
    WrittenReference reference;
    reference.separator = separator;
    const size_t dash = item.find('-');
    reference.range = dash != std::string::npos;
    reference.first = ParsePlace(item.substr(0, dash));
    if (reference.range) {
      const std::string last = item.substr(dash + 1);
      if (Trim(item.substr(0, dash)).empty()) fail("a range has no beginning");
      if (Trim(last).empty()) fail("a range has no end");
      if (last.find('-') != std::string::npos) fail("a range has two dashes");
      reference.last = ParsePlace(last);
    }
    references.push_back(std::move(reference));
    if (end == std::string::npos) return references;
    separator = list[end];
    at = end + 1;
  }
}

int MatchBookName(const std::vector<std::string>& names, const std::string& name, bool* ambiguous,
                  const std::function<int(int number)>& bookNumbered) {
  std::vector<std::string> normal;
  normal.reserve(names.size());
  for (const std::string& n : names) normal.push_back(NormaliseBookName(n));
  return MatchNormalisedBookName(normal, name, ambiguous, bookNumbered);
}

int MatchNormalisedBookName(const std::vector<std::string>& normal, const std::string& name, bool* ambiguous,
                            const std::function<int(int number)>& bookNumbered) {
  if (ambiguous) *ambiguous = false;
  const std::string wanted = NormaliseBookName(name);
  if (wanted.empty()) return -1;
  for (size_t i = 0; i < normal.size(); ++i) {
    if (normal[i] == wanted) return static_cast<int>(i);
  }
  if (const int number = BookNumberOfEnglishName(wanted)) {
    const std::string english = NormaliseBookName(ListedBookAt(number)->name);
    for (size_t i = 0; i < normal.size(); ++i) {
      if (normal[i] == english) return static_cast<int>(i);
    }
    // A book named in another language, found by its number.
    if (bookNumbered) {
      const int index = bookNumbered(number);
      if (index >= 0 && static_cast<size_t>(index) < normal.size()) return index;
    }
  }
  for (const auto& fits : {+[](const std::string& part, const std::string& whole) {
                             return whole.compare(0, part.size(), part) == 0;
                           },
                           +[](const std::string& part, const std::string& whole) {
                             return whole[0] == part[0] && IsSubsequence(part, whole);
                           }}) {
    int found = -1, count = 0;
    for (size_t i = 0; i < normal.size(); ++i) {
      if (!normal[i].empty() && fits(wanted, normal[i])) {
        if (found == -1) found = static_cast<int>(i);
        ++count;
      }
    }
    if (count == 1) return found;
    if (count > 1) {
      if (ambiguous) *ambiguous = true;
      return -1;
    }
  }
  return -1;
}

}  // namespace orva::query
