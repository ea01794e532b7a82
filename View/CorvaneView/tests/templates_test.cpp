// The page templates of both language DLLs, read from the built DLLs as the loader serves
// them: each holds exactly its page's dialog items with the window classes their controls
// need, both languages share one layout, every template is laid out so a person can read it,
// and the device combo boxes hold their dialog-init entries once the dialog is created.
#include <gtest/gtest.h>

#include <afxwin.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include "afxres.h"
#include "dlgtemplate.h"
#include "platform/testing_modules.h"
#include "platform/testing_windows.h"

namespace {

using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;

enum class Kind { kList, kEdit, kText, kButton };

struct Item {
  DWORD id;
  Kind kind;
};

struct Page {
  const char* name;
  WORD templateId;
  std::vector<Item> items;
};

constexpr Kind L = Kind::kList, E = Kind::kEdit, T = Kind::kText, B = Kind::kButton;

// Every page's dialog items and the kind of window each control needs.
std::vector<Item> Joined(std::vector<Item> first, const std::vector<Item>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

const std::vector<Page>& Pages() {
  // The ten units of the system unit page; the extended unit page has them and six more.
  static const std::vector<Item> systemUnits = {{9132, L}, {9133, L}, {9125, L}, {9134, L}, {9135, L},
                                                {9138, L}, {9156, L}, {9131, L}, {9022, L}, {9021, L}};
  static const std::vector<Page> pages = {
      {"CALC", 9104, {{9061, L}, {9175, E}, {9179, E}, {9182, E}, {9060, E}, {9194, T}, {9195, T}}},
      {"COMM", 9014, {{9025, L}, {9028, L}, {9033, L}, {9038, L}, {9041, L}, {9043, L}, {9044, L},
                      {9045, L}, {9046, L}, {9047, L}, {9048, L}, {9049, L}, {9050, L}, {9051, L},
                      {9052, L}, {9053, L}, {9054, L}, {9055, L}, {9056, L}, {9057, L}}},
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
      {"LOWFLOW", 9102, {{9058, L}, {9165, E}, {9199, T}, {9169, E}, {9167, E}}},
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
      {"SENSOR", 9101, {{9126, L}}},
      {"SYSTEM",
       9067,
       {{9128, L},
        {9160, E},
        {9143, L},
        {9144, L},
        {9146, L},
        {9149, L},
        {9152, L},
        {9158, L},
        {9181, L},
        {9162, L},
        {9168, L},
        {9170, L},
        {9172, L},
        {9174, L},
        {9177, L}}},
      {"SYSTEM2", 9108, {{9164, E}, {9128, L}, {9160, E}, {9144, L}, {9334, L}, {9336, L}, {9151, L},
                         {9153, L}, {9155, L}, {9157, L}, {9159, L}, {9183, L}, {9185, L}, {9181, L},
                         {9162, L}, {9168, L}, {9170, L}, {9180, L}, {9172, L}, {9174, L}, {9176, L},
                         {9178, L}, {9411, T}, {9197, B}, {9042, T}}},
      {"SYSUNIT", 9072, systemUnits},
      {"SYSUNIT2", 9106,
       Joined(systemUnits, {{9024, L}, {9027, L}, {9031, L}, {9080, L}, {9081, L}, {9083, L}})},
      {"TotalizerConfig", 9012, {{9327, L}, {9326, L}, {9332, T}, {9328, L}, {9329, L}, {9330, E},
                                 {9331, L}, {9241, B}, {9400, L}, {9401, L}, {9032, T}, {9150, L},
                                 {9148, L}, {9037, E}, {9154, L}, {9243, B}, {9402, L}, {9403, L},
                                 {9034, T}, {9404, L}, {9405, L}, {9039, E}, {9406, L}, {9245, B}}},
      {"Viscosity", 9110, {{9396, L}, {9335, E}, {9338, E}, {9398, E}, {9242, B}, {9240, T}}},
  };
  return pages;
}

// The device combo boxes and the texts their dialog-init data adds, per language.
struct DeviceList {
  WORD templateId;
  DWORD id;
  std::vector<std::wstring> english;
  std::vector<std::wstring> german;
};

const std::vector<DeviceList>& DeviceLists() {
  static const std::vector<std::wstring> statesEnglish = {L"State 1", L"State 2", L"State 3",
                                                          L"State 4", L"State 5", L"State 6"};
  static const std::vector<std::wstring> statesGerman = {L"Zustand 1", L"Zustand 2", L"Zustand 3",
                                                         L"Zustand 4", L"Zustand 5", L"Zustand 6"};
  static const std::vector<DeviceList> lists = {
      {9110, 9396, {L"Model 1", L"Model 2", L"Model 3"}, {L"Modell 1", L"Modell 2", L"Modell 3"}},
      {9012, 9329, statesEnglish, statesGerman},
      {9012, 9148, statesEnglish, statesGerman},
      {9012, 9405, statesEnglish, statesGerman},
  };
  return lists;
}

constexpr DWORD kNoId = 0xFFFFFFFF;  // IDC_STATIC in an extended template
constexpr WORD kButtonClass = 0x80, kEditClass = 0x81, kStaticClass = 0x82, kComboBoxClass = 0x85;
// A drop-down list shows one line while closed, as tall as an edit box; its template height
// is that of the open list.
constexpr short kClosedListHeight = 14;
// Style bit 0x0800 of a combo box (CBS_DISABLENOSCROLL), which the configuration combo box
// reads as "refuse changes".
constexpr DWORD kListLockStyle = 0x0800;
// The room a push button or a group box leaves beside its text, per side, in pixels.
constexpr LONG kFrameMargin = 4;

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

struct Language {
  const char* name;
  const wchar_t* file;
  HMODULE module = nullptr;
};

class TemplatesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    windowsAtStart_ = platform::windows::LiveWindowCount();
    gdiAtStart_ = platform::gdi::LiveObjectCount();
    wchar_t exe[MAX_PATH];
    const std::wstring exePath(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
    const std::wstring folder = exePath.substr(0, exePath.rfind(L'\\') + 1);
    for (auto& language : languages_) {
      language.module = LoadLibraryExW((folder + language.file).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
      ASSERT_NE(language.module, nullptr)
          << Narrow(language.file) << ": " << platform::modules::LastLoadDiagnostic();
    }
  }
  void TearDown() override {
    for (auto& language : languages_) {
      if (language.module) {
        EXPECT_TRUE(FreeLibrary(language.module));
      }
    }
    EXPECT_EQ(platform::windows::LiveWindowCount(), windowsAtStart_) << "windows left behind";
    EXPECT_EQ(platform::gdi::LiveObjectCount(), gdiAtStart_) << "GDI objects left behind";
  }

  // The resource's bytes; empty when the module has none.
  static std::vector<BYTE> ResourceBytes(HMODULE module, WORD id, LPCWSTR type) {
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!found) return {};
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(module, found)));
    return data ? std::vector<BYTE>(data, data + SizeofResource(module, found)) : std::vector<BYTE>{};
  }

  static std::optional<DialogTemplate> Template(HMODULE module, WORD id) {
    const std::vector<BYTE> bytes = ResourceBytes(module, id, RT_DIALOG);
    return platform::dialogs::ParseDialogTemplate(bytes.data(), bytes.size());
  }

  Language languages_[2] = {{"ENU", L"CorvaneViewENU.dll"}, {"DEU", L"CorvaneViewDEU.dll"}};
  size_t windowsAtStart_ = 0, gdiAtStart_ = 0;
};

bool HasClass(const DialogItem& item, WORD windowClass) {
  return item.windowClass.isOrdinal && item.windowClass.ordinal == windowClass;
}

// Why the item's window does not suit a control of the kind ("" when it does).
std::string Unsuitable(const DialogItem& item, Kind kind) {
  switch (kind) {
    case Kind::kList:
      if (!HasClass(item, kComboBoxClass)) return "not a combo box";
      if ((item.style & 0x3) != CBS_DROPDOWNLIST) return "not a drop-down list";
      if (!(item.style & WS_VSCROLL) || !(item.style & WS_TABSTOP)) return "without WS_VSCROLL | WS_TABSTOP";
      if (item.style & kListLockStyle) return "with style bit 0x0800, read as a lock";
      return "";
    case Kind::kEdit:
      if (!HasClass(item, kEditClass)) return "not an edit";
      if (!(item.style & ES_AUTOHSCROLL)) return "without ES_AUTOHSCROLL";
      return "";
    case Kind::kText:
      return HasClass(item, kStaticClass) ? "" : "not a static";
    case Kind::kButton:
      if (!HasClass(item, kButtonClass)) return "not a button";
      return (item.style & BS_TYPEMASK) == BS_PUSHBUTTON ? "" : "not a push button";
  }
  return "unknown kind";
}

TEST_F(TemplatesTest, EachTemplateHoldsExactlyItsPagesItemsWithTheirWindowClasses) {
  for (const auto& language : languages_) {
    for (const auto& page : Pages()) {
      SCOPED_TRACE(std::string(language.name) + " " + page.name);
      const auto dialog = Template(language.module, page.templateId);
      ASSERT_TRUE(dialog.has_value()) << "no readable template " << page.templateId;
      std::map<DWORD, const DialogItem*> byId;
      for (const auto& item : dialog->items) {
        if (item.id == kNoId) continue;
        EXPECT_TRUE(byId.emplace(item.id, &item).second) << "item " << item.id << " twice";
      }
      std::set<DWORD> expected;
      for (const auto& wanted : page.items) {
        expected.insert(wanted.id);
        auto found = byId.find(wanted.id);
        if (found == byId.end()) {
          ADD_FAILURE() << "item " << wanted.id << " missing";
          continue;
        }
        EXPECT_EQ(Unsuitable(*found->second, wanted.kind), "") << "item " << wanted.id;
      }
      for (const auto& [id, item] : byId)
        EXPECT_TRUE(expected.count(id)) << "item " << id << " is no item of the page";
      EXPECT_FALSE(dialog->title.isOrdinal || dialog->title.text.empty()) << "the page's title";
    }
  }
}

TEST_F(TemplatesTest, BothLanguagesLayTheirPagesOutAlikeAndDifferOnlyInTexts) {
  for (const auto& page : Pages()) {
    SCOPED_TRACE(page.name);
    const auto english = Template(languages_[0].module, page.templateId);
    const auto german = Template(languages_[1].module, page.templateId);
    ASSERT_TRUE(english && german);
    EXPECT_EQ(
        std::make_tuple(english->style, english->cx, english->cy, english->pointSize, english->typeface),
        std::make_tuple(german->style, german->cx, german->cy, german->pointSize, german->typeface));
    ASSERT_EQ(english->items.size(), german->items.size());
    for (size_t i = 0; i < english->items.size(); ++i) {
      DialogItem a = english->items[i], b = german->items[i];
      a.title = b.title = {};
      EXPECT_EQ(a, b) << "item " << i << " (id " << a.id << ")";
    }
  }
}

// The item's rectangle in dialog units as a person sees it: a drop-down list closed.
RECT VisibleRect(const DialogItem& item) {
  const short height = HasClass(item, kComboBoxClass) ? std::min(item.cy, kClosedListHeight) : item.cy;
  return {item.x, item.y, item.x + item.cx, item.y + height};
}

bool IsGroupBox(const DialogItem& item) {
  return HasClass(item, kButtonClass) && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

bool Intersect(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Contains(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
         inner.bottom <= outer.bottom;
}

std::string Describe(const DialogItem& item) {
  return "item " + (item.id == kNoId ? "\"" + Narrow(item.title.text) + "\"" : std::to_string(item.id));
}

INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

// No two items overlap (a group box may hold items whole), every item lies inside its dialog,
// and every text fits its item by the platform's font metrics in the template's font.
TEST_F(TemplatesTest, EveryTemplateIsLaidOutSoAPersonCanReadIt) {
  for (const auto& language : languages_) {
    for (const auto& page : Pages()) {
      SCOPED_TRACE(std::string(language.name) + " " + page.name);
      const auto dialog = Template(language.module, page.templateId);
      ASSERT_TRUE(dialog.has_value());
      EXPECT_TRUE(dialog->HasFont());
      const RECT bounds{0, 0, dialog->cx, dialog->cy};
      for (size_t i = 0; i < dialog->items.size(); ++i) {
        const DialogItem& item = dialog->items[i];
        const RECT rect = VisibleRect(item);
        EXPECT_TRUE(Contains(bounds, rect)) << Describe(item) << " lies outside the dialog";
        for (size_t j = i + 1; j < dialog->items.size(); ++j) {
          const DialogItem& other = dialog->items[j];
          const RECT otherRect = VisibleRect(other);
          if (!Intersect(rect, otherRect)) continue;
          const bool held = (IsGroupBox(item) && Contains(rect, otherRect)) ||
                            (IsGroupBox(other) && Contains(otherRect, rect));
          EXPECT_TRUE(held) << Describe(item) << " overlaps " << Describe(other);
        }
      }

      // The texts, measured in the dialog the platform builds from the template.
      const std::vector<BYTE> bytes = ResourceBytes(language.module, page.templateId, RT_DIALOG);
      HWND host = CreateWindowExW(0, L"Static", L"host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                                  nullptr);
      HWND window = CreateDialogIndirectParamW(
          language.module, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()), host, QuietDialogProc, 0);
      ASSERT_NE(window, nullptr);
      HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
      HDC dc = CreateCompatibleDC(nullptr);
      HGDIOBJ previous = SelectObject(dc, font);
      size_t index = 0;
      for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
        ASSERT_LT(index, dialog->items.size());
        const DialogItem& item = dialog->items[index];
        wchar_t text[256] = {};
        const int length = GetWindowTextW(child, text, 256);
        if (item.id == kNoId && HasClass(item, kStaticClass)) {
          EXPECT_GT(length, 0) << "a label without a text";
        }
        if (length == 0) continue;
        const std::wstring shown(text, static_cast<size_t>(length));
        EXPECT_NE(shown.rfind(L"TXT_", 0), 0u) << "a text name no language script defines: " << Narrow(shown);
        SIZE extent{};
        ASSERT_TRUE(GetTextExtentPoint32W(dc, text, length, &extent));
        RECT client{};
        GetClientRect(child, &client);
        const LONG margin = HasClass(item, kButtonClass) ? 2 * kFrameMargin : 0;
        EXPECT_LE(extent.cx + margin, client.right) << Describe(item) << ": \"" << Narrow(shown) << "\"";
        EXPECT_LE(extent.cy, client.bottom) << Describe(item) << ": \"" << Narrow(shown) << "\"";
      }
      EXPECT_EQ(index, dialog->items.size());
      SelectObject(dc, previous);
      DeleteDC(dc);
      DestroyWindow(window);
      DestroyWindow(host);
    }
  }
}

std::vector<std::wstring> ComboStrings(HWND dialog, DWORD id) {
  std::vector<std::wstring> strings;
  const auto count = SendDlgItemMessageW(dialog, static_cast<int>(id), CB_GETCOUNT, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[64] = {};
    SendDlgItemMessageW(dialog, static_cast<int>(id), CB_GETLBTEXT, static_cast<WPARAM>(i),
                        reinterpret_cast<LPARAM>(text));
    strings.emplace_back(text);
  }
  return strings;
}

TEST_F(TemplatesTest, TheDeviceComboBoxesHoldTheirDialogInitEntriesOnceTheDialogIsCreated) {
  const HINSTANCE previous = AfxGetResourceHandle();
  for (const auto& language : languages_) {
    const bool english = &language == &languages_[0];
    AfxSetResourceHandle(language.module);
    for (WORD templateId : {WORD{9110}, WORD{9012}}) {
      SCOPED_TRACE(std::string(language.name) + " template " + std::to_string(templateId));
      // The bytes: entries for the device lists of this template only, in list order.
      const std::vector<BYTE> bytes = ResourceBytes(language.module, templateId, RT_DLGINIT);
      const auto parsed = platform::dialogs::ParseDialogInit(bytes.data(), bytes.size());
      EXPECT_TRUE(parsed.complete);
      std::vector<std::pair<DWORD, std::wstring>> expected, read;
      for (const auto& list : DeviceLists())
        if (list.templateId == templateId)
          for (const auto& text : english ? list.english : list.german) expected.emplace_back(list.id, text);
      for (const auto& entry : parsed.entries) {
        EXPECT_EQ(entry.message, platform::dialogs::kDialogInitAddString);
        read.emplace_back(entry.controlId, platform::dialogs::DialogInitText(entry));
      }
      EXPECT_EQ(read, expected);

      // The dialog: its combo boxes hold the texts once it is created.
      HWND host = CreateWindowExW(0, L"Static", L"host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr,
                                  nullptr);
      CDialog dialog(templateId);
      ASSERT_TRUE(dialog.Create(templateId, CWnd::FromHandle(host)));
      for (const auto& list : DeviceLists()) {
        if (list.templateId != templateId) continue;
        EXPECT_EQ(ComboStrings(dialog.m_hWnd, list.id), english ? list.english : list.german)
            << "combo box " << list.id;
      }
      dialog.DestroyWindow();
      DestroyWindow(host);
      CWnd::DeleteTempMap();
    }
  }
  AfxSetResourceHandle(previous);
}

TEST_F(TemplatesTest, NoOtherTemplateCarriesDialogInitData) {
  // The other lists take their texts from the module's configuration tag when they are bound.
  for (const auto& language : languages_) {
    for (const auto& page : Pages()) {
      if (page.templateId == 9110 || page.templateId == 9012) continue;
      SCOPED_TRACE(std::string(language.name) + " " + page.name);
      EXPECT_TRUE(ResourceBytes(language.module, page.templateId, RT_DLGINIT).empty());
    }
  }
}

}  // namespace
