// The page templates of both FluxorView language DLLs, read from the built DLLs as the loader
// serves them: the ten pages of the electromagnetic meter, five of them from the layout files
// of CorvaneView's pages and five of its own, each holding exactly its page's dialog items;
// both languages share one layout, every template is readable, the totalizer switches hold
// their dialog-init entries; no template of a page the meter does not have.
#include "../../CorvaneView/tests/SharedPageTemplates.h"

namespace {

using namespace pvtest::templates;

const std::vector<Page>& Pages() {
  static const std::vector<Page> pages = {
      corvaneview::CommTemplate(),
      {"COMP", 9070, {{9066, L}, {9064, L}, {9062, E}, {9243, T}}},
      corvaneview::LowFlowTemplate(),
      {"PARTIALLY", 9103, {{9059, L}, {9171, E}, {9173, E}, {9060, L}}},
      {"PROCESS", 9100, {{9141, L}, {9142, E}, {9166, L}, {9163, E}}},
      corvaneview::SensorTemplate(),
      corvaneview::SystemTemplate(),
      // The diagnostics button writes its outcome to the plain static 9042.
      {"SYSTEM2",
       9108,
       {{9164, E},
        {9128, L},
        {9160, E},
        {9413, L},
        {9412, L},
        {9181, L},
        {9162, L},
        {9168, L},
        {9170, L},
        {9242, L},
        {9182, L},
        {9411, T},
        {9197, B},
        {9042, T}}},
      {"SYSUNIT2",
       9106,
       {{9132, L}, {9133, L}, {9125, L}, {9134, L}, {9135, L}, {9156, L}, {9022, L}, {9021, L}}},
      corvaneview::TotalizerTemplate(),
  };
  return pages;
}

class FluxorTemplates : public LanguageTemplates {
 protected:
  FluxorTemplates() : LanguageTemplates(L"FluxorView") {}
};

TEST_F(FluxorTemplates, EachTemplateHoldsExactlyItsPagesItemsWithTheirWindowClasses) {
  ExpectEachTemplateHoldsExactlyItsPagesItems(Pages());
}

TEST_F(FluxorTemplates, BothLanguagesLayTheirPagesOutAlikeAndDifferOnlyInTexts) {
  ExpectBothLanguagesAlike(Pages());
}

TEST_F(FluxorTemplates, EveryTemplateIsLaidOutSoAPersonCanReadIt) {
  ExpectReadableLayouts(Pages());
}

TEST_F(FluxorTemplates, TheTotalizerSwitchesHoldTheirDialogInitEntriesOnceTheDialogIsCreated) {
  ExpectDeviceListsFilledOnCreate(corvaneview::TotalizerDeviceLists());
}

TEST_F(FluxorTemplates, NoOtherTemplateCarriesDialogInitData) {
  ExpectNoOtherDialogInitData(Pages(), corvaneview::TotalizerDeviceLists());
}

TEST_F(FluxorTemplates, NoTemplateOfAPageTheMeterDoesNotHave) {
  // CALC, MEDIUM, SYSUNIT, CONC, Viscosity and PETRO are the Coriolis meter's only.
  for (const auto& language : languages_) {
    for (WORD templateId : {9104, 9010, 9072, 9109, 9110, 9112}) {
      SCOPED_TRACE(std::string(language.name) + " template " + std::to_string(templateId));
      EXPECT_TRUE(ResourceBytes(language.module, templateId, RT_DIALOG).empty());
    }
  }
}

}  // namespace
