#include "platform/paths.h"

#include <fstream>

#include "platform/utf8.h"

namespace platform {

std::string HostPathFromPlatform(std::wstring_view path) {
  std::wstring unix(path);
  for (auto& c : unix)
    if (c == L'\\') c = L'/';
  if (unix.size() >= 2 && unix[1] == L':') {
    if (unix[0] != L'Z' && unix[0] != L'z')
      return "/nonexistent-drive/" + Utf8TextFromWide(unix.substr(0, 1));
    unix.erase(0, 2);
    if (unix.empty()) unix = L"/";
  }
  return Utf8TextFromWide(unix);
}

std::wstring PlatformPathFromHost(std::string_view path) {
  std::wstring wide = WideFromUtf8Text(path);
  for (auto& c : wide)
    if (c == L'/') c = L'\\';
  if (!wide.empty() && wide[0] == L'\\') wide.insert(0, L"Z:");
  return wide;
}

bool ReadWholeHostFile(const std::filesystem::path& hostPath, std::string* text, std::string* why) {
  auto fail = [why](const char* reason) {
    if (why) *why = reason;
    return false;
  };
  text->clear();
  std::error_code ec;
  const auto status = std::filesystem::status(hostPath, ec);
  if (!std::filesystem::exists(status)) return fail("no such file");
  if (std::filesystem::is_directory(status)) return fail("a directory, not a file");
  std::ifstream file(hostPath, std::ios::binary);
  if (!file) return fail("cannot open the file");
  // Read in pieces up to one byte past the bound: the size a special file reports proves
  // nothing.
  char buffer[65536];
  while (file) {
    file.read(buffer, sizeof buffer);
    text->append(buffer, static_cast<size_t>(file.gcount()));
    if (text->size() > kMaxWholeFileSize) {
      text->clear();
      return fail("larger than 64 MiB");
    }
  }
  if (file.bad()) {
    text->clear();
    return fail("cannot read the file");
  }
  return true;
}

}  // namespace platform
