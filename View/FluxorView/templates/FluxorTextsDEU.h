// German texts of FluxorView's own page layouts, beside the shared pages' texts.
#pragma once

#define TXT_FLUXOR_COMP_DENSITY_SOURCE "Dichtequelle"
#define TXT_FLUXOR_COMP_FIXED_DENSITY "Feste Dichte"
#define TXT_FLUXOR_EPD_CAPTION "Leerrohrüberwachung"
#define TXT_FLUXOR_EPD "Leerrohrüberwachung"
#define TXT_FLUXOR_EPD_SWITCH_POINT "Schaltpunkt"
#define TXT_FLUXOR_EPD_NEW_ADJUSTMENT "Neuabgleich"
#define TXT_FLUXOR_PROCESS_CONDUCTIVITY_DAMPING "Leitfähigkeitsdämpfung"
#define TXT_FLUXOR_PROCESS_FILTER_OPTIONS "Filteroptionen"
#define TXT_FLUXOR_UNIT_CONDUCTIVITY "Leitfähigkeit"
