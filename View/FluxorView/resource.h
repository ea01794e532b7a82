// Resource ids of the FluxorView language resource DLLs.
#pragma once

#define IDS_LANGUAGE_NAME 1
