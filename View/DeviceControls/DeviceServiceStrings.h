// The string resources of the device-service messages: each view DLL's language resources
// carry the texts of the buttons it places, under these numbers. A message is shown with help
// id its number plus 0x30000; the reference temperature's range message uses the help id of
// IDS_DEVICE_RANGE_HELP and has two inserts, the lowest (%1) and the highest value (%2).
#pragma once

#define IDS_DEVICE_COEFFICIENT1_RANGE 10030
#define IDS_DEVICE_COEFFICIENT2_RANGE 10031
#define IDS_DEVICE_RANGE_HELP 10032
#define IDS_DEVICE_SPARE 10033
#define IDS_DEVICE_TOTALIZER_WRITE_FAILED 10034
#define IDS_DEVICE_COEFFICIENT1_WRITE_FAILED 10035
#define IDS_DEVICE_TEMPERATURE_RANGE 10036
#define IDS_DEVICE_COEFFICIENT2_WRITE_FAILED 10037
#define IDS_DEVICE_MODEL_WRITE_FAILED 10038
#define IDS_DEVICE_TEMPERATURE_WRITE_FAILED 10039
