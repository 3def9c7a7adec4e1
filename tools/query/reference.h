// References to the sections of a book as people write them, and back.
//
// Forms understood by ResolveReference:
//   a path of section names, outermost first, with backslashes: "Genesis\1\3"
//   a book, chapter and verse: "John 3:16", "Jn 3.16", "1 Cor 13:13", "john3:16"
//   a book and chapter: "John 3"; a book alone: "John", "Song of Solomon"
//   a glossary headword, when no section matches
// A one-chapter book takes a single number as its verse ("Jude 3" is Jude 1:3).
// Book names match without regard to case, blanks and dots: the full name, one of
// the usual English abbreviations of the 66 books of the Bible when the book has
// that name, a unique beginning of a name ("Phile"), or letters taken in order
// from a unique name beginning with the same letter ("Hbk"). "I", "II" and "III"
// (or "First" ...) before a name count as 1, 2 and 3.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

struct ParsedReference {
  std::string book;  // as written, trimmed
  int chapter = 0;   // 0: none given
  int verse = 0;     // 0: none given
};

// Splits "Book Chapter:Verse" (the separator ':' or '.', blanks allowed around it).
ParsedReference ParseReference(const std::string& text);

// The index in `names` of the book that `name` stands for, -1 when none does;
// `ambiguous` (when not null) is set when several books fit equally.
int MatchBookName(const std::vector<std::string>& names, const std::string& name, bool* ambiguous = nullptr);

// The section or glossary key that `text` (UTF-8) names in `book`, whose text is
// in `language`; or raises BookError saying what did not match. Needs the
// sections open, and the word sync index for headwords.
int ResolveReference(cORVABookBase& book, const std::string& text, unsigned short language);

// The top-level sections, in order: the books, numbered from 1.
struct TopSection {
  int key = -1;
  std::string name;  // 8-bit, as the book holds it
};
std::vector<TopSection> TopLevelSections(cORVABookBase& book);

// How a key reads: "John 3:16" for a verse, "John 3" for a chapter, "John" for a
// book (names below the second level join with ':' then '.'), the headword for a
// glossary entry. 8-bit names, as the book holds them. Raises the library's
// exception for a key outside the book.
std::string ReferenceOfKey(cORVABookBase& book, int key);

// ReferenceOfKey for many keys of one book: each key costs one section read, the
// references of the sections above are remembered.
class ReferenceFormatter {
 public:
  explicit ReferenceFormatter(cORVABookBase& book) : m_book(book), m_lastSection(book.GetLastSectionKey()) {}
  std::string Of(int key);

 private:
  struct Known {
    std::string reference;
    int depth = 0;  // 0 for a top-level section
  };
  const Known& Section(int key, int hops);

  cORVABookBase& m_book;
  const int m_lastSection;
  std::map<int, Known> m_known;
  Known m_last;  // the last section without sections below it
};

}  // namespace orva::query
