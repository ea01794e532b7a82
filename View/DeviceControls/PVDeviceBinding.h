// Binding the device controls of a page, as the framework's binding helper binds the
// configuration controls: the value objects on the page's adapter, handed to the control, the
// page's own references given back; and the bindings that a page's table chooses for them by
// their classes.
#pragma once

#include <PVCtrlBinding.h>
#include <PVPageTable.h>

#include <array>
#include <cstddef>
#include <type_traits>

#include "DeviceUnitData.h"
#include "PVCtrlCmbDependStatic.h"
#include "PVCtrlConfigDependCtrls.h"
#include "PVCtrlConfigStaticTextPages.h"

// The unit-name static on the unit member: a CPVGetSetLong, data type 3. The control's answer.
HRESULT PVBindUnitName(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                       IPVGetSetAdapter* adapter);

// The device's float edit (or one derived from it) on the REAL member: a CPVGetSetFloat and
// its own four-argument Initialize with the text limit, sign flags and decimals. The control's
// answer.
HRESULT PVBindEditFloat3(CPVCtrlConfigEditFloat3& edit, const wchar_t* memberName, IPVGetSetAdapter* adapter,
                         int textLimit, DWORD signFlags, int decimals);

// The unit members of a dependent unit caption by role (index: EUnitRole; mass flow, volume
// flow, corrected volume flow, density, reference density); null where the page names none.
using CPVUnitMembers = std::array<const wchar_t*, kUnitRoleCount>;
// One CPVGetSetLong per unit member, in the same order; empty where no member is named.
using CPVUnitSelectors = std::array<IPVGetSetValuePtr, kUnitRoleCount>;

// The unit selectors on the members, made once so that several captions can share them.
CPVUnitSelectors PVNewUnitSelectors(const CPVUnitMembers& members, IPVGetSetAdapter* adapter);

// The dependent unit caption on the selectors (it takes its own references), data type 3: the
// first two in the order the meter's Initialize takes them (its unit data's first and second
// roles), so that one page source serves both meters. The control's answer.
HRESULT PVBindCmbDependStatic(CPVCtrlCmbDependStatic& caption, const CPVUnitSelectors& selectors);

static_assert(std::is_same_v<CPVUnitMembers, CPVRowMembers>,
              "a unit caption's row names its members by unit role");

// The bindings of a page's table for the device controls' classes: the control's answer.
inline HRESULT PVBindRow(CPVCtrlConfigEditFloat3& edit, const CPVRowMembers& members, const CPVEditArgs& args,
                         IPVGetSetAdapter* adapter) {
  return PVBindEditFloat3(edit, members[0], adapter, args.nTextLimit, args.dwSignFlags, args.nDecimals);
}
inline HRESULT PVBindRow(CPVCtrlConfigStaticTextPages& caption, const CPVRowMembers& members,
                         const CPVEditArgs&, IPVGetSetAdapter* adapter) {
  return PVBindUnitName(caption, members[0], adapter);
}
inline HRESULT PVBindRow(CPVCtrlCmbDependStatic& caption, const CPVRowMembers& members, const CPVEditArgs&,
                         IPVGetSetAdapter* adapter) {
  return PVBindCmbDependStatic(caption, PVNewUnitSelectors(members, adapter));
}
