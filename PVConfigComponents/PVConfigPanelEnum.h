// The base of every property page: a panel with its control list that, when the host
// initialises it, finds the module's configuration tags and builds the tag adapters through
// which the page's value objects reach the members. A page takes its adapter once, in its
// OnInitDialog, with GetIPVGetSetAdapter.
//
// The panel also hands out adapters for private tags by name and for tag-extension
// properties, and follows the data-changed and flush events of the I/O tags added to its
// list: it subscribes to them on activation and unsubscribes on deactivation.
#pragma once

#include <HostTags.h>
#include <atlbase.h>
#include <atlcom.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "PVConfigComponentsGlobals.h"
#include "PVGetSetInterfaces.h"
#include "PVPanelEnum.h"

class CPVConfigPanelEnum : public CPVPanelEnum {
  DECLARE_DYNAMIC(CPVConfigPanelEnum)

 public:
  explicit CPVConfigPanelEnum(UINT nIDTemplate);
  CPVConfigPanelEnum(const CPVConfigPanelEnum&) = delete;
  CPVConfigPanelEnum& operator=(const CPVConfigPanelEnum&) = delete;
  // Only pages are created.
  ~CPVConfigPanelEnum() override = 0;

  // IPVChild. Init runs the panel's Init (every control receives the module), then builds
  // the standard and safety adapters from the module's tags; S_OK when at least one of the
  // tags exists. OnActivate and OnDeactivate subscribe and unsubscribe the I/O tag events
  // (a failure is logged and does not stop the call), then run the panel's walk.
  STDMETHODIMP Init(IUnknown* pParent) override;
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP OnDeactivate() override;

  // The adapters, borrowed: a holder takes its own reference, as value objects do. Null
  // (logged) when the module has no such tag.
  IPVGetSetAdapter* GetIPVGetSetAdapter();
  IPVGetSetAdapter* GetSafetyIPVGetSetAdapter();
  // The adapter of the module's private tag of that name, made on first request and kept;
  // null when the module has no such tag.
  IPVGetSetAdapter* GetPrivateIPVGetSetAdapter(const wchar_t* tagName);
  // The extension-property adapter of the first connection tag that has the member
  // (PVConfigComponentsGlobals); kept per property key and tag.
  IPVGetSetAdapter* GetTagExtPropertyIPVGetSetAdapter(LONG tagType, LONG propertyKey,
                                                      const wchar_t* memberName);
  // Follows the I/O tag's events from the next activation on; a tag already listed is not
  // added again. E_INVALIDARG (logged) for null.
  HRESULT AddIOTagToList(ITag2* spITag2);

  // The I/O tag events: the panel's own DataChanged and Flush, so that every control sees
  // them. Their results are the fan-outs'.
  virtual HRESULT OnIOTagDataChanged();
  virtual HRESULT OnIOTagFlush();

  // The sink of one I/O tag's events: dispatch id 6 is the panel's OnIOTagDataChanged, 7 its
  // OnIOTagFlush. Its cookie is 0xFEFEFEFE while it is not connected.
  class CIOTagEventSink
      : public ATL::IDispEventImpl<1, CIOTagEventSink, &DIID_DPSTagEvents, &LIBID_DPSTagEventsLib, 1, 0> {
   public:
    explicit CIOTagEventSink(CPVConfigPanelEnum* pPanel) : m_pPanel(pPanel) {}
    ~CIOTagEventSink() override = default;

    void OnDataChanged() { m_pPanel->OnIOTagDataChanged(); }
    void OnFlush() { m_pPanel->OnIOTagFlush(); }

    BEGIN_SINK_MAP(CIOTagEventSink)
    SINK_ENTRY_INFO(1, DIID_DPSTagEvents, DISPID_DPSTAGEVENTS_DATACHANGED, &CIOTagEventSink::OnDataChanged,
                    &kNoArguments)
    SINK_ENTRY_INFO(1, DIID_DPSTagEvents, DISPID_DPSTAGEVENTS_FLUSH, &CIOTagEventSink::OnFlush, &kNoArguments)
    END_SINK_MAP()

    CPVConfigPanelEnum* m_pPanel;  // the panel owns the sink: not counted
    BOOL m_bConnected = FALSE;

   private:
    static constexpr ATL::_ATL_FUNC_INFO kNoArguments = {0, VT_EMPTY, 0, {}};
  };

 protected:
  // Empty: every page's DoDataExchange calls it first.
  void DoDataExchange(CDataExchange* pDX) override;

  // The I/O tag list's events. Subscribe walks the list in order and stops at the first
  // entry that fails (S_OK for an empty list); Unsubscribe does nothing unless a subscription
  // was made, and stops at the first entry that fails.
  HRESULT SubscribeToVexilEvents();
  HRESULT UnsubscribeToVexilEvents();

  // One followed I/O tag: its sink (shared, so that it outlives a walk that drops the entry),
  // the tag's event services and the tag.
  struct CIOTagEntry {
    std::shared_ptr<CIOTagEventSink> spIOTagEventSink;
    IServicesComponentPtr spIServicesComponent;
    ITag2Ptr spITag;
  };

  IPVGetSetAdapterPtr m_spIPVGetSetAdapter;
  IPVGetSetAdapterPtr m_spSafetyIPVGetSetAdapter;
  std::map<std::wstring, IPVGetSetAdapterPtr> m_privateAdapters;
  CPVTagExtAdapterMap m_tagExtPropertyAdapters;
  BYTE m_bSubscribed = 0;
  std::vector<CIOTagEntry> m_ioTags;

 private:
  // A new tag adapter in spAdapter (the panel owns its first reference); FALSE when it could
  // not be made.
  static BOOL CreateTagAdapter(ITag* tag, IPVGetSetAdapterPtr& spAdapter);
  // The module from the host parent, borrowed as the host hands it; null when there is none.
  IModule* GetHostModule();

  DECLARE_MESSAGE_MAP()
};
