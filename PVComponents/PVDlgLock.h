// A scoped lock of the host's dialog manager: locks when made, unlocks when destroyed. Used as
// a local object around work that must keep the host's dialogs locked (timed device services).
#pragma once

#include <HostServices.h>

class CPVDlgLock {
 public:
  // A null manager is logged and nothing is locked (the destructor then logs again).
  explicit CPVDlgLock(IPVDialogManager* manager);
  virtual ~CPVDlgLock();
  // One lock, one unlock: a copy would unlock twice.
  CPVDlgLock(const CPVDlgLock&) = delete;
  CPVDlgLock& operator=(const CPVDlgLock&) = delete;

 private:
  IPVDialogManager* m_pManager = nullptr;  // not counted: the caller keeps the manager alive
};
