// The OLE controls' header: the connection-point error codes (CONNECT_E_*), which the stand-in
// keeps with the other codes in winerror.h, and the connection interfaces.
#pragma once

#include "ocidl.h"
#include "winerror.h"
