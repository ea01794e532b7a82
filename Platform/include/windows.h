// The platform's umbrella header, as the platform's own includes the OLE headers too.
#pragma once

#include "wtypesbase.h"
#include "winerror.h"
#include "crtwide.h"
#include "errhandlingapi.h"
#include "winbase.h"
#include "fileapi.h"
#include "libloaderapi.h"
#include "winnls.h"
#include "winreg.h"
#include "winuser.h"
#include "ole2.h"
