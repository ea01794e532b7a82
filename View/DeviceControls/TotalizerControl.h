// A totalizer's control state as the device keeps it: the codes behind the switch combo box's
// entries, and the read that shows the device's state in such a combo box. The switch control
// shows it; the switch's service button writes a code and shows what the device then holds.
#pragma once

#include <afxwin.h>

#include "DeviceLink.h"

// The totalizer control codes in the order of the switch combo box's entries.
inline constexpr LONG kTotalizerControlCodes[] = {-32226, -32490, -32228, 198, 199, -32608};
// The entry of a code (compared as a signed number); 0 for any other code.
int TotalizerControlIndex(LONG code);
// The code of an entry; the first code for any other index.
LONG TotalizerControlCode(int index);

// Reads a totalizer's control attribute (path of VT_I1 numbers, result asked as VT_EMPTY, text
// read as a signed integer), runs the host's "Refresh", and selects the code's entry in the
// combo box when both succeeded; otherwise the combo box is left without selection (logged) and
// the read's (or else the refresh's) failure is returned. function names the caller in the log.
HRESULT ShowTotalizerControl(IENetLinkCollectionManager* manager, const wchar_t* attributeName,
                             LONG objectClass, LONG instance, LONG attribute, CWnd* combo,
                             const wchar_t* function);
