// cSectionsData: one entry of a book's table of contents (a section or a glossary
// entry) as the sections members of the book object hand it out, and as a host may
// build, keep and pass on itself.
//
// A record flattens into one block of memory (Store) and is rebuilt from one
// (Load); cORVABookBase::StoreSectionsArray and LoadSectionsArray do the same for a
// whole array. Flattened record, little-endian, no padding (42 + L bytes):
//   0 level, 4 book key, 8 level count, 12 section key, 16 parent key, 20 child key,
//   24 next key, 28 prev key (each i32), 32 name length L (u32), 36 the L name
//   bytes (no terminator), 36 + L sync data 32-bit word (u32), 40 + L its 16-bit
//   word (u16).
#pragma once

#include <cstddef>

#include "platform/cstring.h"
#include "platform/object.h"
#include "platform/types.h"

#pragma pack(push, 1)
// Six bytes of sync data that the library carries from the sections index to the
// host without interpreting them: a 32-bit word followed by a 16-bit word.
union SYNC_DATA {
  struct {
    DWORD dwValue;  // the 32-bit word
    WORD wValue;    // the 16-bit word
  } words;
  BYTE bytes[6];
};
#pragma pack(pop)

static_assert(sizeof(SYNC_DATA) == 6, "SYNC_DATA is 6 bytes");

class cORVABookBase;
class cSectionsFile;

class cSectionsData : public CObject {
 public:
  // Keys are -1 (none), the level -1, the level count 0, the name empty and the
  // sync data six zero bytes.
  cSectionsData();
  cSectionsData(const cSectionsData& other) = default;
  cSectionsData& operator=(const cSectionsData& other) = default;
  ~cSectionsData() override = default;

  CString GetName() const { return m_strName; }
  int GetLevel() const { return m_nLevel; }
  int GetBookKey() const { return m_nBookKey; }
  // How many keys back the first entry of this entry's book lies.
  int GetLevelCount() const { return m_nLevelCount; }
  int GetSectionKey() const { return m_nSectionKey; }
  int GetParentKey() const { return m_nParentKey; }
  int GetChildKey() const { return m_nChildKey; }
  int GetNextKey() const { return m_nNextKey; }
  int GetPrevKey() const { return m_nPrevKey; }
  void GetSyncData(SYNC_DATA* data) const;

  void SetName(const CString& name) { m_strName = name; }
  void SetLevel(int v) { m_nLevel = v; }
  void SetBookKey(int v) { m_nBookKey = v; }
  void SetLevelCount(int v) { m_nLevelCount = v; }
  void SetSectionKey(int v) { m_nSectionKey = v; }
  void SetParentKey(int v) { m_nParentKey = v; }
  void SetChildKey(int v) { m_nChildKey = v; }
  void SetNextKey(int v) { m_nNextKey = v; }
  void SetPrevKey(int v) { m_nPrevKey = v; }
  // The sync data has no setter: the sections index and Load set it.

  // Flattens the record into a new buffer of 42 + L bytes, stores its address
  // through `buffer` and returns 42 + L. The buffer comes from ::operator new and
  // belongs to the caller, who frees it with ::operator delete. Raises
  // CMemoryException* when it cannot be allocated.
  int Store(char** buffer) const;
  // Sets every field from the flattened record at `buffer`, which is trusted to
  // hold all 42 + L bytes. A name with a zero byte is cut at that byte; the fields
  // after it are still read at 36 + L.
  void Load(const char* buffer);

 private:
  friend class cSectionsFile;   // fills records, sync data included
  friend class cORVABookBase;   // flattens arrays without a buffer per record

  // The length of the flattened record, and the record flattened into `out`,
  // which holds at least that many bytes.
  size_t FlatSize() const;
  void FlattenInto(unsigned char* out) const;

  CString m_strName;
  int m_nLevel = -1;
  int m_nBookKey = -1;
  int m_nLevelCount = 0;
  int m_nSectionKey = -1;
  int m_nParentKey = -1;
  int m_nChildKey = -1;
  int m_nNextKey = -1;
  int m_nPrevKey = -1;
  SYNC_DATA m_SyncData;
};

// The framework's element functions for collections of section records: construct,
// or destroy, `count` records in place at `first`; nothing for count <= 0.
void ConstructElements(cSectionsData* first, int count);
void DestructElements(cSectionsData* first, int count);
