// The tag adapter against the simulated module's configuration tag: the VARIANT type each
// typed read accepts, the exact type each write sends, absent members, host failures, the
// later interfaces' operations and the extension-property adapter.
#include <oleauto.h>
#include <wil/resource.h>

#include <cmath>
#include <functional>

#include "ConfigTestSupport.h"
#include "PVGetSetAdapterITagExtProperty.h"

namespace {

using pvconfigtest::ConfigFixture;
using pvconfigtest::Lines;

class Adapter : public ConfigFixture {};

// Every typed read, and the VARIANT types it accepts from the host.
struct TypedRead {
  const char* name;
  std::function<HRESULT(IPVGetSetAdapter4*, const wchar_t*)> call;
  VARTYPE accepted;
  VARTYPE alsoAccepted;
};

std::vector<TypedRead> TypedReads() {
  return {
      {"GetBool",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         BOOL v;
         return a->GetBool(m, &v, FALSE);
       },
       VT_BOOL, VT_EMPTY},
      {"GetFloat",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         float v;
         return a->GetFloat(m, &v);
       },
       VT_R4, VT_EMPTY},
      {"GetMinFloat",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         float v;
         return a->GetMinFloat(m, &v);
       },
       VT_R4, VT_EMPTY},
      {"GetMaxFloat",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         float v;
         return a->GetMaxFloat(m, &v);
       },
       VT_R4, VT_EMPTY},
      {"GetLong",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         LONG v;
         return a->GetLong(m, &v);
       },
       VT_I4, VT_EMPTY},
      {"GetMinLong",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         LONG v;
         return a->GetMinLong(m, &v);
       },
       VT_I4, VT_EMPTY},
      {"GetMaxLong",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         LONG v;
         return a->GetMaxLong(m, &v);
       },
       VT_I4, VT_EMPTY},
      {"GetString",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         CString v;
         return a->GetString(m, v);
       },
       VT_BSTR, VT_EMPTY},
      {"GetInt64",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         LONGLONG v;
         return a->GetInt64(m, &v);
       },
       VT_I4, VT_I8},
      {"GetMinInt64",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         LONGLONG v;
         return a->GetMinInt64(m, &v);
       },
       VT_I4, VT_I8},
      {"GetMaxInt64",
       [](IPVGetSetAdapter4* a, const wchar_t* m) {
         LONGLONG v;
         return a->GetMaxInt64(m, &v);
       },
       VT_I4, VT_I8},
  };
}

TEST_F(Adapter, EachReadAcceptsOnlyItsVariantTypesAndNeverConverts) {
  // "Count" (a DINT of 3, limits -9 and 99) answered as each type in turn.
  const VARTYPE answered[] = {VT_BOOL, VT_I4, VT_I8, VT_R4, VT_R8, VT_BSTR};
  for (const TypedRead& read : TypedReads()) {
    for (VARTYPE vt : answered) {
      SCOPED_TRACE(std::string(read.name) + " answered as VT " + std::to_string(vt));
      Tag()->AnswerValueAs(L"Count", vt);
      const bool accepted = vt == read.accepted || vt == read.alsoAccepted;
      EXPECT_HR(accepted ? S_OK : E_FAIL, read.call(m_adapter, L"Count"));
      EXPECT_EQ(accepted ? Lines{} : Lines{ReadReport(L"Count")}, TakeLog());
    }
  }
}

TEST_F(Adapter, AnAbsentMemberFailsEveryReadButTheEnumerationAndExistence) {
  for (const TypedRead& read : TypedReads()) {
    SCOPED_TRACE(read.name);
    EXPECT_HR(E_FAIL, read.call(m_adapter, L"count"));  // member names are case-sensitive
    EXPECT_EQ(Lines{ReadReport(L"count")}, TakeLog());
  }
  LONG index = 7;
  EXPECT_HR(S_OK, m_adapter->GetEnum(L"Missing", &index));
  EXPECT_EQ(-1, index);
  VARIANT_BOOL exists = VARIANT_TRUE;
  EXPECT_HR(S_OK, m_adapter->GetMemberExists(L"Missing", &exists));
  EXPECT_EQ(VARIANT_FALSE, exists);
  EXPECT_HR(S_OK, m_adapter->GetMemberExists(L"Unit", &exists));
  EXPECT_EQ(VARIANT_TRUE, exists);
  EXPECT_EQ(Lines{}, TakeLog());
}

TEST_F(Adapter, OtherHostFailuresAreReportedAndPassedOn) {
  Tag()->FailOperation(L"Unit", hostsim::TagOperation::kEnumRead, E_ACCESSDENIED);
  Tag()->FailOperation(L"Unit", hostsim::TagOperation::kValueRead, E_ACCESSDENIED);
  LONG index = 7;
  EXPECT_HR(E_ACCESSDENIED, m_adapter->GetEnum(L"Unit", &index));
  EXPECT_EQ(-1, index);
  EXPECT_EQ(Lines{ReadReport(L"Unit")}, TakeLog());
  VARIANT_BOOL exists = VARIANT_TRUE;
  EXPECT_HR(E_ACCESSDENIED, m_adapter->GetMemberExists(L"Unit", &exists));
  EXPECT_EQ(VARIANT_TRUE, exists);  // unchanged
  EXPECT_EQ(Lines{L"CPVGetSetAdapterITag::GetMemberExists: Failed to get value for reason other than "
                  L"non-existance."},
            TakeLog());
  LONG code = 0;
  EXPECT_HR(E_FAIL, m_adapter->GetLong(L"Unit", &code));  // a VARIANT read loses the host's code
  EXPECT_EQ(Lines{ReadReport(L"Unit")}, TakeLog());
}

TEST_F(Adapter, ReadsGiveTheMembersValues) {
  BOOL on = FALSE;
  EXPECT_HR(S_OK, m_adapter->GetBool(L"On", &on, FALSE));
  EXPECT_EQ(TRUE, on);
  EXPECT_HR(S_OK, m_adapter->GetBool(L"On", &on, TRUE));
  EXPECT_EQ(FALSE, on);
  float level = 0;
  EXPECT_HR(S_OK, m_adapter->GetFloat(L"Level", &level));
  EXPECT_FLOAT_EQ(0.5f, level);
  EXPECT_HR(S_OK, m_adapter->GetMaxFloat(L"Level", &level));
  EXPECT_FLOAT_EQ(100.0f, level);
  LONG count = 0;
  EXPECT_HR(S_OK, m_adapter->GetMinLong(L"Count", &count));
  EXPECT_EQ(-9, count);
  LONGLONG wide = 0;
  EXPECT_HR(S_OK, m_adapter->GetInt64(L"Negative", &wide));
  EXPECT_EQ(-5, wide);
  EXPECT_HR(S_OK, m_adapter->GetInt64(L"Big", &wide));
  EXPECT_EQ(5000000000LL, wide);
  CString name;
  EXPECT_HR(S_OK, m_adapter->GetString(L"Name", name));
  EXPECT_EQ(std::wstring(L"abc"), name.GetString());
  LONG index = 0;
  EXPECT_HR(S_OK, m_adapter->GetEnum(L"Unit", &index));
  EXPECT_EQ(1, index);
}

TEST_F(Adapter, WritesSendTheExactVariantType) {
  const struct {
    const char* name;
    std::function<HRESULT(IPVGetSetAdapter4*)> call;
    const wchar_t* member;
    VARTYPE vt;
    const wchar_t* value;
  } cases[] = {
      {"SetFloat", [](IPVGetSetAdapter4* a) { return a->SetFloat(L"Level", 0.1f); }, L"Level", VT_R4, L"0.1"},
      {"SetLong", [](IPVGetSetAdapter4* a) { return a->SetLong(L"Count", -7); }, L"Count", VT_I4, L"-7"},
      {"SetBool", [](IPVGetSetAdapter4* a) { return a->SetBool(L"On", FALSE, FALSE); }, L"On", VT_BOOL, L"0"},
      {"SetBool inverted", [](IPVGetSetAdapter4* a) { return a->SetBool(L"On", TRUE, TRUE); }, L"On", VT_BOOL,
       L"0"},
      {"SetBool inverted zero", [](IPVGetSetAdapter4* a) { return a->SetBool(L"On", FALSE, TRUE); }, L"On",
       VT_BOOL, L"-1"},
      {"SetString", [](IPVGetSetAdapter4* a) { return a->SetString(L"Name", CString(L"xyz")); }, L"Name",
       VT_BSTR, L"xyz"},
      {"SetInt64", [](IPVGetSetAdapter4* a) { return a->SetInt64(L"Big", -6000000000LL); }, L"Big", VT_I8,
       L"-6000000000"},
      {"SetEnum", [](IPVGetSetAdapter4* a) { return a->SetEnum(L"Unit", 2); }, L"Unit", VT_I4, L"-30"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_HR(S_OK, c.call(m_adapter));
    ASSERT_FALSE(Tag()->Writes().empty());
    const auto& write = Tag()->Writes().back();
    EXPECT_EQ(std::wstring(c.member), write.member);
    EXPECT_EQ(c.vt, write.vt);
    EXPECT_EQ(std::wstring(c.value), write.value);
    VARIANT_BOOL dirty = VARIANT_FALSE;
    EXPECT_HR(S_OK, m_adapter->GetMemberDirtyState(c.member, &dirty));
    EXPECT_EQ(VARIANT_TRUE, dirty);
  }
  EXPECT_EQ(Lines{}, TakeLog());
}

TEST_F(Adapter, AFailedWriteIsReportedAndItsCodePassedOn) {
  Tag()->FailOperation(L"Count", hostsim::TagOperation::kValueWrite, E_ACCESSDENIED);
  Tag()->FailOperation(L"Unit", hostsim::TagOperation::kEnumWrite, E_ACCESSDENIED);
  EXPECT_HR(E_ACCESSDENIED, m_adapter->SetLong(L"Count", 4));
  EXPECT_EQ(Lines{SaveReport(L"Count")}, TakeLog());
  EXPECT_HR(E_ACCESSDENIED, m_adapter->SetEnum(L"Unit", 0));
  EXPECT_EQ(Lines{SaveReport(L"Unit")}, TakeLog());
  EXPECT_HR(DISP_E_OVERFLOW, m_adapter->SetFloat(L"Level", 1000.0f));  // the host's own refusal
  EXPECT_EQ(Lines{SaveReport(L"Level")}, TakeLog());
  EXPECT_TRUE(Tag()->Writes().empty());
}

TEST_F(Adapter, EnumerationTextsAndCodesComeInListOrder) {
  wil::unique_safearray texts;
  ASSERT_HR(S_OK, m_adapter->GetEnumStrings(L"Unit", texts.put()));
  wil::unique_safearray codes;
  ASSERT_HR(S_OK, m_adapter->GetEnumValues(L"Unit", codes.put()));
  const wchar_t* expectedTexts[] = {L"ten", L"twenty", L"minus"};
  const LONG expectedCodes[] = {10, 20, -30};
  for (LONG i = 0; i < 3; ++i) {
    BSTR text = nullptr;
    ASSERT_HR(S_OK, SafeArrayGetElement(texts.get(), &i, &text));
    EXPECT_EQ(std::wstring(expectedTexts[i]), text);
    SysFreeString(text);
    LONG code = 0;
    ASSERT_HR(S_OK, SafeArrayGetElement(codes.get(), &i, &code));
    EXPECT_EQ(expectedCodes[i], code);
  }
  EXPECT_HR(E_INVALIDARG, m_adapter->GetEnumStrings(L"Missing", texts.put()));
  EXPECT_EQ(Lines{ReadReport(L"Missing")}, TakeLog());
  Tag()->RefuseInterface(__uuidof(ITagEnumValues));
  EXPECT_HR(E_NOINTERFACE, m_adapter->GetEnumValues(L"Unit", codes.put()));
  EXPECT_EQ(Lines{ReadReport(L"Unit")}, TakeLog());
}

TEST_F(Adapter, TheLaterInterfacesReachTheTagsSecondVersion) {
  ITag2* tag = nullptr;
  ASSERT_HR(S_OK, m_adapter->GetITag(&tag));
  BSTR suffix = nullptr;
  EXPECT_HR(S_OK, tag->get_Suffix(&suffix));
  EXPECT_EQ(std::wstring(L"O"), suffix);
  SysFreeString(suffix);
  tag->Release();
  EXPECT_HR(E_POINTER, m_adapter->GetITag(nullptr));
  VARIANT_BOOL dirty = VARIANT_TRUE;
  EXPECT_HR(S_OK, m_adapter->GetMemberDirtyState(L"Count", &dirty));
  EXPECT_EQ(VARIANT_FALSE, dirty);
  EXPECT_HR(E_POINTER, m_adapter->GetMemberDirtyState(L"Count", nullptr));
  EXPECT_HR(E_INVALIDARG, m_adapter->GetMemberDirtyState(L"Missing", &dirty));
  EXPECT_EQ(
      (Lines{L"CPVGetSetAdapterITag::GetITag: Error: ppItag is not valid!\n",
             L"CPVGetSetAdapterITag::GetMemberDirtyState: Error: pIsDirty is not valid!\n",
             L"CPVGetSetAdapterITag::GetMemberDirtyState: Error: Checking the tag member dirty flag!\n"}),
      TakeLog());
  Tag()->RefuseInterface(__uuidof(ITag2));
  EXPECT_HR(E_NOINTERFACE, m_adapter->GetITag(&tag));
  EXPECT_EQ(nullptr, tag);
  EXPECT_HR(E_FAIL, m_adapter->GetMemberDirtyState(L"Count", &dirty));
  EXPECT_EQ(Lines{L"CPVGetSetAdapterITag::GetMemberDirtyState: Error: ITag2 interface is not valid!\n"},
            TakeLog());
}

TEST_F(Adapter, AnswersTheFirstThreeVersionsOnly) {
  const struct {
    const char* name;
    IID iid;
    HRESULT expected;
  } cases[] = {{"IUnknown", IID_IUnknown, S_OK},
               {"IPVGetSetAdapter", __uuidof(IPVGetSetAdapter), S_OK},
               {"IPVGetSetAdapter2", __uuidof(IPVGetSetAdapter2), S_OK},
               {"IPVGetSetAdapter3", __uuidof(IPVGetSetAdapter3), S_OK},
               {"IPVGetSetValue", __uuidof(IPVGetSetValue), E_NOINTERFACE},
               {"ITag", __uuidof(ITag), E_NOINTERFACE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    IUnknown* answered = nullptr;
    EXPECT_HR(c.expected, m_adapter->QueryInterface(c.iid, reinterpret_cast<void**>(&answered)));
    EXPECT_EQ(c.expected == S_OK, answered == static_cast<IPVGetSetAdapter4*>(m_adapter));
    if (answered) {
      EXPECT_EQ(1u, answered->Release());
    }
  }
}

TEST(AdapterWithoutTag, EveryOperationFailsWithTheInvalidTagLine) {
  pvtest::HostSession session;
  CPVGetSetAdapterITag* adapter = new CPVGetSetAdapterITag(nullptr);
  EXPECT_EQ(Lines{L"InterfaceIsValid: Error: Interface pointer check failed!"}, pvtest::LoggedSinceClear());
  const struct {
    const wchar_t* function;
    std::function<HRESULT()> call;
  } cases[] = {
      {L"GetVariant",
       [&] {
         float v;
         return adapter->GetFloat(L"Level", &v);
       }},
      {L"SetVariant", [&] { return adapter->SetLong(L"Count", 1); }},
      {L"GetMinVariant",
       [&] {
         LONG v;
         return adapter->GetMinLong(L"Count", &v);
       }},
      {L"GetMaxVariant",
       [&] {
         LONGLONG v;
         return adapter->GetMaxInt64(L"Count", &v);
       }},
      {L"GetEnum",
       [&] {
         LONG v;
         return adapter->GetEnum(L"Unit", &v);
       }},
      {L"SetEnum", [&] { return adapter->SetEnum(L"Unit", 0); }},
      {L"GetEnumStrings",
       [&] {
         SAFEARRAY* a = nullptr;
         return adapter->GetEnumStrings(L"Unit", &a);
       }},
      {L"GetEnumValues",
       [&] {
         SAFEARRAY* a = nullptr;
         return adapter->GetEnumValues(L"Unit", &a);
       }},
      {L"GetITag",
       [&] {
         ITag2* t = nullptr;
         return adapter->GetITag(&t);
       }},
      {L"GetMemberDirtyState",
       [&] {
         VARIANT_BOOL d;
         return adapter->GetMemberDirtyState(L"Unit", &d);
       }},
      {L"GetMemberExists",
       [&] {
         VARIANT_BOOL e;
         return adapter->GetMemberExists(L"Unit", &e);
       }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(pvconfigtest::Narrow(c.function));
    orvolog::ClearRecords();
    EXPECT_HR(E_FAIL, c.call());
    const Lines log = pvtest::LoggedSinceClear();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(
        std::wstring(L"CPVGetSetAdapterITag::") + c.function + L": Error: ITag interface is not valid!\n",
        log.front());
  }
  EXPECT_EQ(0u, adapter->Release());
}

TEST_F(Adapter, TheExtensionPropertyAdapterCarriesTextsOnly) {
  ITagExtProperty* properties = nullptr;
  ASSERT_HR(S_OK, Tag()->QueryInterface(__uuidof(ITagExtProperty), reinterpret_cast<void**>(&properties)));
  IPVGetSetAdapter* adapter = new CPVGetSetAdapterITagExtProperty(7, properties);
  properties->Release();
  CString text;
  EXPECT_HR(S_OK, adapter->SetString(L"Count", CString(L"note")));
  EXPECT_HR(S_OK, adapter->GetString(L"Count", text));
  EXPECT_EQ(std::wstring(L"note"), text.GetString());
  EXPECT_HR(E_FAIL, adapter->GetString(L"Missing", text));
  EXPECT_HR(E_INVALIDARG, adapter->SetString(L"Missing", CString(L"x")));
  EXPECT_EQ((Lines{ReadReport(L"Missing"), SaveReport(L"Missing")}), TakeLog());
  LONG value = 0;
  EXPECT_HR(E_NOTIMPL, adapter->GetLong(L"Count", &value));
  EXPECT_HR(E_NOTIMPL, adapter->SetFloat(L"Level", 1.0f));
  IUnknown* other = nullptr;
  EXPECT_HR(E_NOINTERFACE,
            adapter->QueryInterface(__uuidof(IPVGetSetAdapter2), reinterpret_cast<void**>(&other)));
  EXPECT_EQ(Lines{}, TakeLog());
  EXPECT_EQ(0u, adapter->Release());

  IPVGetSetAdapter* unbound = new CPVGetSetAdapterITagExtProperty(7, nullptr);
  orvolog::ClearRecords();
  EXPECT_HR(E_FAIL, unbound->GetString(L"Count", text));
  EXPECT_HR(E_FAIL, unbound->SetString(L"Count", text));
  EXPECT_EQ((Lines{L"CPVGetSetAdapterITagExtProperty::GetVariant: Error: ITag interface is not valid!\n",
                   ReadReport(L"Count"),
                   L"CPVGetSetAdapterITagExtProperty::SetVariant: Error: ITag interface is not valid!\n",
                   SaveReport(L"Count")}),
            TakeLog());
  unbound->Release();
}

}  // namespace
