// The module identity check against the simulated host's module (its device information) and
// the host's module prompt server, with a small page that reports a controller mode.
#include <afxwin.h>

#include <HostModule.h>
#include <HostServers.h>
#include <HostServices.h>
#include <HostTexts.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostSession.h"
#include "PVCtrlInterfaces.h"
#include "PVModuleIdentityCheck.h"
#include "PromptInfo.h"

namespace {

using pvtest::HostSession;
using pvtest::Hr;
using Check = CPVModuleIdentityCheck;

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// A page that answers the controller mode and nothing else; any other call fails the test.
class ModePage : public IPVPropPageEnum {
 public:
  LONG mode = 1;
  HRESULT modeResult = S_OK;
  int modeCalls = 0;

  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    ADD_FAILURE() << "the check queried its page";
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override {
    ADD_FAILURE() << "the check counted its page";
    return 2;
  }
  STDMETHODIMP_(ULONG) Release() override {
    ADD_FAILURE() << "the check released its page";
    return 1;
  }
  STDMETHODIMP GetVexilMode(LONG* out) override {
    ++modeCalls;
    if (SUCCEEDED(modeResult)) *out = mode;
    return modeResult;
  }

  STDMETHODIMP ForwardParentRequest() override { return Unexpected(); }
  STDMETHODIMP CtrlModified(CWnd*, int, VARIANT_BOOL) override { return Unexpected(); }
  STDMETHODIMP OnFocusChange(CWnd*) override { return Unexpected(); }
  STDMETHODIMP RequestInputFocus(CWnd*) override { return Unexpected(); }
  STDMETHODIMP GetPropPageEnumCWnd(CWnd**) override { return Unexpected(); }
  STDMETHODIMP ShowErrorDlg(BSTR, BSTR, LONG) override { return Unexpected(); }
  STDMETHODIMP QueryParentFlag(VARIANT_BOOL*, LONG) override { return Unexpected(); }
  STDMETHODIMP GetRedundancyState(LONG*) override { return Unexpected(); }
  STDMETHODIMP GetIPVDlgManager(IPVDialogManager**) override { return Unexpected(); }
  STDMETHODIMP_(int) ShowMessageDlg(HWND, BSTR, UINT, LONG, BSTR) override { return Unexpected(); }
  STDMETHODIMP GetHostService(REFCLSID, IUnknown**) override { return Unexpected(); }

 private:
  static HRESULT Unexpected() {
    ADD_FAILURE() << "the check called a page service other than the controller mode";
    return E_NOTIMPL;
  }
};

// The module's device information seen through a recorder: whether the wait cursor was showing
// and the application was the current one while the device was asked, and the references the
// check holds.
class RecordingDeviceInfo : public IDeviceInfo2 {
 public:
  explicit RecordingDeviceInfo(IDeviceInfo2* inner) : m_inner(inner) {}
  std::vector<bool> waitCursorShowing;
  int refs = 0;

  STDMETHODIMP QueryInterface(REFIID, void** ppv) override {
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return static_cast<ULONG>(++refs); }
  STDMETHODIMP_(ULONG) Release() override {
    EXPECT_GT(refs, 0) << "released below zero";
    return static_cast<ULONG>(--refs);
  }
  STDMETHODIMP GetModuleIdentityStatus(LONG* status) override {
    waitCursorShowing.push_back(platform::mfc::IsWaitCursorShowing());
    return m_inner->GetModuleIdentityStatus(status);
  }
  HOST_RESERVED_SLOT_IMPL(1);
  HOST_RESERVED_SLOT_IMPL(2);
  HOST_RESERVED_SLOT_IMPL(3);
  HOST_RESERVED_SLOT_IMPL(4);
  HOST_RESERVED_SLOT_IMPL(5);
  HOST_RESERVED_SLOT_IMPL(6);
  HOST_RESERVED_SLOT_IMPL(7);
  HOST_RESERVED_SLOT_IMPL(8);
  HOST_RESERVED_SLOT_IMPL(9);
  HOST_RESERVED_SLOT_IMPL(10);

 private:
  IDeviceInfo2* m_inner;
};

// The prompt the host's module prompt server gives for that id in English.
CPromptInfo HostPrompt(LONG id) {
  const auto prompt = hostsim::FindHostPrompt(CLSID_PVModulePromptServer, id, hostsim::kEnglish);
  EXPECT_TRUE(prompt) << "the host has no module prompt " << id;
  if (!prompt) return {};
  return CPromptInfo(prompt->text.c_str(), prompt->caption.c_str(), prompt->type);
}

const CPromptInfo kUntouched(L"untouched text", L"untouched caption", 77);

class IdentityCheck : public ::testing::Test {
 protected:
  void SetUp() override { platform::mfc::ResetWaitCursor(); }

  // A check on the module with the page, the module reporting status (or failing with result).
  void Initialize(Check& check) { ASSERT_EQ(Hr(S_OK), Hr(check.Initialize(module.get(), &page))); }
  int PromptObjectsCreated() const {
    return hostsim::GetServiceCounters(CLSID_PVModulePromptServer).objectsCreated;
  }

  HostSession session;
  // The test executable's application object, whose wait cursor the check shows.
  CWinApp app;
  hostsim::Ref<hostsim::HostModule> module{hostsim::HostModule::Create()};
  ModePage page;
};

TEST_F(IdentityCheck, TheOutcomeAndPromptFollowTheStatusTheDeviceReports) {
  struct Case {
    const char* name;
    HRESULT queryResult;
    LONG status;
    int result;
    LONG promptId;  // 0: the prompt is not touched and no prompt server is made
  };
  const Case cases[] = {
      {"matching module", S_OK, 0, Check::kModuleMatches, 0},
      {"other status values match", S_OK, 3, Check::kModuleMatches, 0},
      {"negative status matches", S_OK, -1, Check::kModuleMatches, 0},
      {"module missing", S_OK, 1, Check::kModuleMissingOrMismatched, Check::kPromptMissing},
      {"module mismatched", S_OK, 2, Check::kModuleMissingOrMismatched, Check::kPromptMismatched},
      {"query failing", E_FAIL, 0, Check::kQueryFailed, Check::kPromptQueryFailed},
      {"query failing with another code", E_ACCESSDENIED, 2, Check::kQueryFailed, Check::kPromptQueryFailed},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::ResetServiceCounters();
    orvolog::ClearRecords();
    module->identity = {.result = c.queryResult, .status = c.status};
    Check check;
    Initialize(check);
    CPromptInfo prompt = kUntouched;
    EXPECT_EQ(check.CheckModuleIdentity(&prompt, 0), c.result);
    EXPECT_EQ(check.GetCachedResult(), c.result);
    EXPECT_EQ(module->identity.calls, 1);
    EXPECT_EQ(page.modeCalls, 1);
    if (c.promptId == 0) {
      EXPECT_EQ(prompt, kUntouched);
      EXPECT_EQ(PromptObjectsCreated(), 0);
    } else {
      EXPECT_EQ(prompt, HostPrompt(c.promptId)) << Text(prompt.m_text);
      const hostsim::ServiceCounters counters = hostsim::GetServiceCounters(CLSID_PVModulePromptServer);
      EXPECT_EQ(counters.objectsCreated, 1);
      EXPECT_EQ(counters.lastLocale, hostsim::kEnglish) << "the default locale without a module instance";
      EXPECT_EQ(counters.liveObjects, 0) << "the prompt server was not released";
    }
    EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
    page.modeCalls = 0;
  }
}

TEST_F(IdentityCheck, EveryOnlineModeAsksTheDeviceAndNoOtherModeDoesEvenWhenForced) {
  for (LONG mode = -1; mode <= 8; ++mode) {
    for (int force : {0, 1}) {
      SCOPED_TRACE(testing::Message() << "mode " << mode << " force " << force);
      const bool online = mode >= 1 && mode <= 6;
      module->identity = {.status = Check::kStatusMissing};
      page.mode = mode;
      Check check;
      Initialize(check);
      CPromptInfo prompt = kUntouched;
      EXPECT_EQ(check.CheckModuleIdentity(&prompt, force),
                online ? Check::kModuleMissingOrMismatched : Check::kModuleMatches);
      EXPECT_EQ(module->identity.calls, online ? 1 : 0);
      EXPECT_EQ(check.GetCachedResult(), online ? Check::kModuleMissingOrMismatched : Check::kNotQueried);
      if (online)
        EXPECT_EQ(prompt, HostPrompt(Check::kPromptMissing));
      else
        EXPECT_EQ(prompt, kUntouched);
    }
  }
}

TEST_F(IdentityCheck, AFailingModeQueryIsLoggedAndCountsAsOffline) {
  page.modeResult = E_UNEXPECTED;
  module->identity.status = Check::kStatusMismatched;
  Check check;
  Initialize(check);
  CPromptInfo prompt = kUntouched;
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 1), Check::kModuleMatches);
  EXPECT_EQ(module->identity.calls, 0);
  EXPECT_EQ(prompt, kUntouched);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{
                L"CPVModuleIdentityCheck::IsOnline: Failed to get GetVexilMode() return value."});
}

TEST_F(IdentityCheck, TheOutcomeIsCachedUntilAForcedQueryAndTheCachedPromptIsFetchedAgain) {
  module->identity.status = Check::kStatusMissing;
  Check check;
  Initialize(check);
  struct Step {
    const char* name;
    LONG mode;
    LONG deviceStatus;  // what the device reports from this step on
    int force;
    int result;
    int deviceCalls;  // in total, after the step
    LONG promptId;    // 0: prompt untouched
  };
  const Step steps[] = {
      {"first online call asks", 1, 1, 0, Check::kModuleMissingOrMismatched, 1, Check::kPromptMissing},
      {"cached without force", 1, 0, 0, Check::kModuleMissingOrMismatched, 1, Check::kPromptMissing},
      {"force other than 1 uses the cache", 2, 0, 2, Check::kModuleMissingOrMismatched, 1,
       Check::kPromptMissing},
      {"offline does not ask", 0, 2, 1, Check::kModuleMatches, 1, 0},
      {"offline keeps the cache", 3, 2, 0, Check::kModuleMissingOrMismatched, 1, Check::kPromptMissing},
      {"forced query replaces it", 3, 2, 1, Check::kModuleMissingOrMismatched, 2, Check::kPromptMismatched},
      {"forced match", 4, 0, 1, Check::kModuleMatches, 3, 0},
      {"cached match", 4, 1, 0, Check::kModuleMatches, 3, 0},
  };
  for (const Step& step : steps) {
    SCOPED_TRACE(step.name);
    page.mode = step.mode;
    module->identity.status = step.deviceStatus;
    hostsim::ResetServiceCounters();
    CPromptInfo prompt = kUntouched;
    EXPECT_EQ(check.CheckModuleIdentity(&prompt, step.force), step.result);
    EXPECT_EQ(module->identity.calls, step.deviceCalls);
    EXPECT_EQ(prompt, step.promptId ? HostPrompt(step.promptId) : kUntouched);
    EXPECT_EQ(PromptObjectsCreated(), step.promptId ? 1 : 0);
  }
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST_F(IdentityCheck, AFailedQueryStaysCachedUntilForcedAgain) {
  module->identity.result = E_FAIL;
  Check check;
  Initialize(check);
  CPromptInfo prompt;
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 0), Check::kQueryFailed);
  module->identity = {.status = 0, .calls = module->identity.calls};
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 0), Check::kQueryFailed);
  EXPECT_EQ(prompt, HostPrompt(Check::kPromptQueryFailed));
  EXPECT_EQ(module->identity.calls, 1);
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 1), Check::kModuleMatches);
  EXPECT_EQ(module->identity.calls, 2);
}

TEST_F(IdentityCheck, TheDeviceIsAskedUnderTheApplicationsWaitCursorWhichEndsAfterward) {
  for (HRESULT result : {S_OK, E_FAIL}) {
    SCOPED_TRACE(testing::Message() << "query result " << std::hex << result);
    platform::mfc::ResetWaitCursor();
    module->identity = {.result = result, .status = Check::kStatusMismatched};
    RecordingDeviceInfo device(module.get());
    {
      Check check;
      ASSERT_EQ(Hr(S_OK), Hr(check.Initialize(&device, &page)));
      EXPECT_EQ(device.refs, 1) << "the check holds one reference";
      CPromptInfo prompt;
      check.CheckModuleIdentity(&prompt, 0);
      check.CheckModuleIdentity(&prompt, 1);
      EXPECT_EQ(device.waitCursorShowing, (std::vector<bool>{true, true}));
      EXPECT_FALSE(platform::mfc::IsWaitCursorShowing());
      EXPECT_EQ(platform::mfc::WaitCursorBeginCount(), 2);
    }
    EXPECT_EQ(device.refs, 0) << "the check did not release the device information";
  }
}

TEST_F(IdentityCheck, WithoutDeviceInformationTheCheckIsNotInitializedAndAsksNothing) {
  Check check;
  CPromptInfo prompt = kUntouched;
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 1), Check::kNotQueried);
  EXPECT_EQ(check.GetCachedResult(), Check::kNotQueried);
  EXPECT_EQ(prompt, kUntouched);

  EXPECT_EQ(Hr(E_POINTER), Hr(check.Initialize(nullptr, &page)));
  EXPECT_EQ(Hr(E_POINTER), Hr(check.Initialize(module.get(), nullptr)));
  EXPECT_EQ(Hr(E_POINTER), Hr(check.Initialize(nullptr)));
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 0), Check::kNotQueried)
      << "a refused Initialize holds nothing";
  EXPECT_EQ(page.modeCalls, 0);
  EXPECT_EQ(module->identity.calls, 0);
  EXPECT_EQ(PromptObjectsCreated(), 0);
  const std::wstring notInitialized =
      L"CPVModuleIdentityCheck::InitializationIsValid: Error: Failed to initialize the data members.";
  const std::wstring nullPointer =
      L"CPVModuleIdentityCheck::Initialize: Pointer passed to this method is NULL.";
  EXPECT_EQ(pvtest::LoggedSinceClear(), (std::vector<std::wstring>{notInitialized, nullPointer, nullPointer,
                                                                   nullPointer, notInitialized}));
}

TEST_F(IdentityCheck, WithoutAPageTheControllerCountsAsOnlineAndALaterPageIsKept) {
  module->identity.status = Check::kStatusMismatched;
  Check check;
  ASSERT_EQ(Hr(S_OK), Hr(check.Initialize(module.get())));
  EXPECT_TRUE(check.IsOnline());
  CPromptInfo prompt;
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 0), Check::kModuleMissingOrMismatched);
  EXPECT_EQ(prompt, HostPrompt(Check::kPromptMismatched));

  // The page given once stays when only the device information is given again.
  page.mode = 0;
  Initialize(check);
  ASSERT_EQ(Hr(S_OK), Hr(check.Initialize(module.get())));
  EXPECT_FALSE(check.IsOnline());
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 1), Check::kModuleMatches);
  EXPECT_EQ(module->identity.calls, 1);
}

TEST_F(IdentityCheck, PromptFailuresAreLoggedAndTheOutcomeStillReturned) {
  module->identity.status = Check::kStatusMissing;
  Check check;
  Initialize(check);

  // No prompt to fill: the prompt server refuses it.
  EXPECT_EQ(check.CheckModuleIdentity(nullptr, 0), Check::kModuleMissingOrMismatched);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{
                L"CPVModuleIdentityCheck::GetPromptInfo: Failed to get the GetPrompt() return value."});

  // No prompt server: the prompt stays as it was.
  orvolog::ClearRecords();
  hostsim::RevokeHostServers();
  CPromptInfo prompt = kUntouched;
  EXPECT_EQ(check.CheckModuleIdentity(&prompt, 0), Check::kModuleMissingOrMismatched);
  EXPECT_EQ(prompt, kUntouched);
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{
                L"CPVModuleIdentityCheck::GetPromptInfo: Failure to initialize CPromptServerWrapper class."});
  EXPECT_EQ(module->identity.calls, 1);
}

TEST_F(IdentityCheck, APromptAskedForWithoutAMissingOrMismatchedModuleIsLogged) {
  struct Case {
    const char* name;
    LONG status;
    int force;
  };
  const Case cases[] = {{"never asked", 0, -1}, {"matching module", 0, 1}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    orvolog::ClearRecords();
    module->identity.status = c.status;
    Check check;
    Initialize(check);
    CPromptInfo prompt = kUntouched;
    if (c.force >= 0) check.CheckModuleIdentity(&prompt, c.force);
    EXPECT_EQ(check.GetPromptInfo(&prompt), check.GetCachedResult());
    EXPECT_EQ(prompt, kUntouched);
    EXPECT_EQ(
        pvtest::LoggedSinceClear(),
        std::vector<std::wstring>{
            L"CPVModuleIdentityCheck::GetPromptInfo: Called GetPromptInfo but module is neither Missing "
            L"nor Mismatched."});
  }
}

TEST_F(IdentityCheck, QueryIdentityStatusAsksWithoutChangingTheCachedOutcome) {
  module->identity.status = Check::kStatusMissing;
  Check check;
  Initialize(check);
  EXPECT_EQ(check.QueryIdentityStatus(), Check::kModuleMissingOrMismatched);
  EXPECT_EQ(check.GetIdentityStatus(), Check::kStatusMissing);
  EXPECT_EQ(check.GetCachedResult(), Check::kNotQueried);
  module->identity.result = E_FAIL;
  EXPECT_EQ(check.QueryIdentityStatus(), Check::kQueryFailed);
  EXPECT_EQ(module->identity.calls, 2);
}

}  // namespace
