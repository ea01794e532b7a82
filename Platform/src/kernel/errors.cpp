// The per-thread last-error code.
#include "errhandlingapi.h"

namespace {
thread_local DWORD t_lastError = 0;
}  // namespace

EXTERN_C DWORD WINAPI GetLastError() {
  return t_lastError;
}

EXTERN_C void WINAPI SetLastError(DWORD dwErrCode) {
  t_lastError = dwErrCode;
}
