#include <platform/testing_registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <map>
#include <set>
#include <vector>

namespace platform::registry {
namespace {

// The keys under which a server's registration adds keys of its own.
constexpr const wchar_t* kContainers[] = {L"AppID", L"CLSID", L"Interface", L"TypeLib"};

struct LessIgnoringCase {
  bool operator()(const std::wstring& a, const std::wstring& b) const {
    return _wcsicmp(a.c_str(), b.c_str()) < 0;
  }
};
using Names = std::set<std::wstring, LessIgnoringCase>;

std::vector<std::wstring> SubkeysOf(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = static_cast<DWORD>(std::size(name));
    if (RegEnumKeyExW(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  std::sort(names.begin(), names.end(), LessIgnoringCase());
  return names;
}

std::vector<std::wstring> SubkeysOf(HKEY root, const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return {};
  std::vector<std::wstring> names = SubkeysOf(key);
  RegCloseKey(key);
  return names;
}

// The container's name as the servers' scripts spell it (null for another key): names compare
// without regard to case, and the platform's own key may have been created in another case
// ("Typelib").
const wchar_t* ContainerNamed(const std::wstring& name) {
  for (const wchar_t* container : kContainers)
    if (_wcsicmp(container, name.c_str()) == 0) return container;
  return nullptr;
}

bool IsContainer(const std::wstring& name) {
  return ContainerNamed(name) != nullptr;
}

// What the classes root held when the tests first looked at this registry: its own keys, and
// those of each container. It is kept in the registry itself (beside the classes, under the
// user's key), so that a later test program on the same registry starts from the same point
// and not from what an earlier one left.
struct Baseline {
  Names top;
  std::map<std::wstring, Names, LessIgnoringCase> inContainer;
};

constexpr wchar_t kBaselineKey[] = L"Software\\CorvaneProfilesTests\\ClassesAtStart";

std::wstring JoinedNames(const std::vector<std::wstring>& names) {
  std::wstring joined;
  for (const std::wstring& name : names) joined += name + L'\0';
  return joined + L'\0';
}

Names SplitNames(const std::wstring& joined) {
  Names names;
  for (size_t start = 0; start < joined.size();) {
    const size_t end = joined.find(L'\0', start);
    if (end == start || end == std::wstring::npos) break;
    names.insert(joined.substr(start, end - start));
    start = end + 1;
  }
  return names;
}

// The names of the listed key, recorded under the baseline key's value named for it.
Names RecordedOrTaken(HKEY baseline, bool recorded, const wchar_t* valueName, const std::wstring& path) {
  if (recorded) {
    DWORD size = 0;
    if (RegQueryValueExW(baseline, valueName, nullptr, nullptr, nullptr, &size) == ERROR_SUCCESS) {
      std::wstring joined(size / sizeof(wchar_t), L'\0');
      RegQueryValueExW(baseline, valueName, nullptr, nullptr, reinterpret_cast<BYTE*>(joined.data()), &size);
      return SplitNames(joined);
    }
  }
  const std::vector<std::wstring> names =
      path.empty() ? SubkeysOf(HKEY_CLASSES_ROOT) : SubkeysOf(HKEY_CLASSES_ROOT, path);
  const std::wstring joined = JoinedNames(names);
  RegSetValueExW(baseline, valueName, 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(joined.data()),
                 static_cast<DWORD>(joined.size() * sizeof(wchar_t)));
  return Names(names.begin(), names.end());
}

const Baseline& StartingPoint() {
  static const Baseline baseline = [] {
    Baseline taken;
    HKEY key = nullptr;
    DWORD disposition = 0;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kBaselineKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key,
                        &disposition) != ERROR_SUCCESS) {
      ADD_FAILURE() << "cannot keep the classes root's starting point under HKEY_CURRENT_USER";
      return taken;
    }
    const bool recorded = disposition == REG_OPENED_EXISTING_KEY;
    taken.top = RecordedOrTaken(key, recorded, L"", L"");
    for (const wchar_t* container : kContainers)
      taken.inContainer[container] = RecordedOrTaken(key, recorded, container, container);
    RegCloseKey(key);
    return taken;
  }();
  return baseline;
}

// The paths (under the classes root) of the keys added since the starting point, in order.
std::vector<std::wstring> AddedKeys() {
  const Baseline& baseline = StartingPoint();
  std::vector<std::wstring> added;
  for (const std::wstring& name : SubkeysOf(HKEY_CLASSES_ROOT)) {
    if (baseline.top.count(name) == 0) {
      added.push_back(name);
      continue;
    }
    if (!IsContainer(name)) continue;
    const auto known = baseline.inContainer.find(name);
    for (const std::wstring& child : SubkeysOf(HKEY_CLASSES_ROOT, name))
      if (known == baseline.inContainer.end() || known->second.count(child) == 0)
        added.push_back(name + L"\\" + child);
  }
  return added;
}

void AppendQuoted(std::wstring& out, const wchar_t* text, size_t units) {
  out += L'"';
  for (size_t i = 0; i < units; ++i) {
    const wchar_t c = text[i];
    switch (c) {
      case L'\\':
        out += L"\\\\";
        break;
      case L'"':
        out += L"\\\"";
        break;
      case 0:
        out += L"\\0";
        break;
      case L'\n':
        out += L"\\n";
        break;
      case L'\r':
        out += L"\\r";
        break;
      case L'\t':
        out += L"\\t";
        break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          out += c;
        } else {
          wchar_t escaped[16];
          std::swprintf(escaped, std::size(escaped), L"\\u{%x}", static_cast<unsigned>(c));
          out += escaped;
        }
    }
  }
  out += L'"';
}

void AppendValue(std::wstring& out, DWORD type, const std::vector<BYTE>& data) {
  static const std::pair<DWORD, const wchar_t*> kTypes[] = {
      {REG_NONE, L"REG_NONE"},     {REG_SZ, L"REG_SZ"},       {REG_EXPAND_SZ, L"REG_EXPAND_SZ"},
      {REG_BINARY, L"REG_BINARY"}, {REG_DWORD, L"REG_DWORD"}, {REG_MULTI_SZ, L"REG_MULTI_SZ"},
      {REG_QWORD, L"REG_QWORD"}};
  const wchar_t* typeName = nullptr;
  for (const auto& [code, name] : kTypes)
    if (code == type) typeName = name;
  out += typeName ? std::wstring(typeName) : L"type " + std::to_wstring(type);
  out += L' ';
  const bool text = type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
  if (text && data.size() % sizeof(WCHAR) == 0) {
    AppendQuoted(out, reinterpret_cast<const wchar_t*>(data.data()), data.size() / sizeof(WCHAR));
  } else if (type == REG_DWORD && data.size() == sizeof(DWORD)) {
    wchar_t number[16];
    std::swprintf(number, std::size(number), L"0x%08X", *reinterpret_cast<const DWORD*>(data.data()));
    out += number;
  } else {
    out += L"hex:";
    for (BYTE b : data) {
      wchar_t pair[4];
      std::swprintf(pair, std::size(pair), L"%02x", b);
      out += pair;
    }
  }
}

void DumpValues(std::wstring& out, HKEY key, const std::wstring& indent) {
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD nameLength = static_cast<DWORD>(std::size(name));
    DWORD type = 0, size = 0;
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size);
    nameLength = static_cast<DWORD>(std::size(name));
    if (RegEnumValueW(key, i, name, &nameLength, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    data.resize(size);
    out += indent + L"  " + (nameLength == 0 ? std::wstring(L"@") : std::wstring(name, nameLength)) + L" = ";
    AppendValue(out, type, data);
    out += L'\n';
  }
}

void DumpKey(std::wstring& out, HKEY parent, const std::wstring& name, int depth) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, name.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  const std::wstring indent(static_cast<size_t>(depth) * 2, L' ');
  out += indent + name + L'\n';
  DumpValues(out, key, indent);
  for (const std::wstring& child : SubkeysOf(key)) DumpKey(out, key, child, depth + 1);
  RegCloseKey(key);
}

void FailNotOnPlatform(const char* hook) {
  ADD_FAILURE() << "platform::registry::" << hook
                << ": the platform's registry has no fault injection; this test runs on the stand-in only";
}

}  // namespace

void Reset() {
  for (const std::wstring& path : AddedKeys()) {
    const LONG result = RegDeleteTreeW(HKEY_CLASSES_ROOT, path.c_str());
    if (result != ERROR_SUCCESS)
      ADD_FAILURE() << "platform::registry::Reset: cannot delete a key the tests added (error " << result
                    << ")";
  }
}

std::wstring Dump() {
  std::wstring out = L"HKEY_CLASSES_ROOT\n";
  std::wstring container;
  for (const std::wstring& path : AddedKeys()) {
    const size_t split = path.find(L'\\');
    if (split == std::wstring::npos) {
      DumpKey(out, HKEY_CLASSES_ROOT, path, 1);
      continue;
    }
    const std::wstring parent = path.substr(0, split);
    if (_wcsicmp(parent.c_str(), container.c_str()) != 0) {
      container = parent;
      out += L"  " + std::wstring(ContainerNamed(parent)) + L'\n';
    }
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, parent.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) continue;
    DumpKey(out, key, path.substr(split + 1), 2);
    RegCloseKey(key);
  }
  return out + L"HKEY_CURRENT_USER\nHKEY_LOCAL_MACHINE\n";
}

void SetFaultHook(std::function<LONG(std::wstring_view)> hook) {
  if (hook) FailNotOnPlatform("SetFaultHook");
}
void FailNthCall(std::wstring_view, int, LONG) {
  FailNotOnPlatform("FailNthCall");
}
void ClearFaults() {}

}  // namespace platform::registry
