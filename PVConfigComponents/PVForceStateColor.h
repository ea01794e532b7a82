// The text colour of a configuration control's member by its force state: the host
// application's colour for a forced member (one colour while forces are disabled, another
// while they are enabled), else the system's window text colour. The configuration combo box
// and edit boxes share it; no page calls it.
#pragma once

#include <afxwin.h>

class CPVCtrlBase;

// Sets the device context's text colour (dc may be null: nothing is set) for the force state
// (0 not forced, 1 forced, 2 forced with forces enabled). Without the host application object
// nothing is set and the result is S_OK; a failed colour read is returned and sets nothing.
HRESULT SetTextColorByForceState(const CPVCtrlBase& control, int forceState, CDC* dc);
