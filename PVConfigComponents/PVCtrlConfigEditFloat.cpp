#include "PVCtrlConfigEditFloat.h"

#include "CnvTextToValue.h"
#include "EditMask.h"

BEGIN_MESSAGE_MAP(CPVCtrlConfigEditFloat, CPVCtrlConfigEditCtrl)
ON_WM_KILLFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr unsigned kMostDecimals = 9;

}  // namespace

CPVCtrlConfigEditFloat::CPVCtrlConfigEditFloat(int itemId) : CPVCtrlConfigEditCtrl(itemId) {
  m_pEditMask = GetEditFloatMask();
}

CPVCtrlConfigEditFloat::~CPVCtrlConfigEditFloat() = default;

HRESULT CPVCtrlConfigEditFloat::Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags,
                                           int decimals, IPVEnableCondition* enableCondition) {
  m_nDecimals = decimals;
  return CPVCtrlConfigEditCtrl::Initialize(value, textLimit, signFlags, PV_EDIT_DATA_FLOAT, enableCondition);
}

BOOL CPVCtrlConfigEditFloat::IsBindingValid() {
  return CPVCtrlConfigEditCtrl::IsBindingValid() && m_nDataType == PV_EDIT_DATA_FLOAT &&
                 static_cast<unsigned>(m_nDecimals) <= kMostDecimals && m_dwSignFlags != 0
             ? TRUE
             : FALSE;
}

HRESULT CPVCtrlConfigEditFloat::ReadValue(CPromptInfo* prompt) {
  return ReadValueText(m_nDecimals, prompt);
}

HRESULT CPVCtrlConfigEditFloat::WriteValue(CPromptInfo* prompt) {
  return WriteValueText(m_nDecimals, prompt);
}

HRESULT CPVCtrlConfigEditFloat::RoundText(const CString& text, CString* rounded) {
  float value = 0.0f;
  return GetCnvTextToFloat()->ConvertTextToValueRounded(text, m_nDecimals, &value, rounded, nullptr);
}

void CPVCtrlConfigEditFloat::OnKillFocus(CWnd* newWindow) {
  CEdit::OnKillFocus(newWindow);
  CString text;
  GetWindowText(text);
  CString rounded;
  if (SUCCEEDED(RoundText(text, &rounded))) SetWindowText(rounded);
}
