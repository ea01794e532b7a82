// The panel's size from its dialog template: the template's font (or the system's), scaled to
// the property sheet's font when the common controls library is there to give it.
#include <platform/testing_modules.h>

#include "PanelHost.h"

namespace {

using pvtest::HostedPage;

class PanelSize : public pvtest::PanelHost {
 protected:
  void TearDown() override {
    platform::modules::ResetPseudoModules();
    PanelHost::TearDown();
  }
};

// The synthetic fonts (wingdi.h) at 96 dots per inch:
//   8 points, the templates' font:  horizontal unit 5, vertical unit 14, tmHeight 13
//   9 points, the property sheet's: vertical unit 15, tmHeight 14
//   no font, the system's base units: 6 and 16, tmHeight 16
// width  = MulDiv(cx, horizontal unit, 4)
// height = MulDiv(cy, vertical unit, 8), or with the sheet's font
//          MulDiv(MulDiv(cy, sheet vertical unit, 8), tmHeight, sheet tmHeight)
TEST_F(PanelSize, TheSizeFollowsTheTemplatesFontScaledByThePropertySheetsFont) {
  struct Case {
    const char* name;
    const wchar_t* clsid;
    bool sheetFont;
    SIZE expected;
  };
  const Case cases[] = {
      {"extended template, 8 points, 200 x 200", kPanelPageClsid, true, {250, 348}},
      {"extended template, 8 points, no sheet font", kPanelPageClsid, false, {250, 350}},
      {"no DS_SETFONT, 200 x 200", kPlainPageClsid, true, {300, 429}},
      {"no DS_SETFONT, no sheet font", kPlainPageClsid, false, {300, 400}},
      {"old-form template, 8 points, 160 x 120", kOldFormPageClsid, true, {200, 209}},
      {"old-form template, no sheet font", kOldFormPageClsid, false, {200, 210}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(platform::modules::SetPseudoModuleAvailable(L"COMCTL32.DLL", c.sheetFont));
    HostedPage page = Open(c.clsid, true, false);
    SIZE size{-1, -1};
    EXPECT_HR(S_OK, page.panel->GetSize(&size));
    EXPECT_EQ(size.cx, c.expected.cx);
    EXPECT_EQ(size.cy, c.expected.cy);
    page.Release();
  }
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST_F(PanelSize, TheSizeNeedsNoWindowAndComesFromTheCurrentLanguagesTemplate) {
  HostedPage page = Open(kPanelPageClsid, true, false);
  ASSERT_HR(S_OK, page.child->SetLocale(1031));
  HMODULE commonControls = GetModuleHandleW(L"COMCTL32.DLL");
  const int references = platform::modules::ReferenceCount(commonControls);
  SIZE size{};
  EXPECT_HR(S_OK, page.panel->GetSize(&size));
  EXPECT_EQ(size.cx, 250);
  EXPECT_EQ(size.cy, 348);
  EXPECT_EQ(platform::modules::ReferenceCount(commonControls), references) << "the library is freed again";
  EXPECT_HR(E_POINTER, page.panel->GetSize(nullptr));
}

}  // namespace
