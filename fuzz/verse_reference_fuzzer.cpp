// Any bytes as a verse reference, looked up in a small valid verse sync index and
// checked against a model: books 1-3, chapters 1-4, verses 0-5, each verse's value
// 10000 * book + 100 * chapter + verse. The model splits the reference at its
// first two commas and reads each field with the C library's atoi (fields longer
// than nine bytes are left to the index alone: atoi may overflow on them).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "orvada.h"
#include "fuzz/memory_book.h"
#include "writer/book_dir.h"
#include "writer/vsync_writer.h"

namespace {

constexpr size_t kMaxInput = 256;

void Check(bool holds) {
  if (!holds) std::abort();
}

cORVABookBase& OpenBook() {
  static cORVABookBase* book = [] {
    orva::writer::VerseSyncDescription d;
    for (std::uint16_t b = 1; b <= 3; ++b) {
      d.books.emplace_back();
      for (std::uint16_t c = 1; c <= 4; ++c) {
        for (std::uint16_t v = 0; v <= 5; ++v) d.books.back().verses.push_back({c, v, 10000u * b + 100u * c + v});
      }
    }
    const std::vector<std::uint8_t> file = orva::writer::EncodeVerseSyncIndex(d);
    orva::fuzz::MemoryBook& files = orva::fuzz::HarnessBook();
    files.Set("vsync.idx", file.data(), file.size());
    auto* opened = new cORVABookBase;
    orva::writer::PointBookAt(*opened, files.Path(), d.version, "verse");
    if (opened->Open(ORVA_VSYNC) != 0) std::abort();
    return opened;
  }();
  return *book;
}

// The expected value, or -1; `checkable` is false when a field is too long for atoi.
int Model(const std::string& reference, bool& checkable) {
  checkable = true;
  const size_t comma = reference.find(',');
  if (comma == std::string::npos || comma == 0) return -1;
  const size_t second = reference.find(',', comma + 1);
  if (second == std::string::npos || second == comma + 1) return -1;
  const std::string fields[] = {reference.substr(0, comma), reference.substr(comma + 1, second - comma - 1),
                                reference.substr(second + 1)};
  int n[3];
  for (int i = 0; i < 3; ++i) {
    if (fields[i].size() > 9) checkable = false;
    n[i] = std::atoi(fields[i].c_str());
  }
  if (n[0] < 1 || n[0] > 3 || n[1] < 1 || n[1] > 4 || n[2] < 0 || n[2] > 5) return -1;
  return 10000 * n[0] + 100 * n[1] + n[2];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  cORVABookBase& book = OpenBook();
  const std::string input(reinterpret_cast<const char*>(data), size);
  const std::string reference = input.c_str();  // the library sees up to the first zero byte
  const int key = book.GetVSyncKey(input.c_str());
  Check(book.GetSectionKeyByVerse(input.c_str()) == key);
  bool checkable = true;
  const int expected = Model(reference, checkable);
  if (checkable) Check(key == expected);
  return 0;
}
