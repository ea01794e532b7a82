// Binding the device controls of a page from the page's table, as the framework's binding
// helper binds the configuration controls: the value objects on the page's adapter, handed to
// the control, the page's own references given back. Rows of the tables of range-dependent
// float edits and unit-name statics, and the controls made from them; the unit members of
// the dependent unit captions.
#pragma once

#include <PVCtrlBinding.h>

#include <array>
#include <cstddef>
#include <utility>

#include "DeviceUnitData.h"
#include "PVCtrlCmbDependStatic.h"
#include "PVCtrlConfigDependCtrls.h"
#include "PVCtrlConfigStaticTextPages.h"

// One range-dependent float edit of a page's table: its dialog item id, its master combo box
// with the inclusive range of positions, its REAL member and the edit's text limit, sign
// flags and decimals.
struct CDependEditRow {
  int nID;
  int nMasterID;
  int nLow;
  int nHigh;
  const wchar_t* pszMember;
  int nTextLimit;
  DWORD dwSignFlags;
  int nDecimals;
};

// One unit-name static of a page's table: its dialog item id (which chooses its table) and
// its unit member.
struct CUnitNameRow {
  int nID;
  const wchar_t* pszMember;
};

// The dependent edits of the rows, in table order, each with its row's id, master and range.
template <size_t N>
std::array<CPVCtrlConfigChkCmbBtnDependEditBox, N> PVMakeDependEdits(const CDependEditRow (&rows)[N]) {
  return [&rows]<size_t... I>(std::index_sequence<I...>) {
    return std::array<CPVCtrlConfigChkCmbBtnDependEditBox, N>{
        CPVCtrlConfigChkCmbBtnDependEditBox(rows[I].nID, rows[I].nMasterID, rows[I].nLow, rows[I].nHigh)...};
  }
  (std::make_index_sequence<N>());
}

// The dependent edit on its row's member with its row's edit arguments. The control's answer.
HRESULT PVBindDependEdit(CPVCtrlConfigEditFloat& edit, const CDependEditRow& row, IPVGetSetAdapter* adapter);

// The unit-name static on the unit member: a CPVGetSetLong, data type 3. The control's answer.
HRESULT PVBindUnitName(CPVCtrlConfigStaticTextPages& caption, const wchar_t* memberName,
                       IPVGetSetAdapter* adapter);

// The device's float edit (or one derived from it) on its row's member: a CPVGetSetFloat and
// its own four-argument Initialize with the row's edit arguments. The control's answer.
HRESULT PVBindEditFloat3(CPVCtrlConfigEditFloat3& edit, const CDependEditRow& row, IPVGetSetAdapter* adapter);

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
