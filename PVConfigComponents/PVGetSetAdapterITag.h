// The adapter from a page's value objects to the host's configuration tag: typed requests by
// member name become the tag's VARIANT operations. Reads accept only the VARIANT type the
// request names (a VT_R8 for a float is a failed read, never converted); a float is written
// as VT_R4; an absent member (E_INVALIDARG from the tag) reads as enumeration -1 and as "does
// not exist", and fails every VARIANT read. Every failed read or write is logged with the
// member name. The adapter keeps no values.
#pragma once

#include <HostTags.h>

#include <cstdint>

#include "PVComObject.h"
#include "PVGetSetInterfaces.h"

class CPVGetSetAdapterITag : public IPVGetSetAdapter4, public CPVComObjectRoot {
 public:
  // Takes its own reference to the tag; a null tag is logged and the adapter still made (its
  // operations then fail). The creator owns the first reference.
  explicit CPVGetSetAdapterITag(ITag* tag);
  CPVGetSetAdapterITag(const CPVGetSetAdapterITag&) = delete;
  CPVGetSetAdapterITag& operator=(const CPVGetSetAdapterITag&) = delete;

  // IUnknown, IPVGetSetAdapter, IPVGetSetAdapter2 and IPVGetSetAdapter3; IPVGetSetAdapter4
  // is deliberately absent.
  BEGIN_PV_INTERFACE_TABLE(CPVGetSetAdapterITag)
  PV_INTERFACE_ENTRY_IID(__uuidof(IPVGetSetAdapter), IPVGetSetAdapter4)
  PV_INTERFACE_ENTRY_IID(__uuidof(IPVGetSetAdapter2), IPVGetSetAdapter4)
  PV_INTERFACE_ENTRY_IID(__uuidof(IPVGetSetAdapter3), IPVGetSetAdapter4)
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
  STDMETHODIMP GetString(const wchar_t* member, CString& value) override;
  STDMETHODIMP SetString(const wchar_t* member, const CString& value) override;
  STDMETHODIMP GetITag(ITag2** tag) override;
  STDMETHODIMP GetMemberDirtyState(const wchar_t* member, VARIANT_BOOL* dirty) override;
  STDMETHODIMP GetMemberExists(const wchar_t* member, VARIANT_BOOL* exists) override;
  STDMETHODIMP GetEnumValues(const wchar_t* member, SAFEARRAY** values) override;
  STDMETHODIMP GetInt64(const wchar_t* member, LONGLONG* value) override;
  STDMETHODIMP SetInt64(const wchar_t* member, LONGLONG value) override;
  STDMETHODIMP GetMinInt64(const wchar_t* member, LONGLONG* value) override;
  STDMETHODIMP GetMaxInt64(const wchar_t* member, LONGLONG* value) override;

  // The tag's operations with the member as a BSTR; E_FAIL (logged) without a tag.
  HRESULT GetVariant(const wchar_t* member, VARIANT* value);
  HRESULT SetVariant(const wchar_t* member, const VARIANT& value);
  HRESULT GetMinVariant(const wchar_t* member, VARIANT* value);
  HRESULT GetMaxVariant(const wchar_t* member, VARIANT* value);

 protected:
  virtual ~CPVGetSetAdapterITag();

 private:
  enum class Read { kValue, kMinimum, kMaximum };
  // A read through the core operation of that kind into a VARIANT that must be of type vt
  // (or of vt2 when it is not VT_EMPTY); the caller clears it.
  HRESULT ReadTyped(const wchar_t* member, Read read, VARTYPE vt, VARTYPE vt2, VARIANT* value);
  // The typed reads and writes (VARIANT_BOOL, float, LONG, LONGLONG), each through the VARIANT
  // type its value travels as; a read refuses a null out pointer with E_POINTER.
  template <class T>
  HRESULT ReadAs(const wchar_t* member, Read read, T* value);
  template <class T>
  HRESULT WriteAs(const wchar_t* member, T value);
  // SetVariant, with the save report on failure.
  HRESULT Write(const wchar_t* member, const VARIANT& value);
  // TRUE with a tag; otherwise logs the invalid-tag line from function and gives FALSE.
  BOOL TagIsValid(const wchar_t* function, int line) const;

  ITagPtr m_spITag;
};
