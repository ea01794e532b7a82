// The framework's notification interface through which a control tells an object of its
// choosing what it now shows: the control's name and a VARIANT. The notification is the
// interface's fifth operation counting IUnknown's three; the slot before it is a placeholder
// that no control calls.
#pragma once

#include <comdef.h>

#include <HostServices.h>

interface IPVCtrlNotify : public IUnknown {
  HOST_RESERVED_SLOT(4);
  // name: in, the control's name; value: in, what it shows.
  STDMETHOD(OnCtrlNotify)(BSTR name, VARIANT value) = 0;
};
DECLARE_UUIDOF(IPVCtrlNotify, "B8E2C4D1-7A35-4F0B-9C61-3D5E8A0F2B74");

_COM_SMARTPTR_TYPEDEF(IPVCtrlNotify, __uuidof(IPVCtrlNotify));
