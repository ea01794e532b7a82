#include "HostRegistry.h"

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <cwctype>
#include <vector>

namespace hostcli {

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

namespace {

// A text value's characters: the stored size decides where the text ends (a value may be
// stored without its terminator), and so does a terminator inside it.
std::wstring StoredText(const std::vector<BYTE>& data) {
  std::wstring text(data.size() / sizeof(wchar_t), L'\0');
  std::memcpy(text.data(), data.data(), text.size() * sizeof(wchar_t));
  if (const size_t end = text.find(L'\0'); end != std::wstring::npos) text.resize(end);
  return text;
}

std::wstring Hex(unsigned long long value, int digits) {
  wchar_t text[24];
  std::swprintf(text, 24, L"0x%0*llX", digits, value);
  return text;
}

// A value that is no single text, named by its type with its data.
std::wstring DescribedValue(DWORD type, const std::vector<BYTE>& data) {
  if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    DWORD value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return L"(REG_DWORD " + Hex(value, 8) + L")";
  }
  if (type == REG_QWORD && data.size() == sizeof(ULONGLONG)) {
    ULONGLONG value = 0;
    std::memcpy(&value, data.data(), sizeof value);
    return L"(REG_QWORD " + Hex(value, 16) + L")";
  }
  if (type == REG_MULTI_SZ) {
    std::wstring texts(data.size() / sizeof(wchar_t), L'\0');
    std::memcpy(texts.data(), data.data(), texts.size() * sizeof(wchar_t));
    std::wstring shown = L"(REG_MULTI_SZ";
    for (size_t at = 0; at < texts.size() && texts[at] != L'\0';) {
      const size_t end = std::min(texts.find(L'\0', at), texts.size());
      shown += L" \"" + texts.substr(at, end - at) + L"\"";
      at = end + 1;
    }
    return shown + L")";
  }
  const wchar_t* name = type == REG_NONE     ? L"REG_NONE"
                        : type == REG_BINARY ? L"REG_BINARY"
                        : type == REG_DWORD  ? L"REG_DWORD"
                        : type == REG_QWORD  ? L"REG_QWORD"
                                             : nullptr;
  std::wstring shown = name ? std::wstring(L"(") + name : L"(type " + std::to_wstring(type);
  shown += L", " + std::to_wstring(data.size()) + (data.size() == 1 ? L" byte" : L" bytes");
  return shown + L")";
}

}  // namespace

std::wstring DefaultValue(HKEY parent, const std::wstring& subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  std::vector<BYTE> data(256 * sizeof(wchar_t));
  LONG error;
  DWORD type = REG_NONE;
  DWORD size;
  do {
    size = static_cast<DWORD>(data.size());
    error = RegQueryValueExW(key, nullptr, nullptr, &type, data.data(), &size);
    // ERROR_MORE_DATA gives the size needed; the value may still grow before the next call.
    if (error == ERROR_MORE_DATA) data.resize(size + sizeof(wchar_t));
  } while (error == ERROR_MORE_DATA);
  RegCloseKey(key);
  if (error != ERROR_SUCCESS) return L"";
  data.resize(size);
  return type == REG_SZ || type == REG_EXPAND_SZ ? StoredText(data) : DescribedValue(type, data);
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
