// The contract between a page and its controls: the page drives each control through IPVCtrl
// (and passes the host's events through IPVEventHandler2); each control reaches its page, and
// through it the host, through IPVPropPageEnum. Controls are members of their page and are not
// reference counted.
#pragma once

#include <HostServices.h>
#include <PVInterfaces.h>
#include <afxwin.h>

interface IPVPropPageEnum;

interface IPVCtrl : public IUnknown {
  STDMETHOD(SetIPVPropPageEnum)(IPVPropPageEnum* pIPVPropPageEnum) = 0;
  STDMETHOD(SetIModule)(IModule* pIModule) = 0;
  STDMETHOD(PreInitialActivate)() = 0;
  STDMETHOD(OnActivate)() = 0;
  STDMETHOD(OnDeactivate)() = 0;
  STDMETHOD(Save)() = 0;
  STDMETHOD(Refresh)() = 0;
  STDMETHOD(ClearDirty)() = 0;
  STDMETHOD(OnChangedCtrlData)(CWnd* changedWindow, int changedItemId) = 0;
  STDMETHOD(OnValidationError)(LONG errorCode, BSTR memberName, IErrorInfo** errorInfo) = 0;
  STDMETHOD(PostModDefChange)() = 0;
};
DECLARE_UUIDOF(IPVCtrl, "71072FAC-8021-468E-BA45-6AB3734A6135");

interface IPVCloseDlgHandler : public IUnknown {
  STDMETHOD(OnCloseDlg)() = 0;
};
DECLARE_UUIDOF(IPVCloseDlgHandler, "E52FA593-D2D2-494D-B254-D3537D5295E1");

// The page's services for its controls; most pass the call on to the host parent.
interface IPVPropPageEnum : public IUnknown {
  STDMETHOD(ForwardParentRequest)() = 0;
  STDMETHOD(CtrlModified)(CWnd* sender, int changedItemId, VARIANT_BOOL markDirty) = 0;
  STDMETHOD(OnFocusChange)(CWnd* control) = 0;
  STDMETHOD(RequestInputFocus)(CWnd* control) = 0;
  STDMETHOD(GetPropPageEnumCWnd)(CWnd** window) = 0;
  STDMETHOD(ShowErrorDlg)(BSTR text, BSTR caption, LONG helpContext) = 0;
  STDMETHOD(QueryParentFlag)(VARIANT_BOOL* flag, LONG value) = 0;
  STDMETHOD(GetVexilMode)(LONG* mode) = 0;
  STDMETHOD(GetRedundancyState)(LONG* state) = 0;
  STDMETHOD(GetIPVDlgManager)(IPVDialogManager** manager) = 0;
  STDMETHOD_(int, ShowMessageDlg)(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) = 0;
  STDMETHOD(GetHostService)(REFCLSID clsid, IUnknown** service) = 0;
};
DECLARE_UUIDOF(IPVPropPageEnum, "E70F69B4-7994-45B5-B04F-416535D7FA5C");

_COM_SMARTPTR_TYPEDEF(IPVCtrl, __uuidof(IPVCtrl));
_COM_SMARTPTR_TYPEDEF(IPVCloseDlgHandler, __uuidof(IPVCloseDlgHandler));
_COM_SMARTPTR_TYPEDEF(IPVPropPageEnum, __uuidof(IPVPropPageEnum));
