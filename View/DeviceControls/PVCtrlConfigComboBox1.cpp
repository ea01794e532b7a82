#include "PVCtrlConfigComboBox1.h"

CPVCtrlConfigComboBox1::CPVCtrlConfigComboBox1(int itemId, const wchar_t* name)
    : CPVCtrlConfigComboBox(itemId), m_bstrName(name) {}

CPVCtrlConfigComboBox1::~CPVCtrlConfigComboBox1() = default;

HRESULT CPVCtrlConfigComboBox1::Initialize(IPVGetSetValue* value, IPVGetSetValue* strings,
                                           IPVCtrlNotify* notify) {
  m_spNotify = notify;
  return CPVCtrlConfigComboBox::Initialize(value, strings, nullptr);
}

HRESULT CPVCtrlConfigComboBox1::ReadAndNotify() {
  const HRESULT hr = RefreshFromValue();
  if (FAILED(hr) || !m_spNotify) return hr;
  VARIANT selection;
  selection.vt = VT_INT;
  selection.intVal = GetCurSel();
  return m_spNotify->OnCtrlNotify(m_bstrName, selection);
}

STDMETHODIMP CPVCtrlConfigComboBox1::OnActivate() {
  return ReadAndNotify();
}

STDMETHODIMP CPVCtrlConfigComboBox1::Refresh() {
  return ReadAndNotify();
}
