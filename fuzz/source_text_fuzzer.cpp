// Any bytes as a scripture source, one verse per line, parsed, and as a list of
// references to parse, with their book names to match. A source either parses,
// into the shape the book builder relies on (fuzz/scripture_shape.h), or raises
// SourceError. The first byte is left out: source_text_build, which builds what
// parses into a book, reads it as the book's options, so that the two harnesses
// share their seeds and corpora.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "fuzz/scripture_shape.h"
#include "query/book_access.h"
#include "query/book_list.h"
#include "query/reference.h"
#include "writer/source_text.h"

namespace {

constexpr size_t kMaxInput = 4096;

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);

  // The book names are normalised once, as MatchBookName does for each call: the
  // input is one of them, and normalising it again for each of its references
  // made the harness quadratic.
  std::vector<std::string> names;
  for (const std::string& name : {std::string("Genesis"), std::string("1 John"), std::string("John"),
                                  std::string("Jude"), text}) {
    names.push_back(orva::query::NormaliseBookName(name));
  }
  try {
    for (const orva::query::WrittenReference& reference : orva::query::ParseReferences(text)) {
      for (const orva::query::WrittenPlace& place : {reference.first, reference.last}) {
        Check(place.number.find_first_not_of("0123456789") == std::string::npos &&
              place.verse.find_first_not_of("0123456789") == std::string::npos);
        const int match = orva::query::MatchNormalisedBookName(names, place.book, nullptr, {});
        Check(match >= -1 && match <= 4);
      }
    }
  } catch (const orva::query::BookError&) {
  }

  std::istringstream in(text);
  try {
    orva::fuzz::CheckScriptureShape(orva::writer::ParseScripture(in, "fuzz.txt"));
  } catch (const orva::writer::SourceError&) {
  }
  return 0;
}
