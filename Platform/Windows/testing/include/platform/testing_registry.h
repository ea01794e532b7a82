// The registry hooks of the tests on the platform's own registry. What a test registers must
// reach the platform's COM, which reads the machine's classes root itself (it does not follow
// a predefined key the process overrides), so a test's registrations go to the real classes
// root; Reset takes it back to what it held when the tests first looked at it, and Dump shows
// what the tests added. Fault injection has no counterpart on the platform: those hooks fail
// the test that calls them.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace platform::registry {

// Deletes every key the tests added under HKEY_CLASSES_ROOT: a key of its own at the top, or
// one under CLSID, AppID, TypeLib or Interface (the keys a server's registration writes
// into). The first call (or Dump's) takes what is there as the starting point.
void Reset();

// What the tests added under HKEY_CLASSES_ROOT in the form of the stand-in's dump: one line
// per key, indented by depth, its values beneath it (`@ = REG_SZ "text\0"`); a key that was
// there at the start shows only with what was added beneath it. The other roots are named and
// not enumerated: the servers write only under HKEY_CLASSES_ROOT.
std::wstring Dump();

// Not on the platform: each fails the calling test.
void SetFaultHook(std::function<LONG(std::wstring_view function)> hook);
void FailNthCall(std::wstring_view function, int n, LONG error);
void ClearFaults();

inline void FailNthCallAndName(int n, LONG error, std::wstring* failed) {
  failed->clear();
  SetFaultHook([n, error, failed, calls = std::make_shared<int>(0)](std::wstring_view function) -> LONG {
    if (++*calls != n) return ERROR_SUCCESS;
    *failed = function;
    return error;
  });
}

template <class Prepare, class Act, class Check>
void FailEachCallInTurn(LONG error, Prepare prepare, Act act, Check check) {
  std::wstring failed;
  FailNthCallAndName(1, error, &failed);
  (void)prepare;
  (void)act;
  (void)check;
}

}  // namespace platform::registry
