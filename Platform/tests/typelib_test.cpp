// Type libraries: the description format, loading, registration, and late-bound calls
// through ITypeInfo::Invoke into a dual interface.
#include <windows.h>
#include <platform/testing_text.h>
#include <platform/testing_hresult.h>

#include <platform/paths.h>
#include <platform/testing_registry.h>
#include <platform/typelib_format.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

using platform::test_support::Hex;

using platform::test_support::Narrow;

constexpr char kCalcLibrary[] =
    "# a test library\n"
    "library CalcLib {11112222-3333-4444-5555-666677778888} 1.2 \"Calc 1.2 Type Library\"\n"
    "importlib \"stdole2.tlb\"\n"
    "coclass Calc {11112222-3333-4444-5555-666677778889} \"Calc Class\"\n"
    "implements ICalc default\n"
    "interface ICalc {11112222-3333-4444-5555-66667777888A} dual \"ICalc Interface\"\n"
    "method 1 Add in:long in:long retval:long\n"
    "method 2 Concat in:bstr in:bstr out:bstr\n"
    "method 3 Fail\n"
    "method 7 Flag in:bool retval:bool\n";
constexpr GUID kCalcLibId = platform::GuidFromText("11112222-3333-4444-5555-666677778888");

interface ICalc : public IDispatch {
  STDMETHOD(Add)(LONG a, LONG b, LONG* sum) = 0;
  STDMETHOD(Concat)(BSTR a, BSTR b, BSTR* joined) = 0;
  STDMETHOD(Fail)() = 0;
  STDMETHOD(Flag)(VARIANT_BOOL in, VARIANT_BOOL* out) = 0;
};
constexpr IID IID_ICalc = platform::GuidFromText("11112222-3333-4444-5555-66667777888A");

// A plain object whose IDispatch is its type information's.
class Calc final : public ICalc {
 public:
  explicit Calc(ITypeInfo* info) : m_info(info) {}
  STDMETHODIMP QueryInterface(REFIID, void**) override { return E_NOTIMPL; }
  STDMETHODIMP_(ULONG) AddRef() override { return 2; }
  STDMETHODIMP_(ULONG) Release() override { return 1; }
  STDMETHODIMP GetTypeInfoCount(UINT*) override { return E_NOTIMPL; }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR* names, UINT count, LCID, DISPID* ids) override {
    return m_info->GetIDsOfNames(names, count, ids);
  }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO* exception, UINT* argErr) override {
    return m_info->Invoke(static_cast<ICalc*>(this), id, flags, params, result, exception, argErr);
  }
  STDMETHODIMP Add(LONG a, LONG b, LONG* sum) override {
    *sum = a + b;
    return S_OK;
  }
  STDMETHODIMP Concat(BSTR a, BSTR b, BSTR* joined) override {
    *joined = SysAllocString((std::wstring(a ? a : L"") + (b ? b : L"")).c_str());
    return S_OK;
  }
  STDMETHODIMP Fail() override {
    ICreateErrorInfo* create = nullptr;
    CreateErrorInfo(&create);
    create->SetDescription(const_cast<LPOLESTR>(L"it failed"));
    IErrorInfo* info = nullptr;
    create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
    SetErrorInfo(0, info);
    info->Release();
    create->Release();
    return E_ACCESSDENIED;
  }
  STDMETHODIMP Flag(VARIANT_BOOL in, VARIANT_BOOL* out) override {
    *out = in ? VARIANT_FALSE : VARIANT_TRUE;
    return S_OK;
  }

 private:
  ITypeInfo* m_info;
};

class TypeLib : public ::testing::Test {
 protected:
  void SetUp() override {
    platform::registry::Reset();
    m_dir = std::filesystem::temp_directory_path() / ("typelib_test." + std::to_string(::getpid()));
    std::filesystem::create_directories(m_dir);
    Write("calc.tld", kCalcLibrary);
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::wstring Write(const char* name, const std::string& text) {
    std::ofstream(m_dir / name, std::ios::binary) << text;
    return platform::PlatformPathFromHost((m_dir / name).string());
  }
  std::wstring PathOf(const char* name) const {
    return platform::PlatformPathFromHost((m_dir / name).string());
  }

  std::filesystem::path m_dir;
};

TEST_F(TypeLib, DescriptionsThatBreakTheFormatAreRefusedWithTheirLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"interface I {11112222-3333-4444-5555-666677778888} \"\"\n",
       "line 1: the description starts with 'library'"},
      {"library L {1111-2222} 1.0 \"x\"\n", "line 1: expected: library NAME {LIBID} MAJOR.MINOR \"help\""},
      {"library L {11112222-3333-4444-5555-666677778888} 1.0 \"x\"\nmethod 1 M\n",
       "line 2: 'method' outside an interface"},
      {"library L {11112222-3333-4444-5555-666677778888} 1.0 \"x\"\ninterface I "
       "{11112222-3333-4444-5555-666677778888} dual \"\"\nmethod 1 M retval:long in:long\n",
       "line 3: a retval parameter comes last"},
      {"library L {11112222-3333-4444-5555-666677778888} 1.0 \"x\"\ninterface I "
       "{11112222-3333-4444-5555-666677778888} \"\"\nmethod 1 M in:variant\n",
       "line 3: bad parameter 'in:variant'"},
      {"library L {11112222-3333-4444-5555-666677778888} 1.0 \"x\"\ninterface I "
       "{11112222-3333-4444-5555-666677778888} \"\"\nmethod 1 M\nmethod 1 N\n",
       "line 4: method declared twice"},
      {"library L {11112222-3333-4444-5555-666677778888} 1.0 \"open\n", "line 1: unterminated text"},
      {"", "no 'library' statement"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    std::string error;
    EXPECT_FALSE(platform::typelib::ParseDescription(c.text, &error).has_value());
    EXPECT_NE(std::string::npos, error.find(c.error)) << error;
  }
}

TEST_F(TypeLib, TheCanonicalTextReadsBackUnchanged) {
  std::string error;
  const auto library = platform::typelib::ParseDescription(kCalcLibrary, &error);
  ASSERT_TRUE(library.has_value()) << error;
  const std::string text = platform::typelib::WriteDescription(*library);
  const auto again = platform::typelib::ParseDescription(text, &error);
  ASSERT_TRUE(again.has_value()) << error;
  EXPECT_EQ(text, platform::typelib::WriteDescription(*again));
  EXPECT_EQ(4u, again->types[1].methods.size());
}

TEST_F(TypeLib, LoadTypeLibReadsAFileAndRefusesWhatIsMissingOrMalformed) {
  ITypeLib* lib = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(LoadTypeLib(PathOf("calc.tld").c_str(), &lib)));
  EXPECT_EQ(2u, lib->GetTypeInfoCount());
  TLIBATTR* attr = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(lib->GetLibAttr(&attr)));
  EXPECT_TRUE(attr->guid == kCalcLibId);
  EXPECT_EQ(1, attr->wMajorVerNum);
  EXPECT_EQ(2, attr->wMinorVerNum);
  lib->ReleaseTLibAttr(attr);
  ITypeInfo* info = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(lib->GetTypeInfoOfGuid(IID_ICalc, &info)));
  TYPEATTR* typeAttr = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(info->GetTypeAttr(&typeAttr)));
  EXPECT_EQ(TKIND_DISPATCH, typeAttr->typekind);
  EXPECT_EQ(4, typeAttr->cFuncs);
  EXPECT_TRUE(typeAttr->wTypeFlags & TYPEFLAG_FDUAL);
  info->ReleaseTypeAttr(typeAttr);
  info->Release();
  EXPECT_EQ(Hex(TYPE_E_ELEMENTNOTFOUND), Hex(lib->GetTypeInfoOfGuid(IID_IDispatch, &info)));
  lib->Release();

  Write("bad.tld", "library nonsense\n");
  EXPECT_EQ(Hex(TYPE_E_CANTLOADLIBRARY), Hex(LoadTypeLib(PathOf("bad.tld").c_str(), &lib)));
  EXPECT_EQ(Hex(TYPE_E_CANTLOADLIBRARY), Hex(LoadTypeLib(PathOf("none.tld").c_str(), &lib)));
  EXPECT_EQ(nullptr, lib);
}

TEST_F(TypeLib, RegistrationWritesTheLibraryAndInterfaceKeysAndUnregistrationRemovesThem) {
  ITypeLib* lib = nullptr;
  ASSERT_EQ(Hex(S_OK), Hex(LoadTypeLib(PathOf("calc.tld").c_str(), &lib)));
  ASSERT_EQ(Hex(S_OK), Hex(RegisterTypeLib(lib, PathOf("calc.tld").c_str(), nullptr)));
  lib->Release();
  std::wstring folder = PathOf("calc.tld");
  folder = folder.substr(0, folder.rfind(L'\\'));
  std::string escapedFolder;
  for (char c : Narrow(folder)) escapedFolder += c == '\\' ? std::string("\\\\") : std::string(1, c);
  EXPECT_EQ(
      "HKEY_CLASSES_ROOT\n"
      "  Interface\n"
      "    {11112222-3333-4444-5555-66667777888A}\n"
      "      @ = REG_SZ \"ICalc\\0\"\n"
      "      ProxyStubClsid32\n"
      "        @ = REG_SZ \"{00020424-0000-0000-C000-000000000046}\\0\"\n"
      "      TypeLib\n"
      "        @ = REG_SZ \"{11112222-3333-4444-5555-666677778888}\\0\"\n"
      "        Version = REG_SZ \"1.2\\0\"\n"
      "  TypeLib\n"
      "    {11112222-3333-4444-5555-666677778888}\n"
      "      1.2\n"
      "        @ = REG_SZ \"Calc 1.2 Type Library\\0\"\n"
      "        0\n"
      "          win32\n"
      "            @ = REG_SZ \"" +
          escapedFolder +
          "\\\\calc.tld\\0\"\n"
          "        FLAGS\n"
          "          @ = REG_SZ \"0\\0\"\n"
          "        HELPDIR\n"
          "          @ = REG_SZ \"" +
          escapedFolder +
          "\\0\"\n"
          "HKEY_CURRENT_USER\n"
          "HKEY_LOCAL_MACHINE\n",
      Narrow(platform::registry::Dump()));

  // An older minor version asked for finds the registered one; a newer one does not.
  const struct {
    WORD minor;
    HRESULT expected;
  } versions[] = {{2, S_OK}, {0, S_OK}, {3, TYPE_E_LIBNOTREGISTERED}};
  for (const auto& v : versions) {
    SCOPED_TRACE(v.minor);
    EXPECT_EQ(Hex(v.expected), Hex(LoadRegTypeLib(kCalcLibId, 1, v.minor, 0, &lib)));
    if (lib) lib->Release();
    lib = nullptr;
  }

  ASSERT_EQ(Hex(S_OK), Hex(UnRegisterTypeLib(kCalcLibId, 1, 2, 0, SYS_WIN32)));
  EXPECT_EQ("HKEY_CLASSES_ROOT\n  Interface\n  TypeLib\nHKEY_CURRENT_USER\nHKEY_LOCAL_MACHINE\n",
            Narrow(platform::registry::Dump()));
  EXPECT_EQ(Hex(static_cast<HRESULT>(0x8002801C)), Hex(UnRegisterTypeLib(kCalcLibId, 1, 2, 0, SYS_WIN32)));
}

class Invoke : public TypeLib {
 protected:
  void SetUp() override {
    TypeLib::SetUp();
    ITypeLib* lib = nullptr;
    ASSERT_EQ(Hex(S_OK), Hex(LoadTypeLib(PathOf("calc.tld").c_str(), &lib)));
    ASSERT_EQ(Hex(S_OK), Hex(lib->GetTypeInfoOfGuid(IID_ICalc, &m_info)));
    lib->Release();
  }
  void TearDown() override {
    if (m_info) m_info->Release();
    TypeLib::TearDown();
  }
  ITypeInfo* m_info = nullptr;
};

TEST_F(Invoke, ArgumentsArriveInReverseConvertedToTheParameterTypes) {
  Calc calc(m_info);
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  V_VT(&args[1]) = VT_BSTR;  // the first argument
  V_BSTR(&args[1]) = SysAllocString(L"40");
  V_VT(&args[0]) = VT_I2;
  V_I2(&args[0]) = 2;
  DISPPARAMS params = {args, nullptr, 2, 0};
  VARIANT result;
  VariantInit(&result);
  ASSERT_EQ(Hex(S_OK),
            Hex(calc.Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, &params, &result, nullptr, nullptr)));
  EXPECT_EQ(VT_I4, V_VT(&result));
  EXPECT_EQ(42, V_I4(&result));
  VariantClear(&args[1]);

  BSTR joined = nullptr;
  V_VT(&args[1]) = VT_BSTR;
  V_BSTR(&args[1]) = SysAllocString(L"ab");
  V_VT(&args[0]) = VT_BYREF | VT_BSTR;
  V_BSTRREF(&args[0]) = &joined;
  VARIANT second;
  VariantInit(&second);
  V_VT(&second) = VT_I4;
  V_I4(&second) = 7;
  VARIANT three[3] = {args[0], second, args[1]};
  DISPPARAMS concat = {three, nullptr, 3, 0};
  ASSERT_EQ(Hex(S_OK),
            Hex(calc.Invoke(2, GUID_NULL, 0, DISPATCH_METHOD, &concat, nullptr, nullptr, nullptr)));
  EXPECT_EQ("ab7", Narrow(joined ? joined : L""));
  SysFreeString(joined);
  VariantClear(&args[1]);

  VARIANT flag;
  VariantInit(&flag);
  V_VT(&flag) = VT_BOOL;
  V_BOOL(&flag) = VARIANT_TRUE;
  DISPPARAMS one = {&flag, nullptr, 1, 0};
  ASSERT_EQ(Hex(S_OK), Hex(calc.Invoke(7, GUID_NULL, 0, DISPATCH_METHOD, &one, &result, nullptr, nullptr)));
  EXPECT_EQ(VT_BOOL, V_VT(&result));
  EXPECT_EQ(VARIANT_FALSE, V_BOOL(&result));
}

TEST_F(Invoke, BadCallsAreRefusedBeforeTheOperationRuns) {
  Calc calc(m_info);
  VARIANT args[2];
  VariantInit(&args[0]);
  VariantInit(&args[1]);
  V_VT(&args[1]) = VT_BSTR;
  V_BSTR(&args[1]) = SysAllocString(L"not a number");
  V_VT(&args[0]) = VT_I4;
  DISPID named = 0;
  const struct {
    const char* name;
    DISPID id;
    WORD flags;
    DISPPARAMS params;
    HRESULT expected;
    UINT argErr;
  } cases[] = {
      {"unknown member", 99, DISPATCH_METHOD, {args, nullptr, 2, 0}, DISP_E_MEMBERNOTFOUND, 0},
      {"property put", 1, DISPATCH_PROPERTYPUT, {args, nullptr, 2, 0}, DISP_E_MEMBERNOTFOUND, 0},
      {"too few", 1, DISPATCH_METHOD, {args, nullptr, 1, 0}, DISP_E_BADPARAMCOUNT, 0},
      {"named", 1, DISPATCH_METHOD, {args, &named, 2, 1}, static_cast<HRESULT>(0x80020007), 0},
      {"not a number", 1, DISPATCH_METHOD, {args, nullptr, 2, 0}, DISP_E_TYPEMISMATCH, 1},
      {"out not by reference", 2, DISPATCH_METHOD, {args, nullptr, 2, 0}, DISP_E_BADPARAMCOUNT, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    DISPPARAMS params = c.params;
    UINT argErr = 77;
    EXPECT_EQ(Hex(c.expected),
              Hex(calc.Invoke(c.id, GUID_NULL, 0, c.flags, &params, nullptr, nullptr, &argErr)));
    if (c.expected == DISP_E_TYPEMISMATCH) {
      EXPECT_EQ(c.argErr, argErr);
    }
  }
  VariantClear(&args[1]);
}

TEST_F(Invoke, AFailingOperationBecomesAnExceptionWithTheErrorObjectsText) {
  Calc calc(m_info);
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXCEPINFO exception = {};
  EXPECT_EQ(Hex(DISP_E_EXCEPTION),
            Hex(calc.Invoke(3, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, &exception, nullptr)));
  EXPECT_EQ(Hex(E_ACCESSDENIED), Hex(exception.scode));
  EXPECT_EQ("it failed", Narrow(exception.bstrDescription ? exception.bstrDescription : L""));
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrHelpFile);
  EXPECT_EQ(Hex(E_ACCESSDENIED),
            Hex(calc.Invoke(3, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr)));
  IErrorInfo* left = nullptr;
  if (GetErrorInfo(0, &left) == S_OK && left) left->Release();
}

TEST_F(Invoke, NamesResolveWithoutRegardToCase) {
  Calc calc(m_info);
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"CONCAT")};
  DISPID id = 0;
  EXPECT_EQ(Hex(S_OK), Hex(calc.GetIDsOfNames(GUID_NULL, names, 1, 0, &id)));
  EXPECT_EQ(2, id);
  LPOLESTR withParameter[] = {const_cast<LPOLESTR>(L"Add"), const_cast<LPOLESTR>(L"a")};
  DISPID ids[2] = {};
  EXPECT_EQ(Hex(DISP_E_UNKNOWNNAME), Hex(calc.GetIDsOfNames(GUID_NULL, withParameter, 2, 0, ids)));
  EXPECT_EQ(1, ids[0]);
  EXPECT_EQ(DISPID_UNKNOWN, ids[1]);
}

}  // namespace
