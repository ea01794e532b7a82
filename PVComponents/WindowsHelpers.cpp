#include "WindowsHelpers.h"

#include <algorithm>

#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"WindowsHelpers");

// The colour's red, green and blue bytes, as the platform's RGB macro packs them.
constexpr COLORREF PackColor(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red) | (static_cast<COLORREF>(green) << 8) |
         (static_cast<COLORREF>(blue) << 16);
}

constexpr COLORREF kColorMask = 0x00FFFFFF;

}  // namespace

void GetComboBoxDropDownSize(CComboBox* comboBox, int maxVisibleItems, int* height, int* width,
                             bool fixedRows) {
  if (height) *height = 0;
  if (width) *width = 0;
  if (!comboBox || !::IsWindow(comboBox->m_hWnd)) return;

  CClientDC dc(comboBox);
  const HFONT font = reinterpret_cast<HFONT>(comboBox->SendMessage(WM_GETFONT));
  const HGDIOBJ previousFont = font ? dc.SelectObject(static_cast<HGDIOBJ>(font)) : nullptr;
  TEXTMETRICW metrics{};
  dc.GetTextMetrics(&metrics);

  const int count = std::max(comboBox->GetCount(), 0);
  const int visible = fixedRows ? maxVisibleItems : std::min(maxVisibleItems, count);
  const DWORD style = comboBox->GetStyle();
  int listHeight = 2 * ::GetSystemMetrics(SM_CYEDGE) + visible * metrics.tmHeight + 2;
  if (style & WS_HSCROLL) listHeight += ::GetSystemMetrics(SM_CYHSCROLL);

  int widest = 0;
  CString item;
  for (int i = 0; i < count; ++i) {
    comboBox->GetLBText(i, item);
    const CSize extent = dc.GetTextExtent(item);
    widest = std::max(widest, static_cast<int>(extent.cx));
  }
  int listWidth = widest + 2 * ::GetSystemMetrics(SM_CXEDGE) + 2;
  if (style & WS_VSCROLL) listWidth += ::GetSystemMetrics(SM_CXVSCROLL);

  if (previousFont) dc.SelectObject(previousFont);
  if (height) *height = listHeight;
  if (width) *width = listWidth;
}

BOOL IsSameColor(COLORREF first, COLORREF second) {
  return (first & kColorMask) == (second & kColorMask) ? TRUE : FALSE;
}

int DialogUnitsToPixelsX(CWnd* window, int n) {
  if (window && ::IsWindow(window->m_hWnd)) {
    RECT rect{0, 0, n, n};
    if (::MapDialogRect(window->m_hWnd, &rect)) return rect.right - rect.left;
  }
  return ::MulDiv(n, 11, 7);
}

COLORREF GetLinkColor() {
  return PackColor(51, 102, 204);
}

CString CombinePath(const CString& first, const CString& second) {
  CString combined = first;
  if (combined.IsEmpty() || combined[combined.GetLength() - 1] != L'\\') combined += L'\\';
  if (!second.IsEmpty() && second[0] == L'\\')
    combined += second.Mid(1);
  else
    combined += second;
  return combined;
}

HICON LoadSmallIcon(HINSTANCE instance, UINT iconId) {
  HINSTANCE source = instance ? instance : AfxGetInstanceHandle();
  auto icon =
      static_cast<HICON>(::LoadImageW(source, MAKEINTRESOURCEW(iconId), IMAGE_ICON, 16, 16, LR_DEFAULTCOLOR));
  if (!icon) Log(L"Error: Failed to load icon", L"LoadSmallIcon", __LINE__);
  return icon;
}

BOOL ResizeWindowToClientSize(CWnd* window, SIZE clientSize) {
  if (!window || !::IsWindow(window->m_hWnd)) return FALSE;
  CRect windowRect, clientRect;
  window->GetWindowRect(&windowRect);
  window->GetClientRect(&clientRect);
  const int frameWidth = windowRect.Width() - clientRect.Width();
  const int frameHeight = windowRect.Height() - clientRect.Height();
  return window->SetWindowPos(nullptr, 0, 0, clientSize.cx + frameWidth, clientSize.cy + frameHeight,
                              SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
}
