#include "HelpFileManager.h"

#include <cstdlib>
#include <memory>

#include "FilePath.h"

IMPLEMENT_DYNAMIC(CHelpFileManager, CObject)

namespace {

constexpr LCID kDefaultLanguage = 1033;

std::unique_ptr<CHelpFileManager> g_manager;

// The application owns its help path as a heap string; it is replaced, never shared.
bool ReplaceAppHelpPath(const wchar_t* path) {
  CWinApp* app = AfxGetApp();
  if (!app || !path) return false;
  wchar_t* copy = _wcsdup(path);
  if (!copy) return false;
  free(const_cast<wchar_t*>(app->m_pszHelpFilePath));
  app->m_pszHelpFilePath = copy;
  return true;
}

}  // namespace

CHelpFileManager::CHelpFileManager() = default;

CString CHelpFileManager::GetHelpFileName(LCID lcid) const {
  return GetLanguageFileName(AfxGetInstanceHandle(), lcid, L"chm");
}

bool CHelpFileManager::HelpFileExists(LCID lcid) const {
  return CFilePath::Exists(GetHelpFileName(lcid));
}

bool CHelpFileManager::IsHelpFileCurrent() const {
  CWinApp* app = AfxGetApp();
  if (!app || !app->m_pszHelpFilePath) return false;
  return CFilePath::Exists(app->m_pszHelpFilePath) &&
         GetHelpFileName(m_language).CompareNoCase(app->m_pszHelpFilePath) == 0;
}

bool CHelpFileManager::SetLanguage(LCID lcid) {
  if (lcid == m_language) return true;
  const CString name = GetHelpFileName(lcid);
  if (!CFilePath::Exists(name)) return false;
  if (!AfxGetApp()) return false;
  if (!ReplaceAppHelpPath(name)) return false;
  m_language = lcid;
  return true;
}

bool CHelpFileManager::SetAppHelpFilePath(const wchar_t* path) {
  return ReplaceAppHelpPath(path);
}

CHelpFileManager* GetHelpFileManager() {
  if (!g_manager) {
    g_manager = std::make_unique<CHelpFileManager>();
    g_manager->SetLanguage(kDefaultLanguage);
  }
  return g_manager.get();
}

HRESULT InitHelpFileManager() {
  CHelpFileManager* manager = GetHelpFileManager();
  if (!manager || !AfxGetApp()) return E_FAIL;
  return manager->IsHelpFileCurrent() ? S_OK : E_FAIL;
}
