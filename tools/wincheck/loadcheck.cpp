// loadcheck DLL EXPORT...: loads the DLL with LoadLibraryW as a host would, checks that it
// exports each named function, and frees it again. Exit code 0 when every step succeeded;
// each failure is printed with the platform's error code.
#include <windows.h>

#include <cstdio>
#include <cwchar>

namespace {

int Check(const wchar_t* path, int exportCount, wchar_t** exports) {
  HMODULE module = LoadLibraryW(path);
  if (!module) {
    std::fwprintf(stderr, L"%ls: LoadLibraryW failed, error %lu\n", path, GetLastError());
    return 1;
  }
  int failures = 0;
  for (int i = 0; i < exportCount; ++i) {
    char name[256];
    if (!WideCharToMultiByte(CP_UTF8, 0, exports[i], -1, name, sizeof name, nullptr, nullptr) ||
        !GetProcAddress(module, name)) {
      std::fwprintf(stderr, L"%ls: no export %ls\n", path, exports[i]);
      ++failures;
    }
  }
  if (!FreeLibrary(module)) {
    std::fwprintf(stderr, L"%ls: FreeLibrary failed, error %lu\n", path, GetLastError());
    ++failures;
  }
  if (failures == 0) std::fwprintf(stdout, L"%ls: loaded, %d exports found, freed\n", path, exportCount);
  return failures == 0 ? 0 : 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    std::fwprintf(stderr, L"usage: loadcheck DLL [EXPORT]...\n");
    return 2;
  }
  return Check(argv[1], argc - 2, argv + 2);
}
