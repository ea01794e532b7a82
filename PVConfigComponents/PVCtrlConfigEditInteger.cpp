#include "PVCtrlConfigEditInteger.h"

#include "EditMask.h"

CPVCtrlConfigEditInteger::CPVCtrlConfigEditInteger(int itemId) : CPVCtrlConfigEditCtrl(itemId) {
  m_pEditMask = GetEditIntegerMask();
}

CPVCtrlConfigEditInteger::~CPVCtrlConfigEditInteger() = default;

HRESULT CPVCtrlConfigEditInteger::Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags,
                                             IPVEnableCondition* enableCondition) {
  return CPVCtrlConfigEditCtrl::Initialize(value, textLimit, signFlags, PV_EDIT_DATA_INTEGER,
                                           enableCondition);
}

BOOL CPVCtrlConfigEditInteger::IsBindingValid() {
  return CPVCtrlConfigEditCtrl::IsBindingValid() && m_nDataType == PV_EDIT_DATA_INTEGER && m_dwSignFlags != 0
             ? TRUE
             : FALSE;
}
