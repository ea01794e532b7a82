// Test support for tests of the file and shell functions: a fresh folder of the test's own
// under the host's temporary directory, and the platform's form of a host path written out as
// the rule says (drive Z:, backslashes), so that a test checks the mapping instead of reusing
// it. For tests only.
#pragma once

#include <unistd.h>

#include <filesystem>
#include <string>
#include <system_error>

namespace platform::test_support {

inline std::wstring PlatformForm(const std::filesystem::path& host) {
  std::wstring text = host.wstring();
  for (auto& c : text)
    if (c == L'/') c = L'\\';
  return L"Z:" + text;
}

// "<temp>/<prefix>-<process>-<n>", created empty; removed with everything in it when the
// object goes.
class TempFolder {
 public:
  explicit TempFolder(const std::string& prefix) {
    static int counter = 0;
    m_path = std::filesystem::temp_directory_path() /
             (prefix + "-" + std::to_string(::getpid()) + "-" + std::to_string(++counter));
    std::filesystem::remove_all(m_path);
    std::filesystem::create_directories(m_path);
  }
  ~TempFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return m_path; }

 private:
  std::filesystem::path m_path;
};

}  // namespace platform::test_support
