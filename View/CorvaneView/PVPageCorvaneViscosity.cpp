#include "PVPageCorvaneViscosity.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

using Page = CPVPageCorvaneViscosity;

// The four fields are attributes of the device's object class 112, instance 1.
constexpr int16_t kObjectClass = 112;
constexpr int16_t kModelAttribute = 23;
constexpr int16_t kCoefficient1Attribute = 21;
constexpr int16_t kCoefficient2Attribute = 22;
constexpr int16_t kReferenceTemperatureAttribute = 24;

// The button writes the coefficients and the reference temperature with this service from
// attribute 21 on, on a click only, telling the page before it runs; it asks for no
// confirmation.
constexpr wchar_t kWriteService[] = L"SetAttributeSingleRegulator";
constexpr int16_t kWriteIndex = kCoefficient1Attribute;
constexpr int kNoLabel = 0;
constexpr int32_t kNoConfirmation = 0;

}  // namespace

constexpr CPVPageRow<Page> Page::kTable[] = {
    // The device fields and the button work through the module's link services; the caption is
    // the only control bound to a member. The first coefficient, not the first row, has the focus;
    // the template puts it first in tab order, so the dialog's default focus goes to it as well.
    {.nID = IDC_VISCOSITY_MODEL, .control = PVControl<&Page::m_cmbModel>, .binding = EPVBinding::None},
    {.nID = IDC_VISCOSITY_COEFF_X1,
     .control = PVControl<&Page::m_editCoefficient1>,
     .binding = EPVBinding::None,
     .bFocus = true},
    {.nID = IDC_VISCOSITY_COEFF_X2,
     .control = PVControl<&Page::m_editCoefficient2>,
     .binding = EPVBinding::None},
    {.nID = IDC_VISCOSITY_REF_TEMPERATURE,
     .control = PVControl<&Page::m_editReferenceTemperature>,
     .binding = EPVBinding::None},
    {.nID = IDC_VISCOSITY_WRITE, .control = PVControl<&Page::m_btnWrite>, .binding = EPVBinding::None},
    {.nID = IDC_VISCOSITY_TEMPERATURE_UNIT,
     .control = PVControl<&Page::m_stTemperatureUnit>,
     .members = {L"System_units_Temperature_unit"}},
};

IMPLEMENT_DYNCREATE(CPVPageCorvaneViscosity, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneViscosity, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneViscosity::CPVPageCorvaneViscosity()
    : CPVConfigPanelEnum(IDD),
      m_cmbModel(PVMakeControl<&Page::m_cmbModel>(kObjectClass, L"ViscosityCalcModel", kModelAttribute,
                                                  &m_btnWrite)),
      m_editCoefficient1(PVMakeControl<&Page::m_editCoefficient1>(kObjectClass, L"ViscosityCompX1",
                                                                  kCoefficient1Attribute, &m_btnWrite)),
      m_editCoefficient2(PVMakeControl<&Page::m_editCoefficient2>(kObjectClass, L"ViscosityCompX2",
                                                                  kCoefficient2Attribute, &m_btnWrite)),
      m_editReferenceTemperature(PVMakeControl<&Page::m_editReferenceTemperature>(
          kObjectClass, L"ViscosityRefTemp", kReferenceTemperatureAttribute, &m_btnWrite)),
      m_btnWrite(PVMakeControl<&Page::m_btnWrite>(
          kNoLabel, kWriteService, kWriteIndex, IDC_VISCOSITY_COEFF_X1, IDC_VISCOSITY_COEFF_X2,
          IDC_VISCOSITY_REF_TEMPERATURE, IDC_VISCOSITY_MODEL, CPVCtrlOnlineButton::kTimerNone,
          CPVCtrlOnlineButton::kNotifyBefore, kNoConfirmation)),
      m_stTemperatureUnit(PVMakeControl<&Page::m_stTemperatureUnit>()) {
  PVAddControls(*this, kTable);
  EnableHelp(1);
}

// The factory's page object destroys the window before the members, so that no message reaches
// a control whose partner, declared after it, is already gone.
CPVPageCorvaneViscosity::~CPVPageCorvaneViscosity() = default;

void CPVPageCorvaneViscosity::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  PVExchangeControls(*this, pDX, kTable);
}

BOOL CPVPageCorvaneViscosity::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  PVBindControls(*this, kTable);
  PVReportFocus(*this, kTable);
  return result;
}
