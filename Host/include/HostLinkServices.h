// The host's EtherNet/IP link services of a module, reached by QueryInterface on the module
// object: a read of one device attribute and a named service on the device. The host and the
// DLLs share this declaration, so both agree on one layout.
#pragma once

#include <HostServices.h>
#include <platform/guid_text.h>

// Operation 8 (counting IUnknown's three) reads one attribute; operation 9 runs a service.
//
// ReadAttribute(name, path, result): path addresses the attribute, either as VT_ARRAY|VT_VARIANT
// over a one-dimensional array (lower bound 0) of three numbers (object class, instance,
// attribute; VT_I2 or VT_I1), or as VT_BYREF|VT_I4 referring to a number of the host's own. The
// type the caller puts into *result says what it wants; the host answers in a type of its
// choosing. ExecuteService(name, data): data is VT_EMPTY or VT_ARRAY|VT_VARIANT over the
// service's values. A failure leaves error information for this interface (ISupportErrorInfo).
interface IENetLinkCollectionManager : public IUnknown {
  HOST_RESERVED_SLOT(1);
  HOST_RESERVED_SLOT(2);
  HOST_RESERVED_SLOT(3);
  HOST_RESERVED_SLOT(4);
  STDMETHOD(ReadAttribute)(BSTR name, VARIANT path, VARIANT* result) = 0;
  STDMETHOD(ExecuteService)(BSTR name, VARIANT data) = 0;
};
DECLARE_UUIDOF(IENetLinkCollectionManager, "CAF4C18A-1C99-4AF9-8DFF-9BD68454DC65");
_COM_SMARTPTR_TYPEDEF(IENetLinkCollectionManager, __uuidof(IENetLinkCollectionManager));

// A further interface of the module that the device controls hold beside the link services;
// they never call it, so it is held as IUnknown.
inline constexpr IID IID_IModuleLinkCompanion =
    platform::GuidFromText("F15C0836-0FC4-4952-9850-4F790B748878");
