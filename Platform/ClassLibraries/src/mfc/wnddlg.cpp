// The class library's dialogs: CDialog over the dialog manager, and dialog data exchange.
#include "afxpriv.h"
#include "afxres.h"
#include "afxwin.h"
#include "dlgtemplate.h"

IMPLEMENT_DYNAMIC(CDialog, CWnd)

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, OnOK)
ON_COMMAND(IDCANCEL, OnCancel)
ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
END_MESSAGE_MAP()

CDialog::CDialog() = default;

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd)
    : m_lpszTemplateName(MAKEINTRESOURCEW(nIDTemplate)), m_nIDHelp(nIDTemplate), m_pParentWnd(pParentWnd) {}

CDialog::CDialog(LPCTSTR lpszTemplateName, CWnd* pParentWnd)
    : m_lpszTemplateName(lpszTemplateName), m_pParentWnd(pParentWnd) {}

CDialog::~CDialog() = default;

INT_PTR CALLBACK AfxDlgProc(HWND hWnd, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_INITDIALOG) return FALSE;
  auto* dialog = reinterpret_cast<CDialog*>(lParam);
  if (!dialog) return TRUE;
  if (!dialog->m_hWnd && !dialog->SubclassWindow(hWnd)) return TRUE;
  return dialog->OnInitDialog();
}

BOOL CDialog::Create(UINT nIDTemplate, CWnd* pParentWnd) {
  return Create(MAKEINTRESOURCEW(nIDTemplate), pParentWnd);
}

BOOL CDialog::Create(LPCTSTR lpszTemplateName, CWnd* pParentWnd) {
  if (m_hWnd || !lpszTemplateName) return FALSE;
  m_lpszTemplateName = lpszTemplateName;
  if (IS_INTRESOURCE(lpszTemplateName) && !m_nIDHelp)
    m_nIDHelp = LOWORD(reinterpret_cast<ULONG_PTR>(lpszTemplateName));
  if (pParentWnd) m_pParentWnd = pParentWnd;
  HWND hwnd = ::CreateDialogParamW(AfxGetResourceHandle(), lpszTemplateName,
                                   m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxDlgProc,
                                   reinterpret_cast<LPARAM>(this));
  if (!hwnd) {
    if (m_hWnd) Detach();  // the dialog failed after WM_INITDIALOG attached it
    return FALSE;
  }
  return TRUE;
}

BOOL CDialog::CreateIndirect(LPCDLGTEMPLATEW lpDialogTemplate, CWnd* pParentWnd) {
  if (m_hWnd || !lpDialogTemplate) return FALSE;
  if (pParentWnd) m_pParentWnd = pParentWnd;
  HWND hwnd = ::CreateDialogIndirectParamW(AfxGetResourceHandle(), lpDialogTemplate,
                                           m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxDlgProc,
                                           reinterpret_cast<LPARAM>(this));
  if (!hwnd && m_hWnd) Detach();
  return hwnd != nullptr;
}

INT_PTR CDialog::DoModal() {
  if (m_hWnd || !m_lpszTemplateName) return -1;
  m_bModal = true;
  INT_PTR result = ::DialogBoxParamW(AfxGetResourceHandle(), m_lpszTemplateName,
                                     m_pParentWnd ? m_pParentWnd->m_hWnd : nullptr, AfxDlgProc,
                                     reinterpret_cast<LPARAM>(this));
  m_bModal = false;
  if (m_hWnd) Detach();
  return result;
}

void CDialog::EndDialog(int nResult) {
  ::EndDialog(m_hWnd, nResult);
}

BOOL CDialog::OnInitDialog() {
  ExecuteDlgInit(m_lpszTemplateName);
  UpdateData(FALSE);
  return TRUE;
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
  CDataExchange dx(this, bSaveAndValidate);
  DoDataExchange(&dx);
  return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() {
  EndDialog(IDCANCEL);
}

BOOL CDialog::PreTranslateMessage(MSG* pMsg) {
  if (!m_hWnd || m_bModal || !pMsg || pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST) return FALSE;
  return ::IsDialogMessageW(m_hWnd, pMsg);
}

LRESULT CDialog::OnCommandHelp(WPARAM, LPARAM lParam) {
  DWORD_PTR context = static_cast<DWORD_PTR>(lParam);
  if (context == 0 && m_nIDHelp != 0) context = HID_BASE_RESOURCE + m_nIDHelp;
  if (context == 0) return FALSE;
  WinHelpInternal(context);
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Dialog-init data

BOOL CWnd::ExecuteDlgInit(LPCTSTR lpszResourceName) {
  if (!lpszResourceName) return TRUE;
  HINSTANCE module = AfxGetResourceHandle();
  HRSRC found = ::FindResourceW(module, lpszResourceName, RT_DLGINIT);
  if (!found) return TRUE;  // a dialog without dialog-init data
  HGLOBAL loaded = ::LoadResource(module, found);
  const void* data = loaded ? ::LockResource(loaded) : nullptr;
  if (!data) return FALSE;
  return ExecuteDlgInit(data, ::SizeofResource(module, found));
}

BOOL CWnd::ExecuteDlgInit(const void* lpResource, DWORD size) {
  const auto parsed = platform::dialogs::ParseDialogInit(lpResource, size);
  BOOL ok = parsed.complete ? TRUE : FALSE;
  for (const auto& entry : parsed.entries) {
    if (entry.message != platform::dialogs::kDialogInitAddString) continue;
    const std::wstring text = platform::dialogs::DialogInitText(entry);
    const LRESULT added = ::SendDlgItemMessageW(m_hWnd, entry.controlId, CB_ADDSTRING, 0,
                                                reinterpret_cast<LPARAM>(text.c_str()));
    if (added == CB_ERR || added == CB_ERRSPACE) ok = FALSE;
  }
  return ok;
}

// ---------------------------------------------------------------------------------------
// Data exchange

HWND CDataExchange::PrepareCtrl(int nIDC) {
  m_idLastControl = nIDC;
  return ::GetDlgItem(m_pDlgWnd->m_hWnd, nIDC);
}

void AFXAPI DDX_Control(CDataExchange* pDX, int nIDC, CWnd& rControl) {
  if (rControl.m_hWnd) return;
  HWND control = pDX->PrepareCtrl(nIDC);
  if (control) rControl.SubclassWindow(control);
}

void AFXAPI DDX_Text(CDataExchange* pDX, int nIDC, CString& value) {
  HWND control = pDX->PrepareEditCtrl(nIDC);
  if (!control) return;
  if (pDX->m_bSaveAndValidate) {
    CWnd::FromHandle(control)->GetWindowText(value);
  } else {
    ::SetWindowTextW(control, value);
  }
}
