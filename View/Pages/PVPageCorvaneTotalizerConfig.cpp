#include "PVPageCorvaneTotalizerConfig.h"

#include <PVGetEnumStrings.h>
#include <PVGetSetEnum.h>

#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneTotalizerConfig;

// The preset takes both signs, seven characters and two decimals.
constexpr CPVEditArgs kPreset = {7, 3, 2};

// The online pair: the switch reads the control attribute of its totalizer's instance in the
// device (1 to 3); the button writes the chosen control code with this service, on a click
// only, telling the page before it runs; it asks for no confirmation and uses no further items.
constexpr wchar_t kControlAttribute[] = L"TotalizerControl";
constexpr int16_t kControlAttributeNumber = 9;
constexpr wchar_t kSetControlService[] = L"SetAttributeSingleTotalizer";
constexpr int kNoLabel = 0;
constexpr int kNoItem = 0;
constexpr int32_t kNoConfirmation = 0;

constexpr int16_t Instance(int index) {
  return static_cast<int16_t>(index + 1);
}

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    // The three buttons first; then each totalizer's other controls.
    {.nID = IDC_TOTALIZER1_SET_CONTROL,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::btnSetControl>,
     .binding = EPVBinding::None},
    {.nID = IDC_TOTALIZER2_SET_CONTROL,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::btnSetControl>,
     .binding = EPVBinding::None},
    {.nID = IDC_TOTALIZER3_SET_CONTROL,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::btnSetControl>,
     .binding = EPVBinding::None},
    {.nID = IDC_TOTALIZER1_ASSIGN,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::cmbAssign>,
     .binding = EPVBinding::Page,
     .members = {L"Totalizer_1_Assign_process_variable"},
     .bFocus = true},
    {.nID = IDC_TOTALIZER1_UNIT,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::cmbUnit>,
     .binding = EPVBinding::Page,
     .members = {L"Totalizer_1_Unit_totalizer_1"},
     .masters = {{IDC_TOTALIZER1_ASSIGN}}},
    {.nID = IDC_TOTALIZER1_MODE,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::cmbMode>,
     .members = {L"Totalizer_1_Totalizer_operation_mode"}},
    {.nID = IDC_TOTALIZER1_CONTROL,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::cmbControl>,
     .binding = EPVBinding::None},
    {.nID = IDC_TOTALIZER1_PRESET,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::editPreset>,
     .members = {L"Totalizer_1_Preset_value_1"},
     .edit = kPreset},
    {.nID = IDC_TOTALIZER1_FAILURE_MODE,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::cmbFailureMode>,
     .members = {L"Totalizer_1_Failure_mode"}},
    {.nID = IDC_TOTALIZER1_PRESET_UNIT,
     .control = PVControl<&Page::m_totalizers, 0, &CTotalizerControls::stPresetUnit>,
     .binding = EPVBinding::None,
     .masters = {{IDC_TOTALIZER1_UNIT}, {IDC_TOTALIZER1_ASSIGN}}},
    {.nID = IDC_TOTALIZER2_ASSIGN,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::cmbAssign>,
     .binding = EPVBinding::Page,
     .members = {L"Totalizer_2_Assign_process_variable"}},
    {.nID = IDC_TOTALIZER2_UNIT,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::cmbUnit>,
     .binding = EPVBinding::Page,
     .members = {L"Totalizer_2_Unit_totalizer_2"},
     .masters = {{IDC_TOTALIZER2_ASSIGN}}},
    {.nID = IDC_TOTALIZER2_MODE,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::cmbMode>,
     .members = {L"Totalizer_2_Totalizer_operation_mode"}},
    {.nID = IDC_TOTALIZER2_CONTROL,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::cmbControl>,
     .binding = EPVBinding::None},
    {.nID = IDC_TOTALIZER2_PRESET,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::editPreset>,
     .members = {L"Totalizer_2_Preset_value_2"},
     .edit = kPreset},
    {.nID = IDC_TOTALIZER2_FAILURE_MODE,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::cmbFailureMode>,
     .members = {L"Totalizer_2_Failure_mode"}},
    {.nID = IDC_TOTALIZER2_PRESET_UNIT,
     .control = PVControl<&Page::m_totalizers, 1, &CTotalizerControls::stPresetUnit>,
     .binding = EPVBinding::None,
     .masters = {{IDC_TOTALIZER2_UNIT}, {IDC_TOTALIZER2_ASSIGN}}},
    {.nID = IDC_TOTALIZER3_ASSIGN,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::cmbAssign>,
     .binding = EPVBinding::Page,
     .members = {L"Totalizer_3_Assign_process_variable"}},
    {.nID = IDC_TOTALIZER3_UNIT,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::cmbUnit>,
     .binding = EPVBinding::Page,
     .members = {L"Totalizer_3_Unit_totalizer_3"},
     .masters = {{IDC_TOTALIZER3_ASSIGN}}},
    {.nID = IDC_TOTALIZER3_MODE,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::cmbMode>,
     .members = {L"Totalizer_3_Totalizer_operation_mode"}},
    {.nID = IDC_TOTALIZER3_CONTROL,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::cmbControl>,
     .binding = EPVBinding::None},
    {.nID = IDC_TOTALIZER3_PRESET,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::editPreset>,
     .members = {L"Totalizer_3_Preset_value_3"},
     .edit = kPreset},
    {.nID = IDC_TOTALIZER3_FAILURE_MODE,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::cmbFailureMode>,
     .members = {L"Totalizer_3_Failure_mode"}},
    {.nID = IDC_TOTALIZER3_PRESET_UNIT,
     .control = PVControl<&Page::m_totalizers, 2, &CTotalizerControls::stPresetUnit>,
     .binding = EPVBinding::None,
     .masters = {{IDC_TOTALIZER3_UNIT}, {IDC_TOTALIZER3_ASSIGN}}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneTotalizerConfig, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneTotalizerConfig, CPVConfigPanelEnum)
END_MESSAGE_MAP()

template <int Index>
Page::CTotalizerControls::CTotalizerControls(std::integral_constant<int, Index>)
    : cmbAssign(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::cmbAssign>()),
      cmbUnit(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::cmbUnit>()),
      stPresetUnit(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::stPresetUnit>()),
      cmbMode(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::cmbMode>()),
      cmbControl(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::cmbControl>(
          TotalizerObjectClass, kControlAttribute, kControlAttributeNumber, Instance(Index), &btnSetControl)),
      editPreset(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::editPreset>()),
      cmbFailureMode(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::cmbFailureMode>()),
      btnSetControl(PVMakeControl<&Page::m_totalizers, Index, &CTotalizerControls::btnSetControl>(
          kNoLabel, kSetControlService, Instance(Index),
          PVItemId<&Page::m_totalizers, Index, &CTotalizerControls::cmbControl>(), kNoItem, kNoItem,
          CPVCtrlOnlineButton::kTimerNone, CPVCtrlOnlineButton::kNotifyBefore, kNoConfirmation,
          TotalizerObjectClass)) {}

CPVPageCorvaneTotalizerConfig::CPVPageCorvaneTotalizerConfig()
    : CPVConfigPanelEnum(IDD),
      m_totalizers{CTotalizerControls(std::integral_constant<int, 0>()),
                   CTotalizerControls(std::integral_constant<int, 1>()),
                   CTotalizerControls(std::integral_constant<int, 2>())} {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

// The factory's page object destroys the window before the members, so that no message reaches
// a control whose partner, declared after it, is already gone.
CPVPageCorvaneTotalizerConfig::~CPVPageCorvaneTotalizerConfig() = default;

void CPVPageCorvaneTotalizerConfig::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneTotalizerConfig::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  // The unit list of each totalizer follows the very value object of its process variable's
  // combo box.
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  for (CTotalizerControls& totalizer : m_totalizers) {
    const wchar_t* assignMember = PVFindRow(*this, kTable, totalizer.cmbAssign)->members[0];
    const wchar_t* unitMember = PVFindRow(*this, kTable, totalizer.cmbUnit)->members[0];
    const IPVGetSetValuePtr assignValue = PVNewValue<CPVGetSetEnum>(assignMember, adapter);
    totalizer.cmbAssign.Initialize(assignValue, PVNewValue<CPVGetEnumStrings>(assignMember, adapter),
                                   nullptr);
    totalizer.cmbUnit.Initialize(PVNewValue<CPVGetSetEnum>(unitMember, adapter), assignValue,
                                 PVNewValue<CPVGetEnumStrings>(unitMember, adapter));
  }
  PVReportFocus(*this, kTable);
  return result;
}
