// The device service buttons through the door a host uses: what the viscosity and totalizer
// buttons write, in which order and with which element types, the refresh and the waits after
// it, the read-back, the pending change that enables them, the values they refuse before
// writing anything, and the messages they show.
#include <gtest/gtest.h>

#include <clocale>
#include <cstring>

#include "OnlinePageHost.h"

namespace online {
namespace {

namespace pw = platform::windows;

LONG Bits(float value) {
  LONG bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

// What the user does to replace an edit's whole text.
void Retype(HWND edit, const std::wstring& text) {
  ASSERT_TRUE(pw::FocusControl(edit));
  SendMessageW(edit, EM_SETSEL, 0, -1);
  ASSERT_TRUE(pw::TypeText(edit, L"\b" + text));
}

struct Write {
  std::wstring name;
  std::vector<VARTYPE> types;
  std::vector<LONG> values;
};

std::vector<Write> ServiceCalls(const std::vector<DeviceRequest>& record) {
  std::vector<Write> calls;
  for (const DeviceRequest& r : record)
    if (r.operation == DeviceRequest::Operation::kExecute) calls.push_back({r.name, r.types, r.values});
  return calls;
}

void ExpectCalls(const std::vector<DeviceRequest>& record, const std::vector<Write>& expected) {
  const auto calls = ServiceCalls(record);
  ASSERT_EQ(calls.size(), expected.size());
  for (size_t i = 0; i < calls.size(); ++i) {
    SCOPED_TRACE(Narrow(expected[i].name));
    EXPECT_EQ(calls[i].name, expected[i].name);
    EXPECT_EQ(calls[i].types, expected[i].types);
    EXPECT_EQ(calls[i].values, expected[i].values);
  }
}

const std::vector<VARTYPE> kRegulatorTypes{VT_I1, VT_I4};
const std::vector<VARTYPE> kSwitchTypes{VT_I1, VT_I1, VT_I2};

class ServiceButtons : public OnlinePageHost {
 protected:
  // The viscosity page open and its reference temperature typed by the user, which arms both
  // Set5 buttons.
  OnlinePage OpenViscosity(const std::wstring& temperature = L"25.5") {
    OnlinePage page = Open(kViscosityPageClsid);
    Retype(page.Item(IDC_VISCOSITY_TEMPERATURE), temperature);
    EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET)));
    Device().requests.clear();
    return page;
  }
  // A click on the button and its timer run.
  void ClickAndRun(OnlinePage& page, int button) {
    ASSERT_TRUE(pw::ClickButton(page.Item(button)));
    Pump(300);
  }
};

TEST_F(ServiceButtons, Set5WritesTheFourValuesInOrderThenRefreshesAndWaits250ms) {
  OnlinePage page = OpenViscosity();
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_VISCOSITY_SET)));
  Pump(299);
  const DWORD before = GetTickCount();
  Pump(1);
  EXPECT_EQ(GetTickCount() - before, 1u + 250u) << "the wait after the refresh";
  ExpectCalls(Device().requests, {{L"SetAttributeSingleRegulator", kRegulatorTypes, {21, Bits(1.25f)}},
                                  {L"SetAttributeSingleRegulator", kRegulatorTypes, {22, Bits(-0.5f)}},
                                  {L"SetAttributeSingleRegulator", kRegulatorTypes, {24, Bits(25.5f)}},
                                  {L"SetAttributeSingleSwitch", kSwitchTypes, {1, 23, 807}},
                                  {L"Refresh", {}, {}}});
  EXPECT_EQ(Device().requests.back().argumentType, VT_EMPTY);
  EXPECT_EQ(Device().Real({112, 1, 24}), 25.5f);
  EXPECT_FALSE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET))) << "nothing is pending any more";
  EXPECT_TRUE(m_boxes.empty());
  EXPECT_EQ(Manager().lockCalls, 1);
  EXPECT_EQ(Manager().unlockCalls, 1);
  Close(page);
}

TEST_F(ServiceButtons, TheReferenceTemperatureRangeFollowsTheUnitCaption) {
  struct Case {
    const wchar_t* unit;
    const wchar_t* typed;
    bool accepted;
    const wchar_t* limits;  // as the message shows them
  } cases[] = {
      {L"C (Celsius)", L"-273.15", false, L"-273.14 and 99999.00"},
      {L"C (Celsius)", L"-273.14", true, nullptr},
      {L"C (Celsius)", L"99999", true, nullptr},
      {L"C (Celsius)", L"99999.01", false, L"-273.14 and 99999.00"},
      {L"F (Fahrenheit)", L"-459.66", true, nullptr},
      {L"F (Fahrenheit)", L"-459.67", false, L"-459.66 and 180000.00"},
      {L"K (Kelvin)", L"0", true, nullptr},
      {L"K (Kelvin)", L"-0.01", false, L"0.00 and 100000.00"},
      {L"K (Kelvin)", L"100000.01", false, L"0.00 and 100000.00"},
      {L"R (Rankine)", L"180000", true, nullptr},
      {L"R (Rankine)", L"-1", false, L"0.00 and 180000.00"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(std::wstring(c.unit) + L" " + c.typed));
    m_boxes.clear();
    OnlinePage page = OpenViscosity(c.typed);
    SetWindowTextW(page.Item(IDC_VISCOSITY_UNIT), c.unit);
    ClickAndRun(page, IDC_VISCOSITY_SET);
    if (c.accepted) {
      EXPECT_TRUE(m_boxes.empty());
      ASSERT_EQ(ServiceCalls(Device().requests).size(), 5u);
      EXPECT_EQ(Device().Real({112, 1, 24}), static_cast<float>(std::wcstod(c.typed, nullptr)));
    } else {
      EXPECT_TRUE(Device().requests.empty()) << "nothing is written";
      ASSERT_EQ(m_boxes.size(), 1u);
      EXPECT_EQ(m_boxes[0].text,
                std::wstring(L"The reference temperature must lie between ") + c.limits + L".");
      EXPECT_EQ(m_boxes[0].caption, L"Tavelin 5000");
      EXPECT_EQ(m_boxes[0].buttons, (std::vector<int>{IDOK, IDHELP}));
      EXPECT_TRUE(m_boxes[0].icon);
      EXPECT_EQ(m_boxes[0].helpId, 10032u + 0x30000u);
      EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET))) << "the change is still pending";
    }
    Close(page);
  }
}

TEST_F(ServiceButtons, ACoefficientThatIsNoNumberOrOutOfRangeIsRefusedBeforeAnythingIsWritten) {
  const std::wstring beyond = L"3401" + std::wstring(35, L'0');  // 3.401e38: a float, beyond 3.4e38
  const std::wstring noFloat = L"4" + std::wstring(38, L'0');    // 4e38: beyond every float
  struct Case {
    int item;
    std::wstring text;
    LONG promptType;  // the prompt shown (0: a message)
    UINT message;
  } cases[] = {
      {9335, L"", 0x20002, 0},
      {9335, L"--", 0x20004, 0},
      {9338, L"1-2", 0x20004, 0},
      {9338, L"1.2.3", 0x20004, 0},
      {9335, beyond, 0, 10030},
      {9338, L"-" + beyond, 0, 10031},
      {9335, noFloat, 0, 10030},
      {9338, L"-" + noFloat, 0, 10031},
      // A number beyond every float is out of the temperature's range too (its own message).
      {9398, noFloat, 0, 10032},
      {9398, L"-" + noFloat, 0, 10032},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.item << " '" << Narrow(c.text) << "'");
    m_boxes.clear();
    m_parent->errorDialogs.clear();
    OnlinePage page = OpenViscosity();
    SetWindowTextW(page.Item(c.item), c.text.c_str());
    ClickAndRun(page, IDC_VISCOSITY_SET);
    EXPECT_TRUE(Device().requests.empty()) << "nothing is written";
    if (c.promptType) {
      ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
      EXPECT_EQ(m_parent->errorDialogs[0].helpContext, c.promptType);
      EXPECT_TRUE(m_boxes.empty());
    } else {
      ASSERT_EQ(m_boxes.size(), 1u);
      EXPECT_EQ(m_boxes[0].helpId, c.message + 0x30000u);
    }
    EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET)));
    Close(page);
  }
}

TEST_F(ServiceButtons, AWriteButtonIsEnabledOnlyWithAPendingChangeWhileOnline) {
  OnlinePage page = OpenViscosity();
  HWND set = page.Item(IDC_VISCOSITY_SET);
  SetState(page, 4);
  EXPECT_TRUE(IsWindowEnabled(set)) << "still online, the change still pending";
  SetState(page, 7);
  EXPECT_FALSE(IsWindowEnabled(set));
  SetState(page, 1);
  EXPECT_FALSE(IsWindowEnabled(set)) << "going offline dropped the pending change";
  Retype(page.Item(IDC_VISCOSITY_COEFFICIENT2), L"2");
  EXPECT_TRUE(IsWindowEnabled(set));
  SetState(page, 1, 0, true);
  EXPECT_FALSE(IsWindowEnabled(set)) << "the module state flag disables it";
  Close(page);
}

TEST_F(ServiceButtons, TheLimitsAndTheTypedValuesUseAPointWhateverTheLocale) {
  NumericLocaleGuard restore;
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
    GTEST_SKIP() << "no locale with ',' (scripts/setup makes one)";
  {
    OnlinePage page = OpenViscosity(L"-273.15");
    ClickAndRun(page, IDC_VISCOSITY_SET);
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].text, L"The reference temperature must lie between -273.14 and 99999.00.");
    Retype(page.Item(IDC_VISCOSITY_TEMPERATURE), L"21.25");
    ClickAndRun(page, IDC_VISCOSITY_SET);
    EXPECT_EQ(Device().Real({112, 1, 24}), 21.25f) << "the values read from the device are written back";
    EXPECT_EQ(Device().Real({112, 1, 21}), 1.25f);
    Close(page);
  }
}

TEST_F(ServiceButtons, AMissingItemIsLoggedAndNothingIsWritten) {
  OnlinePage page = OpenViscosity();
  DestroyWindow(page.Item(IDC_VISCOSITY_UNIT));
  TakeLog();
  ClickAndRun(page, IDC_VISCOSITY_SET);
  EXPECT_TRUE(Device().requests.empty());
  EXPECT_TRUE(Contains(TakeLog(), L"CPVCtrlWireConfigPageSet5Button::PerformService: Invalid dialog item"));
  EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET)));
  Close(page);
}

TEST_F(ServiceButtons, NoModelSelectedIsRefusedWithThePromptForAnEmptyValue) {
  OnlinePage page = OpenViscosity();
  SendMessageW(page.Item(IDC_VISCOSITY_MODEL), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  ClickAndRun(page, IDC_VISCOSITY_SET);
  EXPECT_TRUE(Device().requests.empty());
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  EXPECT_EQ(m_parent->errorDialogs[0].helpContext, 0x20002);
  Close(page);
}

TEST_F(ServiceButtons, AFailedWriteShowsItsMessageTheRestIsStillWrittenAndTheChangeStaysPending) {
  const UINT messages[] = {10035, 10037, 10039, 10038};
  for (int failing = 0; failing < 4; ++failing) {
    SCOPED_TRACE(messages[failing]);
    m_boxes.clear();
    OnlinePage page = OpenViscosity();
    Device().Fail({Device().Calls() + 1 + failing, L"", E_FAIL, L"Not written.", true});
    ClickAndRun(page, IDC_VISCOSITY_SET);
    EXPECT_EQ(ServiceCalls(Device().requests).size(), 5u) << "the later values and the refresh follow";
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_EQ(m_boxes[0].helpId, messages[failing] + 0x30000u);
    EXPECT_EQ(m_boxes[0].caption, L"Tavelin 5000");
    EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET))) << "what was not written is still pending";
    Close(page);
  }
}

TEST_F(ServiceButtons, TheRefreshAnswerDecidesWhetherTheChangeIsDone) {
  struct Case {
    HRESULT refresh;
    bool done;
    bool errorShown;
  } cases[] = {
      {S_OK, true, false},
      {static_cast<HRESULT>(0x800422F9), true, false},
      {static_cast<HRESULT>(0x80042204), false, true},
      {E_FAIL, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(pvtest::Hex(c.refresh));
    m_parent->errorDialogs.clear();
    OnlinePage page = OpenViscosity();
    if (FAILED(c.refresh)) Device().Fail({0, L"Refresh", c.refresh, L"The refresh is late.", true});
    ClickAndRun(page, IDC_VISCOSITY_SET);
    EXPECT_EQ(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET)) == FALSE, c.done);
    EXPECT_EQ(m_parent->errorDialogs.size(), c.errorShown ? 1u : 0u);
    if (c.errorShown && !m_parent->errorDialogs.empty()) {
      EXPECT_EQ(m_parent->errorDialogs[0].text, L"The refresh is late.");
    }
    Close(page);
  }
}

TEST_F(ServiceButtons, LeavingThePageWhileTheServiceRunsIsRefused) {
  OnlinePage page = OpenViscosity();
  Device().Fail({0, L"SetAttributeSingleRegulator", E_FAIL, L"Not written.", false});
  HRESULT leaving = S_OK;
  int depth = 0;
  bool waitCursor = false;
  m_duringBox = [&](HWND) {
    if (depth) return;
    depth = Manager().depth;
    waitCursor = platform::mfc::IsWaitCursorShowing();
    leaving = page.child->OnDeactivate();
  };
  ClickAndRun(page, IDC_VISCOSITY_SET);
  EXPECT_EQ(m_boxes.size(), 3u) << "one message for each failed write";
  EXPECT_HR(0x80040200, leaving) << "refused while the service runs";
  EXPECT_EQ(depth, 1) << "the dialog manager is locked while the service runs";
  EXPECT_TRUE(waitCursor);
  m_duringBox = nullptr;
  EXPECT_HR(S_OK, page.child->OnDeactivate()) << "and accepted afterwards";
  EXPECT_EQ(Manager().depth, 0);
  Close(page);
}

TEST_F(ServiceButtons, ASet5ThatAsksFirstWritesOnlyWhenTheUserSaysYes) {
  for (int answer : {IDNO, IDYES}) {
    SCOPED_TRACE(answer == IDYES ? "yes" : "no");
    m_parent->messageDialogs.clear();
    m_parent->messageDialogAnswer = answer;
    OnlinePage page = OpenViscosity();
    ASSERT_TRUE(IsWindowEnabled(page.Item(IDC_VISCOSITY_CONFIRMED_SET)));
    ClickAndRun(page, IDC_VISCOSITY_CONFIRMED_SET);
    ASSERT_EQ(m_parent->messageDialogs.size(), 1u);
    EXPECT_EQ(m_parent->messageDialogs[0].style, static_cast<UINT>(MB_YESNO | MB_ICONEXCLAMATION));
    EXPECT_EQ(ServiceCalls(Device().requests).size(), answer == IDYES ? 5u : 0u);
    Close(page);
  }
}

TEST_F(ServiceButtons, SetSwitchWritesTheChosenCodeRefreshesWaitsAndReadsItBack) {
  OnlinePage page = Open(kTotalizerPageClsid);
  HWND set = page.Item(IDC_TOTALIZER2_SET);
  ASSERT_TRUE(pw::SelectComboItem(page.Item(IDC_TOTALIZER2_SWITCH), 3));
  ASSERT_TRUE(IsWindowEnabled(set));
  Device().requests.clear();
  ASSERT_TRUE(pw::ClickButton(set));
  Pump(299);
  const DWORD before = GetTickCount();
  Pump(1);
  EXPECT_EQ(GetTickCount() - before, 1u + 1000u) << "the wait before the read-back";
  const auto& record = Device().requests;
  ASSERT_EQ(record.size(), 4u);
  EXPECT_EQ(record[0].name, L"SetAttributeSingleTotalizer");
  EXPECT_EQ(record[0].types, kSwitchTypes);
  EXPECT_EQ(record[0].values, (std::vector<LONG>{2, 9, 198}));
  EXPECT_EQ(record[1].name, L"Refresh");
  EXPECT_EQ(record[2].operation, DeviceRequest::Operation::kRead);
  EXPECT_EQ(record[2].name, L"TotalizerControl");
  EXPECT_EQ(record[2].types, (std::vector<VARTYPE>{VT_I1, VT_I1, VT_I1}));
  EXPECT_EQ(record[2].values, (std::vector<LONG>{115, 2, 9}));
  EXPECT_EQ(record[2].requestedType, VT_EMPTY);
  EXPECT_EQ(record[3].name, L"Refresh");
  EXPECT_EQ(Device().Integer({115, 2, 9}), 198);
  EXPECT_EQ(Selection(page.Item(IDC_TOTALIZER2_SWITCH)), 3);
  EXPECT_FALSE(IsWindowEnabled(set));
  Close(page);
}

TEST_F(ServiceButtons, EachSwitchEntryWritesItsCode) {
  const LONG codes[] = {-32226, -32490, -32228, 198, 199, -32608};
  OnlinePage page = Open(kTotalizerPageClsid);
  for (int entry = 0; entry < 6; ++entry) {
    SCOPED_TRACE(entry);
    Device().requests.clear();
    ASSERT_TRUE(pw::SelectComboItem(page.Item(IDC_TOTALIZER3_SWITCH), entry));
    ClickAndRun(page, IDC_TOTALIZER3_SET);
    ASSERT_FALSE(Device().requests.empty());
    EXPECT_EQ(Device().requests[0].values, (std::vector<LONG>{3, 9, codes[entry]}));
    EXPECT_EQ(Selection(page.Item(IDC_TOTALIZER3_SWITCH)), entry) << "read back";
  }
  Close(page);
}

TEST_F(ServiceButtons, SetSwitchRefusesNoSelectionAndKeepsAFailedWritePending) {
  OnlinePage page = Open(kTotalizerPageClsid);
  ASSERT_TRUE(pw::SelectComboItem(page.Item(IDC_TOTALIZER1_SWITCH), 4));
  SendMessageW(page.Item(IDC_TOTALIZER1_SWITCH), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
  Device().requests.clear();
  ClickAndRun(page, IDC_TOTALIZER1_SET);
  EXPECT_TRUE(Device().requests.empty());
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  EXPECT_EQ(m_parent->errorDialogs[0].helpContext, 0x20002);

  ASSERT_TRUE(pw::SelectComboItem(page.Item(IDC_TOTALIZER1_SWITCH), 4));
  Device().Fail({0, L"SetAttributeSingleTotalizer", E_FAIL, L"Not written.", true});
  Device().Fail({0, L"Refresh", static_cast<HRESULT>(0x80042204), L"Late.", true});
  ClickAndRun(page, IDC_TOTALIZER1_SET);
  ASSERT_EQ(m_boxes.size(), 1u);
  EXPECT_EQ(m_boxes[0].helpId, 10034u + 0x30000u);
  EXPECT_EQ(Device().requests.size(), 4u) << "the refresh and the read-back follow";
  EXPECT_EQ(Selection(page.Item(IDC_TOTALIZER1_SWITCH)), 0) << "the device's value read back";
  EXPECT_TRUE(IsWindowEnabled(page.Item(IDC_TOTALIZER1_SET))) << "not written: still pending";
  Close(page);
}

TEST_F(ServiceButtons, TheOtherMetersSetSwitchReadsBackFromItsOwnClass) {
  Device().SetTotalizerClass(112);
  for (LONG instance = 1; instance <= 3; ++instance)
    Device().AddAttribute({{112, instance, 9}, L"TotalizerControl", false, 0.0f, -32226});
  OnlinePage page = Open(kFluxorTotalizerPageClsid);
  ASSERT_TRUE(pw::SelectComboItem(page.Item(IDC_TOTALIZER1_SWITCH), 5));
  Device().requests.clear();
  ClickAndRun(page, IDC_TOTALIZER1_SET);
  ASSERT_EQ(Device().requests.size(), 4u);
  EXPECT_EQ(Device().requests[2].values, (std::vector<LONG>{112, 1, 9}));
  EXPECT_EQ(Device().Integer({112, 1, 9}), -32608);
  EXPECT_EQ(Selection(page.Item(IDC_TOTALIZER1_SWITCH)), 5);
  Close(page);
}

}  // namespace
}  // namespace online
