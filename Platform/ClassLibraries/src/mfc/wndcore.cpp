// The class library's window layer: CWnd's handle maps, attaching and subclassing, the
// window procedure and message-map dispatch with notification reflection, and the
// pre-translate walk.
#include <array>
#include <atomic>
#include <map>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "afxwin.h"
#if defined(_WIN32)
#include <windowsx.h>  // GET_X_LPARAM, which the stand-in's winuser.h has
#undef SubclassWindow  // a message cracker of windowsx.h, not CWnd::SubclassWindow
#endif
#include "htmlhelp.h"
#include "mfc_internal.h"

namespace {

std::mutex gMapLock;
std::unordered_map<HWND, CWnd*>& PermanentMap() {
  static auto* map = new std::unordered_map<HWND, CWnd*>;  // never destroyed: windows may go at exit
  return *map;
}

// Every message to a subclassed window looks its object up, so each thread keeps the answers
// it found last (an object or none), valid until the permanent map next changes.
std::atomic<uint64_t> gMapChanges{0};
struct FoundObject {
  HWND hwnd = nullptr;
  CWnd* wnd = nullptr;
  uint64_t changes = 0;
};
thread_local std::array<FoundObject, 32> tFoundObjects;

// Called under gMapLock after each change of the permanent map.
void NotePermanentMapChange() {
  gMapChanges.fetch_add(1, std::memory_order_acq_rel);
}

// Temporary objects of each thread, deleted by DeleteTempMap or when the library unloads.
struct TempMap {
  std::map<HWND, std::unique_ptr<CWnd>> windows;
  ~TempMap() {
    for (auto& [hwnd, wnd] : windows) wnd->m_hWnd = nullptr;  // a temporary object never destroys its window
  }
};
platform::mfc::detail::PerThread<TempMap> gTempMaps;

// The message being handled on this thread, for Default().
thread_local MSG tCurrentMessage{};

union MessageMapFunctions {
  AFX_PMSG pfn;
  LRESULT (CWnd::*pfn_lwl)(WPARAM, LPARAM);
  void (CCmdTarget::*pfn_vv)();
  BOOL (CCmdTarget::*pfn_bv)();
  void (CWnd::*pfn_vW)(CWnd*);
  void (CWnd::*pfn_vwww)(UINT, UINT, UINT);
  void (CWnd::*pfn_vwp)(UINT, CPoint);
  void (CWnd::*pfn_vb)(BOOL);
  BOOL (CWnd::*pfn_bHELPINFO)(HELPINFO*);
  void (CCmdTarget::*pfn_vNMHDRpl)(NMHDR*, LRESULT*);
  BOOL (CCmdTarget::*pfn_bNMHDRpl)(NMHDR*, LRESULT*);
  void (CWnd::*pfn_vw)(UINT_PTR);
};

}  // namespace

IMPLEMENT_DYNCREATE(CWnd, CCmdTarget)

BEGIN_MESSAGE_MAP(CWnd, CCmdTarget)
END_MESSAGE_MAP()

CWnd::CWnd() = default;

CWnd::~CWnd() {
  if (m_hWnd && !m_bTemporary) {
    // Deleting the object of a live window destroys the window, as on the platform.
    HWND hwnd = m_hWnd;
    if (::IsWindow(hwnd)) ::DestroyWindow(hwnd);
    if (m_hWnd) Detach();
  }
}

// ---------------------------------------------------------------------------------------
// Handle maps

CWnd* PASCAL CWnd::FromHandlePermanent(HWND hWnd) {
  // Read before the map: an answer found after a change is kept with the older count and so
  // is looked up again, never the other way round.
  const uint64_t changes = gMapChanges.load(std::memory_order_acquire);
  FoundObject& found = tFoundObjects[(reinterpret_cast<uintptr_t>(hWnd) >> 2) % tFoundObjects.size()];
  if (found.hwnd == hWnd && found.changes == changes) return found.wnd;
  std::lock_guard guard(gMapLock);
  const auto& map = PermanentMap();
  auto it = map.find(hWnd);
  CWnd* wnd = it == map.end() ? nullptr : it->second;
  found = {hWnd, wnd, changes};
  return wnd;
}

CWnd* PASCAL CWnd::FromHandle(HWND hWnd) {
  if (!hWnd) return nullptr;
  if (CWnd* permanent = FromHandlePermanent(hWnd)) return permanent;
  auto& slot = gTempMaps.Current().windows[hWnd];
  if (!slot) {
    slot = std::make_unique<CWnd>();
    slot->m_hWnd = hWnd;
    slot->m_bTemporary = true;
  }
  return slot.get();
}

void PASCAL CWnd::DeleteTempMap() {
  auto& temporaries = gTempMaps.Current().windows;
  for (auto& [hwnd, wnd] : temporaries) wnd->m_hWnd = nullptr;
  temporaries.clear();
}

BOOL CWnd::Attach(HWND hWndNew) {
  if (!hWndNew || !::IsWindow(hWndNew) || m_hWnd) return FALSE;
  std::lock_guard guard(gMapLock);
  auto [it, inserted] = PermanentMap().emplace(hWndNew, this);
  if (!inserted) return FALSE;
  NotePermanentMapChange();
  m_hWnd = hWndNew;
  // A temporary object of the same handle is no longer given out.
  auto& temporaries = gTempMaps.Current().windows;
  auto temp = temporaries.find(hWndNew);
  if (temp != temporaries.end()) temp->second->m_hWnd = nullptr, temporaries.erase(temp);
  return TRUE;
}

HWND CWnd::Detach() {
  HWND hwnd = m_hWnd;
  if (hwnd) {
    std::lock_guard guard(gMapLock);
    auto it = PermanentMap().find(hwnd);
    if (it != PermanentMap().end() && it->second == this) {
      PermanentMap().erase(it);
      NotePermanentMapChange();
    }
  }
  m_hWnd = nullptr;
  return hwnd;
}

void CWnd::PreSubclassWindow() {}

BOOL CWnd::SubclassWindow(HWND hWnd) {
  if (!Attach(hWnd)) return FALSE;
  PreSubclassWindow();
  auto previous = reinterpret_cast<WNDPROC>(
      ::SetWindowLongPtrW(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&AfxWndProc)));
  if (previous != &AfxWndProc) m_pfnSuper = previous;
  return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
  if (!pParent) return FALSE;
  HWND control = ::GetDlgItem(pParent->m_hWnd, static_cast<int>(nID));
  return control ? SubclassWindow(control) : FALSE;
}

HWND CWnd::UnsubclassWindow() {
  if (m_pfnSuper) ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  m_pfnSuper = nullptr;
  return Detach();
}

// ---------------------------------------------------------------------------------------
// Creation and destruction

BOOL CWnd::Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                  CWnd* pParentWnd, UINT nID, void*) {
  return CreateEx(0, lpszClassName, lpszWindowName, dwStyle | WS_CHILD, rect.left, rect.top,
                  rect.right - rect.left, rect.bottom - rect.top, pParentWnd ? pParentWnd->m_hWnd : nullptr,
                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nID)));
}

BOOL CWnd::CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                    int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu, LPVOID lpParam) {
  if (m_hWnd) return FALSE;
  HWND hwnd = ::CreateWindowExW(dwExStyle, lpszClassName, lpszWindowName, dwStyle, x, y, nWidth, nHeight,
                                hWndParent, nIDorHMenu, AfxGetInstanceHandle(), lpParam);
  if (!hwnd) return FALSE;
  if (!SubclassWindow(hwnd)) {
    ::DestroyWindow(hwnd);
    return FALSE;
  }
  return TRUE;
}

BOOL CWnd::DestroyWindow() {
  if (!m_hWnd) return FALSE;
  HWND hwnd = m_hWnd;
  BOOL result = ::DestroyWindow(hwnd);
  // A window that was attached without subclassing never sees its WM_NCDESTROY here.
  if (m_hWnd == hwnd && !::IsWindow(hwnd)) Detach();
  return result;
}

void CWnd::PostNcDestroy() {}

void CWnd::OnNcDestroy() {
  auto ours = ::GetWindowLongPtrW(m_hWnd, GWLP_WNDPROC);
  Default();
  if (ours == reinterpret_cast<LONG_PTR>(&AfxWndProc) && m_pfnSuper) {
    ::SetWindowLongPtrW(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnSuper));
  }
  m_pfnSuper = nullptr;
  Detach();
  PostNcDestroy();
}

// ---------------------------------------------------------------------------------------
// Dispatch

LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
  CWnd* wnd = CWnd::FromHandlePermanent(hWnd);
  if (!wnd) return ::DefWindowProcW(hWnd, nMsg, wParam, lParam);
  MSG previous = tCurrentMessage;
  tCurrentMessage = MSG{hWnd, nMsg, wParam, lParam, 0, {0, 0}};
  LRESULT result = 0;
  if (nMsg == WM_NCDESTROY) {
    wnd->OnNcDestroy();
  } else {
    result = wnd->WindowProc(nMsg, wParam, lParam);
  }
  tCurrentMessage = previous;
  return result;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  LRESULT result = 0;
  if (!OnWndMsg(message, wParam, lParam, &result)) result = DefWindowProc(message, wParam, lParam);
  return result;
}

LRESULT CWnd::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  if (m_pfnSuper) return ::CallWindowProcW(m_pfnSuper, m_hWnd, message, wParam, lParam);
  return ::DefWindowProcW(m_hWnd, message, wParam, lParam);
}

LRESULT CWnd::Default() {
  const MSG& m = tCurrentMessage;
  return DefWindowProc(m.message, m.wParam, m.lParam);
}

BOOL CWnd::OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  LRESULT result = 0;
  if (message == WM_COMMAND) {
    if (!OnCommand(wParam, lParam)) return FALSE;
    if (pResult) *pResult = 1;
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    if (!OnNotify(wParam, lParam, &result)) return FALSE;
    if (pResult) *pResult = result;
    return TRUE;
  }
  const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), message, 0, 0);
  if (!entry) return FALSE;
  MessageMapFunctions f;
  f.pfn = entry->pfn;
  switch (entry->nSig) {
    case AfxSig_lwl:
      result = (this->*f.pfn_lwl)(wParam, lParam);
      break;
    case AfxSig_vv:
      (this->*f.pfn_vv)();
      break;
    case AfxSig_bv:
      result = (this->*f.pfn_bv)();
      break;
    case AfxSig_vW:
      (this->*f.pfn_vW)(CWnd::FromHandle(reinterpret_cast<HWND>(wParam)));
      break;
    case AfxSig_vwww:
      (this->*f.pfn_vwww)(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
      break;
    case AfxSig_vwp:
      (this->*f.pfn_vwp)(static_cast<UINT>(wParam), CPoint(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)));
      break;
    case AfxSig_vb:
      (this->*f.pfn_vb)(static_cast<BOOL>(wParam));
      break;
    case AfxSig_bHELPINFO:
      result = (this->*f.pfn_bHELPINFO)(reinterpret_cast<HELPINFO*>(lParam));
      break;
    case AfxSig_vw:
      (this->*f.pfn_vw)(static_cast<UINT_PTR>(wParam));
      break;
    default:
      return FALSE;
  }
  if (pResult) *pResult = result;
  return TRUE;
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
  UINT id = LOWORD(wParam);
  UINT code = HIWORD(wParam);
  HWND control = reinterpret_cast<HWND>(lParam);
  if (control) {
    CWnd* child = FromHandlePermanent(control);
    if (child && child->OnChildNotify(WM_COMMAND, wParam, lParam, nullptr)) return TRUE;  // the child took it
  }
  const AFX_MSGMAP_ENTRY* entry = AfxFindMessageEntry(GetMessageMap(), WM_COMMAND, code, id);
  if (!entry || entry->nSig != AfxSig_vv) return FALSE;
  MessageMapFunctions f;
  f.pfn = entry->pfn;
  (this->*f.pfn_vv)();
  return TRUE;
}

BOOL CWnd::OnNotify(WPARAM, LPARAM lParam, LRESULT* pResult) {
  auto* header = reinterpret_cast<NMHDR*>(lParam);
  if (!header) return FALSE;
  if (CWnd* child = FromHandlePermanent(header->hwndFrom)) {
    if (child->OnChildNotify(WM_NOTIFY, header->idFrom, lParam, pResult)) return TRUE;
  }
  const AFX_MSGMAP_ENTRY* entry =
      AfxFindMessageEntry(GetMessageMap(), WM_NOTIFY, header->code, static_cast<UINT>(header->idFrom));
  if (!entry) return FALSE;
  MessageMapFunctions f;
  f.pfn = entry->pfn;
  LRESULT ignored = 0;
  (this->*f.pfn_vNMHDRpl)(header, pResult ? pResult : &ignored);
  return TRUE;
}

BOOL CWnd::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  return ReflectChildNotify(message, wParam, lParam, pResult);
}

BOOL CWnd::ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) {
  MessageMapFunctions f;
  if (message == WM_COMMAND) {
    const AFX_MSGMAP_ENTRY* entry =
        AfxFindMessageEntry(GetMessageMap(), WM_COMMAND + WM_REFLECT_BASE, HIWORD(wParam), 0);
    if (!entry) return FALSE;
    f.pfn = entry->pfn;
    if (entry->nSig == AfxSig_bv) return (this->*f.pfn_bv)();
    (this->*f.pfn_vv)();
    return TRUE;
  }
  if (message == WM_NOTIFY) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    const AFX_MSGMAP_ENTRY* entry =
        AfxFindMessageEntry(GetMessageMap(), WM_NOTIFY + WM_REFLECT_BASE, header->code, 0);
    if (!entry) return FALSE;
    f.pfn = entry->pfn;
    LRESULT ignored = 0;
    if (entry->nSig == AfxSig_bNMHDRpl) return (this->*f.pfn_bNMHDRpl)(header, pResult ? pResult : &ignored);
    (this->*f.pfn_vNMHDRpl)(header, pResult ? pResult : &ignored);
    return TRUE;
  }
  return FALSE;
}

BOOL CWnd::PreTranslateMessage(MSG*) {
  return FALSE;
}

BOOL PASCAL CWnd::WalkPreTranslateTree(HWND hWndStop, MSG* pMsg) {
  for (HWND hwnd = pMsg ? pMsg->hwnd : nullptr; hwnd; hwnd = ::GetParent(hwnd)) {
    CWnd* wnd = FromHandlePermanent(hwnd);
    if (wnd && wnd->PreTranslateMessage(pMsg)) return TRUE;
    if (hwnd == hWndStop) break;
  }
  return FALSE;
}

// ---------------------------------------------------------------------------------------
// Wrappers and default handlers

CWnd* CWnd::GetDlgItem(int nID) const {
  return FromHandle(::GetDlgItem(m_hWnd, nID));
}

CWnd* CWnd::GetParent() const {
  return FromHandle(::GetParent(m_hWnd));
}

void CWnd::GetWindowText(CString& rString) const {
  int length = ::GetWindowTextLengthW(m_hWnd);
  ::GetWindowTextW(m_hWnd, rString.GetBufferSetLength(length), length + 1);
  rString.ReleaseBuffer();
}

int CWnd::GetDlgItemText(int nID, CString& rString) const {
  rString.Empty();
  HWND item = ::GetDlgItem(m_hWnd, nID);
  if (item) FromHandle(item)->GetWindowText(rString);
  return rString.GetLength();
}

CWnd* CWnd::SetFocus() {
  return FromHandle(::SetFocus(m_hWnd));
}

CWnd* PASCAL CWnd::GetFocus() {
  return FromHandle(::GetFocus());
}

void CWnd::SetFont(CFont* pFont, BOOL bRedraw) {
  SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(pFont ? pFont->m_hObject : nullptr), bRedraw);
}

CFont* CWnd::GetFont() const {
  return CFont::FromHandle(reinterpret_cast<HFONT>(SendMessage(WM_GETFONT)));
}

void CWnd::WinHelpInternal(DWORD_PTR dwData, UINT nCmd) {
  CWinApp* app = AfxGetApp();
  if (!app || app->GetHelpMode() != afxHTMLHelp) return;
  if (!::HtmlHelpW(m_hWnd, app->m_pszHelpFilePath, nCmd, dwData))
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
}

BOOL CWnd::ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT) {
  DWORD style = GetStyle();
  DWORD changed = (style & ~dwRemove) | dwAdd;
  if (changed == style) return FALSE;
  ::SetWindowLongW(m_hWnd, GWL_STYLE, static_cast<LONG>(changed));
  return TRUE;
}

BOOL CWnd::ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT) {
  DWORD style = GetExStyle();
  DWORD changed = (style & ~dwRemove) | dwAdd;
  if (changed == style) return FALSE;
  ::SetWindowLongW(m_hWnd, GWL_EXSTYLE, static_cast<LONG>(changed));
  return TRUE;
}

void CWnd::OnSetFocus(CWnd*) {
  Default();
}
void CWnd::OnKillFocus(CWnd*) {
  Default();
}
void CWnd::OnChar(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnKeyDown(UINT, UINT, UINT) {
  Default();
}
void CWnd::OnLButtonDown(UINT, CPoint) {
  Default();
}
void CWnd::OnLButtonUp(UINT, CPoint) {
  Default();
}
void CWnd::OnMouseMove(UINT, CPoint) {
  Default();
}
void CWnd::OnDestroy() {
  Default();
}
void CWnd::OnEnable(BOOL) {
  Default();
}
BOOL CWnd::OnHelpInfo(HELPINFO*) {
  return static_cast<BOOL>(Default());
}
void CWnd::OnTimer(UINT_PTR) {
  Default();
}
