#include "CorvaneTags.h"

#include "Corvane300TagExt.h"
#include "resource.h"

// The DLL's ATL module: the object map's classes, the AppID script and the type library.
class CCorvaneTagsModule : public CAtlDllModuleT<CCorvaneTagsModule> {
 public:
  DECLARE_LIBID(LIBID_CorvaneTagsLib)
  DECLARE_REGISTRY_APPID_RESOURCEID(IDR_CORVANETAGS, "{872419B9-51EC-4FBE-A4EF-B0CD4BE95A04}")
};

CCorvaneTagsModule _AtlModule;

BEGIN_MESSAGE_MAP(CCorvaneTagsApp, COrvoWinApp)
END_MESSAGE_MAP()

// Start-up loads the language resource DLL (no help files); without the one of language 1033
// the DLL does not start.
BOOL CCorvaneTagsApp::InitInstance() {
  return COrvoWinApp::InitInstance(false);
}

int CCorvaneTagsApp::ExitInstance() {
  return COrvoWinApp::ExitInstance();
}

CCorvaneTagsApp theApp;

namespace {

// The ATL module's part of the entry point: it learns the DLL's handle at the attach and ends
// (cached class factories, type information) at the detach.
BOOL WINAPI AtlModuleDllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  if (dwReason == DLL_PROCESS_ATTACH) _AtlBaseModule.m_hInst = hInstance;
  return _AtlModule.DllMain(dwReason, lpReserved);
}

struct AtlModuleHookInstaller {
  AtlModuleHookInstaller() { afxDllMainHook = AtlModuleDllMain; }
} g_atlModuleHookInstaller;

}  // namespace

STDAPI DllCanUnloadNow() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return _AtlModule.DllCanUnloadNow();
}

STDAPI DllGetClassObject(REFCLSID rclsid, REFIID riid, void** ppv) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return _AtlModule.DllGetClassObject(rclsid, riid, ppv);
}

// The AppID script, the class's script and the type library.
STDAPI DllRegisterServer() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return _AtlModule.DllRegisterServer();
}

STDAPI DllUnregisterServer() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return _AtlModule.DllUnregisterServer();
}
