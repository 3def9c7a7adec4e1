// Any bytes as an OSIS document (after a byte of options: compression and coded
// lists), read and, when it reads, built into a book in memory. A document either
// reads or raises SourceError; a book that builds holds every verse read.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "writer/book_builder.h"
#include "writer/book_dir.h"
#include "writer/source_osis.h"

namespace {

constexpr size_t kMaxInput = 1 << 16;

void Check(bool holds) {
  if (!holds) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  static const orva::writer::TempBookDir dir;
  const std::string path = dir.FilePath("fuzz.osis.xml");
  std::ofstream(path, std::ios::binary | std::ios::trunc).write(reinterpret_cast<const char*>(data) + 1,
                                                                 static_cast<std::streamsize>(size - 1));
  orva::writer::BookOptions options;
  options.compress = data[0] & 1;
  options.coded = data[0] & 2;
  try {
    orva::writer::SourceStream in(path);
    const orva::writer::Scripture source = orva::writer::ParseOsis(in);
    const orva::writer::BuiltBook book = orva::writer::BuildScriptureBook(source, options, path);
    Check(book.verses == source.VerseCount());
  } catch (const orva::writer::SourceError&) {
  }
  return 0;
}
