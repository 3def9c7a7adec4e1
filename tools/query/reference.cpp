#include "tools/query/reference.h"

#include <cctype>
#include <cstring>
#include <map>

#include "tools/query/book_access.h"
#include "zalang/text_encoding.h"

namespace orva::query {

namespace {

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
    "songofsolomon song sos so songofsongs sng cant canticles", "isaiah isa is",
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

int ParseNumber(const std::string& digits) {
  if (digits.empty() || digits.size() > 5) return 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return 0;
  }
  return std::stoi(digits);
}

// The child of `parent` named `name`, or -1.
int FindChild(cORVABookBase& book, int parent, const std::string& name, int* children = nullptr) {
  cSectionsData section;
  if (book.GetSection(parent, section) != 0) return -1;
  int found = -1, count = 0;
  const int last = book.GetLastSectionKey();
  for (int key = section.GetChildKey(); key != -1 && count <= last; key = section.GetNextKey(), ++count) {
    if (book.GetSection(key, section) != 0) break;
    if (found == -1 && Lower(static_cast<const char*>(section.GetName())) == Lower(name)) found = key;
  }
  if (children) *children = count;
  return found;
}

}  // namespace

ParsedReference ParseReference(const std::string& text) {
  ParsedReference parsed;
  std::string rest = Trim(text);
  // From the end: digits, optionally a separator and more digits before them.
  const auto trailingDigits = [](const std::string& s) {
    size_t at = s.size();
    while (at > 0 && std::isdigit(static_cast<unsigned char>(s[at - 1]))) --at;
    return at;
  };
  size_t at = trailingDigits(rest);
  if (at == rest.size() || at == 0) {
    parsed.book = rest;
    return parsed;
  }
  int last = ParseNumber(rest.substr(at));
  std::string head = Trim(rest.substr(0, at));
  if (!head.empty() && (head.back() == ':' || head.back() == '.')) {
    const std::string beforeSeparator = Trim(head.substr(0, head.size() - 1));
    const size_t chapterAt = trailingDigits(beforeSeparator);
    if (chapterAt < beforeSeparator.size() && chapterAt > 0) {
      parsed.chapter = ParseNumber(beforeSeparator.substr(chapterAt));
      parsed.verse = last;
      parsed.book = Trim(beforeSeparator.substr(0, chapterAt));
      return parsed;
    }
    parsed.book = rest;
    return parsed;
  }
  // "1 John" is a book: a number right after a book's leading digit is no chapter.
  if (head.find_first_not_of("0123456789 ") == std::string::npos) {
    parsed.book = rest;
    return parsed;
  }
  parsed.book = head;
  parsed.chapter = last;
  return parsed;
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

std::vector<TopSection> TopLevelSections(cORVABookBase& book) {
  std::vector<TopSection> sections;
  if (book.GetLastSectionKey() < 0) return sections;
  CArray<cSectionsData, cSectionsData&> top;
  book.GetSectionsArray(0, top);
  for (int i = 0; i < top.GetSize(); ++i) {
    sections.push_back({top[i].GetSectionKey(), static_cast<const char*>(top[i].GetName())});
  }
  return sections;
}

int ResolveReference(cORVABookBase& book, const std::string& text, unsigned short language) {
  std::string narrow;
  try {
    narrow = zalang::EncodeForLanguage(zalang::Utf8ToUtf16(Trim(text)), language);
  } catch (const zalang::TextError& e) {
    throw BookError("\"" + text + "\": " + e.what());
  }
  if (narrow.empty()) throw BookError("an empty reference names nothing");
  if (narrow.find('\\') != std::string::npos) {
    const int key = book.GetSectionKey(narrow.c_str());
    if (key < 0) throw BookError("no section has the path " + text);
    return key;
  }

  const ParsedReference parsed = ParseReference(narrow);
  const std::vector<TopSection> top = TopLevelSections(book);
  std::vector<std::string> names;
  for (const TopSection& section : top) names.push_back(section.name);
  bool ambiguous = false;
  const int index = MatchBookName(names, parsed.book, &ambiguous);
  if (index < 0) {
    if (book.GetSyncTypeFlag() == ORVA_WSYNC) {
      OpenParts(book, ORVA_WSYNC);
      const CString key = LangToPackagedString(cLanguageString(
          reinterpret_cast<const unsigned short*>(zalang::Utf8ToUtf16(Trim(text)).c_str()), language));
      const int found = book.GetWSyncKey(key);
      if (found >= 0) return found;
    }
    throw BookError(ambiguous ? "\"" + parsed.book + "\" fits several books" : "no book is called " + parsed.book);
  }
  const TopSection& bookSection = top[static_cast<size_t>(index)];
  const std::string bookName = ToUtf8(bookSection.name.data(), bookSection.name.size(), language);
  if (parsed.chapter == 0) return bookSection.key;

  int chapters = 0;
  int chapter = FindChild(book, bookSection.key, std::to_string(parsed.chapter), &chapters);
  int verseNumber = parsed.verse;
  if (parsed.verse == 0 && chapters == 1 && chapter < 0) {
    // One chapter: "Jude 3" is its verse 3.
    cSectionsData section;
    book.GetSection(bookSection.key, section);
    chapter = section.GetChildKey();
    verseNumber = parsed.chapter;
  }
  if (chapter < 0) throw BookError(bookName + " has no chapter " + std::to_string(parsed.chapter));
  if (verseNumber == 0) return chapter;
  const int verse = FindChild(book, chapter, std::to_string(verseNumber));
  if (verse < 0) {
    throw BookError(ToUtf8(ReferenceOfKey(book, chapter).c_str(), ReferenceOfKey(book, chapter).size(), language) +
                    " has no verse " + std::to_string(verseNumber));
  }
  return verse;
}

std::string ReferenceOfKey(cORVABookBase& book, int key) {
  const std::string path = static_cast<const char*>(book.GetFormattedPathFromKey(key, "\\"));
  if (key > book.GetLastSectionKey()) return path;
  std::string reference;
  int level = 0;
  size_t at = 0;
  for (;;) {
    const size_t end = path.find('\\', at);
    const std::string name = path.substr(at, end == std::string::npos ? end : end - at);
    reference += (level == 0 ? "" : level == 1 ? " " : level == 2 ? ":" : ".") + name;
    ++level;
    if (end == std::string::npos) break;
    at = end + 1;
  }
  return reference;
}

}  // namespace orva::query

namespace orva::query {

std::string ReferenceFormatter::Of(int key) {
  if (key < 0 || key > m_lastSection) return ReferenceOfKey(m_book, key);
  return Section(key, 0).reference;
}

const ReferenceFormatter::Known& ReferenceFormatter::Section(int key, int hops) {
  const auto found = m_known.find(key);
  if (found != m_known.end()) return found->second;
  cSectionsData section;
  // A parent chain longer than the book is damage: the path walk raises for it.
  if (hops > m_lastSection || m_book.GetSection(key, section) != 0) {
    return m_known[key] = {ReferenceOfKey(m_book, key), 0};
  }
  const std::string name = static_cast<const char*>(section.GetName());
  Known known{name, 0};
  if (section.GetParentKey() >= 0) {
    const Known& parent = Section(section.GetParentKey(), hops + 1);
    known.depth = parent.depth + 1;
    known.reference = parent.reference + (known.depth == 1 ? " " : known.depth == 2 ? ":" : ".") + name;
  }
  // Verses are many and asked once: only the sections above them are kept.
  if (section.GetChildKey() < 0) {
    m_last = known;
    return m_last;
  }
  return m_known[key] = known;
}

}  // namespace orva::query
