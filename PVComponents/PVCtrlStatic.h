// A static text that is also a page control. When its text does not fit on its one line, the
// visible text ends with an ellipsis and the whole text is its tooltip; a static of two lines
// or more always carries the whole text as its tooltip. A static text is never disabled by
// the enable rules.
#pragma once

#include "PVCtrl.h"

class CPVCtrlStatic : public CStatic, public CPVCtrl {
 public:
  explicit CPVCtrlStatic(int itemId);
  ~CPVCtrlStatic() override;

  // Sets the text and decides on the ellipsis and the tooltip. Without the control's window or
  // its parent nothing happens (logged).
  virtual void SetStaticWindowText(CString text);

  BOOL GetEnableState() override;  // always TRUE

 protected:
  // Prepares the tooltip once the static is attached to its dialog item: the rectangles, the
  // tooltip window (child of the parent) and the tool record.
  void PreSubclassWindow() override;

  // The tool record: size, TTF_SUBCLASS, the parent as owner, the item id as tool id, the
  // control rectangle in parent coordinates, the module's instance, the text last set.
  TOOLINFOW m_toolInfo{};
  CRect m_rectParent;  // the parent's client rectangle
  CRect m_rectCtrl;    // the control's client rectangle in the parent's coordinates
  CToolTipCtrl m_toolTip;
  // The text the tool record points to, kept alive for as long as the record refers to it.
  CString m_strToolText;

  DECLARE_MESSAGE_MAP()
};
