// The simulated configuration tag: values of every type through the tag interface, the two
// views of an enumeration, limits, writes and the fault knobs.
#include <oleauto.h>
#include <platform/testing_hresult.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "ConfigurationTag.h"

namespace {

using platform::test_support::Hex;

hostsim::TagDefinition Definition() {
  std::string error;
  auto module = hostsim::ParseModuleDefinition(
      "<module name=\"M\"><tag name=\"M:C\">"
      "<member name=\"Unit\" type=\"enumeration\" default=\"20\">"
      "<entry code=\"10\" text=\"ten\"/><entry code=\"20\" text=\"twenty\"/><entry code=\"-30\" "
      "text=\"minus\"/>"
      "</member>"
      "<member name=\"Level\" type=\"REAL\" default=\"0.5\" min=\"0\" max=\"1\"/>"
      "<member name=\"Count\" type=\"DINT\" default=\"3\" min=\"0\" max=\"9\"/>"
      "<member name=\"Big\" type=\"LINT\" default=\"5000000000\"/>"
      "<member name=\"On\" type=\"BOOL\" default=\"true\"/>"
      "<member name=\"Name\" type=\"STRING\" default=\"abc\"/>"
      "</tag></module>",
      &error);
  EXPECT_TRUE(module.has_value()) << error;
  return module ? module->tags.front() : hostsim::TagDefinition{};
}

class Tag : public ::testing::Test {
 protected:
  void SetUp() override { m_tag = hostsim::ConfigurationTag::Create(Definition()); }
  void TearDown() override { m_tag->Release(); }

  VARIANT Read(const wchar_t* member, HRESULT expected = S_OK) {
    VARIANT value;
    VariantInit(&value);
    BSTR name = SysAllocString(member);
    EXPECT_EQ(Hex(expected), Hex(m_tag->GetMemberValue(name, &value)));
    SysFreeString(name);
    return value;
  }
  HRESULT Write(const wchar_t* member, const VARIANT& value) {
    BSTR name = SysAllocString(member);
    const HRESULT hr = m_tag->SetMemberValue(name, value);
    SysFreeString(name);
    return hr;
  }

  hostsim::ConfigurationTag* m_tag = nullptr;
};

TEST_F(Tag, ValuesComeBackAsTheVariantTypeOfTheirMember) {
  const struct {
    const wchar_t* member;
    VARTYPE vt;
  } cases[] = {{L"Unit", VT_I4}, {L"Level", VT_R4}, {L"Count", VT_I4},
               {L"Big", VT_I8},  {L"On", VT_BOOL},  {L"Name", VT_BSTR}};
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.member, c.member + wcslen(c.member)));
    VARIANT value = Read(c.member);
    EXPECT_EQ(c.vt, V_VT(&value));
    VariantClear(&value);
    VARIANT minimum;
    BSTR name = SysAllocString(c.member);
    EXPECT_EQ(Hex(S_OK), Hex(m_tag->GetMinValue(name, &minimum)));
    EXPECT_EQ(c.vt, V_VT(&minimum));
    VariantClear(&minimum);
    SysFreeString(name);
  }
  VARIANT unit = Read(L"Unit");
  EXPECT_EQ(20, V_I4(&unit));
  VARIANT level = Read(L"Level");
  EXPECT_FLOAT_EQ(0.5f, V_R4(&level));
}

TEST_F(Tag, AnAbsentMemberAnswersInvalidArgEverywhere) {
  BSTR name = SysAllocString(L"unit");  // names are case-sensitive
  VARIANT value;
  LONG index = 0;
  SAFEARRAY* texts = nullptr;
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->GetMemberValue(name, &value)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->SetMemberValue(name, value)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->GetEnumValue(name, &index)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->SetEnumValue(name, 0)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->GetEnumStrings(name, &texts)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->GetMinValue(name, &value)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(m_tag->GetMaxValue(name, &value)));
  SysFreeString(name);
}

TEST_F(Tag, TheCodeAndTheIndexOfAnEnumerationStayInStep) {
  BSTR name = SysAllocString(L"Unit");
  LONG index = -1;
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->GetEnumValue(name, &index)));
  EXPECT_EQ(1, index);
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->SetEnumValue(name, 2)));
  VARIANT code = Read(L"Unit");
  EXPECT_EQ(-30, V_I4(&code));
  VARIANT write;
  VariantInit(&write);
  V_VT(&write) = VT_I4;
  V_I4(&write) = 10;
  EXPECT_EQ(Hex(S_OK), Hex(Write(L"Unit", write)));
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->GetEnumValue(name, &index)));
  EXPECT_EQ(0, index);
  V_I4(&write) = 11;
  EXPECT_EQ(Hex(DISP_E_BADINDEX), Hex(Write(L"Unit", write)));
  EXPECT_EQ(Hex(DISP_E_BADINDEX), Hex(m_tag->SetEnumValue(name, 3)));
  SAFEARRAY* texts = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(m_tag->GetEnumStrings(name, &texts)));
  LONG at = 2;
  BSTR text = nullptr;
  SafeArrayGetElement(texts, &at, &text);
  EXPECT_EQ(std::wstring(L"minus"), text ? text : L"");
  SysFreeString(text);
  SafeArrayDestroy(texts);
  SysFreeString(name);
  EXPECT_TRUE(m_tag->IsDirty(L"Unit"));
}

TEST_F(Tag, WritesAreConvertedAndRangeCheckedAndRecorded) {
  VARIANT text;
  VariantInit(&text);
  V_VT(&text) = VT_BSTR;
  V_BSTR(&text) = SysAllocString(L"0.25");
  EXPECT_EQ(Hex(S_OK), Hex(Write(L"Level", text)));
  VARIANT level = Read(L"Level");
  EXPECT_FLOAT_EQ(0.25f, V_R4(&level));
  VariantClear(&text);
  VARIANT number;
  VariantInit(&number);
  V_VT(&number) = VT_R4;
  V_R4(&number) = 1.5f;
  EXPECT_EQ(Hex(DISP_E_OVERFLOW), Hex(Write(L"Level", number)));
  V_VT(&number) = VT_I4;
  V_I4(&number) = 10;
  EXPECT_EQ(Hex(DISP_E_OVERFLOW), Hex(Write(L"Count", number)));
  EXPECT_FALSE(m_tag->IsDirty(L"Count"));
  ASSERT_EQ(1u, m_tag->Writes().size());
  EXPECT_EQ(L"Level", m_tag->Writes()[0].member);
  EXPECT_EQ(VT_BSTR, m_tag->Writes()[0].vt);
  m_tag->ClearDirty();
  EXPECT_FALSE(m_tag->IsDirty(L"Level"));
}

TEST_F(Tag, FaultKnobsChangeWhatAReadAnswers) {
  m_tag->AnswerValueAs(L"Level", VT_R8);
  VARIANT level = Read(L"Level");
  EXPECT_EQ(VT_R8, V_VT(&level));
  m_tag->FailValueReads(L"Count", E_ACCESSDENIED);
  Read(L"Count", E_ACCESSDENIED);
  m_tag->RemoveMember(L"Name");
  Read(L"Name", E_INVALIDARG);
  EXPECT_EQ(1, m_tag->ValueReadCount(L"Level"));
}

TEST_F(Tag, TheSecondVersionGivesTheSuffixAndTheDirtyFlags) {
  ITag2* tag2 = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(m_tag->QueryInterface(__uuidof(ITag2), reinterpret_cast<void**>(&tag2))));
  BSTR suffix = nullptr;
  EXPECT_EQ(Hex(S_OK), Hex(tag2->get_Suffix(&suffix)));
  EXPECT_EQ(std::wstring(), std::wstring(suffix ? suffix : L""));
  SysFreeString(suffix);
  m_tag->SetSuffix(L"EO");
  EXPECT_EQ(Hex(S_OK), Hex(tag2->get_Suffix(&suffix)));
  EXPECT_EQ(std::wstring(L"EO"), suffix);
  SysFreeString(suffix);
  m_tag->FailSuffixRead(E_ACCESSDENIED);
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(tag2->get_Suffix(&suffix)));
  EXPECT_EQ(nullptr, suffix);

  BSTR name = SysAllocString(L"Unit");
  VARIANT_BOOL dirty = VARIANT_TRUE;
  EXPECT_EQ(Hex(S_OK), Hex(tag2->GetMemberDirtyState(name, &dirty)));
  EXPECT_EQ(VARIANT_FALSE, dirty);
  EXPECT_EQ(Hex(S_OK), Hex(tag2->SetEnumValue(name, 0)));
  EXPECT_EQ(Hex(S_OK), Hex(tag2->GetMemberDirtyState(name, &dirty)));
  EXPECT_EQ(VARIANT_TRUE, dirty);
  m_tag->FailOperation(L"Unit", hostsim::TagOperation::kDirtyRead, E_ACCESSDENIED);
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(tag2->GetMemberDirtyState(name, &dirty)));
  SysFreeString(name);
  tag2->Release();
}

TEST_F(Tag, ForcingAnswersPerMemberAndForTheWholeController) {
  ITagForcing* forcing = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(m_tag->QueryInterface(__uuidof(ITagForcing), reinterpret_cast<void**>(&forcing))));
  BSTR name = SysAllocString(L"Level");
  VARIANT_BOOL flag = VARIANT_TRUE;
  EXPECT_EQ(Hex(S_OK), Hex(forcing->GetIsForced(name, &flag)));
  EXPECT_EQ(VARIANT_FALSE, flag);
  hostsim::MemberValue forced;
  forced.real = 0.75f;
  EXPECT_TRUE(m_tag->SetForced(L"Level", true, &forced));
  EXPECT_EQ(Hex(S_OK), Hex(forcing->GetIsForced(name, &flag)));
  EXPECT_EQ(VARIANT_TRUE, flag);
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(Hex(S_OK), Hex(forcing->GetForceValue(name, &value)));
  EXPECT_EQ(VT_R4, V_VT(&value));
  EXPECT_FLOAT_EQ(0.75f, V_R4(&value));
  EXPECT_EQ(Hex(S_OK), Hex(forcing->GetForcesEnabled(&flag)));
  EXPECT_EQ(VARIANT_FALSE, flag);
  EXPECT_EQ(Hex(S_OK), Hex(forcing->SetForcesEnabled(VARIANT_TRUE)));
  EXPECT_EQ(Hex(S_OK), Hex(forcing->GetForcesEnabled(&flag)));
  EXPECT_EQ(VARIANT_TRUE, flag);
  m_tag->FailForcesEnabledRead(E_ACCESSDENIED);
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(forcing->GetForcesEnabled(&flag)));
  SysFreeString(name);
  name = SysAllocString(L"Missing");
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(forcing->GetIsForced(name, &flag)));
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(forcing->GetForceValue(name, &value)));
  SysFreeString(name);
  forcing->Release();
}

TEST_F(Tag, EnumerationCodesAndExtensionPropertiesHaveInterfacesOfTheirOwn) {
  ITagEnumValues* values = nullptr;
  ASSERT_EQ(Hex(S_OK),
            Hex(m_tag->QueryInterface(__uuidof(ITagEnumValues), reinterpret_cast<void**>(&values))));
  BSTR unit = SysAllocString(L"Unit");
  BSTR count = SysAllocString(L"Count");
  SAFEARRAY* codes = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(values->GetEnumValues(unit, &codes)));
  const LONG expected[] = {10, 20, -30};
  for (LONG i = 0; i < 3; ++i) {
    LONG code = 0;
    SafeArrayGetElement(codes, &i, &code);
    EXPECT_EQ(expected[i], code);
  }
  SafeArrayDestroy(codes);
  EXPECT_EQ(Hex(DISP_E_TYPEMISMATCH), Hex(values->GetEnumValues(count, &codes)));
  values->Release();

  ITagExtProperty* properties = nullptr;
  ASSERT_EQ(Hex(S_OK),
            Hex(m_tag->QueryInterface(__uuidof(ITagExtProperty), reinterpret_cast<void**>(&properties))));
  VARIANT value;
  VariantInit(&value);
  EXPECT_EQ(Hex(S_OK), Hex(properties->GetProperty(1, count, &value)));
  EXPECT_EQ(VT_BSTR, V_VT(&value));
  EXPECT_EQ(0u, SysStringLen(V_BSTR(&value)));
  VariantClear(&value);
  V_VT(&value) = VT_I4;
  V_I4(&value) = 12;
  EXPECT_EQ(Hex(S_OK), Hex(properties->SetProperty(1, count, value)));
  EXPECT_EQ(Hex(S_OK), Hex(properties->GetProperty(1, count, &value)));
  EXPECT_EQ(std::wstring(L"12"), V_BSTR(&value));
  VariantClear(&value);
  EXPECT_EQ(Hex(S_OK), Hex(properties->GetProperty(2, count, &value)));  // another key
  EXPECT_EQ(0u, SysStringLen(V_BSTR(&value)));
  VariantClear(&value);
  properties->Release();
  SysFreeString(unit);
  SysFreeString(count);
}

TEST_F(Tag, ARefusedInterfaceIsNotAnswered) {
  const IID refusable[] = {__uuidof(ITag2), __uuidof(ITagForcing), __uuidof(ITagEnumValues),
                           __uuidof(ITagExtProperty)};
  for (const IID& iid : refusable) {
    IUnknown* answered = nullptr;
    ASSERT_EQ(Hex(S_OK), Hex(m_tag->QueryInterface(iid, reinterpret_cast<void**>(&answered))));
    answered->Release();
    m_tag->RefuseInterface(iid);
    EXPECT_EQ(Hex(E_NOINTERFACE), Hex(m_tag->QueryInterface(iid, reinterpret_cast<void**>(&answered))));
    EXPECT_EQ(nullptr, answered);
  }
  IUnknown* tag = nullptr;
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->QueryInterface(IID_ITag, reinterpret_cast<void**>(&tag))));
  tag->Release();
}

TEST_F(Tag, AFailedOperationAnswersItsCodeUntilCleared) {
  BSTR name = SysAllocString(L"Unit");
  LONG index = 0;
  VARIANT value;
  VariantInit(&value);
  m_tag->FailOperation(L"Unit", hostsim::TagOperation::kEnumRead, E_ACCESSDENIED);
  m_tag->FailOperation(L"Unit", hostsim::TagOperation::kMinRead, E_ACCESSDENIED);
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(m_tag->GetEnumValue(name, &index)));
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(m_tag->GetMinValue(name, &value)));
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->GetMaxValue(name, &value)));
  m_tag->FailOperation(L"Unit", hostsim::TagOperation::kEnumRead, S_OK);
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->GetEnumValue(name, &index)));
  m_tag->AnswerValueAs(L"Unit", VT_R8);  // limits follow the value's override
  EXPECT_EQ(Hex(S_OK), Hex(m_tag->GetMaxValue(name, &value)));
  EXPECT_EQ(VT_R8, V_VT(&value));
  EXPECT_DOUBLE_EQ(20.0, V_R8(&value));
  SysFreeString(name);
}

}  // namespace
