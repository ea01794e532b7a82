// Test hooks of the module loader: pseudo-module failures for callers' failure paths, and the
// loaded-module table for leak checks.
#pragma once

#include <cstddef>
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
