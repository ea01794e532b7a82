// The catalogue of CorvaneView's pages: each page class with its dialog template, its CLSID
// and its title, and the registrations that let DllGetClassObject find its factory.
//
// All registrations are defined here, in one array: its elements are constructed in order,
// first to last, whereas static objects of different files are constructed in no defined
// order. The list that the registrations build runs from the last entry back to the first.
#include "PVPropPageClassFactory.h"
#include "PVPropPageRegistration.h"
#include "PageResource.h"
#include "PVPageCorvaneCALC.h"
#include "PVPageCorvaneCOMM.h"
#include "PVPageCorvaneCOMP.h"
#include "PVPageCorvaneCONC.h"
#include "PVPageCorvaneLOWFLOW.h"
#include "PVPageCorvaneMEDIUM.h"
#include "PVPageCorvanePARTIALLY.h"
#include "PVPageCorvanePETRO.h"
#include "PVPageCorvanePROCESS.h"
#include "PVPageCorvaneSENSOR.h"
#include "PVPageCorvaneSYSTEM.h"
#include "PVPageCorvaneSYSTEM2.h"
#include "PVPageCorvaneSYSUNIT.h"
#include "PVPageCorvaneSYSUNIT2.h"
#include "PVPageCorvaneTotalizerConfig.h"
#include "PVPageCorvaneViscosity.h"

const UINT CPVPageCorvaneCALC::IDD = IDD_PAGE_CALC;
const UINT CPVPageCorvaneCOMM::IDD = IDD_PAGE_COMM;
const UINT CPVPageCorvaneCOMP::IDD = IDD_PAGE_COMP;
const UINT CPVPageCorvaneCONC::IDD = IDD_PAGE_CONC;
const UINT CPVPageCorvaneLOWFLOW::IDD = IDD_PAGE_LOWFLOW;
const UINT CPVPageCorvaneMEDIUM::IDD = IDD_PAGE_MEDIUM;
const UINT CPVPageCorvanePARTIALLY::IDD = IDD_PAGE_PARTIALLY;
const UINT CPVPageCorvanePETRO::IDD = IDD_PAGE_PETRO;
const UINT CPVPageCorvanePROCESS::IDD = IDD_PAGE_PROCESS;
const UINT CPVPageCorvaneSENSOR::IDD = IDD_PAGE_SENSOR;
const UINT CPVPageCorvaneSYSTEM::IDD = IDD_PAGE_SYSTEM;
const UINT CPVPageCorvaneSYSTEM2::IDD = IDD_PAGE_SYSTEM2;
const UINT CPVPageCorvaneSYSUNIT::IDD = IDD_PAGE_SYSUNIT;
const UINT CPVPageCorvaneSYSUNIT2::IDD = IDD_PAGE_SYSUNIT2;
const UINT CPVPageCorvaneTotalizerConfig::IDD = IDD_PAGE_TOTALIZER;
const UINT CPVPageCorvaneViscosity::IDD = IDD_PAGE_VISCOSITY;

// The Coriolis meter keeps its totalizers' control attribute in object class 115.
const int32_t CPVPageCorvaneTotalizerConfig::TotalizerObjectClass = 115;

namespace {

// The CLSID texts, as the registry shows them.
constexpr wchar_t kClsidCALC[] = L"{AFFF48E2-FB16-4E64-9D21-BAAB3F636C60}";
constexpr wchar_t kClsidCOMM[] = L"{D73FEEF5-A372-4053-AA90-D3C277068B3B}";
constexpr wchar_t kClsidCOMP[] = L"{1D1F6029-EDA7-4232-B848-6EC5571FEC43}";
constexpr wchar_t kClsidCONC[] = L"{3015F621-77B6-41AD-82A7-FB17192B6B2B}";
constexpr wchar_t kClsidLOWFLOW[] = L"{E1E497CB-DD71-417E-AF17-99FDB923DCE8}";
constexpr wchar_t kClsidMEDIUM[] = L"{61349E45-C423-4FE2-9532-33E0522F0BE1}";
constexpr wchar_t kClsidPARTIALLY[] = L"{D0EE7E4C-2518-48F6-BEA1-1FBC0637D614}";
constexpr wchar_t kClsidPETRO[] = L"{CB9C6C75-EDFE-4932-B2BF-0DA3DB1C8D09}";
constexpr wchar_t kClsidPROCESS[] = L"{318B2043-1F2B-4633-91F4-184669CD2911}";
constexpr wchar_t kClsidSENSOR[] = L"{F0266437-6A33-46C1-AF26-CB848BEDA5DB}";
constexpr wchar_t kClsidSYSTEM[] = L"{DD0EDE23-6EC7-48A7-B293-49D91FF352C0}";
constexpr wchar_t kClsidSYSTEM2[] = L"{8DB8F1AB-FF61-405F-BF91-50F20B00DE1C}";
constexpr wchar_t kClsidSYSUNIT[] = L"{BCFAC6B6-CDE4-4224-B8FA-4D8CD2B38C29}";
constexpr wchar_t kClsidSYSUNIT2[] = L"{A2877AB7-A61A-4FE4-8CDA-7FD2F32DE31B}";
constexpr wchar_t kClsidTotalizerConfig[] = L"{CC47BA1F-0B66-498E-B451-17027D56ECC6}";
constexpr wchar_t kClsidViscosity[] = L"{A61B89EA-0D94-4CE4-AB4E-ED21A372435F}";

CPVPropPageRegistration g_pages[] = {
    PVPageRegistration<CPVPageCorvaneCALC, kClsidCALC>(L"PVPageCorvaneCALC Page"),
    PVPageRegistration<CPVPageCorvaneCOMM, kClsidCOMM>(L"PVPageCorvaneCOMM Page"),
    PVPageRegistration<CPVPageCorvaneCOMP, kClsidCOMP>(L"PVPageCorvaneCOMP Page"),
    PVPageRegistration<CPVPageCorvaneCONC, kClsidCONC>(L"PVPageCorvaneCONC Page"),
    PVPageRegistration<CPVPageCorvaneLOWFLOW, kClsidLOWFLOW>(L"PVPageCorvaneLOWFLOW Page"),
    PVPageRegistration<CPVPageCorvaneMEDIUM, kClsidMEDIUM>(L"PVPageCorvaneMEDIUM Page"),
    PVPageRegistration<CPVPageCorvanePARTIALLY, kClsidPARTIALLY>(L"PVPageCorvanePARTIALLY Page"),
    PVPageRegistration<CPVPageCorvanePETRO, kClsidPETRO>(L"PVPageCorvanePETRO Page"),
    PVPageRegistration<CPVPageCorvanePROCESS, kClsidPROCESS>(L"PVPageCorvanePROCESS Page"),
    PVPageRegistration<CPVPageCorvaneSENSOR, kClsidSENSOR>(L"PVPageCorvaneSENSOR Page"),
    PVPageRegistration<CPVPageCorvaneSYSTEM, kClsidSYSTEM>(L"PVPageCorvaneSYSTEM Page"),
    PVPageRegistration<CPVPageCorvaneSYSTEM2, kClsidSYSTEM2>(L"PVPageCorvaneSYSTEM2 Page"),
    PVPageRegistration<CPVPageCorvaneSYSUNIT, kClsidSYSUNIT>(L"PVPageCorvaneSYSUNIT Page"),
    PVPageRegistration<CPVPageCorvaneSYSUNIT2, kClsidSYSUNIT2>(L"PVPageCorvaneSYSUNIT2 Page"),
    PVPageRegistration<CPVPageCorvaneTotalizerConfig, kClsidTotalizerConfig>(
        L"PVPageCorvaneTotalizerConfig Page"),
    PVPageRegistration<CPVPageCorvaneViscosity, kClsidViscosity>(L"PVPageCorvaneViscosity Page"),
};

}  // namespace
