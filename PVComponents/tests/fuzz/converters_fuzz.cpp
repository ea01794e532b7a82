// Every converter entry point on any typed text: refused or converted, never a crash or
// undefined arithmetic, and a normalized text converts again to the same scaled value.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "CnvTextToValue.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  const int decimals = data[0] % 10;
  std::wstring text;
  for (size_t i = 1; i < size; ++i) text += static_cast<wchar_t>(data[i]);
  const CString input(text.c_str());

  const CCnvTextToFloat& decimal = *GetCnvTextToFloat();
  float value = 0;
  decimal.ConvertTextToFloat(input, &value, nullptr);
  int64_t scaled = 0;
  CString normalized;
  if (SUCCEEDED(decimal.NormalizeText(input, decimals, &scaled, &normalized, nullptr))) {
    int64_t again = 0;
    CString twice;
    if (FAILED(decimal.NormalizeText(normalized, decimals, &again, &twice, nullptr)) || again != scaled ||
        twice != normalized)
      std::abort();
  }
  CString rounded;
  decimal.ConvertTextToValueRounded(input, decimals, &value, &rounded, nullptr);
  int32_t narrow = 0;
  decimal.ConvertTextToScaledLong(input, decimals, &narrow, nullptr);
  decimal.ConvertTextToScaledLongRounded(input, decimals, &narrow, &rounded, nullptr);
  decimal.ConvertFloatToText(value, decimals, &rounded);

  const CCnvTextToInteger& integer = *GetCnvTextToInteger();
  int64_t wide = 0;
  integer.ConvertTextToValue(input, &wide, nullptr);
  integer.ConvertTextToLong(input, &narrow, nullptr);
  uint32_t unsignedNarrow = 0;
  integer.ConvertTextToULong(input, &unsignedNarrow, nullptr);
  uint64_t unsignedWide = 0;
  integer.ConvertTextToUInt64(input, &unsignedWide, nullptr);
  return 0;
}
