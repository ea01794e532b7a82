// Live-object counts: every reference-counted class of the framework counts its objects from
// construction to destruction, so that a test can say "leaked 2 x CPVPageCorvaneCALC" instead
// of a bare leak report.
//
// How a test reads them:
// - in a binary that links the framework: PVLiveObjectCount("CPVGetSetValue") and
//   PVLiveObjectReportText() (empty when every count is zero);
// - for a DLL the test has loaded (each DLL has its own copy of the framework and so its own
//   counts): CPVLiveObjects(module).Count(...) and .Report(). The framework hands its readers
//   to the platform's module test hooks, so this works for every DLL built with the
//   framework, the product DLLs too, without an export. Only the stand-in has those hooks:
//   on Windows the objects are counted, but no other module can read the counts.
//
// Class names are the C++ names as written ("CPVPropPageClassFactory<CTestPage>").
#pragma once

#include <windows.h>

#if defined(PLATFORM_TEST_HOOKS)
#include <platform/testing_modules.h>
#endif

#include <atomic>
#include <cstddef>
#include <string>
#include <typeinfo>

// The counter of one class; registered in the module's list on first use.
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

// Counts the object it is a member of under class T: for a class that cannot derive from the
// framework's COM object root (a class of the platform's class library).
template <class T>
class CPVLiveObject {
 public:
  CPVLiveObject() { ++PVLiveCounterOf<T>().live; }
  CPVLiveObject(const CPVLiveObject&) : CPVLiveObject() {}
  CPVLiveObject& operator=(const CPVLiveObject&) { return *this; }
  ~CPVLiveObject() { --PVLiveCounterOf<T>().live; }
};

// The live objects of the class named className; 0 for a class that has never been counted.
LONG PVLiveObjectCount(const char* className);
// Every class with live objects as "2 x CPVPanel, 1 x CPVGetSetValue" in the order the
// classes were first counted; empty when every count is zero. As snprintf: writes at most
// size - 1 characters and a terminator into buffer (which may be null when size is 0) and
// returns the length of the whole report.
size_t PVLiveObjectReport(char* buffer, size_t size);

// The report as a string, through report (PVLiveObjectReport or a DLL's reader of it).
inline std::string PVLiveObjectReportText(size_t (*report)(char*, size_t) = PVLiveObjectReport) {
  std::string text(report(nullptr, 0), '\0');
  report(text.data(), text.size() + 1);
  return text;
}

#if defined(PLATFORM_TEST_HOOKS)
// The counts of a loaded module; a module without the framework (or that has not counted an
// object yet) reads as "nothing alive", and Available() is false.
class CPVLiveObjects {
 public:
  explicit CPVLiveObjects(HMODULE module) {
    if (!platform::modules::FindLiveObjectReaders(module, &m_readers)) m_readers = {};
  }

  bool Available() const { return m_readers.count && m_readers.report; }
  LONG Count(const char* className) const { return m_readers.count ? m_readers.count(className) : 0; }
  std::string Report() const { return m_readers.report ? PVLiveObjectReportText(m_readers.report) : ""; }

 private:
  platform::modules::LiveObjectReaders m_readers{};
};
#endif  // PLATFORM_TEST_HOOKS
