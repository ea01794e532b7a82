// A caption that shows the name of the unit stored in one unit member (pressure, temperature,
// density or reference density) beside the value it qualifies. The meter's unit data chooses
// the table by the control's own dialog item id; a code the table does not list, an id
// without a table and a failed read show "??". It writes nothing and is always enabled.
#pragma once

#include <PVCtrlStatic.h>
#include <PVGetSetInterfaces.h>

#include <cstdint>

class CPVCtrlConfigStaticTextPages : public CPVCtrlStatic {
 public:
  explicit CPVCtrlConfigStaticTextPages(int itemId);
  ~CPVCtrlConfigStaticTextPages() override;

  // Stores the value (counted) and the data type code (and the decimals), then
  // InitializationIsValid: S_OK when it passes, else logged and E_FAIL.
  HRESULT Initialize(IPVGetSetValue* value, int dataType);
  HRESULT Initialize(IPVGetSetValue* value, int dataType, int decimals);
  // 1 with a window, a value and data type 0, 3 or 5 (or 4 with 0 to 9 decimals); else each
  // failure logged and 0.
  BOOL InitializationIsValid();
  // The bound value with a reference for the caller; null (logged, no reference) without one.
  IPVGetSetValue* GetIPVGetSetValue();
  // Reads the unit code and shows its name ("??" when there is none). E_FAIL (logged, caption
  // untouched) unless InitializationIsValid; else the read's result.
  HRESULT DoRefresh();

  // IPVCtrl: both DoRefresh.
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;

 protected:
  IPVGetSetValuePtr m_spValue;
  int32_t m_nDataType = -1;
  int32_t m_nDecimals = -1;
  const int32_t m_nOwnId;

 private:
  HRESULT CheckInitialization(int line);
};
