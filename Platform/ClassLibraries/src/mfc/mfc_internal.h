// Shared inside the class library's sources.
#pragma once

#include <afxwin.h>

namespace platform::mfc::detail {

// Records one message box call and returns the answer a test set.
int RecordMessageBox(const CString& text, UINT nIDPrompt, UINT nType, UINT nIDHelp);

}  // namespace platform::mfc::detail
