// What the dependent controls ask of their masters: the list selection of a sibling combo box
// and whether it lies in a range.
#pragma once

#include <afxwin.h>

#include <cstdint>

// The list selection (CB_GETCURSEL) of the dialog item masterId in the parent window of
// control; -1 (no selection) when the control has no window or the parent has no such item.
int MasterSelection(const CWnd& control, int32_t masterId);

// A master combo box and the inclusive range of its selection within which a control is
// enabled. A master without selection (-1) lies outside every range that starts at 0 or above.
struct CDependencyRange {
  int32_t masterId;
  int32_t low;
  int32_t high;

  bool Contains(const CWnd& control) const {
    const int selection = MasterSelection(control, masterId);
    return selection >= low && selection <= high;
  }
};
