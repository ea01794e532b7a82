#include "PVSetEvent.h"

#include "PVLog.h"
#include "PVMemberNameList.h"

namespace {

constexpr CPVSourceLog Log(L"PVSetEvent");

}  // namespace

CPVSetEvent::CPVSetEvent(const wchar_t* memberName) : CPVComObjectRoot(PVLiveCounterOf<CPVSetEvent>(), 1) {
  AddMemberName(memberName, 0);
}

CPVSetEvent::~CPVSetEvent() = default;

STDMETHODIMP CPVSetEvent::SetEvent() {
  Log(L"Unsupported operation.", L"CPVSetEvent::SetEvent", __LINE__);
  return E_FAIL;
}

STDMETHODIMP CPVSetEvent::SetEvent(LONG) {
  Log(L"Unsupported operation.", L"CPVSetEvent::SetEvent", __LINE__);
  return E_FAIL;
}

STDMETHODIMP CPVSetEvent::InitializationIsValid() {
  CString name;
  if (m_memberNames.GetSize() > 0) m_memberNames.GetAt(0, name);
  if (!name.IsEmpty()) return S_OK;
  Log(L"Error: MemberName not initialized!", L"CPVSetEvent::InitializationIsValid", __LINE__);
  return E_FAIL;
}

STDMETHODIMP CPVSetEvent::GetMemberName(UINT index, CString& name) {
  CString found;
  if (index < m_memberNames.GetSize()) m_memberNames.GetAt(index, found);
  name = found;
  if (!found.IsEmpty()) return S_OK;
  CString message;
  message.Format(L"Invalid index %u or invalid member name %s returned\n", index, found.GetString());
  Log(message, L"CPVSetEvent::GetMemberName", __LINE__);
  return E_FAIL;
}

STDMETHODIMP CPVSetEvent::HasMemberName(const wchar_t* name) {
  if (!name) return E_FAIL;
  return m_memberNames.Contains(CString(name)) ? S_OK : E_FAIL;
}

BOOL CPVSetEvent::AddMemberName(const wchar_t* name, UINT index) {
  return AddMemberNameToList(
      m_memberNames, name, index,
      {Log.File(), L"CPVSetEvent::AddMemberName", __LINE__, L"Member name parameter is empty string."});
}
