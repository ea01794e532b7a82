#include "CorvaneTags.h"

BEGIN_MESSAGE_MAP(CCorvaneTagsApp, COrvoWinApp)
END_MESSAGE_MAP()

// Start-up loads the language resource DLL; without the one of language 1033 the DLL does
// not start.
BOOL CCorvaneTagsApp::InitInstance() {
  return COrvoWinApp::InitInstance(false);
}

int CCorvaneTagsApp::ExitInstance() {
  return COrvoWinApp::ExitInstance();
}

CCorvaneTagsApp theApp;

// The COM exports. The DLL serves no class yet: nothing is registered and every request for a
// class object is refused.
STDAPI DllGetClassObject(REFCLSID, REFIID, void**) {
  return CLASS_E_CLASSNOTAVAILABLE;
}

STDAPI DllCanUnloadNow() {
  return S_OK;
}

STDAPI DllRegisterServer() {
  return S_OK;
}

STDAPI DllUnregisterServer() {
  return S_OK;
}
