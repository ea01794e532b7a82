// A GUID from its registry text, at compile time: interface and class ids are written once, as
// the text the registry shows, and the compiler turns them into constants. The GUID type comes
// from the operating system's headers (the platform's <guiddef.h>, the stand-in's
// wtypesbase.h, which includes this header after declaring it).
#pragma once

#if defined(_WIN32)
#include <guiddef.h>
#endif

#include <cstdint>

namespace platform {

constexpr uint32_t HexDigitValue(char c) {
  return (c >= '0' && c <= '9')   ? static_cast<uint32_t>(c - '0')
         : (c >= 'a' && c <= 'f') ? static_cast<uint32_t>(c - 'a' + 10)
         : (c >= 'A' && c <= 'F') ? static_cast<uint32_t>(c - 'A' + 10)
                                  : throw "not a hexadecimal digit";
}

constexpr uint32_t HexField(const char* text, int offset, int digits) {
  uint32_t value = 0;
  for (int i = 0; i < digits; ++i) value = value * 16 + HexDigitValue(text[offset + i]);
  return value;
}

// A GUID from its text "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX", braces optional; evaluated at
// compile time where the GUID names an interface or a class.
constexpr GUID GuidFromText(const char* text) {
  const int start = text[0] == '{' ? 1 : 0;
  const char* t = text + start;
  if (t[8] != '-' || t[13] != '-' || t[18] != '-' || t[23] != '-') throw "malformed GUID text";
  GUID guid{HexField(t, 0, 8),
            static_cast<uint16_t>(HexField(t, 9, 4)),
            static_cast<uint16_t>(HexField(t, 14, 4)),
            {}};
  const int byteOffsets[8] = {19, 21, 24, 26, 28, 30, 32, 34};
  for (int i = 0; i < 8; ++i) guid.Data4[i] = static_cast<uint8_t>(HexField(t, byteOffsets[i], 2));
  return guid;
}

}  // namespace platform
