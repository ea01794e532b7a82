// OLE: the COM library, OLE Automation and the few OLE calls the servers make.
#pragma once

#include "objbase.h"
#include "oleauto.h"

// Initialises COM for this thread (as CoInitializeEx(null, COINIT_APARTMENTTHREADED)).
// Returns S_OK for the thread's first call, S_FALSE for further ones.
WINOLEAPI OleInitialize(void* pvReserved);

// Balances one OleInitialize (as CoUninitialize).
WINOLEAPI_(void) OleUninitialize();

// pUnknown: in, the object to put into its running state. Every object here is in-process and
// running already: returns S_OK, or E_INVALIDARG for null.
WINOLEAPI OleRun(IUnknown* pUnknown);
