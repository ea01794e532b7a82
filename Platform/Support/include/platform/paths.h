// The platform's view of the file system: the whole host file system is drive Z:, with
// backslashes ("/opt/profiles/CorvaneView.dll" is "Z:\opt\profiles\CorvaneView.dll").
// Every platform function that hands out a path gives this form; every one that touches a
// file maps it back with HostPathFromPlatform. Hosts and tools use the same mapping.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/support_api.h"

namespace platform {

// "Z:\a\b" -> "/a/b"; a relative "a\b" -> "a/b"; a path on any other drive maps to a
// location that does not exist, so it is never found.
SUPPORT_API std::string HostPathFromPlatform(std::wstring_view path);

// "/a/b" -> "Z:\a\b"; a relative "a/b" -> "a\b".
SUPPORT_API std::wstring PlatformPathFromHost(std::string_view path);

// The bound on a file that a host or tool reads whole (registry files, module definitions).
constexpr size_t kMaxWholeFileSize = size_t{64} << 20;

// Reads a host file whole into *text. Returns true, or false with *why (optional) saying what
// the path is instead: "no such file", "a directory, not a file", "cannot open the file",
// "larger than 64 MiB" (more than kMaxWholeFileSize bytes) or "cannot read the file".
SUPPORT_API bool ReadWholeHostFile(const std::filesystem::path& hostPath, std::string* text,
                                   std::string* why = nullptr);

}  // namespace platform
