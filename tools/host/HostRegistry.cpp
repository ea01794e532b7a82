#include "HostRegistry.h"

#include <cwctype>

namespace hostcli {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring DefaultValue(HKEY parent, const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  DWORD type = 0;
  DWORD size = 0;
  std::wstring text;
  if (RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size) == ERROR_SUCCESS && type == REG_SZ) {
    std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
    DWORD bytes = static_cast<DWORD>((buffer.size() - 1) * sizeof(wchar_t));
    if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(buffer.data()), &bytes) ==
        ERROR_SUCCESS)
      text.assign(buffer.data(), wcsnlen(buffer.data(), bytes / sizeof(wchar_t)));
  }
  RegCloseKey(key);
  return text;
}

std::vector<RegisteredClass> RegisteredClasses() {
  std::vector<RegisteredClass> classes;
  HKEY clsids = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &clsids) != ERROR_SUCCESS) return classes;
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD size = 256;
    const LONG status = RegEnumKeyExW(clsids, index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;  // a key name no CLSID has
    if (status != ERROR_SUCCESS) break;
    RegisteredClass registered{name, DefaultValue(clsids, name),
                               DefaultValue(clsids, std::wstring(name) + L"\\InProcServer32")};
    if (!registered.server.empty()) classes.push_back(std::move(registered));
  }
  RegCloseKey(clsids);
  return classes;
}

std::wstring FileNameOf(const std::wstring& platformPath) {
  const size_t slash = platformPath.find_last_of(L"\\/");
  return slash == std::wstring::npos ? platformPath : platformPath.substr(slash + 1);
}

}  // namespace hostcli
