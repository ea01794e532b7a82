#include "paths.h"

#include "unicode.h"

namespace platform {

std::string HostPathFromPlatform(std::wstring_view path) {
  std::wstring unix(path);
  for (auto& c : unix)
    if (c == L'\\') c = L'/';
  if (unix.size() >= 2 && unix[1] == L':') {
    if (unix[0] != L'Z' && unix[0] != L'z') return "/nonexistent-drive/" + Utf8FromWide(unix.substr(0, 1));
    unix.erase(0, 2);
    if (unix.empty()) unix = L"/";
  }
  return Utf8FromWide(unix);
}

std::wstring PlatformPathFromHost(std::string_view path) {
  std::wstring wide = WideFromUtf8(path);
  for (auto& c : wide)
    if (c == L'/') c = L'\\';
  if (!wide.empty() && wide[0] == L'\\') wide.insert(0, L"Z:");
  return wide;
}

}  // namespace platform
