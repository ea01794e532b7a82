// Test hooks of the module loader: pseudo-module failures for callers' failure paths, and the
// loaded-module table for leak checks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "../wtypesbase.h"

namespace platform::modules {

// Makes GetProcAddress(module, name) return address; a null address makes the export missing
// (ERROR_PROC_NOT_FOUND). module: "KERNEL32", "shfolder.dll" or "COMCTL32", any case, ".dll"
// optional.
// Returns false for another module name.
PLATFORM_API bool SetPseudoModuleExport(const wchar_t* module, const char* name, void* address);

// available false: LoadLibraryW, GetModuleHandleW and GetProcAddress of the pseudo-module fail
// with ERROR_MOD_NOT_FOUND, as if its file were absent. Returns false for another module name.
PLATFORM_API bool SetPseudoModuleAvailable(const wchar_t* module, bool available);

// Restores every pseudo-module: available, its default exports, its reference count.
PLATFORM_API void ResetPseudoModules();

// The number of loaded modules and data-file handles, not counting the executable and the
// pseudo-modules: a test that frees everything it loaded ends with the count it started with.
PLATFORM_API size_t LoadedModuleCount();

// Whether the file at path (platform form) is loaded as a module or a data file, compared by
// its real path.
PLATFORM_API bool IsLoaded(const wchar_t* path);

// The module's reference count (0 for an unknown handle).
PLATFORM_API int ReferenceCount(HMODULE module);

// Why the last load failed, for test and host messages (dlopen's text, "DllMain returned FALSE",
// "no such file", "... resource section").
PLATFORM_API std::string LastLoadDiagnostic();

}  // namespace platform::modules

namespace platform::modules {

// The live-object counts of a module's own copy of a framework, for tests: each DLL keeps its
// own counts (its classes are hidden), so a module hands the platform its two readers and a
// test finds them by the module's handle, without the module exporting anything.
// count(className): the live objects of that class; report(buffer, size): every class with
// live objects as text, as snprintf (the length of the whole text).
struct LiveObjectReaders {
  int32_t (*count)(const char* className);
  size_t (*report)(char* buffer, size_t size);
};

// Adds the readers (once per module: the framework does it when it counts its first object)
// and removes them again (when the module unloads).
PLATFORM_API void RegisterLiveObjectReaders(LiveObjectReaders readers);
PLATFORM_API void UnregisterLiveObjectReaders(LiveObjectReaders readers);

// The readers that were registered from inside module (the executable for
// GetModuleHandleW(nullptr)); false when it registered none.
PLATFORM_API bool FindLiveObjectReaders(HMODULE module, LiveObjectReaders* readers);

}  // namespace platform::modules
