// cSectionsFile: the file object of "sections.idx" in the shared book store: the
// tree of sections and the run of glossary entries after it, one fixed-size record
// per entry, addressed by key (the record's index in the table).
//
// Keys 0 ... S-1 are sections, S ... S+G-1 glossary entries, -1 stands for none.
// Links in the records are file positions of other records; they are converted to
// keys as (position - first-record offset) / R, position 0 being none. Children
// are stored right after their parent, so the child of section k is k+1 when that
// is a section on a deeper level.
//
// Damage is reported as CFileException*: cause endOfFile (14) for anything that
// lies past the end of the file, cause generic (1) for a header with negative
// counts or a record size of 0, a link that leads outside the table where a walk
// follows it, a negative name length, links that loop, and a parent that does not
// stand on a lower level than its child. Every walk along siblings is bounded by
// the number of entries, every walk up to the root by the 256 levels.
#pragma once

#include <string>
#include <vector>

#include "orvada/file_base.h"
#include "orvada/sections_data.h"
#include "orvada/sections_records.h"
#include "platform/arrays.h"
#include "sections/path_cache.h"

class cBookStore;
class cORVABookBase;

class cSectionsFile : public cFileBase {
 public:
  // Opens the book's GetSectionsPath() followed by "sections.idx" through
  // cFileBase::Open; the first successful open records `store` as the owner and
  // reads the header. Returns 0 or an error code; a damaged header (see above), or
  // an entry table that runs past the end of the file, raises and leaves the file
  // closed.
  int Open(cBookStore& store, cORVABookBase& book);

  const sSectionsHeader& Header() const { return m_Header; }
  int SectionCount() const { return m_Header.lSectionCount; }
  int EntryCount() const { return m_nEntryCount; }
  bool IsSectionKey(int key) const { return key >= 0 && key < SectionCount(); }
  bool IsEntryKey(int key) const { return key >= 0 && key < m_nEntryCount; }

  // Fills `entry` from the record of `key` (an entry key, else raises generic):
  // name, level, book key, level count, links, child key and sync data.
  void ReadEntry(int key, cSectionsData& entry);

  // The key that the next-sibling link of entry `key` holds (an entry key, else
  // raises generic), read without the name.
  int NextKey(int key);
  // The number of sections in the sibling chain of section `key`, `key` included;
  // raises generic when `key` is not a section key.
  int SiblingCount(int key);
  // The key of the section that `path` names (names separated by backslashes,
  // empty names skipped, letter case ignored), or -1.
  int FindPath(const char* path);
  // The names from the outermost level down to entry `key`, each preceded by a
  // backslash; raises generic when `key` is not an entry key. At most 256 names
  // (levels fall at each step up), so at most 8 MiB of them.
  CString Path(int key);
  // The same names with `separator` between them and none in front, completed
  // from the path cache when it holds the levels above; equal to the walked path.
  CString FormattedPath(int key, const char* separator);
  // The first and last key of the book of `entry`, stored through the pointers
  // that are not null; raises generic when its section key is not an entry key.
  void KeyRange(const cSectionsData& entry, int* first, int* last);
  // Replaces `sections` with the non-Bible section list.
  void NonBibleSections(CWordArray& sections);
  // The word count of section `key`, or -1 for another key or a book without
  // a word-count table.
  int WordCount(int key);

 private:
  void ReadHeader();
  // The first min(R, 29) bytes of the record of `key` over a zeroed record;
  // raises generic when `key` is not an entry key.
  void ReadRecord(int key, sSectionRec& record);
  // The key of the child of section `key` on `level`, or -1.
  int ChildKey(int key, BYTE level);
  // Reads the bytes of the name at `offset` into m_strName, at most `limit` of
  // them (the whole name is checked to lie in the file).
  void ReadName(DWORD offset, size_t limit = static_cast<size_t>(-1));
  // The name last read, up to any zero byte in it.
  CString NameRead() const;
  // The key a link holds: -1 for position 0, else (position - first-record
  // offset) / R in signed 32-bit arithmetic (any value: callers check it).
  int LinkToKey(DWORD offset) const;
  // Reads entry `key` for a walk up to the root: appends its name to
  // m_PathNames and returns its parent key. When m_PathNames held names already,
  // `level` is the level of the child the walk came from, and this entry's level
  // must lie below it (else generic). Sets `level` to this entry's level.
  int ReadForPath(int key, BYTE* level);

  sSectionsHeader m_Header{};
  WORD m_wHeaderLength = 0;
  DWORD m_dwFirstRecord = 0;
  int m_nEntryCount = 0;
  cPathCache m_PathCache;
  // Scratch space reused by every call, so that walks do not allocate per step;
  // the names of a path are let go once it is joined.
  std::string m_strName;
  std::vector<CString> m_PathNames;
};
