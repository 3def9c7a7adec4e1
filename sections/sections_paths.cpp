// Conversions between keys and backslash-separated path strings.
#include <cstring>
#include <string>

#include "files/file_checks.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"
#include "sections/sections_file.h"

namespace {

// Joins `names` (innermost first) outermost first, with `before` in front of each
// name and `between` between them.
CString JoinOutermostFirst(const std::vector<CString>& names, const char* before, const char* between) {
  const size_t beforeLength = std::strlen(before);
  const size_t betweenLength = std::strlen(between);
  return AfxAllocating([&] {
    std::string path;
    size_t size = names.size() * beforeLength + (names.empty() ? 0 : (names.size() - 1) * betweenLength);
    for (const CString& name : names) size += static_cast<size_t>(name.GetLength());
    path.reserve(size);
    for (size_t i = names.size(); i-- > 0;) {
      if (i + 1 < names.size()) path.append(between, betweenLength);
      path.append(before, beforeLength);
      path.append(names[i], static_cast<size_t>(names[i].GetLength()));
    }
    return CString(path.data(), static_cast<int>(path.size()));
  });
}

}  // namespace

int cSectionsFile::FindPath(const char* path) {
  if (path == nullptr) return -1;
  int search = 0;
  int matched = -1;
  std::string component;
  for (const char* at = path; *at != '\0';) {
    const size_t length = std::strcspn(at, "\\");
    if (length == 0) {
      ++at;
      continue;
    }
    AfxAllocating([&] { component.assign(at, length); });
    at += length;

    sSectionRec record;
    int steps = 0;
    for (;;) {
      if (!IsSectionKey(search)) return -1;
      if (++steps > SectionCount()) orva::ThrowDamaged();  // the sibling links loop
      ReadRecord(search, record);
      // The comparison is decided within the component's length + 1 bytes.
      ReadName(record.dwNameOffset, length + 1);
      if (_mbsicmp(reinterpret_cast<const unsigned char*>(component.c_str()),
                   reinterpret_cast<const unsigned char*>(m_strName.c_str())) == 0) {
        break;
      }
      search = LinkToKey(record.dwNextOffset);
    }
    matched = search;
    search = ChildKey(search, record.byLevel);
  }
  return matched;
}

int cSectionsFile::ReadForPath(int key, BYTE* level) {
  sSectionRec record;
  ReadRecord(key, record);
  // A parent stands on a lower level than its child: the levels fall at every step,
  // so no walk up reads more than 256 entries, and none loops.
  if (!m_PathNames.empty() && record.byLevel >= *level) orva::ThrowDamaged();
  ReadName(record.dwNameOffset);
  AfxAllocating([&] { m_PathNames.push_back(NameRead()); });
  *level = record.byLevel;
  return LinkToKey(record.dwParentOffset);
}

CString cSectionsFile::Path(int key) {
  if (!IsEntryKey(key)) orva::ThrowDamaged();
  m_PathNames.clear();
  BYTE level = 0;
  for (int at = key; at != -1;) at = ReadForPath(at, &level);
  CString path = JoinOutermostFirst(m_PathNames, "\\", "");
  m_PathNames.clear();
  return path;
}

CString cSectionsFile::FormattedPath(int key, const char* separator) {
  if (!IsEntryKey(key)) orva::ThrowDamaged();
  if (separator == nullptr) separator = "";
  m_PathNames.clear();
  BYTE level = 0;
  for (int at = key; at != -1;) {
    const int parent = ReadForPath(at, &level);
    if (IsSectionKey(at)) {
      m_PathCache.Remember(level, at, parent, m_PathNames.back());
      if (m_PathCache.CompleteAbove(level, parent, m_PathNames)) break;
    }
    at = parent;
  }
  CString path = JoinOutermostFirst(m_PathNames, "", separator);
  m_PathNames.clear();
  return path;
}
