#include "tools/query/reference.h"

#include <cctype>
#include <cstring>
#include <map>

#include "tools/query/book_access.h"

namespace orva::query {

namespace {

constexpr const char* kEnDash = "\xE2\x80\x93";  // U+2013 in UTF-8

// The usual abbreviations of the books of the Bible, each line the full name and
// its abbreviations, all in the normalised form (lower case, no blanks or dots).
const char* const kAbbreviations[] = {
    "genesis gen ge gn",        "exodus ex exo exod",       "leviticus lev le lv",
    "numbers num nu nm nb",     "deuteronomy deut de dt",   "joshua josh jos jsh",
    "judges judg jdg jg jdgs",  "ruth rth ru",              "1samuel 1sam 1sa 1sm 1s",
    "2samuel 2sam 2sa 2sm 2s",  "1kings 1kgs 1ki 1kin 1k",  "2kings 2kgs 2ki 2kin 2k",
    "1chronicles 1chron 1chr 1ch", "2chronicles 2chron 2chr 2ch", "ezra ezr",
    "nehemiah neh ne",          "esther esth est es",       "job jb",
    "psalms ps psalm pslm psa psm pss", "proverbs prov pro prv pr", "ecclesiastes eccles eccle ecc ec qoh",
    "songofsolomon song sos so songofsongs sng ca can cant canticles", "isaiah isa is",
    "jeremiah jer je jr",       "lamentations lam la",      "ezekiel ezek eze ezk",
    "daniel dan da dn",         "hosea hos ho",             "joel jl",
    "amos am",                  "obadiah obad ob",          "jonah jnh jon",
    "micah mic mc",             "nahum nah na",             "habakkuk hab hb",
    "zephaniah zeph zep zp",    "haggai hag hg",            "zechariah zech zec zc",
    "malachi mal ml",           "matthew matt mt",          "mark mrk mar mk mr",
    "luke luk lk",              "john joh jhn jn",          "acts act ac",
    "romans rom ro rm",         "1corinthians 1cor 1co",    "2corinthians 2cor 2co",
    "galatians gal ga",         "ephesians eph ephes",      "philippians phil php pp",
    "colossians col co",        "1thessalonians 1thess 1thes 1th", "2thessalonians 2thess 2thes 2th",
    "1timothy 1tim 1ti",        "2timothy 2tim 2ti",        "titus tit ti",
    "philemon philem phm pm",   "hebrews heb",              "james jas jm",
    "1peter 1pet 1pe 1pt 1p",   "2peter 2pet 2pe 2pt 2p",   "1john 1jhn 1jn 1jo 1j",
    "2john 2jhn 2jn 2jo 2j",    "3john 3jhn 3jn 3jo 3j",    "jude jud jd",
    "revelation rev re rv revelations apocalypse",
};

// abbreviation -> full name, both normalised.
const std::map<std::string, std::string>& Abbreviations() {
  static const std::map<std::string, std::string> table = [] {
    std::map<std::string, std::string> map;
    for (const char* line : kAbbreviations) {
      std::string text = line;
      const std::string name = text.substr(0, text.find(' '));
      size_t at = 0;
      while (at != std::string::npos) {
        const size_t end = text.find(' ', at);
        map[text.substr(at, end == std::string::npos ? end : end - at)] = name;
        at = end == std::string::npos ? end : end + 1;
      }
    }
    return map;
  }();
  return table;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

std::string Trim(const std::string& text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return {};
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// Lower case, "I"/"First" ... before a name as digits, no blanks or dots.
std::string Normalise(const std::string& name) {
  std::string text = Lower(Trim(name));
  static const std::pair<const char*, const char*> ordinals[] = {
      {"iii ", "3"}, {"ii ", "2"}, {"i ", "1"}, {"first ", "1"}, {"second ", "2"},
      {"third ", "3"}, {"1st ", "1"}, {"2nd ", "2"}, {"3rd ", "3"}};
  for (const auto& [word, digit] : ordinals) {
    if (text.compare(0, std::strlen(word), word) == 0) {
      text = digit + text.substr(std::strlen(word));
      break;
    }
  }
  std::string out;
  for (char c : text) {
    if (c != ' ' && c != '.') out += c;
  }
  return out;
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

int MatchBookName(const std::vector<std::string>& names, const std::string& name, bool* ambiguous) {
  if (ambiguous) *ambiguous = false;
  const std::string wanted = Normalise(name);
  if (wanted.empty()) return -1;
  std::vector<std::string> normal;
  for (const std::string& n : names) normal.push_back(Normalise(n));
  for (size_t i = 0; i < normal.size(); ++i) {
    if (normal[i] == wanted) return static_cast<int>(i);
  }
  const auto abbreviation = Abbreviations().find(wanted);
  if (abbreviation != Abbreviations().end()) {
    for (size_t i = 0; i < normal.size(); ++i) {
      if (normal[i] == abbreviation->second) return static_cast<int>(i);
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
