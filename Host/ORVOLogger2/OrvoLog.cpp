#include "OrvoLog.h"

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <mutex>

#include <platform/utf8.h>

namespace {

std::mutex g_lock;
#if !defined(_WIN32)
std::deque<orvolog::Record> g_records;
#endif

void Write(ORVOLogLevel level, const wchar_t* message, const wchar_t* sourceFile, const wchar_t* function,
           int32_t line) {
  const char* path = std::getenv("ORVOLOG_FILE");
  FILE* sink = path && *path ? std::fopen(path, "a") : stderr;
  if (!sink) return;
  std::string text = platform::Utf8TextFromWide(message);
  while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
  std::fprintf(sink, "[%d] %s (%s, %s:%d)\n", static_cast<int>(level), text.c_str(),
               platform::Utf8TextFromWide(function).c_str(), platform::Utf8TextFromWide(sourceFile).c_str(),
               static_cast<int>(line));
  if (sink != stderr) std::fclose(sink);
}

#if !defined(_WIN32)
// How many records stay in memory: the number in ORVOLOG_RECORDS_KEPT (0 keeps none, so that a
// process logging millions of records holds no memory for them), else RecordsKept.
size_t RecordsToKeep() {
  const char* text = std::getenv("ORVOLOG_RECORDS_KEPT");
  if (!text || !*text) return orvolog::RecordsKept;
  char* end = nullptr;
  const unsigned long long count = std::strtoull(text, &end, 10);
  return *end == '\0' && count < orvolog::RecordsKept ? static_cast<size_t>(count) : orvolog::RecordsKept;
}
#endif

}  // namespace

extern "C" void OrvoLog(ORVOLogLevel level, const wchar_t* message, const wchar_t* sourceFile,
                        const wchar_t* function, int32_t line) {
  message = message ? message : L"";
  sourceFile = sourceFile ? sourceFile : L"";
  function = function ? function : L"";
  std::lock_guard<std::mutex> guard(g_lock);
  Write(level, message, sourceFile, function, line);
#if !defined(_WIN32)
  const size_t kept = RecordsToKeep();
  if (kept == 0) return;
  g_records.push_back(orvolog::Record{level, message, sourceFile, function, line});
  while (g_records.size() > kept) g_records.pop_front();
#endif
}

#if !defined(_WIN32)

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
#endif
