// cViewableFile: the file object of "viewable.idx" in the shared book store.
#pragma once

#include "orvada/file_base.h"

class cBookStore;
class cORVABookBase;

class cViewableFile : public cFileBase {
 public:
  // Opens the book's GetViewablePath() followed by "viewable.idx" through cFileBase::Open; the first
  // successful open records `store` as the owner. Returns 0 or an error code.
  int Open(cBookStore& store, cORVABookBase& book);
};
