// A page drawn as the host shows it, into an SVG file a person opens in a browser: the
// dialog's rectangle and each item's, in pixels, with its text, a combo box's selection and
// the enabled state, in the dialog's font.
#pragma once

#include <windows.h>

#include <string>

namespace hostcli {

// Writes the page window and its items into file; false with *error set when the file
// cannot be written.
bool WritePageSvg(HWND page, const std::wstring& title, const std::string& file, std::string* error);

}  // namespace hostcli
