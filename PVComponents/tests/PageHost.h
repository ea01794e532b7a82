// Test support for driving a fixture view DLL's pages as a host does: the DLL copied to a
// folder of its own with both language DLLs, loaded and registered, the simulated host around
// it (module, parent, host window), and pages opened through CoCreateInstance, Init and
// Create. Every test ends with no page alive and the module unlocked.
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
#include "PVLiveObjects.h"

namespace pvtest {

// A page as the host holds it: its interfaces and, once created, its window. TestPtr is the
// fixture page's own test interface.
template <class TestPtr>
struct HostedPageOf {
  IPVChildPtr child;
  IPVPanel3Ptr panel;
  IPVPropPageEnumPtr pageEnum;
  IPVEventHandler2Ptr events;
  TestPtr test;

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
  HWND Item(int id) const { return GetDlgItem(Window(), id); }
};

class PageHost : public ::testing::Test {
 protected:
  // dll: the view DLL's file name ("X.dll"; its language DLLs are "XENU.dll" and "XDEU.dll");
  // livePagesExport: the fixture's export that counts its live pages.
  PageHost(const std::string& dll, const char* livePagesExport)
      : m_dllName(dll),
        m_englishName(LanguageDll(dll, "ENU")),
        m_germanName(LanguageDll(dll, "DEU")),
        m_livePagesExport(livePagesExport) {}

  void SetUp() override {
    platform::registry::Reset();
    platform::windows::ClearRecorders();
    m_windowsAtStart = platform::windows::LiveWindowCount();
    m_dll = LoadLibraryW(m_folder.PathOf(m_dllName.c_str()).c_str());
    ASSERT_NE(m_dll, nullptr) << platform::modules::LastLoadDiagnostic();
    m_exports = std::make_unique<ComExports>(m_dll);
    m_livePages = Export<LivePagesFunction>(m_dll, m_livePagesExport);
    ASSERT_HR(S_OK, m_exports->registerServer());
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create());
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
    ASSERT_NE(m_window.get(), nullptr);
    orvolog::ClearRecords();
  }

  void TearDown() override {
    if (!m_dll) return;
    EXPECT_EQ(m_livePages(), 0) << "pages left alive";
    EXPECT_EQ(LiveObjects().Report(), "") << "framework objects left alive";
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "the module is still locked";
    m_exports->unregisterServer();
    CWnd::DeleteTempMap();
    FreeLibrary(m_dll);
  }

  // The DLL's own live-object counts (its copy of the framework).
  CPVLiveObjects LiveObjects() const { return CPVLiveObjects(m_dll); }

  // Nothing but the host window is left of the pages' windows.
  void ExpectNoWindowLeft() {
    EXPECT_EQ(platform::windows::LiveWindowCount(), m_windowsAtStart) << "windows left behind";
  }

  // A page from CoCreateInstance, initialized with the host parent and created into the host
  // window as the host does it (each step optional; their results expected S_OK).
  template <class Page>
  Page OpenPage(REFCLSID clsid, bool init, bool create) {
    Page page;
    IPVChild* child = nullptr;
    EXPECT_HR(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IPVChild),
                                     reinterpret_cast<void**>(&child)));
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
    return page;
  }

 private:
  using LivePagesFunction = LONG (*)();
  static std::string LanguageDll(const std::string& dll, const char* language) {
    return dll.substr(0, dll.size() - 4) + language + ".dll";
  }

  const std::string m_dllName;
  const std::string m_englishName;
  const std::string m_germanName;
  const char* const m_livePagesExport;

 protected:
  DllFolder m_folder{m_dllName.c_str(), m_englishName.c_str(), m_germanName.c_str()};
  HostSession m_session;
  HMODULE m_dll = nullptr;
  std::unique_ptr<ComExports> m_exports;
  LivePagesFunction m_livePages = nullptr;
  hostsim::Ref<hostsim::HostModule> m_module;
  hostsim::Ref<hostsim::HostParent> m_parent;
  hostsim::HostWindow m_window;
  size_t m_windowsAtStart = 0;
};

}  // namespace pvtest
