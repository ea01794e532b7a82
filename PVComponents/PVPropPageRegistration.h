// The process-wide list of the DLL's page classes, behind the four COM exports of a view DLL
// (with the module lock count, PVModuleLock.h).
#pragma once

#include <windows.h>

// Nonzero when the page class has the CLSID.
typedef BOOL (*PFN_PVMATCHCLSID)(REFCLSID clsid);
// Creates the page class's factory; sets *factory (null on failure).
typedef HRESULT (*PFN_PVCREATEFACTORY)(REFCLSID clsid, IClassFactory** factory);

// One entry of the registration list: owned copies of the CLSID text and the page name.
class CPVPropPageRegData {
 public:
  CPVPropPageRegData(PFN_PVMATCHCLSID match, PFN_PVCREATEFACTORY createFactory, const wchar_t* pageName,
                     const wchar_t* clsidText);
  virtual ~CPVPropPageRegData();
  CPVPropPageRegData(const CPVPropPageRegData&) = delete;
  CPVPropPageRegData& operator=(const CPVPropPageRegData&) = delete;

  wchar_t* m_pszClsid;
  wchar_t* m_pszPageName;
  PFN_PVMATCHCLSID m_pfnMatch;
  PFN_PVCREATEFACTORY m_pfnCreateFactory;
  CPVPropPageRegData* m_pNext;
};

// A page class announces itself with one static registering object; each DLL export holds a
// counting object for its duration, so that the list lives while anything uses it.
class CPVPropPageRegistration {
 public:
  CPVPropPageRegistration(PFN_PVMATCHCLSID match, PFN_PVCREATEFACTORY createFactory, const wchar_t* pageName,
                          const wchar_t* clsidText);
  CPVPropPageRegistration();
  virtual ~CPVPropPageRegistration();
  CPVPropPageRegistration(const CPVPropPageRegistration&) = delete;
  CPVPropPageRegistration& operator=(const CPVPropPageRegistration&) = delete;

  static BOOL IsRegisteredClsid(REFCLSID clsid);
  static HRESULT GetClassObject(REFCLSID clsid, IClassFactory** factory);
  static HRESULT RegisterServer();
  static HRESULT UnregisterServer();
  static HRESULT CanUnloadNow();
};

// The bodies of the four COM exports of a view DLL (PVDllExports.cpp defines the exports).
HRESULT PVDllGetClassObject(REFCLSID clsid, REFIID iid, void** object);
HRESULT PVDllCanUnloadNow();
HRESULT PVDllRegisterServer();
HRESULT PVDllUnregisterServer();
