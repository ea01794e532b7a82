#include "FluxorView.h"

BEGIN_MESSAGE_MAP(CFluxorViewApp, COrvoWinApp)
END_MESSAGE_MAP()

// Start-up loads the language resource DLL; without the one of language 1033 the DLL does
// not start. The help-file manager is not used.
BOOL CFluxorViewApp::InitInstance() {
  return COrvoWinApp::InitInstance(false);
}

int CFluxorViewApp::ExitInstance() {
  return COrvoWinApp::ExitInstance();
}

CFluxorViewApp theApp;
