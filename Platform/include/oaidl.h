#pragma once

#include "wtypesbase.h"
