// Resource ids of CorvaneTags.dll and its language resource DLLs.
#pragma once

// Language resource DLLs.
#define IDS_LANGUAGE_NAME 1
// The configuration could not be read (no tag, a member missing or of the wrong type), or the
// extension is not attached.
#define IDS_VALIDATION_NOT_POSSIBLE 102
// The start of every rule message; the rule's own text follows it directly.
#define IDS_RULE_PREFIX 104
#define IDS_OIL_DENSITY_SAMPLE_RANGE 109
#define IDS_WATER_DENSITY_SAMPLE_RANGE 112
#define IDS_API_COMMODITY_GROUP 124
#define IDS_API_TABLE_SELECTION 125
#define IDS_INPUT_SOURCE_CONFLICT 127
#define IDS_TOTALIZER_1_VARIABLE 128
#define IDS_TOTALIZER_2_VARIABLE 129
#define IDS_TOTALIZER_3_VARIABLE 130
#define IDS_CONCENTRATION_UNIT 131
#define IDS_WATER_TEMPERATURE_SAMPLE_RANGE 132
#define IDS_OIL_TEMPERATURE_SAMPLE_RANGE 133
#define IDS_REFERENCE_TEMPERATURE_RANGE 134

// CorvaneTags.dll: registry scripts and type library.
#define IDR_CORVANETAGS 101
#define IDR_CORVANE300TAGEXT 119
#define IDR_TYPELIB 1
