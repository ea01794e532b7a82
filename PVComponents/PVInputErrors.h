// The framework's input-error codes: failure HRESULTs 0x80040200 to 0x8004022B that report
// rejected input and stop a panel's save, and the prompts that tell the user why, fetched by
// number from the framework's prompt server and formatted with their inserts.
#pragma once

#include <afx.h>

class CPromptInfo;

inline constexpr HRESULT PV_E_FIRST_INPUT_ERROR = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT PV_E_LAST_INPUT_ERROR = static_cast<HRESULT>(0x8004022B);

inline constexpr HRESULT PV_E_INVALID_CHARACTER = static_cast<HRESULT>(0x80040200);
inline constexpr HRESULT PV_E_SIGN_NOT_FIRST = static_cast<HRESULT>(0x80040201);
inline constexpr HRESULT PV_E_MULTIPLE_DECIMAL_POINTS = static_cast<HRESULT>(0x80040202);
inline constexpr HRESULT PV_E_DECIMAL_POINT_NOT_ALLOWED = static_cast<HRESULT>(0x80040203);
inline constexpr HRESULT PV_E_MINUS_NOT_ALLOWED = static_cast<HRESULT>(0x80040204);
inline constexpr HRESULT PV_E_PLUS_NOT_ALLOWED = static_cast<HRESULT>(0x80040205);
inline constexpr HRESULT PV_E_NO_DIGIT = static_cast<HRESULT>(0x80040206);
inline constexpr HRESULT PV_E_EMPTY_TEXT = static_cast<HRESULT>(0x80040214);
inline constexpr HRESULT PV_E_INVALID_INTEGER = static_cast<HRESULT>(0x80040215);
inline constexpr HRESULT PV_E_INVALID_DECIMAL = static_cast<HRESULT>(0x80040216);
inline constexpr HRESULT PV_E_ABOVE_MAXIMUM = static_cast<HRESULT>(0x80040217);
inline constexpr HRESULT PV_E_BELOW_MINIMUM = static_cast<HRESULT>(0x80040218);

// Prompt numbers on the framework's prompt server and their inserts.
inline constexpr LONG PV_PROMPT_EMPTY_TEXT = 2;        // none
inline constexpr LONG PV_PROMPT_INVALID_INTEGER = 3;   // %1 the text
inline constexpr LONG PV_PROMPT_INVALID_DECIMAL = 4;   // %1 the text
inline constexpr LONG PV_PROMPT_ABOVE_MAXIMUM = 5;     // %1 the text or value, %2 the limit
inline constexpr LONG PV_PROMPT_BELOW_MINIMUM = 6;     // %1 the text or value, %2 the limit
inline constexpr LONG PV_PROMPT_INVALID_DECIMALS = 7;  // %1 the number of decimal places

// True exactly for the codes 0x80040200..0x8004022B.
bool IsPVErrorCode(HRESULT code);

// The prompt of that number from the framework's prompt server (a wrapper made for this call,
// in the resource DLL's language). E_INVALIDARG for a null prompt, before anything else; the
// server's creation or query failure (the prompt then keeps what it held).
HRESULT GetErrorPromptInfo(LONG promptId, CPromptInfo* prompt);

// GetErrorPromptInfo, then the prompt text used as a message format with the inserts (%1,
// %2, %3 in order; wide strings in the first two forms, 32-bit numbers in the third). On any
// failure the text is left as it was and the failure returned.
HRESULT FormatErrorPromptInfo(LONG promptId, const wchar_t* insert1, CPromptInfo* prompt);
HRESULT FormatErrorPromptInfo2(LONG promptId, const wchar_t* insert1, const wchar_t* insert2,
                               CPromptInfo* prompt);
HRESULT FormatErrorPromptInfo3(LONG promptId, LONG insert1, LONG insert2, LONG insert3, CPromptInfo* prompt);

// "<member>:  <old text>" when both are given; otherwise nothing changes.
void PrefixPromptText(CPromptInfo* prompt, const wchar_t* memberName);
