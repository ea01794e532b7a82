// What the device controls take from a read's result, and the numbers they put into a path,
// checked below the door for the cases no page reaches: every answer type against each reader,
// and numbers that do not fit their element type.
#include <windows.h>

#include <gtest/gtest.h>
#include <oleauto.h>
#include <platform/testing_hresult.h>

#include <cmath>
#include <string>

#include "DeviceLink.h"

namespace {

_variant_t Typed(VARTYPE vt, double value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  if (vt == VT_I2) v.iVal = static_cast<SHORT>(value);
  if (vt == VT_I4) v.lVal = static_cast<LONG>(value);
  if (vt == VT_R4) v.fltVal = static_cast<float>(value);
  if (vt == VT_R8) v.dblVal = value;
  if (vt == VT_UI1) v.bVal = static_cast<BYTE>(value);
  return _variant_t(v);
}

_variant_t NullText() {
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_BSTR;
  v.bstrVal = nullptr;
  return _variant_t(v);
}

TEST(DeviceLink, FloatFromResultTakesRealsTextsWithAPointAndWholeNumbersOnly) {
  struct Case {
    const char* what;
    _variant_t result;
    HRESULT expected;
    float value;
  } cases[] = {
      {"VT_R4", Typed(VT_R4, 2.5), S_OK, 2.5f},
      {"VT_I2", Typed(VT_I2, -7), S_OK, -7.0f},
      {"VT_I4", Typed(VT_I4, 100000), S_OK, 100000.0f},
      {"VT_BSTR with a point", _variant_t(L" 1.25 "), S_OK, 1.25f},
      {"VT_BSTR with a comma", _variant_t(L"1,25"), E_UNEXPECTED, 0.0f},
      {"a null text", NullText(), E_UNEXPECTED, 0.0f},
      {"VT_R8", Typed(VT_R8, 2.5), E_UNEXPECTED, 0.0f},
      {"VT_EMPTY", _variant_t(), E_UNEXPECTED, 0.0f},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    float value = 99.0f;
    EXPECT_HR(c.expected, FloatFromResult(c.result, &value));
    EXPECT_EQ(value, SUCCEEDED(c.expected) ? c.value : 99.0f) << "a refused result leaves the output alone";
  }
}

TEST(DeviceLink, IntegerFromTextTakesOnlyWholeBase10TextsWithin32Bits) {
  struct Case {
    const wchar_t* text;
    bool isSigned;
    HRESULT expected;
    LONG value;
  } cases[] = {
      {L"-32226", true, S_OK, -32226},         {L" +198\t", true, S_OK, 198},
      {L"2147483647", true, S_OK, INT32_MAX},  {L"-2147483648", true, S_OK, INT32_MIN},
      {L"2147483648", true, E_UNEXPECTED, 0},  {L"4294967295", false, S_OK, -1},
      {L"4294967296", false, E_UNEXPECTED, 0}, {L"-1", false, E_UNEXPECTED, 0},
      {L"-0", false, E_UNEXPECTED, 0},         {L"12a", true, E_UNEXPECTED, 0},
      {L"1 2", true, E_UNEXPECTED, 0},         {L"", true, E_UNEXPECTED, 0},
      {L"0x10", true, E_UNEXPECTED, 0},        {L"99999999999999999999999", true, E_UNEXPECTED, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << (c.isSigned ? "signed " : "unsigned ") << c.text);
    LONG value = 7;
    EXPECT_HR(c.expected, IntegerFromText(_variant_t(c.text), c.isSigned, &value));
    EXPECT_EQ(value, SUCCEEDED(c.expected) ? c.value : 7);
  }
  LONG value = 7;
  EXPECT_HR(E_UNEXPECTED, IntegerFromText(NullText(), true, &value));
  EXPECT_HR(E_UNEXPECTED, IntegerFromText(Typed(VT_I4, 5), true, &value));
}

TEST(DeviceLink, LongFromResultRefusesRealsItCannotHoldAndUnknownTypes) {
  struct Case {
    const char* what;
    _variant_t result;
    HRESULT expected;
    LONG value;
  } cases[] = {
      {"VT_I2", Typed(VT_I2, -32745), S_OK, -32745},
      {"VT_UI1", Typed(VT_UI1, 200), S_OK, 200},
      {"VT_R4 toward zero", Typed(VT_R4, -2.75), S_OK, -2},
      {"VT_R4 beyond 32 bits", Typed(VT_R4, 3e9), E_UNEXPECTED, 0},
      {"VT_R4 infinite", Typed(VT_R4, INFINITY), E_UNEXPECTED, 0},
      {"VT_BSTR low 32 bits", _variant_t(L"4294934551"), S_OK, -32745},
      {"VT_BSTR not a number", _variant_t(L"level"), E_UNEXPECTED, 0},
      {"a null text", NullText(), E_UNEXPECTED, 0},
      {"VT_R8", Typed(VT_R8, 1), E_UNEXPECTED, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    LONG value = 7;
    EXPECT_HR(c.expected, LongFromResult(c.result, &value));
    EXPECT_EQ(value, SUCCEEDED(c.expected) ? c.value : 7);
  }
}

TEST(DeviceLink, NumbersThatDoNotFitTheirElementTypeAreRefused) {
  _variant_t out;
  EXPECT_HR(S_OK, MakeI1(127, &out));
  EXPECT_EQ(out.vt, VT_I1);
  EXPECT_HR(E_INVALIDARG, MakeI1(128, &out));
  EXPECT_HR(E_INVALIDARG, MakeI1(-129, &out));
  EXPECT_HR(S_OK, MakeI1Path(115, 3, 9, &out));
  EXPECT_EQ(out.vt, VT_ARRAY | VT_VARIANT);
  EXPECT_HR(E_INVALIDARG, MakeI1Path(200, 1, 9, &out)) << "a class beyond VT_I1 is not sent wrapped";
  EXPECT_HR(S_OK, MakeI2Path(112, 1, 24, &out));
  EXPECT_HR(E_INVALIDARG, MakeI2Path(40000, 1, 24, &out));
}

}  // namespace
