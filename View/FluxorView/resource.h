// Resource ids of the FluxorView language resource DLLs.
#pragma once

#include "FluxorPageResource.h"

#define IDS_LANGUAGE_NAME 1
