// The adapters' reports of a failed read or write: one log line naming the member.
#pragma once

#include <afx.h>

namespace CPVGetSetAdapeterErrorHandler {

// Log "Error: Reading value for member <member> from services!" and return E_FAIL.
HRESULT ErrorReadingValue(const wchar_t* member);
// Log "Error: Saving value for member <member> to services!" and return E_FAIL.
HRESULT ErrorSavingValue(const wchar_t* member);

}  // namespace CPVGetSetAdapeterErrorHandler
