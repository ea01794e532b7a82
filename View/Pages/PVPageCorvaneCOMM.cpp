#include "PVPageCorvaneCOMM.h"

#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneCOMM;

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_COMM_POSITION_1,
     .control = PVControl<&Page::m_cmbPositions, 0>,
     .members = {L"Input_assembly_Position_1"},
     .bFocus = true},
    {.nID = IDC_COMM_POSITION_2,
     .control = PVControl<&Page::m_cmbPositions, 1>,
     .members = {L"Input_assembly_Position_2"}},
    {.nID = IDC_COMM_POSITION_3,
     .control = PVControl<&Page::m_cmbPositions, 2>,
     .members = {L"Input_assembly_Position_3"}},
    {.nID = IDC_COMM_POSITION_4,
     .control = PVControl<&Page::m_cmbPositions, 3>,
     .members = {L"Input_assembly_Position_4"}},
    {.nID = IDC_COMM_POSITION_5,
     .control = PVControl<&Page::m_cmbPositions, 4>,
     .members = {L"Input_assembly_Position_5"}},
    {.nID = IDC_COMM_POSITION_6,
     .control = PVControl<&Page::m_cmbPositions, 5>,
     .members = {L"Input_assembly_Position_6"}},
    {.nID = IDC_COMM_POSITION_7,
     .control = PVControl<&Page::m_cmbPositions, 6>,
     .members = {L"Input_assembly_Position_7"}},
    {.nID = IDC_COMM_POSITION_8,
     .control = PVControl<&Page::m_cmbPositions, 7>,
     .members = {L"Input_assembly_Position_8"}},
    {.nID = IDC_COMM_POSITION_9,
     .control = PVControl<&Page::m_cmbPositions, 8>,
     .members = {L"Input_assembly_Position_9"}},
    {.nID = IDC_COMM_POSITION_10,
     .control = PVControl<&Page::m_cmbPositions, 9>,
     .members = {L"Input_assembly_Position_10"}},
    {.nID = IDC_COMM_POSITION_11,
     .control = PVControl<&Page::m_cmbPositions, 10>,
     .members = {L"Input_assembly_Position_11"}},
    {.nID = IDC_COMM_POSITION_12,
     .control = PVControl<&Page::m_cmbPositions, 11>,
     .members = {L"Input_assembly_Position_12"}},
    {.nID = IDC_COMM_POSITION_13,
     .control = PVControl<&Page::m_cmbPositions, 12>,
     .members = {L"Input_assembly_Position_13"}},
    {.nID = IDC_COMM_POSITION_14,
     .control = PVControl<&Page::m_cmbPositions, 13>,
     .members = {L"Input_assembly_Position_14"}},
    {.nID = IDC_COMM_POSITION_15,
     .control = PVControl<&Page::m_cmbPositions, 14>,
     .members = {L"Input_assembly_Position_15"}},
    {.nID = IDC_COMM_POSITION_16,
     .control = PVControl<&Page::m_cmbPositions, 15>,
     .members = {L"Input_assembly_Position_16"}},
    {.nID = IDC_COMM_POSITION_17,
     .control = PVControl<&Page::m_cmbPositions, 16>,
     .members = {L"Input_assembly_Position_17"}},
    {.nID = IDC_COMM_POSITION_18,
     .control = PVControl<&Page::m_cmbPositions, 17>,
     .members = {L"Input_assembly_Position_18"}},
    {.nID = IDC_COMM_POSITION_19,
     .control = PVControl<&Page::m_cmbPositions, 18>,
     .members = {L"Input_assembly_Position_19"}},
    {.nID = IDC_COMM_POSITION_20,
     .control = PVControl<&Page::m_cmbPositions, 19>,
     .members = {L"Input_assembly_Position_20"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMM::CPVPageCorvaneCOMM()
    : CPVConfigPanelEnum(IDD), m_cmbPositions(PVMakeControls<&Page::m_cmbPositions>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvaneCOMM::~CPVPageCorvaneCOMM() = default;

void CPVPageCorvaneCOMM::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneCOMM::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
