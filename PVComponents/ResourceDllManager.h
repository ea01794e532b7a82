// The language resource DLL of the module: named after the module and the language, loaded
// from the module's directory and made the source of every resource lookup.
#pragma once

#include <afxwin.h>

class CResourceDllManager : public CObject {
  DECLARE_DYNAMIC(CResourceDllManager)

 public:
  CResourceDllManager();
  ~CResourceDllManager() override;
  CResourceDllManager(const CResourceDllManager&) = delete;
  CResourceDllManager& operator=(const CResourceDllManager&) = delete;

  // "<module directory>\<module base name><abbreviation>.dll".
  CString GetResourceDllName(LCID lcid) const;
  bool ResourceDllExists(LCID lcid) const;
  bool IsLoaded() const;
  // Loads the language's DLL and makes it current; the previous one is freed only after the
  // new one loaded. False leaves everything as it was.
  bool SetLanguage(LCID lcid);
  // Makes the module the resource source again and frees the loaded DLL, unless the loaded
  // DLL is the module itself.
  bool FreeResourceDll();

  LCID GetLanguage() const { return m_language; }
  HINSTANCE GetModuleInstance() const { return m_moduleInstance; }
  HINSTANCE GetLoadedDll() const { return m_loadedDll; }

 private:
  LCID m_language = 0;
  HINSTANCE m_moduleInstance = nullptr;
  HINSTANCE m_loadedDll = nullptr;
};

// The process-wide manager, created on first use with language 1033 current when its file
// exists; deleted when the DLL unloads.
CResourceDllManager* GetResourceDllManager();
HRESULT InitResourceDllManager();
