// A COM object's reference count, for the objects of the operating system's stand-in and of
// the class libraries alike.
#pragma once

#include <atomic>
#include <cassert>
#include <cstdint>

namespace platform {

// Starts at 1 (the creator's reference). Release returns the value its atomic decrement gave,
// and asserts on a release below zero.
class RefCount {
 public:
  std::uint32_t AddRef() { return count_.fetch_add(1, std::memory_order_relaxed) + 1; }
  std::uint32_t Release() {
    const std::uint32_t before = count_.fetch_sub(1, std::memory_order_acq_rel);
    assert(before != 0 && "Release below zero");
    return before - 1;
  }

 private:
  std::atomic<std::uint32_t> count_{1};
};

}  // namespace platform
