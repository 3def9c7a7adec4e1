// cMediaFile: the shared book store's use counter for a book's media directory. It
// opens no file; a book object holds it open while it asks for a media file.
#pragma once

#include "platform/object.h"

class cMediaFile : public CObject {
 public:
  // Adds a use; cannot fail, returns 0.
  int Open() {
    ++m_nRefCount;
    return 0;
  }
  // Gives a use back and returns the remaining uses.
  int Close() { return --m_nRefCount; }
  int GetRefCount() const { return m_nRefCount; }

 private:
  int m_nRefCount = 0;
};
