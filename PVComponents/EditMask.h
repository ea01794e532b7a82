// Edit masks: stateless rules that judge one keystroke against an edit's text and selection,
// or a whole text after a paste, for decimal and integer numbers with per-field permission for
// the plus and minus sign (sign flags: bit 0 allows '+', bit 1 allows '-').
#pragma once

#include <afxwin.h>

class CPromptInfo;

inline constexpr DWORD PV_SIGN_PLUS_ALLOWED = 0x1;
inline constexpr DWORD PV_SIGN_MINUS_ALLOWED = 0x2;

class IEditMask {
 public:
  virtual ~IEditMask() = default;
  // After a paste: the whole resulting text, and the inserted text, which becomes its trimmed
  // form when it is a number on its own.
  virtual HRESULT CheckText(const CString& wholeText, CString& insertedText, DWORD signFlags) const = 0;
  // A keystroke against the edit's text and selection.
  virtual HRESULT CheckChar(CWnd* edit, wchar_t character, DWORD signFlags) const = 0;
  // Converts the text (the number is not returned); on success cuts its leading zeros and
  // says whether that changed it.
  virtual HRESULT ConvertText(CString& text, bool* changed, CPromptInfo* prompt, DWORD reserved) const = 0;
  virtual HRESULT IsValidChar(wchar_t character) const = 0;
  virtual HRESULT ValidateText(const CString& text) const = 0;
};

class CEditValueMask : public IEditMask {
 public:
  HRESULT CheckText(const CString& wholeText, CString& insertedText, DWORD signFlags) const override;
  HRESULT CheckChar(CWnd* edit, wchar_t character, DWORD signFlags) const override;
};

class CEditFloatMask : public CEditValueMask {
 public:
  HRESULT ConvertText(CString& text, bool* changed, CPromptInfo* prompt, DWORD reserved) const override;
  HRESULT IsValidChar(wchar_t character) const override;
  HRESULT ValidateText(const CString& text) const override;
};

class CEditIntegerMask : public CEditValueMask {
 public:
  HRESULT ConvertText(CString& text, bool* changed, CPromptInfo* prompt, DWORD reserved) const override;
  HRESULT IsValidChar(wchar_t character) const override;
  HRESULT ValidateText(const CString& text) const override;
};

// The process-wide masks, created on first use and deleted at unload; callers never free them.
CEditFloatMask* GetEditFloatMask();
CEditIntegerMask* GetEditIntegerMask();
