// Resource ids of the CorvaneView language resource DLLs.
#pragma once

#include "PageResource.h"

#define IDS_LANGUAGE_NAME 1
