// The diagnostics button and the module information fields through the door a host uses: the
// page's activation runs "Refresh" and the fields then show the role names read by path
// number; a failed refresh writes "Refresh Failed" and empties the fields; the controller
// state clears them and coming back online runs the service again.
#include <gtest/gtest.h>

#include <cmath>

#include "OnlinePageHost.h"

namespace online {
namespace {

namespace pw = platform::windows;

constexpr DeviceAddress kAccessLevel{0, 0, 104};
constexpr DeviceAddress kServiceLevel{0, 0, 103};

_variant_t Typed(VARTYPE vt, double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  switch (vt) {
    case VT_I2:
      v.iVal = static_cast<SHORT>(value);
      break;
    case VT_I4:
      v.lVal = static_cast<LONG>(value);
      break;
    case VT_R4:
      v.fltVal = static_cast<float>(value);
      break;
    case VT_UI1:
      v.bVal = static_cast<BYTE>(value);
      break;
    case VT_BOOL:
      v.boolVal = VARIANT_TRUE;
      break;
    default:
      break;
  }
  return _variant_t(v);
}

class Diagnostics : public OnlinePageHost {};

TEST_F(Diagnostics, ActivationRunsRefreshAndThenShowsTheRoleNames) {
  OnlinePage page = Open(kDiagnosticsPageClsid);
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"") << "activation clears the field";
  EXPECT_EQ(RequestCount(), 0u);
  Pump(300);
  const auto& record = Device().requests;
  ASSERT_EQ(record.size(), 3u) << "one refresh (the other button runs none), then the two reads";
  EXPECT_EQ(record[0].name, L"Refresh");
  EXPECT_EQ(record[0].argumentType, VT_EMPTY);
  struct Read {
    const wchar_t* name;
    LONG path;
  } reads[] = {{L"AccessStatusLevel", 104}, {L"ServiceLevel", 103}};
  for (size_t i = 0; i < 2; ++i) {
    SCOPED_TRACE(Narrow(reads[i].name));
    EXPECT_EQ(record[1 + i].name, reads[i].name);
    EXPECT_EQ(record[1 + i].argumentType, VT_BYREF | VT_I4);
    EXPECT_EQ(record[1 + i].values, (std::vector<LONG>{reads[i].path}));
    EXPECT_EQ(record[1 + i].requestedType, VT_I2);
  }
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"Production");
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_SERVICE)), L"Service");
  EXPECT_EQ(Manager().lockCalls, 2) << "both buttons ran under the lock";
  Close(page);
}

TEST_F(Diagnostics, TheAccessLevelIsReadInEveryTypeTheHostMayAnswer) {
  struct Case {
    const char* what;
    _variant_t answer;
    const wchar_t* shown;
  } cases[] = {
      {"VT_I2 0x8017", Typed(VT_I2, -32745), L"Development"},
      {"VT_I4", Typed(VT_I4, -32577), L"Maintenance"},
      {"VT_R4 truncated", Typed(VT_R4, -32522.75), L"Operator"},
      {"VT_BSTR", _variant_t(L"-32472"), L"Service"},
      {"VT_BSTR 32791", _variant_t(L"32791"), L"??"},
      {"VT_BSTR of 64 bits", _variant_t(L"4294934551"), L"Development"},
      {"VT_UI1", Typed(VT_UI1, 23), L"??"},
      {"a level outside the table", Typed(VT_I4, 7), L"??"},
      {"VT_BOOL", Typed(VT_BOOL, 1), L" "},
      {"VT_R4 beyond 32 bits", Typed(VT_R4, 3e9), L" "},
      {"VT_R4 not finite", Typed(VT_R4, std::nan("")), L" "},
      {"a null text",
       [] {
         VARIANT v;
         VariantInit(&v);
         v.vt = VT_BSTR;
         v.bstrVal = nullptr;
         return _variant_t(v);
       }(),
       L" "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Device().SetAnswer(kAccessLevel, c.answer);
    OnlinePage page = Open(kDiagnosticsPageClsid);
    Pump(300);
    EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), c.shown);
    Close(page);
  }
  Device().ClearAnswer(kAccessLevel);
  Device().Fail({0, L"AccessStatusLevel", E_FAIL, L"No level.", false});
  OnlinePage page = Open(kDiagnosticsPageClsid);
  Pump(300);
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L" ") << "a failed read after a good refresh";
  Close(page);
}

TEST_F(Diagnostics, AFailedRefreshWritesRefreshFailedShowsTheErrorAndEmptiesTheFields) {
  Device().Fail({0, L"Refresh", E_FAIL, L"The device did not refresh.", true});
  OnlinePage page = Open(kDiagnosticsPageClsid);
  SetWindowTextW(page.Item(IDC_DIAGNOSTICS_ACCESS), L"Operator");
  Pump(300);
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_TARGET)), L"Refresh Failed");
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  EXPECT_EQ(m_parent->errorDialogs[0].text, L"The device did not refresh.");
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"");
  EXPECT_TRUE(Requests(L"AccessStatusLevel").empty()) << "nothing is read after a failed refresh";

  // A click runs it again; this time it succeeds and takes "Refresh Failed" back.
  ASSERT_TRUE(pw::ClickButton(page.Item(IDC_DIAGNOSTICS_BUTTON)));
  Pump(300);
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_TARGET)), L"");
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"Production");
  Close(page);
}

TEST_F(Diagnostics, AMissingTargetItemIsLoggedAndNoRefreshRuns) {
  OnlinePage page = Open(kDiagnosticsPageClsid);
  DestroyWindow(page.Item(IDC_DIAGNOSTICS_TARGET));
  TakeLog();
  Pump(300);
  EXPECT_TRUE(Requests(L"Refresh").empty());
  EXPECT_TRUE(Contains(TakeLog(), L"CPVCtrlWireDiagPageButton::PerformService: Invalid target item"));
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"") << "the service failed: the field stays empty";
  Close(page);
}

TEST_F(Diagnostics, TheControllerStateClearsTheFieldsAndComingBackOnlineRunsTheServiceAgain) {
  OnlinePage page = Open(kDiagnosticsPageClsid);
  Pump(300);
  ASSERT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"Production");
  struct Case {
    LONG mode;
    LONG redundancy;
    bool stateFlag;
    bool buttonEnabled;
    bool fieldShown;
  } cases[] = {
      {0, 0, false, false, false}, {3, 0, false, true, true},   {7, 0, false, false, false},
      {6, 0, false, true, true},   {8, 0, false, false, false}, {1, 0, false, true, true},
      {2, 1, false, true, false},  {4, 0, true, false, false},  {5, 0, false, true, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " redundancy " << c.redundancy << " flag "
                                    << c.stateFlag);
    SetState(page, c.mode, c.redundancy, c.stateFlag);
    Pump(300);
    EXPECT_EQ(IsWindowEnabled(page.Item(IDC_DIAGNOSTICS_BUTTON)) != FALSE, c.buttonEnabled);
    EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), c.fieldShown ? L"Production" : L"");
  }
  Close(page);
}

TEST_F(Diagnostics, APageOpenedOfflineShowsAnEmptyFieldAndADisabledButton) {
  m_parent->vexil.mode = 0;
  OnlinePage page = Open(kDiagnosticsPageClsid);
  Pump(1000);
  EXPECT_FALSE(IsWindowEnabled(page.Item(IDC_DIAGNOSTICS_BUTTON)));
  EXPECT_EQ(Text(page.Item(IDC_DIAGNOSTICS_ACCESS)), L"");
  EXPECT_EQ(RequestCount(), 0u);
  Close(page);
}

}  // namespace
}  // namespace online
