// Type libraries: loading the project's description format from a TYPELIB resource or a file,
// the type-library and type-information objects over it (late-bound calls into dual
// interfaces), and their registration.
#include <platform/paths.h>
#include <platform/typelib_format.h>

#include <cwchar>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>

#include "../internal/unicode.h"
#include "com_internal.h"
#include "libloaderapi.h"
#include "objbase.h"
#include "winreg.h"
#include "winuser.h"

using platform::com::CastTo;
using platform::com::InterfaceEntry;
using platform::com::QueryInterfaceFromTable;
using platform::com::RefCount;
using platform::typelib::LibraryDescription;
using platform::typelib::Method;
using platform::typelib::ParamDirection;
using platform::typelib::ParamType;
using platform::typelib::TypeDescription;

namespace {

// IDispatch's seven table entries come before a dual interface's own operations.
constexpr UINT kDispatchEntries = 7;
constexpr UINT kMaxArguments = 6;
constexpr wchar_t kAutomationMarshaler[] = L"{00020424-0000-0000-C000-000000000046}";

class TypeLib;

class TypeInfo final : public ITypeInfo {
 public:
  TypeInfo(TypeLib* lib, UINT index);
  ~TypeInfo();
  TypeInfo(const TypeInfo&) = delete;
  TypeInfo& operator=(const TypeInfo&) = delete;

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    static const InterfaceEntry<TypeInfo> table[] = {{&IID_IUnknown, CastTo<TypeInfo, ITypeInfo>},
                                                     {&IID_ITypeInfo, CastTo<TypeInfo, ITypeInfo>}};
    return QueryInterfaceFromTable(this, table, riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG remaining = refs_.Release();
    if (remaining == 0) delete this;
    return remaining;
  }

  STDMETHODIMP GetTypeAttr(TYPEATTR** ppTypeAttr) override;
  STDMETHODIMP GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
  STDMETHODIMP GetFuncDesc(UINT, FUNCDESC**) override { return E_NOTIMPL; }
  STDMETHODIMP GetVarDesc(UINT, VARDESC**) override { return E_NOTIMPL; }
  STDMETHODIMP GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) override;
  STDMETHODIMP GetRefTypeOfImplType(UINT, HREFTYPE*) override { return E_NOTIMPL; }
  STDMETHODIMP GetImplTypeFlags(UINT, INT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) override;
  STDMETHODIMP Invoke(void* pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams,
                      VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;
  STDMETHODIMP GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                BSTR* pBstrHelpFile) override;
  STDMETHODIMP GetDllEntry(MEMBERID, INVOKEKIND, BSTR*, BSTR*, WORD*) override { return E_NOTIMPL; }
  STDMETHODIMP GetRefTypeInfo(HREFTYPE, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP AddressOfMember(MEMBERID, INVOKEKIND, void**) override { return E_NOTIMPL; }
  STDMETHODIMP CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObj) override;
  STDMETHODIMP GetMops(MEMBERID, BSTR*) override { return E_NOTIMPL; }
  STDMETHODIMP GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) override;
  STDMETHODIMP_(void) ReleaseTypeAttr(TYPEATTR* pTypeAttr) override { delete pTypeAttr; }
  STDMETHODIMP_(void) ReleaseFuncDesc(FUNCDESC*) override {}
  STDMETHODIMP_(void) ReleaseVarDesc(VARDESC*) override {}

 private:
  const TypeDescription& Type() const;
  const Method* FindMethod(MEMBERID memid, UINT* slot) const;

  RefCount refs_;
  TypeLib* lib_;
  UINT index_;
};

class TypeLib final : public ITypeLib {
 public:
  explicit TypeLib(LibraryDescription description) : description_(std::move(description)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    static const InterfaceEntry<TypeLib> table[] = {{&IID_IUnknown, CastTo<TypeLib, ITypeLib>},
                                                    {&IID_ITypeLib, CastTo<TypeLib, ITypeLib>}};
    return QueryInterfaceFromTable(this, table, riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG remaining = refs_.Release();
    if (remaining == 0) delete this;
    return remaining;
  }

  STDMETHODIMP_(UINT) GetTypeInfoCount() override { return static_cast<UINT>(description_.types.size()); }
  STDMETHODIMP GetTypeInfo(UINT index, ITypeInfo** ppTInfo) override {
    if (!ppTInfo) return E_INVALIDARG;
    *ppTInfo = nullptr;
    if (index >= description_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
    *ppTInfo = new (std::nothrow) TypeInfo(this, index);
    return *ppTInfo ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP GetTypeInfoType(UINT index, TYPEKIND* pTKind) override {
    if (!pTKind) return E_INVALIDARG;
    if (index >= description_.types.size()) return TYPE_E_ELEMENTNOTFOUND;
    *pTKind = description_.types[index].isCoclass ? TKIND_COCLASS : TKIND_DISPATCH;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfoOfGuid(REFGUID guid, ITypeInfo** ppTinfo) override {
    if (!ppTinfo) return E_INVALIDARG;
    *ppTinfo = nullptr;
    for (UINT i = 0; i < description_.types.size(); ++i)
      if (description_.types[i].guid == guid) return GetTypeInfo(i, ppTinfo);
    return TYPE_E_ELEMENTNOTFOUND;
  }
  STDMETHODIMP GetLibAttr(TLIBATTR** ppTLibAttr) override {
    if (!ppTLibAttr) return E_INVALIDARG;
    *ppTLibAttr = new (std::nothrow) TLIBATTR{
        description_.libid, 0, SYS_WIN32, description_.major, description_.minor, LIBFLAG_FHASDISKIMAGE};
    return *ppTLibAttr ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP GetTypeComp(ITypeComp**) override { return E_NOTIMPL; }
  // index -1: the library itself.
  STDMETHODIMP GetDocumentation(INT index, BSTR* pBstrName, BSTR* pBstrDocString, DWORD* pdwHelpContext,
                                BSTR* pBstrHelpFile) override {
    if (index >= static_cast<INT>(description_.types.size()) || index < -1) return TYPE_E_ELEMENTNOTFOUND;
    const std::wstring& name = index < 0 ? description_.name : description_.types[index].name;
    const std::wstring& help = index < 0 ? description_.help : description_.types[index].help;
    if (pBstrName) *pBstrName = SysAllocString(name.c_str());
    if (pBstrDocString) *pBstrDocString = SysAllocString(help.c_str());
    if (pdwHelpContext) *pdwHelpContext = 0;
    if (pBstrHelpFile) *pBstrHelpFile = nullptr;
    return S_OK;
  }
  STDMETHODIMP IsName(LPOLESTR, ULONG, BOOL*) override { return E_NOTIMPL; }
  STDMETHODIMP FindName(LPOLESTR, ULONG, ITypeInfo**, MEMBERID*, USHORT*) override { return E_NOTIMPL; }
  STDMETHODIMP_(void) ReleaseTLibAttr(TLIBATTR* pTLibAttr) override { delete pTLibAttr; }

  const LibraryDescription& Description() const { return description_; }

 private:
  RefCount refs_;
  LibraryDescription description_;
};

TypeInfo::TypeInfo(TypeLib* lib, UINT index) : lib_(lib), index_(index) {
  lib_->AddRef();
}
TypeInfo::~TypeInfo() {
  lib_->Release();
}

const TypeDescription& TypeInfo::Type() const {
  return lib_->Description().types[index_];
}

const Method* TypeInfo::FindMethod(MEMBERID memid, UINT* slot) const {
  const auto& methods = Type().methods;
  for (UINT i = 0; i < methods.size(); ++i)
    if (methods[i].dispid == memid) {
      if (slot) *slot = kDispatchEntries + i;
      return &methods[i];
    }
  return nullptr;
}

STDMETHODIMP TypeInfo::GetTypeAttr(TYPEATTR** ppTypeAttr) {
  if (!ppTypeAttr) return E_INVALIDARG;
  const TypeDescription& type = Type();
  auto* attr = new (std::nothrow) TYPEATTR{};
  if (!attr) return E_OUTOFMEMORY;
  attr->guid = type.guid;
  attr->memidConstructor = DISPID_UNKNOWN;
  attr->memidDestructor = DISPID_UNKNOWN;
  attr->typekind = type.isCoclass ? TKIND_COCLASS : TKIND_DISPATCH;
  attr->cFuncs = static_cast<WORD>(type.methods.size());
  attr->cImplTypes = static_cast<WORD>(type.isCoclass ? type.implemented.size() : 1);
  attr->cbSizeVft =
      static_cast<WORD>(type.isCoclass ? 0 : (kDispatchEntries + type.methods.size()) * sizeof(void*));
  attr->cbAlignment = sizeof(void*);
  attr->wTypeFlags =
      type.isCoclass ? TYPEFLAG_FCANCREATE
                     : (type.dual ? TYPEFLAG_FDUAL | TYPEFLAG_FOLEAUTOMATION : 0) | TYPEFLAG_FDISPATCHABLE;
  attr->wMajorVerNum = lib_->Description().major;
  attr->wMinorVerNum = lib_->Description().minor;
  *ppTypeAttr = attr;
  return S_OK;
}

STDMETHODIMP TypeInfo::GetNames(MEMBERID memid, BSTR* rgBstrNames, UINT cMaxNames, UINT* pcNames) {
  if (!rgBstrNames || !pcNames) return E_INVALIDARG;
  *pcNames = 0;
  const Method* method = FindMethod(memid, nullptr);
  if (!method) return TYPE_E_ELEMENTNOTFOUND;
  if (cMaxNames == 0) return S_OK;
  rgBstrNames[0] = SysAllocString(method->name.c_str());
  *pcNames = 1;
  return S_OK;
}

// Member names compare without regard to case; parameter names are not described, so a
// request naming parameters answers DISP_E_UNKNOWNNAME for them.
STDMETHODIMP TypeInfo::GetIDsOfNames(LPOLESTR* rgszNames, UINT cNames, MEMBERID* pMemId) {
  if (!rgszNames || !pMemId || cNames == 0) return E_INVALIDARG;
  for (UINT i = 0; i < cNames; ++i) pMemId[i] = DISPID_UNKNOWN;
  if (!rgszNames[0]) return E_INVALIDARG;
  for (const Method& method : Type().methods)
    if (platform::CompareNoCase(method.name, rgszNames[0]) == 0) {
      pMemId[0] = method.dispid;
      return cNames == 1 ? S_OK : DISP_E_UNKNOWNNAME;
    }
  return DISP_E_UNKNOWNNAME;
}

VARTYPE VarTypeOf(ParamType type) {
  switch (type) {
    case ParamType::kLong:
      return VT_I4;
    case ParamType::kBool:
      return VT_BOOL;
    case ParamType::kBstr:
      return VT_BSTR;
    case ParamType::kUnknown:
      return VT_UNKNOWN;
    case ParamType::kDispatch:
      return VT_DISPATCH;
    case ParamType::kVariant:
      return VT_VARIANT;
  }
  return VT_EMPTY;
}

// Calls table entry `slot` of the interface with integer-class arguments (every parameter kind
// the format allows is a pointer or an integer of at most pointer size).
HRESULT CallSlot(void* instance, UINT slot, const uintptr_t* a, size_t count) {
  void* const* table = *static_cast<void* const* const*>(instance);
  void* entry = table[slot];
  switch (count) {
    case 0:
      return reinterpret_cast<HRESULT (*)(void*)>(entry)(instance);
    case 1:
      return reinterpret_cast<HRESULT (*)(void*, uintptr_t)>(entry)(instance, a[0]);
    case 2:
      return reinterpret_cast<HRESULT (*)(void*, uintptr_t, uintptr_t)>(entry)(instance, a[0], a[1]);
    case 3:
      return reinterpret_cast<HRESULT (*)(void*, uintptr_t, uintptr_t, uintptr_t)>(entry)(instance, a[0],
                                                                                          a[1], a[2]);
    case 4:
      return reinterpret_cast<HRESULT (*)(void*, uintptr_t, uintptr_t, uintptr_t, uintptr_t)>(entry)(
          instance, a[0], a[1], a[2], a[3]);
    case 5:
      return reinterpret_cast<HRESULT (*)(void*, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t)>(
          entry)(instance, a[0], a[1], a[2], a[3], a[4]);
    default:
      return reinterpret_cast<HRESULT (*)(void*, uintptr_t, uintptr_t, uintptr_t, uintptr_t, uintptr_t,
                                          uintptr_t)>(entry)(instance, a[0], a[1], a[2], a[3], a[4], a[5]);
  }
}

uintptr_t ValueOf(const VARIANT& v) {
  switch (V_VT(&v)) {
    case VT_I4:
      return static_cast<uintptr_t>(static_cast<intptr_t>(V_I4(&v)));
    case VT_BOOL:
      return static_cast<uintptr_t>(static_cast<intptr_t>(V_BOOL(&v)));
    case VT_BSTR:
      return reinterpret_cast<uintptr_t>(V_BSTR(&v));
    default:
      return reinterpret_cast<uintptr_t>(V_UNKNOWN(&v));
  }
}

// Arguments arrive in DISPPARAMS in reverse order. In-parameters are converted to the
// parameter's type (VariantChangeType); out-parameters must be by-reference variants of the
// parameter's type (VT_BYREF | VT_VARIANT for variants); a retval parameter is returned in
// pVarResult. A failing operation gives DISP_E_EXCEPTION with its code and the thread's error
// object in pExcepInfo when one is given, else its own code.
STDMETHODIMP TypeInfo::Invoke(void* pvInstance, MEMBERID memid, WORD wFlags, DISPPARAMS* pDispParams,
                              VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) {
  if (!pvInstance || !pDispParams) return E_INVALIDARG;
  if (Type().isCoclass) return E_NOTIMPL;
  UINT slot = 0;
  const Method* method = FindMethod(memid, &slot);
  if (!method || !(wFlags & (DISPATCH_METHOD | DISPATCH_PROPERTYGET))) return DISP_E_MEMBERNOTFOUND;
  if (pDispParams->cNamedArgs > 0) return DISP_E_NONAMEDARGS;
  const bool hasRetval =
      !method->params.empty() && method->params.back().direction == ParamDirection::kRetval;
  const size_t expected = method->params.size() - (hasRetval ? 1 : 0);
  if (pDispParams->cArgs != expected || method->params.size() > kMaxArguments) return DISP_E_BADPARAMCOUNT;

  VARIANT converted[kMaxArguments];
  for (auto& v : converted) VariantInit(&v);
  VARIANT retval;
  VariantInit(&retval);
  uintptr_t arguments[kMaxArguments] = {};
  HRESULT hr = S_OK;
  for (size_t i = 0; i < expected && SUCCEEDED(hr); ++i) {
    const VARIANT& given = pDispParams->rgvarg[pDispParams->cArgs - 1 - i];
    const VARTYPE vt = VarTypeOf(method->params[i].type);
    if (method->params[i].direction == ParamDirection::kIn) {
      hr = VariantChangeType(&converted[i], &given, 0, vt);
      if (SUCCEEDED(hr)) arguments[i] = ValueOf(converted[i]);
    } else if (V_VT(&given) == (VT_BYREF | vt)) {
      arguments[i] = reinterpret_cast<uintptr_t>(V_BYREF(&given));
    } else {
      hr = DISP_E_TYPEMISMATCH;
    }
    if (FAILED(hr) && puArgErr) *puArgErr = static_cast<UINT>(pDispParams->cArgs - 1 - i);
  }
  if (SUCCEEDED(hr)) {
    if (hasRetval) {
      // The operation writes the value's union member; the type tag is set after success.
      arguments[expected] = method->params.back().type == ParamType::kVariant
                                ? reinterpret_cast<uintptr_t>(&retval)
                                : reinterpret_cast<uintptr_t>(&retval.llVal);
    }
    const HRESULT result = CallSlot(pvInstance, slot, arguments, method->params.size());
    if (FAILED(result)) {
      if (pExcepInfo) {
        *pExcepInfo = EXCEPINFO{};
        pExcepInfo->scode = result;
        IErrorInfo* info = nullptr;
        if (GetErrorInfo(0, &info) == S_OK && info) {
          info->GetSource(&pExcepInfo->bstrSource);
          info->GetDescription(&pExcepInfo->bstrDescription);
          info->GetHelpFile(&pExcepInfo->bstrHelpFile);
          info->GetHelpContext(&pExcepInfo->dwHelpContext);
          info->Release();
        }
        hr = DISP_E_EXCEPTION;
      } else {
        hr = result;
      }
    } else if (hasRetval) {
      if (method->params.back().type != ParamType::kVariant)
        V_VT(&retval) = VarTypeOf(method->params.back().type);
      if (pVarResult) {
        VariantClear(pVarResult);
        *pVarResult = retval;
      } else {
        VariantClear(&retval);
      }
    }
  }
  for (auto& v : converted) VariantClear(&v);
  return hr;
}

STDMETHODIMP TypeInfo::GetDocumentation(MEMBERID memid, BSTR* pBstrName, BSTR* pBstrDocString,
                                        DWORD* pdwHelpContext, BSTR* pBstrHelpFile) {
  const std::wstring* name = &Type().name;
  const std::wstring* help = &Type().help;
  if (memid != DISPID_UNKNOWN) {
    const Method* method = FindMethod(memid, nullptr);
    if (!method) return TYPE_E_ELEMENTNOTFOUND;
    name = &method->name;
    help = nullptr;
  }
  if (pBstrName) *pBstrName = SysAllocString(name->c_str());
  if (pBstrDocString) *pBstrDocString = help ? SysAllocString(help->c_str()) : nullptr;
  if (pdwHelpContext) *pdwHelpContext = 0;
  if (pBstrHelpFile) *pBstrHelpFile = nullptr;
  return S_OK;
}

// A coclass creates its object through COM (CoCreateInstance of its CLSID).
STDMETHODIMP TypeInfo::CreateInstance(IUnknown* pUnkOuter, REFIID riid, void** ppvObj) {
  if (!ppvObj) return E_INVALIDARG;
  *ppvObj = nullptr;
  if (!Type().isCoclass) return TYPE_E_ELEMENTNOTFOUND;
  return CoCreateInstance(Type().guid, pUnkOuter, CLSCTX_INPROC_SERVER, riid, ppvObj);
}

STDMETHODIMP TypeInfo::GetContainingTypeLib(ITypeLib** ppTLib, UINT* pIndex) {
  if (ppTLib) {
    *ppTLib = lib_;
    lib_->AddRef();
  }
  if (pIndex) *pIndex = index_;
  return S_OK;
}

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40];
  StringFromGUID2(guid, text, 40);
  return text;
}

std::wstring VersionText(WORD major, WORD minor) {
  wchar_t text[24];
  swprintf(text, 24, L"%x.%x", major, minor);
  return text;
}

std::wstring HexText(DWORD value) {
  wchar_t text[16];
  swprintf(text, 16, L"%x", value);
  return text;
}

LONG SetKeyText(const std::wstring& path, const wchar_t* valueName, const std::wstring& text) {
  HKEY key = nullptr;
  LONG error =
      RegCreateKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  if (error != ERROR_SUCCESS) return error;
  error = RegSetValueExW(key, valueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                         static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
  return error;
}

std::wstring KeyText(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  wchar_t text[1024] = L"";
  DWORD size = sizeof(text) - sizeof(wchar_t);
  if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
    text[0] = L'\0';
  RegCloseKey(key);
  return text;
}

bool KeyExists(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

bool HasSubkeys(const std::wstring& path) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t name[256];
  DWORD size = 256;
  const bool any = RegEnumKeyExW(key, 0, name, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  RegCloseKey(key);
  return any;
}

// The TYPELIB resource `index` of a module, or nothing when the path is no module.
std::optional<std::string> ResourceText(const std::wstring& path, WORD index, bool* isModule) {
  *isModule = false;
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::nullopt;
  *isModule = true;
  std::optional<std::string> text;
  if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(index), L"TYPELIB")) {
    HGLOBAL loaded = LoadResource(module, found);
    const auto* bytes = static_cast<const char*>(LockResource(loaded));
    if (bytes) text.emplace(bytes, SizeofResource(module, found));
  }
  FreeLibrary(module);
  return text;
}

std::optional<std::string> FileText(const std::wstring& path) {
  std::ifstream file(platform::HostPathFromPlatform(path), std::ios::binary);
  if (!file) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

EXTERN_C HRESULT LoadTypeLib(LPCOLESTR szFile, ITypeLib** pptlib) {
  if (!szFile || !pptlib) return E_INVALIDARG;
  *pptlib = nullptr;
  std::wstring path = szFile;
  WORD index = 1;
  const size_t slash = path.find_last_of(L'\\');
  if (slash != std::wstring::npos && slash + 1 < path.size() &&
      path.find_first_not_of(L"0123456789", slash + 1) == std::wstring::npos && path.size() - slash <= 6) {
    const std::wstring prefix = path.substr(0, slash);
    bool isModule = false;
    if (ResourceText(prefix, 1, &isModule), isModule) {
      index = static_cast<WORD>(std::stoul(path.substr(slash + 1)));
      path = prefix;
    }
  }
  bool isModule = false;
  std::optional<std::string> text = ResourceText(path, index, &isModule);
  if (!isModule) text = FileText(path);
  if (!text) return TYPE_E_CANTLOADLIBRARY;
  std::optional<LibraryDescription> description = platform::typelib::ParseDescription(*text, nullptr);
  if (!description) return TYPE_E_CANTLOADLIBRARY;
  *pptlib = new (std::nothrow) TypeLib(std::move(*description));
  return *pptlib ? S_OK : E_OUTOFMEMORY;
}

EXTERN_C HRESULT LoadRegTypeLib(REFGUID rguid, WORD wVerMajor, WORD wVerMinor, LCID lcid, ITypeLib** pptlib) {
  if (!pptlib) return E_INVALIDARG;
  *pptlib = nullptr;
  const std::wstring libKey = L"TypeLib\\" + GuidText(rguid);
  std::wstring version = VersionText(wVerMajor, wVerMinor);
  if (!KeyExists(libKey + L"\\" + version)) {
    // The highest minor version of the same major one that is not older.
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CLASSES_ROOT, libKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
      return TYPE_E_LIBNOTREGISTERED;
    int best = -1;
    wchar_t name[64];
    for (DWORD i = 0;; ++i) {
      DWORD size = 64;
      if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      unsigned major = 0, minor = 0;
      if (swscanf(name, L"%x.%x", &major, &minor) == 2 && major == wVerMajor && minor >= wVerMinor &&
          static_cast<int>(minor) > best)
        best = static_cast<int>(minor);
    }
    RegCloseKey(key);
    if (best < 0) return TYPE_E_LIBNOTREGISTERED;
    version = VersionText(wVerMajor, static_cast<WORD>(best));
  }
  std::wstring path = KeyText(libKey + L"\\" + version + L"\\" + HexText(lcid) + L"\\win32");
  if (path.empty()) path = KeyText(libKey + L"\\" + version + L"\\0\\win32");
  if (path.empty()) return TYPE_E_LIBNOTREGISTERED;
  return LoadTypeLib(path.c_str(), pptlib);
}

EXTERN_C HRESULT RegisterTypeLib(ITypeLib* ptlib, LPCOLESTR szFullPath, LPCOLESTR szHelpDir) {
  if (!ptlib || !szFullPath) return E_INVALIDARG;
  TLIBATTR* attr = nullptr;
  HRESULT hr = ptlib->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  const std::wstring libid = GuidText(attr->guid);
  const std::wstring versionKey =
      L"TypeLib\\" + libid + L"\\" + VersionText(attr->wMajorVerNum, attr->wMinorVerNum);
  const std::wstring versionText = VersionText(attr->wMajorVerNum, attr->wMinorVerNum);
  const std::wstring lcidText = HexText(attr->lcid);
  const std::wstring flags = std::to_wstring(attr->wLibFlags & ~LIBFLAG_FHASDISKIMAGE);
  ptlib->ReleaseTLibAttr(attr);

  BSTR help = nullptr;
  ptlib->GetDocumentation(-1, nullptr, &help, nullptr, nullptr);
  std::wstring helpDir = szHelpDir ? szHelpDir : L"";
  if (!szHelpDir) {
    const std::wstring full = szFullPath;
    const size_t slash = full.find_last_of(L'\\');
    helpDir = slash == std::wstring::npos ? L"" : full.substr(0, slash);
  }
  LONG error = SetKeyText(versionKey, nullptr, help ? help : L"");
  SysFreeString(help);
  if (error == ERROR_SUCCESS)
    error = SetKeyText(versionKey + L"\\" + lcidText + L"\\win32", nullptr, szFullPath);
  if (error == ERROR_SUCCESS) error = SetKeyText(versionKey + L"\\FLAGS", nullptr, flags);
  if (error == ERROR_SUCCESS) error = SetKeyText(versionKey + L"\\HELPDIR", nullptr, helpDir);

  for (UINT i = 0; error == ERROR_SUCCESS && i < ptlib->GetTypeInfoCount(); ++i) {
    ITypeInfo* info = nullptr;
    if (FAILED(ptlib->GetTypeInfo(i, &info))) continue;
    TYPEATTR* typeAttr = nullptr;
    if (SUCCEEDED(info->GetTypeAttr(&typeAttr))) {
      if (typeAttr->typekind != TKIND_COCLASS && (typeAttr->wTypeFlags & TYPEFLAG_FDUAL)) {
        BSTR name = nullptr;
        info->GetDocumentation(DISPID_UNKNOWN, &name, nullptr, nullptr, nullptr);
        const std::wstring key = L"Interface\\" + GuidText(typeAttr->guid);
        error = SetKeyText(key, nullptr, name ? name : L"");
        SysFreeString(name);
        if (error == ERROR_SUCCESS)
          error = SetKeyText(key + L"\\ProxyStubClsid32", nullptr, kAutomationMarshaler);
        if (error == ERROR_SUCCESS) error = SetKeyText(key + L"\\TypeLib", nullptr, libid);
        if (error == ERROR_SUCCESS) error = SetKeyText(key + L"\\TypeLib", L"Version", versionText);
      }
      info->ReleaseTypeAttr(typeAttr);
    }
    info->Release();
  }
  return error == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(error);
}

EXTERN_C HRESULT UnRegisterTypeLib(REFGUID libID, WORD wVerMajor, WORD wVerMinor, LCID lcid, SYSKIND) {
  const std::wstring libid = GuidText(libID);
  const std::wstring libKey = L"TypeLib\\" + libid;
  const std::wstring versionKey = libKey + L"\\" + VersionText(wVerMajor, wVerMinor);
  if (!KeyExists(versionKey)) return TYPE_E_REGISTRYACCESS;
  // The library's interfaces, from the registered file, whose TypeLib key names this library.
  ITypeLib* lib = nullptr;
  std::wstring path = KeyText(versionKey + L"\\" + HexText(lcid) + L"\\win32");
  if (!path.empty() && SUCCEEDED(LoadTypeLib(path.c_str(), &lib))) {
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
      ITypeInfo* info = nullptr;
      if (FAILED(lib->GetTypeInfo(i, &info))) continue;
      TYPEATTR* typeAttr = nullptr;
      if (SUCCEEDED(info->GetTypeAttr(&typeAttr))) {
        const std::wstring key = L"Interface\\" + GuidText(typeAttr->guid);
        if (typeAttr->typekind != TKIND_COCLASS &&
            platform::CompareNoCase(KeyText(key + L"\\TypeLib"), libid) == 0)
          RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
        info->ReleaseTypeAttr(typeAttr);
      }
      info->Release();
    }
    lib->Release();
  }
  const LONG error = RegDeleteTreeW(HKEY_CLASSES_ROOT, versionKey.c_str());
  if (error != ERROR_SUCCESS) return HRESULT_FROM_WIN32(error);
  if (!HasSubkeys(libKey)) {
    const LONG deleted = RegDeleteKeyW(HKEY_CLASSES_ROOT, libKey.c_str());
    if (deleted != ERROR_SUCCESS && deleted != ERROR_FILE_NOT_FOUND) return HRESULT_FROM_WIN32(deleted);
  }
  return S_OK;
}
