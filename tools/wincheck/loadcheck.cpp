// loadcheck DLL [--resources DLL] [--class CLSID] [EXPORT]...: loads the DLL with LoadLibraryW
// as a host would and checks it; exit code 0 when every check passed, each failure printed with
// the platform's error code or HRESULT.
//
// - EXPORT: each named function is exported.
// - --resources: the DLL's application object loaded that resource DLL while it started.
// - --class: the DLL is an in-process server: DllCanUnloadNow answers S_OK, DllGetClassObject
//   gives a class factory for CLSID and CLASS_E_CLASSNOTAVAILABLE for a class it does not serve.
// Then FreeLibrary unloads it: neither the DLL nor its resource DLL stays in the process.
#include <windows.h>

#include <objbase.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

namespace {

struct Options {
  const wchar_t* path = nullptr;
  const wchar_t* resources = nullptr;
  const wchar_t* clsid = nullptr;
  std::vector<const wchar_t*> exports;
};

// A class that no server of the project serves.
constexpr CLSID kUnservedClass = {
    0x9A0B1C2D, 0x3E4F, 0x5061, {0x72, 0x83, 0x94, 0xA5, 0xB6, 0xC7, 0xD8, 0xE9}};

class Checker {
 public:
  explicit Checker(const Options& options) : m_options(options) {}

  int Run() {
    HMODULE module = LoadLibraryW(m_options.path);
    if (!module) return Fail(L"LoadLibraryW failed, error %lu", GetLastError());
    for (const wchar_t* name : m_options.exports)
      if (!Export(module, name)) Fail(L"no export %ls", name);
    if (m_options.resources && !GetModuleHandleW(m_options.resources))
      Fail(L"its application object did not load %ls", m_options.resources);
    if (m_options.clsid) CheckServer(module);
    if (!FreeLibrary(module)) Fail(L"FreeLibrary failed, error %lu", GetLastError());
    if (GetModuleHandleW(m_options.path)) Fail(L"still loaded after FreeLibrary");
    if (m_options.resources && GetModuleHandleW(m_options.resources))
      Fail(L"%ls still loaded after FreeLibrary", m_options.resources);
    if (m_failures == 0) std::fwprintf(stdout, L"%ls: %ls\n", m_options.path, Summary().c_str());
    return m_failures == 0 ? 0 : 1;
  }

 private:
  template <class... Args>
  int Fail(const wchar_t* format, Args... args) {
    std::fwprintf(stderr, L"%ls: ", m_options.path);
    std::fwprintf(stderr, format, args...);
    std::fwprintf(stderr, L"\n");
    ++m_failures;
    return 1;
  }

  // The export as a function of no particular type (void (*)() converts to any other).
  static void (*Export(HMODULE module, const wchar_t* name))() {
    char narrow[256];
    if (!WideCharToMultiByte(CP_UTF8, 0, name, -1, narrow, sizeof narrow, nullptr, nullptr)) return nullptr;
    return reinterpret_cast<void (*)()>(GetProcAddress(module, narrow));
  }

  void CheckServer(HMODULE module) {
    using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
    using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
    const auto canUnloadNow = reinterpret_cast<CanUnloadNow>(Export(module, L"DllCanUnloadNow"));
    const auto getClassObject = reinterpret_cast<GetClassObject>(Export(module, L"DllGetClassObject"));
    if (!canUnloadNow || !getClassObject) {
      Fail(L"not an in-process server: DllCanUnloadNow or DllGetClassObject missing");
      return;
    }
    CLSID clsid{};
    if (FAILED(CLSIDFromString(const_cast<LPOLESTR>(m_options.clsid), &clsid))) {
      Fail(L"%ls is not a CLSID", m_options.clsid);
      return;
    }
    HRESULT hr = canUnloadNow();
    if (hr != S_OK) Fail(L"DllCanUnloadNow answered 0x%08lX after loading, not S_OK", hr);
    IClassFactory* factory = nullptr;
    hr = getClassObject(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory));
    if (FAILED(hr) || !factory) {
      Fail(L"DllGetClassObject(%ls) failed, 0x%08lX", m_options.clsid, hr);
    } else {
      factory->Release();
      m_servedFactory = true;
    }
    void* unserved = nullptr;
    hr = getClassObject(kUnservedClass, IID_IClassFactory, &unserved);
    if (hr != CLASS_E_CLASSNOTAVAILABLE || unserved)
      Fail(L"DllGetClassObject of an unserved class answered 0x%08lX, not CLASS_E_CLASSNOTAVAILABLE", hr);
    hr = canUnloadNow();
    if (hr != S_OK) Fail(L"DllCanUnloadNow answered 0x%08lX after the factory's release, not S_OK", hr);
  }

  std::wstring Summary() const {
    std::wstring text = L"loaded, " + std::to_wstring(m_options.exports.size()) + L" exports found";
    if (m_options.resources) text += std::wstring(L", ") + m_options.resources + L" loaded with it";
    if (m_servedFactory) text += L", a class factory for " + std::wstring(m_options.clsid) + L", unloadable";
    return text + L", freed";
  }

  const Options& m_options;
  int m_failures = 0;
  bool m_servedFactory = false;
};

bool ReadOptions(int argc, wchar_t** argv, Options* options) {
  if (argc < 2) return false;
  options->path = argv[1];
  for (int i = 2; i < argc; ++i) {
    const std::wstring argument = argv[i];
    if ((argument == L"--resources" || argument == L"--class") && i + 1 < argc) {
      (argument == L"--resources" ? options->resources : options->clsid) = argv[++i];
    } else if (argument.starts_with(L"--")) {
      return false;
    } else {
      options->exports.push_back(argv[i]);
    }
  }
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options options;
  if (!ReadOptions(argc, argv, &options)) {
    std::fwprintf(stderr, L"usage: loadcheck DLL [--resources DLL] [--class CLSID] [EXPORT]...\n");
    return 2;
  }
  // The servers expect COM started on the calling thread, as in the host.
  const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  const int result = Checker(options).Run();
  if (SUCCEEDED(com)) CoUninitialize();
  return result;
}
