// The value objects on a real adapter over the simulated tag: which operations work in which
// class, the text forms with their format codes and conversions (prompts from the host's
// prompt server), the enumeration's two views, member names and ownership.
#include <PromptInfo.h>
#include <PVInputErrors.h>
#include <oleauto.h>

#include <functional>

#include "ConfigTestSupport.h"
#include "PVGetEnumStrings.h"
#include "PVGetSetEnum.h"
#include "PVGetSetFloat.h"
#include "PVGetSetLong.h"
#include "PVSetEvent.h"

namespace {

using pvconfigtest::ConfigFixture;
using pvconfigtest::Lines;

class ValueObjects : public ConfigFixture {
 protected:
  template <class T>
  IPVGetSetValuePtr Make(const wchar_t* member) {
    return IPVGetSetValuePtr(new T(member, m_adapter), false);
  }
  // The adapter's count, seen through an AddRef and Release pair.
  ULONG AdapterRefs() {
    m_adapter->AddRef();
    return m_adapter->Release();
  }
};

TEST_F(ValueObjects, TextFormsRefuseOtherFormatCodesWithoutLogging) {
  IPVGetSetValuePtr count = Make<CPVGetSetLong>(L"Count");
  IPVGetSetValuePtr level = Make<CPVGetSetFloat>(L"Level");
  IPVGetSetValuePtr texts = Make<CPVGetEnumStrings>(L"Unit");
  CString text(L"unchanged");
  const struct {
    const char* name;
    std::function<HRESULT()> call;
  } cases[] = {
      {"long GetValue 4", [&] { return count->GetValue(text, PV_FORMAT_FLOAT, nullptr); }},
      {"long SetValue 6", [&] { return count->SetValue(CString(L"1"), PV_FORMAT_ENUM_STRINGS, nullptr); }},
      {"long GetMinValue 4", [&] { return count->GetMinValue(text, PV_FORMAT_FLOAT, nullptr); }},
      {"long GetMaxValue 5", [&] { return count->GetMaxValue(text, 5, nullptr); }},
      {"float GetValue 3", [&] { return level->GetValue(text, 2, PV_FORMAT_INTEGER, nullptr); }},
      {"float SetValue 6",
       [&] { return level->SetValue(CString(L"1"), 2, PV_FORMAT_ENUM_STRINGS, nullptr); }},
      {"float GetMaxValue 3", [&] { return level->GetMaxValue(text, 2, PV_FORMAT_INTEGER, nullptr); }},
      {"strings GetValue 3", [&] { return texts->GetValue(text, PV_FORMAT_INTEGER, nullptr); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_HR(E_FAIL, c.call());
    EXPECT_EQ(std::wstring(L"unchanged"), text.GetString());
    EXPECT_EQ(Lines{}, TakeLog());
  }
  EXPECT_TRUE(Tag()->Writes().empty());
}

TEST_F(ValueObjects, OperationsAClassDoesNotOfferAreLoggedAsUnsupported) {
  IPVGetSetValuePtr count = Make<CPVGetSetLong>(L"Count");
  IPVGetSetValuePtr level = Make<CPVGetSetFloat>(L"Level");
  IPVGetSetValuePtr unit = Make<CPVGetSetEnum>(L"Unit");
  CString text;
  float number = 0;
  LONG whole = 0;
  bool flag = false;
  VARIANT raw;
  VariantInit(&raw);
  const struct {
    const char* name;
    std::function<HRESULT()> call;
    const wchar_t* function;
  } cases[] = {
      {"float text form", [&] { return level->GetValue(text, PV_FORMAT_FLOAT, nullptr); }, L"GetValue"},
      {"long float", [&] { return count->GetValue(&number, nullptr); }, L"GetValue"},
      {"float long", [&] { return level->SetValue(LONG{4}, nullptr); }, L"SetValue"},
      {"long bool", [&] { return count->GetValue(&flag, nullptr); }, L"GetValue"},
      {"float min long", [&] { return level->GetMinValue(&whole, nullptr); }, L"GetMinValue"},
      {"long max float", [&] { return count->GetMaxValue(&number, nullptr); }, L"GetMaxValue"},
      {"default", [&] { return count->GetDefaultValue(&whole, nullptr); }, L"GetDefaultValue"},
      {"test", [&] { return level->TestValue(1.0f, nullptr); }, L"TestValue"},
      {"raw", [&] { return unit->GetRawValue(&raw, nullptr); }, L"GetRawValue"},
      {"to default", [&] { return unit->SetToDefaultValue(nullptr); }, L"SetToDefaultValue"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_HR(E_FAIL, c.call());
    EXPECT_EQ(Lines{std::wstring(L"CPVGetSetValue::") + c.function + L": Unsupported operation."}, TakeLog());
  }
}

TEST_F(ValueObjects, NumbersAndTheirTextsGoThroughTheAdapter) {
  IPVGetSetValuePtr count = Make<CPVGetSetLong>(L"Count");
  IPVGetSetValuePtr level = Make<CPVGetSetFloat>(L"Level");
  CString text;
  EXPECT_HR(S_OK, count->GetValue(text, PV_FORMAT_INTEGER, nullptr));
  EXPECT_EQ(std::wstring(L"3"), text.GetString());
  EXPECT_HR(S_OK, count->GetMinValue(text, PV_FORMAT_INTEGER, nullptr));
  EXPECT_EQ(std::wstring(L"-9"), text.GetString());
  EXPECT_HR(S_OK, count->SetValue(CString(L"42"), PV_FORMAT_INTEGER, nullptr));
  EXPECT_HR(S_OK, level->GetValue(text, 2, PV_FORMAT_FLOAT, nullptr));
  EXPECT_EQ(std::wstring(L"0.50"), text.GetString());
  EXPECT_HR(S_OK, level->GetMaxValue(text, 1, PV_FORMAT_FLOAT, nullptr));
  EXPECT_EQ(std::wstring(L"100.0"), text.GetString());
  EXPECT_HR(S_OK, level->SetValue(CString(L"12.345"), 2, PV_FORMAT_FLOAT, nullptr));
  ASSERT_EQ(2u, Tag()->Writes().size());
  EXPECT_EQ(std::wstring(L"42"), Tag()->Writes()[0].value);
  EXPECT_EQ(VT_I4, Tag()->Writes()[0].vt);
  EXPECT_EQ(VT_R4, Tag()->Writes()[1].vt);
  float stored = 0;
  EXPECT_HR(S_OK, level->GetValue(&stored, nullptr));
  EXPECT_FLOAT_EQ(12.35f, stored);
  EXPECT_EQ(Lines{}, TakeLog());
}

TEST_F(ValueObjects, RejectedTextWritesNothingAndNamesTheMemberInThePrompt) {
  IPVGetSetValuePtr count = Make<CPVGetSetLong>(L"Count");
  IPVGetSetValuePtr level = Make<CPVGetSetFloat>(L"Level");
  const struct {
    const char* name;
    std::function<HRESULT(CPromptInfo*)> call;
    HRESULT code;
    const wchar_t* text;
  } cases[] = {
      {"integer with a letter", [&](CPromptInfo* p) { return count->SetValue(CString(L"12a"), 3, p); },
       PV_E_INVALID_INTEGER, L"Count:  '12a' is not a valid whole number."},
      {"empty integer", [&](CPromptInfo* p) { return count->SetValue(CString(L""), 3, p); }, PV_E_EMPTY_TEXT,
       L"Count:  Please enter a value."},
      {"float with a letter", [&](CPromptInfo* p) { return level->SetValue(CString(L"1x"), 2, 4, p); },
       PV_E_INVALID_DECIMAL, L"Level:  '1x' is not a valid number."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    CPromptInfo prompt;
    EXPECT_HR(c.code, c.call(&prompt));
    EXPECT_EQ(std::wstring(c.text), prompt.m_text.GetString());
    EXPECT_HR(c.code, c.call(nullptr));  // without a prompt: the code alone
  }
  EXPECT_TRUE(Tag()->Writes().empty());
}

TEST_F(ValueObjects, AnEnumerationIsItsListPositionWhileALongReadsItsCode) {
  IPVGetSetValuePtr position = Make<CPVGetSetEnum>(L"Unit");
  IPVGetSetValuePtr code = Make<CPVGetSetLong>(L"Unit");
  LONG value = 0;
  EXPECT_HR(S_OK, position->GetValue(&value, nullptr));
  EXPECT_EQ(1, value);
  EXPECT_HR(S_OK, code->GetValue(&value, nullptr));
  EXPECT_EQ(20, value);
  EXPECT_HR(S_OK, position->SetValue(CString(L"2"), PV_FORMAT_INTEGER, nullptr));
  CString text;
  EXPECT_HR(S_OK, code->GetValue(text, PV_FORMAT_INTEGER, nullptr));
  EXPECT_EQ(std::wstring(L"-30"), text.GetString());
  EXPECT_HR(S_OK, code->SetValue(LONG{10}, nullptr));
  EXPECT_HR(S_OK, position->GetValue(text, PV_FORMAT_INTEGER, nullptr));
  EXPECT_EQ(std::wstring(L"0"), text.GetString());
  // An enumeration has no limits, and says so without a log line.
  EXPECT_HR(E_FAIL, position->GetMinValue(&value, nullptr));
  EXPECT_HR(E_FAIL, position->GetMaxValue(&value, nullptr));
  EXPECT_HR(E_FAIL, position->GetMinValue(text, PV_FORMAT_INTEGER, nullptr));
  EXPECT_EQ(Lines{}, TakeLog());
  // An absent member shows as no selection.
  IPVGetSetValuePtr absent = Make<CPVGetSetEnum>(L"Missing");
  EXPECT_HR(S_OK, absent->GetValue(&value, nullptr));
  EXPECT_EQ(-1, value);
}

TEST_F(ValueObjects, EnumerationTextsEachEndWithANewline) {
  IPVGetSetValuePtr texts = Make<CPVGetEnumStrings>(L"Unit");
  CString text;
  EXPECT_HR(S_OK, texts->GetValue(text, PV_FORMAT_ENUM_STRINGS, nullptr));
  EXPECT_EQ(std::wstring(L"ten\ntwenty\nminus\n"), text.GetString());
  const struct {
    const char* name;
    LONG lowerBound;
    std::vector<std::wstring> texts;
    const wchar_t* joined;
  } arrays[] = {{"lower bound 1", 1, {L"a", L"b", L"c"}, L"a\nb\nc\n"}, {"empty", 1, {}, L""}};
  for (const auto& c : arrays) {
    SCOPED_TRACE(c.name);
    Tag()->AnswerEnumStrings(L"Unit", c.lowerBound, c.texts);
    text = L"before";
    EXPECT_HR(S_OK, texts->GetValue(text, PV_FORMAT_ENUM_STRINGS, nullptr));
    EXPECT_EQ(std::wstring(c.joined), text.GetString());
  }
  IPVGetSetValuePtr absent = Make<CPVGetEnumStrings>(L"Missing");
  text = L"kept";
  EXPECT_HR(E_INVALIDARG, absent->GetValue(text, PV_FORMAT_ENUM_STRINGS, nullptr));
  EXPECT_EQ(std::wstring(L"kept"), text.GetString());
  EXPECT_EQ(
      (Lines{ReadReport(L"Missing"),
             L"CPVGetSetValue::ErrorReadingValue: Error: Reading value for member Missing from services!\n"}),
      TakeLog());
}

TEST_F(ValueObjects, AHostAnswerOfTheWrongTypeFailsTheRead) {
  Tag()->AnswerValueAs(L"Level", VT_R8);
  IPVGetSetValuePtr level = Make<CPVGetSetFloat>(L"Level");
  CString text(L"kept");
  EXPECT_HR(E_FAIL, level->GetValue(text, 2, PV_FORMAT_FLOAT, nullptr));
  EXPECT_EQ(std::wstring(L"kept"), text.GetString());
  EXPECT_EQ(Lines{ReadReport(L"Level")}, TakeLog());
}

TEST_F(ValueObjects, WithoutAnAdapterEveryTypedCallFails) {
  IPVGetSetValuePtr count(new CPVGetSetLong(L"Count", nullptr), false);
  LONG value = 0;
  CString text;
  EXPECT_HR(E_FAIL, count->GetValue(&value, nullptr));
  EXPECT_HR(E_FAIL, count->SetValue(CString(L"5"), PV_FORMAT_INTEGER, nullptr));
  EXPECT_HR(E_FAIL, count->InitializationIsValid());
  const std::wstring line =
      L"CPVGetSetMemberNameValue::InitializationIsValid: Error: m_spIPVGetSetAdapter not "
      L"initialized!";
  const std::wstring check = L"InterfaceIsValid: Error: Interface pointer check failed!";
  EXPECT_EQ((Lines{check, line, check, line, check, line}), TakeLog());
}

TEST_F(ValueObjects, MemberNamesAreExactAndAMissingNameIsLogged) {
  IPVGetSetValuePtr count = Make<CPVGetSetLong>(L"Count");
  EXPECT_HR(S_OK, count->HasMemberName(L"Count"));
  EXPECT_HR(E_FAIL, count->HasMemberName(L"count"));
  CString name;
  EXPECT_HR(S_OK, count->GetMemberNameAt(0, name));
  EXPECT_EQ(std::wstring(L"Count"), name.GetString());
  EXPECT_HR(E_FAIL, count->GetMemberNameAt(1, name));
  EXPECT_EQ(Lines{L"CPVGetSetValue::GetMemberName: Invalid index 1 or invalid member name  returned\n"},
            TakeLog());

  const struct {
    const wchar_t* name;
    const wchar_t* line;
  } cases[] = {{nullptr, L"CPVGetSetValue::AddMemberName: Invalid member name parameter."},
               {L"", L"CPVGetSetValue::AddMemberName: Empty string specified as member name."}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name ? "empty" : "null");
    IPVGetSetValuePtr unnamed = Make<CPVGetSetLong>(c.name);
    EXPECT_EQ((Lines{c.line, L"CPVGetSetValue::InitializationIsValid: Member name not initialized!"}),
              TakeLog());
    LONG value = 0;
    // The adapter is asked with an empty name, which the tag does not have.
    EXPECT_HR(E_FAIL, unnamed->GetValue(&value, nullptr));
    const Lines log = TakeLog();
    ASSERT_EQ(3u, log.size());
    EXPECT_EQ(L"CPVGetSetValue::GetMemberName: Invalid index 0 or invalid member name  returned\n", log[1]);
    EXPECT_EQ(ReadReport(L""), log[2]);
  }
}

// The protected member-name rules, reached through a derived class as a page's own value
// class would.
class NamedLong : public CPVGetSetLong {
 public:
  using CPVGetSetLong::CPVGetSetLong;
  using CPVGetSetValue::AddMemberName;
};

TEST_F(ValueObjects, AddingAMemberNameKeepsTheNamesAlreadyThere) {
  IPVGetSetValuePtr owner(new NamedLong(L"Count", m_adapter), false);
  NamedLong* value = static_cast<NamedLong*>(owner.GetInterfacePtr());
  const struct {
    const wchar_t* name;
    UINT index;
    BOOL added;
    const wchar_t* line;
  } cases[] = {
      {L"Second", 1, TRUE, nullptr},
      {L"Third", 5, FALSE, L"Failed to add member name."},
      {L"Count", 1, FALSE, nullptr},
      {L"Other", 0, FALSE, L"Overwriting existing member name."},
      {nullptr, 2, FALSE, L"Invalid member name parameter."},
      {L"", 2, FALSE, L"Empty string specified as member name."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.index);
    EXPECT_EQ(c.added, value->AddMemberName(c.name, c.index));
    EXPECT_EQ(c.line ? Lines{std::wstring(L"CPVGetSetValue::AddMemberName: ") + c.line} : Lines{}, TakeLog());
  }
  CString name;
  EXPECT_HR(S_OK, owner->GetMemberNameAt(0, name));
  EXPECT_EQ(std::wstring(L"Count"), name.GetString());
  EXPECT_HR(S_OK, owner->GetMemberNameAt(1, name));
  EXPECT_EQ(std::wstring(L"Second"), name.GetString());
  EXPECT_HR(S_OK, owner->HasMemberName(L"Second"));
}

class OneShot : public CPVSetEvent {
 public:
  explicit OneShot(const wchar_t* memberName) : CPVSetEvent(memberName) {}
};

TEST_F(ValueObjects, AnEventObjectOnlyKnowsItsName) {
  IPVSetEventPtr event(new OneShot(L"Totalizer_1_Reset"), false);
  EXPECT_HR(S_OK, event->InitializationIsValid());
  EXPECT_HR(E_FAIL, event->SetEvent());
  EXPECT_HR(E_FAIL, event->SetEvent(LONG{1}));
  CString name;
  EXPECT_HR(S_OK, event->GetMemberName(0, name));
  EXPECT_EQ(std::wstring(L"Totalizer_1_Reset"), name.GetString());
  EXPECT_HR(E_FAIL, event->GetMemberName(3, name));
  EXPECT_HR(S_OK, event->HasMemberName(L"Totalizer_1_Reset"));
  EXPECT_HR(E_FAIL, event->HasMemberName(L"totalizer_1_reset"));
  EXPECT_EQ((Lines{L"CPVSetEvent::SetEvent: Unsupported operation.",
                   L"CPVSetEvent::SetEvent: Unsupported operation.",
                   L"CPVSetEvent::GetMemberName: Invalid index 3 or invalid member name  returned\n"}),
            TakeLog());
  IPVSetEventPtr unnamed(new OneShot(L""), false);
  EXPECT_HR(E_FAIL, unnamed->InitializationIsValid());
  EXPECT_EQ((Lines{L"CPVSetEvent::AddMemberName: Member name parameter is empty string.",
                   L"CPVSetEvent::InitializationIsValid: Error: MemberName not initialized!"}),
            TakeLog());
}

TEST_F(ValueObjects, TheCreatorsReferenceIsTheOnlyOneAndHoldsTheAdapter) {
  const ULONG before = AdapterRefs();
  IPVGetSetValue* value = new CPVGetSetEnum(L"Unit", m_adapter);
  EXPECT_EQ(before + 1, AdapterRefs());
  IPVGetValueForcing* forcing = nullptr;
  ASSERT_HR(S_OK, value->QueryInterface(__uuidof(IPVGetValueForcing), reinterpret_cast<void**>(&forcing)));
  IUnknown* identity = nullptr;
  ASSERT_HR(S_OK, forcing->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity)));
  EXPECT_EQ(static_cast<IUnknown*>(value), identity);
  EXPECT_EQ(2u, identity->Release());
  EXPECT_EQ(1u, forcing->Release());
  IUnknown* other = nullptr;
  EXPECT_HR(E_NOINTERFACE,
            value->QueryInterface(__uuidof(IPVGetSetAdapter), reinterpret_cast<void**>(&other)));
  EXPECT_EQ(0u, value->Release());
  EXPECT_EQ(before, AdapterRefs());
}

}  // namespace
