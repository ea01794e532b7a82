// The panel interfaces that the host drives a property page through. The host and the view
// DLLs share these declarations, so both agree on one layout.
#pragma once

#include <HostServices.h>
#include <platform/guid_text.h>
#include <HostTags.h>
#include <oaidl.h>
#include <winuser.h>

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

// The host module object. The configuration-tag queries are its own operations; the
// companion interfaces (safety, safety tag, private tags, version, identity, module state,
// sub-item source) are reached by QueryInterface on it.
interface IModule : public IUnknown {
  // The module's standard configuration tag (a new reference); E_NOINTERFACE when the module
  // has none.
  STDMETHOD(GetConfigurationTag)(ITag** tag) = 0;
  // The module's connections to the controller by position from 0 (a new reference);
  // E_NOINTERFACE past the last one.
  STDMETHOD(GetConnectionInstance)(LONG index, IConnectionInstance** instance) = 0;
};
DECLARE_UUIDOF(IModule, "9C3C1A52-5E0B-4F7D-8A2B-61D0E4B7A3C5");

interface IPVPanel3;

// The host parent of a panel, given to IPVChild::Init. Slots that no page calls are
// placeholders (ReservedN); the host answers them with E_NOTIMPL.
interface IPVParent : public IUnknown {
  // A request without arguments whose meaning is the host's; the page only passes it on.
  STDMETHOD(ForwardParentRequest)() = 0;
  HOST_RESERVED_SLOT(2);
  HOST_RESERVED_SLOT(3);
  // Gives the input focus to the page.
  STDMETHOD(RequestInputFocus)(IPVChild* page) = 0;
  // Shows the host's error dialog.
  STDMETHOD(ShowErrorDlg)(BSTR text, BSTR caption, LONG helpContext) = 0;
  // A host flag by value; the meaning is the host's.
  STDMETHOD(QueryFlag)(BOOL* flag, LONG value) = 0;
  HOST_RESERVED_SLOT(7);
  // The module the page shows. The pointer is borrowed: the host keeps the reference, and the
  // page never releases it.
  STDMETHOD(GetModule)(IModule** module) = 0;
  // The host's dialog manager (a new reference).
  STDMETHOD(GetDialogManager)(IPVDialogManager** manager) = 0;
  // Shows a message dialog; the pressed button's id, or -1 when none could be shown.
  STDMETHOD_(int, ShowMessageDlg)(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) = 0;
  // A host service by class (a new reference).
  STDMETHOD(GetHostService)(REFCLSID clsid, IUnknown** service) = 0;
  // The page holds unsaved changes.
  STDMETHOD(SetProfileDirty)(IPVPanel3* page) = 0;
};
DECLARE_UUIDOF(IPVParent, "24E5859D-026D-4FA0-BCB5-DA638BC3ED91");

// The controller's state, answered by the host parent.
interface IPVVexilProperties : public IUnknown {
  STDMETHOD(GetVexilMode)(LONG* mode) = 0;
  STDMETHOD(GetRedundancyState)(LONG* state) = 0;
};
DECLARE_UUIDOF(IPVVexilProperties, "E026D199-95D6-4309-9AC2-6F0BD39413F1");

// The page's window as the host places and sizes it.
interface IPVPanel : public IUnknown {
  STDMETHOD(Create)(HWND parent) = 0;
  STDMETHOD(Destroy)() = 0;
  STDMETHOD(Show)(int command) = 0;
  STDMETHOD(Move)(const RECT* rect) = 0;
  STDMETHOD(GetTitle)(BSTR* title) = 0;
  STDMETHOD(GetSize)(SIZE* size) = 0;
};
DECLARE_UUIDOF(IPVPanel, "ABB3EA3F-64B8-46EE-8A74-438A8FEDCF68");

interface IPVPanel2 : public IPVPanel {
  STDMETHOD(GetBannerTitle)(BSTR* title) = 0;
};
DECLARE_UUIDOF(IPVPanel2, "F4F64024-69F6-401A-A0E6-D59C26B9580D");

interface IPVPanel3 : public IPVPanel2 {
  STDMETHOD(GetPanelDefaultExpandedState)(VARIANT_BOOL* expanded) = 0;
};
DECLARE_UUIDOF(IPVPanel3, "CB9E5961-F623-4649-8C7A-D55910EE9334");

// Offered while the page has help.
interface IPVProvideHelp : public IUnknown {
  STDMETHOD(ShowHelp)() = 0;
};
DECLARE_UUIDOF(IPVProvideHelp, "8CE753BF-004B-4BBD-8E9B-02E58B88FED8");

// The host's events, passed by the page to each of its controls.
interface IPVEventHandler2 : public IUnknown {
  STDMETHOD(VexilStateChanged)(LONG state) = 0;
  STDMETHOD(ModuleStatusChanged)() = 0;
  STDMETHOD(Flush)() = 0;
  STDMETHOD(DataChanged)() = 0;
  STDMETHOD(ModuleDefinitionChanged)() = 0;
  STDMETHOD(Reverted)() = 0;
  STDMETHOD(DirtyStateChanged)() = 0;
  STDMETHOD(ModuleDeleted)() = 0;
};
DECLARE_UUIDOF(IPVEventHandler2, "B648ADBF-948B-447D-9279-BE5AEBABD628");

interface IPVDocumentation : public IUnknown {
  STDMETHOD(GetDocumentationDirtyState)(VARIANT_BOOL* pUserDescriptionDirtyState) = 0;
};
DECLARE_UUIDOF(IPVDocumentation, "2D55B3E2-5935-468E-A760-740D50EE74A4");

// The host's extended information about the page (titles, expanded state, help, page ids).
interface IPVExtendedInfoXml : public IUnknown {
  STDMETHOD(SetExtendedInfo)(BSTR xml) = 0;
};
DECLARE_UUIDOF(IPVExtendedInfoXml, "27F5B8B8-1F23-42F1-BA93-60147DBE8CBE");

interface IPVExtendedInfoXml2 : public IPVExtendedInfoXml {
  STDMETHOD(SetExtendedInfoEx)(BSTR xml, LONG value) = 0;
};
DECLARE_UUIDOF(IPVExtendedInfoXml2, "A1A3720D-0188-4A76-B400-E84417B8E56F");

// The host's messages offered to the page before they are dispatched.
interface IPVWndMsg : public IUnknown {
  STDMETHOD(PreTranslateMessage)(MSG* message) = 0;
};
DECLARE_UUIDOF(IPVWndMsg, "BFBD02DC-2913-4900-BDA1-6768F7568F86");

// The module's dynamic sub-items changed.
interface IDynamicSubItemEvents : public IUnknown {
  STDMETHOD(OnSubItemsChanged)(LONG value) = 0;
};
DECLARE_UUIDOF(IDynamicSubItemEvents, "7D2EDA3C-C24D-43EF-A7B1-25D5CF56474B");

interface IPVDynamicSubItem : public IUnknown {
  STDMETHOD(GetSubItemsXML)(BSTR* xml) = 0;
  STDMETHOD(OnSubItemSelChanged)(LONG item) = 0;
};
DECLARE_UUIDOF(IPVDynamicSubItem, "01D60AA8-E822-40BA-BAB6-23F4C4C16469");

// The host parent's side of dynamic sub-items: rebuilds them for a page.
interface IDynamicSubItemHost : public IUnknown {
  STDMETHOD(RebuildDynamicSubItems)(IUnknown* page) = 0;
};
DECLARE_UUIDOF(IDynamicSubItemHost, "6568EC45-9755-4CB1-9B70-33FA3C238DB8");

// The module's side of dynamic sub-items: event registration, the sub-item fragment, and the
// selected item.
interface IDynamicSubItemSource : public IUnknown {
  STDMETHOD(RegisterSubItemEvents)(IDynamicSubItemEvents* events) = 0;
  STDMETHOD(UnregisterSubItemEvents)(IDynamicSubItemEvents* events) = 0;
  STDMETHOD(GetSubItemsXML)(BSTR* fragment) = 0;
  STDMETHOD(OnSubItemSelChanged)(LONG item) = 0;
};
DECLARE_UUIDOF(IDynamicSubItemSource, "5B561CA2-C878-4129-99BB-8EF6CFEA805A");

// The module's state flag: operation 43.
interface IModuleStateSource : public IUnknown {
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
  STDMETHOD(GetModuleStateFlag)(VARIANT_BOOL* flag) = 0;
};
DECLARE_UUIDOF(IModuleStateSource, "71D68772-C05A-4642-9029-6BBCDB7B4F2C");

// The host's finder of module-specific files: a help file's name in, its resolved path out.
interface IModuleSpecificFileFind : public IUnknown {
  STDMETHOD(FindFile)(BSTR fileName, BSTR* resolvedPath) = 0;
};
DECLARE_UUIDOF(IModuleSpecificFileFind, "429B9861-0DAD-4E45-817E-AE018E15DA03");
inline constexpr CLSID CLSID_ModuleSpecificFileFind =
    platform::GuidFromText("FC7F01C4-5B25-42A1-A1D8-312149CDED4C");

// The road from a page to the host application object: the view-connector service, its
// connector object, and the connector's application object.
inline constexpr CLSID CLSID_PVExtHostViewConnector =
    platform::GuidFromText("665AEC29-17FB-4ED4-B59F-5FAD6A77C251");

interface IPVExtHostViewConnector : public IUnknown {
  STDMETHOD(GetHostViewConnector)(IUnknown** connector) = 0;
};
DECLARE_UUIDOF(IPVExtHostViewConnector, "E3A889A2-24F5-4F8F-B7D0-7940A4D7DC8F");

// Operation 9 gives the application object.
interface IHostViewConnector : public IUnknown {
  HOST_RESERVED_SLOT(1);
  HOST_RESERVED_SLOT(2);
  HOST_RESERVED_SLOT(3);
  HOST_RESERVED_SLOT(4);
  HOST_RESERVED_SLOT(5);
  HOST_RESERVED_SLOT(6);
  HOST_RESERVED_SLOT(7);
  HOST_RESERVED_SLOT(8);
  STDMETHOD(GetApplication)(IUnknown** application) = 0;
};
DECLARE_UUIDOF(IHostViewConnector, "F2CC14A6-4710-443D-BFE9-97BD1BDAB36D");

// The host application object; its properties are read through IDispatch.
interface IApplication : public IDispatch {};
DECLARE_UUIDOF(IApplication, "4A20F6BB-3C1A-11D2-959A-0060B03C3C87");

_COM_SMARTPTR_TYPEDEF(IPVChild, __uuidof(IPVChild));
_COM_SMARTPTR_TYPEDEF(IModule, __uuidof(IModule));
_COM_SMARTPTR_TYPEDEF(IPVParent, __uuidof(IPVParent));
_COM_SMARTPTR_TYPEDEF(IPVVexilProperties, __uuidof(IPVVexilProperties));
_COM_SMARTPTR_TYPEDEF(IPVPanel, __uuidof(IPVPanel));
_COM_SMARTPTR_TYPEDEF(IPVPanel2, __uuidof(IPVPanel2));
_COM_SMARTPTR_TYPEDEF(IPVPanel3, __uuidof(IPVPanel3));
_COM_SMARTPTR_TYPEDEF(IPVProvideHelp, __uuidof(IPVProvideHelp));
_COM_SMARTPTR_TYPEDEF(IPVEventHandler2, __uuidof(IPVEventHandler2));
_COM_SMARTPTR_TYPEDEF(IPVDocumentation, __uuidof(IPVDocumentation));
_COM_SMARTPTR_TYPEDEF(IPVExtendedInfoXml, __uuidof(IPVExtendedInfoXml));
_COM_SMARTPTR_TYPEDEF(IPVExtendedInfoXml2, __uuidof(IPVExtendedInfoXml2));
_COM_SMARTPTR_TYPEDEF(IPVWndMsg, __uuidof(IPVWndMsg));
_COM_SMARTPTR_TYPEDEF(IDynamicSubItemEvents, __uuidof(IDynamicSubItemEvents));
_COM_SMARTPTR_TYPEDEF(IPVDynamicSubItem, __uuidof(IPVDynamicSubItem));
_COM_SMARTPTR_TYPEDEF(IDynamicSubItemHost, __uuidof(IDynamicSubItemHost));
_COM_SMARTPTR_TYPEDEF(IDynamicSubItemSource, __uuidof(IDynamicSubItemSource));
_COM_SMARTPTR_TYPEDEF(IModuleStateSource, __uuidof(IModuleStateSource));
_COM_SMARTPTR_TYPEDEF(IModuleSpecificFileFind, __uuidof(IModuleSpecificFileFind));
_COM_SMARTPTR_TYPEDEF(IPVExtHostViewConnector, __uuidof(IPVExtHostViewConnector));
_COM_SMARTPTR_TYPEDEF(IHostViewConnector, __uuidof(IHostViewConnector));
_COM_SMARTPTR_TYPEDEF(IApplication, __uuidof(IApplication));
