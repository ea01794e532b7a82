// The Coriolis meter's totalizer, second system and viscosity pages through the host's door,
// over the built-in Coriolis module and its simulated device: their configuration rows from
// their tables, the totalizers' unit lists and preset captions over every process variable,
// the online pairs offline and online, and each page released by the host while it is shown,
// online and busy.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "../../DeviceControls/tests/OnlinePageHost.h"
#include "../../DeviceControls/tests/UnitCaptionTables.h"
#include "CorvanePageTable.h"

namespace {

namespace pw = platform::windows;
using corvanepages::Ctrl;
using corvanepages::PageTable;
using corvanepages::Row;
using online::DeviceRequest;
using online::OnlinePage;
using pvtest::Choose;
using pvtest::ComboSelection;
using pvtest::EntriesOf;
using pvtest::Lines;
using pvtest::Narrow;

constexpr wchar_t kTotalizerClsid[] = L"{CC47BA1F-0B66-498E-B451-17027D56ECC6}";
constexpr wchar_t kSystem2Clsid[] = L"{8DB8F1AB-FF61-405F-BF91-50F20B00DE1C}";
constexpr wchar_t kViscosityClsid[] = L"{A61B89EA-0D94-4CE4-AB4E-ED21A372435F}";

// ---------------------------------------------------------------------------------------------
// The pages' tables

Row ComboRow(int id, const wchar_t* member) {
  return {.id = id, .ctrl = Ctrl::kComboBox, .member = member};
}

// The second system page's configuration rows; the access status 9411 and its button 9197
// follow them and bind no member.
const PageTable kSystem2 = [] {
  PageTable table{"CPVPageCorvaneSYSTEM2",
                  9128,
                  {
                      {.id = 9164,
                       .ctrl = Ctrl::kEditInteger,
                       .member = L"STD_AccessCode_1",
                       .textLimit = 5,
                       .signFlags = 1},
                      ComboRow(9128, L"EIP_SWWriteProtection"),
                      {.id = 9160,
                       .ctrl = Ctrl::kEditFloat,
                       .member = L"Diagnostic_handling_Alarm_delay",
                       .textLimit = 5,
                       .signFlags = 1,
                       .decimals = 1},
                  }};
  const std::pair<int, const wchar_t*> diagnostics[] = {
      {9144, L"Diagn_behavior_Diagnostic_no046"}, {9334, L"Diagn_behavior_Diagnostic_no140"},
      {9336, L"Diagn_behavior_Diagnostic_no144"}, {9151, L"Diagn_behavior_Diagnostic_no374"},
      {9153, L"Diagn_behavior_Diagnostic_no441"}, {9155, L"Diagn_behavior_Diagnostic_no442"},
      {9157, L"Diagn_behavior_Diagnostic_no443"}, {9159, L"Diagn_behavior_Diagnostic_no444"},
      {9183, L"Diagn_behavior_Diagnostic_no830"}, {9185, L"Diagn_behavior_Diagnostic_no831"},
      {9181, L"Diagn_behavior_Diagnostic_no832"}, {9162, L"Diagn_behavior_Diagnostic_no833"},
      {9168, L"Diagn_behavior_Diagnostic_no834"}, {9170, L"Diagn_behavior_Diagnostic_no835"},
      {9180, L"Diagn_behavior_Diagnostic_no862"}, {9172, L"Diagn_behavior_Diagnostic_no912"},
      {9174, L"Diagn_behavior_Diagnostic_no913"}, {9176, L"Diagn_behavior_Diagnostic_no944"},
      {9178, L"Diagn_behavior_Diagnostic_no948"},
  };
  for (const auto& [id, member] : diagnostics) table.rows.push_back(ComboRow(id, member));
  return table;
}();

// One totalizer's items and members.
struct Totalizer {
  int assign;
  int unit;
  int presetUnit;
  int mode;
  int control;
  int preset;
  int failureMode;
  int setControl;
  const wchar_t* assignMember;
  const wchar_t* unitMember;
  const wchar_t* modeMember;
  const wchar_t* presetMember;
  const wchar_t* failureMember;
};
constexpr Totalizer kTotalizers[] = {
    {9327, 9326, 9332, 9328, 9329, 9330, 9331, 9241, L"Totalizer_1_Assign_process_variable",
     L"Totalizer_1_Unit_totalizer_1", L"Totalizer_1_Totalizer_operation_mode", L"Totalizer_1_Preset_value_1",
     L"Totalizer_1_Failure_mode"},
    {9400, 9401, 9032, 9150, 9148, 9037, 9154, 9243, L"Totalizer_2_Assign_process_variable",
     L"Totalizer_2_Unit_totalizer_2", L"Totalizer_2_Totalizer_operation_mode", L"Totalizer_2_Preset_value_2",
     L"Totalizer_2_Failure_mode"},
    {9402, 9403, 9034, 9404, 9405, 9039, 9406, 9245, L"Totalizer_3_Assign_process_variable",
     L"Totalizer_3_Unit_totalizer_3", L"Totalizer_3_Totalizer_operation_mode", L"Totalizer_3_Preset_value_3",
     L"Totalizer_3_Failure_mode"},
};

// The totalizer page's plain configuration rows in list order: operation mode, preset (both
// signs, seven characters, two decimals) and failure mode of each totalizer. The process
// variables and unit lists work together and have tests of their own below.
const PageTable kTotalizerRows = [] {
  PageTable table{"CPVPageCorvaneTotalizerConfig", 9327, {}};
  for (const Totalizer& t : kTotalizers) {
    table.rows.push_back(ComboRow(t.mode, t.modeMember));
    table.rows.push_back({.id = t.preset,
                          .ctrl = Ctrl::kEditFloat,
                          .member = t.presetMember,
                          .textLimit = 7,
                          .signFlags = 3,
                          .decimals = 2});
    table.rows.push_back(ComboRow(t.failureMode, t.failureMember));
  }
  return table;
}();

class ConfigurationRows : public corvanepages::CorvanePageTest {};

TEST_F(ConfigurationRows, SecondSystemPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kSystem2);
}
TEST_F(ConfigurationRows, TotalizerPageFollowsItsTable) {
  ExpectPageFollowsItsTable(kTotalizerRows);
}

// ---------------------------------------------------------------------------------------------
// Through the host's door with the device behind the link services

// The unit family of a totalizer's process variable at a position of its list: the first and
// last unit index listed and the unit written when the variable changes.
struct Family {
  int first;
  int last;
  int32_t byDefault;
};
Family FamilyAt(int position) {
  if (position >= 0 && position <= 5) return {6, 26, 18};     // volume
  if (position >= 6 && position <= 10) return {0, 5, 4};      // mass
  if (position >= 11 && position <= 15) return {27, 34, 30};  // corrected volume
  return {0, 35, 35};                                         // every unit
}

LONG Bits(float value) {
  LONG bits = 0;
  std::memcpy(&bits, &value, sizeof bits);
  return bits;
}

class CorvaneOnline : public online::OnlinePageHost {
 protected:
  CorvaneOnline() : OnlinePageHost("CorvaneView.dll", nullptr) {}

  hostsim::ConfigurationTag* Tag() const { return m_module->StandardTag(); }
  const hostsim::MemberDefinition& Member(const wchar_t* member) const {
    const hostsim::MemberDefinition* definition = Tag()->Definition().Find(member);
    EXPECT_NE(definition, nullptr) << Narrow(member);
    static const hostsim::MemberDefinition none;
    return definition ? *definition : none;
  }
  int32_t Code(const wchar_t* member) const {
    hostsim::MemberValue value;
    EXPECT_TRUE(Tag()->GetValue(member, &value)) << Narrow(member);
    return static_cast<int32_t>(value.integer);
  }
  void StorePosition(const wchar_t* member, int position) const {
    ASSERT_TRUE(Tag()->SetInteger(member, Member(member).entries.at(static_cast<size_t>(position)).code));
  }
  // The member's texts from entry first to entry last.
  Lines Texts(const wchar_t* member, int first, int last) const {
    Lines texts;
    for (int i = first; i <= last; ++i)
      texts.push_back(Member(member).entries.at(static_cast<size_t>(i)).text);
    return texts;
  }
  std::string WritesSince(size_t count) const {
    const auto& writes = Tag()->Writes();
    return pvtest::DescribeWrites(std::vector<hostsim::ConfigurationTag::Write>(
        writes.begin() + static_cast<std::ptrdiff_t>(count), writes.end()));
  }
  // The totalizer's unit list, selection and preset caption are those of the unit code within
  // the family of the variable at the position.
  void ExpectUnitsOf(const OnlinePage& page, const Totalizer& t, int position, int32_t unit) const {
    const Family family = FamilyAt(position);
    EXPECT_EQ(EntriesOf(page.Item(t.unit)), Texts(t.unitMember, family.first, family.last));
    EXPECT_EQ(ComboSelection(page.Item(t.unit)), unit - family.first);
    EXPECT_EQ(Narrow(online::Text(page.Item(t.presetUnit))),
              Narrow(captiontables::kTotalizerUnitTexts.at(static_cast<size_t>(unit))));
  }
  // A click on the button and its timer run.
  void ClickAndRun(const OnlinePage& page, int button) {
    ASSERT_TRUE(pw::ClickButton(page.Item(button)));
    Pump(300);
  }
};

// ---- Totalizers

class Totalizers : public CorvaneOnline {};

TEST_F(Totalizers, EachUnitListShowsOnlyTheFamilyOfItsVariable) {
  const int positions = static_cast<int>(Member(kTotalizers[0].assignMember).entries.size());
  for (int position = 0; position < positions; ++position) {
    SCOPED_TRACE(testing::Message() << "process variable at " << position);
    // Each totalizer at its own unit within the family.
    const Family family = FamilyAt(position);
    for (size_t n = 0; n < std::size(kTotalizers); ++n) {
      StorePosition(kTotalizers[n].assignMember, position);
      ASSERT_TRUE(Tag()->SetInteger(kTotalizers[n].unitMember, family.first + static_cast<int32_t>(n)));
    }
    const size_t before = Tag()->Writes().size();
    OnlinePage page = Open(kTotalizerClsid);
    for (size_t n = 0; n < std::size(kTotalizers); ++n) {
      SCOPED_TRACE(testing::Message() << "totalizer " << n + 1);
      EXPECT_EQ(ComboSelection(page.Item(kTotalizers[n].assign)), position);
      ExpectUnitsOf(page, kTotalizers[n], position, family.first + static_cast<int32_t>(n));
    }
    EXPECT_EQ(WritesSince(before), "") << "opening writes nothing";
    Close(page);
  }
}

TEST_F(Totalizers, ChangingOneVariableRefillsOnlyItsListAndCaptionAndWritesTheFamilyDefaultAtOnce) {
  // Every totalizer on mass flow (position 6) in kg.
  for (const Totalizer& t : kTotalizers) {
    StorePosition(t.assignMember, 6);
    ASSERT_TRUE(Tag()->SetInteger(t.unitMember, 1));
  }
  OnlinePage page = Open(kTotalizerClsid);
  const Totalizer& second = kTotalizers[1];
  struct Step {
    int position;
    const char* what;
  } steps[] = {{0, "volume flow"}, {11, "corrected volume flow"}, {16, "off"}, {8, "carrier mass flow"}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.what);
    const size_t before = Tag()->Writes().size();
    Choose(page, second.assign, step.position);
    const int32_t unit = FamilyAt(step.position).byDefault;
    EXPECT_EQ(WritesSince(before),
              pvtest::DescribeWrites({{second.unitMember, VT_I4, std::to_wstring(unit)}}))
        << "the unit's family default, before any save";
    ExpectUnitsOf(page, second, step.position, unit);
    for (const Totalizer* other : {&kTotalizers[0], &kTotalizers[2]}) ExpectUnitsOf(page, *other, 6, 1);
  }
  // The save writes the variable; the unit was written already.
  size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(WritesSince(before),
            pvtest::DescribeWrites({{second.assignMember, VT_I4,
                                     std::to_wstring(Member(second.assignMember).entries[8].code)}}));

  // A change taken back by the host (which restores no member) leaves the unit written.
  before = Tag()->Writes().size();
  Choose(page, second.assign, 0);
  EXPECT_HR(S_OK, page.events->Reverted());
  EXPECT_EQ(WritesSince(before), pvtest::DescribeWrites({{second.unitMember, VT_I4, L"18"}}));
  EXPECT_EQ(Code(second.unitMember), 18);
  EXPECT_EQ(ComboSelection(page.Item(second.assign)), 8) << "the stored variable is shown again";
  Close(page);
}

TEST_F(Totalizers, ThePresetCaptionFollowsTheUnitAndTheVariable) {
  OnlinePage page = Open(kTotalizerClsid);
  const Totalizer& first = kTotalizers[0];
  Choose(page, first.unit, 3);
  EXPECT_EQ(online::Text(page.Item(first.presetUnit)), L"oz");
  Choose(page, first.assign, 11);
  EXPECT_EQ(online::Text(page.Item(first.presetUnit)), L"Sm3");
  Choose(page, first.unit, 7);
  EXPECT_EQ(online::Text(page.Item(first.presetUnit)), L"Sgal (imp)");
  size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(WritesSince(before),
            pvtest::DescribeWrites(
                {{first.assignMember, VT_I4, std::to_wstring(Member(first.assignMember).entries[11].code)},
                 {first.unitMember, VT_I4, L"34"}}));
  Close(page);
}

TEST_F(Totalizers, TheSaveWritesTheChangedMembersInTheOrderOfTheControlList) {
  OnlinePage page = Open(kTotalizerClsid);
  // Changed from the last control back to the first: the save's order is the list's.
  for (size_t n = std::size(kTotalizers); n-- > 0;) {
    const Totalizer& t = kTotalizers[n];
    Choose(page, t.failureMode, 1);
    pvtest::Retype(page.Item(t.preset), L"-12.5");
    Choose(page, t.mode, 2);
    Choose(page, t.assign, 12);
    Choose(page, t.unit, 2);
  }
  std::vector<hostsim::ConfigurationTag::Write> expected;
  for (const Totalizer& t : kTotalizers) {
    expected.push_back({t.assignMember, VT_I4, std::to_wstring(Member(t.assignMember).entries[12].code)});
    expected.push_back({t.unitMember, VT_I4, L"29"});
    expected.push_back({t.modeMember, VT_I4, std::to_wstring(Member(t.modeMember).entries[2].code)});
    expected.push_back({t.presetMember, VT_R4, L"-12.5"});
    expected.push_back({t.failureMember, VT_I4, std::to_wstring(Member(t.failureMember).entries[1].code)});
  }
  const size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(WritesSince(before), pvtest::DescribeWrites(expected));
  Close(page);
}

TEST_F(Totalizers, OfflineTheSwitchesAreEmptyAndDisabledWhileTheConfigurationWorks) {
  m_parent->vexil.mode = 0;
  OnlinePage page = Open(kTotalizerClsid);
  Pump(2000);
  EXPECT_EQ(RequestCount(), 0u) << "the device is not asked";
  for (const Totalizer& t : kTotalizers) {
    SCOPED_TRACE(t.control);
    EXPECT_EQ(ComboSelection(page.Item(t.control)), -1);
    EXPECT_FALSE(IsWindowEnabled(page.Item(t.control)));
    EXPECT_FALSE(IsWindowEnabled(page.Item(t.setControl)));
    for (int item : {t.assign, t.unit, t.mode, t.preset, t.failureMode})
      EXPECT_TRUE(IsWindowEnabled(page.Item(item))) << item;
  }
  Choose(page, kTotalizers[2].mode, 2);
  const size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(WritesSince(before), pvtest::DescribeWrites({{kTotalizers[2].modeMember, VT_I4, L"3503"}}));
  Close(page);
}

TEST_F(Totalizers, OnlineEachSwitchShowsItsInstanceAndItsButtonWritesOnlyThatInstance) {
  const LONG codes[] = {-32490, 198, -32608};
  const int entries[] = {1, 3, 5};
  for (LONG n = 1; n <= 3; ++n) ASSERT_TRUE(Device().SetInteger({115, n, 9}, codes[n - 1]));
  OnlinePage page = Open(kTotalizerClsid);
  const auto reads = Requests(L"TotalizerControl");
  ASSERT_EQ(reads.size(), 3u);
  for (size_t n = 0; n < 3; ++n) {
    SCOPED_TRACE(testing::Message() << "totalizer " << n + 1);
    EXPECT_EQ(reads[n].types, (std::vector<VARTYPE>{VT_I1, VT_I1, VT_I1}));
    EXPECT_EQ(reads[n].values, (std::vector<LONG>{115, static_cast<LONG>(n + 1), 9}));
    EXPECT_EQ(ComboSelection(page.Item(kTotalizers[n].control)), entries[n]);
    EXPECT_TRUE(IsWindowEnabled(page.Item(kTotalizers[n].control)));
    EXPECT_FALSE(IsWindowEnabled(page.Item(kTotalizers[n].setControl))) << "nothing to write yet";
  }

  // The user's choice arms only its own button.
  ASSERT_TRUE(pw::SelectComboItem(page.Item(kTotalizers[1].control), 4));
  EXPECT_FALSE(IsWindowEnabled(page.Item(kTotalizers[0].setControl)));
  EXPECT_TRUE(IsWindowEnabled(page.Item(kTotalizers[1].setControl)));
  EXPECT_FALSE(IsWindowEnabled(page.Item(kTotalizers[2].setControl)));

  // Instance, attribute and code written, a refresh, the wait, the state read back.
  Device().requests.clear();
  ASSERT_TRUE(pw::ClickButton(page.Item(kTotalizers[1].setControl)));
  Pump(299);
  const DWORD before = GetTickCount();
  Pump(1);
  EXPECT_EQ(GetTickCount() - before, 1u + 1000u) << "the wait before the read-back";
  const auto& record = Device().requests;
  ASSERT_EQ(record.size(), 4u);
  EXPECT_EQ(record[0].name, L"SetAttributeSingleTotalizer");
  EXPECT_EQ(record[0].types, (std::vector<VARTYPE>{VT_I1, VT_I1, VT_I2}));
  EXPECT_EQ(record[0].values, (std::vector<LONG>{2, 9, 199}));
  EXPECT_EQ(record[1].name, L"Refresh");
  EXPECT_EQ(record[2].name, L"TotalizerControl");
  EXPECT_EQ(record[2].values, (std::vector<LONG>{115, 2, 9}));
  EXPECT_EQ(record[3].name, L"Refresh");
  EXPECT_EQ(Device().Integer({115, 1, 9}), codes[0]);
  EXPECT_EQ(Device().Integer({115, 2, 9}), 199);
  EXPECT_EQ(Device().Integer({115, 3, 9}), codes[2]);
  EXPECT_EQ(ComboSelection(page.Item(kTotalizers[1].control)), 4);
  EXPECT_FALSE(IsWindowEnabled(page.Item(kTotalizers[1].setControl)));
  EXPECT_EQ(Manager().lockCalls, 1);
  EXPECT_TRUE(m_boxes.empty());

  // A write the device refuses shows its message and stays pending.
  ASSERT_TRUE(pw::SelectComboItem(page.Item(kTotalizers[2].control), 0));
  Device().Fail({0, L"SetAttributeSingleTotalizer", E_FAIL, L"Not written.", true});
  ClickAndRun(page, kTotalizers[2].setControl);
  ASSERT_EQ(m_boxes.size(), 1u);
  EXPECT_EQ(m_boxes[0].caption, L"Tavelin 5000");
  EXPECT_EQ(Device().Integer({115, 3, 9}), codes[2]);
  EXPECT_EQ(ComboSelection(page.Item(kTotalizers[2].control)), entries[2]) << "the device's state read back";
  EXPECT_TRUE(IsWindowEnabled(page.Item(kTotalizers[2].setControl)));
  Close(page);
}

// ---- Second system page

class SecondSystemPage : public CorvaneOnline {};

TEST_F(SecondSystemPage, ActivationAndEveryClickRefreshUnderTheLockAndShowTheRoleName) {
  OnlinePage page = Open(kSystem2Clsid);
  EXPECT_EQ(GetFocus(), page.Item(9128));
  EXPECT_EQ(online::Text(page.Item(9411)), L"");
  Pump(300);
  ASSERT_EQ(Requests(L"Refresh").size(), 1u);
  EXPECT_EQ(online::Text(page.Item(9411)), L"Production");
  EXPECT_EQ(Manager().lockCalls, 1);
  EXPECT_EQ(Manager().unlockCalls, 1);

  struct Case {
    LONG level;
    const wchar_t* shown;
  } cases[] = {{-32745, L"Development"},
               {-32729, L"Production"},
               {-32577, L"Maintenance"},
               {-32522, L"Operator"},
               {-32472, L"Service"},
               {-32473, L"??"},
               {0, L"??"}};
  int clicks = 1;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.level);
    ASSERT_TRUE(Device().SetInteger({0, 0, 104}, c.level));
    ClickAndRun(page, 9197);
    ++clicks;
    EXPECT_EQ(online::Text(page.Item(9411)), c.shown);
    EXPECT_EQ(Manager().lockCalls, clicks);
  }
  EXPECT_EQ(Requests(L"Refresh").size(), static_cast<size_t>(clicks));
  Close(page);
}

TEST_F(SecondSystemPage, AFailedRefreshWritesRefreshFailedAndClearsTheFieldTheConfigurationStays) {
  ASSERT_TRUE(Tag()->SetInteger(L"STD_AccessCode_1", 4711));
  ASSERT_TRUE(Tag()->SetReal(L"Diagnostic_handling_Alarm_delay", 2.5f));
  OnlinePage page = Open(kSystem2Clsid);
  Pump(300);
  ASSERT_EQ(online::Text(page.Item(9411)), L"Production");
  const int protection = ComboSelection(page.Item(9128));

  Device().Fail({0, L"Refresh", E_FAIL, L"The device did not refresh.", true});
  ClickAndRun(page, 9197);
  EXPECT_EQ(online::Text(page.Item(9042)), L"Refresh Failed");
  EXPECT_EQ(online::Text(page.Item(9411)), L"");
  EXPECT_EQ(online::Text(page.Item(9164)), L"4711");
  EXPECT_EQ(online::Text(page.Item(9160)), L"2.5");
  EXPECT_EQ(ComboSelection(page.Item(9128)), protection);
  const size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(WritesSince(before), "") << "nothing the user changed";
  Close(page);
}

TEST_F(SecondSystemPage, OfflineTheFieldIsEmptyAndTheButtonDisabled) {
  m_parent->vexil.mode = 0;
  OnlinePage page = Open(kSystem2Clsid);
  Pump(1000);
  EXPECT_EQ(RequestCount(), 0u);
  EXPECT_EQ(online::Text(page.Item(9411)), L"");
  EXPECT_FALSE(IsWindowEnabled(page.Item(9197)));
  EXPECT_TRUE(IsWindowEnabled(page.Item(9164)));
  EXPECT_TRUE(IsWindowEnabled(page.Item(9128)));
  Close(page);
}

// ---- Viscosity

class Viscosity : public CorvaneOnline {};

constexpr int kModel = 9396;
constexpr int kCoefficient1 = 9335;
constexpr int kCoefficient2 = 9338;
constexpr int kReferenceTemperature = 9398;
constexpr int kWrite = 9242;
constexpr int kTemperatureUnit = 9240;

TEST_F(Viscosity, OfflineTheFieldsAreEmptyAndDisabledAndTheCaptionShowsTheConfiguredUnit) {
  m_parent->vexil.mode = 0;
  ASSERT_TRUE(Tag()->SetInteger(L"System_units_Temperature_unit", 4610));
  OnlinePage page = Open(kViscosityClsid);
  EXPECT_EQ(RequestCount(), 0u);
  for (int field : {kModel, kCoefficient1, kCoefficient2, kReferenceTemperature}) {
    SCOPED_TRACE(field);
    EXPECT_EQ(online::Text(page.Item(field)), L"");
    EXPECT_FALSE(IsWindowEnabled(page.Item(field)));
  }
  EXPECT_EQ(ComboSelection(page.Item(kModel)), -1);
  EXPECT_FALSE(IsWindowEnabled(page.Item(kWrite)));
  EXPECT_EQ(online::Text(page.Item(kTemperatureUnit)), L"K (Kelvin)");
  Close(page);
}

TEST_F(Viscosity, OnlineTheFieldsShowTheDevicesValuesAndTheButtonWritesThemInOrder) {
  OnlinePage page = Open(kViscosityClsid);
  EXPECT_EQ(GetFocus(), page.Item(kCoefficient1));
  EXPECT_EQ(online::Text(page.Item(kCoefficient1)), L"1.2500");
  EXPECT_EQ(online::Text(page.Item(kCoefficient2)), L"-0.5000");
  EXPECT_EQ(online::Text(page.Item(kReferenceTemperature)), L"20.00");
  EXPECT_EQ(ComboSelection(page.Item(kModel)), 1) << "code 807";
  EXPECT_EQ(online::Text(page.Item(kTemperatureUnit)), L"C (Celsius)");
  EXPECT_FALSE(IsWindowEnabled(page.Item(kWrite)));

  pvtest::Retype(page.Item(kCoefficient2), L"0.75");
  EXPECT_TRUE(IsWindowEnabled(page.Item(kWrite))) << "an edit arms the button";
  ASSERT_TRUE(pw::SelectComboItem(page.Item(kModel), 2));
  Device().requests.clear();
  ClickAndRun(page, kWrite);
  struct Call {
    const wchar_t* name;
    std::vector<VARTYPE> types;
    std::vector<LONG> values;
  } calls[] = {
      {L"SetAttributeSingleRegulator", {VT_I1, VT_I4}, {21, Bits(1.25f)}},
      {L"SetAttributeSingleRegulator", {VT_I1, VT_I4}, {22, Bits(0.75f)}},
      {L"SetAttributeSingleRegulator", {VT_I1, VT_I4}, {24, Bits(20.0f)}},
      {L"SetAttributeSingleSwitch", {VT_I1, VT_I1, VT_I2}, {1, 23, 808}},
      {L"Refresh", {}, {}},
  };
  const auto& record = Device().requests;
  ASSERT_GE(record.size(), std::size(calls));
  for (size_t i = 0; i < std::size(calls); ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(record[i].operation, DeviceRequest::Operation::kExecute);
    EXPECT_EQ(record[i].name, calls[i].name);
    EXPECT_EQ(record[i].types, calls[i].types);
    EXPECT_EQ(record[i].values, calls[i].values);
  }
  EXPECT_EQ(Device().Real({112, 1, 22}), 0.75f);
  EXPECT_EQ(Device().Integer({112, 1, 23}), 808);
  EXPECT_TRUE(m_boxes.empty());
  EXPECT_FALSE(IsWindowEnabled(page.Item(kWrite)));
  Close(page);
}

TEST_F(Viscosity, TheReferenceTemperatureIsCheckedAgainstTheConfiguredUnit) {
  struct Case {
    int32_t unit;
    const char* name;
    bool accepted;
  } cases[] = {{4608, "Celsius", true}, {4610, "Kelvin", false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_boxes.clear();
    ASSERT_TRUE(Tag()->SetInteger(L"System_units_Temperature_unit", c.unit));
    OnlinePage page = Open(kViscosityClsid);
    pvtest::Retype(page.Item(kReferenceTemperature), L"-1");
    Device().requests.clear();
    ClickAndRun(page, kWrite);
    if (c.accepted) {
      EXPECT_TRUE(m_boxes.empty());
      EXPECT_EQ(Device().Real({112, 1, 24}), -1.0f);
    } else {
      ASSERT_EQ(m_boxes.size(), 1u);
      EXPECT_EQ(m_boxes[0].text, L"The reference temperature must lie between 0.00 and 100000.00.");
      EXPECT_TRUE(Device().requests.empty()) << "nothing is written";
    }
    Close(page);
  }
}

// ---- Released by the host while shown, online and busy

class ReleasedWhileShown : public CorvaneOnline {};

TEST_F(ReleasedWhileShown, EachPageGoesWithItsWindowAndNoLaterMessageReachesItsControls) {
  struct Case {
    const char* page;
    const wchar_t* clsid;
    int field;   // a control that points at the button
    int button;  // clicked, its service left waiting for its timer
  } cases[] = {
      {"totalizers", kTotalizerClsid, 9148, 9243},
      {"second system page", kSystem2Clsid, 9411, 9197},
      {"viscosity", kViscosityClsid, kCoefficient1, kWrite},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    const size_t windows = pw::LiveWindowCount();
    OnlinePage page = Open(c.clsid);
    Pump(300);
    HWND field = page.Item(c.field);
    if (field && c.field != 9411) {
      // The user's change arms the button, whose click then waits for its timer.
      if (c.field == 9148) {
        ASSERT_TRUE(pw::SelectComboItem(field, 2));
      } else {
        pvtest::Retype(field, L"2");
      }
    }
    ASSERT_TRUE(pw::ClickButton(page.Item(c.button)));
    // The field that points at the button holds the focus as the page goes.
    ASSERT_TRUE(pw::FocusControl(field));
    const size_t requests = RequestCount();
    page.Release();  // no Deactivate, no Destroy
    EXPECT_FALSE(IsWindow(field));
    EXPECT_EQ(pw::LiveWindowCount(), windows);
    Pump(2000);
    EXPECT_EQ(RequestCount(), requests) << "no service runs for a page that is gone";
  }
}

// ---- The totalizers' unit lists while the user's choice is unsaved, and beyond the known units

TEST_F(Totalizers, AnUnsavedVariableKeepsItsFamilysListWhenTheHostRefreshesThePage) {
  // Every totalizer on volume flow (position 0) in m3.
  for (const Totalizer& t : kTotalizers) {
    StorePosition(t.assignMember, 0);
    ASSERT_TRUE(Tag()->SetInteger(t.unitMember, 8));
  }
  OnlinePage page = Open(kTotalizerClsid);
  for (const Totalizer& t : kTotalizers) {
    SCOPED_TRACE(testing::Message() << "totalizer " << t.assign);
    Choose(page, t.assign, 7);  // a mass variable, not saved; its default unit lb written at once
    for (const char* event : {"data changed", "refresh"}) {
      SCOPED_TRACE(event);
      EXPECT_HR(S_OK, std::string(event) == "refresh" ? page.child->Refresh() : page.events->DataChanged());
      EXPECT_EQ(ComboSelection(page.Item(t.assign)), 7) << "the user's choice is kept";
      ExpectUnitsOf(page, t, 7, 4);
    }
    Choose(page, t.unit, 2);
    EXPECT_EQ(online::Text(page.Item(t.presetUnit)), L"t");
  }
  const size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  std::vector<hostsim::ConfigurationTag::Write> expected;
  for (const Totalizer& t : kTotalizers) {
    expected.push_back({t.assignMember, VT_I4, std::to_wstring(Member(t.assignMember).entries[7].code)});
    expected.push_back({t.unitMember, VT_I4, L"2"});
  }
  EXPECT_EQ(WritesSince(before), pvtest::DescribeWrites(expected)) << "a mass variable with a mass unit";
  Close(page);
}

TEST_F(Totalizers, ARevertedVariableListsTheStoredFamilyAgainAfterTheHostRefreshedThePage) {
  for (const Totalizer& t : kTotalizers) {
    StorePosition(t.assignMember, 0);
    ASSERT_TRUE(Tag()->SetInteger(t.unitMember, 8));
  }
  OnlinePage page = Open(kTotalizerClsid);
  for (const Totalizer& t : kTotalizers) Choose(page, t.assign, 7);
  EXPECT_HR(S_OK, page.events->DataChanged());
  // The host takes the changes back and restores the unit it had.
  for (const Totalizer& t : kTotalizers) ASSERT_TRUE(Tag()->SetInteger(t.unitMember, 8));
  EXPECT_HR(S_OK, page.events->Reverted());
  for (const Totalizer& t : kTotalizers) {
    SCOPED_TRACE(testing::Message() << "totalizer " << t.assign);
    EXPECT_EQ(ComboSelection(page.Item(t.assign)), 0);
    ExpectUnitsOf(page, t, 0, 8);
  }
  Close(page);
}

TEST_F(Totalizers, AVariableOfNoFamilyListsEveryTextOfTheUnitsHoweverManyThereAre) {
  // The module's totalizer units with a 37th entry.
  std::string error;
  std::optional<hostsim::ModuleDefinition> definition =
      hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  ASSERT_TRUE(definition.has_value()) << error;
  for (hostsim::TagDefinition& tag : definition->tags)
    for (hostsim::MemberDefinition& member : tag.members)
      for (const Totalizer& t : kTotalizers)
        if (member.name == t.unitMember) {
          member.entries.push_back({36, L"Added unit"});
          member.maximum.integer = 36;
        }
  m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create(*definition));
  m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
  m_parent->vexil.mode = 1;
  for (const Totalizer& t : kTotalizers) StorePosition(t.assignMember, 16);  // "Off"
  OnlinePage page = Open(kTotalizerClsid);
  for (const Totalizer& t : kTotalizers) {
    SCOPED_TRACE(testing::Message() << "totalizer " << t.assign);
    const Lines entries = EntriesOf(page.Item(t.unit));
    EXPECT_EQ(entries, Texts(t.unitMember, 0, 36));
    Choose(page, t.unit, 36);
    EXPECT_EQ(online::Text(page.Item(t.presetUnit)), L"??") << "no unit text of its own";
  }
  const size_t before = Tag()->Writes().size();
  EXPECT_HR(S_OK, page.child->Save());
  std::vector<hostsim::ConfigurationTag::Write> expected;
  for (const Totalizer& t : kTotalizers) expected.push_back({t.unitMember, VT_I4, L"36"});
  EXPECT_EQ(WritesSince(before), pvtest::DescribeWrites(expected));
  Close(page);
}

// ---- Released by the host from inside a device service's message box

TEST_F(ReleasedWhileShown, APageReleasedWhileItsServiceShowsAMessageGoesWhenTheServiceHasReturned) {
  struct Case {
    const char* page;
    const wchar_t* clsid;
    int button;
  } cases[] = {{"viscosity", kViscosityClsid, kWrite},
               {"totalizers", kTotalizerClsid, kTotalizers[1].setControl}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.page);
    m_boxes.clear();
    // The reference temperature below the Kelvin range, or a totalizer write the device refuses:
    // each shows its message.
    ASSERT_TRUE(Tag()->SetInteger(L"System_units_Temperature_unit", 4610));
    Device().Fail({0, L"SetAttributeSingleTotalizer", E_FAIL, L"Not written.", true});
    const size_t windows = pw::LiveWindowCount();
    OnlinePage page = Open(c.clsid);
    if (c.button == kWrite) {
      pvtest::Retype(page.Item(kReferenceTemperature), L"-1");
    } else {
      ASSERT_TRUE(pw::SelectComboItem(page.Item(kTotalizers[1].control), 4));
    }
    HWND button = page.Item(c.button);
    ASSERT_TRUE(IsWindowEnabled(button));
    bool stillThere = false;
    m_duringBox = [&](HWND) {
      EXPECT_HR(static_cast<HRESULT>(0x80040200), page.child->OnDeactivate())
          << "the host is told the page is busy";
      page.Release();  // and releases it anyway
      stillThere = IsWindow(button) != FALSE;
    };
    ASSERT_TRUE(pw::ClickButton(button));
    Pump(300);
    m_duringBox = nullptr;
    ASSERT_EQ(m_boxes.size(), 1u);
    EXPECT_TRUE(stillThere) << "the page stays while its service runs";
    EXPECT_FALSE(IsWindow(button)) << "and goes when it has returned";
    EXPECT_EQ(pw::LiveWindowCount(), windows);
    EXPECT_EQ(Manager().unlockCalls, Manager().lockCalls);
    Pump(2000);
  }
}

// ---- A module that refuses the link services or the device information

class Unlinked : public CorvaneOnline {
 protected:
  // The page opened and activated as the host does it; its Init answers as expected (without
  // the tag adapter that a failed Init leaves, the configuration controls fail to activate).
  OnlinePage OpenUnlinked(const wchar_t* clsid, HRESULT init) {
    OnlinePage page = OpenPage<OnlinePage>(pvtest::ClsidFromText(clsid), false, false);
    EXPECT_HR(init, page.child->Init(m_parent->GetUnknown()));
    EXPECT_HR(S_OK, page.panel->Create(m_window.get()));
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    page.child->PreInitialActivate();
    page.child->OnActivate();
    return page;
  }
};

TEST_F(Unlinked, AnOnlineButtonOrFieldWhoseModuleLinkFailedStaysDisabledAndSendsNothing) {
  struct Refusal {
    const char* what;
    bool linkManager;  // refused: the link manager, else IDeviceInfo2
  } refusals[] = {{"no link manager", true}, {"no device information", false}};
  struct Case {
    const char* page;
    const wchar_t* clsid;
    std::vector<int> fields;  // the fields that arm the buttons, in the buttons' order
    std::vector<int> buttons;
    bool needsDeviceInformation;  // the buttons check the module's identity
  } cases[] = {
      {"totalizers",
       kTotalizerClsid,
       {kTotalizers[0].control, kTotalizers[1].control, kTotalizers[2].control},
       {kTotalizers[0].setControl, kTotalizers[1].setControl, kTotalizers[2].setControl},
       true},
      {"viscosity", kViscosityClsid, {kCoefficient1}, {kWrite}, true},
      {"second system page", kSystem2Clsid, {}, {9197}, false},
  };
  for (const Refusal& refusal : refusals) {
    for (const Case& c : cases) {
      SCOPED_TRACE(testing::Message() << c.page << ", " << refusal.what);
      m_module->link.answersLinkManager = !refusal.linkManager;
      m_module->identity.answersIdentity = refusal.linkManager;
      const bool linked = !refusal.linkManager && !c.needsDeviceInformation;
      OnlinePage page = OpenUnlinked(c.clsid, linked ? S_OK : E_FAIL);
      Pump(300);
      Device().requests.clear();
      for (size_t i = 0; i < c.buttons.size(); ++i) {
        SCOPED_TRACE(c.buttons[i]);
        if (i < c.fields.size()) {
          HWND field = page.Item(c.fields[i]);
          EXPECT_EQ(IsWindowEnabled(field) != FALSE, !refusal.linkManager)
              << "a field without the link manager";
          // The user's change, where the field takes one.
          if (IsWindowEnabled(field) && c.fields[i] == kCoefficient1) {
            pvtest::Retype(field, L"2");
          } else if (IsWindowEnabled(field)) {
            pw::SelectComboItem(field, 4);
          }
        }
        HWND button = page.Item(c.buttons[i]);
        EXPECT_EQ(IsWindowEnabled(button) != FALSE, linked);
        pw::ClickButton(button);
        Pump(2000);
        EXPECT_EQ(IsWindowEnabled(button) != FALSE, linked);
      }
      EXPECT_EQ(Device().requests.empty(), !linked) << "only a linked button reaches the device";
      EXPECT_TRUE(m_boxes.empty());
      Close(page);
    }
  }
}

}  // namespace
