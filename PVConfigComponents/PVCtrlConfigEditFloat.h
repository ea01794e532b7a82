// The configuration edit box of a REAL member, shown and stored with a fixed number of
// decimals. Its mask is the process-wide decimal mask; leaving the box rounds the text to the
// box's decimals ("1.5" becomes "1.50" in a two-decimal box), which counts as a change.
#pragma once

#include "PVCtrlConfigEditCtrl.h"

class CPVCtrlConfigEditFloat : public CPVCtrlConfigEditCtrl {
 public:
  explicit CPVCtrlConfigEditFloat(int itemId);
  ~CPVCtrlConfigEditFloat() override;

  // The typed binding: stores the decimals, then the common binding with the float data type
  // code. It takes the common Initialize's place, so on a float edit the fourth argument is
  // always the number of decimals; the common binding itself is
  // CPVCtrlConfigEditCtrl::Initialize.
  HRESULT Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags, int decimals,
                     IPVEnableCondition* enableCondition) override;
  // The common check, the float data type code, 0 to 9 decimals and a sign allowed.
  BOOL IsBindingValid() override;
  // The member as text with the box's decimals.
  HRESULT ReadValue(CPromptInfo* prompt) override;
  // The text, rounded to the box's decimals, into the member.
  HRESULT WriteValue(CPromptInfo* prompt) override;

  int GetDecimals() const { return m_nDecimals; }

 protected:
  // The text rounded to the box's decimals (RoundText) and put back when that succeeds.
  afx_msg void OnKillFocus(CWnd* newWindow);
  // The text in the box's normal form on focus loss: rounded by the framework's decimal
  // converter to the box's decimals.
  virtual HRESULT RoundText(const CString& text, CString* rounded);

  int32_t m_nDecimals = 1;

  DECLARE_MESSAGE_MAP()
};
