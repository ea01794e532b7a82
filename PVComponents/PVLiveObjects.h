// Live-object counts: every reference-counted class of the framework counts its objects from
// construction to destruction, so that a test can say "leaked 2 x CPVPageCorvaneCALC" instead
// of a bare leak report.
//
// How a test reads them:
// - in a binary that links the framework: PVLiveObjectCount("CPVGetSetValue") and
//   PVLiveObjectReportText() (empty when every count is zero);
// - for a view DLL the test has loaded (each DLL has its own copy of the framework and so its
//   own counts): CPVLiveObjects(module).Count(...) and .Report(), through the same two
//   functions exported by the DLL. Test DLLs export them (their exports map lists
//   "PVLiveObject*"); the product DLLs keep them hidden.
//
// Class names are the C++ names as written ("CPVPropPageClassFactory<CTestPage>").
#pragma once

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <typeinfo>

// The counter of one class; registered in the process-wide list on first use.
struct CPVLiveCounter {
  std::string name;
  std::atomic<LONG> live{0};
  CPVLiveCounter* next = nullptr;
};

// Adds the counter of the class whose mangled type name is typeName to the list; called once
// per class (from PVLiveCounterOf).
CPVLiveCounter& PVRegisterLiveCounter(CPVLiveCounter& counter, const char* typeName);

// The counter of class T.
template <class T>
CPVLiveCounter& PVLiveCounterOf() {
  static CPVLiveCounter counter;
  static CPVLiveCounter& registered = PVRegisterLiveCounter(counter, typeid(T).name());
  return registered;
}

// The live objects of the class named className; 0 for a class that has never been counted.
extern "C" __attribute__((visibility("default"))) LONG PVLiveObjectCount(const char* className);
// Every class with live objects as "2 x CPVPanel, 1 x CPVGetSetValue" in the order the
// classes were first counted; empty when every count is zero. As snprintf: writes at most
// size - 1 characters and a terminator into buffer (which may be null when size is 0) and
// returns the length of the whole report. (A caller's buffer, because the DLL that answers may
// be unloaded before the caller's thread ends.)
extern "C" __attribute__((visibility("default"))) size_t PVLiveObjectReport(char* buffer, size_t size);

// The report as a string, through report (PVLiveObjectReport or a DLL's export of it).
inline std::string PVLiveObjectReportText(size_t (*report)(char*, size_t) = PVLiveObjectReport) {
  std::string text(report(nullptr, 0), '\0');
  report(text.data(), text.size() + 1);
  return text;
}

// The counts of a loaded DLL through its exports; a DLL that does not export them reads as
// "nothing alive" and Available() is false.
class CPVLiveObjects {
 public:
  explicit CPVLiveObjects(HMODULE module)
      : m_count(reinterpret_cast<LONG (*)(const char*)>(
            reinterpret_cast<void*>(GetProcAddress(module, "PVLiveObjectCount")))),
        m_report(reinterpret_cast<size_t (*)(char*, size_t)>(
            reinterpret_cast<void*>(GetProcAddress(module, "PVLiveObjectReport")))) {}

  bool Available() const { return m_count && m_report; }
  LONG Count(const char* className) const { return m_count ? m_count(className) : 0; }
  std::string Report() const { return m_report ? PVLiveObjectReportText(m_report) : ""; }

 private:
  LONG (*m_count)(const char*);
  size_t (*m_report)(char*, size_t);
};
