// The configuration panel through the host's door: Init on the simulated module and its
// variants, the adapters it hands out, activation with and without I/O tags (whose events
// reach every control), and every reference it took given back when the page goes. Below
// the door: the tag-extension lookup over connection tags, which the simulated module does
// not have.
#include <HostTags.h>
#include <ModuleDefinition.h>
#include <SimComObject.h>
#include <ocidl.h>

#include <algorithm>
#include <functional>

#include "ConfigPageHost.h"
#include "PVConfigComponentsGlobals.h"

namespace {

using configpage::ConfigPage;
using configpage::Lines;
using configpage::ReferencesOf;
using configpage::TakeLog;

constexpr wchar_t kInitFunction[] = L"CPVConfigPanelEnum::Init: ";

// ---------------------------------------------------------------------------------------------
// An I/O tag as the host offers one: ITag2, its event services and a connection point for
// DPSTagEvents. Every call is counted; each step can be refused.
class FakeIOTag final : public ITag2,
                        public IServicesComponent,
                        public IConnectionPointContainer,
                        public IConnectionPoint {
 public:
  static FakeIOTag* Create() { return new FakeIOTag; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (ppv) *ppv = nullptr;
    if (riid == __uuidof(IServicesComponent) && !answersServices) return E_NOINTERFACE;
    if (riid == IID_IConnectionPointContainer && !answersContainer) return E_NOINTERFACE;
    if (riid == IID_ITag && !answersTag) return E_NOINTERFACE;
    return hostsim::QueryFromTable<FakeIOTag>(
        this, riid, ppv,
        {HOSTSIM_ENTRY(FakeIOTag, ITag2), HOSTSIM_ENTRY(FakeIOTag, ITag), HOSTSIM_ENTRY(FakeIOTag, IDispatch),
         HOSTSIM_ENTRY(FakeIOTag, IServicesComponent), HOSTSIM_ENTRY(FakeIOTag, IConnectionPointContainer),
         HOSTSIM_ENTRY(FakeIOTag, IConnectionPoint)});
  }
  HOSTSIM_REFCOUNT_IMPL
  HOSTSIM_DISPATCH_STUBS

  // The value operations are never used on an I/O tag by the panel.
  STDMETHODIMP GetMemberValue(BSTR, VARIANT*) override { return Unexpected(); }
  STDMETHODIMP SetMemberValue(BSTR, VARIANT) override { return Unexpected(); }
  STDMETHODIMP GetEnumValue(BSTR, LONG*) override { return Unexpected(); }
  STDMETHODIMP SetEnumValue(BSTR, LONG) override { return Unexpected(); }
  STDMETHODIMP GetEnumStrings(BSTR, SAFEARRAY**) override { return Unexpected(); }
  STDMETHODIMP GetMinValue(BSTR, VARIANT*) override { return Unexpected(); }
  STDMETHODIMP GetMaxValue(BSTR, VARIANT*) override { return Unexpected(); }
  STDMETHODIMP get_Suffix(BSTR*) override { return Unexpected(); }
  STDMETHODIMP GetMemberDirtyState(BSTR, VARIANT_BOOL*) override { return Unexpected(); }

  STDMETHODIMP SubscribeVexilEvents() override {
    ++subscribes;
    return subscribeResult;
  }
  STDMETHODIMP UnsubscribeVexilEvents() override {
    ++unsubscribes;
    return unsubscribeResult;
  }

  STDMETHODIMP EnumConnectionPoints(IEnumConnectionPoints**) override { return Unexpected(); }
  STDMETHODIMP FindConnectionPoint(REFIID riid, IConnectionPoint** point) override {
    *point = nullptr;
    if (riid != DIID_DPSTagEvents) return CONNECT_E_NOCONNECTION;
    *point = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP GetConnectionInterface(IID* iid) override {
    *iid = DIID_DPSTagEvents;
    return S_OK;
  }
  STDMETHODIMP GetConnectionPointContainer(IConnectionPointContainer** container) override {
    *container = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP Advise(IUnknown* sink, DWORD* cookie) override {
    ++advises;
    *cookie = 0;
    if (FAILED(adviseResult)) return adviseResult;
    if (m_sink) return CONNECT_E_ADVISELIMIT;
    if (FAILED(sink->QueryInterface(DIID_DPSTagEvents, reinterpret_cast<void**>(&m_sink))))
      return E_NOINTERFACE;
    *cookie = kCookie;
    return S_OK;
  }
  STDMETHODIMP Unadvise(DWORD cookie) override {
    ++unadvises;
    if (FAILED(unadviseResult)) return unadviseResult;
    if (cookie != kCookie || !m_sink) return CONNECT_E_NOCONNECTION;
    std::exchange(m_sink, nullptr)->Release();
    return S_OK;
  }
  STDMETHODIMP EnumConnections(IEnumConnections**) override { return Unexpected(); }

  // The host fires the event on the connected sink; false when none is connected.
  bool Fire(DISPID dispid) {
    if (!m_sink) return false;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    EXPECT_HR(S_OK, m_sink->Invoke(dispid, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
    return true;
  }
  bool Connected() const { return m_sink != nullptr; }

  bool answersServices = true;
  bool answersContainer = true;
  bool answersTag = true;
  HRESULT subscribeResult = S_OK;
  HRESULT unsubscribeResult = S_OK;
  HRESULT adviseResult = S_OK;
  HRESULT unadviseResult = S_OK;
  int subscribes = 0;
  int unsubscribes = 0;
  int advises = 0;
  int unadvises = 0;
  int unexpected = 0;

 private:
  static constexpr DWORD kCookie = 41;
  FakeIOTag() = default;
  ~FakeIOTag() { EXPECT_EQ(m_sink, nullptr) << "a sink outlived its connection"; }
  HRESULT Unexpected() {
    ADD_FAILURE() << "the panel called an operation it never needs";
    ++unexpected;
    return E_NOTIMPL;
  }
  IDispatch* m_sink = nullptr;
};

class ConfigPanel : public configpage::ConfigPageHost {
 protected:
  // AddIOTagToList through the page's test interface.
  static HRESULT AddIOTag(const ConfigPage& page, IUnknown* tag) {
    HRESULT result = E_UNEXPECTED;
    EXPECT_HR(S_OK, page.test->AddIOTag(tag, &result));
    return result;
  }
  static LONG Events(const ConfigPage& page, LONG* flushes = nullptr) {
    LONG dataChanged = -1, flushed = -1;
    HRESULT last = E_UNEXPECTED;
    EXPECT_HR(S_OK, page.test->GetIOTagEvents(&dataChanged, &flushed, &last));
    if (flushes) *flushes = flushed;
    return dataChanged;
  }
};

// ---------------------------------------------------------------------------------------------
// Init

TEST_F(ConfigPanel, InitBuildsAnAdapterForEachConfigurationTagTheModuleHas) {
  struct Case {
    const char* name;
    std::function<void(hostsim::HostModule&, hostsim::HostParent&)> arrange;
    HRESULT init;
    Lines initLog;
    bool standard;
    bool safety;
  };
  const std::wstring neither =
      std::wstring(kInitFunction) +
      L"Failed to get config tag component, Neither of safety and standard config tag "
      L"exists.\n";
  const Case cases[] = {
      {"standard and safety tags", [](auto&, auto&) {}, S_OK, {}, true, true},
      {"no standard tag, a safety tag", [](auto& m, auto&) { m.DropStandardTag(); }, S_OK, {}, false, true},
      {"no safety interface",
       [](auto& m, auto&) { m.tags.safetyQueryResult = E_NOINTERFACE; },
       S_OK,
       {},
       true,
       false},
      {"a safety interface without a tag", [](auto& m, auto&) { m.DropSafetyTag(); }, S_OK, {}, true, false},
      {"neither tag",
       [](auto& m, auto&) {
         m.DropStandardTag();
         m.DropSafetyTag();
       },
       E_FAIL,
       {neither},
       false,
       false},
      {"no standard tag and no safety interface",
       [](auto& m, auto&) {
         m.DropStandardTag();
         m.tags.safetyQueryResult = E_NOINTERFACE;
       },
       E_FAIL,
       {neither},
       false,
       false},
      {"the standard tag query fails",
       [](auto& m, auto&) { m.tags.standardResult = E_ACCESSDENIED; },
       E_FAIL,
       {std::wstring(kInitFunction) + L"Failed to get tag component."},
       false,
       false},
      {"the safety tag query fails",
       [](auto& m, auto&) { m.tags.safetyResult = E_ACCESSDENIED; },
       E_FAIL,
       {std::wstring(kInitFunction) + L"Failed to get safety tag component."},
       true,
       false},
      {"the safety interface query fails",
       [](auto& m, auto&) { m.tags.safetyQueryResult = E_UNEXPECTED; },
       E_UNEXPECTED,
       {std::wstring(kInitFunction) + L"Failed to get safety tag component."},
       true,
       false},
      {"the parent gives no module",
       [](auto&, auto& p) { p.moduleResult = E_FAIL; },
       E_FAIL,
       {L"CPVPanelEnum::Init: Unable to get IModule interface.",
        std::wstring(kInitFunction) + L"Base class initialization failed."},
       false,
       false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    m_module = hostsim::Ref<hostsim::HostModule>(hostsim::HostModule::Create());
    m_parent = hostsim::Ref<hostsim::HostParent>(hostsim::HostParent::Create(m_module.get()));
    c.arrange(*m_module.get(), *m_parent.get());
    if (m_module->SafetyTag()) m_module->SafetyTag()->SetInteger(L"Safety_Configuration_signature", 77);
    ConfigPage page = Open(false, false);
    TakeLog();
    EXPECT_HR(c.init, page.child->Init(m_parent->GetUnknown()));
    EXPECT_EQ(TakeLog(), c.initLog);

    IPVGetSetAdapter* standard = page.Adapter(0);
    EXPECT_EQ(standard != nullptr, c.standard);
    IPVGetSetAdapter* safety = page.Adapter(1);
    EXPECT_EQ(safety != nullptr, c.safety);
    Lines expected;
    if (!c.standard)
      expected.push_back(
          L"CPVConfigPanelEnum::GetIPVGetSetAdapter: CPVConfigPanelEnum has a NULL adapter pointer.");
    if (!c.safety)
      expected.push_back(
          L"CPVConfigPanelEnum::GetSafetyIPVGetSetAdapter: CPVConfigPanelEnum has a NULL safety "
          L"adapter pointer.");
    EXPECT_EQ(TakeLog(), expected);

    // Each adapter reaches its own tag.
    LONG value = -1;
    if (standard) {
      EXPECT_HR(S_OK, standard->GetLong(kConfigIntegerMember, &value));
      EXPECT_EQ(value, 0);
    }
    if (safety) {
      EXPECT_HR(S_OK, safety->GetLong(L"Safety_Configuration_signature", &value));
      EXPECT_EQ(value, 77);
    }
    page.Release();
  }
}

TEST_F(ConfigPanel, TheAdapterIsHandedOutWithoutAReferenceAndIsTheSameEachTime) {
  ConfigPage page = Open();
  for (LONG which : {0, 1}) {
    SCOPED_TRACE(which);
    ULONG before = 0, after = 0;
    IPVGetSetAdapter* first = page.Adapter(which, &before);
    IPVGetSetAdapter* second = page.Adapter(which, &after);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first, second);
    EXPECT_EQ(before, after) << "asking takes no reference";
  }
  ULONG standardReferences = 0;
  page.Adapter(0, &standardReferences);
  EXPECT_GT(standardReferences, 1u) << "the page's value objects hold the standard adapter too";
  ULONG safetyReferences = 0;
  page.Adapter(1, &safetyReferences);
  EXPECT_EQ(safetyReferences, 1u) << "only the panel holds the safety adapter";
  EXPECT_EQ(TakeLog(), Lines{});
}

TEST_F(ConfigPanel, ASecondInitIsRefusedByTheControlsAndKeepsTheAdapters) {
  ConfigPage page = Open();
  IPVGetSetAdapter* adapter = page.Adapter(0);
  TakeLog();
  EXPECT_HR(E_FAIL, page.child->Init(m_parent->GetUnknown()));
  const Lines log = TakeLog();
  ASSERT_FALSE(log.empty());
  EXPECT_EQ(log.back(), std::wstring(kInitFunction) + L"Base class initialization failed.");
  EXPECT_EQ(page.Adapter(0), adapter);
}

TEST_F(ConfigPanel, WithoutAStandardTagThePageStillBindsEveryControlToValueObjectsWithoutAdapter) {
  m_module->DropStandardTag();
  ConfigPage page = Open();
  HRESULT combo = S_OK, floatEdit = S_OK, integerEdit = S_OK;
  ASSERT_HR(S_OK, page.test->GetBindResults(&combo, &floatEdit, &integerEdit));
  EXPECT_HR(E_FAIL, floatEdit) << "a value object without adapter fails the binding check";
  EXPECT_HR(E_FAIL, integerEdit);
  EXPECT_HR(E_FAIL, combo);
  const Lines log = TakeLog();
  EXPECT_NE(
      std::find(log.begin(), log.end(),
                L"CPVConfigPanelEnum::GetIPVGetSetAdapter: CPVConfigPanelEnum has a NULL adapter pointer."),
      log.end());
}

// ---------------------------------------------------------------------------------------------
// Private and tag-extension adapters through the page

TEST_F(ConfigPanel, APrivateTagsAdapterIsMadeOnceAndReachesThatTag) {
  SafetyTag()->SetInteger(L"Safety_Configuration_signature", 5);
  ConfigPage page = Open();
  IUnknown* first = nullptr;
  IUnknown* second = nullptr;
  ULONG before = 0, after = 0;
  ASSERT_HR(S_OK, page.test->GetPrivateAdapter(_bstr_t(L"Corvane300:S"), &first, &before));
  ASSERT_HR(S_OK, page.test->GetPrivateAdapter(_bstr_t(L"Corvane300:S"), &second, &after));
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first, second);
  EXPECT_EQ(before, 1u);
  EXPECT_EQ(after, 1u);
  EXPECT_NE(first, static_cast<IUnknown*>(page.Adapter(1))) << "a private adapter of its own";
  LONG value = 0;
  EXPECT_HR(S_OK, static_cast<IPVGetSetAdapter*>(first)->GetLong(L"Safety_Configuration_signature", &value));
  EXPECT_EQ(value, 5);

  struct Case {
    const char* name;
    std::function<void()> arrange;
    const wchar_t* tagName;
  };
  const Case misses[] = {
      {"no tag of that name", [] {}, L"Corvane300:X"},
      {"no private-tag interface", [this] { m_module->tags.privateQueryResult = E_NOINTERFACE; },
       L"Corvane300:C"},
  };
  for (const Case& c : misses) {
    SCOPED_TRACE(c.name);
    c.arrange();
    IUnknown* adapter = reinterpret_cast<IUnknown*>(1);
    ULONG references = 1;
    EXPECT_HR(S_OK, page.test->GetPrivateAdapter(_bstr_t(c.tagName), &adapter, &references));
    EXPECT_EQ(adapter, nullptr);
  }
  EXPECT_EQ(TakeLog(), Lines{});
}

TEST_F(ConfigPanel, AdaptersThatNeedTheModuleAreNullBeforeInit) {
  ConfigPage page = Open(false, false);
  TakeLog();
  IUnknown* adapter = reinterpret_cast<IUnknown*>(1);
  ULONG references = 1;
  EXPECT_HR(S_OK, page.test->GetPrivateAdapter(_bstr_t(L"Corvane300:C"), &adapter, &references));
  EXPECT_EQ(adapter, nullptr);
  adapter = reinterpret_cast<IUnknown*>(1);
  EXPECT_HR(S_OK, page.test->GetTagExtPropertyAdapter(1, 7, _bstr_t(L"Out"), &adapter));
  EXPECT_EQ(adapter, nullptr);
  const std::wstring noParent = L"CPVPanel::GetIPVParent: Panel has invalid parent pointer.";
  EXPECT_EQ(TakeLog(),
            (Lines{noParent, L"CPVConfigPanelEnum::GetPrivateIPVGetSetAdapter: Failed to call GetIModule\n",
                   noParent,
                   L"CPVConfigPanelEnum::GetTagExtPropertyIPVGetSetAdapter: Failed to call GetIModule\n"}));
}

TEST_F(ConfigPanel, TheSimulatedModuleHasNoConnectionTagsSoNoTagExtensionAdapter) {
  ConfigPage page = Open();
  TakeLog();
  IUnknown* adapter = reinterpret_cast<IUnknown*>(1);
  EXPECT_HR(S_OK, page.test->GetTagExtPropertyAdapter(2, 7, _bstr_t(kConfigIntegerMember), &adapter));
  EXPECT_EQ(adapter, nullptr);
  EXPECT_EQ(TakeLog(), Lines{});
}

// ---------------------------------------------------------------------------------------------
// Activation and I/O tag events

TEST_F(ConfigPanel, ActivationWithoutIOTagsOnlyRunsThePanelsWalk) {
  ConfigPage page = Open();
  TakeLog();
  const int readsBefore = StandardTag()->ValueReadCount(kConfigIntegerMember);
  EXPECT_HR(S_OK, page.child->OnActivate());
  EXPECT_GT(StandardTag()->ValueReadCount(kConfigIntegerMember), readsBefore)
      << "the controls show their values";
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  EXPECT_HR(S_OK, page.child->OnDeactivate()) << "nothing to unsubscribe twice";
  EXPECT_EQ(TakeLog(), Lines{});
  EXPECT_EQ(Events(page), 0);
}

TEST_F(ConfigPanel, AnIOTagsEventsReachEveryControlWhileThePageIsActive) {
  hostsim::Ref<FakeIOTag> tag(FakeIOTag::Create());
  {
    ConfigPage page = Open();
    EXPECT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(tag.get())));
    EXPECT_HR(S_OK, AddIOTag(page, static_cast<IServicesComponent*>(tag.get()))) << "one object, listed once";
    EXPECT_FALSE(tag->Fire(DISPID_DPSTAGEVENTS_DATACHANGED)) << "nothing connected before activation";

    ASSERT_HR(S_OK, page.child->OnActivate());
    EXPECT_EQ(tag->subscribes, 1);
    EXPECT_EQ(tag->advises, 1);
    const int reads = StandardTag()->ValueReadCount(kConfigIntegerMember);
    EXPECT_TRUE(tag->Fire(DISPID_DPSTAGEVENTS_DATACHANGED));
    EXPECT_GT(StandardTag()->ValueReadCount(kConfigIntegerMember), reads)
        << "data changed refreshes the controls";
    EXPECT_TRUE(tag->Fire(DISPID_DPSTAGEVENTS_FLUSH));
    EXPECT_TRUE(tag->Fire(99)) << "an event without handler is ignored";
    LONG flushes = 0;
    EXPECT_EQ(Events(page, &flushes), 1);
    EXPECT_EQ(flushes, 1);

    ASSERT_HR(S_OK, page.child->OnDeactivate());
    EXPECT_EQ(tag->unsubscribes, 1);
    EXPECT_FALSE(tag->Connected());
    ASSERT_HR(S_OK, page.child->OnActivate()) << "the entry's sink and services are used again";
    EXPECT_EQ(tag->subscribes, 2);
    EXPECT_TRUE(tag->Connected());
    EXPECT_EQ(TakeLog(), Lines{});
    page.Release();  // still active: the page disconnects as it goes
  }
  EXPECT_EQ(m_livePages(), 0);
  EXPECT_EQ(tag->unsubscribes, 2);
  EXPECT_FALSE(tag->Connected());
  EXPECT_EQ(tag->unexpected, 0);
}

TEST_F(ConfigPanel, AFailedSubscriptionIsLoggedAndActivationGoesOn) {
  const std::wstring subscribe = L"CPVConfigPanelEnum::SubscribeToVexilEvents: ";
  const std::wstring activate = L"CPVConfigPanelEnum::OnActivate: Failed to subscribe to vexil events.";
  struct Case {
    const char* name;
    std::function<void(FakeIOTag&)> arrange;
    std::wstring message;
    int subscribes;
  };
  const Case cases[] = {
      {"no event services", [](FakeIOTag& t) { t.answersServices = false; },
       L"Fail to query IServicesComponent", 0},
      {"the subscription is refused", [](FakeIOTag& t) { t.subscribeResult = E_ACCESSDENIED; },
       L"Fail to susbcribe vexil events", 1},
      {"no connection point container", [](FakeIOTag& t) { t.answersContainer = false; },
       L"Fail to connect status tag events sink", 1},
      {"the connection is refused", [](FakeIOTag& t) { t.adviseResult = CONNECT_E_CANNOTCONNECT; },
       L"Fail to connect status tag events sink", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::Ref<FakeIOTag> tag(FakeIOTag::Create());
    c.arrange(*tag.get());
    ConfigPage page = Open();
    ASSERT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(tag.get())));
    TakeLog();
    const int reads = StandardTag()->ValueReadCount(kConfigIntegerMember);
    EXPECT_HR(S_OK, page.child->OnActivate());
    EXPECT_GT(StandardTag()->ValueReadCount(kConfigIntegerMember), reads)
        << "the controls were still activated";
    EXPECT_EQ(TakeLog(), (Lines{subscribe + c.message, activate}));
    EXPECT_EQ(tag->subscribes, c.subscribes);
    EXPECT_FALSE(tag->Connected());
    EXPECT_HR(S_OK, page.child->OnDeactivate()) << "nothing was subscribed";
    EXPECT_EQ(tag->unsubscribes, 0);
    page.Release();
    EXPECT_EQ(TakeLog(), Lines{});
  }
}

TEST_F(ConfigPanel, ActivatingAgainWhileConnectedIsAFailureOfThatEntry) {
  hostsim::Ref<FakeIOTag> tag(FakeIOTag::Create());
  ConfigPage page = Open();
  ASSERT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(tag.get())));
  ASSERT_HR(S_OK, page.child->OnActivate());
  TakeLog();
  EXPECT_HR(S_OK, page.child->OnActivate());
  EXPECT_EQ(TakeLog(),
            (Lines{L"CPVConfigPanelEnum::SubscribeToVexilEvents: Fail to connect status tag events sink",
                   L"CPVConfigPanelEnum::OnActivate: Failed to subscribe to vexil events."}));
  EXPECT_EQ(tag->subscribes, 1) << "not subscribed twice";
  EXPECT_EQ(tag->advises, 1);
  EXPECT_TRUE(tag->Connected()) << "the first connection stays";
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  EXPECT_FALSE(tag->Connected());
}

TEST_F(ConfigPanel, AFailedUnsubscriptionIsLoggedAndDeactivationGoesOn) {
  const std::wstring unsubscribe = L"CPVConfigPanelEnum::UnsubscribeToVexilEvents: ";
  const std::wstring deactivate = L"CPVConfigPanelEnum::OnDeactivate: Failed to unsubscribe to vexil events.";
  struct Case {
    const char* name;
    std::function<void(FakeIOTag&)> arrange;
    std::wstring message;
    Lines onRelease;  // the page tries again as it goes
  };
  const Case cases[] = {
      {"the unsubscription is refused",
       [](FakeIOTag& t) { t.unsubscribeResult = E_ACCESSDENIED; },
       L"Fail to unsubcribe vexil events.\n",
       {unsubscribe + L"Fail to unsubcribe vexil events.\n",
        L"CPVConfigPanelEnum::~CPVConfigPanelEnum: Failed to unsubscribe to vexil events."}},
      {"the disconnection is refused once",
       [](FakeIOTag& t) { t.unadviseResult = E_ACCESSDENIED; },
       L"Fail to disconnect I/O tag events sink",
       {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::Ref<FakeIOTag> tag(FakeIOTag::Create());
    ConfigPage page = Open();
    ASSERT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(tag.get())));
    ASSERT_HR(S_OK, page.child->OnActivate());
    c.arrange(*tag.get());
    TakeLog();
    EXPECT_HR(S_OK, page.child->OnDeactivate());
    EXPECT_EQ(TakeLog(), (Lines{unsubscribe + c.message, deactivate}));
    EXPECT_TRUE(tag->Connected());
    // What the walk leaves connected is disconnected as the page goes, whatever the
    // services answer, so that no tag calls a sink that is gone.
    tag->unadviseResult = S_OK;
    page.Release();
    EXPECT_EQ(TakeLog(), c.onRelease);
    EXPECT_FALSE(tag->Connected());
  }
}

TEST_F(ConfigPanel, AConnectionTheUnsubscribeWalkSkipsIsStillEndedWithThePage) {
  hostsim::Ref<FakeIOTag> tag(FakeIOTag::Create());
  tag->answersTag = false;  // only ITag2: the walk does not unsubscribe it
  ConfigPage page = Open();
  ASSERT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(tag.get())));
  ASSERT_HR(S_OK, page.child->OnActivate());
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  EXPECT_EQ(tag->unsubscribes, 0);
  EXPECT_TRUE(tag->Connected());
  page.Release();
  EXPECT_FALSE(tag->Connected());
  EXPECT_EQ(TakeLog(), Lines{});
}

TEST_F(ConfigPanel, AnEntryThatNeverConnectedStopsTheUnsubscribeWalk) {
  hostsim::Ref<FakeIOTag> first(FakeIOTag::Create());
  hostsim::Ref<FakeIOTag> second(FakeIOTag::Create());
  second->subscribeResult = E_ACCESSDENIED;
  ConfigPage page = Open();
  ASSERT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(first.get())));
  ASSERT_HR(S_OK, AddIOTag(page, static_cast<ITag2*>(second.get())));
  ASSERT_HR(S_OK, page.child->OnActivate());
  EXPECT_TRUE(first->Connected());
  TakeLog();
  EXPECT_HR(S_OK, page.child->OnDeactivate());
  EXPECT_EQ(TakeLog(),
            (Lines{L"CPVConfigPanelEnum::UnsubscribeToVexilEvents: Invalid spIOTagEventSink pointer\n",
                   L"CPVConfigPanelEnum::OnDeactivate: Failed to unsubscribe to vexil events."}));
  EXPECT_FALSE(first->Connected()) << "the entries before it were disconnected";
  page.Release();
  EXPECT_EQ(TakeLog(),
            (Lines{L"CPVConfigPanelEnum::UnsubscribeToVexilEvents: Invalid spIOTagEventSink pointer\n",
                   L"CPVConfigPanelEnum::~CPVConfigPanelEnum: Failed to unsubscribe to vexil events."}));
}

TEST_F(ConfigPanel, ANullIOTagIsRefused) {
  ConfigPage page = Open(false, false);
  TakeLog();
  EXPECT_HR(E_INVALIDARG, AddIOTag(page, nullptr));
  EXPECT_EQ(TakeLog(), Lines{L"CPVConfigPanelEnum::AddIOTagToList: spITag2 is null pointer\n"});
}

// ---------------------------------------------------------------------------------------------
// The end of the page

TEST_F(ConfigPanel, EveryReferenceThePageTookIsGivenBackWhenItGoes) {
  hostsim::ConfigurationTag* standard = StandardTag();
  hostsim::ConfigurationTag* safety = SafetyTag();
  const ULONG standardBefore = ReferencesOf(static_cast<ITag2*>(standard));
  const ULONG safetyBefore = ReferencesOf(static_cast<ITag2*>(safety));
  {
    ConfigPage page = Open();
    IUnknown* adapter = nullptr;
    ULONG references = 0;
    ASSERT_HR(S_OK, page.test->GetPrivateAdapter(_bstr_t(L"Corvane300:C"), &adapter, &references));
    ASSERT_HR(S_OK, page.child->OnActivate());
    ASSERT_HR(S_OK, page.child->OnDeactivate());
    EXPECT_GT(ReferencesOf(static_cast<ITag2*>(standard)), standardBefore);
    EXPECT_GT(ReferencesOf(static_cast<ITag2*>(safety)), safetyBefore);
    EXPECT_HR(S_OK, page.panel->Destroy());
  }
  EXPECT_EQ(m_livePages(), 0);
  EXPECT_EQ(ReferencesOf(static_cast<ITag2*>(standard)), standardBefore)
      << "adapters and value objects released";
  EXPECT_EQ(ReferencesOf(static_cast<ITag2*>(safety)), safetyBefore);
}

// ---------------------------------------------------------------------------------------------
// Below the door: the tag-extension lookup over a module's connection tags.

// One standard tag and the two tags of each of two connections; "Out" is a member of the
// second connection's output tag only.
constexpr char kConnectionDefinition[] =
    "<module name=\"N\">"
    "<tag name=\"N:C\" kind=\"standard\"><member name=\"Config\" type=\"DINT\" default=\"1\"/></tag>"
    "<tag name=\"N:I1\" kind=\"standard\"><member name=\"In\" type=\"DINT\" default=\"0\"/></tag>"
    "<tag name=\"N:O1\" kind=\"standard\"><member name=\"Other\" type=\"DINT\" default=\"0\"/></tag>"
    "<tag name=\"N:I2\" kind=\"standard\"><member name=\"In\" type=\"DINT\" default=\"0\"/></tag>"
    "<tag name=\"N:O2\" kind=\"standard\"><member name=\"Out\" type=\"DINT\" default=\"0\"/></tag>"
    "</module>";

class FakeConnection final : public IConnectionInstance {
 public:
  FakeConnection(ITag* first, ITag* second) : m_tags{first, second} {}
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return hostsim::QueryFromTable<FakeConnection>(this, riid, ppv,
                                                   {HOSTSIM_ENTRY(FakeConnection, IConnectionInstance)});
  }
  HOSTSIM_REFCOUNT_IMPL
  STDMETHODIMP GetConnectionTag(LONG which, ITag** tag) override {
    *tag = nullptr;
    if (which < 0 || which > 1) return E_INVALIDARG;
    if (failure[which] != S_OK) return failure[which];
    *tag = m_tags[which];
    (*tag)->AddRef();
    return S_OK;
  }
  HRESULT failure[2] = {S_OK, S_OK};

 private:
  ~FakeConnection() = default;
  ITagPtr m_tags[2];
};

class FakeConnectedModule final : public IModule {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    return hostsim::QueryFromTable<FakeConnectedModule>(this, riid, ppv,
                                                        {HOSTSIM_ENTRY(FakeConnectedModule, IModule)});
  }
  HOSTSIM_REFCOUNT_IMPL
  STDMETHODIMP GetConfigurationTag(ITag** tag) override {
    *tag = configuration;
    if (*tag) (*tag)->AddRef();
    return *tag ? S_OK : E_NOINTERFACE;
  }
  STDMETHODIMP GetConnectionInstance(LONG index, IConnectionInstance** instance) override {
    *instance = nullptr;
    ++instanceRequests;
    if (index == failAt) return E_FAIL;
    if (index < 0 || index >= static_cast<LONG>(connections.size())) return E_NOINTERFACE;
    *instance = connections[index];
    (*instance)->AddRef();
    return S_OK;
  }
  ITagPtr configuration;
  std::vector<IConnectionInstancePtr> connections;
  LONG failAt = -1;
  int instanceRequests = 0;
};

class TagExtensionLookup : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string error;
    const auto definition = hostsim::ParseModuleDefinition(kConnectionDefinition, &error);
    ASSERT_TRUE(definition.has_value()) << error;
    for (const hostsim::TagDefinition& tag : definition->tags) {
      hostsim::ConfigurationTag* created = hostsim::ConfigurationTag::Create(tag);
      m_raw.push_back(created);
      m_tags.emplace_back(static_cast<ITag2*>(created), false);
    }
    m_module.configuration = m_tags[0];
    for (size_t i = 1; i + 1 < m_tags.size(); i += 2) {
      IConnectionInstance* connection = new FakeConnection(m_tags[i], m_tags[i + 1]);
      m_module.connections.emplace_back(connection, false);
    }
    orvolog::ClearRecords();
  }
  void TearDown() override {
    m_adapters.clear();
    m_module.configuration = nullptr;
    m_module.connections.clear();
    for (ITagPtr& tag : m_tags) EXPECT_EQ(ReferencesOf(tag), 1u) << "a tag reference kept";
  }
  IPVGetSetAdapter* Lookup(LONG tagType, LONG key, const wchar_t* member) {
    return GetTagExtPropertyIPVGetSetAdapter(&m_module, tagType, key, member, m_adapters);
  }

  std::vector<ITagPtr> m_tags;  // owners of m_raw
  std::vector<hostsim::ConfigurationTag*> m_raw;
  FakeConnectedModule m_module;  // on the stack: its count is never taken to 0
  CPVTagExtAdapterMap m_adapters;
};

TEST_F(TagExtensionLookup, TheFirstTagOfTheTypeThatHasTheMemberGivesTheAdapter) {
  struct Case {
    const char* name;
    LONG tagType;
    const wchar_t* member;
    int tag;  // index into m_tags, -1 for none
  };
  const Case cases[] = {
      {"second tag of the second connection", 1, L"Out", 4},
      {"first tag of the first connection", 0, L"In", 1},
      {"the module's configuration tag", 2, L"Config", 0},
      {"a member of another tag type", 0, L"Out", -1},
      {"no tag has the member", 1, L"Missing", -1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    IPVGetSetAdapter* adapter = Lookup(c.tagType, 7, c.member);
    EXPECT_EQ(adapter != nullptr, c.tag >= 0);
    if (!adapter) continue;
    // The adapter writes the tag's extension property under its key.
    ITagExtPropertyPtr properties(m_tags[c.tag]);
    EXPECT_HR(S_OK, adapter->SetString(c.member, CString(L"written")));
    VARIANT value;
    VariantInit(&value);
    ASSERT_HR(S_OK, properties->GetProperty(7, _bstr_t(c.member), &value));
    EXPECT_EQ(std::wstring(V_BSTR(&value)), L"written");
    VariantClear(&value);
  }
  EXPECT_EQ(TakeLog(), Lines{});
}

TEST_F(TagExtensionLookup, OneAdapterIsKeptPerPropertyKeyAndTag) {
  IPVGetSetAdapter* first = Lookup(1, 7, L"Out");
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(Lookup(1, 7, L"Out"), first);
  EXPECT_EQ(ReferencesOf(first), 1u) << "the map holds the only reference";
  IPVGetSetAdapter* otherKey = Lookup(1, 8, L"Out");
  EXPECT_NE(otherKey, first);
  IPVGetSetAdapter* otherTag = Lookup(0, 7, L"In");
  EXPECT_NE(otherTag, first);
  EXPECT_EQ(m_adapters.size(), 3u);
}

TEST_F(TagExtensionLookup, FailuresAreLoggedWithTheirOwnText) {
  const std::wstring function = L"GetTagExtPropertyIPVGetSetAdapter: ";
  struct Case {
    const char* name;
    std::function<void(FakeConnectedModule&)> arrange;
    LONG tagType;
    bool nullModule;
    Lines log;
    bool found;
  };
  const Case cases[] = {
      {"no module", [](auto&) {}, 1, true, {function + L"Invalid pointer 'pIModule'\n"}, false},
      {"an unknown tag type", [](auto&) {}, 3, false, {function + L"Invalid tag type\n"}, false},
      {"a connection the module cannot give ends the walk",
       [](auto& m) { m.failAt = 1; },
       1,
       false,
       {function + L"Failed to get connection instance from ORVO services\n"},
       false},
      {"a tag the connection cannot give is skipped",
       [](auto& m) { static_cast<FakeConnection*>(m.connections[0].GetInterfacePtr())->failure[1] = E_FAIL; },
       1,
       false,
       {function + L"Failed to get tag from ORVO services\n"},
       true},
      {"a connection without that tag is skipped silently",
       [](auto& m) {
         static_cast<FakeConnection*>(m.connections[0].GetInterfacePtr())->failure[1] = E_NOINTERFACE;
       },
       1,
       false,
       {},
       true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    FakeConnectedModule& module = m_module;
    module.failAt = -1;
    for (auto& connection : module.connections) {
      auto* fake = static_cast<FakeConnection*>(connection.GetInterfacePtr());
      fake->failure[0] = fake->failure[1] = S_OK;
    }
    c.arrange(module);
    orvolog::ClearRecords();
    IPVGetSetAdapter* adapter =
        GetTagExtPropertyIPVGetSetAdapter(c.nullModule ? nullptr : &module, c.tagType, 7, L"Out", m_adapters);
    EXPECT_EQ(adapter != nullptr, c.found);
    EXPECT_EQ(TakeLog(), c.log);
  }
}

TEST_F(TagExtensionLookup, AMemberReadFailureOtherThanAbsenceIsLoggedAndTheWalkGoesOn) {
  m_raw[2]->FailValueReads(L"Other", E_ACCESSDENIED);
  EXPECT_EQ(Lookup(1, 7, L"Other"), nullptr) << "the only tag with the member could not be read";
  EXPECT_EQ(TakeLog(), Lines{L"GetTagExtPropertyIPVGetSetAdapter: Failed to get value from output tag\n"});
  EXPECT_NE(Lookup(1, 7, L"Out"), nullptr);
}

}  // namespace
