// Resource and help ids of the class library.
#pragma once

// The resource type of dialog-init data (combo box strings of a dialog, named as the dialog).
#define RT_DLGINIT MAKEINTRESOURCEW(240)

// Help-context bases: a help id is the resource id plus the base of its kind.
#define HID_BASE_COMMAND 0x00010000u   // commands and menus
#define HID_BASE_RESOURCE 0x00020000u  // dialogs and other resources
#define HID_BASE_PROMPT 0x00030000u    // message box prompts
#define HID_BASE_NCAREAS 0x00040000u   // non-client areas
#define HID_BASE_CONTROL 0x00050000u   // dialog controls

// The class library's own prompts (texts in the class library's string table).
#define AFX_IDP_FAILED_TO_LAUNCH_HELP 0xF107
