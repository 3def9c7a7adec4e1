// The text of a section as the book builder lays it out (writer/book_builder.h):
// each verse or glossary entry is one line of its area's block, found through
// its sync data (area in the 32-bit word, line in the 16-bit word); lines that
// begin with a tab are shown above the verse after them (a psalm title), or
// below the last verse of the block.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "orvada.h"
#include "query/book_access.h"

namespace orva::query {

// A run of sections longer than its reader allowed (ReadPassages).
class TooManyPassages : public BookError {
 public:
  using BookError::BookError;
};

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
// missing from its block, and the library's exceptions for damaged files. With
// `most` (not 0), raises TooManyPassages when the run holds more than `most`
// passages, before reading any text.
std::vector<Passage> ReadPassages(cORVABookBase& book, int first, int last, unsigned short language,
                                  std::size_t most = 0);
inline std::vector<Passage> ReadPassages(cORVABookBase& book, int key, unsigned short language) {
  return ReadPassages(book, key, key, language);
}

class BlockLines;

// The texts of verses (or glossary entries) one key at a time, for many keys in
// about the order of their blocks: the lines of the block read last are kept,
// so the verses of one chapter cost one block. Needs what ReadPassages needs.
class VerseTexts {
 public:
  VerseTexts(cORVABookBase& book, unsigned short language);
  ~VerseTexts();
  // The text of the section or entry `key` that has nothing below it, in UTF-8,
  // as ReadPassages gives it (without its number); raises BookError when the key
  // is not there, has sections below it, or its line is missing, and the
  // library's exceptions for damaged files.
  std::string Text(int key);
  // Its words as the text writes them: word n (from 1, as the concordance
  // numbers them) is element n - 1.
  std::vector<std::string> Words(int key);

 private:
  cORVABookBase& m_book;
  const unsigned short m_language;
  std::unique_ptr<BlockLines> m_blocks;
};

// Where the words of `text` (UTF-8) stand, as the concordance numbers them
// (zalang/words.h): word n (from 1) is element n - 1, the bytes [first, second)
// of `text`.
std::vector<std::pair<size_t, size_t>> TextWords(const std::string& text);

}  // namespace orva::query
