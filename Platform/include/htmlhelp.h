// HTML Help: compiled help files opened through one call. The stand-in opens no viewer: it
// records every call (platform/testing_htmlhelp.h) and answers as the viewer would.
#pragma once

#include "wtypesbase.h"

// The commands the servers send.
#define HH_DISPLAY_TOPIC 0x0000
#define HH_DISPLAY_TOC 0x0001
#define HH_DISPLAY_INDEX 0x0002
#define HH_DISPLAY_SEARCH 0x0003
#define HH_HELP_CONTEXT 0x000F
#define HH_CLOSE_ALL 0x0012
#define HH_INITIALIZE 0x001C
#define HH_UNINITIALIZE 0x001D

// hwndCaller: in, the owner (may be null); pszFile: in, the compiled help file, optionally
// followed by "::/topic" or ">window"; uCommand: HH_*; dwData: the command's argument (a
// help context for HH_HELP_CONTEXT, a topic text for HH_DISPLAY_TOPIC).
// Returns the help window for the display commands when the file exists, else null (a missing
// file opens nothing). HH_CLOSE_ALL, HH_INITIALIZE and HH_UNINITIALIZE need no file and return
// null. Simplified: the window is a token for the (never shown) viewer, not a window of the
// window manager; the file is only checked for existence.
EXTERN_C PLATFORM_API HWND WINAPI HtmlHelpW(HWND hwndCaller, LPCWSTR pszFile, UINT uCommand,
                                            DWORD_PTR dwData);
#define HtmlHelp HtmlHelpW
