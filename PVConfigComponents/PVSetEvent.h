// A member written as a one-shot event: its own member-name list and reference count. Both
// SetEvent forms are unsupported here; the class is abstract and meant to be derived from.
#pragma once

#include "PVComObject.h"
#include "PVGetSetInterfaces.h"
#include "Strings.h"

class CPVSetEvent : public IPVSetEvent, public CPVComObjectRoot {
 public:
  CPVSetEvent(const CPVSetEvent&) = delete;
  CPVSetEvent& operator=(const CPVSetEvent&) = delete;

  // IUnknown and IPVSetEvent; the count starts at 1 (the creator's reference).
  BEGIN_PV_INTERFACE_TABLE(CPVSetEvent)
  PV_INTERFACE_ENTRY(IPVSetEvent)
  END_PV_INTERFACE_TABLE()
  PV_COM_OBJECT_IUNKNOWN()

  // "Unsupported operation.", E_FAIL.
  STDMETHODIMP SetEvent() override;
  STDMETHODIMP SetEvent(LONG value) override;
  // E_FAIL (logged) when the name at index 0 is missing or empty.
  STDMETHODIMP InitializationIsValid() override;
  // S_OK with a non-empty name at the index, else E_FAIL (logged).
  STDMETHODIMP GetMemberName(UINT index, CString& name) override;
  STDMETHODIMP HasMemberName(const wchar_t* name) override;

 protected:
  explicit CPVSetEvent(const wchar_t* memberName);
  virtual ~CPVSetEvent() = 0;

  // As CPVGetSetValue::AddMemberName.
  virtual BOOL AddMemberName(const wchar_t* name, UINT index);

 private:
  CStrings m_memberNames;
};
