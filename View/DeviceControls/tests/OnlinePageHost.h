// Test support for the online controls: the online test pages DLL installed in a folder of its
// own and registered, the simulated host around it (the built-in Coriolis module with its
// device, the parent with its dialog manager, the host window), pages opened and activated as a
// host does it, the test clock and message pump, and the message boxes of the device services
// seen and answered through the modal idle hook.
#pragma once

#include <platform/testing_htmlhelp.h>

#include <clocale>
#include <functional>
#include <string>
#include <vector>

#include "PageHost.h"
#include "fixtures/OnlinePages/OnlinePages.h"
#include "fixtures/OnlinePages/resource.h"

namespace online {

using Lines = std::vector<std::wstring>;
using hostsim::DeviceAddress;
using hostsim::DeviceFailure;
using hostsim::DeviceRequest;

struct OnlinePage : pvtest::HostedPageOf<IUnknownPtr> {};

// A message box of a device service as the user saw it.
struct SeenBox {
  std::wstring caption;
  std::wstring text;
  std::vector<int> buttons;  // the command ids present, in id order
  bool icon = false;
  DWORD_PTR helpId = 0;  // what its Help button opened (0: not pressed or nothing opened)
};

inline std::string Narrow(const std::wstring& text) {
  std::string narrow;
  for (wchar_t c : text) narrow += c < 0x80 ? static_cast<char>(c) : '?';
  return narrow;
}

// The log lines ("function: message") since the last call, which clears them.
inline Lines TakeLog() {
  Lines lines = pvtest::LoggedSinceClear();
  orvolog::ClearRecords();
  return lines;
}

inline bool Contains(const Lines& lines, const std::wstring& line) {
  for (const std::wstring& l : lines)
    if (l == line) return true;
  return false;
}

// Puts the numeric locale back at the end of the scope.
struct NumericLocaleGuard {
  std::string previous = std::setlocale(LC_NUMERIC, nullptr);
  ~NumericLocaleGuard() { std::setlocale(LC_NUMERIC, previous.c_str()); }
};

inline int Selection(HWND combo) {
  return static_cast<int>(SendMessageW(combo, CB_GETCURSEL, 0, 0));
}

inline std::wstring Text(HWND window) {
  return platform::windows::TextOf(window);
}

class OnlinePageHost : public pvtest::PageHost {
 protected:
  // The online test pages DLL, or another view DLL (and its export that counts its live pages,
  // null for a product DLL) whose pages place the online controls.
  explicit OnlinePageHost(const std::string& dll = "PVOnlinePages.dll",
                          const char* livePagesExport = "OnlinePagesLivePages")
      : PageHost(dll, livePagesExport) {}

  void SetUp() override {
    PageHost::SetUp();
    if (HasFatalFailure()) return;
    m_parent->vexil.mode = 1;
    platform::mfc::ResetWaitCursor();
    platform::htmlhelp::ClearHtmlHelpCalls();
    platform::windows::SetModalIdleHook([this](HWND dialog) { OnBoxIdle(dialog); });
  }

  void TearDown() override {
    platform::windows::SetModalIdleHook({});
    platform::mfc::ResetWaitCursor();
    PageHost::TearDown();
    ExpectNoWindowLeft();
  }

  // The page of the CLSID, initialized and created; with activate also shown and activated.
  OnlinePage Open(const wchar_t* clsidText, bool activate = true) {
    CLSID clsid{};
    EXPECT_HR(S_OK, CLSIDFromString(clsidText, &clsid));
    OnlinePage page = OpenPage<OnlinePage>(clsid, true, true);
    if (activate) Activate(page);
    return page;
  }
  void Activate(OnlinePage& page) {
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    EXPECT_HR(S_OK, page.child->OnActivate());
  }
  // Leaves and destroys the page as the host does.
  void Close(OnlinePage& page) {
    page.child->OnDeactivate();
    page.panel->Destroy();
    page.Release();
  }

  // The test clock moved on and the queue pumped.
  static void Pump(DWORD milliseconds = 0) {
    platform::windows::AdvanceClock(milliseconds);
    platform::windows::PumpMessages();
  }

  // The controller state changed and the page told.
  void SetState(OnlinePage& page, LONG mode, LONG redundancy = 0, bool stateFlag = false) {
    m_parent->vexil.mode = mode;
    m_parent->vexil.redundancy = redundancy;
    m_module->stateFlag.flag = stateFlag ? VARIANT_TRUE : VARIANT_FALSE;
    EXPECT_HR(S_OK, page.events->VexilStateChanged(mode));
  }

  hostsim::SimulatedDevice& Device() { return m_module->device; }
  std::vector<DeviceRequest> Requests(const std::wstring& name) const {
    return m_module->device.RequestsOf(name);
  }
  size_t RequestCount() const { return m_module->device.requests.size(); }
  hostsim::DialogManager& Manager() const { return *m_parent->dialogManager(); }

  // The message boxes shown so far; each is answered by pressing Help, then OK, after
  // m_duringBox (when set) has run with it.
  std::vector<SeenBox> m_boxes;
  std::function<void(HWND)> m_duringBox;

 private:
  void OnBoxIdle(HWND dialog) {
    namespace pw = platform::windows;
    if (m_boxDialog != dialog) {
      m_boxDialog = dialog;
      SeenBox box;
      box.caption = pw::TextOf(dialog);
      box.text = pw::TextOf(GetDlgItem(dialog, 1001));
      box.icon = GetDlgItem(dialog, 1002) != nullptr;
      for (int id = 1; id <= 9; ++id)
        if (GetDlgItem(dialog, id)) box.buttons.push_back(id);
      m_boxes.push_back(box);
      if (m_duringBox) m_duringBox(dialog);
      platform::htmlhelp::ClearHtmlHelpCalls();
      if (HWND help = GetDlgItem(dialog, IDHELP)) pw::ClickButton(help);
      const auto calls = platform::htmlhelp::HtmlHelpCalls();
      if (!calls.empty()) m_boxes.back().helpId = calls.back().data;
      return;
    }
    if (HWND ok = GetDlgItem(dialog, IDOK)) pw::ClickButton(ok);
  }

  HWND m_boxDialog = nullptr;
};

}  // namespace online
