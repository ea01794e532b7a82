// The benchmark's floor of every page of both view DLLs ends in exactly what the page shows
// once the host has activated it: the same windows, ids, classes, texts, combo box lists and
// selections, checks, enabled and visible states. So the floor a page is measured against
// cannot drift from the page.
#include <HostModule.h>
#include <HostServers.h>

#include <gtest/gtest.h>

#include <string>

#include "../../host/HostText.h"
#include "../BenchPlatform.h"
#include "../PageFloor.h"

namespace {

struct ViewCase {
  const char* dll;
  size_t pages;
};

class PageFloorTest : public testing::TestWithParam<ViewCase> {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    hostsim::RegisterHostServers();
    std::string error;
    ASSERT_TRUE(pagebench::LoadViewDll(GetParam().dll, &m_view, &error)) << error;
  }
  void TearDown() override {
    pagebench::UnloadViewDll(&m_view);
    hostsim::RevokeHostServers();
    CoUninitialize();
    pagebench::ForgetLogRecords();
  }

  pagebench::ViewDll m_view;
};

TEST_P(PageFloorTest, EveryPagesFloorEndsInWhatThePageShows) {
  EXPECT_EQ(GetParam().pages, m_view.pages.size()) << "every page the DLL registers has a floor";
  for (const pagebench::Page& page : m_view.pages) {
    SCOPED_TRACE(hostcli::Utf8(page.title));
    pagebench::FloorPlan plan;
    std::wstring error;
    ASSERT_TRUE(pagebench::PlanFloor(page, m_view.definition, &plan, &error)) << hostcli::Utf8(error);
    EXPECT_FALSE(plan.reads.empty()) << "the page reads members";

    hostsim::Ref<hostsim::HostModule> module(hostsim::HostModule::Create(m_view.definition));
    hostsim::HostWindow window;
    ITag* tag = nullptr;
    ASSERT_EQ(S_OK, module->GetConfigurationTag(&tag));
    ITagPtr owned(tag, false);
    const size_t windowsBefore = pagebench::LiveWindowCount();
    pagebench::VisibleState shown;
    {
      pagebench::TooltipWatch watch;
      const pagebench::Floor floor = pagebench::BuildFloor(page, plan, window.get(), tag);
      ASSERT_NE(nullptr, floor.dialog);
      shown = pagebench::ReadVisibleState(floor.dialog, windowsBefore);
      pagebench::DestroyFloor(floor);
    }
    EXPECT_EQ(L"", pagebench::FirstDifference(plan.page, shown));
    EXPECT_EQ(windowsBefore, pagebench::LiveWindowCount()) << "the floor leaves no window";

    // The floor reads what the page reads, member by member and kind by kind, and nothing else.
    const hostsim::ConfigurationTag& standard = *module->StandardTag();
    size_t readsAsked = 0;
    for (const hostsim::MemberDefinition& member : standard.Definition().members)
      for (hostsim::TagOperation operation :
           {hostsim::TagOperation::kValueRead, hostsim::TagOperation::kEnumRead,
            hostsim::TagOperation::kEnumTexts})
        readsAsked += standard.OperationCount(member.name, operation) > 0 ? 1 : 0;
    EXPECT_EQ(plan.reads.size(), readsAsked);
  }
}

// A combo box the page fills shows entries in its floor: the plan is not the bare template.
TEST_P(PageFloorTest, TheFloorFillsAndSelectsWhatThePageFills) {
  size_t filled = 0;
  size_t selected = 0;
  for (const pagebench::Page& page : m_view.pages) {
    pagebench::FloorPlan plan;
    std::wstring error;
    ASSERT_TRUE(pagebench::PlanFloor(page, m_view.definition, &plan, &error)) << hostcli::Utf8(error);
    for (const pagebench::WindowState& window : plan.page.windows) {
      filled += window.entries.empty() ? 0 : 1;
      selected += window.selection >= 0 ? 1 : 0;
    }
  }
  EXPECT_GT(filled, 0u);
  EXPECT_GT(selected, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    ViewDlls, PageFloorTest, testing::Values(ViewCase{"CorvaneView.dll", 16}, ViewCase{"FluxorView.dll", 10}),
    [](const testing::TestParamInfo<ViewCase>& info) {
      return std::string(info.param.dll).substr(0, std::string(info.param.dll).find('.'));
    });

}  // namespace
