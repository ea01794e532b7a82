// The host command line on Windows: pages driven through the platform's own means, with the
// Windows build's window hooks (Platform/Windows/testing) as the Linux build drives them with
// the stand-in's. A choice is CB_SETCURSEL with the notifications the control's parent gets
// from a user's choice, typing is WM_CHAR per key, a click is BM_CLICK; message boxes block in
// their modal loop until the modal idle hook, called from a timer that loop dispatches, reads
// and answers them; timers run in real time, so the host waits a bounded time for them; the
// log records come back from the log file; the registry is the system's.
#include <windows.h>

#include <platform/testing_windows.h>
#include <platform/utf8.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <fstream>
#include <set>

#include "HostPlatform.h"
#include "HostText.h"

namespace hostcli {
namespace {

namespace pw = platform::windows;

// How long the host lets the page's timers run after an action: long enough for an online
// service (about 300 ms after activation or a click); a polling button is not waited for.
constexpr DWORD kTimerWaitMilliseconds = 1000;

class SystemRegistry : public RunRegistry {
 public:
  bool Save(std::string*) override { return true; }  // the system keeps what was written
};

// ---- The log records

// The log library appends its records to the file ORVOLOG_FILE names; when none is named the
// host names one of its own for the run, and passes its records on to standard error as the
// library would have written them.
class LogFile {
 public:
  static LogFile& Instance() {
    static LogFile file;
    return file;
  }
  ~LogFile() {
    if (m_owned) DeleteFileW(m_path.c_str());
  }
  LogFile(const LogFile&) = delete;
  LogFile& operator=(const LogFile&) = delete;

  // The records' lines appended since the offset; *end is the offset after them.
  std::vector<std::string> LinesFrom(std::streamoff offset, std::streamoff* end) const {
    std::vector<std::string> lines;
    std::ifstream in(std::filesystem::path(m_path), std::ios::binary);
    if (in) in.seekg(offset);
    std::string line;
    while (in && std::getline(in, line)) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      lines.push_back(line);
    }
    *end = Size();
    return lines;
  }

  std::streamoff Size() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<std::streamoff>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                                       data.nFileSizeLow);
  }

  // Passes the lines on to standard error when the host named the file.
  void Echo(const std::vector<std::string>& lines) const {
    if (!m_owned) return;
    for (const std::string& line : lines) std::fprintf(stderr, "%s\n", line.c_str());
  }

 private:
  LogFile() {
    if (const wchar_t* named = _wgetenv(L"ORVOLOG_FILE"); named && *named) {
      m_path = named;
      return;
    }
    wchar_t folder[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, folder);
    m_path = std::wstring(folder) + L"host-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    m_owned = _wputenv_s(L"ORVOLOG_FILE", m_path.c_str()) == 0;
    if (!m_owned) m_path.clear();
  }

  std::wstring m_path;
  bool m_owned = false;
};

// "[LEVEL] MESSAGE (FUNCTION, FILE:LINE)" as the log library writes a record.
FailureRecord RecordOf(const std::string& line) {
  const size_t fileStart = line.rfind(", ");
  const size_t functionStart =
      fileStart == std::string::npos ? std::string::npos : line.rfind(" (", fileStart);
  const size_t messageStart = line.find("] ");
  if (functionStart == std::string::npos || messageStart == std::string::npos || messageStart > functionStart)
    return {L"", Wide(line)};
  return {Wide(line.substr(functionStart + 2, fileStart - functionStart - 2)),
          Wide(line.substr(messageStart + 2, functionStart - messageStart - 2))};
}

// The text after "label" in the message, up to the stop character.
std::wstring FieldOf(const std::wstring& message, const wchar_t* label, wchar_t stop) {
  const size_t at = message.find(label);
  if (at == std::wstring::npos) return L"";
  const size_t start = at + wcslen(label);
  return message.substr(start, message.find(stop, start) - start);
}

// A waiting dialog that is a message box: it offers one of the answers a box has.
bool IsMessageBox(HWND dialog) {
  for (int id : {IDOK, IDCANCEL, IDYES, IDNO, IDABORT, IDRETRY, IDIGNORE})
    if (GetDlgItem(dialog, id)) return true;
  return false;
}

// A box's icon shows no text to read; the platform may keep the icon's resource ordinal
// from the template as its window text.
bool IsIcon(HWND item) {
  return _wcsicmp(ClassOf(item).c_str(), L"Static") == 0 &&
         (GetWindowLongW(item, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

class WindowsDriving : public PageDriving {
 public:
  WindowsDriving() : m_logStart(LogFile::Instance().Size()) {
    pw::SetModalIdleHook([this](HWND dialog) {
      if (IsMessageBox(dialog)) Answer(dialog);
    });
  }
  ~WindowsDriving() override {
    pw::SetModalIdleHook({});
    std::streamoff end = 0;
    LogFile::Instance().Echo(LogFile::Instance().LinesFrom(m_logStart, &end));
  }
  WindowsDriving(const WindowsDriving&) = delete;
  WindowsDriving& operator=(const WindowsDriving&) = delete;

  void RunTimers() override {
    const ULONGLONG start = GetTickCount64();
    for (;;) {
      PumpMessages();
      const ULONGLONG elapsed = GetTickCount64() - start;
      if (elapsed >= kTimerWaitMilliseconds) break;
      MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(kTimerWaitMilliseconds - elapsed),
                                QS_ALLINPUT);
    }
  }

  void PumpMessages() override { pw::PumpMessages(); }
  bool SelectComboItem(HWND combo, int index) override { return pw::SelectComboItem(combo, index); }
  bool FocusControl(HWND control) override { return pw::FocusControl(control); }
  void TypeText(HWND control, const std::wstring& text) override { pw::TypeText(control, text); }
  bool ClickButton(HWND button) override { return pw::ClickButton(button); }

  std::vector<ShownBox> Boxes() const override { return m_boxes; }

  std::vector<FailureRecord> FailureRecords() const override {
    std::streamoff end = 0;
    const std::vector<std::string> lines = LogFile::Instance().LinesFrom(m_logStart, &end);
    std::vector<FailureRecord> failures;
    for (size_t i = 0; i < lines.size(); ++i)
      if (m_helpLines.count(i) == 0) failures.push_back(RecordOf(lines[i]));
    return failures;
  }

  size_t WindowCount() const override { return pw::LiveWindowCount(); }

  // The platform build of a server counts no live objects.
  std::string LiveObjectsOf(const std::wstring&) const override { return ""; }

 private:
  // Reads the box as its user does, asks for help when it offers it, and answers with its
  // default button. A box shown meanwhile (help that cannot be shown says so in a box of its
  // own) is answered from the same hook, which the inner modal loop calls.
  void Answer(HWND box) {
    const size_t index = m_boxes.size();
    m_boxes.push_back({TextOf(box), {}, false, 0, {}});
    HWND answer = nullptr;
    HWND help = nullptr;
    for (HWND item = GetWindow(box, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT)) {
      if (_wcsicmp(ClassOf(item).c_str(), L"Button") != 0) {
        if (IsIcon(item)) continue;
        std::wstring& text = m_boxes[index].text;
        if (!text.empty() && !TextOf(item).empty()) text += L" ";
        text += TextOf(item);
        continue;
      }
      if (GetDlgCtrlID(item) == IDHELP)
        help = item;
      else if (!answer || (GetWindowLongW(item, GWL_STYLE) & BS_DEFPUSHBUTTON))
        answer = item;
    }
    if (help) AskForHelp(help, index);
    if (!answer || !pw::ClickButton(answer)) EndDialog(box, IDCANCEL);
  }

  // The help press; when its help file is not there, what the page logs of it (the file and
  // the help id the record names) is the help request's outcome, not the page's failure.
  void AskForHelp(HWND help, size_t index) {
    m_boxes[index].hasHelpId = true;
    std::streamoff end = 0;
    const size_t before = LogFile::Instance().LinesFrom(m_logStart, &end).size();
    pw::ClickButton(help);
    const std::vector<std::string> lines = LogFile::Instance().LinesFrom(m_logStart, &end);
    for (size_t i = before; i < lines.size(); ++i) {
      const FailureRecord record = RecordOf(lines[i]);
      const std::wstring file = FieldOf(record.message, L"HelpFile = ", L',');
      if (file.empty() || GetFileAttributesW(file.c_str()) != INVALID_FILE_ATTRIBUTES) continue;
      m_boxes[index].helpId =
          static_cast<DWORD>(std::wcstoul(FieldOf(record.message, L"HelpID: = ", L'.').c_str(), nullptr, 10));
      m_boxes[index].missingHelpFile = file;
      for (size_t j = before; j < lines.size(); ++j) m_helpLines.insert(j);
    }
  }

  std::streamoff m_logStart;
  std::vector<ShownBox> m_boxes;
  std::set<size_t> m_helpLines;  // positions among the log's lines of this run
};

}  // namespace

std::wstring PlatformPath(const std::string& path) {
  return std::filesystem::absolute(std::filesystem::path(Wide(path)))
      .lexically_normal()
      .make_preferred()
      .wstring();
}

std::unique_ptr<RunRegistry> OpenRunRegistry(const std::string& file, std::string* error) {
  if (!file.empty()) {
    *error = "--registry " + file + ": on Windows the registry of a run is the system's; it takes no file";
    return nullptr;
  }
  return std::make_unique<SystemRegistry>();
}

std::unique_ptr<PageDriving> StartPageDriving() {
  return std::make_unique<WindowsDriving>();
}

}  // namespace hostcli

// A console program: the arguments come as the platform's wide texts.
int wmain(int argc, wchar_t** argv) {
  try {
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.push_back(platform::Utf8TextFromWide(argv[i]));
    return hostcli::RunCommandLine(std::move(args));
  } catch (const std::exception& e) {
    std::fprintf(stderr, "host: %s\n", e.what());
    return 1;
  }
}
