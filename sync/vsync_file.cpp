#include "sync/vsync_file.h"

#include "orvada/book_base.h"

int cVSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenInStore(store, book, book.GetVSyncPath() + "vsync.idx", [] {});
}
