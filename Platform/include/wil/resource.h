// Owners of platform resources: one generic move-only owner, wil::unique_any<T, Close>, and a
// one-line alias per resource. Interface pointers are owned by _com_ptr_t (comip.h), the
// project's one smart-pointer family for COM.
#pragma once

#include <type_traits>
#include <utility>

#include "../libloaderapi.h"
#include "../oleauto.h"
#include "../objbase.h"
#include "../winreg.h"

namespace wil {

// Owns one T and frees it with Close. Close takes either the value (a handle, a pointer:
// freed when it is not T{}) or its address (a structure such as VARIANT, closed in place:
// always closed, then T{} again).
template <class T, auto Close>
class unique_any {
  static constexpr bool kClosedInPlace =
      std::is_invocable_v<decltype(Close), T*> && !std::is_invocable_v<decltype(Close), T>;

 public:
  unique_any() noexcept = default;
  explicit unique_any(T value) noexcept : value_(value) {}
  unique_any(unique_any&& other) noexcept : value_(other.release()) {}
  unique_any& operator=(unique_any&& other) noexcept {
    if (this != &other) reset(other.release());
    return *this;
  }
  unique_any(const unique_any&) = delete;
  unique_any& operator=(const unique_any&) = delete;
  ~unique_any() { reset(); }

  // The owned value, still owned.
  const T& get() const noexcept { return value_; }
  T& get() noexcept { return value_; }

  // Frees the owned value first, then gives its slot for an out-parameter.
  T* put() noexcept {
    reset();
    return &value_;
  }
  // The slot itself, without freeing (for in/out parameters).
  T* addressof() noexcept { return &value_; }

  // Hands the value over to the caller and owns nothing.
  T release() noexcept { return std::exchange(value_, T{}); }

  // Frees the owned value and owns value instead.
  void reset(T value = T{}) noexcept {
    T old = std::exchange(value_, value);
    if constexpr (kClosedInPlace) {
      Close(&old);
    } else {
      if (old != T{}) Close(old);
    }
  }

  // Whether a value is owned (handle and pointer owners).
  explicit operator bool() const noexcept requires(!kClosedInPlace) { return value_ != T{}; }

 private:
  T value_{};
};

using unique_bstr = unique_any<BSTR, SysFreeString>;
using unique_variant = unique_any<VARIANT, VariantClear>;
using unique_cotaskmem_string = unique_any<PWSTR, CoTaskMemFree>;
using unique_safearray = unique_any<SAFEARRAY*, SafeArrayDestroy>;
using unique_hkey = unique_any<HKEY, RegCloseKey>;
using unique_hmodule = unique_any<HMODULE, FreeLibrary>;

}  // namespace wil
