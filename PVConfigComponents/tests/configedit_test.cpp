// The configuration edit boxes. Through the host's door: the configuration test page holds a
// two-decimal float edit (both signs) and an integer edit ('+' only) bound to members of the
// simulated module's standard tag; the host opens, activates, saves, refreshes and flushes
// the page, and the user types, pastes and moves the focus. Below the door, for what no page
// does (bindings with bad settings, the enable condition, the text colour): the controls on
// bare edit windows, bound to value objects over the small module definition.
#include <HostServices.h>
#include <HostTexts.h>
#include <HostViewConnector.h>
#include <oleauto.h>
#include <wingdi.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "ConfigPageHost.h"
#include "ConfigTestSupport.h"
#include "ControlDoubles.h"
#include "PVCtrlConfigEditFloat.h"
#include "PVCtrlConfigEditInteger.h"
#include "PVGetSetFloat.h"
#include "PVGetSetLong.h"

namespace {

namespace win = platform::windows;
using configpage::ConfigPage;
using configpage::Lines;
using configpage::Retype;
using Texts = std::vector<std::wstring>;

constexpr HRESULT kEmptyText = static_cast<HRESULT>(0x80040214);

std::pair<int, int> SelectionOf(HWND edit) {
  DWORD start = 0, end = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return {static_cast<int>(start), static_cast<int>(end)};
}

using pvtest::IsReadOnly;

// The focus in the box, its text set (as a program sets it) and the selection placed.
void Prepare(HWND edit, const wchar_t* text, int start, int end) {
  ASSERT_TRUE(win::FocusControl(edit));
  SetWindowTextW(edit, text);
  SendMessageW(edit, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(end));
}

// ---------------------------------------------------------------------------------------------
// Through the host's door

class ConfigEdit : public configpage::ConfigPageHost {
 protected:
  void TearDown() override {
    win::ReleaseAllKeys();
    win::ResetClipboard();
    ConfigPageHost::TearDown();
  }

  static HWND Float(const ConfigPage& page) { return page.Item(IDC_CONFIG_FLOAT); }
  static HWND Integer(const ConfigPage& page) { return page.Item(IDC_CONFIG_INTEGER); }
  size_t DirtyNotices() const { return m_parent->dirtyNotices.size(); }
  static size_t Beeps() { return win::MessageBeeps().size(); }
  // The writes of the page's two edits' members that reached the tag: member, type, value.
  Texts EditWrites() const {
    Texts writes;
    for (const auto& write : StandardTag()->Writes()) {
      if (write.member != kConfigFloatMember && write.member != kConfigIntegerMember) continue;
      const wchar_t* type = write.vt == VT_R4 ? L"VT_R4" : write.vt == VT_I4 ? L"VT_I4" : L"another type";
      writes.push_back(write.member + L" " + type + L" " + write.value);
    }
    return writes;
  }
  // The error dialog the host showed for a rejected text of the member: the prompt's text
  // after the member name, its caption and its type.
  static hostsim::ErrorDialogRecord PromptFor(const wchar_t* member, LONG promptId) {
    const auto prompt = hostsim::FindHostPrompt(CLSID_PVInputPromptServer, promptId, hostsim::kEnglish);
    EXPECT_TRUE(prompt.has_value());
    if (!prompt) return {};
    return {std::wstring(member) + L":  " + prompt->text, prompt->caption, prompt->type};
  }
  static void ExpectDialog(const hostsim::ErrorDialogRecord& expected,
                           const hostsim::ErrorDialogRecord& seen) {
    EXPECT_EQ(seen.text, expected.text);
    EXPECT_EQ(seen.caption, expected.caption);
    EXPECT_EQ(seen.helpContext, expected.helpContext);
  }
};

TEST_F(ConfigEdit, TheBoxesShowTheStoredValuesWithTheirDecimalsAndLimits) {
  ASSERT_TRUE(StandardTag()->SetReal(kConfigFloatMember, 1.5f));
  ASSERT_TRUE(StandardTag()->SetInteger(kConfigIntegerMember, 42));
  ConfigPage page = OpenActive();
  HRESULT combo = E_UNEXPECTED, floatEdit = E_UNEXPECTED, integerEdit = E_UNEXPECTED;
  ASSERT_HR(S_OK, page.test->GetBindResults(&combo, &floatEdit, &integerEdit));
  EXPECT_HR(S_OK, floatEdit);
  EXPECT_HR(S_OK, integerEdit);
  EXPECT_EQ(win::TextOf(Float(page)), L"1.50");
  EXPECT_EQ(win::TextOf(Integer(page)), L"42");
  EXPECT_EQ(SendMessageW(Float(page), EM_GETLIMITTEXT, 0, 0), kConfigFloatTextLimit);
  EXPECT_EQ(SendMessageW(Integer(page), EM_GETLIMITTEXT, 0, 0), kConfigIntegerTextLimit);
  EXPECT_EQ(DirtyNotices(), 0u) << "showing the stored values changes nothing";
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(EditWrites(), Texts{}) << "clean boxes write nothing";
  page.Release();
}

TEST_F(ConfigEdit, EveryTypedCharacterIsJudgedWithTheBoxsSignRules) {
  const struct {
    const char* name;
    int box;
    const wchar_t* text;
    int start, end;
    const wchar_t* typed;
    int heldKey;  // 0: none
    const wchar_t* result;
    bool beeps;
  } cases[] = {
      {"'-' first in the float box (both signs)", IDC_CONFIG_FLOAT, L"12", 0, 0, L"-", 0, L"-12", false},
      {"'-' first in the integer box ('+' only)", IDC_CONFIG_INTEGER, L"12", 0, 0, L"-", 0, L"12", true},
      {"'+' first in the integer box", IDC_CONFIG_INTEGER, L"12", 0, 0, L"+", 0, L"+12", false},
      {"a sign after the first position", IDC_CONFIG_FLOAT, L"12", 1, 1, L"-", 0, L"12", true},
      {"a second decimal point", IDC_CONFIG_FLOAT, L"1.5", 3, 3, L".", 0, L"1.5", true},
      {"a decimal point over the selected one", IDC_CONFIG_FLOAT, L"1.5", 1, 2, L".", 0, L"1.5", false},
      {"a decimal point in the integer box", IDC_CONFIG_INTEGER, L"12", 2, 2, L".", 0, L"12", true},
      {"a digit in front of the sign", IDC_CONFIG_FLOAT, L"-12", 0, 0, L"5", 0, L"-12", true},
      {"a letter", IDC_CONFIG_FLOAT, L"12", 2, 2, L"e", 0, L"12", true},
      {"a letter with Alt held goes to the edit", IDC_CONFIG_FLOAT, L"12", 2, 2, L"e", VK_MENU, L"12e",
       false},
      {"backspace", IDC_CONFIG_FLOAT, L"12", 2, 2, L"\b", 0, L"1", false},
      {"a digit beyond the text limit", IDC_CONFIG_INTEGER, L"12345", 5, 5, L"6", 0, L"12345", false},
  };
  ConfigPage page = OpenActive();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = page.Item(c.box);
    Prepare(edit, c.text, c.start, c.end);
    const size_t beeps = Beeps();
    if (c.heldKey) win::SetKeyDown(c.heldKey, true);
    ASSERT_TRUE(win::TypeText(edit, c.typed));
    win::ReleaseAllKeys();
    EXPECT_EQ(win::TextOf(edit), c.result);
    EXPECT_EQ(Beeps() - beeps, c.beeps ? 1u : 0u);
  }
  EXPECT_EQ(win::MessageBeeps(), std::vector<UINT>(6, 0u)) << "every refusal beeps with MessageBeep(0)";
  page.Release();
}

TEST_F(ConfigEdit, CtrlASelectsEverythingAndCtrlVArrivesAsAJudgedPaste) {
  ConfigPage page = OpenActive();
  HWND edit = Integer(page);
  Prepare(edit, L"123", 1, 1);
  const int scrolls = win::ScrollCaretCount(edit);
  win::SetKeyDown(VK_CONTROL, true);
  ASSERT_TRUE(win::TypeText(edit, L"\x01"));
  EXPECT_EQ(SelectionOf(edit), std::make_pair(0, 3));
  EXPECT_EQ(win::ScrollCaretCount(edit), scrolls + 1);
  EXPECT_EQ(win::TextOf(edit), L"123");

  ASSERT_TRUE(win::PutClipboardText(L"-5"));
  ASSERT_TRUE(win::TypeText(edit, L"\x16"));
  EXPECT_EQ(win::TextOf(edit), L"123") << "the box forbids '-'";
  EXPECT_EQ(win::MessageBeeps(), std::vector<UINT>{0u});
  ASSERT_TRUE(win::PutClipboardText(L"7"));
  ASSERT_TRUE(win::TypeText(edit, L"\x16"));
  EXPECT_EQ(win::TextOf(edit), L"7");
  EXPECT_EQ(win::MessageBeeps().size(), 1u);
  page.Release();
}

TEST_F(ConfigEdit, APasteIsJudgedByTheWholeTextItWouldLeave) {
  const struct {
    const char* name;
    int box;
    const wchar_t* text;
    int start, end;
    std::optional<std::wstring> clipboard;  // none: the clipboard holds no text
    const wchar_t* result;
    bool beeps;
  } cases[] = {
      {"a digit between blanks goes in bare", IDC_CONFIG_FLOAT, L"12", 2, 2, L" 7 ", L"127", false},
      {"a number over the selection", IDC_CONFIG_FLOAT, L"1.5", 0, 3, L"-2.25", L"-2.25", false},
      {"a text that would hold two points", IDC_CONFIG_FLOAT, L"1.5", 3, 3, L".5", L"1.5", true},
      {"a minus the box forbids", IDC_CONFIG_INTEGER, L"", 0, 0, L"-5", L"", true},
      {"a lone decimal point", IDC_CONFIG_FLOAT, L"12", 0, 0, L".", L"12", true},
      {"digits and a letter", IDC_CONFIG_INTEGER, L"12", 2, 2, L"3a", L"12", true},
      {"no text on the clipboard", IDC_CONFIG_FLOAT, L"12", 2, 2, std::nullopt, L"12", false},
  };
  ConfigPage page = OpenActive();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = page.Item(c.box);
    Prepare(edit, c.text, c.start, c.end);
    win::ResetClipboard();
    if (c.clipboard) {
      ASSERT_TRUE(win::PutClipboardText(*c.clipboard));
    }
    const size_t beeps = Beeps();
    ASSERT_TRUE(win::Paste(edit));
    EXPECT_EQ(win::TextOf(edit), c.result);
    EXPECT_EQ(Beeps() - beeps, c.beeps ? 1u : 0u);
  }
  page.Release();
}

TEST_F(ConfigEdit, ARejectedTextIsShownWithItsMemberAndStaysPending) {
  const struct {
    const char* name;
    std::function<HRESULT(const ConfigPage&)> save;
  } cases[] = {
      {"Save", [](const ConfigPage& p) { return p.child->Save(); }},
      {"OnDeactivate", [](const ConfigPage& p) { return p.child->OnDeactivate(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    m_parent->errorDialogs.clear();
    ConfigPage page = OpenActive();
    HWND edit = Float(page);
    Retype(edit, L"");
    ASSERT_EQ(win::TextOf(edit), L"");
    for (size_t attempt = 1; attempt <= 2; ++attempt) {
      EXPECT_HR(kEmptyText, c.save(page)) << "attempt " << attempt;
      ASSERT_EQ(m_parent->errorDialogs.size(), attempt) << "the control stays dirty: each attempt is refused";
      ExpectDialog(PromptFor(kConfigFloatMember, 2), m_parent->errorDialogs.back());
    }
    EXPECT_EQ(GetFocus(), edit);
    EXPECT_EQ(win::TextOf(edit), L"");
    EXPECT_EQ(EditWrites(), Texts{});
    page.Release();
  }
}

TEST_F(ConfigEdit, RefreshKeepsThePendingTextUntilItIsSavedOrReverted) {
  ConfigPage page = OpenActive();
  HWND edit = Integer(page);
  Retype(edit, L"7");
  ASSERT_TRUE(StandardTag()->SetInteger(kConfigIntegerMember, 9));  // the host changes the member meanwhile
  EXPECT_HR(S_OK, page.child->Refresh());
  EXPECT_HR(S_OK, page.events->DataChanged());
  EXPECT_EQ(win::TextOf(edit), L"7") << "the user's text stays";
  EXPECT_HR(S_OK, page.events->Reverted());
  EXPECT_EQ(win::TextOf(edit), L"9") << "a revert shows the stored value again";
  EXPECT_EQ(EditWrites(), Texts{});
  page.Release();
}

TEST_F(ConfigEdit, AFlushOfRejectedTextWritesNothingAndKeepsTheText) {
  // The stored value has more decimals than the box shows.
  ASSERT_TRUE(StandardTag()->SetReal(kConfigFloatMember, 2.71828f));
  ConfigPage page = OpenActive();
  HWND edit = Float(page);
  ASSERT_EQ(win::TextOf(edit), L"2.72");
  Retype(edit, L"");
  EXPECT_HR(kEmptyText, page.events->Flush()) << "the text could not be stored";
  EXPECT_EQ(EditWrites(), Texts{}) << "the member nobody edited keeps its value";
  hostsim::MemberValue stored;
  ASSERT_TRUE(StandardTag()->GetValue(kConfigFloatMember, &stored));
  EXPECT_EQ(stored.real, 2.71828f);
  EXPECT_EQ(win::TextOf(edit), L"");
  EXPECT_TRUE(m_parent->errorDialogs.empty()) << "a flush shows nothing";

  EXPECT_HR(kEmptyText, page.child->Save()) << "the next save still refuses the text";
  ASSERT_EQ(m_parent->errorDialogs.size(), 1u);
  ExpectDialog(PromptFor(kConfigFloatMember, 2), m_parent->errorDialogs[0]);
  page.Release();
}

TEST_F(ConfigEdit, EachWayOfSavingWritesTheTypedValuesWithTheirTypesOnce) {
  const struct {
    const char* name;
    std::function<HRESULT(const ConfigPage&)> save;
  } cases[] = {
      {"Save", [](const ConfigPage& p) { return p.child->Save(); }},
      {"OnDeactivate", [](const ConfigPage& p) { return p.child->OnDeactivate(); }},
      {"Flush", [](const ConfigPage& p) { return p.events->Flush(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t before = EditWrites().size();
    ConfigPage page = OpenActive();
    Retype(Float(page), L"-12.345");
    Retype(Integer(page), L"+45");
    EXPECT_HR(S_OK, c.save(page));
    const Texts writes = EditWrites();
    EXPECT_EQ(Texts(writes.begin() + static_cast<long>(before), writes.end()),
              (Texts{std::wstring(kConfigFloatMember) + L" VT_R4 -12.35",
                     std::wstring(kConfigIntegerMember) + L" VT_I4 45"}));
    EXPECT_HR(S_OK, c.save(page));
    EXPECT_EQ(EditWrites().size(), before + 2) << "clean after the write";
    page.Release();
  }
}

TEST_F(ConfigEdit, LeavingABoxPutsItsTextInNormalForm) {
  const struct {
    const char* name;
    int box;
    const wchar_t* typed;
    const wchar_t* shown;
  } cases[] = {
      {"a missing decimal", IDC_CONFIG_FLOAT, L"1.5", L"1.50"},
      {"a third decimal rounds half away from zero", IDC_CONFIG_FLOAT, L"-1.005", L"-1.01"},
      {"leading zeros", IDC_CONFIG_FLOAT, L"007", L"7.00"},
      {"leading zeros of an integer", IDC_CONFIG_INTEGER, L"007", L"7"},
      {"an empty float box stays empty", IDC_CONFIG_FLOAT, L"", L""},
      {"a lone sign stays as typed", IDC_CONFIG_INTEGER, L"+", L"+"},
  };
  ConfigPage page = OpenActive();
  HWND combo = page.Item(IDC_CONFIG_COMBO);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    HWND edit = page.Item(c.box);
    Retype(edit, c.typed);
    ASSERT_TRUE(win::FocusControl(combo));
    EXPECT_EQ(win::TextOf(edit), c.shown);
  }
  page.Release();
}

TEST_F(ConfigEdit, TheTextPutInNormalFormOnLeavingIsAChange) {
  ConfigPage page = OpenActive();
  HWND edit = Float(page);
  Retype(edit, L"1.5");
  ASSERT_HR(S_OK, page.child->Save());
  ASSERT_EQ(win::TextOf(edit), L"1.5") << "a save leaves the text as typed";
  m_parent->dirtyNotices.clear();
  ASSERT_TRUE(win::FocusControl(Integer(page)));
  EXPECT_EQ(win::TextOf(edit), L"1.50");
  EXPECT_EQ(DirtyNotices(), 1u) << "the page learns of the change";
  EXPECT_HR(S_OK, page.child->Save());
  EXPECT_EQ(EditWrites().size(), 2u) << "the control was dirty again";
  page.Release();
}

TEST_F(ConfigEdit, AForceableMembersBoxStaysEnabledButBecomesReadOnly) {
  // The rule over every tag suffix and controller mode: a member whose tag can be forced
  // ("O", "EO") keeps its box enabled and makes it read-only where the enable rule says no
  // (modes 4 and 8); any other box is enabled or disabled.
  const wchar_t* const suffixes[] = {L"", L"o", L"E", L"O", L"EO"};
  const LONG modes[] = {0, 4, 8, 1, 0};
  for (const wchar_t* suffix : suffixes) {
    StandardTag()->SetSuffix(suffix);
    const std::wstring name(suffix);
    const bool forceable = name == L"O" || name == L"EO";
    ConfigPage page = OpenActive();
    for (LONG mode : modes) {
      SCOPED_TRACE(configpage::Narrow(L"suffix \"" + name + L"\", mode " + std::to_wstring(mode)));
      const bool ruleAllows = mode != 4 && mode != 8;
      m_parent->vexil.mode = mode;
      EXPECT_HR(S_OK, page.events->VexilStateChanged(mode));
      for (HWND edit : {Float(page), Integer(page)}) {
        EXPECT_EQ(IsWindowEnabled(edit) != FALSE, forceable || ruleAllows);
        EXPECT_EQ(IsReadOnly(edit), forceable && !ruleAllows);
      }
    }
    page.Release();
  }

  // A read-only box taking the focus puts the caret at the end of its text, also when the
  // whole text is selected (as tabbing into a box leaves it).
  StandardTag()->SetSuffix(L"O");
  ConfigPage page = OpenActive();
  m_parent->vexil.mode = 4;
  ASSERT_HR(S_OK, page.events->VexilStateChanged(4));
  HWND edit = Float(page);
  ASSERT_TRUE(IsReadOnly(edit));
  const int scrolls = win::ScrollCaretCount(edit);
  SendMessageW(edit, EM_SETSEL, 0, -1);
  ASSERT_TRUE(win::FocusControl(edit));
  const int end = static_cast<int>(win::TextOf(edit).size());
  EXPECT_EQ(SelectionOf(edit), std::make_pair(end, end));
  EXPECT_EQ(win::ScrollCaretCount(edit), scrolls + 1);
  page.Release();
}

TEST_F(ConfigEdit, AValidationErrorOfItsMemberIsShownByItsBox) {
  ICreateErrorInfoPtr create;
  ASSERT_HR(S_OK, CreateErrorInfo(&create));
  create->SetDescription(const_cast<LPOLESTR>(L"The value does not fit the sensor."));
  create->SetHelpFile(const_cast<LPOLESTR>(L"Corvane.chm"));
  create->SetHelpContext(78);
  IErrorInfoPtr info(create);
  IErrorInfo* raw = info;
  const struct {
    const wchar_t* member;
    int box;  // 0: no box takes it
  } cases[] = {
      {kConfigFloatMember, IDC_CONFIG_FLOAT},
      {kConfigIntegerMember, IDC_CONFIG_INTEGER},
      {L"corr_volflow_ref_temperature", 0},  // member names are compared with their case
      {L"System_units_Mass_flow_unit", 0},   // a member no control of the page shows
  };
  ConfigPage page = OpenActive();
  for (const auto& c : cases) {
    SCOPED_TRACE(configpage::Narrow(c.member));
    m_parent->errorDialogs.clear();
    EXPECT_HR(c.box ? S_OK : E_FAIL, page.child->OnValidationError(5, _bstr_t(c.member), &raw));
    ASSERT_EQ(m_parent->errorDialogs.size(), c.box ? 1u : 0u);
    if (!c.box) continue;
    ExpectDialog({L"The value does not fit the sensor.", L"Corvane.chm", 78}, m_parent->errorDialogs[0]);
    EXPECT_EQ(GetFocus(), page.Item(c.box));
  }
  page.Release();
}

// ---------------------------------------------------------------------------------------------
// Below the door

using pvconfigtest::FixedCondition;
using pvconfigtest::ParentPage;

// Edit controls subclassed onto bare edit windows in a host window, with no page unless a
// test gives them one; value objects on the small definition's "Level" (REAL 0.5) and
// "Count" (DINT 3).
class BareEdit : public pvconfigtest::ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    m_windowsAtStart = win::LiveWindowCount();
  }
  void TearDown() override {
    EXPECT_EQ(win::LiveWindowCount(), m_windowsAtStart);
    ConfigFixture::TearDown();
  }
  // The control on a new edit window holding "untouched".
  void Attach(CPVCtrlConfigEditCtrl& control) {
    HWND edit =
        CreateWindowExW(0, L"Edit", L"untouched", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, m_window.get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(9012)), nullptr, nullptr);
    ASSERT_NE(edit, nullptr);
    ASSERT_TRUE(control.SubclassWindow(edit));
  }
  IPVGetSetValuePtr Level(IPVGetSetAdapter* adapter) {
    return IPVGetSetValuePtr(new CPVGetSetFloat(L"Level", adapter), false);
  }
  IPVGetSetValuePtr Count() { return IPVGetSetValuePtr(new CPVGetSetLong(L"Count", m_adapter), false); }

  hostsim::HostWindow m_window;
  size_t m_windowsAtStart = 0;
};

TEST_F(BareEdit, OnlyAFirstBindingWithSoundSettingsTakes) {
  enum Kind { kFloat, kInteger, kCommon };
  enum Value { kNone, kLevel, kLevelWithoutAdapter, kCount };
  const struct {
    const char* name;
    Kind kind;
    Value value;
    DWORD signFlags;
    int decimalsOrType;  // the float's decimals, the common binding's data type code
    HRESULT result;
    Lines log;
  } cases[] = {
      {"float, both signs, 9 decimals", kFloat, kLevel, 3, 9, S_OK, {}},
      {"float, 0 decimals", kFloat, kLevel, 1, 0, S_OK, {}},
      {"float, no sign allowed", kFloat, kLevel, 0, 2, E_FAIL, {}},
      {"float, 10 decimals", kFloat, kLevel, 3, 10, E_FAIL, {}},
      {"float, -1 decimals", kFloat, kLevel, 3, -1, E_FAIL, {}},
      {"float, no value",
       kFloat,
       kNone,
       3,
       2,
       E_FAIL,
       {L"InterfaceIsValid: Error: Interface pointer check failed!"}},
      {"float, a value without adapter",
       kFloat,
       kLevelWithoutAdapter,
       3,
       2,
       E_FAIL,
       {L"InterfaceIsValid: Error: Interface pointer check failed!",
        L"CPVGetSetMemberNameValue::InitializationIsValid: Error: m_spIPVGetSetAdapter not initialized!"}},
      {"integer, '+' only", kInteger, kCount, 1, 0, S_OK, {}},
      {"integer, no sign allowed", kInteger, kCount, 0, 0, E_FAIL, {}},
      {"common, data type 5", kCommon, kCount, 0, 5, S_OK, {}},
      {"common, data type 6", kCommon, kCount, 3, 6, E_FAIL, {}},
  };
  constexpr int kLimit = 7;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IPVGetSetValuePtr value = c.value == kLevel                 ? Level(m_adapter)
                              : c.value == kLevelWithoutAdapter ? Level(nullptr)
                              : c.value == kCount               ? Count()
                                                                : nullptr;
    std::unique_ptr<CPVCtrlConfigEditCtrl> control;
    std::function<HRESULT(int)> bind;
    if (c.kind == kFloat) {
      auto* edit = new CPVCtrlConfigEditFloat(9012);
      control.reset(edit);
      bind = [&, edit](int limit) {
        return edit->Initialize(value, limit, c.signFlags, c.decimalsOrType, nullptr);
      };
    } else if (c.kind == kInteger) {
      auto* edit = new CPVCtrlConfigEditInteger(9012);
      control.reset(edit);
      bind = [&, edit](int limit) { return edit->Initialize(value, limit, c.signFlags, nullptr); };
    } else {
      control = std::make_unique<CPVCtrlConfigEditCtrl>(9012);
      bind = [&](int limit) {
        return control->Initialize(value, limit, c.signFlags, c.decimalsOrType, nullptr);
      };
    }
    Attach(*control);
    ASSERT_EQ(SendMessageW(*control, EM_GETLIMITTEXT, 0, 0), 1) << "one character until bound";
    TakeLog();
    EXPECT_HR(c.result, bind(kLimit));
    EXPECT_EQ(TakeLog(), c.log);
    if (SUCCEEDED(c.result)) {
      EXPECT_EQ(SendMessageW(*control, EM_GETLIMITTEXT, 0, 0), kLimit);
      EXPECT_HR(E_FAIL, bind(kLimit + 5)) << "a second binding is refused";
      EXPECT_EQ(SendMessageW(*control, EM_GETLIMITTEXT, 0, 0), kLimit) << "and leaves the limit alone";
    } else {
      EXPECT_EQ(SendMessageW(*control, EM_GETLIMITTEXT, 0, 0), 1);
      EXPECT_HR(E_FAIL, control->ReadValue(nullptr));
      EXPECT_HR(E_FAIL, control->WriteValue(nullptr));
      EXPECT_EQ(win::TextOf(*control), L"untouched");
    }
    control->DestroyWindow();
    TakeLog();
  }
  EXPECT_EQ(Tag()->Writes().size(), 0u);
}

TEST_F(BareEdit, TheEnableConditionCanOnlyDisable) {
  hostsim::Ref<hostsim::HostParent> parent(hostsim::HostParent::Create(m_module));
  ParentPage page(parent.get());
  const struct {
    const char* name;
    HRESULT result;
    BOOL answer;
    bool enabled;
  } cases[] = {
      {"answers yes", S_OK, TRUE, true},
      {"answers no", S_OK, FALSE, false},
      {"fails", E_FAIL, TRUE, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    FixedCondition condition(c.result, c.answer);
    {
      CPVCtrlConfigEditFloat control(9012);
      ASSERT_HR(S_OK, control.SetIPVPropPageEnum(&page));
      ASSERT_HR(S_OK, control.Initialize(Level(m_adapter), 8, 1, 1, &condition));
      EXPECT_EQ(condition.References(), 2u) << "the control holds its own reference";
      EXPECT_EQ(control.GetEnableState() != FALSE, c.enabled);
      parent->vexil.mode = 4;
      EXPECT_FALSE(control.GetEnableState()) << "the default rule still applies";
      parent->vexil.mode = 0;
    }
    EXPECT_EQ(condition.References(), 1u) << "given back with the control";
  }
  TakeLog();
}

TEST_F(BareEdit, TheTextColourFollowsTheForceStateOfTheLastRefresh) {
  hostsim::Ref<hostsim::HostParent> parent(hostsim::HostParent::Create(m_module));
  ParentPage page(parent.get());
  CPVCtrlConfigEditFloat control(9012);
  Attach(control);
  ASSERT_HR(S_OK, control.SetIPVPropPageEnum(&page));
  ASSERT_HR(S_OK, control.Initialize(Level(m_adapter), 8, 1, 1, nullptr));
  hostsim::ViewConnectorState& host = *parent->viewConnector;
  constexpr COLORREF kUnset = 0x00123456;
  const struct {
    const char* name;
    bool forced, forcesEnabled, pending;
    bool answersApplication;
    HRESULT propertyResult;
    int forceState;
    HRESULT result;
    COLORREF color;
  } cases[] = {
      {"not forced", false, false, false, true, S_OK, 0, S_OK, GetSysColor(COLOR_WINDOWTEXT)},
      {"forced, forces disabled", true, false, false, true, S_OK, 1, S_OK, host.forcedColour},
      {"forced, forces enabled", true, true, false, true, S_OK, 2, S_OK, host.forcedEnabledColour},
      {"forced while the user's text is pending", true, false, true, true, S_OK, 1, S_OK, host.forcedColour},
      {"no application object", true, true, false, false, S_OK, 2, S_OK, kUnset},
      {"a failed colour read", true, false, false, true, DISP_E_MEMBERNOTFOUND, 1, DISP_E_MEMBERNOTFOUND,
       kUnset},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CClientDC dc(&control);
    ASSERT_TRUE(Tag()->SetForced(L"Level", c.forced));
    Tag()->SetForcesEnabled(c.forcesEnabled ? VARIANT_TRUE : VARIANT_FALSE);
    host.answersApplicationInterface = c.answersApplication;
    host.propertyResult = c.propertyResult;
    SetWindowTextW(control, L"pending");
    if (c.pending) control.SetCtrlDirty();
    EXPECT_HR(S_OK, control.Refresh());
    EXPECT_EQ(win::TextOf(control), c.pending ? L"pending" : L"0.5");
    EXPECT_EQ(control.GetForceState(), c.forceState);
    SetTextColor(dc.GetSafeHdc(), kUnset);
    EXPECT_HR(c.result, control.SetTextColorFromForceState(&dc));
    EXPECT_EQ(GetTextColor(dc.GetSafeHdc()), c.color);
    ASSERT_HR(S_OK, control.ClearDirty());
  }
  control.DestroyWindow();
  TakeLog();
}

}  // namespace
