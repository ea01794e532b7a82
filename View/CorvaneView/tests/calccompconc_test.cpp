// The correction (CALC), compensation (COMP) and concentration (CONC) pages through the host's
// door, built from the pages' tables: every dependent edit's enable state at every position of
// its master, the unit names of the captions, and what typing and saving reach the tag.
#include <ModuleDefinition.h>
#include <platform/testing_windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "CorvaneViewHost.h"

namespace {

namespace win = platform::windows;
using corvaneview::CataloguePage;
using corvaneview::kCatalogue;
using corvaneview::Page;
using pvtest::ComboSelection;
using pvtest::Lines;
using pvtest::Narrow;
using pvtest::Retype;
using pvtest::TakeLog;

// A dependent edit of a page's table: id, master and range, member, text limit, sign flags
// and decimals.
struct Edit {
  int id;
  int master;
  int low;
  int high;
  const wchar_t* member;
  int textLimit;
  int signFlags;
  int decimals;
};
// A unit caption of a page's table.
struct Caption {
  int id;
  const wchar_t* member;
};
// A page's table: its catalogue row, its combo boxes with their members, edits and captions,
// and its focus control.
struct PageTable {
  const CataloguePage& page;
  std::vector<std::pair<int, const wchar_t*>> combos;
  std::vector<Edit> edits;
  std::vector<Caption> captions;
  int focus;
};

const PageTable& Calc() {
  static const PageTable table{
      kCatalogue[0],
      {{9061, L"Corr_volflow_Corr_volflow"}},
      {{9175, 9061, 0, 0, L"Corr_volflow_Fix_refdensity", 8, 1, 1},
       {9179, 9061, 1, 1, L"Corr_volflow_Linear_exp_coeff", 8, 1, 1},
       {9182, 9061, 1, 1, L"Corr_volflow_Square_exp_coeff", 8, 1, 1},
       {9060, 9061, 1, 1, L"Corr_volflow_Ref_temperature", 9, 3, 2}},
      {{9194, L"System_units_Temperature_unit"}, {9195, L"System_units_Reference_density_unit"}},
      9061};
  return table;
}

const PageTable& Comp() {
  static const PageTable table{
      kCatalogue[2],
      {{9066, L"External_comp_Pressure_compen"}, {9064, L"External_comp_Tempcorrsource"}},
      {{9062, 9066, 1, 1, L"External_compensation_Pressure_value", 23, 1, 5}},
      {{9026, L"System_units_Pressure_unit"}},
      9066};
  return table;
}

const PageTable& Conc() {
  static const PageTable table = [] {
    PageTable conc{kCatalogue[3], {{9200, L"Liquid_type"}}, {}, {}, 9200};
    const std::pair<int, const wchar_t*> coefficients[] = {
        {9394, L"Concentration_profile_1_A0"}, {9395, L"Concentration_profile_1_A1"},
        {9397, L"Concentration_profile_1_A2"}, {9399, L"Concentration_profile_1_A3"},
        {9337, L"Concentration_profile_1_A4"}, {9339, L"Concentration_profile_1_B1"},
        {9300, L"Concentration_profile_1_B2"}, {9301, L"Concentration_profile_1_B3"},
        {9303, L"Concentration_profile_1_D1"}, {9304, L"Concentration_profile_1_D2"},
        {9305, L"Concentration_profile_1_D3"}, {9302, L"Concentration_profile_1_D4"}};
    for (const auto& [id, member] : coefficients) conc.edits.push_back({id, 9200, 21, 21, member, 10, 3, 4});
    return conc;
  }();
  return table;
}

const PageTable* const kPages[] = {&Calc(), &Comp(), &Conc()};

hostsim::TagDefinition& StandardOf(hostsim::ModuleDefinition& definition) {
  for (hostsim::TagDefinition& tag : definition.tags)
    if (tag.kind == hostsim::TagKind::kStandard) return tag;
  return definition.tags.front();
}

hostsim::MemberDefinition& MemberOf(hostsim::ModuleDefinition& definition, const wchar_t* name) {
  for (hostsim::MemberDefinition& member : StandardOf(definition).members)
    if (member.name == name) return member;
  ADD_FAILURE() << "no member " << Narrow(name);
  return StandardOf(definition).members.front();
}

hostsim::ModuleDefinition BuiltIn() {
  std::string error;
  auto definition = hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  EXPECT_TRUE(definition.has_value()) << error;
  return definition ? *definition : hostsim::ModuleDefinition{};
}

using pvtest::IsReadOnly;

class CalcCompConc : public corvaneview::CorvaneViewHost {
 protected:
  Page OpenActive(const PageTable& table) {
    Page page = Open(table.page);
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    m_activated = page.child->OnActivate();
    return page;
  }
  int EntryCount(const wchar_t* member) const {
    const hostsim::MemberDefinition* definition = StandardTag()->Definition().Find(member);
    EXPECT_NE(definition, nullptr) << Narrow(member);
    return definition ? static_cast<int>(definition->entries.size()) : 0;
  }
  // Every edit of the table enabled exactly while its master's position is in its range.
  static void ExpectEnableStates(const Page& page, const PageTable& table, int position) {
    for (const Edit& edit : table.edits) {
      SCOPED_TRACE(Narrow(edit.member));
      EXPECT_EQ(IsWindowEnabled(page.Item(edit.id)) != FALSE, position >= edit.low && position <= edit.high);
      EXPECT_FALSE(IsReadOnly(page.Item(edit.id)));
    }
  }
  LONG Stored(const wchar_t* member) const {
    hostsim::MemberValue value;
    EXPECT_TRUE(StandardTag()->GetValue(member, &value)) << Narrow(member);
    return static_cast<LONG>(value.integer);
  }

  HRESULT m_activated = E_UNEXPECTED;
};

// ---------------------------------------------------------------------------------------------

TEST_F(CalcCompConc, EachPageBindsItsTableOverTheBuiltInModuleWithTheFocusOnItsSelector) {
  for (const PageTable* table : kPages) {
    SCOPED_TRACE(table->page.name);
    Page page = OpenActive(*table);
    EXPECT_HR(S_OK, m_activated);
    EXPECT_EQ(TakeLog(), Lines{});
    EXPECT_EQ(GetFocus(), page.Item(table->focus));
    for (const auto& [id, member] : table->combos)
      EXPECT_EQ(static_cast<int>(pvtest::EntriesOf(page.Item(id)).size()), EntryCount(member))
          << Narrow(member);
    EXPECT_HR(S_OK, page.panel->Destroy());
  }
}

TEST_F(CalcCompConc, EveryDependentEditIsEnabledExactlyWhileItsMastersPositionIsInItsRange) {
  for (const PageTable* table : kPages) {
    SCOPED_TRACE(table->page.name);
    Page page = OpenActive(*table);
    const auto& [masterId, masterMember] = table->combos.front();
    const int count = EntryCount(masterMember);
    for (int position = 0; position < count; ++position) {
      SCOPED_TRACE(testing::Message() << "position " << position);
      ASSERT_TRUE(win::SelectComboItem(page.Item(masterId), position));
      ExpectEnableStates(page, *table, position);
    }
    EXPECT_HR(S_OK, page.panel->Destroy());
  }
}

TEST_F(CalcCompConc, AMasterWithoutSelectionEnablesNoDependentEdit) {
  for (const PageTable* table : kPages) {
    SCOPED_TRACE(table->page.name);
    UseModule(BuiltIn());
    const auto& [masterId, masterMember] = table->combos.front();
    StandardTag()->FailOperation(masterMember, hostsim::TagOperation::kEnumRead, E_FAIL);
    Page page = OpenActive(*table);
    ASSERT_EQ(ComboSelection(page.Item(masterId)), -1);
    ExpectEnableStates(page, *table, -1);
    TakeLog();
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
  }
}

TEST_F(CalcCompConc, TheTemperatureSourceChangesNoEnableState) {
  Page page = OpenActive(Comp());
  for (int master : {0, 1}) {
    ASSERT_TRUE(win::SelectComboItem(page.Item(9066), master));
    for (int source = 0; source < EntryCount(L"External_comp_Tempcorrsource"); ++source) {
      SCOPED_TRACE(testing::Message()
                   << "pressure compensation " << master << " temperature source " << source);
      ASSERT_TRUE(win::SelectComboItem(page.Item(9064), source));
      ExpectEnableStates(page, Comp(), master);
    }
  }
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(CalcCompConc, ALiquidTypeListOfFewerThan22EntriesNeverEnablesTheCoefficients) {
  hostsim::ModuleDefinition definition = BuiltIn();
  std::vector<hostsim::EnumerationEntry>& entries = MemberOf(definition, L"Liquid_type").entries;
  ASSERT_GE(entries.size(), 22u);
  entries.resize(21);
  UseModule(definition);
  Page page = OpenActive(Conc());
  for (int position = 0; position < 21; ++position) {
    SCOPED_TRACE(testing::Message() << "position " << position);
    ASSERT_TRUE(win::SelectComboItem(page.Item(9200), position));
    ExpectEnableStates(page, Conc(), -1);
  }
  EXPECT_FALSE(win::SelectComboItem(page.Item(9200), 21));
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(CalcCompConc, ABoxOfAForcibleMemberGoesReadOnlyInsteadOfDisabled) {
  for (const PageTable* table : kPages) {
    SCOPED_TRACE(table->page.name);
    UseModule(BuiltIn());
    StandardTag()->SetSuffix(L"O");
    Page page = OpenActive(*table);
    const auto& [masterId, masterMember] = table->combos.front();
    for (int position : {0, 1, 21}) {
      if (position >= EntryCount(masterMember)) continue;
      SCOPED_TRACE(testing::Message() << "position " << position);
      ASSERT_TRUE(win::SelectComboItem(page.Item(masterId), position));
      for (const Edit& edit : table->edits) {
        SCOPED_TRACE(Narrow(edit.member));
        EXPECT_TRUE(IsWindowEnabled(page.Item(edit.id)));
        EXPECT_EQ(IsReadOnly(page.Item(edit.id)), position < edit.low || position > edit.high);
      }
    }
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
  }
}

// ---------------------------------------------------------------------------------------------
// Unit names

struct UnitName {
  LONG code;
  const wchar_t* name;
};

TEST_F(CalcCompConc, EachUnitNameFollowsTheStoredCode) {
  struct Case {
    const PageTable* table;
    Caption caption;
    std::vector<UnitName> names;
  };
  const Case cases[] = {
      {&Calc(),
       Calc().captions[0],
       {{4608, L"C (Celsius)"}, {4609, L"F (Fahrenheit)"}, {4610, L"K (Kelvin)"}, {4611, L"R (Rankine)"}}},
      {&Calc(),
       Calc().captions[1],
       {{12054, L"kg/Nm3"},
        {12055, L"kg/Nl"},
        {12052, L"g/Scm3"},
        {12056, L"kg/Sm3"},
        {12064, L"lb/Sft3"},
        {2328, L"APIbase"},
        {2329, L"RD15 C"},
        {2330, L"RD20 C"},
        {2331, L"RD60 F"}}},
      {&Comp(),
       Comp().captions[0],
       {{2165, L"Pa a"},
        {2116, L"kPa a"},
        {2137, L"MPa a"},
        {4871, L"bar"},
        {2166, L"Pa g"},
        {2117, L"kPa g"},
        {2138, L"MPa g"},
        {2053, L"bar g"},
        {2182, L"psi a"},
        {2183, L"psi g"}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(Narrow(c.caption.member));
    // One code no table lists, beside the device's.
    hostsim::ModuleDefinition definition = BuiltIn();
    MemberOf(definition, c.caption.member).entries.push_back({4612, L"other"});
    UseModule(definition);
    Page page = OpenActive(*c.table);
    for (const UnitName& unit : c.names) {
      SCOPED_TRACE(unit.code);
      ASSERT_TRUE(StandardTag()->SetInteger(c.caption.member, unit.code));
      EXPECT_HR(S_OK, page.events->DataChanged());
      EXPECT_EQ(win::TextOf(page.Item(c.caption.id)), unit.name);
    }
    ASSERT_TRUE(StandardTag()->SetInteger(c.caption.member, 4612));
    EXPECT_HR(S_OK, page.child->Refresh());
    EXPECT_EQ(win::TextOf(page.Item(c.caption.id)), L"??") << "a code no row lists";
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
  }
}

TEST_F(CalcCompConc, AnAbsentUnitMemberShowsUnknownAndItsReadFailureIsAnswered) {
  for (const PageTable* table : {&Calc(), &Comp()}) {
    for (const Caption& caption : table->captions) {
      SCOPED_TRACE(Narrow(caption.member));
      UseModule(BuiltIn());
      StandardTag()->RemoveMember(caption.member);
      Page page = OpenActive(*table);
      EXPECT_EQ(win::TextOf(page.Item(caption.id)), L"??");
      EXPECT_TRUE(FAILED(m_activated)) << "the activation answers the read's failure";
      EXPECT_TRUE(FAILED(page.child->Refresh()));
      TakeLog();
      EXPECT_HR(S_OK, page.panel->Destroy());
      page.Release();
    }
  }
}

// ---------------------------------------------------------------------------------------------
// Typing and saving

TEST_F(CalcCompConc, TypedValuesSaveWithTheirDecimalsAndSignRules) {
  for (const PageTable* table : kPages) {
    SCOPED_TRACE(table->page.name);
    Page page = OpenActive(*table);
    const auto& [masterId, masterMember] = table->combos.front();
    for (const Edit& edit : table->edits) {
      SCOPED_TRACE(Narrow(edit.member));
      ASSERT_TRUE(win::SelectComboItem(page.Item(masterId), edit.low));
      HWND box = page.Item(edit.id);
      EXPECT_EQ(SendMessageW(box, EM_GETLIMITTEXT, 0, 0), edit.textLimit);
      Retype(box, L"-1.23456789");
      const bool minus = (edit.signFlags & 2) != 0;
      const std::wstring typed = (minus ? L"-1.23456789" : L"1.23456789");
      EXPECT_EQ(win::TextOf(box), typed.substr(0, static_cast<size_t>(edit.textLimit)));
      EXPECT_HR(S_OK, page.child->Save());
      hostsim::MemberValue saved;
      ASSERT_TRUE(StandardTag()->GetValue(edit.member, &saved));
      // The digits kept, rounded by the first dropped one.
      double expected = std::stod(typed.substr(0, static_cast<size_t>(edit.textLimit)));
      double scale = 1;
      for (int i = 0; i < edit.decimals; ++i) scale *= 10;
      expected = (expected < 0 ? -1 : 1) *
                 static_cast<double>(static_cast<long long>(std::abs(expected) * scale + 0.5)) / scale;
      EXPECT_FLOAT_EQ(saved.real, static_cast<float>(expected));
    }
    EXPECT_HR(S_OK, page.panel->Destroy());
  }
}

TEST_F(CalcCompConc, AfterARevertOrADataChangeEnableStatesAndCaptionsMatchTheStoredValues) {
  struct Change {
    const char* name;
    bool revert;
  };
  for (const Change change : {Change{"revert", true}, Change{"data change", false}}) {
    SCOPED_TRACE(change.name);
    UseModule(BuiltIn());
    Page page = OpenActive(Calc());
    ASSERT_TRUE(win::SelectComboItem(page.Item(9061), 0));
    ExpectEnableStates(page, Calc(), 0);
    const std::vector<hostsim::EnumerationEntry>& entries =
        StandardTag()->Definition().Find(L"Corr_volflow_Corr_volflow")->entries;
    ASSERT_TRUE(StandardTag()->SetInteger(L"Corr_volflow_Corr_volflow", entries[1].code));
    ASSERT_TRUE(StandardTag()->SetInteger(L"System_units_Temperature_unit", 4611));
    if (change.revert) {
      EXPECT_HR(S_OK, page.events->Reverted());
    } else {
      // The choice was saved first; a data change does not overwrite a pending one.
      EXPECT_HR(S_OK, page.child->Save());
      ASSERT_TRUE(StandardTag()->SetInteger(L"Corr_volflow_Corr_volflow", entries[1].code));
      EXPECT_HR(S_OK, page.events->DataChanged());
    }
    EXPECT_EQ(ComboSelection(page.Item(9061)), 1);
    ExpectEnableStates(page, Calc(), 1);
    EXPECT_EQ(win::TextOf(page.Item(9194)), L"R (Rankine)");
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
  }
}

}  // namespace
