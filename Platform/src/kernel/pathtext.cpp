#include "pathtext.h"

#include <cerrno>
#include <sys/stat.h>
#include <vector>

#include "../internal/paths.h"
#include "winerror.h"

namespace platform::kernel {

size_t RootLength(std::wstring_view path) {
  if (path.size() >= 2 && path[0] == L'\\' && path[1] == L'\\') {
    // "\\server\share\": two components after the doubled backslash.
    size_t end = 2;
    for (int component = 0; component < 2 && end < path.size(); ++component) {
      const size_t slash = path.find(L'\\', end);
      if (slash == std::wstring_view::npos) return path.size();
      end = slash + 1;
    }
    return end;
  }
  if (path.size() >= 2 && path[1] == L':') return path.size() >= 3 && path[2] == L'\\' ? 3 : 2;
  if (!path.empty() && path[0] == L'\\') return 1;
  return 0;
}

std::wstring CollapseDots(std::wstring_view path) {
  const size_t rootLength = RootLength(path);
  std::wstring result(path.substr(0, rootLength));
  std::vector<std::wstring_view> components;
  std::wstring_view rest = path.substr(rootLength);
  const bool trailingSlash = !rest.empty() && rest.back() == L'\\';
  while (!rest.empty()) {
    const size_t slash = rest.find(L'\\');
    const std::wstring_view name = rest.substr(0, slash);
    rest.remove_prefix(slash == std::wstring_view::npos ? rest.size() : slash + 1);
    if (name.empty() || name == L".") continue;
    if (name == L"..") {
      if (!components.empty() && components.back() != L"..") {
        components.pop_back();
      } else if (rootLength == 0) {
        components.push_back(name);
      }
      continue;
    }
    components.push_back(name);
  }
  for (size_t i = 0; i < components.size(); ++i) {
    if (i) result += L'\\';
    result += components[i];
  }
  if (trailingSlash && !components.empty()) result += L'\\';
  return result;
}

std::wstring WithBackslashes(std::wstring_view path) {
  std::wstring result(path);
  for (auto& c : result)
    if (c == L'/') c = L'\\';
  return result;
}

unsigned long ErrorFromErrno(int error, std::wstring_view platformPath) {
  switch (error) {
    case ENOENT: {
      // The folder above: is it there?
      std::string host = HostPathFromPlatform(platformPath);
      while (host.size() > 1 && host.back() == '/') host.pop_back();
      const size_t slash = host.rfind('/');
      const std::string parent = slash == std::string::npos ? "." : slash == 0 ? "/" : host.substr(0, slash);
      struct stat info;
      return ::stat(parent.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? ERROR_FILE_NOT_FOUND
                                                                         : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
      return ERROR_PATH_NOT_FOUND;
    case EEXIST:
      return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY:
      return ERROR_DIR_NOT_EMPTY;
    case ENAMETOOLONG:
      return ERROR_INVALID_NAME;
    case ENOMEM:
      return ERROR_NOT_ENOUGH_MEMORY;
    default:
      return ERROR_ACCESS_DENIED;
  }
}

}  // namespace platform::kernel
