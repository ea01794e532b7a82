// A value object bound to the page's adapter: every typed request goes to the adapter with
// the member name at index 0. It also answers the forcing questions about its member
// (IPVGetValueForcing, the object's second interface, sharing its reference count).
#pragma once

#include "PVGetSetValue.h"

class CPVGetSetMemberNameValue : public CPVGetSetValue, public IPVGetValueForcing {
 public:
  // IUnknown, IPVGetSetValue and IPVGetValueForcing.
  BEGIN_PV_INTERFACE_TABLE(CPVGetSetMemberNameValue)
  PV_INTERFACE_ENTRY(IPVGetSetValue)
  PV_INTERFACE_ENTRY(IPVGetValueForcing)
  END_PV_INTERFACE_TABLE()
  PV_COM_OBJECT_IUNKNOWN()

  // The name check, then E_FAIL (logged) when the adapter is missing.
  STDMETHODIMP InitializationIsValid() override;

  // Forcing: whether the member's tag can be forced at all (its suffix is "O" or "EO"),
  // whether forces are enabled in the controller, whether the member is forced and with
  // which value. Every question without an answer gives false.
  STDMETHODIMP GetIsForcingSupported(bool* supported) override;
  STDMETHODIMP GetForcesEnabled(bool* enabled) override;
  STDMETHODIMP GetIsForced(bool* forced) override;
  STDMETHODIMP GetForceValue(VARIANT* value) override;

 protected:
  // Takes its own reference to the adapter (which may be null: requests then fail).
  CPVGetSetMemberNameValue(const wchar_t* memberName, IPVGetSetAdapter* adapter);
  ~CPVGetSetMemberNameValue() override = 0;

  // The adapter (not AddRef'd); null is logged.
  IPVGetSetAdapter* GetIPVGetSetAdapter();
  // The member name at index 0 as the adapter takes it.
  CString BoundMember() { return GetMemberName(0); }

 private:
  // The tag's ITagForcing through the adapter, or null.
  ITagForcingPtr FindTagForcing();

  IPVGetSetAdapterPtr m_spIPVGetSetAdapter;
};
