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

// What the two captions share: they follow other controls and redo their caption on a change
// of those, on activation and on refresh.
class CPVCtrlUnitCaption : public CPVCtrlStatic {
 public:
  explicit CPVCtrlUnitCaption(int itemId);
  ~CPVCtrlUnitCaption() override;

  // Sets the caption; E_FAIL (caption untouched) unless the control is ready.
  virtual HRESULT DoRefresh() = 0;

  // IPVCtrl. OnActivate: Refresh, then DoRefresh; S_FALSE only when both failed.
  STDMETHODIMP OnActivate() override;
  // E_FAIL unless ready; else the caption is redone, so that a revert or a change of the
  // members followed shows what is stored.
  STDMETHODIMP Refresh() override;
  // E_FAIL unless ready; a change of a control followed redoes the caption; any other S_OK.
  STDMETHODIMP OnChangedCtrlData(CWnd* changedWindow, int changedItemId) override;

 protected:
  virtual BOOL IsReady() const = 0;
  virtual bool Follows(int itemId) const = 0;
};

class CPVCtrlCmbDependStatic : public CPVCtrlUnitCaption {
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
  // the table. E_FAIL (caption untouched) unless the control is ready (see Initialize). The
  // caption follows its master.
  HRESULT DoRefresh() override;

 protected:
  BOOL IsReady() const override;
  bool Follows(int itemId) const override { return itemId == m_nMasterId; }

  const int32_t m_nMasterId;
  IPVGetSetValuePtr m_spUnits[kUnitRoleCount];  // by EUnitRole
  int32_t m_nDataType = -1;
};

class CPVCtrlCmbDependStaticPreset : public CPVCtrlUnitCaption {
 public:
  CPVCtrlCmbDependStaticPreset(int itemId, int unitComboId, int assignComboId);
  ~CPVCtrlCmbDependStaticPreset() override;

  // The totalizer unit text of the unit combo's selection plus the offset of the assign combo's
  // family; "??" when the unit combo has no selection or the index names no unit. E_FAIL
  // (caption untouched) unless both ids are above 0. The caption follows both combo boxes.
  HRESULT DoRefresh() override;

 protected:
  BOOL IsReady() const override;
  bool Follows(int itemId) const override { return itemId == m_nUnitComboId || itemId == m_nAssignComboId; }

  const int32_t m_nUnitComboId;
  const int32_t m_nAssignComboId;
};
