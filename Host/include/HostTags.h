// The host's configuration-tag interface: members of a module's configuration tag read and
// written by name. The host and the profile DLLs share this declaration, so both agree on one
// layout: after IDispatch's operations (table entries 4 to 7, counting IUnknown's three) come
// the tag's own operations in the order below, the value read at entry 8.
#pragma once

#include <oaidl.h>

// Every operation answers E_INVALIDARG for a member the tag does not have. Outputs (VARIANT,
// SAFEARRAY) belong to the caller.
interface ITag : public IDispatch {
  // The member's value: VT_BOOL, VT_I4 (integers and enumeration codes), VT_I8, VT_R4 (REAL)
  // or VT_BSTR. value: out, overwritten without being cleared.
  STDMETHOD(GetMemberValue)(BSTR member, VARIANT* value) = 0;
  // Writes the member (an enumeration takes its device code); the host's failure is returned.
  STDMETHOD(SetMemberValue)(BSTR member, VARIANT value) = 0;
  // An enumeration member's position in its list of entries.
  STDMETHOD(GetEnumValue)(BSTR member, LONG* index) = 0;
  STDMETHOD(SetEnumValue)(BSTR member, LONG index) = 0;
  // A new one-dimensional array of the entries' texts in list order.
  STDMETHOD(GetEnumStrings)(BSTR member, SAFEARRAY** texts) = 0;
  // The member's limits, of the value's type.
  STDMETHOD(GetMinValue)(BSTR member, VARIANT* value) = 0;
  STDMETHOD(GetMaxValue)(BSTR member, VARIANT* value) = 0;
};
DECLARE_UUIDOF(ITag, "22C26AAA-7C51-405E-ACD7-DB0ADD9B2C71");
inline constexpr IID IID_ITag = __uuidof(ITag);
