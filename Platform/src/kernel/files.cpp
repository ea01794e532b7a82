// Files and folders in the platform's path form, and the kernel's wide-string helpers.
#include <cerrno>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

#include "../internal/paths.h"
#include "fileapi.h"
#include "pathtext.h"

using platform::HostPathFromPlatform;
using platform::PlatformPathFromHost;
using platform::kernel::ErrorFromErrno;

namespace {

// Copies text to a caller's buffer by the kernel's size rule: the length without the
// terminator when it fits, else the size needed with the terminator (nothing written).
DWORD CopyOut(const std::wstring& text, LPWSTR buffer, DWORD size) {
  const DWORD needed = static_cast<DWORD>(text.size() + 1);
  if (!buffer || size < needed) return needed;
  std::wmemcpy(buffer, text.c_str(), needed);
  return needed - 1;
}

bool HostStat(LPCWSTR path, struct stat* info, DWORD* error) {
  if (!path || !*path) {
    *error = ERROR_INVALID_PARAMETER;
    return false;
  }
  if (::stat(HostPathFromPlatform(path).c_str(), info) != 0) {
    *error = ErrorFromErrno(errno, path);
    return false;
  }
  return true;
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

std::wstring CurrentDirectory() {
  std::error_code ec;
  const auto cwd = std::filesystem::current_path(ec);
  return ec ? std::wstring(L"Z:\\") : PlatformPathFromHost(cwd.string());
}

}  // namespace

EXTERN_C DWORD WINAPI GetFileAttributesW(LPCWSTR lpFileName) {
  struct stat info;
  DWORD error = 0;
  if (!HostStat(lpFileName, &info, &error)) {
    SetLastError(error);
    return INVALID_FILE_ATTRIBUTES;
  }
  return S_ISDIR(info.st_mode) ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
}

EXTERN_C DWORD WINAPI GetFullPathNameW(LPCWSTR lpFileName, DWORD nBufferLength, LPWSTR lpBuffer,
                                       LPWSTR* lpFilePart) {
  if (!lpFileName) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  if (!*lpFileName) {
    SetLastError(ERROR_INVALID_NAME);
    return 0;
  }
  std::wstring path = platform::kernel::WithBackslashes(lpFileName);
  const std::wstring cwd = CurrentDirectory();
  const size_t root = platform::kernel::RootLength(path);
  if (root == 2) {
    // "X:name": relative to the current directory when X is the current drive.
    if (towupper(static_cast<wint_t>(path[0])) == towupper(static_cast<wint_t>(cwd[0])))
      path = cwd + L"\\" + path.substr(2);
    else
      path.insert(2, L"\\");
  } else if (root == 1) {
    path = cwd.substr(0, 2) + path;
  } else if (root == 0) {
    path = cwd + L"\\" + path;
  }
  const std::wstring full = platform::kernel::CollapseDots(path);
  const DWORD result = CopyOut(full, lpBuffer, nBufferLength);
  if (lpFilePart && result == full.size()) {
    const size_t slash = full.rfind(L'\\');
    *lpFilePart = slash + 1 < full.size() ? lpBuffer + slash + 1 : nullptr;
  }
  return result;
}

EXTERN_C DWORD WINAPI GetLongPathNameW(LPCWSTR lpszShortPath, LPWSTR lpszLongPath, DWORD cchBuffer) {
  if (!lpszShortPath) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  struct stat info;
  DWORD error = 0;
  if (!HostStat(lpszShortPath, &info, &error)) {
    SetLastError(error);
    return 0;
  }
  const std::wstring path(lpszShortPath);  // the buffers may be the same
  return CopyOut(path, lpszLongPath, cchBuffer);
}

EXTERN_C DWORD WINAPI GetCurrentDirectoryW(DWORD nBufferLength, LPWSTR lpBuffer) {
  return CopyOut(CurrentDirectory(), lpBuffer, nBufferLength);
}

EXTERN_C BOOL WINAPI SetCurrentDirectoryW(LPCWSTR lpPathName) {
  struct stat info;
  DWORD error = 0;
  if (!HostStat(lpPathName, &info, &error)) return Fail(error);
  if (!S_ISDIR(info.st_mode)) return Fail(ERROR_DIRECTORY);
  if (::chdir(HostPathFromPlatform(lpPathName).c_str()) != 0) return Fail(ErrorFromErrno(errno, lpPathName));
  return TRUE;
}

EXTERN_C BOOL WINAPI CreateDirectoryW(LPCWSTR lpPathName, LPSECURITY_ATTRIBUTES) {
  if (!lpPathName || !*lpPathName) return Fail(ERROR_PATH_NOT_FOUND);
  if (::mkdir(HostPathFromPlatform(lpPathName).c_str(), 0777) != 0)
    return Fail(ErrorFromErrno(errno, lpPathName));
  return TRUE;
}

EXTERN_C BOOL WINAPI RemoveDirectoryW(LPCWSTR lpPathName) {
  struct stat info;
  DWORD error = 0;
  if (!HostStat(lpPathName, &info, &error)) return Fail(error);
  if (!S_ISDIR(info.st_mode)) return Fail(ERROR_DIRECTORY);
  if (::rmdir(HostPathFromPlatform(lpPathName).c_str()) != 0)
    return Fail(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : ErrorFromErrno(errno, lpPathName));
  return TRUE;
}

EXTERN_C BOOL WINAPI DeleteFileW(LPCWSTR lpFileName) {
  struct stat info;
  DWORD error = 0;
  if (!HostStat(lpFileName, &info, &error)) return Fail(error);
  if (S_ISDIR(info.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  if (::unlink(HostPathFromPlatform(lpFileName).c_str()) != 0) return Fail(ErrorFromErrno(errno, lpFileName));
  return TRUE;
}

// The copy goes to a temporary name beside the target and is then renamed over it, so that a
// shared object that a process has loaded from the target keeps its old contents.
EXTERN_C BOOL WINAPI CopyFileW(LPCWSTR lpExistingFileName, LPCWSTR lpNewFileName, BOOL bFailIfExists) {
  struct stat info;
  DWORD error = 0;
  if (!HostStat(lpExistingFileName, &info, &error)) return Fail(error);
  if (S_ISDIR(info.st_mode) || !lpNewFileName || !*lpNewFileName) return Fail(ERROR_ACCESS_DENIED);
  const std::string target = HostPathFromPlatform(lpNewFileName);
  struct stat existing;
  if (::stat(target.c_str(), &existing) == 0) {
    if (bFailIfExists) return Fail(ERROR_FILE_EXISTS);
    if (S_ISDIR(existing.st_mode)) return Fail(ERROR_ACCESS_DENIED);
  }
  const std::string temporary = target + ".copy-" + std::to_string(::getpid());
  std::error_code ec;
  std::filesystem::copy_file(HostPathFromPlatform(lpExistingFileName), temporary,
                             std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) {
    std::filesystem::remove(temporary, ec);
    return Fail(ErrorFromErrno(ENOENT, lpNewFileName) == ERROR_PATH_NOT_FOUND ? ERROR_PATH_NOT_FOUND
                                                                              : ERROR_ACCESS_DENIED);
  }
  std::filesystem::rename(temporary, target, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temporary, ignored);
    return Fail(ERROR_ACCESS_DENIED);
  }
  return TRUE;
}

EXTERN_C LPWSTR WINAPI lstrcpynW(LPWSTR lpString1, LPCWSTR lpString2, int iMaxLength) {
  if (!lpString1 || !lpString2 || iMaxLength <= 0) return nullptr;
  int i = 0;
  for (; i < iMaxLength - 1 && lpString2[i]; ++i) lpString1[i] = lpString2[i];
  lpString1[i] = L'\0';
  return lpString1;
}

EXTERN_C int WINAPI lstrlenW(LPCWSTR lpString) {
  return lpString ? static_cast<int>(std::wcslen(lpString)) : 0;
}
