// The class library's COM objects: the interface map, plain, aggregated and either-way
// objects, the class factory, the module's lock count, the error helper, connection points
// and event sinks.
#include <atlbase.h>
#include <platform/testing_text.h>
#include <platform/testing_hresult.h>
#include <atlcom.h>
#include <windows.h>

#include <platform/testing_registry.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

interface IFirst : public IUnknown {
  STDMETHOD(First)(LONG* value) = 0;
};
DECLARE_UUIDOF(IFirst, "A0000001-0000-4000-8000-000000000001");
interface ISecond : public IUnknown {
  STDMETHOD(Second)(LONG* value) = 0;
};
DECLARE_UUIDOF(ISecond, "A0000001-0000-4000-8000-000000000002");
// The outgoing (event) interface.
interface IEvents : public IDispatch {};
DECLARE_UUIDOF(IEvents, "A0000001-0000-4000-8000-000000000003");
inline constexpr IID DIID_IEvents = __uuidof(IEvents);
inline constexpr CLSID CLSID_Thing = platform::GuidFromText("A0000001-0000-4000-8000-0000000000FF");

namespace {

using platform::test_support::Hex;

using platform::test_support::Narrow;

int g_liveThings = 0;

class CThing : public CComObjectRootEx<CComSingleThreadModel>,
               public CComCoClass<CThing, &CLSID_Thing>,
               public IFirst,
               public ISecond,
               public IConnectionPointContainerImpl<CThing>,
               public IConnectionPointImpl<CThing, &DIID_IEvents> {
 public:
  CThing() { ++g_liveThings; }
  virtual ~CThing() { --g_liveThings; }
  DECLARE_NO_REGISTRY()

  BEGIN_COM_MAP(CThing)
  COM_INTERFACE_ENTRY(IFirst)
  COM_INTERFACE_ENTRY(ISecond)
  COM_INTERFACE_ENTRY(IConnectionPointContainer)
  END_COM_MAP()

  BEGIN_CONNECTION_POINT_MAP(CThing)
  CONNECTION_POINT_ENTRY(DIID_IEvents)
  END_CONNECTION_POINT_MAP()

  STDMETHOD(First)(LONG* value) override {
    *value = 1;
    return S_OK;
  }
  STDMETHOD(Second)(LONG* value) override {
    *value = 2;
    return S_OK;
  }

  // Fires event dispid with (LONG, BSTR) on every advised sink.
  void Fire(DISPID dispid, LONG number, const wchar_t* text) {
    for (IUnknown* sink : m_vec) {
      if (!sink) continue;
      VARIANT args[2];
      VariantInit(&args[0]);
      VariantInit(&args[1]);
      V_VT(&args[1]) = VT_I4;
      V_I4(&args[1]) = number;
      V_VT(&args[0]) = VT_BSTR;
      V_BSTR(&args[0]) = SysAllocString(text);
      DISPPARAMS params = {args, nullptr, 2, 0};
      static_cast<IDispatch*>(sink)->Invoke(dispid, GUID_NULL, 0, DISPATCH_METHOD, &params, nullptr, nullptr,
                                            nullptr);
      VariantClear(&args[0]);
    }
  }
};

class TestModule : public CAtlDllModuleT<TestModule> {};

class Atl : public ::testing::Test {
 protected:
  void SetUp() override { platform::registry::Reset(); }
  TestModule m_module;
};

TEST_F(Atl, TheInterfaceMapAnswersItsInterfacesWithOneIdentity) {
  CComObject<CThing>* thing = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(CComObject<CThing>::CreateInstance(&thing)));
  thing->AddRef();
  EXPECT_EQ(1, m_module.GetLockCount());
  IFirst* first = nullptr;
  ISecond* second = nullptr;
  IUnknown* unknown1 = nullptr;
  IUnknown* unknown2 = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(thing->QueryInterface(__uuidof(IFirst), reinterpret_cast<void**>(&first))));
  ASSERT_EQ(Hex(S_OK), Hex(first->QueryInterface(__uuidof(ISecond), reinterpret_cast<void**>(&second))));
  LONG value = 0;
  second->Second(&value);
  EXPECT_EQ(2, value);
  first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown1));
  second->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown2));
  EXPECT_EQ(unknown1, unknown2);
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(Hex(E_NOINTERFACE), Hex(thing->QueryInterface(IID_IDispatch, &none)));
  EXPECT_EQ(nullptr, none);
  unknown1->Release();
  unknown2->Release();
  second->Release();
  EXPECT_EQ(1u, first->Release());
  EXPECT_EQ(0u, thing->Release());
  EXPECT_EQ(0, g_liveThings);
  EXPECT_EQ(0, m_module.GetLockCount());
}

// An outer object that delegates everything but IUnknown to the inner one.
class Outer final : public IUnknown {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (riid == IID_IUnknown) {
      *ppv = this;
      AddRef();
      return S_OK;
    }
    return inner ? inner->QueryInterface(riid, ppv) : E_NOINTERFACE;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++refs; }
  STDMETHODIMP_(ULONG) Release() override { return --refs; }
  IUnknown* inner = nullptr;
  ULONG refs = 1;
};

TEST_F(Atl, AnAggregatedObjectCountsItsReferencesOnTheOuterObject) {
  for (bool poly : {false, true}) {
    SCOPED_TRACE(poly ? "poly" : "aggregate");
    Outer outer;
    const HRESULT hr = poly ? CComCreator<CComPolyObject<CThing>>::CreateInstance(
                                  &outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner))
                            : CComCreator<CComAggObject<CThing>>::CreateInstance(
                                  &outer, IID_IUnknown, reinterpret_cast<void**>(&outer.inner));
    ASSERT_EQ(Hex(S_OK), Hex(hr));
    EXPECT_EQ(1u, outer.refs);
    IFirst* first = nullptr;
    ASSERT_EQ(Hex(S_OK), Hex(outer.QueryInterface(__uuidof(IFirst), reinterpret_cast<void**>(&first))));
    EXPECT_EQ(2u, outer.refs);
    IUnknown* identity = nullptr;
    first->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity));
    EXPECT_EQ(static_cast<IUnknown*>(&outer), identity);
    identity->Release();
    first->Release();
    EXPECT_EQ(1u, outer.refs);
    EXPECT_EQ(0u, outer.inner->Release());
    EXPECT_EQ(0, g_liveThings);
  }
  // Without an outer object the poly object stands alone.
  IFirst* first = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(CComCreator<CComPolyObject<CThing>>::CreateInstance(
                           nullptr, __uuidof(IFirst), reinterpret_cast<void**>(&first))));
  EXPECT_EQ(0u, first->Release());
}

TEST_F(Atl, TheClassFactoryOffersOnlyIUnknownToAnOuterObjectAndLocksTheServer) {
  IClassFactory* factory = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(CThing::_ClassFactoryCreatorClass::CreateInstance(
                           reinterpret_cast<void*>(CThing::_CreatorClass::CreateInstance), IID_IClassFactory,
                           reinterpret_cast<void**>(&factory))));
  Outer outer;
  void* object = reinterpret_cast<void*>(1);
  EXPECT_EQ(Hex(CLASS_E_NOAGGREGATION), Hex(factory->CreateInstance(&outer, __uuidof(IFirst), &object)));
  EXPECT_EQ(nullptr, object);
  EXPECT_EQ(Hex(S_OK), Hex(factory->CreateInstance(nullptr, __uuidof(ISecond), &object)));
  static_cast<ISecond*>(object)->Release();
  const LONG before = m_module.GetLockCount();
  factory->LockServer(TRUE);
  EXPECT_EQ(before + 1, m_module.GetLockCount());
  factory->LockServer(FALSE);
  EXPECT_EQ(before, m_module.GetLockCount());
  factory->Release();
}

TEST_F(Atl, ErrorHelperSetsTheErrorObjectWithTheProgIdAsSource) {
  HKEY key = nullptr;
  RegCreateKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{A0000001-0000-4000-8000-0000000000FF}\\ProgID", 0, nullptr, 0,
                  KEY_WRITE, nullptr, &key, nullptr);
  const wchar_t progId[] = L"Test.Thing.1";
  RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(progId), sizeof(progId));
  RegCloseKey(key);
  EXPECT_EQ(Hex(E_FAIL), Hex(CThing::Error(L"broken", __uuidof(ISecond), E_FAIL)));
  IErrorInfo* info = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(GetErrorInfo(0, &info)));
  BSTR source = nullptr, description = nullptr, help = nullptr;
  GUID guid{};
  info->GetSource(&source);
  info->GetDescription(&description);
  info->GetHelpFile(&help);
  info->GetGUID(&guid);
  EXPECT_EQ("Test.Thing.1", Narrow(source ? source : L""));
  EXPECT_EQ("broken", Narrow(description ? description : L""));
  EXPECT_EQ(nullptr, help);
  EXPECT_TRUE(guid == __uuidof(ISecond));
  SysFreeString(source);
  SysFreeString(description);
  info->Release();
  EXPECT_EQ(Hex(DISP_E_EXCEPTION), Hex(CThing::Error(L"no code")));
  SetErrorInfo(0, nullptr);
}

// A sink of CThing's events: handler for dispid 6 with (LONG, BSTR).
const _ATL_FUNC_INFO kChangedInfo = {0, VT_EMPTY, 2, {VT_I4, VT_BSTR}};

class Listener : public IDispEventSimpleImpl<1, Listener, &DIID_IEvents> {
 public:
  BEGIN_SINK_MAP(Listener)
  SINK_ENTRY_INFO(1, DIID_IEvents, 6, &Listener::OnChanged, &kChangedInfo)
  END_SINK_MAP()

  void STDMETHODCALLTYPE OnChanged(LONG number, BSTR text) {
    received.push_back(std::to_wstring(number) + text);
  }
  std::vector<std::wstring> received;
};

TEST_F(Atl, ASinkAdvisedOnAConnectionPointReceivesTheEventsUntilUnadvised) {
  CComObject<CThing>* thing = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(CComObject<CThing>::CreateInstance(&thing)));
  thing->AddRef();
  IUnknown* source = thing->_GetRawUnknown();
  Listener listener;
  ASSERT_EQ(Hex(S_OK), Hex(listener.DispEventAdvise(source)));
  thing->Fire(6, 42, L" changed");
  thing->Fire(7, 1, L" ignored");
  EXPECT_EQ(1u, listener.received.size());
  if (!listener.received.empty()) {
    EXPECT_EQ("42 changed", Narrow(listener.received[0]));
  }

  IConnectionPointContainer* container = nullptr;
  ASSERT_EQ(Hex(S_OK),
            Hex(source->QueryInterface(IID_IConnectionPointContainer, reinterpret_cast<void**>(&container))));
  IConnectionPoint* point = nullptr;
  EXPECT_EQ(Hex(CONNECT_E_NOCONNECTION), Hex(container->FindConnectionPoint(__uuidof(IFirst), &point)));
  ASSERT_EQ(Hex(S_OK), Hex(container->FindConnectionPoint(DIID_IEvents, &point)));
  IEnumConnections* connections = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(point->EnumConnections(&connections)));
  CONNECTDATA data[2] = {};
  ULONG fetched = 0;
  EXPECT_EQ(Hex(S_FALSE), Hex(connections->Next(2, data, &fetched)));
  EXPECT_EQ(1u, fetched);
  EXPECT_EQ(listener.m_dwEventCookie, data[0].dwCookie);
  data[0].pUnk->Release();
  connections->Release();
  // A sink without the outgoing interface cannot connect; an unknown cookie does not unadvise.
  DWORD cookie = 0;
  EXPECT_EQ(Hex(CONNECT_E_CANNOTCONNECT), Hex(point->Advise(source, &cookie)));
  EXPECT_EQ(Hex(CONNECT_E_NOCONNECTION), Hex(point->Unadvise(99)));
  IEnumConnectionPoints* points = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(container->EnumConnectionPoints(&points)));
  IConnectionPoint* listed = nullptr;
  EXPECT_EQ(Hex(S_OK), Hex(points->Next(1, &listed, nullptr)));
  EXPECT_EQ(point, listed);
  listed->Release();
  points->Release();
  point->Release();
  container->Release();

  ASSERT_EQ(Hex(S_OK), Hex(listener.DispEventUnadvise(source)));
  thing->Fire(6, 43, L" late");
  EXPECT_EQ(1u, listener.received.size());
  EXPECT_EQ(0u, thing->Release());
}

}  // namespace
