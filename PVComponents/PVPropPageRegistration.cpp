#include "PVPropPageRegistration.h"

#include <afxwin.h>
#include <comdef.h>

#include <new>

#include "PVModuleLock.h"
#include "PVRegistry.h"

namespace {

// Process-wide state of this DLL. The list is built during static construction and only read
// afterwards.
CPVPropPageRegData* g_listHead = nullptr;
LONG g_useCount = 0;
BOOL g_registrationEnabled = TRUE;
wchar_t* g_modulePath = nullptr;

constexpr DWORD kModulePathSize = MAX_PATH;
constexpr wchar_t kClsidKey[] = L"CLSID";
constexpr wchar_t kInProcServerKey[] = L"InProcServer32";

wchar_t* CopyText(const wchar_t* text) {
  const size_t length = wcslen(text);
  wchar_t* copy = new wchar_t[length + 1];
  wmemcpy(copy, text, length + 1);
  return copy;
}

void FreeList() {
  for (CPVPropPageRegData* entry = g_listHead; entry;) {
    CPVPropPageRegData* next = entry->m_pNext;
    delete entry;
    entry = next;
  }
  delete[] g_modulePath;
  g_modulePath = nullptr;
}

bool FillModulePath() {
  if (g_modulePath) return true;
  g_modulePath = new (std::nothrow) wchar_t[kModulePathSize];
  if (!g_modulePath) return false;
  g_modulePath[0] = L'\0';
  GetModuleFileNameW(AfxGetInstanceHandle(), g_modulePath, kModulePathSize);
  return true;
}

// Writes "CLSID\{...}" with the page name and its "InProcServer32" subkey with the module
// path. Every key opened here is closed again, whatever fails.
LONG RegisterEntry(const CPVPropPageRegData& entry) {
  wchar_t keyName[sizeof(kClsidKey) / sizeof(wchar_t) + 64];
  if (_snwprintf(keyName, sizeof(keyName) / sizeof(wchar_t), L"%s\\%s", kClsidKey, entry.m_pszClsid) < 0)
    return ERROR_INVALID_PARAMETER;
  HKEY clsidKey = nullptr;
  LONG result = PVRegCreateKey(keyName, &clsidKey);
  if (result != ERROR_SUCCESS) return result;
  result = PVRegSetStringValue(clsidKey, nullptr, entry.m_pszPageName);
  HKEY serverKey = nullptr;
  if (result == ERROR_SUCCESS) result = PVRegCreateKey(clsidKey, kInProcServerKey, &serverKey);
  const LONG closeClsid = PVRegCloseKey(clsidKey);
  if (result != ERROR_SUCCESS) return result;
  if (closeClsid != ERROR_SUCCESS) {
    PVRegCloseKey(serverKey);
    return closeClsid;
  }
  result = PVRegSetStringValue(serverKey, nullptr, g_modulePath);
  const LONG closeServer = PVRegCloseKey(serverKey);
  return result != ERROR_SUCCESS ? result : closeServer;
}

// Whether the page key "CLSID\{...}" under clsidKey names this module as its in-process
// server: its "InProcServer32" default value is the module path, compared without regard to
// letter case as the platform compares paths. A key that is absent, has no server or names
// another module does not; that is no failure. Any other registry failure while reading the
// server is returned, since the key's owner is then unknown.
LONG NamesThisModule(HKEY clsidKey, const wchar_t* clsidText, bool* names) {
  *names = false;
  wchar_t keyName[64 + sizeof(kInProcServerKey) / sizeof(wchar_t)];
  if (_snwprintf(keyName, sizeof(keyName) / sizeof(wchar_t), L"%s\\%s", clsidText, kInProcServerKey) < 0)
    return ERROR_SUCCESS;
  HKEY serverKey = nullptr;
  LONG result = PVRegOpenKeyForRead(clsidKey, keyName, &serverKey);
  if (result == ERROR_FILE_NOT_FOUND) return ERROR_SUCCESS;
  if (result != ERROR_SUCCESS) return result;
  wchar_t server[kModulePathSize] = {};
  DWORD size = sizeof(server) - sizeof(wchar_t);
  result = PVRegQueryDefaultValue(serverKey, server, &size);
  const LONG closed = PVRegCloseKey(serverKey);
  // No default value, or one longer than any path of this module: another server.
  if (result == ERROR_FILE_NOT_FOUND || result == ERROR_MORE_DATA) return closed;
  if (result != ERROR_SUCCESS) return result;
  *names = _wcsicmp(server, g_modulePath) == 0;
  return closed;
}

}  // namespace

CPVPropPageRegData::CPVPropPageRegData(PFN_PVMATCHCLSID match, PFN_PVCREATEFACTORY createFactory,
                                       const wchar_t* pageName, const wchar_t* clsidText)
    : m_pszClsid(nullptr),
      m_pszPageName(nullptr),
      m_pfnMatch(match),
      m_pfnCreateFactory(createFactory),
      m_pNext(nullptr) {
  m_pszClsid = CopyText(clsidText);
  try {
    m_pszPageName = CopyText(pageName);
  } catch (...) {
    delete[] m_pszClsid;
    throw;
  }
}

CPVPropPageRegData::~CPVPropPageRegData() {
  delete[] m_pszClsid;
  delete[] m_pszPageName;
}

CPVPropPageRegistration::CPVPropPageRegistration(PFN_PVMATCHCLSID match, PFN_PVCREATEFACTORY createFactory,
                                                 const wchar_t* pageName, const wchar_t* clsidText) {
  ++g_useCount;
  if (!g_registrationEnabled) return;
  CPVPropPageRegData* entry = nullptr;
  try {
    entry = AfxNew<CPVPropPageRegData>(match, createFactory, pageName, clsidText);
  } catch (CMemoryException* e) {
    e->Delete();
    g_registrationEnabled = FALSE;
    return;
  } catch (const std::bad_alloc&) {
    g_registrationEnabled = FALSE;
    return;
  }
  entry->m_pNext = g_listHead;
  g_listHead = entry;
}

CPVPropPageRegistration::CPVPropPageRegistration() {
  ++g_useCount;
}

CPVPropPageRegistration::~CPVPropPageRegistration() {
  // The list head is not reset: the last use ends only when the DLL's statics go.
  if (g_useCount-- == 1) FreeList();
}

BOOL CPVPropPageRegistration::IsRegisteredClsid(REFCLSID clsid) {
  for (const CPVPropPageRegData* entry = g_listHead; entry; entry = entry->m_pNext)
    if (entry->m_pfnMatch(clsid)) return 1;
  return 0;
}

HRESULT CPVPropPageRegistration::GetClassObject(REFCLSID clsid, IClassFactory** factory) {
  *factory = nullptr;
  for (const CPVPropPageRegData* entry = g_listHead; entry; entry = entry->m_pNext)
    if (entry->m_pfnMatch(clsid)) return entry->m_pfnCreateFactory(clsid, factory);
  return CLASS_E_CLASSNOTAVAILABLE;
}

HRESULT CPVPropPageRegistration::RegisterServer() {
  if (!g_registrationEnabled || g_useCount == 0) return E_FAIL;
  if (!FillModulePath()) return E_FAIL;
  for (const CPVPropPageRegData* entry = g_listHead; entry; entry = entry->m_pNext) {
    if (RegisterEntry(*entry) != ERROR_SUCCESS) {
      g_registrationEnabled = FALSE;
      return E_FAIL;
    }
  }
  return g_registrationEnabled ? S_OK : E_FAIL;
}

// A page key is deleted only while it names this module: another view DLL that registered the
// same CLSID later (the system page, which both view DLLs serve) keeps its registration, and
// skipping it is no failure. Nothing else is reconciled.
HRESULT CPVPropPageRegistration::UnregisterServer() {
  if (!g_registrationEnabled || g_useCount == 0) return E_FAIL;
  if (!FillModulePath()) return E_FAIL;
  for (const CPVPropPageRegData* entry = g_listHead; entry; entry = entry->m_pNext) {
    HKEY clsidKey = nullptr;
    if (PVRegOpenKeyForRead(kClsidKey, &clsidKey) != ERROR_SUCCESS) {
      g_registrationEnabled = FALSE;
      return E_FAIL;
    }
    // A key that names another module is skipped: no failure, nothing deleted.
    bool ours = false;
    if (NamesThisModule(clsidKey, entry->m_pszClsid, &ours) != ERROR_SUCCESS) {
      PVRegCloseKey(clsidKey);
      g_registrationEnabled = FALSE;
      return E_FAIL;
    }
    if (!ours) {
      if (PVRegCloseKey(clsidKey) != ERROR_SUCCESS) {
        g_registrationEnabled = FALSE;
        return E_FAIL;
      }
      continue;
    }
    // Fails while "InProcServer32" exists; the recursive delete then takes the subkey first. A
    // key that both calls find absent was never registered, which is no failure; any other
    // failure leaves keys behind and stops the walk like every registry failure.
    const LONG deleted = RegDeleteKeyW(clsidKey, entry->m_pszClsid);
    if (deleted != ERROR_SUCCESS) {
      const LONG result = PVRegDeleteKeyRecursive(clsidKey, entry->m_pszClsid);
      const bool absent = deleted == ERROR_FILE_NOT_FOUND && result == ERROR_FILE_NOT_FOUND;
      if (result != ERROR_SUCCESS && !absent) {
        PVRegCloseKey(clsidKey);
        g_registrationEnabled = FALSE;
        return E_FAIL;
      }
    }
    if (PVRegCloseKey(clsidKey) != ERROR_SUCCESS) {
      g_registrationEnabled = FALSE;
      return E_FAIL;
    }
  }
  return g_registrationEnabled ? S_OK : E_FAIL;
}

HRESULT CPVPropPageRegistration::CanUnloadNow() {
  return PVIsModuleLocked() ? S_FALSE : S_OK;
}

HRESULT PVDllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CPVPropPageRegistration use;
  if (!CPVPropPageRegistration::IsRegisteredClsid(clsid)) return CLASS_E_CLASSNOTAVAILABLE;
  if (!object) return E_POINTER;
  IClassFactory* factory = nullptr;
  const HRESULT hr = CPVPropPageRegistration::GetClassObject(clsid, &factory);
  if (FAILED(hr)) return hr;
  if (!factory) return E_OUTOFMEMORY;
  // The factory answers for the interface asked for (IUnknown or IClassFactory); for any
  // other the query fails, its result is returned and the factory goes again, so a caller
  // never calls through a table it did not ask for.
  const IClassFactoryPtr held(factory);
  return held->QueryInterface(iid, object);
}

HRESULT PVDllCanUnloadNow() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CPVPropPageRegistration use;
  return CPVPropPageRegistration::CanUnloadNow();
}

HRESULT PVDllRegisterServer() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CPVPropPageRegistration use;
  return CPVPropPageRegistration::RegisterServer();
}

HRESULT PVDllUnregisterServer() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CPVPropPageRegistration use;
  return CPVPropPageRegistration::UnregisterServer();
}
