#pragma once

#include "platform/paths.h"
