// The registered live-object readers of the loaded modules (a test hook): each module's
// readers are found by the module that holds their code.
#include <platform/testing_modules.h>

#include <algorithm>
#include <mutex>
#include <vector>

#include "libloaderapi.h"

namespace {

std::mutex g_lock;
std::vector<platform::modules::LiveObjectReaders>& Readers() {
  // Never destroyed: modules unregister from their own static destructors, which may run after
  // the platform's.
  static auto* readers = new std::vector<platform::modules::LiveObjectReaders>();
  return *readers;
}

}  // namespace

namespace platform::modules {

void RegisterLiveObjectReaders(LiveObjectReaders readers) {
  if (!readers.count || !readers.report) return;
  const std::lock_guard<std::mutex> guard(g_lock);
  Readers().push_back(readers);
}

void UnregisterLiveObjectReaders(LiveObjectReaders readers) {
  const std::lock_guard<std::mutex> guard(g_lock);
  auto& all = Readers();
  all.erase(std::remove_if(all.begin(), all.end(),
                           [&](const LiveObjectReaders& r) { return r.count == readers.count; }),
            all.end());
}

bool FindLiveObjectReaders(HMODULE module, LiveObjectReaders* readers) {
  if (!module || !readers) return false;
  std::vector<LiveObjectReaders> registered;
  {
    // Not held while the loader is asked: a module that unloads takes the loader's lock first.
    const std::lock_guard<std::mutex> guard(g_lock);
    registered = Readers();
  }
  for (const LiveObjectReaders& candidate : registered) {
    HMODULE owner = nullptr;
    if (GetModuleHandleExW(
            GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
            reinterpret_cast<LPCWSTR>(reinterpret_cast<void*>(candidate.count)), &owner) &&
        owner == module) {
      *readers = candidate;
      return true;
    }
  }
  return false;
}

}  // namespace platform::modules
