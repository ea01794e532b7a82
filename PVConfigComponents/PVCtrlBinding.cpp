#include "PVCtrlBinding.h"

#include "PVGetEnumStrings.h"
#include "PVGetSetEnum.h"
#include "PVGetSetFloat.h"
#include "PVGetSetLong.h"

HRESULT PVBindComboBox(CPVCtrlConfigComboBox& combo, const wchar_t* memberName, IPVGetSetAdapter* adapter) {
  IPVGetSetValuePtr value = PVNewValue<CPVGetSetEnum>(memberName, adapter);
  IPVGetSetValuePtr texts = PVNewValue<CPVGetEnumStrings>(memberName, adapter);
  return combo.Initialize(value, texts, nullptr);
}

HRESULT PVBindEditFloat(CPVCtrlConfigEditFloat& edit, const wchar_t* memberName, IPVGetSetAdapter* adapter,
                        int textLimit, DWORD signFlags, int decimals) {
  IPVGetSetValuePtr value = PVNewValue<CPVGetSetFloat>(memberName, adapter);
  return edit.Initialize(value, textLimit, signFlags, decimals, nullptr);
}

HRESULT PVBindEditInteger(CPVCtrlConfigEditInteger& edit, const wchar_t* memberName,
                          IPVGetSetAdapter* adapter, int textLimit, DWORD signFlags) {
  IPVGetSetValuePtr value = PVNewValue<CPVGetSetLong>(memberName, adapter);
  return edit.Initialize(value, textLimit, signFlags, nullptr);
}
