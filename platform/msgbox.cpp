#include "platform/msgbox.h"

#include <cstdio>

namespace {

int WriteToStandardError(const char* text, UINT /*type*/, UINT /*help*/) {
  std::fprintf(stderr, "%s\n", text ? text : "");
  return IDOK;
}

AFX_MSGBOX_HANDLER g_handler = WriteToStandardError;

}  // namespace

AFX_MSGBOX_HANDLER AfxSetMessageBoxHandler(AFX_MSGBOX_HANDLER handler) {
  AFX_MSGBOX_HANDLER previous = g_handler;
  g_handler = handler ? handler : WriteToStandardError;
  return previous;
}

int AfxMessageBox(const char* text, UINT type, UINT help) { return g_handler(text, type, help); }
