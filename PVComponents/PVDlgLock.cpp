#include "PVDlgLock.h"

#include "PVLog.h"

namespace {
constexpr wchar_t kSourceFile[] = L"PVDlgLock";
}  // namespace

CPVDlgLock::CPVDlgLock(IPVDialogManager* manager) {
  if (!manager) {
    PVLog(L"Invalid IPVDlgManager passed into CPVDlgLock.", kSourceFile, L"CPVDlgLock::CPVDlgLock", __LINE__);
    return;
  }
  m_pManager = manager;
  m_pManager->Lock();
}

CPVDlgLock::~CPVDlgLock() {
  if (!m_pManager) {
    PVLog(L"Invalid CPVDlgLock state.", kSourceFile, L"CPVDlgLock::~CPVDlgLock", __LINE__);
    return;
  }
  m_pManager->Unlock();
  m_pManager = nullptr;
}
