// cTextFile: the file object of "book.dat" in the shared book store.
#pragma once

#include "orvada/file_base.h"

class cBookStore;
class cORVABookBase;

class cTextFile : public cFileBase {
 public:
  // Opens the book's GetTextPath() followed by "book.dat" through cFileBase::Open; the first
  // successful open records `store` as the owner. Returns 0 or an error code.
  int Open(cBookStore& store, cORVABookBase& book);
};
