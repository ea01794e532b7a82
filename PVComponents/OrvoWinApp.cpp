#include "OrvoWinApp.h"

#include <shlobj.h>

#include "FilePath.h"
#include "HelpFileManager.h"
#include "ResourceDllManager.h"

IMPLEMENT_DYNAMIC(COrvoWinApp, CWinApp)

BEGIN_MESSAGE_MAP(COrvoWinApp, CWinApp)
END_MESSAGE_MAP()

namespace {
constexpr int kFolderPathBufferSize = MAX_PATH + 1;

// The platform's calling convention, as for every function taken from GetProcAddress.
typedef HRESULT(WINAPI* PFN_SHGETFOLDERPATHW)(HWND, int, HANDLE, DWORD, LPWSTR);
}  // namespace

COrvoWinApp::COrvoWinApp() : CWinApp(nullptr) {
  EnableHtmlHelp();
}

int COrvoWinApp::ExitInstance() {
  return CWinApp::ExitInstance();
}

BOOL COrvoWinApp::InitInstance(bool useHelpFileManager) {
  if (!CWinApp::InitInstance()) return FALSE;
  if (FAILED(InitResourceDllManager())) return FALSE;
  if (useHelpFileManager && FAILED(InitHelpFileManager())) return FALSE;
  m_useHelpFileManager = useHelpFileManager;
  return TRUE;
}

LCID COrvoWinApp::GetLanguage() const {
  CResourceDllManager* manager = GetResourceDllManager();
  return manager ? manager->GetLanguage() : 0;
}

bool COrvoWinApp::LanguageFilesExist(LCID lcid) const {
  CResourceDllManager* manager = GetResourceDllManager();
  if (!manager) return false;
  if (!m_useHelpFileManager) return manager->ResourceDllExists(lcid);
  CHelpFileManager* help = GetHelpFileManager();
  return help && manager->ResourceDllExists(lcid) && help->HelpFileExists(lcid);
}

bool COrvoWinApp::IsLanguageConsistent() const {
  if (!m_useHelpFileManager) return true;
  CResourceDllManager* manager = GetResourceDllManager();
  CHelpFileManager* help = GetHelpFileManager();
  return manager && help && manager->GetLanguage() == help->GetLanguage();
}

bool COrvoWinApp::SetLanguage(LCID lcid) {
  CResourceDllManager* manager = GetResourceDllManager();
  if (!manager) return false;
  const bool switched = manager->SetLanguage(lcid);
  if (switched && m_useHelpFileManager) {
    if (CHelpFileManager* help = GetHelpFileManager()) return help->SetLanguage(lcid);
  }
  return switched;
}

COrvoWinApp* GetOrvoWinApp() {
  return DYNAMIC_DOWNCAST(COrvoWinApp, AfxGetApp());
}

HRESULT GetFolderPath(HWND window, int csidl, HANDLE token, DWORD flags, CString* path) {
  if (!path) return E_INVALIDARG;
  HMODULE shellFolder = LoadLibraryW(L"shfolder.dll");
  if (!shellFolder) return E_FAIL;
  auto getFolderPath = reinterpret_cast<PFN_SHGETFOLDERPATHW>(
      reinterpret_cast<void (*)()>(GetProcAddress(shellFolder, "SHGetFolderPathW")));
  if (!getFolderPath) {
    FreeLibrary(shellFolder);
    return E_FAIL;
  }
  wchar_t buffer[kFolderPathBufferSize] = L"";
  const HRESULT hr = getFolderPath(window, csidl, token, flags, buffer);
  if (SUCCEEDED(hr)) *path = buffer;
  FreeLibrary(shellFolder);
  return hr;
}

CString GetHelpFilePathInProgramFiles(const wchar_t* relativePath, LCID lcid) {
  CString folder;
  if (FAILED(GetFolderPath(nullptr, CSIDL_PROGRAM_FILES, nullptr, 0, &folder))) return CString();
  CString relative(relativePath);
  relative.TrimLeft(L'\\');
  return folder + L"\\" + relative + GetLanguageAbbreviation(lcid) + L".chm";
}

DWORD HelpIdFromCommand(DWORD id) {
  return id + 0x10000;
}
DWORD HelpIdFromResource(DWORD id) {
  return id + 0x20000;
}
DWORD HelpIdFromControl(DWORD id) {
  return id + 0x50000;
}
DWORD HelpIdFromPrompt(DWORD id) {
  return id + 0x30000;
}
DWORD HelpIdFromDialog(DWORD id) {
  return id + 0x20000;
}
