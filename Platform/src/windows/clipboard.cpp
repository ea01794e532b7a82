// The clipboard: one per process, opened by one window at a time, holding global memory
// per format.
#include <map>
#include <mutex>

#include "errhandlingapi.h"
#include "platform/testing_windows.h"
#include "windows_internal.h"
#include "winbase.h"
#include "winerror.h"

namespace {

struct Clipboard {
  std::recursive_mutex lock;
  bool open = false;
  bool busy = false;
  HWND opener = nullptr;
  HWND owner = nullptr;
  std::map<UINT, HANDLE> data;

  void FreeData() {
    for (auto& [format, handle] : data) GlobalFree(handle);
    data.clear();
  }
  ~Clipboard() { FreeData(); }
};

Clipboard& Board() {
  static Clipboard board;
  return board;
}

}  // namespace

namespace platform::windows::internal {

void ForgetClipboardWindow(HWND hwnd) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (c.open && c.opener == hwnd) c.opener = nullptr;
  if (c.owner == hwnd) c.owner = nullptr;
}

}  // namespace platform::windows::internal

EXTERN_C BOOL WINAPI OpenClipboard(HWND hWndNewOwner) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (c.busy || (c.open && c.opener != hWndNewOwner)) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  c.open = true;
  c.opener = hWndNewOwner;
  return TRUE;
}

EXTERN_C BOOL WINAPI CloseClipboard() {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  c.open = false;
  c.opener = nullptr;
  return TRUE;
}

EXTERN_C BOOL WINAPI EmptyClipboard() {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return FALSE;
  }
  c.FreeData();
  c.owner = c.opener;
  return TRUE;
}

EXTERN_C HANDLE WINAPI SetClipboardData(UINT uFormat, HANDLE hMem) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  auto it = c.data.find(uFormat);
  if (it != c.data.end() && it->second != hMem) GlobalFree(it->second);
  if (hMem) {
    c.data[uFormat] = hMem;
  } else {
    c.data.erase(uFormat);  // delayed rendering is not offered here
  }
  return hMem;
}

EXTERN_C HANDLE WINAPI GetClipboardData(UINT uFormat) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (!c.open) {
    SetLastError(ERROR_CLIPBOARD_NOT_OPEN);
    return nullptr;
  }
  auto it = c.data.find(uFormat);
  return it == c.data.end() ? nullptr : it->second;
}

EXTERN_C BOOL WINAPI IsClipboardFormatAvailable(UINT format) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  return c.data.count(format) ? TRUE : FALSE;
}

EXTERN_C HWND WINAPI GetOpenClipboardWindow() {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  return c.open ? c.opener : nullptr;
}

namespace platform::windows {

void SetClipboardBusy(bool busy) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  c.busy = busy;
}

void ResetClipboard() {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  c.FreeData();
  c.open = false;
  c.busy = false;
  c.opener = c.owner = nullptr;
}

bool PutClipboardText(const std::wstring& text) {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  if (c.open || c.busy) return false;
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (!memory) return false;
  auto* p = static_cast<wchar_t*>(GlobalLock(memory));
  std::copy(text.begin(), text.end(), p);
  p[text.size()] = 0;
  GlobalUnlock(memory);
  c.FreeData();
  c.owner = nullptr;
  c.data[CF_UNICODETEXT] = memory;
  return true;
}

std::wstring ClipboardText() {
  Clipboard& c = Board();
  std::lock_guard guard(c.lock);
  auto it = c.data.find(CF_UNICODETEXT);
  if (it == c.data.end()) return L"";
  auto* p = static_cast<const wchar_t*>(GlobalLock(it->second));
  if (!p) return L"";
  size_t max = GlobalSize(it->second) / sizeof(wchar_t);
  std::wstring text(p, wcsnlen(p, max));
  GlobalUnlock(it->second);
  return text;
}

}  // namespace platform::windows
