// The tag extension of the Coriolis module: attached to the host's module object, it loads
// the language resource DLL of the host's language and validates the module's configuration.
#pragma once

#include <atlbase.h>
#include <atlcom.h>
#include <comutil.h>

#include <HostExtension.h>
#include <HostTags.h>

#include <afxwin.h>

#include "PVLiveObjects.h"

inline constexpr CLSID CLSID_Corvane300TagExt =
    platform::GuidFromText("3D72AD1A-B9EE-46EB-8E32-E929007240BA");
inline constexpr GUID LIBID_CorvaneTagsLib = platform::GuidFromText("DCAA8F19-84A4-4ACA-A296-4797F7D06C55");

// The extension's own failures: not attached or no language (and a failed host message), and
// a configuration that cannot be read.
inline constexpr HRESULT E_CORVANETAGS_NOT_ATTACHED = static_cast<HRESULT>(0x80040300);
inline constexpr HRESULT E_CORVANETAGS_UNREADABLE = static_cast<HRESULT>(0x80040200);

// The language tried when the resource DLL of the host's language does not load.
inline constexpr LCID kFallbackLanguage = 1033;

class CCorvane300TagExt
    : public CComObjectRootEx<CComSingleThreadModel>,
      public CComCoClass<CCorvane300TagExt, &CLSID_Corvane300TagExt>,
      public ISupportErrorInfo,
      public IDispatchImpl<IExtensionComponent, &IID_IExtensionComponent, &LIBID_PSINTERFACESLib>,
      public IDispatchImpl<IValidate, &IID_IValidate, &LIBID_MODULESERVICESLib> {
 public:
  CCorvane300TagExt() = default;
  virtual ~CCorvane300TagExt() = default;
  CCorvane300TagExt(const CCorvane300TagExt&) = delete;
  CCorvane300TagExt& operator=(const CCorvane300TagExt&) = delete;

  DECLARE_REGISTRY_RESOURCEID(119)

  BEGIN_COM_MAP(CCorvane300TagExt)
  COM_INTERFACE_ENTRY(IExtensionComponent)
  COM_INTERFACE_ENTRY(IValidate)
  COM_INTERFACE_ENTRY2(IDispatch, IExtensionComponent)
  COM_INTERFACE_ENTRY(ISupportErrorInfo)
  END_COM_MAP()

  DECLARE_PROTECT_FINAL_CONSTRUCT()

  // ISupportErrorInfo: S_OK for IValidate, S_FALSE for every other interface.
  STDMETHOD(InterfaceSupportsErrorInfo)(REFIID riid) override;

  // IExtensionComponent: takes the host object's tag, validation and language. S_OK; E_POINTER
  // once attached (also after a partly failed attach); a failed QueryInterface unchanged;
  // 0x80040300 when neither the host language's resource DLL nor the fallback's loads.
  STDMETHOD(Attach)(IUnknown* hostObject) override;

  // IValidate: the host object's validation, then the device rules. S_OK; the host's failure
  // (its message kept); E_FAIL for a broken rule; 0x80040200 when the configuration cannot be
  // read; 0x80040300 when not attached or the host's message cannot be had.
  STDMETHOD(Validate)() override;
  // A copy of the message field: null before any failure, the member of the last broken rule
  // or the host's message. E_POINTER for null.
  STDMETHOD(GetLastMessage)(BSTR* message) override;

  // The device rules over the 21 members of the configuration tag.
  HRESULT ValidateDeviceRules();

 private:
  // Sets the text as the thread's error information (source: the ProgID, interface IValidate)
  // and returns hr.
  HRESULT ReportError(const CString& text, HRESULT hr);
  CString LoadText(UINT id) const;

  // Non-owning: valid while the host object, which holds the extension, lives.
  ITag* m_pTag = nullptr;
  IValidate* m_pHostValidate = nullptr;
  _bstr_t m_bstrMessage;
  CPVLiveObject<CCorvane300TagExt> m_live;  // counted for the tests' leak checks
};
