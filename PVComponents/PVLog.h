// Every failure the framework detects is written to the host's log where it is detected,
// always with the first level of the host's enumeration.
#pragma once

#include <OrvoLog.h>

#include <cstdint>

inline void PVLog(const wchar_t* message, const wchar_t* sourceFile, const wchar_t* function, int32_t line) {
  OrvoLog(static_cast<ORVOLogLevel>(0), message, sourceFile, function, line);
}
