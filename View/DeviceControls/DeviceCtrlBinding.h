// Binding the device controls of a page to members of the configuration tag, once, in the
// page's OnInitDialog, as PVCtrlBinding.h binds the framework's controls: the value objects a
// control needs are made on the page's adapter and handed to its Initialize, and the page's
// own references are given back, so that the control holds the only ones. A value object
// that cannot be made reaches the control as null.
#pragma once

#include <PVCtrlBinding.h>
#include <PVGetSetInterfaces.h>

#include <array>

#include "DeviceUnitData.h"
#include "PVCtrlCmbDependStatic.h"
#include "PVCtrlConfigDependCtrls.h"
#include "PVCtrlConfigStaticTextPages.h"

// The data type code with which the pages bind their unit captions: the units are integers.
inline constexpr int PV_UNIT_CAPTION_DATA_TYPE = 3;

// The device's float edit (or one derived from it) on the REAL member: a CPVGetSetFloat and
// its own four-argument Initialize. The control's answer.
HRESULT PVBindEditFloat3(CPVCtrlConfigEditFloat3& edit, const CPVEditRow& row, IPVGetSetAdapter* adapter);

// The unit members of a dependent unit caption by role (index: EUnitRole; mass flow, volume
// flow, corrected volume flow, density, reference density); null where the page names none.
using CPVUnitMembers = std::array<const wchar_t*, kUnitRoleCount>;
// One CPVGetSetLong per unit member, in the same order; empty where no member is named.
using CPVUnitSelectors = std::array<IPVGetSetValuePtr, kUnitRoleCount>;

// The unit selectors on the members, made once so that several captions can share them.
CPVUnitSelectors PVNewUnitSelectors(const CPVUnitMembers& members, IPVGetSetAdapter* adapter);

// The dependent unit caption on the selectors (it takes its own references), with the unit
// captions' data type: the first two in the order the meter's Initialize takes them (its unit
// data's first and second roles), so that one page source serves both meters. The control's
// answer.
HRESULT PVBindCmbDependStatic(CPVCtrlCmbDependStatic& caption, const CPVUnitSelectors& selectors);

// The unit-name static on the unit member: a CPVGetSetLong of its own, with the unit captions'
// data type. The control's answer.
HRESULT PVBindStaticTextPages(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                              IPVGetSetAdapter* adapter);
