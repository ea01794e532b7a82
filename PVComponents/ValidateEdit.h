// An edit control that hands every typed character, paste and text change to its derived
// class for judgement: a refused character is dropped silently, a refused paste beeps.
#pragma once

#include <afxwin.h>

class CValidateEdit : public CEdit {
 public:
  CValidateEdit() = default;

 protected:
  // The text a paste would leave and the pasted text (which the judgement may trim).
  virtual HRESULT ValidateText(CString& resultingText, CString& insertedText) = 0;
  virtual HRESULT ValidateChar(wchar_t character) = 0;
  virtual void OnValidChar(UINT character, UINT repeatCount, UINT flags) = 0;
  virtual void OnTextChanged() = 0;

  afx_msg void OnChar(UINT character, UINT repeatCount, UINT flags);
  afx_msg LRESULT OnPaste(WPARAM, LPARAM);
  afx_msg void CheckTextChanged();
  afx_msg void OnSetFocus(CWnd* oldWindow);

  DECLARE_MESSAGE_MAP()

 private:
  CString m_rememberedText;
};
