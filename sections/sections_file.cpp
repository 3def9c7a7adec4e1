#include "sections/sections_file.h"

#include "orvada/book_base.h"

int cSectionsFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetSectionsPath() + "sections.idx", [] {});
}
