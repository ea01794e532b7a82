#include "TagExtensionHost.h"

#include <objbase.h>
#include <oleauto.h>
#include <platform/paths.h>

#include <cassert>
#include <cstring>
#include <filesystem>
#include <string>

namespace hostsim {

TagExtensionHost* TagExtensionHost::Create(ConfigurationTag* tag) {
  return new TagExtensionHost(tag);
}

TagExtensionHost::TagExtensionHost(ConfigurationTag* tag) : m_tag(tag) {
  m_tag->AddRef();
}

TagExtensionHost::~TagExtensionHost() {
  if (m_extension) m_extension->Release();
  m_tag->Release();
}

bool TagExtensionHost::IidLess::operator()(const IID& a, const IID& b) const {
  return std::memcmp(&a, &b, sizeof(IID)) < 0;
}

STDMETHODIMP TagExtensionHost::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  if (m_refused.count(riid)) return E_NOINTERFACE;
  if (riid == IID_IUnknown)
    *ppv = static_cast<ITag*>(this);
  else if (riid == IID_ITag)
    *ppv = static_cast<ITag*>(this);
  else if (riid == IID_IValidate)
    *ppv = static_cast<IValidate*>(this);
  else if (riid == IID_IHostLocale)
    *ppv = static_cast<IHostLocale*>(this);
  else
    return m_extension ? m_extension->QueryInterface(riid, ppv) : E_NOINTERFACE;
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) TagExtensionHost::AddRef() {
  return m_refs.fetch_add(1) + 1;
}

STDMETHODIMP_(ULONG) TagExtensionHost::Release() {
  const ULONG before = m_refs.fetch_sub(1);
  assert(before != 0 && "Release below zero");
  if (before == 1) {
    m_refs.store(1);  // stabilized: releasing the aggregated extension may call back
    delete this;
  }
  return before - 1;
}

STDMETHODIMP TagExtensionHost::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}
STDMETHODIMP TagExtensionHost::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
STDMETHODIMP TagExtensionHost::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
STDMETHODIMP TagExtensionHost::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

STDMETHODIMP TagExtensionHost::GetMemberValue(BSTR member, VARIANT* value) {
  return m_tag->GetMemberValue(member, value);
}
STDMETHODIMP TagExtensionHost::SetMemberValue(BSTR member, VARIANT value) {
  return m_tag->SetMemberValue(member, value);
}
STDMETHODIMP TagExtensionHost::GetEnumValue(BSTR member, LONG* index) {
  return m_tag->GetEnumValue(member, index);
}
STDMETHODIMP TagExtensionHost::SetEnumValue(BSTR member, LONG index) {
  return m_tag->SetEnumValue(member, index);
}
STDMETHODIMP TagExtensionHost::GetEnumStrings(BSTR member, SAFEARRAY** texts) {
  return m_tag->GetEnumStrings(member, texts);
}
STDMETHODIMP TagExtensionHost::GetMinValue(BSTR member, VARIANT* value) {
  return m_tag->GetMinValue(member, value);
}
STDMETHODIMP TagExtensionHost::GetMaxValue(BSTR member, VARIANT* value) {
  return m_tag->GetMaxValue(member, value);
}

STDMETHODIMP TagExtensionHost::Validate() {
  ++m_hostValidateCalls;
  return m_validateResult;
}

STDMETHODIMP TagExtensionHost::GetLastMessage(BSTR* message) {
  ++m_hostMessageCalls;
  if (!message) return E_POINTER;
  *message = nullptr;
  if (FAILED(m_messageResult)) return m_messageResult;
  if (m_validateMessage) *message = SysAllocString(m_validateMessage->c_str());
  return S_OK;
}

STDMETHODIMP TagExtensionHost::GetUILanguage(LCID* language) {
  if (!language) return E_POINTER;
  if (FAILED(m_languageResult)) return m_languageResult;
  *language = m_language;
  return S_OK;
}

void TagExtensionHost::SetHostValidation(HRESULT result, std::optional<std::wstring> message,
                                         HRESULT messageResult) {
  m_validateResult = result;
  m_validateMessage = std::move(message);
  m_messageResult = messageResult;
}

void TagExtensionHost::SetLanguage(LCID language, HRESULT result) {
  m_language = language;
  m_languageResult = result;
}

HRESULT TagExtensionHost::CreateExtension(const CLSID& clsid) {
  if (m_extension) return E_UNEXPECTED;
  return CoCreateInstance(clsid, static_cast<ITag*>(this), CLSCTX_INPROC_SERVER, IID_IUnknown,
                          reinterpret_cast<void**>(&m_extension));
}

HRESULT TagExtensionHost::QueryExtension(const IID& iid, void** ppv) const {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  return m_extension ? m_extension->QueryInterface(iid, ppv) : E_NOINTERFACE;
}

HRESULT TagExtensionHost::AttachExtension() {
  IExtensionComponent* component = nullptr;
  HRESULT hr = QueryExtension(IID_IExtensionComponent, reinterpret_cast<void**>(&component));
  if (FAILED(hr)) return hr;
  hr = component->Attach(static_cast<ITag*>(this));
  component->Release();
  return hr;
}

ValidationOutcome TagExtensionHost::ValidateWithExtension() {
  ValidationOutcome outcome;
  IValidate* validate = nullptr;
  outcome.result = QueryExtension(IID_IValidate, reinterpret_cast<void**>(&validate));
  if (FAILED(outcome.result)) return outcome;
  SetErrorInfo(0, nullptr);
  outcome.result = validate->Validate();
  IErrorInfo* info = nullptr;
  if (GetErrorInfo(0, &info) == S_OK && info) {
    outcome.hasErrorInfo = true;
    BSTR text = nullptr;
    info->GetGUID(&outcome.errorInterface);
    if (SUCCEEDED(info->GetSource(&text)) && text) outcome.errorSource = text;
    SysFreeString(text);
    text = nullptr;
    if (SUCCEEDED(info->GetDescription(&text)) && text) outcome.errorDescription = text;
    SysFreeString(text);
    text = nullptr;
    if (SUCCEEDED(info->GetHelpFile(&text)) && text) outcome.errorHelpFile = text;
    SysFreeString(text);
    info->Release();
  }
  BSTR message = nullptr;
  outcome.lastMessageResult = validate->GetLastMessage(&message);
  if (message) outcome.lastMessage = std::wstring(message, SysStringLen(message));
  SysFreeString(message);
  validate->Release();
  return outcome;
}

HRESULT RegisterHostTypeLibraries() {
  for (const char* name : {"PSInterfaces", "ModuleServices"}) {
    const std::filesystem::path file = std::filesystem::path(HOST_SIMULATOR_TYPE_LIBRARIES_DIR) /
                                       (std::string(name) + HOST_SIMULATOR_TYPE_LIBRARY_SUFFIX);
    // Not const: not every SDK declares RegisterTypeLib's path const.
    std::wstring path = platform::PlatformPathFromHost(file.string());
    ITypeLib* lib = nullptr;
    HRESULT hr = LoadTypeLib(path.c_str(), &lib);
    if (FAILED(hr)) return hr;
    hr = RegisterTypeLib(lib, path.data(), nullptr);
    lib->Release();
    if (FAILED(hr)) return hr;
  }
  return S_OK;
}

}  // namespace hostsim
