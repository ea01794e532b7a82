// Host and test hooks of the in-memory registry: reset, save and load, a readable dump,
// failure injection and a count of open handles.
#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "../winreg.h"

namespace platform::registry {

// Empties the hive (the predefined keys stay, without subkeys or values). Handles that are
// open stay open and valid; calls through them fail with ERROR_KEY_DELETED.
PLATFORM_API void Reset();

// The whole hive as text, in the format LoadFromText reads: a first line "PLATFORM-REGISTRY 1",
// then for every key a line `key "ROOT\\Sub\\Key"` followed by its values, one line each:
// `value "name" TYPE DATA` where TYPE is none, sz, expand_sz, binary, dword, multi_sz, qword or
// a decimal number, and DATA is a quoted text of WCHARs (string types whose size is a whole
// number of WCHARs; a terminator shows as \0), 0x12345678 (4-byte dword), or hex:0a0b...
// (any other bytes). Quoted texts escape \\ \" \0 \n \r \t and write every character outside
// printable ASCII as \u{hex}. Lines that start with '#' and empty lines are ignored.
PLATFORM_API std::string SaveToText();

// Replaces the hive with the text's keys and values. Returns ERROR_SUCCESS, or
// ERROR_INVALID_DATA for a text it does not accept (unknown format line, bad quoting or hex,
// a value before any key, an unknown root); then the hive is unchanged and *error (optional)
// says which line and why. Handles open before a successful load refer to deleted keys.
PLATFORM_API LONG LoadFromText(std::string_view text, std::string* error = nullptr);

// SaveToText into a host file: written to a temporary file in the same folder and renamed
// over the old one, so the file holds the old hive or the new one, never a part. A symbolic
// link is followed: its target is replaced and the link stays. An existing file keeps its
// permissions. Returns ERROR_SUCCESS, ERROR_ACCESS_DENIED (an existing file the caller may not
// write) or ERROR_CANTWRITE; on failure the old file is unchanged and *error (optional) says why.
PLATFORM_API LONG SaveToFile(const std::filesystem::path& hostPath, std::string* error = nullptr);
// LoadFromText from a host file. Returns ERROR_SUCCESS, ERROR_FILE_NOT_FOUND, ERROR_CANTREAD
// (a directory, a file that cannot be read or one larger than 64 MiB, with *error saying
// which), or ERROR_INVALID_DATA (as LoadFromText; the hive is unchanged).
PLATFORM_API LONG LoadFromFile(const std::filesystem::path& hostPath, std::string* error = nullptr);

// The whole tree for test diagnostics: one line per key, indented by depth, its values
// beneath it as `@ = REG_SZ "text"` or `name = REG_DWORD 0x00000001`.
PLATFORM_API std::wstring Dump();

// The number of open handles from RegCreateKeyExW/RegOpenKeyExW not yet closed.
PLATFORM_API int OpenHandleCount();
// Closes every such handle, for a test that left some open on purpose (a close made to fail).
PLATFORM_API void CloseAllHandles();

// Called at the start of every Reg* call with the function's name ("RegCreateKeyExW",
// "RegCloseKey", ...). A non-zero result makes the call return that error at once, with no
// side effect (RegCloseKey then leaves the handle open). An empty function removes the hook.
PLATFORM_API void SetFaultHook(std::function<LONG(std::wstring_view function)> hook);

// Makes the nth call (counting from 1, from now on) of the named function fail with error;
// an empty function counts every Reg* call. Several such rules can be armed at once; each
// fires once. They apply after the fault hook.
PLATFORM_API void FailNthCall(std::wstring_view function, int n, LONG error);

// Sets a fault hook that makes the nth Reg* call from now on (counting from 1; 0 fails none)
// fail with error and writes that call's function name to *failed, which stays empty while no
// call has failed. *failed must outlive the hook.
inline void FailNthCallAndName(int n, LONG error, std::wstring* failed) {
  failed->clear();
  // The registry calls a copy of the hook each time, so the count is shared, not the copy's.
  SetFaultHook([n, error, failed, calls = std::make_shared<int>(0)](std::wstring_view function) -> LONG {
    if (++*calls != n) return ERROR_SUCCESS;
    *failed = function;
    return error;
  });
}

// Removes the fault hook and every FailNthCall rule.
PLATFORM_API void ClearFaults();

// Makes every Reg* call of act fail in turn: for n = 1, 2, ... runs prepare (unfaulted), then
// act with its nth registry call failing with error, then check(n, the failed function's name,
// act's result); it stops at the first run in which act makes fewer than n calls.
template <class Prepare, class Act, class Check>
void FailEachCallInTurn(LONG error, Prepare prepare, Act act, Check check) {
  for (int n = 1;; ++n) {
    prepare();
    std::wstring failed;
    FailNthCallAndName(n, error, &failed);
    const auto result = act();
    ClearFaults();
    if (failed.empty()) return;
    check(n, failed, result);
  }
}

}  // namespace platform::registry
