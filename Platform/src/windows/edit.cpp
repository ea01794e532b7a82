// The edit control, single-line: text, selection, replace-selection with undo, limit,
// read-only, the default character, clipboard and key handling, and EN_UPDATE / EN_CHANGE.
// The text is the window's own text, so WM_GETTEXT and GetWindowTextW read it directly.
#include <algorithm>
#include <cwctype>

#include "windows_internal.h"
#include "winbase.h"

namespace platform::windows::internal {
namespace {

constexpr int kDefaultLimit = 32767;       // before EM_LIMITTEXT, as documented
constexpr int kLargestLimit = 0x7FFFFFFE;  // EM_LIMITTEXT(0) on a single-line control

struct EditState : ControlState {
  int selStart = 0;
  int selEnd = 0;
  int limit = kDefaultLimit;
  bool modified = false;
  bool canUndo = false;
  std::wstring undoText;
  int scrollCaretCalls = 0;
};

int Length(const Window* w) {
  return static_cast<int>(w->text.size());
}

void Notify(HWND hwnd) {
  NotifyParent(hwnd, EN_UPDATE);
  if (IsWindow(hwnd)) NotifyParent(hwnd, EN_CHANGE);
}

// A single-line control keeps text up to its first line break.
std::wstring FirstLine(std::wstring text) {
  size_t end = text.find_first_of(L"\r\n");
  if (end != std::wstring::npos) text.resize(end);
  return text;
}

// Replaces the selection with text. honorLimit: the user's input, cut to the room the limit
// leaves (EN_MAXTEXT when it is cut). Returns false when nothing changed.
bool ReplaceSelection(HWND hwnd, std::wstring text, bool honorLimit, bool canUndo) {
  Window* w = Find(hwnd);
  EditState* s = StateOf<EditState>(hwnd);
  if (!w || !s) return false;
  text = FirstLine(std::move(text));
  if (w->style & ES_UPPERCASE) std::transform(text.begin(), text.end(), text.begin(), ::towupper);
  if (w->style & ES_LOWERCASE) std::transform(text.begin(), text.end(), text.begin(), ::towlower);
  int a = std::min(s->selStart, s->selEnd), b = std::max(s->selStart, s->selEnd);
  if (honorLimit) {
    long long room = static_cast<long long>(s->limit) - (Length(w) - (b - a));
    if (room < static_cast<long long>(text.size())) {
      text.resize(static_cast<size_t>(std::max(room, 0LL)));
      NotifyParent(hwnd, EN_MAXTEXT);
      if (!(w = Find(hwnd))) return false;
    }
  }
  if (text.empty() && a == b) return false;
  if (canUndo) {
    s->undoText = w->text;
    s->canUndo = true;
  }
  w->text = w->text.substr(0, static_cast<size_t>(a)) + text + w->text.substr(static_cast<size_t>(b));
  s->selStart = s->selEnd = a + static_cast<int>(text.size());
  s->modified = true;
  Notify(hwnd);
  return true;
}

void CopySelection(Window* w, EditState* s) {
  int a = std::min(s->selStart, s->selEnd), b = std::max(s->selStart, s->selEnd);
  if (a == b || (w->style & ES_PASSWORD) || !OpenClipboard(w->handle)) return;
  std::wstring text = w->text.substr(static_cast<size_t>(a), static_cast<size_t>(b - a));
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (memory) {
    auto* p = static_cast<wchar_t*>(GlobalLock(memory));
    std::copy(text.begin(), text.end(), p);
    p[text.size()] = 0;
    GlobalUnlock(memory);
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
  }
  CloseClipboard();
}

bool ClipboardText(HWND hwnd, std::wstring* text) {
  if (!OpenClipboard(hwnd)) return false;
  HANDLE data = GetClipboardData(CF_UNICODETEXT);
  const auto* p = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr;
  if (p) {
    *text = std::wstring(p, wcsnlen(p, GlobalSize(data) / sizeof(wchar_t)));
    GlobalUnlock(data);
  }
  CloseClipboard();
  return p != nullptr;
}

void Select(EditState* s, int caret) {
  s->selStart = s->selEnd = caret;
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = Find(hwnd);
  if (!w) return 0;
  EditState* s = StateOf<EditState>(hwnd);
  const bool readOnly = (w->style & ES_READONLY) != 0;
  switch (msg) {
    case WM_NCCREATE: {
      LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
      w->text = FirstLine(w->text);
      return result;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
    case WM_SETTEXT:
      DefWindowProcW(hwnd, msg, wParam, lParam);
      w->text = FirstLine(w->text);
      Select(s, 0);
      s->modified = false;
      s->canUndo = false;
      s->undoText.clear();
      Notify(hwnd);
      return TRUE;
    case EM_GETSEL: {
      int a = std::min(s->selStart, s->selEnd), b = std::max(s->selStart, s->selEnd);
      if (wParam) *reinterpret_cast<DWORD*>(wParam) = static_cast<DWORD>(a);
      if (lParam) *reinterpret_cast<DWORD*>(lParam) = static_cast<DWORD>(b);
      return (a > 0xFFFF || b > 0xFFFF) ? -1 : MAKELONG(a, b);
    }
    case EM_SETSEL: {
      int start = static_cast<int>(wParam), end = static_cast<int>(lParam);
      int length = Length(w);
      if (start == -1) {
        Select(s, s->selEnd);  // -1 removes the selection, keeping the caret
        return 0;
      }
      if (start < 0 || start > length) start = length;
      if (end < 0 || end > length) end = length;
      s->selStart = std::min(start, end);
      s->selEnd = std::max(start, end);
      return 0;
    }
    case EM_REPLACESEL:
      ReplaceSelection(hwnd, lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"", true, wParam != 0);
      return 0;
    case EM_SCROLLCARET:
      s->scrollCaretCalls++;
      return TRUE;
    case EM_LINELENGTH:
      if (static_cast<int>(wParam) == -1) return Length(w) - std::abs(s->selEnd - s->selStart);
      return Length(w);
    case EM_GETLINECOUNT:
      return 1;
    case EM_LIMITTEXT:
      s->limit = wParam ? static_cast<int>(std::min<WPARAM>(wParam, kLargestLimit)) : kLargestLimit;
      return 0;
    case EM_GETLIMITTEXT:
      return s->limit;
    case EM_SETREADONLY:
      w->style = wParam ? (w->style | ES_READONLY) : (w->style & ~ES_READONLY);
      return TRUE;
    case EM_GETMODIFY:
      return s->modified ? TRUE : FALSE;
    case EM_SETMODIFY:
      s->modified = wParam != 0;
      return 0;
    case EM_CANUNDO:
      return s->canUndo ? TRUE : FALSE;
    case EM_EMPTYUNDOBUFFER:
      s->canUndo = false;
      s->undoText.clear();
      return 0;
    case EM_UNDO:
    case WM_UNDO: {
      if (!s->canUndo) return FALSE;
      std::swap(w->text, s->undoText);  // a second undo puts the change back
      Select(s, Length(w));
      s->modified = true;
      Notify(hwnd);
      return TRUE;
    }
    case WM_CHAR: {
      wchar_t c = static_cast<wchar_t>(wParam);
      if (c == 0x03) return SendMessageW(hwnd, WM_COPY, 0, 0);
      if (c == 0x16) return SendMessageW(hwnd, WM_PASTE, 0, 0);
      if (c == 0x18) return SendMessageW(hwnd, WM_CUT, 0, 0);
      if (c == 0x1A) return SendMessageW(hwnd, WM_UNDO, 0, 0);
      if (readOnly) return 0;
      if (c == VK_BACK) {
        if (s->selStart == s->selEnd) {
          if (s->selStart == 0) return 0;
          s->selStart -= 1;
        }
        ReplaceSelection(hwnd, L"", false, true);
        return 0;
      }
      if (c < 0x20) return 0;  // line breaks, tabs and other control characters
      if ((w->style & ES_NUMBER) && !(c >= L'0' && c <= L'9')) {
        MessageBeep(MB_OK);
        return 0;
      }
      ReplaceSelection(hwnd, std::wstring(1, c), true, true);
      return 0;
    }
    case WM_KEYDOWN: {
      int caret = s->selEnd;
      switch (wParam) {
        case VK_DELETE:
          if (readOnly) return 0;
          if (s->selStart == s->selEnd) {
            if (s->selEnd >= Length(w)) return 0;
            s->selEnd += 1;
          }
          ReplaceSelection(hwnd, L"", false, true);
          return 0;
        case VK_HOME:
          Select(s, 0);
          return 0;
        case VK_END:
          Select(s, Length(w));
          return 0;
        case VK_LEFT:
          Select(s,
                 std::max(0, (s->selStart != s->selEnd ? std::min(s->selStart, s->selEnd) + 1 : caret) - 1));
          return 0;
        case VK_RIGHT:
          Select(s, std::min(Length(w),
                             (s->selStart != s->selEnd ? std::max(s->selStart, s->selEnd) - 1 : caret) + 1));
          return 0;
        default:
          return DefWindowProcW(hwnd, msg, wParam, lParam);
      }
    }
    case WM_PASTE: {
      std::wstring text;
      if (readOnly || !ClipboardText(hwnd, &text)) return 0;
      ReplaceSelection(hwnd, text, true, true);
      return 0;
    }
    case WM_COPY:
      CopySelection(w, s);
      return 0;
    case WM_CUT:
      CopySelection(w, s);
      if (!readOnly && s->selStart != s->selEnd) ReplaceSelection(hwnd, L"", false, true);
      return 0;
    case WM_CLEAR:
      if (!readOnly && s->selStart != s->selEnd) ReplaceSelection(hwnd, L"", false, true);
      return 0;
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      NotifyParent(hwnd, EN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      NotifyParent(hwnd, EN_KILLFOCUS);
      return 0;
    case WM_SETFONT:
      w->font = reinterpret_cast<HFONT>(wParam);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(w->font);
    default:
      return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
}

int EditScrollCaretCalls(HWND hwnd) {
  EditState* s = ClassNameOfIs(hwnd, L"Edit") ? StateOf<EditState>(hwnd) : nullptr;
  return s ? s->scrollCaretCalls : 0;
}

}  // namespace platform::windows::internal
