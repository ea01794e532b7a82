#include "comdef.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>

#include <unistd.h>

#include <climits>

#include "fixtures/com/com_fixture.h"
#include "fixtures/com/com_test_support.h"
#include "libloaderapi.h"
#include "platform/testing_registry.h"
#include "winreg.h"

using testing_com::CountingObject;
using testing_com::Hr;
using testing_com::Narrow;

interface IPromptSource : public IUnknown {
  STDMETHOD(GetPromptCount)(LONG* count) = 0;
};
DECLARE_UUIDOF(IPromptSource, "5C1E7A90-3B2D-4E8F-A6C4-1D2E3F405162");
_COM_SMARTPTR_TYPEDEF(IPromptSource, __uuidof(IPromptSource));

namespace {

constexpr CLSID kHostClass = platform::GuidFromText("{22C3FA58-D621-4879-ADE8-47C4A39524A7}");
constexpr CLSID kUnknownClass = platform::GuidFromText("{9A0B1C2D-3E4F-5061-7283-94A5B6C7D8E9}");

struct PromptServer : CountingObject<IPromptSource> {
  STDMETHODIMP GetPromptCount(LONG* count) override { return *count = 11, S_OK; }
};

// A class factory that hands out its one server object, counting what it is asked.
struct Factory : CountingObject<IClassFactory> {
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID riid, void** ppv) override {
    ++creates;
    if (outer) {
      *ppv = nullptr;
      return CLASS_E_NOAGGREGATION;
    }
    return server.QueryInterface(riid, ppv);
  }
  STDMETHODIMP LockServer(BOOL) override { return S_OK; }
  PromptServer server;
  int creates = 0;
};

class CoClass : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Hr(S_OK), Hr(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
    platform::registry::Reset();
  }
  void TearDown() override {
    CoUninitialize();
    platform::registry::Reset();
    EXPECT_EQ(factory.refs, 1) << "every reference to the class object was released";
    EXPECT_EQ(factory.server.refs, 1) << "every reference to the object was released";
  }

  DWORD Register(DWORD context = CLSCTX_INPROC_SERVER) {
    DWORD cookie = 0;
    EXPECT_EQ(Hr(S_OK), Hr(CoRegisterClassObject(kHostClass, static_cast<IClassFactory*>(&factory), context,
                                                 REGCLS_MULTIPLEUSE, &cookie)));
    return cookie;
  }

  // HKEY_CLASSES_ROOT\CLSID\{clsid}\InProcServer32 = path (or the CLSID key alone).
  static void RegisterServerPath(const CLSID& clsid, const wchar_t* path) {
    wchar_t text[40];
    StringFromGUID2(clsid, text, 40);
    std::wstring name = std::wstring(L"CLSID\\") + text;
    if (path) name += L"\\InprocServer32";  // key names ignore case
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    if (path)
      RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(path),
                     static_cast<DWORD>((std::wcslen(path) + 1) * sizeof(WCHAR)));
    RegCloseKey(key);
  }

  Factory factory;
};

TEST_F(CoClass, CreateInstanceFindsAClassRegisteredInProcess) {
  const DWORD cookie = Register();
  IPromptSource* source = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CoCreateInstance(kHostClass, nullptr, CLSCTX_ALL, __uuidof(IPromptSource),
                                          reinterpret_cast<void**>(&source))));
  EXPECT_EQ(source, static_cast<IPromptSource*>(&factory.server));
  EXPECT_EQ(factory.creates, 1);
  source->Release();
  EXPECT_EQ(factory.refs, 2) << "only the registration holds the class object";

  IClassFactory* classObject = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CoGetClassObject(kHostClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                          reinterpret_cast<void**>(&classObject))));
  EXPECT_EQ(classObject, static_cast<IClassFactory*>(&factory));
  classObject->Release();
  EXPECT_EQ(Hr(S_OK), Hr(CoRevokeClassObject(cookie)));
  EXPECT_EQ(factory.refs, 1);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(CoRevokeClassObject(cookie)));
}

TEST_F(CoClass, FailuresLeaveTheOutputNull) {
  Register();
  struct Case {
    const char* name;
    CLSID clsid;
    IUnknown* outer;
    IID iid;
    HRESULT hr;
  };
  IUnknown* outer = static_cast<IClassFactory*>(&factory);
  const Case cases[] = {
      {"class not registered", kUnknownClass, nullptr, __uuidof(IPromptSource), REGDB_E_CLASSNOTREG},
      {"interface not offered", kHostClass, nullptr, IID_IDispatch, E_NOINTERFACE},
      {"aggregation refused", kHostClass, outer, IID_IUnknown, CLASS_E_NOAGGREGATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    void* object = &factory;
    EXPECT_EQ(Hr(c.hr), Hr(CoCreateInstance(c.clsid, c.outer, CLSCTX_ALL, c.iid, &object)));
    EXPECT_EQ(object, nullptr);
  }
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(CoCreateInstance(kHostClass, nullptr, CLSCTX_ALL, IID_IUnknown, nullptr)));
}

TEST_F(CoClass, ARegistrationServesOnlyTheContextsItNames) {
  Register(CLSCTX_INPROC_HANDLER);
  void* object = nullptr;
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG),
            Hr(CoCreateInstance(kHostClass, nullptr, CLSCTX_INPROC_SERVER, IID_IUnknown, &object)));
  EXPECT_EQ(Hr(S_OK), Hr(CoCreateInstance(kHostClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object)));
  static_cast<IUnknown*>(object)->Release();
}

TEST_F(CoClass, AnInProcessRegistrationTakesPrecedenceOverTheRegistry) {
  RegisterServerPath(kHostClass, L"Z:\\nowhere\\PromptServer.dll");
  IPromptSourcePtr source;
  EXPECT_EQ(Hr(CO_E_DLLNOTFOUND), Hr(source.CreateInstance(kHostClass)));
  Register();
  ASSERT_EQ(Hr(S_OK), Hr(source.CreateInstance(kHostClass)));
  LONG count = 0;
  source->GetPromptCount(&count);
  EXPECT_EQ(count, 11);
}

TEST_F(CoClass, TheRegistryRoadNeedsTheInProcServerKey) {
  RegisterServerPath(kUnknownClass, nullptr);  // the CLSID key without InProcServer32
  void* object = &factory;
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG),
            Hr(CoGetClassObject(kUnknownClass, CLSCTX_ALL, nullptr, IID_IClassFactory, &object)));
  EXPECT_EQ(object, nullptr);
  RegisterServerPath(kUnknownClass, L"Z:\\nowhere\\Missing.dll");
  EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG),
            Hr(CoGetClassObject(kUnknownClass, CLSCTX_LOCAL_SERVER, nullptr, IID_IClassFactory, &object)))
      << "no in-process context asked for";
  EXPECT_EQ(Hr(CO_E_DLLNOTFOUND),
            Hr(CoGetClassObject(kUnknownClass, CLSCTX_ALL, nullptr, IID_IClassFactory, &object)));
}

TEST_F(CoClass, TheThreadsLastUninitializeRevokesItsClasses) {
  EXPECT_EQ(Hr(S_FALSE), Hr(CoInitialize(nullptr))) << "nested";
  Register();
  CoUninitialize();
  EXPECT_EQ(factory.refs, 2) << "still initialised once";
  CoUninitialize();
  EXPECT_EQ(factory.refs, 1);
  ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));  // for TearDown
}

TEST_F(CoClass, AnUninitializedThreadGetsNoObjects) {
  Register();
  HRESULT created = S_OK;
  HRESULT registered = S_OK;
  std::thread other([&] {
    void* object = nullptr;
    created = CoCreateInstance(kHostClass, nullptr, CLSCTX_ALL, IID_IUnknown, &object);
    DWORD cookie = 0;
    registered = CoRegisterClassObject(kHostClass, static_cast<IClassFactory*>(&factory),
                                       CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  });
  other.join();
  EXPECT_EQ(Hr(CO_E_NOTINITIALIZED), Hr(created));
  EXPECT_EQ(Hr(CO_E_NOTINITIALIZED), Hr(registered));
}

TEST_F(CoClass, ComPtrCreateInstanceRaisesFromItsConstructor) {
  try {
    IPromptSourcePtr source(kUnknownClass);
    ADD_FAILURE() << "no exception";
  } catch (const _com_error& error) {
    EXPECT_EQ(Hr(REGDB_E_CLASSNOTREG), Hr(error.Error()));
  }
  Register();
  IPromptSourcePtr source(kHostClass);
  EXPECT_TRUE(source);
}

// ---------------------------------------------------------------------------------------------
// The registry road: servers in DLLs named by InProcServer32.

// The platform path of a fixture DLL beside the test executable.
std::wstring FixturePath(const char* file) {
  char exe[PATH_MAX] = {};
  const ssize_t length = readlink("/proc/self/exe", exe, sizeof exe - 1);
  std::string host(exe, length > 0 ? static_cast<size_t>(length) : 0);
  host = host.substr(0, host.rfind('/') + 1) + file;
  std::wstring path = L"Z:";
  for (char c : host) path += c == '/' ? L'\\' : static_cast<wchar_t>(c);
  return path;
}

bool IsLoaded(const wchar_t* module) {
  return GetModuleHandleW(module) != nullptr;
}

LONG LiveObjects(IFixtureMeter* meter) {
  LONG count = -1;
  EXPECT_EQ(Hr(S_OK), Hr(meter->GetLiveObjects(&count)));
  return count;
}

TEST_F(CoClass, CreateInstanceLoadsTheServerTheRegistryNames) {
  RegisterServerPath(CLSID_FixtureMeter, FixturePath("ComServerFixture.dll").c_str());
  IFixtureMeter* meter = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CoCreateInstance(CLSID_FixtureMeter, nullptr, CLSCTX_ALL, __uuidof(IFixtureMeter),
                                          reinterpret_cast<void**>(&meter))));
  EXPECT_EQ(LiveObjects(meter), 1);
  EXPECT_TRUE(IsLoaded(L"ComServerFixture.dll"));
  IFixtureMeter* second = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CoCreateInstance(CLSID_FixtureMeter, nullptr, CLSCTX_INPROC_SERVER,
                                          __uuidof(IFixtureMeter), reinterpret_cast<void**>(&second))));
  EXPECT_EQ(LiveObjects(second), 2) << "the same loaded server";
  second->Release();

  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(L"ComServerFixture.dll")) << "an object is still alive";
  EXPECT_EQ(LiveObjects(meter), 1);
  meter->Release();
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsLoaded(L"ComServerFixture.dll")) << "DllCanUnloadNow said S_OK";
}

TEST_F(CoClass, ALockedServerStaysLoaded) {
  RegisterServerPath(CLSID_FixtureMeter, FixturePath("ComServerFixture.dll").c_str());
  IClassFactoryPtr factory;
  ASSERT_EQ(Hr(S_OK), Hr(CoGetClassObject(CLSID_FixtureMeter, CLSCTX_ALL, nullptr, IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory))));
  factory->LockServer(TRUE);
  factory = nullptr;
  CoFreeUnusedLibraries();
  EXPECT_TRUE(IsLoaded(L"ComServerFixture.dll"));
  ASSERT_EQ(Hr(S_OK), Hr(CoGetClassObject(CLSID_FixtureMeter, CLSCTX_ALL, nullptr, IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory))));
  factory->LockServer(FALSE);
  factory = nullptr;
  CoFreeUnusedLibraries();
  EXPECT_FALSE(IsLoaded(L"ComServerFixture.dll"));
}

TEST_F(CoClass, TheLastUninitializeFreesTheLoadedServers) {
  RegisterServerPath(CLSID_FixtureMeter, FixturePath("ComServerFixture.dll").c_str());
  IClassFactoryPtr factory;
  ASSERT_EQ(Hr(S_OK), Hr(CoGetClassObject(CLSID_FixtureMeter, CLSCTX_ALL, nullptr, IID_IClassFactory,
                                          reinterpret_cast<void**>(&factory))));
  factory = nullptr;
  EXPECT_TRUE(IsLoaded(L"ComServerFixture.dll")) << "kept loaded until asked or uninitialised";
  CoUninitialize();
  EXPECT_FALSE(IsLoaded(L"ComServerFixture.dll"));
  ASSERT_EQ(Hr(S_OK), Hr(CoInitialize(nullptr)));  // for TearDown
}

TEST_F(CoClass, TheServerDecidesWhichClassesItServes) {
  RegisterServerPath(kUnknownClass, FixturePath("ComServerFixture.dll").c_str());
  RegisterServerPath(CLSID_FixtureMeter, FixturePath("ComServerNoClassObject.dll").c_str());
  void* object = &factory;
  EXPECT_EQ(Hr(CLASS_E_CLASSNOTAVAILABLE),
            Hr(CoGetClassObject(kUnknownClass, CLSCTX_ALL, nullptr, IID_IClassFactory, &object)));
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(Hr(CO_E_ERRORINDLL),
            Hr(CoGetClassObject(CLSID_FixtureMeter, CLSCTX_ALL, nullptr, IID_IClassFactory, &object)));
  EXPECT_EQ(object, nullptr);
}

TEST(OleRun, AcceptsEveryInProcessObject) {
  CountingObject<> object;
  EXPECT_EQ(Hr(S_OK), Hr(OleRun(&object)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(OleRun(nullptr)));
  EXPECT_EQ(object.refs, 1);
}

// ---------------------------------------------------------------------------------------------
// GUID texts

TEST(GuidText, ReadsBracedHexadecimalInAnyCase) {
  const CLSID expected = platform::GuidFromText("{AFFF48E2-FB16-4A9D-8C3B-0123456789AB}");
  for (const wchar_t* text :
       {L"{AFFF48E2-FB16-4A9D-8C3B-0123456789AB}", L"{afff48e2-fb16-4a9d-8c3b-0123456789ab}",
        L"{AfFf48e2-Fb16-4A9d-8C3b-0123456789aB}"}) {
    SCOPED_TRACE(Narrow(text));
    CLSID clsid{};
    EXPECT_EQ(Hr(NOERROR), Hr(CLSIDFromString(text, &clsid)));
    EXPECT_EQ(clsid, expected);
    IID iid{};
    EXPECT_EQ(Hr(NOERROR), Hr(IIDFromString(text, &iid)));
    EXPECT_EQ(iid, expected);
  }
}

// A malformed text is refused; the output is cleared first and then holds the fields read
// before the fault. IIDFromString tells a text of the wrong length (E_INVALIDARG) from one of
// the right length that is no GUID (CO_E_IIDSTRING).
TEST(GuidText, RefusesEveryOtherTextAndKeepsTheFieldsReadBeforeTheFault) {
  const GUID whole = platform::GuidFromText("{AFFF48E2-FB16-4A9D-8C3B-0123456789AB}");
  const GUID data1 = platform::GuidFromText("{AFFF48E2-0000-0000-0000-000000000000}");
  const GUID allButLastByte = platform::GuidFromText("{AFFF48E2-FB16-4A9D-8C3B-012345678900}");
  const struct {
    const wchar_t* name;
    const wchar_t* text;
    GUID clsid;
    HRESULT iidResult;
    GUID iid;
  } cases[] = {
      {L"no braces", L"AFFF48E2-FB16-4A9D-8C3B-0123456789AB", CLSID_NULL, E_INVALIDARG, CLSID_NULL},
      {L"no closing brace", L"{AFFF48E2-FB16-4A9D-8C3B-0123456789AB", whole, E_INVALIDARG, CLSID_NULL},
      {L"trailing text", L"{AFFF48E2-FB16-4A9D-8C3B-0123456789AB}x", whole, E_INVALIDARG, CLSID_NULL},
      {L"hyphen misplaced", L"{AFFF48E2FB16-4A9D-8C3B-0123456789AB0}", data1, CO_E_IIDSTRING, data1},
      {L"not hexadecimal", L"{AFFF48E2-FB16-4A9D-8C3B-0123456789AG}", allButLastByte, CO_E_IIDSTRING,
       allButLastByte},
      {L"a digit short", L"{AFFF48E2-FB16-4A9D-8C3B-0123456789A}", allButLastByte, E_INVALIDARG, CLSID_NULL},
      {L"blank", L"{ AFFF48E2-FB16-4A9D-8C3B-0123456789A}", CLSID_NULL, CO_E_IIDSTRING, CLSID_NULL},
      {L"empty", L"", CLSID_NULL, E_INVALIDARG, CLSID_NULL},
      {L"a program id", L"Corvane.View", CLSID_NULL, E_INVALIDARG, CLSID_NULL},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(Narrow(c.name));
    CLSID clsid = kHostClass;
    EXPECT_EQ(Hr(CO_E_CLASSSTRING), Hr(CLSIDFromString(c.text, &clsid)));
    EXPECT_EQ(clsid, c.clsid);
    IID iid = kHostClass;
    EXPECT_EQ(Hr(c.iidResult), Hr(IIDFromString(c.text, &iid)));
    EXPECT_EQ(iid, c.iid);
  }
  CLSID clsid = kHostClass;
  EXPECT_EQ(Hr(NOERROR), Hr(CLSIDFromString(nullptr, &clsid)));
  EXPECT_EQ(clsid, CLSID_NULL);
}

TEST(GuidText, WritesUpperCaseBracedTextWhenTheBufferHoldsIt) {
  const CLSID clsid = platform::GuidFromText("{afff48e2-fb16-4a9d-8c3b-0123456789ab}");
  wchar_t buffer[39];
  EXPECT_EQ(StringFromGUID2(clsid, buffer, 38), 0) << "no room for the terminator";
  EXPECT_EQ(StringFromGUID2(clsid, buffer, 39), 39);
  EXPECT_STREQ(buffer, L"{AFFF48E2-FB16-4A9D-8C3B-0123456789AB}");

  LPOLESTR text = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(StringFromCLSID(clsid, &text)));
  EXPECT_STREQ(text, L"{AFFF48E2-FB16-4A9D-8C3B-0123456789AB}");
  CLSID back{};
  EXPECT_EQ(Hr(NOERROR), Hr(CLSIDFromString(text, &back)));
  EXPECT_EQ(back, clsid);
  CoTaskMemFree(text);
}

}  // namespace
