#include "PVCtrlWireConfigButtons.h"

#include <AppWaitCursor.h>
#include <OrvoWinApp.h>
#include <PVComponentsGlobals.h>
#include <PVInputErrors.h>
#include <PVLog.h>
#include <PVMsgBox.h>
#include <PromptInfo.h>

#include <cmath>
#include <cstring>

#include "CnvTextToFloat3.h"
#include "DeviceServiceStrings.h"
#include "TotalizerControl.h"

namespace {

constexpr CPVSourceLog Log(L"PVCtrlWireConfigButtons");

// The device-service messages.
constexpr wchar_t kMessageCaption[] = L"Tavelin 5000";
constexpr UINT kMessageStyle = MB_OK | MB_ICONEXCLAMATION | MB_HELP;
constexpr UINT kCoefficient1Range = IDS_DEVICE_COEFFICIENT1_RANGE;
constexpr UINT kCoefficient2Range = IDS_DEVICE_COEFFICIENT2_RANGE;
constexpr UINT kRangeHelp = IDS_DEVICE_RANGE_HELP;
constexpr UINT kTotalizerWriteFailed = IDS_DEVICE_TOTALIZER_WRITE_FAILED;
constexpr UINT kCoefficient1WriteFailed = IDS_DEVICE_COEFFICIENT1_WRITE_FAILED;
constexpr UINT kTemperatureRange = IDS_DEVICE_TEMPERATURE_RANGE;
constexpr UINT kCoefficient2WriteFailed = IDS_DEVICE_COEFFICIENT2_WRITE_FAILED;
constexpr UINT kModelWriteFailed = IDS_DEVICE_MODEL_WRITE_FAILED;
constexpr UINT kTemperatureWriteFailed = IDS_DEVICE_TEMPERATURE_WRITE_FAILED;

// The viscosity writes: the regulator's attributes and the calculation model.
constexpr wchar_t kRegulatorService[] = L"SetAttributeSingleRegulator";
constexpr wchar_t kSwitchService[] = L"SetAttributeSingleSwitch";
constexpr LONG kCoefficient1Attribute = 21;
constexpr LONG kCoefficient2Attribute = 22;
constexpr LONG kModelAttribute = 23;
constexpr LONG kTemperatureAttribute = 24;
constexpr LONG kModelInstance = 1;
constexpr LONG kFirstModelCode = 806;
constexpr double kCoefficientLimit = 3.4e38;
constexpr DWORD kRegulatorRefreshWait = 250;

// The totalizer write.
constexpr LONG kTotalizerControlAttribute = 9;
constexpr DWORD kTotalizerRefreshWait = 1000;

// The reference temperature's range by the temperature unit caption's text.
constexpr int kTemperatureUnitItem = 9240;
struct TemperatureRange {
  const wchar_t* unit;
  double lowest;
  double highest;
};
constexpr TemperatureRange kTemperatureRanges[] = {
    {L"C (Celsius)", -273.14, 99999.0},
    {L"F (Fahrenheit)", -459.66, 180000.0},
    {L"K (Kelvin)", 0.0, 100000.0},
};
constexpr TemperatureRange kOtherUnitRange{L"", 0.0, 180000.0};

// The typed text as a number. A text that is no number is refused with the converter's prompt
// (false); a number beyond every float comes back as an infinity of its sign, so that the
// range tests refuse it with the value's own message.
bool ConvertTypedNumber(const CString& text, double* value, CPVCtrl& control) {
  CPromptInfo prompt;
  const HRESULT hr = GetCnvTextToFloat3()->ConvertTextToDouble(text, value, &prompt);
  if (hr == PV_E_ABOVE_MAXIMUM || hr == PV_E_BELOW_MINIMUM) {
    *value = hr == PV_E_ABOVE_MAXIMUM ? HUGE_VAL : -HUGE_VAL;
    return true;
  }
  if (FAILED(hr)) {
    control.PromptMsgHandler(&prompt);
    return false;
  }
  return true;
}

// The read-back combo box of each totalizer instance.
int ReadBackCombo(int instance) {
  return instance == 1 ? 9329 : instance == 2 ? 9148 : 9405;
}

// The float's 32 bits as they travel in a VT_I4.
LONG FloatBits(float value) {
  LONG bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CPVCtrlWireConfigPageWriteButton

CPVCtrlWireConfigPageWriteButton::CPVCtrlWireConfigPageWriteButton(int itemId, int labelItemId,
                                                                   const wchar_t* serviceName, int16_t index,
                                                                   int32_t timerMode, int32_t notifyMode,
                                                                   int32_t confirmation)
    : CPVCtrlOnlineButton(itemId, labelItemId, serviceName, 1, timerMode, notifyMode, confirmation, 0),
      m_nIndex(index) {}

STDMETHODIMP CPVCtrlWireConfigPageWriteButton::SetIModule(IModule* pIModule) {
  const HRESULT hr = CPVCtrlOnlineButton::SetIModule(pIModule);
  if (FAILED(hr)) return hr;
  return NoteModuleLink(QueryLinkManager(pIModule, m_spLinkManager));
}

STDMETHODIMP CPVCtrlWireConfigPageWriteButton::PreInitialActivate() {
  return UpdateEnableState();
}

STDMETHODIMP CPVCtrlWireConfigPageWriteButton::OnActivate() {
  ClearOwnBit();
  UpdateEnableState();
  return S_OK;
}

BOOL CPVCtrlWireConfigPageWriteButton::GetEnableState() {
  // The base rule first: it also notes that the button became enabled.
  return CPVCtrlOnlineButton::GetEnableState() && OwnBitSet();
}

HRESULT CPVCtrlWireConfigPageWriteButton::GetConfirmationMessage(CPromptInfo* prompt) {
  if (prompt) prompt->Clear();
  return S_OK;
}

void CPVCtrlWireConfigPageWriteButton::MarkChanged() {
  SetPendingBit(m_nIndex);
  UpdateEnableState();
}

void CPVCtrlWireConfigPageWriteButton::ShowMessage(UINT stringId, UINT helpStringId, const CString& insert1,
                                                   const CString& insert2) {
  CString text;
  if (!text.LoadString(stringId)) {
    Log(L"Failed to load the message text.", L"CPVCtrlWireConfigPageWriteButton::ShowMessage", __LINE__);
    return;
  }
  if (!insert1.IsEmpty() || !insert2.IsEmpty()) {
    CString format = text;
    text.FormatMessage(format.GetString(), insert1.GetString(), insert2.GetString());
  }
  CWnd* page = GetParentCWnd();
  CWinApp* app = AfxGetApp();
  PVMessageBox(page ? page->GetSafeHwnd() : nullptr, text, kMessageCaption, kMessageStyle,
               HelpIdFromPrompt(helpStringId ? helpStringId : stringId),
               app && app->m_pszHelpFilePath ? CString(app->m_pszHelpFilePath) : CString());
}

void CPVCtrlWireConfigPageWriteButton::ShowInputPrompt(LONG promptId) {
  CPromptInfo prompt;
  if (FAILED(GetErrorPromptInfo(promptId, &prompt)))
    Log(L"Failed to get the prompt.", L"CPVCtrlWireConfigPageWriteButton::ShowInputPrompt", __LINE__);
  PromptMsgHandler(&prompt);
}

bool CPVCtrlWireConfigPageWriteButton::GetItemText(int itemId, CString* text, const wchar_t* function) {
  CWnd* page = GetParentCWnd();
  CWnd* item = page ? page->GetDlgItem(itemId) : nullptr;
  if (!item) {
    Log(L"Invalid dialog item", function, __LINE__);
    return false;
  }
  item->GetWindowText(*text);
  return true;
}

bool CPVCtrlWireConfigPageWriteButton::GetItemSelection(int itemId, int* selection, const wchar_t* function) {
  CWnd* page = GetParentCWnd();
  CWnd* item = page ? page->GetDlgItem(itemId) : nullptr;
  if (!item) {
    Log(L"Invalid dialog item", function, __LINE__);
    return false;
  }
  *selection = static_cast<int>(item->SendMessage(CB_GETCURSEL));
  return true;
}

HRESULT CPVCtrlWireConfigPageWriteButton::Execute(const wchar_t* name,
                                                  std::initializer_list<_variant_t> elements) {
  _variant_t data;
  HRESULT hr = MakeVariantArray(elements, &data);
  if (FAILED(hr)) return hr;
  hr = m_spLinkManager->ExecuteService(_bstr_t(name), data);
  if (FAILED(hr))
    Log(L"Failed to execute the service.", L"CPVCtrlWireConfigPageWriteButton::Execute", __LINE__);
  return hr;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlWireConfigPageSet5Button

CPVCtrlWireConfigPageSet5Button::CPVCtrlWireConfigPageSet5Button(int itemId, int labelItemId,
                                                                 const wchar_t* serviceName, int16_t index,
                                                                 int coefficient1Id, int coefficient2Id,
                                                                 int referenceTemperatureId, int modelComboId,
                                                                 int32_t timerMode, int32_t notifyMode,
                                                                 int32_t confirmation)
    : CPVCtrlWireConfigPageWriteButton(itemId, labelItemId, serviceName, index, timerMode, notifyMode,
                                       confirmation),
      m_nCoefficient1Id(coefficient1Id),
      m_nCoefficient2Id(coefficient2Id),
      m_nReferenceTemperatureId(referenceTemperatureId),
      m_nModelComboId(modelComboId) {}

STDMETHODIMP CPVCtrlWireConfigPageSet5Button::OnChangedCtrlData(CWnd*, int changedItemId) {
  if (changedItemId == 9398) {
    SetPendingBit(m_nIndex);
    UpdateEnableState();
  }
  return S_OK;
}

STDMETHODIMP CPVCtrlWireConfigPageSet5Button::VexilStateChanged(LONG state) {
  if (HasWindow() && !IsWindowEnabled()) ClearOwnBit();
  return CPVCtrlOnlineButton::VexilStateChanged(state);
}

bool CPVCtrlWireConfigPageSet5Button::ReadCoefficient(int itemId, UINT rangeMessage, double* value) {
  CString text;
  if (!GetItemText(itemId, &text, L"CPVCtrlWireConfigPageSet5Button::PerformService")) return false;
  if (!ConvertTypedNumber(text, value, *this)) return false;
  if (*value < -kCoefficientLimit || *value > kCoefficientLimit) {
    ShowMessage(rangeMessage);
    return false;
  }
  return true;
}

bool CPVCtrlWireConfigPageSet5Button::ReadReferenceTemperature(double* value) {
  constexpr wchar_t kFunction[] = L"CPVCtrlWireConfigPageSet5Button::PerformService";
  CString text;
  CString unit;
  if (!GetItemText(m_nReferenceTemperatureId, &text, kFunction) ||
      !GetItemText(kTemperatureUnitItem, &unit, kFunction))
    return false;
  if (!ConvertTypedNumber(text, value, *this)) return false;
  TemperatureRange range = kOtherUnitRange;
  for (const TemperatureRange& known : kTemperatureRanges)
    if (unit == known.unit) range = known;
  // Compared as typed, before the value is narrowed to the device's float.
  if (*value < range.lowest || *value > range.highest) {
    CString lowest, highest;
    GetCnvTextToFloat3()->ConvertFloatToText(static_cast<float>(range.lowest), 2, &lowest);
    GetCnvTextToFloat3()->ConvertFloatToText(static_cast<float>(range.highest), 2, &highest);
    ShowMessage(kTemperatureRange, kRangeHelp, lowest, highest);
    return false;
  }
  return true;
}

HRESULT CPVCtrlWireConfigPageSet5Button::PerformService(IErrorInfo** error) {
  constexpr wchar_t kFunction[] = L"CPVCtrlWireConfigPageSet5Button::PerformService";
  if (!InterfaceIsValid(m_spLinkManager)) return E_NOINTERFACE;
  if (!error || *error) return E_FAIL;
  CAppWaitCursor waitCursor;

  // Every value is checked before the first is written: a refused one writes nothing.
  double coefficient1 = 0, coefficient2 = 0, temperature = 0;
  int model = -1;
  if (!ReadCoefficient(m_nCoefficient1Id, kCoefficient1Range, &coefficient1) ||
      !ReadCoefficient(m_nCoefficient2Id, kCoefficient2Range, &coefficient2) ||
      !ReadReferenceTemperature(&temperature))
    return E_INVALIDARG;
  if (!GetItemSelection(m_nModelComboId, &model, kFunction)) return E_FAIL;
  if (model < 0) {
    ShowInputPrompt(PV_PROMPT_EMPTY_TEXT);
    return E_INVALIDARG;
  }

  // A failed write shows its message and the next value is still written.
  HRESULT firstFailure = S_OK;
  auto note = [&](HRESULT hr, UINT message) {
    if (FAILED(hr)) {
      ShowMessage(message);
      if (SUCCEEDED(firstFailure)) firstFailure = hr;
    }
  };
  note(Execute(kRegulatorService, {_variant_t(static_cast<char>(kCoefficient1Attribute)),
                                   _variant_t(FloatBits(static_cast<float>(coefficient1)))}),
       kCoefficient1WriteFailed);
  note(Execute(kRegulatorService, {_variant_t(static_cast<char>(kCoefficient2Attribute)),
                                   _variant_t(FloatBits(static_cast<float>(coefficient2)))}),
       kCoefficient2WriteFailed);
  note(Execute(kRegulatorService, {_variant_t(static_cast<char>(kTemperatureAttribute)),
                                   _variant_t(FloatBits(static_cast<float>(temperature)))}),
       kTemperatureWriteFailed);
  note(Execute(kSwitchService,
               {_variant_t(static_cast<char>(kModelInstance)), _variant_t(static_cast<char>(kModelAttribute)),
                _variant_t(static_cast<short>(kFirstModelCode + model))}),
       kModelWriteFailed);

  const HRESULT refreshed = ExecuteWithoutData(m_spLinkManager, kRefreshService);
  Sleep(kRegulatorRefreshWait);
  if (SUCCEEDED(refreshed) || refreshed == kRefreshPendingRegulator) {
    // A value that did not reach the device is still pending.
    if (FAILED(firstFailure)) return firstFailure;
    ClearOwnBit();
    UpdateEnableState();
    return refreshed;
  }
  Log(L"Failed to refresh after the writes.", kFunction, __LINE__);
  GetObjectErrorInfo(m_spLinkManager, __uuidof(IENetLinkCollectionManager), error);
  return refreshed;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlWireConfigPageSetSwitchButton

CPVCtrlWireConfigPageSetSwitchButton::CPVCtrlWireConfigPageSetSwitchButton(
    int itemId, int labelItemId, const wchar_t* serviceName, int16_t instance, int switchComboId,
    int otherId1, int otherId2, int32_t timerMode, int32_t notifyMode, int32_t confirmation,
    int32_t readBackObjectClass)
    : CPVCtrlWireConfigPageWriteButton(itemId, labelItemId, serviceName, instance, timerMode, notifyMode,
                                       confirmation),
      m_nSwitchComboId(switchComboId),
      m_nOtherId1(otherId1),
      m_nOtherId2(otherId2),
      m_nReadBackObjectClass(readBackObjectClass),
      m_pszServiceName(serviceName) {}

STDMETHODIMP CPVCtrlWireConfigPageSetSwitchButton::OnChangedCtrlData(CWnd*, int changedItemId) {
  const int bit = changedItemId == 9241 ? 1 : changedItemId == 9243 ? 2 : changedItemId == 9245 ? 3 : 0;
  if (bit) {
    SetPendingBit(bit);
    UpdateEnableState();
  }
  return S_OK;
}

STDMETHODIMP CPVCtrlWireConfigPageSetSwitchButton::VexilStateChanged(LONG state) {
  const HRESULT hr = CPVCtrlOnlineButton::VexilStateChanged(state);
  if (HasWindow() && !IsWindowEnabled()) ClearOwnBit();
  return hr;
}

HRESULT CPVCtrlWireConfigPageSetSwitchButton::PerformService(IErrorInfo** error) {
  constexpr wchar_t kFunction[] = L"CPVCtrlWireConfigPageSetSwitchButton::PerformService";
  if (!InterfaceIsValid(m_spLinkManager)) return E_NOINTERFACE;
  if (!error || *error) return E_FAIL;
  CAppWaitCursor waitCursor;

  int selection = -1;
  if (!GetItemSelection(m_nSwitchComboId, &selection, kFunction)) return E_FAIL;
  if (selection < 0) {
    ShowInputPrompt(PV_PROMPT_EMPTY_TEXT);
    return E_INVALIDARG;
  }
  _variant_t instance;
  if (FAILED(MakeI1(m_nIndex, &instance))) {
    Log(L"The instance does not fit the device's numbers.", kFunction, __LINE__);
    return E_INVALIDARG;
  }
  const HRESULT written = Execute(m_pszServiceName ? m_pszServiceName : L"",
                                  {instance, _variant_t(static_cast<char>(kTotalizerControlAttribute)),
                                   _variant_t(static_cast<short>(TotalizerControlCode(selection)))});
  if (FAILED(written)) ShowMessage(kTotalizerWriteFailed);

  const HRESULT refreshed = ExecuteWithoutData(m_spLinkManager, kRefreshService);
  if (FAILED(refreshed) && refreshed != kRefreshPendingTotalizer) {
    Log(L"Failed to refresh after the write.", kFunction, __LINE__);
    GetObjectErrorInfo(m_spLinkManager, __uuidof(IENetLinkCollectionManager), error);
    return refreshed;
  }
  if (SUCCEEDED(written)) {
    ClearOwnBit();
    UpdateEnableState();
  }
  Sleep(kTotalizerRefreshWait);
  ReadBackSwitch(m_nIndex);
  return FAILED(written) ? written : S_OK;
}

HRESULT CPVCtrlWireConfigPageSetSwitchButton::ReadBackSwitch(int instance) {
  CWnd* page = GetParentCWnd();
  return ShowTotalizerControl(m_spLinkManager, m_pszReadBackAttribute, m_nReadBackObjectClass, instance,
                              m_nReadBackAttribute,
                              page ? page->GetDlgItem(ReadBackCombo(instance)) : nullptr,
                              L"CPVCtrlWireConfigPageSetSwitchButton::ReadBackSwitch");
}

// ---------------------------------------------------------------------------------------
// CPVCtrlWireConfigPageRefreshButton

CPVCtrlWireConfigPageRefreshButton::CPVCtrlWireConfigPageRefreshButton(int itemId, int labelItemId,
                                                                       const wchar_t* serviceName,
                                                                       int32_t timerMode, int32_t notifyMode,
                                                                       int32_t confirmation)
    : CPVCtrlOnlineButton(itemId, labelItemId, serviceName, 1, timerMode, notifyMode, confirmation, 0) {}

STDMETHODIMP CPVCtrlWireConfigPageRefreshButton::SetIModule(IModule* pIModule) {
  const HRESULT hr = CPVCtrlOnlineButton::SetIModule(pIModule);
  if (FAILED(hr)) return hr;
  return NoteModuleLink(QueryLinkManager(pIModule, m_spLinkManager));
}

HRESULT CPVCtrlWireConfigPageRefreshButton::PerformService(IErrorInfo** error) {
  if (!m_spLinkManager || !error || *error) return E_FAIL;
  const HRESULT hr = ExecuteWithoutData(m_spLinkManager, m_serviceNames[0]);
  if (FAILED(hr)) {
    Log(L"Failed to execute the service.", L"CPVCtrlWireConfigPageRefreshButton::PerformService", __LINE__);
    GetObjectErrorInfo(m_spLinkManager, __uuidof(IENetLinkCollectionManager), error);
  }
  return hr;
}
