#include "PVPageCorvaneViscosity.h"

#include "PVDeviceBinding.h"
#include "PageResource.h"

namespace {

// The device attributes of the four fields: object class 112, instance 1.
struct CDeviceFieldRow {
  int nID;
  const wchar_t* pszAttribute;
  int16_t nAttribute;
};
constexpr int16_t kObjectClass = 112;
constexpr CDeviceFieldRow kModel = {IDC_VISCOSITY_MODEL, L"ViscosityCalcModel", 23};
constexpr CDeviceFieldRow kCoefficient1 = {IDC_VISCOSITY_COEFF_X1, L"ViscosityCompX1", 21};
constexpr CDeviceFieldRow kCoefficient2 = {IDC_VISCOSITY_COEFF_X2, L"ViscosityCompX2", 22};
constexpr CDeviceFieldRow kReferenceTemperature = {IDC_VISCOSITY_REF_TEMPERATURE, L"ViscosityRefTemp", 24};

// The button writes the coefficients and the reference temperature with this service from
// attribute 21 on, on a click only, telling the page before it runs; it asks for no
// confirmation.
constexpr wchar_t kWriteService[] = L"SetAttributeSingleRegulator";
constexpr int16_t kWriteIndex = 21;
constexpr int kNoLabel = 0;
constexpr int32_t kNoConfirmation = 0;

// The caption of the reference temperature.
constexpr CUnitNameRow kTemperatureUnit = {IDC_VISCOSITY_TEMPERATURE_UNIT, L"System_units_Temperature_unit"};

}  // namespace

IMPLEMENT_DYNCREATE(CPVPageCorvaneViscosity, CPVConfigPanelEnum)

BEGIN_MESSAGE_MAP(CPVPageCorvaneViscosity, CPVConfigPanelEnum)
END_MESSAGE_MAP()

CPVPageCorvaneViscosity::CPVPageCorvaneViscosity()
    : CPVConfigPanelEnum(IDD),
      m_cmbModel(kModel.nID, kObjectClass, kModel.pszAttribute, kModel.nAttribute, &m_btnWrite),
      m_editCoefficient1(kCoefficient1.nID, kObjectClass, kCoefficient1.pszAttribute,
                         kCoefficient1.nAttribute, &m_btnWrite),
      m_editCoefficient2(kCoefficient2.nID, kObjectClass, kCoefficient2.pszAttribute,
                         kCoefficient2.nAttribute, &m_btnWrite),
      m_editReferenceTemperature(kReferenceTemperature.nID, kObjectClass, kReferenceTemperature.pszAttribute,
                                 kReferenceTemperature.nAttribute, &m_btnWrite),
      m_btnWrite(IDC_VISCOSITY_WRITE, kNoLabel, kWriteService, kWriteIndex, kCoefficient1.nID,
                 kCoefficient2.nID, kReferenceTemperature.nID, kModel.nID, CPVCtrlOnlineButton::kTimerNone,
                 CPVCtrlOnlineButton::kNotifyBefore, kNoConfirmation),
      m_stTemperatureUnit(kTemperatureUnit.nID) {
  AddControlToList(&m_cmbModel);
  AddControlToList(&m_editCoefficient1);
  AddControlToList(&m_editCoefficient2);
  AddControlToList(&m_editReferenceTemperature);
  AddControlToList(&m_btnWrite);
  AddControlToList(&m_stTemperatureUnit);
  EnableHelp(1);
}

CPVPageCorvaneViscosity::~CPVPageCorvaneViscosity() {
  // The fields point at the button, which is destroyed before them: the window goes first, so
  // that no message reaches a field once the button is gone.
  if (GetSafeHwnd()) DestroyWindow();
}

void CPVPageCorvaneViscosity::DoDataExchange(CDataExchange* pDX) {
  CPVConfigPanelEnum::DoDataExchange(pDX);
  DDX_Control(pDX, kModel.nID, m_cmbModel);
  DDX_Control(pDX, kCoefficient1.nID, m_editCoefficient1);
  DDX_Control(pDX, kCoefficient2.nID, m_editCoefficient2);
  DDX_Control(pDX, kReferenceTemperature.nID, m_editReferenceTemperature);
  DDX_Control(pDX, IDC_VISCOSITY_WRITE, m_btnWrite);
  DDX_Control(pDX, kTemperatureUnit.nID, m_stTemperatureUnit);
}

BOOL CPVPageCorvaneViscosity::OnInitDialog() {
  const BOOL result = CPVConfigPanelEnum::OnInitDialog();
  // The device fields and the button work through the module's link services; the caption is
  // the only control bound to a member.
  PVBindUnitName(m_stTemperatureUnit, kTemperatureUnit.pszMember, GetIPVGetSetAdapter());
  // The first coefficient, not the first row, has the focus; the template puts it first in tab
  // order, so the dialog's default focus goes to it as well.
  OnFocusChange(&m_editCoefficient1);
  return result;
}
