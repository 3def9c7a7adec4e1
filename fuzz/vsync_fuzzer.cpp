// Any bytes as "vsync.idx", opened through a book object and searched for verses
// around the book range its header claims, with chapters and verses taken from the
// input. The book takes its ids from the file's version record and a client
// version that accepts any format, so that inputs reach the header.
#include <cstddef>
#include <cstdint>
#include <string>

#include "orvada.h"
#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "writer/book_dir.h"

namespace {

constexpr size_t kMaxInput = 1 << 14;

int U16At(const std::uint8_t* data, std::size_t size, std::size_t at) {
  return at + 1 < size ? data[at] | data[at + 1] << 8 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  cORVABookBase book;
  orva::fuzz::PrepareBook(book, "vsync.idx", data, size, "verse");
  try {
    if (book.Open(ORVA_VSYNC) == 0) {
      const size_t header = static_cast<size_t>(U16At(data, size, 0));
      const int first = U16At(data, size, header + 2), last = U16At(data, size, header + 4);
      for (int b : {first - 1, first, (first + last) / 2, last, last + 1}) {
        // Chapter and verse pairs from eight places spread over the input.
        for (size_t k = 0; k < 8; ++k) {
          const size_t at = size * k / 8;
          const std::string reference = std::to_string(b) + "," + std::to_string(U16At(data, size, at)) + "," +
                                        std::to_string(U16At(data, size, at + 2));
          try {
            book.GetVSyncKey(reference.c_str());
          } catch (CException* e) {
            e->Delete();
            break;  // the book's table is damaged: each further throw costs the same
          }
        }
      }
    }
  } catch (CException* e) {
    e->Delete();
  }
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
