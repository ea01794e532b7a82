// The host parent of a page: the object the host gives IPVChild::Init. It answers IPVParent,
// IPVVexilProperties and IDynamicSubItemHost over a simulated module; every answer can be set
// by a test and every call is recorded. HostWindow is the host's top-level window that pages
// are created into.
//
//   hostsim::Ref<hostsim::HostModule> module(hostsim::HostModule::Create());
//   hostsim::Ref<hostsim::HostParent> parent(hostsim::HostParent::Create(module.get()));
//   hostsim::HostWindow window;
//   page->Init(parent->GetUnknown());
//   panel->Create(window.get());
#pragma once

#include <PVInterfaces.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "DialogManager.h"
#include "HostModule.h"
#include "HostViewConnector.h"
#include "SimComObject.h"

namespace hostsim {

// One call of ShowErrorDlg.
struct ErrorDialogRecord {
  std::wstring text;
  std::wstring caption;
  LONG helpContext = 0;
};

// One call of ShowMessageDlg.
struct MessageDialogRecord {
  HWND owner = nullptr;
  std::wstring text;
  UINT style = 0;
  LONG helpContext = 0;
  std::wstring caption;
};

// What IPVVexilProperties answers.
struct VexilState {
  HRESULT modeResult = S_OK;
  LONG mode = 0;  // offline; 1 to 6 count as online
  HRESULT redundancyResult = S_OK;
  LONG redundancy = 0;
  int modeCalls = 0;
  int redundancyCalls = 0;
};

class HostParent final : public IPVParent, public IPVVexilProperties, public IDynamicSubItemHost {
 public:
  // A new parent over module (null: the module query fails with E_FAIL), one reference for
  // the caller. The parent holds a reference to the module, owns a DialogManager of its own
  // and offers the view-connector service for CLSID_PVExtHostViewConnector.
  static HostParent* Create(HostModule* module);

  // The object's identity, as the host hands it to IPVChild::Init.
  IUnknown* GetUnknown() { return static_cast<IPVParent*>(this); }

  // HostParent objects alive in the process (a leaked reference keeps one alive).
  static int LiveObjects();

  // ---- IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL

  // ---- IPVParent
  // Counts the call, answers forwardResult.
  STDMETHODIMP ForwardParentRequest() override;
  STDMETHODIMP Reserved2() override;  // E_NOTIMPL, counted in reservedCalls
  STDMETHODIMP Reserved3() override;
  // Records the page, answers focusResult.
  STDMETHODIMP RequestInputFocus(IPVChild* page) override;
  // Records the dialog (null BSTRs as empty texts), answers errorDialogResult.
  STDMETHODIMP ShowErrorDlg(BSTR text, BSTR caption, LONG helpContext) override;
  // Records the value; null flag: E_POINTER. Answers flagResult; flagAnswer on success, FALSE
  // on failure.
  STDMETHODIMP QueryFlag(BOOL* flag, LONG value) override;
  STDMETHODIMP Reserved7() override;
  // The module BORROWED: no AddRef, the caller must not release it (pages never do). Null
  // out: E_POINTER. moduleResult set, or no module: that failure (E_FAIL) with a null module.
  STDMETHODIMP GetModule(IModule** module) override;
  // A new reference to the dialog manager; none set: E_FAIL with null. Null out: E_POINTER.
  STDMETHODIMP GetDialogManager(IPVDialogManager** manager) override;
  // Records the dialog (null BSTRs as empty texts), answers messageDialogAnswer.
  STDMETHODIMP_(int)
  ShowMessageDlg(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) override;
  // Records the class. hostServiceResult set: that failure. Otherwise a new reference to the
  // service set for the class (SetHostService), or E_FAIL with null when none is.
  STDMETHODIMP GetHostService(REFCLSID clsid, IUnknown** service) override;
  // Records the page, answers dirtyResult.
  STDMETHODIMP SetProfileDirty(IPVPanel3* page) override;

  // ---- IPVVexilProperties (answered unless FailQuery says otherwise)
  STDMETHODIMP GetVexilMode(LONG* mode) override;
  STDMETHODIMP GetRedundancyState(LONG* state) override;

  // ---- IDynamicSubItemHost: records the page, answers rebuildResult.
  STDMETHODIMP RebuildDynamicSubItems(IUnknown* page) override;

  // ---- Settings
  // QueryInterface for iid answers hr (E_NOINTERFACE: "not offered"; anything else is an
  // unexpected failure). S_OK removes the setting.
  void FailQuery(REFIID iid, HRESULT hr);
  // The dialog manager GetDialogManager hands out; null: none. Takes its own reference.
  void SetDialogManager(DialogManager* manager);
  DialogManager* dialogManager() const { return m_dialogManager.get(); }
  // The service GetHostService hands out for clsid; null removes it. Takes its own reference.
  void SetHostService(REFCLSID clsid, IUnknown* service);

  HRESULT forwardResult = S_OK;
  HRESULT focusResult = S_OK;
  HRESULT errorDialogResult = S_OK;
  HRESULT flagResult = S_OK;
  BOOL flagAnswer = FALSE;
  HRESULT moduleResult = S_OK;
  int messageDialogAnswer = IDOK;  // a button id, or -1 (no dialog could be shown)
  HRESULT hostServiceResult = S_OK;
  HRESULT dirtyResult = S_OK;
  HRESULT rebuildResult = S_OK;
  VexilState vexil;
  // The chain behind the view-connector service (switches per step, colours).
  const std::shared_ptr<ViewConnectorState> viewConnector;

  // ---- What the parent saw. Page pointers are kept for comparison only (no reference).
  int forwardRequests = 0;
  std::vector<IPVChild*> focusRequests;
  std::vector<ErrorDialogRecord> errorDialogs;
  std::vector<LONG> flagQueries;  // the value of each QueryFlag
  int moduleQueries = 0;
  int dialogManagerQueries = 0;
  std::vector<MessageDialogRecord> messageDialogs;
  std::vector<CLSID> serviceRequests;
  std::vector<IPVPanel3*> dirtyNotices;
  std::vector<IUnknown*> rebuildRequests;
  int reservedCalls = 0;  // placeholder slots called (nobody should)

 private:
  explicit HostParent(HostModule* module);
  ~HostParent();

  Ref<HostModule> m_module;
  Ref<DialogManager> m_dialogManager;
  std::vector<std::pair<IID, HRESULT>> m_queryFailures;
  std::vector<std::pair<CLSID, Ref<IUnknown>>> m_services;
};

// The host's top-level window that pages are created into (a visible overlapped window of the
// simulator's own class), destroyed with its owner. get() is null when creation failed.
class HostWindow {
 public:
  HostWindow();
  ~HostWindow();
  HostWindow(const HostWindow&) = delete;
  HostWindow& operator=(const HostWindow&) = delete;

  HWND get() const { return m_window; }

  // The class name the host windows are registered under.
  static const wchar_t* ClassName();

 private:
  HWND m_window = nullptr;
};

}  // namespace hostsim
