// Any bytes as a book's book.dat and viewable.idx, read through every text member
// of a book object: area and block sizes and contents into buffers of exactly the
// size the book reports, chunked reading, the header record and control words.
// Input: one control byte, a u16 length n (little-endian), n bytes of
// viewable.idx, then the bytes of book.dat.
//   control bits 0-2: the area read first, before 1, 2 and 0
//   control bits 3-6: the chunk size, 1 << (bits - 1) (0 for bits 0)
//   control bit 7:    open viewable.idx alone
// The book's ids are taken from book.dat's version record, so that it can open.
// A file of odd size is padded past 64 KiB, so that it is mapped (SetFile).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "orvada.h"
#include "writer/book_dir.h"

namespace {

constexpr std::size_t kMaxInput = 1 << 17;
constexpr int kMaxRead = 1 << 16;
constexpr int kMaxChunks = 64;

void ReadArea(cORVABookBase& book, int area, unsigned chunkSize) {
  const int size = book.GetViewableAreaSize(area);
  if (size > 0 && size <= kMaxRead) {
    std::vector<char> text(static_cast<std::size_t>(size));
    book.GetViewableArea(area, text.data());
  }
  const int blockSize = book.GetViewableBlockSize(area);
  if (blockSize > 0 && blockSize <= kMaxRead) {
    std::vector<char> text(static_cast<std::size_t>(blockSize));
    book.GetViewableBlock(area, text.data());
  }
  std::vector<char> chunk(chunkSize);
  int n = book.GetFirstViewableAreaChunk(area, chunkSize, chunk.data());
  for (int i = 0; n != 0 && i < kMaxChunks; ++i) n = book.GetNextViewableAreaChunk(chunk.data());
}

int Silent(const char*, UINT, UINT) { return IDOK; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 3 || size > kMaxInput) return 0;
  AfxSetMessageBoxHandler(Silent);
  const std::uint8_t control = data[0];
  const std::size_t indexSize = std::min<std::size_t>(data[1] | data[2] << 8, size - 3);
  const std::uint8_t* index = data + 3;
  const std::uint8_t* text = index + indexSize;
  const std::size_t textSize = size - 3 - indexSize;
  orva::fuzz::MemoryBook& files = orva::fuzz::HarnessBook();
  orva::fuzz::SetFile("viewable.idx", index, indexSize);
  orva::fuzz::SetFile("book.dat", text, textSize);

  orva::writer::VersionFields ids;
  if (textSize >= 6) {
    ids.publisherID = static_cast<std::uint16_t>(text[2] | text[3] << 8);
    ids.bookID = static_cast<std::uint16_t>(text[4] | text[5] << 8);
  }
  cORVABookBase book;
  orva::writer::PointBookAt(book, files.Path(), ids);
  const unsigned chunkBits = (control >> 3) & 15;
  const unsigned chunkSize = chunkBits == 0 ? 0 : 1u << (chunkBits - 1);
  try {
    if (book.Open(control & 0x80 ? ORVA_VIEWABLE : ORVA_TEXT | ORVA_VIEWABLE) == 0) {
      if (book.IsOpen(ORVA_TEXT)) {
        sVersionRecord record;
        book.GetBookHeaderData(record);
        book.GetHeaderControlWordData("TITLE");
      }
      // The first raise ends the input: the areas share the preamble, whose load
      // would only fail again, and a throw costs more than the rest of a run.
      for (int area : {control & 7, 1, 2, 0}) ReadArea(book, area, chunkSize);
    }
  } catch (CException* e) {
    e->Delete();
  }
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
