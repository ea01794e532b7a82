// Conversions between the platform's wide strings (UTF-32 in wchar_t here) and the UTF-8 that
// the host operating system's file and library functions take.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// The one UTF-8 conversion of the platform (MultiByteToWideChar and WideCharToMultiByte for
// CP_UTF8 are built on it, and so is every other conversion of the stand-in).
//
// Decoding follows the well-formed byte sequences of the Unicode standard: an overlong form,
// an encoded surrogate, a value above U+10FFFF, a stray continuation byte and a sequence cut
// short are ill-formed, and each maximal ill-formed part (a lead byte with the continuation
// bytes that fitted it so far, or one byte that cannot begin a sequence) becomes one U+FFFD.
// Encoding takes a wide character as a code point (wchar_t holds one whole code point here);
// a high surrogate followed by a low one, as the platform's UTF-16 text has them, is combined
// into its code point; a lone surrogate and a value above U+10FFFF are ill-formed and become
// U+FFFD. With failOnInvalid, the first ill-formed part ends the conversion instead: the
// result is false and out holds what came before it.
bool DecodeUtf8(std::string_view text, std::wstring& out, bool failOnInvalid);
bool EncodeUtf8(std::wstring_view text, std::string& out, bool failOnInvalid);

// The conversions with U+FFFD for ill-formed parts.
std::string Utf8FromWide(std::wstring_view text);
std::wstring WideFromUtf8(std::string_view text);

// Case-insensitive comparison as the platform does it for names (registry keys, module
// names, CLSID texts): simple per-character case folding.
int CompareNoCase(std::wstring_view a, std::wstring_view b);
wchar_t FoldCase(wchar_t c);

}  // namespace platform
