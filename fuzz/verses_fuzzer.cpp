// Any bytes as "verses.idx", opened through a book object and read through every
// occurrence member. Input: a book, chapter and verse number (u16 each, so that the
// fuzzer can aim at the records of the file), then the file's contents. The book
// takes its ids from the file's version record and accepts any format.
#include <cstddef>
#include <cstdint>

#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "orvada.h"
#include "writer/book_dir.h"

namespace {

using orva::fuzz::Try;

constexpr size_t kMaxInput = 1 << 16;
constexpr size_t kPrefix = 6;

WORD U16(const std::uint8_t* p) { return static_cast<WORD>(p[0] | p[1] << 8); }

void Query(cORVABookBase& book, WORD b, WORD c, WORD v) {
  CUIntArray values;
  Try([&] { book.GetBookOccurrences(b, values); });
  Try([&] { book.GetBookOccurrencesAllChapters(b, values); });
  Try([&] { book.GetBookOccurrencesAllVerses(b, values); });
  Try([&] { book.GetChapterOccurrences(b, c, values); });
  Try([&] { book.GetChapterOccurrencesAllVerses(b, c, values); });
  Try([&] { book.GetVerseOccurrences(b, c, v, values); });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < kPrefix || size > kMaxInput) return 0;
  cORVABookBase book;
  orva::fuzz::PrepareBook(book, "verses.idx", data + kPrefix, size - kPrefix);
  Try([&] {
    if (book.Open(ORVA_VERSES) != 0) return;
    Query(book, U16(data), U16(data + 2), U16(data + 4));
    Query(book, 1, 1, 1);
  });
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
