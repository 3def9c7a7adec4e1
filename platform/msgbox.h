// AfxMessageBox: the framework's modal notice, replaced by a handler so that a
// library never blocks its host. The default handler writes the text and a newline
// to standard error and answers IDOK.
#pragma once

#include "platform/types.h"

enum : int { IDOK = 1, IDCANCEL = 2 };
enum : UINT { MB_OK = 0 };

using AFX_MSGBOX_HANDLER = int (*)(const char* text, UINT type, UINT help);

// Installs `handler` (null restores the default) and returns the one it replaces.
AFX_MSGBOX_HANDLER AfxSetMessageBoxHandler(AFX_MSGBOX_HANDLER handler);

// Passes the notice to the current handler and returns its answer.
int AfxMessageBox(const char* text, UINT type = MB_OK, UINT help = 0);
