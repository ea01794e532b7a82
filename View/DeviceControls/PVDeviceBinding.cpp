#include "PVDeviceBinding.h"

#include <PVGetSetFloat.h>
#include <PVGetSetLong.h>

namespace {

// The integer data type of the unit captions.
constexpr int kUnitDataType = 3;

}  // namespace

HRESULT PVBindUnitName(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                       IPVGetSetAdapter* adapter) {
  return caption.Initialize(PVNewValue<CPVGetSetLong>(memberName, adapter), kUnitDataType);
}

HRESULT PVBindEditFloat3(CPVCtrlConfigEditFloat3& edit, const wchar_t* memberName, IPVGetSetAdapter* adapter,
                         int textLimit, DWORD signFlags, int decimals) {
  return edit.Initialize(PVNewValue<CPVGetSetFloat>(memberName, adapter), textLimit, signFlags, decimals);
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
                            role(EUnitRole::ReferenceDensity), kUnitDataType);
}
