// cSyncFile: the reader shared by the word, Strong's-number and date sync indexes,
// which have one format and differ only in the file they open.
#pragma once

#include "orvada/file_base.h"

class cBookStore;
class cORVABookBase;

class cSyncFile : public cFileBase {
 public:
  // Opens the subclass's file for `book`; 0 or an error code.
  virtual int Open(cBookStore& store, cORVABookBase& book) = 0;

 protected:
  // Opens `path`; the first successful open records `store` as the owner.
  int OpenSyncFile(cBookStore& store, cORVABookBase& book, const CString& path);
};

// "wsync.idx" in the book's word sync path.
class cWSyncFile : public cSyncFile {
 public:
  int Open(cBookStore& store, cORVABookBase& book) override;
};

// "ssync.idx" in the book's Strong's sync path.
class cSSyncFile : public cSyncFile {
 public:
  int Open(cBookStore& store, cORVABookBase& book) override;
};

// "dsync.idx" in the book's date sync path.
class cDSyncFile : public cSyncFile {
 public:
  int Open(cBookStore& store, cORVABookBase& book) override;
};
