#include "text/text_file.h"

#include "orvada/book_base.h"

int cTextFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetTextPath() + "book.dat", [] {});
}
