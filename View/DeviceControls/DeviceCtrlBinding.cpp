#include "DeviceCtrlBinding.h"

#include <PVGetSetFloat.h>
#include <PVGetSetLong.h>

HRESULT PVBindEditFloat3(CPVCtrlConfigEditFloat3& edit, const CPVEditRow& row, IPVGetSetAdapter* adapter) {
  IPVGetSetValuePtr value = PVNewValue<CPVGetSetFloat>(row.pszMember, adapter);
  return edit.Initialize(value, row.nTextLimit, row.dwSignFlags, row.nDecimals);
}

CPVUnitSelectors PVNewUnitSelectors(const CPVUnitMembers& members, IPVGetSetAdapter* adapter) {
  CPVUnitSelectors selectors;
  for (size_t i = 0; i < members.size(); ++i)
    if (members[i]) selectors[i] = PVNewValue<CPVGetSetLong>(members[i], adapter);
  return selectors;
}

HRESULT PVBindCmbDependStatic(CPVCtrlCmbDependStatic& caption, const CPVUnitSelectors& selectors) {
  return caption.Initialize(selectors[0], selectors[1], selectors[2], selectors[3], selectors[4],
                            PV_UNIT_CAPTION_DATA_TYPE);
}

HRESULT PVBindStaticTextPages(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                              IPVGetSetAdapter* adapter) {
  IPVGetSetValuePtr value = PVNewValue<CPVGetSetLong>(memberName, adapter);
  return caption.Initialize(value, PV_UNIT_CAPTION_DATA_TYPE);
}
