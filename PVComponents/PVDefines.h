// GUID texts as the framework writes and reads them.
#pragma once

#include <windows.h>

// Formats a GUID as "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}" in upper-case hexadecimal
// (Data1, Data2, Data3, then the eight bytes of Data4 in order). Returns the number of
// characters written without the terminator, or -1 when the text and its terminator do not
// fit into bufferSize characters.
int PVStringFromGUID(REFGUID guid, wchar_t* buffer, int bufferSize);

// Converts a CLSID text with CLSIDFromString. A failure is logged; the out CLSID then holds
// whatever the conversion left. Texts of 64 characters or more do not fit the conversion
// buffer and are refused the same way, leaving the out CLSID untouched.
void PVCLSIDFromString(const wchar_t* text, CLSID* clsid);
