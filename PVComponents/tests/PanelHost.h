// Test support for the panel tests: the panel test pages DLL installed in a folder and
// registered, the simulated host (module, parent, host window), and pages opened through the
// door a host uses (CoCreateInstance, Init, Create).
#pragma once

#include <HostParent.h>
#include <comdef.h>
#include <platform/testing_modules.h>
#include <platform/testing_registry.h>
#include <platform/testing_windows.h>

#include <memory>
#include <string>

#include "DllFolder.h"
#include "HostSession.h"
#include "PVCtrlInterfaces.h"
#include "fixtures/PanelPages/PanelPages.h"

_COM_SMARTPTR_TYPEDEF(IPVChild, __uuidof(IPVChild));
_COM_SMARTPTR_TYPEDEF(IPVPanel3, __uuidof(IPVPanel3));
_COM_SMARTPTR_TYPEDEF(IPVPropPageEnum, __uuidof(IPVPropPageEnum));
_COM_SMARTPTR_TYPEDEF(IPVEventHandler2, __uuidof(IPVEventHandler2));
_COM_SMARTPTR_TYPEDEF(IPanelTestPage, __uuidof(IPanelTestPage));

namespace pvtest {

inline CLSID ClsidFromText(const wchar_t* text) {
  CLSID clsid{};
  EXPECT_HR(S_OK, CLSIDFromString(text, &clsid));
  return clsid;
}

inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// A page as the host holds it: its interfaces and, once created, its window.
struct HostedPage {
  IPVChildPtr child;
  IPVPanel3Ptr panel;
  IPVPropPageEnumPtr pageEnum;
  IPVEventHandler2Ptr events;
  IPanelTestPagePtr test;

  // Gives every reference back, as a host closing the page does.
  void Release() {
    child = nullptr;
    panel = nullptr;
    pageEnum = nullptr;
    events = nullptr;
    test = nullptr;
  }

  HWND Window() const {
    CWnd* window = nullptr;
    if (!pageEnum || FAILED(pageEnum->GetPropPageEnumCWnd(&window)) || !window) return nullptr;
    return window->GetSafeHwnd();
  }
  // The calls its controls received since the last look, and a fresh record.
  std::wstring TakeCalls() const {
    _bstr_t calls;
    if (test) test->GetCalls(calls.GetAddress());
    if (test) test->ClearCalls();
    return calls.length() ? std::wstring(static_cast<const wchar_t*>(calls)) : std::wstring();
  }
};

// The test pages DLL copied to a folder of its own with both language DLLs, loaded and
// registered; a simulated host around it. Every test ends with no page, window or lock left.
class PanelHost : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registry::Reset();
    m_windowsAtStart = platform::windows::LiveWindowCount();
    m_dll = LoadLibraryW(m_folder.PathOf("PVPanelPages.dll").c_str());
    ASSERT_NE(m_dll, nullptr) << platform::modules::LastLoadDiagnostic();
    m_exports = std::make_unique<ComExports>(m_dll);
    m_livePages = Export<PFN_PANELPAGESLIVEPAGES>(m_dll, "PanelPagesLivePages");
    ASSERT_HR(S_OK, m_exports->registerServer());
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create());
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
    ASSERT_NE(m_window.get(), nullptr);
    orvolog::ClearRecords();
  }

  void TearDown() override {
    if (!m_dll) return;
    EXPECT_EQ(m_livePages(), 0) << "pages left alive";
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "the module is still locked";
    m_exports->unregisterServer();
    CWnd::DeleteTempMap();
    FreeLibrary(m_dll);
  }

  // Nothing but the host window is left of the pages' windows.
  void ExpectNoWindowLeft() {
    EXPECT_EQ(platform::windows::LiveWindowCount(), m_windowsAtStart) << "windows left behind";
  }

  // A page from CoCreateInstance, initialized with the host parent and created into the host
  // window as the host does it (each step optional).
  HostedPage Open(const wchar_t* clsidText, bool init = true, bool create = true) {
    HostedPage page;
    IPVChild* child = nullptr;
    EXPECT_HR(S_OK, CoCreateInstance(ClsidFromText(clsidText), nullptr, CLSCTX_INPROC_SERVER,
                                     __uuidof(IPVChild), reinterpret_cast<void**>(&child)));
    page.child.Attach(child);
    page.panel = page.child;
    page.pageEnum = page.child;
    page.events = page.child;
    page.test = page.child;
    if (init) {
      EXPECT_HR(S_OK, page.child->Init(m_parent->GetUnknown()));
    }
    if (create) {
      EXPECT_HR(S_OK, page.panel->Create(m_window.get()));
    }
    page.TakeCalls();
    return page;
  }

  DllFolder m_folder{"PVPanelPages.dll", "PVPanelPagesENU.dll", "PVPanelPagesDEU.dll"};
  HostSession m_session;
  HMODULE m_dll = nullptr;
  std::unique_ptr<ComExports> m_exports;
  PFN_PANELPAGESLIVEPAGES m_livePages = nullptr;
  hostsim::Ref<hostsim::HostModule> m_module;
  hostsim::Ref<hostsim::HostParent> m_parent;
  hostsim::HostWindow m_window;
  size_t m_windowsAtStart = 0;
};

}  // namespace pvtest
