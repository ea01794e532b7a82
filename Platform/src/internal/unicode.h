// Conversions between the platform's wide strings (UTF-32 in wchar_t here) and the UTF-8 that
// the host operating system's file and library functions take.
#pragma once

#include <string>
#include <string_view>

namespace platform {

std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// Case-insensitive comparison as the platform does it for names (registry keys, module
// names, CLSID texts): simple per-character case folding.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
wchar_t FoldCase(wchar_t c);

}  // namespace platform
