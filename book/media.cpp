#include "orvada/book_base.h"
#include "platform/exceptions.h"
#include "platform/winapi.h"

BOOL cORVABookBase::IsMediaAvailable(const char* name, CString& path) {
  // Every failure, a framework exception included, answers "not available". An
  // exception after the open leaves the media bit open in this object.
  try {
    if (Open(ORVA_MEDIA) != 0) return FALSE;
    if (IsLocal(ORVA_MEDIA)) {
      path = m_strMediaPath + name;
      Close(ORVA_MEDIA);
      return TRUE;
    }
    char tempDir[260];
    const DWORD length = GetTempPathA(sizeof tempDir, tempDir);
    if (length == 0 || length >= sizeof tempDir) {
      Close(ORVA_MEDIA);
      return FALSE;
    }
    const CString target = CString(tempDir) + name;
    if (CopyRemoteFile(target, name, 1) != 0) {
      Close(ORVA_MEDIA);
      return FALSE;
    }
    Close(ORVA_MEDIA);
    path = target;
    return TRUE;
  } catch (CException* e) {
    e->Delete();
    return FALSE;
  }
}
