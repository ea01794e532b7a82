#include "PVCtrlStatic.h"

#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVCtrlStatic");

// A static with room for this many text lines counts as multi-line: its tooltip is always on.
constexpr double kMultiLineThreshold = 1.75;

constexpr int kInitialDelay = 0;
constexpr int kAutoPopDelay = 32767;
constexpr int kReshowDelay = 0;

}  // namespace

BEGIN_MESSAGE_MAP(CPVCtrlStatic, CStatic)
END_MESSAGE_MAP()

CPVCtrlStatic::CPVCtrlStatic(int itemId) : CPVCtrl(itemId) {}

CPVCtrlStatic::~CPVCtrlStatic() = default;

BOOL CPVCtrlStatic::GetEnableState() {
  return TRUE;
}

void CPVCtrlStatic::PreSubclassWindow() {
  CStatic::PreSubclassWindow();
  if (!GetCWnd()) {
    Log(L"Pointer to control is NULL, hence ToolTips not Added.", L"CPVCtrlStatic::PreSubclassWindow",
        __LINE__);
    return;
  }
  CWnd* parent = GetParent();
  if (!parent) {
    Log(L"Pointer to parent is NULL, hence ToolTips not Added.", L"CPVCtrlStatic::PreSubclassWindow",
        __LINE__);
    return;
  }
  parent->GetClientRect(&m_rectParent);
  GetClientRect(&m_rectCtrl);
  ::MapWindowPoints(m_hWnd, parent->m_hWnd, reinterpret_cast<LPPOINT>(&m_rectCtrl), 2);

  m_toolTip.Create(parent, TTS_ALWAYSTIP);
  m_toolTip.SetDelayTime(TTDT_INITIAL, kInitialDelay);
  m_toolTip.SetDelayTime(TTDT_AUTOPOP, kAutoPopDelay);
  m_toolTip.SetDelayTime(TTDT_RESHOW, kReshowDelay);

  m_toolInfo = {};
  m_toolInfo.cbSize = sizeof(TOOLINFOW);  // the whole record
  m_toolInfo.uFlags = TTF_SUBCLASS;
  m_toolInfo.hwnd = parent->m_hWnd;
  m_toolInfo.uId = static_cast<UINT_PTR>(m_nID);
  m_toolInfo.rect = m_rectCtrl;
  m_toolInfo.hinst = AfxGetInstanceHandle();
}

void CPVCtrlStatic::SetStaticWindowText(CString text) {
  CWnd* control = GetCWnd();
  if (!control) {
    Log(L"Pointer to control is NULL, hence ToolTips not Added.", L"CPVCtrlStatic::SetStaticWindowText",
        __LINE__);
    return;
  }
  if (!GetParent()) {
    Log(L"Pointer to parent is NULL, hence ToolTips not Added.", L"CPVCtrlStatic::SetStaticWindowText",
        __LINE__);
    return;
  }

  CClientDC dc(control);
  CFont* font = CFont::FromHandle(reinterpret_cast<HFONT>(control->SendMessage(WM_GETFONT)));
  // Without a font of its own the static draws with the device context's.
  CFont* previousFont = font ? dc.SelectObject(font) : nullptr;
  SIZE extent{0, 0};
  ::GetTextExtentPoint32W(dc.m_hDC, text.GetString(), text.GetLength(), &extent);

  bool multiLine = false;
  if (extent.cy != 0) {
    const int wholeLines = m_rectCtrl.Height() / extent.cy;
    multiLine = static_cast<double>(wholeLines) >= kMultiLineThreshold;
  }
  const bool needsTooltip = multiLine || m_rectCtrl.Width() < extent.cx;
  if (needsTooltip) {
    m_strToolText = text;
    m_toolInfo.lpszText = const_cast<LPWSTR>(m_strToolText.GetString());
    m_toolTip.SendMessage(TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&m_toolInfo));
    m_toolTip.SetMaxTipWidth(m_rectCtrl.Width());
    if (!multiLine) control->ModifyStyle(0, SS_ENDELLIPSIS);
    m_toolTip.Activate(TRUE);
  } else {
    control->ModifyStyle(SS_ENDELLIPSIS, 0);
    m_toolTip.Activate(FALSE);
  }

  control->SetWindowText(text);
  if (previousFont) dc.SelectObject(previousFont);
}
