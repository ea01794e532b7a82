// The panel interfaces that the host drives a property page through. The host and the view
// DLLs share these declarations, so both agree on one layout.
#pragma once

#include <unknwn.h>

struct IErrorInfo;

// The host's life-cycle calls on a page. After IUnknown's three operations comes the
// destructor entry, then the operations in slot order.
interface IPVChild : public IUnknown {
  virtual ~IPVChild() = default;
  STDMETHOD(Init)(IUnknown* pParent) = 0;
  STDMETHOD(Save)() = 0;
  STDMETHOD(Refresh)() = 0;
  STDMETHOD(ClearDirty)() = 0;
  STDMETHOD(OnValidationError)(LONG code, BSTR memberName, IErrorInfo** ppErrorInfo) = 0;
  STDMETHOD(ReservedNotice)() = 0;
  STDMETHOD(PostModDefChange)() = 0;
  STDMETHOD(SetLocale)(LCID lcid) = 0;
  STDMETHOD(PreInitialActivate)() = 0;
  STDMETHOD(OnActivate)() = 0;
  STDMETHOD(OnDeactivate)() = 0;
  STDMETHOD(ReservedSetting)(LONG value) = 0;
  STDMETHOD(SetFocusToPanel)() = 0;
};
DECLARE_UUIDOF(IPVChild, "2733499C-0495-4B5D-9DBE-2ABEFBAA5DE3");
