#include "PVDeviceBinding.h"

#include <PVGetSetLong.h>

namespace {

// The integer data type of the unit captions.
constexpr int kUnitDataType = 3;

}  // namespace

HRESULT PVBindDependEdit(CPVCtrlConfigEditFloat& edit, const CDependEditRow& row, IPVGetSetAdapter* adapter) {
  return PVBindEditFloat(edit, row.pszMember, adapter, row.nTextLimit, row.dwSignFlags, row.nDecimals);
}

HRESULT PVBindUnitName(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                       IPVGetSetAdapter* adapter) {
  return caption.Initialize(PVNewValue<CPVGetSetLong>(memberName, adapter), kUnitDataType);
}
