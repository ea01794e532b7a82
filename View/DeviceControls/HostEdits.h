// The device's validated edits of a value typed by the user: the edit keeps the value's text
// apart from what its window shows, so that a disabled edit can show nothing while the value
// stays. CHostRegulatorReal takes a real number and leaves its window text to its owner;
// CHostTime takes two digits and shows a row of asterisks for its value.
#pragma once

#include <ValidateEdit.h>

// What the two edits share; each names its characters, its text limit and how it shows a value.
class CHostValueEdit : public CValidateEdit {
 public:
  // Stores the text as the value when it passes CheckValueText (else E_INVALIDARG and no
  // value), then shows the value, or empties the window when there is none to show.
  virtual HRESULT SetValueText(const CString& text);
  // The value text; empty while there is no value or the window is disabled and does not show
  // its value then. A stored text that fails CheckValueText gives an empty text and the failure.
  virtual HRESULT GetValueText(CString* text);
  // Whether a disabled window still shows its value (1 at construction).
  virtual void SetShowWhenDisabled(BOOL showWhenDisabled);
  // IsValidChar on each character until the first failure; an empty text is S_OK.
  virtual HRESULT CheckValueText(const CString& text);
  virtual HRESULT IsValidChar(wchar_t character) = 0;

 protected:
  CHostValueEdit() = default;

  HRESULT ValidateText(CString& resultingText, CString& insertedText) override;
  HRESULT ValidateChar(wchar_t character) override;
  void OnValidChar(UINT character, UINT repeatCount, UINT flags) override;
  void OnTextChanged() override;
  void PreSubclassWindow() override;

  afx_msg void OnEnable(BOOL enable);
  DECLARE_MESSAGE_MAP()

  // The most characters the window takes.
  virtual int TextLimit() const = 0;
  // Puts the value on screen while there is one to show.
  virtual void ShowValue() = 0;
  // Writes the window text without taking it as the value.
  void SetWindowTextQuietly(const wchar_t* text);

  BOOL m_hasValue = 0;
  BOOL m_settingText = 0;
  BOOL m_showWhenDisabled = 1;
  CString m_valueText;

 private:
  bool ValueIsShown() const;
  void ShowValueOrNothing();
};

class CHostRegulatorReal : public CHostValueEdit {
 public:
  CHostRegulatorReal() = default;
  // '0' to '9', '-' and '.'; else the invalid-character code.
  HRESULT IsValidChar(wchar_t character) override;

 protected:
  int TextLimit() const override { return 10; }
  // The owner writes the window text; the edit does not rewrite it.
  void ShowValue() override;
};

class CHostTime : public CHostValueEdit {
 public:
  CHostTime() = default;
  // '0' to '9'; else the invalid-character code.
  HRESULT IsValidChar(wchar_t character) override;

 protected:
  int TextLimit() const override { return 2; }
  // A row of 45 asterisks in place of the value.
  void ShowValue() override;
};
