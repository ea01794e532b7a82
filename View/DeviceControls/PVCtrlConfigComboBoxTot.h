// A totalizer's unit list: it lists only the units of the family that the totalizer's
// process variable (its master, the assign-variable combo box) belongs to, so that a list
// position plus the family's offset is the unit member's value. A change of the process
// variable refills the list and sets the unit member at once to the family's default unit.
// The families are the meter's unit data. The user's handling of the list is that of the
// configuration combo box; the opened list is always sized for six rows.
#pragma once

#include <PVCtrlConfigComboBox.h>

#include <cstdint>

struct CTotalizerUnitFamily;

class CPVCtrlConfigComboBoxTot : public CPVCtrlConfigComboBox {
 public:
  CPVCtrlConfigComboBoxTot(int itemId, int masterId);
  ~CPVCtrlConfigComboBoxTot() override;

  // Stores the three references (counted); the first call alone decides the binding, and on
  // success fills the list from the assign member's stored value. S_OK or E_FAIL.
  HRESULT Initialize(IPVGetSetValue* unitValue, IPVGetSetValue* assignValue, IPVGetSetValue* unitStrings);
  // 1 when the unit value and the strings are there and the assign value is there and
  // initialized.
  BOOL IsBindingValid();
  // Empties the list and adds the unit texts of the family. fromValue: the family of the
  // assign member's stored value (a failed read lists every unit and writes nothing);
  // otherwise the family of the master's selection, with the unit member set to the family's
  // default unit (logged, and the control left dirty, when that write fails) and the default
  // unit selected. S_OK without change when the strings are not there; else the text read's
  // result, E_FAIL for no texts.
  HRESULT FillUnitItems(bool fromValue);

  // IPVCtrl. The read: nothing when dirty; E_FAIL unless bound; a list of another family than
  // that of the process variable the master shows is refilled with that family first (nothing
  // written); then the unit's position in the list (E_FAIL when the read fails).
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;
  // The save: S_OK when not dirty; E_FAIL unless bound; no selection saves nothing (clean);
  // else the selection plus the offset into the unit member (clean on success, else E_FAIL).
  STDMETHODIMP OnDeactivate() override;
  STDMETHODIMP Save() override;
  STDMETHODIMP Flush() override;
  // E_FAIL unless bound; a change of the master refills the list from its selection. S_OK.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;
  STDMETHODIMP OnValidationError(LONG errorCode, BSTR memberName, IErrorInfo** errorInfo) override;

  int GetIndexOffset() const { return m_nIndexOffset; }

 protected:
  BOOL SizesListForEveryRow() const override { return TRUE; }

  IPVGetSetValuePtr m_spAssignValue;
  int32_t m_nIndexOffset = 0;
  const int32_t m_nMasterId;

 private:
  HRESULT ReadUnit();
  HRESULT SaveUnit();
  // The family of the assign member's stored value; every unit when the read fails.
  const CTotalizerUnitFamily& StoredFamily();
  // The family of the master's selection; every unit without one.
  const CTotalizerUnitFamily& MasterFamily() const;
  // Empties the list and adds the family's unit texts; the family and its offset are kept.
  // The text read's result, E_FAIL for no texts.
  HRESULT ListFamily(const CTotalizerUnitFamily& family);

  const CTotalizerUnitFamily* m_pFamily = nullptr;  // the family the list holds
};
