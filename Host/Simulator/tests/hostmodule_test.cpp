// The simulated module's configuration tags: the standard tag through IModule, the safety tag
// through its own interface, tags by name, the built-in definition, and the knobs that take
// them away or make their queries fail.
#include <HostModule.h>
#include <platform/testing_hresult.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace {

using platform::test_support::Hex;

hostsim::ModuleDefinition TwoTags() {
  std::string error;
  auto module = hostsim::ParseModuleDefinition(
      "<module name=\"M\">"
      "<tag name=\"M:S\" kind=\"safety\"><member name=\"Guard\" type=\"DINT\" default=\"1\"/></tag>"
      "<tag name=\"M:C\"><member name=\"Count\" type=\"DINT\" default=\"3\" dirty=\"true\"/></tag>"
      "</module>",
      &error);
  EXPECT_TRUE(module.has_value()) << error;
  return module ? *module : hostsim::ModuleDefinition{};
}

// The member's value as text, read through ITag ("?" when the read fails).
std::wstring FirstMemberValue(ITag* tag, const wchar_t* member) {
  VARIANT value;
  VariantInit(&value);
  BSTR name = SysAllocString(member);
  const HRESULT hr = tag->GetMemberValue(name, &value);
  SysFreeString(name);
  VARIANT text;
  VariantInit(&text);
  std::wstring out =
      SUCCEEDED(hr) && SUCCEEDED(VariantChangeType(&text, &value, 0, VT_BSTR)) ? V_BSTR(&text) : L"?";
  VariantClear(&text);
  VariantClear(&value);
  return out;
}

class Module : public ::testing::Test {
 protected:
  void SetUp() override { m_module = hostsim::HostModule::Create(TwoTags()); }
  void TearDown() override { m_module->Release(); }
  IModuleSafetyTag* Safety() {
    IModuleSafetyTag* safety = nullptr;
    m_module->QueryInterface(__uuidof(IModuleSafetyTag), reinterpret_cast<void**>(&safety));
    return safety;
  }
  hostsim::HostModule* m_module = nullptr;
};

TEST_F(Module, TheStandardAndTheSafetyTagComeFromTheDefinition) {
  ITag* tag = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(m_module->GetConfigurationTag(&tag)));
  EXPECT_EQ(L"3", FirstMemberValue(tag, L"Count"));
  ITag2* tag2 = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(tag->QueryInterface(__uuidof(ITag2), reinterpret_cast<void**>(&tag2))));
  BSTR count = SysAllocString(L"Count");
  VARIANT_BOOL dirty = VARIANT_FALSE;
  EXPECT_EQ(Hex(S_OK), Hex(tag2->GetMemberDirtyState(count, &dirty)));
  EXPECT_EQ(VARIANT_TRUE, dirty);  // as the definition says
  SysFreeString(count);
  tag2->Release();
  tag->Release();
  IModuleSafetyTag* safety = Safety();
  ASSERT_NE(nullptr, safety);
  ASSERT_EQ(Hex(S_OK), Hex(safety->GetSafetyConfigurationTag(&tag)));
  EXPECT_EQ(L"1", FirstMemberValue(tag, L"Guard"));
  tag->Release();
  safety->Release();
  EXPECT_EQ(1, m_module->tags.standardCalls);
  EXPECT_EQ(1, m_module->tags.safetyCalls);
}

TEST_F(Module, AMissingTagOrAFailingQueryIsAnsweredAsTheKnobsSay) {
  const struct {
    const char* name;
    void (*arrange)(hostsim::HostModule*);
    HRESULT standard;
    HRESULT safetyQuery;
    HRESULT safety;
  } cases[] = {
      {"both", [](hostsim::HostModule*) {}, S_OK, S_OK, S_OK},
      {"no standard tag", [](hostsim::HostModule* m) { m->DropStandardTag(); }, E_NOINTERFACE, S_OK, S_OK},
      {"no safety tag", [](hostsim::HostModule* m) { m->DropSafetyTag(); }, S_OK, S_OK, E_NOINTERFACE},
      {"no safety interface", [](hostsim::HostModule* m) { m->tags.safetyQueryResult = E_NOINTERFACE; }, S_OK,
       E_NOINTERFACE, S_OK},
      {"standard query fails", [](hostsim::HostModule* m) { m->tags.standardResult = E_ACCESSDENIED; },
       E_ACCESSDENIED, S_OK, S_OK},
      {"safety query fails", [](hostsim::HostModule* m) { m->tags.safetyResult = E_ACCESSDENIED; }, S_OK,
       S_OK, E_ACCESSDENIED},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::HostModule* module = hostsim::HostModule::Create(TwoTags());
    c.arrange(module);
    ITag* tag = nullptr;
    EXPECT_EQ(Hex(c.standard), Hex(module->GetConfigurationTag(&tag)));
    EXPECT_EQ(SUCCEEDED(c.standard), tag != nullptr);
    if (tag) tag->Release();
    IModuleSafetyTag* safety = nullptr;
    EXPECT_EQ(Hex(c.safetyQuery),
              Hex(module->QueryInterface(__uuidof(IModuleSafetyTag), reinterpret_cast<void**>(&safety))));
    if (safety) {
      EXPECT_EQ(Hex(c.safety), Hex(safety->GetSafetyConfigurationTag(&tag)));
      if (tag) tag->Release();
      safety->Release();
    }
    module->Release();
  }
}

TEST_F(Module, TagsAreFoundByNameAndNoConnectionIsSimulated) {
  IModulePrivateTags* tags = nullptr;
  ASSERT_EQ(Hex(S_OK),
            Hex(m_module->QueryInterface(__uuidof(IModulePrivateTags), reinterpret_cast<void**>(&tags))));
  BSTR name = SysAllocString(L"M:S");
  ITag* tag = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(tags->GetPrivateTag(name, &tag)));
  EXPECT_EQ(L"1", FirstMemberValue(tag, L"Guard"));
  tag->Release();
  SysFreeString(name);
  name = SysAllocString(L"m:s");
  EXPECT_EQ(Hex(E_INVALIDARG), Hex(tags->GetPrivateTag(name, &tag)));
  EXPECT_EQ(nullptr, tag);
  SysFreeString(name);
  tags->Release();
  IConnectionInstance* instance = nullptr;
  EXPECT_EQ(Hex(E_NOINTERFACE), Hex(m_module->GetConnectionInstance(0, &instance)));
  EXPECT_EQ(nullptr, instance);
}

TEST(BuiltInModule, HasTheCoriolisStandardTagAndASafetyTag) {
  hostsim::HostModule* module = hostsim::HostModule::Create();
  ASSERT_NE(nullptr, module->StandardTag());
  ASSERT_NE(nullptr, module->SafetyTag());
  EXPECT_EQ(L"Corvane300:C", module->StandardTag()->Definition().name);
  EXPECT_EQ(L"Corvane300:S", module->SafetyTag()->Definition().name);
  ITag* tag = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(module->GetConfigurationTag(&tag)));
  EXPECT_EQ(L"4608", FirstMemberValue(tag, L"System_units_Temperature_unit"));
  tag->Release();
  module->Release();
}

}  // namespace
