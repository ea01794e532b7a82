// The application's compiled help file, kept in step with the language.
#pragma once

#include <afxwin.h>

class CHelpFileManager : public CObject {
  DECLARE_DYNAMIC(CHelpFileManager)

 public:
  CHelpFileManager();
  ~CHelpFileManager() override = default;
  CHelpFileManager(const CHelpFileManager&) = delete;
  CHelpFileManager& operator=(const CHelpFileManager&) = delete;

  // "<module directory>\<module base name><abbreviation>.chm".
  CString GetHelpFileName(LCID lcid) const;
  bool HelpFileExists(LCID lcid) const;
  // The application's help path names an existing file and is this language's help file.
  bool IsHelpFileCurrent() const;
  bool SetLanguage(LCID lcid);
  // Replaces the application's help path with a heap copy of path.
  bool SetAppHelpFilePath(const wchar_t* path);

  LCID GetLanguage() const { return m_language; }

 private:
  LCID m_language = 0;
};

CHelpFileManager* GetHelpFileManager();
HRESULT InitHelpFileManager();
