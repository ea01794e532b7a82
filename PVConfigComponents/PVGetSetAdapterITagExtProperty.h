// The adapter over a tag's extension properties: member texts stored under one property key.
// Only the text operations work; every other request answers E_NOTIMPL.
#pragma once

#include <HostTags.h>

#include <cstdint>

#include "PVComObject.h"
#include "PVGetSetInterfaces.h"

class CPVGetSetAdapterITagExtProperty : public IPVGetSetAdapter, public CPVComObjectRoot {
 public:
  // Takes its own reference to the property interface (a null one is logged; the adapter is
  // still made and fails its requests). The key is handed to the host unchanged.
  CPVGetSetAdapterITagExtProperty(LONG key, ITagExtProperty* properties);
  CPVGetSetAdapterITagExtProperty(const CPVGetSetAdapterITagExtProperty&) = delete;
  CPVGetSetAdapterITagExtProperty& operator=(const CPVGetSetAdapterITagExtProperty&) = delete;

  // IUnknown and IPVGetSetAdapter.
  BEGIN_PV_INTERFACE_TABLE(CPVGetSetAdapterITagExtProperty)
  PV_INTERFACE_ENTRY(IPVGetSetAdapter)
  END_PV_INTERFACE_TABLE()
  PV_COM_OBJECT_IUNKNOWN()

  STDMETHODIMP GetBool(const wchar_t* member, BOOL* value, BOOL invert) override;
  STDMETHODIMP SetBool(const wchar_t* member, BOOL value, BOOL invert) override;
  STDMETHODIMP GetEnum(const wchar_t* member, LONG* value) override;
  STDMETHODIMP SetEnum(const wchar_t* member, LONG value) override;
  STDMETHODIMP GetEnumStrings(const wchar_t* member, SAFEARRAY** texts) override;
  STDMETHODIMP GetFloat(const wchar_t* member, float* value) override;
  STDMETHODIMP SetFloat(const wchar_t* member, float value) override;
  STDMETHODIMP GetMinFloat(const wchar_t* member, float* value) override;
  STDMETHODIMP GetMaxFloat(const wchar_t* member, float* value) override;
  STDMETHODIMP GetLong(const wchar_t* member, LONG* value) override;
  STDMETHODIMP SetLong(const wchar_t* member, LONG value) override;
  STDMETHODIMP GetMinLong(const wchar_t* member, LONG* value) override;
  STDMETHODIMP GetMaxLong(const wchar_t* member, LONG* value) override;
  // The property (key, member) as text; a failed read or a VARIANT other than VT_BSTR is
  // E_FAIL with the read report.
  STDMETHODIMP GetString(const wchar_t* member, CString& value) override;
  // Writes the property as VT_BSTR; a failure is logged and returned unchanged.
  STDMETHODIMP SetString(const wchar_t* member, const CString& value) override;

 protected:
  virtual ~CPVGetSetAdapterITagExtProperty();

 private:
  ITagExtPropertyPtr m_spITagExtProperty;
  LONG m_key;
};
