// English texts of FluxorView's own page layouts, beside the shared pages' texts.
#pragma once

#define TXT_FLUXOR_COMP_DENSITY_SOURCE "Density source"
#define TXT_FLUXOR_COMP_FIXED_DENSITY "Fixed density"
#define TXT_FLUXOR_EPD_CAPTION "Empty Pipe Detection"
#define TXT_FLUXOR_EPD "Empty pipe detection"
#define TXT_FLUXOR_EPD_SWITCH_POINT "Switch point"
#define TXT_FLUXOR_EPD_NEW_ADJUSTMENT "New adjustment"
#define TXT_FLUXOR_PROCESS_CONDUCTIVITY_DAMPING "Conductivity damping"
#define TXT_FLUXOR_PROCESS_FILTER_OPTIONS "Filter options"
#define TXT_FLUXOR_UNIT_CONDUCTIVITY "Conductivity"
