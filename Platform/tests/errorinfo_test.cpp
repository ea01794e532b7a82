#include "oleauto.h"

#include <gtest/gtest.h>

#include <thread>

#include "fixtures/com/com_test_support.h"

using testing_com::CountingObject;
using testing_com::Hr;

namespace {

// An error object from CreateErrorInfo with the given description, as IErrorInfo.
IErrorInfo* MakeError(const wchar_t* description) {
  ICreateErrorInfo* create = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(CreateErrorInfo(&create)));
  create->SetDescription(const_cast<LPOLESTR>(description));
  IErrorInfo* info = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))));
  create->Release();
  return info;
}

std::wstring Description(IErrorInfo* info) {
  BSTR text = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(info->GetDescription(&text)));
  std::wstring result = text ? text : L"<null>";
  SysFreeString(text);
  return result;
}

TEST(ErrorInfo, KeepsWhatWasSet) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CreateErrorInfo(&create)));
  const GUID guid = platform::GuidFromText("{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
  create->SetGUID(guid);
  create->SetSource(const_cast<LPOLESTR>(L"CorvaneView.Page"));
  create->SetDescription(const_cast<LPOLESTR>(L"The value is out of range."));
  create->SetHelpFile(const_cast<LPOLESTR>(L"Z:\\help\\corvane.chm"));
  create->SetHelpContext(0x20010);
  IErrorInfo* info = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info))));

  GUID gotGuid{};
  EXPECT_EQ(Hr(S_OK), Hr(info->GetGUID(&gotGuid)));
  EXPECT_EQ(gotGuid, guid);
  struct Text {
    HRESULT (STDMETHODCALLTYPE IErrorInfo::*get)(BSTR*);
    const wchar_t* expected;
  };
  for (const Text& t : {Text{&IErrorInfo::GetSource, L"CorvaneView.Page"},
                        Text{&IErrorInfo::GetDescription, L"The value is out of range."},
                        Text{&IErrorInfo::GetHelpFile, L"Z:\\help\\corvane.chm"}}) {
    BSTR text = nullptr;
    EXPECT_EQ(Hr(S_OK), Hr((info->*t.get)(&text)));
    EXPECT_STREQ(text, t.expected);
    SysFreeString(text);
  }
  DWORD context = 0;
  EXPECT_EQ(Hr(S_OK), Hr(info->GetHelpContext(&context)));
  EXPECT_EQ(context, 0x20010u);

  IUnknown* unknown = nullptr;
  EXPECT_EQ(Hr(S_OK), Hr(info->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&unknown))));
  IUnknown* viaCreate = nullptr;
  create->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaCreate));
  EXPECT_EQ(unknown, viaCreate) << "one identity";
  IDispatch* dispatch = reinterpret_cast<IDispatch*>(&context);
  EXPECT_EQ(Hr(E_NOINTERFACE), Hr(info->QueryInterface(IID_IDispatch, reinterpret_cast<void**>(&dispatch))));
  EXPECT_EQ(dispatch, nullptr);
  unknown->Release();
  viaCreate->Release();
  info->Release();
  EXPECT_EQ(create->Release(), 0u);
}

TEST(ErrorInfo, TextsNeverSetComeBackNull) {
  ICreateErrorInfo* create = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(CreateErrorInfo(&create)));
  IErrorInfo* info = nullptr;
  create->QueryInterface(IID_IErrorInfo, reinterpret_cast<void**>(&info));
  BSTR text = SysAllocString(L"stale");
  BSTR stale = text;
  EXPECT_EQ(Hr(S_OK), Hr(info->GetSource(&text)));
  EXPECT_EQ(text, nullptr);
  SysFreeString(stale);
  info->Release();
  create->Release();
}

TEST(ErrorInfo, GetReturnsSFalseWhenTheSlotIsEmpty) {
  SetErrorInfo(0, nullptr);
  IErrorInfo* info = reinterpret_cast<IErrorInfo*>(&info);
  EXPECT_EQ(Hr(S_FALSE), Hr(GetErrorInfo(0, &info)));
  EXPECT_EQ(info, nullptr);
}

TEST(ErrorInfo, GetHandsTheObjectOverAndClearsTheSlot) {
  IErrorInfo* set = MakeError(L"first");
  ASSERT_EQ(Hr(S_OK), Hr(SetErrorInfo(0, set)));
  set->Release();  // the slot keeps its own reference

  IErrorInfo* got = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(GetErrorInfo(0, &got)));
  EXPECT_EQ(got, set);
  EXPECT_EQ(Description(got), L"first");
  EXPECT_EQ(Hr(S_FALSE), Hr(GetErrorInfo(0, &got))) << "cleared by the first Get";
  EXPECT_EQ(got, nullptr);
  EXPECT_EQ(set->Release(), 0u) << "the caller held the last reference";
}

TEST(ErrorInfo, SetReplacesAndReleasesThePreviousObject) {
  struct Counted : CountingObject<IErrorInfo> {
    STDMETHODIMP GetGUID(GUID*) override { return E_NOTIMPL; }
    STDMETHODIMP GetSource(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetDescription(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetHelpFile(BSTR*) override { return E_NOTIMPL; }
    STDMETHODIMP GetHelpContext(DWORD*) override { return E_NOTIMPL; }
  } object;
  ASSERT_EQ(Hr(S_OK), Hr(SetErrorInfo(0, &object)));
  EXPECT_EQ(object.refs, 2);
  IErrorInfo* next = MakeError(L"second");
  ASSERT_EQ(Hr(S_OK), Hr(SetErrorInfo(0, next)));
  next->Release();
  EXPECT_EQ(object.refs, 1);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SetErrorInfo(1, nullptr)));
  ASSERT_EQ(Hr(S_OK), Hr(SetErrorInfo(0, nullptr)));  // releases "second"
  IErrorInfo* got = nullptr;
  EXPECT_EQ(Hr(S_FALSE), Hr(GetErrorInfo(0, &got)));
}

TEST(ErrorInfo, EachThreadHasItsOwnSlot) {
  IErrorInfo* mine = MakeError(L"main thread");
  SetErrorInfo(0, mine);
  HRESULT otherSees = E_FAIL;
  HRESULT otherSet = E_FAIL;
  std::thread other([&] {
    IErrorInfo* got = nullptr;
    otherSees = GetErrorInfo(0, &got);
    IErrorInfo* left = MakeError(L"other thread");
    otherSet = SetErrorInfo(0, left);  // the slot's reference goes when the thread ends
    left->Release();
  });
  other.join();
  EXPECT_EQ(Hr(S_FALSE), Hr(otherSees));
  EXPECT_EQ(Hr(S_OK), Hr(otherSet));
  IErrorInfo* got = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(GetErrorInfo(0, &got)));
  EXPECT_EQ(Description(got), L"main thread");
  got->Release();
  mine->Release();
}

}  // namespace
