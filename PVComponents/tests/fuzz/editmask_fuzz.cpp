// The masks' paste and keystroke paths on any text: the first byte picks the sign flags and
// the mask, the second splits the text into the edit's text and the pasted part, the third is
// the typed character. Refused or accepted, never a crash; an accepted paste leaves a number.
#include <windows.h>

#include <afxwin.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "EditMask.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  static HWND edit =
      CreateWindowExW(0, L"Edit", L"", WS_POPUP, 0, 0, 80, 20, nullptr, nullptr, nullptr, nullptr);
  const DWORD flags = data[0] & 0x3;
  const IEditMask& mask =
      (data[0] & 0x4) ? static_cast<const IEditMask&>(*GetEditIntegerMask()) : *GetEditFloatMask();
  std::wstring text;
  for (size_t i = 3; i < size; ++i) text += static_cast<wchar_t>(data[i]);
  const size_t split = text.empty() ? 0 : data[1] % (text.size() + 1);
  const CString whole(text.c_str());
  CString inserted(text.substr(split).c_str());
  if (SUCCEEDED(mask.CheckText(whole, inserted, flags)) && FAILED(mask.ValidateText(inserted))) std::abort();
  SetWindowTextW(edit, text.substr(0, split).c_str());
  SendMessageW(edit, EM_SETSEL, data[1] % (split + 1), data[2] % (split + 1));
  mask.CheckChar(CWnd::FromHandle(edit), static_cast<wchar_t>(data[2]), flags);
  return 0;
}
