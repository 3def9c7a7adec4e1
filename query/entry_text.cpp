#include "query/entry_text.h"

#include <algorithm>
#include <ctime>
#include <string>

#include "zalang/words.h"

namespace orva::query {

namespace {

constexpr const char* kTypes[] = {"verse", "strongs", "word", "date"};
constexpr int kMaxNumber = 65535;

// A decimal number from 1 to 65535 made of all of text[begin, end); 0 otherwise.
int Number(const std::string& text, size_t begin, size_t end) {
  if (begin >= end || end - begin > 5) return 0;
  int value = 0;
  for (size_t i = begin; i < end; ++i) {
    if (text[i] < '0' || text[i] > '9') return 0;
    value = value * 10 + (text[i] - '0');
  }
  return value <= kMaxNumber ? value : 0;
}

// "B", "B,C" or "B,C,V"; the number of its parts, 0 when it is none of them.
int ParsePlace(const std::string& text, size_t begin, size_t end, VersePlace& place) {
  int parts[3] = {0, 0, 0};
  int count = 0;
  for (size_t at = begin; count < 3; ++count) {
    size_t comma = text.find(',', at);
    if (comma == std::string::npos || comma > end) comma = end;
    parts[count] = Number(text, at, comma);
    if (parts[count] == 0) return 0;
    if (comma == end) {
      place = {parts[0], parts[1], parts[2]};
      return count + 1;
    }
    at = comma + 1;
  }
  return 0;
}

bool IsDate(int month, int day) {
  static const int kDays[] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month >= 1 && month <= 12 && day >= 1 && day <= kDays[month - 1];
}

std::string TwoDigits(int n) { return std::string(1, static_cast<char>('0' + n / 10)) + static_cast<char>('0' + n % 10); }

}  // namespace

namespace {

// The reference at `text[at]`, given `close`, the first '}' or tab at or after
// `at` (or the text's size), and `bar`, the first '|' at or after `at` (or
// npos): a few steps apart from copying what a reference holds, so that a
// text of many "{\" that begin no reference is read in linear time.
bool ParseAt(const std::string& text, size_t at, size_t close, size_t bar, InlineReference& found) {
  if (text.compare(at, 2, "{\\") != 0) return false;
  const char* type = nullptr;
  for (const char* known : kTypes) {
    const size_t length = std::char_traits<char>::length(known);
    if (text.compare(at + 2, length, known) == 0 && at + 2 + length < text.size() && text[at + 2 + length] == ':') {
      type = known;
    }
  }
  if (!type || close >= text.size() || text[close] != '}') return false;
  const size_t colon = at + 2 + std::char_traits<char>::length(type);
  const size_t keyEnd = bar < close ? bar : close;
  if (keyEnd <= colon + 1 || (bar < close && close <= bar + 1)) return false;  // an empty key or shown text
  found.type = type;
  found.key = text.substr(colon + 1, keyEnd - colon - 1);
  found.shown = bar < close ? text.substr(bar + 1, close - bar - 1) : found.key;
  found.begin = at;
  found.end = close + 1;
  return true;
}

}  // namespace

bool ReferenceAt(const std::string& text, size_t at, InlineReference& found) {
  if (at >= text.size()) return false;
  return ParseAt(text, at, std::min(text.find_first_of("}\t", at), text.size()), text.find('|', at), found);
}

ShownEntry ShowEntryText(const std::string& text) {
  ShownEntry shown;
  shown.paragraphs.emplace_back();
  size_t close = 0, bar = 0;  // as ParseAt takes them, moved on as `at` passes them
  bool closeKnown = false, barKnown = false;
  for (size_t at = 0; at < text.size();) {
    InlineReference reference;
    if (text[at] == '\t') {
      shown.paragraphs.emplace_back();
      ++at;
      continue;
    }
    if (text[at] == '{') {
      if (!closeKnown || close < at) close = std::min(text.find_first_of("}\t", at), text.size()), closeKnown = true;
      if (!barKnown || bar < at) bar = text.find('|', at), barKnown = true;
      if (ParseAt(text, at, close, bar, reference)) {
        std::string& paragraph = shown.paragraphs.back();
        at = reference.end;
        reference.begin = paragraph.size();
        paragraph += reference.shown;
        reference.end = paragraph.size();
        shown.references.push_back({std::move(reference), shown.paragraphs.size() - 1});
        continue;
      }
    }
    shown.paragraphs.back() += text[at++];
  }
  return shown;
}

std::string ShownText(const std::string& text) {
  const ShownEntry shown = ShowEntryText(text);
  std::string joined;
  for (const std::string& paragraph : shown.paragraphs) {
    if (&paragraph != &shown.paragraphs.front()) joined += '\t';
    joined += paragraph;
  }
  return joined;
}

bool ParseVerseKey(const std::string& key, VersePlace& first, VersePlace& last) {
  const size_t dash = key.find('-');
  const size_t firstEnd = dash == std::string::npos ? key.size() : dash;
  const int parts = ParsePlace(key, 0, firstEnd, first);
  if (parts == 0) return false;
  if (dash == std::string::npos) {
    last = first;
    return true;
  }
  if (ParsePlace(key, dash + 1, key.size(), last) != parts || parts == 1) return false;
  if (first.book != last.book || (parts == 3 && first.chapter != last.chapter)) return false;
  return parts == 2 ? first.chapter <= last.chapter : first.verse <= last.verse;
}

std::string SyncKeyOf(const std::string& syncType, const std::string& typed, const std::string& today) {
  if (syncType == "strongs") {
    std::string word = zalang::StrongsWord(typed);
    if (!word.empty()) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    return word;
  }
  if (syncType != "date") return typed;
  if (typed == "today") return today.empty() ? Today() : today;
  const size_t dash = typed.find('-');
  if (dash == std::string::npos || dash > 2 || typed.size() - dash - 1 > 2) return {};
  const int month = Number(typed, 0, dash), day = Number(typed, dash + 1, typed.size());
  return IsDate(month, day) ? TwoDigits(month) + "-" + TwoDigits(day) : std::string();
}

std::string Today() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  return TwoDigits(local.tm_mon + 1) + "-" + TwoDigits(local.tm_mday);
}

}  // namespace orva::query
