// References looked up in a book, and keys written as references.
#include <utility>

#include "query/book_access.h"
#include "query/book_list.h"
#include "query/book_names.h"
#include "query/reference.h"
#include "zalang/text_encoding.h"

namespace orva::query {

namespace {

// The first section right below `parent`, and whether it is the only one and
// has sections below it; {-1} when `parent` has none (or is no section).
struct FirstChild {
  int key = -1;
  bool only = false;
  bool hasChildren = false;
};
FirstChild FirstChildOf(cORVABookBase& book, int parent) {
  cSectionsData section;
  if (book.GetSection(parent, section) != 0 || section.GetChildKey() < 0) return {};
  const int key = section.GetChildKey();
  if (book.GetSection(key, section) != 0) return {};
  return {key, section.GetNextKey() == -1, section.GetChildKey() != -1};
}

// Whether section `key` lies right below `parent` and is named `name`.
bool IsChildNamed(cORVABookBase& book, int key, int parent, const std::string& name) {
  cSectionsData section;
  return book.GetSection(key, section) == 0 && section.GetParentKey() == parent &&
         name == static_cast<const char*>(section.GetName());
}

// The first section right below `parent` named `name` (8-bit), -1 when none is.
// The sections are walked in order up to the name; a chain of links longer than
// the book ends the walk. Where a section names those below it by their numbers
// in the order of their keys (a chapter its verses, as every book orva build
// makes), the one named n is the n-th, n - 1 keys after the first: that key is
// looked at first, and taken when it lies below `parent` under that name (in a
// book that gives two of them one number, not always the first of the two).
int ChildNamed(cORVABookBase& book, int parent, const std::string& name) {
  const FirstChild first = FirstChildOf(book, parent);
  if (first.key < 0) return -1;
  const int last = book.GetLastSectionKey();
  if (!name.empty() && name.size() <= 6 && name.find_first_not_of("0123456789") == std::string::npos) {
    const int guess = first.key + std::stoi(name) - 1;
    if (guess >= first.key && guess <= last && IsChildNamed(book, guess, parent, name)) return guess;
  }
  cSectionsData section;
  int steps = 0;
  for (int key = first.key; key != -1 && steps <= last; key = section.GetNextKey(), ++steps) {
    if (book.GetSection(key, section) != 0) break;
    if (name == static_cast<const char*>(section.GetName())) return key;
  }
  return -1;
}

// The names of the sections from the top down to `key` (8-bit).
std::vector<std::string> PathNames(cORVABookBase& book, int key) {
  const std::string path = static_cast<const char*>(book.GetFormattedPathFromKey(key, "\\"));
  std::vector<std::string> names;
  for (size_t at = 0;;) {
    const size_t end = path.find('\\', at);
    names.push_back(path.substr(at, end == std::string::npos ? end : end - at));
    if (end == std::string::npos) return names;
    at = end + 1;
  }
}

// Names from level `from` on, each after the separator of its level: "John 3:16".
std::string Joined(const std::vector<std::string>& names, size_t from) {
  std::string text;
  for (size_t level = from; level < names.size(); ++level) {
    if (level > from) text += level == 1 ? " " : level == 2 ? ":" : ".";
    text += names[level];
  }
  return text;
}

// "Genesis 1:31-2:3", "John 3:16-18", "Matthew 5-7": the end without the names
// it shares with the beginning, unless that would leave a lone number that reads
// as something else ("John 3:16-John 4").
std::string ReferenceOfRun(cORVABookBase& book, int first, int last) {
  if (first == last || last > book.GetLastSectionKey()) return ReferenceOfKey(book, first);
  const std::vector<std::string> from = PathNames(book, first), to = PathNames(book, last);
  size_t shared = 0;
  if (to.size() >= from.size()) {
    while (shared + 1 < from.size() && shared + 1 < to.size() && from[shared] == to[shared]) ++shared;
  }
  return Joined(from, 0) + "-" + Joined(to, shared);
}

// Looks up the places of one list of references, each in the context of the
// place before it.
class Lookup {
 public:
  Lookup(BookNames& names, const std::string& text)
      : m_book(names.Book()), m_text(text), m_language(names.Language()), m_names(names) {}

  std::vector<ReferenceSpan> Resolve(const std::vector<WrittenReference>& references) {
    std::vector<ReferenceSpan> spans;
    for (const WrittenReference& reference : references) {
      const int first = Place(reference.first, reference.separator == ',' && m_atVerse);
      const int last = reference.range ? Place(reference.last, m_atVerse) : first;
      if (last < first) Fail("the range ends before it begins");
      spans.push_back({first, last, Utf8(ReferenceOfRun(m_book, first, last))});
    }
    return spans;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw BookError("\"" + m_text + "\": " + what); }
  std::string Utf8(const std::string& narrow) const { return ToUtf8(narrow.data(), narrow.size(), m_language); }

  // The key of `place`; a lone number is a verse of the chapter before it when
  // `verseFollows` and the place names no book.
  int Place(const WrittenPlace& place, bool verseFollows) {
    if (!place.book.empty()) {
      bool ambiguous = false;
      m_bookIndex = m_names.Match(place.book, &ambiguous);
      if (m_bookIndex < 0) {
        Fail(ambiguous ? "\"" + place.book + "\" fits several books" : "no book is called \"" + place.book + "\"");
      }
      verseFollows = false;
    } else if (m_bookIndex < 0) {
      Fail("it names no book");
    }
    const TopSection& book = m_names[static_cast<size_t>(m_bookIndex)];
    m_atVerse = false;
    if (place.number.empty()) return book.key;
    if (place.verse.empty() && verseFollows) return Verse(m_chapter, place.number);
    const FirstChild first = FirstChildOf(m_book, book.key);
    if (place.verse.empty() && first.only && first.hasChildren) {
      return Verse(first.key, place.number);  // a book of one chapter
    }
    const int chapter = ChildNamed(m_book, book.key, place.number);
    if (chapter < 0) Fail(m_names.Utf8Name(static_cast<size_t>(m_bookIndex)) + " has no chapter " + place.number);
    m_chapter = chapter;
    return place.verse.empty() ? chapter : Verse(chapter, place.verse);
  }

  int Verse(int chapter, const std::string& number) {
    const int verse = ChildNamed(m_book, chapter, number);
    const int key = verse >= 0 ? verse : VerseCovering(chapter, number);
    if (key < 0) Fail(Utf8(ReferenceOfKey(m_book, chapter)) + " has no verse " + number);
    m_chapter = chapter;
    m_atVerse = true;
    return key;
  }

  // The verse of `chapter` that the verses index lists under `number` when the
  // verse covers several numbers and is named by its first; -1 for none.
  int VerseCovering(int chapter, const std::string& number) {
    cSectionsData section;
    if (m_bookIndex < 0 || number.size() > 5 || m_book.GetSection(chapter, section) != 0) return -1;
    const std::string chapterName = static_cast<const char*>(section.GetName());
    if (chapterName.empty() || chapterName.size() > 5 || chapterName.find_first_not_of("0123456789") != std::string::npos) {
      return -1;
    }
    const int bookNumber = BookNumber(m_bookIndex);
    if (bookNumber <= 0 || bookNumber > 0xFFFF || std::stoi(number) > 0xFFFF || std::stoi(chapterName) > 0xFFFF) {
      return -1;
    }
    CUIntArray keys;
    if (m_book.GetVerseOccurrences(static_cast<unsigned short>(bookNumber), static_cast<unsigned short>(std::stoi(chapterName)),
                                   static_cast<unsigned short>(std::stoi(number)), keys) != 1) {
      return -1;
    }
    cSectionsData verse;
    const int key = static_cast<int>(keys[0]);
    if (key >= 0 && m_book.GetSection(key, verse) == 0 && verse.GetParentKey() == chapter) return key;
    return -1;
  }

  // The number of book `index` of m_names in the verses index: one of the list
  // of books or of those after it (query/book_list.h); 0 when none is.
  int BookNumber(int index) {
    for (int number = 1; number < kFirstUnlistedBook + static_cast<int>(m_names.Size()); ++number) {
      if (number > kListedBooks && number < kFirstUnlistedBook) continue;
      if (m_names.Numbered(number) == index) return number;
    }
    return 0;
  }

  cORVABookBase& m_book;
  const std::string& m_text;
  const unsigned short m_language;
  BookNames& m_names;
  int m_bookIndex = -1;              // the book of the place before, in m_top
  int m_chapter = -1;                // the chapter of the place before
  bool m_atVerse = false;            // the place before was a verse
};

// The glossary entry whose headword is `text` in a book with a word sync index,
// -1 when there is none.
int Headword(cORVABookBase& book, const std::string& text, unsigned short language) {
  std::u16string wide;
  try {
    wide = zalang::Utf8ToUtf16(text);
  } catch (const zalang::TextError&) {
    return -1;
  }
  OpenParts(book, ORVA_WSYNC);
  const cLanguageString headword(reinterpret_cast<const unsigned short*>(wide.c_str()), language);
  return book.GetWSyncKey(LangToPackagedString(headword));
}

ReferenceSpan Single(cORVABookBase& book, int key, unsigned short language) {
  const std::string reference = ReferenceOfKey(book, key);
  return {key, key, ToUtf8(reference.data(), reference.size(), language)};
}

}  // namespace

std::vector<ReferenceSpan> ResolveReferences(cORVABookBase& book, const std::string& text, unsigned short language) {
  BookNames names(book, language);
  return ResolveReferences(names, text);
}

std::vector<ReferenceSpan> ResolveReferences(BookNames& names, const std::string& text) {
  cORVABookBase& book = names.Book();
  const unsigned short language = names.Language();
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) throw BookError("an empty reference names nothing");
  const std::string trimmed = text.substr(first, text.find_last_not_of(" \t") - first + 1);
  if (trimmed.find('\\') != std::string::npos) {
    std::string narrow;
    try {
      narrow = zalang::EncodeForLanguage(zalang::Utf8ToUtf16(trimmed), language);
    } catch (const zalang::TextError& e) {
      throw BookError("\"" + text + "\": " + e.what());
    }
    const int key = book.GetSectionKey(narrow.c_str());
    if (key < 0) throw BookError("no section has the path " + trimmed);
    return {Single(book, key, language)};
  }
  try {
    return Lookup(names, trimmed).Resolve(ParseReferences(trimmed));
  } catch (const BookError&) {
    if (book.GetSyncTypeFlag() != ORVA_WSYNC) throw;
    const int key = Headword(book, trimmed, language);
    if (key < 0) throw BookError("\"" + trimmed + "\" is neither a headword nor a section of this book");
    return {Single(book, key, language)};
  }
}

int ResolveReference(cORVABookBase& book, const std::string& text, unsigned short language) {
  BookNames names(book, language);
  return ResolveReference(names, text);
}

int ResolveReference(BookNames& names, const std::string& text) {
  const std::vector<ReferenceSpan> spans = ResolveReferences(names, text);
  if (spans.size() != 1 || spans[0].first != spans[0].last) {
    throw BookError("\"" + text + "\" names more than one section");
  }
  return spans[0].first;
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

std::string ReferenceOfKey(cORVABookBase& book, int key) {
  if (key > book.GetLastSectionKey()) return static_cast<const char*>(book.GetFormattedPathFromKey(key, "\\"));
  return Joined(PathNames(book, key), 0);
}

}  // namespace orva::query
