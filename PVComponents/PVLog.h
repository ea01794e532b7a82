// Every failure the framework detects is written to the host's log where it is detected,
// always with the first level of the host's enumeration.
#pragma once

#include <OrvoLog.h>

#include <cstdint>

inline void PVLog(const wchar_t* message, const wchar_t* sourceFile, const wchar_t* function, int32_t line) {
  OrvoLog(static_cast<ORVOLogLevel>(0), message, sourceFile, function, line);
}

// The log of one source file: the file's name (as the records name it, without extension) is
// given once, where the file declares its log:
//
//   namespace {
//   constexpr CPVSourceLog Log(L"PVPanel");
//   }
//   ...
//   Log(L"Bad parent interface pointer.", L"CPVPanel::Init", __LINE__);
//
// The function names in the records are fixed texts of the system that the host's support
// tools and logs are read by, not derived from the C++ code: several deliberately differ from
// the function they are written in (the message box's template builder logs as
// "CPVMsgBoxDlgTemplate::GetDialogArray", a value adapter's text read as its "GetVariant").
// Keep them as they are written; they are not copy slips.
class CPVSourceLog {
 public:
  constexpr explicit CPVSourceLog(const wchar_t* sourceFile) : m_sourceFile(sourceFile) {}

  void operator()(const wchar_t* message, const wchar_t* function, int32_t line) const {
    PVLog(message, m_sourceFile, function, line);
  }
  constexpr const wchar_t* File() const { return m_sourceFile; }

 private:
  const wchar_t* m_sourceFile;
};
