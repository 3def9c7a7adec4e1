#include "sections/path_cache.h"

#include "platform/exceptions.h"

void cPathCache::Remember(int level, int key, int parentKey, const CString& name) {
  if (level < 1 || level > kLevels) return;
  Level& slot = m_levels[static_cast<size_t>(level - 1)];
  slot.used = true;
  slot.key = key;
  slot.parentKey = parentKey;
  slot.name = name;
}

bool cPathCache::CompleteAbove(int level, int parentKey, std::vector<CString>& names) const {
  if (level < 2 || level > kLevels || parentKey == -1) return false;
  int expected = parentKey;
  for (int j = level - 2; j >= 0; --j) {
    const Level& slot = m_levels[static_cast<size_t>(j)];
    if (!slot.used || slot.key != expected) return false;
    expected = slot.parentKey;
  }
  // The chain must end at a section without a parent, where walking would stop too.
  if (expected != -1) return false;
  for (int j = level - 2; j >= 0; --j) {
    AfxAllocating([&] { names.push_back(m_levels[static_cast<size_t>(j)].name); });
  }
  return true;
}
