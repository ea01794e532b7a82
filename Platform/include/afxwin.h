// The class library's application core: per-DLL module state and its switch, command targets
// with message maps, the application object, and the regular-DLL entry point.
#pragma once

#include <vector>

#include "afx.h"
#include "afxres.h"

// Per-DLL (hidden) declarations: each product DLL links its own copy of Platform/dllsupport,
// so a call from inside a DLL binds to that DLL's definition.
#define AFX_DLL_LOCAL __attribute__((visibility("hidden")))

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
PLATFORM_API AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// Makes pState the calling thread's current module state (null: the process's own) and
// returns the previous setting (null when there was none).
PLATFORM_API AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pState);

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
PLATFORM_API HINSTANCE AFXAPI AfxGetInstanceHandle();
PLATFORM_API HINSTANCE AFXAPI AfxGetResourceHandle();
PLATFORM_API void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
PLATFORM_API CWinApp* AFXAPI AfxGetApp();
PLATFORM_API LPCWSTR AFXAPI AfxGetAppName();

// ---------------------------------------------------------------------------------------
// Message maps: each class's static table, ended by an AfxSig_end entry and linked to its
// base class's table. Dispatch searches the chain with one loop (AfxFindMessageEntry).

typedef void (CCmdTarget::*AFX_PMSG)();

// Handler signatures; the entries that name handlers (ON_MESSAGE, ON_COMMAND, ...) come
// with the window classes.
enum AfxSig : UINT_PTR {
  AfxSig_end = 0,  // the end of a table
};

struct AFX_MSGMAP_ENTRY {
  UINT nMessage;  // the window message
  UINT nCode;     // the notification code for WM_COMMAND and WM_NOTIFY
  UINT nID;       // the control id, or the first of a range
  UINT nLastID;   // the last id of the range (nID for one id)
  UINT_PTR nSig;  // the handler's signature
  AFX_PMSG pfn;   // the handler
};

struct AFX_MSGMAP {
  const AFX_MSGMAP*(PASCAL* pfnGetBaseMap)();  // the base class's table, null at the root
  const AFX_MSGMAP_ENTRY* lpEntries;
};

// The first entry for (message, code, id) in the map or its base maps, or null.
PLATFORM_API const AFX_MSGMAP_ENTRY* AFXAPI AfxFindMessageEntry(const AFX_MSGMAP* pMap, UINT nMessage,
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
#define END_MESSAGE_MAP()                                                                       \
  { 0, 0, 0, 0, AfxSig_end, nullptr }                                                           \
  }                                                                                             \
  ;                                                                                             \
  static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap, &_messageEntries[0]}; \
  return &messageMap;                                                                           \
  }

// ---------------------------------------------------------------------------------------
// Command targets, threads and the application object.

class PLATFORM_API CCmdTarget : public CObject {
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

class PLATFORM_API CWinThread : public CCmdTarget {
  DECLARE_DYNAMIC(CWinThread)

 public:
  CWinThread() = default;
  ~CWinThread() override;

  // The thread's start (base: FALSE) and end (base: the exit code 0).
  virtual BOOL InitInstance();
  virtual int ExitInstance();
};

enum AFX_HELP_TYPE { afxWinHelp = 0, afxHTMLHelp = 1 };

class PLATFORM_API CWinApp : public CWinThread {
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
PLATFORM_API BOOL AFXAPI AfxDllMain(AFX_MODULE_STATE* pState, HINSTANCE hInstance, DWORD dwReason,
                                    LPVOID lpReserved, AFX_DLLMAIN_HOOK pfnHook);

// The entry point that the loader finds by name in every product DLL (Platform/dllsupport):
// AfxDllMain with the DLL's own module state and hook. It lives in the same object as
// AfxGetStaticModuleState, so a DLL that constructs an application object, switches to its
// module state or sets the hook gets it; a DLL that does none of these links the support
// library whole.
EXTERN_C __attribute__((visibility("default"))) BOOL WINAPI DllMain(HINSTANCE hInstance, DWORD dwReason,
                                                                    LPVOID lpReserved);

// ---------------------------------------------------------------------------------------
// Message boxes: a recorder here (no display). The text form shows lpszText; the id form
// loads the string nIDPrompt (from the resource handle, or the class library's own strings)
// and takes nIDPrompt as the help id when nIDHelp is -1. Returns the answer a test set.
PLATFORM_API int AFXAPI AfxMessageBox(LPCTSTR lpszText, UINT nType = 0 /* MB_OK */, UINT nIDHelp = 0);
PLATFORM_API int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = 0 /* MB_OK */, UINT nIDHelp = (UINT)-1);

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
PLATFORM_API void SetMessageBoxAnswer(int answer);
PLATFORM_API std::vector<MessageBoxCall> MessageBoxCalls();
PLATFORM_API void ClearMessageBoxCalls();

// Test hooks of the wait cursor: showing while more begins than ends have been recorded;
// the number of begins since the last reset.
PLATFORM_API bool IsWaitCursorShowing();
PLATFORM_API int WaitCursorBeginCount();
PLATFORM_API void ResetWaitCursor();

}  // namespace platform::mfc
