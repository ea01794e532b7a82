#include "PVComponentsGlobals.h"

#include <HostServices.h>
#include <htmlhelp.h>
#include <winuser.h>

#include <cmath>
#include <limits>

#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVComponentsGlobals");
constexpr size_t kClsidTextBufferSize = 64;
constexpr LONG kFirstNewProductRelease = 21;
constexpr wchar_t kNewProductName[] = L"Vexil Designer";
constexpr wchar_t kOldProductName[] = L"Tavelin 5000";

}  // namespace

CString Clsid2String(REFGUID guid) {
  LPOLESTR text = nullptr;
  if (FAILED(StringFromCLSID(guid, &text))) {
    Log(L"Error: CLSIDFromString failed!", L"Clsid2String", __LINE__);
    return CString();
  }
  CString result(text);
  CoTaskMemFree(text);
  return result;
}

GUID String2Clsid(const CString& text) {
  GUID guid = GUID_NULL;
  // The conversion works on a zeroed copy of its own; a longer text would not fit it.
  wchar_t local[kClsidTextBufferSize] = {};
  if (static_cast<size_t>(text.GetLength()) >= kClsidTextBufferSize) {
    Log(L"Error: CLSIDFromString failed!", L"String2Clsid", __LINE__);
    return guid;
  }
  wcsncpy(local, text.GetString(), kClsidTextBufferSize - 1);
  if (FAILED(CLSIDFromString(local, &guid))) {
    Log(L"Error: CLSIDFromString failed!", L"String2Clsid", __LINE__);
    return GUID_NULL;
  }
  return guid;
}

CString GetApplicationName(IUnknown* module) {
  IModuleInternal7Ptr version;
  if (module) {
    const HRESULT hr = module->QueryInterface(__uuidof(IModuleInternal7), reinterpret_cast<void**>(&version));
    if (FAILED(hr) && hr != E_NOINTERFACE) _com_issue_error(hr);
  }
  if (!version) {
    Log(L"Invalid IModuleInternal7 pointer", L"GetApplicationName", __LINE__);
    return kNewProductName;
  }
  LONG major = 0;
  LONG minor = 0;
  if (FAILED(version->get_CurrentVexilVersion(&major, &minor))) {
    Log(L"Failed get_CurrentVexilVersion\n", L"GetApplicationName", __LINE__);
    return kNewProductName;
  }
  return minor < kFirstNewProductRelease ? kOldProductName : kNewProductName;
}

BOOL InterfaceIsValid(const void* pointer) {
  if (pointer) return TRUE;
  Log(L"Error: Interface pointer check failed!", L"InterfaceIsValid", __LINE__);
  return FALSE;
}

BOOL IsOnlineVexilMode(LONG mode) {
  return mode >= 1 && mode <= 6 ? TRUE : FALSE;
}

VARIANT_BOOL BoolToVariantBool(BOOL value) {
  return value ? VARIANT_TRUE : VARIANT_FALSE;
}

BOOL VariantBoolToBool(VARIANT_BOOL value) {
  return value == VARIANT_TRUE ? TRUE : FALSE;
}

HRESULT BoolToHResult(BOOL value) {
  return value ? S_OK : E_FAIL;
}

BOOL HResultSucceeded(HRESULT hr) {
  return hr >= 0 ? TRUE : FALSE;
}

CString FormatHResult(HRESULT hr) {
  CString text;
  text.FormatMessage(L"0x%1!X!", static_cast<DWORD_PTR>(static_cast<ULONG>(hr)));
  return text;
}

CString FormatLastErrorText() {
  const DWORD code = GetLastError();
  LPWSTR buffer = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
      code, 0x400, reinterpret_cast<LPWSTR>(&buffer), 0, nullptr);
  CString text;
  if (length == 0 || !buffer) {
    text.Format(L"Unknown error %u", code);
  } else {
    text = buffer;
    text.TrimRight(L"\r\n\t\v\f");
  }
  if (buffer) LocalFree(buffer);
  return text;
}

HRESULT GetObjectErrorInfo(IUnknown* object, REFIID iid, IErrorInfo** out) {
  if (!out) return E_POINTER;
  // The reference the out-parameter held is given up first.
  IErrorInfoPtr(*out, false);
  *out = nullptr;
  if (!object) return E_POINTER;
  ISupportErrorInfoPtr support;
  HRESULT hr = object->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support));
  if (FAILED(hr)) return hr;
  hr = support->InterfaceSupportsErrorInfo(iid);
  if (FAILED(hr)) return hr;
  if (hr != S_OK) return E_NOINTERFACE;
  IErrorInfo* info = nullptr;
  hr = GetErrorInfo(0, &info);
  if (FAILED(hr)) return hr;
  if (hr == S_FALSE || !info) return E_FAIL;
  *out = info;
  return S_OK;
}

float MillisecondsToSeconds(int milliseconds) {
  return static_cast<float>(milliseconds) / 1000.0f;
}

int SecondsToMilliseconds(float seconds) {
  const double ms = static_cast<double>(seconds) * 1000.0;
  if (std::isnan(ms)) return 0;
  if (ms >= static_cast<double>(std::numeric_limits<int>::max())) return std::numeric_limits<int>::max();
  if (ms <= static_cast<double>(std::numeric_limits<int>::min())) return std::numeric_limits<int>::min();
  return static_cast<int>(ms);
}

HRESULT ShowHtmlHelp(DWORD_PTR data, UINT command) {
  CWinApp* app = AfxGetApp();
  if (!app) {
    Log(L"Internal error, invlaid pApp\n", L"ShowHtmlHelp", __LINE__);
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, MB_OK);
    return E_FAIL;
  }
  if (!HtmlHelpW(nullptr, app->m_pszHelpFilePath, command, data)) {
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, MB_OK);
    return E_FAIL;
  }
  return S_OK;
}
