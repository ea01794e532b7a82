// The host parent as a page meets it: what each IPVParent, IPVVexilProperties and
// IDynamicSubItemHost call answers and leaves recorded, the road to the application object,
// the module-specific file finder created by CLSID, and the host window pages live in.
#include <HostModule.h>
#include <HostParent.h>
#include <HostServers.h>
#include <HostViewConnector.h>
#include <ModuleSpecificFileFind.h>
#include <platform/testing_hresult.h>
#include <oleauto.h>
#include <winuser.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <ostream>
#include <string>

namespace {

using ::platform::test_support::Hr;

std::wstring Take(BSTR text) {
  std::wstring out(text ? text : L"", SysStringLen(text));
  SysFreeString(text);
  return out;
}

// The reference count of an object, seen through AddRef/Release.
ULONG RefsOf(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

class HostParentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));
    ASSERT_EQ(Hr(S_OK), Hr(hostsim::RegisterHostServers()));
    hostsim::ResetServiceCounters();
    module = hostsim::HostModule::Create();
    parent = hostsim::HostParent::Create(module);
  }
  void TearDown() override {
    const auto chain = parent->viewConnector;
    EXPECT_EQ(parent->reservedCalls, 0);
    EXPECT_EQ(parent->Release(), 0u) << "a reference to the parent leaked";
    EXPECT_EQ(hostsim::HostParent::LiveObjects(), 0);
    EXPECT_EQ(chain->liveObjects, 0) << "an object of the view-connector chain leaked";
    EXPECT_EQ(module->Release(), 0u) << "the parent kept a module reference";
    EXPECT_EQ(hostsim::GetServiceCounters(CLSID_ModuleSpecificFileFind).liveObjects, 0);
    hostsim::RevokeHostServers();
    CoUninitialize();
  }

  hostsim::HostModule* module = nullptr;
  hostsim::HostParent* parent = nullptr;
};

TEST_F(HostParentTest, EveryCallIsRecordedWithItsArguments) {
  auto* page = reinterpret_cast<IPVChild*>(0x1000);
  auto* panel = reinterpret_cast<IPVPanel3*>(0x2000);
  auto* owner = reinterpret_cast<HWND>(0x3000);
  IPVParent* p = parent;
  BSTR text = SysAllocString(L"Text");
  BSTR caption = SysAllocString(L"Caption");

  EXPECT_EQ(Hr(S_OK), Hr(p->ForwardParentRequest()));
  EXPECT_EQ(Hr(S_OK), Hr(p->RequestInputFocus(page)));
  EXPECT_EQ(Hr(S_OK), Hr(p->ShowErrorDlg(text, caption, 0x20005)));
  EXPECT_EQ(Hr(S_OK), Hr(p->ShowErrorDlg(nullptr, nullptr, 0)));
  EXPECT_EQ(p->ShowMessageDlg(owner, text, MB_YESNO, 0x30007, caption), IDOK);
  parent->messageDialogAnswer = -1;
  EXPECT_EQ(p->ShowMessageDlg(nullptr, nullptr, 0, 0, nullptr), -1);
  BOOL flag = TRUE;
  EXPECT_EQ(Hr(S_OK), Hr(p->QueryFlag(&flag, 42)));
  EXPECT_EQ(flag, FALSE);
  parent->flagAnswer = TRUE;
  EXPECT_EQ(Hr(S_OK), Hr(p->QueryFlag(&flag, 7)));
  EXPECT_EQ(flag, TRUE);
  EXPECT_EQ(Hr(S_OK), Hr(p->SetProfileDirty(panel)));
  EXPECT_EQ(Hr(S_OK), Hr(p->SetProfileDirty(panel)));
  EXPECT_EQ(Hr(S_OK), Hr(static_cast<IDynamicSubItemHost*>(parent)->RebuildDynamicSubItems(page)));
  SysFreeString(text);
  SysFreeString(caption);

  EXPECT_EQ(parent->forwardRequests, 1);
  EXPECT_EQ(parent->focusRequests, std::vector<IPVChild*>{page});
  ASSERT_EQ(parent->errorDialogs.size(), 2u);
  EXPECT_EQ(parent->errorDialogs[0].text, L"Text");
  EXPECT_EQ(parent->errorDialogs[0].caption, L"Caption");
  EXPECT_EQ(parent->errorDialogs[0].helpContext, 0x20005);
  EXPECT_EQ(parent->errorDialogs[1].text, L"");
  ASSERT_EQ(parent->messageDialogs.size(), 2u);
  const hostsim::MessageDialogRecord& shown = parent->messageDialogs[0];
  EXPECT_EQ(shown.owner, owner);
  EXPECT_EQ(shown.text, L"Text");
  EXPECT_EQ(shown.style, static_cast<UINT>(MB_YESNO));
  EXPECT_EQ(shown.helpContext, 0x30007);
  EXPECT_EQ(shown.caption, L"Caption");
  EXPECT_EQ(parent->flagQueries, (std::vector<LONG>{42, 7}));
  EXPECT_EQ(parent->dirtyNotices, (std::vector<IPVPanel3*>{panel, panel}));
  EXPECT_EQ(parent->rebuildRequests, std::vector<IUnknown*>{page});
}

TEST_F(HostParentTest, EachResultSwitchIsAnsweredAsSet) {
  IPVParent* p = parent;
  IPVVexilProperties* v = parent;
  LONG value = 0;
  BOOL flag = TRUE;
  IModule* borrowed = nullptr;
  IUnknown* service = nullptr;
  struct Case {
    const char* name;
    HRESULT& result;
    std::function<HRESULT()> call;
  };
  const Case cases[] = {
      {"forward", parent->forwardResult, [&] { return p->ForwardParentRequest(); }},
      {"focus", parent->focusResult, [&] { return p->RequestInputFocus(nullptr); }},
      {"error dialog", parent->errorDialogResult, [&] { return p->ShowErrorDlg(nullptr, nullptr, 0); }},
      {"flag", parent->flagResult, [&] { return p->QueryFlag(&flag, 0); }},
      {"module", parent->moduleResult, [&] { return p->GetModule(&borrowed); }},
      {"service", parent->hostServiceResult,
       [&] { return p->GetHostService(CLSID_PVExtHostViewConnector, &service); }},
      {"dirty", parent->dirtyResult, [&] { return p->SetProfileDirty(nullptr); }},
      {"rebuild", parent->rebuildResult, [&] { return parent->RebuildDynamicSubItems(nullptr); }},
      {"vexil mode", parent->vexil.modeResult, [&] { return v->GetVexilMode(&value); }},
      {"redundancy", parent->vexil.redundancyResult, [&] { return v->GetRedundancyState(&value); }},
  };
  parent->flagAnswer = TRUE;
  parent->vexil.mode = 3;
  parent->vexil.redundancy = 2;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    for (const HRESULT hr : {E_FAIL, static_cast<HRESULT>(0x80040217), E_ACCESSDENIED}) {
      c.result = hr;
      EXPECT_EQ(Hr(hr), Hr(c.call()));
    }
    c.result = S_OK;
    EXPECT_EQ(Hr(S_OK), Hr(c.call()));
    if (service) service->Release();
    service = nullptr;
  }
  EXPECT_EQ(parent->vexil.modeCalls, 4);
  EXPECT_EQ(parent->vexil.redundancyCalls, 4);
  EXPECT_EQ(Hr(S_OK), Hr(v->GetRedundancyState(&value)));
  EXPECT_EQ(value, 2);
  EXPECT_EQ(Hr(S_OK), Hr(v->GetVexilMode(&value)));
  EXPECT_EQ(value, 3);
}

TEST_F(HostParentTest, GetModuleLendsTheModuleWithoutAReference) {
  const ULONG before = RefsOf(module->GetUnknown());
  IModule* borrowed = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(parent->GetModule(&borrowed)));
  EXPECT_EQ(borrowed, module->GetModule());
  EXPECT_EQ(RefsOf(module->GetUnknown()), before);

  parent->moduleResult = E_UNEXPECTED;
  EXPECT_EQ(Hr(E_UNEXPECTED), Hr(parent->GetModule(&borrowed)));
  EXPECT_EQ(borrowed, nullptr);
  EXPECT_EQ(Hr(E_POINTER), Hr(parent->GetModule(nullptr)));
  EXPECT_EQ(parent->moduleQueries, 3);

  hostsim::Ref<hostsim::HostParent> orphan(hostsim::HostParent::Create(nullptr));
  EXPECT_EQ(Hr(E_FAIL), Hr(orphan->GetModule(&borrowed)));
  EXPECT_EQ(borrowed, nullptr);
}

TEST_F(HostParentTest, QueryInterfaceAnswersEachInterfaceUntilItIsFailed) {
  const IID* const interfaces[] = {&__uuidof(IPVParent), &__uuidof(IPVVexilProperties),
                                   &__uuidof(IDynamicSubItemHost)};
  for (const IID* iid : interfaces) {
    SCOPED_TRACE(testing::Message() << "interface " << (iid - interfaces[0]));
    for (const HRESULT failure : {S_OK, E_NOINTERFACE, E_UNEXPECTED}) {
      parent->FailQuery(*iid, failure);
      IUnknown* answered = reinterpret_cast<IUnknown*>(1);
      EXPECT_EQ(Hr(failure), Hr(parent->QueryInterface(*iid, reinterpret_cast<void**>(&answered))));
      if (failure == S_OK) {
        ASSERT_NE(answered, nullptr);
        IUnknown* identity = nullptr;
        EXPECT_EQ(Hr(S_OK), Hr(answered->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))));
        EXPECT_EQ(identity, parent->GetUnknown());
        identity->Release();
        answered->Release();
      } else {
        EXPECT_EQ(answered, nullptr);
      }
      parent->FailQuery(*iid, S_OK);
    }
  }
  void* other = nullptr;
  EXPECT_EQ(Hr(E_NOINTERFACE), Hr(parent->QueryInterface(__uuidof(IPVChild), &other)));
}

TEST_F(HostParentTest, ReservedSlotsAnswerNotImplementedAndAreCounted) {
  IPVParent* p = parent;
  EXPECT_EQ(Hr(E_NOTIMPL), Hr(p->Reserved2()));
  EXPECT_EQ(Hr(E_NOTIMPL), Hr(p->Reserved3()));
  EXPECT_EQ(Hr(E_NOTIMPL), Hr(p->Reserved7()));
  EXPECT_EQ(parent->reservedCalls, 3);
  parent->reservedCalls = 0;  // checked at tear-down for every other test
}

TEST_F(HostParentTest, DialogManagerIsTheParentsOwnUntilReplacedOrRemoved) {
  IPVDialogManager* manager = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(parent->GetDialogManager(&manager)));
  EXPECT_EQ(manager, static_cast<IPVDialogManager*>(parent->dialogManager()));
  manager->Lock();
  manager->Release();
  EXPECT_EQ(parent->dialogManager()->lockCalls, 1);

  hostsim::Ref<hostsim::DialogManager> own(hostsim::DialogManager::Create());
  parent->SetDialogManager(own.get());
  ASSERT_EQ(Hr(S_OK), Hr(parent->GetDialogManager(&manager)));
  EXPECT_EQ(manager, static_cast<IPVDialogManager*>(own.get()));
  manager->Release();

  parent->SetDialogManager(nullptr);
  manager = reinterpret_cast<IPVDialogManager*>(1);
  EXPECT_EQ(Hr(E_FAIL), Hr(parent->GetDialogManager(&manager)));
  EXPECT_EQ(manager, nullptr);
  EXPECT_EQ(parent->dialogManagerQueries, 3);
  EXPECT_EQ(RefsOf(own.get()), 1u);
}

TEST_F(HostParentTest, HostServicesAreAnsweredByClass) {
  IUnknown* service = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(parent->GetHostService(CLSID_PVExtHostViewConnector, &service)));
  IPVExtHostViewConnector* connector = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(service->QueryInterface(__uuidof(IPVExtHostViewConnector),
                                                 reinterpret_cast<void**>(&connector))));
  connector->Release();
  service->Release();

  service = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(Hr(E_FAIL), Hr(parent->GetHostService(CLSID_ModuleSpecificFileFind, &service)));
  EXPECT_EQ(service, nullptr);

  // A service of the test's own choosing, then none.
  hostsim::Ref<hostsim::DialogManager> own(hostsim::DialogManager::Create());
  parent->SetHostService(CLSID_ModuleSpecificFileFind, own.get());
  ASSERT_EQ(Hr(S_OK), Hr(parent->GetHostService(CLSID_ModuleSpecificFileFind, &service)));
  EXPECT_EQ(service, static_cast<IUnknown*>(own.get()));
  service->Release();
  parent->SetHostService(CLSID_PVExtHostViewConnector, nullptr);
  EXPECT_EQ(Hr(E_FAIL), Hr(parent->GetHostService(CLSID_PVExtHostViewConnector, &service)));
  EXPECT_EQ(parent->serviceRequests.size(), 4u);
  EXPECT_TRUE(parent->serviceRequests[1] == CLSID_ModuleSpecificFileFind);
  parent->SetHostService(CLSID_ModuleSpecificFileFind, nullptr);
  EXPECT_EQ(RefsOf(own.get()), 1u);
}

// Walks the page's road to the application object; returns the number of the step that
// failed (1 to 6), or 0 with the application object in *application.
int WalkToApplication(IPVParent* parent, IApplication** application) {
  *application = nullptr;
  IUnknown* service = nullptr;
  if (FAILED(parent->GetHostService(CLSID_PVExtHostViewConnector, &service))) return 1;
  IPVExtHostViewConnector* extConnector = nullptr;
  HRESULT hr =
      service->QueryInterface(__uuidof(IPVExtHostViewConnector), reinterpret_cast<void**>(&extConnector));
  service->Release();
  if (FAILED(hr)) return 2;
  IUnknown* connectorObject = nullptr;
  hr = extConnector->GetHostViewConnector(&connectorObject);
  extConnector->Release();
  if (FAILED(hr)) return 3;
  IHostViewConnector* connector = nullptr;
  hr = connectorObject->QueryInterface(__uuidof(IHostViewConnector), reinterpret_cast<void**>(&connector));
  connectorObject->Release();
  if (FAILED(hr)) return 4;
  IUnknown* applicationObject = nullptr;
  hr = connector->GetApplication(&applicationObject);
  connector->Release();
  if (FAILED(hr)) return 5;
  hr = applicationObject->QueryInterface(__uuidof(IApplication), reinterpret_cast<void**>(application));
  applicationObject->Release();
  return FAILED(hr) ? 6 : 0;
}

TEST_F(HostParentTest, EachStepOfTheRoadToTheApplicationCanFail) {
  using State = hostsim::ViewConnectorState;
  struct Case {
    int step;
    std::function<void(hostsim::HostParent&, State&)> fail;
  };
  const Case cases[] = {
      {1, [](hostsim::HostParent& p, State&) { p.hostServiceResult = E_FAIL; }},
      {2, [](hostsim::HostParent&, State& s) { s.answersServiceInterface = false; }},
      {3, [](hostsim::HostParent&, State& s) { s.connectorResult = E_FAIL; }},
      {4, [](hostsim::HostParent&, State& s) { s.answersConnectorInterface = false; }},
      {5, [](hostsim::HostParent&, State& s) { s.applicationResult = E_FAIL; }},
      {6, [](hostsim::HostParent&, State& s) { s.answersApplicationInterface = false; }},
  };
  State& state = *parent->viewConnector;
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "step " << c.step);
    const State defaults = state;
    c.fail(*parent, state);
    IApplication* application = nullptr;
    EXPECT_EQ(WalkToApplication(parent, &application), c.step);
    EXPECT_EQ(application, nullptr);
    EXPECT_EQ(state.liveObjects, 1) << "only the registered service object stays";
    state = defaults;
    parent->hostServiceResult = S_OK;
  }
  IApplication* application = nullptr;
  ASSERT_EQ(WalkToApplication(parent, &application), 0);
  application->Release();
}

TEST_F(HostParentTest, ApplicationAnswersItsColoursAsPropertyGets) {
  hostsim::ViewConnectorState& state = *parent->viewConnector;
  state.forcedColour = 0x00112233;
  state.forcedEnabledColour = 0x00445566;
  IApplication* application = nullptr;
  ASSERT_EQ(WalkToApplication(parent, &application), 0);
  struct Case {
    DISPID dispid;
    WORD flags;
    HRESULT propertyResult;
    HRESULT expected;
    LONG colour;
  };
  const Case cases[] = {
      {hostsim::kDispidForcedColour, DISPATCH_PROPERTYGET, S_OK, S_OK, 0x00112233},
      {hostsim::kDispidForcedEnabledColour, DISPATCH_PROPERTYGET, S_OK, S_OK, 0x00445566},
      {hostsim::kDispidForcedEnabledColour, DISPATCH_METHOD | DISPATCH_PROPERTYGET, S_OK, S_OK, 0x00445566},
      {hostsim::kDispidForcedColour, DISPATCH_PROPERTYGET, E_ACCESSDENIED, E_ACCESSDENIED, 0},
      {21, DISPATCH_PROPERTYGET, S_OK, DISP_E_MEMBERNOTFOUND, 0},
      {hostsim::kDispidForcedColour, DISPATCH_PROPERTYPUT, S_OK, DISP_E_MEMBERNOTFOUND, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "dispid " << c.dispid << " flags " << c.flags);
    state.propertyResult = c.propertyResult;
    DISPPARAMS none{};
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(Hr(c.expected),
              Hr(application->Invoke(c.dispid, IID_NULL, 1033, c.flags, &none, &result, nullptr, nullptr)));
    if (SUCCEEDED(c.expected)) {
      EXPECT_EQ(V_VT(&result), VT_I4);
      EXPECT_EQ(V_I4(&result), c.colour);
    } else {
      EXPECT_EQ(V_VT(&result), VT_EMPTY);
    }
    VariantClear(&result);
  }
  EXPECT_EQ(state.propertyReads, 6);
  application->Release();
}

TEST_F(HostParentTest, FileFinderIsCreatedByClassAndResolvesNames) {
  hostsim::FileFindSettings& settings = hostsim::MutableFileFindSettings();
  settings.paths[L"Special.chm"] = L"Z:\\elsewhere\\Special.chm";
  struct Case {
    const wchar_t* folder;
    HRESULT findResult;
    const wchar_t* name;
    HRESULT expected;
    const wchar_t* path;
  };
  const Case cases[] = {
      {L"Z:\\help", S_OK, L"Module.chm", S_OK, L"Z:\\help\\Module.chm"},
      {L"Z:\\help\\", S_OK, L"Module.chm", S_OK, L"Z:\\help\\Module.chm"},
      {L"Z:\\help", S_OK, L"SPECIAL.CHM", S_OK, L"Z:\\elsewhere\\Special.chm"},
      {L"", S_OK, L"Special.chm", S_OK, L"Z:\\elsewhere\\Special.chm"},
      {L"", S_OK, L"Module.chm", HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), nullptr},
      {L"Z:\\help", S_OK, L"", E_INVALIDARG, nullptr},
      {L"Z:\\help", E_ACCESSDENIED, L"Module.chm", E_ACCESSDENIED, nullptr},
  };
  IModuleSpecificFileFindPtr finder;
  ASSERT_EQ(Hr(S_OK),
            Hr(CoCreateInstance(CLSID_ModuleSpecificFileFind, nullptr, 0x17,
                                __uuidof(IModuleSpecificFileFind), reinterpret_cast<void**>(&finder))));
  ASSERT_EQ(Hr(S_OK), Hr(OleRun(finder)));
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "folder " << (c.folder[0] ? "set" : "none") << ", case of "
                                    << c.expected);
    settings.folder = c.folder;
    settings.findResult = c.findResult;
    BSTR name = SysAllocString(c.name);
    BSTR path = reinterpret_cast<BSTR>(1);
    EXPECT_EQ(Hr(c.expected), Hr(finder->FindFile(name, &path)));
    SysFreeString(name);
    if (c.path) {
      EXPECT_EQ(Take(path), c.path);
    } else {
      EXPECT_EQ(path, nullptr);
    }
  }
  BSTR path = nullptr;
  EXPECT_EQ(Hr(E_POINTER), Hr(finder->FindFile(nullptr, &path)));
  EXPECT_EQ(settings.requests.size(), std::size(cases));
  finder = nullptr;

  settings.createResult = E_OUTOFMEMORY;
  EXPECT_EQ(Hr(E_OUTOFMEMORY),
            Hr(CoCreateInstance(CLSID_ModuleSpecificFileFind, nullptr, 0x17,
                                __uuidof(IModuleSpecificFileFind), reinterpret_cast<void**>(&finder))));
  EXPECT_FALSE(finder);
  EXPECT_EQ(hostsim::GetServiceCounters(CLSID_ModuleSpecificFileFind).objectsCreated, 1);
}

TEST_F(HostParentTest, HostWindowIsAVisibleTopLevelWindowThatPagesLiveIn) {
  HWND kept = nullptr;
  HWND child = nullptr;
  {
    hostsim::HostWindow window;
    ASSERT_NE(window.get(), nullptr);
    kept = window.get();
    EXPECT_TRUE(IsWindowVisible(kept));
    EXPECT_EQ(GetParent(kept), nullptr);
    wchar_t className[64] = {};
    GetClassNameW(kept, className, 64);
    EXPECT_STREQ(className, hostsim::HostWindow::ClassName());
    child = CreateWindowExW(0, L"Static", L"page", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, kept, nullptr,
                            nullptr, nullptr);
    ASSERT_NE(child, nullptr);
    EXPECT_EQ(GetParent(child), kept);
    hostsim::HostWindow second;
    EXPECT_NE(second.get(), nullptr) << "the class is registered once and used again";
  }
  EXPECT_FALSE(IsWindow(kept));
  EXPECT_FALSE(IsWindow(child));
}

}  // namespace
