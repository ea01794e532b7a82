#include "PVGetSetMemberNameValue.h"

#include "PVComponentsGlobals.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVGetSetMemberNameValue");

}  // namespace

CPVGetSetMemberNameValue::CPVGetSetMemberNameValue(const wchar_t* memberName, IPVGetSetAdapter* adapter)
    : CPVGetSetValue(memberName), m_spIPVGetSetAdapter(adapter) {}

CPVGetSetMemberNameValue::~CPVGetSetMemberNameValue() = default;

STDMETHODIMP CPVGetSetMemberNameValue::InitializationIsValid() {
  CPVGetSetValue::InitializationIsValid();
  if (!InterfaceIsValid(m_spIPVGetSetAdapter.GetInterfacePtr())) {
    Log(L"Error: m_spIPVGetSetAdapter not initialized!", L"CPVGetSetMemberNameValue::InitializationIsValid",
        __LINE__);
    return E_FAIL;
  }
  return S_OK;
}

IPVGetSetAdapter* CPVGetSetMemberNameValue::GetIPVGetSetAdapter() {
  if (!m_spIPVGetSetAdapter)
    Log(L"Failed to get Get/Set Adapter", L"CPVGetSetMemberNameValue::GetIPVGetSetAdapter", __LINE__);
  return m_spIPVGetSetAdapter.GetInterfacePtr();
}

STDMETHODIMP CPVGetSetMemberNameValue::GetIsForcingSupported(bool* supported) {
  if (!supported) return E_POINTER;
  *supported = false;
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  if (!adapter) return E_FAIL;
  IPVGetSetAdapter2Ptr adapter2(adapter);
  if (!adapter2) return S_OK;
  ITag2Ptr tag;
  if (FAILED(adapter2->GetITag(&tag)) || !tag) return S_OK;
  _bstr_t suffix;
  const HRESULT hr = tag->get_Suffix(suffix.GetAddress());
  if (FAILED(hr)) {
    Log(L"Failed ITag2::get_Suffix\n.", L"CPVGetSetMemberNameValue::GetIsForcingSupported", __LINE__);
    return hr;
  }
  const CString text(suffix.length() ? static_cast<const wchar_t*>(suffix) : L"");
  *supported = text == L"O" || text == L"EO";
  return S_OK;
}

ITagForcingPtr CPVGetSetMemberNameValue::FindTagForcing() {
  IPVGetSetAdapter* adapter = GetIPVGetSetAdapter();
  if (!adapter) return nullptr;
  IPVGetSetAdapter2Ptr adapter2(adapter);
  if (!adapter2) return nullptr;
  ITag2Ptr tag;
  if (FAILED(adapter2->GetITag(&tag)) || !tag) return nullptr;
  return ITagForcingPtr(tag);
}

STDMETHODIMP CPVGetSetMemberNameValue::GetForcesEnabled(bool* enabled) {
  if (!enabled) return E_POINTER;
  *enabled = false;
  ITagForcingPtr forcing = FindTagForcing();
  if (!forcing) return S_OK;
  VARIANT_BOOL value = VARIANT_FALSE;
  const HRESULT hr = forcing->GetForcesEnabled(&value);
  if (SUCCEEDED(hr)) *enabled = value == VARIANT_TRUE;
  return hr;
}

STDMETHODIMP CPVGetSetMemberNameValue::GetIsForced(bool* forced) {
  if (!forced) return E_POINTER;
  *forced = false;
  ITagForcingPtr forcing = FindTagForcing();
  if (!forcing) return S_OK;
  const _bstr_t member(BoundMember());
  VARIANT_BOOL value = VARIANT_FALSE;
  const HRESULT hr = forcing->GetIsForced(member, &value);
  if (SUCCEEDED(hr)) *forced = value == VARIANT_TRUE;
  return hr;
}

STDMETHODIMP CPVGetSetMemberNameValue::GetForceValue(VARIANT* value) {
  if (!value) return E_INVALIDARG;
  ITagForcingPtr forcing = FindTagForcing();
  if (!forcing) return E_NOINTERFACE;
  const _bstr_t member(BoundMember());
  return forcing->GetForceValue(member, value);
}
