// Shared inside the class library's sources.
#pragma once

#include <afxwin.h>

#include <mutex>
#include <unordered_map>

namespace platform::mfc::detail {

// Records one message box call and returns the answer a test set.
int RecordMessageBox(const CString& text, UINT nIDPrompt, UINT nType, UINT nIDHelp);

// A value of each thread, without thread_local storage: a thread_local object with a
// destructor keeps a DLL in memory on the platform (FreeLibrary then leaves it loaded until the
// process ends), so the values live in a table by thread id that goes when the DLL unloads.
// A thread's value stays until that thread clears it.
template <class T>
class PerThread {
 public:
  T& Current() {
    std::lock_guard guard(lock_);
    return values_[GetCurrentThreadId()];  // a node's address survives rehashing
  }

 private:
  std::mutex lock_;
  std::unordered_map<DWORD, T> values_;
};

}  // namespace platform::mfc::detail
