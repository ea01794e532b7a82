#include "PVPageCorvaneTotalizerConfig.h"

#include <PVGetEnumStrings.h>
#include <PVGetSetEnum.h>

#include <iterator>

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// One totalizer's row of the page's table: its dialog items and members, and its instance in
// the device.
struct CTotalizerRow {
  CPVMemberRow assign;
  CPVMemberRow unit;
  int nPresetUnitID;
  CPVMemberRow mode;
  int nControlID;
  CPVEditRow preset;
  CPVMemberRow failureMode;
  int nSetControlID;
  int16_t nInstance;
};

// The preset takes both signs, seven characters and two decimals.
constexpr CTotalizerRow kTotalizers[] = {
    {{IDC_TOTALIZER1_ASSIGN, L"Totalizer_1_Assign_process_variable"},
     {IDC_TOTALIZER1_UNIT, L"Totalizer_1_Unit_totalizer_1"},
     IDC_TOTALIZER1_PRESET_UNIT,
     {IDC_TOTALIZER1_MODE, L"Totalizer_1_Totalizer_operation_mode"},
     IDC_TOTALIZER1_CONTROL,
     {IDC_TOTALIZER1_PRESET, L"Totalizer_1_Preset_value_1", 7, 3, 2},
     {IDC_TOTALIZER1_FAILURE_MODE, L"Totalizer_1_Failure_mode"},
     IDC_TOTALIZER1_SET_CONTROL,
     1},
    {{IDC_TOTALIZER2_ASSIGN, L"Totalizer_2_Assign_process_variable"},
     {IDC_TOTALIZER2_UNIT, L"Totalizer_2_Unit_totalizer_2"},
     IDC_TOTALIZER2_PRESET_UNIT,
     {IDC_TOTALIZER2_MODE, L"Totalizer_2_Totalizer_operation_mode"},
     IDC_TOTALIZER2_CONTROL,
     {IDC_TOTALIZER2_PRESET, L"Totalizer_2_Preset_value_2", 7, 3, 2},
     {IDC_TOTALIZER2_FAILURE_MODE, L"Totalizer_2_Failure_mode"},
     IDC_TOTALIZER2_SET_CONTROL,
     2},
    {{IDC_TOTALIZER3_ASSIGN, L"Totalizer_3_Assign_process_variable"},
     {IDC_TOTALIZER3_UNIT, L"Totalizer_3_Unit_totalizer_3"},
     IDC_TOTALIZER3_PRESET_UNIT,
     {IDC_TOTALIZER3_MODE, L"Totalizer_3_Totalizer_operation_mode"},
     IDC_TOTALIZER3_CONTROL,
     {IDC_TOTALIZER3_PRESET, L"Totalizer_3_Preset_value_3", 7, 3, 2},
     {IDC_TOTALIZER3_FAILURE_MODE, L"Totalizer_3_Failure_mode"},
     IDC_TOTALIZER3_SET_CONTROL,
     3},
};
static_assert(std::size(kTotalizers) == CPVPageCorvaneTotalizerConfig::kTotalizerCount);

// The online pair: the switch reads the control attribute of its instance; the button writes
// the chosen control code with this service, on a click only, telling the page before it
// runs; it asks for no confirmation and uses no further items.
constexpr wchar_t kControlAttribute[] = L"TotalizerControl";
constexpr int16_t kControlAttributeNumber = 9;
constexpr wchar_t kSetControlService[] = L"SetAttributeSingleTotalizer";
constexpr int kNoLabel = 0;
constexpr int kNoItem = 0;
constexpr int32_t kNoConfirmation = 0;

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneTotalizerConfig, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneTotalizerConfig, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneTotalizerConfig::CTotalizerControls::CTotalizerControls(size_t index)
    : cmbAssign(kTotalizers[index].assign.nID),
      cmbUnit(kTotalizers[index].unit.nID, kTotalizers[index].assign.nID),
      stPresetUnit(kTotalizers[index].nPresetUnitID, kTotalizers[index].unit.nID,
                   kTotalizers[index].assign.nID),
      cmbMode(kTotalizers[index].mode.nID),
      cmbControl(kTotalizers[index].nControlID, TotalizerObjectClass, kControlAttribute,
                 kControlAttributeNumber, kTotalizers[index].nInstance, &btnSetControl),
      editPreset(kTotalizers[index].preset.nID),
      cmbFailureMode(kTotalizers[index].failureMode.nID),
      btnSetControl(kTotalizers[index].nSetControlID, kNoLabel, kSetControlService,
                    kTotalizers[index].nInstance, kTotalizers[index].nControlID, kNoItem, kNoItem,
                    CPVCtrlOnlineButton::kTimerNone, CPVCtrlOnlineButton::kNotifyBefore, kNoConfirmation,
                    TotalizerObjectClass) {}

CPVPageCorvaneTotalizerConfig::CPVPageCorvaneTotalizerConfig()
    : CPVConfigPanelEnum(IDD),
      m_totalizers{CTotalizerControls(0), CTotalizerControls(1), CTotalizerControls(2)} {
  for (const CListEntry& entry : ListOrder()) AddControlToList(entry.pControl);
  EnableHelp(1);
}

CPVPageCorvaneTotalizerConfig::~CPVPageCorvaneTotalizerConfig() {
  // Each switch points at its button, which is destroyed before it: the window goes first, so
  // that no message reaches a switch once its button is gone.
  if (GetSafeHwnd()) DestroyWindow();
}

std::array<CPVPageCorvaneTotalizerConfig::CListEntry, 8 * CPVPageCorvaneTotalizerConfig::kTotalizerCount>
CPVPageCorvaneTotalizerConfig::ListOrder() {
  std::array<CListEntry, 8 * kTotalizerCount> list{};
  size_t next = 0;
  auto add = [&list, &next](int id, auto& control) { list[next++] = {id, &control, &control}; };
  for (size_t i = 0; i < kTotalizerCount; ++i)
    add(kTotalizers[i].nSetControlID, m_totalizers[i].btnSetControl);
  for (size_t i = 0; i < kTotalizerCount; ++i) {
    const CTotalizerRow& row = kTotalizers[i];
    CTotalizerControls& totalizer = m_totalizers[i];
    add(row.assign.nID, totalizer.cmbAssign);
    add(row.unit.nID, totalizer.cmbUnit);
    add(row.mode.nID, totalizer.cmbMode);
    add(row.nControlID, totalizer.cmbControl);
    add(row.preset.nID, totalizer.editPreset);
    add(row.failureMode.nID, totalizer.cmbFailureMode);
    add(row.nPresetUnitID, totalizer.stPresetUnit);
  }
  return list;
}

void CPVPageCorvaneTotalizerConfig::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  for (const CListEntry& entry : ListOrder()) DDX_Control(pDX, entry.nID, *entry.pWindow);
}

BOOL CPVPageCorvaneTotalizerConfig::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  for (size_t i = 0; i < kTotalizerCount; ++i) {
    const CTotalizerRow& row = kTotalizers[i];
    CTotalizerControls& totalizer = m_totalizers[i];
    // The unit list follows the very value object of the process variable's combo box.
    const IPVGetSetValuePtr assignValue = PVNewValue<CPVGetSetEnum>(row.assign.pszMember, adapter);
    totalizer.cmbAssign.Initialize(assignValue, PVNewValue<CPVGetEnumStrings>(row.assign.pszMember, adapter),
                                   nullptr);
    totalizer.cmbUnit.Initialize(PVNewValue<CPVGetSetEnum>(row.unit.pszMember, adapter), assignValue,
                                 PVNewValue<CPVGetEnumStrings>(row.unit.pszMember, adapter));
    PVBindComboBox(totalizer.cmbMode, row.mode.pszMember, adapter);
    PVBindEditFloat(totalizer.editPreset, row.preset, adapter);
    PVBindComboBox(totalizer.cmbFailureMode, row.failureMode.pszMember, adapter);
  }
  // The first totalizer's process variable has the focus.
  OnFocusChange(&m_totalizers[0].cmbAssign);
  return result;
}
