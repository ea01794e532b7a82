// The framework's application class: a DLL's start-up loads its language resource DLL and,
// optionally, keeps the compiled help file in step with the language.
#pragma once

#include <afxwin.h>

#include "FilePath.h"  // GetLanguageAbbreviation and GetLanguageFileName

class COrvoWinApp : public CWinApp {
  DECLARE_DYNAMIC(COrvoWinApp)

 public:
  COrvoWinApp();
  COrvoWinApp(const COrvoWinApp&) = delete;
  COrvoWinApp& operator=(const COrvoWinApp&) = delete;

  int ExitInstance() override;
  using CWinApp::InitInstance;
  // Start-up: the resource-DLL manager (the DLL fails to start without the resource DLL of
  // language 1033) and, with the flag, the help-file manager.
  virtual BOOL InitInstance(bool useHelpFileManager);

  LCID GetLanguage() const;
  bool LanguageFilesExist(LCID lcid) const;
  bool IsLanguageConsistent() const;
  bool SetLanguage(LCID lcid);

 protected:
  bool m_useHelpFileManager = false;

  DECLARE_MESSAGE_MAP()
};

// The current module's application object when it is a COrvoWinApp, else null.
COrvoWinApp* GetOrvoWinApp();

// SHGetFolderPathW from "shfolder.dll", loaded for the call.
HRESULT GetFolderPath(HWND window, int csidl, HANDLE token, DWORD flags, CString* path);

// The help file of a language named relative to the program-files folder: the folder, one
// backslash, the relative path without its leading backslashes, the abbreviation, ".chm".
// Empty when the folder cannot be had.
CString GetHelpFilePathInProgramFiles(const wchar_t* relativePath, LCID lcid);

// Help contexts from resource ids: the id plus the class library's help-id base.
DWORD HelpIdFromCommand(DWORD id);
DWORD HelpIdFromResource(DWORD id);
DWORD HelpIdFromControl(DWORD id);
DWORD HelpIdFromPrompt(DWORD id);
DWORD HelpIdFromDialog(DWORD id);
