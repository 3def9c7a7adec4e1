// cBookStore: the open files of one book, shared by every book object that names
// the same book (publisher id, book id and edition, compared byte for byte).
//
// A store owns one file object per flag bit, opens and closes them per bit on
// behalf of book objects, and counts the uses of each file. Live stores sit in one
// process-wide list; the CloseFiles that gives back the last use of the last file
// removes the store from the list and destroys it.
#pragma once

#include "concordance/concord_file.h"
#include "concordance/verses_file.h"
#include "sections/sections_file.h"
#include "sync/sync_file.h"
#include "sync/vsync_file.h"
#include "text/text_file.h"
#include "text/viewable_file.h"
#include "orvada/media_file.h"
#include "orvada/version_record.h"
#include "platform/cstring.h"
#include "platform/object.h"
#include "platform/types.h"

class cORVABookBase;

class cBookStore : public CObject {
 public:
  cBookStore() = default;
  ~cBookStore() override = default;
  cBookStore(const cBookStore&) = delete;
  cBookStore& operator=(const cBookStore&) = delete;

  // Finds the store of `book` in the list, or creates one, and opens `bits` in it
  // for `book`. Returns 0 with `store` set, or an error code with `store` unset: a
  // store created here is destroyed again and never enters the list, a shared store
  // keeps its earlier uses. Exceptions pass through (a store created by the call is
  // then destroyed with the files it opened).
  static int FindOrCreateStore(cORVABookBase& book, cBookStore*& store, DWORD bits);

  // The first store in the list whose key is `key`, null when there is none.
  static cBookStore* Find(const CString& key);

  // The store key of `book`: publisher id, book id and edition, joined.
  static CString KeyOf(const cORVABookBase& book);

  // Opens `bits` for `book` in the fixed open order. A file open already gains a
  // use without being checked again. On a failure the files this call opened are
  // closed again and the code is returned.
  int OpenFiles(cORVABookBase& book, DWORD bits);
  // Gives `bits` back, once each. When no file is in use any more, the store leaves
  // the list and deletes itself: the caller must forget it.
  void CloseFiles(DWORD bits);

  // Copies the version record of the file of one index bit (0x002 to 0x100, not the
  // text file or the media counter) and returns 0; any other value returns 1.
  int GetFileVersionRecord(DWORD bit, sVersionRecord* record);
  // The sync file object of a sync bit, null for any other value.
  cFileBase* GetSyncFile(DWORD bit);

  // The use count of the file of one bit.
  int GetRefCount(DWORD bit) const;
  const CString& GetKey() const { return m_strKey; }

  // The number of live stores, for hosts and tests that check nothing leaks.
  static int GetStoreCount();

  cTextFile m_TextFile;
  cSectionsFile m_SectionsFile;
  cViewableFile m_ViewableFile;
  cConcordFile m_ConcordFile;
  cVersesFile m_VersesFile;
  cWSyncFile m_WSyncFile;
  cVSyncFile m_VSyncFile;
  cSSyncFile m_SSyncFile;
  cDSyncFile m_DSyncFile;
  cMediaFile m_MediaFile;

 private:
  int OpenBit(DWORD bit, cORVABookBase& book);
  int CloseBit(DWORD bit);
  // The file object of one file bit, null for the media counter and other values.
  cFileBase* FileOfBit(DWORD bit);

  CString m_strKey;
};
