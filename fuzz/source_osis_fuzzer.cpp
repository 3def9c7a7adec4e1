// Any bytes as an OSIS document, read from a file in memory (gzip or xz data is
// decompressed on the way). A document either reads, into the shape the book
// builder relies on (fuzz/scripture_shape.h), or raises SourceError. The first
// byte is left out: source_osis_build, which builds what reads into a book,
// reads it as the book's options, so that the two harnesses share their seeds
// and corpora.
#include <cstddef>
#include <cstdint>

#include "fuzz/memory_file.h"
#include "fuzz/scripture_shape.h"
#include "writer/source_osis.h"

namespace {

constexpr size_t kMaxInput = 1 << 16;

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  static orva::fuzz::MemoryFile document;
  document.Set(data + 1, size - 1);
  try {
    orva::writer::SourceStream in(document.Path());
    orva::fuzz::CheckScriptureShape(orva::writer::ParseOsis(in));
  } catch (const orva::writer::SourceError&) {
  }
  return 0;
}
