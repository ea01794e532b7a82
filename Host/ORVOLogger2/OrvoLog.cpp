#include "OrvoLog.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

namespace {

std::mutex g_lock;
std::deque<orvolog::Record> g_records;

std::string Utf8(const std::wstring& text) {
  std::string out;
  for (wchar_t wc : text) {
    auto c = static_cast<uint32_t>(wc);
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c < 0x800) {
      out += static_cast<char>(0xC0 | (c >> 6));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
      out += static_cast<char>(0xE0 | (c >> 12));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | ((c >> 18) & 0x07));
      out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (c & 0x3F));
    }
  }
  return out;
}

void Write(const orvolog::Record& r) {
  const char* path = std::getenv("ORVOLOG_FILE");
  FILE* sink = path && *path ? std::fopen(path, "a") : stderr;
  if (!sink) return;
  std::string message = Utf8(r.message);
  while (!message.empty() && (message.back() == '\n' || message.back() == '\r')) message.pop_back();
  std::fprintf(sink, "[%d] %s (%s, %s:%d)\n", static_cast<int>(r.level), message.c_str(),
               Utf8(r.function).c_str(), Utf8(r.sourceFile).c_str(), static_cast<int>(r.line));
  if (sink != stderr) std::fclose(sink);
}

}  // namespace

extern "C" void OrvoLog(ORVOLogLevel level, const wchar_t* message, const wchar_t* sourceFile,
                        const wchar_t* function, int32_t line) {
  orvolog::Record record{level, message ? message : L"", sourceFile ? sourceFile : L"",
                         function ? function : L"", line};
  std::lock_guard<std::mutex> guard(g_lock);
  Write(record);
  g_records.push_back(std::move(record));
  if (g_records.size() > orvolog::RecordsKept) g_records.pop_front();
}

namespace orvolog {

std::vector<Record> RecentRecords() {
  std::lock_guard<std::mutex> guard(g_lock);
  return {g_records.begin(), g_records.end()};
}

void ClearRecords() {
  std::lock_guard<std::mutex> guard(g_lock);
  g_records.clear();
}

}  // namespace orvolog
