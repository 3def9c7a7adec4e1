// cVSyncFile: the file object of "vsync.idx" in the shared book store.
#pragma once

#include "orvada/file_base.h"

class cBookStore;
class cORVABookBase;

class cVSyncFile : public cFileBase {
 public:
  // Opens the book's GetVSyncPath() followed by "vsync.idx" through cFileBase::Open; the first
  // successful open records `store` as the owner. Returns 0 or an error code.
  int Open(cBookStore& store, cORVABookBase& book);
};
