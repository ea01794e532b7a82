// The window side of a property page as the host sees it: a modeless child dialog made from
// the page's template, offering the host's panel interfaces, counting the COM references of
// the whole page object and keeping the module loaded while it lives. It has no controls of
// its own; CPVPanelEnum adds them and runs each operation here first.
#pragma once

#include <PVInterfaces.h>
#include <afxwin.h>
#include <comdef.h>
#include <msxml6ptr.h>

#include <map>
#include <memory>
#include <string>

#include "PVComObject.h"

// Orders page ids as the host's map does: by their UTF-16 code units, then by length.
struct CPVPageIdLess {
  bool operator()(const std::wstring& left, const std::wstring& right) const;
};

// Page id text ("*" or a decimal number, as written) to CLSID text.
typedef std::map<std::wstring, std::wstring, CPVPageIdLess> CPVPageIdMap;

// The message that OnSubItemsChanged posts to the panel window.
#define WM_PV_SUBITEMCHANGED 0x0464

// IPVWndMsg's operation has the signature of CWnd::PreTranslateMessage (an HRESULT and a BOOL
// are both 32-bit integers here), so one override would answer both: this class gives the
// interface's slot a name of its own. Its layout is IPVWndMsg's.
class CPVWndMsgSlot : public IPVWndMsg {
 public:
  STDMETHODIMP PreTranslateMessage(MSG* message) final { return PreTranslateHostMessage(message); }
  virtual HRESULT PreTranslateHostMessage(MSG* message) = 0;
};

class CPVPanel : public CDialog,
                 public IPVChild,
                 public IPVPanel3,
                 public IPVProvideHelp,
                 public IPVEventHandler2,
                 public IPVDocumentation,
                 public IPVExtendedInfoXml2,
                 public CPVWndMsgSlot,
                 public IDynamicSubItemEvents,
                 public IPVDynamicSubItem,
                 public CPVComObjectRoot {
 public:
  explicit CPVPanel(UINT nIDTemplate);
  // Copying a panel is refused: both only log, and the copy is an empty panel.
  CPVPanel(const CPVPanel& other);
  virtual CPVPanel& operator=(const CPVPanel& other);
  // Abstract: the page class below supplies the destructor.
  ~CPVPanel() override = 0;

  // IUnknown of every interface of the page object, in the order they are tested; IUnknown is
  // the IPVChild part, and IPVProvideHelp is answered only while help is enabled.
  BEGIN_PV_INTERFACE_TABLE(CPVPanel)
  PV_INTERFACE_ENTRY(IPVChild)
  PV_INTERFACE_ENTRY(IPVPanel3)
  PV_INTERFACE_ENTRY_IID(__uuidof(IPVPanel2), IPVPanel3)
  PV_INTERFACE_ENTRY_IID(__uuidof(IPVPanel), IPVPanel3)
  PV_INTERFACE_ENTRY(IPVExtendedInfoXml2)
  PV_INTERFACE_ENTRY_IID(__uuidof(IPVExtendedInfoXml), IPVExtendedInfoXml2)
  PV_INTERFACE_ENTRY(IPVProvideHelp)
  PV_INTERFACE_ENTRY(IPVEventHandler2)
  PV_INTERFACE_ENTRY(IPVDocumentation)
  PV_INTERFACE_ENTRY(IPVWndMsg)
  PV_INTERFACE_ENTRY(IDynamicSubItemEvents)
  PV_INTERFACE_ENTRY(IPVDynamicSubItem)
  END_PV_INTERFACE_TABLE()
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;

  // IPVChild
  STDMETHODIMP Init(IUnknown* pParent) override;
  STDMETHODIMP Save() override;
  STDMETHODIMP Refresh() override;
  STDMETHODIMP ClearDirty() override;
  STDMETHODIMP OnValidationError(LONG code, BSTR memberName, IErrorInfo** ppErrorInfo) override;
  STDMETHODIMP ReservedNotice() override;
  STDMETHODIMP PostModDefChange() override;
  STDMETHODIMP SetLocale(LCID lcid) override;
  STDMETHODIMP PreInitialActivate() override;
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP OnDeactivate() override;
  STDMETHODIMP ReservedSetting(LONG value) override;
  STDMETHODIMP SetFocusToPanel() override;

  // IPVPanel3 (with IPVPanel2 and IPVPanel); the dialog's own Create stays visible beside it.
  using CDialog::Create;
  STDMETHODIMP Create(HWND parent) override;
  STDMETHODIMP Destroy() override;
  STDMETHODIMP Show(int command) override;
  STDMETHODIMP Move(const RECT* rect) override;
  STDMETHODIMP GetTitle(BSTR* title) override;
  STDMETHODIMP GetSize(SIZE* size) override;
  STDMETHODIMP GetBannerTitle(BSTR* title) override;
  STDMETHODIMP GetPanelDefaultExpandedState(VARIANT_BOOL* pExpanded) override;

  // IPVProvideHelp
  STDMETHODIMP ShowHelp() override;

  // IPVEventHandler2
  STDMETHODIMP VexilStateChanged(LONG state) override;
  STDMETHODIMP ModuleStatusChanged() override;
  STDMETHODIMP Flush() override;
  STDMETHODIMP DataChanged() override;
  STDMETHODIMP ModuleDefinitionChanged() override;
  STDMETHODIMP Reverted() override;
  STDMETHODIMP DirtyStateChanged() override;
  STDMETHODIMP ModuleDeleted() override;

  // IPVDocumentation
  STDMETHODIMP GetDocumentationDirtyState(VARIANT_BOOL* pUserDescriptionDirtyState) override;

  // IPVExtendedInfoXml2 (with IPVExtendedInfoXml); the reading is in PVPanelExtendedInfo.cpp.
  STDMETHODIMP SetExtendedInfo(BSTR xml) override;
  STDMETHODIMP SetExtendedInfoEx(BSTR xml, LONG value) override;

  // IPVWndMsg: the class library's pre-translate walk from the message's window up to the
  // panel window. (CWnd::PreTranslateMessage stays CDialog's.)
  HRESULT PreTranslateHostMessage(MSG* message) override;

  // IDynamicSubItemEvents
  STDMETHODIMP OnSubItemsChanged(LONG value) override;

  // IPVDynamicSubItem
  STDMETHODIMP GetSubItemsXML(BSTR* pXml) override;
  STDMETHODIMP OnSubItemSelChanged(LONG item) override;

  // Every page calls EnableHelp(1) at the end of its constructor; IPVProvideHelp is answered
  // only while the flag is nonzero.
  void EnableHelp(BOOL enable);
  // The host parent given to Init, asked for IPVParent; null (logged) without one. Borrowed:
  // no reference is kept for the caller. A failure other than E_NOINTERFACE is raised.
  IPVParent* GetIPVParent();
  // The host parent's controller state; null (logged) when it has none. Borrowed.
  IPVVexilProperties* GetIPVVexilProperties();
  // Tells the host parent that the page holds unsaved changes.
  void SetDirty();
  // Help from the extended information: its help id and file, through HTML Help.
  HRESULT CustomHelp();
  // Applies OnInitDialog's child style and extended style to pWnd; true when both changed.
  BOOL SetChildStyle(CWnd* pWnd);

  // The sub-item document for the host: the module's fragment placed in the document root,
  // with every page given its CLSID from the page-id map (PVPanelExtendedInfo.cpp).
  HRESULT AddPageClsidAndXMLHeader(BSTR* pXml);
  HRESULT RecursivelyAddPageClsid(IXMLDOMNodeList* spPageNodes, IXMLDOMDocument* pDocument);

 protected:
  BOOL OnInitDialog() override;
  afx_msg LRESULT OnWMSubItemChanged(WPARAM wParam, LPARAM lParam);

  UINT m_nIDTemplate;
  IUnknown* m_pParent = nullptr;  // not counted: the host keeps its parent alive
  BOOL m_bHelpEnabled = FALSE;
  CWnd* m_pFocusCtrl = nullptr;
  CString m_strPanelTitle;
  CString m_strBannerTitle;
  LONG m_lDefaultExpandedState = 1;
  BYTE m_bCustomHelp = 0;
  _bstr_t m_bstrHelpFile;
  std::unique_ptr<LONG> m_pHelpId;
  CPVPageIdMap m_pageIdToClsid;
  BOOL m_bDynamicSubItemsEnabled = FALSE;
  IDynamicSubItemHostPtr m_spSubItemHost;
  IDynamicSubItemSourcePtr m_spSubItemSource;

  DECLARE_MESSAGE_MAP()
};
