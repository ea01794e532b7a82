#include "PVDlgLock.h"

#include "PVLog.h"

namespace {
constexpr CPVSourceLog Log(L"PVDlgLock");
}  // namespace

CPVDlgLock::CPVDlgLock(IPVDialogManager* manager) {
  if (!manager) {
    Log(L"Invalid IPVDlgManager passed into CPVDlgLock.", L"CPVDlgLock::CPVDlgLock", __LINE__);
    return;
  }
  m_pManager = manager;
  m_pManager->Lock();
}

CPVDlgLock::~CPVDlgLock() {
  if (!m_pManager) {
    Log(L"Invalid CPVDlgLock state.", L"CPVDlgLock::~CPVDlgLock", __LINE__);
    return;
  }
  m_pManager->Unlock();
  m_pManager = nullptr;
}
