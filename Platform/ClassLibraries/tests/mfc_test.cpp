#include <afxwin.h>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

// ---------------------------------------------------------------------------------------
// Classes with run-time class information: CObject <- CAnimal <- CDog, CAnimal <- CCat,
// CObject <- CStone.

class CAnimal : public CObject {
  DECLARE_DYNAMIC(CAnimal)
};
class CDog : public CAnimal {
  DECLARE_DYNCREATE(CDog)

 public:
  int m_legs = 4;
};
class CCat : public CAnimal {
  DECLARE_DYNAMIC(CCat)
};
class CStone : public CObject {
  DECLARE_DYNAMIC(CStone)
};
IMPLEMENT_DYNAMIC(CAnimal, CObject)
IMPLEMENT_DYNCREATE(CDog, CAnimal)
IMPLEMENT_DYNAMIC(CCat, CAnimal)
IMPLEMENT_DYNAMIC(CStone, CObject)

namespace {

template <class Operation>
bool ThrowsMemoryException(Operation operation) {
  try {
    operation();
  } catch (CMemoryException* e) {
    e->Delete();
    return true;
  }
  return false;
}

}  // namespace

TEST(RuntimeClass, IsKindOfFollowsTheBaseChainOnly) {
  CAnimal animal;
  CDog dog;
  CCat cat;
  CStone stone;
  struct Case {
    const char* name;
    CObject* object;
    CRuntimeClass* cls;
    bool expected;
  } cases[] = {
      {"dog is a dog", &dog, RUNTIME_CLASS(CDog), true},
      {"dog is an animal", &dog, RUNTIME_CLASS(CAnimal), true},
      {"dog is an object (two levels up)", &dog, RUNTIME_CLASS(CObject), true},
      {"dog is no cat", &dog, RUNTIME_CLASS(CCat), false},
      {"animal is no dog", &animal, RUNTIME_CLASS(CDog), false},
      {"cat is an animal", &cat, RUNTIME_CLASS(CAnimal), true},
      {"stone is no animal", &stone, RUNTIME_CLASS(CAnimal), false},
      {"stone is an object", &stone, RUNTIME_CLASS(CObject), true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.object->IsKindOf(c.cls) != FALSE, c.expected);
    EXPECT_EQ(DYNAMIC_DOWNCAST(CObject, c.object), c.object);
    CAnimal* asAnimal = DYNAMIC_DOWNCAST(CAnimal, c.object);
    EXPECT_EQ(asAnimal != nullptr, c.object->IsKindOf(RUNTIME_CLASS(CAnimal)) != FALSE);
  }
  CObject* none = nullptr;
  EXPECT_EQ(DYNAMIC_DOWNCAST(CDog, none), nullptr);
  CObject* asObject = &dog;
  EXPECT_EQ(STATIC_DOWNCAST(CDog, asObject)->m_legs, 4);
}

TEST(RuntimeClass, RecordsCarryNameSizeBaseAndCreation) {
  const CRuntimeClass* dog = RUNTIME_CLASS(CDog);
  EXPECT_STREQ(dog->m_lpszClassName, "CDog");
  EXPECT_EQ(dog->m_nObjectSize, static_cast<int>(sizeof(CDog)));
  EXPECT_EQ(dog->m_pBaseClass, RUNTIME_CLASS(CAnimal));
  EXPECT_EQ(RUNTIME_CLASS(CObject)->m_pBaseClass, nullptr);
  CDog dogObject;
  EXPECT_EQ(dogObject.GetRuntimeClass(), RUNTIME_CLASS(CDog));

  CObject* created = dog->CreateObject();
  ASSERT_NE(created, nullptr);
  EXPECT_EQ(created->GetRuntimeClass(), RUNTIME_CLASS(CDog));
  delete created;
  EXPECT_EQ(RUNTIME_CLASS(CCat)->CreateObject(), nullptr) << "CCat is not DYNCREATE";
}

TEST(Exceptions, TheMemoryExceptionIsACExceptionAndItsDeleteIsSafe) {
  for (int round = 0; round < 2; ++round) {
    SCOPED_TRACE(round);
    try {
      AfxThrowMemoryException();
    } catch (CException* e) {
      EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CMemoryException)));
      wchar_t message[64] = {};
      EXPECT_TRUE(e->GetErrorMessage(message, 64));
      EXPECT_STRNE(message, L"");
      e->Delete();  // the static exception stays for the next round
    }
  }
  CException* heap = new CMemoryException();
  heap->Delete();  // freed: the leak checker would report it otherwise
}

TEST(Allocation, CObjectNewAndAfxNewThrowTheMemoryExceptionWhenMadeToFail) {
  struct Plain {
    explicit Plain(int v) : value(v) {}
    int value;
  };
  platform::mfc::FailNextAllocations(1);
  EXPECT_TRUE(ThrowsMemoryException([] { delete new CDog; }));
  EXPECT_FALSE(ThrowsMemoryException([] { delete new CDog; }));

  platform::mfc::FailNextAllocations(2, 1);
  Plain* first = AfxNew<Plain>(7);
  EXPECT_EQ(first->value, 7);
  EXPECT_TRUE(ThrowsMemoryException([] { delete AfxNew<Plain>(8); }));
  EXPECT_TRUE(ThrowsMemoryException([] { delete new CCat; }));
  Plain* last = AfxNew<Plain>(9);
  EXPECT_EQ(last->value, 9);
  delete first;
  delete last;
  platform::mfc::FailNextAllocations(0);
}

// ---------------------------------------------------------------------------------------
// Module state.

TEST(ModuleState, NestedSwitchesRestoreEachPreviousState) {
  AFX_MODULE_STATE* process = AfxGetModuleState();
  AFX_MODULE_STATE outer{}, inner{};
  outer.m_hCurrentResourceHandle = reinterpret_cast<HINSTANCE>(0x1000);
  inner.m_hCurrentResourceHandle = reinterpret_cast<HINSTANCE>(0x2000);
  {
    AFX_MANAGE_STATE(&outer);
    EXPECT_EQ(AfxGetModuleState(), &outer);
    {
      AFX_MANAGE_STATE(&inner);
      EXPECT_EQ(AfxGetModuleState(), &inner);
      EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(0x2000));
      AfxSetResourceHandle(reinterpret_cast<HINSTANCE>(0x2001));
      {
        AFX_MANAGE_STATE(&outer);  // switching back to a state already on the stack
        EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(0x1000));
      }
      EXPECT_EQ(AfxGetModuleState(), &inner);
    }
    EXPECT_EQ(AfxGetModuleState(), &outer);
    EXPECT_EQ(AfxGetResourceHandle(), reinterpret_cast<HINSTANCE>(0x1000));
  }
  EXPECT_EQ(AfxGetModuleState(), process);
  EXPECT_EQ(inner.m_hCurrentResourceHandle, reinterpret_cast<HINSTANCE>(0x2001))
      << "AfxSetResourceHandle changes the current state only";
}

TEST(ModuleState, EachThreadHasItsOwnCurrentState) {
  AFX_MODULE_STATE mine{};
  AFX_MANAGE_STATE(&mine);
  AFX_MODULE_STATE* seenByOtherThread = nullptr;
  std::thread([&] { seenByOtherThread = AfxGetModuleState(); }).join();
  EXPECT_NE(seenByOtherThread, &mine);
  EXPECT_NE(seenByOtherThread, nullptr);
  EXPECT_EQ(AfxGetModuleState(), &mine);
}

// ---------------------------------------------------------------------------------------
// The application object and the class library's part of the entry point.

namespace {

// Records what happened to it, in order; InitInstance answers as told.
class CRecordingApp : public CWinApp {
 public:
  CRecordingApp(AFX_MODULE_STATE* state, std::vector<std::string>* events, BOOL initResult)
      : CWinApp(L"Recording", state), m_events(events), m_initResult(initResult) {}

  BOOL InitInstance() override {
    m_events->push_back(AfxGetApp() == this && AfxGetResourceHandle() == m_hInstance ? "init in own state"
                                                                                     : "init in other state");
    return m_initResult;
  }
  int ExitInstance() override {
    m_events->push_back("exit");
    return CWinApp::ExitInstance();
  }

 private:
  std::vector<std::string>* m_events;
  BOOL m_initResult;
};

std::vector<std::string>* g_hookEvents = nullptr;
BOOL g_hookResult = TRUE;
BOOL WINAPI RecordingHook(HINSTANCE, DWORD reason, LPVOID) {
  g_hookEvents->push_back(reason == DLL_PROCESS_ATTACH ? "hook attach" : "hook detach");
  return g_hookResult;
}

const HINSTANCE kInstance = reinterpret_cast<HINSTANCE>(0x7000);

}  // namespace

TEST(WinApp, RegistersInItsModuleStateAndUnregistersWhenDestroyed) {
  AFX_MODULE_STATE state{};
  {
    std::vector<std::string> events;
    CRecordingApp app(&state, &events, TRUE);
    EXPECT_EQ(state.m_pCurrentWinApp, &app);
    EXPECT_STREQ(app.m_pszAppName, L"Recording");
    {
      AFX_MANAGE_STATE(&state);
      EXPECT_EQ(AfxGetApp(), &app);
      EXPECT_STREQ(AfxGetAppName(), L"Recording");
    }
    EXPECT_NE(AfxGetApp(), &app) << "the caller's own state has no such application";
    EXPECT_TRUE(app.IsKindOf(RUNTIME_CLASS(CWinThread)));
  }
  EXPECT_EQ(state.m_pCurrentWinApp, nullptr);
  EXPECT_EQ(state.m_lpszCurrentAppName, nullptr);
}

TEST(WinApp, TheHelpPathIsAHeapStringThatClientCodeReplaces) {
  AFX_MODULE_STATE state{};
  CWinApp app(nullptr, &state);
  EXPECT_EQ(app.m_pszAppName, nullptr);
  EXPECT_EQ(app.GetHelpMode(), afxWinHelp);
  app.EnableHtmlHelp();
  EXPECT_EQ(app.m_eHelpType, afxHTMLHelp);
  app.SetHelpMode(afxWinHelp);
  EXPECT_EQ(app.GetHelpMode(), afxWinHelp);

  // As client code does: free the old path and store its own heap copy; the destructor frees
  // it (the leak checker would report it otherwise).
  free(const_cast<wchar_t*>(app.m_pszHelpFilePath));
  app.m_pszHelpFilePath = wcsdup(L"Z:\\opt\\help\\Corvane.chm");
  EXPECT_STREQ(app.m_pszHelpFilePath, L"Z:\\opt\\help\\Corvane.chm");
}

TEST(WinApp, WaitCursorsAreRecordedThroughTheApplication) {
  platform::mfc::ResetWaitCursor();
  AFX_MODULE_STATE state{};
  CWinApp app(nullptr, &state);
  AFX_MANAGE_STATE(&state);
  CCmdTarget target;
  EXPECT_FALSE(platform::mfc::IsWaitCursorShowing());
  target.BeginWaitCursor();
  app.BeginWaitCursor();
  EXPECT_TRUE(platform::mfc::IsWaitCursorShowing());
  target.EndWaitCursor();
  EXPECT_TRUE(platform::mfc::IsWaitCursorShowing()) << "one of two is still begun";
  app.EndWaitCursor();
  EXPECT_FALSE(platform::mfc::IsWaitCursorShowing());
  target.EndWaitCursor();  // an end without a begin changes nothing
  EXPECT_FALSE(platform::mfc::IsWaitCursorShowing());
  EXPECT_EQ(platform::mfc::WaitCursorBeginCount(), 2);
  platform::mfc::ResetWaitCursor();
}

TEST(DllEntry, AttachRunsInitInstanceInTheDllsStateAndDetachRunsExitInstance) {
  struct Case {
    const char* name;
    bool withApp;
    BOOL initResult;
    bool withHook;
    BOOL hookResult;
    BOOL attachResult;
    std::vector<std::string> events;  // attach, then detach
  } cases[] = {
      {"application starts", true, TRUE, false, TRUE, TRUE, {"init in own state", "exit"}},
      {"application refuses", true, FALSE, false, TRUE, FALSE, {"init in own state", "exit"}},
      {"no application", false, TRUE, false, TRUE, TRUE, {}},
      {"hook and application",
       true,
       TRUE,
       true,
       TRUE,
       TRUE,
       {"hook attach", "init in own state", "exit", "hook detach"}},
      {"hook refuses", true, TRUE, true, FALSE, FALSE, {"hook attach"}},
      {"application refuses after the hook",
       true,
       FALSE,
       true,
       TRUE,
       FALSE,
       {"hook attach", "init in own state", "exit", "hook detach"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    AFX_MODULE_STATE state{};
    std::vector<std::string> events;
    g_hookEvents = &events;
    g_hookResult = c.hookResult;
    {
      std::unique_ptr<CRecordingApp> app;
      if (c.withApp) app = std::make_unique<CRecordingApp>(&state, &events, c.initResult);
      AFX_MODULE_STATE* before = AfxGetModuleState();
      EXPECT_EQ(
          AfxDllMain(&state, kInstance, DLL_PROCESS_ATTACH, nullptr, c.withHook ? RecordingHook : nullptr),
          c.attachResult);
      EXPECT_EQ(AfxGetModuleState(), before) << "the caller's state is restored";
      EXPECT_EQ(state.m_hCurrentInstanceHandle, kInstance);
      EXPECT_EQ(state.m_hCurrentResourceHandle, kInstance);
      if (app) {
        EXPECT_EQ(app->m_hInstance, kInstance);
      }
      // The loader may send a detach after a failed attach; clean-up ran once already.
      EXPECT_EQ(
          AfxDllMain(&state, kInstance, DLL_PROCESS_DETACH, nullptr, c.withHook ? RecordingHook : nullptr),
          TRUE);
    }
    EXPECT_EQ(events, c.events);
  }
  g_hookEvents = nullptr;
}

// ---------------------------------------------------------------------------------------
// Message maps.

namespace {

constexpr UINT kMessageA = 0x0400, kMessageB = 0x0401, kCommand = 0x0111;

class CBaseTarget : public CCmdTarget {
 public:
  void OnA() {}
  void OnRange() {}
  DECLARE_MESSAGE_MAP()
};
class CDerivedTarget : public CBaseTarget {
 public:
  void OnDerivedA() {}
  void OnB() {}
  DECLARE_MESSAGE_MAP()
};

constexpr UINT_PTR kSignature = 1;
#define TEST_ENTRY(message, code, first, last, handler) \
  {message, code, first, last, kSignature, static_cast<AFX_PMSG>(&ThisClass::handler)},

}  // namespace

BEGIN_MESSAGE_MAP(CBaseTarget, CCmdTarget)
TEST_ENTRY(kMessageA, 0, 0, 0, OnA)
TEST_ENTRY(kCommand, 0, 100, 109, OnRange)
END_MESSAGE_MAP()

BEGIN_MESSAGE_MAP(CDerivedTarget, CBaseTarget)
TEST_ENTRY(kMessageA, 0, 0, 0, OnDerivedA)
TEST_ENTRY(kMessageB, 0, 0, 0, OnB)
END_MESSAGE_MAP()

TEST(MessageMap, SearchFindsTheMostDerivedEntryThenTheBasesEntries) {
  CDerivedTarget derived;
  CBaseTarget base;
  const AFX_MSGMAP* derivedMap = static_cast<CCmdTarget&>(derived).GetMessageMap();
  const AFX_MSGMAP* baseMap = static_cast<CCmdTarget&>(base).GetMessageMap();
  struct Case {
    const char* name;
    const AFX_MSGMAP* map;
    UINT message, code, id;
    AFX_PMSG expected;
  } cases[] = {
      {"derived overrides the base", derivedMap, kMessageA, 0, 0,
       static_cast<AFX_PMSG>(&CDerivedTarget::OnDerivedA)},
      {"derived's own entry", derivedMap, kMessageB, 0, 0, static_cast<AFX_PMSG>(&CDerivedTarget::OnB)},
      {"base entry through the chain", derivedMap, kCommand, 0, 105,
       static_cast<AFX_PMSG>(&CBaseTarget::OnRange)},
      {"range end", baseMap, kCommand, 0, 109, static_cast<AFX_PMSG>(&CBaseTarget::OnRange)},
      {"outside the range", baseMap, kCommand, 0, 110, nullptr},
      {"other code", baseMap, kCommand, 1, 105, nullptr},
      {"base has no derived entry", baseMap, kMessageB, 0, 0, nullptr},
      {"base's own", baseMap, kMessageA, 0, 0, static_cast<AFX_PMSG>(&CBaseTarget::OnA)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(c.map, c.message, c.code, c.id);
    if (!c.expected) {
      EXPECT_EQ(entry, nullptr);
      continue;
    }
    ASSERT_NE(entry, nullptr);
    EXPECT_TRUE(entry->pfn == c.expected);
  }
}

namespace {
// What the two tables above answer: the rule written out, so that a cached answer can be
// checked against it for any key.
AFX_PMSG ExpectedHandler(bool derived, UINT message, UINT code, UINT id) {
  if (code != 0) return nullptr;
  if (message == kMessageA && id == 0)
    return derived ? static_cast<AFX_PMSG>(&CDerivedTarget::OnDerivedA)
                   : static_cast<AFX_PMSG>(&CBaseTarget::OnA);
  if (message == kMessageB && id == 0 && derived) return static_cast<AFX_PMSG>(&CDerivedTarget::OnB);
  if (message == kCommand && id >= 100 && id <= 109) return static_cast<AFX_PMSG>(&CBaseTarget::OnRange);
  return nullptr;
}

// Searches every key of messages x codes x ids in both maps, many more keys than a cache
// holds, and counts the answers that break the rule.
int WrongAnswersOverAllKeys(const AFX_MSGMAP* derivedMap, const AFX_MSGMAP* baseMap) {
  const UINT messages[] = {kMessageA, kMessageB, kCommand, 0x0402, 0};
  const UINT codes[] = {0, 1, 0xFFFFFFF4u};
  int wrong = 0;
  for (UINT id = 0; id < 130; ++id)
    for (UINT code : codes)
      for (UINT message : messages)
        for (bool derived : {true, false}) {
          const AFX_MSGMAP_ENTRY* entry =
              AfxFindMessageEntry(derived ? derivedMap : baseMap, message, code, id);
          const AFX_PMSG expected = ExpectedHandler(derived, message, code, id);
          if (entry ? entry->pfn != expected : expected != nullptr) ++wrong;
        }
  return wrong;
}
}  // namespace

TEST(MessageMap, RepeatedSearchesKeepTheChainsAnswersAcrossEvictions) {
  CDerivedTarget derived;
  CBaseTarget base;
  const AFX_MSGMAP* derivedMap = static_cast<CCmdTarget&>(derived).GetMessageMap();
  const AFX_MSGMAP* baseMap = static_cast<CCmdTarget&>(base).GetMessageMap();
  ASSERT_NE(derivedMap->pCache, nullptr);
  for (int pass = 0; pass < 3; ++pass) {
    SCOPED_TRACE(pass);
    EXPECT_EQ(WrongAnswersOverAllKeys(derivedMap, baseMap), 0);
  }
  // A key searched again right after it was searched is answered from the cache alike.
  for (UINT id : {0u, 100u, 109u, 110u}) {
    SCOPED_TRACE(id);
    for (int again = 0; again < 2; ++again) {
      const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(derivedMap, kCommand, 0, id);
      EXPECT_EQ(entry ? entry->pfn : nullptr, ExpectedHandler(true, kCommand, 0, id));
    }
  }
}

TEST(MessageMap, SearchesOnSeveralThreadsAtOnceAllGetTheChainsAnswers) {
  CDerivedTarget derived;
  CBaseTarget base;
  const AFX_MSGMAP* derivedMap = static_cast<CCmdTarget&>(derived).GetMessageMap();
  const AFX_MSGMAP* baseMap = static_cast<CCmdTarget&>(base).GetMessageMap();
  constexpr int kThreads = 4;
  std::vector<int> wrong(kThreads, 0);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t)
    threads.emplace_back([&, t] {
      for (int pass = 0; pass < 20; ++pass) wrong[t] += WrongAnswersOverAllKeys(derivedMap, baseMap);
    });
  for (std::thread& thread : threads) thread.join();
  for (int t = 0; t < kThreads; ++t) EXPECT_EQ(wrong[t], 0) << "thread " << t;
}

// ---------------------------------------------------------------------------------------
// Message boxes.

TEST(MessageBox, TheRecorderKeepsTextStyleAndHelpIdAndAnswersAsTold) {
  platform::mfc::ClearMessageBoxCalls();
  platform::mfc::SetMessageBoxAnswer(7);
  EXPECT_EQ(AfxMessageBox(L"Really?", 0x24), 7);
  platform::mfc::SetMessageBoxAnswer(1);
  EXPECT_EQ(AfxMessageBox(L"Help", 0x30, 55), 1);

  const std::vector<platform::mfc::MessageBoxCall> calls = platform::mfc::MessageBoxCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_STREQ(calls[0].text, L"Really?");
  EXPECT_EQ(calls[0].nType, 0x24u);
  EXPECT_EQ(calls[0].nIDPrompt, 0u);
  EXPECT_EQ(calls[0].nIDHelp, 0u);
  EXPECT_EQ(calls[1].nType, 0x30u);
  EXPECT_EQ(calls[1].nIDHelp, 55u);
  platform::mfc::ClearMessageBoxCalls();
  EXPECT_TRUE(platform::mfc::MessageBoxCalls().empty());
}

// ---------------------------------------------------------------------------------------
// The regular-DLL road: the fixture DLLs MfcAppA.dll and MfcAppB.dll (the same code twice)
// have an application object. They are opened and their entry point is called as the loader
// does: open (static construction registers the application), then DllMain.

namespace {

typedef BOOL(WINAPI* PFN_DLLMAIN)(HINSTANCE, DWORD, LPVOID);

std::string FixturePath(const char* name) {
  const char* dir = getenv("PROJECT_BIN_DIR");
  return std::string(dir ? dir : ".") + "/" + name;
}

std::string HandleText(const void* handle) {
  char text[32];
  snprintf(text, sizeof(text), "%p", handle);
  return text;
}

std::string Events() {
  const char* events = getenv("MFCAPP_EVENTS");
  return events ? events : "";
}

class FixtureDll {
 public:
  // Opens the DLL and runs its attach; false (and nothing loaded) when the attach fails.
  bool Load(const char* name) {
    m_handle = dlopen(FixturePath(name).c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!m_handle) {
      ADD_FAILURE() << "cannot open " << name << ": " << dlerror();
      return false;
    }
    m_entry = reinterpret_cast<PFN_DLLMAIN>(dlsym(m_handle, "DllMain"));
    if (!m_entry) {
      ADD_FAILURE() << name << " exports no DllMain";
      Close();
      return false;
    }
    if (!m_entry(Instance(), DLL_PROCESS_ATTACH, nullptr)) {
      Close();
      return false;
    }
    return true;
  }
  // Runs the detach and unloads.
  void Free() {
    if (!m_handle) return;
    m_entry(Instance(), DLL_PROCESS_DETACH, nullptr);
    Close();
  }
  ~FixtureDll() { Free(); }

  HINSTANCE Instance() const { return static_cast<HINSTANCE>(m_handle); }
  template <class F>
  F Function(const char* name) const {
    return reinterpret_cast<F>(dlsym(m_handle, name));
  }

 private:
  void Close() {
    dlclose(m_handle);
    m_handle = nullptr;
  }
  void* m_handle = nullptr;
  PFN_DLLMAIN m_entry = nullptr;
};

class RegularDll : public ::testing::Test {
 protected:
  void SetUp() override {
    unsetenv("MFCAPP_EVENTS");
    unsetenv("MFCAPP_INIT_RESULT");
  }
  void TearDown() override { SetUp(); }

  static std::string Line(const char* dll, const char* what, HINSTANCE instance) {
    return std::string(dll) + " " + what + " instance=" + HandleText(instance) +
           " resource=" + HandleText(instance) + " app=1\n";
  }
};

}  // namespace

TEST_F(RegularDll, InitInstanceRunsAtAttachWithTheDllsOwnHandlesAndExitInstanceAtDetach) {
  AFX_MODULE_STATE* callerState = AfxGetModuleState();
  CWinApp* callerApp = AfxGetApp();
  FixtureDll dll;
  ASSERT_TRUE(dll.Load("MfcAppA.dll"));
  const HINSTANCE instance = dll.Instance();
  EXPECT_EQ(Events(), Line("MfcAppA", "init", instance));
  EXPECT_EQ(AfxGetModuleState(), callerState);
  EXPECT_EQ(AfxGetApp(), callerApp) << "the DLL's application is not the caller's";

  auto moduleState = dll.Function<AFX_MODULE_STATE* (*)()>("MfcAppModuleState");
  auto appObject = dll.Function<CWinApp* (*)()>("MfcAppObject");
  ASSERT_NE(moduleState, nullptr);
  ASSERT_NE(appObject, nullptr);
  EXPECT_EQ(moduleState()->m_pCurrentWinApp, appObject());
  EXPECT_EQ(appObject()->m_hInstance, instance);

  dll.Free();
  EXPECT_EQ(Events(), Line("MfcAppA", "init", instance) + Line("MfcAppA", "exit", instance));
}

TEST_F(RegularDll, InitInstanceFalseFailsTheAttach) {
  setenv("MFCAPP_INIT_RESULT", "0", 1);
  FixtureDll dll;
  EXPECT_FALSE(dll.Load("MfcAppA.dll"));
  const std::string events = Events();
  EXPECT_NE(events.find("MfcAppA init"), std::string::npos) << events;
  EXPECT_NE(events.find("MfcAppA exit"), std::string::npos) << "the failed start cleans up: " << events;
}

TEST_F(RegularDll, TwoDllsKeepSeparateModuleStatesAndApplications) {
  FixtureDll a, b;
  ASSERT_TRUE(a.Load("MfcAppA.dll"));
  ASSERT_TRUE(b.Load("MfcAppB.dll"));
  auto stateA = a.Function<AFX_MODULE_STATE* (*)()>("MfcAppModuleState");
  auto stateB = b.Function<AFX_MODULE_STATE* (*)()>("MfcAppModuleState");
  auto appA = a.Function<CWinApp* (*)()>("MfcAppObject");
  auto appB = b.Function<CWinApp* (*)()>("MfcAppObject");
  auto resourceA = a.Function<HINSTANCE (*)()>("MfcAppResourceHandle");
  auto resourceB = b.Function<HINSTANCE (*)()>("MfcAppResourceHandle");
  auto setResourceA = a.Function<void (*)(HINSTANCE)>("MfcAppSetResourceHandle");
  ASSERT_TRUE(stateA && stateB && appA && appB && resourceA && resourceB && setResourceA);

  EXPECT_NE(stateA(), stateB());
  EXPECT_NE(appA(), appB());
  EXPECT_EQ(stateA()->m_pCurrentWinApp, appA());
  EXPECT_EQ(stateB()->m_pCurrentWinApp, appB());
  EXPECT_EQ(resourceA(), a.Instance());
  EXPECT_EQ(resourceB(), b.Instance());

  const HINSTANCE languageDll = reinterpret_cast<HINSTANCE>(0x4242);
  setResourceA(languageDll);
  EXPECT_EQ(resourceA(), languageDll);
  EXPECT_EQ(resourceB(), b.Instance()) << "B's resource handle is its own";
  EXPECT_NE(AfxGetResourceHandle(), languageDll) << "and so is the caller's";
}
TEST(MessageBox, ThePromptIdFormLoadsTheStringAndTakesThePromptAsHelpId) {
  platform::mfc::ClearMessageBoxCalls();
  EXPECT_EQ(AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, 0x30), 1);
  EXPECT_EQ(AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP, 0, 55), 1);
  const std::vector<platform::mfc::MessageBoxCall> calls = platform::mfc::MessageBoxCalls();
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_STREQ(calls[0].text, L"Failed to launch help.") << "the class library's own string";
  EXPECT_EQ(calls[0].nIDPrompt, static_cast<UINT>(AFX_IDP_FAILED_TO_LAUNCH_HELP));
  EXPECT_EQ(calls[0].nType, 0x30u);
  EXPECT_EQ(calls[0].nIDHelp, static_cast<UINT>(AFX_IDP_FAILED_TO_LAUNCH_HELP))
      << "help id -1 takes the prompt id";
  EXPECT_EQ(calls[1].nIDHelp, 55u);
  platform::mfc::ClearMessageBoxCalls();
}
