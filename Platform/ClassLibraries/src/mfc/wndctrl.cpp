// The class library's control classes and its GDI classes.
#include <map>
#include <memory>

#include "afxwin.h"
#include "mfc_internal.h"

IMPLEMENT_DYNAMIC(CStatic, CWnd)
IMPLEMENT_DYNAMIC(CButton, CWnd)
IMPLEMENT_DYNAMIC(CEdit, CWnd)
IMPLEMENT_DYNAMIC(CComboBox, CWnd)
IMPLEMENT_DYNAMIC(CToolTipCtrl, CWnd)
IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CDC, CObject)
IMPLEMENT_DYNAMIC(CClientDC, CDC)

BOOL CStatic::Create(LPCTSTR lpszText, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_STATICW, lpszText, dwStyle, rect, pParentWnd, nID);
}

BOOL CButton::Create(LPCTSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_BUTTONW, lpszCaption, dwStyle, rect, pParentWnd, nID);
}

BOOL CEdit::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_EDITW, L"", dwStyle, rect, pParentWnd, nID);
}

void CEdit::GetSel(int& nStartChar, int& nEndChar) const {
  DWORD start = 0, end = 0;
  SendMessage(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  nStartChar = static_cast<int>(start);
  nEndChar = static_cast<int>(end);
}

void CEdit::SetSel(int nStartChar, int nEndChar, BOOL bNoScroll) {
  SendMessage(EM_SETSEL, static_cast<WPARAM>(nStartChar), nEndChar);
  if (!bNoScroll) SendMessage(EM_SCROLLCARET);
}

BOOL CComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) {
  return CWnd::Create(WC_COMBOBOXW, L"", dwStyle, rect, pParentWnd, nID);
}

void CComboBox::GetLBText(int nIndex, CString& rString) const {
  int length = GetLBTextLen(nIndex);
  if (length == CB_ERR) {
    rString.Empty();
    return;
  }
  GetLBText(nIndex, rString.GetBufferSetLength(length));
  rString.ReleaseBuffer();
}

// ---------------------------------------------------------------------------------------
// Tooltips

BOOL CToolTipCtrl::Create(CWnd* pParentWnd, DWORD dwStyle) {
  return CWnd::CreateEx(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | dwStyle, 0, 0, 0, 0,
                        pParentWnd ? pParentWnd->m_hWnd : nullptr, nullptr);
}

void CToolTipCtrl::FillInToolInfo(TOOLINFOW& ti, CWnd* pWnd, UINT_PTR nIDTool) const {
  ti = {};
  ti.cbSize = sizeof(TOOLINFOW);
  if (nIDTool == 0) {
    ti.hwnd = ::GetParent(pWnd->m_hWnd);
    ti.uFlags = TTF_IDISHWND;
    ti.uId = reinterpret_cast<UINT_PTR>(pWnd->m_hWnd);
  } else {
    ti.hwnd = pWnd->m_hWnd;
    ti.uId = nIDTool;
  }
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, LPCTSTR lpszText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  TOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool) ti.rect = *lpRectTool;
  ti.uFlags |= TTF_SUBCLASS;
  ti.lpszText = const_cast<LPWSTR>(lpszText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

BOOL CToolTipCtrl::AddTool(CWnd* pWnd, UINT nIDText, LPCRECT lpRectTool, UINT_PTR nIDTool) {
  if (!pWnd) return FALSE;
  TOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  if (lpRectTool) ti.rect = *lpRectTool;
  ti.uFlags |= TTF_SUBCLASS;
  ti.hinst = AfxGetResourceHandle();
  ti.lpszText = MAKEINTRESOURCEW(nIDText);
  return static_cast<BOOL>(SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&ti)));
}

void CToolTipCtrl::UpdateTipText(LPCTSTR lpszText, CWnd* pWnd, UINT_PTR nIDTool) {
  if (!pWnd) return;
  TOOLINFOW ti;
  FillInToolInfo(ti, pWnd, nIDTool);
  ti.lpszText = const_cast<LPWSTR>(lpszText);
  SendMessage(TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&ti));
}

// ---------------------------------------------------------------------------------------
// GDI objects

namespace {
// Temporary font objects of each thread: they never own their handles.
platform::mfc::detail::PerThread<std::map<HFONT, std::unique_ptr<CFont>>> gTempFonts;
}  // namespace

CGdiObject::~CGdiObject() {
  DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ hObject) {
  if (!hObject || m_hObject) return FALSE;
  m_hObject = hObject;
  return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
  return std::exchange(m_hObject, nullptr);
}

BOOL CGdiObject::DeleteObject() {
  if (!m_hObject) return FALSE;
  return ::DeleteObject(Detach());
}

CFont* PASCAL CFont::FromHandle(HFONT hFont) {
  if (!hFont) return nullptr;
  auto& slot = gTempFonts.Current()[hFont];
  if (!slot) {
    // A temporary object must not delete the font it shows: it is detached before it goes.
    struct Temporary : CFont {
      ~Temporary() override { Detach(); }
    };
    slot = std::make_unique<Temporary>();
    slot->m_hObject = hFont;
  }
  return slot.get();
}

BOOL CFont::CreateFontIndirect(const LOGFONT* lpLogFont) {
  return Attach(::CreateFontIndirectW(lpLogFont));
}

BOOL CFont::CreateFont(int nHeight, int nWidth, int nEscapement, int nOrientation, int nWeight, BYTE bItalic,
                       BYTE bUnderline, BYTE cStrikeOut, BYTE nCharSet, BYTE nOutPrecision,
                       BYTE nClipPrecision, BYTE nQuality, BYTE nPitchAndFamily, LPCTSTR lpszFacename) {
  return Attach(::CreateFontW(nHeight, nWidth, nEscapement, nOrientation, nWeight, bItalic, bUnderline,
                              cStrikeOut, nCharSet, nOutPrecision, nClipPrecision, nQuality, nPitchAndFamily,
                              lpszFacename));
}

CDC::~CDC() {
  if (m_bOwned) DeleteDC();
}

BOOL CDC::CreateDC(LPCTSTR lpszDriverName, LPCTSTR lpszDeviceName, LPCTSTR lpszOutput,
                   const void* lpInitData) {
  if (m_hDC) return FALSE;
  m_hDC = ::CreateDCW(lpszDriverName, lpszDeviceName, lpszOutput, static_cast<const DEVMODEW*>(lpInitData));
  m_bOwned = m_hDC != nullptr;
  return m_bOwned;
}

BOOL CDC::CreateCompatibleDC(CDC* pDC) {
  if (m_hDC) return FALSE;
  m_hDC = ::CreateCompatibleDC(pDC ? pDC->m_hDC : nullptr);
  m_bOwned = m_hDC != nullptr;
  return m_bOwned;
}

BOOL CDC::DeleteDC() {
  if (!m_hDC || !m_bOwned) return FALSE;
  m_bOwned = false;
  return ::DeleteDC(std::exchange(m_hDC, nullptr));
}

BOOL CDC::Attach(HDC hDC) {
  if (!hDC || m_hDC) return FALSE;
  m_hDC = hDC;
  m_bOwned = false;
  return TRUE;
}

HDC CDC::Detach() {
  m_bOwned = false;
  return std::exchange(m_hDC, nullptr);
}

CFont* CDC::SelectObject(CFont* pFont) {
  HGDIOBJ previous = ::SelectObject(m_hDC, pFont ? pFont->m_hObject : nullptr);
  return CFont::FromHandle(static_cast<HFONT>(previous));
}

CSize CDC::GetTextExtent(LPCTSTR lpszString, int nCount) const {
  SIZE size{0, 0};
  ::GetTextExtentPoint32W(m_hDC, lpszString, nCount, &size);
  return CSize(size);
}

CSize CDC::GetTextExtent(const CString& str) const {
  return GetTextExtent(str, str.GetLength());
}

int CDC::DrawText(const CString& str, LPRECT lpRect, UINT nFormat) {
  return ::DrawTextW(m_hDC, str, str.GetLength(), lpRect, nFormat);
}

CClientDC::CClientDC(CWnd* pWnd) : m_hWnd(pWnd ? pWnd->m_hWnd : nullptr) {
  Attach(::GetDC(m_hWnd));
}

CClientDC::~CClientDC() {
  if (m_hDC) ::ReleaseDC(m_hWnd, Detach());
}
