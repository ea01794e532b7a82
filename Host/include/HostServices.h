// The host's service interfaces that the profile DLLs call: prompt and string servers with
// their locale interface, the module's safety state, its version, its connected-device
// identity, and the dialog manager. The host and the DLLs share these declarations, so both
// agree on one layout. Where only one operation's slot is known, placeholder operations
// (ReservedN) stand before it; nobody calls them, the host answers them with E_NOTIMPL.
#pragma once

#include <oaidl.h>
#include <comdef.h>

// Placeholder slots, one per use: HOST_RESERVED_SLOT(7); declares Reserved7.
#define HOST_RESERVED_SLOT(n) STDMETHOD(Reserved##n)() = 0
// In an implementing class: the same slot answering E_NOTIMPL (HOST_RESERVED_SLOT_IMPL(7);).
#define HOST_RESERVED_SLOT_IMPL(n)      \
  STDMETHODIMP Reserved##n() override { \
    return E_NOTIMPL;                   \
  }                                     \
  static_assert(true)

// A prompt by number: caption, type (passed on as a help context) and text, in this argument
// order. The BSTRs belong to the caller.
interface IPromptServer : public IDispatch {
  STDMETHOD(GetPrompt)(LONG id, BSTR* caption, LONG* type, BSTR* text) = 0;
};
DECLARE_UUIDOF(IPromptServer, "413180BF-51ED-4236-B7DE-74EBA2027EA1");

// A string by number; SetAccelerators switches access-key marks ('&') in labels on or off.
interface IStringServer : public IDispatch {
  STDMETHOD(GetString)(LONG id, BSTR* text) = 0;
  STDMETHOD(SetAccelerators)(VARIANT_BOOL on) = 0;
};
DECLARE_UUIDOF(IStringServer, "0BB3D2EB-BFE7-4A95-A1E3-D8CA3879E070");

// The language a service object answers in.
interface IServerLocale : public IDispatch {
  STDMETHOD(GetLocale)(LCID* lcid) = 0;
  STDMETHOD(SetLocale)(LCID lcid) = 0;
};
DECLARE_UUIDOF(IServerLocale, "F1BA6231-94DC-446A-A877-D5A71606CAE8");

// The module's safety configuration: operation 63 tells whether safety is enabled.
// which: 1 (the only value the DLLs pass).
interface IModuleSafety : public IUnknown {
  HOST_RESERVED_SLOT(1);
  HOST_RESERVED_SLOT(2);
  HOST_RESERVED_SLOT(3);
  HOST_RESERVED_SLOT(4);
  HOST_RESERVED_SLOT(5);
  HOST_RESERVED_SLOT(6);
  HOST_RESERVED_SLOT(7);
  HOST_RESERVED_SLOT(8);
  HOST_RESERVED_SLOT(9);
  HOST_RESERVED_SLOT(10);
  HOST_RESERVED_SLOT(11);
  HOST_RESERVED_SLOT(12);
  HOST_RESERVED_SLOT(13);
  HOST_RESERVED_SLOT(14);
  HOST_RESERVED_SLOT(15);
  HOST_RESERVED_SLOT(16);
  HOST_RESERVED_SLOT(17);
  HOST_RESERVED_SLOT(18);
  HOST_RESERVED_SLOT(19);
  HOST_RESERVED_SLOT(20);
  HOST_RESERVED_SLOT(21);
  HOST_RESERVED_SLOT(22);
  HOST_RESERVED_SLOT(23);
  HOST_RESERVED_SLOT(24);
  HOST_RESERVED_SLOT(25);
  HOST_RESERVED_SLOT(26);
  HOST_RESERVED_SLOT(27);
  HOST_RESERVED_SLOT(28);
  HOST_RESERVED_SLOT(29);
  HOST_RESERVED_SLOT(30);
  HOST_RESERVED_SLOT(31);
  HOST_RESERVED_SLOT(32);
  HOST_RESERVED_SLOT(33);
  HOST_RESERVED_SLOT(34);
  HOST_RESERVED_SLOT(35);
  HOST_RESERVED_SLOT(36);
  HOST_RESERVED_SLOT(37);
  HOST_RESERVED_SLOT(38);
  HOST_RESERVED_SLOT(39);
  HOST_RESERVED_SLOT(40);
  HOST_RESERVED_SLOT(41);
  HOST_RESERVED_SLOT(42);
  HOST_RESERVED_SLOT(43);
  HOST_RESERVED_SLOT(44);
  HOST_RESERVED_SLOT(45);
  HOST_RESERVED_SLOT(46);
  HOST_RESERVED_SLOT(47);
  HOST_RESERVED_SLOT(48);
  HOST_RESERVED_SLOT(49);
  HOST_RESERVED_SLOT(50);
  HOST_RESERVED_SLOT(51);
  HOST_RESERVED_SLOT(52);
  HOST_RESERVED_SLOT(53);
  HOST_RESERVED_SLOT(54);
  HOST_RESERVED_SLOT(55);
  HOST_RESERVED_SLOT(56);
  HOST_RESERVED_SLOT(57);
  HOST_RESERVED_SLOT(58);
  HOST_RESERVED_SLOT(59);
  HOST_RESERVED_SLOT(60);
  HOST_RESERVED_SLOT(61);
  HOST_RESERVED_SLOT(62);
  STDMETHOD(GetSafetyEnabled)(LONG which, VARIANT_BOOL* enabled) = 0;
};
DECLARE_UUIDOF(IModuleSafety, "289D2314-0D07-4038-9646-68849DCB1AAB");

// The module's safety lock: operation 8 the lock flag, operations 12 and 13 two further
// lock flags.
interface IModuleSafetyLock : public IUnknown {
  HOST_RESERVED_SLOT(1);
  HOST_RESERVED_SLOT(2);
  HOST_RESERVED_SLOT(3);
  HOST_RESERVED_SLOT(4);
  HOST_RESERVED_SLOT(5);
  HOST_RESERVED_SLOT(6);
  HOST_RESERVED_SLOT(7);
  STDMETHOD(GetSafetyLocked)(VARIANT_BOOL* locked) = 0;
  HOST_RESERVED_SLOT(9);
  HOST_RESERVED_SLOT(10);
  HOST_RESERVED_SLOT(11);
  STDMETHOD(GetLockFlag1)(VARIANT_BOOL* flag) = 0;
  STDMETHOD(GetLockFlag2)(VARIANT_BOOL* flag) = 0;
};
DECLARE_UUIDOF(IModuleSafetyLock, "07CC9DD7-3202-49B7-991D-EA14FE23E258");

// The host's version: two numbers, the second one the release (below 21 is the older
// product line).
interface IModuleInternal7 : public IUnknown {
  STDMETHOD(get_CurrentVexilVersion)(LONG* major, LONG* minor) = 0;
};
DECLARE_UUIDOF(IModuleInternal7, "DF0E4ACD-4A9F-464A-9983-8680852C6F8C");

// The configured module against the connected one: operation 11 gives the identity status
// (1 missing, 2 mismatched, other values match).
interface IDeviceInfo2 : public IUnknown {
  HOST_RESERVED_SLOT(1);
  HOST_RESERVED_SLOT(2);
  HOST_RESERVED_SLOT(3);
  HOST_RESERVED_SLOT(4);
  HOST_RESERVED_SLOT(5);
  HOST_RESERVED_SLOT(6);
  HOST_RESERVED_SLOT(7);
  HOST_RESERVED_SLOT(8);
  HOST_RESERVED_SLOT(9);
  HOST_RESERVED_SLOT(10);
  STDMETHOD(GetModuleIdentityStatus)(LONG* status) = 0;
};
DECLARE_UUIDOF(IDeviceInfo2, "B785CCB6-6AAD-4C95-A76D-5866D3FBE369");

// The host's dialog manager: a lock held around modal and timer-driven work, and notices of
// dialog windows shown and destroyed.
interface IPVDialogManager : public IUnknown {
  STDMETHOD(Lock)() = 0;
  STDMETHOD(Unlock)() = 0;
  STDMETHOD(DialogShown)(HWND window) = 0;
  STDMETHOD(DialogDestroyed)(HWND window) = 0;
};
DECLARE_UUIDOF(IPVDialogManager, "6F1E2C3A-7B41-4D0E-9A55-3C2B8D9E0F11");

_COM_SMARTPTR_TYPEDEF(IPromptServer, __uuidof(IPromptServer));
_COM_SMARTPTR_TYPEDEF(IStringServer, __uuidof(IStringServer));
_COM_SMARTPTR_TYPEDEF(IServerLocale, __uuidof(IServerLocale));
_COM_SMARTPTR_TYPEDEF(IModuleSafety, __uuidof(IModuleSafety));
_COM_SMARTPTR_TYPEDEF(IModuleSafetyLock, __uuidof(IModuleSafetyLock));
_COM_SMARTPTR_TYPEDEF(IModuleInternal7, __uuidof(IModuleInternal7));
_COM_SMARTPTR_TYPEDEF(IDeviceInfo2, __uuidof(IDeviceInfo2));
_COM_SMARTPTR_TYPEDEF(IPVDialogManager, __uuidof(IPVDialogManager));

// The host's service classes, created by CLSID.
// The framework's prompts (rejected input).
inline constexpr CLSID CLSID_PVInputPromptServer =
    platform::GuidFromText("22C3FA58-D621-4879-ADE8-47C4A39524A7");
// The module identity prompts.
inline constexpr CLSID CLSID_PVModulePromptServer =
    platform::GuidFromText("01F282A3-263D-48B8-877A-1A6988678131");
// Message-box button labels.
inline constexpr CLSID CLSID_PVButtonStringServer =
    platform::GuidFromText("EE17DC76-734A-4C9C-8B00-C5B19B641AF6");
// The forced-value tooltip format.
inline constexpr CLSID CLSID_PVForceStringServer =
    platform::GuidFromText("CA67ADCE-9FBF-4C03-9363-871C1D98B340");
