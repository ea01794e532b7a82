// Text helpers of the host command line: what it prints is UTF-8.
#pragma once

#include <windows.h>

#include <string>

namespace hostcli {

// The text as UTF-8 (characters beyond the basic plane included).
inline std::string Utf8(const std::wstring& text) {
  std::string out;
  for (wchar_t wc : text) {
    const auto c = static_cast<uint32_t>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

// An argument of the command line as a wide text (UTF-8 decoded; a malformed byte becomes
// U+FFFD).
inline std::wstring Wide(const std::string& text) {
  std::wstring out;
  for (size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    if (length == 0 || i + length > text.size()) {
      out += L'\uFFFD';
      ++i;
      continue;
    }
    uint32_t code = length == 1 ? c : c & (0x7F >> length);
    bool valid = true;
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = valid && (next & 0xC0) == 0x80;
      code = (code << 6) | (next & 0x3F);
    }
    out += valid ? static_cast<wchar_t>(code) : L'\uFFFD';
    i += valid ? length : 1;
  }
  return out;
}

// The text as printed in a report: quoted, with quotes and control characters escaped.
inline std::string Quoted(const std::wstring& text) {
  std::string out = "\"";
  for (wchar_t c : text) {
    if (c == L'"' || c == L'\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c == L'\n') {
      out += "\\n";
    } else if (c == L'\r') {
      out += "\\r";
    } else if (c == L'\t') {
      out += "\\t";
    } else {
      out += Utf8(std::wstring(1, c));
    }
  }
  return out + "\"";
}

}  // namespace hostcli
