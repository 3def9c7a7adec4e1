// The consistency check of a book, as a database's integrity check: every file
// read whole and compared with the others. The format carries no checksums, so
// this is how a reader tells a damaged book from a sound one.
//
// What is checked, per file (each only when its part is open):
// - every file: the version records agree (a folder's files name one publisher
//   and book and a format this library reads; open files carry one record);
//   book.dat and viewable.idx come together.
// - book.dat, viewable.idx: every descriptor's block lies in book.dat after the
//   header text and apart from the other blocks, reads, and decodes to exactly
//   its text size.
// - sections.idx: the links are positions of entries; parent, previous and next
//   links agree with each other and with the levels (children follow their
//   parent one level down, siblings are chained in key order); the glossary
//   entries form one chain; book keys are shared along parent links and change
//   at each top-level section and at the glossary, and each level count leads
//   back to the first key of its book (the key range); the non-Bible list and
//   the word-count table lie after the entries, in the file.
// - concord.idx: each language's words are sorted in the language library's
//   collation, each once; every key list ascends, lies below the key range and
//   names entries of sections.idx; every position list ascends, lies below the
//   position range and inside its key's word count. With one language, for each
//   section: no position is listed by two words, the concordance lists as many
//   words as the word count counts, and (with verses.idx) only verses have words.
// - verses.idx: book, chapter and verse tables ascend; every occurrence list
//   ascends and names sections; the lists of all chapters and all verses of a
//   book or chapter hold exactly the lists below them.
// - wsync.idx, ssync.idx, dsync.idx: the words ascend as _mbsicmp compares them,
//   and every sync key is an entry of sections.idx.
// - vsync.idx: each book's verses ascend by chapter and verse, and each names a
//   verse section: the one verses.idx lists for that verse (without verses.idx, a
//   section with no sections below it); it holds as many verses as verses.idx.
//
// The check is safe on any damage: no crash, hang or allocation beyond a small
// multiple of the files' sizes; its time is linear in the size of the book. An
// exception the library raises while reading is a fault like any other, and the
// check goes on with the next entry or file.
#pragma once

#include <string>
#include <vector>

#include "orvada.h"

namespace orva::query {

struct BookFault {
  std::string file;     // "concord.idx", ...
  std::string place;    // where in the file: "word \"light\", key 4 (Genesis\1\3)"; empty: the whole file
  std::string message;  // what is wrong there
  std::string kind;     // the check that found it ("position", "link", ...): faults of one kind are alike
};

// Faults of one kind beyond those listed.
struct UnlistedFaults {
  std::string file, kind;
  long long count = 0;
};

struct BookCheck {
  static constexpr int kListedPerKind = 20;
  // The first kListedPerKind faults of each kind in each file, in the order found.
  std::vector<BookFault> faults;
  std::vector<UnlistedFaults> unlisted;  // the kinds that had more, and how many more
  long long faultCount = 0;              // all faults, listed or not
  // What was checked, one line per file or pair of files: "sections.idx: 32357 sections".
  std::vector<std::string> checked;

  bool Sound() const { return faultCount == 0; }
};

// Checks the parts of `book` that are open. The book's concordance language, its
// word cursor and its sections path cache may change; the concordance's current
// language is selected again afterwards. Raw bytes are read from the files its
// path members name.
BookCheck CheckBook(cORVABookBase& book);

// Checks the book in the folder `dir`: every book file in it is opened on its own
// (a file that does not open, or whose version record names another book, is a
// fault) and then checked with the others. Raises BookError when `dir` is not a
// folder or holds no book file.
BookCheck CheckBookFolder(const std::string& dir);

}  // namespace orva::query
