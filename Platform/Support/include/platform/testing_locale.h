// A numeric locale whose decimal point is ',' for tests of locale-independent reading and
// writing: German, under the Linux C library's names (scripts/setup generates it) or the
// platform runtime's. For tests only.
#pragma once

#include <clocale>

namespace platform::test_support {

// Makes the C runtime's numeric locale the German one; the name taken, or null when the
// machine has none of them.
inline const char* SetCommaNumericLocale() {
  for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "German_Germany.1252"})
    if (std::setlocale(LC_NUMERIC, name)) return name;
  return nullptr;
}

}  // namespace platform::test_support
