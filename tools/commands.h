// The subcommands of the orva program. Each prints its result to standard output,
// as text for people or, with `json`, as one JSON value. Each query takes a book
// folder or a library folder (query/library.h), and then answers from each book
// that can, under a header line per book. Failures are raised
// (orva::query::BookError, orva::writer::SourceError, std::runtime_error, or the
// library's CException*) and reported by main.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "writer/book_builder.h"

namespace orva::tool {

struct BuildArgs {
  std::string source, dir;
  // The source form when it is not scripture (writer/source_text.h): at most one.
  bool dictionary = false;  // headword<TAB>definition: a glossary or topical index
  bool lexicon = false;     // a lexicon keyed by Strong's numbers
  bool plan = false;        // a reading plan keyed by dates
  writer::BookOptions options;
};

int RunBuild(const BuildArgs& args, bool json);
int RunInfo(const std::string& dir, bool json);
// A library's books, with their kind, languages and size.
int RunLibraryInfo(const std::string& dir, bool json);
int RunToc(const std::string& dir, const std::string& path, bool json);
// With `strongs`, each word of a verse followed by the Strong's numbers that tag it.
int RunRead(const std::string& dir, const std::string& reference, bool strongs, bool json);
int RunVerse(const std::string& dir, const std::string& reference, bool json);
int RunSync(const std::string& dir, const std::string& key, bool json);

struct FindArgs {
  std::string dir;
  std::vector<std::string> words;
  std::vector<std::string> strongs;  // Strong's numbers as typed
  bool phrase = false;
  bool prefix = false;
  int offset = 0;  // the hits listed begin after this many
  int limit = 0;   // 0: every verse
};
int RunFind(const FindArgs& args, bool json);
int RunWords(const std::string& dir, const std::string& prefix, int limit, bool json);

// A Strong's number: its lexicon entry, how each Bible translates it, and where it
// stands (the count and the first `limit` verses, 0: three).
int RunStrongs(const std::string& dir, const std::string& number, int limit, bool json);
// A topic with the first `limit` (0: all) of its verse references read from the
// first Bible.
int RunTopic(const std::string& dir, const std::string& topic, int limit, bool json);

// Exit status 0 when the book is sound, 1 when it has faults (each printed).
int RunCheck(const std::string& dir, bool json);

int RunSkeleton(const std::string& dir, std::uint16_t publisher, std::uint16_t book);

}  // namespace orva::tool
