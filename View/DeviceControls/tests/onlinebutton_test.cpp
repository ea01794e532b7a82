// The online button base through the door a host uses: a click starts a timer of the button's
// id, the service runs when it fires under the dialog manager's lock and the wait cursor, the
// enable rule follows the controller state, leaving the page kills a pending timer, a polling
// button hides while it polls, and a button that must ask first without a question of its own
// never runs.
#include <gtest/gtest.h>

#include "OnlinePageHost.h"

namespace online {
namespace {

namespace pw = platform::windows;

class OnlineButton : public OnlinePageHost {};

TEST_F(OnlineButton, AClickRunsTheServiceOnceAfter300msUnderOneLockAndTheWaitCursor) {
  OnlinePage page = Open(kButtonsPageClsid);
  HWND button = page.Item(IDC_MODES_PLAIN);
  ASSERT_TRUE(IsWindowEnabled(button));
  platform::mfc::ResetWaitCursor();
  ASSERT_TRUE(pw::ClickButton(button));
  Pump(299);
  EXPECT_EQ(RequestCount(), 0u) << "nothing runs before the timer falls due";
  EXPECT_EQ(Manager().lockCalls, 0);
  Pump(1);
  ASSERT_EQ(Requests(L"Refresh").size(), 1u);
  EXPECT_EQ(Requests(L"Refresh")[0].argumentType, VT_EMPTY);
  EXPECT_EQ(Manager().lockCalls, 1);
  EXPECT_EQ(Manager().unlockCalls, 1);
  EXPECT_EQ(Manager().depth, 0);
  EXPECT_GE(platform::mfc::WaitCursorBeginCount(), 1);
  EXPECT_FALSE(platform::mfc::IsWaitCursorShowing());
  Pump(5000);
  EXPECT_EQ(RequestCount(), 1u) << "the timer ran once";
  Close(page);
}

TEST_F(OnlineButton, TheEnableRuleFollowsTheControllerModeAndTheModuleStateFlag) {
  OnlinePage page = Open(kButtonsPageClsid);
  HWND button = page.Item(IDC_MODES_PLAIN);
  struct Case {
    LONG mode;
    LONG redundancy;
    bool stateFlag;
    bool enabled;
  } cases[] = {
      {0, 0, false, false}, {1, 0, false, true}, {2, 0, false, true}, {3, 0, false, true},
      {4, 0, false, true},  {5, 0, false, true}, {6, 0, false, true}, {7, 0, false, false},
      {8, 0, false, false}, {1, 1, false, true}, {6, 1, false, true}, {1, 0, true, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " redundancy " << c.redundancy << " flag "
                                    << c.stateFlag);
    SetState(page, c.mode, c.redundancy, c.stateFlag);
    EXPECT_EQ(IsWindowEnabled(button) != FALSE, c.enabled);
  }
  EXPECT_EQ(RequestCount(), 0u) << "a button without an automatic timer runs nothing by itself";
  Close(page);
}

TEST_F(OnlineButton, AClickOnADisabledButtonStartsNothing) {
  OnlinePage page = Open(kButtonsPageClsid);
  HWND button = page.Item(IDC_MODES_PLAIN);
  SetState(page, 0);
  ASSERT_FALSE(IsWindowEnabled(button));
  EXPECT_FALSE(pw::ClickButton(button));
  // Even a click notice that reaches the button is dropped.
  SendMessageW(page.Window(), WM_COMMAND, MAKEWPARAM(IDC_MODES_PLAIN, BN_CLICKED),
               reinterpret_cast<LPARAM>(button));
  Pump(1000);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_EQ(Manager().lockCalls, 0);
  Close(page);
}

TEST_F(OnlineButton, WithoutADialogManagerNoServiceRunsAndTheTimerLogsIt) {
  OnlinePage page = Open(kButtonsPageClsid);
  m_parent->SetDialogManager(nullptr);
  TakeLog();
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_MODES_PLAIN)));
  Pump(300);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_TRUE(Contains(TakeLog(), L"CPVCtrlOnlineButton::OnTimer: Invalid dialog manager"));
  Close(page);
}

TEST_F(OnlineButton, LeavingThePageKillsAPendingTimer) {
  OnlinePage page = Open(kButtonsPageClsid);
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_MODES_PLAIN)));
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  Pump(1000);
  EXPECT_EQ(RequestCount(), 0u);
  // Back on the page, a click runs it again; destroying the page with a timer pending kills it.
  EXPECT_HR(S_OK, page.child->OnActivate());
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_MODES_PLAIN)));
  page.panel->Destroy();
  Pump(1000);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_FALSE(
      Contains(TakeLog(), L"CPVCtrlOnlineButton::~CPVCtrlOnlineButton: Timer should already be killed"));
  page.Release();
}

TEST_F(OnlineButton, AButtonThatAsksFirstWithoutAQuestionOfItsOwnNeverRuns) {
  OnlinePage page = Open(kButtonsPageClsid);
  TakeLog();
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_MODES_CONFIRMED)));
  Pump(300);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_TRUE(m_parent->messageDialogs.empty()) << "no question is asked";
  EXPECT_TRUE(
      Contains(TakeLog(), L"CPVCtrlOnlineButton::DisplayConfirmationDlg: Failed to GetConfirmationMessage"));
  Close(page);
}

TEST_F(OnlineButton, AFailedServiceShowsTheLinkManagersErrorInformation) {
  OnlinePage page = Open(kButtonsPageClsid);
  Device().Fail({0, L"Refresh", static_cast<HRESULT>(0x80042204), L"The device is busy.", false});
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_MODES_PLAIN)));
  Pump(300);
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  EXPECT_EQ(m_parent->errorDialogs[0].text, L"The device is busy.");
  EXPECT_EQ(Manager().depth, 0);
  Close(page);
}

TEST_F(OnlineButton, APollingButtonHidesAndRepeatsEvery2500msUntilAServiceFails) {
  OnlinePage page = Open(kPollPageClsid);
  HWND button = page.Item(IDC_MODES_POLL);
  HWND label = page.Item(IDC_MODES_POLL_LABEL);
  EXPECT_FALSE(IsWindowVisible(button)) << "a polling button is hidden on activation";
  EXPECT_FALSE(IsWindowVisible(label));
  Pump(300);
  EXPECT_EQ(Requests(L"Refresh").size(), 1u) << "activation starts the first service";
  Pump(2499);
  EXPECT_EQ(Requests(L"Refresh").size(), 1u);
  Pump(1);
  EXPECT_EQ(Requests(L"Refresh").size(), 2u) << "then every 2500 ms";
  EXPECT_FALSE(IsWindowVisible(button));

  Device().Fail({0, L"Refresh", E_FAIL, L"Lost the device.", false});
  Pump(2500);
  EXPECT_EQ(Requests(L"Refresh").size(), 3u);
  EXPECT_TRUE(IsWindowVisible(button)) << "a failure shows the button and its label";
  EXPECT_TRUE(IsWindowVisible(label));
  Pump(10000);
  EXPECT_EQ(Requests(L"Refresh").size(), 3u) << "and polling stops";

  // A click starts it again.
  Device().ClearFailures();
  ASSERT_TRUE(pw::ClickButton(button));
  Pump(300);
  EXPECT_EQ(Requests(L"Refresh").size(), 4u);
  EXPECT_FALSE(IsWindowVisible(button));
  Close(page);
}

TEST_F(OnlineButton, APollingButtonOfflineStaysHiddenAndComingBackOnlineRestartsIt) {
  OnlinePage page = Open(kPollPageClsid);
  Pump(300);
  ASSERT_EQ(Requests(L"Refresh").size(), 1u);
  SetState(page, 0);
  EXPECT_FALSE(IsWindowVisible(page.Item(IDC_MODES_POLL)));
  Pump(5000);
  EXPECT_EQ(Requests(L"Refresh").size(), 1u) << "a disabled button runs nothing";
  SetState(page, 2);
  Pump(300);
  EXPECT_EQ(Requests(L"Refresh").size(), 2u) << "enabled again after the controller state changed";
  Close(page);
}

TEST_F(OnlineButton, TheButtonsRefuseAModuleWithoutDeviceInformationAndQueryNoLinkManager) {
  m_module->identity.answersIdentity = false;
  TakeLog();
  CLSID clsid{};
  ASSERT_HR(S_OK, CLSIDFromString(kButtonsPageClsid, &clsid));
  OnlinePage page = OpenPage<OnlinePage>(clsid, false, false);
  page.child->Init(m_parent->GetUnknown());
  EXPECT_EQ(m_module->link.linkManagerQueries, 0);
  EXPECT_TRUE(
      Contains(TakeLog(), L"CPVCtrlOnlineButton::SetIModule: Failed to QueryInterface IDeviceInfo2."));
  page.Release();
}

}  // namespace
}  // namespace online
