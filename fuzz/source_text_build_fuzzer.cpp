// Any bytes as a scripture source, one verse per line, built into a book in
// memory when it parses (the first byte chooses compression, coded lists and the
// language). A source either builds or raises SourceError; a book that builds
// holds every verse the parse found. source_text fuzzes the parse alone (and
// references), several times as many inputs a second, on the same seeds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

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
