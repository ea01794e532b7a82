// What the framework's edit controls read of the user's input besides the message itself: the
// keyboard state and the clipboard's text.
#pragma once

#include <windows.h>

#include <string>

// A key counts as down when its state has any bit above the two lowest.
inline bool IsKeyDown(int key) {
  return (static_cast<unsigned>(GetAsyncKeyState(key)) & ~0x3u & 0xFFFFu) != 0;
}

// The clipboard's CF_UNICODETEXT. The clipboard is opened for the read (and closed again)
// only when no window holds it open. False when it cannot be opened or holds no such text.
inline bool ReadClipboardText(HWND owner, std::wstring* text) {
  const bool opened = GetOpenClipboardWindow() == nullptr;
  if (opened && !OpenClipboard(owner)) return false;
  bool found = false;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* locked = static_cast<const wchar_t*>(GlobalLock(data))) {
      *text = locked;
      GlobalUnlock(data);
      found = true;
    }
  }
  if (opened) CloseClipboard();
  return found;
}
