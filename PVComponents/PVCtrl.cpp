#include "PVCtrl.h"

#include "IErrorInfoHelper.h"
#include "PVComponentsGlobals.h"
#include "PVLog.h"
#include "PromptInfo.h"
#include "SafetyController.h"

namespace {

constexpr CPVSourceLog Log(L"PVCtrl");

// The fallbacks of a control that cannot ask its page: offline-like mode and redundancy, so
// that the enable rule keeps the control disabled.
constexpr LONG kFallbackVexilMode = 8;
constexpr LONG kFallbackRedundancyState = 1;

}  // namespace

// ---------------------------------------------------------------------------------------
// IUnknown

CPVCtrlBase::CPVCtrlBase() : CPVComObjectRoot(PVLiveCounterOf<CPVCtrlBase>(), 0) {}

STDMETHODIMP CPVCtrlBase::QueryInterface(REFIID riid, void** ppv) {
  return InternalQueryInterface(this, Interfaces(), riid, ppv);
}

// A control is a member of its page and lives as long as the page: these two answers are
// fixed and nothing is counted. The root still counts the control as a live object.
STDMETHODIMP_(ULONG) CPVCtrlBase::AddRef() {
  return 2;
}

STDMETHODIMP_(ULONG) CPVCtrlBase::Release() {
  return 1;
}

CPVCtrlBase::~CPVCtrlBase() = default;  // the module reference goes with m_spIModule

// ---------------------------------------------------------------------------------------
// IPVCtrl

STDMETHODIMP CPVCtrlBase::SetIPVPropPageEnum(IPVPropPageEnum* pIPVPropPageEnum) {
  if (!pIPVPropPageEnum) {
    Log(L"Invalid argument 'pIPVPropPageEnum'", L"CPVCtrlBase::SetIPVPropPageEnum", __LINE__);
    return E_INVALIDARG;
  }
  if (m_pIPVPropPageEnum) {
    Log(L"SetIPVPropPageEnum should only be called once.", L"CPVCtrlBase::SetIPVPropPageEnum", __LINE__);
    return E_UNEXPECTED;
  }
  m_pIPVPropPageEnum = pIPVPropPageEnum;
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::SetIModule(IModule* pIModule) {
  if (!pIModule) {
    Log(L"Invalid parameter 'pIModule'", L"CPVCtrlBase::SetIModule", __LINE__);
    return E_INVALIDARG;
  }
  if (m_spIModule) {
    Log(L"SetIModule should only be called once.", L"CPVCtrlBase::SetIModule", __LINE__);
    return E_UNEXPECTED;
  }
  m_spIModule = pIModule;
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::PreInitialActivate() {
  return UpdateEnableState();
}

STDMETHODIMP CPVCtrlBase::OnActivate() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::OnDeactivate() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::Save() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::Refresh() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::ClearDirty() {
  m_bDirty = 0;
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::OnChangedCtrlData(CWnd*, int) {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::OnValidationError(LONG, BSTR, IErrorInfo**) {
  return E_FAIL;
}

STDMETHODIMP CPVCtrlBase::PostModDefChange() {
  return S_FALSE;
}

// ---------------------------------------------------------------------------------------
// IPVEventHandler2, IPVCloseDlgHandler, IPVDocumentation, IPVVexilProperties

STDMETHODIMP CPVCtrlBase::VexilStateChanged(LONG) {
  return UpdateEnableState();
}

STDMETHODIMP CPVCtrlBase::ModuleStatusChanged() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::Flush() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::DataChanged() {
  return Refresh();
}

STDMETHODIMP CPVCtrlBase::ModuleDefinitionChanged() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::Reverted() {
  // Clean first, so that a control that refreshes only when clean takes the stored value.
  const HRESULT hr = ClearDirty();
  if (FAILED(hr)) return hr;
  return Refresh();
}

STDMETHODIMP CPVCtrlBase::DirtyStateChanged() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::ModuleDeleted() {
  Log(L"ModuleDeleted() should never get called", L"CPVCtrlBase::ModuleDeleted", __LINE__);
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::OnCloseDlg() {
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::GetDocumentationDirtyState(VARIANT_BOOL* pUserDescriptionDirtyState) {
  if (!pUserDescriptionDirtyState) {
    Log(L"Pointer pUserDescriptionDirtyState is NULL", L"CPVCtrlBase::GetDocumentationDirtyState", __LINE__);
    return E_INVALIDARG;
  }
  *pUserDescriptionDirtyState = VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::GetVexilMode(LONG* mode) {
  if (!mode) return E_POINTER;
  *mode = GetVexilMode();
  return S_OK;
}

STDMETHODIMP CPVCtrlBase::GetRedundancyState(LONG* state) {
  if (!state) return E_POINTER;
  *state = GetRedundancyState();
  return S_OK;
}

// ---------------------------------------------------------------------------------------
// Own virtual operations

HRESULT CPVCtrlBase::NotifyCtrlModified(CWnd* window, int itemId) {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return E_FAIL;
  const HRESULT hr = page->CtrlModified(window, itemId, m_bDirtyTracking ? VARIANT_TRUE : VARIANT_FALSE);
  if (m_bDirtyTracking) m_bDirty = 1;
  return hr;
}

void CPVCtrlBase::SetCtrlDirty() {
  if (m_bDirtyTracking) m_bDirty = 1;
}

// ---------------------------------------------------------------------------------------
// Services

IModule* CPVCtrlBase::GetIModule() const {
  if (!m_spIModule) {
    Log(L"Attempted to retrieve null pointer. SetIModule has not been called.", L"CPVCtrlBase::GetIModule",
        __LINE__);
  }
  return m_spIModule;
}

IPVPropPageEnum* CPVCtrlBase::GetIPVPropPageEnum() const {
  if (!m_pIPVPropPageEnum) {
    Log(L"Attempted to retrieve null pointer. SetIPVPropPageEnum has not been called.",
        L"CPVCtrlBase::GetIPVPropPageEnum", __LINE__);
  }
  return m_pIPVPropPageEnum;
}

IPVDialogManagerPtr CPVCtrlBase::GetIPVDlgManager() const {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return nullptr;
  IPVDialogManagerPtr manager;
  const HRESULT hr = page->GetIPVDlgManager(&manager);
  if (FAILED(hr) || !manager) {
    Log(L"Failed to obtain IPVDialogManager", L"CPVCtrlBase::GetIPVDlgManager", __LINE__);
    return nullptr;
  }
  return manager;
}

LONG CPVCtrlBase::GetVexilMode() const {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return kFallbackVexilMode;
  LONG mode = kFallbackVexilMode;
  // What a failed call left in its out-value is not a mode: the fallback stands.
  if (FAILED(page->GetVexilMode(&mode))) {
    Log(L"Failed to retrieve Vexil Mode", L"CPVCtrlBase::GetVexilMode", __LINE__);
    return kFallbackVexilMode;
  }
  return mode;
}

LONG CPVCtrlBase::GetRedundancyState() const {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return kFallbackRedundancyState;
  LONG state = kFallbackRedundancyState;
  if (FAILED(page->GetRedundancyState(&state))) {
    Log(L"Failed to retrieve Redundancy State", L"CPVCtrlBase::GetRedundancyState", __LINE__);
    return kFallbackRedundancyState;
  }
  return state;
}

BOOL CPVCtrlBase::GetSafetySecuredState() const {
  BOOL secured = FALSE;
  if (FAILED(GetSafetyController()->GetSafetySecuredState(m_spIModule, &secured))) {
    Log(L"Failed to retrieve Safety Secured State", L"CPVCtrlBase::GetSafetySecuredState", __LINE__);
  }
  return secured;
}

CWnd* CPVCtrlBase::GetParentCWnd() const {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return nullptr;
  CWnd* window = nullptr;
  if (FAILED(page->GetPropPageEnumCWnd(&window)) || !window) {
    Log(L"Failed to retrieve PropPageEnumCWnd", L"CPVCtrlBase::GetParentCWnd", __LINE__);
    return nullptr;
  }
  return window;
}

IApplicationPtr CPVCtrlBase::GetIApplication() const {
  constexpr wchar_t kFunction[] = L"CPVCtrlBase::GetIApplication";
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return nullptr;

  IUnknownPtr service;
  if (FAILED(page->GetHostService(CLSID_PVExtHostViewConnector, &service)) || !service) {
    Log(L"Failed to obtain CLSID_PVExtHostViewConnector.", kFunction, __LINE__);
    return nullptr;
  }
  IPVExtHostViewConnectorPtr extConnector;
  if (FAILED(service->QueryInterface(__uuidof(IPVExtHostViewConnector),
                                     reinterpret_cast<void**>(&extConnector))) ||
      !extConnector) {
    Log(L"Failed to obtain IPVExtHostViewConnector.", kFunction, __LINE__);
    return nullptr;
  }
  IUnknownPtr connectorObject;
  HRESULT hr = extConnector->GetHostViewConnector(&connectorObject);
  extConnector = nullptr;
  if (FAILED(hr) || !connectorObject) {
    Log(L"Failed to obtain the HostViewConnector object.", kFunction, __LINE__);
    return nullptr;
  }
  IHostViewConnectorPtr connector;
  if (FAILED(connectorObject->QueryInterface(__uuidof(IHostViewConnector),
                                             reinterpret_cast<void**>(&connector))) ||
      !connector) {
    Log(L"Failed to obtain the IHostViewConnector interface.", kFunction, __LINE__);
    return nullptr;
  }
  IUnknownPtr applicationObject;
  hr = connector->GetApplication(&applicationObject);
  connector = nullptr;
  if (FAILED(hr) || !applicationObject) {
    Log(L"Failed to obtain the Application Object.", kFunction, __LINE__);
    return nullptr;
  }
  IApplicationPtr application;
  if (FAILED(applicationObject->QueryInterface(__uuidof(IApplication),
                                               reinterpret_cast<void**>(&application))) ||
      !application) {
    Log(L"Failed to obtain the IApplication interface.", kFunction, __LINE__);
    return nullptr;
  }
  return application;
}

BOOL CPVCtrlBase::GetModuleStateFlag() const {
  IModule* module = GetIModule();
  if (!module) return FALSE;
  IModuleStateSourcePtr source;
  if (FAILED(module->QueryInterface(__uuidof(IModuleStateSource), reinterpret_cast<void**>(&source))) ||
      !source)
    return FALSE;
  VARIANT_BOOL flag = VARIANT_FALSE;
  const HRESULT hr = source->GetModuleStateFlag(&flag);
  return SUCCEEDED(hr) && flag == VARIANT_TRUE ? TRUE : FALSE;
}

BOOL CPVCtrlBase::IsValid() const {
  if (m_spIModule) return TRUE;
  Log(L"Object state is invalid.", L"CPVCtrlBase::IsValid", __LINE__);
  return FALSE;
}

BOOL CPVCtrlBase::IsCtrlEnabled() const {
  if (!m_bSafetyExempt && GetSafetySecuredState()) return FALSE;
  if (GetRedundancyState() == 1) return FALSE;
  const LONG mode = GetVexilMode();
  return mode == 4 || mode == 8 ? FALSE : TRUE;
}

BOOL CPVCtrlBase::IsOnlineCtrlEnabled() const {
  if (!IsOnlineVexilMode(GetVexilMode())) return FALSE;
  if (GetRedundancyState() == 1) return FALSE;
  return GetModuleStateFlag() ? FALSE : TRUE;
}

// ---------------------------------------------------------------------------------------
// CPVCtrl

CPVCtrl::~CPVCtrl() = default;

HRESULT CPVCtrl::UpdateEnableState() {
  if (CWnd* window = GetCWnd()) window->EnableWindow(GetEnableState());
  return S_OK;
}

BOOL CPVCtrl::ShowControl(int showCommand) {
  CWnd* window = GetCWnd();
  if (!window) {
    Log(L"Failed to obtain CWnd", L"CPVCtrl::ShowControl", __LINE__);
    return FALSE;
  }
  return window->ShowWindow(showCommand);
}

BOOL CPVCtrl::GetEnableState() {
  return IsCtrlEnabled();
}

HRESULT CPVCtrl::NotifyModified() {
  return NotifyCtrlModified(GetCWnd(), m_nID);
}

CWnd* CPVCtrl::GetCWnd() const {
  CWnd* parent = GetParentCWnd();
  if (!parent) {
    Log(L"Failed to obtain parent CWnd", L"CPVCtrl::GetCWnd", __LINE__);
    return nullptr;
  }
  CWnd* window = parent->GetDlgItem(m_nID);
  if (!window) Log(L"Failed to obtain PVCtrl's CWnd", L"CPVCtrl::GetCWnd", __LINE__);
  return window;
}

HRESULT CPVCtrl::OnCtrlSetFocus() {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) return E_FAIL;
  const HRESULT hr = page->OnFocusChange(GetCWnd());
  if (FAILED(hr)) Log(L"OnFocusChange failed", L"CPVCtrl::OnCtrlSetFocus", __LINE__);
  return hr;
}

// The common road of the two error-information handlers: page and window, the focus
// request, the page's error dialog with the information's description, help file and help
// context, and the focus back when it was shown.
HRESULT CPVCtrl::ShowErrorInfo(IErrorInfo** errorInfo, const wchar_t* function, bool logMissingWindow,
                               bool plainSuccess) {
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) {
    Log(L"Failed to obtain IPVPropPageEnum", function, __LINE__);
    return E_FAIL;
  }
  CWnd* window = GetCWnd();
  if (!window) {
    if (logMissingWindow) Log(L"Failed to obtain CWnd", function, __LINE__);
    return E_FAIL;
  }
  // Reading an empty helper would raise an exception through the page: refused here.
  if (!errorInfo || !*errorInfo) {
    Log(L"No error information to display", function, __LINE__);
    return E_POINTER;
  }
  page->RequestInputFocus(window);
  const CIErrorInfoHelper info(*errorInfo);
  _bstr_t description(info.GetDescription().GetString());
  _bstr_t helpFile(info.GetHelpFile().GetString());
  const HRESULT hr = page->ShowErrorDlg(description, helpFile, static_cast<LONG>(info.GetHelpContext()));
  if (FAILED(hr)) {
    Log(L"Failed to display error dialog", function, __LINE__);
    return hr;
  }
  window->SetFocus();
  return plainSuccess ? S_OK : hr;
}

HRESULT CPVCtrl::DefaultValidationErrorHandler(LONG, BSTR, IErrorInfo** errorInfo) {
  return ShowErrorInfo(errorInfo, L"CPVCtrl::DefaultValidationErrorHandler", true, true);
}

HRESULT CPVCtrl::IErrorInfoErrorHandler(IErrorInfo** errorInfo) {
  return ShowErrorInfo(errorInfo, L"CPVCtrl::IErrorInfoErrorHandler", false, false);
}

HRESULT CPVCtrl::PromptMsgHandler(CPromptInfo* prompt) {
  constexpr wchar_t kFunction[] = L"CPVCtrl::PromptMsgHandler";
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) {
    Log(L"Failed to obtain IPVPropPageEnum", kFunction, __LINE__);
    return E_FAIL;
  }
  CWnd* window = GetCWnd();
  if (!window) return E_FAIL;
  if (!prompt) {
    Log(L"No prompt to display", kFunction, __LINE__);
    return E_POINTER;
  }
  page->RequestInputFocus(window);
  _bstr_t text(prompt->m_text.GetString());
  _bstr_t caption(prompt->m_caption.GetString());
  const HRESULT hr = page->ShowErrorDlg(text, caption, prompt->m_type);
  if (FAILED(hr)) {
    Log(L"Failed to display error dialog", kFunction, __LINE__);
    return hr;
  }
  window->SetFocus();
  return S_OK;
}

int CPVCtrl::MessageDlg(CPromptInfo* prompt, UINT style) {
  constexpr wchar_t kFunction[] = L"CPVCtrl::MessageDlg";
  IPVPropPageEnum* page = GetIPVPropPageEnum();
  if (!page) {
    Log(L"Failed to obtain IPVPropPageEnum", kFunction, __LINE__);
    return -1;
  }
  CWnd* window = GetCWnd();
  if (!window) {
    Log(L"Failed to obtain window", kFunction, __LINE__);
    return -1;
  }
  if (!prompt) {
    Log(L"No prompt to display", kFunction, __LINE__);
    return -1;
  }
  page->RequestInputFocus(window);
  CWnd* pageWindow = GetParentCWnd();
  if (!pageWindow) {
    Log(L"Failed to obtain parent CWnd", kFunction, __LINE__);
    return -1;
  }
  if (!::IsWindow(pageWindow->m_hWnd)) {
    Log(L"Failed to obtain parent hWnd", kFunction, __LINE__);
    return -1;
  }
  _bstr_t text(prompt->m_text.GetString());
  _bstr_t caption(prompt->m_caption.GetString());
  const int result = page->ShowMessageDlg(pageWindow->m_hWnd, text, style, prompt->m_type, caption);
  if (result == -1) {
    Log(L"Failed to display message dialog", kFunction, __LINE__);
    return -1;
  }
  window->SetFocus();
  return result;
}
