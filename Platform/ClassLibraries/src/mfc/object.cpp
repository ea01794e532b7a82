// CObject and its run-time class records, the class library's exceptions and its allocation
// path with the test hook that makes allocations fail.
#include <afx.h>

#include <algorithm>
#include <atomic>
#include <mutex>

// ---------------------------------------------------------------------------------------
// Run-time classes.

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr, nullptr};

CObject* CRuntimeClass::CreateObject() const {
  return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
  for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
    if (c == pBaseClass) return TRUE;
  return FALSE;
}

CObject::~CObject() = default;

CRuntimeClass* CObject::GetRuntimeClass() const {
  return RUNTIME_CLASS(CObject);
}

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
  return GetRuntimeClass()->IsDerivedFrom(pClass);
}

namespace {
void* AllocateObject(size_t size) {
  platform::mfc::ThrowIfAllocationFails();
  void* p = ::operator new(size, std::nothrow);
  if (!p) AfxThrowMemoryException();
  return p;
}
}  // namespace

void* CObject::operator new(size_t size) {
  return AllocateObject(size);
}
void* CObject::operator new[](size_t size) {
  return AllocateObject(size);
}
void CObject::operator delete(void* p) noexcept {
  ::operator delete(p);
}
void CObject::operator delete[](void* p) noexcept {
  ::operator delete(p);
}

CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject) {
  return pObject && pObject->IsKindOf(pClass) ? pObject : nullptr;
}

CObject* AFXAPI AfxStaticDownCast([[maybe_unused]] CRuntimeClass* pClass, CObject* pObject) {
  ASSERT(!pObject || pObject->IsKindOf(pClass));
  return pObject;
}

// ---------------------------------------------------------------------------------------
// Exceptions.

IMPLEMENT_DYNAMIC(CException, CObject)
IMPLEMENT_DYNAMIC(CMemoryException, CException)

CException::~CException() = default;

void CException::Delete() {
  if (m_bAutoDelete > 0) delete this;
}

BOOL CException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  if (pnHelpContext) *pnHelpContext = 0;
  if (lpszError && nMaxError > 0) *lpszError = L'\0';
  return FALSE;
}

CMemoryException::~CMemoryException() = default;

BOOL CMemoryException::GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext) const {
  static const wchar_t kText[] = L"Out of memory.";
  if (pnHelpContext) *pnHelpContext = 0;
  if (!lpszError || nMaxError == 0) return FALSE;
  const size_t n = std::min<size_t>(nMaxError - 1, wcslen(kText));
  wmemcpy(lpszError, kText, n);
  lpszError[n] = L'\0';
  return TRUE;
}

void AFXAPI AfxThrowMemoryException() {
  // Static, so that reporting an out-of-memory allocates nothing; Delete() leaves it alone.
  static CMemoryException simpleMemoryException(FALSE);
  throw &simpleMemoryException;
}

// ---------------------------------------------------------------------------------------
// The allocation hook.

namespace platform::mfc {
namespace {
std::mutex g_hookLock;
int g_skip = 0;
int g_failures = 0;
// Whether failures are asked for, read without the lock: the allocations of a run that asks
// for none (all but a few tests, and every product run) take no lock.
std::atomic<bool> g_armed{false};
}  // namespace

void FailNextAllocations(int count, int skip) {
  std::lock_guard<std::mutex> lock(g_hookLock);
  g_failures = count > 0 ? count : 0;
  g_skip = skip > 0 ? skip : 0;
  g_armed.store(g_failures > 0, std::memory_order_release);
}

void ThrowIfAllocationFails() {
  if (!g_armed.load(std::memory_order_acquire)) return;
  {
    std::lock_guard<std::mutex> lock(g_hookLock);
    if (g_failures == 0) return;
    if (g_skip > 0) {
      --g_skip;
      return;
    }
    if (--g_failures == 0) g_armed.store(false, std::memory_order_release);
  }
  AfxThrowMemoryException();
}

}  // namespace platform::mfc
