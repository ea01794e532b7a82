// The combo box: its list of items with data, the selection, and the text of a drop-down
// list (the selected item's). The list is never shown; its dropped state and width are kept.
// While the list is open, Return commits the selection (CBN_SELENDOK) and Escape or the loss
// of the focus abandons it (CBN_SELENDCANCEL); either closes the list (CBN_CLOSEUP). The
// selection the keys moved to is not put back on Escape: the owner decides what to show.
// Simplified: the window has one rectangle, so its client area includes the list's room.
#include <algorithm>

#include "windows_internal.h"

#include "../internal/unicode.h"

namespace platform::windows::internal {
namespace {

struct Item {
  std::wstring text;
  LPARAM data = 0;
};

struct ComboState : ControlState {
  std::vector<Item> items;
  int selection = -1;
  bool dropped = false;
  int limit = 0;
  int droppedWidth = 0;  // CB_SETDROPPEDWIDTH's minimum
};

bool IsDropDownList(const Window* w) {
  return (w->style & 0x3) == CBS_DROPDOWNLIST;
}

// The next index after start (-1: from the first) whose text matches, wrapping; CB_ERR for none.
int Find(const ComboState* s, int start, LPCWSTR text, bool exact) {
  int n = static_cast<int>(s->items.size());
  if (!text || n == 0) return CB_ERR;
  std::wstring_view wanted(text);
  for (int i = 1; i <= n; ++i) {
    int index = start < 0 || start >= n ? i - 1 : (start + i) % n;
    std::wstring_view candidate(s->items[static_cast<size_t>(index)].text);
    if (!exact) candidate = candidate.substr(0, std::min(candidate.size(), wanted.size()));
    if ((exact || candidate.size() == wanted.size()) && ::platform::CompareNoCase(candidate, wanted) == 0) {
      return index;
    }
  }
  return CB_ERR;
}

void SetSelection(Window* w, ComboState* s, int index) {
  s->selection = index;
  w->text = index >= 0 ? s->items[static_cast<size_t>(index)].text : L"";
}

// Closes the open list as the user does: endCode (CBN_SELENDOK or CBN_SELENDCANCEL) while it
// is still open, then CBN_CLOSEUP.
void CloseList(HWND hwnd, WORD endCode) {
  NotifyParent(hwnd, endCode);
  ComboState* s = StateOf<ComboState>(hwnd);
  if (!s || !s->dropped) return;
  s->dropped = false;
  NotifyParent(hwnd, CBN_CLOSEUP);
}

bool IsListKey(WPARAM vk) {
  return vk == VK_RETURN || vk == VK_ESCAPE;
}

}  // namespace

LRESULT CALLBACK ComboBoxProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  Window* w = platform::windows::internal::Find(hwnd);
  if (!w) return 0;
  ComboState* s = StateOf<ComboState>(hwnd);
  const int count = static_cast<int>(s->items.size());
  auto valid = [&](WPARAM index) { return static_cast<int>(index) >= 0 && static_cast<int>(index) < count; };
  switch (msg) {
    case WM_NCCREATE: {
      LRESULT result = DefWindowProcW(hwnd, msg, wParam, lParam);
      if (IsDropDownList(w)) w->text.clear();
      return result;
    }
    case CB_ADDSTRING: {
      std::wstring text = lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"";
      size_t at = s->items.size();
      if (w->style & CBS_SORT) {
        at = 0;
        while (at < s->items.size() && ::platform::CompareNoCase(s->items[at].text, text) <= 0) ++at;
        if (s->selection >= static_cast<int>(at)) s->selection++;
      }
      s->items.insert(s->items.begin() + static_cast<ptrdiff_t>(at), Item{text, 0});
      return static_cast<LRESULT>(at);
    }
    case CB_INSERTSTRING: {
      int index = static_cast<int>(wParam);
      if (index == -1) index = count;
      if (index < 0 || index > count) return CB_ERR;
      s->items.insert(s->items.begin() + index, Item{lParam ? reinterpret_cast<LPCWSTR>(lParam) : L"", 0});
      if (s->selection >= index) s->selection++;
      return index;
    }
    case CB_DELETESTRING: {
      if (!valid(wParam)) return CB_ERR;
      int index = static_cast<int>(wParam);
      s->items.erase(s->items.begin() + index);
      if (s->selection == index) {
        SetSelection(w, s, -1);
      } else if (s->selection > index) {
        s->selection--;
      }
      return static_cast<LRESULT>(s->items.size());
    }
    case CB_RESETCONTENT:
      s->items.clear();
      SetSelection(w, s, -1);
      return CB_OKAY;
    case CB_GETCOUNT:
      return count;
    case CB_GETLBTEXT: {
      if (!valid(wParam)) return CB_ERR;
      const std::wstring& text = s->items[wParam].text;
      if (auto* buffer = reinterpret_cast<LPWSTR>(lParam)) {
        std::copy(text.begin(), text.end(), buffer);
        buffer[text.size()] = 0;
      }
      return static_cast<LRESULT>(text.size());
    }
    case CB_GETLBTEXTLEN:
      return valid(wParam) ? static_cast<LRESULT>(s->items[wParam].text.size()) : CB_ERR;
    case CB_GETCURSEL:
      return s->selection;
    case CB_SETCURSEL:
      if (!valid(wParam)) {
        SetSelection(w, s, -1);
        return CB_ERR;
      }
      SetSelection(w, s, static_cast<int>(wParam));
      return static_cast<LRESULT>(wParam);
    case CB_FINDSTRINGEXACT:
      return Find(s, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam), true);
    case CB_FINDSTRING:
      return Find(s, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam), false);
    case CB_SELECTSTRING: {
      int index = Find(s, static_cast<int>(wParam), reinterpret_cast<LPCWSTR>(lParam), false);
      if (index != CB_ERR) SetSelection(w, s, index);
      return index;
    }
    case CB_SETITEMDATA:
      if (!valid(wParam)) return CB_ERR;
      s->items[wParam].data = lParam;
      return TRUE;
    case CB_GETITEMDATA:
      return valid(wParam) ? s->items[wParam].data : CB_ERR;
    case CB_SHOWDROPDOWN:
      if ((wParam != 0) != s->dropped) {
        s->dropped = wParam != 0;
        NotifyParent(hwnd, s->dropped ? CBN_DROPDOWN : CBN_CLOSEUP);
      }
      return TRUE;
    case CB_GETDROPPEDSTATE:
      return s->dropped ? TRUE : FALSE;
    case CB_SETDROPPEDWIDTH:
      if (static_cast<int>(wParam) < 0) return CB_ERR;
      s->droppedWidth = static_cast<int>(wParam);
      return std::max<LRESULT>(s->droppedWidth, w->rect.right - w->rect.left);
    case CB_GETDROPPEDWIDTH:
      // The list is never narrower than the combo box.
      return std::max<LRESULT>(s->droppedWidth, w->rect.right - w->rect.left);
    case CB_LIMITTEXT:
      if (IsDropDownList(w)) return CB_ERR;
      s->limit = static_cast<int>(wParam);
      return TRUE;
    case WM_SETTEXT:
      if (IsDropDownList(w)) return CB_ERR;
      return DefWindowProcW(hwnd, msg, wParam, lParam);
    case WM_KEYDOWN: {
      if (s->dropped && IsListKey(wParam)) {
        CloseList(hwnd, wParam == VK_RETURN ? CBN_SELENDOK : CBN_SELENDCANCEL);
        return 0;
      }
      int next = s->selection;
      if (wParam == VK_DOWN) next = std::min(count - 1, s->selection + 1);
      if (wParam == VK_UP) next = std::max(count > 0 ? 0 : -1, s->selection - 1);
      if (wParam == VK_HOME) next = count > 0 ? 0 : -1;
      if (wParam == VK_END) next = count - 1;
      if (next != s->selection) {
        SetSelection(w, s, next);
        NotifyParent(hwnd, CBN_SELCHANGE);
      }
      return 0;
    }
    case WM_GETDLGCODE: {
      // The open list takes Return and Escape itself, so the dialog does not see them.
      const auto* message = reinterpret_cast<const MSG*>(lParam);
      const bool listKey =
          s->dropped && message && message->message == WM_KEYDOWN && IsListKey(message->wParam);
      return DLGC_WANTARROWS | DLGC_WANTCHARS | (listKey ? DLGC_WANTMESSAGE : 0);
    }
    case WM_LBUTTONDOWN:
      SetFocus(hwnd);
      return 0;
    case WM_SETFOCUS:
      NotifyParent(hwnd, CBN_SETFOCUS);
      return 0;
    case WM_KILLFOCUS:
      if (s->dropped) CloseList(hwnd, CBN_SELENDCANCEL);
      if (IsWindow(hwnd)) NotifyParent(hwnd, CBN_KILLFOCUS);
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

}  // namespace platform::windows::internal
