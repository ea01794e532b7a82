// Text rules for paths in the platform's form, shared by the file calls and the shell's path
// helpers so that both resolve "." and ".." the same way.
#pragma once

#include <string>
#include <string_view>

namespace platform::kernel {

// The length of the path's root: "X:\" 3, "X:" 2 (drive-relative), "\\server\share\" up to and
// including the backslash after the share, "\" 1, a relative path 0. Expects backslashes.
size_t RootLength(std::wstring_view path);

// Resolves "." and ".." components and collapses doubled backslashes after the root. A ".."
// never climbs above a root; in a relative path, leading ".." components stay. A trailing
// backslash stays when the result has components after its root.
std::wstring CollapseDots(std::wstring_view path);

// '/' to '\'.
std::wstring WithBackslashes(std::wstring_view path);

// Maps a host error number to the platform's error code for an operation on platformPath:
// a missing file is ERROR_FILE_NOT_FOUND, or ERROR_PATH_NOT_FOUND when its folder is missing.
unsigned long ErrorFromErrno(int error, std::wstring_view platformPath);

}  // namespace platform::kernel
