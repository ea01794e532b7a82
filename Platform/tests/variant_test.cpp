#include "oleauto.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "fixtures/com/com_test_support.h"

using testing_com::CountingObject;
using testing_com::Hr;
using testing_com::Narrow;

namespace {

// The range of each integer type, and the other types VariantChangeType converts among.
struct TypeInfo {
  VARTYPE vt;
  const char* name;
  bool integer;
  long double min;
  long double max;
};

template <class T>
constexpr TypeInfo Integer(VARTYPE vt, const char* name) {
  return {vt, name, true, static_cast<long double>(std::numeric_limits<T>::min()),
          static_cast<long double>(std::numeric_limits<T>::max())};
}

const TypeInfo kTypes[] = {
    {VT_EMPTY, "EMPTY", false, 0, 0},        Integer<int8_t>(VT_I1, "I1"),
    Integer<int16_t>(VT_I2, "I2"),           Integer<int32_t>(VT_I4, "I4"),
    Integer<int64_t>(VT_I8, "I8"),           Integer<uint8_t>(VT_UI1, "UI1"),
    Integer<uint16_t>(VT_UI2, "UI2"),        Integer<uint32_t>(VT_UI4, "UI4"),
    Integer<uint64_t>(VT_UI8, "UI8"),        Integer<int32_t>(VT_INT, "INT"),
    Integer<uint32_t>(VT_UINT, "UINT"),      {VT_R4, "R4", false, -FLT_MAX, FLT_MAX},
    {VT_R8, "R8", false, -DBL_MAX, DBL_MAX}, {VT_BOOL, "BOOL", false, 0, 0},
    {VT_BSTR, "BSTR", false, 0, 0},
};

// The value a variant of a numeric type holds, read field by field.
long double NumericValue(const VARIANT& v) {
  switch (v.vt) {
    case VT_I1:
      return v.cVal;
    case VT_I2:
      return v.iVal;
    case VT_I4:
      return v.lVal;
    case VT_I8:
      return static_cast<long double>(v.llVal);
    case VT_UI1:
      return v.bVal;
    case VT_UI2:
      return v.uiVal;
    case VT_UI4:
      return v.ulVal;
    case VT_UI8:
      return static_cast<long double>(v.ullVal);
    case VT_INT:
      return v.intVal;
    case VT_UINT:
      return v.uintVal;
    case VT_R4:
      return v.fltVal;
    case VT_R8:
      return v.dblVal;
    case VT_BOOL:
      return v.boolVal;
    default:
      ADD_FAILURE() << "not numeric: vt " << v.vt;
      return 0;
  }
}

// Writes value into v as type vt (test-side, field by field).
VARIANT MakeNumeric(VARTYPE vt, long double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  switch (vt) {
    case VT_I1:
      v.cVal = static_cast<CHAR>(value);
      break;
    case VT_I2:
      v.iVal = static_cast<SHORT>(value);
      break;
    case VT_I4:
      v.lVal = static_cast<LONG>(value);
      break;
    case VT_I8:
      v.llVal = static_cast<LONGLONG>(value);
      break;
    case VT_UI1:
      v.bVal = static_cast<BYTE>(value);
      break;
    case VT_UI2:
      v.uiVal = static_cast<USHORT>(value);
      break;
    case VT_UI4:
      v.ulVal = static_cast<ULONG>(value);
      break;
    case VT_UI8:
      v.ullVal = static_cast<ULONGLONG>(value);
      break;
    case VT_INT:
      v.intVal = static_cast<INT>(value);
      break;
    case VT_UINT:
      v.uintVal = static_cast<UINT>(value);
      break;
    case VT_R4:
      v.fltVal = static_cast<float>(value);
      break;
    case VT_R8:
      v.dblVal = static_cast<double>(value);
      break;
    case VT_BOOL:
      v.boolVal = value != 0 ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    default:
      ADD_FAILURE() << "not numeric: vt " << vt;
  }
  return v;
}

// A VT_BOOL holding exactly value (VARIANT_TRUE is -1, but any value can be stored).
VARIANT MakeBool(VARIANT_BOOL value) {
  VARIANT v;
  v.vt = VT_BOOL;
  v.boolVal = value;
  return v;
}

VARIANT MakeText(const wchar_t* text) {
  VARIANT v;
  v.vt = VT_BSTR;
  v.bstrVal = SysAllocString(text);
  return v;
}

// A source value: the variant, the number it stands for, and that number rounded half to
// even (what an integer target receives).
struct Source {
  std::string name;
  VARIANT value;
  long double exact;
  long double rounded;
  bool isNumber;  // false: text that is no number
};

std::vector<Source> MakeSources() {
  std::vector<Source> sources;
  for (const TypeInfo& type : kTypes) {
    if (type.integer) {
      for (long double x : {type.min, type.max, 1.0L, 0.0L, type.min < 0 ? -1.0L : 2.0L})
        sources.push_back({std::string(type.name) + " " + std::to_string(static_cast<double>(x)),
                           MakeNumeric(type.vt, x), x, x, true});
    }
  }
  struct Real {
    long double exact;
    long double rounded;
  };
  for (Real r : {Real{1.5, 2}, Real{2.5, 2}, Real{-0.5, 0}, Real{-1.5, -2}, Real{255.5, 256},
                 Real{254.5, 254}, Real{-128.5, -128}, Real{1e10, 1e10}}) {
    sources.push_back({"R8 " + std::to_string(static_cast<double>(r.exact)), MakeNumeric(VT_R8, r.exact),
                       r.exact, r.rounded, true});
    sources.push_back({"R4 " + std::to_string(static_cast<double>(r.exact)), MakeNumeric(VT_R4, r.exact),
                       r.exact, r.rounded, true});
  }
  sources.push_back({"R8 1e300", MakeNumeric(VT_R8, 1e300), 1e300, 1e300, true});
  sources.push_back({"BOOL true", MakeNumeric(VT_BOOL, -1), -1, -1, true});
  sources.push_back({"BOOL false", MakeNumeric(VT_BOOL, 0), 0, 0, true});
  sources.push_back({"BOOL 1", MakeBool(1), 1, 1, true});
  VARIANT empty;
  VariantInit(&empty);
  sources.push_back({"EMPTY", empty, 0, 0, true});
  sources.push_back({"BSTR \"05\"", MakeText(L"05"), 5, 5, true});
  sources.push_back({"BSTR \" -300 \"", MakeText(L" -300 "), -300, -300, true});
  sources.push_back({"BSTR \"2.5\"", MakeText(L"2.5"), 2.5, 2, true});
  sources.push_back({"BSTR \"1e3\"", MakeText(L"1e3"), 1000, 1000, true});
  sources.push_back({"BSTR \"abc\"", MakeText(L"abc"), 0, 0, false});
  return sources;
}

const TypeInfo& TypeOf(VARTYPE vt) {
  for (const TypeInfo& type : kTypes)
    if (type.vt == vt) return type;
  return kTypes[0];
}

// An integer of one type to the integer type of the same size and the other signedness.
bool SameSizeOtherSign(const Source& source, const TypeInfo& target) {
  const TypeInfo& from = TypeOf(source.value.vt);
  return from.integer && target.integer && from.max - from.min == target.max - target.min &&
         from.min != target.min;
}

// What an integer target holds: the rounded value, or between same-size types of the other
// signedness the same bits.
long double ExpectedInteger(const Source& source, const TypeInfo& target) {
  if (!SameSizeOtherSign(source, target)) return source.rounded;
  const long double span = target.max - target.min + 1;
  if (source.rounded < target.min) return source.rounded + span;
  if (source.rounded > target.max) return source.rounded - span;
  return source.rounded;
}

// The rule: text that is no number converts only to text and to VT_EMPTY; a number converts
// to every integer type whose range holds it after rounding (an integer to the same-size type
// of the other signedness always, keeping its bits), to VT_R4 within its range, and to VT_R8,
// VT_BOOL, VT_BSTR and VT_EMPTY always.
HRESULT ExpectedResult(const Source& source, const TypeInfo& target) {
  if (target.vt == VT_BSTR || target.vt == VT_EMPTY) return S_OK;
  if (!source.isNumber) return source.value.vt == target.vt ? S_OK : DISP_E_TYPEMISMATCH;
  if (SameSizeOtherSign(source, target)) return S_OK;
  if (target.integer)
    return source.rounded >= target.min && source.rounded <= target.max ? S_OK : DISP_E_OVERFLOW;
  if (target.vt == VT_R4) return std::fabs(source.exact) <= FLT_MAX ? S_OK : DISP_E_OVERFLOW;
  return S_OK;
}

TEST(VariantChangeType, ConvertsAmongTheScalarTypesByTheRangeRule) {
  std::vector<Source> sources = MakeSources();
  for (Source& source : sources) {
    for (const TypeInfo& target : kTypes) {
      SCOPED_TRACE(source.name + " -> " + target.name);
      VARIANT result;
      VariantInit(&result);
      const HRESULT hr = VariantChangeType(&result, &source.value, 0, target.vt);
      const HRESULT expected = ExpectedResult(source, target);
      ASSERT_EQ(Hr(expected), Hr(hr));
      if (FAILED(hr)) {
        EXPECT_EQ(result.vt, VT_EMPTY) << "the output is untouched on failure";
        continue;
      }
      ASSERT_EQ(result.vt, target.vt);
      if (target.integer) {
        EXPECT_EQ(NumericValue(result), ExpectedInteger(source, target));
      } else if (target.vt == VT_R4) {
        EXPECT_EQ(result.fltVal, static_cast<float>(source.exact));
      } else if (target.vt == VT_R8) {
        EXPECT_EQ(result.dblVal, static_cast<double>(source.exact));
      } else if (target.vt == VT_BOOL && source.value.vt == VT_BOOL) {
        EXPECT_EQ(result.boolVal, source.value.boolVal) << "the same type is copied";
      } else if (target.vt == VT_BOOL) {
        EXPECT_EQ(result.boolVal, source.exact != 0 ? VARIANT_TRUE : VARIANT_FALSE);
      } else if (target.vt == VT_BSTR) {
        EXPECT_NE(result.bstrVal, nullptr);
      }
      EXPECT_EQ(Hr(S_OK), Hr(VariantClear(&result)));
    }
  }
  for (Source& source : sources) VariantClear(&source.value);
}

TEST(VariantChangeType, NullAndObjectsConvertOnlyToTheirOwnKind) {
  VARIANT null;
  null.vt = VT_NULL;
  CountingObject<> object;
  VARIANT unknown;
  unknown.vt = VT_UNKNOWN;
  unknown.punkVal = &object;
  for (const TypeInfo& target : kTypes) {
    SCOPED_TRACE(target.name);
    VARIANT result;
    VariantInit(&result);
    EXPECT_EQ(Hr(DISP_E_TYPEMISMATCH), Hr(VariantChangeType(&result, &null, 0, target.vt)));
    if (target.vt != VT_BSTR && target.vt != VT_EMPTY) {
      EXPECT_EQ(Hr(DISP_E_TYPEMISMATCH), Hr(VariantChangeType(&result, &unknown, 0, target.vt)));
    }
    EXPECT_EQ(result.vt, VT_EMPTY);
  }
  VARIANT result;
  VariantInit(&result);
  EXPECT_EQ(Hr(S_OK), Hr(VariantChangeType(&result, &null, 0, VT_NULL)));
  EXPECT_EQ(result.vt, VT_NULL);
  EXPECT_EQ(Hr(S_OK), Hr(VariantChangeType(&result, &unknown, 0, VT_UNKNOWN)));
  EXPECT_EQ(result.punkVal, &object);
  EXPECT_EQ(object.refs, 2) << "the copy holds a reference";
  VariantClear(&result);
  EXPECT_EQ(object.refs, 1);
}

TEST(VariantChangeType, GivesTheseExactTexts) {
  struct Case {
    const char* name;
    VARIANT value;
    USHORT flags;
    const wchar_t* text;
  };
  VARIANT empty;
  VariantInit(&empty);
  const Case cases[] = {
      {"I4 -42", MakeNumeric(VT_I4, -42), 0, L"-42"},
      {"I8 min", MakeNumeric(VT_I8, static_cast<long double>(INT64_MIN)), 0, L"-9223372036854775808"},
      {"UI8 max", MakeNumeric(VT_UI8, static_cast<long double>(UINT64_MAX)), 0, L"18446744073709551615"},
      {"UI1 255", MakeNumeric(VT_UI1, 255), 0, L"255"},
      {"R8 1.5", MakeNumeric(VT_R8, 1.5), 0, L"1.5"},
      {"R8 100", MakeNumeric(VT_R8, 100), 0, L"100"},
      {"R8 0.1", MakeNumeric(VT_R8, 0.1), 0, L"0.1"},
      {"R4 0.1", MakeNumeric(VT_R4, 0.1f), 0, L"0.1"},
      {"R8 0.1+0.2", MakeNumeric(VT_R8, 0.1 + 0.2), 0, L"0.3"},
      {"R8 1/3", MakeNumeric(VT_R8, 1.0 / 3), 0, L"0.333333333333333"},
      {"R4 1/3", MakeNumeric(VT_R4, 1.0f / 3), 0, L"0.3333333"},
      {"R8 -2.5e-7", MakeNumeric(VT_R8, -2.5e-7), 0, L"-0.00000025"},
      {"R8 0.0001", MakeNumeric(VT_R8, 0.0001), 0, L"0.0001"},
      {"R8 1e-5", MakeNumeric(VT_R8, 1e-5), 0, L"0.00001"},
      // Fixed notation while the digits fit in the 15 places after the point, as the
      // platform's own conformance tables give it.
      {"R8 5.6789e-5", MakeNumeric(VT_R8, 5.6789e-5), 0, L"0.000056789"},
      {"R8 5.6789e-2", MakeNumeric(VT_R8, 5.6789e-2), 0, L"0.056789"},
      {"R8 5.6789e-11", MakeNumeric(VT_R8, 5.6789e-11), 0, L"0.000000000056789"},
      {"R8 5.6789e-12", MakeNumeric(VT_R8, 5.6789e-12), 0, L"5.6789E-12"},
      {"R8 1e-15", MakeNumeric(VT_R8, 1e-15), 0, L"0.000000000000001"},
      {"R8 1e-16", MakeNumeric(VT_R8, 1e-16), 0, L"1E-16"},
      {"R8 1/3e-5", MakeNumeric(VT_R8, 1e-5 / 3), 0, L"3.33333333333333E-06"},
      {"R8 1e20", MakeNumeric(VT_R8, 1e20), 0, L"1E+20"},
      {"R8 1e15", MakeNumeric(VT_R8, 1e15), 0, L"1E+15"},
      {"R8 1.234e16", MakeNumeric(VT_R8, 1.234e16), 0, L"1.234E+16"},
      {"R8 999999999999999", MakeNumeric(VT_R8, 999999999999999.0), 0, L"999999999999999"},
      {"R8 half at the 16th digit", MakeNumeric(VT_R8, 100000000000000.5), 0, L"100000000000001"},
      {"R8 minus half at the 16th digit", MakeNumeric(VT_R8, -100000000000000.5), 0, L"-100000000000001"},
      {"R8 a rounding that carries", MakeNumeric(VT_R8, 999999999999999.5), 0, L"1E+15"},
      {"R8 smallest", MakeNumeric(VT_R8, 4.9406564584124654e-324), 0, L"4.94065645841247E-324"},
      {"R4 half at the 8th digit", MakeNumeric(VT_R4, 654322.25f), 0, L"654322.3"},
      {"R4 minus half at the 8th digit", MakeNumeric(VT_R4, -654322.25f), 0, L"-654322.3"},
      {"R4 5.6789e-5", MakeNumeric(VT_R4, 5.6789e-5f), 0, L"5.6789E-05"},
      {"R4 1.5e-5", MakeNumeric(VT_R4, 1.5e-5f), 0, L"0.000015"},
      {"R4 5e-6", MakeNumeric(VT_R4, 0.000005f), 0, L"0.000005"},
      {"R4 1e8", MakeNumeric(VT_R4, 1.0e8f), 0, L"1E+08"},
      {"R8 1.2e15", MakeNumeric(VT_R8, 1200000000000000.0), 0, L"1.2E+15"},
      {"R8 1e14", MakeNumeric(VT_R8, 1.0e14), 0, L"100000000000000"},
      {"R8 15 digits", MakeNumeric(VT_R8, 123456789012345.0), 0, L"123456789012345"},
      {"R4 1234567", MakeNumeric(VT_R4, 1234567.0f), 0, L"1234567"},
      {"R4 2^24", MakeNumeric(VT_R4, 16777216.0f), 0, L"1.677722E+07"},
      {"R4 max", MakeNumeric(VT_R4, FLT_MAX), 0, L"3.402823E+38"},
      {"R8 0", MakeNumeric(VT_R8, 0), 0, L"0"},
      {"BOOL true", MakeNumeric(VT_BOOL, -1), 0, L"-1"},
      {"BOOL 1", MakeBool(1), 0, L"1"},
      {"BOOL 1, alpha", MakeBool(1), VARIANT_ALPHABOOL, L"True"},
      {"BOOL false", MakeNumeric(VT_BOOL, 0), 0, L"0"},
      {"BOOL true, alpha", MakeNumeric(VT_BOOL, -1), VARIANT_ALPHABOOL, L"True"},
      {"BOOL false, alpha", MakeNumeric(VT_BOOL, 0), VARIANT_ALPHABOOL, L"False"},
      {"BOOL true, local", MakeNumeric(VT_BOOL, -1), VARIANT_LOCALBOOL, L"True"},
      {"I4 -1, alpha", MakeNumeric(VT_I4, -1), VARIANT_ALPHABOOL, L"-1"},
      {"EMPTY", empty, 0, L""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(Hr(S_OK), Hr(VariantChangeType(&result, &c.value, c.flags, VT_BSTR)));
    ASSERT_EQ(result.vt, VT_BSTR);
    EXPECT_EQ(std::wstring(result.bstrVal, SysStringLen(result.bstrVal)), c.text)
        << Narrow(result.bstrVal) << " expected " << Narrow(c.text);
    VariantClear(&result);
  }
}

TEST(VariantChangeType, ReadsTheseTexts) {
  struct Case {
    const wchar_t* text;
    VARTYPE vt;
    HRESULT hr;
    long double value;
  };
  const Case cases[] = {
      {L"05", VT_I4, S_OK, 5},
      {L" -12 ", VT_I4, S_OK, -12},
      {L"\t+7", VT_I4, S_OK, 7},
      {L"1.5", VT_I4, S_OK, 2},
      {L"2.5", VT_I4, S_OK, 2},
      {L"1e3", VT_I4, S_OK, 1000},
      {L"-2147483648", VT_I4, S_OK, -2147483648.0L},
      {L"2147483648", VT_I4, DISP_E_OVERFLOW, 0},
      {L"99999999999999999999999999999999999999999", VT_I8, DISP_E_OVERFLOW, 0},
      {L"256", VT_UI1, DISP_E_OVERFLOW, 0},
      {L"-1", VT_UI4, DISP_E_OVERFLOW, 0},
      {L"abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"  ", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"12abc", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"1 2", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"1e", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L".", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"1,000", VT_I4, DISP_E_TYPEMISMATCH, 0},
      {L"1.5", VT_R8, S_OK, 1.5},
      {L"-.25", VT_R8, S_OK, -0.25},
      {L"1e400", VT_R8, DISP_E_OVERFLOW, 0},
      {L"1e-400", VT_R8, S_OK, 0},
      {L"1e39", VT_R4, DISP_E_OVERFLOW, 0},
      {L"True", VT_BOOL, S_OK, VARIANT_TRUE},
      {L" false ", VT_BOOL, S_OK, VARIANT_FALSE},
      {L"TRUE", VT_BOOL, S_OK, VARIANT_TRUE},
      {L"0", VT_BOOL, S_OK, VARIANT_FALSE},
      {L"2", VT_BOOL, S_OK, VARIANT_TRUE},
      {L"yes", VT_BOOL, DISP_E_TYPEMISMATCH, 0},
      {L"True", VT_I4, DISP_E_TYPEMISMATCH, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << '"' << Narrow(c.text) << "\" -> vt " << c.vt);
    VARIANT source = MakeText(c.text);
    VARIANT result;
    VariantInit(&result);
    ASSERT_EQ(Hr(c.hr), Hr(VariantChangeType(&result, &source, 0, c.vt)));
    if (SUCCEEDED(c.hr)) {
      EXPECT_EQ(result.vt, c.vt);
      EXPECT_EQ(NumericValue(result), c.value);
    } else {
      EXPECT_EQ(result.vt, VT_EMPTY);
    }
    VariantClear(&source);
  }
}

TEST(VariantChangeType, LeavesTheOutputUntouchedOnFailure) {
  VARIANT source = MakeText(L"abc");
  VARIANT dest = MakeText(L"kept");
  const BSTR kept = dest.bstrVal;
  EXPECT_EQ(Hr(DISP_E_TYPEMISMATCH), Hr(VariantChangeType(&dest, &source, 0, VT_I4)));
  EXPECT_EQ(dest.vt, VT_BSTR);
  EXPECT_EQ(dest.bstrVal, kept);
  EXPECT_EQ(Hr(DISP_E_TYPEMISMATCH), Hr(VariantChangeType(&source, &source, 0, VT_I4)));
  EXPECT_STREQ(source.bstrVal, L"abc") << "in place too";
  VariantClear(&dest);
  VariantClear(&source);
}

TEST(VariantChangeType, ConvertsInPlaceAndThroughReferences) {
  VARIANT v = MakeText(L"42");
  ASSERT_EQ(Hr(S_OK), Hr(VariantChangeType(&v, &v, 0, VT_I4)));
  EXPECT_EQ(v.vt, VT_I4);
  EXPECT_EQ(v.lVal, 42);

  LONG referenced = 7;
  VARIANT byRef;
  byRef.vt = VT_I4 | VT_BYREF;
  byRef.plVal = &referenced;
  VARIANT text;
  VariantInit(&text);
  ASSERT_EQ(Hr(S_OK), Hr(VariantChangeType(&text, &byRef, 0, VT_BSTR)));
  EXPECT_STREQ(text.bstrVal, L"7");
  VariantClear(&text);
  EXPECT_EQ(Hr(DISP_E_BADVARTYPE), Hr(VariantChangeType(&text, &v, 0, VT_I4 | VT_BYREF)));
}

TEST(Variant, CopyDuplicatesWhatItOwns) {
  VARIANT source;
  source.vt = VT_BSTR;
  source.bstrVal = SysAllocStringLen(L"a\0b", 3);
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(Hr(S_OK), Hr(VariantCopy(&copy, &source)));
  EXPECT_NE(copy.bstrVal, source.bstrVal);
  EXPECT_EQ(std::wstring(copy.bstrVal, SysStringLen(copy.bstrVal)), std::wstring(L"a\0b", 3));

  CountingObject<> object;
  source.vt = VT_UNKNOWN;  // the BSTR moves to `text` so it can be freed
  BSTR text = source.bstrVal;
  source.punkVal = &object;
  ASSERT_EQ(Hr(S_OK), Hr(VariantCopy(&copy, &source)));  // clears the BSTR copy first
  EXPECT_EQ(object.refs, 2);
  EXPECT_EQ(Hr(S_OK), Hr(VariantClear(&copy)));
  EXPECT_EQ(object.refs, 1);
  EXPECT_EQ(copy.vt, VT_EMPTY);
  SysFreeString(text);
}

TEST(Variant, CopyIndCopiesTheReferencedValue) {
  BSTR text = SysAllocString(L"flow");
  VARIANT byRef;
  byRef.vt = VT_BSTR | VT_BYREF;
  byRef.pbstrVal = &text;
  VARIANT copy;
  VariantInit(&copy);
  ASSERT_EQ(Hr(S_OK), Hr(VariantCopyInd(&copy, &byRef)));
  EXPECT_EQ(copy.vt, VT_BSTR);
  EXPECT_NE(copy.bstrVal, text);
  EXPECT_STREQ(copy.bstrVal, L"flow");
  VariantClear(&copy);

  VARIANT inner;
  inner.vt = VT_I4 | VT_BYREF;
  LONG value = 3;
  inner.plVal = &value;
  VARIANT outer;
  outer.vt = VT_VARIANT | VT_BYREF;
  outer.pvarVal = &inner;
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(VariantCopyInd(&copy, &outer)));
  SysFreeString(text);
}

TEST(Variant, ClearRefusesATagThatIsNoType) {
  VARIANT v;
  v.vt = 0x0FFF;
  EXPECT_EQ(Hr(DISP_E_BADVARTYPE), Hr(VariantClear(&v)));
  EXPECT_EQ(v.vt, 0x0FFF);
  EXPECT_EQ(Hr(E_INVALIDARG), Hr(VariantClear(nullptr)));
}

}  // namespace
