// HRESULTs in test expectations: compared as values and printed as 0x%08X, so a failed
// expectation shows the codes a reader can look up. For tests only.
//
//   EXPECT_HR(S_OK, hr);                  // or EXPECT_EQ(Hr(S_OK), Hr(hr))
#pragma once

#include <cstdio>
#include <ostream>
#include <string>

#include <winerror.h>

namespace platform::test_support {

inline std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// An HRESULT that compares by value and prints in hexadecimal.
struct Hr {
  HRESULT value;
  explicit Hr(HRESULT hr) : value(hr) {}
  bool operator==(const Hr& other) const { return value == other.value; }
  friend void PrintTo(const Hr& hr, std::ostream* os) { *os << Hex(hr.value); }
};

}  // namespace platform::test_support

#define EXPECT_HR(expected, actual) \
  EXPECT_EQ(::platform::test_support::Hex(expected), ::platform::test_support::Hex(actual))
#define ASSERT_HR(expected, actual) \
  ASSERT_EQ(::platform::test_support::Hex(expected), ::platform::test_support::Hex(actual))
