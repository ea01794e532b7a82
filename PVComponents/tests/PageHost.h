// Test support for driving a fixture view DLL's pages as a host does: the DLL copied to a
// folder of its own with both language DLLs, loaded and registered, the simulated host around
// it (module, parent, host window), and pages opened through CoCreateInstance, Init and
// Create. Every test ends with no page alive and the module unlocked.
#pragma once

#include <HostParent.h>
#include <platform/testing_text.h>
#include <comdef.h>
#include <platform/testing_modules.h>
#include <platform/testing_registry.h>
#include <platform/testing_windows.h>

#include <functional>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "DllFolder.h"
#include "HostSession.h"
#include "PVCtrlInterfaces.h"
#include "PVLiveObjects.h"

namespace pvtest {

using Lines = std::vector<std::wstring>;

using platform::test_support::Narrow;

inline CLSID ClsidFromText(const wchar_t* text) {
  CLSID clsid{};
  EXPECT_HR(S_OK, CLSIDFromString(text, &clsid));
  return clsid;
}

// The log lines ("function: message") since the last call, which clears them.
inline Lines TakeLog() {
  Lines lines = LoggedSinceClear();
  orvolog::ClearRecords();
  return lines;
}

// The tag's writes as "member vt N = value; ", in order.
inline std::string DescribeWrites(const std::vector<hostsim::ConfigurationTag::Write>& writes) {
  std::string out;
  for (const auto& w : writes)
    out += Narrow(w.member) + " vt " + std::to_string(w.vt) + " = " + Narrow(w.value) + "; ";
  return out;
}

// The combo box's entries in list order, and its selected position (-1: none).
inline Lines EntriesOf(HWND combo) {
  Lines entries;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    std::wstring text(static_cast<size_t>(SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0)),
                      L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    entries.push_back(text);
  }
  return entries;
}
inline int ComboSelection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

// What the user does to replace an edit's whole text: select it all, delete it, type the new
// one (an empty text only deletes).
inline void Retype(HWND edit, const std::wstring& text) {
  ASSERT_TRUE(platform::windows::FocusControl(edit));
  SendMessageW(edit, EM_SETSEL, 0, -1);
  ASSERT_TRUE(platform::windows::TypeText(edit, L"\b" + text));
}

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

// The names of a catalogue's pages (each with a name and a clsid text) in the order in which
// their keys appear in (or vanish from) the registry while the call runs: the registry is
// looked at before every registry call the DLL makes and once after the call.
template <class TCatalogue>
std::vector<std::string> OrderOfKeyChanges(const TCatalogue& catalogue, const std::function<HRESULT()>& call,
                                           bool appearing) {
  std::vector<std::string> order;
  std::set<std::string> seen;
  auto look = [&] {
    const std::wstring dump = platform::registry::Dump();
    for (const auto& page : catalogue) {
      const bool present = dump.find(page.clsid) != std::wstring::npos;
      if (present == appearing && seen.insert(page.name).second) order.push_back(page.name);
    }
  };
  platform::registry::SetFaultHook([&](std::wstring_view) {
    look();
    return LONG{ERROR_SUCCESS};
  });
  EXPECT_HR(S_OK, call());
  platform::registry::ClearFaults();
  look();
  return order;
}

// The catalogue's page names from the last back to the first.
template <class TCatalogue>
std::vector<std::string> ReverseCatalogueOrder(const TCatalogue& catalogue) {
  std::vector<std::string> names;
  for (const auto& page : catalogue) names.insert(names.begin(), page.name);
  return names;
}

// Whether the edit box is read-only (ES_READONLY).
inline bool IsReadOnly(HWND edit) {
  return (GetWindowLongW(edit, GWL_STYLE) & ES_READONLY) != 0;
}

// The user chooses the combo box's entry at the position as the user does (-1: the list left
// without selection, as a stored value outside the list leaves it, and the change reported
// as the page reports one).
template <class Page>
void Choose(const Page& page, int comboId, int position) {
  if (position >= 0) {
    ASSERT_TRUE(platform::windows::SelectComboItem(page.Item(comboId), position))
        << comboId << " entry " << position;
    return;
  }
  SendMessageW(page.Item(comboId), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  page.pageEnum->CtrlModified(CWnd::FromHandle(page.Item(comboId)), comboId, FALSE);
}

class PageHost : public ::testing::Test {
 protected:
  // dll: the view DLL's file name ("X.dll"; its language DLLs are "XENU.dll" and "XDEU.dll");
  // livePagesExport: the fixture's export that counts its live pages (null for a product
  // DLL, which exports nothing else: its pages are counted by the module lock they hold).
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
    if (m_livePagesExport) m_livePages = Export<LivePagesFunction>(m_dll, m_livePagesExport);
    ASSERT_HR(S_OK, m_exports->registerServer());
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create());
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
    ASSERT_NE(m_window.get(), nullptr);
    orvolog::ClearRecords();
  }

  void TearDown() override {
    if (!m_dll) return;
    if (m_livePages) {
      EXPECT_EQ(m_livePages(), 0) << "pages left alive";
    }
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
