// A configuration combo box that also tells a notify object the selection it shows after each
// read: the notify object's OnCtrlNotify with the control's name and the selection as VT_INT.
// No page makes it. Binding, list, saving and the user's handling are the configuration combo
// box's; the opened list is always sized for six rows.
#pragma once

#include <PVCtrlConfigComboBox.h>
#include <PVCtrlNotify.h>

class CPVCtrlConfigComboBox1 : public CPVCtrlConfigComboBox {
 public:
  CPVCtrlConfigComboBox1(int itemId, const wchar_t* name);
  ~CPVCtrlConfigComboBox1() override;

  // Binds like the configuration combo box and keeps the notify object (counted; may be null).
  HRESULT Initialize(IPVGetSetValue* value, IPVGetSetValue* strings, IPVCtrlNotify* notify);

  // IPVCtrl. The read: the value as the selection (nothing read while the user's choice is
  // pending), then the notification's result; without a notify object S_OK.
  STDMETHODIMP OnActivate() override;
  STDMETHODIMP Refresh() override;

 protected:
  BOOL SizesListForEveryRow() const override { return TRUE; }

  IPVCtrlNotifyPtr m_spNotify;
  _bstr_t m_bstrName;

 private:
  HRESULT ReadAndNotify();
};
