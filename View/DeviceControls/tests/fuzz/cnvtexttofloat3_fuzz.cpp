// The device's text-to-float converter on any typed text: refused or converted, never a crash
// or undefined arithmetic, and a rounded text rounds again to itself with the same value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CnvTextToFloat3.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // Decimals from -2 to 11, so that the refused ones are reached too.
  const int decimals = data[0] % 14 - 2;
  std::wstring text;
  for (size_t i = 1; i < size; ++i) text += static_cast<wchar_t>(data[i]);
  const CString input(text.c_str());

  const CCnvTextToFloat3& converter = *GetCnvTextToFloat3();
  double number = 0;
  converter.ConvertTextToDouble(input, &number, nullptr);
  float value = 0;
  CString rounded;
  if (SUCCEEDED(converter.ConvertTextToValueRounded(input, decimals, &value, &rounded, nullptr))) {
    float again = 0;
    CString twice;
    if (FAILED(converter.ConvertTextToValueRounded(rounded, decimals, &again, &twice, nullptr)) ||
        twice != rounded || again != value)
      std::abort();
  }
  CString printed;
  converter.ConvertFloatToText(value, decimals, &printed);
  converter.RoundFloatToText(value, decimals, &value, &printed, nullptr);
  return 0;
}
