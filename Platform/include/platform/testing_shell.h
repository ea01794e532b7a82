// Host and test hooks of the shell's special folders.
#pragma once

#include <string>

#include "../shlobj.h"  // the CSIDL_ constants the hooks take

namespace platform::shell {

// Makes SHGetFolderPathW(csidl) return path (platform form, taken as it is, not created).
// An empty path restores the default: a folder under the host's temporary directory
// ("...\platform-shell-<user>\Program Files" and so on), created on first use.
PLATFORM_API void SetFolderPath(int csidl, std::wstring path);

// Restores every folder's default.
PLATFORM_API void ResetFolderPaths();

}  // namespace platform::shell
