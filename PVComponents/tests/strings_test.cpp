// CStrings and the safe array wrapper it reads.
#include <windows.h>

#include <OrvoLog.h>
#include <comdef.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "HostSession.h"
#include "SafeArray.h"
#include "Strings.h"

namespace {

using pvtest::Hr;

std::vector<std::wstring> Elements(const CStrings& strings) {
  std::vector<std::wstring> out;
  for (unsigned i = 0; i < strings.GetSize(); ++i) {
    CString text;
    EXPECT_TRUE(strings.GetAt(i, text));
    out.emplace_back(text.GetString(), static_cast<size_t>(text.GetLength()));
  }
  return out;
}

std::wstring Text(const CString& text) {
  return std::wstring(text.GetString(), static_cast<size_t>(text.GetLength()));
}

// A VT_BSTR array with the texts (null for a null BSTR) from lowerBound.
SAFEARRAY* BstrArray(std::initializer_list<const wchar_t*> texts, LONG lowerBound = 0) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, lowerBound, static_cast<ULONG>(texts.size()));
  LONG index = lowerBound;
  for (const wchar_t* text : texts) {
    BSTR element = text ? SysAllocString(text) : nullptr;
    EXPECT_EQ(Hr(S_OK), Hr(SafeArrayPutElement(array, &index, element)));
    SysFreeString(element);
    ++index;
  }
  return array;
}

TEST(CStrings, ASeparatedTextGivesItsNonEmptyPiecesInOrder) {
  struct Case {
    const wchar_t* text;
    wchar_t separator;
    std::vector<std::wstring> expected;
  };
  const Case cases[] = {
      {L"a;b;c", L';', {L"a", L"b", L"c"}},
      {L"a;;b", L';', {L"a", L"b"}},
      {L";a;b;", L';', {L"a", L"b"}},
      {L"", L';', {}},
      {L";;;", L';', {}},
      {L"one", L';', {L"one"}},
      {L"x y,z", L',', {L"x y", L"z"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.text)));
    EXPECT_EQ(Elements(CStrings(CString(c.text), c.separator)), c.expected);
  }
}

TEST(CStrings, JoinPutsTheSeparatorOnlyBetweenNeighbours) {
  EXPECT_EQ(Text(CStrings(L"a,b,c", L',').Join(L" | ")), L"a | b | c");
  EXPECT_EQ(Text(CStrings(L"alone", L',').Join(L", ")), L"alone");
  EXPECT_EQ(Text(CStrings().Join(L", ")), L"");
}

TEST(CStrings, ABstrArrayIsReadFromItsLowerBoundWithNullAsEmpty) {
  orvolog::ClearRecords();
  CSafeArray array(BstrArray({L"first", nullptr, L"third"}, 5), false);
  CStrings strings(array);
  EXPECT_EQ(Elements(strings), (std::vector<std::wstring>{L"first", L"", L"third"}));
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});

  CSafeArray empty(SafeArrayCreateVector(VT_BSTR, 3, 0), false);
  EXPECT_EQ(empty.GetBeginIndex(), 0);
  EXPECT_EQ(empty.GetEndIndex(), 0);
  EXPECT_TRUE(CStrings(empty).IsEmpty());
}

TEST(CStrings, AnArrayOfAnotherTypeIsLoggedAndGivesAnEmptyList) {
  for (VARTYPE vt : {VT_I4, VT_VARIANT, VT_R8}) {
    SCOPED_TRACE(testing::Message() << "type " << vt);
    orvolog::ClearRecords();
    CSafeArray array(vt, 0, 2);
    CStrings strings(array);
    EXPECT_TRUE(strings.IsEmpty());
    EXPECT_EQ(pvtest::LoggedSinceClear(),
              std::vector<std::wstring>{
                  L"CStrings::CStrings: Cannot copy construct a CStrings object from a non-BSTR safearray."});
  }
}

TEST(CStrings, OutOfRangeAccessIsLoggedAndGivesNothing) {
  orvolog::ClearRecords();
  CStrings empty;
  EXPECT_EQ(Text(empty[0]), L"");
  CStrings two(L"a,b", L',');
  EXPECT_EQ(Text(two[-1]), L"");
  EXPECT_EQ(Text(two[2]), L"");
  CString out = L"untouched";
  EXPECT_FALSE(two.GetAt(2, out));
  EXPECT_EQ(Text(out), L"untouched");
  EXPECT_EQ(Text(two[1]), L"b");
  const std::vector<std::wstring> expected = {
      L"CStrings::operator []: CStrings container is empty.",
      L"CStrings::operator []: Index out of range.",
      L"CStrings::operator []: Index out of range.",
      L"CStrings::GetAt: Index out of range.",
  };
  EXPECT_EQ(pvtest::LoggedSinceClear(), expected);
}

TEST(CStrings, EditsKeepOrderAndCompareCaseSensitively) {
  CStrings strings(L"b,d", L',');
  EXPECT_TRUE(strings.InsertAt(L"a", 0));
  EXPECT_TRUE(strings.InsertAt(L"c", 2));
  EXPECT_TRUE(strings.InsertAt(L"e", 4));
  EXPECT_FALSE(strings.InsertAt(L"x", 6));
  EXPECT_FALSE(strings.InsertAt(L"x", -1));
  EXPECT_EQ(Elements(strings), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e"}));

  EXPECT_EQ(Hr(E_INVALIDARG), Hr(strings.AddUnique(L"c")));
  EXPECT_EQ(Hr(S_OK), Hr(strings.AddUnique(L"C")));
  int index = -7;
  EXPECT_FALSE(strings.Find(L"z", index));
  EXPECT_EQ(index, -7);
  EXPECT_TRUE(strings.Find(L"C", index));
  EXPECT_EQ(index, 5);
  EXPECT_TRUE(strings.Contains(L"e"));
  EXPECT_FALSE(strings.Contains(L"E"));

  EXPECT_FALSE(strings.RemoveAt(6));
  EXPECT_TRUE(strings.RemoveAt(0));
  EXPECT_EQ(Text(strings[0]), L"b");

  CStrings copy(strings);
  EXPECT_TRUE(copy == strings);
  copy.RemoveAt(0);
  EXPECT_FALSE(copy == strings);
  copy = strings;
  EXPECT_TRUE(copy == strings);
  EXPECT_FALSE(CStrings(L"a,b", L',') == CStrings(L"a,B", L','));
  copy.RemoveAll();
  EXPECT_TRUE(copy.IsEmpty());
  EXPECT_EQ(copy.GetSize(), 0u);
  EXPECT_TRUE(strings.IsKindOf(RUNTIME_CLASS(CStrings)));
}

// ---------------------------------------------------------------------------------------------
// CSafeArray.

TEST(CSafeArray, GetReadsEachSupportedTypeAsAVariantOfThatType) {
  orvolog::ClearRecords();
  struct Case {
    VARTYPE vt;
    LONGLONG raw;
  };
  const Case cases[] = {{VT_I1, -5},     {VT_UI1, 200},        {VT_I2, -300},          {VT_UI2, 60000},
                        {VT_I4, -70000}, {VT_UI4, 4000000000}, {VT_I8, -5000000000LL}, {VT_UI8, 5000000000LL},
                        {VT_INT, 17},    {VT_UINT, 18},        {VT_BOOL, VARIANT_TRUE}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "type " << c.vt);
    CSafeArray array(c.vt, 1, 1);
    VARIANT value;
    VariantInit(&value);
    value.vt = c.vt;
    value.llVal = c.raw;
    ASSERT_EQ(Hr(S_OK), Hr(array.Set(1, value)));
    VARIANT got = array.Get(1);
    EXPECT_EQ(got.vt, c.vt);
    const ULONG size = SafeArrayGetElemsize(array.GetSafeArray());
    EXPECT_EQ(std::memcmp(&got.llVal, &value.llVal, size), 0);
    VariantClear(&got);
  }
  CSafeArray reals(VT_R8, 0, 1);
  VARIANT r8;
  VariantInit(&r8);
  r8.vt = VT_R8;
  r8.dblVal = 2.5;
  ASSERT_EQ(Hr(S_OK), Hr(reals.Set(0, r8)));
  VARIANT gotReal = reals.Get(0);
  EXPECT_EQ(gotReal.vt, VT_R8);
  EXPECT_EQ(gotReal.dblVal, 2.5);
  EXPECT_EQ(pvtest::LoggedSinceClear(), std::vector<std::wstring>{});
}

TEST(CSafeArray, UnsupportedElementTypesGiveVtI4HoldingEFail) {
  for (VARTYPE vt : {VT_CY, VT_DATE, VT_ERROR, VT_DECIMAL}) {
    SCOPED_TRACE(testing::Message() << "type " << vt);
    orvolog::ClearRecords();
    CSafeArray array(vt, 0, 1);
    VARIANT got = array.Get(0);
    EXPECT_EQ(got.vt, VT_I4);
    EXPECT_EQ(Hr(E_FAIL), Hr(got.lVal));
    EXPECT_EQ(pvtest::LoggedSinceClear(),
              std::vector<std::wstring>{L"CSafeArray::Get: Unsupported variant type."});
  }
}

TEST(CSafeArray, AnUnattachedOrOutOfRangeReadIsLoggedAndEmpty) {
  orvolog::ClearRecords();
  CSafeArray unattached;
  EXPECT_TRUE(unattached.IsEmpty());
  EXPECT_EQ(unattached.GetEndIndex(), 0);
  EXPECT_EQ(unattached.Get(0).vt, VT_EMPTY);
  CSafeArray array(VT_I4, 0, 1);
  EXPECT_EQ(array.Get(3).vt, VT_EMPTY);
  const std::vector<std::wstring> expected = {
      L"CSafeArray::Get: Trying to get an element from an unattached CSafeArray.",
      L"CSafeArray::Get: Failed to get safearray element.",
  };
  EXPECT_EQ(pvtest::LoggedSinceClear(), expected);
}

TEST(CSafeArray, SetRefusesEmptyValuesAndOtherTypesExceptInVariantArrays) {
  orvolog::ClearRecords();
  CSafeArray unattached;
  _variant_t number(LONG{5});
  EXPECT_EQ(Hr(E_UNEXPECTED), Hr(unattached.Set(0, number)));
  CSafeArray texts(VT_BSTR, 0, 1);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(texts.Set(0, number)));
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(texts.Set(0, _variant_t())));
  CSafeArray variants(VT_VARIANT, 0, 2);
  EXPECT_EQ(Hr(S_OK), Hr(variants.Set(0, number)));
  EXPECT_EQ(Hr(S_OK), Hr(variants.Set(1, _variant_t(L"text"))));
  VARIANT element = variants.Get(1);
  _variant_t back(element, false);
  EXPECT_EQ(back.vt, VT_BSTR);
  EXPECT_EQ(std::wstring(back.bstrVal), L"text");
  const std::vector<std::wstring> expected = {
      L"CSafeArray::Set: Element type and safearray type are incompatible.",
      L"CSafeArray::Set: Assigning an element of type VT_EMPTY is not supported.",
  };
  EXPECT_EQ(pvtest::LoggedSinceClear(), expected);
}

TEST(CSafeArray, AddAndAppendGrowInIndexOrderAndAFailedAddShrinksBack) {
  CSafeArray array(VT_BSTR, 2, 0);
  ASSERT_EQ(Hr(S_OK), Hr(array.Add(_variant_t(L"a"))));
  ASSERT_EQ(Hr(S_OK), Hr(array.Add(_variant_t(L"b"))));
  EXPECT_EQ(array.GetBeginIndex(), 2);
  EXPECT_EQ(array.GetEndIndex(), 4);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(array.Add(_variant_t(LONG{1}))));
  EXPECT_EQ(array.GetCount(), 2u) << "a failed add left its element";
  ASSERT_EQ(Hr(S_OK), Hr(array.Append(array)));
  EXPECT_EQ(Elements(CStrings(array)), (std::vector<std::wstring>{L"a", L"b", L"a", L"b"}));
  CSafeArray numbers(VT_I4, 0, 1);
  orvolog::ClearRecords();
  EXPECT_EQ(Hr(E_FAIL), Hr(array.Append(numbers)));
  EXPECT_EQ(pvtest::LoggedSinceClear(),
            std::vector<std::wstring>{L"CSafeArray::Append: Cannot append SAFEARRAY, type mismatch"});
  EXPECT_EQ(Hr(S_OK), Hr(array.Append(CSafeArray())));
}

TEST(CSafeArray, CopiesAreDeepAndCreateRefusesArrayByrefEmptyAndNullTypes) {
  CSafeArray original(BstrArray({L"x"}), false);
  CSafeArray copy(original);
  CSafeArray assigned;
  assigned = original;
  const auto& itself = assigned;
  assigned = itself;
  EXPECT_NE(copy.GetSafeArray(), original.GetSafeArray());
  EXPECT_NE(assigned.GetSafeArray(), original.GetSafeArray());
  EXPECT_EQ(Elements(CStrings(copy)), std::vector<std::wstring>{L"x"});
  EXPECT_EQ(Elements(CStrings(assigned)), std::vector<std::wstring>{L"x"});

  for (VARTYPE vt : {static_cast<VARTYPE>(VT_ARRAY | VT_I4), static_cast<VARTYPE>(VT_BYREF | VT_I4),
                     static_cast<VARTYPE>(VT_EMPTY), static_cast<VARTYPE>(VT_NULL)}) {
    SCOPED_TRACE(testing::Message() << "type " << vt);
    orvolog::ClearRecords();
    CSafeArray array;
    EXPECT_FALSE(array.Create(vt, 0, 1));
    EXPECT_FALSE(array.IsAttached());
    EXPECT_EQ(pvtest::LoggedSinceClear(),
              std::vector<std::wstring>{L"CSafeArray::Create: Invalid variant type."});
  }
  SAFEARRAY* detached = copy.Detach();
  EXPECT_FALSE(copy.IsAttached());
  SafeArrayDestroy(detached);
  SAFEARRAY** slot = assigned.GetAddress();
  EXPECT_EQ(*slot, nullptr);
  *slot = BstrArray({L"y", L"z"});
  EXPECT_EQ(assigned.GetCount(), 2u);
}

}  // namespace
