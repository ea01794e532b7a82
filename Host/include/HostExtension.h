// The host's extension interfaces: how the host attaches an extension component to a module
// and has it validate the module, and the host object's locale. The host and the extension DLL
// share these declarations.
#pragma once

#include <oaidl.h>

#include <comdecl.h>
#include <platform/guid_text.h>

// The host's type libraries that describe these dual interfaces (registered by the host).
inline constexpr GUID LIBID_PSINTERFACESLib = platform::GuidFromText("EF64B5A8-320C-457D-9876-8276AD7B9FD8");
inline constexpr GUID LIBID_MODULESERVICESLib =
    platform::GuidFromText("34E3C1CE-8DA1-4031-B5A6-454C0B26FC80");

// An extension component: the host hands it the host object it extends.
interface IExtensionComponent : public IDispatch {
  STDMETHOD(Attach)(IUnknown* hostObject) = 0;
};
DECLARE_UUIDOF(IExtensionComponent, "790C88CF-6401-40E8-A6F1-1DA0060C5F9A");
inline constexpr IID IID_IExtensionComponent = __uuidof(IExtensionComponent);

// Validation: the host object's own, and the extension's.
interface IValidate : public IDispatch {
  // S_OK when the configuration is valid, else a failure code.
  STDMETHOD(Validate)() = 0;
  // message: out, a new BSTR the caller frees (null when there is none).
  STDMETHOD(GetLastMessage)(BSTR* message) = 0;
};
DECLARE_UUIDOF(IValidate, "C9126836-879D-4181-AC62-92B59A42DDD7");
inline constexpr IID IID_IValidate = __uuidof(IValidate);

// The host object's locale. Only the user-interface language's position is fixed (table entry
// 9 counting IUnknown's three); the operations before it are placeholders.
interface IHostLocale : public IUnknown {
  STDMETHOD(Reserved1)() = 0;
  STDMETHOD(Reserved2)() = 0;
  STDMETHOD(Reserved3)() = 0;
  STDMETHOD(Reserved4)() = 0;
  STDMETHOD(Reserved5)() = 0;
  // language: out, the 32-bit language id of the host's user interface.
  STDMETHOD(GetUILanguage)(LCID* language) = 0;
};
DECLARE_UUIDOF(IHostLocale, "7ED163DE-624D-4BB0-ADC5-AA6FC6BD0072");
inline constexpr IID IID_IHostLocale = __uuidof(IHostLocale);
