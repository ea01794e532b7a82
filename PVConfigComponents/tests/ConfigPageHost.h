// Test support for the configuration page tests: the configuration test pages DLL installed
// in a folder of its own and registered, the simulated host around it (the built-in module
// with its standard and safety tags, the parent, the host window), and the page opened
// through the door a host uses (CoCreateInstance, Init, Create).
#pragma once

#include <HostParent.h>
#include <comdef.h>
#include <platform/testing_modules.h>
#include <platform/testing_registry.h>
#include <platform/testing_windows.h>

#include <memory>
#include <string>
#include <vector>

#include "../../PVComponents/tests/DllFolder.h"
#include "../../PVComponents/tests/HostSession.h"
#include "PVCtrlInterfaces.h"
#include "PVGetSetInterfaces.h"
#include "fixtures/ConfigPages/ConfigPages.h"
#include "fixtures/ConfigPages/resource.h"

_COM_SMARTPTR_TYPEDEF(IPVChild, __uuidof(IPVChild));
_COM_SMARTPTR_TYPEDEF(IPVPanel3, __uuidof(IPVPanel3));
_COM_SMARTPTR_TYPEDEF(IPVPropPageEnum, __uuidof(IPVPropPageEnum));
_COM_SMARTPTR_TYPEDEF(IPVEventHandler2, __uuidof(IPVEventHandler2));
_COM_SMARTPTR_TYPEDEF(IConfigTestPage, __uuidof(IConfigTestPage));

namespace configpage {

using Lines = std::vector<std::wstring>;

inline std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

// The object's reference count as it stands (one reference taken and given back).
inline ULONG ReferencesOf(IUnknown* object) {
  if (!object) return 0;
  object->AddRef();
  return object->Release();
}

// The log lines ("function: message") since the last call, which clears them.
inline Lines TakeLog() {
  Lines lines = pvtest::LoggedSinceClear();
  orvolog::ClearRecords();
  return lines;
}

// The page as the host holds it: its interfaces and, once created, its window.
struct ConfigPage {
  IPVChildPtr child;
  IPVPanel3Ptr panel;
  IPVEventHandler2Ptr events;
  IPVPropPageEnumPtr pageEnum;
  IConfigTestPagePtr test;

  // Gives every reference back, as a host closing the page does.
  void Release() {
    child = nullptr;
    panel = nullptr;
    events = nullptr;
    pageEnum = nullptr;
    test = nullptr;
  }
  HWND Window() const {
    CWnd* window = nullptr;
    if (!pageEnum || FAILED(pageEnum->GetPropPageEnumCWnd(&window)) || !window) return nullptr;
    return window->GetSafeHwnd();
  }
  HWND Item(int id) const { return GetDlgItem(Window(), id); }
  // The panel's standard (0) or safety (1) adapter, borrowed; null when it has none.
  IPVGetSetAdapter* Adapter(LONG which, ULONG* references = nullptr) const {
    IUnknown* adapter = nullptr;
    ULONG count = 0;
    EXPECT_EQ(pvtest::Hex(S_OK), pvtest::Hex(test->GetAdapter(which, &adapter, &count)));
    if (references) *references = count;
    return static_cast<IPVGetSetAdapter*>(adapter);
  }
};

// The DLL loaded from its folder and registered, the host around it; every test ends with
// no page alive, no module lock and no window left.
class ConfigPageHost : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registry::Reset();
    platform::windows::ClearRecorders();
    m_windowsAtStart = platform::windows::LiveWindowCount();
    m_dll = LoadLibraryW(m_folder.PathOf("PVConfigPages.dll").c_str());
    ASSERT_NE(m_dll, nullptr) << platform::modules::LastLoadDiagnostic();
    m_exports = std::make_unique<pvtest::ComExports>(m_dll);
    m_livePages = pvtest::Export<PFN_CONFIGPAGESLIVEPAGES>(m_dll, "ConfigPagesLivePages");
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
    EXPECT_EQ(platform::windows::LiveWindowCount(), m_windowsAtStart) << "windows left behind";
  }

  // A page from CoCreateInstance, initialized with the host parent and created into the
  // host window as the host does it (each step optional; their results expected S_OK).
  ConfigPage Open(bool init = true, bool create = true) {
    ConfigPage page;
    IPVChild* child = nullptr;
    CLSID clsid{};
    EXPECT_HR(S_OK, CLSIDFromString(kConfigPageClsid, &clsid));
    EXPECT_HR(S_OK, CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IPVChild),
                                     reinterpret_cast<void**>(&child)));
    page.child.Attach(child);
    page.panel = page.child;
    page.events = page.child;
    page.pageEnum = page.child;
    page.test = page.child;
    if (init) {
      EXPECT_HR(S_OK, page.child->Init(m_parent->GetUnknown()));
    }
    if (create) {
      EXPECT_HR(S_OK, page.panel->Create(m_window.get()));
    }
    return page;
  }

  hostsim::ConfigurationTag* StandardTag() const { return m_module->StandardTag(); }
  hostsim::ConfigurationTag* SafetyTag() const { return m_module->SafetyTag(); }

  pvtest::DllFolder m_folder{"PVConfigPages.dll", "PVConfigPagesENU.dll", "PVConfigPagesDEU.dll"};
  pvtest::HostSession m_session;
  HMODULE m_dll = nullptr;
  std::unique_ptr<pvtest::ComExports> m_exports;
  PFN_CONFIGPAGESLIVEPAGES m_livePages = nullptr;
  hostsim::Ref<hostsim::HostModule> m_module;
  hostsim::Ref<hostsim::HostParent> m_parent;
  hostsim::HostWindow m_window;
  size_t m_windowsAtStart = 0;
};

}  // namespace configpage
