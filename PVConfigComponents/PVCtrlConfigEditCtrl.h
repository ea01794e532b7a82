// The edit box that shows and edits one numeric member of the module's configuration tag.
// Every keystroke and paste is judged by the subclass's edit mask with the control's sign
// rules; the text reaches the member only on save, deactivation or flush, where the mask and
// the value object convert it. Rejected text is reported with its input-error code and a
// prompt naming the member, and stays in the box (the control stays dirty).
//
// A page constructs the control with its dialog item id, subclasses it onto the template's
// edit box and binds it in OnInitDialog through the subclass's typed Initialize.
#pragma once

#include <afxwin.h>

#include <cstdint>
#include <optional>

#include "PVCtrl.h"
#include "PVEnableCondition.h"
#include "PVGetSetInterfaces.h"

class IEditMask;

// The data type codes a configuration edit passes to its value object's text forms.
inline constexpr int PV_EDIT_DATA_INTEGER = 3;
inline constexpr int PV_EDIT_DATA_FLOAT = 4;
inline constexpr int PV_EDIT_DATA_OTHER = 5;  // accepted by the common binding check only

class CPVCtrlConfigEditCtrl : public CEdit, public CPVCtrl {
 public:
  explicit CPVCtrlConfigEditCtrl(int itemId);
  ~CPVCtrlConfigEditCtrl() override;

  // The common binding: stores the value, the text limit, the sign flags (bit 0 allows '+',
  // bit 1 '-'), the data type code and the enable condition (both counted), then decides once:
  // S_OK (and the text limit applied) only for the first call whose binding check passes;
  // a later call stores its arguments but answers E_FAIL and leaves the limit alone.
  virtual HRESULT Initialize(IPVGetSetValue* value, int textLimit, DWORD signFlags, int dataType,
                             IPVEnableCondition* enableCondition);
  // 1 when the value is there and initialized and the data type code is 3, 4 or 5.
  virtual BOOL IsBindingValid();
  // The user changed the text: the page learns of it (NotifyModified).
  virtual void OnTextChanged();
  // S_OK when not dirty; else WriteValue, and the control is clean again when it succeeded.
  virtual HRESULT SaveIfDirty(CPromptInfo* prompt);
  // Reads the member unless the user's text is pending (dirty), then records the force state.
  virtual HRESULT RefreshFromValue(CPromptInfo* prompt);
  // The member's text into the window without marking anything dirty. E_FAIL when unbound or
  // when the read fails.
  virtual HRESULT ReadValue(CPromptInfo* prompt);
  // The window's text through the mask's conversion into the member. An input-error code
  // puts the member name in front of the prompt's text; every result is passed up.
  virtual HRESULT WriteValue(CPromptInfo* prompt);

  // IPVCtrl.
  STDMETHODIMP OnActivate() override;    // RefreshFromValue
  STDMETHODIMP Refresh() override;       // RefreshFromValue
  STDMETHODIMP OnDeactivate() override;  // SaveIfDirty; a rejected text's prompt is shown
  STDMETHODIMP Save() override;          // SaveIfDirty; a rejected text's prompt is shown
  // UpdateEnableState (its failure logged and returned), then the base's answer.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  // S_OK after showing the error when the control is bound to that member; else E_FAIL so
  // that the page offers the error to the next control.
  STDMETHODIMP OnValidationError(LONG errorCode, BSTR memberName, IErrorInfo** errorInfo) override;
  // A member whose tag can be forced keeps its box enabled and read-only while the enable
  // rule says no; any other member's box is enabled or disabled. S_OK.
  HRESULT UpdateEnableState() override;
  // FALSE when the enable condition says no; else the default rule.
  BOOL GetEnableState() override;

  // IPVEventHandler2. SaveIfDirty without a prompt. Text that cannot be stored is left as
  // typed and the member untouched: the control stays dirty, the next Save rejects the text
  // with its prompt, and the flush answers the input-error code.
  STDMETHODIMP Flush() override;

  // Sets the device context's text colour from the recorded force state: the host
  // application's forced colour (forces disabled) or forced-and-enabled colour, else the
  // system's window text colour. Without the application object nothing is set (S_OK); a
  // failed colour read is returned and sets nothing.
  HRESULT SetTextColorFromForceState(CDC* dc);

  int GetForceState() const { return m_nForceState; }

 protected:
  void PreSubclassWindow() override;  // applies the text limit (1 until bound)

  // Typing: Ctrl+A selects everything, other Ctrl and Alt keys go to the edit; any other
  // character is judged by the mask, and a refused one beeps and is dropped.
  afx_msg void OnChar(UINT character, UINT repeatCount, UINT flags);
  // Pasting into an enabled, writable box: the text the paste would leave is judged by the
  // mask; a refused paste beeps and changes nothing.
  afx_msg LRESULT OnPaste(WPARAM, LPARAM);
  // The reflected EN_UPDATE: a text that differs from the last one seen is a change.
  afx_msg void OnUpdate();
  afx_msg void OnSetFocus(CWnd* oldWindow);
  // Leaving the box puts the text back in its normal form (mask conversion).
  afx_msg void OnKillFocus(CWnd* newWindow);

  // ReadValue and WriteValue in the value's text form, or, with decimals, in its float text
  // form with that many decimals.
  HRESULT ReadValueText(std::optional<int> decimals, CPromptInfo* prompt);
  HRESULT WriteValueText(std::optional<int> decimals, CPromptInfo* prompt);
  // The text into the window with dirty tracking off, so that nothing is marked dirty.
  void ShowValueText(const CString& text);
  // An input-error code's prompt gets the member name in front of its text.
  void PrefixMemberName(HRESULT hr, CPromptInfo* prompt);

  int32_t m_bBound = 0;
  int32_t m_nTextLimit = 1;
  const IEditMask* m_pEditMask = nullptr;  // process-wide, never freed here
  IPVGetSetValuePtr m_spValue;
  DWORD m_dwSignFlags = 0;
  int32_t m_nDataType = -1;
  CString m_strLastText;
  IPVEnableConditionPtr m_spEnableCondition;
  int32_t m_nForceState = 0;

 private:
  // OnDeactivate and Save: SaveIfDirty with a fresh prompt, shown when the text was rejected.
  HRESULT SaveAndReport();

  DECLARE_MESSAGE_MAP()
};
