// The values that orvada.Book and orvada.Library answer with: objects of
// read-only attributes made from the query library's answers, all text str.
#pragma once

#include <pybind11/pybind11.h>

#include <cstddef>
#include <optional>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "python/src/shelf.h"
#include "query/book.h"

namespace orvada_python {

// A word of a verse and the Strong's numbers that tag it (none: an empty list).
using NumberedWord = std::pair<std::string, std::vector<std::string>>;

// orvada.Verse: a verse, or a line or entry of a book without verses.
struct Verse {
  std::string reference;
  int key = -1;
  std::string text;
  std::vector<std::string> above, below;        // lines shown above and below it
  std::optional<std::vector<NumberedWord>> strongs;  // when read with the numbers
};
// The verse of `passage`; with `words` (Reading::words and the like), its numbers.
Verse VerseOf(const orva::query::Passage& passage, const std::vector<orva::query::NumberedWord>* words = nullptr);
// The verses of a reading, in order, each with its numbers when it was read with them.
std::vector<Verse> VersesOf(const orva::query::Reading& reading, bool strongs);

// orvada.Section: an entry of a table of contents; its children are read when asked for.
struct Section {
  BookRef book;
  std::string name, path;
  int key = -1;
  int count = 0;  // sections right below it
};
std::vector<Section> SectionsOf(const BookRef& book, const orva::query::Toc& toc);

// orvada.Entry: the answer to a look-up in a sync index.
struct Entry {
  std::string reference, path;
  int key = -1;
  std::vector<Verse> verses;
  std::vector<std::string> paragraphs;  // an entry of a study book: its text
  // Its references: (type, key, shown text, paragraph).
  std::vector<std::tuple<std::string, std::string, std::string, std::size_t>> links;
};
Entry EntryOf(const orva::query::Entry& entry);

// orvada.Info: what a book is.
struct Info {
  orva::query::BookInfo info;
  std::size_t sections = 0;  // top-level sections
};

// orvada.Verse, Section, Entry, Info, Word and Translation.
void BindValues(pybind11::module_& module);

}  // namespace orvada_python
