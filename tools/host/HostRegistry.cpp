#include "HostRegistry.h"

#include <cwctype>
#include <vector>

namespace hostcli {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

std::wstring DefaultValue(HKEY parent, const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  std::vector<wchar_t> text(256);
  LONG error;
  DWORD size;
  do {
    size = static_cast<DWORD>(text.size() * sizeof(wchar_t));
    error = RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text.data()), &size);
    // ERROR_MORE_DATA gives the size needed; the value may still grow before the next call.
    if (error == ERROR_MORE_DATA) text.resize(size / sizeof(wchar_t) + 1);
  } while (error == ERROR_MORE_DATA);
  RegCloseKey(key);
  if (error != ERROR_SUCCESS) return L"";
  // The stored size decides where the text ends (a value may be stored without its
  // terminator), and so does a terminator inside it.
  std::wstring value(text.data(), size / sizeof(wchar_t));
  if (const size_t end = value.find(L'\0'); end != std::wstring::npos) value.resize(end);
  return value;
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
