#include "ValidateEdit.h"

#include <string>

#include "EditInput.h"

BEGIN_MESSAGE_MAP(CValidateEdit, CEdit)
ON_WM_CHAR()
ON_MESSAGE(WM_PASTE, OnPaste)
ON_CONTROL_REFLECT(EN_UPDATE, CheckTextChanged)
ON_WM_SETFOCUS()
END_MESSAGE_MAP()

namespace {

constexpr wchar_t kSelectAll = 1;  // Ctrl+A

}  // namespace

void CValidateEdit::OnChar(UINT character, UINT repeatCount, UINT flags) {
  const bool control = IsKeyDown(VK_CONTROL);
  if (control) {
    if (character != kSelectAll) {
      Default();
      return;
    }
    SetSel(0, -1);
    SendMessage(EM_SCROLLCARET);
    return;
  }
  if (IsKeyDown(VK_MENU)) {
    Default();
    return;
  }
  if (FAILED(ValidateChar(static_cast<wchar_t>(character)))) return;
  OnValidChar(character, repeatCount, flags);
}

LRESULT CValidateEdit::OnPaste(WPARAM, LPARAM) {
  if (!IsWindowEnabled() || (GetStyle() & ES_READONLY)) return Default();
  std::wstring pasted;
  if (!ReadClipboardText(m_hWnd, &pasted)) return Default();
  CString text;
  GetWindowText(text);
  int start = 0, end = 0;
  GetSel(start, end);
  CString inserted(pasted.c_str());
  CString resulting = text.Left(start) + inserted + text.Mid(end);
  if (FAILED(ValidateText(resulting, inserted))) {
    MessageBeep(0);
    return 0;
  }
  ReplaceSel(inserted, TRUE);
  return 0;
}

void CValidateEdit::CheckTextChanged() {
  CString text;
  GetWindowText(text);
  if (text == m_rememberedText) return;
  OnTextChanged();
  m_rememberedText = text;
}

void CValidateEdit::OnSetFocus(CWnd* oldWindow) {
  CEdit::OnSetFocus(oldWindow);
  if (!(GetStyle() & ES_READONLY)) return;
  const int end = LineLength(-1);
  SetSel(end, end);
  SendMessage(EM_SCROLLCARET);
}
