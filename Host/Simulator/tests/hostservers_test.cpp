// The simulated host's services as a profile DLL meets them: classes registered in-process,
// created by CLSID, texts by number in the language set, and the module's settable states.
#include <DialogManager.h>
#include <HostModule.h>
#include <HostServers.h>
#include <HostServices.h>
#include <oleauto.h>
#include <platform/testing_hresult.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>

namespace {

using ::platform::test_support::Hr;

std::wstring Take(BSTR text) {
  std::wstring out(text ? text : L"", SysStringLen(text));
  SysFreeString(text);
  return out;
}

class HostServers : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));
    ASSERT_EQ(Hr(S_OK), Hr(hostsim::RegisterHostServers()));
    hostsim::ResetServiceCounters();
  }
  void TearDown() override {
    hostsim::RevokeHostServers();
    CoUninitialize();
  }
};

TEST_F(HostServers, EveryServiceClassIsCreatedByItsClsidAndAnswersItsInterfaces) {
  struct Case {
    const char* name;
    const CLSID* clsid;
    const IID* service;
  };
  const Case cases[] = {
      {"input prompts", &CLSID_PVInputPromptServer, &__uuidof(IPromptServer)},
      {"module prompts", &CLSID_PVModulePromptServer, &__uuidof(IPromptServer)},
      {"button labels", &CLSID_PVButtonStringServer, &__uuidof(IStringServer)},
      {"force strings", &CLSID_PVForceStringServer, &__uuidof(IStringServer)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IUnknownPtr object;
    ASSERT_EQ(Hr(S_OK), Hr(CoCreateInstance(*c.clsid, nullptr, CLSCTX_ALL, IID_IUnknown,
                                            reinterpret_cast<void**>(&object))));
    IUnknownPtr service;
    EXPECT_EQ(Hr(S_OK), Hr(object->QueryInterface(*c.service, reinterpret_cast<void**>(&service))));
    IServerLocalePtr locale;
    EXPECT_EQ(Hr(S_OK),
              Hr(object->QueryInterface(__uuidof(IServerLocale), reinterpret_cast<void**>(&locale))));
    EXPECT_TRUE(IUnknownPtr(locale) == object) << "one object identity";
    EXPECT_EQ(hostsim::GetServiceCounters(*c.clsid).liveObjects, 1);
  }
  for (const Case& c : cases) EXPECT_EQ(hostsim::GetServiceCounters(*c.clsid).liveObjects, 0);
}

TEST_F(HostServers, PromptsComeInTheLanguageSetAndFallBackToEnglish) {
  IPromptServerPtr prompts;
  ASSERT_EQ(Hr(S_OK), Hr(prompts.CreateInstance(CLSID_PVInputPromptServer)));
  IServerLocalePtr locale(prompts);
  ASSERT_TRUE(locale);
  struct Case {
    LCID lcid;
    LONG id;
    const wchar_t* caption;
    const wchar_t* text;
  };
  const Case cases[] = {
      {1033, 5, L"Value Too Large", L"The value %1 is above the maximum of %2."},
      {1031, 5, L"Wert zu gro\u00df", L"Der Wert %1 liegt \u00fcber dem Maximum von %2."},
      {1031, 7, L"Ung\u00fcltige Eingabe", L"%1 ist keine g\u00fcltige Anzahl von Nachkommastellen."},
      {1040, 6, L"Value Too Small", L"The value %1 is below the minimum of %2."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "language " << c.lcid << " prompt " << c.id);
    ASSERT_EQ(Hr(S_OK), Hr(locale->SetLocale(c.lcid)));
    BSTR caption = nullptr;
    BSTR text = nullptr;
    LONG type = 0;
    ASSERT_EQ(Hr(S_OK), Hr(prompts->GetPrompt(c.id, &caption, &type, &text)));
    EXPECT_EQ(Take(caption), c.caption);
    EXPECT_EQ(Take(text), c.text);
    EXPECT_EQ(type, 0x20000 + c.id);
  }
  BSTR caption = reinterpret_cast<BSTR>(1);
  BSTR text = reinterpret_cast<BSTR>(1);
  LONG type = 9;
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(prompts->GetPrompt(1, &caption, &type, &text)));
  EXPECT_EQ(caption, nullptr);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(type, 0);
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).localeCalls, 4);
}

TEST_F(HostServers, WithoutServerLocaleTheServersAnswerInEnglish) {
  ASSERT_EQ(Hr(S_OK), Hr(hostsim::RegisterHostServers(hostsim::HostServerOptions{.serverLocale = false})));
  IStringServerPtr strings;
  ASSERT_EQ(Hr(S_OK), Hr(strings.CreateInstance(CLSID_PVButtonStringServer)));
  IServerLocalePtr locale(strings);
  EXPECT_FALSE(locale);
  BSTR text = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(strings->GetString(2, &text)));
  EXPECT_EQ(Take(text), L"Cancel");
}

TEST_F(HostServers, RevokedClassesAreNoLongerFound) {
  hostsim::RevokeHostServers();
  IUnknown* object = nullptr;
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG), Hr(CoCreateInstance(CLSID_PVInputPromptServer, nullptr, CLSCTX_ALL,
                                                         IID_IUnknown, reinterpret_cast<void**>(&object))));
  hostsim::RevokeHostServers();  // twice is harmless
}

TEST(HostDialogManager, CountsLocksAndRefusesAnUnlockWithoutALock) {
  hostsim::Ref<hostsim::DialogManager> manager(hostsim::DialogManager::Create());
  EXPECT_EQ(Hr(E_UNEXPECTED), Hr(manager->Unlock()));
  EXPECT_EQ(Hr(S_OK), Hr(manager->Lock()));
  EXPECT_EQ(Hr(S_OK), Hr(manager->Lock()));
  EXPECT_EQ(Hr(S_OK), Hr(manager->Unlock()));
  EXPECT_EQ(manager->depth, 1);
  EXPECT_EQ(manager->lockCalls, 2);
  EXPECT_EQ(manager->unlockCalls, 2);
  EXPECT_EQ(manager->unbalancedUnlocks, 1);
  HWND window = reinterpret_cast<HWND>(0x77);
  manager->DialogShown(window);
  manager->DialogDestroyed(window);
  EXPECT_EQ(manager->shown, std::vector<HWND>{window});
  EXPECT_EQ(manager->destroyed, std::vector<HWND>{window});
}

TEST(HostModuleObject, AnswersItsInterfacesAsSetAndKeepsOneIdentity) {
  hostsim::Ref<hostsim::HostModule> module(hostsim::HostModule::Create());
  IUnknown* unknown = module->GetUnknown();
  IModuleSafetyPtr safety(unknown);
  IModuleSafetyLockPtr lock(unknown);
  IModuleInternal7Ptr version(unknown);
  ASSERT_TRUE(safety && lock && version);
  EXPECT_TRUE(IUnknownPtr(lock) == IUnknownPtr(safety));
  module->safety.enabled = VARIANT_TRUE;
  VARIANT_BOOL enabled = VARIANT_FALSE;
  EXPECT_EQ(Hr(S_OK), Hr(safety->GetSafetyEnabled(1, &enabled)));
  EXPECT_EQ(enabled, VARIANT_TRUE);
  EXPECT_EQ(Hr(E_NOTIMPL), Hr(safety->Reserved1())) << "placeholder slots answer E_NOTIMPL";
  LONG major = 0;
  LONG minor = 0;
  module->version.minor = 20;
  EXPECT_EQ(Hr(S_OK), Hr(version->get_CurrentVexilVersion(&major, &minor)));
  EXPECT_EQ(minor, 20);

  module->safety.answersLock = false;
  module->version.queryFailure = E_OUTOFMEMORY;
  IUnknown* none = nullptr;
  EXPECT_EQ(Hr(E_NOINTERFACE),
            Hr(unknown->QueryInterface(__uuidof(IModuleSafetyLock), reinterpret_cast<void**>(&none))));
  EXPECT_EQ(Hr(E_OUTOFMEMORY),
            Hr(unknown->QueryInterface(__uuidof(IModuleInternal7), reinterpret_cast<void**>(&none))));
  EXPECT_EQ(none, nullptr);
}

}  // namespace
