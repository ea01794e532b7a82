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
  const CDeviceUnitData& data = GetDeviceUnitData();
  const auto role = [&selectors](EUnitRole r) -> const IPVGetSetValuePtr& {
    return selectors[static_cast<size_t>(r)];
  };
  return caption.Initialize(role(data.firstInitializeRole), role(data.secondInitializeRole),
                            role(EUnitRole::CorrectedVolumeFlow), role(EUnitRole::Density),
                            role(EUnitRole::ReferenceDensity), PV_UNIT_CAPTION_DATA_TYPE);
}

HRESULT PVBindStaticTextPages(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                              IPVGetSetAdapter* adapter) {
  IPVGetSetValuePtr value = PVNewValue<CPVGetSetLong>(memberName, adapter);
  return caption.Initialize(value, PV_UNIT_CAPTION_DATA_TYPE);
}
