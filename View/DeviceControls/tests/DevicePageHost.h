// Test support for the device controls' page tests: the device test pages DLL installed in a
// folder of its own and registered, the simulated host around it, and the page opened through
// the door a host uses (CoCreateInstance, Init, Create, activation). The module is the
// built-in Coriolis definition with the members this page binds given the entries the tests
// need.
#pragma once

#include <ModuleDefinition.h>

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "PageHost.h"
#include "UnitCaptionTables.h"
#include "fixtures/DevicePages/DevicePages.h"
#include "fixtures/DevicePages/resource.h"

_COM_SMARTPTR_TYPEDEF(IDeviceTestPage, __uuidof(IDeviceTestPage));

namespace devicepage {

using pvtest::ComboSelection;
using pvtest::EntriesOf;
using pvtest::Lines;
using pvtest::Narrow;
using pvtest::Retype;
using pvtest::TakeLog;

// The member of the definition, replaced by this one (or added).
inline void PutMember(hostsim::TagDefinition& tag, hostsim::MemberDefinition member) {
  for (hostsim::MemberDefinition& existing : tag.members)
    if (existing.name == member.name) {
      existing = std::move(member);
      return;
    }
  tag.members.push_back(std::move(member));
}

inline hostsim::MemberDefinition Enumeration(const wchar_t* name,
                                             std::vector<std::pair<LONG, std::wstring>> entries,
                                             size_t defaultEntry = 0) {
  hostsim::MemberDefinition member;
  member.name = name;
  member.type = hostsim::MemberType::kEnumeration;
  for (auto& [code, text] : entries) member.entries.push_back({code, text});
  member.defaultValue.integer = member.entries[defaultEntry].code;
  member.minimum.integer = member.maximum.integer = member.entries[0].code;
  for (const hostsim::EnumerationEntry& entry : member.entries) {
    member.minimum.integer = std::min<LONGLONG>(member.minimum.integer, entry.code);
    member.maximum.integer = std::max<LONGLONG>(member.maximum.integer, entry.code);
  }
  return member;
}

// An enumeration of count entries with the codes first, first + 1, ... and the texts given
// (or "<prefix> n").
inline hostsim::MemberDefinition Numbered(const wchar_t* name, LONG first, int count, const wchar_t* prefix) {
  std::vector<std::pair<LONG, std::wstring>> entries;
  for (int i = 0; i < count; ++i)
    entries.push_back({first + i, std::wstring(prefix) + L" " + std::to_wstring(i)});
  return Enumeration(name, std::move(entries));
}

inline hostsim::MemberDefinition Real(const wchar_t* name, float defaultValue = 0.0f) {
  hostsim::MemberDefinition member;
  member.name = name;
  member.type = hostsim::MemberType::kReal;
  member.defaultValue.real = defaultValue;
  member.minimum.real = -3.4e38f;
  member.maximum.real = 3.4e38f;
  return member;
}

// The codes of the totalizer unit member's entries: 1000 plus the unit index, so that a code
// written is told apart from an index.
inline constexpr LONG kTotalizerUnitCodeBase = 1000;
// The built-in Coriolis definition as it is.
inline hostsim::ModuleDefinition BuiltInDefinition() {
  std::string error;
  auto definition = hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  EXPECT_TRUE(definition.has_value()) << error;
  return definition ? *definition : hostsim::ModuleDefinition{};
}

// The totalizer unit texts by index, as the built-in totalizer unit member lists them.
inline const std::vector<std::wstring>& TotalizerUnitTexts() {
  static const std::vector<std::wstring> texts = [] {
    std::vector<std::wstring> found;
    const hostsim::ModuleDefinition definition = BuiltInDefinition();
    if (const hostsim::TagDefinition* tag = definition.FindTag(hostsim::TagKind::kStandard))
      if (const hostsim::MemberDefinition* member = tag->Find(kTotalizerUnitMember))
        for (const hostsim::EnumerationEntry& entry : member->entries) found.push_back(entry.text);
    EXPECT_EQ(found.size(), 36u) << "the built-in totalizer unit texts";
    return found;
  }();
  return texts;
}

// The built-in Coriolis definition, with the members of the device page given entries that
// name codes in and out of the unit tables.
inline hostsim::ModuleDefinition DeviceDefinition() {
  std::optional<hostsim::ModuleDefinition> definition = BuiltInDefinition();
  hostsim::TagDefinition* tag = nullptr;
  for (hostsim::TagDefinition& candidate : definition->tags)
    if (candidate.kind == hostsim::TagKind::kStandard) tag = &candidate;
  PutMember(*tag, Enumeration(kLowFlowAssignMember, {{0, L"Off"},
                                                     {1, L"Mass flow"},
                                                     {2, L"Volume flow"},
                                                     {3, L"Corrected volume flow"},
                                                     {4, L"Target mass flow"}}));
  PutMember(*tag, Real(kLowFlowOnValueMember));
  PutMember(*tag, Enumeration(kMassFlowUnitMember, {{5124, L"kg/s"}, {5136, L"kg/h"}, {9999, L"free"}}));
  PutMember(*tag, Enumeration(kVolumeFlowUnitMember, {{5170, L"m3/h"}, {5126, L"l/s"}, {9999, L"free"}}));
  PutMember(*tag, Enumeration(kCorrectedVolumeFlowUnitMember,
                              {{5201, L"Nm3/h"}, {5214, L"Sm3/h"}, {9999, L"free"}}));
  PutMember(*tag,
            Enumeration(kPartiallyAssignMember,
                        {{0, L"Off"}, {1, L"Density"}, {2, L"Reference density"}, {3, L"Target density"}}));
  PutMember(*tag, Enumeration(kDensityUnitMember,
                              {{12039, L"kg/m3"}, {12288, L"API"}, {2204, L"SD 4C"}, {12059, L"lb/bbl"}}));
  PutMember(*tag, Enumeration(kReferenceDensityUnitMember,
                              {{12054, L"kg/Nm3"}, {2328, L"APIbase"}, {9999, L"free"}}));
  PutMember(*tag, Enumeration(kMediumMember, {{0, L"Liquid"}, {1, L"Gas"}, {2, L"Steam"}}));
  PutMember(*tag, Numbered(kGasTypeMember, 0, 24, L"Gas"));
  PutMember(*tag, Real(kSoundVelocityMember, 340.0f));
  PutMember(*tag, Numbered(kTotalizerAssignMember, 100, 21, L"Variable"));
  std::vector<std::pair<LONG, std::wstring>> units;
  for (size_t i = 0; i < TotalizerUnitTexts().size(); ++i)
    units.push_back({kTotalizerUnitCodeBase + static_cast<LONG>(i), TotalizerUnitTexts()[i]});
  PutMember(*tag, Enumeration(kTotalizerUnitMember, std::move(units), 18));
  PutMember(*tag, Real(kDeviceFloatMember));
  PutMember(*tag, Enumeration(kNotifyingComboMember,
                              {{0, L"Stop"}, {1, L"Actual value"}, {2, L"Last valid value"}}, 1));
  return *definition;
}

// The page as the host holds it, with the fixture page's test interface.
struct DevicePage : pvtest::HostedPageOf<IDeviceTestPagePtr> {
  std::wstring Text(int id) const { return platform::windows::TextOf(Item(id)); }
  bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
};

// The totalizer unit texts from first to last.
inline Lines UnitTexts(int first, int last) {
  return Lines(TotalizerUnitTexts().begin() + first, TotalizerUnitTexts().begin() + last + 1);
}

// The units a totalizer lists for the process variable at the selector's position, the unit
// it selects and writes when that variable is chosen.
struct TotalizerFamily {
  int selector;
  int firstUnit;
  int lastUnit;
  int defaultUnit;
};

class DevicePageHost : public pvtest::PageHost {
 protected:
  // dll: the device test pages built with one meter's unit data (the Coriolis meter's by
  // default).
  explicit DevicePageHost(const std::string& dll = "DeviceTestPages.dll")
      : PageHost(dll, "DevicePagesLivePages") {}

  void SetUp() override {
    PageHost::SetUp();
    UseModule(DeviceDefinition());
  }
  void TearDown() override {
    PageHost::TearDown();
    ExpectNoWindowLeft();
  }

  // The host over a module of this definition.
  void UseModule(const hostsim::ModuleDefinition& definition) {
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create(definition));
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
  }

  // The page opened, shown and activated as the host does it.
  DevicePage OpenActive(const wchar_t* clsid = kDevicePageClsid) {
    DevicePage page = OpenPage<DevicePage>(pvtest::ClsidFromText(clsid), true, true);
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    page.child->OnActivate();
    return page;
  }

  // Choosing each family's process variable (from the variable at otherSelector first, so
  // that every change is one of family) lists the family's units, selects its default, writes
  // it at once and shows it as the preset's unit.
  void ExpectTotalizerFamilies(const std::vector<TotalizerFamily>& families, int otherSelector) {
    DevicePage page = OpenActive();
    HWND assign = page.Item(IDC_TOTALIZER_ASSIGN), units = page.Item(IDC_TOTALIZER_UNIT);
    for (const TotalizerFamily& family : families) {
      SCOPED_TRACE(testing::Message() << "process variable " << family.selector);
      ASSERT_TRUE(
          platform::windows::SelectComboItem(assign, family.selector == otherSelector ? 0 : otherSelector));
      ASSERT_TRUE(platform::windows::SelectComboItem(assign, family.selector));
      EXPECT_EQ(EntriesOf(units), UnitTexts(family.firstUnit, family.lastUnit));
      EXPECT_EQ(ComboSelection(units), family.defaultUnit - family.firstUnit);
      EXPECT_EQ(Stored(kTotalizerUnitMember), kTotalizerUnitCodeBase + family.defaultUnit);
      EXPECT_EQ(page.Text(IDC_TOTALIZER_PRESET_UNIT), captiontables::kTotalizerUnitTexts[family.defaultUnit]);
    }
    page.Release();
  }

  // Every row of the five caption tables, each code stored in its unit member and the caption
  // shown at the master's position that names the member: the flow units by the totalizer's
  // process variable (volume 1, mass 2, corrected volume 3), the densities by the partially
  // filled pipe's detection (density 1, reference density 2). densityChanges: the density
  // captions this meter words differently. A code in no row shows one blank.
  void ExpectEveryCaptionRow(const std::vector<captiontables::Caption>& densityChanges) {
    using captiontables::Caption;
    std::vector<Caption> density = captiontables::kDensityCaptions;
    for (Caption& row : density)
      for (const Caption& change : densityChanges)
        if (row.code == change.code) row.text = change.text;
    struct Role {
      int master;
      int position;
      const wchar_t* member;
      const std::vector<Caption>& table;
      int caption;
    };
    const Role roles[] = {
        {IDC_TOTALIZER_ASSIGN, 1, kVolumeFlowUnitMember, captiontables::kVolumeFlowCaptions,
         IDC_TOTALIZER_FLOW_UNIT},
        {IDC_TOTALIZER_ASSIGN, 2, kMassFlowUnitMember, captiontables::kMassFlowCaptions,
         IDC_TOTALIZER_FLOW_UNIT},
        {IDC_TOTALIZER_ASSIGN, 3, kCorrectedVolumeFlowUnitMember, captiontables::kCorrectedVolumeFlowCaptions,
         IDC_TOTALIZER_FLOW_UNIT},
        {IDC_PARTIALLY_ASSIGN, 1, kDensityUnitMember, density, IDC_PARTIALLY_LOW_UNIT},
        {IDC_PARTIALLY_ASSIGN, 2, kReferenceDensityUnitMember, captiontables::kReferenceDensityCaptions,
         IDC_PARTIALLY_LOW_UNIT},
    };
    // Each unit member offers the codes of its table and one code of none.
    constexpr LONG kNoRow = 1;
    hostsim::ModuleDefinition definition = DeviceDefinition();
    for (const Role& role : roles) {
      std::vector<std::pair<LONG, std::wstring>> entries;
      for (const Caption& row : role.table) entries.push_back({row.code, row.text});
      entries.push_back({kNoRow, L"none"});
      PutMember(definition.tags[0], Enumeration(role.member, std::move(entries)));
    }
    UseModule(definition);
    DevicePage page = OpenActive();
    for (const Role& role : roles) {
      std::vector<Caption> rows = role.table;
      rows.push_back({kNoRow, L" "});
      for (const Caption& row : rows) {
        SCOPED_TRACE(testing::Message() << Narrow(role.member) << " " << row.code);
        Store(role.member, row.code);
        ASSERT_TRUE(platform::windows::SelectComboItem(page.Item(role.master), 0));
        ASSERT_TRUE(platform::windows::SelectComboItem(page.Item(role.master), role.position));
        EXPECT_EQ(Narrow(page.Text(role.caption)), Narrow(row.text));
      }
    }
    page.Release();
  }

  // The preset caption at every position of each family's list: the totalizer unit text of
  // the position plus the family's offset.
  void ExpectEveryPresetCaption(const std::vector<TotalizerFamily>& families) {
    DevicePage page = OpenActive();
    HWND units = page.Item(IDC_TOTALIZER_UNIT);
    for (const TotalizerFamily& family : families) {
      ASSERT_TRUE(platform::windows::SelectComboItem(page.Item(IDC_TOTALIZER_ASSIGN), family.selector));
      for (int unit = family.firstUnit; unit <= family.lastUnit; ++unit) {
        SCOPED_TRACE(testing::Message() << "process variable " << family.selector << " unit " << unit);
        ASSERT_TRUE(platform::windows::SelectComboItem(units, unit - family.firstUnit));
        EXPECT_EQ(Narrow(page.Text(IDC_TOTALIZER_PRESET_UNIT)),
                  Narrow(captiontables::kTotalizerUnitTexts[static_cast<size_t>(unit)]));
      }
    }
    page.Release();
  }

  hostsim::ConfigurationTag* Tag() const { return m_module->StandardTag(); }
  LONG Stored(const wchar_t* member) const {
    hostsim::MemberValue value;
    EXPECT_TRUE(Tag()->GetValue(member, &value)) << Narrow(member);
    return static_cast<LONG>(value.integer);
  }
  void Store(const wchar_t* member, LONGLONG value) const {
    ASSERT_TRUE(Tag()->SetInteger(member, value)) << Narrow(member) << " " << value;
  }
};

}  // namespace devicepage
