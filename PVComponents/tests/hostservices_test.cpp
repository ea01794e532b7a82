// The wrappers of the host's prompt and string servers, the safety controller, the error
// information helpers and the dialog lock, each against the simulated host through COM.
#include <windows.h>

#include <DialogManager.h>
#include <HostModule.h>
#include <HostServers.h>
#include <HostServices.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DllFolder.h"
#include "HostSession.h"
#include "IErrorInfoHelper.h"
#include "PVComponentsGlobals.h"
#include "PVDlgLock.h"
#include "PromptInfo.h"
#include "PromptServerWrapper.h"
#include "ResourceDllManager.h"
#include "SafetyController.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// ---------------------------------------------------------------------------------------------
// Prompt server wrapper.

TEST(PromptServerWrapper, WithoutModuleInstanceTheServerIsCreatedThroughComAndSetTo1033) {
  HostSession session;
  ASSERT_EQ(AfxGetInstanceHandle(), nullptr) << "a test executable has no module instance";
  {
    CPromptServerWrapper wrapper;
    ASSERT_EQ(Hr(S_OK), Hr(wrapper.Initialize(&CLSID_PVInputPromptServer, nullptr)));
    CPromptInfo prompt;
    ASSERT_EQ(Hr(S_OK), Hr(wrapper.GetPrompt(2, &prompt)));
    EXPECT_EQ(Text(prompt.m_text), L"Please enter a value.");
    EXPECT_EQ(Text(prompt.m_caption), L"Invalid Input");
    EXPECT_EQ(prompt.m_type, 0x20002);
    const hostsim::ServiceCounters counters = hostsim::GetServiceCounters(CLSID_PVInputPromptServer);
    EXPECT_EQ(counters.objectsCreated, 1);
    EXPECT_EQ(counters.localeCalls, 1);
    EXPECT_EQ(counters.lastLocale, 1033u);
    EXPECT_EQ(counters.liveObjects, 1);
  }
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).liveObjects, 0)
      << "the wrapper leaked the server";
}

TEST(PromptServerWrapper, AnExplicitLocaleIsTheLanguageTheServerAnswersIn) {
  HostSession session;
  const LCID german = 1031;
  CPromptServerWrapper wrapper;
  ASSERT_EQ(Hr(S_OK), Hr(wrapper.Initialize(&CLSID_PVInputPromptServer, &german)));
  CString caption;
  LONG type = -1;
  EXPECT_EQ(Text(wrapper.GetPromptText(3, &caption, &type)), L"'%1' ist keine g\u00fcltige ganze Zahl.");
  EXPECT_EQ(Text(caption), L"Ung\u00fcltige Eingabe");
  EXPECT_EQ(type, 0x20003);
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).lastLocale, german);
}

TEST(PromptServerWrapper, AServerWithoutServerLocaleStillServesInItsOwnLanguage) {
  HostSession session(hostsim::HostServerOptions{.serverLocale = false});
  const LCID german = 1031;
  CPromptServerWrapper wrapper;
  ASSERT_EQ(Hr(S_OK), Hr(wrapper.Initialize(&CLSID_PVInputPromptServer, &german)));
  CPromptInfo prompt;
  ASSERT_EQ(Hr(S_OK), Hr(wrapper.GetPrompt(4, &prompt)));
  EXPECT_EQ(Text(prompt.m_text), L"'%1' is not a valid number.");
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).localeCalls, 0);
}

TEST(PromptServerWrapper, WhenInitializeFailedGetPromptIsUnexpectedAndLeavesThePromptAlone) {
  HostSession session;
  hostsim::RevokeHostServers();
  CPromptServerWrapper wrapper;
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG), Hr(wrapper.Initialize(&CLSID_PVInputPromptServer, nullptr)));
  EXPECT_FALSE(wrapper.IsInitialized());
  CPromptInfo prompt(L"kept text", L"kept caption", 7);
  EXPECT_EQ(Hr(E_UNEXPECTED), Hr(wrapper.GetPrompt(2, &prompt)));
  EXPECT_EQ(prompt, CPromptInfo(L"kept text", L"kept caption", 7));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(wrapper.GetPrompt(2, nullptr)));
  CString caption = L"old";
  LONG type = 5;
  EXPECT_EQ(Text(wrapper.GetPromptText(2, &caption, &type)), L"");
  EXPECT_EQ(Text(caption), L"");
  EXPECT_EQ(type, 0);
}

TEST(PromptServerWrapper, AFailingPromptIsReturnedWithThePromptCleared) {
  HostSession session;
  CPromptServerWrapper wrapper;
  ASSERT_EQ(Hr(S_OK), Hr(wrapper.Initialize(&CLSID_PVInputPromptServer, nullptr)));
  CPromptInfo prompt(L"old", L"old", 1);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(wrapper.GetPrompt(999, &prompt))) << "the host has no prompt 999";
  EXPECT_EQ(prompt, CPromptInfo());
}

TEST(PromptServerWrapper, CopiesShareTheServerAndTheLastOneReleasesIt) {
  HostSession session;
  {
    CPromptServerWrapper first;
    ASSERT_EQ(Hr(S_OK), Hr(first.Initialize(&CLSID_PVInputPromptServer, nullptr)));
    CPromptServerWrapper second(first);
    CPromptServerWrapper third;
    third = second;
    const auto& itself = third;
    third = itself;
    CPromptInfo prompt;
    EXPECT_EQ(Hr(S_OK), Hr(third.GetPrompt(5, &prompt)));
    EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).objectsCreated, 1);
    EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).liveObjects, 1);
  }
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).liveObjects, 0);
}

TEST(PromptServerWrapper, ANullClassIsRefusedWithoutCreatingAnything) {
  HostSession session;
  CPromptServerWrapper wrapper;
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(wrapper.Initialize(nullptr, nullptr)));
}

// With a module instance the language is the loaded resource DLL's, not 1033.
TEST(PromptServerWrapper, WithAModuleInstanceTheServerIsSetToTheResourceDllsLanguage) {
  HostSession session;
  pvtest::DllFolder folder{"PVTestPages.dll", "PVTestPagesENU.dll", "PVTestPagesDEU.dll"};
  HMODULE module = LoadLibraryW(folder.PathOf("PVTestPages.dll").c_str());
  ASSERT_NE(module, nullptr) << "error " << GetLastError();
  {
    AFX_MODULE_STATE state{};
    state.m_hCurrentInstanceHandle = module;
    state.m_hCurrentResourceHandle = module;
    AFX_MANAGE_STATE(&state);
    CResourceDllManager* manager = GetResourceDllManager();
    ASSERT_EQ(manager->GetModuleInstance(), module);
    ASSERT_TRUE(manager->SetLanguage(1031));

    CPromptServerWrapper wrapper;
    ASSERT_EQ(Hr(S_OK), Hr(wrapper.Initialize(&CLSID_PVInputPromptServer, nullptr)));
    EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVInputPromptServer).lastLocale, 1031u);
    CPromptInfo prompt;
    ASSERT_EQ(Hr(S_OK), Hr(wrapper.GetPrompt(2, &prompt)));
    EXPECT_EQ(Text(prompt.m_text), L"Bitte geben Sie einen Wert ein.");
  }
  FreeLibrary(module);
}

// ---------------------------------------------------------------------------------------------
// String server wrapper.

TEST(StringServerWrapper, ButtonLabelsComeInTheLanguageSetAndWithoutMarksWhenAcceleratorsAreOff) {
  HostSession session;
  struct Case {
    LCID lcid;
    LONG id;
    const wchar_t* withMarks;
    const wchar_t* withoutMarks;
  };
  const Case cases[] = {
      {1033, 1, L"OK", L"OK"},
      {1033, 2, L"Cancel", L"Cancel"},
      {1033, 3, L"&Yes", L"Yes"},
      {1033, 4, L"&No", L"No"},
      {1033, 5, L"&Abort", L"Abort"},
      {1033, 6, L"&Retry", L"Retry"},
      {1033, 7, L"&Ignore", L"Ignore"},
      {1033, 8, L"&Help", L"Help"},
      {1031, 2, L"Abbrechen", L"Abbrechen"},
      {1031, 3, L"&Ja", L"Ja"},
      {1031, 4, L"&Nein", L"Nein"},
      {1031, 8, L"&Hilfe", L"Hilfe"},
      {1036, 3, L"&Yes", L"Yes"},  // a language the host has no texts for answers in English
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "language " << c.lcid << " label " << c.id);
    CStringServerWrapper wrapper;
    ASSERT_EQ(Hr(S_OK), Hr(wrapper.Initialize(&CLSID_PVButtonStringServer, &c.lcid)));
    EXPECT_EQ(Text(wrapper.GetString(c.id)), c.withMarks);
    EXPECT_EQ(Hr(S_OK), Hr(wrapper.SetAccelerators(FALSE)));
    EXPECT_EQ(Text(wrapper.GetString(c.id)), c.withoutMarks);
  }
}

TEST(StringServerWrapper, UnheldOrFailingStringsAreEmptyAndAcceleratorsRaise) {
  HostSession session;
  CStringServerWrapper unheld;
  EXPECT_EQ(Text(unheld.GetString(1)), L"");
  try {
    unheld.SetAccelerators(TRUE);
    ADD_FAILURE() << "SetAccelerators without a server did not raise";
  } catch (const _com_error& error) {
    EXPECT_EQ(Hr(E_POINTER), Hr(error.Error()));
  }
  CStringServerWrapper held;
  ASSERT_EQ(Hr(S_OK), Hr(held.Initialize(&CLSID_PVForceStringServer, nullptr)));
  EXPECT_EQ(Text(held.GetString(33)), L"Forced value: %1");
  EXPECT_EQ(Text(held.GetString(34)), L"");
}

TEST(StringServerWrapper, TheSingletonIsMadeOnceAndLeftForTheCallerToInitialize) {
  HostSession session;
  auto first = GetSingletonStringServerWrapper();
  auto second = GetSingletonStringServerWrapper();
  EXPECT_EQ(first.get(), second.get());
  EXPECT_FALSE(first->IsInitialized());
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_PVButtonStringServer).objectsCreated, 0);
}

// ---------------------------------------------------------------------------------------------
// Safety controller.

hostsim::Ref<hostsim::HostModule> MakeModule() {
  return hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create());
}

TEST(SafetyController, SecuredExactlyWhenSafetyIsEnabledAndTheLockFlagIsNotSet) {
  HostSession session;
  struct Case {
    VARIANT_BOOL enabled;
    VARIANT_BOOL locked;
    BOOL secured;
    int lockQueries;
  };
  const Case cases[] = {
      {VARIANT_FALSE, VARIANT_FALSE, FALSE, 0},
      {VARIANT_FALSE, VARIANT_TRUE, FALSE, 0},
      {VARIANT_TRUE, VARIANT_FALSE, TRUE, 1},
      {VARIANT_TRUE, VARIANT_TRUE, FALSE, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "enabled " << c.enabled << " locked " << c.locked);
    auto module = MakeModule();
    module->safety.enabled = c.enabled;
    module->safety.locked = c.locked;
    BOOL secured = -1;
    EXPECT_EQ(Hr(S_OK), Hr(GetSafetyController()->GetSafetySecuredState(module->GetUnknown(), &secured)));
    EXPECT_EQ(secured, c.secured);
    EXPECT_EQ(module->safety.lockedCalls, c.lockQueries);
    EXPECT_EQ(module->safety.lastEnabledArgument, 1);
  }
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST(SafetyController, AFailingLockQueryCountsAsSecuredAndIsReturned) {
  HostSession session;
  auto module = MakeModule();
  module->safety.enabled = VARIANT_TRUE;
  module->safety.locked = VARIANT_TRUE;
  module->safety.lockedResult = E_ACCESSDENIED;
  BOOL secured = FALSE;
  EXPECT_EQ(Hr(E_ACCESSDENIED),
            Hr(GetSafetyController()->GetSafetySecuredState(module->GetUnknown(), &secured)));
  EXPECT_EQ(secured, TRUE);
}

TEST(SafetyController, AFailingEnabledQueryIsLoggedAndNotSecured) {
  HostSession session;
  auto module = MakeModule();
  module->safety.enabled = VARIANT_TRUE;
  module->safety.enabledResult = E_FAIL;
  BOOL secured = TRUE;
  EXPECT_EQ(Hr(E_FAIL), Hr(GetSafetyController()->GetSafetySecuredState(module->GetUnknown(), &secured)));
  EXPECT_EQ(secured, FALSE);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{
                L"CSafetyController::GetSafetySecuredState: Error: Failed to get safety enabled state\n"});
}

TEST(SafetyController, NoObjectMissingInterfacesAndSFalseAreNotSecured) {
  HostSession session;
  BOOL secured = TRUE;
  EXPECT_EQ(Hr(E_FAIL), Hr(GetSafetyController()->GetSafetySecuredState(nullptr, &secured)));
  EXPECT_EQ(secured, FALSE);

  struct Case {
    const char* name;
    bool answersSafety;
    bool answersLock;
    HRESULT enabledResult;
  };
  const Case cases[] = {
      {"no safety interface", false, true, S_OK},
      {"no lock interface", true, false, S_OK},
      {"enabled query answers S_FALSE", true, true, S_FALSE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto module = MakeModule();
    module->safety.answersSafety = c.answersSafety;
    module->safety.answersLock = c.answersLock;
    module->safety.enabled = VARIANT_TRUE;
    module->safety.enabledResult = c.enabledResult;
    secured = TRUE;
    EXPECT_EQ(Hr(S_OK), Hr(GetSafetyController()->GetSafetySecuredState(module->GetUnknown(), &secured)));
    EXPECT_EQ(secured, FALSE);
    EXPECT_EQ(module->safety.lockedCalls, 0);
  }
}

TEST(SafetyController, LockFlagsAreOneUnlessTheirQuerySucceedsAndTheSecondResultIsReturned) {
  HostSession session;
  struct Case {
    const char* name;
    HRESULT firstResult;
    VARIANT_BOOL first;
    HRESULT secondResult;
    VARIANT_BOOL second;
    HRESULT expected;
    BOOL expectedFirst;
    BOOL expectedSecond;
  };
  const Case cases[] = {
      {"both answered false", S_OK, VARIANT_FALSE, S_OK, VARIANT_FALSE, S_OK, FALSE, FALSE},
      {"both answered true", S_OK, VARIANT_TRUE, S_OK, VARIANT_TRUE, S_OK, TRUE, TRUE},
      {"first fails", E_FAIL, VARIANT_FALSE, S_OK, VARIANT_FALSE, S_OK, TRUE, FALSE},
      {"second fails", S_OK, VARIANT_FALSE, E_ACCESSDENIED, VARIANT_FALSE, E_ACCESSDENIED, FALSE, TRUE},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    auto module = MakeModule();
    module->safety.flag1Result = c.firstResult;
    module->safety.flag1 = c.first;
    module->safety.flag2Result = c.secondResult;
    module->safety.flag2 = c.second;
    BOOL first = -1;
    BOOL second = -1;
    EXPECT_EQ(Hr(c.expected),
              Hr(GetSafetyController()->GetSafetyLockFlags(module->GetUnknown(), &first, &second)));
    EXPECT_EQ(first, c.expectedFirst);
    EXPECT_EQ(second, c.expectedSecond);
  }
  auto withoutLock = MakeModule();
  withoutLock->safety.answersLock = false;
  BOOL first = -1;
  BOOL second = -1;
  EXPECT_EQ(Hr(S_OK),
            Hr(GetSafetyController()->GetSafetyLockFlags(withoutLock->GetUnknown(), &first, &second)));
  EXPECT_EQ(first, FALSE);
  EXPECT_EQ(second, FALSE);
  EXPECT_EQ(Hr(E_FAIL), Hr(GetSafetyController()->GetSafetyLockFlags(nullptr, &first, &second)));
}

TEST(SafetyController, IsOneInstancePerProcess) {
  EXPECT_EQ(GetSafetyController(), GetSafetyController());
  EXPECT_NE(GetSafetyController(), nullptr);
}

// ---------------------------------------------------------------------------------------------
// Error information.

// An object that says, per interface, whether it sets error information.
class ErrorSource : public ISupportErrorInfo {
 public:
  explicit ErrorSource(HRESULT answer) : m_answer(answer) {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid != IID_IUnknown && riid != IID_ISupportErrorInfo) return E_NOINTERFACE;
    *ppv = static_cast<ISupportErrorInfo*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID) override { return m_answer; }
  LONG refs = 1;

 private:
  HRESULT m_answer;
};

// An object without ISupportErrorInfo.
class PlainObject : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    *ppv = nullptr;
    if (riid != IID_IUnknown) return E_NOINTERFACE;
    *ppv = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
  STDMETHODIMP_(ULONG) Release() override { return static_cast<ULONG>(--refs); }
  LONG refs = 1;
};

IErrorInfoPtr MakeErrorInfo(const wchar_t* description) {
  ICreateErrorInfoPtr create;
  EXPECT_EQ(Hr(S_OK), Hr(CreateErrorInfo(&create)));
  create->SetDescription(const_cast<LPOLESTR>(description));
  create->SetSource(const_cast<LPOLESTR>(L"Host.Device"));
  create->SetHelpFile(const_cast<LPOLESTR>(L"Z:\\help\\device.chm"));
  create->SetHelpContext(0x30017);
  create->SetGUID(__uuidof(IPromptServer));
  return IErrorInfoPtr(create);
}

TEST(GetObjectErrorInfo, AnObjectThatSetsErrorInfoHandsOverTheThreadsErrorObject) {
  HostSession session;
  ErrorSource source(S_OK);
  IErrorInfoPtr info = MakeErrorInfo(L"The device refused the write.");
  ASSERT_EQ(Hr(S_OK), Hr(SetErrorInfo(0, info)));
  IErrorInfo* out = MakeErrorInfo(L"stale").Detach();  // released by the call
  ASSERT_EQ(Hr(S_OK), Hr(GetObjectErrorInfo(&source, __uuidof(IPromptServer), &out)));
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out, info.GetInterfacePtr());
  out->Release();
  IErrorInfo* left = nullptr;
  EXPECT_EQ(Hr(S_FALSE), Hr(GetErrorInfo(0, &left))) << "the thread's slot was not emptied";
  EXPECT_EQ(source.refs, 1);
}

TEST(GetObjectErrorInfo, ObjectsThatDoNotSetErrorInfoGiveNoObject) {
  HostSession session;
  struct Case {
    const char* name;
    IUnknown* object;
    bool errorSet;
    HRESULT expected;
  };
  ErrorSource refuses(S_FALSE);
  ErrorSource fails(E_UNEXPECTED);
  ErrorSource supports(S_OK);
  PlainObject plain;
  const Case cases[] = {
      {"no ISupportErrorInfo", &plain, true, E_NOINTERFACE},
      {"not for this interface", &refuses, true, E_NOINTERFACE},
      {"the support query fails", &fails, true, E_UNEXPECTED},
      {"supports but nothing set", &supports, false, E_FAIL},
      {"no object", nullptr, true, E_POINTER},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetErrorInfo(0, c.errorSet ? MakeErrorInfo(L"set").GetInterfacePtr() : nullptr);
    IErrorInfo* out = nullptr;
    EXPECT_EQ(Hr(c.expected), Hr(GetObjectErrorInfo(c.object, IID_IUnknown, &out)));
    EXPECT_EQ(out, nullptr);
    SetErrorInfo(0, nullptr);
  }
  EXPECT_EQ(refuses.refs, 1);
  EXPECT_EQ(plain.refs, 1);
}

TEST(IErrorInfoHelper, ReadsEveryFieldAndComparesByIdentity) {
  HostSession session;
  IErrorInfoPtr info = MakeErrorInfo(L"The device refused the write.");
  CIErrorInfoHelper helper(info);
  EXPECT_EQ(Text(helper.GetDescription()), L"The device refused the write.");
  EXPECT_EQ(Text(helper.GetSource()), L"Host.Device");
  EXPECT_EQ(Text(helper.GetHelpFile()), L"Z:\\help\\device.chm");
  EXPECT_EQ(helper.GetHelpContext(), 0x30017u);
  EXPECT_TRUE(helper.GetGUID() == __uuidof(IPromptServer));

  CIErrorInfoHelper copy(helper);
  EXPECT_TRUE(copy == helper);
  EXPECT_FALSE(CIErrorInfoHelper(MakeErrorInfo(L"other")) == helper);
  EXPECT_TRUE(CIErrorInfoHelper(nullptr) == CIErrorInfoHelper(nullptr));
  EXPECT_FALSE(CIErrorInfoHelper(nullptr) == helper);
}

TEST(IErrorInfoHelper, ReadingWithoutAnErrorObjectRaisesEPointer) {
  CIErrorInfoHelper empty(nullptr);
  try {
    empty.GetDescription();
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& error) {
    EXPECT_EQ(Hr(E_POINTER), Hr(error.Error()));
  }
}

// ---------------------------------------------------------------------------------------------
// Application name and dialog lock.

TEST(GetApplicationName, TheHostsReleaseDecidesTheProductName) {
  HostSession session;
  struct Case {
    const char* name;
    bool answersVersion;
    HRESULT result;
    LONG minor;
    const wchar_t* expected;
    std::vector<std::wstring> logged;
  };
  const Case cases[] = {
      {"release 20", true, S_OK, 20, L"Tavelin 5000", {}},
      {"release 21", true, S_OK, 21, L"Vexil Designer", {}},
      {"release 0", true, S_OK, 0, L"Tavelin 5000", {}},
      {"version call fails",
       true,
       E_FAIL,
       5,
       L"Vexil Designer",
       {L"GetApplicationName: Failed get_CurrentVexilVersion\n"}},
      {"no version interface",
       false,
       S_OK,
       5,
       L"Vexil Designer",
       {L"GetApplicationName: Invalid IModuleInternal7 pointer"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    orvolog::ClearRecords();
    auto module = MakeModule();
    module->version.answersVersion = c.answersVersion;
    module->version.result = c.result;
    module->version.minor = c.minor;
    EXPECT_EQ(Text(GetApplicationName(module->GetUnknown())), c.expected);
    EXPECT_EQ(pvtest::LoggedSinceClear(), c.logged);
  }
}

TEST(GetApplicationName, AVersionQueryFailureOtherThanNoInterfaceIsRaised) {
  HostSession session;
  auto module = MakeModule();
  module->version.queryFailure = E_OUTOFMEMORY;
  try {
    GetApplicationName(module->GetUnknown());
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& error) {
    EXPECT_EQ(Hr(E_OUTOFMEMORY), Hr(error.Error()));
  }
}

TEST(PVDlgLock, LocksForItsLifeAndUnlocksOnce) {
  HostSession session;
  hostsim::Ref<hostsim::DialogManager> manager(hostsim::DialogManager::Create());
  {
    CPVDlgLock lock(manager.get());
    EXPECT_EQ(manager->lockCalls, 1);
    EXPECT_EQ(manager->depth, 1);
  }
  EXPECT_EQ(manager->unlockCalls, 1);
  EXPECT_EQ(manager->depth, 0);
  EXPECT_EQ(manager->unbalancedUnlocks, 0);
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST(PVDlgLock, ANullManagerIsLoggedWhenMadeAndWhenDestroyed) {
  HostSession session;
  { CPVDlgLock lock(nullptr); }
  const std::vector<std::wstring> expected = {
      L"CPVDlgLock::CPVDlgLock: Invalid IPVDlgManager passed into CPVDlgLock.",
      L"CPVDlgLock::~CPVDlgLock: Invalid CPVDlgLock state.",
  };
  EXPECT_EQ(pvtest::LoggedSinceClear(), expected);
}

}  // namespace
