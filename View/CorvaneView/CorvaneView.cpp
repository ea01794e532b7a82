#include "CorvaneView.h"

BEGIN_MESSAGE_MAP(CCorvaneViewApp, COrvoWinApp)
END_MESSAGE_MAP()

// Start-up loads the language resource DLL; without the one of language 1033 the DLL does
// not start. The help-file manager is not used.
BOOL CCorvaneViewApp::InitInstance() {
  return COrvoWinApp::InitInstance(false);
}

int CCorvaneViewApp::ExitInstance() {
  return COrvoWinApp::ExitInstance();
}

CCorvaneViewApp theApp;
