// The host's logging library ORVOLogger2: one function, OrvoLog, that appends one record
// per call. Records go to the file named by the environment variable ORVOLOG_FILE, or to
// standard error, and the most recent ones stay in memory for tests to read.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// On Windows the library exports OrvoLog by that name and the view DLLs import it; the records
// kept in memory are a test hook of the Linux build only. On Windows the tests read the records
// back from the log file instead (Host/ORVOLogger2/testing), under the same declarations.
#if defined(_WIN32)
#if defined(ORVOLOGGER2_BUILD)
#define ORVOLOGGER_API __declspec(dllexport)
#else
#define ORVOLOGGER_API __declspec(dllimport)
#endif
#define ORVOLOG_RECORDS_API
#else
#define ORVOLOGGER_API __attribute__((visibility("default")))
#define ORVOLOG_RECORDS_API ORVOLOGGER_API
#endif

enum ORVOLogLevel : int32_t {
  ORVOLogLevelError = 0,
  ORVOLogLevelWarning = 1,
  ORVOLogLevelInformation = 2,
  ORVOLogLevelDebug = 3,
};

extern "C" ORVOLOGGER_API void OrvoLog(ORVOLogLevel level, const wchar_t* message, const wchar_t* sourceFile,
                                       const wchar_t* function, int32_t line);

namespace orvolog {

struct Record {
  ORVOLogLevel level;
  std::wstring message;
  std::wstring sourceFile;
  std::wstring function;
  int32_t line;
};

// The most recent records, oldest first: at most RecordsKept, or fewer when the environment
// variable ORVOLOG_RECORDS_KEPT names a smaller number (read at each record).
inline constexpr size_t RecordsKept = 4096;
ORVOLOG_RECORDS_API std::vector<Record> RecentRecords();
ORVOLOG_RECORDS_API void ClearRecords();

}  // namespace orvolog
