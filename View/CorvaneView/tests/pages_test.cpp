// Every page of CorvaneView's catalogue through the host's door on the built-in module
// definition: it opens from its CLSID with its own template, goes through the host's life
// cycle without a failure, and leaves no window behind, also when the host gives it back
// while it is shown without destroying it.
#include <platform/testing_windows.h>

#include "CorvaneViewHost.h"

namespace {

using corvaneview::CataloguePage;
using corvaneview::kCatalogue;
using corvaneview::Page;
using pvtest::Lines;
using pvtest::TakeLog;

class CorvaneViewPages : public corvaneview::CorvaneViewHost {};

TEST_F(CorvaneViewPages, EveryPageOpensActivatesSavesAndClosesWithoutAFailure) {
  for (const CataloguePage& entry : kCatalogue) {
    SCOPED_TRACE(entry.name);
    const size_t windowsBefore = platform::windows::LiveWindowCount();
    Page page = Open(entry);
    ASSERT_NE(page.Window(), nullptr);
    EXPECT_EQ(LiveObjects().Count(entry.name), 1) << LiveObjects().Report();
    EXPECT_NE(page.Item(entry.item), nullptr) << "the page's own template";
    if (entry.lackedItem) {
      EXPECT_EQ(page.Item(entry.lackedItem), nullptr);
    }
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->PreInitialActivate());
    EXPECT_HR(S_OK, page.child->OnActivate());
    EXPECT_HR(S_OK, page.child->Save());
    EXPECT_HR(S_OK, page.child->OnDeactivate());
    EXPECT_HR(S_OK, page.panel->Destroy());
    page.Release();
    EXPECT_EQ(LiveObjects().Report(), "") << "the page, its controls and its value objects are gone";
    EXPECT_EQ(TakeLog(), Lines{});
    EXPECT_EQ(platform::windows::LiveWindowCount(), windowsBefore) << "windows left behind";
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "the page is gone";
  }
}

TEST_F(CorvaneViewPages, APageReleasedWhileShownLeavesNoWindow) {
  for (const CataloguePage& entry : kCatalogue) {
    SCOPED_TRACE(entry.name);
    const size_t windowsBefore = platform::windows::LiveWindowCount();
    Page page = Open(entry);
    ASSERT_NE(page.Window(), nullptr);
    EXPECT_HR(S_OK, page.panel->Show(SW_SHOW));
    EXPECT_HR(S_OK, page.child->OnActivate());
    page.Release();
    EXPECT_EQ(platform::windows::LiveWindowCount(), windowsBefore) << "windows left behind";
    EXPECT_HR(S_OK, m_exports->canUnloadNow()) << "the page is gone";
  }
}

}  // namespace
