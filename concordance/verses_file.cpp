#include "concordance/verses_file.h"

#include "orvada/book_base.h"

int cVersesFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetVersesPath() + "verses.idx", [] {});
}
