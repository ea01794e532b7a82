#include "ResourceDllManager.h"

#include <memory>

#include "FilePath.h"

IMPLEMENT_DYNAMIC(CResourceDllManager, CObject)

namespace {

constexpr LCID kDefaultLanguage = 1033;

// Created on first use, deleted with the DLL's static objects at unload.
std::unique_ptr<CResourceDllManager> g_manager;

}  // namespace

CResourceDllManager::CResourceDllManager() : m_moduleInstance(AfxGetInstanceHandle()) {}

CResourceDllManager::~CResourceDllManager() {
  if (m_loadedDll && m_loadedDll != m_moduleInstance) {
    AfxSetResourceHandle(m_moduleInstance);
    FreeLibrary(m_loadedDll);
  }
}

CString CResourceDllManager::GetResourceDllName(LCID lcid) const {
  return GetLanguageFileName(m_moduleInstance, lcid, L"dll");
}

bool CResourceDllManager::ResourceDllExists(LCID lcid) const {
  return CFilePath::Exists(GetResourceDllName(lcid));
}

bool CResourceDllManager::IsLoaded() const {
  return m_moduleInstance && m_loadedDll;
}

bool CResourceDllManager::SetLanguage(LCID lcid) {
  if (lcid == m_language) return true;
  const CString name = GetResourceDllName(lcid);
  if (!CFilePath::Exists(name)) return false;
  HINSTANCE loaded = LoadLibraryW(name);
  if (!loaded) return false;
  FreeResourceDll();
  AfxSetResourceHandle(loaded);
  m_language = lcid;
  m_loadedDll = loaded;
  return true;
}

// The freed handle is forgotten, so that a later call or the destructor does not free it again.
bool CResourceDllManager::FreeResourceDll() {
  if (!m_loadedDll || m_loadedDll == m_moduleInstance) return false;
  AfxSetResourceHandle(m_moduleInstance);
  FreeLibrary(m_loadedDll);
  m_loadedDll = nullptr;
  return true;
}

CResourceDllManager* GetResourceDllManager() {
  if (!g_manager) {
    g_manager = std::make_unique<CResourceDllManager>();
    g_manager->SetLanguage(kDefaultLanguage);
  }
  return g_manager.get();
}

HRESULT InitResourceDllManager() {
  CResourceDllManager* manager = GetResourceDllManager();
  return manager && manager->GetModuleInstance() && manager->GetLoadedDll() ? S_OK : E_FAIL;
}
