#include "PVPageCorvanePARTIALLY.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvanePARTIALLY;

// The positions of the assignment that name a density variable: density, reference density.
constexpr CPVMaster kDensity = {IDC_PARTIALLY_ASSIGN, 1, 2};
// Both captions read the density and the reference density unit.
constexpr CPVUnitMembers kDensityUnits = {nullptr, nullptr, nullptr, L"System_units_Density_unit",
                                          L"System_units_Reference_density_unit"};

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    {.nID = IDC_PARTIALLY_ASSIGN,
     .control = PVControl<&Page::m_cmbAssign>,
     .members = {L"Partial_pipe_det_Assign_variable"},
     .bFocus = true},
    {.nID = IDC_PARTIALLY_LOW_VALUE,
     .control = PVControl<&Page::m_editValues, 0>,
     .members = {L"Partial_pipe_det_Low_value"},
     .edit = {8, 1, 1},
     .masters = {kDensity}},
    {.nID = IDC_PARTIALLY_HIGH_VALUE,
     .control = PVControl<&Page::m_editValues, 1>,
     .members = {L"Partial_pipe_det_High_value"},
     .edit = {8, 1, 1},
     .masters = {kDensity}},
    {.nID = IDC_PARTIALLY_RESPONSE_TIME,
     .control = PVControl<&Page::m_editValues, 2>,
     .members = {L"Partial_pipe_det_Response_time"},
     .edit = {4, 1, 1},
     .masters = {kDensity}},
    {.nID = IDC_PARTIALLY_MAX_DAMPING,
     .control = PVControl<&Page::m_editValues, 3>,
     .members = {L"Partial_pipe_det_Max_damping"},
     .edit = {8, 1, 3},
     .masters = {kDensity}},
    {.nID = IDC_PARTIALLY_LOW_UNIT,
     .control = PVControl<&Page::m_stLowUnit>,
     .binding = EPVBinding::Page,
     .members = kDensityUnits,
     .masters = {kDensity}},
    {.nID = IDC_PARTIALLY_HIGH_UNIT,
     .control = PVControl<&Page::m_stHighUnit>,
     .binding = EPVBinding::Page,
     .members = kDensityUnits,
     .masters = {kDensity}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvanePARTIALLY, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvanePARTIALLY::CPVPageCorvanePARTIALLY()
    : CPVConfigPanelEnum(IDD),
      m_cmbAssign(PVMakeControl<&Page::m_cmbAssign>()),
      m_editValues(PVMakeControls<&Page::m_editValues>()),
      m_stHighUnit(PVMakeControl<&Page::m_stHighUnit>()),
      m_stLowUnit(PVMakeControl<&Page::m_stLowUnit>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

CPVPageCorvanePARTIALLY::~CPVPageCorvanePARTIALLY() = default;

void CPVPageCorvanePARTIALLY::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvanePARTIALLY::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  // One pair of unit value objects for both captions, so that they always show the same unit.
  const CPVUnitSelectors densityUnits = PVNewUnitSelectors(kDensityUnits, GetIPVGetSetAdapter());
  PVBindCmbDependStatic(m_stLowUnit, densityUnits);
  PVBindCmbDependStatic(m_stHighUnit, densityUnits);
  PVReportFocus(*this, kTable);
  return result;
}
