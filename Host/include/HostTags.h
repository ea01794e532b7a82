// The host's configuration-tag interfaces: members of a module's configuration tag read and
// written by name, the tag's suffix and dirty flags, forcing, enumeration codes, extension
// properties, and the module's safety, private and connection tags. The host and the profile
// DLLs share these declarations, so both agree on one layout. ITag: after IDispatch's
// operations (table entries 4 to 7, counting IUnknown's three) come the tag's own operations
// in the order below, the value read at entry 8.
#pragma once

#include <comdef.h>
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

// The tag's later version: its suffix and the dirty flag of each member.
interface ITag2 : public ITag {
  // The tag's suffix text ("", "O", "EO", ...); a new BSTR the caller frees.
  STDMETHOD(get_Suffix)(BSTR* suffix) = 0;
  // VARIANT_TRUE while the member holds a value written since the host last saved.
  STDMETHOD(GetMemberDirtyState)(BSTR member, VARIANT_BOOL* dirty) = 0;
};
DECLARE_UUIDOF(ITag2, "BF56B08F-AD5F-47D7-9A24-DEBDD1752C28");

// Forcing of I/O values by the controller. The third operation is the host's own; the DLLs
// never call it.
interface ITagForcing : public IUnknown {
  STDMETHOD(GetIsForced)(BSTR member, VARIANT_BOOL* forced) = 0;
  // Whether forces are enabled in the controller (the whole controller, not one member).
  STDMETHOD(GetForcesEnabled)(VARIANT_BOOL* enabled) = 0;
  STDMETHOD(SetForcesEnabled)(VARIANT_BOOL enabled) = 0;
  // The value the controller imposes on the member; value: out, owned by the caller.
  STDMETHOD(GetForceValue)(BSTR member, VARIANT* value) = 0;
};
DECLARE_UUIDOF(ITagForcing, "76992B4F-C13E-420E-B371-812A29FC84FD");

// The device codes of an enumeration member's entries.
interface ITagEnumValues : public IUnknown {
  // values: out, a new one-dimensional VT_I4 array of the codes in list order (the order of
  // GetEnumStrings), owned by the caller.
  STDMETHOD(GetEnumValues)(BSTR member, SAFEARRAY** values) = 0;
};
DECLARE_UUIDOF(ITagEnumValues, "5F3F0C20-7EE3-4AD8-B0D2-CF3E4BAEE66F");

// Extension properties of a tag's members, under a 32-bit key of the caller's choosing.
interface ITagExtProperty : public IUnknown {
  // value: out, the property as VT_BSTR (an empty text while it was never written).
  STDMETHOD(GetProperty)(LONG key, BSTR member, VARIANT* value) = 0;
  STDMETHOD(SetProperty)(LONG key, BSTR member, VARIANT value) = 0;
};
DECLARE_UUIDOF(ITagExtProperty, "5ED8D530-F74F-43D6-BAC7-D53E1D5A6814");

// The module's safety configuration tag (asked of the module object).
interface IModuleSafetyTag : public IUnknown {
  // tag: out, a new reference; E_NOINTERFACE when the module has no safety tag.
  STDMETHOD(GetSafetyConfigurationTag)(ITag** tag) = 0;
};
DECLARE_UUIDOF(IModuleSafetyTag, "FBDCAB96-F319-4B1A-8950-57D6F0E562FC");

// The module's private tags by name (asked of the module object).
interface IModulePrivateTags : public IUnknown {
  // tag: out, a new reference; E_INVALIDARG when the module has no tag of that name.
  STDMETHOD(GetPrivateTag)(BSTR name, ITag** tag) = 0;
};
DECLARE_UUIDOF(IModulePrivateTags, "EDE1AD9E-30E0-468E-9F8E-0E6C103C9EC6");

// One connection of the module to the controller: its two I/O tags.
interface IConnectionInstance : public IUnknown {
  // which: 0 the first, 1 the second of the connection's tags. tag: out, a new reference;
  // E_NOINTERFACE when the connection has no such tag, E_INVALIDARG for another number.
  STDMETHOD(GetConnectionTag)(LONG which, ITag** tag) = 0;
};
DECLARE_UUIDOF(IConnectionInstance, "C40C7FC2-8BBE-404F-BA7E-1C32D66CC452");

_COM_SMARTPTR_TYPEDEF(ITag, __uuidof(ITag));
_COM_SMARTPTR_TYPEDEF(ITag2, __uuidof(ITag2));
_COM_SMARTPTR_TYPEDEF(ITagForcing, __uuidof(ITagForcing));
_COM_SMARTPTR_TYPEDEF(ITagEnumValues, __uuidof(ITagEnumValues));
_COM_SMARTPTR_TYPEDEF(ITagExtProperty, __uuidof(ITagExtProperty));
_COM_SMARTPTR_TYPEDEF(IModuleSafetyTag, __uuidof(IModuleSafetyTag));
_COM_SMARTPTR_TYPEDEF(IModulePrivateTags, __uuidof(IModulePrivateTags));
_COM_SMARTPTR_TYPEDEF(IConnectionInstance, __uuidof(IConnectionInstance));

// The event services of an I/O tag: while a client is subscribed, the tag fires its
// data-changed and flush events on its DPSTagEvents connection point (through the tag's
// IConnectionPointContainer).
interface IServicesComponent : public IUnknown {
  STDMETHOD(SubscribeVexilEvents)() = 0;
  // The failure of a client that was not subscribed is the host's own.
  STDMETHOD(UnsubscribeVexilEvents)() = 0;
};
DECLARE_UUIDOF(IServicesComponent, "7AD57D45-CD18-4323-8CDA-37408C34BE41");
_COM_SMARTPTR_TYPEDEF(IServicesComponent, __uuidof(IServicesComponent));

// The dispatch interface of an I/O tag's events, described in the tag events type library
// (version 1.0). Dispatch ids: 6 data changed, 7 flush; neither takes arguments.
interface DPSTagEvents : public IDispatch {};
DECLARE_UUIDOF(DPSTagEvents, "85EBC000-9F15-4329-963E-2AAA4FD9CC97");
inline constexpr IID DIID_DPSTagEvents = __uuidof(DPSTagEvents);
inline constexpr GUID LIBID_DPSTagEventsLib = platform::GuidFromText("BE6FA5CE-35F7-4B36-86E3-9B04C34B5424");
inline constexpr DISPID DISPID_DPSTAGEVENTS_DATACHANGED = 6;
inline constexpr DISPID DISPID_DPSTAGEVENTS_FLUSH = 7;
