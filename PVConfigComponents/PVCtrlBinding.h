// Binding a page's controls to members of the configuration tag, once, in the page's
// OnInitDialog: the value objects a control needs are made on the page's adapter, handed to
// the control's Initialize, and the page's own references given back, so that the control
// holds the only ones. Every page binds through these, whatever its control kinds.
//
// No allocation failure leaves here as an exception (it would cross the dialog procedure and
// the host's Create): a value object that cannot be made is passed to the control as null,
// and the control reports that as it reports any missing value object.
#pragma once

#include <afx.h>

#include <array>
#include <cstddef>
#include <new>
#include <utility>

#include "PVCtrlConfigComboBox.h"
#include "PVCtrlConfigEditFloat.h"
#include "PVCtrlConfigEditInteger.h"
#include "PVGetSetInterfaces.h"

// A new value object of class TValue on the member and the adapter (any of them may be
// null), owning the object's first reference; empty when memory is short.
template <class TValue>
IPVGetSetValuePtr PVNewValue(const wchar_t* memberName, IPVGetSetAdapter* adapter) noexcept {
  try {
    return IPVGetSetValuePtr(AfxNew<TValue>(memberName, adapter), false);
  } catch (CMemoryException* e) {
    e->Delete();
  } catch (const std::bad_alloc&) {
  }
  return IPVGetSetValuePtr();
}

// The combo box (or a combo box derived from it) on the enumeration member: a CPVGetSetEnum
// and a CPVGetEnumStrings, no enable condition. The control's answer.
HRESULT PVBindComboBox(CPVCtrlConfigComboBox& combo, const wchar_t* memberName, IPVGetSetAdapter* adapter);

// The float edit (or an edit derived from it) on the REAL member: a CPVGetSetFloat with the
// text limit, sign flags and decimals, no enable condition. The control's answer.
HRESULT PVBindEditFloat(CPVCtrlConfigEditFloat& edit, const wchar_t* memberName, IPVGetSetAdapter* adapter,
                        int textLimit, DWORD signFlags, int decimals);

// The integer edit on the DINT member: a CPVGetSetLong with the text limit and sign flags,
// no enable condition. The control's answer.
HRESULT PVBindEditInteger(CPVCtrlConfigEditInteger& edit, const wchar_t* memberName,
                          IPVGetSetAdapter* adapter, int textLimit, DWORD signFlags);

// One row of a page's table: the control's dialog item id and its member.
struct CPVMemberRow {
  int nID;
  const wchar_t* pszMember;
};

// The row of a float edit: its dialog item id, its member and the binding's text limit, sign
// flags and decimals.
struct CPVEditRow {
  int nID;
  const wchar_t* pszMember;
  int nTextLimit;
  DWORD dwSignFlags;
  int nDecimals;
};

// The float edit (or an edit derived from it) bound as its row says.
inline HRESULT PVBindEditFloat(CPVCtrlConfigEditFloat& edit, const CPVEditRow& row,
                               IPVGetSetAdapter* adapter) {
  return PVBindEditFloat(edit, row.pszMember, adapter, row.nTextLimit, row.dwSignFlags, row.nDecimals);
}

// The controls of one class that a page keeps in table order, each constructed with its
// row's dialog item id (TRow has a member nID) followed by the constructor arguments the
// rows share (the masters of dependent controls); a constructor that throws destroys the
// controls already made.
template <class TCtrl, class TRow, size_t N, class... TArgs>
std::array<TCtrl, N> PVMakeControls(const TRow (&rows)[N], const TArgs&... args) {
  return [&]<size_t... I>(std::index_sequence<I...>) {
    return std::array<TCtrl, N>{TCtrl(rows[I].nID, args...)...};
  }
  (std::make_index_sequence<N>());
}

// DDX_Control for each control of a page's array, with its row's dialog item id.
template <class TCtrl, class TRow, size_t N>
void PVExchangeControls(CDataExchange* pDX, std::array<TCtrl, N>& controls, const TRow (&rows)[N]) {
  for (size_t i = 0; i < N; ++i) DDX_Control(pDX, rows[i].nID, controls[i]);
}

// Each combo box of a page's array bound to its row's member.
template <class TCombo, size_t N>
void PVBindComboBoxes(std::array<TCombo, N>& combos, const CPVMemberRow (&rows)[N],
                      IPVGetSetAdapter* adapter) {
  for (size_t i = 0; i < N; ++i) PVBindComboBox(combos[i], rows[i].pszMember, adapter);
}

// Each float edit of a page's array bound as its row says.
template <class TEdit, size_t N>
void PVBindEditFloats(std::array<TEdit, N>& edits, const CPVEditRow (&rows)[N], IPVGetSetAdapter* adapter) {
  for (size_t i = 0; i < N; ++i) PVBindEditFloat(edits[i], rows[i], adapter);
}
