// Resource ids of the CorvaneTags language resource DLLs.
#pragma once

#define IDS_LANGUAGE_NAME 1
