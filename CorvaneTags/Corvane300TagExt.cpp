#include "Corvane300TagExt.h"

#include "OrvoWinApp.h"
#include "ResourceDllManager.h"
#include "resource.h"

namespace {

_COM_SMARTPTR_TYPEDEF(IValidate, IID_IValidate);
_COM_SMARTPTR_TYPEDEF(IHostLocale, IID_IHostLocale);

}  // namespace

OBJECT_ENTRY_AUTO(CLSID_Corvane300TagExt, CCorvane300TagExt)

STDMETHODIMP CCorvane300TagExt::InterfaceSupportsErrorInfo(REFIID riid) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return riid == IID_IValidate ? S_OK : S_FALSE;
}

STDMETHODIMP CCorvane300TagExt::Attach(IUnknown* hostObject) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_pTag || m_pHostValidate) return E_POINTER;
  if (!hostObject) return E_POINTER;

  // The host object holds the extension: its interfaces are kept without a reference (each
  // query's reference goes with its holder).
  ITagPtr tag;
  HRESULT hr = hostObject->QueryInterface(IID_ITag, reinterpret_cast<void**>(&tag));
  if (FAILED(hr)) return hr;
  m_pTag = tag;
  IValidatePtr validate;
  hr = hostObject->QueryInterface(IID_IValidate, reinterpret_cast<void**>(&validate));
  if (FAILED(hr)) return hr;
  m_pHostValidate = validate;

  IHostLocalePtr locale;
  hr = hostObject->QueryInterface(IID_IHostLocale, reinterpret_cast<void**>(&locale));
  if (FAILED(hr)) return hr;
  // A language the platform has no abbreviation for has no resource DLL: its name would be the
  // module's own file, which holds none of the messages, so such a language takes the fallback.
  LCID language = 0;
  if (FAILED(locale->GetUILanguage(&language))) {
    hr = S_OK;  // the language stays as it is
  } else if (!GetLanguageAbbreviation(language).IsEmpty() && GetResourceDllManager()->SetLanguage(language)) {
    hr = S_OK;
  } else if (language == kFallbackLanguage) {
    hr = E_CORVANETAGS_NOT_ATTACHED;
  } else {
    hr = GetResourceDllManager()->SetLanguage(kFallbackLanguage) ? S_OK : E_CORVANETAGS_NOT_ATTACHED;
  }
  return hr;
}

STDMETHODIMP CCorvane300TagExt::Validate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!m_pHostValidate) return ReportError(LoadText(IDS_VALIDATION_NOT_POSSIBLE), E_CORVANETAGS_NOT_ATTACHED);

  const HRESULT hostResult = m_pHostValidate->Validate();
  if (SUCCEEDED(hostResult)) return ValidateDeviceRules();

  // The host's message is the caller's BSTR: the field takes a copy and it is freed here.
  _bstr_t hostMessage;
  const HRESULT messageResult = m_pHostValidate->GetLastMessage(hostMessage.GetAddress());
  const wchar_t* hostText = hostMessage;  // null when the host gave none
  if (!hostText || hostText != static_cast<const wchar_t*>(m_bstrMessage))
    m_bstrMessage = hostText ? _bstr_t(hostText) : _bstr_t();
  if (FAILED(messageResult))
    return ReportError(LoadText(IDS_VALIDATION_NOT_POSSIBLE), E_CORVANETAGS_NOT_ATTACHED);
  return hostResult;
}

STDMETHODIMP CCorvane300TagExt::GetLastMessage(BSTR* message) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!message) return E_POINTER;
  const BSTR held = static_cast<wchar_t*>(m_bstrMessage);
  *message = m_bstrMessage.length() == 0
                 ? nullptr
                 : SysAllocStringByteLen(reinterpret_cast<LPCSTR>(held), SysStringByteLen(held));
  return S_OK;
}

HRESULT CCorvane300TagExt::ReportError(const CString& text, HRESULT hr) {
  return Error(text.GetString(), IID_IValidate, hr);
}

CString CCorvane300TagExt::LoadText(UINT id) const {
  CString text;
  text.LoadString(id);
  return text;
}
