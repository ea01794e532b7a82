#include "PVLiveObjects.h"

#include <cxxabi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace {

// The list of every counter, in the order the classes were first counted. Counters are
// static objects of their class's template and live until the module ends.
std::mutex g_countersLock;
CPVLiveCounter* g_firstCounter = nullptr;
CPVLiveCounter** g_lastLink = &g_firstCounter;

#if defined(PLATFORM_TEST_HOOKS)
// The module's readers stay with the platform from its first counted class to its unload.
class ReadersRegistration {
 public:
  void Ensure() {
    if (m_registered) return;
    platform::modules::RegisterLiveObjectReaders({&PVLiveObjectCount, &PVLiveObjectReport});
    m_registered = true;
  }
  ~ReadersRegistration() {
    if (m_registered)
      platform::modules::UnregisterLiveObjectReaders({&PVLiveObjectCount, &PVLiveObjectReport});
  }

 private:
  bool m_registered = false;
};
#else
// Without the stand-in's module hooks nobody outside the module reads its counts.
struct ReadersRegistration {
  void Ensure() {}
};
#endif
ReadersRegistration g_readers;

}  // namespace

CPVLiveCounter& PVRegisterLiveCounter(CPVLiveCounter& counter, const char* typeName) {
  int status = 0;
  char* readable = abi::__cxa_demangle(typeName, nullptr, nullptr, &status);
  counter.name = readable ? readable : typeName;
  std::free(readable);
  const std::lock_guard<std::mutex> guard(g_countersLock);
  *g_lastLink = &counter;
  g_lastLink = &counter.next;
  g_readers.Ensure();
  return counter;
}

LONG PVLiveObjectCount(const char* className) {
  if (!className) return 0;
  const std::lock_guard<std::mutex> guard(g_countersLock);
  for (const CPVLiveCounter* counter = g_firstCounter; counter; counter = counter->next)
    if (counter->name == className) return counter->live.load();
  return 0;
}

size_t PVLiveObjectReport(char* buffer, size_t size) {
  std::string report;
  {
    const std::lock_guard<std::mutex> guard(g_countersLock);
    for (const CPVLiveCounter* counter = g_firstCounter; counter; counter = counter->next) {
      const LONG live = counter->live.load();
      if (live == 0) continue;
      if (!report.empty()) report += ", ";
      report += std::to_string(live) + " x " + counter->name;
    }
  }
  if (buffer && size > 0) {
    const size_t copied = std::min(report.size(), size - 1);
    std::memcpy(buffer, report.data(), copied);
    buffer[copied] = '\0';
  }
  return report.size();
}
