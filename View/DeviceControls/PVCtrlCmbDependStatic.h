// Unit captions that follow a master combo box on the same page and show the engineering unit
// of the value beside them. Neither writes anything.
//
// CPVCtrlCmbDependStatic: the master's selection decides which of five unit members (mass
// flow, volume flow, corrected volume flow, density, reference density) is read; its unit code
// is looked up in that role's caption table. CPVCtrlCmbDependStaticPreset: a totalizer's unit
// combo box selection within the unit family of its assign-variable combo box gives one of the
// 36 totalizer unit texts. Which member a selection reads, the captions a meter words
// differently and the families come from the meter's unit data (DeviceUnitData.h).
#pragma once

#include <PVCtrlStatic.h>
#include <PVGetSetInterfaces.h>

#include <cstdint>

#include "DeviceUnitData.h"

class CPVCtrlCmbDependStatic : public CPVCtrlStatic {
 public:
  CPVCtrlCmbDependStatic(int itemId, int masterId);
  ~CPVCtrlCmbDependStatic() override;

  // Stores the five references (counted; null allowed) and the data type code. The first two
  // go to the fields of the roles the meter's unit data names for them (mass flow, then volume
  // flow for the Coriolis meter). S_OK when the master id is above 0, the window exists and
  // the type is 0, 3, 4 or 5; else E_FAIL.
  HRESULT Initialize(IPVGetSetValue* firstUnit, IPVGetSetValue* secondUnit,
                     IPVGetSetValue* correctedVolumeFlowUnit, IPVGetSetValue* densityUnit,
                     IPVGetSetValue* referenceDensityUnit, int dataType);
  // Sets the caption from the master's selection and the unit member it names: one blank for
  // no selection, selection 0, a selection without a member, a failed read or a code not in
  // the table. E_FAIL (caption untouched) unless the control is ready (see Initialize).
  HRESULT DoRefresh();

  // IPVCtrl. OnActivate: Refresh, then DoRefresh; S_FALSE only when both failed.
  STDMETHODIMP OnActivate() override;
  // E_FAIL unless ready; else the caption is redone (DoRefresh), so that a revert or a change
  // of the unit member shows the stored unit.
  STDMETHODIMP Refresh() override;
  // E_FAIL unless ready; the master's change redoes the caption; any other change S_OK.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;

 protected:
  BOOL IsReady() const;

  const int32_t m_nMasterId;
  IPVGetSetValuePtr m_spUnits[kUnitRoleCount];  // by EUnitRole
  int32_t m_nDataType = -1;
};

class CPVCtrlCmbDependStaticPreset : public CPVCtrlStatic {
 public:
  CPVCtrlCmbDependStaticPreset(int itemId, int unitComboId, int assignComboId);
  ~CPVCtrlCmbDependStaticPreset() override;

  // The totalizer unit text of the unit combo's selection plus the offset of the assign combo's
  // family; "??" when the unit combo has no selection or the index names no unit. E_FAIL
  // (caption untouched) unless both ids are above 0.
  HRESULT DoRefresh();

  // IPVCtrl. OnActivate: Refresh, then DoRefresh; S_FALSE only when both failed.
  STDMETHODIMP OnActivate() override;
  // E_FAIL unless both ids are above 0; else the caption is redone.
  STDMETHODIMP Refresh() override;
  // E_FAIL unless both ids are above 0; a change of either combo box redoes the caption; any
  // other change S_OK.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;

 protected:
  BOOL IsReady() const;

  const int32_t m_nUnitComboId;
  const int32_t m_nAssignComboId;
};
