// The electromagnetic meter's unit data through the host's door, on the device controls' test
// page built with it (the captions and families that no page of FluxorView shows with every
// master): the density captions worded as this meter words them, the totalizer unit families
// by the first three positions of the process variable and the preset caption's offsets.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../DeviceControls/tests/DevicePageHost.h"

namespace {

namespace win = platform::windows;
using devicepage::DevicePage;

class FluxorUnitData : public devicepage::DevicePageHost {
 protected:
  FluxorUnitData() : DevicePageHost("FluxorDeviceTestPages.dll") {}

  void Choose(const DevicePage& page, int comboId, int index) {
    ASSERT_TRUE(win::SelectComboItem(page.Item(comboId), index)) << comboId << " entry " << index;
  }
};

TEST_F(FluxorUnitData, TheDensityCaptionWordsTwoUnitsAsThisMeterDoes) {
  hostsim::ModuleDefinition definition = devicepage::DeviceDefinition();
  devicepage::PutMember(
      definition.tags[0],
      devicepage::Enumeration(kDensityUnitMember,
                              {{12039, L"kg/m3"}, {12044, L"lb/ft3"}, {2204, L"SD 4C"}, {12288, L"API"}}));
  UseModule(definition);
  DevicePage page = OpenActive();
  struct Case {
    LONG densityUnit;
    const wchar_t* caption;
  };
  for (const Case& c :
       {Case{12044, L"lb/cf"}, Case{2204, L"SD 4c"}, Case{12039, L"kg/m3"}, Case{12288, L" "}}) {
    SCOPED_TRACE(c.densityUnit);
    Store(kDensityUnitMember, c.densityUnit);
    page.events->DataChanged();
    Choose(page, IDC_PARTIALLY_ASSIGN, 0);
    Choose(page, IDC_PARTIALLY_ASSIGN, 1);
    EXPECT_EQ(page.Text(IDC_PARTIALLY_LOW_UNIT), c.caption);
  }
  page.Release();
}

TEST_F(FluxorUnitData, TheTotalizerMastersShowTheFlowUnitsAsTheLowFlowAssignmentDoes) {
  Store(kMassFlowUnitMember, 5124);
  Store(kVolumeFlowUnitMember, 5170);
  Store(kCorrectedVolumeFlowUnitMember, 5201);
  DevicePage page = OpenActive();
  // Position 1 the volume flow unit, 2 the mass flow unit, 3 the corrected volume flow unit;
  // a totalizer's positions 4 and 5 as its 1 and 2. The low-flow caption is bound by position
  // (volume flow first, this meter's order), the totalizer's as the pages bind theirs.
  const std::vector<std::wstring> lowFlow = {L" ", L"m3/h", L"kg/s", L"Nm3/h", L" "};
  for (int selection = 0; selection < static_cast<int>(lowFlow.size()); ++selection) {
    SCOPED_TRACE(testing::Message() << "low flow selection " << selection);
    Choose(page, IDC_LOWFLOW_ASSIGN, selection);
    EXPECT_EQ(page.Text(IDC_LOWFLOW_UNIT), lowFlow[selection]);
  }
  const std::vector<std::wstring> totalizer = {L" ", L"m3/h", L"kg/s", L"Nm3/h", L"m3/h", L"kg/s", L" "};
  for (int selection = 0; selection < static_cast<int>(totalizer.size()); ++selection) {
    SCOPED_TRACE(testing::Message() << "totalizer selection " << selection);
    Choose(page, IDC_TOTALIZER_ASSIGN, selection);
    EXPECT_EQ(page.Text(IDC_TOTALIZER_FLOW_UNIT), totalizer[selection]);
  }
  page.Release();
}

TEST_F(FluxorUnitData, TheProcessVariableListsVolumeMassOrCorrectedVolumeUnitsAndWritesTheFamilysDefault) {
  // Volume, mass, corrected volume, and every unit for any other position.
  ExpectTotalizerFamilies({{0, 6, 26, 18}, {1, 0, 5, 4}, {2, 27, 34, 30}, {3, 0, 35, 35}, {6, 0, 35, 35}}, 3);
}

TEST_F(FluxorUnitData, ThePresetCaptionAddsSixAtTheFirstPositionAndTwentySevenAtTheThird) {
  DevicePage page = OpenActive();
  struct Case {
    int assign;
    int unitPosition;
    const wchar_t* caption;
  };
  const Case cases[] = {{0, 2, L"m3"}, {1, 1, L"kg"}, {2, 1, L"Nm3"}, {3, 4, L"lb"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "assign " << c.assign << " unit " << c.unitPosition);
    Choose(page, IDC_TOTALIZER_ASSIGN, c.assign);
    Choose(page, IDC_TOTALIZER_UNIT, c.unitPosition);
    EXPECT_EQ(page.Text(IDC_TOTALIZER_PRESET_UNIT), c.caption);
  }
  page.Release();
}

TEST_F(FluxorUnitData, EveryRowOfTheFiveUnitCaptionTablesShowsItsCaptionAsThisMeterWordsIt) {
  ExpectEveryCaptionRow(captiontables::kFluxorDensityCaptionChanges);
}

TEST_F(FluxorUnitData, ThePresetCaptionIsTheTotalizerUnitTextOfEveryPositionInEachFamily) {
  // Volume, mass, corrected volume and every unit.
  ExpectEveryPresetCaption({{0, 6, 26, 18}, {1, 0, 5, 4}, {2, 27, 34, 30}, {3, 0, 35, 35}});
}

}  // namespace
