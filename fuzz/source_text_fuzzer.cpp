// Any bytes as a scripture source, built into a book in memory (the first byte
// chooses compression and coded lists), and as a list of references to parse,
// with their book names to match. A source either builds or raises SourceError;
// a book that builds holds every verse the parse found.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "query/book_access.h"
#include "query/reference.h"
#include "writer/book_builder.h"

namespace {

constexpr size_t kMaxInput = 4096;

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  try {
    for (const orva::query::WrittenReference& reference : orva::query::ParseReferences(text)) {
      for (const orva::query::WrittenPlace& place : {reference.first, reference.last}) {
        Check(place.number.find_first_not_of("0123456789") == std::string::npos &&
              place.verse.find_first_not_of("0123456789") == std::string::npos);
        const int match = orva::query::MatchBookName({"Genesis", "1 John", "John", "Jude", text}, place.book);
        Check(match >= -1 && match <= 4);
      }
    }
  } catch (const orva::query::BookError&) {
  }

  orva::writer::BookOptions options;
  options.compress = data[0] & 1;
  options.coded = data[0] & 2;
  options.language = data[0] & 4 ? 1032 : 1033;
  std::istringstream in(text);
  try {
    const orva::writer::Scripture source = orva::writer::ParseScripture(in, "fuzz.txt");
    const orva::writer::BuiltBook book = orva::writer::BuildScriptureBook(source, options, "fuzz.txt");
    Check(book.verses == source.VerseCount());
  } catch (const orva::writer::SourceError&) {
  }
  return 0;
}
