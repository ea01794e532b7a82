// Wide texts in test messages: printed as ASCII, every other character as '?', so that a
// failed expectation reads the same in any terminal. For tests only.
#pragma once

#include <string>

namespace platform::test_support {

inline std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace platform::test_support
