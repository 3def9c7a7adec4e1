// Any bytes as an OSIS document (after a byte of options: compression and coded
// lists), read from a file in memory (gzip or xz data is decompressed on the
// way) and, when it reads, built into a book in memory. A document either reads
// or raises SourceError; a book that builds holds every verse read.
// source_osis fuzzes the reading alone, on the same seeds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "fuzz/memory_file.h"
#include "writer/book_builder.h"
#include "writer/source_osis.h"

namespace {

constexpr size_t kMaxInput = 1 << 16;

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  static orva::fuzz::MemoryFile document;
  document.Set(data + 1, size - 1);
  orva::writer::BookOptions options;
  options.compress = data[0] & 1;
  options.coded = data[0] & 2;
  try {
    orva::writer::SourceStream in(document.Path());
    const orva::writer::Scripture source = orva::writer::ParseOsis(in);
    const orva::writer::BuiltBook book = orva::writer::BuildScriptureBook(source, options, "fuzz.osis.xml");
    Check(book.verses == source.VerseCount());
  } catch (const orva::writer::SourceError&) {
  }
  return 0;
}
