#include "PVCtrlCmbDependStatic.h"

#include "DependencyHelpers.h"

namespace {

constexpr wchar_t kNoUnit[] = L" ";
constexpr wchar_t kUnknownUnit[] = L"??";

bool IsAcceptedDataType(int dataType) {
  return dataType == 0 || dataType == 3 || dataType == 4 || dataType == 5;
}

// The unit member the master's selection names: the rows of the master when it has any,
// else those for every other master. Null when no row fits.
const CDependStaticRule* FindRule(const CDeviceUnitData& data, int masterId, int selection) {
  bool masterHasRows = false;
  for (const CDependStaticRule& rule : data.dependStaticRules)
    if (rule.masterId == masterId) masterHasRows = true;
  const int rowsOf = masterHasRows ? masterId : 0;
  for (const CDependStaticRule& rule : data.dependStaticRules)
    if (rule.masterId == rowsOf && rule.selection == selection) return &rule;
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// CPVCtrlUnitCaption

CPVCtrlUnitCaption::CPVCtrlUnitCaption(int itemId) : CPVCtrlStatic(itemId) {}

CPVCtrlUnitCaption::~CPVCtrlUnitCaption() = default;

STDMETHODIMP CPVCtrlUnitCaption::OnActivate() {
  const HRESULT refreshed = Refresh();
  const HRESULT redone = DoRefresh();
  return FAILED(refreshed) && FAILED(redone) ? S_FALSE : S_OK;
}

STDMETHODIMP CPVCtrlUnitCaption::Refresh() {
  if (!IsReady()) return E_FAIL;
  CPVCtrlStatic::Refresh();
  return DoRefresh();
}

STDMETHODIMP CPVCtrlUnitCaption::OnChangedCtrlData(CWnd*, int changedItemId) {
  if (!IsReady()) return E_FAIL;
  return Follows(changedItemId) ? DoRefresh() : S_OK;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlCmbDependStatic

CPVCtrlCmbDependStatic::CPVCtrlCmbDependStatic(int itemId, int masterId)
    : CPVCtrlUnitCaption(itemId), m_nMasterId(masterId) {}

CPVCtrlCmbDependStatic::~CPVCtrlCmbDependStatic() = default;

HRESULT CPVCtrlCmbDependStatic::Initialize(IPVGetSetValue* firstUnit, IPVGetSetValue* secondUnit,
                                           IPVGetSetValue* correctedVolumeFlowUnit,
                                           IPVGetSetValue* densityUnit, IPVGetSetValue* referenceDensityUnit,
                                           int dataType) {
  const CDeviceUnitData& data = GetDeviceUnitData();
  m_spUnits[static_cast<int>(data.firstInitializeRole)] = firstUnit;
  m_spUnits[static_cast<int>(data.secondInitializeRole)] = secondUnit;
  m_spUnits[static_cast<int>(EUnitRole::CorrectedVolumeFlow)] = correctedVolumeFlowUnit;
  m_spUnits[static_cast<int>(EUnitRole::Density)] = densityUnit;
  m_spUnits[static_cast<int>(EUnitRole::ReferenceDensity)] = referenceDensityUnit;
  m_nDataType = dataType;
  return IsReady() ? S_OK : E_FAIL;
}

BOOL CPVCtrlCmbDependStatic::IsReady() const {
  return m_nMasterId > 0 && GetSafeHwnd() && ::IsWindow(m_hWnd) && IsAcceptedDataType(m_nDataType) ? TRUE
                                                                                                   : FALSE;
}

HRESULT CPVCtrlCmbDependStatic::DoRefresh() {
  if (!IsReady()) return E_FAIL;
  CString caption = kNoUnit;
  const CDeviceUnitData& data = GetDeviceUnitData();
  const int selection = MasterSelection(*this, m_nMasterId);
  const CDependStaticRule* rule = selection > 0 ? FindRule(data, m_nMasterId, selection) : nullptr;
  IPVGetSetValue* unit = rule ? m_spUnits[static_cast<int>(rule->role)].GetInterfacePtr() : nullptr;
  LONG code = 0;
  if (unit && SUCCEEDED(unit->GetValue(&code, nullptr))) {
    if (const wchar_t* name = FindDependStaticCaption(data, rule->role, code)) caption = name;
  }
  SetStaticWindowText(caption);
  return S_OK;
}

// ---------------------------------------------------------------------------------------
// CPVCtrlCmbDependStaticPreset

CPVCtrlCmbDependStaticPreset::CPVCtrlCmbDependStaticPreset(int itemId, int unitComboId, int assignComboId)
    : CPVCtrlUnitCaption(itemId), m_nUnitComboId(unitComboId), m_nAssignComboId(assignComboId) {}

CPVCtrlCmbDependStaticPreset::~CPVCtrlCmbDependStaticPreset() = default;

BOOL CPVCtrlCmbDependStaticPreset::IsReady() const {
  return m_nUnitComboId > 0 && m_nAssignComboId > 0 ? TRUE : FALSE;
}

HRESULT CPVCtrlCmbDependStaticPreset::DoRefresh() {
  if (!IsReady()) return E_FAIL;
  // A unit combo without selection names no unit: its family offset would name one of
  // another family.
  const int unitSelection = MasterSelection(*this, m_nUnitComboId);
  const wchar_t* text = nullptr;
  if (unitSelection >= 0) {
    const CTotalizerUnitFamily& family =
        FindTotalizerFamily(GetDeviceUnitData(), MasterSelection(*this, m_nAssignComboId));
    text = TotalizerUnitText(unitSelection + family.offset);
  }
  SetStaticWindowText(text ? text : kUnknownUnit);
  return S_OK;
}
