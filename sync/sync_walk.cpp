#include "sync/sync_walk.h"

#include <cstring>

#include "files/file_checks.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"

cSyncWalk::cSyncWalk(cFileBase& file, const cLanguageString& pattern, const std::string& high)
    : m_file(file),
      m_pattern(pattern),
      m_high(high.c_str()),
      m_highLength(std::strlen(high.c_str())),
      m_matchLimit(pattern.DecomposedLength() + 1),
      m_prefix(file) {}

cSyncWalk::Verdict cSyncWalk::Judge(DWORD offset) {
  const auto known = m_verdicts.find(offset);
  if (known != m_verdicts.end()) return known->second;
  // _mbsicmp against the highest form is decided within its length + 1 bytes.
  const int length = orva::ReadCountedBytes(m_file, offset, m_bytes, m_highLength + 1);
  m_prefix.Convert(offset + 2LL, length, m_matchLimit, m_word);
  Verdict verdict = kInside;
  if (static_cast<int>(m_word.GetLength()) < m_matchLimit && m_pattern.Compare(m_word, 0, 0) == 0) {
    verdict = kMatch;
  } else if (_mbsicmp(reinterpret_cast<const unsigned char*>(m_bytes.c_str()),
                      reinterpret_cast<const unsigned char*>(m_high)) > 0) {
    verdict = kAbove;
  }
  // The walk goes on only past words inside: only they can come again.
  if (verdict == kInside) AfxAllocating([&] { m_verdicts.emplace(offset, verdict); });
  return verdict;
}
