// Module state and its per-thread switch, command targets and message maps, the application
// object, the class library's part of the regular-DLL entry point, the wait cursor and the
// message box recorder.
#include <afxwin.h>

#include "mfc_internal.h"

#include <mutex>

// ---------------------------------------------------------------------------------------
// Module state.

namespace {
// The executable's own state: current on a thread until something switches.
constinit AFX_MODULE_STATE g_processModuleState{};
thread_local AFX_MODULE_STATE* t_currentModuleState = nullptr;
}  // namespace

AFX_MODULE_STATE* AFXAPI AfxGetModuleState() {
  return t_currentModuleState ? t_currentModuleState : &g_processModuleState;
}

AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pState) {
  AFX_MODULE_STATE* previous = t_currentModuleState;
  t_currentModuleState = pState;
  return previous;
}

HINSTANCE AFXAPI AfxGetInstanceHandle() {
  return AfxGetModuleState()->m_hCurrentInstanceHandle;
}
HINSTANCE AFXAPI AfxGetResourceHandle() {
  return AfxGetModuleState()->m_hCurrentResourceHandle;
}
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource) {
  AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}
CWinApp* AFXAPI AfxGetApp() {
  return AfxGetModuleState()->m_pCurrentWinApp;
}
LPCWSTR AFXAPI AfxGetAppName() {
  return AfxGetModuleState()->m_lpszCurrentAppName;
}

// ---------------------------------------------------------------------------------------
// Message maps.

namespace {
const AFX_MSGMAP_ENTRY* SearchMessageMaps(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode, UINT nID) {
  for (; pMap; pMap = pMap->pfnGetBaseMap ? pMap->pfnGetBaseMap() : nullptr)
    for (const AFX_MSGMAP_ENTRY* entry = pMap->lpEntries; entry->nSig != AfxSig_end; ++entry)
      if (entry->nMessage == nMessage && entry->nCode == nCode && nID >= entry->nID && nID <= entry->nLastID)
        return entry;
  return nullptr;
}

AFX_MSGCACHE_SLOT& CacheSlot(AFX_MSGCACHE& cache, UINT nMessage, UINT nCode, UINT nID) {
  const UINT hash = nMessage * 0x9E3779B1u ^ nCode * 0x85EBCA77u ^ nID * 0xC2B2AE3Du;
  return cache.slots[(hash >> 16) & (AFX_MSGCACHE::kSlots - 1)];
}

// The cached answer for the key, or false when the slot holds another key or was being
// written while it was read.
bool ReadCachedEntry(const AFX_MSGCACHE& cache, const AFX_MSGCACHE_SLOT& slot, UINT nMessage, UINT nCode,
                     UINT nID, const AFX_MSGMAP_ENTRY** entry) {
  const UINT version = cache.nVersion.load(std::memory_order_acquire);
  if (version & 1) return false;
  const bool hit = slot.bFilled.load(std::memory_order_relaxed) &&
                   slot.nMessage.load(std::memory_order_relaxed) == nMessage &&
                   slot.nCode.load(std::memory_order_relaxed) == nCode &&
                   slot.nID.load(std::memory_order_relaxed) == nID;
  *entry = slot.lpEntry.load(std::memory_order_relaxed);
  std::atomic_thread_fence(std::memory_order_acquire);
  return hit && cache.nVersion.load(std::memory_order_relaxed) == version;
}

// Keeps the answer unless another thread is writing one; the next search tries again.
void WriteCachedEntry(AFX_MSGCACHE& cache, AFX_MSGCACHE_SLOT& slot, UINT nMessage, UINT nCode, UINT nID,
                      const AFX_MSGMAP_ENTRY* entry) {
  UINT version = cache.nVersion.load(std::memory_order_relaxed);
  if ((version & 1) ||
      !cache.nVersion.compare_exchange_strong(version, version + 1, std::memory_order_relaxed))
    return;
  std::atomic_thread_fence(std::memory_order_release);
  slot.nMessage.store(nMessage, std::memory_order_relaxed);
  slot.nCode.store(nCode, std::memory_order_relaxed);
  slot.nID.store(nID, std::memory_order_relaxed);
  slot.lpEntry.store(entry, std::memory_order_relaxed);
  slot.bFilled.store(true, std::memory_order_relaxed);
  cache.nVersion.store(version + 2, std::memory_order_release);
}
}  // namespace

const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage, UINT nCode,
                                                   UINT nID) {
  if (!pMap || !pMap->pCache) return SearchMessageMaps(pMap, nMessage, nCode, nID);
  AFX_MSGCACHE& cache = *pMap->pCache;
  AFX_MSGCACHE_SLOT& slot = CacheSlot(cache, nMessage, nCode, nID);
  const AFX_MSGMAP_ENTRY* entry = nullptr;
  if (ReadCachedEntry(cache, slot, nMessage, nCode, nID, &entry)) return entry;
  entry = SearchMessageMaps(pMap, nMessage, nCode, nID);
  WriteCachedEntry(cache, slot, nMessage, nCode, nID, entry);
  return entry;
}

// ---------------------------------------------------------------------------------------
// Command targets and threads.

IMPLEMENT_DYNAMIC(CCmdTarget, CObject)
IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap() {
  static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, AfxSig_end, nullptr}};
  static const AFX_MSGMAP map = {nullptr, &entries[0]};
  return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const {
  return GetThisMessageMap();
}

CCmdTarget::~CCmdTarget() = default;

namespace {
struct WaitCursorRecord {
  std::mutex lock;
  int depth = 0;
  int begins = 0;
};
WaitCursorRecord& WaitCursor() {
  static WaitCursorRecord record;
  return record;
}

// Records a wait cursor begun (1), ended (-1) or shown again (0).
void RecordWaitCursor(int nCode) {
  WaitCursorRecord& record = WaitCursor();
  std::lock_guard<std::mutex> guard(record.lock);
  if (nCode > 0) {
    ++record.depth;
    ++record.begins;
  } else if (nCode < 0 && record.depth > 0) {
    --record.depth;
  }
}

void DoWaitCursor(int nCode) {
  if (CWinApp* app = AfxGetApp())
    app->DoWaitCursor(nCode);
  else
    RecordWaitCursor(nCode);
}
}  // namespace

void CCmdTarget::BeginWaitCursor() {
  DoWaitCursor(1);
}
void CCmdTarget::EndWaitCursor() {
  DoWaitCursor(-1);
}
void CCmdTarget::RestoreWaitCursor() {
  DoWaitCursor(0);
}

CWinThread::~CWinThread() = default;
BOOL CWinThread::InitInstance() {
  return FALSE;
}
int CWinThread::ExitInstance() {
  return 0;
}

namespace platform::mfc {
bool IsWaitCursorShowing() {
  WaitCursorRecord& record = WaitCursor();
  std::lock_guard<std::mutex> guard(record.lock);
  return record.depth > 0;
}
int WaitCursorBeginCount() {
  WaitCursorRecord& record = WaitCursor();
  std::lock_guard<std::mutex> guard(record.lock);
  return record.begins;
}
void ResetWaitCursor() {
  WaitCursorRecord& record = WaitCursor();
  std::lock_guard<std::mutex> guard(record.lock);
  record.depth = 0;
  record.begins = 0;
}
}  // namespace platform::mfc

// ---------------------------------------------------------------------------------------
// The application object.

BEGIN_MESSAGE_MAP(CWinApp, CWinThread)
END_MESSAGE_MAP()

CWinApp::CWinApp(LPCTSTR lpszAppName, AFX_MODULE_STATE* pModuleState) : m_pModuleState(pModuleState) {
  if (lpszAppName) m_pszAppName = wcsdup(lpszAppName);
  if (m_pModuleState) {
    m_pModuleState->m_pCurrentWinApp = this;
    m_pModuleState->m_lpszCurrentAppName = m_pszAppName;
    m_hInstance = m_pModuleState->m_hCurrentInstanceHandle;
  }
}

CWinApp::~CWinApp() {
  if (m_pModuleState && m_pModuleState->m_pCurrentWinApp == this) {
    m_pModuleState->m_pCurrentWinApp = nullptr;
    m_pModuleState->m_lpszCurrentAppName = nullptr;
  }
  free(const_cast<wchar_t*>(m_pszAppName));
  free(const_cast<wchar_t*>(m_pszExeName));
  free(const_cast<wchar_t*>(m_pszHelpFilePath));
}

BOOL CWinApp::InitInstance() {
  return TRUE;
}

int CWinApp::ExitInstance() {
  return 0;
}

void CWinApp::EnableHtmlHelp() {
  SetHelpMode(afxHTMLHelp);
}

void CWinApp::SetHelpMode(AFX_HELP_TYPE eHelpType) {
  m_eHelpType = eHelpType;
}

void CWinApp::DoWaitCursor(int nCode) {
  if (nCode > 0)
    ++m_nWaitCursorCount;
  else if (nCode < 0 && m_nWaitCursorCount > 0)
    --m_nWaitCursorCount;
  RecordWaitCursor(nCode);
}

// Simplified for now: takes the handle only. The names and the help path from the module's
// file name follow with GetModuleFileNameW.
void CWinApp::SetCurrentHandles(HINSTANCE hInstance) {
  m_hInstance = hInstance;
  wchar_t path[MAX_PATH + 1] = {};
  const DWORD length = GetModuleFileNameW(hInstance, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;  // no file name: the names stay as they are
  const std::wstring_view file(path, length);
  const size_t nameStart = file.find_last_of(L'\\') + 1;  // npos + 1 is 0
  const size_t dot = file.find_last_of(L'.');
  const size_t nameEnd = dot != std::wstring_view::npos && dot >= nameStart ? dot : file.size();
  if (!m_pszExeName) m_pszExeName = wcsdup(std::wstring(file.substr(nameStart, nameEnd - nameStart)).c_str());
  if (!m_pszAppName && m_pszExeName) {
    m_pszAppName = wcsdup(m_pszExeName);
    if (m_pModuleState) m_pModuleState->m_lpszCurrentAppName = m_pszAppName;
  }
  if (!m_pszHelpFilePath) {
    std::wstring help(file.substr(0, nameEnd));
    help += m_eHelpType == afxHTMLHelp ? L".chm" : L".hlp";
    m_pszHelpFilePath = wcsdup(help.c_str());
  }
}

// ---------------------------------------------------------------------------------------
// The regular-DLL entry point.

BOOL AFXAPI AfxDllMain(AFX_MODULE_STATE* pState, HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved,
                       AFX_DLLMAIN_HOOK pfnHook) {
  if (!pState) return FALSE;
  if (dwReason == DLL_PROCESS_ATTACH) {
    pState->m_hCurrentInstanceHandle = hInstance;
    pState->m_hCurrentResourceHandle = hInstance;
    pState->m_bDLL = TRUE;
    AFX_MANAGE_STATE(pState);
    CWinApp* app = pState->m_pCurrentWinApp;
    if (app) app->SetCurrentHandles(hInstance);
    if (pfnHook && !pfnHook(hInstance, DLL_PROCESS_ATTACH, lpReserved)) return FALSE;
    if (app && !app->InitInstance()) {
      // As on the platform, a failed start still runs the application's clean-up.
      app->ExitInstance();
      if (pfnHook) pfnHook(hInstance, DLL_PROCESS_DETACH, lpReserved);
      return FALSE;
    }
    pState->m_bAttached = TRUE;
    return TRUE;
  }
  if (dwReason == DLL_PROCESS_DETACH) {
    if (!pState->m_bAttached) return TRUE;  // the attach failed and has cleaned up already
    pState->m_bAttached = FALSE;
    AFX_MANAGE_STATE(pState);
    if (CWinApp* app = pState->m_pCurrentWinApp) app->ExitInstance();
    if (pfnHook) pfnHook(hInstance, DLL_PROCESS_DETACH, lpReserved);
    return TRUE;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Message boxes.

namespace {
struct MessageBoxRecord {
  std::mutex lock;
  int answer = 1;  // IDOK
  std::vector<platform::mfc::MessageBoxCall> calls;
};
MessageBoxRecord& MessageBoxes() {
  static MessageBoxRecord record;
  return record;
}
}  // namespace

// Every call is recorded for the class library's tests. On the platform the box is shown, owned
// by the thread's active window and captioned with the application's name, and the user's
// answer is returned; the headless stand-in shows nothing and answers what a test set.
int platform::mfc::detail::RecordMessageBox(const CString& text, UINT nIDPrompt, UINT nType, UINT nIDHelp) {
  MessageBoxRecord& record = MessageBoxes();
  int answer = 0;
  {
    std::lock_guard<std::mutex> guard(record.lock);
    record.calls.push_back({text, nIDPrompt, nType, nIDHelp});
    answer = record.answer;
  }
#if defined(_WIN32)
  answer = MessageBoxW(GetActiveWindow(), text.GetString(), AfxGetAppName(), nType);
#endif
  return answer;
}

int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType, UINT nIDHelp) {
  return platform::mfc::detail::RecordMessageBox(CString(lpszText), 0, nType, nIDHelp);
}

namespace platform::mfc {
void SetMessageBoxAnswer(int answer) {
  MessageBoxRecord& record = MessageBoxes();
  std::lock_guard<std::mutex> guard(record.lock);
  record.answer = answer;
}
std::vector<MessageBoxCall> MessageBoxCalls() {
  MessageBoxRecord& record = MessageBoxes();
  std::lock_guard<std::mutex> guard(record.lock);
  return record.calls;
}
void ClearMessageBoxCalls() {
  MessageBoxRecord& record = MessageBoxes();
  std::lock_guard<std::mutex> guard(record.lock);
  record.calls.clear();
  record.answer = 1;
}
}  // namespace platform::mfc
