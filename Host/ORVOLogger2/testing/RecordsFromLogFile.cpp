// The log library's records for the tests on Windows, where the library keeps none for another
// module: they are read back from the log file. A test process that names no file gets one of
// its own in the temporary folder (the library reads ORVOLOG_FILE at each record, through the
// same C runtime), removed when the process ends. ClearRecords starts the records afresh at
// the file's end.
#include <windows.h>

#include <OrvoLog.h>
#include <platform/utf8.h>

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace orvolog {
namespace {

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

  std::streamoff Size() const {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (m_path.empty() || !GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data)) return 0;
    return static_cast<std::streamoff>((static_cast<ULONGLONG>(data.nFileSizeHigh) << 32) |
                                       data.nFileSizeLow);
  }
  const std::wstring& Path() const { return m_path; }

  std::streamoff start = 0;

 private:
  LogFile() {
    if (const wchar_t* named = _wgetenv(L"ORVOLOG_FILE"); named && *named) {
      m_path = named;
      start = Size();
      return;
    }
    wchar_t folder[MAX_PATH + 1] = L"";
    GetTempPathW(MAX_PATH + 1, folder);
    m_path = std::wstring(folder) + L"orvolog-test-" + std::to_wstring(GetCurrentProcessId()) + L".log";
    DeleteFileW(m_path.c_str());
    m_owned = _wputenv_s(L"ORVOLOG_FILE", m_path.c_str()) == 0;
    if (!m_owned) m_path.clear();
  }

  std::wstring m_path;
  bool m_owned = false;
};

// Named before any test runs, so that the DLLs' first records go to the file too.
const LogFile& g_named = LogFile::Instance();

// "[LEVEL] MESSAGE (FUNCTION, FILE:LINE)" as the library writes a record; a message with line
// breaks continues on the following lines.
Record RecordOf(const std::string& text) {
  Record record{ORVOLogLevelError, {}, {}, {}, 0};
  const size_t levelEnd = text.find("] ");
  const size_t fileStart = text.rfind(", ");
  const size_t functionStart =
      fileStart == std::string::npos ? std::string::npos : text.rfind(" (", fileStart);
  const size_t lineStart = text.rfind(':');
  if (levelEnd == std::string::npos || functionStart == std::string::npos || functionStart < levelEnd ||
      lineStart == std::string::npos || lineStart < fileStart) {
    record.message = platform::WideFromUtf8Text(text);
    return record;
  }
  record.level = static_cast<ORVOLogLevel>(std::atoi(text.c_str() + 1));
  record.message = platform::WideFromUtf8Text(text.substr(levelEnd + 2, functionStart - levelEnd - 2));
  record.function = platform::WideFromUtf8Text(text.substr(functionStart + 2, fileStart - functionStart - 2));
  record.sourceFile = platform::WideFromUtf8Text(text.substr(fileStart + 2, lineStart - fileStart - 2));
  record.line = std::atoi(text.c_str() + lineStart + 1);
  return record;
}

bool StartsRecord(const std::string& line) {
  return line.size() > 3 && line[0] == '[' && std::isdigit(static_cast<unsigned char>(line[1])) &&
         line[2] == ']';
}

}  // namespace

std::vector<Record> RecentRecords() {
  LogFile& file = LogFile::Instance();
  std::vector<Record> records;
  std::ifstream in(std::filesystem::path(file.Path()), std::ios::binary);
  if (!in) return records;
  in.seekg(file.start);
  std::string line, pending;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (StartsRecord(line) && !pending.empty()) {
      records.push_back(RecordOf(pending));
      pending.clear();
    }
    pending += pending.empty() ? line : "\n" + line;
  }
  if (!pending.empty()) records.push_back(RecordOf(pending));
  return records;
}

void ClearRecords() {
  LogFile::Instance().start = LogFile::Instance().Size();
}

}  // namespace orvolog
