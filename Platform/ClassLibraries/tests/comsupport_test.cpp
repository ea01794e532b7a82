#include "comdef.h"

#include <gtest/gtest.h>

#include <string>

#include "fixtures/com/com_test_support.h"
#include "wil/resource.h"

using testing_com::CountingObject;
using testing_com::Hr;
using testing_com::Narrow;

interface IFlow : public IUnknown {
  STDMETHOD(GetRate)(LONG* rate) = 0;
};
DECLARE_UUIDOF(IFlow, "0D6B4E31-2C5A-4F67-9E1B-3A7C5D8E9F01");
_COM_SMARTPTR_TYPEDEF(IFlow, __uuidof(IFlow));

interface IDensity : public IUnknown {
  STDMETHOD(GetDensity)(LONG* density) = 0;
};
DECLARE_UUIDOF(IDensity, "0D6B4E32-2C5A-4F67-9E1B-3A7C5D8E9F01");
_COM_SMARTPTR_TYPEDEF(IDensity, __uuidof(IDensity));

namespace {

// A meter with both interfaces, counting its references.
struct Meter : CountingObject<IFlow, IDensity> {
  STDMETHODIMP GetRate(LONG* rate) override { return *rate = 12, S_OK; }
  STDMETHODIMP GetDensity(LONG* density) override { return *density = 998, S_OK; }
};

// A meter with the flow interface only.
struct FlowOnly : CountingObject<IFlow> {
  STDMETHODIMP GetRate(LONG* rate) override { return *rate = 7, S_OK; }
};

// Runs body and returns the HRESULT of the _com_error it throws (S_OK when it throws none).
template <class Body>
HRESULT ThrownError(Body body) {
  try {
    body();
  } catch (const _com_error& error) {
    return error.Error();
  }
  return S_OK;
}

// ---------------------------------------------------------------------------------------------
// _bstr_t

TEST(BstrT, DefaultHoldsNoStringAndEqualsEmpty) {
  _bstr_t none;
  EXPECT_EQ(static_cast<const wchar_t*>(none), nullptr);
  EXPECT_EQ(none.length(), 0u);
  EXPECT_TRUE(!none);
  EXPECT_TRUE(none == _bstr_t(L""));
  EXPECT_NE(static_cast<const wchar_t*>(_bstr_t(L"")), nullptr) << "an empty text is a string";
}

TEST(BstrT, ConstructsFromWideAndUtf8Text) {
  _bstr_t wide(L"Durchfluss");
  _bstr_t narrow("Dichte \xC3\xBC");  // UTF-8 u-umlaut
  EXPECT_STREQ(static_cast<const wchar_t*>(wide), L"Durchfluss");
  EXPECT_EQ(wide.length(), 10u);
  EXPECT_STREQ(static_cast<const wchar_t*>(narrow), L"Dichte \u00FC");
  EXPECT_STREQ(static_cast<const char*>(narrow), "Dichte \xC3\xBC");
}

TEST(BstrT, CopiesShareOneString) {
  _bstr_t first(L"shared");
  _bstr_t second = first;
  EXPECT_EQ(static_cast<const wchar_t*>(first), static_cast<const wchar_t*>(second));
  second = L"changed";
  EXPECT_STREQ(static_cast<const wchar_t*>(first), L"shared");
}

TEST(BstrT, AttachingConstructorOwnsTheBstr) {
  BSTR raw = SysAllocString(L"owned");
  {
    _bstr_t owner(raw, false);
    EXPECT_EQ(static_cast<wchar_t*>(owner), raw) << "no copy";
  }  // freed here: the leak checker and the sanitizer check that it is freed once
  BSTR other = SysAllocString(L"copied");
  _bstr_t copy(other, true);
  EXPECT_NE(static_cast<wchar_t*>(copy), other);
  SysFreeString(other);
}

TEST(BstrT, AttachDetachAndGetAddressHandOwnershipOver) {
  _bstr_t text(L"old");
  text.Attach(SysAllocString(L"attached"));
  EXPECT_STREQ(static_cast<const wchar_t*>(text), L"attached");
  BSTR detached = text.Detach();
  EXPECT_STREQ(detached, L"attached");
  EXPECT_EQ(static_cast<const wchar_t*>(text), nullptr);
  SysFreeString(detached);

  _bstr_t shared(L"one string");
  _bstr_t other = shared;
  BSTR mine = shared.Detach();
  EXPECT_STREQ(static_cast<const wchar_t*>(other), L"one string") << "the other copy keeps its string";
  EXPECT_NE(mine, static_cast<wchar_t*>(other));
  SysFreeString(mine);

  _bstr_t out(L"replaced");
  BSTR* slot = out.GetAddress();  // frees "replaced" first
  EXPECT_EQ(*slot, nullptr);
  *slot = SysAllocString(L"from callee");
  EXPECT_STREQ(static_cast<const wchar_t*>(out), L"from callee");

  BSTR copied = out.copy();
  EXPECT_NE(copied, static_cast<wchar_t*>(out));
  SysFreeString(copied);
}

TEST(BstrT, ComparesAndConcatenates) {
  _bstr_t a(L"abc");
  EXPECT_TRUE(a == L"abc");
  EXPECT_TRUE(a == "abc");
  EXPECT_TRUE(a < _bstr_t(L"abd"));
  EXPECT_TRUE(a > _bstr_t(L"ab"));
  EXPECT_TRUE(_bstr_t(BSTR(nullptr), false) == _bstr_t(L""));
  EXPECT_STREQ(static_cast<const wchar_t*>(a + L"-" + _bstr_t("def")), L"abc-def");
  EXPECT_STREQ(static_cast<const wchar_t*>(L">" + a), L">abc");
  a += L"!";
  EXPECT_STREQ(static_cast<const wchar_t*>(a), L"abc!");
  _bstr_t nul(SysAllocStringLen(L"a\0b", 3), false);
  EXPECT_EQ((nul + nul).length(), 6u) << "embedded NULs count";
}

// ---------------------------------------------------------------------------------------------
// _variant_t

TEST(VariantT, ConstructorsSetTheTypeOfTheCppValue) {
  struct Case {
    const char* name;
    _variant_t value;
    VARTYPE vt;
  };
  const Case cases[] = {
      {"bool", _variant_t(true), VT_BOOL},
      {"short", _variant_t(short{3}), VT_I2},
      {"LONG", _variant_t(LONG{3}), VT_I4},
      {"int", _variant_t(3), VT_I4},
      {"long long", _variant_t(3LL), VT_I8},
      {"ULONG", _variant_t(3u), VT_UI4},
      {"BYTE", _variant_t(BYTE{3}), VT_UI1},
      {"float", _variant_t(1.5f), VT_R4},
      {"double", _variant_t(1.5), VT_R8},
      {"wide text", _variant_t(L"x"), VT_BSTR},
      {"_bstr_t", _variant_t(_bstr_t(L"x")), VT_BSTR},
      {"short as bool", _variant_t(short{1}, VT_BOOL), VT_BOOL},
      {"LONG as error", _variant_t(LONG{5}, VT_ERROR), VT_ERROR},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.value.vt, c.vt);
  }
  EXPECT_EQ(_variant_t(true).boolVal, VARIANT_TRUE);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(ThrownError([] { _variant_t(short{1}, VT_BSTR); })));
}

TEST(VariantT, ExtractionConvertsAndRaisesOnFailure) {
  EXPECT_EQ(static_cast<LONG>(_variant_t(L"05")), 5);
  EXPECT_EQ(static_cast<double>(_variant_t(L" 2.5 ")), 2.5);
  EXPECT_EQ(static_cast<short>(_variant_t(2.5)), 2) << "rounds half to even";
  EXPECT_TRUE(static_cast<bool>(_variant_t(L"True")));
  EXPECT_STREQ(static_cast<const wchar_t*>(static_cast<_bstr_t>(_variant_t(1.5f))), L"1.5");
  _bstr_t text = _variant_t(42);
  EXPECT_STREQ(static_cast<const wchar_t*>(text), L"42");

  EXPECT_EQ(Hr(DISP_E_TYPEMISMATCH),
            Hr(ThrownError([] { static_cast<void>(static_cast<LONG>(_variant_t(L"abc"))); })));
  EXPECT_EQ(Hr(DISP_E_OVERFLOW),
            Hr(ThrownError([] { static_cast<void>(static_cast<BYTE>(_variant_t(300))); })));
}

TEST(VariantT, ChangeTypeRaisesAndLeavesTheValueOnFailure) {
  _variant_t value(L"abc");
  EXPECT_EQ(Hr(DISP_E_TYPEMISMATCH), Hr(ThrownError([&] { value.ChangeType(VT_I4); })));
  EXPECT_EQ(value.vt, VT_BSTR);
  EXPECT_STREQ(value.bstrVal, L"abc");
  value = L"17";
  value.ChangeType(VT_I4);
  EXPECT_EQ(value.vt, VT_I4);
  EXPECT_EQ(value.lVal, 17);
  _variant_t copy;
  copy.ChangeType(VT_BSTR, &value);
  EXPECT_STREQ(copy.bstrVal, L"17");
}

TEST(VariantT, InterfacesBalanceTheirReferences) {
  FlowOnly object;
  {
    _variant_t held(static_cast<IUnknown*>(static_cast<IFlow*>(&object)));
    EXPECT_EQ(object.refs, 2);
    _variant_t copy = held;
    EXPECT_EQ(object.refs, 3);
    IUnknown* extracted = held;  // AddRef'd for the caller
    EXPECT_EQ(object.refs, 4);
    extracted->Release();
    IFlowPtr flow = held;
    EXPECT_EQ(object.refs, 4);
    LONG rate = 0;
    flow->GetRate(&rate);
    EXPECT_EQ(rate, 7);
  }
  EXPECT_EQ(object.refs, 1);
}

TEST(VariantT, AttachAndDetachMoveTheValue) {
  VARIANT raw;
  raw.vt = VT_BSTR;
  raw.bstrVal = SysAllocString(L"moved");
  _variant_t holder(L"old");
  holder.Attach(raw);
  EXPECT_EQ(raw.vt, VT_EMPTY);
  EXPECT_STREQ(holder.bstrVal, L"moved");
  VARIANT back = holder.Detach();
  EXPECT_EQ(holder.vt, VT_EMPTY);
  EXPECT_STREQ(back.bstrVal, L"moved");
  VariantClear(&back);
}

// ---------------------------------------------------------------------------------------------
// _com_error

TEST(ComError, TakesTheErrorObjectOver) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CreateErrorInfo(&create)));
  create->SetDescription(const_cast<LPOLESTR>(L"Value out of range"));
  create->SetSource(const_cast<LPOLESTR>(L"CorvaneTags"));
  IErrorInfo* info = nullptr;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
  create->Release();

  _com_error error(E_INVALIDARG, info);  // takes the reference over
  _com_error copy = error;
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(copy.Error()));
  EXPECT_STREQ(static_cast<const wchar_t*>(copy.Description()), L"Value out of range");
  EXPECT_STREQ(static_cast<const wchar_t*>(error.Source()), L"CorvaneTags");
  IErrorInfo* shared = error.ErrorInfo();
  EXPECT_EQ(shared, info);
  shared->Release();

  _com_error plain(E_FAIL);
  EXPECT_EQ(plain.ErrorInfo(), nullptr);
  EXPECT_EQ(static_cast<const wchar_t*>(plain.Description()), nullptr);
}

TEST(ComError, ErrorMessageFallsBackToTheCode) {
  EXPECT_STREQ(_com_error(static_cast<HRESULT>(0xA0001234)).ErrorMessage(), L"Unknown error 0xA0001234");
  EXPECT_STREQ(_com_error(_com_error::WCodeToHRESULT(5)).ErrorMessage(), L"IDispatch error #5");
  EXPECT_EQ(_com_error(static_cast<HRESULT>(0x80040205)).WCode(), 5);
  const _com_error notFound(HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
  const wchar_t* message = notFound.ErrorMessage();
  EXPECT_STREQ(message, L"The system cannot find the file specified.")
      << "the system's text without its line break";
}

TEST(ComError, IssueErrorExTakesTheThreadErrorObjectWhenTheObjectSupportsIt) {
  struct Supporting : CountingObject<ISupportErrorInfo> {
    STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override {
      return riid == __uuidof(IFlow) ? S_OK : S_FALSE;
    }
  } object;
  ICreateErrorInfo* create = nullptr;
  CreateErrorInfo(&create);
  create->SetDescription(const_cast<LPOLESTR>(L"from the thread"));
  IErrorInfo* info = nullptr;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
  create->Release();

  SetErrorInfo(0, info);
  try {
    _com_issue_errorex(E_FAIL, &object, __uuidof(IDensity));
  } catch (const _com_error& error) {
    EXPECT_EQ(error.ErrorInfo(), nullptr) << "not supported for that interface";
  }
  try {
    _com_issue_errorex(E_FAIL, &object, __uuidof(IFlow));
  } catch (const _com_error& error) {
    EXPECT_STREQ(static_cast<const wchar_t*>(error.Description()), L"from the thread");
  }
  IErrorInfo* left = nullptr;
  EXPECT_EQ(Hr(S_FALSE), Hr(GetErrorInfo(0, &left))) << "taken from the slot";
  info->Release();
  EXPECT_EQ(object.refs, 1);
}

// ---------------------------------------------------------------------------------------------
// _com_ptr_t

TEST(ComPtr, QueriesForItsInterfaceAndBalancesReferences) {
  Meter meter;
  {
    IFlowPtr flow(static_cast<IFlow*>(&meter));
    EXPECT_EQ(meter.refs, 2);
    IDensityPtr density = flow;  // QueryInterface
    ASSERT_TRUE(density);
    EXPECT_EQ(meter.refs, 3);
    LONG value = 0;
    density->GetDensity(&value);
    EXPECT_EQ(value, 998);
    EXPECT_TRUE(flow == density) << "one object";
    IUnknownPtr unknown = density;
    EXPECT_TRUE(unknown == flow);
    IFlowPtr copy = flow;
    IFlowPtr moved = std::move(copy);
    EXPECT_FALSE(copy);
    EXPECT_EQ(meter.refs, 5);
  }
  EXPECT_EQ(meter.refs, 1);
}

TEST(ComPtr, IsNullWhenTheObjectLacksTheInterface) {
  FlowOnly object;
  IFlowPtr flow(static_cast<IFlow*>(&object));
  IDensityPtr density = flow;
  EXPECT_FALSE(density);
  EXPECT_TRUE(density == nullptr);
  EXPECT_EQ(Hr(E_POINTER), Hr(ThrownError([&] {
              LONG value = 0;
              density->GetDensity(&value);
            })));
  flow = nullptr;
  EXPECT_EQ(object.refs, 1);
}

TEST(ComPtr, AddressOfReleasesFirstAndAttachDetachTransferOwnership) {
  FlowOnly first, second;
  IFlowPtr flow(static_cast<IFlow*>(&first));
  IFlow** slot = &flow;  // releases first
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(*slot, nullptr);
  second.AddRef();  // the reference a callee hands out
  *slot = &second;
  EXPECT_EQ(flow.GetInterfacePtr(), &second);

  IFlow* detached = flow.Detach();
  EXPECT_EQ(flow.GetInterfacePtr(), nullptr);
  EXPECT_EQ(second.refs, 2);
  flow.Attach(detached);  // takes it back without AddRef
  EXPECT_EQ(second.refs, 2);
  flow.Attach(static_cast<IFlow*>(&first), true);
  EXPECT_EQ(second.refs, 1);
  EXPECT_EQ(first.refs, 2);
  flow = nullptr;
  EXPECT_EQ(first.refs, 1);
}

// ---------------------------------------------------------------------------------------------
// wil owners

TEST(WilOwners, PutReleasesFirstAndReleaseHandsOver) {
  wil::unique_bstr text(SysAllocString(L"first"));
  BSTR* slot = text.put();  // frees "first"
  EXPECT_EQ(*slot, nullptr);
  *slot = SysAllocString(L"second");
  EXPECT_STREQ(text.get(), L"second");
  BSTR mine = text.release();
  EXPECT_FALSE(text);
  SysFreeString(mine);

  wil::unique_variant value;
  value.get().vt = VT_BSTR;
  value.get().bstrVal = SysAllocString(L"cleared with the owner");
  VARIANT* out = value.put();  // VariantClear first
  EXPECT_EQ(out->vt, VT_EMPTY);
  out->vt = VT_UNKNOWN;
  FlowOnly object;
  object.AddRef();
  out->punkVal = static_cast<IFlow*>(&object);
  value.reset();
  EXPECT_EQ(object.refs, 1);

  wil::unique_cotaskmem_string guidText;
  ASSERT_EQ(Hr(S_OK), Hr(StringFromCLSID(__uuidof(IFlow), guidText.put())));
  EXPECT_STREQ(guidText.get(), L"{0D6B4E31-2C5A-4F67-9E1B-3A7C5D8E9F01}");

  wil::unique_safearray array(SafeArrayCreateVector(VT_BSTR, 0, 1));
  LONG index = 0;
  wil::unique_bstr element(SysAllocString(L"x"));
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(array.get(), &index, element.get())));  // the array's own copy
  wil::unique_safearray moved = std::move(array);
  EXPECT_FALSE(array);
  EXPECT_TRUE(moved);
}

}  // namespace
