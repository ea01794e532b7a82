// The page templates of both CorvaneView language DLLs, read from the built DLLs as the
// loader serves them: each holds exactly its page's dialog items with the window classes
// their controls need, both languages share one layout, every template is laid out so a
// person can read it, and the device combo boxes hold their dialog-init entries once the
// dialog is created.
#include "SharedPageTemplates.h"

namespace {

using namespace pvtest::templates;

// Every page's dialog items and the kind of window each control needs.
const std::vector<Page>& Pages() {
  // The ten units of the system unit page; the extended unit page has them and six more.
  static const std::vector<Item> systemUnits = {{9132, L}, {9133, L}, {9125, L}, {9134, L}, {9135, L},
                                                {9138, L}, {9156, L}, {9131, L}, {9022, L}, {9021, L}};
  static const std::vector<Page> pages = {
      {"CALC", 9104, {{9061, L}, {9175, E}, {9179, E}, {9182, E}, {9060, E}, {9194, T}, {9195, T}}},
      corvaneview::CommTemplate(),
      {"COMP", 9070, {{9066, L}, {9064, L}, {9062, E}, {9026, T}}},
      {"CONC",
       9109,
       {{9200, L},
        {9394, E},
        {9395, E},
        {9397, E},
        {9399, E},
        {9337, E},
        {9339, E},
        {9300, E},
        {9301, E},
        {9303, E},
        {9304, E},
        {9305, E},
        {9302, E}}},
      corvaneview::LowFlowTemplate(),
      {"MEDIUM", 9010, {{9020, L}, {9017, L}, {9029, E}, {9035, E}}},
      {"PARTIALLY", 9103, {{9059, L}, {9184, E}, {9186, E}, {9171, E}, {9173, E}, {9191, T}, {9193, T}}},
      {"PETRO",
       9112,
       {{9306, L},
        {9307, L},
        {9308, L},
        {9309, E},
        {9312, L},
        {9315, L},
        {9317, E},
        {9318, E},
        {9319, E},
        {9322, E},
        {9323, E},
        {9235, T},
        {9237, T},
        {9236, T},
        {9244, T},
        {9238, T}}},
      {"PROCESS", 9100, {{9141, L}, {9142, E}, {9166, E}, {9163, E}}},
      corvaneview::SensorTemplate(),
      corvaneview::SystemTemplate(),
      {"SYSTEM2", 9108, {{9164, E}, {9128, L}, {9160, E}, {9144, L}, {9334, L}, {9336, L}, {9151, L},
                         {9153, L}, {9155, L}, {9157, L}, {9159, L}, {9183, L}, {9185, L}, {9181, L},
                         {9162, L}, {9168, L}, {9170, L}, {9180, L}, {9172, L}, {9174, L}, {9176, L},
                         {9178, L}, {9411, T}, {9197, B}, {9042, T}}},
      {"SYSUNIT", 9072, systemUnits},
      {"SYSUNIT2", 9106,
       Joined(systemUnits, {{9024, L}, {9027, L}, {9031, L}, {9080, L}, {9081, L}, {9083, L}})},
      corvaneview::TotalizerTemplate(),
      {"Viscosity", 9110, {{9396, L}, {9335, E}, {9338, E}, {9398, E}, {9242, B}, {9240, T}}},
  };
  return pages;
}

// The device combo boxes and the texts their dialog-init data adds, per language.
const std::vector<DeviceList>& DeviceLists() {
  static const std::vector<DeviceList> lists =
      Joined({{9110, 9396, {L"Model 1", L"Model 2", L"Model 3"}, {L"Modell 1", L"Modell 2", L"Modell 3"}}},
             corvaneview::TotalizerDeviceLists());
  return lists;
}

class TemplatesTest : public LanguageTemplates {
 protected:
  TemplatesTest() : LanguageTemplates(L"CorvaneView") {}
};

TEST_F(TemplatesTest, EachTemplateHoldsExactlyItsPagesItemsWithTheirWindowClasses) {
  ExpectEachTemplateHoldsExactlyItsPagesItems(Pages());
}

TEST_F(TemplatesTest, BothLanguagesLayTheirPagesOutAlikeAndDifferOnlyInTexts) {
  ExpectBothLanguagesAlike(Pages());
}

TEST_F(TemplatesTest, EveryTemplateIsLaidOutSoAPersonCanReadIt) {
  ExpectReadableLayouts(Pages());
}

TEST_F(TemplatesTest, TheDeviceComboBoxesHoldTheirDialogInitEntriesOnceTheDialogIsCreated) {
  ExpectDeviceListsFilledOnCreate(DeviceLists());
}

TEST_F(TemplatesTest, NoOtherTemplateCarriesDialogInitData) {
  ExpectNoOtherDialogInitData(Pages(), DeviceLists());
}

}  // namespace
