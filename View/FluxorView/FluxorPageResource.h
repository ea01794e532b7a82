// Dialog item ids of FluxorView's own pages where an item holds another parameter than its
// CorvaneView namesake under the same id number. Items with the same meaning keep the names
// of PageResource.h.
#pragma once

#include "PageResource.h"

// COMP: the density-based external compensation.
#define IDC_FLUXOR_COMP_DENSITY_SOURCE 9066
#define IDC_FLUXOR_COMP_TEMPERATURE_SOURCE 9064
#define IDC_FLUXOR_COMP_FIXED_DENSITY 9062
#define IDC_FLUXOR_COMP_DENSITY_UNIT 9243

// PARTIALLY: empty pipe detection.
#define IDC_FLUXOR_EPD 9059
#define IDC_FLUXOR_EPD_RESPONSE_TIME 9171
#define IDC_FLUXOR_EPD_SWITCH_POINT 9173
#define IDC_FLUXOR_EPD_NEW_ADJUSTMENT 9060

// PROCESS: the conductivity damping and the filter options (flow override and flow damping
// keep their names).
#define IDC_FLUXOR_PROCESS_CONDUCTIVITY_DAMPING 9142
#define IDC_FLUXOR_PROCESS_FILTER_OPTIONS 9166

// SYSTEM2: the diagnostic events of the electromagnetic meter that the Coriolis pages do not
// have (832 to 835 keep their names).
#define IDC_FLUXOR_SYSTEM_DIAG_302 9413
#define IDC_FLUXOR_SYSTEM_DIAG_531 9412
#define IDC_FLUXOR_SYSTEM_DIAG_937 9242
#define IDC_FLUXOR_SYSTEM_DIAG_962 9182

// SYSUNIT2: the conductivity unit, where the Coriolis page has its pressure unit.
#define IDC_FLUXOR_UNIT_CONDUCTIVITY 9021
