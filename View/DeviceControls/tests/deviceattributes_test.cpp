// The device-attribute controls through the door a host uses: the viscosity group and the
// totalizer switches read their attributes with the paths of their page's table, show them,
// follow the controller state, refuse results they cannot take, and tell their service button
// only of what the user changed.
#include <gtest/gtest.h>

#include <clocale>

#include "OnlinePageHost.h"

namespace online {
namespace {

namespace pw = platform::windows;

// The viscosity group as its page gives it: item, attribute name, object class, attribute.
struct Attribute {
  int item;
  const wchar_t* name;
  LONG objectClass;
  LONG attribute;
};
constexpr Attribute kRegulators[] = {
    {9335, L"ViscosityCompX1", 112, 21},
    {9338, L"ViscosityCompX2", 112, 22},
    {9398, L"ViscosityRefTemp", 112, 24},
};
constexpr Attribute kModel{9396, L"ViscosityCalcModel", 112, 23};
// The totalizer switches: item, instance; each "TotalizerControl", attribute 9.
struct Switch {
  int item;
  LONG instance;
};
constexpr Switch kSwitches[] = {{9329, 1}, {9148, 2}, {9405, 3}};

_variant_t Bytes(std::vector<BYTE> bytes, LONG lower = 0) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_UI1, lower, static_cast<ULONG>(bytes.size()));
  for (size_t i = 0; i < bytes.size(); ++i) {
    LONG index = lower + static_cast<LONG>(i);
    SafeArrayPutElement(array, &index, &bytes[i]);
  }
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ARRAY | VT_UI1;
  v.parray = array;
  return _variant_t(v, false);
}

_variant_t NullText() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  return _variant_t(v);
}

class DeviceAttributes : public OnlinePageHost {
 protected:
  // The reads of the attribute, in order.
  std::vector<DeviceRequest> Reads(const wchar_t* name) const {
    std::vector<DeviceRequest> reads;
    for (const DeviceRequest& r : Requests(name))
      if (r.operation == DeviceRequest::Operation::kRead) reads.push_back(r);
    return reads;
  }
};

TEST_F(DeviceAttributes, OnlineTheFieldsAreReadAndEnabledOfflineEmptyDisabledAndTheDeviceIsNotAsked) {
  OnlinePage page = Open(kViscosityPageClsid);
  struct Case {
    LONG mode;
    LONG redundancy;
    bool stateFlag;
    bool online;
  } cases[] = {
      {0, 0, false, false}, {1, 0, false, true},  {2, 0, false, true}, {3, 0, false, true},
      {4, 0, false, true},  {5, 0, false, true},  {6, 0, false, true}, {7, 0, false, false},
      {8, 0, false, false}, {3, 1, false, false}, {3, 0, true, false}, {6, 0, false, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " redundancy " << c.redundancy << " flag "
                                    << c.stateFlag);
    const size_t before = RequestCount();
    SetState(page, c.mode, c.redundancy, c.stateFlag);
    for (const Attribute& a : kRegulators) {
      EXPECT_EQ(IsWindowEnabled(page.Item(a.item)) != FALSE, c.online) << a.item;
      if (!c.online) {
        EXPECT_EQ(Text(page.Item(a.item)), L"") << a.item;
      }
    }
    EXPECT_EQ(IsWindowEnabled(page.Item(kModel.item)) != FALSE, c.online);
    EXPECT_EQ(Selection(page.Item(kModel.item)), c.online ? 1 : -1);
    EXPECT_FALSE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET))) << "nothing is pending";
    if (c.online) {
      EXPECT_EQ(Text(page.Item(9335)), L"1.2500");
      EXPECT_EQ(Text(page.Item(9338)), L"-0.5000");
      EXPECT_EQ(Text(page.Item(9398)), L"20.00") << "the reference temperature with two decimals";
      EXPECT_EQ(RequestCount(), before + 4) << "each field read once";
    } else {
      EXPECT_EQ(RequestCount(), before) << "no request reaches the device offline";
    }
  }
  Close(page);
}

TEST_F(DeviceAttributes, EachReadTakesThePathOfItsPageTable) {
  OnlinePage page = Open(kViscosityPageClsid);
  for (const Attribute& a : kRegulators) {
    SCOPED_TRACE(Narrow(a.name));
    const auto reads = Reads(a.name);
    ASSERT_EQ(reads.size(), 1u);
    EXPECT_EQ(reads[0].argumentType, VT_ARRAY | VT_VARIANT);
    EXPECT_EQ(reads[0].lowerBound, 0);
    EXPECT_EQ(reads[0].types, (std::vector<VARTYPE>{VT_I2, VT_I2, VT_I2}));
    EXPECT_EQ(reads[0].values, (std::vector<LONG>{a.objectClass, 1, a.attribute}));
    EXPECT_EQ(reads[0].requestedType, VT_ARRAY | VT_UI1);
  }
  const auto model = Reads(kModel.name);
  ASSERT_EQ(model.size(), 1u);
  EXPECT_EQ(model[0].types, (std::vector<VARTYPE>{VT_I2, VT_I2, VT_I2}));
  EXPECT_EQ(model[0].values, (std::vector<LONG>{112, 1, 23}));
  EXPECT_EQ(model[0].requestedType, VT_EMPTY);
  EXPECT_EQ(m_module->link.companionQueries, 3) << "each regulator asks for the companion interface";
  Close(page);

  Device().requests.clear();
  OnlinePage totalizers = Open(kTotalizerPageClsid);
  const auto& record = Device().requests;
  ASSERT_EQ(record.size(), 6u) << "each switch reads, then refreshes";
  for (size_t i = 0; i < std::size(kSwitches); ++i) {
    SCOPED_TRACE(kSwitches[i].item);
    const DeviceRequest& read = record[2 * i];
    EXPECT_EQ(read.operation, DeviceRequest::Operation::kRead);
    EXPECT_EQ(read.name, L"TotalizerControl");
    EXPECT_EQ(read.lowerBound, 0);
    EXPECT_EQ(read.types, (std::vector<VARTYPE>{VT_I1, VT_I1, VT_I1}));
    EXPECT_EQ(read.values, (std::vector<LONG>{115, kSwitches[i].instance, 9}));
    EXPECT_EQ(read.requestedType, VT_EMPTY);
    EXPECT_EQ(record[2 * i + 1].name, L"Refresh");
    EXPECT_EQ(record[2 * i + 1].argumentType, VT_EMPTY);
    EXPECT_EQ(Selection(totalizers.Item(kSwitches[i].item)), 0);
  }
  Close(totalizers);

  // The other meter's page passes its own class to the same controls.
  Device().AddAttribute({{112, 1, 9}, L"TotalizerControl", false, 0.0f, 199});
  Device().requests.clear();
  OnlinePage fluxor = Open(kFluxorTotalizerPageClsid);
  ASSERT_FALSE(Reads(L"TotalizerControl").empty());
  EXPECT_EQ(Reads(L"TotalizerControl")[0].values, (std::vector<LONG>{112, 1, 9}));
  EXPECT_EQ(Selection(fluxor.Item(9329)), 4);
  Close(fluxor);
}

TEST_F(DeviceAttributes, TheModelCodeSelectsItsEntry) {
  struct Case {
    _variant_t answer;
    int selection;
  } cases[] = {
      {L"806", 0},        {L"807", 1},         {L"808", 2},      {L"0", 1},
      {L"809", 1},        {L" 808 ", 2},       {L"808x", -1},    {L"-806", -1},
      {L"4294967295", 1}, {L"4294967296", -1}, {NullText(), -1}, {_variant_t(static_cast<LONG>(806)), -1},
      {L"", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.answer.vt == VT_BSTR && c.answer.bstrVal ? c.answer.bstrVal : L"(not a text)"));
    Device().SetAnswer({112, 1, 23}, c.answer);
    OnlinePage page = Open(kViscosityPageClsid);
    EXPECT_EQ(Selection(page.Item(kModel.item)), c.selection);
    Close(page);
  }
}

TEST_F(DeviceAttributes, TheSwitchValueSelectsItsEntryAndAFailedReadOrRefreshSelectsNone) {
  struct Case {
    _variant_t answer;
    int selection;
  } cases[] = {
      {L"-32226", 0}, {L"-32490", 1}, {L"-32228", 2},      {L"198", 3},  {L"199", 4},      {L"-32608", 5},
      {L"0", 0},      {L"33310", 0},  {L"2147483648", -1}, {L"1.5", -1}, {NullText(), -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.answer.bstrVal ? c.answer.bstrVal : L"(null)"));
    Device().SetAnswer({115, 2, 9}, c.answer);
    OnlinePage page = Open(kTotalizerPageClsid);
    EXPECT_EQ(Selection(page.Item(9148)), c.selection);
    Close(page);
  }
  Device().ClearAnswer({115, 2, 9});
  Device().SetInteger({115, 2, 9}, 198);
  Device().Fail({0, L"Refresh", E_FAIL, L"No refresh.", false});
  OnlinePage page = Open(kTotalizerPageClsid);
  EXPECT_EQ(Selection(page.Item(9148)), -1) << "a read whose refresh fails shows nothing";
  Close(page);
}

TEST_F(DeviceAttributes, ARegulatorTakesOnlyFourBytesOrMoreFromTheirLowerBound) {
  struct Case {
    const char* what;
    _variant_t answer;
    std::wstring text;
  } cases[] = {
      {"four bytes of 2.5", Bytes({0x00, 0x00, 0x20, 0x40}), L"2.5000"},
      {"from lower bound 1", Bytes({0x00, 0x00, 0x20, 0x40}, 1), L"2.5000"},
      {"six bytes", Bytes({0x00, 0x00, 0x20, 0xC0, 0x11, 0x22}), L"-2.5000"},
      {"three bytes", Bytes({0x00, 0x00, 0x20}), L""},
      {"a text", _variant_t(L"2.5"), L""},
      {"a real", _variant_t(2.5f), L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Device().SetAnswer({112, 1, 21}, c.answer);
    OnlinePage page = Open(kViscosityPageClsid);
    EXPECT_EQ(Text(page.Item(9335)), c.text);
    Close(page);
  }
}

TEST_F(DeviceAttributes, AFailedReadEmptiesTheFieldItShowedBefore) {
  OnlinePage page = Open(kViscosityPageClsid);
  ASSERT_EQ(Text(page.Item(9338)), L"-0.5000");
  ASSERT_EQ(Selection(page.Item(kModel.item)), 1);
  Device().Fail({0, L"ViscosityCompX2", E_FAIL, L"No answer.", false});
  Device().Fail({0, L"ViscosityCalcModel", E_FAIL, L"No answer.", false});
  EXPECT_HR(E_FAIL, page.child->Refresh());
  EXPECT_EQ(Text(page.Item(9338)), L"");
  EXPECT_EQ(Selection(page.Item(kModel.item)), -1);
  EXPECT_EQ(Text(page.Item(9335)), L"1.2500") << "the others are read as before";
  EXPECT_FALSE(IsWindowEnabled(page.Item(IDC_VISCOSITY_SET))) << "an emptied field is no user edit";
  Close(page);
}

TEST_F(DeviceAttributes, RefreshDataChangedAndRevertedReadTheDeviceAgain) {
  OnlinePage page = Open(kViscosityPageClsid);
  Device().SetReal({112, 1, 24}, -40.5f);
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_EQ(Text(page.Item(9398)), L"-40.50");
  Device().SetReal({112, 1, 24}, 7.0f);
  EXPECT_HR(S_OK, page.events->DataChanged());
  EXPECT_EQ(Text(page.Item(9398)), L"7.00");
  Device().SetInteger({112, 1, 23}, 806);
  EXPECT_HR(S_OK, page.events->Reverted());
  EXPECT_EQ(Selection(page.Item(kModel.item)), 0);
  Close(page);
}

TEST_F(DeviceAttributes, OnlyAUsersChangeArmsTheServiceButton) {
  OnlinePage page = Open(kViscosityPageClsid);
  HWND set = page.Item(IDC_VISCOSITY_SET);
  // What the controls set themselves: values read, cleared offline, read again online.
  SetState(page, 0);
  SetState(page, 2);
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_FALSE(IsWindowEnabled(set));
  EXPECT_TRUE(m_parent->dirtyNotices.empty()) << "nothing marks the page dirty";

  struct Case {
    const char* what;
    std::function<void()> change;
  } cases[] = {
      {"a coefficient typed", [&] { ASSERT_TRUE(pw::TypeText(page.Item(9335), L"5")); }},
      {"a regulator emptied by the user",
       [&] {
         ASSERT_TRUE(pw::FocusControl(page.Item(9338)));
         SendMessageW(page.Item(9338), EM_SETSEL, 0, -1);
         ASSERT_TRUE(pw::TypeText(page.Item(9338), L"\b"));
       }},
      {"a model chosen", [&] { ASSERT_TRUE(pw::SelectComboItem(page.Item(kModel.item), 2)); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_HR(S_OK, page.child->OnActivate());
    ASSERT_FALSE(IsWindowEnabled(set));
    c.change();
    EXPECT_TRUE(IsWindowEnabled(set));
  }
  Close(page);

  OnlinePage totalizers = Open(kTotalizerPageClsid);
  EXPECT_FALSE(IsWindowEnabled(totalizers.Item(IDC_TOTALIZER2_SET)));
  ASSERT_TRUE(pw::SelectComboItem(totalizers.Item(9148), 3));
  EXPECT_TRUE(IsWindowEnabled(totalizers.Item(IDC_TOTALIZER2_SET)));
  EXPECT_FALSE(IsWindowEnabled(totalizers.Item(IDC_TOTALIZER1_SET)));
  Close(totalizers);
}

TEST_F(DeviceAttributes, DeviceValuesAreShownWithAPointWhateverTheLocale) {
  NumericLocaleGuard restore;
  if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8"))
    GTEST_SKIP() << "no locale with ',' (scripts/setup makes one)";
  OnlinePage page = Open(kViscosityPageClsid);
  EXPECT_EQ(Text(page.Item(9335)), L"1.2500");
  EXPECT_EQ(Text(page.Item(9398)), L"20.00");
  Close(page);
}

TEST_F(DeviceAttributes, WithoutTheLinkManagerNothingIsShownAndTheFailureIsLogged) {
  m_module->link.answersLinkManager = false;
  TakeLog();
  CLSID clsid{};
  ASSERT_HR(S_OK, CLSIDFromString(kViscosityPageClsid, &clsid));
  OnlinePage page = OpenPage<OnlinePage>(clsid, false, false);
  EXPECT_HR(E_NOINTERFACE, page.child->Init(m_parent->GetUnknown()))
      << "the controls' failure is the panel's";
  ASSERT_HR(S_OK, page.panel->Create(m_window.get()));
  page.panel->Show(SW_SHOW);
  page.child->OnActivate();
  EXPECT_EQ(Text(page.Item(9335)), L"");
  EXPECT_EQ(Selection(page.Item(kModel.item)), -1);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_TRUE(Contains(
      TakeLog(), L"CPVCtrlDCLRegulator::SetIModule: Failed to obtain IENetLinkCollectionManager interface."));
  Close(page);
}

}  // namespace
}  // namespace online
