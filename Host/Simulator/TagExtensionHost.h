// The host object that an extension component is attached to: it answers the module's
// configuration tag, the host's own validation and its locale, and it aggregates the
// extension, so it outlives the extension's non-owning pointers to it.
#pragma once

#include <HostExtension.h>
#include <HostTags.h>

#include <atomic>
#include <optional>
#include <set>
#include <string>

#include "ConfigurationTag.h"

namespace hostsim {

// What a host sees of one validation.
struct ValidationOutcome {
  HRESULT result = S_OK;
  // The thread's error information after the call (GetErrorInfo).
  bool hasErrorInfo = false;
  GUID errorInterface{};
  std::wstring errorSource;
  std::wstring errorDescription;
  std::wstring errorHelpFile;
  // IValidate::GetLastMessage afterwards.
  HRESULT lastMessageResult = S_OK;
  std::optional<std::wstring> lastMessage;  // nullopt for a null BSTR
};

class TagExtensionHost : public ITag, public IValidate, public IHostLocale {
 public:
  // A new host object over the tag (AddRef'd), with one reference for the caller. Host
  // validation passes, the language is 1033.
  static TagExtensionHost* Create(ConfigurationTag* tag);

  // IUnknown: IUnknown, ITag, IValidate (the host's own), IHostLocale; every other interface
  // is asked of the aggregated extension. Refused interfaces answer E_NOINTERFACE.
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch of ITag and IValidate: early-bound only (E_NOTIMPL).
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // ITag: the configuration tag's.
  STDMETHODIMP GetMemberValue(BSTR member, VARIANT* value) override;
  STDMETHODIMP SetMemberValue(BSTR member, VARIANT value) override;
  STDMETHODIMP GetEnumValue(BSTR member, LONG* index) override;
  STDMETHODIMP SetEnumValue(BSTR member, LONG index) override;
  STDMETHODIMP GetEnumStrings(BSTR member, SAFEARRAY** texts) override;
  STDMETHODIMP GetMinValue(BSTR member, VARIANT* value) override;
  STDMETHODIMP GetMaxValue(BSTR member, VARIANT* value) override;
  // IValidate (the host's own): the settable result; the message as a new BSTR (null when
  // none is set) or the settable failure.
  STDMETHODIMP Validate() override;
  STDMETHODIMP GetLastMessage(BSTR* message) override;
  // IHostLocale: the placeholders answer E_NOTIMPL; the language or its settable failure.
  STDMETHODIMP Reserved1() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved2() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved3() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved4() override { return E_NOTIMPL; }
  STDMETHODIMP Reserved5() override { return E_NOTIMPL; }
  STDMETHODIMP GetUILanguage(LCID* language) override;

  // Knobs.
  void SetHostValidation(HRESULT result, std::optional<std::wstring> message = std::nullopt,
                         HRESULT messageResult = S_OK);
  void SetLanguage(LCID language, HRESULT result = S_OK);
  void RefuseInterface(const IID& iid) { m_refused.insert(iid); }
  int HostValidateCalls() const { return m_hostValidateCalls; }
  int HostMessageCalls() const { return m_hostMessageCalls; }
  ConfigurationTag* Tag() const { return m_tag; }

  // The host's road to an extension: creates the class from the registry (CoCreateInstance)
  // aggregated in this object. Returns CoCreateInstance's result; E_UNEXPECTED when one is
  // held already.
  HRESULT CreateExtension(const CLSID& clsid);
  // IExtensionComponent::Attach(this object) on the extension.
  HRESULT AttachExtension();
  // The extension's IValidate::Validate, the error information it left and its message.
  ValidationOutcome ValidateWithExtension();
  // The extension's interface (AddRef'd), asked of its own IUnknown.
  HRESULT QueryExtension(const IID& iid, void** ppv) const;

 private:
  explicit TagExtensionHost(ConfigurationTag* tag);
  virtual ~TagExtensionHost();

  struct IidLess {
    bool operator()(const IID& a, const IID& b) const;
  };

  std::atomic<ULONG> m_refs{1};
  ConfigurationTag* m_tag;
  IUnknown* m_extension = nullptr;  // the aggregated extension's own IUnknown
  HRESULT m_validateResult = S_OK;
  std::optional<std::wstring> m_validateMessage;
  HRESULT m_messageResult = S_OK;
  LCID m_language = 1033;
  HRESULT m_languageResult = S_OK;
  std::set<IID, IidLess> m_refused;
  int m_hostValidateCalls = 0;
  int m_hostMessageCalls = 0;
};

// Registers the host's type libraries (PSINTERFACESLib with IExtensionComponent,
// MODULESERVICESLib with IValidate) as the installed host has them: their descriptions in the
// definitions folder on the stand-in, their compiled libraries of the build on Windows. Returns LoadTypeLib's or RegisterTypeLib's error.
HRESULT RegisterHostTypeLibraries();

}  // namespace hostsim
