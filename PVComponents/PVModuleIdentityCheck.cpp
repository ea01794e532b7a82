#include "PVModuleIdentityCheck.h"

#include <afxwin.h>

#include "AppWaitCursor.h"
#include "PVComponentsGlobals.h"
#include "PVCtrlInterfaces.h"
#include "PVLog.h"
#include "PromptInfo.h"
#include "PromptServerWrapper.h"

namespace {

constexpr CPVSourceLog Log(L"PVModuleIdentityCheck");

}  // namespace

HRESULT CPVModuleIdentityCheck::Initialize(IDeviceInfo2* deviceInfo, IPVPropPageEnum* page) {
  if (!deviceInfo || !page) {
    Log(L"Pointer passed to this method is NULL.", L"CPVModuleIdentityCheck::Initialize", __LINE__);
    return E_POINTER;
  }
  m_spIDeviceInfo2 = deviceInfo;
  m_pIPVPropPageEnum = page;
  return S_OK;
}

HRESULT CPVModuleIdentityCheck::Initialize(IDeviceInfo2* deviceInfo) {
  if (!deviceInfo) {
    Log(L"Pointer passed to this method is NULL.", L"CPVModuleIdentityCheck::Initialize", __LINE__);
    return E_POINTER;
  }
  m_spIDeviceInfo2 = deviceInfo;
  return S_OK;
}

BOOL CPVModuleIdentityCheck::InitializationIsValid() const {
  if (m_spIDeviceInfo2) return TRUE;
  Log(L"Error: Failed to initialize the data members.", L"CPVModuleIdentityCheck::InitializationIsValid",
      __LINE__);
  return FALSE;
}

BOOL CPVModuleIdentityCheck::IsOnline() const {
  if (!m_pIPVPropPageEnum) return TRUE;
  LONG mode = 0;
  if (FAILED(m_pIPVPropPageEnum->GetVexilMode(&mode))) {
    Log(L"Failed to get GetVexilMode() return value.", L"CPVModuleIdentityCheck::IsOnline", __LINE__);
    return FALSE;
  }
  return IsOnlineVexilMode(mode);
}

int CPVModuleIdentityCheck::QueryIdentityStatus() {
  if (!m_spIDeviceInfo2) return kQueryFailed;
  HRESULT hr = S_OK;
  LONG status = 0;
  {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CAppWaitCursor waitCursor;
    hr = m_spIDeviceInfo2->GetModuleIdentityStatus(&status);
  }
  if (FAILED(hr)) return kQueryFailed;
  m_nIdentityStatus = status;
  return status == kStatusMissing || status == kStatusMismatched ? kModuleMissingOrMismatched
                                                                 : kModuleMatches;
}

int CPVModuleIdentityCheck::CheckModuleIdentity(CPromptInfo* prompt, int force) {
  if (!InitializationIsValid()) return kNotQueried;
  if (!IsOnline()) return kModuleMatches;
  if (force == 1 || m_nCachedResult == kNotQueried) m_nCachedResult = QueryIdentityStatus();
  if (m_nCachedResult == kModuleMatches || m_nCachedResult == kNotQueried) return m_nCachedResult;
  return GetPromptInfo(prompt);
}

int CPVModuleIdentityCheck::GetPromptInfo(CPromptInfo* prompt) const {
  LONG promptId = 0;
  if (m_nCachedResult == kQueryFailed) {
    promptId = kPromptQueryFailed;
  } else if (m_nIdentityStatus == kStatusMissing) {
    promptId = kPromptMissing;
  } else if (m_nIdentityStatus == kStatusMismatched) {
    promptId = kPromptMismatched;
  } else {
    Log(L"Called GetPromptInfo but module is neither Missing nor Mismatched.",
        L"CPVModuleIdentityCheck::GetPromptInfo", __LINE__);
    return m_nCachedResult;
  }

  CPromptServerWrapper promptServer;
  if (FAILED(promptServer.Initialize(&CLSID_PVModulePromptServer, nullptr))) {
    Log(L"Failure to initialize CPromptServerWrapper class.", L"CPVModuleIdentityCheck::GetPromptInfo",
        __LINE__);
    return m_nCachedResult;
  }
  if (FAILED(promptServer.GetPrompt(promptId, prompt))) {
    Log(L"Failed to get the GetPrompt() return value.", L"CPVModuleIdentityCheck::GetPromptInfo", __LINE__);
  }
  return m_nCachedResult;
}
