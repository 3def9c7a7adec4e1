// cVSyncFile: the file object of "vsync.idx" in the shared book store, the sync
// index of a book whose sync type is "verse": it maps a verse reference (book,
// chapter, verse) to the section key where the book holds that verse.
//
// After the version record comes a header record (sVSyncHeader: first and last
// book number, book record size, verse entry size), then the book table, one
// record per book number from the first to the last (sVSyncBookRec: the position
// and length of the book's verse table), and the verse tables themselves
// (sVSyncVerseRec entries sorted by chapter, then verse). A look-up reads one book
// record and bisects the book's verse table, one entry per step; the file is
// never loaded whole. Every call moves the position of the file shared by the book
// objects of a store.
//
// Damage is reported as CFileException*: cause endOfFile (14) for anything that
// lies past the end of the file (the header record or the book table at open, a
// verse entry at a look-up), cause generic (1) for a header record shorter than 10
// bytes, a book record size below 6 and a verse entry size below 8. A first book
// above the last makes the book table empty: every look-up gives -1.
#pragma once

#include "orvada/file_base.h"
#include "orvada/sync_records.h"

class cBookStore;
class cORVABookBase;

class cVSyncFile : public cFileBase {
 public:
  // Opens the book's GetVSyncPath() followed by "vsync.idx" through cFileBase::Open;
  // the first successful open records `store` as the owner and reads the header
  // (ReadSyncHeader). Returns 0 or an error code; a damaged header or book table
  // (see above) raises and leaves the file closed.
  int Open(cBookStore& store, cORVABookBase& book);

  // Reads the header record after the version record, and checks that the book
  // table lies inside the file.
  void ReadSyncHeader();

  const sVSyncHeader& Header() const { return m_Header; }
  WORD GetHeaderLength() const { return m_wHeaderLength; }
  DWORD GetTableOffset() const { return m_dwTableOffset; }

  // The value of the verse that `reference` names, or -1: for a reference that
  // ParseVerseReference refuses, a book outside first ... last (the book table is
  // not read then), a book without a verse table (offset 0 or no entries), and a
  // chapter and verse that the book's table does not hold. A stored value of
  // 0xFFFFFFFF reads as -1 too.
  int FindVerseKey(const char* reference);

  // Splits "book,chapter,verse" into its three numbers, each read as atoi reads
  // (blanks, a sign, digits up to the first other byte; no digits is 0). The book
  // and chapter fields must not be empty: false when the reference (null included)
  // has no comma, begins with one, or has no comma after the first one or has it
  // right after. The verse is everything after the second comma (empty is verse 0);
  // anything after a field's digits, further commas included, is ignored.
  static bool ParseVerseReference(const char* reference, int& book, int& chapter, int& verse);

 private:
  sVSyncHeader m_Header{};
  WORD m_wHeaderLength = 0;
  DWORD m_dwTableOffset = 0;
};
