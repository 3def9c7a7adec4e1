// cSectionsFile: the file object of "sections.idx" in the shared book store.
#pragma once

#include "orvada/file_base.h"

class cBookStore;
class cORVABookBase;

class cSectionsFile : public cFileBase {
 public:
  // Opens the book's GetSectionsPath() followed by "sections.idx" through cFileBase::Open; the first
  // successful open records `store` as the owner. Returns 0 or an error code.
  int Open(cBookStore& store, cORVABookBase& book);
};
