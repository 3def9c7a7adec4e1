// The text of a section as the book builder lays it out (writer/book_builder.h):
// each verse or glossary entry is one line of its area's block, found through
// its sync data (area in the 32-bit word, line in the 16-bit word).
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
};

// The passages of section or glossary entry `key`: the entry itself when nothing
// lies below it, else every verse below it in order. A section without verses
// that begins a block (a glossary letter) gives each line of its block. Needs
// book.dat, viewable.idx and sections.idx open; raises BookError when a line is
// missing from its block, and the library's exceptions for damaged files.
std::vector<Passage> ReadPassages(cORVABookBase& book, int key, unsigned short language);

}  // namespace orva::query
