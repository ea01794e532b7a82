#include "DependencyHelpers.h"

int MasterSelection(const CWnd& control, int32_t masterId) {
  const HWND window = control.GetSafeHwnd();
  if (!window || !::IsWindow(window)) return CB_ERR;
  const HWND master = ::GetDlgItem(::GetParent(window), masterId);
  if (!master) return CB_ERR;
  return static_cast<int>(::SendMessageW(master, CB_GETCURSEL, 0, 0));
}
