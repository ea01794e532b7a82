// Text in 16-bit units, as the platform's files and resources hold it whatever the size of
// wchar_t: the resource compiler and the dialog-template writer share this one conversion.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// A character beyond the basic plane becomes its surrogate pair, a value above U+10FFFF
// becomes U+FFFD; every other unit (a surrogate of a pair already split, too) is kept.
inline std::u16string Utf16FromWide(std::wstring_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (wchar_t unit : text) {
    auto c = static_cast<uint32_t>(unit);
    if (c > 0x10FFFF) c = 0xFFFD;
    if (c > 0xFFFF) {
      out += static_cast<char16_t>(0xD800 + ((c - 0x10000) >> 10));
      out += static_cast<char16_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
    } else {
      out += static_cast<char16_t>(c);
    }
  }
  return out;
}

}  // namespace platform
