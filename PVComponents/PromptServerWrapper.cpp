#include "PromptServerWrapper.h"

#include <ole2.h>

#include "PromptInfo.h"
#include "ResourceDllManager.h"
#include "Strings.h"

namespace {

constexpr LCID kDefaultLanguage = 1033;

// The language a service is set to without an explicit one: the loaded resource DLL's when
// the module has an instance handle, else the default.
LCID ServiceLanguage(const LCID* locale) {
  if (locale) return *locale;
  if (AfxGetInstanceHandle()) {
    const LCID language = GetResourceDllManager()->GetLanguage();
    if (language != 0) return language;
  }
  return kDefaultLanguage;
}

// Creates, starts and queries the service object; then sets its language if it has one.
template <class Ptr>
HRESULT CreateService(Ptr& held, const CLSID* clsid, const LCID* locale) {
  held = nullptr;
  if (!clsid) return E_INVALIDARG;
  IUnknownPtr created;
  HRESULT hr =
      CoCreateInstance(*clsid, nullptr, CLSCTX_ALL, IID_IUnknown, reinterpret_cast<void**>(&created));
  if (FAILED(hr)) return hr;
  hr = OleRun(created);
  if (SUCCEEDED(hr)) hr = created->QueryInterface(Ptr::GetIID(), reinterpret_cast<void**>(&held));
  if (FAILED(hr)) {
    held = nullptr;
    return hr;
  }
  IServerLocalePtr serverLocale;
  if (SUCCEEDED(held->QueryInterface(__uuidof(IServerLocale), reinterpret_cast<void**>(&serverLocale))) &&
      serverLocale) {
    serverLocale->SetLocale(ServiceLanguage(locale));
  }
  return S_OK;
}

std::shared_ptr<CSingletonStringServerWrapper> g_singletonStringServer;

}  // namespace

CPromptServerWrapper& CPromptServerWrapper::operator=(const CPromptServerWrapper& other) {
  if (this != &other && m_spServer.GetInterfacePtr() != other.m_spServer.GetInterfacePtr())
    m_spServer = other.m_spServer;
  return *this;
}

HRESULT CPromptServerWrapper::Initialize(const CLSID* clsid, const LCID* locale) {
  return CreateService(m_spServer, clsid, locale);
}

HRESULT CPromptServerWrapper::GetPrompt(LONG id, CPromptInfo* out) const {
  if (!out) return E_INVALIDARG;
  if (!m_spServer) return E_UNEXPECTED;
  out->Clear();
  _bstr_t caption;
  _bstr_t text;
  LONG type = 0;
  const HRESULT hr = m_spServer->GetPrompt(id, caption.GetAddress(), &type, text.GetAddress());
  if (SUCCEEDED(hr)) {
    out->m_text = TextOf(text);
    out->m_caption = TextOf(caption);
    out->m_type = type;
  }
  return hr;
}

CString CPromptServerWrapper::GetPromptText(LONG id, CString* caption, LONG* type) const {
  if (caption) caption->Empty();
  if (type) *type = 0;
  CPromptInfo prompt;
  if (!m_spServer || FAILED(GetPrompt(id, &prompt))) return CString();
  if (caption) *caption = prompt.m_caption;
  if (type) *type = prompt.m_type;
  return prompt.m_text;
}

CStringServerWrapper& CStringServerWrapper::operator=(const CStringServerWrapper& other) {
  if (this != &other && m_spServer.GetInterfacePtr() != other.m_spServer.GetInterfacePtr())
    m_spServer = other.m_spServer;
  return *this;
}

HRESULT CStringServerWrapper::Initialize(const CLSID* clsid, const LCID* locale) {
  return CreateService(m_spServer, clsid, locale);
}

CString CStringServerWrapper::GetString(LONG id) const {
  if (!m_spServer) return CString();
  _bstr_t text;
  const HRESULT hr = m_spServer->GetString(id, text.GetAddress());
  return SUCCEEDED(hr) ? TextOf(text) : CString();
}

HRESULT CStringServerWrapper::SetAccelerators(BOOL on) {
  if (!m_spServer) _com_issue_error(E_POINTER);
  return m_spServer->SetAccelerators(on ? VARIANT_TRUE : VARIANT_FALSE);
}

std::shared_ptr<CSingletonStringServerWrapper> GetSingletonStringServerWrapper() {
  if (!g_singletonStringServer) g_singletonStringServer = std::make_shared<CSingletonStringServerWrapper>();
  return g_singletonStringServer;
}
