#include "sync/sync_file.h"

#include "orvada/book_base.h"

int cSyncFile::OpenSyncFile(cBookStore& store, cORVABookBase& book, const CString& path) {
  return OpenInStore(store, book, path, [] {});
}

int cWSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenSyncFile(store, book, book.GetWSyncPath() + "wsync.idx");
}

int cSSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenSyncFile(store, book, book.GetSSyncPath() + "ssync.idx");
}

int cDSyncFile::Open(cBookStore& store, cORVABookBase& book) {
  return OpenSyncFile(store, book, book.GetDSyncPath() + "dsync.idx");
}
