// Test doubles for the configuration controls tested below the page: an enable condition
// with a set answer, and a page that answers the controller state and host services from a
// simulated host parent and refuses the rest.
#pragma once

#include <HostParent.h>

#include "PVCtrlInterfaces.h"
#include "PVEnableCondition.h"

namespace pvconfigtest {

// The enable condition with the answer of the test's choice.
class FixedCondition final : public IPVEnableCondition {
 public:
  FixedCondition(HRESULT result, BOOL answer) : m_result(result), m_answer(answer) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = riid == IID_IUnknown || riid == __uuidof(IPVEnableCondition) ? this : nullptr;
    if (!*ppv) return E_NOINTERFACE;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++m_refs; }
  STDMETHODIMP_(ULONG) Release() override { return --m_refs; }
  STDMETHODIMP GetEnableCondition(BOOL* enabled) override {
    *enabled = m_answer;
    return m_result;
  }
  ULONG References() const { return m_refs; }

 private:
  ULONG m_refs = 1;  // the test's own, never given back
  HRESULT m_result;
  BOOL m_answer;
};

// The services a control asks its page for, answered from a simulated host parent; the
// others are refused.
class ParentPage final : public IPVPropPageEnum {
 public:
  explicit ParentPage(hostsim::HostParent* parent) : m_parent(parent) {}
  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return 1; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP ForwardParentRequest() override { return E_NOTIMPL; }
  STDMETHODIMP CtrlModified(CWnd*, int, VARIANT_BOOL) override { return E_NOTIMPL; }
  STDMETHODIMP OnFocusChange(CWnd*) override { return E_NOTIMPL; }
  STDMETHODIMP RequestInputFocus(CWnd*) override { return E_NOTIMPL; }
  STDMETHODIMP GetPropPageEnumCWnd(CWnd**) override { return E_NOTIMPL; }
  STDMETHODIMP ShowErrorDlg(BSTR, BSTR, LONG) override { return E_NOTIMPL; }
  STDMETHODIMP QueryParentFlag(VARIANT_BOOL*, LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetVexilMode(LONG* mode) override { return m_parent->GetVexilMode(mode); }
  STDMETHODIMP GetRedundancyState(LONG* state) override { return m_parent->GetRedundancyState(state); }
  STDMETHODIMP GetIPVDlgManager(IPVDialogManager**) override { return E_NOTIMPL; }
  STDMETHODIMP_(int) ShowMessageDlg(HWND, BSTR, UINT, LONG, BSTR) override { return -1; }
  STDMETHODIMP GetHostService(REFCLSID clsid, IUnknown** service) override {
    return m_parent->GetHostService(clsid, service);
  }

 private:
  hostsim::HostParent* m_parent;
};

}  // namespace pvconfigtest
