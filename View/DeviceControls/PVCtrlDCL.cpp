#include "PVCtrlDCL.h"

#include <AppWaitCursor.h>
#include <PVComponentsGlobals.h>
#include <PVLog.h>

#include "CnvTextToFloat3.h"
#include "PVCtrlWireConfigButtons.h"
#include "TotalizerControl.h"

namespace {

constexpr CPVSourceLog Log(L"PVCtrlDCL");
// The item whose value the device gives with two decimals (the reference temperature).
constexpr int kTwoDecimalsItem = 9398;
// The set and the regulator always address the first instance.
constexpr LONG kFirstInstance = 1;
// The calculation model's codes.
constexpr LONG kModelFirstCode = 806;
constexpr LONG kModelLastCode = 808;

// Sets a notify flag to 0 for a scope and restores it.
class CQuietChange {
 public:
  explicit CQuietChange(int32_t& flag) : m_flag(flag), m_previous(flag) { m_flag = 0; }
  ~CQuietChange() { m_flag = m_previous; }
  CQuietChange(const CQuietChange&) = delete;
  CQuietChange& operator=(const CQuietChange&) = delete;

 private:
  int32_t& m_flag;
  const int32_t m_previous;
};

// A device control reaches the device only with the link manager its module link gave it, and
// only while the online rule holds; without the manager it stays disabled, so that no user
// change arms a button for a value it never read.
bool CanReachDevice(const CPVCtrlBase& control, IENetLinkCollectionManager* manager) {
  return manager && control.IsOnlineCtrlEnabled();
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CPVCtrlDCLRegulator

CPVCtrlDCLRegulator::CPVCtrlDCLRegulator(int itemId, int16_t objectClass, const wchar_t* attributeName,
                                         int16_t attributeNumber,
                                         CPVCtrlWireConfigPageSet5Button* serviceButton)
    : CPVCtrl(itemId),
      m_nObjectClass(objectClass),
      m_pszAttributeName(attributeName),
      m_nAttributeNumber(attributeNumber),
      m_pServiceButton(serviceButton) {
  SetDirtyTracking(0);
}

CPVCtrlDCLRegulator::~CPVCtrlDCLRegulator() = default;

STDMETHODIMP CPVCtrlDCLRegulator::SetIModule(IModule* pIModule) {
  constexpr wchar_t kFunction[] = L"CPVCtrlDCLRegulator::SetIModule";
  HRESULT hr = CPVCtrlBase::SetIModule(pIModule);
  if (FAILED(hr)) {
    Log(L"Failed to get the SetIModule() return value.", kFunction, __LINE__);
    return hr;
  }
  m_spCompanion = nullptr;
  pIModule->QueryInterface(IID_IModuleLinkCompanion, reinterpret_cast<void**>(&m_spCompanion));
  hr = QueryLinkManager(pIModule, m_spLinkManager);
  if (FAILED(hr)) Log(L"Failed to obtain IENetLinkCollectionManager interface.", kFunction, __LINE__);
  return hr;
}

STDMETHODIMP CPVCtrlDCLRegulator::PreInitialActivate() {
  return S_OK;
}

STDMETHODIMP CPVCtrlDCLRegulator::OnActivate() {
  DoRefresh();
  return S_OK;
}

STDMETHODIMP CPVCtrlDCLRegulator::Refresh() {
  constexpr wchar_t kFunction[] = L"CPVCtrlDCLRegulator::Refresh";
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HRESULT hr = CPVCtrlBase::Refresh();
  if (FAILED(hr)) {
    Log(L"Failed to get Refresh() return value.", kFunction, __LINE__);
    return hr;
  }
  hr = DoRefresh();
  if (FAILED(hr)) Log(L"Failed to get DoRefresh() return value.", kFunction, __LINE__);
  return hr;
}

STDMETHODIMP CPVCtrlDCLRegulator::OnChangedCtrlData(CWnd* changedWindow, int changedItemId) {
  HRESULT hr;
  {
    CAppWaitCursor waitCursor;
    hr = CPVCtrlBase::OnChangedCtrlData(changedWindow, changedItemId);
  }
  if (FAILED(hr))
    Log(L"Failed to get the OnChangedCtrlData() return value.", L"CPVCtrlDCLRegulator::OnChangedCtrlData",
        __LINE__);
  return hr;
}

STDMETHODIMP CPVCtrlDCLRegulator::VexilStateChanged(LONG state) {
  constexpr wchar_t kFunction[] = L"CPVCtrlDCLRegulator::VexilStateChanged";
  CWnd* window = GetCWnd();
  if (!window || !window->IsWindowVisible()) return S_OK;
  if (!CanReachDevice(*this, m_spLinkManager)) {
    ClearAttribute();
    EnableQuietly(FALSE);
    return S_OK;
  }
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  HRESULT hr = CPVCtrlBase::VexilStateChanged(state);
  if (FAILED(hr)) {
    Log(L"Failed to get VexilStateChanged() return value.", kFunction, __LINE__);
    return hr;
  }
  hr = DoRefresh();
  if (FAILED(hr)) Log(L"Failed to get DoRefresh() return value.", kFunction, __LINE__);
  return hr;
}

HRESULT CPVCtrlDCLRegulator::UpdateEnableState() {
  CQuietChange quiet(m_bNotify);
  return CPVCtrl::UpdateEnableState();
}

HRESULT CPVCtrlDCLRegulator::GetAttrString(const wchar_t* attributeName, float* value) {
  constexpr wchar_t kFunction[] = L"CPVCtrlDCLRegulator::GetAttrString";
  _variant_t path;
  HRESULT hr = MakeI2Path(m_nObjectClass, kFirstInstance, m_nAttributeNumber, &path);
  if (FAILED(hr)) {
    Log(L"The attribute path does not fit the device's numbers.", kFunction, __LINE__);
    return hr;
  }
  _variant_t result;
  hr = ReadDeviceAttribute(m_spLinkManager, attributeName, path, VT_ARRAY | VT_UI1, &result);
  if (SUCCEEDED(hr)) hr = FloatFromBytes(result, value);
  if (FAILED(hr)) Log(L"Failed to read the attribute.", kFunction, __LINE__);
  return hr;
}

HRESULT CPVCtrlDCLRegulator::GetAttrFloat(const wchar_t* attributeName, float* value) {
  constexpr wchar_t kFunction[] = L"CPVCtrlDCLRegulator::GetAttrFloat";
  _variant_t path;
  HRESULT hr = MakeI2Path(m_nObjectClass, kFirstInstance, m_nAttributeNumber, &path);
  if (FAILED(hr)) {
    Log(L"The attribute path does not fit the device's numbers.", kFunction, __LINE__);
    return hr;
  }
  _variant_t result;
  hr = ReadDeviceAttribute(m_spLinkManager, attributeName, path, VT_R4, &result);
  if (SUCCEEDED(hr)) hr = FloatFromResult(result, value);
  if (FAILED(hr)) Log(L"Failed to read the attribute.", kFunction, __LINE__);
  return hr;
}

HRESULT CPVCtrlDCLRegulator::ShowAttribute() {
  float value = 0.0f;
  HRESULT hr = GetAttrString(m_pszAttributeName, &value);
  if (FAILED(hr)) {
    ClearAttribute();
    return hr;
  }
  CString text;
  GetCnvTextToFloat3()->ConvertFloatToText(value, m_nID == kTwoDecimalsItem ? 2 : 4, &text);
  CWnd* window = GetCWnd();
  if (!window) {
    Log(L"Invalid window", L"CPVCtrlDCLRegulator::ShowAttribute", __LINE__);
    return E_FAIL;
  }
  {
    CQuietChange quiet(m_bNotify);
    window->SetWindowText(text);
  }
  // From the first value shown on, what the user types is reported.
  m_bNotify = 1;
  return S_OK;
}

HRESULT CPVCtrlDCLRegulator::DoRefresh() {
  if (!CanReachDevice(*this, m_spLinkManager)) {
    ClearAttribute();
    EnableQuietly(FALSE);
    return S_OK;
  }
  EnableQuietly(TRUE);
  return ShowAttribute();
}

void CPVCtrlDCLRegulator::ClearAttribute() {
  CWnd* window = GetCWnd();
  if (!window) return;
  CQuietChange quiet(m_bNotify);
  window->SetWindowText(L"");
}

void CPVCtrlDCLRegulator::EnableQuietly(BOOL enable) {
  CWnd* window = GetCWnd();
  if (!window) return;
  CQuietChange quiet(m_bNotify);
  window->EnableWindow(enable);
}

void CPVCtrlDCLRegulator::OnTextChanged() {
  CHostRegulatorReal::OnTextChanged();
  if (!m_bNotify) return;
  NotifyModified();
  if (m_pServiceButton) m_pServiceButton->MarkChanged();
}

// ---------------------------------------------------------------------------------------
// The combo controls

BEGIN_MESSAGE_MAP(CPVCtrlDCLCombo, CComboBox)
ON_WM_SETFOCUS()
ON_CONTROL_REFLECT(CBN_SELENDOK, OnSelEndOk)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CPVCtrlDCLCombo::CPVCtrlDCLCombo(int itemId, int32_t objectClass, const wchar_t* attributeName,
                                 int16_t attributeNumber, int16_t instance, bool signedValue,
                                 CPVCtrlWireConfigPageWriteButton* serviceButton)
    : CPVCtrl(itemId),
      m_pServiceButton(serviceButton),
      m_nObjectClass(objectClass),
      m_pszAttributeName(attributeName),
      m_nAttributeNumber(attributeNumber),
      m_nInstance(instance),
      m_bSignedValue(signedValue) {
  SetDirtyTracking(0);
}

STDMETHODIMP CPVCtrlDCLCombo::SetIModule(IModule* pIModule) {
  const HRESULT hr = CPVCtrlBase::SetIModule(pIModule);
  if (FAILED(hr)) return hr;
  return QueryLinkManager(pIModule, m_spLinkManager);
}

STDMETHODIMP CPVCtrlDCLCombo::OnActivate() {
  DoRefresh();
  return S_OK;
}

STDMETHODIMP CPVCtrlDCLCombo::Refresh() {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  const HRESULT hr = CPVCtrlBase::Refresh();
  if (FAILED(hr)) return hr;
  return DoRefresh();
}

STDMETHODIMP CPVCtrlDCLCombo::OnChangedCtrlData(CWnd*, int) {
  return S_OK;
}

STDMETHODIMP CPVCtrlDCLCombo::VexilStateChanged(LONG state) {
  CWnd* window = GetCWnd();
  if (!window || !window->IsWindowVisible()) return S_OK;
  if (!CanReachDevice(*this, m_spLinkManager)) {
    ClearAttribute();
    window->EnableWindow(FALSE);
    return S_OK;
  }
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  const HRESULT hr = CPVCtrlBase::VexilStateChanged(state);
  if (FAILED(hr)) return hr;
  return DoRefresh();
}

BOOL CPVCtrlDCLCombo::GetEnableState() {
  return m_spLinkManager && IsOnlineVexilMode(GetVexilMode()) ? TRUE : FALSE;
}

HRESULT CPVCtrlDCLCombo::GetAttrValue(const wchar_t* attributeName, LONG* value) {
  _variant_t path;
  HRESULT hr = MakePath(&path);
  if (SUCCEEDED(hr)) {
    _variant_t result;
    hr = ReadDeviceAttribute(m_spLinkManager, attributeName, path, VT_EMPTY, &result);
    if (SUCCEEDED(hr)) hr = IntegerFromText(result, m_bSignedValue, value);
  }
  if (FAILED(hr)) Log(L"Failed to read the attribute.", ClassName(), __LINE__);
  return hr;
}

HRESULT CPVCtrlDCLCombo::DoRefresh() {
  if (!CanReachDevice(*this, m_spLinkManager)) {
    ClearAttribute();
    if (CWnd* window = GetCWnd()) window->EnableWindow(FALSE);
    return S_OK;
  }
  return ShowAttribute();
}

HRESULT CPVCtrlDCLCombo::SelectQuietly(int index, const wchar_t* function) {
  CWnd* window = GetCWnd();
  if (!window) {
    Log(L"Invalid combo box", function, __LINE__);
    return E_FAIL;
  }
  CQuietChange quiet(m_bNotify);
  window->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(index));
  return S_OK;
}

void CPVCtrlDCLCombo::ClearAttribute() {
  if (CWnd* window = GetCWnd()) {
    CQuietChange quiet(m_bNotify);
    window->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1));
  }
}

void CPVCtrlDCLCombo::OnSetFocus(CWnd* pOldWnd) {
  CComboBox::OnSetFocus(pOldWnd);
}

void CPVCtrlDCLCombo::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags) {
  CComboBox::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPVCtrlDCLCombo::OnSelEndOk() {
  CAppWaitCursor waitCursor;
  if (!m_bNotify) return;
  NotifyModified();
  if (m_pServiceButton) m_pServiceButton->MarkChanged();
}

// ---------------------------------------------------------------------------------------
// CPVCtrlDCLSensorDataSet

CPVCtrlDCLSensorDataSet::CPVCtrlDCLSensorDataSet(int itemId, int32_t objectClass,
                                                 const wchar_t* attributeName, int16_t attributeNumber,
                                                 CPVCtrlWireConfigPageSet5Button* serviceButton)
    : CPVCtrlDCLCombo(itemId, objectClass, attributeName, attributeNumber, kFirstInstance, false,
                      serviceButton) {}

CPVCtrlDCLSensorDataSet::~CPVCtrlDCLSensorDataSet() = default;

HRESULT CPVCtrlDCLSensorDataSet::ShowAttribute() {
  constexpr wchar_t kFunction[] = L"CPVCtrlDCLSensorDataSet::ShowAttribute";
  LONG code = 0;
  const HRESULT hr = GetAttrValue(m_pszAttributeName, &code);
  if (FAILED(hr)) {
    SelectQuietly(-1, kFunction);
    return hr;
  }
  const int index = code == kModelFirstCode ? 0 : code == kModelLastCode ? 2 : 1;
  const HRESULT shown = SelectQuietly(index, kFunction);
  m_bNotify = 1;
  return shown;
}

HRESULT CPVCtrlDCLSensorDataSet::MakePath(_variant_t* path) const {
  return MakeI2Path(m_nObjectClass, m_nInstance, m_nAttributeNumber, path);
}

// ---------------------------------------------------------------------------------------
// CPVCtrlDCLSensorDataSwitch

CPVCtrlDCLSensorDataSwitch::CPVCtrlDCLSensorDataSwitch(int itemId, int32_t objectClass,
                                                       const wchar_t* attributeName, int16_t attributeNumber,
                                                       int16_t instance,
                                                       CPVCtrlWireConfigPageSetSwitchButton* serviceButton)
    : CPVCtrlDCLCombo(itemId, objectClass, attributeName, attributeNumber, instance, true, serviceButton) {}

CPVCtrlDCLSensorDataSwitch::~CPVCtrlDCLSensorDataSwitch() = default;

HRESULT CPVCtrlDCLSensorDataSwitch::ShowAttribute() {
  HRESULT hr;
  {
    CQuietChange quiet(m_bNotify);
    hr = ShowTotalizerControl(m_spLinkManager, m_pszAttributeName, m_nObjectClass, m_nInstance,
                              m_nAttributeNumber, GetCWnd(), L"CPVCtrlDCLSensorDataSwitch::ShowAttribute");
  }
  m_bNotify = 1;
  return hr;
}

HRESULT CPVCtrlDCLSensorDataSwitch::MakePath(_variant_t* path) const {
  return MakeI1Path(m_nObjectClass, m_nInstance, m_nAttributeNumber, path);
}
