#include "PVPageCorvaneCOMM.h"

#include <iterator>

#include "PVCtrlBinding.h"
#include "PageResource.h"

namespace {

// One position of the input assembly: its combo box's dialog item id and member.
struct CPosition {
  int nID;
  const wchar_t* pszMember;
};

// The page's table: member order, list order and binding order are the table's.
constexpr CPosition kPositions[] = {
    {IDC_COMM_POSITION_1, L"Input_assembly_Position_1"},
    {IDC_COMM_POSITION_2, L"Input_assembly_Position_2"},
    {IDC_COMM_POSITION_3, L"Input_assembly_Position_3"},
    {IDC_COMM_POSITION_4, L"Input_assembly_Position_4"},
    {IDC_COMM_POSITION_5, L"Input_assembly_Position_5"},
    {IDC_COMM_POSITION_6, L"Input_assembly_Position_6"},
    {IDC_COMM_POSITION_7, L"Input_assembly_Position_7"},
    {IDC_COMM_POSITION_8, L"Input_assembly_Position_8"},
    {IDC_COMM_POSITION_9, L"Input_assembly_Position_9"},
    {IDC_COMM_POSITION_10, L"Input_assembly_Position_10"},
    {IDC_COMM_POSITION_11, L"Input_assembly_Position_11"},
    {IDC_COMM_POSITION_12, L"Input_assembly_Position_12"},
    {IDC_COMM_POSITION_13, L"Input_assembly_Position_13"},
    {IDC_COMM_POSITION_14, L"Input_assembly_Position_14"},
    {IDC_COMM_POSITION_15, L"Input_assembly_Position_15"},
    {IDC_COMM_POSITION_16, L"Input_assembly_Position_16"},
    {IDC_COMM_POSITION_17, L"Input_assembly_Position_17"},
    {IDC_COMM_POSITION_18, L"Input_assembly_Position_18"},
    {IDC_COMM_POSITION_19, L"Input_assembly_Position_19"},
    {IDC_COMM_POSITION_20, L"Input_assembly_Position_20"},
};
static_assert(std::size(kPositions) == CPVPageCorvaneCOMM::kPositionCount);

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneCOMM, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneCOMM, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneCOMM::CPVPageCorvaneCOMM()
    : CPVConfigPanelEnum(IDD), m_cmbPositions(PVMakeControls<CPVCtrlConfigComboBox>(kPositions)) {
  for (CPVCtrlConfigComboBox& position : m_cmbPositions) AddControlToList(&position);
  EnableHelp(1);
}

CPVPageCorvaneCOMM::~CPVPageCorvaneCOMM() = default;

void CPVPageCorvaneCOMM::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  for (size_t i = 0; i < kPositionCount; ++i) DDX_Control(pDX, kPositions[i].nID, m_cmbPositions[i]);
}

BOOL CPVPageCorvaneCOMM::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  for (size_t i = 0; i < kPositionCount; ++i)
    PVBindComboBox(m_cmbPositions[i], kPositions[i].pszMember, adapter);
  // Position 1 has the focus.
  OnFocusChange(&m_cmbPositions[0]);
  return result;
}
