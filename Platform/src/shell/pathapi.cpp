// The shell's path helpers.
#include <cwchar>
#include <string>

#include "../kernel/pathtext.h"
#include "shlwapi.h"

EXTERN_C BOOL WINAPI PathFileExistsW(LPCWSTR pszPath) {
  return pszPath && GetFileAttributesW(pszPath) != INVALID_FILE_ATTRIBUTES;
}

EXTERN_C BOOL WINAPI PathIsDirectoryW(LPCWSTR pszPath) {
  if (!pszPath) return FALSE;
  const DWORD attributes = GetFileAttributesW(pszPath);
  if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY)) return FALSE;
  return static_cast<BOOL>(FILE_ATTRIBUTE_DIRECTORY);
}

EXTERN_C BOOL WINAPI PathAppendW(LPWSTR pszPath, LPCWSTR pszMore) {
  if (!pszPath || !pszMore) return FALSE;
  std::wstring_view more(pszMore);
  std::wstring joined;
  if (more.size() >= 2 && more[1] == L':') {
    joined = more;  // a path with a drive stands on its own
  } else {
    while (!more.empty() && more.front() == L'\\') more.remove_prefix(1);
    joined = pszPath;
    if (!joined.empty() && !more.empty() && joined.back() != L'\\') joined += L'\\';
    joined += more;
  }
  const std::wstring result = platform::kernel::CollapseDots(joined);
  if (result.size() + 1 > MAX_PATH) return FALSE;
  std::wmemcpy(pszPath, result.c_str(), result.size() + 1);
  return TRUE;
}

EXTERN_C LPWSTR WINAPI PathFindNextComponentW(LPCWSTR pszPath) {
  if (!pszPath || !*pszPath) return nullptr;
  const wchar_t* slash = std::wcschr(pszPath, L'\\');
  if (!slash) return const_cast<LPWSTR>(pszPath + std::wcslen(pszPath));
  ++slash;
  if (*slash == L'\\') ++slash;
  return const_cast<LPWSTR>(slash);
}

EXTERN_C LPWSTR WINAPI PathFindFileNameW(LPCWSTR pszPath) {
  if (!pszPath) return nullptr;
  const wchar_t* name = pszPath;
  for (const wchar_t* p = pszPath; *p; ++p) {
    if ((*p == L'\\' || *p == L':' || *p == L'/') && p[1] && p[1] != L'\\' && p[1] != L'/') name = p + 1;
  }
  return const_cast<LPWSTR>(name);
}

EXTERN_C BOOL WINAPI PathRemoveFileSpecW(LPWSTR pszPath) {
  if (!pszPath || !*pszPath) return FALSE;
  const std::wstring_view path(pszPath);
  const size_t root = platform::kernel::RootLength(path);
  const size_t slash = path.rfind(L'\\');
  size_t cut;
  if (slash == std::wstring_view::npos || slash < root) {
    cut = root;  // "a" -> "", "Z:a" -> "Z:"
  } else if (slash + 1 == root) {
    cut = root;  // the root's own backslash stays: "Z:\a" -> "Z:\", "\a" -> "\"
  } else {
    cut = slash;
  }
  if (cut >= path.size()) return FALSE;
  pszPath[cut] = L'\0';
  return TRUE;
}
