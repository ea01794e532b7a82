#include "PVButtonCtrl.h"

BEGIN_MESSAGE_MAP(CPVButtonCtrl, CButton)
ON_WM_SETFOCUS()
ON_CONTROL_REFLECT(BN_CLICKED, OnClicked)
END_MESSAGE_MAP()

CPVButtonCtrl::~CPVButtonCtrl() {
  m_pIPVAggregateCtrl = nullptr;
}

void CPVButtonCtrl::OnSetFocus(CWnd* pOldWnd) {
  CButton::OnSetFocus(pOldWnd);
  if (m_pIPVAggregateCtrl) m_pIPVAggregateCtrl->OnButtonSetFocus(this);
}

void CPVButtonCtrl::OnClicked() {
  if (m_pIPVAggregateCtrl) m_pIPVAggregateCtrl->OnButtonClicked(this, GetDlgCtrlID());
}
