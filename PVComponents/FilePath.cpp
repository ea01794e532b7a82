#include "FilePath.h"

#include <comdef.h>
#include <shlobj.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <vector>

IMPLEMENT_DYNAMIC(CFilePath, CObject)

namespace {

_COM_SMARTPTR_TYPEDEF(IShellFolder, __uuidof(IShellFolder));
_COM_SMARTPTR_TYPEDEF(IMalloc, __uuidof(IMalloc));

constexpr DWORD kPathBufferSize = MAX_PATH + 1;
constexpr LCTYPE kAbbreviatedLanguageName = LOCALE_SABBREVLANGNAME | LOCALE_NOUSEROVERRIDE;
constexpr int kAbbreviationBufferSize = 4;

// The platform's calling convention: a call through a pointer without it corrupts the stack
// on i686.
typedef DWORD(WINAPI* PFN_GETLONGPATHNAMEW)(LPCWSTR, LPWSTR, DWORD);

DWORD WINAPI ProbeGetLongPathName(LPCWSTR shortPath, LPWSTR longPath, DWORD size);
PFN_GETLONGPATHNAMEW g_getLongPathName = ProbeGetLongPathName;

// Long names through the shell: parse the full path into an item list on the desktop folder
// and read its path back.
DWORD WINAPI EmulatedGetLongPathName(LPCWSTR shortPath, LPWSTR longPath, DWORD size) {
  if (GetFileAttributesW(shortPath) == INVALID_FILE_ATTRIBUTES) return 0;
  wchar_t fullPath[MAX_PATH];
  const DWORD fullLength = GetFullPathNameW(shortPath, MAX_PATH, fullPath, nullptr);
  if (fullLength == 0) return 0;
  if (fullLength > MAX_PATH - 1) {
    SetLastError(ERROR_BUFFER_OVERFLOW);
    return 0;
  }
  IShellFolderPtr desktop;
  if (FAILED(SHGetDesktopFolder(&desktop)) || !desktop) return fullLength;
  LPITEMIDLIST itemList = nullptr;
  ULONG eaten = 0;
  const HRESULT parsed = desktop->ParseDisplayName(nullptr, nullptr, fullPath, &eaten, &itemList, nullptr);
  DWORD result = 0;
  if (FAILED(parsed)) {
    SetLastError(HRESULT_FACILITY(parsed) == FACILITY_WIN32 ? HRESULT_CODE(parsed) : ERROR_INVALID_DATA);
  } else {
    wchar_t found[MAX_PATH] = L"";
    if (!SHGetPathFromIDListW(itemList, found)) {
      if (found[0]) SetLastError(ERROR_INVALID_DATA);
    } else {
      const DWORD length = static_cast<DWORD>(wcslen(found));
      if (size < length + 1) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        result = length + 1;
      } else {
        lstrcpynW(longPath, found, static_cast<int>(size));
        result = length;
      }
    }
  }
  IMallocPtr allocator;
  if (itemList && SUCCEEDED(SHGetMalloc(&allocator)) && allocator) allocator->Free(itemList);
  return result;
}

// First use: take the platform's function when it is there and works; otherwise switch to the
// emulation for good.
DWORD WINAPI ProbeGetLongPathName(LPCWSTR shortPath, LPWSTR longPath, DWORD size) {
  HMODULE kernel = GetModuleHandleW(L"KERNEL32");
  auto platform = kernel ? reinterpret_cast<PFN_GETLONGPATHNAMEW>(
                               reinterpret_cast<void (*)()>(GetProcAddress(kernel, "GetLongPathNameW")))
                         : nullptr;
  if (platform) {
    const DWORD result = platform(shortPath, longPath, size);
    if (result != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) {
      g_getLongPathName = platform;
      return result;
    }
  }
  g_getLongPathName = EmulatedGetLongPathName;
  return EmulatedGetLongPathName(shortPath, longPath, size);
}

int LastBackslash(const CString& path) {
  return path.ReverseFind(L'\\');
}

}  // namespace

DWORD PVGetLongPathName(const wchar_t* shortPath, wchar_t* longPath, DWORD size) {
  return g_getLongPathName(shortPath, longPath, size);
}

CFilePath::CFilePath(const wchar_t* path) : m_path(path) {}

CFilePath::CFilePath(const CFilePath& other) : CObject(), m_path(other.m_path) {}

CFilePath::CFilePath(HMODULE module) {
  wchar_t buffer[kPathBufferSize];
  if (GetModuleFileNameW(module, buffer, kPathBufferSize) == 0) return;
  if (PVGetLongPathName(buffer, buffer, kPathBufferSize) == 0) return;
  m_path = buffer;
}

CFilePath& CFilePath::operator=(const CFilePath& other) {
  if (this != &other) m_path = other.m_path;
  return *this;
}

CFilePath& CFilePath::operator=(const wchar_t* path) {
  if (path != static_cast<const wchar_t*>(m_path)) m_path = path;
  return *this;
}

bool CFilePath::operator==(const CFilePath& other) const {
  return m_path.CompareNoCase(other.m_path) == 0;
}

bool CFilePath::operator==(const wchar_t* path) const {
  return m_path.CompareNoCase(path ? path : L"") == 0;
}

bool CFilePath::Exists() const {
  return Exists(m_path);
}

bool CFilePath::Exists(const wchar_t* path) {
  return path && *path && PathFileExistsW(path);
}

bool CFilePath::IsDirectory() const {
  return Exists() && PathIsDirectoryW(m_path);
}

bool CFilePath::IsFile() const {
  return Exists() && !PathIsDirectoryW(m_path);
}

CString CFilePath::GetDirectory() const {
  const int slash = LastBackslash(m_path);
  return slash < 0 ? CString() : m_path.Left(slash);
}

CString CFilePath::GetFileName(bool withExtension) const {
  const CString name = m_path.Mid(LastBackslash(m_path) + 1);
  const int dot = name.ReverseFind(L'.');
  if (dot < 0) return name;
  CString result = name.Left(dot);
  const CString extension = name.Mid(dot + 1);
  if (withExtension && !extension.IsEmpty()) result += L"." + extension;
  return result;
}

CString CFilePath::GetExtension() const {
  const int dot = m_path.ReverseFind(L'.');
  return dot < 0 ? CString() : m_path.Mid(dot + 1);
}

bool CFilePath::Append(const wchar_t* more) {
  wchar_t buffer[kPathBufferSize];
  lstrcpynW(buffer, m_path, kPathBufferSize);
  if (!PathAppendW(buffer, more)) return false;
  m_path = buffer;
  return true;
}

bool CFilePath::CreateDirectories() const {
  return CreateDirectories(m_path);
}

// Every prefix up to a component boundary that is not yet a directory is created, the whole
// path last.
bool CFilePath::CreateDirectories(const wchar_t* path) {
  if (!path || !*path) return false;
  const wchar_t* next = path;
  while (next && *next) {
    next = PathFindNextComponentW(next);
    if (!next) break;
    const CString prefix(path, static_cast<int>(next - path));
    if (prefix.IsEmpty()) continue;
    if (!PathIsDirectoryW(prefix) && !CreateDirectoryW(prefix, nullptr)) return false;
  }
  return true;
}

bool CFilePath::Delete() const {
  if (m_path.IsEmpty()) return false;
  std::vector<wchar_t> source(static_cast<size_t>(m_path.GetLength()) + 2, L'\0');
  wmemcpy(source.data(), m_path, static_cast<size_t>(m_path.GetLength()));
  SHFILEOPSTRUCTW operation{};
  operation.hwnd = nullptr;
  operation.wFunc = FO_DELETE;
  operation.pFrom = source.data();
  operation.pTo = nullptr;
  operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
  operation.lpszProgressTitle = L"";
  return SHFileOperationW(&operation) == 0;
}

bool CFilePath::IsValid() const {
  return IsValid(m_path);
}

bool CFilePath::IsValid(const wchar_t* path) {
  if (!path) return false;
  const std::wstring_view text(path);
  if (text.find_first_of(L"/*?\"<>|") != std::wstring_view::npos) return false;
  const size_t colon = text.find(L':');
  if (colon == std::wstring_view::npos) return true;
  return colon == 1 && text.find(L':', colon + 1) == std::wstring_view::npos;
}

CString GetLanguageAbbreviation(LCID lcid) {
  wchar_t abbreviation[kAbbreviationBufferSize] = L"";
  if (GetLocaleInfoW(lcid, kAbbreviatedLanguageName, abbreviation, kAbbreviationBufferSize) == 0)
    return CString();
  return CString(abbreviation);
}

CString GetLanguageFileName(HINSTANCE module, LCID lcid, const wchar_t* extension) {
  const CFilePath modulePath(module);
  return modulePath.GetDirectory() + L"\\" + modulePath.GetFileName(false) + GetLanguageAbbreviation(lcid) +
         L"." + extension;
}
