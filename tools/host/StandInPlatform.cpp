// The host command line on the stand-in: pages driven through its test hooks (its clock, the
// user's actions, the modal loop's idle hook, the recorded message and help calls, the window
// count and the live-object readers), and the registry kept in a file between runs.
#include <windows.h>

#include <OrvoLog.h>
#include <platform/paths.h>
#include <platform/testing_htmlhelp.h>
#include <platform/testing_modules.h>
#include <platform/testing_registry.h>
#include <platform/testing_windows.h>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <filesystem>
#include <optional>

#include "HostPlatform.h"
#include "HostText.h"

namespace hostcli {
namespace {

namespace pw = platform::windows;

// ---- The registry file

// Holds an exclusive lock on "<registry file>.lock" from before the file is read until after it
// is written, so that host runs on one registry file take their turns instead of overwriting
// each other's changes. The lock file goes when the run ends: it is removed while still
// locked, and a run that obtained its lock on a file removed meanwhile opens the new one and
// waits again, so two runs never hold locks on two different files.
class RegistryFileLock {
 public:
  explicit RegistryFileLock(const std::string& registryFile) : path_(registryFile + ".lock") {
    const std::filesystem::path folder = std::filesystem::path(registryFile).parent_path();
    std::error_code ec;
    if (!folder.empty() && !std::filesystem::is_directory(folder, ec)) {
      error_ = "cannot use the registry file " + registryFile + ": its folder " + folder.string() +
               " does not exist";
      return;
    }
    bool held = false;
    while (!held && error_.empty()) held = Acquire();
  }
  ~RegistryFileLock() {
    if (fd_ < 0) return;
    unlink(path_.c_str());
    close(fd_);  // releases the lock
  }
  RegistryFileLock(const RegistryFileLock&) = delete;
  RegistryFileLock& operator=(const RegistryFileLock&) = delete;
  // Empty when the lock is held.
  const std::string& error() const { return error_; }

 private:
  // True when the lock is held on the file the path names, or when error_ says why not; false
  // when the locked file was removed meanwhile (try again).
  bool Acquire() {
    fd_ = open(path_.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
    if (fd_ < 0) {
      error_ = "cannot open " + path_ + ": " + std::strerror(errno);
      return true;
    }
    while (flock(fd_, LOCK_EX) != 0) {
      if (errno == EINTR) continue;
      error_ = "cannot lock " + path_ + ": " + std::strerror(errno);
      return true;
    }
    struct stat locked {
    }, named{};
    if (fstat(fd_, &locked) == 0 && stat(path_.c_str(), &named) == 0 && locked.st_dev == named.st_dev &&
        locked.st_ino == named.st_ino)
      return true;
    close(fd_);
    fd_ = -1;
    return false;
  }

  std::string path_;
  int fd_ = -1;
  std::string error_;
};

// The stand-in's registry loaded from the file and saved back when it changed; without a file,
// the process's registry, saved nowhere.
class FileRegistry : public RunRegistry {
 public:
  explicit FileRegistry(const std::string& file) : m_file(file) {}

  bool Open(std::string* error) {
    if (!m_file.empty()) {
      m_lock.emplace(m_file);
      if (!m_lock->error().empty()) return *error = m_lock->error(), false;
      std::string why;
      const LONG loaded = platform::registry::LoadFromFile(m_file, &why);
      if (loaded != ERROR_SUCCESS && loaded != ERROR_FILE_NOT_FOUND)
        return *error = "cannot read the registry file " + m_file + ": " + why, false;
    }
    m_loadedText = platform::registry::SaveToText();  // saved again only if changed
    return true;
  }

  bool Save(std::string* error) override {
    if (m_file.empty() || platform::registry::SaveToText() == m_loadedText) return true;
    std::string why;
    if (platform::registry::SaveToFile(m_file, &why) == ERROR_SUCCESS) return true;
    *error = "cannot write the registry file " + m_file + ": " + why;
    return false;
  }

 private:
  std::string m_file;
  std::optional<RegistryFileLock> m_lock;
  std::string m_loadedText;
};

// ---- Driving a page

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    children.push_back(child);
  return children;
}

bool IsButtonWindow(HWND window) {
  return _wcsicmp(ClassOf(window).c_str(), L"Button") == 0;
}

// The stand-in's in-memory message boxes run a modal loop whose idle hook answers them: the
// host's user reads them, asks for help when the box offers it (so the help id shows), and
// answers with the default button. Message boxes of the platform's own are recorded and
// answered by the stand-in.
class StandInDriving : public PageDriving {
 public:
  StandInDriving() {
    orvolog::ClearRecords();
    pw::ClearRecorders();
    platform::htmlhelp::ClearHtmlHelpCalls();
    pw::SetModalIdleHook([this](HWND dialog) { Answer(dialog); });
  }
  ~StandInDriving() override { pw::SetModalIdleHook({}); }
  StandInDriving(const StandInDriving&) = delete;
  StandInDriving& operator=(const StandInDriving&) = delete;

  // The clock moves on in small steps until no timer is left or a minute of it has passed.
  void RunTimers() override {
    pw::PumpMessages();
    for (DWORD elapsed = 0; pw::TimerCount() > 0 && elapsed < 60000; elapsed += 50) {
      pw::AdvanceClock(50);
      pw::PumpMessages();
    }
  }
  void PumpMessages() override { pw::PumpMessages(); }
  bool SelectComboItem(HWND combo, int index) override { return pw::SelectComboItem(combo, index); }
  bool FocusControl(HWND control) override { return pw::FocusControl(control); }
  void TypeText(HWND control, const std::wstring& text) override { pw::TypeText(control, text); }
  bool ClickButton(HWND button) override { return pw::ClickButton(button); }

  std::vector<ShownBox> Boxes() const override {
    std::vector<ShownBox> boxes = m_boxes;
    for (const auto& call : pw::MessageBoxCalls()) boxes.push_back({call.caption, call.text, false, 0, {}});
    return boxes;
  }

  std::vector<FailureRecord> FailureRecords() const override {
    const std::vector<orvolog::Record> all = orvolog::RecentRecords();
    std::vector<FailureRecord> failures;
    for (size_t i = 0; i < all.size(); ++i)
      if (std::find(m_helpRecords.begin(), m_helpRecords.end(), i) == m_helpRecords.end())
        failures.push_back({all[i].function, all[i].message});
    return failures;
  }

  size_t WindowCount() const override { return pw::LiveWindowCount(); }

  std::string LiveObjectsOf(const std::wstring& server) const override {
    platform::modules::LiveObjectReaders readers{};
    HMODULE module = GetModuleHandleW(server.c_str());
    if (!module || !platform::modules::FindLiveObjectReaders(module, &readers) || !readers.report) return "";
    std::string text(readers.report(nullptr, 0) + 1, '\0');
    text.resize(readers.report(text.data(), text.size()));
    return text;
  }

 private:
  void Answer(HWND dialog) {
    ShownBox box{TextOf(dialog), {}, true, 0, {}};
    HWND answer = nullptr;
    HWND help = nullptr;
    for (HWND item : ChildrenOf(dialog)) {
      if (!IsButtonWindow(item)) {
        if (!box.text.empty() && !TextOf(item).empty()) box.text += L" ";
        box.text += TextOf(item);
        continue;
      }
      const int id = GetDlgCtrlID(item);
      if (id == IDHELP)
        help = item;
      else if (!answer || (GetWindowLongW(item, GWL_STYLE) & BS_DEFPUSHBUTTON))
        answer = item;
    }
    if (help) AskForHelp(help, &box);
    m_boxes.push_back(box);
    if (answer && pw::ClickButton(answer)) return;
    EndDialog(dialog, IDCANCEL);
  }

  void AskForHelp(HWND help, ShownBox* box) {
    const size_t before = platform::htmlhelp::HtmlHelpCalls().size();
    const size_t recordsBefore = orvolog::RecentRecords().size();
    pw::ClickButton(help);
    const auto calls = platform::htmlhelp::HtmlHelpCalls();
    if (calls.size() <= before) return;
    box->helpId = static_cast<DWORD>(calls.back().data);
    // No help file is installed beside the DLLs: what the page logs of the missing file is the
    // help request's outcome, not the page's failure.
    if (!calls.back().result && GetFileAttributesW(calls.back().file.c_str()) == INVALID_FILE_ATTRIBUTES) {
      box->missingHelpFile = calls.back().file;
      for (size_t i = recordsBefore; i < orvolog::RecentRecords().size(); ++i) m_helpRecords.push_back(i);
    }
  }

  std::vector<ShownBox> m_boxes;
  std::vector<size_t> m_helpRecords;  // positions among the records
};

}  // namespace

std::wstring PlatformPath(const std::string& path) {
  return platform::PlatformPathFromHost(std::filesystem::absolute(path).lexically_normal().string());
}

std::unique_ptr<RunRegistry> OpenRunRegistry(const std::string& file, std::string* error) {
  auto registry = std::make_unique<FileRegistry>(file);
  if (!registry->Open(error)) return nullptr;
  return registry;
}

std::unique_ptr<PageDriving> StartPageDriving() {
  return std::make_unique<StandInDriving>();
}

}  // namespace hostcli

int main(int argc, char** argv) {
  try {
    return hostcli::RunCommandLine(std::vector<std::string>(argv + 1, argv + argc));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "host: %s\n", e.what());
    return 1;
  }
}
