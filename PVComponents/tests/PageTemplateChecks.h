// Checks of a view DLL's page templates, read from its built language DLLs as the loader
// serves them: each holds exactly its page's dialog items with the window classes their
// controls need, both languages share one layout, every template is laid out so a person can
// read it, and the device combo boxes hold their dialog-init entries once the dialog is
// created (no other template carries any). A view DLL's template test gives its pages and
// device lists and runs these checks.
#pragma once

#include <gtest/gtest.h>
#include <platform/testing_text.h>

#include <afxwin.h>

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

#include "afxres.h"
#include "dlgtemplate.h"
#include "platform/testing_modules.h"
#include "platform/testing_windows.h"

namespace pvtest::templates {

using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;

enum class Kind { kList, kEdit, kText, kButton };

struct Item {
  DWORD id;
  Kind kind;
};

// A page's template and its dialog items with the kind of window each control needs.
struct Page {
  const char* name;
  WORD templateId;
  std::vector<Item> items;
};

inline constexpr Kind L = Kind::kList, E = Kind::kEdit, T = Kind::kText, B = Kind::kButton;

// A device combo box and the texts its dialog-init data adds, per language.
struct DeviceList {
  WORD templateId;
  DWORD id;
  std::vector<std::wstring> english;
  std::vector<std::wstring> german;
};

// The rows of first, then those of second.
template <class TRow>
std::vector<TRow> Joined(std::vector<TRow> first, const std::vector<TRow>& second) {
  first.insert(first.end(), second.begin(), second.end());
  return first;
}

inline constexpr DWORD kNoId = 0xFFFFFFFF;  // IDC_STATIC in an extended template
inline constexpr WORD kButtonClass = 0x80, kEditClass = 0x81, kStaticClass = 0x82, kComboBoxClass = 0x85;
// A drop-down list shows one line while closed, as tall as an edit box; its template height
// is that of the open list.
inline constexpr short kClosedListHeight = 14;
// Style bit 0x0800 of a combo box (CBS_DISABLENOSCROLL), which the configuration combo box
// reads as "refuse changes".
inline constexpr DWORD kListLockStyle = 0x0800;
// The room a push button or a group box leaves beside its text, per side, in pixels.
inline constexpr LONG kFrameMargin = 4;

using platform::test_support::Narrow;

inline bool HasClass(const DialogItem& item, WORD windowClass) {
  return item.windowClass.isOrdinal && item.windowClass.ordinal == windowClass;
}

// Why the item's window does not suit a control of the kind ("" when it does).
inline std::string Unsuitable(const DialogItem& item, Kind kind) {
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

// The item's rectangle in dialog units as a person sees it: a drop-down list closed.
inline RECT VisibleRect(const DialogItem& item) {
  const short height = HasClass(item, kComboBoxClass) ? std::min(item.cy, kClosedListHeight) : item.cy;
  return {item.x, item.y, item.x + item.cx, item.y + height};
}

inline bool IsGroupBox(const DialogItem& item) {
  return HasClass(item, kButtonClass) && (item.style & BS_TYPEMASK) == BS_GROUPBOX;
}

inline bool Intersect(const RECT& a, const RECT& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

inline bool Contains(const RECT& outer, const RECT& inner) {
  return outer.left <= inner.left && inner.right <= outer.right && outer.top <= inner.top &&
         inner.bottom <= outer.bottom;
}

inline std::string Describe(const DialogItem& item) {
  return "item " + (item.id == kNoId ? "\"" + Narrow(item.title.text) + "\"" : std::to_string(item.id));
}

inline INT_PTR CALLBACK QuietDialogProc(HWND, UINT, WPARAM, LPARAM) {
  return FALSE;
}

inline std::vector<std::wstring> ComboStrings(HWND dialog, DWORD id) {
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

struct Language {
  const char* name;
  std::wstring file;
  HMODULE module = nullptr;
};

// The two language DLLs of a view DLL (English, then German) loaded as data files from the
// test's folder, with the checks over them. Each test leaves no window and no GDI object.
class LanguageTemplates : public ::testing::Test {
 protected:
  explicit LanguageTemplates(const std::wstring& viewDll)
      : languages_{{"ENU", viewDll + L"ENU.dll"}, {"DEU", viewDll + L"DEU.dll"}} {}

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

  void ExpectEachTemplateHoldsExactlyItsPagesItems(const std::vector<Page>& pages) {
    for (const auto& language : languages_) {
      for (const auto& page : pages) {
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

  void ExpectBothLanguagesAlike(const std::vector<Page>& pages) {
    for (const auto& page : pages) {
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

  // No two items overlap (a group box may hold items whole), every item lies inside its
  // dialog, and every text fits its item by the platform's font metrics in the template's font.
  void ExpectReadableLayouts(const std::vector<Page>& pages) {
    for (const auto& language : languages_) {
      for (const auto& page : pages) {
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
        ExpectTextsFit(language, page, *dialog);
      }
    }
  }

  void ExpectDeviceListsFilledOnCreate(const std::vector<DeviceList>& lists) {
    std::set<WORD> templateIds;
    for (const auto& list : lists) templateIds.insert(list.templateId);
    const HINSTANCE previous = AfxGetResourceHandle();
    for (const auto& language : languages_) {
      const bool english = &language == &languages_[0];
      AfxSetResourceHandle(language.module);
      for (WORD templateId : templateIds) {
        SCOPED_TRACE(std::string(language.name) + " template " + std::to_string(templateId));
        // The bytes: entries for the device lists of this template only, in list order.
        const std::vector<BYTE> bytes = ResourceBytes(language.module, templateId, RT_DLGINIT);
        const auto parsed = platform::dialogs::ParseDialogInit(bytes.data(), bytes.size());
        EXPECT_TRUE(parsed.complete);
        std::vector<std::pair<DWORD, std::wstring>> expected, read;
        for (const auto& list : lists)
          if (list.templateId == templateId)
            for (const auto& text : english ? list.english : list.german)
              expected.emplace_back(list.id, text);
        for (const auto& entry : parsed.entries) {
          EXPECT_EQ(entry.message, platform::dialogs::kDialogInitAddString);
          read.emplace_back(entry.controlId, platform::dialogs::DialogInitText(entry));
        }
        EXPECT_EQ(read, expected);

        // The dialog: its combo boxes hold the texts once it is created.
        HWND host = CreateWindowExW(0, L"Static", L"host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr,
                                    nullptr, nullptr);
        CDialog dialog(templateId);
        ASSERT_TRUE(dialog.Create(templateId, CWnd::FromHandle(host)));
        for (const auto& list : lists) {
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

  // The other lists take their texts from the module's configuration tag when they are bound.
  void ExpectNoOtherDialogInitData(const std::vector<Page>& pages, const std::vector<DeviceList>& lists) {
    for (const auto& language : languages_) {
      for (const auto& page : pages) {
        const bool hasDeviceList = std::any_of(lists.begin(), lists.end(), [&](const DeviceList& list) {
          return list.templateId == page.templateId;
        });
        if (hasDeviceList) continue;
        SCOPED_TRACE(std::string(language.name) + " " + page.name);
        EXPECT_TRUE(ResourceBytes(language.module, page.templateId, RT_DLGINIT).empty());
      }
    }
  }

  Language languages_[2];
  size_t windowsAtStart_ = 0, gdiAtStart_ = 0;

 private:
  // The texts, measured in the dialog the platform builds from the template.
  static void ExpectTextsFit(const Language& language, const Page& page, const DialogTemplate& dialog) {
    const std::vector<BYTE> bytes = ResourceBytes(language.module, page.templateId, RT_DIALOG);
    HWND host =
        CreateWindowExW(0, L"Static", L"host", WS_POPUP, 0, 0, 800, 600, nullptr, nullptr, nullptr, nullptr);
    HWND window = CreateDialogIndirectParamW(language.module, reinterpret_cast<LPCDLGTEMPLATEW>(bytes.data()),
                                             host, QuietDialogProc, 0);
    ASSERT_NE(window, nullptr);
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(window, WM_GETFONT, 0, 0));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(dc, font);
    size_t index = 0;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT), ++index) {
      ASSERT_LT(index, dialog.items.size());
      const DialogItem& item = dialog.items[index];
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
    EXPECT_EQ(index, dialog.items.size());
    SelectObject(dc, previous);
    DeleteDC(dc);
    DestroyWindow(window);
    DestroyWindow(host);
  }
};

}  // namespace pvtest::templates
