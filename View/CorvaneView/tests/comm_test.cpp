// The input assembly page (COMM) through the host's door, built from the page's table: each
// of the twenty combo boxes lists and saves its own member, on a module whose positions all
// have texts and codes of their own, so that a combo box bound to another position's member
// shows it.
#include <platform/testing_windows.h>

#include <string>
#include <vector>

#include "CorvaneViewHost.h"

namespace {

namespace win = platform::windows;
using corvaneview::kCatalogue;
using corvaneview::Page;
using pvtest::ComboSelection;
using pvtest::EntriesOf;
using pvtest::Lines;
using pvtest::Narrow;
using pvtest::TakeLog;
using Write = hostsim::ConfigurationTag::Write;

// The page's table: list position n (from 1) is row n - 1.
struct Position {
  int id;
  const wchar_t* member;
};
constexpr Position kPositions[] = {
    {9025, L"Input_assembly_Position_1"},  {9028, L"Input_assembly_Position_2"},
    {9033, L"Input_assembly_Position_3"},  {9038, L"Input_assembly_Position_4"},
    {9041, L"Input_assembly_Position_5"},  {9043, L"Input_assembly_Position_6"},
    {9044, L"Input_assembly_Position_7"},  {9045, L"Input_assembly_Position_8"},
    {9046, L"Input_assembly_Position_9"},  {9047, L"Input_assembly_Position_10"},
    {9048, L"Input_assembly_Position_11"}, {9049, L"Input_assembly_Position_12"},
    {9050, L"Input_assembly_Position_13"}, {9051, L"Input_assembly_Position_14"},
    {9052, L"Input_assembly_Position_15"}, {9053, L"Input_assembly_Position_16"},
    {9054, L"Input_assembly_Position_17"}, {9055, L"Input_assembly_Position_18"},
    {9056, L"Input_assembly_Position_19"}, {9057, L"Input_assembly_Position_20"},
};
constexpr int kFocusItem = 9025;
constexpr int kEntries = 4;

// Row r's member lists kEntries entries with codes 100 * (r + 1) + j and texts of its own,
// and stands at entry r % kEntries.
std::wstring EntryText(size_t row, int entry) {
  return L"P" + std::to_wstring(row + 1) + L" choice " + std::to_wstring(entry);
}
LONG EntryCode(size_t row, int entry) {
  return static_cast<LONG>(100 * (row + 1) + static_cast<size_t>(entry));
}
int DefaultEntry(size_t row) {
  return static_cast<int>(row % kEntries);
}

hostsim::ModuleDefinition InputAssemblyModule() {
  hostsim::TagDefinition standard{L"Corvane300:C", hostsim::TagKind::kStandard, L"", false, {}};
  for (size_t row = 0; row < std::size(kPositions); ++row) {
    hostsim::MemberDefinition member;
    member.name = kPositions[row].member;
    member.type = hostsim::MemberType::kEnumeration;
    for (int entry = 0; entry < kEntries; ++entry)
      member.entries.push_back({EntryCode(row, entry), EntryText(row, entry)});
    member.defaultValue.integer = EntryCode(row, DefaultEntry(row));
    member.minimum.integer = EntryCode(row, 0);
    member.maximum.integer = EntryCode(row, kEntries - 1);
    standard.members.push_back(member);
  }
  hostsim::TagDefinition safety{L"Corvane300:S", hostsim::TagKind::kSafety, L"", false, {}};
  hostsim::MemberDefinition guard;
  guard.name = L"Guard";
  safety.members.push_back(guard);
  return hostsim::ModuleDefinition{L"Corvane300", {standard, safety}, {}};
}

Lines TextsOf(size_t row) {
  Lines texts;
  for (int entry = 0; entry < kEntries; ++entry) texts.push_back(EntryText(row, entry));
  return texts;
}

std::string Describe(const std::vector<Write>& writes) {
  return pvtest::DescribeWrites(writes);
}

class CorvaneViewComm : public corvaneview::CorvaneViewHost {
 protected:
  void SetUp() override {
    CorvaneViewHost::SetUp();
    UseModule(InputAssemblyModule());
  }

  Page OpenActive() {
    Page page = Open(kCatalogue[1]);
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    EXPECT_HR(S_OK, page.child->OnActivate());
    return page;
  }

  std::vector<Write> TakeWrites() {
    const auto& all = StandardTag()->Writes();
    std::vector<Write> writes(all.begin() + static_cast<ptrdiff_t>(m_writesSeen), all.end());
    m_writesSeen = all.size();
    return writes;
  }

  size_t m_writesSeen = 0;
};

TEST_F(CorvaneViewComm, EveryPositionListsItsMembersTextsAndShowsItsValueWithTheFocusOnPosition1) {
  ASSERT_STREQ(kCatalogue[1].name, "CPVPageCorvaneCOMM");
  Page page = OpenActive();
  for (size_t row = 0; row < std::size(kPositions); ++row) {
    SCOPED_TRACE(Narrow(kPositions[row].member));
    HWND combo = page.Item(kPositions[row].id);
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(EntriesOf(combo), TextsOf(row));
    EXPECT_EQ(ComboSelection(combo), DefaultEntry(row));
    EXPECT_TRUE(IsWindowEnabled(combo));
  }
  EXPECT_EQ(GetFocus(), page.Item(kFocusItem));
  EXPECT_EQ(TakeLog(), Lines{});
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(Describe(TakeWrites()), "") << "nothing chosen, nothing written";
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(CorvaneViewComm, EachPositionIsSetOnItsOwnAndSavesOnlyItsMember) {
  Page page = OpenActive();
  for (size_t row = 0; row < std::size(kPositions); ++row) {
    SCOPED_TRACE(Narrow(kPositions[row].member));
    const int chosen = (DefaultEntry(row) + 1) % kEntries;
    ASSERT_TRUE(win::SelectComboItem(page.Item(kPositions[row].id), chosen));
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_EQ(Describe(TakeWrites()),
              Describe({{kPositions[row].member, VT_I4, std::to_wstring(EntryCode(row, chosen))}}));
  }
  for (size_t row = 0; row < std::size(kPositions); ++row)
    EXPECT_EQ(ComboSelection(page.Item(kPositions[row].id)), (DefaultEntry(row) + 1) % kEntries);
  EXPECT_EQ(TakeLog(), Lines{});
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(CorvaneViewComm, TheSameChoiceInTwoPositionsIsAccepted) {
  Page page = OpenActive();
  ASSERT_TRUE(win::SelectComboItem(page.Item(kPositions[0].id), 3));
  ASSERT_TRUE(win::SelectComboItem(page.Item(kPositions[1].id), 3));
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(Describe(TakeWrites()),
            Describe({{kPositions[0].member, VT_I4, std::to_wstring(EntryCode(0, 3))},
                      {kPositions[1].member, VT_I4, std::to_wstring(EntryCode(1, 3))}}));
  EXPECT_EQ(TakeLog(), Lines{});
  EXPECT_HR(S_OK, page.panel->Destroy());
}

TEST_F(CorvaneViewComm, AnAbsentMemberLeavesItsComboBoxUnboundAndTheOther19Work) {
  for (size_t absent : {size_t{0}, size_t{4}, size_t{19}}) {
    SCOPED_TRACE(Narrow(kPositions[absent].member));
    UseModule(InputAssemblyModule());
    m_writesSeen = 0;
    StandardTag()->RemoveMember(kPositions[absent].member);
    Page page = OpenActive();
    EXPECT_EQ(EntriesOf(page.Item(kPositions[absent].id)), Lines{});
    const Lines log = TakeLog();
    EXPECT_FALSE(log.empty()) << "the unbound combo box reports what it could not read";
    for (size_t row = 0; row < std::size(kPositions); ++row) {
      if (row == absent) continue;
      SCOPED_TRACE(Narrow(kPositions[row].member));
      HWND combo = page.Item(kPositions[row].id);
      EXPECT_EQ(EntriesOf(combo), TextsOf(row));
      ASSERT_TRUE(win::SelectComboItem(combo, (DefaultEntry(row) + 2) % kEntries));
      EXPECT_HR(S_OK, page.child->Save());
      EXPECT_EQ(Describe(TakeWrites()),
                Describe({{kPositions[row].member, VT_I4,
                           std::to_wstring(EntryCode(row, (DefaultEntry(row) + 2) % kEntries))}}));
    }
    EXPECT_EQ(TakeLog(), Lines{});
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
  }
}

TEST_F(CorvaneViewComm, WithoutTheStandardTagEveryPositionIsStillGivenItsValueObject) {
  m_module->DropStandardTag();
  Page page = Open(kCatalogue[1]);
  for (const Position& position : kPositions) EXPECT_EQ(EntriesOf(page.Item(position.id)), Lines{});
  // Each combo box checks the value object it was given, which was made without an adapter.
  size_t checked = 0;
  for (const std::wstring& line : TakeLog())
    checked += line.find(L"InitializationIsValid: Error: m_spIPVGetSetAdapter not initialized!") !=
               std::wstring::npos;
  EXPECT_EQ(checked, std::size(kPositions));
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_HR(S_OK, page.panel->Destroy());
}

}  // namespace
