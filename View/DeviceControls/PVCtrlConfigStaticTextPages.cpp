#include "PVCtrlConfigStaticTextPages.h"

#include <PVComponentsGlobals.h>
#include <PVLog.h>

#include "DeviceUnitData.h"

namespace {

constexpr CPVSourceLog Log(L"PVCtrlConfigStaticTextPages");
constexpr wchar_t kUnknownUnit[] = L"??";
constexpr int kMostDecimals = 9;

// The lines this control's records carry: fixed numbers of the system, as its function names
// are (PVLog.h), not the lines of this file.
constexpr int32_t kInitializeLine = 70;
constexpr int32_t kInitializeWithDecimalsLine = 100;
constexpr int32_t kNoWindowLine = 121;
constexpr int32_t kNoValueLine = 129;
constexpr int32_t kUnknownDataTypeLine = 139;
constexpr int32_t kBadDecimalsLine = 149;
constexpr int32_t kDoRefreshLine = 203;
constexpr int32_t kGetValueLine = 314;

// The table of the unit-name static with the item id; empty when the meter has none for it.
CUnitTable TableOf(int32_t itemId) {
  for (const CUnitNameChoice& choice : GetDeviceUnitData().unitNameTables)
    if (choice.itemId == itemId) return choice.table;
  return {};
}

}  // namespace

CPVCtrlConfigStaticTextPages::CPVCtrlConfigStaticTextPages(int itemId)
    : CPVCtrlStatic(itemId), m_nOwnId(itemId) {}

CPVCtrlConfigStaticTextPages::~CPVCtrlConfigStaticTextPages() = default;

HRESULT CPVCtrlConfigStaticTextPages::Initialize(IPVGetSetValue* value, int dataType) {
  m_spValue = value;
  m_nDataType = dataType;
  return CheckInitialization(kInitializeLine);
}

HRESULT CPVCtrlConfigStaticTextPages::Initialize(IPVGetSetValue* value, int dataType, int decimals) {
  m_spValue = value;
  m_nDataType = dataType;
  m_nDecimals = decimals;
  return CheckInitialization(kInitializeWithDecimalsLine);
}

HRESULT CPVCtrlConfigStaticTextPages::CheckInitialization(int line) {
  if (InitializationIsValid()) return S_OK;
  Log(L"Fail to initialise.", L"CPVCtrlConfigStaticTextPages::Initialize", line);
  return E_FAIL;
}

BOOL CPVCtrlConfigStaticTextPages::InitializationIsValid() {
  static constexpr wchar_t kFunction[] = L"CPVCtrlConfigStaticTextPages::InitializationIsValid";
  if (!GetSafeHwnd()) {
    Log(L"NULL window handler.", kFunction, kNoWindowLine);
    return FALSE;
  }
  if (!InterfaceIsValid(m_spValue.GetInterfacePtr())) {
    Log(L"Invalid interface IPVGetSetValue not initialized.", kFunction, kNoValueLine);
    return FALSE;
  }
  switch (m_nDataType) {
    case 0:
    case 3:
    case 5:
      return TRUE;
    case 4:
      if (m_nDecimals >= 0 && m_nDecimals <= kMostDecimals) return TRUE;
      Log(L"Invalid number of decimal places specified for Tavelin5000_Float data type.", kFunction,
          kBadDecimalsLine);
      return FALSE;
    default:
      Log(L"Invalid Tavelin data type for control.", kFunction, kUnknownDataTypeLine);
      return FALSE;
  }
}

IPVGetSetValue* CPVCtrlConfigStaticTextPages::GetIPVGetSetValue() {
  if (!InterfaceIsValid(m_spValue.GetInterfacePtr())) {
    Log(L"Invalid pointer to IPVGetSetValue", L"CPVCtrlConfigStaticTextPages::GetIPVGetSetValue",
        kGetValueLine);
    return nullptr;
  }
  m_spValue->AddRef();
  return m_spValue.GetInterfacePtr();
}

HRESULT CPVCtrlConfigStaticTextPages::DoRefresh() {
  if (!InitializationIsValid()) {
    Log(L"Fail to initialise.", L"CPVCtrlConfigStaticTextPages::DoRefresh", kDoRefreshLine);
    return E_FAIL;
  }
  CString caption = kUnknownUnit;
  const IPVGetSetValuePtr value(GetIPVGetSetValue(), false);
  LONG code = 0;
  const HRESULT hr = value->GetValue(&code, nullptr);
  if (SUCCEEDED(hr)) {
    if (const wchar_t* name = FindUnitName(TableOf(m_nOwnId), code)) caption = name;
  }
  SetStaticWindowText(caption);
  return hr;
}

STDMETHODIMP CPVCtrlConfigStaticTextPages::OnActivate() {
  return DoRefresh();
}

STDMETHODIMP CPVCtrlConfigStaticTextPages::Refresh() {
  return DoRefresh();
}
