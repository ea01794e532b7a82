// The drop-down list that shows and edits one enumeration member of the module's
// configuration tag. The list position is the enumeration value: entry 0 is value 0, entry 1
// value 1, in the order in which the strings object returns the texts.
//
// A page constructs the control with its dialog item id, subclasses it onto the template's
// combo box and binds it once in OnInitDialog to the member's value object (CPVGetSetEnum)
// and texts object (CPVGetEnumStrings). The stored value is shown on activation and refresh
// unless the user's choice is pending; a committed choice of another entry marks the control
// and the page dirty, and the entry's index is written back on save, deactivation and flush.
//
// Choosing always happens in the open list: every key that would move the selection opens it
// first, and only a committed choice counts. Escape (or the loss of the focus) puts the entry
// back that was selected when the list opened. A combo box whose style has the bit 0x0800 is
// locked: a choice is put back at once and nothing is reported.
#pragma once

#include <afxwin.h>

#include <cstdint>

#include "PVCtrl.h"
#include "PVEnableCondition.h"
#include "PVGetSetInterfaces.h"

class CPVCtrlConfigComboBox : public CComboBox, public CPVCtrl {
 public:
  explicit CPVCtrlConfigComboBox(int itemId);
  ~CPVCtrlConfigComboBox() override;

  // The binding, decided by the first call: the three objects are stored (counted; any may be
  // null), and the first call's binding check gives S_OK and fills the list with the texts
  // (each piece of the text form that ends in "\n", in order). A later call stores its
  // objects but answers E_FAIL and leaves the list alone; so does a first call whose check
  // failed, which leaves the control unbound for good. A failed or empty text read leaves
  // the list empty without changing the result.
  HRESULT Initialize(IPVGetSetValue* value, IPVGetSetValue* strings, IPVEnableCondition* enableCondition);

  // The value's integer into the list selection without marking anything dirty; a value
  // outside the list leaves no selection. E_FAIL when unbound or when the read fails.
  virtual HRESULT ReadValue();
  // The list selection (-1 for none) into the value. E_FAIL when unbound or when the write
  // fails.
  virtual HRESULT WriteValue();
  // S_OK when not dirty; else WriteValue, and the control is clean again when it succeeded.
  virtual HRESULT SaveIfDirty();
  // ReadValue unless the user's choice is pending (dirty: S_OK without reading); then, either
  // way, the member's force state is recorded.
  virtual HRESULT RefreshFromValue();
  // The binding check on the first call only: its result (1 or 0); every later call 0.
  virtual BOOL CheckFirstInitialization();

  // 1 when the value is there and initialized and the strings are there; else 0.
  BOOL IsBindingValid();

  // IPVCtrl.
  STDMETHODIMP OnActivate() override;    // RefreshFromValue
  STDMETHODIMP OnDeactivate() override;  // SaveIfDirty
  STDMETHODIMP Save() override;          // SaveIfDirty
  STDMETHODIMP Refresh() override;       // RefreshFromValue
  // S_OK after showing the error when the control is bound to that member; else E_FAIL so
  // that the page offers the error to the next control.
  STDMETHODIMP OnValidationError(LONG errorCode, BSTR memberName, IErrorInfo** errorInfo) override;
  // FALSE when the enable condition says no; else the default rule.
  BOOL GetEnableState() override;

  // IPVEventHandler2.
  STDMETHODIMP Flush() override;  // SaveIfDirty

  // Sets the device context's text colour from the recorded force state: the host
  // application's forced colour (forces disabled) or forced-and-enabled colour, else the
  // system's window text colour. Without the application object nothing is set (S_OK); a
  // failed colour read is returned and sets nothing.
  HRESULT SetTextColorFromForceState(CDC* dc);

  int GetForceState() const { return m_nForceState; }

 protected:
  // Default handling, then the page learns of the focus (OnCtrlSetFocus).
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  // VK_LEFT and VK_RIGHT are swallowed; control keys (below 0x20, and 0x7F) get the default
  // handling; every other key opens the list first.
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  // The reflected notifications of the list.
  afx_msg void OnDropDown();
  afx_msg void OnSelChange();
  afx_msg void OnSelEndCancel();
  afx_msg void OnSelEndOk();
  afx_msg void OnCloseUp();

  // Whether the opened list is sized for its most rows whatever the number of entries
  // (base: FALSE, sized for the entries up to that many).
  virtual BOOL SizesListForEveryRow() const { return FALSE; }

  IPVGetSetValuePtr m_spValue;
  IPVGetSetValuePtr m_spStrings;
  int32_t m_bBound = 0;
  // The committed entry: taken when the list opens and after each committed change.
  int32_t m_nRememberedSel = -1;
  // The entry under the cursor while the list is open; selected when it closes.
  int32_t m_nPendingSel = -1;
  IPVEnableConditionPtr m_spEnableCondition;
  int32_t m_nForceState = 0;

 private:
  // The style bit that locks the list.
  BOOL IsLocked() const;
  // Empties the list and adds the strings' texts.
  void FillList();

  DECLARE_MESSAGE_MAP()
};
