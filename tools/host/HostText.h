// Text helpers of the host command line: what it prints is UTF-8.
#pragma once

#include <windows.h>

#include <platform/utf8.h>

#include <string>

namespace hostcli {

// The text as UTF-8, and an argument of the command line as a wide text (each ill-formed
// part of it becomes U+FFFD), by the platform's conversion.
inline std::string Utf8(const std::wstring& text) {
  return platform::Utf8TextFromWide(text);
}
inline std::wstring Wide(const std::string& text) {
  return platform::WideFromUtf8Text(text);
}

// A window's class name and its text.
inline std::wstring ClassOf(HWND window) {
  wchar_t name[64] = L"";
  GetClassNameW(window, name, 64);
  return name;
}
inline std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

// Whether the window is a group box: a button that only frames other items with its caption.
inline bool IsGroupBox(HWND window) {
  return _wcsicmp(ClassOf(window).c_str(), L"Button") == 0 &&
         (GetWindowLongW(window, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX;
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
