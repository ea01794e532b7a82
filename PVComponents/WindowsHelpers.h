// Small window helpers of the framework. The configuration combo box sizes its drop-down list
// with GetComboBoxDropDownSize; the others are offered for pages and controls.
#pragma once

#include <afxwin.h>

// The drop-down list's size for at most maxVisibleItems entries, from the combo box's font:
// height 2 x SM_CYEDGE + n x tmHeight + 2 (n the smaller of the maximum and the item count,
// or the maximum itself whatever the count with fixedRows),
// plus SM_CYHSCROLL with WS_HSCROLL; width the widest item text + 2 x SM_CXEDGE + 2, plus
// SM_CXVSCROLL with WS_VSCROLL. Every item is measured for the width. Both 0 for a null or
// dead combo box; null out-pointers are skipped.
void GetComboBoxDropDownSize(CComboBox* comboBox, int maxVisibleItems, int* height, int* width,
                             bool fixedRows = false);

// Whether two colours are equal in their red, green and blue bytes.
BOOL IsSameColor(COLORREF first, COLORREF second);
// n horizontal dialog units of the window in pixels (MapDialogRect); MulDiv(n, 11, 7) without
// a window or when the mapping fails.
int DialogUnitsToPixelsX(CWnd* window, int n);
// The framework's fixed link colour, RGB(51, 102, 204).
COLORREF GetLinkColor();
// first, a backslash unless first ends in one, then second without a leading backslash.
CString CombinePath(const CString& first, const CString& second);
// The 16 x 16 icon iconId of instance (null: the module's); null (logged) when it cannot load.
HICON LoadSmallIcon(HINSTANCE instance, UINT iconId);
// Resizes the window so that its client area gets the size; position and z-order are kept.
BOOL ResizeWindowToClientSize(CWnd* window, SIZE clientSize);
