#include "PVGetSetAdapeterErrorHandler.h"

#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVGetSetAdapeterErrorHandler");

HRESULT Report(const wchar_t* format, const wchar_t* member, const wchar_t* function, int line) {
  CString message;
  message.FormatMessage(format, member ? member : L"");
  Log(message, function, line);
  return E_FAIL;
}

}  // namespace

namespace CPVGetSetAdapeterErrorHandler {

HRESULT ErrorReadingValue(const wchar_t* member) {
  return Report(L"Error: Reading value for member %1!s! from services!\n", member,
                L"CPVGetSetAdapeterErrorHandler::ErrorReadingValue", __LINE__);
}

HRESULT ErrorSavingValue(const wchar_t* member) {
  return Report(L"Error: Saving value for member %1!s! to services!\n", member,
                L"CPVGetSetAdapeterErrorHandler::ErrorSavingValue", __LINE__);
}

}  // namespace CPVGetSetAdapeterErrorHandler
