// The window manager: creation and destruction order, window data, subclassing, text, state,
// geometry, focus, the posted-message queue, timers on the test clock, system services and
// the clipboard.
#include <gtest/gtest.h>

#include <thread>

#include "fixtures/windows/message_recorder.h"
#include "platform/testing_windows.h"
#include "windows.h"

using namespace windows_test;
namespace pw = platform::windows;

namespace {

class WindowsTest : public ::testing::Test {
 protected:
  void SetUp() override { windowsAtStart_ = pw::LiveWindowCount(); }
  void TearDown() override {
    for (HWND hwnd : owned_) {
      if (IsWindow(hwnd)) DestroyWindow(hwnd);
    }
    pw::PumpMessages();
    EXPECT_EQ(pw::LiveWindowCount(), windowsAtStart_) << "windows left behind";
  }
  HWND Top(const std::string& label, DWORD style = WS_POPUP, RECT r = {0, 0, 100, 50}, DWORD exStyle = 0) {
    HWND hwnd = recorder_.Create(label, style, nullptr, 0, r, exStyle);
    owned_.push_back(hwnd);
    return hwnd;
  }
  HWND Child(const std::string& label, HWND parent, int id = 0, RECT r = {0, 0, 20, 10}, DWORD style = 0) {
    return recorder_.Create(label, WS_CHILD | WS_VISIBLE | style, parent, id, r);
  }

  Recorder recorder_;
  std::vector<HWND> owned_;
  size_t windowsAtStart_ = 0;
};

TEST_F(WindowsTest, CreationSendsNcCreateCreateSizeMoveThenShowsAVisibleWindow) {
  owned_.push_back(recorder_.Create("w", WS_POPUP | WS_VISIBLE, nullptr));
  // The label is known only after creation returns, so these messages show as "?".
  std::vector<std::string> expected = {"?:WM_NCCREATE", "?:WM_CREATE", "?:WM_SIZE", "?:WM_MOVE",
                                       "?:WM_SHOWWINDOW"};
  EXPECT_EQ(recorder_.seen, expected) << Joined(recorder_.seen);
  EXPECT_TRUE(IsWindowVisible(owned_.back()));
}

TEST_F(WindowsTest, CreationFailsWhenWmCreateAnswersMinusOneAndTheWindowIsDestroyed) {
  size_t before = pw::LiveWindowCount();
  recorder_.answers[WM_CREATE] = -1;
  Recorder::RegisterOnce();
  HWND hwnd =
      CreateWindowExW(0, L"Recorder", L"x", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  EXPECT_EQ(hwnd, nullptr);
  std::vector<std::string> expected = {"?:WM_NCCREATE", "?:WM_CREATE", "?:WM_DESTROY", "?:WM_NCDESTROY"};
  EXPECT_EQ(recorder_.seen, expected) << Joined(recorder_.seen);
  EXPECT_EQ(pw::LiveWindowCount(), before);
}

TEST_F(WindowsTest, CreationFailsForAChildWithoutParentAndForAnUnknownClass) {
  Recorder::RegisterOnce();
  SetLastError(0);
  EXPECT_EQ(CreateWindowExW(0, L"Recorder", L"", WS_CHILD, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_TLW_WITH_WSCHILD));
  EXPECT_EQ(CreateWindowExW(0, L"NoSuchClass", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr),
            nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CANNOT_FIND_WND_CLASS));
}

TEST_F(WindowsTest, RegisteringAClassTwiceFailsAndClassNamesIgnoreCase) {
  Recorder::RegisterOnce();
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  wc.lpfnWndProc = DefWindowProcW;
  wc.lpszClassName = L"RECORDER";
  EXPECT_EQ(RegisterClassExW(&wc), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLASS_ALREADY_EXISTS));
  wc.lpszClassName = L"button";
  EXPECT_EQ(RegisterClassExW(&wc), 0) << "a predefined class cannot be registered again";
  HWND hwnd = CreateWindowExW(0, L"rEcOrDeR", L"", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(hwnd, nullptr);
  wchar_t name[32];
  EXPECT_EQ(GetClassNameW(hwnd, name, 32), 8);
  EXPECT_STREQ(name, L"Recorder");
  DestroyWindow(hwnd);
}

TEST_F(WindowsTest, DestroySendsWmDestroyParentsFirstAndWmNcDestroyChildrenFirst) {
  HWND top = Top("top");
  HWND a = Child("a", top);
  Child("a1", a);
  Child("b", top);
  recorder_.Watch({WM_DESTROY, WM_NCDESTROY});
  recorder_.Clear();
  ASSERT_TRUE(DestroyWindow(top));
  std::vector<std::string> expected = {"top:WM_DESTROY", "a:WM_DESTROY",    "a1:WM_DESTROY",
                                       "b:WM_DESTROY",   "a1:WM_NCDESTROY", "a:WM_NCDESTROY",
                                       "b:WM_NCDESTROY", "top:WM_NCDESTROY"};
  EXPECT_EQ(recorder_.seen, expected) << Joined(recorder_.seen);
  EXPECT_FALSE(IsWindow(top));
  EXPECT_FALSE(IsWindow(a));
  EXPECT_FALSE(DestroyWindow(top));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_WINDOW_HANDLE));
}

TEST_F(WindowsTest, DestroyingAnOwnerDestroysTheWindowsItOwnsFirst) {
  HWND owner = Top("owner");
  HWND owned = recorder_.Create("owned", WS_POPUP, owner);
  EXPECT_EQ(GetWindow(owned, GW_OWNER), owner);
  EXPECT_EQ(GetParent(owned), owner) << "GetParent gives the owner of a top-level window";
  recorder_.Watch({WM_DESTROY});
  DestroyWindow(owner);
  std::vector<std::string> expected = {"owned:WM_DESTROY", "owner:WM_DESTROY"};
  EXPECT_EQ(recorder_.seen, expected) << Joined(recorder_.seen);
  EXPECT_FALSE(IsWindow(owned));
}

TEST_F(WindowsTest, WindowLongsReadAndWriteStylesIdsUserDataAndExtraBytes) {
  HWND top = Top("top", WS_POPUP | WS_CAPTION, {0, 0, 10, 10}, WS_EX_CONTROLPARENT);
  HWND child = Child("c", top, 42);
  EXPECT_EQ(GetWindowLongW(top, GWL_STYLE), static_cast<LONG>(WS_POPUP | WS_CAPTION));
  EXPECT_EQ(GetWindowLongW(top, GWL_EXSTYLE), static_cast<LONG>(WS_EX_CONTROLPARENT));
  EXPECT_EQ(GetWindowLongPtrW(child, GWLP_ID), 42);
  EXPECT_EQ(GetDlgCtrlID(child), 42);
  EXPECT_EQ(SetWindowLongPtrW(top, GWLP_USERDATA, 0x1234), 0);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_USERDATA), 0x1234);
  EXPECT_EQ(SetWindowLongPtrW(top, sizeof(LONG_PTR), 77), 0);
  EXPECT_EQ(GetWindowLongPtrW(top, sizeof(LONG_PTR)), 77);
  SetLastError(0);
  EXPECT_EQ(GetWindowLongPtrW(top, 2 * sizeof(LONG_PTR)), 0);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_INDEX)) << "the extra bytes end there";
  LONG style = GetWindowLongW(child, GWL_STYLE);
  SetWindowLongW(child, GWL_STYLE, style | SS_ENDELLIPSIS);
  EXPECT_EQ(GetWindowLongW(child, GWL_STYLE), static_cast<LONG>(style | SS_ENDELLIPSIS));
}

LRESULT CALLBACK UpperCaseTextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
WNDPROC gPreviousProc = nullptr;
std::vector<std::wstring> gSubclassSaw;

LRESULT CALLBACK UpperCaseTextProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_SETTEXT) {
    std::wstring text = reinterpret_cast<LPCWSTR>(lParam);
    gSubclassSaw.push_back(text);
    for (auto& c : text) c = towupper(c);
    return CallWindowProcW(gPreviousProc, hwnd, msg, wParam, reinterpret_cast<LPARAM>(text.c_str()));
  }
  return CallWindowProcW(gPreviousProc, hwnd, msg, wParam, lParam);
}

TEST_F(WindowsTest, SubclassingReplacesTheProcedureAndCallWindowProcReachesTheOldOne) {
  HWND top = Top("top");
  gSubclassSaw.clear();
  gPreviousProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(top, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(UpperCaseTextProc)));
  EXPECT_EQ(gPreviousProc, &Recorder::Proc);
  EXPECT_EQ(GetWindowLongPtrW(top, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(UpperCaseTextProc));
  recorder_.Watch({WM_SETTEXT});
  SetWindowTextW(top, L"flow");
  EXPECT_EQ(gSubclassSaw, std::vector<std::wstring>{L"flow"});
  EXPECT_EQ(recorder_.seen, std::vector<std::string>{"top:WM_SETTEXT"}) << Joined(recorder_.seen);
  EXPECT_EQ(pw::TextOf(top), L"FLOW");
}

TEST_F(WindowsTest, GetWindowTextCopiesWhatFitsWithATerminator) {
  HWND top = Top("top");
  SetWindowTextW(top, L"Density");
  EXPECT_EQ(GetWindowTextLengthW(top), 7);
  struct Case {
    int buffer;
    int copied;
    const wchar_t* text;
  } cases[] = {{32, 7, L"Density"}, {8, 7, L"Density"}, {4, 3, L"Den"}, {1, 0, L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.buffer);
    wchar_t buffer[32] = L"garbage";
    EXPECT_EQ(GetWindowTextW(top, buffer, c.buffer), c.copied);
    EXPECT_STREQ(buffer, c.text);
  }
  SetWindowTextW(top, nullptr);
  EXPECT_EQ(GetWindowTextLengthW(top), 0);
}

TEST_F(WindowsTest, ShowWindowReturnsThePreviousVisibilityAndVisibilityNeedsTheAncestors) {
  HWND top = Top("top");
  HWND child = Child("c", top);
  EXPECT_FALSE(IsWindowVisible(child)) << "the parent is hidden";
  EXPECT_FALSE(ShowWindow(top, SW_SHOW));
  EXPECT_TRUE(IsWindowVisible(child));
  EXPECT_TRUE(ShowWindow(top, SW_SHOWNA));
  EXPECT_TRUE(ShowWindow(child, SW_HIDE));
  EXPECT_FALSE(ShowWindow(child, SW_HIDE));
  EXPECT_FALSE(IsWindowVisible(child));
}

TEST_F(WindowsTest, EnableWindowReturnsWhetherTheWindowWasDisabledAndSendsWmEnableOnChange) {
  HWND top = Top("top");
  recorder_.Watch({WM_ENABLE});
  EXPECT_FALSE(EnableWindow(top, FALSE));
  EXPECT_FALSE(IsWindowEnabled(top));
  EXPECT_TRUE(EnableWindow(top, FALSE));
  EXPECT_TRUE(EnableWindow(top, TRUE));
  EXPECT_TRUE(IsWindowEnabled(top));
  EXPECT_EQ(recorder_.seen, (std::vector<std::string>{"top:WM_ENABLE", "top:WM_ENABLE"}))
      << Joined(recorder_.seen);
}

TEST_F(WindowsTest, RectanglesAreInScreenAndParentCoordinatesLessTheFrame) {
  // A captioned, bordered top-level window at (100, 50): a dialog frame of 3 and a caption of 23.
  HWND top = Top("top", WS_POPUP | WS_CAPTION, {100, 50, 400, 250});
  HWND child = Child("c", top, 1, {10, 20, 60, 40}, WS_BORDER);
  RECT r;
  ASSERT_TRUE(GetWindowRect(top, &r));
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{100, 50, 400, 250}));
  ASSERT_TRUE(GetClientRect(top, &r));
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{0, 0, 294, 171}));
  ASSERT_TRUE(GetWindowRect(child, &r));
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{113, 96, 163, 116}));
  ASSERT_TRUE(GetClientRect(child, &r));
  EXPECT_EQ((std::vector<LONG>{r.right, r.bottom}), (std::vector<LONG>{48, 18}));

  POINT p{0, 0};
  ClientToScreen(child, &p);
  EXPECT_EQ((std::vector<LONG>{p.x, p.y}), (std::vector<LONG>{114, 97}));
  ScreenToClient(top, &p);
  EXPECT_EQ((std::vector<LONG>{p.x, p.y}), (std::vector<LONG>{11, 21}));
  RECT mapped{0, 0, 5, 5};
  int offset = MapWindowPoints(child, top, reinterpret_cast<POINT*>(&mapped), 2);
  EXPECT_EQ((std::vector<LONG>{mapped.left, mapped.top, mapped.right, mapped.bottom}),
            (std::vector<LONG>{11, 21, 16, 26}));
  EXPECT_EQ(offset, MAKELONG(11, 21));

  recorder_.Watch({WM_MOVE, WM_SIZE});
  recorder_.Clear();
  MoveWindow(child, 10, 20, 70, 30, TRUE);
  EXPECT_EQ(recorder_.seen, std::vector<std::string>{"c:WM_SIZE"})
      << "only the size changed: " << Joined(recorder_.seen);
  SetWindowPos(child, nullptr, 5, 5, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  GetWindowRect(child, &r);
  EXPECT_EQ((std::vector<LONG>{r.left, r.top, r.right, r.bottom}), (std::vector<LONG>{108, 81, 178, 111}));
}

TEST_F(WindowsTest, AdjustWindowRectExAddsTheFrameByOneRule) {
  struct Case {
    const char* name;
    DWORD style, exStyle;
    LONG left, top;
  } cases[] = {
      {"none", WS_POPUP, 0, 0, 0},
      {"border", WS_BORDER, 0, -1, -1},
      {"caption", WS_CAPTION, 0, -3, -26},
      {"thick frame and caption", WS_CAPTION | WS_THICKFRAME, 0, -4, -27},
      {"modal frame", WS_POPUP, WS_EX_DLGMODALFRAME, -3, -3},
      {"client edge", WS_BORDER, WS_EX_CLIENTEDGE, -3, -3},
      {"static edge", 0, WS_EX_STATICEDGE, -1, -1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    RECT r{0, 0, 100, 100};
    AdjustWindowRectEx(&r, c.style, FALSE, c.exStyle);
    EXPECT_EQ(r.left, c.left);
    EXPECT_EQ(r.top, c.top);
    EXPECT_EQ(r.right, 100 - c.left);
    EXPECT_EQ(r.bottom, 100 - c.left) << "the bottom frame has no caption";
  }
}

TEST_F(WindowsTest, SetFocusSendsKillFocusThenSetFocusAndReturnsThePreviousFocus) {
  HWND top = Top("top", WS_POPUP | WS_VISIBLE);
  HWND a = Child("a", top);
  HWND b = Child("b", top);
  recorder_.Watch({WM_SETFOCUS, WM_KILLFOCUS});
  SetFocus(nullptr);
  recorder_.Clear();
  EXPECT_EQ(SetFocus(a), nullptr);
  EXPECT_EQ(SetFocus(b), a);
  EXPECT_EQ(SetFocus(b), b) << "no messages when the focus stays";
  EXPECT_EQ(GetFocus(), b);
  std::vector<std::string> expected = {"a:WM_SETFOCUS(?)", "a:WM_KILLFOCUS(b)", "b:WM_SETFOCUS(a)"};
  EXPECT_EQ(recorder_.seen, expected) << Joined(recorder_.seen);
}

TEST_F(WindowsTest, FocusLeavesADestroyedOrHiddenChildForItsParentAndSkipsDisabledWindows) {
  HWND top = Top("top", WS_POPUP | WS_VISIBLE);
  HWND a = Child("a", top);
  HWND b = Child("b", top);
  SetFocus(a);
  DestroyWindow(a);
  EXPECT_EQ(GetFocus(), top);
  SetFocus(b);
  ShowWindow(b, SW_HIDE);
  EXPECT_EQ(GetFocus(), top);
  EnableWindow(b, FALSE);
  EXPECT_EQ(SetFocus(b), nullptr) << "a disabled window does not take the focus";
  EXPECT_EQ(GetFocus(), top);
  HWND c = Child("c", top);
  SetFocus(c);
  EnableWindow(top, FALSE);
  EXPECT_EQ(GetFocus(), nullptr) << "disabling an ancestor of the focus removes it";
}

TEST_F(WindowsTest, FocusIsPerThread) {
  HWND top = Top("top", WS_POPUP | WS_VISIBLE);
  SetFocus(top);
  HWND seen = top;
  std::thread([&] { seen = GetFocus(); }).join();
  EXPECT_EQ(seen, nullptr);
  EXPECT_EQ(GetFocus(), top);
}

TEST_F(WindowsTest, LookupFindsChildrenByIdAndSiblingsInCreationOrder) {
  HWND top = Top("top");
  HWND a = Child("a", top, 10);
  HWND b = Child("b", top, 20);
  HWND b1 = Child("b1", b, 30);
  EXPECT_EQ(GetDlgItem(top, 20), b);
  EXPECT_EQ(GetDlgItem(top, 30), nullptr) << "only direct children";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CONTROL_ID_NOT_FOUND));
  EXPECT_EQ(GetParent(b1), b);
  EXPECT_EQ(GetWindow(top, GW_CHILD), a);
  EXPECT_EQ(GetWindow(a, GW_HWNDNEXT), b);
  EXPECT_EQ(GetWindow(b, GW_HWNDNEXT), nullptr);
  EXPECT_EQ(GetWindow(b, GW_HWNDPREV), a);
  EXPECT_EQ(GetAncestor(b1, GA_ROOT), top);
  EXPECT_TRUE(IsChild(top, b1));
  EXPECT_FALSE(IsChild(b, a));
}

TEST_F(WindowsTest, LookupByIdFollowsChildrenDestroyedAndMovedToAnotherParent) {
  HWND top = Top("top");
  HWND other = Top("other");
  HWND first = Child("first", top, 10);
  HWND second = Child("second", top, 10);
  HWND moved = Child("moved", top, 20);
  EXPECT_EQ(GetDlgItem(top, 10), first) << "the first of two children with one id";
  DestroyWindow(first);
  EXPECT_EQ(GetDlgItem(top, 10), second) << "a destroyed child is not found";
  EXPECT_EQ(SetParent(moved, other), top);
  EXPECT_EQ(GetDlgItem(top, 20), nullptr) << "a child moved away is not its old parent's";
  EXPECT_EQ(GetDlgItem(other, 20), moved);
  EXPECT_EQ(SetParent(moved, top), other);
  EXPECT_EQ(GetDlgItem(top, 20), moved);
  EXPECT_EQ(GetWindow(second, GW_HWNDNEXT), moved) << "a child moved back comes last";
  DestroyWindow(top);
  EXPECT_EQ(GetDlgItem(other, 20), nullptr);
}

TEST_F(WindowsTest, EnumWindowsVisitsTopLevelAndOwnedWindowsOldestFirstAndStopsWhenAsked) {
  HWND first = Top("first");
  Child("child", first, 1);
  HWND owned = recorder_.Create("owned", WS_POPUP, first, 0, {0, 0, 10, 10}, 0);
  owned_.push_back(owned);
  HWND second = Top("second");
  struct Seen {
    std::vector<HWND> windows;
    size_t stopAfter;
  } seen{{}, 100};
  auto collect = [](HWND hwnd, LPARAM data) -> BOOL {
    auto* s = reinterpret_cast<Seen*>(data);
    s->windows.push_back(hwnd);
    return s->windows.size() < s->stopAfter;
  };
  EXPECT_TRUE(EnumWindows(collect, reinterpret_cast<LPARAM>(&seen)));
  std::vector<HWND> ours;
  for (HWND hwnd : seen.windows)
    if (hwnd == first || hwnd == owned || hwnd == second) ours.push_back(hwnd);
  EXPECT_EQ(ours, (std::vector<HWND>{first, owned, second})) << "children are not top-level";
  seen = {{}, 1};
  EXPECT_FALSE(EnumWindows(collect, reinterpret_cast<LPARAM>(&seen)));
  EXPECT_EQ(seen.windows.size(), 1u);
  EXPECT_FALSE(EnumWindows(nullptr, 0));
}

TEST_F(WindowsTest, PostedMessagesWaitInTheQueueUntilPumpedInOrder) {
  HWND top = Top("top");
  recorder_.Watch({WM_USER, WM_USER + 1, WM_USER + 2});
  PostMessageW(top, WM_USER, 0, 0);
  PostMessageW(top, WM_USER + 1, 0, 0);
  EXPECT_TRUE(recorder_.seen.empty()) << "posting does not deliver";
  MSG msg;
  ASSERT_TRUE(PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
  SendMessageW(top, WM_USER + 2, 0, 0);
  EXPECT_EQ(pw::PumpMessages(), 2);
  std::vector<std::string> expected = {"top:WM_USER+2", "top:WM_USER", "top:WM_USER+1"};
  EXPECT_EQ(recorder_.seen, expected) << Joined(recorder_.seen);
  EXPECT_FALSE(pw::HasPostedMessages());
}

TEST_F(WindowsTest, AMessagePostedFromAnotherThreadArrivesInTheWindowsThreadQueue) {
  HWND top = Top("top");
  recorder_.Watch({WM_USER});
  bool other = false;
  std::thread([&] {
    PostMessageW(top, WM_USER, 0, 0);
    MSG msg;
    other = PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE);
  }).join();
  EXPECT_FALSE(other) << "the posting thread's own queue stays empty";
  EXPECT_EQ(pw::PumpMessages(), 1);
  EXPECT_EQ(recorder_.seen, std::vector<std::string>{"top:WM_USER"}) << Joined(recorder_.seen);
}

TEST_F(WindowsTest, ATimerFallsDueOnTheClockAndDoesNotAccumulate) {
  HWND top = Top("top");
  recorder_.Watch({WM_TIMER});
  ASSERT_EQ(SetTimer(top, 7, 100, nullptr), 7u);
  struct Step {
    DWORD advance;
    size_t timers;  // WM_TIMER seen so far
  } steps[] = {{99, 0}, {1, 1}, {50, 1}, {1000, 2}, {0, 2}};
  for (const auto& step : steps) {
    SCOPED_TRACE(step.advance);
    pw::AdvanceClock(step.advance);
    pw::PumpMessages();
    EXPECT_EQ(recorder_.seen.size(), step.timers) << Joined(recorder_.seen);
  }
  EXPECT_EQ(pw::TimerCount(), 1u) << "a due timer stays until killed";
  EXPECT_TRUE(KillTimer(top, 7));
  EXPECT_FALSE(KillTimer(top, 7));
  EXPECT_EQ(pw::TimerCount(), 0u);
  pw::AdvanceClock(1000);
  EXPECT_EQ(pw::PumpMessages(), 0);
}

TEST_F(WindowsTest, SleepAndGetMessageMoveTheClockWithoutWaiting) {
  HWND top = Top("top");
  DWORD start = GetTickCount();
  Sleep(250);
  EXPECT_EQ(GetTickCount() - start, 250u);
  SetTimer(top, 1, 40, nullptr);
  MSG msg;
  ASSERT_EQ(GetMessageW(&msg, nullptr, 0, 0), TRUE);
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_TIMER));
  EXPECT_EQ(GetTickCount() - start, 290u) << "waiting moved the clock to the timer";
  KillTimer(top, 1);
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), -1) << "nothing to wait for";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_OPERATION));
  PostQuitMessage(3);
  EXPECT_EQ(GetMessageW(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.wParam, 3u);
}

TEST_F(WindowsTest, DestroyingAWindowKillsItsTimersAndDropsItsPostedMessages) {
  HWND top = Top("top");
  SetTimer(top, 1, 10, nullptr);
  PostMessageW(top, WM_USER, 0, 0);
  EXPECT_EQ(pw::TimerCount(), 1u);
  DestroyWindow(top);
  EXPECT_EQ(pw::TimerCount(), 0u);
  pw::AdvanceClock(100);
  EXPECT_EQ(pw::PumpMessages(), 0);
  EXPECT_FALSE(KillTimer(top, 1));
}

TEST(SystemTest, KeyStateIsWhatTheTestSets) {
  pw::ReleaseAllKeys();
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);
  pw::SetKeyDown(VK_LCONTROL, true);
  EXPECT_NE(GetAsyncKeyState(VK_CONTROL) & 0x8000, 0) << "either side makes the generic key down";
  pw::SetKeyDown(VK_MENU, true);
  EXPECT_NE(GetKeyState(VK_MENU) & 0x8000, 0);
  pw::ReleaseAllKeys();
  EXPECT_EQ(GetAsyncKeyState(VK_MENU), 0);
}

TEST(SystemTest, MessageBoxAndBeepAreRecordedAndAnswerAsTheTestSets) {
  pw::ClearRecorders();
  EXPECT_EQ(MessageBoxW(nullptr, L"Text", L"Caption", MB_OK), IDOK);
  pw::SetMessageBoxAnswer(IDNO);
  EXPECT_EQ(MessageBoxW(nullptr, L"Again?", L"Q", MB_YESNO | MB_ICONQUESTION), IDNO);
  MessageBeep(0);
  auto calls = pw::MessageBoxCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[1].text, L"Again?");
  EXPECT_EQ(calls[1].type, static_cast<UINT>(MB_YESNO | MB_ICONQUESTION));
  EXPECT_EQ(pw::MessageBeeps(), std::vector<UINT>{0});
  pw::ClearRecorders();
  EXPECT_EQ(MessageBoxW(nullptr, L"", L"", 0), IDOK);
  pw::ClearRecorders();
}

TEST(SystemTest, SystemMetricsHaveTheirFixedValues) {
  struct Case {
    int index;
    int value;
  } cases[] = {{SM_CXSCREEN, 1920}, {SM_CXVSCROLL, 17}, {SM_CYHSCROLL, 17}, {SM_CXICON, 32},
               {SM_CYICON, 32},     {SM_CXEDGE, 2},     {SM_CYEDGE, 2},     {9999, 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(GetSystemMetrics(c.index), c.value);
  }
}

TEST(SystemTest, NonClientMetricsAcceptTheirTwoSizesOnly) {
  struct Case {
    UINT size;
    BOOL ok;
  } cases[] = {{sizeof(NONCLIENTMETRICSW), TRUE},
               {static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth)), TRUE},
               {sizeof(NONCLIENTMETRICSW) - 1, FALSE},
               {0, FALSE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.size);
    NONCLIENTMETRICSW m{};
    m.cbSize = c.size;
    EXPECT_EQ(SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, c.size, &m, 0), c.ok);
    if (c.ok) {
      EXPECT_EQ(m.lfMessageFont.lfHeight, -12);
      EXPECT_EQ(m.lfMessageFont.lfWeight, FW_NORMAL);
      EXPECT_STRNE(m.lfMessageFont.lfFaceName, L"");
    }
  }
}

TEST_F(WindowsTest, TheSystemMenuKeepsTheStatesEnableMenuItemSets) {
  HWND top = Top("top", WS_POPUP | WS_SYSMENU);
  HMENU menu = GetSystemMenu(top, FALSE);
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(GetSystemMenu(top, FALSE), menu);
  EXPECT_EQ(EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_GRAYED), static_cast<BOOL>(MF_ENABLED));
  EXPECT_EQ(GetMenuState(menu, SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(menu, SC_CLOSE, MF_BYCOMMAND | MF_ENABLED), static_cast<BOOL>(MF_GRAYED));
  EXPECT_EQ(EnableMenuItem(menu, 0x1234, MF_BYCOMMAND), -1);
}

TEST(SystemTest, SystemIconsAndCursorsLoadByOrdinalOnly) {
  std::vector<HICON> icons;
  for (WORD id = 32512; id <= 32516; ++id) {
    SCOPED_TRACE(id);
    HICON icon = LoadIconW(nullptr, MAKEINTRESOURCEW(id));
    EXPECT_NE(icon, nullptr);
    EXPECT_EQ(std::count(icons.begin(), icons.end(), icon), 0) << "each icon its own handle";
    icons.push_back(icon);
  }
  EXPECT_EQ(LoadIconW(nullptr, MAKEINTRESOURCEW(100)), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
  HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  ASSERT_NE(wait, nullptr);
  HCURSOR before = SetCursor(wait);
  EXPECT_EQ(SetCursor(before), wait);
}

class ClipboardTest : public WindowsTest {
 protected:
  void TearDown() override {
    pw::ResetClipboard();
    WindowsTest::TearDown();
  }
  static HGLOBAL Text(const std::wstring& text) {
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    wcscpy(static_cast<wchar_t*>(GlobalLock(memory)), text.c_str());
    GlobalUnlock(memory);
    return memory;
  }
};

TEST_F(ClipboardTest, TextSetByOneWindowIsReadByAnother) {
  HWND a = Top("a");
  HWND b = Top("b");
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_EQ(GetOpenClipboardWindow(), a);
  EXPECT_FALSE(OpenClipboard(b)) << "one opener at a time";
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  ASSERT_TRUE(EmptyClipboard());
  HGLOBAL first = Text(L"replaced");
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, first), first);
  EXPECT_NE(SetClipboardData(CF_UNICODETEXT, Text(L"12.5")), nullptr) << "the first block is freed";
  ASSERT_TRUE(CloseClipboard());
  EXPECT_EQ(GetOpenClipboardWindow(), nullptr);

  ASSERT_TRUE(OpenClipboard(b));
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  ASSERT_NE(data, nullptr);
  EXPECT_STREQ(static_cast<const wchar_t*>(GlobalLock(data)), L"12.5");
  GlobalUnlock(data);
  EXPECT_EQ(GetClipboardData(CF_TEXT), nullptr);
  CloseClipboard();
}

TEST_F(ClipboardTest, CallsFailWhileTheClipboardIsClosedOrBusy) {
  SetLastError(0);
  EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_CLIPBOARD_NOT_OPEN));
  EXPECT_FALSE(EmptyClipboard());
  EXPECT_FALSE(CloseClipboard());
  pw::SetClipboardBusy(true);
  EXPECT_FALSE(OpenClipboard(nullptr));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
  EXPECT_FALSE(pw::PutClipboardText(L"x"));
  pw::SetClipboardBusy(false);
  EXPECT_TRUE(pw::PutClipboardText(L"from elsewhere"));
  EXPECT_EQ(pw::ClipboardText(), L"from elsewhere");
}

}  // namespace
