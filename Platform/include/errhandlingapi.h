// The calling thread's last-error code: the Win32 error that the last failing platform
// function reported.
#pragma once

#include "wtypesbase.h"

// Returns the calling thread's last-error code (0 in a new thread). Functions that succeed
// leave it alone unless their description says otherwise, as on the platform.
WINBASEAPI DWORD WINAPI GetLastError();

// dwErrCode: in, the code to store for the calling thread only.
WINBASEAPI void WINAPI SetLastError(DWORD dwErrCode);
