#include "oleauto.h"

#include <gtest/gtest.h>

#include "fixtures/com/com_test_support.h"

using testing_com::CountingObject;
using testing_com::Hr;

namespace {

TEST(SafeArray, RemembersItsElementType) {
  struct Case {
    VARTYPE vt;
    USHORT ownership;
    UINT size;
  };
  const Case cases[] = {
      {VT_I4, 0, 4},
      {VT_UI1, 0, 1},
      {VT_R8, 0, 8},
      {VT_BOOL, 0, 2},
      {VT_BSTR, FADF_BSTR, sizeof(BSTR)},
      {VT_VARIANT, FADF_VARIANT, sizeof(VARIANT)},
      {VT_UNKNOWN, FADF_UNKNOWN, sizeof(IUnknown*)},
      {VT_DISPATCH, FADF_DISPATCH, sizeof(IDispatch*)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "vt " << c.vt);
    SAFEARRAY* psa = SafeArrayCreateVector(c.vt, 0, 3);
    ASSERT_NE(psa, nullptr);
    EXPECT_EQ(psa->fFeatures, FADF_HAVEVARTYPE | c.ownership);
    VARTYPE vt = VT_EMPTY;
    EXPECT_EQ(Hr(S_OK), Hr(SafeArrayGetVartype(psa, &vt)));
    EXPECT_EQ(vt, c.vt);
    EXPECT_EQ(SafeArrayGetElemsize(psa), c.size);
    EXPECT_EQ(SafeArrayGetDim(psa), 1u);
    EXPECT_EQ(Hr(S_OK), Hr(SafeArrayDestroy(psa)));
  }
  EXPECT_EQ(SafeArrayCreateVector(VT_EMPTY, 0, 1), nullptr);
  EXPECT_EQ(SafeArrayCreateVector(VT_NULL, 0, 1), nullptr);
}

TEST(SafeArray, AnInterfaceArrayMayRememberItsIid) {
  SAFEARRAYBOUND bound{2, 0};
  IID iid = IID_ISupportErrorInfo;
  SAFEARRAY* psa = SafeArrayCreateEx(VT_UNKNOWN, 1, &bound, &iid);
  ASSERT_NE(psa, nullptr);
  EXPECT_EQ(psa->fFeatures, FADF_HAVEIID | FADF_UNKNOWN);
  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayCopy(psa, &copy)));
  EXPECT_EQ(copy->fFeatures, psa->fFeatures);
  VARTYPE vt = VT_EMPTY;
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayGetVartype(copy, &vt)));
  EXPECT_EQ(vt, VT_UNKNOWN);
  SafeArrayDestroy(copy);
  SafeArrayDestroy(psa);
}

TEST(SafeArray, BoundsFollowTheLowerBoundAndCount) {
  SAFEARRAYBOUND bound{4, -2};
  SAFEARRAY* psa = SafeArrayCreate(VT_I2, 1, &bound);
  ASSERT_NE(psa, nullptr);
  LONG lower = 0, upper = 0;
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayGetLBound(psa, 1, &lower)));
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayGetUBound(psa, 1, &upper)));
  EXPECT_EQ(lower, -2);
  EXPECT_EQ(upper, 1);
  EXPECT_EQ(Hr(DISP_E_BADINDEX), Hr(SafeArrayGetLBound(psa, 2, &lower)));
  EXPECT_EQ(Hr(DISP_E_BADINDEX), Hr(SafeArrayGetUBound(psa, 0, &upper)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayGetLBound(nullptr, 1, &lower)));

  SHORT value = 9;
  for (LONG index : {-3L, 2L}) {
    SCOPED_TRACE(index);
    EXPECT_EQ(Hr(DISP_E_BADINDEX), Hr(SafeArrayPutElement(psa, &index, &value)));
    EXPECT_EQ(Hr(DISP_E_BADINDEX), Hr(SafeArrayGetElement(psa, &index, &value)));
  }
  for (LONG index = -2; index <= 1; ++index) {
    value = static_cast<SHORT>(index * 10);
    EXPECT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, &value)));
  }
  LONG index = -1;
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayGetElement(psa, &index, &value)));
  EXPECT_EQ(value, -10);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayPutElement(psa, &index, nullptr)));
  SafeArrayDestroy(psa);
  EXPECT_EQ(SafeArrayCreate(VT_I4, 2, &bound), nullptr) << "one dimension only";
}

TEST(SafeArray, PutTakesTheBstrItselfAndGetReturnsACopy) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_BSTR, 0, 2);
  BSTR original = SysAllocStringLen(L"x\0y", 3);
  LONG index = 1;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, original)));
  BSTR stored = static_cast<BSTR*>(psa->pvData)[1];
  EXPECT_NE(stored, original) << "the array keeps its own copy";
  EXPECT_EQ(SysStringLen(stored), 3u);
  SysFreeString(original);

  BSTR got = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayGetElement(psa, &index, &got)));
  EXPECT_NE(got, stored);
  EXPECT_EQ(std::wstring(got, SysStringLen(got)), std::wstring(L"x\0y", 3));
  SysFreeString(got);

  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, nullptr)));  // frees the one it replaces
  EXPECT_EQ(static_cast<BSTR*>(psa->pvData)[1], nullptr);
  SafeArrayDestroy(psa);
}

TEST(SafeArray, InterfaceElementsBalanceTheirReferences) {
  CountingObject<> first, second;
  SAFEARRAY* psa = SafeArrayCreateVector(VT_UNKNOWN, 0, 2);
  LONG index = 0;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(&first))));
  EXPECT_EQ(first.refs, 2);
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(&second))));
  EXPECT_EQ(first.refs, 1) << "the replaced element is released";
  EXPECT_EQ(second.refs, 2);

  IUnknown* got = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayGetElement(psa, &index, &got)));
  EXPECT_EQ(got, &second);
  EXPECT_EQ(second.refs, 3) << "Get AddRefs for the caller";
  got->Release();

  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayCopy(psa, &copy)));
  EXPECT_EQ(second.refs, 3) << "the copy AddRefs";
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayDestroy(psa)));
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayDestroy(copy)));
  EXPECT_EQ(first.refs, 1);
  EXPECT_EQ(second.refs, 1);
}

TEST(SafeArray, CopyIsDeepForBstrAndVariantElements) {
  CountingObject<> object;
  SAFEARRAY* psa = SafeArrayCreateVector(VT_VARIANT, 0, 3);
  VARIANT value;
  value.vt = VT_BSTR;
  value.bstrVal = SysAllocString(L"tag");
  LONG index = 0;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, &value)));
  VariantClear(&value);
  value.vt = VT_UNKNOWN;
  value.punkVal = &object;
  index = 1;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(psa, &index, &value)));  // copies: AddRef
  EXPECT_EQ(object.refs, 2);

  SAFEARRAY* copy = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayCopy(psa, &copy)));
  VARTYPE vt = VT_EMPTY;
  SafeArrayGetVartype(copy, &vt);
  EXPECT_EQ(vt, VT_VARIANT);
  const VARIANT* original = static_cast<VARIANT*>(psa->pvData);
  const VARIANT* copied = static_cast<VARIANT*>(copy->pvData);
  EXPECT_EQ(copied[0].vt, VT_BSTR);
  EXPECT_NE(copied[0].bstrVal, original[0].bstrVal);
  EXPECT_STREQ(copied[0].bstrVal, L"tag");
  EXPECT_EQ(copied[1].punkVal, &object);
  EXPECT_EQ(object.refs, 3);
  EXPECT_EQ(copied[2].vt, VT_EMPTY);

  VARIANT got;
  VariantInit(&got);
  index = 0;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayGetElement(copy, &index, &got)));
  EXPECT_NE(got.bstrVal, copied[0].bstrVal);
  VariantClear(&got);

  SafeArrayDestroy(psa);
  SafeArrayDestroy(copy);
  EXPECT_EQ(object.refs, 1);

  SAFEARRAY* none = psa;
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayCopy(nullptr, &none)));
  EXPECT_EQ(none, nullptr);
}

TEST(SafeArray, RedimReleasesTheElementsThatFallOffAndZeroesNewOnes) {
  CountingObject<> object;
  SAFEARRAY* psa = SafeArrayCreateVector(VT_UNKNOWN, 0, 2);
  LONG index = 1;
  SafeArrayPutElement(psa, &index, static_cast<IUnknown*>(&object));
  SAFEARRAYBOUND smaller{1, 0};
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayRedim(psa, &smaller)));
  EXPECT_EQ(object.refs, 1);
  SAFEARRAYBOUND larger{5, 1};
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayRedim(psa, &larger)));
  LONG upper = 0;
  SafeArrayGetUBound(psa, 1, &upper);
  EXPECT_EQ(upper, 5);
  for (LONG i = 1; i <= 5; ++i) {
    IUnknown* got = &object;
    ASSERT_EQ(Hr(S_OK), Hr(SafeArrayGetElement(psa, &i, &got)));
    EXPECT_EQ(got, nullptr) << "index " << i;
  }
  SafeArrayDestroy(psa);
}

TEST(SafeArray, ALockedArrayCannotBeDestroyedOrResized) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 2);
  void* data = nullptr;
  ASSERT_EQ(Hr(S_OK), Hr(SafeArrayAccessData(psa, &data)));
  EXPECT_EQ(data, psa->pvData);
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayLock(psa)));
  EXPECT_EQ(psa->cLocks, 2u);
  SAFEARRAYBOUND bound{4, 0};
  EXPECT_EQ(Hr(DISP_E_ARRAYISLOCKED), Hr(SafeArrayDestroy(psa)));
  EXPECT_EQ(Hr(DISP_E_ARRAYISLOCKED), Hr(SafeArrayRedim(psa, &bound)));
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayUnlock(psa)));
  EXPECT_EQ(Hr(DISP_E_ARRAYISLOCKED), Hr(SafeArrayDestroy(psa)));
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayUnaccessData(psa)));
  EXPECT_EQ(Hr(E_UNEXPECTED), Hr(SafeArrayUnlock(psa)));
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayDestroy(psa)));
}

TEST(SafeArray, NullArgumentsAreRefused) {
  SAFEARRAY* psa = SafeArrayCreateVector(VT_I4, 0, 1);
  LONG index = 0;
  LONG value = 0;
  VARTYPE vt;
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayGetElement(psa, &index, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayGetElement(nullptr, &index, &value)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayGetVartype(nullptr, &vt)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayCopy(psa, nullptr)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(SafeArrayLock(nullptr)));
  EXPECT_EQ(Hr(S_OK), Hr(SafeArrayDestroy(nullptr)));
  EXPECT_EQ(SafeArrayGetDim(nullptr), 0u);
  SafeArrayDestroy(psa);
}

}  // namespace
