// The COM library: per-thread initialisation, the process's table of registered class
// objects, the in-process servers loaded through the registry, GUID texts and the task
// allocator.
#include "com_internal.h"

#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "../internal/unicode.h"
#include "libloaderapi.h"
#include "ole2.h"
#include "winreg.h"

namespace {

struct Registration {
  DWORD cookie;
  CLSID clsid;
  IUnknown* object;  // owned reference
  DWORD context;
  std::thread::id owner;
};

struct LoadedServer {
  std::wstring path;
  HMODULE module;  // one reference from LoadLibraryW, kept until freed here
};

struct ComState {
  std::mutex mutex;
  std::vector<Registration> registrations;
  DWORD nextCookie = 1;
  std::vector<LoadedServer> servers;
  int apartments = 0;  // threads between their first CoInitialize and last CoUninitialize
};

ComState& State() {
  static ComState* state = new ComState;  // never destroyed: DLLs may call in during exit
  return *state;
}

thread_local int t_initializeCount = 0;

void FreeServers(std::vector<LoadedServer>& servers) {
  for (LoadedServer& server : servers) FreeLibrary(server.module);
  servers.clear();
}

// The class object registered for rclsid in a context the caller asked for, AddRef'd; null
// when there is none.
IUnknown* FindRegisteredClassObject(REFCLSID rclsid, DWORD context) {
  ComState& state = State();
  std::lock_guard lock(state.mutex);
  for (const Registration& registration : state.registrations) {
    if (registration.clsid != rclsid) continue;
    DWORD serves = registration.context;
    if (serves & CLSCTX_LOCAL_SERVER)
      serves |= CLSCTX_INPROC_SERVER;  // as the platform serves them in-process
    if (serves & context) {
      registration.object->AddRef();
      return registration.object;
    }
  }
  return nullptr;
}

// The server DLL's path from HKEY_CLASSES_ROOT\CLSID\{clsid}\InProcServer32.
HRESULT ReadServerPath(REFCLSID rclsid, std::wstring& path) {
  OLECHAR clsidText[40];
  StringFromGUID2(rclsid, clsidText, 40);
  const std::wstring keyName = std::wstring(L"CLSID\\") + clsidText + L"\\InProcServer32";
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
    return REGDB_E_CLASSNOTREG;
  DWORD type = 0;
  DWORD size = 0;
  LONG error = RegQueryValueExW(key, nullptr, nullptr, &type, nullptr, &size);
  std::vector<WCHAR> buffer(size / sizeof(WCHAR) + 1, L'\0');
  if (error == ERROR_SUCCESS && (type == REG_SZ || type == REG_EXPAND_SZ))
    error = RegQueryValueExW(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size);
  else
    error = ERROR_FILE_NOT_FOUND;
  RegCloseKey(key);
  if (error != ERROR_SUCCESS) return REGDB_E_CLASSNOTREG;
  path = buffer.data();  // up to the first terminator; the stand-in does not expand REG_EXPAND_SZ
  return S_OK;
}

HMODULE FindLoadedServer(const std::wstring& path) {
  for (const LoadedServer& server : State().servers)
    if (platform::CompareNoCase(server.path, path) == 0) return server.module;
  return nullptr;
}

// The loaded server DLL at path, loading it the first time it is asked for.
HRESULT LoadServer(const std::wstring& path, HMODULE& module) {
  ComState& state = State();
  {
    std::lock_guard lock(state.mutex);
    module = FindLoadedServer(path);
    if (module) return S_OK;
  }
  // Loading runs the DLL's entry point, which may call back into COM: not under the lock.
  HMODULE loaded = LoadLibraryW(path.c_str());
  if (!loaded) return CO_E_DLLNOTFOUND;
  bool duplicate = false;
  {
    std::lock_guard lock(state.mutex);
    module = FindLoadedServer(path);
    duplicate = module != nullptr;
    if (!duplicate) {
      state.servers.push_back({path, loaded});
      module = loaded;
    }
  }
  if (duplicate) FreeLibrary(loaded);  // another thread loaded it meanwhile
  return S_OK;
}

template <class Function>
Function ServerExport(HMODULE module, const char* name) {
  return reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)));
}

}  // namespace

HRESULT CoInitializeEx(void* /*pvReserved*/, DWORD /*dwCoInit*/) {
  if (t_initializeCount++ > 0) return S_FALSE;
  std::lock_guard lock(State().mutex);
  ++State().apartments;
  return S_OK;
}

HRESULT CoInitialize(void* pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void CoUninitialize() {
  if (t_initializeCount == 0 || --t_initializeCount > 0) return;
  SetErrorInfo(0, nullptr);
  ComState& state = State();
  std::vector<Registration> revoked;
  std::vector<LoadedServer> unloaded;
  {
    std::lock_guard lock(state.mutex);
    const std::thread::id self = std::this_thread::get_id();
    std::erase_if(state.registrations, [&](const Registration& registration) {
      if (registration.owner != self) return false;
      revoked.push_back(registration);
      return true;
    });
    if (--state.apartments == 0) unloaded.swap(state.servers);
  }
  for (Registration& registration : revoked) registration.object->Release();
  FreeServers(unloaded);
}

HRESULT CoGetClassObject(REFCLSID rclsid, DWORD dwClsContext, void* /*pvReserved*/, REFIID riid, void** ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  if (t_initializeCount == 0) return CO_E_NOTINITIALIZED;
  if (IUnknown* registered = FindRegisteredClassObject(rclsid, dwClsContext)) {
    HRESULT hr = registered->QueryInterface(riid, ppv);
    registered->Release();
    return hr;
  }
  if (!(dwClsContext & CLSCTX_INPROC)) return REGDB_E_CLASSNOTREG;  // no local servers here
  HRESULT builtIn = platform::com::GetBuiltInClassObject(rclsid, riid, ppv);
  if (builtIn != CLASS_E_CLASSNOTAVAILABLE) return builtIn;
  std::wstring path;
  HRESULT hr = ReadServerPath(rclsid, path);
  if (FAILED(hr)) return hr;
  HMODULE module = nullptr;
  hr = LoadServer(path, module);
  if (FAILED(hr)) return hr;
  const auto getClassObject = ServerExport<LPFNGETCLASSOBJECT>(module, "DllGetClassObject");
  if (!getClassObject) return CO_E_ERRORINDLL;
  hr = getClassObject(rclsid, riid, ppv);
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT CoCreateInstance(REFCLSID rclsid, IUnknown* pUnkOuter, DWORD dwClsContext, REFIID riid, void** ppv) {
  if (!ppv) return E_INVALIDARG;
  *ppv = nullptr;
  IClassFactory* factory = nullptr;
  HRESULT hr =
      CoGetClassObject(rclsid, dwClsContext, nullptr, IID_IClassFactory, reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(pUnkOuter, riid, ppv);
  factory->Release();
  if (FAILED(hr)) *ppv = nullptr;
  return hr;
}

HRESULT CoRegisterClassObject(REFCLSID rclsid, IUnknown* pUnk, DWORD dwClsContext, DWORD /*flags*/,
                              LPDWORD lpdwRegister) {
  if (!pUnk || !lpdwRegister) return E_INVALIDARG;
  if (t_initializeCount == 0) return CO_E_NOTINITIALIZED;
  pUnk->AddRef();
  ComState& state = State();
  std::lock_guard lock(state.mutex);
  *lpdwRegister = state.nextCookie++;
  state.registrations.push_back({*lpdwRegister, rclsid, pUnk, dwClsContext, std::this_thread::get_id()});
  return S_OK;
}

HRESULT CoRevokeClassObject(DWORD dwRegister) {
  IUnknown* object = nullptr;
  {
    ComState& state = State();
    std::lock_guard lock(state.mutex);
    for (auto it = state.registrations.begin(); it != state.registrations.end(); ++it) {
      if (it->cookie == dwRegister) {
        object = it->object;
        state.registrations.erase(it);
        break;
      }
    }
  }
  if (!object) return E_INVALIDARG;
  object->Release();
  return S_OK;
}

void CoFreeUnusedLibraries() {
  ComState& state = State();
  std::vector<LoadedServer> servers;
  {
    std::lock_guard lock(state.mutex);
    servers = state.servers;
  }
  for (const LoadedServer& server : servers) {
    const auto canUnloadNow = ServerExport<LPFNCANUNLOADNOW>(server.module, "DllCanUnloadNow");
    if (!canUnloadNow || canUnloadNow() != S_OK) continue;
    bool owned = false;
    {
      std::lock_guard lock(state.mutex);
      owned =
          std::erase_if(state.servers, [&](const LoadedServer& s) { return s.module == server.module; }) > 0;
    }
    if (owned) FreeLibrary(server.module);
  }
}

// ---------------------------------------------------------------------------------------------

HRESULT OleInitialize(void* pvReserved) {
  return CoInitializeEx(pvReserved, COINIT_APARTMENTTHREADED);
}

void OleUninitialize() {
  CoUninitialize();
}

HRESULT OleRun(IUnknown* pUnknown) {
  return pUnknown ? S_OK : E_INVALIDARG;
}

// ---------------------------------------------------------------------------------------------

void* CoTaskMemAlloc(SIZE_T cb) {
  return std::malloc(cb ? cb : 1);
}

void* CoTaskMemRealloc(void* pv, SIZE_T cb) {
  if (cb == 0) {
    std::free(pv);
    return nullptr;
  }
  return std::realloc(pv, cb);
}

void CoTaskMemFree(void* pv) {
  std::free(pv);
}

// ---------------------------------------------------------------------------------------------

namespace {

constexpr int kGuidTextLength = 38;  // "{8-4-4-4-12}" without the terminator

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

// The positions of the GUID's 16 bytes in its text, in the order Data1..Data4: Data1-3 are
// written as numbers (most significant digit first), Data4 byte by byte.
constexpr int kBytePositions[16] = {1, 3, 5, 7, 10, 12, 15, 17, 20, 22, 25, 27, 29, 31, 33, 35};

void GuidToBytes(const GUID& guid, BYTE (&bytes)[16]) {
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<BYTE>(guid.Data1 >> (24 - 8 * i));
  bytes[4] = static_cast<BYTE>(guid.Data2 >> 8);
  bytes[5] = static_cast<BYTE>(guid.Data2);
  bytes[6] = static_cast<BYTE>(guid.Data3 >> 8);
  bytes[7] = static_cast<BYTE>(guid.Data3);
  for (int i = 0; i < 8; ++i) bytes[8 + i] = guid.Data4[i];
}

// Reads the braced text field by field into guid: Data1, Data2 and Data3 each as soon as its
// digits are read, Data4 byte by byte. False at the first character that does not belong (the
// fields read before it stay written); nothing past the terminator is read.
bool ParseGuid(const OLECHAR* text, GUID& guid) {
  size_t at = 0;
  const auto take = [&](wchar_t c) {
    if (text[at] != c) return false;
    ++at;
    return true;
  };
  const auto hex = [&](int digits, uint32_t* value) {
    uint32_t result = 0;
    for (int i = 0; i < digits; ++i, ++at) {
      const int digit = HexValue(text[at]);
      if (digit < 0) return false;
      result = result * 16 + static_cast<uint32_t>(digit);
    }
    *value = result;
    return true;
  };
  uint32_t value = 0;
  if (!take(L'{') || !hex(8, &value)) return false;
  guid.Data1 = value;
  if (!take(L'-') || !hex(4, &value)) return false;
  guid.Data2 = static_cast<uint16_t>(value);
  if (!take(L'-') || !hex(4, &value)) return false;
  guid.Data3 = static_cast<uint16_t>(value);
  if (!take(L'-')) return false;
  for (int i = 0; i < 8; ++i) {
    if (i == 2 && !take(L'-')) return false;
    if (!hex(2, &value)) return false;
    guid.Data4[i] = static_cast<BYTE>(value);
  }
  return take(L'}') && text[at] == L'\0';
}

}  // namespace

HRESULT CLSIDFromString(LPCOLESTR lpsz, LPCLSID pclsid) {
  if (!pclsid) return E_INVALIDARG;
  *pclsid = GUID_NULL;
  if (!lpsz) return NOERROR;
  return ParseGuid(lpsz, *pclsid) ? NOERROR : CO_E_CLASSSTRING;
}

HRESULT IIDFromString(LPCOLESTR lpsz, LPIID lpiid) {
  if (!lpiid) return E_INVALIDARG;
  *lpiid = GUID_NULL;
  if (!lpsz) return NOERROR;
  if (wcslen(lpsz) != kGuidTextLength) return E_INVALIDARG;
  return ParseGuid(lpsz, *lpiid) ? NOERROR : CO_E_IIDSTRING;
}

int StringFromGUID2(REFGUID rguid, LPOLESTR lpsz, int cchMax) {
  if (!lpsz || cchMax < kGuidTextLength + 1) return 0;
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  OLECHAR text[kGuidTextLength + 1] = L"{00000000-0000-0000-0000-000000000000}";
  BYTE bytes[16];
  GuidToBytes(rguid, bytes);
  for (int i = 0; i < 16; ++i) {
    text[kBytePositions[i]] = kDigits[bytes[i] >> 4];
    text[kBytePositions[i] + 1] = kDigits[bytes[i] & 0xF];
  }
  std::memcpy(lpsz, text, sizeof text);
  return kGuidTextLength + 1;
}

HRESULT StringFromCLSID(REFCLSID rclsid, LPOLESTR* lplpsz) {
  if (!lplpsz) return E_INVALIDARG;
  *lplpsz = static_cast<LPOLESTR>(CoTaskMemAlloc((kGuidTextLength + 1) * sizeof(OLECHAR)));
  if (!*lplpsz) return E_OUTOFMEMORY;
  StringFromGUID2(rclsid, *lplpsz, kGuidTextLength + 1);
  return S_OK;
}

HRESULT StringFromIID(REFIID rclsid, LPOLESTR* lplpsz) {
  return StringFromCLSID(rclsid, lplpsz);
}
