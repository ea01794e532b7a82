#include "PVConfigPanelEnum.h"

#include <new>

#include "PVComponentsGlobals.h"
#include "PVGetSetAdapterITag.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVConfigPanelEnum");
constexpr DWORD kNotConnectedCookie = 0xFEFEFEFE;

}  // namespace

// CPVPanelEnum and CPVPanel carry no run-time class record of their own: the nearest one is
// the dialog's.
IMPLEMENT_DYNAMIC(CPVConfigPanelEnum, CDialog)

BEGIN_MESSAGE_MAP(CPVConfigPanelEnum, CPVPanelEnum)
END_MESSAGE_MAP()

CPVConfigPanelEnum::CPVConfigPanelEnum(UINT nIDTemplate) : CPVPanelEnum(nIDTemplate) {
  m_tagExtPropertyAdapters.max_load_factor(1.0f);
  m_tagExtPropertyAdapters.rehash(8);
}

// The controls (the page's members) are gone by now; value objects they gave up may still be
// held elsewhere and keep their own adapter references.
CPVConfigPanelEnum::~CPVConfigPanelEnum() {
  if (FAILED(UnsubscribeToVexilEvents()))
    Log(L"Failed to unsubscribe to vexil events.", L"CPVConfigPanelEnum::~CPVConfigPanelEnum", __LINE__);
  // A tag must not keep calling a sink that goes with the panel: whatever the walk left
  // connected is disconnected here, the host's answer ignored.
  for (CIOTagEntry& entry : m_ioTags) {
    CIOTagEventSink* sink = entry.spIOTagEventSink.get();
    if (sink && entry.spITag && sink->m_dwEventCookie != kNotConnectedCookie)
      sink->DispEventUnadvise(entry.spITag);
  }
  m_spIPVGetSetAdapter = nullptr;
  m_spSafetyIPVGetSetAdapter = nullptr;
  m_privateAdapters.clear();
  m_tagExtPropertyAdapters.clear();
  m_ioTags.clear();
}

void CPVConfigPanelEnum::DoDataExchange(CDataExchange*) {}

BOOL CPVConfigPanelEnum::CreateTagAdapter(ITag* tag, IPVGetSetAdapterPtr& spAdapter) {
  CPVGetSetAdapterITag* created = new (std::nothrow) CPVGetSetAdapterITag(tag);
  // The new adapter takes the old one's place (which is released) before it is checked, so a
  // failed creation leaves no adapter rather than the one of an earlier Init.
  spAdapter.Attach(created ? static_cast<IPVGetSetAdapter*>(created) : nullptr);
  return InterfaceIsValid(created);
}

IModule* CPVConfigPanelEnum::GetHostModule() {
  IPVParent* parent = GetIPVParent();
  IModule* module = nullptr;  // the host's: borrowed, never released
  if (!parent || FAILED(parent->GetModule(&module))) return nullptr;
  return module;
}

// ---------------------------------------------------------------------------------------------
// IPVChild

STDMETHODIMP CPVConfigPanelEnum::Init(IUnknown* pParent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  static constexpr wchar_t kFunction[] = L"CPVConfigPanelEnum::Init";
  if (FAILED(CPVPanelEnum::Init(pParent))) {
    Log(L"Base class initialization failed.", kFunction, __LINE__);
    return E_FAIL;
  }
  IModule* module = GetHostModule();
  if (!module) {
    Log(L"Unable to get IModule interface.", kFunction, __LINE__);
    return E_UNEXPECTED;
  }

  ITagPtr standardTag;
  HRESULT hr = module->GetConfigurationTag(&standardTag);
  if (FAILED(hr) && hr != E_NOINTERFACE) {
    Log(L"Failed to get tag component.", kFunction, __LINE__);
    return E_FAIL;
  }
  const bool hasStandardTag = SUCCEEDED(hr) && standardTag;
  if (hasStandardTag && !CreateTagAdapter(standardTag, m_spIPVGetSetAdapter)) {
    Log(L"Failed to create adapter object.", kFunction, __LINE__);
    return E_FAIL;
  }

  IModuleSafetyTagPtr safety;
  hr = module->QueryInterface(__uuidof(IModuleSafetyTag), reinterpret_cast<void**>(&safety));
  if (FAILED(hr) && hr != E_NOINTERFACE) {
    // A module that cannot say whether it has a safety tag: its failure, as the safety tag's.
    Log(L"Failed to get safety tag component.", kFunction, __LINE__);
    return hr;
  }
  if (SUCCEEDED(hr) && safety) {
    ITagPtr safetyTag;
    hr = safety->GetSafetyConfigurationTag(&safetyTag);
    if (FAILED(hr) && hr != E_NOINTERFACE) {
      Log(L"Failed to get safety tag component.", kFunction, __LINE__);
      return E_FAIL;
    }
    if (SUCCEEDED(hr) && safetyTag) {
      if (!CreateTagAdapter(safetyTag, m_spSafetyIPVGetSetAdapter)) {
        Log(L"Failed to create safety adapter object.", kFunction, __LINE__);
        return E_FAIL;
      }
      return S_OK;
    }
  }
  if (hasStandardTag) return S_OK;
  Log(L"Failed to get config tag component, Neither of safety and standard config tag exists.\n", kFunction,
      __LINE__);
  return E_FAIL;
}

STDMETHODIMP CPVConfigPanelEnum::OnActivate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(SubscribeToVexilEvents()))
    Log(L"Failed to subscribe to vexil events.", L"CPVConfigPanelEnum::OnActivate", __LINE__);
  return CPVPanelEnum::OnActivate();
}

STDMETHODIMP CPVConfigPanelEnum::OnDeactivate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (FAILED(UnsubscribeToVexilEvents()))
    Log(L"Failed to unsubscribe to vexil events.", L"CPVConfigPanelEnum::OnDeactivate", __LINE__);
  return CPVPanelEnum::OnDeactivate();
}

// ---------------------------------------------------------------------------------------------
// Adapters

IPVGetSetAdapter* CPVConfigPanelEnum::GetIPVGetSetAdapter() {
  if (!m_spIPVGetSetAdapter)
    Log(L"CPVConfigPanelEnum has a NULL adapter pointer.", L"CPVConfigPanelEnum::GetIPVGetSetAdapter",
        __LINE__);
  return m_spIPVGetSetAdapter;
}

IPVGetSetAdapter* CPVConfigPanelEnum::GetSafetyIPVGetSetAdapter() {
  if (!m_spSafetyIPVGetSetAdapter)
    Log(L"CPVConfigPanelEnum has a NULL safety adapter pointer.",
        L"CPVConfigPanelEnum::GetSafetyIPVGetSetAdapter", __LINE__);
  return m_spSafetyIPVGetSetAdapter;
}

IPVGetSetAdapter* CPVConfigPanelEnum::GetPrivateIPVGetSetAdapter(const wchar_t* tagName) {
  static constexpr wchar_t kFunction[] = L"CPVConfigPanelEnum::GetPrivateIPVGetSetAdapter";
  const std::wstring name = tagName ? tagName : L"";
  const auto found = m_privateAdapters.find(name);
  if (found != m_privateAdapters.end()) return found->second;
  IModule* module = GetHostModule();
  if (!module) {
    Log(L"Failed to call GetIModule\n", kFunction, __LINE__);
    return nullptr;
  }
  IModulePrivateTagsPtr privateTags;
  if (FAILED(module->QueryInterface(__uuidof(IModulePrivateTags), reinterpret_cast<void**>(&privateTags))) ||
      !privateTags)
    return nullptr;
  ITagPtr tag;
  if (FAILED(privateTags->GetPrivateTag(_bstr_t(name.c_str()), &tag)) || !tag) return nullptr;
  IPVGetSetAdapterPtr adapter;
  if (!CreateTagAdapter(tag, adapter)) {
    Log(L"Failed to create adapter object.", kFunction, __LINE__);
    return nullptr;
  }
  IPVGetSetAdapter* handedOut = adapter;
  m_privateAdapters.emplace(name, std::move(adapter));
  return handedOut;
}

IPVGetSetAdapter* CPVConfigPanelEnum::GetTagExtPropertyIPVGetSetAdapter(LONG tagType, LONG propertyKey,
                                                                        const wchar_t* memberName) {
  IModule* module = GetHostModule();
  if (!module) {
    Log(L"Failed to call GetIModule\n", L"CPVConfigPanelEnum::GetTagExtPropertyIPVGetSetAdapter", __LINE__);
    return nullptr;
  }
  return ::GetTagExtPropertyIPVGetSetAdapter(module, tagType, propertyKey, memberName,
                                             m_tagExtPropertyAdapters);
}

// ---------------------------------------------------------------------------------------------
// I/O tag events

HRESULT CPVConfigPanelEnum::AddIOTagToList(ITag2* spITag2) {
  if (!spITag2) {
    Log(L"spITag2 is null pointer\n", L"CPVConfigPanelEnum::AddIOTagToList", __LINE__);
    return E_INVALIDARG;
  }
  for (const CIOTagEntry& entry : m_ioTags)
    if (entry.spITag == spITag2) return S_OK;  // one object, whichever interface
  m_ioTags.push_back(CIOTagEntry{nullptr, nullptr, ITag2Ptr(spITag2)});
  return S_OK;
}

HRESULT CPVConfigPanelEnum::OnIOTagDataChanged() {
  return DataChanged();
}

HRESULT CPVConfigPanelEnum::OnIOTagFlush() {
  return Flush();
}

HRESULT CPVConfigPanelEnum::SubscribeToVexilEvents() {
  static constexpr wchar_t kFunction[] = L"CPVConfigPanelEnum::SubscribeToVexilEvents";
  for (CIOTagEntry& entry : m_ioTags) {
    if (!entry.spITag) {
      Log(L"Invalid spITagPtr pointer\n", kFunction, __LINE__);
      return E_FAIL;
    }
    // A sink still connected would be advised twice and its first cookie lost.
    if (entry.spIOTagEventSink && (entry.spIOTagEventSink->m_bConnected ||
                                   entry.spIOTagEventSink->m_dwEventCookie != kNotConnectedCookie)) {
      Log(L"Fail to connect status tag events sink", kFunction, __LINE__);
      return CONNECT_E_ADVISELIMIT;
    }
    IServicesComponentPtr services = entry.spIServicesComponent;
    if (!services) {
      const HRESULT hr =
          entry.spITag->QueryInterface(__uuidof(IServicesComponent), reinterpret_cast<void**>(&services));
      if (FAILED(hr) || !services) {
        Log(L"Fail to query IServicesComponent", kFunction, __LINE__);
        return FAILED(hr) ? hr : E_NOINTERFACE;
      }
    }
    HRESULT hr = services->SubscribeVexilEvents();
    if (FAILED(hr)) {
      Log(L"Fail to susbcribe vexil events", kFunction, __LINE__);
      return hr;
    }
    std::shared_ptr<CIOTagEventSink> sink = entry.spIOTagEventSink;
    if (!sink) {
      try {
        sink = std::make_shared<CIOTagEventSink>(this);
      } catch (const std::bad_alloc&) {
        Log(L"Out of memory, failed to alloc memory to CIOTagEventSink object\n", kFunction, __LINE__);
        return E_OUTOFMEMORY;
      }
    }
    hr = sink->DispEventAdvise(entry.spITag);
    if (FAILED(hr)) {
      sink->m_dwEventCookie = kNotConnectedCookie;
      Log(L"Fail to connect status tag events sink", kFunction, __LINE__);
      return hr;
    }
    sink->m_bConnected = TRUE;
    entry.spIOTagEventSink = std::move(sink);
    entry.spIServicesComponent = std::move(services);
    m_bSubscribed = 1;
  }
  return S_OK;
}

HRESULT CPVConfigPanelEnum::UnsubscribeToVexilEvents() {
  static constexpr wchar_t kFunction[] = L"CPVConfigPanelEnum::UnsubscribeToVexilEvents";
  if (!m_bSubscribed) return S_OK;
  for (CIOTagEntry& entry : m_ioTags) {
    CIOTagEventSink* sink = entry.spIOTagEventSink.get();
    if (!sink) {
      Log(L"Invalid spIOTagEventSink pointer\n", kFunction, __LINE__);
      return E_FAIL;
    }
    ITagPtr tag(entry.spITag);
    if (!entry.spIServicesComponent || !tag || !sink->m_bConnected) continue;
    HRESULT hr = entry.spIServicesComponent->UnsubscribeVexilEvents();
    if (FAILED(hr)) {
      Log(L"Fail to unsubcribe vexil events.\n", kFunction, __LINE__);
      return hr;
    }
    hr = sink->DispEventUnadvise(entry.spITag);
    if (FAILED(hr)) {
      Log(L"Fail to disconnect I/O tag events sink", kFunction, __LINE__);
      return hr;
    }
    sink->m_dwEventCookie = kNotConnectedCookie;
    sink->m_bConnected = FALSE;
  }
  m_bSubscribed = 0;
  return S_OK;
}
