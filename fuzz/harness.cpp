#include "fuzz/harness.h"

#include "fuzz/memory_book.h"
#include "writer/book_dir.h"

namespace orva::fuzz {

namespace {

int Silent(const char*, UINT, UINT) { return IDOK; }

}  // namespace

void SetFile(const std::string& name, const std::uint8_t* file, std::size_t size) {
  constexpr std::size_t kMapped = (64 << 10) + 1;
  HarnessBook().Set(name, file, size, size % 2 == 1 ? kMapped : size);
}

void PrepareBook(cORVABookBase& book, const std::string& name, const std::uint8_t* file, std::size_t size,
                 const char* syncType, bool anyVersion) {
  AfxSetMessageBoxHandler(Silent);
  MemoryBook& files = HarnessBook();
  files.Clear();
  files.Set(name, file, size);
  writer::VersionFields ids;
  if (size >= 6) {
    ids.publisherID = static_cast<std::uint16_t>(file[2] | file[3] << 8);
    ids.bookID = static_cast<std::uint16_t>(file[4] | file[5] << 8);
  }
  writer::PointBookAt(book, files.Path(), ids, syncType);
  if (anyVersion) book.SetClientProgramVersion("3.0");
}

}  // namespace orva::fuzz
