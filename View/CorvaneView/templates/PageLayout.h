// The grid the meter pages are laid out on, in dialog units, and the window styles of their
// controls. Each page's layout file (<page>.dlg) places its items on these rows and columns
// and names its texts (TXT_...); a language script includes the ids, this file, its texts
// (PageTexts<language>.h) and then the layout files, so that every language has the same
// items in the same places. A view DLL that shares a page includes the same layout file.
#pragma once

// Every page: a child dialog with its title as caption (the host shows it as the page name).
#define PAGE_STYLE DS_SETFONT | WS_CHILD | WS_CAPTION
#define PAGE_FONT 8, "Panel Sans"

#define MARGIN 7        // around the page's items
#define GAP 4           // between a label and its field, a field and its unit
#define COLUMN_GAP 12   // between two columns of label and field
#define ROW_PITCH 18    // from one row's top to the next
#define FIELD_H 14      // an edit box, a button, and a drop-down list while closed
#define LIST_H 120      // a drop-down list while open
#define LABEL_DY 3      // a label sits this far below its field's top, in line with its text
#define LABEL_H 8       // one line of text
#define GROUP_TOP 12    // from a group box's top to its first row
#define GROUP_BOTTOM 6  // from a group box's last row to its bottom
#define GROUP_INSET 6   // from a group box's sides to its items

// The tops of the rows.
#define ROW1 (MARGIN)
#define ROW2 (MARGIN + 1 * ROW_PITCH)
#define ROW3 (MARGIN + 2 * ROW_PITCH)
#define ROW4 (MARGIN + 3 * ROW_PITCH)
#define ROW5 (MARGIN + 4 * ROW_PITCH)
#define ROW6 (MARGIN + 5 * ROW_PITCH)
#define ROW7 (MARGIN + 6 * ROW_PITCH)
#define ROW8 (MARGIN + 7 * ROW_PITCH)
#define ROW9 (MARGIN + 8 * ROW_PITCH)
#define ROW10 (MARGIN + 9 * ROW_PITCH)
#define ROW11 (MARGIN + 10 * ROW_PITCH)
#define ROW12 (MARGIN + 11 * ROW_PITCH)
#define ROW13 (MARGIN + 12 * ROW_PITCH)
#define ROW14 (MARGIN + 13 * ROW_PITCH)
#define ROW15 (MARGIN + 14 * ROW_PITCH)
#define ROW16 (MARGIN + 15 * ROW_PITCH)
#define ROW17 (MARGIN + 16 * ROW_PITCH)
#define ROW18 (MARGIN + 17 * ROW_PITCH)
#define ROW19 (MARGIN + 18 * ROW_PITCH)
#define ROW20 (MARGIN + 19 * ROW_PITCH)

// Control styles: a list the user picks from (never CBS_DISABLENOSCROLL, which the
// configuration combo box reads as a lock), a number edit, a unit caption, a read-only field.
#define PICK_LIST CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP
#define NUMBER_EDIT ES_AUTOHSCROLL
#define UNIT_TEXT SS_LEFTNOWORDWRAP | SS_NOPREFIX
#define INFO_FIELD SS_LEFTNOWORDWRAP | SS_NOPREFIX | SS_SUNKEN

// A form: one column of labels with their fields to the right; a number edit leaves room for
// its unit caption under the width of a list (60 units: the longest unit name, "bbl/min
// (imp.beer)", is 73 pixels wide in the page font).
#define FORM_LABEL_X MARGIN
#define FORM_LABEL_W 136
#define FORM_FIELD_X (FORM_LABEL_X + FORM_LABEL_W + GAP)
#define FORM_LIST_W 130
#define FORM_EDIT_W 66
#define FORM_UNIT_X (FORM_FIELD_X + FORM_EDIT_W + GAP)
#define FORM_UNIT_W (FORM_LIST_W - FORM_EDIT_W - GAP)
#define FORM_W (FORM_FIELD_X + FORM_LIST_W + MARGIN)

// The unit pages: two narrower forms side by side (labels are unit names).
#define UNIT_LABEL_W 84
#define UNIT_LABEL1_X MARGIN
#define UNIT_FIELD1_X (UNIT_LABEL1_X + UNIT_LABEL_W + GAP)
#define UNIT_LABEL2_X (UNIT_FIELD1_X + FORM_LIST_W + COLUMN_GAP)
#define UNIT_FIELD2_X (UNIT_LABEL2_X + UNIT_LABEL_W + GAP)
#define UNIT_PAGE1_W (UNIT_FIELD1_X + FORM_LIST_W + MARGIN)
#define UNIT_PAGE2_W (UNIT_FIELD2_X + FORM_LIST_W + MARGIN)

// The group of diagnostic events on the system pages: two columns of label and list inside a
// group box that starts at DIAG_GROUP_Y (set by the page before including its rows).
#define DIAG_LABEL_W 52
#define DIAG_LIST_W 120
#define DIAG_COLUMN_W (DIAG_LABEL_W + GAP + DIAG_LIST_W)
#define DIAG_LABEL1_X (MARGIN + GROUP_INSET)
#define DIAG_FIELD1_X (DIAG_LABEL1_X + DIAG_LABEL_W + GAP)
#define DIAG_LABEL2_X (DIAG_LABEL1_X + DIAG_COLUMN_W + COLUMN_GAP)
#define DIAG_FIELD2_X (DIAG_LABEL2_X + DIAG_LABEL_W + GAP)
#define DIAG_GROUP_W (2 * GROUP_INSET + 2 * DIAG_COLUMN_W + COLUMN_GAP)
#define DIAG_PAGE_W (MARGIN + DIAG_GROUP_W + MARGIN)

// The message of a dialog-init entry that adds a string to a combo box.
#define CB_ADDSTRING_ENTRY 0x0403
