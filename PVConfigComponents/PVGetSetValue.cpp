#include "PVGetSetValue.h"

#include "PVLog.h"
#include "PVMemberNameList.h"

namespace {

constexpr CPVSourceLog Log(L"PVGetSetValue");

HRESULT Unsupported(const wchar_t* function, int line) {
  Log(L"Unsupported operation.", function, line);
  return E_FAIL;
}

constexpr wchar_t kGetValue[] = L"CPVGetSetValue::GetValue";
constexpr wchar_t kSetValue[] = L"CPVGetSetValue::SetValue";
constexpr wchar_t kGetMinValue[] = L"CPVGetSetValue::GetMinValue";
constexpr wchar_t kGetMaxValue[] = L"CPVGetSetValue::GetMaxValue";
constexpr wchar_t kGetDefaultValue[] = L"CPVGetSetValue::GetDefaultValue";
constexpr wchar_t kTestValue[] = L"CPVGetSetValue::TestValue";

}  // namespace

CPVGetSetValue::CPVGetSetValue(const wchar_t* memberName)
    : CPVComObjectRoot(PVLiveCounterOf<CPVGetSetValue>(), 1) {
  AddMemberName(memberName, 0);
  CPVGetSetValue::InitializationIsValid();
}

CPVGetSetValue::~CPVGetSetValue() = default;

// The operations no class of the framework supports in this form.
STDMETHODIMP CPVGetSetValue::GetValue(CString&, int, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(bool*, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(SHORT*, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(USHORT*, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(LONG*, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(ULONG*, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(float*, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetValue(CString&, int, int, CPromptInfo*) {
  return Unsupported(kGetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(const CString&, int, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(bool, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(SHORT, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(USHORT, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(LONG, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(ULONG, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(float, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetValue(const CString&, int, int, CPromptInfo*) {
  return Unsupported(kSetValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(CString&, int, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(SHORT*, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(USHORT*, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(LONG*, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(ULONG*, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(float*, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMinValue(CString&, int, int, CPromptInfo*) {
  return Unsupported(kGetMinValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(CString&, int, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(SHORT*, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(USHORT*, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(LONG*, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(ULONG*, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(float*, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetMaxValue(CString&, int, int, CPromptInfo*) {
  return Unsupported(kGetMaxValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetDefaultValue(bool*, CPromptInfo*) {
  return Unsupported(kGetDefaultValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetDefaultValue(SHORT*, CPromptInfo*) {
  return Unsupported(kGetDefaultValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetDefaultValue(USHORT*, CPromptInfo*) {
  return Unsupported(kGetDefaultValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetDefaultValue(LONG*, CPromptInfo*) {
  return Unsupported(kGetDefaultValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetDefaultValue(ULONG*, CPromptInfo*) {
  return Unsupported(kGetDefaultValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetDefaultValue(float*, CPromptInfo*) {
  return Unsupported(kGetDefaultValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::TestValue(SHORT, CPromptInfo*) {
  return Unsupported(kTestValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::TestValue(USHORT, CPromptInfo*) {
  return Unsupported(kTestValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::TestValue(LONG, CPromptInfo*) {
  return Unsupported(kTestValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::TestValue(ULONG, CPromptInfo*) {
  return Unsupported(kTestValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::TestValue(float, CPromptInfo*) {
  return Unsupported(kTestValue, __LINE__);
}
STDMETHODIMP CPVGetSetValue::GetRawValue(VARIANT*, CPromptInfo*) {
  return Unsupported(L"CPVGetSetValue::GetRawValue", __LINE__);
}
STDMETHODIMP CPVGetSetValue::SetToDefaultValue(CPromptInfo*) {
  return Unsupported(L"CPVGetSetValue::SetToDefaultValue", __LINE__);
}

STDMETHODIMP CPVGetSetValue::InitializationIsValid() {
  CString name;
  if (m_memberNames.GetSize() > 0) m_memberNames.GetAt(0, name);
  if (name.IsEmpty())
    Log(L"Member name not initialized!", L"CPVGetSetValue::InitializationIsValid", __LINE__);
  return S_OK;
}

STDMETHODIMP CPVGetSetValue::GetMemberNameAt(UINT index, CString& name) {
  name = GetMemberName(index);
  return name.IsEmpty() ? E_FAIL : S_OK;
}

STDMETHODIMP CPVGetSetValue::HasMemberName(const wchar_t* name) {
  if (!name) return E_FAIL;
  return m_memberNames.Contains(CString(name)) ? S_OK : E_FAIL;
}

CString CPVGetSetValue::GetMemberName(UINT index) {
  CString name;
  if (index < m_memberNames.GetSize()) m_memberNames.GetAt(index, name);
  if (name.IsEmpty()) {
    CString message;
    message.Format(L"Invalid index %u or invalid member name %s returned\n", index, name.GetString());
    Log(message, L"CPVGetSetValue::GetMemberName", __LINE__);
  }
  return name;
}

BOOL CPVGetSetValue::AddMemberName(const wchar_t* name, UINT index) {
  return AddMemberNameToList(
      m_memberNames, name, index,
      {Log.File(), L"CPVGetSetValue::AddMemberName", __LINE__, L"Empty string specified as member name."});
}

HRESULT CPVGetSetValue::ErrorReadingValue(const wchar_t* member) {
  CString message;
  message.Format(L"Error: Reading value for member %s from services!\n", member ? member : L"");
  Log(message, L"CPVGetSetValue::ErrorReadingValue", __LINE__);
  return E_FAIL;
}
