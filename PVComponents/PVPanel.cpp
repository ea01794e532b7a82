#include "PVPanel.h"

#include <afxpriv.h>
#include <afxres.h>
#include <htmlhelp.h>

#include <cassert>
#include <cstring>

#include "DialogMetrics.h"
#include "OrvoWinApp.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVPanel");

// The styles a page's template may carry as a top-level dialog, and what a child page needs.
constexpr DWORD kStylesRemoved = WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | DS_MODALFRAME;  // 0x00CC0080
constexpr DWORD kStylesAdded = WS_CHILD | DS_CONTROL;                                      // 0x40000400
constexpr DWORD kExStylesRemoved = WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;                 // 0x00000101
constexpr DWORD kExStylesAdded = WS_EX_CONTROLPARENT;                                      // 0x00010000
static_assert(kStylesRemoved == 0x00CC0080 && kStylesAdded == 0x40000400);
static_assert(kExStylesRemoved == 0x00000101 && kExStylesAdded == 0x00010000);

// The property sheet's font: the one of dialog 1006 of the common controls library, read as
// data. False when the library, the template or its font is not there.
bool PropertySheetFont(TemplateMetrics* sheet) {
  HMODULE library = LoadLibraryExW(L"COMCTL32.DLL", nullptr,
                                   LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!library) library = LoadLibraryExW(L"COMCTL32.DLL", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!library) return false;
  bool found = false;
  if (HRSRC resource = FindResourceW(library, MAKEINTRESOURCEW(1006), RT_DIALOG)) {
    const DWORD size = SizeofResource(library, resource);
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(library, resource)));
    found = data && ReadTemplateMetrics(data, size, sheet) && sheet->hasFont;
  }
  FreeLibrary(library);
  return found;
}

}  // namespace

bool CPVPageIdLess::operator()(const std::wstring& left, const std::wstring& right) const {
  // A character beyond the basic plane is two UTF-16 units; compare unit by unit.
  auto units = [](const std::wstring& text, size_t index, WORD out[2]) -> int {
    const auto c = static_cast<uint32_t>(text[index]);
    if (c < 0x10000) {
      out[0] = static_cast<WORD>(c);
      return 1;
    }
    out[0] = static_cast<WORD>(0xD800 + ((c - 0x10000) >> 10));
    out[1] = static_cast<WORD>(0xDC00 + ((c - 0x10000) & 0x3FF));
    return 2;
  };
  size_t i = 0;
  for (; i < left.size() && i < right.size(); ++i) {
    WORD a[2] = {}, b[2] = {};
    const int na = units(left, i, a);
    const int nb = units(right, i, b);
    for (int k = 0; k < na && k < nb; ++k)
      if (a[k] != b[k]) return a[k] < b[k];
    if (na != nb) return na < nb;
  }
  return left.size() - i < right.size() - i;
}

// ---------------------------------------------------------------------------------------------
// Construction

BEGIN_MESSAGE_MAP(CPVPanel, CDialog)
ON_MESSAGE(WM_PV_SUBITEMCHANGED, OnWMSubItemChanged)
END_MESSAGE_MAP()

CPVPanel::CPVPanel(UINT nIDTemplate)
    : CDialog(nIDTemplate),
      CPVComObjectRoot(PVLiveCounterOf<CPVPanel>(), 0, ModuleLock::kWhileReferenced),
      m_nIDTemplate(nIDTemplate) {}

CPVPanel::CPVPanel(const CPVPanel&)
    : CDialog(),
      CPVComObjectRoot(PVLiveCounterOf<CPVPanel>(), 0, ModuleLock::kWhileReferenced),
      m_nIDTemplate(0) {
  Log(L"CPVPanel does not support copy construction.", L"CPVPanel::CPVPanel", __LINE__);
}

CPVPanel& CPVPanel::operator=(const CPVPanel&) {
  Log(L"Assignment not supported for CPVPanel.", L"CPVPanel::operator=", __LINE__);
  return *this;
}

CPVPanel::~CPVPanel() = default;

// ---------------------------------------------------------------------------------------------
// IUnknown

STDMETHODIMP CPVPanel::QueryInterface(REFIID iid, void** object) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  // IPVProvideHelp is answered only while help is enabled.
  if (object && iid == __uuidof(IPVProvideHelp) && !m_bHelpEnabled) {
    *object = nullptr;
    return E_NOINTERFACE;
  }
  return InternalQueryInterface(this, Interfaces(), iid, object);
}

// The first reference keeps the module loaded until the page is gone.
STDMETHODIMP_(ULONG) CPVPanel::AddRef() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return InternalAddRef();
}

STDMETHODIMP_(ULONG) CPVPanel::Release() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  return ReleaseAndDelete();
}

// ---------------------------------------------------------------------------------------------
// IPVChild

STDMETHODIMP CPVPanel::Init(IUnknown* pParent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!pParent) {
    Log(L"Bad parent interface pointer.", L"CPVPanel::Init", __LINE__);
    return E_INVALIDARG;
  }
  m_pParent = pParent;
  return S_OK;
}

STDMETHODIMP CPVPanel::Save() {
  return S_OK;
}

STDMETHODIMP CPVPanel::Refresh() {
  return S_OK;
}

STDMETHODIMP CPVPanel::ClearDirty() {
  return S_OK;
}

STDMETHODIMP CPVPanel::OnValidationError(LONG, BSTR, IErrorInfo**) {
  return E_FAIL;  // the panel owns no member
}

STDMETHODIMP CPVPanel::ReservedNotice() {
  return S_OK;
}

STDMETHODIMP CPVPanel::PostModDefChange() {
  return S_FALSE;
}

STDMETHODIMP CPVPanel::SetLocale(LCID lcid) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  COrvoWinApp* app = GetOrvoWinApp();
  if (!app) {
    Log(L"Bad application pointer.", L"CPVPanel::SetLocale", __LINE__);
    return E_UNEXPECTED;
  }
  if (lcid == app->GetLanguage()) return S_OK;
  return app->LanguageFilesExist(lcid) && app->SetLanguage(lcid) ? S_OK : E_FAIL;
}

STDMETHODIMP CPVPanel::PreInitialActivate() {
  return S_OK;
}

STDMETHODIMP CPVPanel::OnActivate() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_pFocusCtrl) m_pFocusCtrl->SetFocus();
  return S_OK;
}

STDMETHODIMP CPVPanel::OnDeactivate() {
  return S_OK;
}

STDMETHODIMP CPVPanel::ReservedSetting(LONG) {
  return S_OK;
}

STDMETHODIMP CPVPanel::SetFocusToPanel() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  SetFocus();
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// IPVPanel3

STDMETHODIMP CPVPanel::Create(HWND parent) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  // The host's window has no object of ours: a temporary one carries it through the creation.
  CWnd host;
  const BOOL attached = host.Attach(parent);
  CWnd* parentWnd = attached ? &host : CWnd::FromHandle(parent);
  const BOOL created = CDialog::Create(m_nIDTemplate, parentWnd);
  m_pParentWnd = nullptr;  // the temporary object goes with this call
  if (attached) host.Detach();
  if (!created) {
    Log(L"Failed to create panel.", L"CPVPanel::Create", __LINE__);
    return E_FAIL;
  }
  return S_OK;
}

STDMETHODIMP CPVPanel::Destroy() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_bDynamicSubItemsEnabled && m_spSubItemSource) {
    if (FAILED(m_spSubItemSource->UnregisterSubItemEvents(static_cast<IDynamicSubItemEvents*>(this)))) {
      Log(L"Failed to unregister the sub items change events", L"CPVPanel::Destroy", __LINE__);
      return E_FAIL;
    }
  }
  if (!m_hWnd || !::IsWindow(m_hWnd)) return S_FALSE;
  return DestroyWindow() ? S_OK : E_FAIL;
}

STDMETHODIMP CPVPanel::Show(int command) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!::IsWindow(m_hWnd)) return E_UNEXPECTED;
  EnableWindow(command == SW_SHOW);
  ShowWindow(command);
  return S_OK;
}

STDMETHODIMP CPVPanel::Move(const RECT* rect) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!::IsWindow(m_hWnd)) return E_UNEXPECTED;
  if (!rect) return E_POINTER;
  MoveWindow(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top, TRUE);
  return S_OK;
}

STDMETHODIMP CPVPanel::GetTitle(BSTR* title) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!title) return E_POINTER;
  if (!::IsWindow(m_hWnd)) return E_UNEXPECTED;
  CString text = m_strPanelTitle;
  if (text.IsEmpty()) GetWindowText(text);
  *title = SysAllocString(text);
  return S_OK;
}

STDMETHODIMP CPVPanel::GetSize(SIZE* size) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!size) return E_POINTER;
  *size = SIZE{0, 0};
  HINSTANCE resources = AfxGetResourceHandle();
  HRSRC found = FindResourceW(resources, MAKEINTRESOURCEW(m_nIDTemplate), RT_DIALOG);
  if (!found) {
    Log(L"Unable to find panel dialog resource.", L"CPVPanel::GetSize", __LINE__);
    return E_FAIL;
  }
  HGLOBAL loaded = LoadResource(resources, found);
  if (!loaded) {
    Log(L"Unable to load panel dialog resource into global memory.", L"CPVPanel::GetSize", __LINE__);
    return E_FAIL;
  }
  const auto* data = static_cast<const BYTE*>(LockResource(loaded));
  TemplateMetrics panel;
  if (!data || !ReadTemplateMetrics(data, SizeofResource(resources, found), &panel)) {
    Log(L"Unable to lock panel dialog resource in memory.", L"CPVPanel::GetSize", __LINE__);
    return E_FAIL;
  }
  const BaseUnits units = FontBaseUnits(panel);
  TemplateMetrics sheet;
  size->cx = MulDiv(panel.cx, units.horizontal, 4);
  if (PropertySheetFont(&sheet)) {
    // Heights follow the property sheet's font, scaled back to the page's own font.
    const BaseUnits sheetUnits = FontBaseUnits(sheet);
    size->cy = MulDiv(MulDiv(panel.cy, sheetUnits.vertical, 8), units.height, sheetUnits.height);
  } else {
    size->cy = MulDiv(panel.cy, units.vertical, 8);
  }
  return S_OK;
}

STDMETHODIMP CPVPanel::GetBannerTitle(BSTR* title) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!title) return E_POINTER;
  if (m_strBannerTitle.IsEmpty()) return GetTitle(title);
  *title = SysAllocString(m_strBannerTitle);
  return S_OK;
}

STDMETHODIMP CPVPanel::GetPanelDefaultExpandedState(VARIANT_BOOL* pExpanded) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!pExpanded) {
    Log(L"pExpanded is null pointer", L"CPVPanel::GetPanelDefaultExpandedState", __LINE__);
    return E_POINTER;
  }
  *pExpanded = m_lDefaultExpandedState == 1 ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// Help

STDMETHODIMP CPVPanel::ShowHelp() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_bCustomHelp) return CustomHelp();
  SendMessage(WM_COMMANDHELP, 0, 0);
  return S_OK;
}

HRESULT CPVPanel::CustomHelp() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  const LONG helpId = m_pHelpId ? *m_pHelpId : static_cast<LONG>(m_nIDHelp);
  CString file;
  if (m_bstrHelpFile.length() == 0) {
    CWinApp* app = AfxGetApp();
    if (app) file = app->m_pszHelpFilePath;
  } else {
    IModuleSpecificFileFindPtr finder;
    HRESULT hr = finder.CreateInstance(CLSID_ModuleSpecificFileFind, nullptr, 0x17);
    if (FAILED(hr)) {
      Log(L"Failed to create ModuleSpecificFileFind.", L"CPVPanel::CustomHelp", __LINE__);
      return hr;
    }
    _bstr_t resolved;
    hr = finder->FindFile(m_bstrHelpFile, resolved.GetAddress());
    if (FAILED(hr)) {
      Log(L"Failed to find resolved path.", L"CPVPanel::CustomHelp", __LINE__);
      return hr;
    }
    file = static_cast<const wchar_t*>(resolved);
  }
  if (file.GetLength() >= 4 && file.Right(4).CompareNoCase(L".HLP") == 0)
    file = file.Left(file.GetLength() - 3) + L"chm";
  if (!HtmlHelpW(m_hWnd, file, HH_HELP_CONTEXT, static_cast<DWORD_PTR>(static_cast<DWORD>(helpId)))) {
    CString message;
    message.Format(
        L"Error: Failed to display help - HtmlHelp: HelpFile = %s, HH_HELP_CONTEXT: = $%x, HelpID: = %d.",
        static_cast<const wchar_t*>(file), HH_HELP_CONTEXT, static_cast<int>(helpId));
    Log(message, L"CPVPanel::CustomHelp", __LINE__);
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// IPVEventHandler2

STDMETHODIMP CPVPanel::VexilStateChanged(LONG) {
  return S_OK;
}
STDMETHODIMP CPVPanel::ModuleStatusChanged() {
  return S_OK;
}
STDMETHODIMP CPVPanel::Flush() {
  return S_OK;
}
STDMETHODIMP CPVPanel::DataChanged() {
  return S_OK;
}
STDMETHODIMP CPVPanel::ModuleDefinitionChanged() {
  return S_OK;
}
STDMETHODIMP CPVPanel::Reverted() {
  return S_OK;
}
STDMETHODIMP CPVPanel::DirtyStateChanged() {
  return S_OK;
}

STDMETHODIMP CPVPanel::ModuleDeleted() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  Log(L"Unexpected module deleted event received by panel.", L"CPVPanel::ModuleDeleted", __LINE__);
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// IPVDocumentation, IPVExtendedInfoXml2, IPVWndMsg

STDMETHODIMP CPVPanel::GetDocumentationDirtyState(VARIANT_BOOL* pUserDescriptionDirtyState) {
  if (!pUserDescriptionDirtyState) return E_POINTER;
  *pUserDescriptionDirtyState = VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP CPVPanel::SetExtendedInfoEx(BSTR xml, LONG) {
  return SetExtendedInfo(xml);
}

HRESULT CPVPanel::PreTranslateHostMessage(MSG* message) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!message) return E_POINTER;
  return CWnd::WalkPreTranslateTree(m_hWnd, message) ? S_OK : S_FALSE;
}

// ---------------------------------------------------------------------------------------------
// Dynamic sub-items (off in every page of these DLLs)

STDMETHODIMP CPVPanel::OnSubItemsChanged(LONG) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  PostMessage(WM_PV_SUBITEMCHANGED, 0, 0);
  return S_OK;
}

STDMETHODIMP CPVPanel::GetSubItemsXML(BSTR* pXml) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!pXml) {
    Log(L"pXml is null", L"CPVPanel::GetSubItemsXML", __LINE__);
    return E_POINTER;
  }
  *pXml = nullptr;
  if (!m_bDynamicSubItemsEnabled || !m_spSubItemSource) return S_OK;
  _bstr_t fragment;
  HRESULT hr = m_spSubItemSource->GetSubItemsXML(fragment.GetAddress());
  if (FAILED(hr)) {
    Log(L"Failed to get the sub items", L"CPVPanel::GetSubItemsXML", __LINE__);
    return hr;
  }
  // A copy of its own, which the header step replaces with the whole document.
  _bstr_t document(fragment.copy(), false);
  hr = AddPageClsidAndXMLHeader(&document.GetBSTR());
  if (FAILED(hr)) return hr;
  *pXml = document.Detach();
  return S_OK;
}

STDMETHODIMP CPVPanel::OnSubItemSelChanged(LONG item) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (!m_bDynamicSubItemsEnabled || !m_spSubItemSource) return S_OK;
  const HRESULT hr = m_spSubItemSource->OnSubItemSelChanged(item);
  if (FAILED(hr)) {
    Log(L"Failed to notify item changed", L"CPVPanel::OnSubItemSelChanged", __LINE__);
    return hr;
  }
  return S_OK;
}

LRESULT CPVPanel::OnWMSubItemChanged(WPARAM, LPARAM) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  if (m_bDynamicSubItemsEnabled && m_spSubItemHost) {
    if (FAILED(m_spSubItemHost->RebuildDynamicSubItems(static_cast<IPVChild*>(this))))
      Log(L"Failed to rebuild dynamic sub items", L"CPVPanel::OnWMSubItemChanged", __LINE__);
  }
  return 0;
}

// ---------------------------------------------------------------------------------------------
// Services for pages and for CPVPanelEnum

void CPVPanel::EnableHelp(BOOL enable) {
  m_bHelpEnabled = enable;
}

IPVParent* CPVPanel::GetIPVParent() {
  if (!m_pParent) {
    Log(L"Panel has invalid parent pointer.", L"CPVPanel::GetIPVParent", __LINE__);
    return nullptr;
  }
  IPVParentPtr parent;
  const HRESULT hr = m_pParent->QueryInterface(__uuidof(IPVParent), reinterpret_cast<void**>(&parent));
  if (hr == E_NOINTERFACE || (SUCCEEDED(hr) && !parent)) {
    Log(L"Panel has invalid parent pointer.", L"CPVPanel::GetIPVParent", __LINE__);
    return nullptr;
  }
  if (FAILED(hr)) _com_issue_error(hr);
  return parent.GetInterfacePtr();  // borrowed: the host keeps its parent alive while the page lives
}

IPVVexilProperties* CPVPanel::GetIPVVexilProperties() {
  IPVParent* parent = GetIPVParent();
  if (!parent) return nullptr;
  IPVVexilPropertiesPtr properties;
  if (FAILED(parent->QueryInterface(__uuidof(IPVVexilProperties), reinterpret_cast<void**>(&properties))) ||
      !properties) {
    Log(L"Panel's parent does not support IPVVexilProperties.", L"CPVPanel::GetIPVVexilProperties", __LINE__);
    return nullptr;
  }
  return properties.GetInterfacePtr();  // borrowed, as the parent itself
}

void CPVPanel::SetDirty() {
  if (!m_pParent) return;
  IPVParent* parent = GetIPVParent();
  if (!parent) return;
  if (FAILED(parent->SetProfileDirty(static_cast<IPVPanel3*>(this))))
    Log(L"Panel's call to SetProfileDirty() failed.", L"CPVPanel::SetDirty", __LINE__);
}

BOOL CPVPanel::SetChildStyle(CWnd* pWnd) {
  if (!pWnd || !::IsWindow(pWnd->GetSafeHwnd())) return FALSE;
  const BOOL style = pWnd->ModifyStyle(kStylesRemoved, kStylesAdded);
  const BOOL exStyle = pWnd->ModifyStyleEx(kExStylesRemoved, kExStylesAdded);
  return style && exStyle;
}

// ---------------------------------------------------------------------------------------------
// The dialog's start

BOOL CPVPanel::OnInitDialog() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  ModifyStyle(kStylesRemoved, kStylesAdded);
  ModifyStyleEx(kExStylesRemoved, kExStylesAdded);
  const BOOL result = CDialog::OnInitDialog();

  static_cast<IPVChild*>(this)->PreInitialActivate();

  if (IPVParent* parent = GetIPVParent()) {
    IDynamicSubItemHost* host = nullptr;
    const HRESULT hr = parent->QueryInterface(__uuidof(IDynamicSubItemHost), reinterpret_cast<void**>(&host));
    if (FAILED(hr) && hr != E_NOINTERFACE) _com_issue_error(hr);
    m_spSubItemHost.Attach(SUCCEEDED(hr) ? host : nullptr);
  }

  IModule* module = nullptr;
  IPVParent* parent = m_pParent ? GetIPVParent() : nullptr;
  if (!parent || FAILED(parent->GetModule(&module)) || !module) {
    Log(L"Failed to retrieve IModule", L"CPVPanel::OnInitDialog", __LINE__);
    return FALSE;
  }
  // The module is the host's: borrowed, never released here.
  IDynamicSubItemSource* source = nullptr;
  const HRESULT hr =
      module->QueryInterface(__uuidof(IDynamicSubItemSource), reinterpret_cast<void**>(&source));
  if (FAILED(hr) && hr != E_NOINTERFACE) _com_issue_error(hr);
  m_spSubItemSource.Attach(SUCCEEDED(hr) ? source : nullptr);

  if (m_bDynamicSubItemsEnabled && m_spSubItemHost && m_spSubItemSource) {
    if (FAILED(m_spSubItemSource->RegisterSubItemEvents(static_cast<IDynamicSubItemEvents*>(this)))) {
      Log(L"Failed to register the sub items change events", L"CPVPanel::OnInitDialog", __LINE__);
      return FALSE;
    }
  }
  return result;
}
