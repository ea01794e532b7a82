#include "HostParent.h"

#include <errhandlingapi.h>
#include <oleauto.h>
#include <winuser.h>

#include <algorithm>
#include <atomic>

namespace hostsim {

namespace {

std::atomic<int> g_liveParents{0};

std::wstring Text(BSTR text) {
  return std::wstring(text ? text : L"", SysStringLen(text));
}

}  // namespace

HostParent* HostParent::Create(HostModule* module) {
  return new HostParent(module);
}

HostParent::HostParent(HostModule* module)
    : viewConnector(std::make_shared<ViewConnectorState>()), m_dialogManager(DialogManager::Create()) {
  ++g_liveParents;
  if (module) {
    module->AddRef();
    m_module = Ref<HostModule>(module);
  }
  IUnknown* service = nullptr;
  if (SUCCEEDED(CreateViewConnectorService(viewConnector, &service))) {
    SetHostService(CLSID_PVExtHostViewConnector, service);
    service->Release();
  }
}

HostParent::~HostParent() {
  --g_liveParents;
}

int HostParent::LiveObjects() {
  return g_liveParents;
}

STDMETHODIMP HostParent::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const auto& [iid, hr] : m_queryFailures) {
    if (iid == riid) return hr;
  }
  return QueryFromTable<HostParent>(
      this, riid, ppv,
      {HOSTSIM_ENTRY(HostParent, IPVParent), HOSTSIM_ENTRY(HostParent, IPVVexilProperties),
       HOSTSIM_ENTRY(HostParent, IDynamicSubItemHost)});
}

// ---- IPVParent

STDMETHODIMP HostParent::ForwardParentRequest() {
  ++forwardRequests;
  return forwardResult;
}

STDMETHODIMP HostParent::Reserved2() {
  ++reservedCalls;
  return E_NOTIMPL;
}

STDMETHODIMP HostParent::Reserved3() {
  ++reservedCalls;
  return E_NOTIMPL;
}

STDMETHODIMP HostParent::RequestInputFocus(IPVChild* page) {
  focusRequests.push_back(page);
  return focusResult;
}

STDMETHODIMP HostParent::ShowErrorDlg(BSTR text, BSTR caption, LONG helpContext) {
  errorDialogs.push_back({Text(text), Text(caption), helpContext});
  return errorDialogResult;
}

STDMETHODIMP HostParent::QueryFlag(BOOL* flag, LONG value) {
  flagQueries.push_back(value);
  if (!flag) return E_POINTER;
  *flag = SUCCEEDED(flagResult) ? flagAnswer : FALSE;
  return flagResult;
}

STDMETHODIMP HostParent::Reserved7() {
  ++reservedCalls;
  return E_NOTIMPL;
}

STDMETHODIMP HostParent::GetModule(IModule** module) {
  ++moduleQueries;
  if (!module) return E_POINTER;
  *module = nullptr;
  if (FAILED(moduleResult)) return moduleResult;
  if (!m_module) return E_FAIL;
  *module = m_module->GetModule();  // borrowed: the page never releases it
  return S_OK;
}

STDMETHODIMP HostParent::GetDialogManager(IPVDialogManager** manager) {
  ++dialogManagerQueries;
  if (!manager) return E_POINTER;
  *manager = nullptr;
  if (!m_dialogManager) return E_FAIL;
  *manager = m_dialogManager.get();
  (*manager)->AddRef();
  return S_OK;
}

STDMETHODIMP_(int)
HostParent::ShowMessageDlg(HWND owner, BSTR text, UINT style, LONG helpContext, BSTR caption) {
  messageDialogs.push_back({owner, Text(text), style, helpContext, Text(caption)});
  return messageDialogAnswer;
}

STDMETHODIMP HostParent::GetHostService(REFCLSID clsid, IUnknown** service) {
  serviceRequests.push_back(clsid);
  if (!service) return E_POINTER;
  *service = nullptr;
  if (FAILED(hostServiceResult)) return hostServiceResult;
  const auto found = std::find_if(m_services.begin(), m_services.end(),
                                  [&](const auto& entry) { return entry.first == clsid; });
  if (found == m_services.end()) return E_FAIL;
  *service = found->second.get();
  (*service)->AddRef();
  return S_OK;
}

STDMETHODIMP HostParent::SetProfileDirty(IPVPanel3* page) {
  dirtyNotices.push_back(page);
  return dirtyResult;
}

// ---- IPVVexilProperties

STDMETHODIMP HostParent::GetVexilMode(LONG* mode) {
  ++vexil.modeCalls;
  if (!mode) return E_POINTER;
  *mode = SUCCEEDED(vexil.modeResult) ? vexil.mode : 0;
  return vexil.modeResult;
}

STDMETHODIMP HostParent::GetRedundancyState(LONG* state) {
  ++vexil.redundancyCalls;
  if (!state) return E_POINTER;
  *state = SUCCEEDED(vexil.redundancyResult) ? vexil.redundancy : 0;
  return vexil.redundancyResult;
}

// ---- IDynamicSubItemHost

STDMETHODIMP HostParent::RebuildDynamicSubItems(IUnknown* page) {
  rebuildRequests.push_back(page);
  return rebuildResult;
}

// ---- Settings

void HostParent::FailQuery(REFIID iid, HRESULT hr) {
  std::erase_if(m_queryFailures, [&](const auto& entry) { return entry.first == iid; });
  if (hr != S_OK) m_queryFailures.emplace_back(iid, hr);
}

void HostParent::SetDialogManager(DialogManager* manager) {
  if (manager) manager->AddRef();
  m_dialogManager = Ref<DialogManager>(manager);
}

void HostParent::SetHostService(REFCLSID clsid, IUnknown* service) {
  std::erase_if(m_services, [&](const auto& entry) { return entry.first == clsid; });
  if (!service) return;
  service->AddRef();
  m_services.emplace_back(clsid, Ref<IUnknown>(service));
}

// ---- HostWindow

namespace {

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(window, message, wParam, lParam);
}

// Registers the class once per process; a second registration reports that it exists.
bool RegisterHostWindowClass() {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof(WNDCLASSEXW);
  wc.lpfnWndProc = HostWindowProc;
  wc.lpszClassName = HostWindow::ClassName();
  return RegisterClassExW(&wc) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

}  // namespace

const wchar_t* HostWindow::ClassName() {
  return L"HostSimPanelHost";
}

HostWindow::HostWindow() {
  if (!RegisterHostWindowClass()) return;
  m_window = CreateWindowExW(0, ClassName(), L"Module Properties", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                             800, 600, nullptr, nullptr, nullptr, nullptr);
}

HostWindow::~HostWindow() {
  if (m_window && IsWindow(m_window)) DestroyWindow(m_window);
}

}  // namespace hostsim
