// The catalogue of FluxorView's pages: each page class with its dialog template, its CLSID
// and its title, and the registrations that let DllGetClassObject find its factory. The
// system page is registered under the CLSID that CorvaneView gives it too; every other CLSID
// is this DLL's own.
//
// All registrations are defined here, in one array: its elements are constructed in order,
// first to last, whereas static objects of different files are constructed in no defined
// order. The list that the registrations build runs from the last entry back to the first.
#include "FluxorPageResource.h"
#include "PVPageCorvaneCOMM.h"
#include "PVPageCorvaneCOMP.h"
#include "PVPageCorvaneLOWFLOW.h"
#include "PVPageCorvanePARTIALLY.h"
#include "PVPageCorvanePROCESS.h"
#include "PVPageCorvaneSENSOR.h"
#include "PVPageCorvaneSYSTEM.h"
#include "PVPageCorvaneSYSTEM2.h"
#include "PVPageCorvaneSYSUNIT2.h"
#include "PVPageCorvaneTotalizerConfig.h"
#include "PVPropPageClassFactory.h"
#include "PVPropPageRegistration.h"

const UINT CPVPageCorvaneCOMM::IDD = IDD_PAGE_COMM;
const UINT CPVPageCorvaneCOMP::IDD = IDD_PAGE_COMP;
const UINT CPVPageCorvaneLOWFLOW::IDD = IDD_PAGE_LOWFLOW;
const UINT CPVPageCorvanePARTIALLY::IDD = IDD_PAGE_PARTIALLY;
const UINT CPVPageCorvanePROCESS::IDD = IDD_PAGE_PROCESS;
const UINT CPVPageCorvaneSENSOR::IDD = IDD_PAGE_SENSOR;
const UINT CPVPageCorvaneSYSTEM::IDD = IDD_PAGE_SYSTEM;
const UINT CPVPageCorvaneSYSTEM2::IDD = IDD_PAGE_SYSTEM2;
const UINT CPVPageCorvaneSYSUNIT2::IDD = IDD_PAGE_SYSUNIT2;
const UINT CPVPageCorvaneTotalizerConfig::IDD = IDD_PAGE_TOTALIZER;
// The electromagnetic meter keeps its totalizers' control attribute in object class 112.
const int32_t CPVPageCorvaneTotalizerConfig::TotalizerObjectClass = 112;

namespace {

// The CLSID texts, as the registry shows them.
constexpr wchar_t kClsidCOMM[] = L"{ADD2A464-6ACD-47C9-95BB-6109A75029EA}";
constexpr wchar_t kClsidCOMP[] = L"{93F8D9CD-143F-4F23-8BF4-FE6073D10411}";
constexpr wchar_t kClsidLOWFLOW[] = L"{C53794A4-371D-44AC-8C96-631460F00399}";
constexpr wchar_t kClsidPARTIALLY[] = L"{12C69F58-BE1C-4CEF-8BFE-FFF8D0DA979F}";
constexpr wchar_t kClsidPROCESS[] = L"{F61765BB-44DC-4727-875A-522F86302B1C}";
constexpr wchar_t kClsidSENSOR[] = L"{6C5B779D-BAD4-4119-9704-74220EDEE3EC}";
constexpr wchar_t kClsidSYSTEM[] = L"{DD0EDE23-6EC7-48A7-B293-49D91FF352C0}";  // CorvaneView's too
constexpr wchar_t kClsidSYSTEM2[] = L"{A099DBE0-AE8D-47B7-8279-AF644F952C04}";
constexpr wchar_t kClsidSYSUNIT2[] = L"{513BABBD-18C7-49A3-919E-7FB68AE9950E}";
constexpr wchar_t kClsidTotalizerConfig[] = L"{4558D5AA-B042-49D9-9139-09254A1FA14D}";

CPVPropPageRegistration g_pages[] = {
    PVPageRegistration<CPVPageCorvaneCOMM, kClsidCOMM>(L"PVPageCorvaneCOMM Page"),
    PVPageRegistration<CPVPageCorvaneCOMP, kClsidCOMP>(L"PVPageCorvaneCOMP Page"),
    PVPageRegistration<CPVPageCorvaneLOWFLOW, kClsidLOWFLOW>(L"PVPageCorvaneLOWFLOW Page"),
    PVPageRegistration<CPVPageCorvanePARTIALLY, kClsidPARTIALLY>(L"PVPageCorvanePARTIALLY Page"),
    PVPageRegistration<CPVPageCorvanePROCESS, kClsidPROCESS>(L"PVPageCorvanePROCESS Page"),
    PVPageRegistration<CPVPageCorvaneSENSOR, kClsidSENSOR>(L"PVPageCorvaneSENSOR Page"),
    PVPageRegistration<CPVPageCorvaneSYSTEM, kClsidSYSTEM>(L"PVPageCorvaneSYSTEM Page"),
    PVPageRegistration<CPVPageCorvaneSYSTEM2, kClsidSYSTEM2>(L"PVPageCorvaneSYSTEM2 Page"),
    PVPageRegistration<CPVPageCorvaneSYSUNIT2, kClsidSYSUNIT2>(L"PVPageCorvaneSYSUNIT2 Page"),
    PVPageRegistration<CPVPageCorvaneTotalizerConfig, kClsidTotalizerConfig>(
        L"PVPageCorvaneTotalizerConfig Page"),
};

}  // namespace
