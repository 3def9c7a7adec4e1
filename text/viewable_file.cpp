#include "text/viewable_file.h"

#include "orvada/book_base.h"

int cViewableFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetViewablePath() + "viewable.idx", [] {});
}
