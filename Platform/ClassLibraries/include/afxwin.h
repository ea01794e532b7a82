// The class library's application core: per-DLL module state and its switch, command targets
// with message maps, the application object, and the regular-DLL entry point.
#pragma once

#include <atomic>
#include <vector>

#include "afx.h"
#include "afxres.h"
#include "commctrl.h"

// Per-DLL (hidden) declarations: each product DLL links its own copy of dllsupport, so a call
// from inside a DLL binds to that DLL's definition. On Windows nothing is exported that the
// DLL does not name, so they need no marking.
#if defined(_WIN32)
#define AFX_DLL_LOCAL
#else
#define AFX_DLL_LOCAL __attribute__((visibility("hidden")))
#endif

#ifndef DLL_PROCESS_ATTACH
#define DLL_PROCESS_DETACH 0
#define DLL_PROCESS_ATTACH 1
#define DLL_THREAD_ATTACH 2
#define DLL_THREAD_DETACH 3
#endif

class CCmdTarget;
class CWinApp;

// ---------------------------------------------------------------------------------------
// Module state.

// The state of one module: the executable (the platform library's process state) or one
// regular DLL (its copy in Platform/dllsupport). Plain data, constant-initialized, so that
// the application object's constructor can register itself during static construction.
struct AFX_MODULE_STATE {
  HINSTANCE m_hCurrentInstanceHandle = nullptr;  // the module's own handle
  HINSTANCE m_hCurrentResourceHandle = nullptr;  // where resources are looked up
  LPCWSTR m_lpszCurrentAppName = nullptr;        // the application object's name
  CWinApp* m_pCurrentWinApp = nullptr;           // the module's application object
  BOOL m_bDLL = FALSE;                           // TRUE for a DLL's state
  BOOL m_bAttached = FALSE;                      // TRUE between a successful attach and detach
};

// The calling thread's current module state: the one set by AFX_MANAGE_STATE (or the entry
// point), else the process's own.
CLASSLIB_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// Makes pState the calling thread's current module state (null: the process's own) and
// returns the previous setting (null when there was none).
CLASSLIB_API AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pState);

// The module state of the DLL that makes the call (defined in Platform/dllsupport).
AFX_DLL_LOCAL AFX_MODULE_STATE* AFXAPI AfxGetStaticModuleState();

// Switches the thread's current module state for a scope and restores the previous one.
struct AFX_MAINTAIN_STATE2 {
  explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState) : m_pPrevState(AfxSetModuleState(pNewState)) {}
  ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(m_pPrevState); }
  AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
  AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

 private:
  AFX_MODULE_STATE* m_pPrevState;
};
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

// The current module state's instance handle, resource handle, application object and name.
CLASSLIB_API HINSTANCE AFXAPI AfxGetInstanceHandle();
CLASSLIB_API HINSTANCE AFXAPI AfxGetResourceHandle();
CLASSLIB_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
CLASSLIB_API CWinApp* AFXAPI AfxGetApp();
CLASSLIB_API LPCWSTR AFXAPI AfxGetAppName();

// ---------------------------------------------------------------------------------------
// Message maps: each class's static table, ended by an AfxSig_end entry and linked to its
// base class's table. Dispatch searches the chain with one loop (AfxFindMessageEntry).

typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures: how dispatch calls an entry's handler (the window classes' entry
// macros below choose them).
enum AfxSig : UINT_PTR {
  AfxSig_end = 0,    // the end of a table
  AfxSig_lwl,        // LRESULT (WPARAM, LPARAM): ON_MESSAGE
  AfxSig_vv,         // void (): ON_COMMAND, ON_CONTROL, ON_CONTROL_REFLECT, ON_WM_DESTROY
  AfxSig_bv,         // BOOL (): ON_CONTROL_REFLECT_EX (FALSE lets the parent handle it too)
  AfxSig_vW,         // void (CWnd*): ON_WM_SETFOCUS, ON_WM_KILLFOCUS
  AfxSig_vwww,       // void (UINT, UINT, UINT): ON_WM_CHAR, ON_WM_KEYDOWN
  AfxSig_vwp,        // void (UINT, CPoint): mouse messages
  AfxSig_vb,         // void (BOOL): ON_WM_ENABLE
  AfxSig_bHELPINFO,  // BOOL (HELPINFO*): ON_WM_HELPINFO
  AfxSig_vNMHDRpl,   // void (NMHDR*, LRESULT*): ON_NOTIFY, ON_NOTIFY_REFLECT
  AfxSig_bNMHDRpl,   // BOOL (NMHDR*, LRESULT*): ON_NOTIFY_REFLECT_EX
  AfxSig_vw,         // void (UINT_PTR): ON_WM_TIMER
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // the window message
  UINT nCode;     // the notification code for WM_COMMAND and WM_NOTIFY
  UINT nID;       // the control id, or the first of a range
  UINT nLastID;   // the last id of the range (nID for one id)
  UINT_PTR nSig;  // the handler's signature
  AFX_PMSG pfn;   // the handler
};

// A class's answers to earlier searches of its table chain, the absence of a handler
// included: the tables never change, so an answer holds for the life of the class, and the
// cache lives beside the class's own table so that it goes when the class's module does.
// Dispatch runs on every thread that has windows: a search writes its answer only while no
// other thread writes one (nVersion odd), and an answer read while one was written is not
// used, so a reader never sees half an answer and needs no lock.
struct AFX_MSGCACHE_SLOT {
  std::atomic<UINT> nMessage;
  std::atomic<UINT> nCode;
  std::atomic<UINT> nID;
  std::atomic<bool> bFilled;
  std::atomic<const AFX_MSGMAP_ENTRY*> lpEntry;  // the answer, null for no handler
};
struct AFX_MSGCACHE {
  static constexpr UINT kSlots = 32;  // a power of two; a slot keeps the last search that chose it
  std::atomic<UINT> nVersion;         // odd while a slot is being written
  AFX_MSGCACHE_SLOT slots[kSlots];
};

struct AFX_MSGMAP {
  const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();  // the base class's table, null at the root
  const AFX_MSGMAP_ENTRY* lpEntries;
  AFX_MSGCACHE* pCache = nullptr;  // the class's searches (null: every search walks the chain)
};

// The first entry for (message, code, id) in the map or its base maps, or null; the answer
// is kept in the map's cache, when it has one, for the next search of the same key.
CLASSLIB_API const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
                                                                UINT nCode, UINT nID);

// Leaves the class in protected access, as on the platform; the map is public through
// CCmdTarget::GetMessageMap.
#define DECLARE_MESSAGE_MAP()                          \
 protected:                                            \
  static const AFX_MSGMAP* PASCAL GetThisMessageMap(); \
  const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)             \
  const AFX_MSGMAP* theClass::GetMessageMap() const {      \
    return GetThisMessageMap();                            \
  }                                                        \
  const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap() { \
    using ThisClass [[maybe_unused]] = theClass;           \
    using TheBaseClass = baseClass;                        \
    static const AFX_MSGMAP_ENTRY _messageEntries[] = {
#define END_MESSAGE_MAP()                                                                      \
  { 0, 0, 0, 0, AfxSig_end, nullptr }                                                          \
  }                                                                                            \
  ;                                                                                            \
  static constinit AFX_MSGCACHE messageCache{};                                                \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0], \
                                        &messageCache};                                        \
  return &messageMap;                                                                          \
  }

// ---------------------------------------------------------------------------------------
// Command targets, threads and the application object.

class CLASSLIB_API CCmdTarget : public CObject {
  DECLARE_DYNAMIC(CCmdTarget)

 public:
  CCmdTarget() = default;
  ~CCmdTarget() override;

  // The wait cursor through the current application object (recorded; see
  // platform::mfc::IsWaitCursorShowing).
  void BeginWaitCursor();
  void EndWaitCursor();
  void RestoreWaitCursor();

  virtual const AFX_MSGMAP* GetMessageMap() const;

 protected:
  static const AFX_MSGMAP* PASCAL GetThisMessageMap();
};

class CLASSLIB_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread() = default;
  ~CWinThread() override;

  // The thread's start (base: FALSE) and end (base: the exit code 0).
  virtual BOOL InitInstance();
  virtual int ExitInstance();
};

enum AFX_HELP_TYPE { afxWinHelp = 0, afxHTMLHelp = 1 };

class CLASSLIB_API CWinApp : public CWinThread {
  DECLARE_DYNAMIC(CWinApp)

 public:
  // Registers the application object in the module state of the DLL that constructs it:
  // the inline constructor is compiled into that DLL and passes its own module state.
  AFX_DLL_LOCAL explicit CWinApp(LPCTSTR lpszAppName = nullptr)
      : CWinApp(lpszAppName, AfxGetStaticModuleState()) {}
  // Registers in the given module state (the executable's, or a test's).
  CWinApp(LPCTSTR lpszAppName, AFX_MODULE_STATE* pModuleState);
  ~CWinApp() override;
  CWinApp(const CWinApp&) = delete;
  CWinApp& operator=(const CWinApp&) = delete;

  // Start-up at the DLL's attach (base: TRUE; FALSE fails the load) and the end at its
  // detach (base: 0).
  BOOL InitInstance() override;
  int ExitInstance() override;

  // Help through HTML Help (compiled help files) in place of the older help engine.
  void EnableHtmlHelp();
  void SetHelpMode(AFX_HELP_TYPE eHelpType);
  AFX_HELP_TYPE GetHelpMode() const { return m_eHelpType; }

  // nCode 1 begins a wait cursor, -1 ends one, 0 shows it again while one is begun.
  virtual void DoWaitCursor(int nCode);

  // The application's name and its module's file name without extension; heap strings
  // (malloc), freed by the destructor. Without a name given, the name is the module's.
  LPCTSTR m_pszAppName = nullptr;
  LPCTSTR m_pszExeName = nullptr;
  // The help file's path: the module's path with ".chm" (HTML Help) or ".hlp", set at the
  // attach when none is set (pending GetModuleFileNameW). A malloc heap string: client code frees it with
  // free() and stores its own _wcsdup copy; the destructor frees what is there.
  LPCTSTR m_pszHelpFilePath = nullptr;
  HINSTANCE m_hInstance = nullptr;
  AFX_HELP_TYPE m_eHelpType = afxWinHelp;

  // Takes the module's handle and fills the names and the help path (called at the attach).
  void SetCurrentHandles(HINSTANCE hInstance);

 protected:
  AFX_MODULE_STATE* m_pModuleState;
  int m_nWaitCursorCount = 0;

  DECLARE_MESSAGE_MAP()
};

// ---------------------------------------------------------------------------------------
// The regular-DLL entry point.

// An attach/detach hook of the DLL's own (the extension point for a DLL's ATL module): called
// after the class library's attach has switched to the DLL's module state and before
// InitInstance (a FALSE fails the load), and at the detach after ExitInstance. Set it during
// static construction; defined in Platform/dllsupport, one per DLL.
typedef BOOL(WINAPI* AFX_DLLMAIN_HOOK)(HINSTANCE hInstance, DWORD dwReason, LPVOID lpReserved);
AFX_DLL_LOCAL extern AFX_DLLMAIN_HOOK afxDllMainHook;

// The class library's part of a regular DLL's entry point, for the module state given.
// DLL_PROCESS_ATTACH: the state takes hInstance as instance and resource handle and becomes
// current for the call; the application object's InitInstance runs; FALSE runs ExitInstance
// and makes the attach fail. DLL_PROCESS_DETACH (after a successful attach): ExitInstance.
// A DLL without an application object attaches successfully.
CLASSLIB_API BOOL AFXAPI AfxDllMain(AFX_MODULE_STATE* pState, HINSTANCE hInstance, DWORD dwReason,
                                    LPVOID lpReserved, AFX_DLLMAIN_HOOK pfnHook);

// The entry point that the loader finds by name in every product DLL (Platform/dllsupport):
// AfxDllMain with the DLL's own module state and hook. It lives in the same object as
// AfxGetStaticModuleState, so a DLL that constructs an application object, switches to its
// module state or sets the hook gets it; a DLL that does none of these links the support
// library whole.
EXTERN_C __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason,
                                                                    LPVOID lpReserved);

// ---------------------------------------------------------------------------------------
// The window layer: CWnd and its handle maps, message-map dispatch, CDialog with data
// exchange, the control classes, CFont and CDC.

class CWnd;
class CFont;
class CDataExchange;

// Geometry helpers with the class library's names.
struct CPoint : POINT {
  CPoint() : POINT{0, 0} {}
  CPoint(int x_, int y_) : POINT{x_, y_} {}
};
struct CSize : SIZE {
  CSize() : SIZE{0, 0} {}
  CSize(int cx_, int cy_) : SIZE{cx_, cy_} {}
  CSize(SIZE s) : SIZE(s) {}
};
struct CRect : RECT {
  CRect() : RECT{0, 0, 0, 0} {}
  CRect(int l, int t, int r, int b) : RECT{l, t, r, b} {}
  CRect(const RECT& r) : RECT(r) {}
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  operator LPRECT() { return this; }
  operator LPCRECT() const { return this; }
};

// Reflected notifications arrive at the child's map as the message plus this base.
#define WM_REFLECT_BASE 0xBC00

// Message-map entries. The handler's type is checked against the signature the entry names
// (the static_cast), then stored as the table's one pointer type; dispatch casts it back by the
// signature, so no handler is ever called through the wrong type.
template <class Handler>
inline AFX_PMSG AfxEntryHandler(Handler handler) {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wcast-function-type"
  return reinterpret_cast<AFX_PMSG>(handler);
#pragma GCC diagnostic pop
}
#define AFX_ENTRY_PFN(type, fn) AfxEntryHandler(static_cast<type>(&ThisClass::fn))
#define ON_MESSAGE(message, memberFxn) \
  {message, 0, 0, 0, AfxSig_lwl, AFX_ENTRY_PFN(LRESULT(CWnd::*)(WPARAM, LPARAM), memberFxn)},
#define ON_COMMAND(id, memberFxn) \
  {WM_COMMAND, 0, (WORD)(id), (WORD)(id), AfxSig_vv, AFX_ENTRY_PFN(void(CCmdTarget::*)(), memberFxn)},
#define ON_CONTROL(code, id, memberFxn)  \
  {WM_COMMAND, (WORD)(code), (WORD)(id), \
   (WORD)(id), AfxSig_vv,    AFX_ENTRY_PFN(void(CCmdTarget::*)(), memberFxn)},
#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)
#define ON_EN_CHANGE(id, memberFxn) ON_CONTROL(EN_CHANGE, id, memberFxn)
#define ON_EN_UPDATE(id, memberFxn) ON_CONTROL(EN_UPDATE, id, memberFxn)
#define ON_EN_KILLFOCUS(id, memberFxn) ON_CONTROL(EN_KILLFOCUS, id, memberFxn)
#define ON_CBN_SELCHANGE(id, memberFxn) ON_CONTROL(CBN_SELCHANGE, id, memberFxn)
#define ON_CONTROL_REFLECT(code, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE,            \
   (WORD)(code),                            \
   0,                                       \
   0,                                       \
   AfxSig_vv,                               \
   AFX_ENTRY_PFN(void(CCmdTarget::*)(), memberFxn)},
#define ON_CONTROL_REFLECT_EX(code, memberFxn) \
  {WM_COMMAND + WM_REFLECT_BASE,               \
   (WORD)(code),                               \
   0,                                          \
   0,                                          \
   AfxSig_bv,                                  \
   AFX_ENTRY_PFN(BOOL(CCmdTarget::*)(), memberFxn)},
#define ON_NOTIFY(code, id, memberFxn)      \
  {WM_NOTIFY,  (UINT)(code),    (WORD)(id), \
   (WORD)(id), AfxSig_vNMHDRpl, AFX_ENTRY_PFN(void(CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_REFLECT(code, memberFxn) \
  {WM_NOTIFY + WM_REFLECT_BASE,            \
   (UINT)(code),                           \
   0,                                      \
   0,                                      \
   AfxSig_vNMHDRpl,                        \
   AFX_ENTRY_PFN(void(CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_NOTIFY_REFLECT_EX(code, memberFxn) \
  {WM_NOTIFY + WM_REFLECT_BASE,               \
   (UINT)(code),                              \
   0,                                         \
   0,                                         \
   AfxSig_bNMHDRpl,                           \
   AFX_ENTRY_PFN(BOOL(CCmdTarget::*)(NMHDR*, LRESULT*), memberFxn)},
#define ON_WM_SETFOCUS() {WM_SETFOCUS, 0, 0, 0, AfxSig_vW, AFX_ENTRY_PFN(void(CWnd::*)(CWnd*), OnSetFocus)},
#define ON_WM_KILLFOCUS() \
  {WM_KILLFOCUS, 0, 0, 0, AfxSig_vW, AFX_ENTRY_PFN(void(CWnd::*)(CWnd*), OnKillFocus)},
#define ON_WM_CHAR() {WM_CHAR, 0, 0, 0, AfxSig_vwww, AFX_ENTRY_PFN(void(CWnd::*)(UINT, UINT, UINT), OnChar)},
#define ON_WM_KEYDOWN() \
  {WM_KEYDOWN, 0, 0, 0, AfxSig_vwww, AFX_ENTRY_PFN(void(CWnd::*)(UINT, UINT, UINT), OnKeyDown)},
#define ON_WM_LBUTTONDOWN() \
  {WM_LBUTTONDOWN, 0, 0, 0, AfxSig_vwp, AFX_ENTRY_PFN(void(CWnd::*)(UINT, CPoint), OnLButtonDown)},
#define ON_WM_LBUTTONUP() \
  {WM_LBUTTONUP, 0, 0, 0, AfxSig_vwp, AFX_ENTRY_PFN(void(CWnd::*)(UINT, CPoint), OnLButtonUp)},
#define ON_WM_MOUSEMOVE() \
  {WM_MOUSEMOVE, 0, 0, 0, AfxSig_vwp, AFX_ENTRY_PFN(void(CWnd::*)(UINT, CPoint), OnMouseMove)},
#define ON_WM_ENABLE() {WM_ENABLE, 0, 0, 0, AfxSig_vb, AFX_ENTRY_PFN(void(CWnd::*)(BOOL), OnEnable)},
#define ON_WM_DESTROY() {WM_DESTROY, 0, 0, 0, AfxSig_vv, AFX_ENTRY_PFN(void(CWnd::*)(), OnDestroy)},
#define ON_WM_HELPINFO() \
  {WM_HELP, 0, 0, 0, AfxSig_bHELPINFO, AFX_ENTRY_PFN(BOOL(CWnd::*)(HELPINFO*), OnHelpInfo)},
// WM_PASTE has no entry of its own on the platform either: ON_MESSAGE(WM_PASTE, OnPaste).
// WM_TIMER: the timer id (wParam) to OnTimer.
#define ON_WM_TIMER() {WM_TIMER, 0, 0, 0, AfxSig_vw, AFX_ENTRY_PFN(void(CWnd::*)(UINT_PTR), OnTimer)},

#define afx_msg

// A window object. A CWnd is either permanent (its own object, attached or subclassed: the
// permanent map gives it back for its handle) or temporary (made by FromHandle for a handle
// that has no permanent object, kept per thread until DeleteTempMap). Destroying the window
// detaches the object (after WM_NCDESTROY, then PostNcDestroy); deleting an object that is still
// attached destroys its window.
//
// Simplifications: the permanent map is one per process (the platform's is per thread), and a
// window made by Create/CreateEx is subclassed right after it is created, so its object misses
// WM_NCCREATE and WM_CREATE.
class CLASSLIB_API CWnd : public CCmdTarget {
  DECLARE_DYNCREATE(CWnd)

 public:
  CWnd();
  ~CWnd() override;

  HWND m_hWnd = nullptr;
  operator HWND() const { return m_hWnd; }
  // On the platform this also accepts a null object; calling a member on null is undefined
  // behaviour in C++ (and the sanitized build stops on it), so test the pointer first.
  HWND GetSafeHwnd() const { return m_hWnd; }

  // The permanent object of hWnd, else a temporary one (null for a null handle).
  static CWnd* PASCAL FromHandle(HWND hWnd);
  // The permanent object of hWnd, or null.
  static CWnd* PASCAL FromHandlePermanent(HWND hWnd);
  // Deletes the calling thread's temporary objects (their windows stay).
  static void PASCAL DeleteTempMap();

  // Makes this the permanent object of hWndNew without subclassing (FALSE for a null or dead
  // handle, or one that has a permanent object already). Detach undoes it and returns the handle.
  BOOL Attach(HWND hWndNew);
  HWND Detach();
  // Attaches and routes the window's messages through this object (its procedure becomes the
  // class library's, the old one is kept for Default). PreSubclassWindow runs before.
  BOOL SubclassWindow(HWND hWnd);
  BOOL SubclassDlgItem(UINT nID, CWnd* pParent);
  HWND UnsubclassWindow();
  virtual void PreSubclassWindow();

  virtual BOOL Create(LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                      CWnd* pParentWnd, UINT nID, void* pContext = nullptr);
  virtual BOOL CreateEx(DWORD dwExStyle, LPCTSTR lpszClassName, LPCTSTR lpszWindowName, DWORD dwStyle, int x,
                        int y, int nWidth, int nHeight, HWND hWndParent, HMENU nIDorHMenu,
                        LPVOID lpParam = nullptr);
  virtual BOOL DestroyWindow();

  // Dispatch: WindowProc -> OnWndMsg (the message map; WM_COMMAND and WM_NOTIFY through
  // OnCommand / OnNotify, which first reflect to the child's map) -> DefWindowProc (the window's
  // previous procedure). Default() passes the current message on to DefWindowProc.
  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  // A notification from this window to its parent, given back to this window's own map first
  // (ON_CONTROL_REFLECT, ON_NOTIFY_REFLECT). TRUE when the child took it.
  virtual BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  BOOL ReflectChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default();
  // Called after the window is gone and the object detached (base: nothing).
  virtual void PostNcDestroy();

  // Keyboard and mouse messages before they are dispatched: TRUE when handled (base: FALSE).
  virtual BOOL PreTranslateMessage(MSG* pMsg);
  // Offers pMsg to the permanent objects from its window up to hWndStop (included); TRUE when
  // one of them handled it.
  static BOOL PASCAL WalkPreTranslateTree(HWND hWndStop, MSG* pMsg);

  // Sends the dialog-init data (dlgtemplate.h) of the resource lpszResourceName, type
  // RT_DLGINIT in the current resource handle's module, to this window's controls: each combo
  // box string is added with CB_ADDSTRING, entries with another message are skipped. TRUE
  // without such a resource; FALSE when it cannot be loaded, ends early or claims more bytes
  // than it holds (the run stops there, never reading past the resource), or a control refuses
  // a string.
  BOOL ExecuteDlgInit(LPCTSTR lpszResourceName);
  // The same over size bytes of dialog-init data at lpResource.
  BOOL ExecuteDlgInit(const void* lpResource, DWORD size);

  // The usual wrappers of the window calls.
  CWnd* GetDlgItem(int nID) const;
  CWnd* GetParent() const;
  int GetDlgCtrlID() const { return ::GetDlgCtrlID(m_hWnd); }
  void SetWindowText(LPCTSTR lpszString) { ::SetWindowTextW(m_hWnd, lpszString); }
  void GetWindowText(CString& rString) const;
  int GetWindowTextLength() const { return ::GetWindowTextLengthW(m_hWnd); }
  void SetDlgItemText(int nID, LPCTSTR lpszString) { ::SetDlgItemTextW(m_hWnd, nID, lpszString); }
  int GetDlgItemText(int nID, CString& rString) const;
  BOOL EnableWindow(BOOL bEnable = TRUE) { return ::EnableWindow(m_hWnd, bEnable); }
  BOOL IsWindowEnabled() const { return ::IsWindowEnabled(m_hWnd); }
  BOOL ShowWindow(int nCmdShow) { return ::ShowWindow(m_hWnd, nCmdShow); }
  BOOL IsWindowVisible() const { return ::IsWindowVisible(m_hWnd); }
  void MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint = TRUE) {
    ::MoveWindow(m_hWnd, x, y, nWidth, nHeight, bRepaint);
  }
  void MoveWindow(LPCRECT lpRect, BOOL bRepaint = TRUE) {
    MoveWindow(lpRect->left, lpRect->top, lpRect->right - lpRect->left, lpRect->bottom - lpRect->top,
               bRepaint);
  }
  BOOL SetWindowPos(const CWnd* pWndInsertAfter, int x, int y, int cx, int cy, UINT nFlags) {
    return ::SetWindowPos(m_hWnd, pWndInsertAfter ? pWndInsertAfter->m_hWnd : nullptr, x, y, cx, cy, nFlags);
  }
  void GetWindowRect(LPRECT lpRect) const { ::GetWindowRect(m_hWnd, lpRect); }
  void GetClientRect(LPRECT lpRect) const { ::GetClientRect(m_hWnd, lpRect); }
  void ScreenToClient(LPPOINT lpPoint) const { ::ScreenToClient(m_hWnd, lpPoint); }
  void ScreenToClient(LPRECT lpRect) const {
    ::MapWindowPoints(nullptr, m_hWnd, reinterpret_cast<LPPOINT>(lpRect), 2);
  }
  void ClientToScreen(LPPOINT lpPoint) const { ::ClientToScreen(m_hWnd, lpPoint); }
  void ClientToScreen(LPRECT lpRect) const {
    ::MapWindowPoints(m_hWnd, nullptr, reinterpret_cast<LPPOINT>(lpRect), 2);
  }
  CWnd* SetFocus();
  static CWnd* PASCAL GetFocus();
  void SetFont(CFont* pFont, BOOL bRedraw = TRUE);
  CFont* GetFont() const;
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::SendMessageW(m_hWnd, message, wParam, lParam);
  }
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const {
    return ::PostMessageW(m_hWnd, message, wParam, lParam);
  }
  DWORD GetStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_STYLE)); }
  DWORD GetExStyle() const { return static_cast<DWORD>(::GetWindowLongW(m_hWnd, GWL_EXSTYLE)); }
  BOOL ModifyStyle(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  BOOL ModifyStyleEx(DWORD dwRemove, DWORD dwAdd, UINT nFlags = 0);
  // Shows the application's help for dwData (a help context with HH_HELP_CONTEXT, 0x000F) with
  // this window as the caller: HTML Help on the application's help file when its help mode
  // is afxHTMLHelp, and AFX_IDP_FAILED_TO_LAUNCH_HELP when no help window opens. Simplified:
  // the older help engine is not part of the stand-in, so the afxWinHelp mode shows nothing.
  void WinHelpInternal(DWORD_PTR dwData, UINT nCmd = 0x000F);
  DWORD GetWindowContextHelpId() const { return ::GetWindowContextHelpId(m_hWnd); }
  BOOL SetWindowContextHelpId(DWORD dwContextHelpId) {
    return ::SetWindowContextHelpId(m_hWnd, dwContextHelpId);
  }
  // A timer of this window (SetTimer with no timer procedure: WM_TIMER reaches OnTimer); the
  // timer's id, or 0 when it cannot be set. KillTimer: FALSE when there is no such timer.
  UINT_PTR SetTimer(UINT_PTR nIDEvent, UINT nElapse, TIMERPROC lpfnTimer = nullptr) {
    return ::SetTimer(m_hWnd, nIDEvent, nElapse, lpfnTimer);
  }
  BOOL KillTimer(UINT_PTR nIDEvent) { return ::KillTimer(m_hWnd, nIDEvent); }

  // The default handlers: each passes the message on (Default()).
  afx_msg void OnSetFocus(CWnd* pOldWnd);
  afx_msg void OnKillFocus(CWnd* pNewWnd);
  afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
  afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
  afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
  afx_msg void OnMouseMove(UINT nFlags, CPoint point);
  afx_msg void OnDestroy();
  // WM_ENABLE: the window's enabled state has changed to bEnable.
  afx_msg void OnEnable(BOOL bEnable);
  afx_msg BOOL OnHelpInfo(HELPINFO* pHelpInfo);
  afx_msg void OnTimer(UINT_PTR nIDEvent);

 protected:
  WNDPROC m_pfnSuper = nullptr;  // the window's procedure before subclassing
  friend LRESULT CALLBACK AfxWndProc(HWND, UINT, WPARAM, LPARAM);
  friend class CDialog;
  void OnNcDestroy();
  bool m_bTemporary = false;

  DECLARE_MESSAGE_MAP()
};

// The class library's window procedure: the permanent object's WindowProc.
CLASSLIB_API LRESULT CALLBACK AfxWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

// Data exchange between a dialog's controls and its members (DoDataExchange).
class CLASSLIB_API CDataExchange {
 public:
  CDataExchange(CWnd* pDlgWnd, BOOL bSaveAndValidate)
      : m_bSaveAndValidate(bSaveAndValidate), m_pDlgWnd(pDlgWnd) {}
  BOOL m_bSaveAndValidate;  // TRUE: controls to members; FALSE: members to controls
  CWnd* m_pDlgWnd;
  // The control's handle (null when the dialog has none with that id).
  HWND PrepareCtrl(int nIDC);
  HWND PrepareEditCtrl(int nIDC) { return PrepareCtrl(nIDC); }
  int m_idLastControl = 0;
};

// Subclasses the control nIDC into rControl the first time (the exchange direction does not
// matter); a missing control is the caller's error (the platform asserts; here the call does
// nothing and rControl stays unattached).
CLASSLIB_API void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl);
// The control's text to value (saving) or value to the control's text.
CLASSLIB_API void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value);

// A dialog. The modeless Create builds it from the template in the current resource handle
// (AfxGetResourceHandle) as a child or owned window of pParentWnd and routes its messages
// through this object from WM_INITDIALOG on (OnInitDialog); messages before (WM_SETFONT) reach
// only the dialog class. DoModal runs DialogBoxIndirectParamW on the same template.
class CLASSLIB_API CDialog : public CWnd {
  DECLARE_DYNAMIC(CDialog)

 public:
  CDialog();
  explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  explicit CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  ~CDialog() override;

  // The window's own Create stays visible beside the dialog's.
  using CWnd::Create;
  virtual BOOL Create(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
  virtual BOOL Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd = nullptr);
  virtual BOOL CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd = nullptr);
  virtual INT_PTR DoModal();
  void EndDialog(int nResult);

  // Base: the template's dialog-init data (ExecuteDlgInit with the template name), then
  // UpdateData(FALSE) (DoDataExchange filling the controls) and TRUE (focus the first control).
  // Dialog-init data that fails is not fatal here: the data exchange runs all the same.
  virtual BOOL OnInitDialog();
  // Runs DoDataExchange in the direction given; TRUE (validation failures are not raised here).
  BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
  virtual void DoDataExchange(CDataExchange* pDX);
  // IDOK: UpdateData(TRUE) then EndDialog(IDOK); IDCANCEL: EndDialog(IDCANCEL).
  virtual void OnOK();
  virtual void OnCancel();
  // Keyboard messages go to IsDialogMessageW for a modeless dialog.
  BOOL PreTranslateMessage(MSG* pMsg) override;
  // WM_COMMANDHELP (afxpriv.h): the help context in lParam, or else the dialog's own
  // (HID_BASE_RESOURCE + m_nIDHelp), shown through WinHelpInternal; FALSE without either.
  afx_msg LRESULT OnCommandHelp(WPARAM wParam, LPARAM lParam);

  LPCTSTR m_lpszTemplateName = nullptr;  // an id as MAKEINTRESOURCE, or a name
  UINT m_nIDHelp = 0;                    // the dialog's help id (its template id)
  CWnd* m_pParentWnd = nullptr;

 protected:
  friend INT_PTR CALLBACK AfxDlgProc(HWND, UINT, WPARAM, LPARAM);
  bool m_bModal = false;
  DECLARE_MESSAGE_MAP()
};

// The dialog procedure of CDialog's dialogs: WM_INITDIALOG subclasses the dialog into the
// object (passed as the init parameter) and returns OnInitDialog(); everything else FALSE.
CLASSLIB_API INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);

class CLASSLIB_API CStatic : public CWnd {
  DECLARE_DYNAMIC(CStatic)

 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID = 0xFFFF);
  HICON SetIcon(HICON hIcon) {
    return reinterpret_cast<HICON>(SendMessage(STM_SETICON, reinterpret_cast<WPARAM>(hIcon)));
  }
  HICON GetIcon() const { return reinterpret_cast<HICON>(SendMessage(STM_GETICON)); }
};

class CLASSLIB_API CButton : public CWnd {
  DECLARE_DYNAMIC(CButton)

 public:
  using CWnd::Create;
  BOOL Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCheck() const { return static_cast<int>(SendMessage(BM_GETCHECK)); }
  void SetCheck(int nCheck) { SendMessage(BM_SETCHECK, static_cast<WPARAM>(nCheck)); }
  UINT GetState() const { return static_cast<UINT>(SendMessage(BM_GETSTATE)); }
  UINT GetButtonStyle() const { return GetStyle() & 0xFF; }
  void SetButtonStyle(UINT nStyle, BOOL bRedraw = TRUE) { SendMessage(BM_SETSTYLE, nStyle, bRedraw); }
};

class CLASSLIB_API CEdit : public CWnd {
  DECLARE_DYNAMIC(CEdit)

 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  DWORD GetSel() const { return static_cast<DWORD>(SendMessage(EM_GETSEL)); }
  void GetSel(int& nStartChar, int& nEndChar) const;
  void SetSel(int nStartChar, int nEndChar, BOOL bNoScroll = FALSE);
  void SetSel(DWORD dwSelection, BOOL bNoScroll = FALSE) {
    SetSel(static_cast<short>(LOWORD(dwSelection)), static_cast<short>(HIWORD(dwSelection)), bNoScroll);
  }
  void ReplaceSel(LPCTSTR lpszNewText, BOOL bCanUndo = FALSE) {
    SendMessage(EM_REPLACESEL, static_cast<WPARAM>(bCanUndo), reinterpret_cast<LPARAM>(lpszNewText));
  }
  int LineLength(int nLine = -1) const {
    return static_cast<int>(SendMessage(EM_LINELENGTH, static_cast<WPARAM>(nLine)));
  }
  void LimitText(int nChars = 0) { SendMessage(EM_LIMITTEXT, static_cast<WPARAM>(nChars)); }
  void SetLimitText(UINT nMax) { SendMessage(EM_SETLIMITTEXT, nMax); }
  UINT GetLimitText() const { return static_cast<UINT>(SendMessage(EM_GETLIMITTEXT)); }
  BOOL SetReadOnly(BOOL bReadOnly = TRUE) {
    return static_cast<BOOL>(SendMessage(EM_SETREADONLY, static_cast<WPARAM>(bReadOnly)));
  }
  BOOL CanUndo() const { return static_cast<BOOL>(SendMessage(EM_CANUNDO)); }
  BOOL Undo() { return static_cast<BOOL>(SendMessage(EM_UNDO)); }
  BOOL GetModify() const { return static_cast<BOOL>(SendMessage(EM_GETMODIFY)); }
  void SetModify(BOOL bModified = TRUE) { SendMessage(EM_SETMODIFY, static_cast<WPARAM>(bModified)); }
  void Copy() { SendMessage(WM_COPY); }
  void Cut() { SendMessage(WM_CUT); }
  void Paste() { SendMessage(WM_PASTE); }
  void Clear() { SendMessage(WM_CLEAR); }
};

class CLASSLIB_API CComboBox : public CWnd {
  DECLARE_DYNAMIC(CComboBox)

 public:
  using CWnd::Create;
  BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
  int GetCount() const { return static_cast<int>(SendMessage(CB_GETCOUNT)); }
  int GetCurSel() const { return static_cast<int>(SendMessage(CB_GETCURSEL)); }
  int SetCurSel(int nSelect) {
    return static_cast<int>(SendMessage(CB_SETCURSEL, static_cast<WPARAM>(nSelect)));
  }
  int GetLBText(int nIndex, LPTSTR lpszText) const {
    return static_cast<int>(
        SendMessage(CB_GETLBTEXT, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszText)));
  }
  // The item's text; an empty string for an index out of range.
  void GetLBText(int nIndex, CString& rString) const;
  int GetLBTextLen(int nIndex) const {
    return static_cast<int>(SendMessage(CB_GETLBTEXTLEN, static_cast<WPARAM>(nIndex)));
  }
  int AddString(LPCTSTR lpszString) {
    return static_cast<int>(SendMessage(CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(lpszString)));
  }
  int InsertString(int nIndex, LPCTSTR lpszString) {
    return static_cast<int>(
        SendMessage(CB_INSERTSTRING, static_cast<WPARAM>(nIndex), reinterpret_cast<LPARAM>(lpszString)));
  }
  int DeleteString(UINT nIndex) { return static_cast<int>(SendMessage(CB_DELETESTRING, nIndex)); }
  void ResetContent() { SendMessage(CB_RESETCONTENT); }
  int FindStringExact(int nIndexStart, LPCTSTR lpszFind) const {
    return static_cast<int>(SendMessage(CB_FINDSTRINGEXACT, static_cast<WPARAM>(nIndexStart),
                                        reinterpret_cast<LPARAM>(lpszFind)));
  }
  int SetItemData(int nIndex, DWORD_PTR dwItemData) {
    return static_cast<int>(
        SendMessage(CB_SETITEMDATA, static_cast<WPARAM>(nIndex), static_cast<LPARAM>(dwItemData)));
  }
  DWORD_PTR GetItemData(int nIndex) const {
    return static_cast<DWORD_PTR>(SendMessage(CB_GETITEMDATA, static_cast<WPARAM>(nIndex)));
  }
};

class CLASSLIB_API CToolTipCtrl : public CWnd {
  DECLARE_DYNAMIC(CToolTipCtrl)

 public:
  // A tooltip window owned by pParentWnd (WS_POPUP | dwStyle).
  using CWnd::Create;
  BOOL Create(CWnd* pParentWnd, DWORD dwStyle = 0);
  void Activate(BOOL bActivate) { SendMessage(TTM_ACTIVATE, static_cast<WPARAM>(bActivate)); }
  // A tool for pWnd: with nIDTool 0 and no rectangle the tool is the window itself (TTF_IDISHWND,
  // in its parent), otherwise the id's rectangle in pWnd; always TTF_SUBCLASS. lpszText is
  // copied (LPSTR_TEXTCALLBACKW: asked for later).
  BOOL AddTool(CWnd* pWnd, LPCTSTR lpszText = LPSTR_TEXTCALLBACKW, LPCRECT lpRectTool = nullptr,
               UINT_PTR nIDTool = 0);
  BOOL AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool = nullptr, UINT_PTR nIDTool = 0);
  void UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool = 0);
  int SetMaxTipWidth(int iWidth) { return static_cast<int>(SendMessage(TTM_SETMAXTIPWIDTH, 0, iWidth)); }
  void SetDelayTime(UINT nDelay) {
    SendMessage(TTM_SETDELAYTIME, TTDT_AUTOMATIC, static_cast<LPARAM>(nDelay));
  }
  void SetDelayTime(DWORD dwDuration, int iTime) {
    SendMessage(TTM_SETDELAYTIME, dwDuration, MAKELPARAM(iTime, 0));
  }
  int GetDelayTime(DWORD dwDuration) const {
    return static_cast<int>(SendMessage(TTM_GETDELAYTIME, dwDuration));
  }
  void RelayEvent(LPMSG lpMsg) { SendMessage(TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(lpMsg)); }
  int GetToolCount() const { return static_cast<int>(SendMessage(TTM_GETTOOLCOUNT)); }

 private:
  void FillInToolInfo(TOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const;
};

// GDI objects: the object owns its handle and deletes it (DeleteObject, or its destructor).
class CLASSLIB_API CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)

 public:
  CGdiObject() = default;
  ~CGdiObject() override;
  HGDIOBJ m_hObject = nullptr;
  HGDIOBJ GetSafeHandle() const { return m_hObject; }
  BOOL Attach(HGDIOBJ hObject);
  HGDIOBJ Detach();
  BOOL DeleteObject();
};

class CLASSLIB_API CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)

 public:
  operator HFONT() const { return static_cast<HFONT>(m_hObject); }
  // The font object of hFont: a temporary one per thread, which does not own the handle.
  static CFont* PASCAL FromHandle(HFONT hFont);
  BOOL CreateFontIndirect(const LOGFONT* lpLogFont);
  BOOL CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                  BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision, BYTE nClipPrecision,
                  BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename);
  int GetLogFont(LOGFONT* pLogFont) const { return ::GetObjectW(m_hObject, sizeof(LOGFONT), pLogFont); }
};

// A device context: CDC owns one it made (CreateDC / CreateCompatibleDC, deleted with it);
// CClientDC holds a window's (GetDC, released with it).
class CLASSLIB_API CDC : public CObject {
  DECLARE_DYNAMIC(CDC)

 public:
  CDC() = default;
  ~CDC() override;
  HDC m_hDC = nullptr;
  operator HDC() const { return m_hDC; }
  HDC GetSafeHdc() const { return m_hDC; }
  BOOL CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput, const void* lpInitData);
  BOOL CreateCompatibleDC(CDC* pDC);
  BOOL DeleteDC();
  BOOL Attach(HDC hDC);
  HDC Detach();
  // Selects the font and returns the previous one (a temporary object).
  CFont* SelectObject(CFont* pFont);
  HGDIOBJ SelectObject(HGDIOBJ hObject) { return ::SelectObject(m_hDC, hObject); }
  CSize GetTextExtent(LPCTSTR lpszString, int nCount) const;
  CSize GetTextExtent(const CString& str) const;
  BOOL GetTextMetrics(LPTEXTMETRIC lpMetrics) const { return ::GetTextMetricsW(m_hDC, lpMetrics); }
  int DrawText(const CString& str, LPRECT lpRect, UINT nFormat);
  int DrawText(LPCTSTR lpszString, int nCount, LPRECT lpRect, UINT nFormat) {
    return ::DrawTextW(m_hDC, lpszString, nCount, lpRect, nFormat);
  }
  int GetDeviceCaps(int nIndex) const { return ::GetDeviceCaps(m_hDC, nIndex); }

 protected:
  bool m_bOwned = false;
};

class CLASSLIB_API CClientDC : public CDC {
  DECLARE_DYNAMIC(CClientDC)

 public:
  explicit CClientDC(CWnd* pWnd);
  ~CClientDC() override;

 protected:
  HWND m_hWnd;
};

// ---------------------------------------------------------------------------------------
// Message boxes: a recorder here (no display). The text form shows lpszText; the id form
// loads the string nIDPrompt (from the resource handle, or the class library's own strings)
// and takes nIDPrompt as the help id when nIDHelp is -1. Returns the answer a test set.
CLASSLIB_API int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = 0 /* MB_OK */, UINT nIDHelp = 0);
CLASSLIB_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = 0 /* MB_OK */, UINT nIDHelp = (UINT)-1);

namespace platform::mfc {

// One AfxMessageBox call as the recorder saw it (nIDPrompt 0 for the text form).
struct MessageBoxCall {
  CString text;
  UINT nIDPrompt;
  UINT nType;
  UINT nIDHelp;
};

// Test hooks of the message box recorder: the answer the next calls return (IDOK 1 until
// set), the calls so far, and a fresh start.
CLASSLIB_API void SetMessageBoxAnswer(int answer);
CLASSLIB_API std::vector<MessageBoxCall> MessageBoxCalls();
CLASSLIB_API void ClearMessageBoxCalls();

// Test hooks of the wait cursor: showing while more begins than ends have been recorded;
// the number of begins since the last reset.
CLASSLIB_API bool IsWaitCursorShowing();
CLASSLIB_API int WaitCursorBeginCount();
CLASSLIB_API void ResetWaitCursor();

}  // namespace platform::mfc
