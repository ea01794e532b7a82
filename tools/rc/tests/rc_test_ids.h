// Ids of the resource compiler's test script.
#pragma once

#define IDS_FIRST 1
#define IDS_SIXTEENTH 16
#define IDS_LONG 300
#define IDD_SAMPLE 101
#define IDC_NAME (1000 + 1)
