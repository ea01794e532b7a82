// The class library's COM support that is not a template: the interface-map search, the error
// helper and the type-library registration of a module.
#include <atlbase.h>

#include <string>

EXTERN_C HRESULT AtlInternalQueryInterface(void* pThis, const ATL::_ATL_INTMAP_ENTRY* pEntries, REFIID iid,
                                           void** ppvObject) {
  if (!ppvObject) return E_POINTER;
  *ppvObject = nullptr;
  if (!pThis || !pEntries || !pEntries->piid) return E_NOINTERFACE;
  for (const ATL::_ATL_INTMAP_ENTRY* entry = pEntries; entry->pFunc; ++entry) {
    // The first entry answers IUnknown: it is the object's identity.
    if (entry == pEntries ? (iid == IID_IUnknown || *entry->piid == iid) : *entry->piid == iid) {
      auto* unknown = reinterpret_cast<IUnknown*>(static_cast<char*>(pThis) + entry->dw);
      unknown->AddRef();
      *ppvObject = unknown;
      return S_OK;
    }
  }
  return E_NOINTERFACE;
}

EXTERN_C HRESULT AtlReportError(REFCLSID clsid, LPCOLESTR lpszDesc, REFIID iid, HRESULT hRes) {
  // The source is the class's ProgID, as the platform's ProgIDFromCLSID gives it.
  wchar_t clsidText[40];
  StringFromGUID2(clsid, clsidText, 40);
  std::wstring progId;
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, (std::wstring(L"CLSID\\") + clsidText + L"\\ProgID").c_str(), 0,
                    KEY_READ, &key) == ERROR_SUCCESS) {
    wchar_t text[256] = L"";
    DWORD size = sizeof(text) - sizeof(wchar_t);
    if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) ==
        ERROR_SUCCESS)
      progId = text;
    RegCloseKey(key);
  }
  ICreateErrorInfo* create = nullptr;
  if (SUCCEEDED(CreateErrorInfo(&create))) {
    create->SetGUID(iid);
    create->SetSource(const_cast<LPOLESTR>(progId.c_str()));
    create->SetDescription(const_cast<LPOLESTR>(lpszDesc ? lpszDesc : L""));
    IErrorInfo* info = nullptr;
    if (SUCCEEDED(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info)))) {
      SetErrorInfo(0, info);
      info->Release();
    }
    create->Release();
  }
  return hRes == 0 ? DISP_E_EXCEPTION : hRes;
}

namespace {

// The module's path with the type library's index appended ("path\2").
HRESULT TypeLibPath(HINSTANCE hInstance, LPCOLESTR lpszIndex, std::wstring* path, std::wstring* directory) {
  wchar_t module[MAX_PATH];
  const DWORD length = GetModuleFileNameW(hInstance, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return E_FAIL;
  *path = module;
  const size_t slash = path->find_last_of(L'\\');
  *directory = slash == std::wstring::npos ? L"" : path->substr(0, slash);
  if (lpszIndex && *lpszIndex) *path += lpszIndex;
  return S_OK;
}

}  // namespace

EXTERN_C HRESULT AtlRegisterTypeLib(HINSTANCE hInstance, LPCOLESTR lpszIndex) {
  std::wstring path, directory;
  HRESULT hr = TypeLibPath(hInstance, lpszIndex, &path, &directory);
  if (FAILED(hr)) return hr;
  ITypeLib* lib = nullptr;
  hr = LoadTypeLib(path.c_str(), &lib);
  if (FAILED(hr)) return hr;
  hr = RegisterTypeLib(lib, path.data(), directory.data());
  lib->Release();
  return hr;
}

EXTERN_C HRESULT AtlUnRegisterTypeLib(HINSTANCE hInstance, LPCOLESTR lpszIndex) {
  std::wstring path, directory;
  HRESULT hr = TypeLibPath(hInstance, lpszIndex, &path, &directory);
  if (FAILED(hr)) return hr;
  ITypeLib* lib = nullptr;
  hr = LoadTypeLib(path.c_str(), &lib);
  if (FAILED(hr)) return hr;
  TLIBATTR* attr = nullptr;
  hr = lib->GetLibAttr(&attr);
  if (SUCCEEDED(hr)) {
    hr = UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
    lib->ReleaseTLibAttr(attr);
  }
  lib->Release();
  return hr;
}
