// cSyncFile: the reader shared by the word, Strong's-number and date sync indexes,
// which have one format and differ only in the file they open.
//
// A sync index maps key strings to 32-bit sync keys. After the version record comes
// a header record (sSyncHeader: word count, entry size), then the entry table, one
// entry per word, sorted by the words as _mbsicmp compares them; each entry holds
// its sync key and the position of its word (i16 length n, then n bytes of tagged
// text). Keys are packaged strings (see orvada/lang_text.h): a key with ambiguous
// characters is looked up over the whole range of words between its lowest and its
// highest form, and each word of the range is matched with MatchAmbiguous.
//
// Look-ups never load the file: each probe reads one entry and as much of its word
// as the comparison needs (see sync/sync_walk.h), so that entries sharing a long
// word cost no more than entries with short ones; only the entry read last (the
// current entry) stays in the object, and the word handed to the caller is read
// whole. Every call moves the position of the file shared by the book objects of
// a store.
//
// Damage is reported as CFileException*: cause endOfFile (14) for anything that
// lies past the end of the file (a header record or an entry table that runs past
// it is found at open; a word at a look-up), cause generic (1) for a header record
// shorter than 10 bytes, an entry size below 8 and a negative word length. Words
// and sync keys are otherwise taken as they stand: a word holding a zero byte
// ends there for every comparison, and a sync key of 0xFFFFFFFF reads as -1.
#pragma once

#include <string>

#include "orvada/file_base.h"
#include "orvada/sync_records.h"
#include "platform/arrays.h"
#include "platform/cstring.h"

class cBookStore;
class cORVABookBase;

class cSyncFile : public cFileBase {
 public:
  // Opens the subclass's file for `book`: 0 or an error code. The first successful
  // open records `store` as the owner and reads the header (ReadSyncHeader); a
  // damaged header raises (see above) and leaves the file closed.
  virtual int Open(cBookStore& store, cORVABookBase& book) = 0;

  // Reads the header record after the version record, and checks that the entry
  // table lies inside the file.
  void ReadSyncHeader();

  const sSyncHeader& Header() const { return m_Header; }
  DWORD GetWordCount() const { return m_Header.dwWordCount; }
  WORD GetHeaderLength() const { return m_wHeaderLength; }
  DWORD GetTableOffset() const { return m_dwTableOffset; }
  // The entry read last; no meaning between calls.
  const sSyncEntry& CurrentEntry() const { return m_CurrentEntry; }

  // Makes entry `index` the current entry and reads its word into `word`. An index
  // outside the table raises generic; `word` is changed only when the whole word
  // was read.
  void ReadSyncWord(int index, CString& word);

  // Bisection over the entries `low` ... `high` (indexes into the table): an
  // entry whose word equals `key` (as _mbsicmp compares), else, the table being
  // sorted, the first entry of the range whose word sorts above the key; its word
  // goes to `word` and its entry is current. -1 when every word of the range sorts
  // below the key (`word` then empty), and when low > high (`word` unchanged). A
  // range of one entry is that entry when its word is not below the key. A range
  // that leaves the table raises generic.
  int FindNearestSyncEntry(int low, int high, const char* key, CString& word);

  // Partial look-up of a packaged `key` (null is the empty key): the sync key of
  // the first entry, from the nearest entry to the key's lowest form on, whose word
  // matches the key (MatchAmbiguous, whole strings, options 0) or sorts above every
  // form of the key; its word goes to `word`. -1 when every word sorts below the
  // lowest form (`word` empty), when the walk reaches the last entry without
  // either (`word` holds the last word), and for an empty table (`word`
  // unchanged).
  //
  // The lowest and highest forms of the key are those of SyncKeyBounds
  // (sync/key_bounds.h).
  int FindSyncKeyPartial(const char* key, CString& word);

  // Exact look-up: the sync key where the partial look-up stopped when its word
  // matches the key (MatchPackagedAmbiguous, whole strings, options 0), else -1.
  int FindSyncKey(const char* key);

  // Reads the word at file position `offset` (i16 length, then the bytes) into
  // `word`, which is changed only when the whole word was read.
  void ReadWordAt(DWORD offset, CString& word);

 protected:
  // Opens `path`; the first successful open records `store` as the owner and reads
  // the header.
  int OpenSyncFile(cBookStore& store, cORVABookBase& book, const CString& path);

 private:
  // How a partial look-up ended.
  enum class Stop { kEmptyTable, kAllBelow, kRanOut, kMatch, kAbove };

  // Makes entry `index` the current entry (its word is not read).
  void ReadEntry(int index);
  // Reads the word at `offset` into m_strWord, at most `limit` bytes of it (the
  // whole word is checked to lie in the file).
  void ReadWord(DWORD offset, size_t limit = static_cast<size_t>(-1));
  CString WordRead() const;
  // _mbsicmp of the current entry's word with `key`, reading no more of the word
  // than decides it.
  int CompareWord(const char* key);
  // FindNearestSyncEntry for low <= high, without reading the word found.
  int Nearest(int low, int high, const char* key);
  // The partial look-up: how it ended; the current entry is where it stopped.
  Stop Walk(const char* key);

  sSyncHeader m_Header{};
  WORD m_wHeaderLength = 0;
  DWORD m_dwTableOffset = 0;
  sSyncEntry m_CurrentEntry{};
  // A word, or the part of it read: scratch space reused by every probe, so that a
  // look-up does not allocate per step.
  std::string m_strWord;
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
