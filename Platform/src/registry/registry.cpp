// The in-memory registry: one hive per process, keys held by shared pointers so that a handle
// keeps its key alive after someone else deletes it (calls through it then fail with
// ERROR_KEY_DELETED instead of touching freed memory).
#include "registry_hive.h"

#include <algorithm>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "../internal/unicode.h"
#include "platform/testing_registry.h"
#include "winreg.h"

namespace platform::registry {

namespace {

// The predefined keys, by the sign-extended 32-bit values of their handles.
struct Root {
  LONG handle;
  const wchar_t* name;
};
constexpr Root kRoots[] = {
    {static_cast<LONG>(0x80000000), L"HKEY_CLASSES_ROOT"},
    {static_cast<LONG>(0x80000001), L"HKEY_CURRENT_USER"},
    {static_cast<LONG>(0x80000002), L"HKEY_LOCAL_MACHINE"},
};

struct Handle {
  KeyPtr key;
  REGSAM access;
};

struct State {
  std::mutex mutex;
  std::vector<KeyPtr> roots;  // in the order of kRoots
  std::unordered_map<uintptr_t, Handle> handles;
  uintptr_t nextHandle = 0x1000;

  std::mutex faultMutex;
  std::function<LONG(std::wstring_view)> hook;
  struct Rule {
    std::wstring function;
    int remaining;
    LONG error;
  };
  std::vector<Rule> rules;

  State() { roots = NewRoots(); }
};

State& TheState() {
  static State* state = new State;  // never destroyed: handles may be closed from static destructors
  return *state;
}

// The failure-injection point at the start of every Reg* call.
LONG InjectedFault(std::wstring_view function) {
  State& s = TheState();
  std::function<LONG(std::wstring_view)> hook;
  {
    std::lock_guard lock(s.faultMutex);
    hook = s.hook;
  }
  if (hook) {
    if (LONG error = hook(function)) return error;
  }
  std::lock_guard lock(s.faultMutex);
  LONG result = ERROR_SUCCESS;
  for (auto it = s.rules.begin(); it != s.rules.end();) {
    if (!it->function.empty() && it->function != function) {
      ++it;
      continue;
    }
    if (--it->remaining == 0) {
      if (result == ERROR_SUCCESS) result = it->error;
      it = s.rules.erase(it);
    } else {
      ++it;
    }
  }
  return result;
}

bool IsPredefined(HKEY key, size_t* index = nullptr) {
  for (size_t i = 0; i < std::size(kRoots); ++i) {
    if (reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(kRoots[i].handle)) == key) {
      if (index) *index = i;
      return true;
    }
  }
  return false;
}

// Resolves a handle under the lock. Returns ERROR_SUCCESS, ERROR_INVALID_HANDLE or
// ERROR_KEY_DELETED.
LONG Resolve(State& s, HKEY hKey, KeyPtr* key, REGSAM* access) {
  size_t rootIndex = 0;
  if (IsPredefined(hKey, &rootIndex)) {
    *key = s.roots[rootIndex];
    if (access) *access = KEY_ALL_ACCESS;
    return ERROR_SUCCESS;
  }
  auto it = s.handles.find(reinterpret_cast<uintptr_t>(hKey));
  if (it == s.handles.end()) return ERROR_INVALID_HANDLE;
  if (it->second.key->deleted) return ERROR_KEY_DELETED;
  *key = it->second.key;
  if (access) *access = it->second.access;
  return ERROR_SUCCESS;
}

// Splits "A\B\C" into names. An empty path is no names; a leading, trailing-doubled or doubled
// backslash is a bad path (a single trailing backslash is tolerated).
bool SplitPath(const wchar_t* path, std::vector<std::wstring_view>* names) {
  names->clear();
  if (!path || !*path) return true;
  std::wstring_view rest(path);
  if (rest.back() == L'\\') rest.remove_suffix(1);
  while (true) {
    const size_t slash = rest.find(L'\\');
    std::wstring_view name = rest.substr(0, slash);
    if (name.empty()) return false;
    names->push_back(name);
    if (slash == std::wstring_view::npos) return true;
    rest.remove_prefix(slash + 1);
  }
}

HKEY NewHandle(State& s, KeyPtr key, REGSAM access) {
  const uintptr_t value = s.nextHandle;
  s.nextHandle += 4;
  s.handles.emplace(value, Handle{std::move(key), access});
  return reinterpret_cast<HKEY>(value);
}

LONG OpenOrCreate(HKEY hKey, LPCWSTR lpSubKey, REGSAM samDesired, PHKEY phkResult, LPDWORD lpdwDisposition,
                  bool create) {
  if (!phkResult) return ERROR_INVALID_PARAMETER;
  *phkResult = nullptr;
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  KeyPtr key;
  REGSAM access = 0;
  if (LONG error = Resolve(s, hKey, &key, &access)) return error;
  std::vector<std::wstring_view> names;
  if (!SplitPath(lpSubKey, &names)) return ERROR_BAD_PATHNAME;
  // Check first, so that a refused call creates nothing.
  size_t existing = 0;
  KeyPtr walk = key;
  for (; existing < names.size(); ++existing) {
    KeyPtr child = walk->FindChild(names[existing]);
    if (!child) break;
    walk = child;
  }
  if (existing < names.size()) {
    if (!create) return ERROR_FILE_NOT_FOUND;
    if (!(access & KEY_CREATE_SUB_KEY)) return ERROR_ACCESS_DENIED;
  }
  for (size_t i = existing; i < names.size(); ++i) walk = walk->AddChild(names[i]);
  if (lpdwDisposition)
    *lpdwDisposition = existing < names.size() ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
  *phkResult = NewHandle(s, walk, samDesired);
  return ERROR_SUCCESS;
}

// The common start of the calls that use one key: fault injection, lock, handle and rights.
class KeyCall {
 public:
  KeyCall(const wchar_t* function, HKEY hKey, REGSAM needed) : lock_(TheState().mutex, std::defer_lock) {
    if ((error_ = InjectedFault(function)) != ERROR_SUCCESS) return;
    lock_.lock();
    REGSAM access = 0;
    if ((error_ = Resolve(TheState(), hKey, &key_, &access)) != ERROR_SUCCESS) return;
    if ((access & needed) != needed) error_ = ERROR_ACCESS_DENIED;
  }
  LONG error() const { return error_; }
  Key& key() const { return *key_; }
  const KeyPtr& keyPtr() const { return key_; }

 private:
  std::unique_lock<std::mutex> lock_;
  KeyPtr key_;
  LONG error_ = ERROR_SUCCESS;
};

std::wstring_view ValueName(LPCWSTR name) {
  return name ? std::wstring_view(name) : std::wstring_view();
}

// Copies bytes to a caller's buffer by the registry's size rules.
LONG CopyData(const std::vector<BYTE>& data, LPBYTE lpData, LPDWORD lpcbData) {
  const DWORD size = static_cast<DWORD>(data.size());
  if (!lpData) {
    if (lpcbData) *lpcbData = size;
    return ERROR_SUCCESS;
  }
  const DWORD room = *lpcbData;
  *lpcbData = size;
  if (room < size) return ERROR_MORE_DATA;
  if (size) std::memcpy(lpData, data.data(), size);
  return ERROR_SUCCESS;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Key.

namespace {
std::wstring Folded(std::wstring_view name) {
  std::wstring folded(name);
  for (wchar_t& c : folded) c = FoldCase(c);
  return folded;
}
}  // namespace

const std::vector<KeyPtr>& Key::Children() const {
  if (!sorted_) {
    std::sort(children_.begin(), children_.end(),
              [](const KeyPtr& a, const KeyPtr& b) { return CompareNoCase(a->name, b->name) < 0; });
    sorted_ = true;
  }
  return children_;
}

KeyPtr Key::FindChild(std::wstring_view childName) const {
  auto it = byFoldedName_.find(Folded(childName));
  if (it == byFoldedName_.end()) return nullptr;
  return it->second;
}

KeyPtr Key::AddChild(std::wstring_view childName) {
  std::wstring folded = Folded(childName);
  if (auto it = byFoldedName_.find(folded); it != byFoldedName_.end()) return it->second;
  auto child = std::make_shared<Key>();
  child->name = childName;
  child->parent = this;
  if (sorted_ && !children_.empty() && CompareNoCase(children_.back()->name, childName) > 0) sorted_ = false;
  children_.push_back(child);
  byFoldedName_.emplace(std::move(folded), child);
  return child;
}

Value* Key::FindValue(std::wstring_view valueName) {
  for (auto& value : values)
    if (CompareNoCase(value.name, valueName) == 0) return &value;
  return nullptr;
}

void Key::SetValue(std::wstring_view valueName, DWORD type, std::vector<BYTE> data) {
  if (Value* value = FindValue(valueName)) {
    value->type = type;
    value->data = std::move(data);
    return;
  }
  values.push_back(Value{std::wstring(valueName), type, std::move(data)});
}

void Key::MarkDeleted() {
  deleted = true;
  parent = nullptr;
  RemoveChildren();
  values.clear();
}

void Key::RemoveChild(const Key* child) {
  auto found = byFoldedName_.find(Folded(child->name));
  if (found == byFoldedName_.end() || found->second.get() != child) return;
  byFoldedName_.erase(found);
  auto it =
      std::find_if(children_.begin(), children_.end(), [child](const KeyPtr& k) { return k.get() == child; });
  KeyPtr keep = *it;
  children_.erase(it);
  keep->MarkDeleted();
}

void Key::RemoveChildren() {
  for (auto& child : children_) child->MarkDeleted();
  children_.clear();
  byFoldedName_.clear();
  sorted_ = true;
}

std::vector<KeyPtr> NewRoots() {
  std::vector<KeyPtr> roots;
  for (const Root& root : kRoots) {
    auto key = std::make_shared<Key>();
    key->name = root.name;
    roots.push_back(std::move(key));
  }
  return roots;
}

namespace {
void CopyInto(const Key& from, Key& to) {
  to.values = from.values;
  for (const auto& child : from.Children()) CopyInto(*child, *to.AddChild(child->name));
}
}  // namespace

std::vector<KeyPtr> SnapshotRoots() {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  std::vector<KeyPtr> copy;
  for (const auto& root : s.roots) {
    auto rootCopy = std::make_shared<Key>();
    rootCopy->name = root->name;
    CopyInto(*root, *rootCopy);
    copy.push_back(std::move(rootCopy));
  }
  return copy;
}

void ReplaceRoots(std::vector<KeyPtr> roots) {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  for (auto& old : s.roots) old->MarkDeleted();
  s.roots = std::move(roots);
}

const wchar_t* RootName(size_t index) {
  return index < std::size(kRoots) ? kRoots[index].name : nullptr;
}
size_t RootCount() {
  return std::size(kRoots);
}

// ---------------------------------------------------------------------------------------------
// Hooks.

void Reset() {
  ReplaceRoots(NewRoots());
}

int OpenHandleCount() {
  State& s = TheState();
  std::lock_guard lock(s.mutex);
  return static_cast<int>(s.handles.size());
}

void CloseAllHandles() {
  State& s = TheState();
  std::unordered_map<uintptr_t, Handle> closing;  // their keys may go with them: freed outside the lock
  std::lock_guard lock(s.mutex);
  closing.swap(s.handles);
}

void SetFaultHook(std::function<LONG(std::wstring_view function)> hook) {
  State& s = TheState();
  std::lock_guard lock(s.faultMutex);
  s.hook = std::move(hook);
}

void FailNthCall(std::wstring_view function, int n, LONG error) {
  if (n < 1) return;
  State& s = TheState();
  std::lock_guard lock(s.faultMutex);
  s.rules.push_back(State::Rule{std::wstring(function), n, error});
}

void ClearFaults() {
  State& s = TheState();
  std::lock_guard lock(s.faultMutex);
  s.hook = nullptr;
  s.rules.clear();
}

}  // namespace platform::registry

using namespace platform::registry;

// ---------------------------------------------------------------------------------------------
// The platform's calls.

EXTERN_C LONG WINAPI RegCreateKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, LPWSTR, DWORD, REGSAM samDesired,
                                     const LPSECURITY_ATTRIBUTES, PHKEY phkResult, LPDWORD lpdwDisposition) {
  if (LONG error = InjectedFault(L"RegCreateKeyExW")) {
    if (phkResult) *phkResult = nullptr;
    return error;
  }
  return OpenOrCreate(hKey, lpSubKey, samDesired, phkResult, lpdwDisposition, true);
}

EXTERN_C LONG WINAPI RegOpenKeyExW(HKEY hKey, LPCWSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult) {
  if (LONG error = InjectedFault(L"RegOpenKeyExW")) {
    if (phkResult) *phkResult = nullptr;
    return error;
  }
  return OpenOrCreate(hKey, lpSubKey, samDesired, phkResult, nullptr, false);
}

EXTERN_C LONG WINAPI RegCloseKey(HKEY hKey) {
  if (LONG error = InjectedFault(L"RegCloseKey")) return error;
  if (IsPredefined(hKey)) return ERROR_SUCCESS;
  State& s = TheState();
  KeyPtr release;  // the key may go with the handle: free it outside the lock
  std::lock_guard lock(s.mutex);
  auto it = s.handles.find(reinterpret_cast<uintptr_t>(hKey));
  if (it == s.handles.end()) return ERROR_INVALID_HANDLE;
  release = std::move(it->second.key);
  s.handles.erase(it);
  return ERROR_SUCCESS;
}

EXTERN_C LONG WINAPI RegSetValueExW(HKEY hKey, LPCWSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData,
                                    DWORD cbData) {
  KeyCall call(L"RegSetValueExW", hKey, KEY_SET_VALUE);
  if (call.error()) return call.error();
  if (!lpData && cbData) return ERROR_INVALID_PARAMETER;
  std::vector<BYTE> data(lpData, lpData + (lpData ? cbData : 0));
  call.key().SetValue(ValueName(lpValueName), dwType, std::move(data));
  return ERROR_SUCCESS;
}

EXTERN_C LONG WINAPI RegQueryValueExW(HKEY hKey, LPCWSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                                      LPDWORD lpcbData) {
  KeyCall call(L"RegQueryValueExW", hKey, KEY_QUERY_VALUE);
  if (call.error()) return call.error();
  if (lpData && !lpcbData) return ERROR_INVALID_PARAMETER;
  const Value* value = call.key().FindValue(ValueName(lpValueName));
  if (!value) return ERROR_FILE_NOT_FOUND;
  if (lpType) *lpType = value->type;
  return CopyData(value->data, lpData, lpcbData);
}

EXTERN_C LONG WINAPI RegEnumKeyExW(HKEY hKey, DWORD dwIndex, LPWSTR lpName, LPDWORD lpcchName, LPDWORD,
                                   LPWSTR lpClass, LPDWORD lpcchClass, PFILETIME lpftLastWriteTime) {
  KeyCall call(L"RegEnumKeyExW", hKey, KEY_ENUMERATE_SUB_KEYS);
  if (call.error()) return call.error();
  if (!lpName || !lpcchName) return ERROR_INVALID_PARAMETER;
  const auto& children = call.key().Children();
  if (dwIndex >= children.size()) return ERROR_NO_MORE_ITEMS;
  const std::wstring& name = children[dwIndex]->name;
  if (name.size() + 1 > *lpcchName) return ERROR_MORE_DATA;
  std::wmemcpy(lpName, name.c_str(), name.size() + 1);
  *lpcchName = static_cast<DWORD>(name.size());
  if (lpClass && lpcchClass && *lpcchClass) *lpClass = L'\0';
  if (lpcchClass) *lpcchClass = 0;
  if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
  return ERROR_SUCCESS;
}

EXTERN_C LONG WINAPI RegEnumValueW(HKEY hKey, DWORD dwIndex, LPWSTR lpValueName, LPDWORD lpcchValueName,
                                   LPDWORD, LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData) {
  KeyCall call(L"RegEnumValueW", hKey, KEY_QUERY_VALUE);
  if (call.error()) return call.error();
  if (!lpValueName || !lpcchValueName || (lpData && !lpcbData)) return ERROR_INVALID_PARAMETER;
  const auto& values = call.key().values;
  if (dwIndex >= values.size()) return ERROR_NO_MORE_ITEMS;
  const Value& value = values[dwIndex];
  if (value.name.size() + 1 > *lpcchValueName) return ERROR_MORE_DATA;
  std::wmemcpy(lpValueName, value.name.c_str(), value.name.size() + 1);
  *lpcchValueName = static_cast<DWORD>(value.name.size());
  if (lpType) *lpType = value.type;
  return CopyData(value.data, lpData, lpcbData);
}

EXTERN_C LONG WINAPI RegDeleteKeyW(HKEY hKey, LPCWSTR lpSubKey) {
  KeyCall call(L"RegDeleteKeyW", hKey, 0);
  if (call.error()) return call.error();
  if (!lpSubKey) return ERROR_INVALID_PARAMETER;
  std::vector<std::wstring_view> names;
  if (!SplitPath(lpSubKey, &names)) return ERROR_BAD_PATHNAME;
  KeyPtr target = call.keyPtr();
  for (auto name : names) {
    target = target->FindChild(name);
    if (!target) return ERROR_FILE_NOT_FOUND;
  }
  if (!target->parent) return ERROR_ACCESS_DENIED;  // a predefined key
  if (target->HasChildren()) return ERROR_ACCESS_DENIED;
  target->parent->RemoveChild(target.get());
  return ERROR_SUCCESS;
}

EXTERN_C LONG WINAPI RegDeleteValueW(HKEY hKey, LPCWSTR lpValueName) {
  KeyCall call(L"RegDeleteValueW", hKey, KEY_SET_VALUE);
  if (call.error()) return call.error();
  auto& values = call.key().values;
  const std::wstring_view name = ValueName(lpValueName);
  auto it = std::find_if(values.begin(), values.end(),
                         [name](const Value& v) { return platform::CompareNoCase(v.name, name) == 0; });
  if (it == values.end()) return ERROR_FILE_NOT_FOUND;
  values.erase(it);
  return ERROR_SUCCESS;
}

EXTERN_C LONG WINAPI RegDeleteTreeW(HKEY hKey, LPCWSTR lpSubKey) {
  KeyCall call(L"RegDeleteTreeW", hKey, 0);
  if (call.error()) return call.error();
  std::vector<std::wstring_view> names;
  if (!SplitPath(lpSubKey, &names)) return ERROR_BAD_PATHNAME;
  KeyPtr target = call.keyPtr();
  for (auto name : names) {
    target = target->FindChild(name);
    if (!target) return ERROR_FILE_NOT_FOUND;
  }
  if (!lpSubKey) {
    target->RemoveChildren();
    target->values.clear();
    return ERROR_SUCCESS;
  }
  if (!target->parent) return ERROR_ACCESS_DENIED;
  target->parent->RemoveChild(target.get());
  return ERROR_SUCCESS;
}

EXTERN_C LONG WINAPI RegQueryInfoKeyW(HKEY hKey, LPWSTR lpClass, LPDWORD lpcchClass, LPDWORD,
                                      LPDWORD lpcSubKeys, LPDWORD lpcbMaxSubKeyLen, LPDWORD lpcbMaxClassLen,
                                      LPDWORD lpcValues, LPDWORD lpcbMaxValueNameLen, LPDWORD lpcbMaxValueLen,
                                      LPDWORD lpcbSecurityDescriptor, PFILETIME lpftLastWriteTime) {
  KeyCall call(L"RegQueryInfoKeyW", hKey, KEY_QUERY_VALUE);
  if (call.error()) return call.error();
  const Key& key = call.key();
  DWORD maxSubKey = 0, maxValueName = 0, maxValue = 0;
  for (const auto& child : key.Children())
    maxSubKey = std::max(maxSubKey, static_cast<DWORD>(child->name.size()));
  for (const auto& value : key.values) {
    maxValueName = std::max(maxValueName, static_cast<DWORD>(value.name.size()));
    maxValue = std::max(maxValue, static_cast<DWORD>(value.data.size()));
  }
  if (lpClass && lpcchClass && *lpcchClass) *lpClass = L'\0';
  if (lpcchClass) *lpcchClass = 0;
  if (lpcSubKeys) *lpcSubKeys = static_cast<DWORD>(key.Children().size());
  if (lpcbMaxSubKeyLen) *lpcbMaxSubKeyLen = maxSubKey;
  if (lpcbMaxClassLen) *lpcbMaxClassLen = 0;
  if (lpcValues) *lpcValues = static_cast<DWORD>(key.values.size());
  if (lpcbMaxValueNameLen) *lpcbMaxValueNameLen = maxValueName;
  if (lpcbMaxValueLen) *lpcbMaxValueLen = maxValue;
  if (lpcbSecurityDescriptor) *lpcbSecurityDescriptor = 0;
  if (lpftLastWriteTime) *lpftLastWriteTime = FILETIME{0, 0};
  return ERROR_SUCCESS;
}
