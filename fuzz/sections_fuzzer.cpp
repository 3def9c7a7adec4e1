// Any bytes as "sections.idx", opened through a book object and read through every
// sections member. The book takes its ids from the file's version record and a
// client version that accepts any format, so that inputs reach the header.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "orvada.h"
#include "fuzz/harness.h"
#include "fuzz/memory_book.h"
#include "writer/book_dir.h"

namespace {

using orva::fuzz::Try;

constexpr size_t kMaxInput = 1 << 14;

int Continue(cSectionsData&, void* calls) { return ++*static_cast<int*>(calls) < 64; }

// Reads around one key. The members that cannot fail on a key outside the table
// come first, and those that raise for such a key are not called with one: the
// first exception ends the key (each throw costs system calls under the
// sanitizers).
void ReadKey(cORVABookBase& book, int key) {
  Try([&] {
    book.SectionWordCount(key);
    CArray<cSectionsData, cSectionsData&> siblings;
    book.GetSectionsArray(key, siblings);
    char* flat = nullptr;
    book.StoreSectionsArray(&flat, siblings);
    book.LoadSectionsArray(flat, siblings);
    ::operator delete(flat);
    int calls = 0;
    book.EnumSections(key, Continue, &calls);
    CStringArray names;
    book.GetSectionNamesForRange(key, 1, 40, names);
    cSectionsData entry;
    if (book.GetEntry(key, entry) != 0 || !book.IsValidKey(key)) return;
    book.GetKeyRange(entry, nullptr, nullptr);
    book.GetSectionKey(book.GetFormattedPathFromKey(key, "\\"));
    book.GetSectionKey(book.GetPathFromKey(key));
    if (book.IsValidSectionKey(key)) book.GetSiblingSectionCount(key);
  });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size > kMaxInput) return 0;
  cORVABookBase book;
  orva::fuzz::PrepareBook(book, "sections.idx", data, size);
  Try([&] {
    if (book.Open(ORVA_SECTIONS) != 0) return;
    sSectionsHeader header{};
    book.GetSectionHeader(&header);
    const int last = book.GetLastKey();
    int keys[] = {-2, 0, 1, 2, book.GetLastSectionKey(), last / 2, last};
    std::sort(std::begin(keys), std::end(keys));
    for (int* key = keys; key != std::unique(std::begin(keys), std::end(keys)); ++key) ReadKey(book, *key);
    Try([&] { book.GetSectionKey("\\1\\1\\1"); });
    Try([&] {
      CWordArray nonBible;
      book.GetNonBibleSections(nonBible);
    });
  });
  book.Close(ORVA_ALL_OPEN);
  return 0;
}
