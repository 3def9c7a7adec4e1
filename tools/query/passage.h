// The text of a section as the book builder lays it out (writer/book_builder.h):
// each verse or glossary entry is one line of its area's block, found through
// its sync data (area in the 32-bit word, line in the 16-bit word); lines that
// begin with a tab are shown above the verse after them (a psalm title), or
// below the last verse of the block.
#pragma once

#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

struct Passage {
  int key = -1;            // the verse's or entry's key
  int parentKey = -1;      // its chapter (or -1)
  std::string name;        // UTF-8, its section name; empty for a line of a glossary letter
  std::string reference;   // UTF-8, ReferenceOfKey
  std::string text;        // UTF-8, without the leading verse number or headword
  // UTF-8, without their tabs: the lines shown above the verse, and below it
  // when it is the last of its block.
  std::vector<std::string> above, below;
};

// The passages of the run of sections from `first` through `last` and everything
// below `last` (a ReferenceSpan), in key order: each section or glossary entry
// with nothing below it, and each line of the block of a section without verses
// that begins one (a glossary letter). Needs book.dat, viewable.idx and
// sections.idx open; raises BookError when a key is not there or a line is
// missing from its block, and the library's exceptions for damaged files.
std::vector<Passage> ReadPassages(cORVABookBase& book, int first, int last, unsigned short language);
inline std::vector<Passage> ReadPassages(cORVABookBase& book, int key, unsigned short language) {
  return ReadPassages(book, key, key, language);
}

}  // namespace orva::query
