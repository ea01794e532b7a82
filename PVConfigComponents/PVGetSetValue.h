// The root of the value objects: the member-name list, the reference count, and every
// IPVGetSetValue operation as an "Unsupported operation." default (logged, E_FAIL) that the
// derived classes replace where they do real work.
#pragma once

#include "PVComObject.h"
#include "PVGetSetInterfaces.h"
#include "Strings.h"

class CPVGetSetValue : public IPVGetSetValue, public CPVComObjectRoot {
 public:
  CPVGetSetValue(const CPVGetSetValue&) = delete;
  CPVGetSetValue& operator=(const CPVGetSetValue&) = delete;

  // IUnknown and IPVGetSetValue; the count starts at 1 (the creator's reference).
  BEGIN_PV_INTERFACE_TABLE(CPVGetSetValue)
  PV_INTERFACE_ENTRY(IPVGetSetValue)
  END_PV_INTERFACE_TABLE()
  PV_COM_OBJECT_IUNKNOWN()

  STDMETHODIMP GetValue(CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(bool* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(SHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(USHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(ULONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetValue(CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(const CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(bool value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(SHORT value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(USHORT value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(LONG value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(ULONG value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(float value, CPromptInfo* prompt) override;
  STDMETHODIMP SetValue(const CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(SHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(USHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(ULONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMinValue(CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(CString& text, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(SHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(USHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(ULONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetMaxValue(CString& text, int decimals, int format, CPromptInfo* prompt) override;
  STDMETHODIMP GetDefaultValue(bool* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetDefaultValue(SHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetDefaultValue(USHORT* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetDefaultValue(LONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetDefaultValue(ULONG* value, CPromptInfo* prompt) override;
  STDMETHODIMP GetDefaultValue(float* value, CPromptInfo* prompt) override;
  STDMETHODIMP TestValue(SHORT value, CPromptInfo* prompt) override;
  STDMETHODIMP TestValue(USHORT value, CPromptInfo* prompt) override;
  STDMETHODIMP TestValue(LONG value, CPromptInfo* prompt) override;
  STDMETHODIMP TestValue(ULONG value, CPromptInfo* prompt) override;
  STDMETHODIMP TestValue(float value, CPromptInfo* prompt) override;
  STDMETHODIMP GetRawValue(VARIANT* value, CPromptInfo* prompt) override;
  STDMETHODIMP SetToDefaultValue(CPromptInfo* prompt) override;
  // Logs "Member name not initialized!" when the name at index 0 is missing or empty; S_OK
  // in every case.
  STDMETHODIMP InitializationIsValid() override;
  // S_OK with the name at the index when there is one, else E_FAIL (and the index logged).
  STDMETHODIMP GetMemberNameAt(UINT index, CString& name) override;
  // S_OK when the list holds exactly that name (case-sensitive), else E_FAIL.
  STDMETHODIMP HasMemberName(const wchar_t* name) override;

 protected:
  // The member name goes to index 0 (a null or empty name is logged; the object is still
  // made).
  explicit CPVGetSetValue(const wchar_t* memberName);
  virtual ~CPVGetSetValue() = 0;

  // The name at the index; an index beyond the list or an empty entry is logged and gives
  // an empty name.
  virtual CString GetMemberName(UINT index);
  // Stores the name at the index: appended or inserted when the index is not below the
  // list's size, set when the entry there is empty. FALSE for a null or empty name, a name
  // already listed, or an index holding another name (kept; logged as an overwrite).
  virtual BOOL AddMemberName(const wchar_t* name, UINT index);

  // Logs "Error: Reading value for member <member> from services!" and returns E_FAIL.
  HRESULT ErrorReadingValue(const wchar_t* member);

 private:
  CStrings m_memberNames;
};
