// Any bytes as the file of any part of a book, opened and queried through a book
// object. Input: one control byte, then the file's contents.
//   bits 0-3: which part (flag bit 1 << (n % 9))
//   bit 4:    take the book's ids from the file, so that its version record passes
//   bit 5:    set a client program version ("2.5")
// A file of odd size is padded past 64 KiB, so that it is mapped (SetFile).
#include <cstddef>
#include <cstdint>
#include <string>

#include "orvada.h"
#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "writer/book_dir.h"

namespace {

constexpr size_t kMaxInput = 1 << 20;

int Silent(const char*, UINT, UINT) { return IDOK; }

void Query(cORVABookBase& book, DWORD bit) {
  sVersionRecord record{};
  book.GetIdxVersionRecord(&record);
  if (bit == ORVA_CONCORD) {
    book.GetCurrentLanguage();
    book.SelectCurrentLanguage(1031, nullptr);
    book.SelectCurrentLanguage(1033, nullptr);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 1 || size > kMaxInput) return 0;
  AfxSetMessageBoxHandler(Silent);
  const DWORD bit = 1u << (data[0] % 16 % 9);
  const char* name = orva::FileNameOfBit(bit);
  orva::fuzz::MemoryBook& files = orva::fuzz::HarnessBook();
  files.Clear();
  orva::fuzz::SetFile(name, data + 1, size - 1);

  cORVABookBase book;
  orva::writer::VersionFields ids;
  if ((data[0] & 0x10) && size >= 7) {
    ids.publisherID = static_cast<std::uint16_t>(data[3] | data[4] << 8);
    ids.bookID = static_cast<std::uint16_t>(data[5] | data[6] << 8);
  }
  orva::writer::PointBookAt(book, files.Path(), ids, orva::SyncTypeOfBit(bit));
  if (data[0] & 0x20) book.SetClientProgramVersion("2.5");
  try {
    if (book.Open(bit) == 0) Query(book, bit);
  } catch (CException* e) {
    e->Delete();
  }
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
