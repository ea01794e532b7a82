// The current application's wait cursor for the life of the object (nothing without an
// application object), around a host call that may take a while.
#pragma once

#include <afxwin.h>

class CAppWaitCursor {
 public:
  CAppWaitCursor() : m_pApp(AfxGetApp()) {
    if (m_pApp) m_pApp->BeginWaitCursor();
  }
  ~CAppWaitCursor() {
    if (m_pApp) m_pApp->EndWaitCursor();
  }
  CAppWaitCursor(const CAppWaitCursor&) = delete;
  CAppWaitCursor& operator=(const CAppWaitCursor&) = delete;

 private:
  CWinApp* m_pApp;
};
