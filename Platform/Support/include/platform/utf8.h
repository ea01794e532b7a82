// UTF-8 text for hosts and tools: the platform's MultiByteToWideChar and WideCharToMultiByte
// for CP_UTF8 in the shape a caller of std::string wants, with their rule for ill-formed
// text (each ill-formed part becomes U+FFFD; see winnls.h).
#pragma once

#include <climits>
#include <string>
#include <string_view>

#include "winnls.h"

namespace platform {

inline std::wstring WideFromUtf8Text(std::string_view text) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return {};
  const int bytes = static_cast<int>(text.size());
  const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
  std::wstring wide(static_cast<size_t>(size > 0 ? size : 0), L'\0');
  if (size > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, wide.data(), size);
  return wide;
}

inline std::string Utf8TextFromWide(std::wstring_view text) {
  if (text.empty() || text.size() > static_cast<size_t>(INT_MAX)) return {};
  const int characters = static_cast<int>(text.size());
  const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), characters, nullptr, 0, nullptr, nullptr);
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (size > 0)
    WideCharToMultiByte(CP_UTF8, 0, text.data(), characters, bytes.data(), size, nullptr, nullptr);
  return bytes;
}

}  // namespace platform
