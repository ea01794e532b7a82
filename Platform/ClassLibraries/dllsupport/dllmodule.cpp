// The per-DLL part of the class library: each product DLL links its own copy, so that its
// module state, its entry point and its attach hook are its own.
#include <afxwin.h>

namespace {
// Constant-initialized, so that application objects constructed during the DLL's static
// construction can register here whatever the order of construction.
constinit AFX_MODULE_STATE g_dllModuleState{};
}  // namespace

AFX_DLLMAIN_HOOK afxDllMainHook = nullptr;

AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState() {
  return &g_dllModuleState;
}

EXTERN_C BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved) {
  return AfxDllMain(&g_dllModuleState, hInstance, dwReason, lpReserved, afxDllMainHook);
}
