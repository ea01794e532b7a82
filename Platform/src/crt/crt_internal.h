// The runtime's locale objects on the host C library's locales.
#pragma once

#include <clocale>
#include <locale.h>

struct PlatformCrtLocale {
  locale_t handle;
};

namespace platform::crt {

// Makes the locale current for the calling thread while it lives (the current one for null).
class ScopedThreadLocale {
 public:
  explicit ScopedThreadLocale(const PlatformCrtLocale* locale)
      : previous_(locale ? uselocale(locale->handle) : nullptr) {}
  ~ScopedThreadLocale() {
    if (previous_) uselocale(previous_);
  }
  ScopedThreadLocale(const ScopedThreadLocale&) = delete;
  ScopedThreadLocale& operator=(const ScopedThreadLocale&) = delete;

 private:
  locale_t previous_;
};

}  // namespace platform::crt
