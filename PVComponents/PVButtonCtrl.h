// A push button that passes its click and its focus to a notification sink, so that an
// object which is not itself the button's window class can react to them.
#pragma once

#include <afxwin.h>

// The sink of a CPVButtonCtrl, implemented by the control that aggregates the button. The
// button calls the two notifications; it never deletes the sink.
class IPVAggregateCtrl {
 public:
  virtual ~IPVAggregateCtrl() = default;
  virtual void OnButtonClicked(CButton* button, int itemId) = 0;
  virtual void OnButtonSetFocus(CButton* button) = 0;
};

class CPVButtonCtrl : public CButton {
 public:
  CPVButtonCtrl() = default;
  ~CPVButtonCtrl() override;
  CPVButtonCtrl(const CPVButtonCtrl&) = delete;
  CPVButtonCtrl& operator=(const CPVButtonCtrl&) = delete;

  // The sink (null: none). Neither owned nor counted: the sink outlives the button.
  void SetAggregateCtrl(IPVAggregateCtrl* sink) { m_pIPVAggregateCtrl = sink; }
  IPVAggregateCtrl* GetAggregateCtrl() const { return m_pIPVAggregateCtrl; }

 protected:
  // The default handling first, then the sink's OnButtonSetFocus.
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  // The reflected click: the sink's OnButtonClicked with the button and its item id.
  afx_msg void OnClicked();

  IPVAggregateCtrl* m_pIPVAggregateCtrl = nullptr;

  DECLARE_MESSAGE_MAP()
};
