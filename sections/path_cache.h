// cPathCache: the section most recently seen on each of the first 20 levels of the
// sections tree (its key, its parent's key and its name), so that formatting the
// path of a key can stop walking as soon as the levels above it are known.
//
// A path is completed only when the cached levels above a section form one
// unbroken chain of parents up to a level-1 section without a parent. Checking
// only the level just above would let a path be completed with the ancestors of
// another book (format a verse of one book, then another book, then a verse of the
// first book again): with the chain check a completed path is always the path that
// walking the parents builds.
#pragma once

#include <array>
#include <vector>

#include "platform/cstring.h"

class cPathCache {
 public:
  static constexpr int kLevels = 20;

  // Remembers a section seen at `level`; levels outside 1 ... 20 are not cached.
  void Remember(int level, int key, int parentKey, const CString& name);

  // For a section at `level` whose parent is `parentKey`: when the cache holds
  // that parent and its whole chain of ancestors, appends their names to `names`,
  // innermost first, and returns true; otherwise returns false and leaves `names`
  // as it was. Raises CMemoryException* when `names` cannot grow.
  bool CompleteAbove(int level, int parentKey, std::vector<CString>& names) const;

 private:
  struct Level {
    bool used = false;  // an unused level never matches a key
    int key = -1;
    int parentKey = -1;
    CString name;
  };
  std::array<Level, kLevels> m_levels;
};
