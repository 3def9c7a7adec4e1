// References to the sections of a book as people write them, and back.
//
// ResolveReferences understands, in UTF-8, blanks allowed anywhere:
//   a path of section names, outermost first, with backslashes: "Genesis\1\3"
//   a book, chapter and verse: "John 3:16", "Jn 3.16", "1 Cor 13:13", "john3:16"
//   a book and chapter: "John 3"; a book alone: "John", "Song of Solomon"
//   a range, with '-' or an en dash: "John 3:16-18", "Gen 1:31-2:3" (across
//     chapters), "Matt 5-7" (chapters), "Gen 50-Ex 2" (across books)
//   a list, with ',' or ';': "John 3:16,18", "Ps 23; John 3:16"
//   a glossary headword, when nothing above matches
// A place without a book goes on in the book of the place before it. A lone
// number is a verse of the chapter before it after a ',' that follows a verse,
// and at the end of a range that begins at a verse ("John 3:16,18", "John
// 3:16-18"); anywhere else it is a chapter ("Ps 23; 24", "Matt 5-7"), except in
// a book of one chapter, where a lone number is always a verse: "Jude 3" is Jude
// 1:3 and "Jude 1" Jude 1:1; "Jude" alone is the whole book.
// Book names match without regard to case, blanks and dots: the full name, the
// usual English name or one of its abbreviations (of the books of the Bible with
// the deuterocanonical books, query/book_list.h: "Tob 1:1", "1 Macc 1:1"),
// also in a book whose names are in another language ("John 3:16" in a book that
// names it "Juan", found by its number in the verses index), a unique beginning
// of a name ("Phile"), or letters taken in order from a unique name beginning
// with the same letter ("Hbk"). "I", "II" and "III" (or "First" ...) before a
// name count as 1, 2 and 3.
#pragma once

#include <functional>
#include <map>
#include <unordered_map>
#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

// One place as written, before it is looked up in a book.
struct WrittenPlace {
  std::string book;    // as written, trimmed; empty when the place names none
  std::string number;  // the first number, its digits without leading zeros; empty when none
  std::string verse;   // the number after ':' or '.', likewise; empty when none
};

// One item of a list of references as written: a place, or a range of two.
struct WrittenReference {
  char separator = 0;  // ',' or ';' before the item; 0 before the first
  WrittenPlace first;
  bool range = false;
  WrittenPlace last;  // the end of a range
};

// Splits `text` (UTF-8, not a path) into the items of its list. Numbers stay
// text, whatever their size. Raises BookError, quoting `text`, when it is empty,
// when an item is empty, or when a range has no beginning, no end, or two dashes.
std::vector<WrittenReference> ParseReferences(const std::string& text);

// The index in `names` of the book that `name` stands for, -1 when none does;
// `ambiguous` (when not null) is set when several books fit equally. In turn: a
// book's own name; an English name or abbreviation (query/book_list.h) of
// a book of `names`, or of the book that `bookNumbered` (when given) returns for
// its number (the index in `names`, -1 for none), so that "John" finds a book
// named "Juan"; a unique beginning of an own name; letters in order.
int MatchBookName(const std::vector<std::string>& names, const std::string& name, bool* ambiguous = nullptr,
                  const std::function<int(int number)>& bookNumbered = {});
// MatchBookName over names already normalised (NormaliseBookName), for callers
// that match many names against the same books.
int MatchNormalisedBookName(const std::vector<std::string>& normalised, const std::string& name, bool* ambiguous,
                            const std::function<int(int number)>& bookNumbered);

// A run of sections that a reference names: every section from `first` through
// `last` and everything below `last`, in the order of their keys. A glossary
// entry is a run of its own (first == last).
struct ReferenceSpan {
  int first = -1;
  int last = -1;
  std::string reference;  // UTF-8, in the book's own names: "Genesis 1:31-2:3"
};

// The runs that `text` (UTF-8) names in `book`, whose text is in `language`, in
// the order written. Raises BookError quoting `text` and saying what did not
// match: a book, chapter or verse that is not there (a range that runs past the
// end of its chapter or book is one), a range that ends before it begins. Needs
// the sections open, and the word sync index for headwords.
std::vector<ReferenceSpan> ResolveReferences(cORVABookBase& book, const std::string& text, unsigned short language);
class BookNames;
// The same, matching book names against `names`, the book's names read once.
std::vector<ReferenceSpan> ResolveReferences(BookNames& names, const std::string& text);

// The one section or glossary key that `text` names; ResolveReferences, and
// BookError when `text` names a range or a list.
int ResolveReference(cORVABookBase& book, const std::string& text, unsigned short language);
int ResolveReference(BookNames& names, const std::string& text);

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

// ReferenceOfKey for many keys of one book, in UTF-8 (the book's names read in
// the code page of `language`). A section costs at most one record read: the
// references of the sections above it are remembered, each read once. A chapter
// asked for a second time is looked at once more: when its sections are named by
// their numbers (its first section "1", its last the number of sections in its
// range of keys, both without sections below them, as every book that orva build
// makes names its verses), every key of that range is formatted from where it
// stands, by bisection among those chapters, without reading anything; once one
// chapter of a book is so, the others are looked at when first asked. Where
// walking up would not simply join the names (a name with a backslash, levels
// that do not fall, a key outside the tree) the key is formatted as
// ReferenceOfKey does, and raises what it raises.
class ReferenceFormatter {
 public:
  ReferenceFormatter(cORVABookBase& book, unsigned short language);
  // The reference, valid until the next call.
  const std::string& Of(int key);
  // The reference appended to `out`.
  void AppendTo(std::string& out, int key);

 private:
  struct Known {
    int parent = -1;
    int next = -1;  // the next sibling's key
    int level = 0;
    int depth = 0;  // 0 at the top level
    int asked = 0;  // sections below it formatted by reading them
    bool numberedBelow = false;  // a section below it names its own by their numbers
    std::string reference;  // UTF-8
  };
  // Keys first ... last, each named by its distance from `parent`.
  struct NumberedRun {
    int first = -1;
    int last = -1;
    int parent = -1;
    std::string prefix;  // the parent's reference and the separator
  };
  Known* Above(int key, int childLevel, int hops);
  void LookAtChapter(int key, Known& chapter, int childLevel);
  bool IsNumbered(int key, int parent, int level, int number);
  void AppendWalked(std::string& out, int key);
  void AppendUtf8(std::string& out, const CString& name) const;

  cORVABookBase& m_book;
  const unsigned short m_language;
  const int m_lastSection;
  std::unordered_map<int, Known> m_known;  // sections that have sections below them
  std::vector<NumberedRun> m_numbered;  // ascending
  size_t m_lastRun = 0;                 // the run used last: keys come in order
  std::string m_reference;
};

}  // namespace orva::query
