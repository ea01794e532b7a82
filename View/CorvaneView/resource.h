// Resource ids of the CorvaneView language resource DLLs.
#pragma once

#define IDS_LANGUAGE_NAME 1
