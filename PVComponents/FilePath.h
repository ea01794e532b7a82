// One file-system path in the platform's form, with the few questions the framework asks of
// it: does it exist, what is its directory, what is its file name.
#pragma once

#include <afx.h>
#include <windows.h>

class CFilePath : public CObject {
  DECLARE_DYNAMIC(CFilePath)

 public:
  CFilePath() = default;
  CFilePath(const wchar_t* path);  // taken as it is
  CFilePath(const CFilePath& other);
  // The module's own file in its long form; empty when either step fails.
  explicit CFilePath(HMODULE module);
  ~CFilePath() override = default;

  CFilePath& operator=(const CFilePath& other);
  CFilePath& operator=(const wchar_t* path);

  // Paths compare without regard to case.
  bool operator==(const CFilePath& other) const;
  bool operator==(const wchar_t* path) const;
  bool operator!=(const CFilePath& other) const { return !(*this == other); }
  bool operator!=(const wchar_t* path) const { return !(*this == path); }

  const CString& GetPath() const { return m_path; }

  bool Exists() const;
  static bool Exists(const wchar_t* path);
  bool IsDirectory() const;
  bool IsFile() const;

  // Text before the last backslash; empty without one.
  CString GetDirectory() const;
  // Text after the last backslash up to the last '.'; with the flag, the extension too.
  CString GetFileName(bool withExtension) const;
  // Text after the last '.'; empty without one.
  CString GetExtension() const;

  bool Append(const wchar_t* more);
  bool CreateDirectories() const;
  static bool CreateDirectories(const wchar_t* path);
  bool Delete() const;
  bool IsValid() const;
  static bool IsValid(const wchar_t* path);

 private:
  CString m_path;
};

// The long form of a path: the platform's GetLongPathNameW, looked up in KERNEL32 at first
// use, or an emulation through the shell where the platform lacks it.
DWORD PVGetLongPathName(const wchar_t* shortPath, wchar_t* longPath, DWORD size);

// The platform's three-letter abbreviated language name ("ENU" for 1033); empty when the
// platform has none.
CString GetLanguageAbbreviation(LCID lcid);

// The module's language file: the module's directory (of its long path), a backslash, its
// file name without extension, the abbreviation, a full stop and the extension.
CString GetLanguageFileName(HINSTANCE module, LCID lcid, const wchar_t* extension);
