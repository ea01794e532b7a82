// The shell's special folders and file operations, and the desktop-folder calls that have
// nothing behind them here.
#include <cstdlib>
#include <filesystem>
#include <malloc.h>
#include <map>
#include <mutex>
#include <unistd.h>

#include "../internal/paths.h"
#include "platform/testing_shell.h"
#include "shellapi.h"
#include "shlobj.h"
#include "winbase.h"

namespace {

struct KnownFolder {
  int csidl;
  const char* defaultName;  // below the host's temporary directory
};
constexpr KnownFolder kKnownFolders[] = {
    {CSIDL_PROGRAM_FILES, "Program Files"},
    {CSIDL_APPDATA, "AppData/Roaming"},
    {CSIDL_LOCAL_APPDATA, "AppData/Local"},
    {CSIDL_COMMON_APPDATA, "ProgramData"},
};

struct Folders {
  std::mutex mutex;
  std::map<int, std::wstring> set;  // by CSIDL, platform form
};

Folders& TheFolders() {
  static Folders* folders = new Folders;
  return *folders;
}

const KnownFolder* FindFolder(int csidl) {
  for (const auto& folder : kKnownFolders)
    if (folder.csidl == csidl) return &folder;
  return nullptr;
}

// "<temp>/platform-shell-<uid>/<name>", created on first use. Returns an empty text when it
// cannot be created.
std::wstring DefaultFolder(const KnownFolder& folder) {
  std::error_code ec;
  std::filesystem::path base = std::filesystem::temp_directory_path(ec);
  if (ec) base = "/tmp";
  const std::filesystem::path path =
      base / ("platform-shell-" + std::to_string(::getuid())) / folder.defaultName;
  std::filesystem::create_directories(path, ec);
  if (ec || !std::filesystem::is_directory(path, ec)) return std::wstring();
  return platform::PlatformPathFromHost(path.string());
}

// Deletion refuses roots: "Z:\", a drive, an empty name, or whatever maps to the host's "/".
bool IsRoot(std::wstring_view path) {
  std::string host = platform::HostPathFromPlatform(path);
  while (host.size() > 1 && host.back() == '/') host.pop_back();
  if (host.empty() || host == "/" || host == "." || host == "..") return true;
  std::error_code ec;
  const auto canonical = std::filesystem::weakly_canonical(host, ec);
  return !ec && canonical == canonical.root_path();
}

// The shell's allocator on the C heap.
class ShellAllocator final : public IMalloc {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!ppv) return E_POINTER;
    if (riid == IID_IUnknown || riid == __uuidof(IMalloc)) {
      *ppv = static_cast<IMalloc*>(this);
      return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }  // process-wide: never freed
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP_(void*) Alloc(SIZE_T cb) override { return std::malloc(cb ? cb : 1); }
  STDMETHODIMP_(void*) Realloc(void* pv, SIZE_T cb) override {
    if (pv && cb == 0) {
      std::free(pv);
      return nullptr;
    }
    return std::realloc(pv, cb ? cb : 1);
  }
  STDMETHODIMP_(void) Free(void* pv) override { std::free(pv); }
  STDMETHODIMP_(SIZE_T) GetSize(void* pv) override {
    return pv ? static_cast<SIZE_T>(malloc_usable_size(pv)) : static_cast<SIZE_T>(-1);
  }
  STDMETHODIMP_(int) DidAlloc(void* pv) override { return pv ? -1 : 0; }  // -1: cannot tell
  STDMETHODIMP_(void) HeapMinimize() override {}
};

}  // namespace

namespace platform::shell {

void SetFolderPath(int csidl, std::wstring path) {
  Folders& folders = TheFolders();
  std::lock_guard lock(folders.mutex);
  if (path.empty())
    folders.set.erase(csidl);
  else
    folders.set[csidl] = std::move(path);
}

void ResetFolderPaths() {
  Folders& folders = TheFolders();
  std::lock_guard lock(folders.mutex);
  folders.set.clear();
}

}  // namespace platform::shell

EXTERN_C HRESULT WINAPI SHGetFolderPathW(HWND, int nFolder, HANDLE, DWORD, LPWSTR pszPath) {
  if (!pszPath) return E_INVALIDARG;
  *pszPath = L'\0';
  const int csidl = nFolder & ~CSIDL_FLAG_MASK;
  const KnownFolder* folder = FindFolder(csidl);
  if (!folder) return E_INVALIDARG;
  std::wstring path;
  {
    Folders& folders = TheFolders();
    std::lock_guard lock(folders.mutex);
    auto it = folders.set.find(csidl);
    if (it != folders.set.end()) path = it->second;
  }
  if (path.empty()) path = DefaultFolder(*folder);
  while (path.size() > 3 && path.back() == L'\\') path.pop_back();
  if (path.empty() || path.size() + 1 > MAX_PATH) return E_FAIL;
  std::wmemcpy(pszPath, path.c_str(), path.size() + 1);
  return S_OK;
}

EXTERN_C int WINAPI SHFileOperationW(LPSHFILEOPSTRUCTW lpFileOp) {
  if (!lpFileOp) return ERROR_INVALID_PARAMETER;
  lpFileOp->fAnyOperationsAborted = FALSE;
  if (lpFileOp->wFunc != FO_DELETE) return ERROR_CALL_NOT_IMPLEMENTED;
  if (!lpFileOp->pFrom || !*lpFileOp->pFrom) return ERROR_INVALID_PARAMETER;
  for (const wchar_t* entry = lpFileOp->pFrom; *entry; entry += std::wcslen(entry) + 1) {
    if (IsRoot(entry)) return ERROR_ACCESS_DENIED;
    const std::string host = platform::HostPathFromPlatform(entry);
    std::error_code ec;
    if (!std::filesystem::exists(std::filesystem::symlink_status(host, ec))) return ERROR_FILE_NOT_FOUND;
    std::filesystem::remove_all(host, ec);
    if (ec) return ERROR_ACCESS_DENIED;
  }
  return 0;
}

EXTERN_C HRESULT WINAPI SHGetDesktopFolder(IShellFolder** ppshf) {
  if (!ppshf) return E_POINTER;
  *ppshf = nullptr;
  return E_NOTIMPL;
}

EXTERN_C BOOL WINAPI SHGetPathFromIDListW(PCIDLIST_ABSOLUTE, LPWSTR pszPath) {
  if (pszPath) *pszPath = L'\0';
  return FALSE;
}

EXTERN_C HRESULT WINAPI SHGetMalloc(IMalloc** ppMalloc) {
  if (!ppMalloc) return E_INVALIDARG;
  static ShellAllocator allocator;
  *ppMalloc = &allocator;
  allocator.AddRef();
  return S_OK;
}
