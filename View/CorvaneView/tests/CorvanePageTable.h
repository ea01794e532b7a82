// Test support for CorvaneView's configuration pages: a page's control table as data (dialog
// item id, control class, member, arguments), and a fixture that opens the catalogue page over
// the built-in Coriolis module and checks, row by row, what the table says: each item shows
// its own member and follows it, a user change on it writes exactly that member with its
// type, the edits keep their typing rules, the dependent controls follow their masters'
// positions, and the focus after opening is the table's focus control.
#pragma once

#include <HostServices.h>
#include <HostTexts.h>
#include <HostViewConnector.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cwchar>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CorvaneViewHost.h"

namespace corvanepages {

namespace win = platform::windows;
using pvtest::Choose;
using pvtest::Lines;
using pvtest::Narrow;

// The control classes the pages place.
enum class Ctrl {
  kComboBox,          // CPVCtrlConfigComboBox
  kDependComboBox,    // CPVCtrlConfigChkCmbBtnDependCheckBox
  kEditFloat,         // CPVCtrlConfigEditFloat
  kEditInteger,       // CPVCtrlConfigEditInteger
  kDependEdit,        // CPVCtrlConfigChkCmbBtnDependEditBox
  kTwoDependEdit,     // CPVCtrlConfigTwoCmbBtnDependEditBox
  kDependEditFloat3,  // CPVCtrlConfigDependEditFloat
  kUnitCaption,       // CPVCtrlCmbDependStatic
  kUnitName,          // CPVCtrlConfigStaticTextPages
};

inline bool IsCombo(Ctrl c) {
  return c == Ctrl::kComboBox || c == Ctrl::kDependComboBox;
}
inline bool IsEdit(Ctrl c) {
  return c == Ctrl::kEditFloat || c == Ctrl::kEditInteger || c == Ctrl::kDependEdit ||
         c == Ctrl::kTwoDependEdit || c == Ctrl::kDependEditFloat3;
}
// An edit of a DINT member (the others edit REAL members).
inline bool IsIntegerEdit(Ctrl c) {
  return c == Ctrl::kEditInteger;
}

// A master combo box and the inclusive range of its position within which a control is
// enabled; master 0: none.
struct Range {
  int master = 0;
  int low = 0;
  int high = 0;
};

// One row of a page's table. Edits: text limit, sign flags, decimals. Dependent controls: one
// or two ranges. Unit captions: their master (first.master) and five unit members.
struct Row {
  int id = 0;
  Ctrl ctrl = Ctrl::kComboBox;
  const wchar_t* member = nullptr;
  int textLimit = 0;
  int signFlags = 0;
  int decimals = 0;
  Range first{};
  Range second{};
  std::array<const wchar_t*, 5> units{};
};

struct PageTable {
  const char* name;  // the page class, as the catalogue names it
  int focus;         // the dialog item id of the focus control
  std::vector<Row> rows;
};

// The unit-name tables of the unit-name statics (code, name), and which item id shows which.
inline std::wstring UnitName(int itemId, int32_t code) {
  struct Name {
    int32_t code;
    const wchar_t* name;
  };
  static const std::vector<Name> pressure = {
      {2165, L"Pa a"},  {2116, L"kPa a"}, {2137, L"MPa a"}, {4871, L"bar"},   {2166, L"Pa g"},
      {2117, L"kPa g"}, {2138, L"MPa g"}, {2053, L"bar g"}, {2182, L"psi a"}, {2183, L"psi g"}};
  static const std::vector<Name> temperature = {
      {4608, L"C (Celsius)"}, {4609, L"F (Fahrenheit)"}, {4610, L"K (Kelvin)"}, {4611, L"R (Rankine)"}};
  static const std::vector<Name> densityWithoutApi = {
      {12039, L"kg/m3"},  {12048, L"kg/l"},        {12040, L"g/cm3"},
      {2323, L"SG60F"},   {12069, L"SG15C"},       {12070, L"SG20C"},
      {12044, L"lb/ft3"}, {12043, L"lb/gal (us)"}, {12063, L"lb/gal (imp)"}};
  static const std::vector<Name> density = [] {
    std::vector<Name> rows = {{12288, L"API"}};
    rows.insert(rows.end(), densityWithoutApi.begin(), densityWithoutApi.end());
    rows.push_back({12059, L"lb/bbl (us;oil)"});
    rows.push_back({12062, L"lb/bbl (imp;oil)"});
    return rows;
  }();
  const std::vector<Name>* table = nullptr;
  switch (itemId) {
    case 9026:
    case 9235:
      table = &pressure;
      break;
    case 9194:
    case 9236:
    case 9237:
    case 9240:
      table = &temperature;
      break;
    case 9238:
      table = &density;
      break;
    case 9244:
      table = &densityWithoutApi;
      break;
    default:
      break;
  }
  if (table)
    for (const Name& name : *table)
      if (name.code == code) return name.name;
  return L"??";
}

// The caption of a dependent unit caption with its master at the position: the unit member
// that position names (low flow: mass flow, volume flow, corrected volume flow at 1 to 3; any
// other master: density, reference density at 1 and 2), its stored code looked up in that
// unit's caption table; one blank for any other position, an empty member or a code the
// table lacks. The tables hold the codes the tests store.
inline std::wstring UnitCaptionText(int masterId, int position, const Row& row,
                                    const std::function<int32_t(const wchar_t*)>& storedCode) {
  static const std::vector<std::vector<std::pair<int32_t, const wchar_t*>>> tables = {
      {{5124, L"kg/s"}, {5136, L"kg/h"}, {5218, L"t/h"}},            // mass flow
      {{5170, L"m3/h"}, {5126, L"l/s"}, {5139, L"l/min"}},           // volume flow
      {{5201, L"Nm3/h"}, {5214, L"Sm3/h"}, {2217, L"Sgal/h (us)"}},  // corrected volume flow
      {{12039, L"kg/m3"}, {2088, L"g/m3"}, {2109, L"kg/dm3"}},       // density
      {{12054, L"kg/Nm3"}, {2329, L"RD15 C"}, {2328, L"APIbase"}},   // reference density
  };
  int unit = -1;
  if (masterId == 9058 && position >= 1 && position <= 3) unit = position - 1;
  if (masterId != 9058 && position >= 1 && position <= 2) unit = position + 2;
  if (unit < 0 || !row.units[static_cast<size_t>(unit)]) return L" ";
  const int32_t code = storedCode(row.units[static_cast<size_t>(unit)]);
  for (const auto& [tableCode, caption] : tables[static_cast<size_t>(unit)])
    if (tableCode == code) return caption;
  return L" ";
}

inline std::wstring FormatReal(double value, int decimals) {
  wchar_t text[64];
  swprintf(text, 64, L"%.*f", decimals, value);
  return text;
}

using pvtest::IsReadOnly;

// The input-error code of an empty text.
inline constexpr HRESULT kEmptyText = static_cast<HRESULT>(0x80040214);

class CorvanePageTest : public corvaneview::CorvaneViewHost {
 protected:
  void TearDown() override {
    win::ReleaseAllKeys();
    CorvaneViewHost::TearDown();
  }

  // The page opened, shown and activated as the host does it.
  corvaneview::Page OpenActive(const PageTable& table) {
    corvaneview::Page page = Open(CatalogueEntry(table));
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    EXPECT_HR(S_OK, page.child->OnActivate());
    return page;
  }
  static const corvaneview::CataloguePage& CatalogueEntry(const PageTable& table) {
    for (const corvaneview::CataloguePage& entry : corvaneview::kCatalogue)
      if (std::string(entry.name) == table.name) return entry;
    ADD_FAILURE() << table.name << " is not in the catalogue";
    return corvaneview::kCatalogue[0];
  }

  // ---- The tag

  const hostsim::MemberDefinition& Member(const wchar_t* member) const {
    const hostsim::MemberDefinition* definition = StandardTag()->Definition().Find(member);
    if (!definition) {
      ADD_FAILURE() << Narrow(member) << " is not a member of the module";
      static const hostsim::MemberDefinition none;
      return none;
    }
    return *definition;
  }
  int EntryCount(const wchar_t* member) const { return static_cast<int>(Member(member).entries.size()); }
  int32_t StoredCode(const wchar_t* member) const {
    hostsim::MemberValue value;
    EXPECT_TRUE(StandardTag()->GetValue(member, &value)) << Narrow(member);
    return static_cast<int32_t>(value.integer);
  }
  int StoredPosition(const wchar_t* member) const {
    const int32_t code = StoredCode(member);
    const auto& entries = Member(member).entries;
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].code == code) return static_cast<int>(i);
    return -1;
  }
  int DefaultPosition(const wchar_t* member) const {
    const hostsim::MemberDefinition& definition = Member(member);
    for (size_t i = 0; i < definition.entries.size(); ++i)
      if (definition.entries[i].code == definition.defaultValue.integer) return static_cast<int>(i);
    return 0;
  }
  void StorePosition(const wchar_t* member, int position) const {
    const auto& entries = Member(member).entries;
    ASSERT_LT(static_cast<size_t>(position), entries.size()) << Narrow(member);
    ASSERT_TRUE(StandardTag()->SetInteger(member, entries[static_cast<size_t>(position)].code));
  }
  float StoredReal(const wchar_t* member) const {
    hostsim::MemberValue value;
    EXPECT_TRUE(StandardTag()->GetValue(member, &value)) << Narrow(member);
    return value.real;
  }
  void StoreReal(const wchar_t* member, float value) const {
    ASSERT_TRUE(StandardTag()->SetReal(member, value)) << Narrow(member);
  }
  void StoreInteger(const wchar_t* member, int32_t value) const {
    ASSERT_TRUE(StandardTag()->SetInteger(member, value)) << Narrow(member);
  }
  std::string WritesSince(size_t count) const {
    const auto& writes = StandardTag()->Writes();
    return pvtest::DescribeWrites(std::vector<hostsim::ConfigurationTag::Write>(
        writes.begin() + static_cast<std::ptrdiff_t>(count), writes.end()));
  }
  static std::string WriteOf(const wchar_t* member, VARTYPE vt, const std::wstring& value) {
    return Narrow(member) + " vt " + std::to_string(vt) + " = " + Narrow(value) + "; ";
  }

  // ---- The table

  // The positions and values the rows are given before opening: each master at a position
  // that enables every control that follows it, every other member away from its default
  // (real members each at a value of its own).
  void StoreTableValues(const PageTable& table) const {
    for (size_t i = 0; i < table.rows.size(); ++i) {
      const Row& row = table.rows[i];
      if (IsCombo(row.ctrl) || row.ctrl == Ctrl::kUnitName) {
        const std::vector<int> enabling = EnablingPositions(table, row.id);
        const int byDefault = DefaultPosition(row.member);
        int position = (byDefault + 1) % EntryCount(row.member);
        for (int candidate : enabling)
          if (candidate != byDefault) {
            position = candidate;
            break;
          }
        if (!enabling.empty() && std::find(enabling.begin(), enabling.end(), position) == enabling.end())
          position = enabling[0];
        StorePosition(row.member, position);
      } else if (IsIntegerEdit(row.ctrl)) {
        StoreInteger(row.member, static_cast<int32_t>(i) + 11);
      } else if (IsEdit(row.ctrl)) {
        StoreReal(row.member, static_cast<float>(i) + 1.5f);
      }
    }
  }

  // Every row's item shows its member's stored value; combo boxes list its texts.
  void ExpectShowsTheTag(const corvaneview::Page& page, const PageTable& table) const {
    for (const Row& row : table.rows) {
      SCOPED_TRACE(testing::Message() << "item " << row.id);
      HWND item = page.Item(row.id);
      ASSERT_NE(item, nullptr);
      if (IsCombo(row.ctrl)) {
        EXPECT_EQ(pvtest::ComboSelection(item), StoredPosition(row.member)) << Narrow(row.member);
        Lines texts;
        for (const hostsim::EnumerationEntry& entry : Member(row.member).entries) texts.push_back(entry.text);
        EXPECT_EQ(pvtest::EntriesOf(item), texts) << Narrow(row.member);
      } else if (IsIntegerEdit(row.ctrl)) {
        EXPECT_EQ(Narrow(win::TextOf(item)), std::to_string(StoredCode(row.member))) << Narrow(row.member);
      } else if (IsEdit(row.ctrl)) {
        EXPECT_EQ(Narrow(win::TextOf(item)), Narrow(FormatReal(StoredReal(row.member), row.decimals)))
            << Narrow(row.member);
      } else if (row.ctrl == Ctrl::kUnitName) {
        EXPECT_EQ(Narrow(win::TextOf(item)), Narrow(UnitName(row.id, StoredCode(row.member))))
            << Narrow(row.member);
      } else {
        const int position = pvtest::ComboSelection(page.Item(row.first.master));
        EXPECT_EQ(Narrow(win::TextOf(item)),
                  Narrow(UnitCaptionText(row.first.master, position, row,
                                         [this](const wchar_t* member) { return StoredCode(member); })));
      }
    }
  }

  // Every dependent row is enabled exactly while each master's current position lies in its
  // range. With a tag whose members can be forced, a dependent edit stays enabled and is
  // read-only instead.
  static void ExpectEnableStates(const corvaneview::Page& page, const PageTable& table, bool forceable) {
    for (const Row& row : table.rows) {
      if (!row.first.master || row.ctrl == Ctrl::kUnitCaption) continue;
      bool allowed = true;
      for (const Range& range : {row.first, row.second}) {
        if (!range.master) continue;
        const int position = pvtest::ComboSelection(page.Item(range.master));
        allowed = allowed && position >= range.low && position <= range.high;
      }
      HWND item = page.Item(row.id);
      const bool readOnlyInstead = forceable && IsEdit(row.ctrl);
      EXPECT_EQ(IsWindowEnabled(item) != FALSE, allowed || readOnlyInstead) << "item " << row.id;
      if (IsEdit(row.ctrl)) {
        EXPECT_EQ(IsReadOnly(item), readOnlyInstead && !allowed) << "item " << row.id;
      }
    }
  }

  // The whole table through the host's door.
  void ExpectPageFollowsItsTable(const PageTable& table) {
    StoreTableValues(table);
    corvaneview::Page page = OpenActive(table);
    EXPECT_EQ(GetFocus(), page.Item(table.focus)) << "the focus control";
    ExpectShowsTheTag(page, table);
    ExpectEnableStates(page, table, false);

    // Each member changed by the host is shown by its own items and by no other.
    for (const Row& row : table.rows) {
      if (!row.member) continue;
      SCOPED_TRACE(testing::Message() << "the host changes the member of item " << row.id);
      if (IsIntegerEdit(row.ctrl)) {
        StoreInteger(row.member, StoredCode(row.member) + 100);
      } else if (IsEdit(row.ctrl)) {
        StoreReal(row.member, StoredReal(row.member) + 100.0f);
      } else {
        StorePosition(row.member, (StoredPosition(row.member) + 1) % EntryCount(row.member));
      }
      EXPECT_HR(S_OK, page.events->DataChanged());
      ExpectShowsTheTag(page, table);
      StoreTableValues(table);
      EXPECT_HR(S_OK, page.events->DataChanged());
    }

    // A user change on each item writes exactly its member, with the member's type.
    std::vector<std::string> allWrites;
    for (const Row& row : table.rows) {
      if (!IsCombo(row.ctrl) && !IsEdit(row.ctrl)) continue;
      SCOPED_TRACE(testing::Message() << "the user changes item " << row.id);
      const size_t before = StandardTag()->Writes().size();
      const std::string expected = ChangeAsTheUser(page, table, row);
      EXPECT_HR(S_OK, page.child->Save());
      EXPECT_EQ(WritesSince(before), expected);
      allWrites.push_back(expected);
      StoreTableValues(table);
      EXPECT_HR(S_OK, page.events->Reverted());
    }

    // Every item changed at once, dependents before their masters: the save writes them in
    // the order of the control list.
    const size_t before = StandardTag()->Writes().size();
    for (auto row = table.rows.rbegin(); row != table.rows.rend(); ++row)
      if (IsCombo(row->ctrl) || IsEdit(row->ctrl)) ChangeAsTheUser(page, table, *row);
    EXPECT_HR(S_OK, page.child->Save());
    std::string inListOrder;
    for (const std::string& write : allWrites) inListOrder += write;
    EXPECT_EQ(WritesSince(before), inListOrder);
    StoreTableValues(table);
    EXPECT_HR(S_OK, page.events->Reverted());

    for (const Row& row : table.rows)
      if (IsEdit(row.ctrl)) ExpectEditRules(page, table, row);
    page.Release();
  }

  // The dependencies of the table over its masters' positions: on activation (each master at
  // each of its positions, the others enabling), on refresh and on the user's choices (every
  // combination of positions, no selection included), with and without a tag whose members
  // can be forced.
  void ExpectDependenciesFollowTheirMasters(const PageTable& table) {
    const std::vector<int> masters = Masters(table);
    ASSERT_FALSE(masters.empty());
    for (bool forceable : {false, true}) {
      SCOPED_TRACE(forceable ? "a tag that can be forced" : "a tag that cannot be forced");
      StandardTag()->SetSuffix(forceable ? L"O" : L"");
      StoreTableValues(table);
      for (int master : masters) {
        for (int position = 0; position < EntryCount(MemberOf(table, master)); ++position) {
          SCOPED_TRACE(testing::Message() << "activated with " << master << " at " << position);
          StoreTableValues(table);
          StorePosition(MemberOf(table, master), position);
          corvaneview::Page page = OpenActive(table);
          ExpectEnableStates(page, table, forceable);
          page.Release();
        }
      }

      StoreTableValues(table);
      corvaneview::Page page = OpenActive(table);
      std::vector<int> positions(masters.size(), -1);
      std::function<void(size_t)> each = [&](size_t m) {
        if (m == masters.size()) {
          std::string name;
          for (size_t i = 0; i < masters.size(); ++i)
            name += std::to_string(masters[i]) + " at " + std::to_string(positions[i]) + " ";
          SCOPED_TRACE(name);
          // Refreshed from the tag (where a position exists), then chosen by the user, the
          // dependents first: the states are checked after every single change.
          bool stored = true;
          for (int position : positions) stored = stored && position >= 0;
          if (stored) {
            for (size_t i = 0; i < masters.size(); ++i)
              StorePosition(MemberOf(table, masters[i]), positions[i]);
            EXPECT_HR(S_OK, page.child->Refresh());
            ExpectEnableStates(page, table, forceable);
          }
          StoreTableValues(table);
          EXPECT_HR(S_OK, page.events->Reverted());
          for (size_t i = masters.size(); i-- > 0;) {
            Choose(page, masters[i], positions[i]);
            ExpectEnableStates(page, table, forceable);
          }
          return;
        }
        for (int position = -1; position < EntryCount(MemberOf(table, masters[m])); ++position) {
          positions[m] = position;
          each(m + 1);
        }
      };
      each(0);
      page.Release();
    }
    StandardTag()->SetSuffix(L"");
  }

 private:
  // The user changes the item to a value of its own and the write it must cause is answered.
  // A master moves to another position that keeps its dependents enabled where there is one.
  std::string ChangeAsTheUser(const corvaneview::Page& page, const PageTable& table, const Row& row) {
    HWND item = page.Item(row.id);
    if (IsCombo(row.ctrl)) {
      const int current = pvtest::ComboSelection(item);
      int position = (current + 1) % EntryCount(row.member);
      for (int candidate : EnablingPositions(table, row.id))
        if (candidate != current) {
          position = candidate;
          break;
        }
      Choose(page, row.id, position);
      return WriteOf(row.member, VT_I4,
                     std::to_wstring(Member(row.member).entries[static_cast<size_t>(position)].code));
    }
    const std::wstring text = row.decimals > 0 ? L"2.5" : L"2";
    pvtest::Retype(item, text);
    return WriteOf(row.member, EditType(row), text);
  }

  // What typing into the edit allows, as its row's text limit, sign flags and decimals say.
  void ExpectEditRules(const corvaneview::Page& page, const PageTable& table, const Row& row) {
    SCOPED_TRACE(testing::Message() << "typing into item " << row.id);
    HWND edit = page.Item(row.id);
    HWND elsewhere = page.Item(table.focus);
    const bool minusAllowed = (row.signFlags & 2) != 0;

    pvtest::Retype(edit, L"-1");
    EXPECT_EQ(Narrow(win::TextOf(edit)), minusAllowed ? "-1" : "1") << "sign flags " << row.signFlags;
    pvtest::Retype(edit, std::wstring(static_cast<size_t>(row.textLimit) + 3, L'1'));
    EXPECT_EQ(win::TextOf(edit), std::wstring(static_cast<size_t>(row.textLimit), L'1')) << "text limit";

    if (IsIntegerEdit(row.ctrl)) {
      // A whole number: the point cannot be typed.
      pvtest::Retype(edit, L"1.5");
      EXPECT_EQ(Narrow(win::TextOf(edit)), "15") << "a decimal point";
    } else {
      // One decimal more than the box keeps, ending in 5: leaving the box rounds it half away
      // from zero.
      const std::wstring ones(static_cast<size_t>(row.decimals), L'1');
      const std::wstring typed = L"2." + ones + L"5";
      const std::wstring rounded = L"2." + ones.substr(1) + L"2";
      for (const std::wstring& sign : minusAllowed ? Lines{L"", L"-"} : Lines{L""}) {
        pvtest::Retype(edit, sign + typed);
        ASSERT_TRUE(win::FocusControl(elsewhere));
        EXPECT_EQ(Narrow(win::TextOf(edit)), Narrow(sign + rounded)) << "rounded on leaving";
      }
    }

    // An empty text stops the save with its input-error code and the prompt naming the member.
    m_parent->errorDialogs.clear();
    size_t before = StandardTag()->Writes().size();
    pvtest::Retype(edit, L"");
    EXPECT_HR(kEmptyText, page.child->Save());
    const auto prompt = hostsim::FindHostPrompt(CLSID_PVInputPromptServer, 2, hostsim::kEnglish);
    ASSERT_TRUE(prompt.has_value());
    ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
    EXPECT_EQ(Narrow(m_parent->errorDialogs[0].text),
              Narrow(std::wstring(row.member) + L":  " + prompt->text));
    EXPECT_EQ(Narrow(m_parent->errorDialogs[0].caption), Narrow(prompt->caption));
    EXPECT_EQ(WritesSince(before), "");

    // A value the tag refuses keeps the control dirty, and the save answers the failure.
    pvtest::Retype(edit, L"3");
    StandardTag()->FailOperation(row.member, hostsim::TagOperation::kValueWrite, DISP_E_OVERFLOW);
    EXPECT_HR(DISP_E_OVERFLOW, page.child->Save());
    StandardTag()->FailOperation(row.member, hostsim::TagOperation::kValueWrite, S_OK);
    EXPECT_EQ(WritesSince(before), "");
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_EQ(WritesSince(before), WriteOf(row.member, EditType(row), L"3"));

    StoreTableValues(table);
    EXPECT_HR(S_OK, page.events->Reverted());
  }

  // The type in which an edit's value reaches the tag.
  static VARTYPE EditType(const Row& row) { return IsIntegerEdit(row.ctrl) ? VT_I4 : VT_R4; }

  // The positions of the master's list that enable every row that follows it (the
  // intersection of their ranges); empty for a control that is no master.
  std::vector<int> EnablingPositions(const PageTable& table, int masterId) const {
    const wchar_t* member = MemberOf(table, masterId);
    if (!member) return {};
    int low = 0, high = EntryCount(member) - 1;
    bool master = false;
    for (const Row& row : table.rows)
      for (const Range& range : {row.first, row.second})
        if (range.master == masterId && row.ctrl != Ctrl::kUnitCaption) {
          master = true;
          low = std::max(low, range.low);
          high = std::min(high, range.high);
        }
    std::vector<int> positions;
    if (master)
      for (int position = low; position <= high; ++position) positions.push_back(position);
    return positions;
  }
  static const wchar_t* MemberOf(const PageTable& table, int id) {
    for (const Row& row : table.rows)
      if (row.id == id) return row.member;
    return nullptr;
  }
  // The masters of the table's dependent controls, in table order.
  static std::vector<int> Masters(const PageTable& table) {
    std::vector<int> masters;
    for (const Row& candidate : table.rows)
      for (const Row& row : table.rows)
        if (row.ctrl != Ctrl::kUnitCaption &&
            (row.first.master == candidate.id || row.second.master == candidate.id) &&
            std::find(masters.begin(), masters.end(), candidate.id) == masters.end())
          masters.push_back(candidate.id);
    return masters;
  }
};

}  // namespace corvanepages
