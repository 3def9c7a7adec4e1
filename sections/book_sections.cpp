// The book object's sections members: each checks that the sections part is open
// and reads through the store's sections file.
#include <cstring>

#include "book/book_store.h"
#include "files/file_checks.h"
#include "orvada/book_base.h"
#include "platform/exceptions.h"

cSectionsFile& cORVABookBase::SectionsFile() {
  RequireOpen(ORVA_SECTIONS);
  return m_pStore->m_SectionsFile;
}

int cORVABookBase::GetSectionHeader(sSectionsHeader* header) {
  const sSectionsHeader& held = SectionsFile().Header();
  if (header == nullptr) return 1;
  std::memcpy(header, &held, sizeof held);
  return 0;
}

BOOL cORVABookBase::IsValidSectionKey(int key) { return SectionsFile().IsSectionKey(key) ? TRUE : FALSE; }

BOOL cORVABookBase::IsValidGlossaryKey(int key) {
  const cSectionsFile& file = SectionsFile();
  return key == -2 || (key >= file.SectionCount() && file.IsEntryKey(key)) ? TRUE : FALSE;
}

BOOL cORVABookBase::IsValidKey(int key) { return SectionsFile().IsEntryKey(key) ? TRUE : FALSE; }

int cORVABookBase::GetLastSectionKey() { return SectionsFile().SectionCount() - 1; }

int cORVABookBase::GetLastKey() { return SectionsFile().EntryCount() - 1; }

int cORVABookBase::GetSection(int key, cSectionsData& section) {
  cSectionsFile& file = SectionsFile();
  if (!file.IsSectionKey(key)) return 1;
  file.ReadEntry(key, section);
  return 0;
}

int cORVABookBase::GetGlossary(int key, cSectionsData& entry) {
  cSectionsFile& file = SectionsFile();
  if (key == -2) key = file.SectionCount();
  if (key < file.SectionCount() || !file.IsEntryKey(key)) return 1;
  file.ReadEntry(key, entry);
  return 0;
}

int cORVABookBase::GetEntry(int key, cSectionsData& entry) {
  return SectionsFile().IsSectionKey(key) ? GetSection(key, entry) : GetGlossary(key, entry);
}

bool cORVABookBase::GetSectionAndValidateKey(int key, cSectionsData& section) {
  return IsValidKey(key) && GetSection(key, section) == 0;
}

int cORVABookBase::GetSectionsArray(int key, CArray<cSectionsData, cSectionsData&>& sections) {
  cSectionsFile& file = SectionsFile();
  const int before = sections.GetSize();
  try {
    cSectionsData section;
    long long text = 0;
    for (int at = key; file.IsSectionKey(at); at = section.GetNextKey()) {
      if (sections.GetSize() - before >= file.SectionCount()) orva::ThrowDamaged();  // the links loop
      file.ReadEntry(at, section);
      text += section.GetName().GetLength();
      if (text > orva::kMaxResultText) orva::ThrowDamaged();
      sections.Add(section);
    }
  } catch (...) {
    sections.SetSize(before);
    throw;
  }
  return sections.GetSize();
}

int cORVABookBase::EnumSections(int key, int (*callback)(cSectionsData&, void*), void* context) {
  cSectionsFile& file = SectionsFile();
  if (!file.IsSectionKey(key)) return 0;
  cSectionsData section;
  file.ReadEntry(key, section);
  int calls = 1;
  while (callback(section, context) != 0) {
    const int next = section.GetNextKey();
    if (!file.IsSectionKey(next)) return calls + 1;
    if (calls >= file.SectionCount()) orva::ThrowDamaged();  // the links loop
    file.ReadEntry(next, section);
    ++calls;
  }
  return calls;
}

int cORVABookBase::GetSectionNamesForRange(int key, int a, int b, CStringArray& names) {
  cSectionsFile& file = SectionsFile();
  const long long wanted = static_cast<long long>(b) - a;
  int stored = 0;
  long long text = 0;
  cSectionsData section;
  for (int at = key, position = 0; stored < wanted && file.IsSectionKey(at); ++position) {
    if (position >= file.SectionCount()) orva::ThrowDamaged();  // the links loop
    if (position < a) {  // passed by: its name is not read
      at = file.NextKey(at);
      continue;
    }
    file.ReadEntry(at, section);
    const CString name = section.GetName();
    text += name.GetLength();
    if (text > orva::kMaxResultText) orva::ThrowDamaged();
    names.SetAtGrow(stored++, name);
    at = section.GetNextKey();
  }
  return names.GetSize();
}

int cORVABookBase::GetSiblingSectionCount(int key) { return SectionsFile().SiblingCount(key); }

int cORVABookBase::GetSectionKey(const char* path) { return SectionsFile().FindPath(path); }

CString cORVABookBase::GetPathFromKey(int key) { return SectionsFile().Path(key); }

CString cORVABookBase::GetFormattedPathFromKey(int key, const char* separator) {
  return SectionsFile().FormattedPath(key, separator);
}

void cORVABookBase::GetKeyRange(const cSectionsData& entry, int* first, int* last) {
  SectionsFile().KeyRange(entry, first, last);
}

void cORVABookBase::GetNonBibleSections(CWordArray& sections) { SectionsFile().NonBibleSections(sections); }

int cORVABookBase::SectionWordCount(int key) { return SectionsFile().WordCount(key); }
