// The class library's private messages that framework code sends to its own windows.
#pragma once

#include "afxwin.h"

// Asks a window for its help: lParam is the help context, or 0 for the window's own. A dialog
// answers with its template's help id (CDialog::OnCommandHelp); TRUE when help was asked for.
#define WM_COMMANDHELP 0x0365
