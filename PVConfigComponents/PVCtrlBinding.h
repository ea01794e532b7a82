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

#include <new>

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
