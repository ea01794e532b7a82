#include "PVMsgBox.h"

#include <afxres.h>
#include <htmlhelp.h>

#include <algorithm>
#include <cstring>

#include "PVLog.h"
#include "PromptServerWrapper.h"

namespace {

constexpr CPVSourceLog Log(L"PVMsgBox");
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kButtonClass = 0x0080;
constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
constexpr UINT kHelpStyleFromId = 0x30001;  // help ids from here on get a Help button

// The dialog procedure's way back to the open message box; a nested one replaces it for its
// lifetime.
CPVMsgBoxDlgTemplate* g_current = nullptr;

struct ButtonDef {
  WORD commandId;
  LONG stringId;  // the label's number in the host's string server
};

// The buttons of a style's type, left to right (Help not included).
std::vector<ButtonDef> ButtonsOfType(UINT type) {
  switch (type) {
    case MB_OK:
      return {{IDOK, 1}};
    case MB_OKCANCEL:
      return {{IDOK, 1}, {IDCANCEL, 2}};
    case MB_ABORTRETRYIGNORE:
      return {{IDABORT, 5}, {IDRETRY, 6}, {IDIGNORE, 7}};
    case MB_YESNOCANCEL:
      return {{IDYES, 3}, {IDNO, 4}, {IDCANCEL, 2}};
    case MB_YESNO:
      return {{IDYES, 3}, {IDNO, 4}};
    case MB_RETRYCANCEL:
      return {{IDRETRY, 6}, {IDCANCEL, 2}};
    default:
      return {};
  }
}
constexpr LONG kHelpStringId = 8;

}  // namespace

// ---------------------------------------------------------------------------------------------
// Items

platform::dialogs::DialogItem CPVMsgBoxDlgItem::ToTemplateItem(LONG baseUnits) const {
  const int cx = LOWORD(baseUnits);
  const int cy = HIWORD(baseUnits);
  const int left = MulDiv(m_left, 4, cx);
  const int top = MulDiv(m_top, 8, cy);
  const int right = MulDiv(m_right, 4, cx);
  const int bottom = MulDiv(m_bottom, 8, cy);
  platform::dialogs::DialogItem item;
  item.exStyle = GetExtendedStyle();
  item.style = GetStyle();
  item.x = static_cast<short>(left);
  item.y = static_cast<short>(top);
  item.cx = static_cast<short>(right - left);
  item.cy = static_cast<short>(bottom - top);
  item.id = m_id;
  item.windowClass = GetWindowClass();
  item.title = GetTitle();
  item.creationData = GetCreationData();
  return item;
}

WORD CPVMsgBoxDlgItemIcon::IconOrdinal(UINT style) {
  switch (style & MB_ICONMASK) {
    case MB_ICONQUESTION:
      return 32514;
    case MB_ICONEXCLAMATION:
      return 32515;
    case MB_ICONASTERISK:
      return 32516;
    default:
      return 32513;
  }
}

platform::dialogs::NameOrOrdinal CPVMsgBoxDlgItemIcon::GetWindowClass() const {
  return platform::dialogs::NameOrOrdinal::Ordinal(kStaticClass);
}

platform::dialogs::NameOrOrdinal CPVMsgBoxDlgItemIcon::GetTitle() const {
  return platform::dialogs::NameOrOrdinal::Ordinal(IconOrdinal(m_style));
}

platform::dialogs::NameOrOrdinal CPVMsgBoxDlgItemStatic::GetWindowClass() const {
  return platform::dialogs::NameOrOrdinal::Ordinal(kStaticClass);
}

platform::dialogs::NameOrOrdinal CPVMsgBoxDlgItemStatic::GetTitle() const {
  return platform::dialogs::NameOrOrdinal::Text(std::wstring(m_text.GetString()));
}

DWORD CPVMsgBoxDlgItemButton::GetStyle() const {
  return WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | (m_default ? BS_DEFPUSHBUTTON : 0);
}

platform::dialogs::NameOrOrdinal CPVMsgBoxDlgItemButton::GetWindowClass() const {
  return platform::dialogs::NameOrOrdinal::Ordinal(kButtonClass);
}

platform::dialogs::NameOrOrdinal CPVMsgBoxDlgItemButton::GetTitle() const {
  return platform::dialogs::NameOrOrdinal::Text(std::wstring(m_label.GetString()));
}

// ---------------------------------------------------------------------------------------------
// The message box

CPVMsgBoxDlgTemplate::~CPVMsgBoxDlgTemplate() {
  for (CPVMsgBoxDlgItem* item : m_items) delete item;
}

CPVMsgBoxDlgTemplate* CPVMsgBoxDlgTemplate::Current() {
  return g_current;
}

BOOL CPVMsgBoxDlgTemplate::Init(UINT style, const CString& text, const CString& caption, HWND owner,
                                UINT helpId, const CString& helpFile) {
  m_style = style;
  m_text = text;
  m_caption = caption;
  m_hOwner = owner;
  m_helpId = helpId;
  m_helpFile = helpFile;
  if (style == 0 || text.IsEmpty() || caption.IsEmpty() || !owner) {
    Log(L"Error: Invalid argument initialization", L"CPVMsgBoxDlgTemplate::Init", __LINE__);
    return FALSE;
  }
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0) ||
      !m_font.CreateFontIndirect(&metrics.lfMessageFont)) {
    Log(L"Error: Initializing font for dialog", L"CPVMsgBoxDlgTemplate::Init", __LINE__);
    return FALSE;
  }
  return TRUE;
}

int CPVMsgBoxDlgTemplate::GetNumButtons() const {
  const UINT type = m_style & MB_TYPEMASK;
  int count = static_cast<int>(ButtonsOfType(type).size());
  if (type > MB_RETRYCANCEL)
    Log(L"Error: Invalid dialog button type specified", L"CPVMsgBoxDlgTemplate::GetNumButtons", __LINE__);
  if (m_style & MB_HELP) ++count;
  return count;
}

void CPVMsgBoxDlgTemplate::CalcMessageSize(SIZE* text) const {
  text->cx = 0;
  text->cy = 0;
  HDC dc = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
  if (!dc) {
    Log(L"Error: Create device-context used by dialog", L"CPVMsgBoxDlgTemplate::CalcMessageSize", __LINE__);
    return;
  }
  HGDIOBJ previous = SelectObject(dc, static_cast<HFONT>(m_font));
  const int screen = GetSystemMetrics(SM_CXSCREEN);
  const LONG limit =
      (m_style & MB_ICONMASK) ? screen / 2 + 84 - GetSystemMetrics(SM_CXICON) : screen / 2 + 100;
  RECT rect{0, 0, limit, limit};
  DrawTextW(dc, m_text.GetString(), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  text->cx = rect.right - rect.left + 12;
  text->cy = rect.bottom - rect.top + 5;
  if (previous) SelectObject(dc, previous);
  DeleteDC(dc);
}

BOOL CPVMsgBoxDlgTemplate::CreateButton(WORD commandId, LONG stringId, CStringServerWrapper* server,
                                        BOOL shift, RECT* rect) {
  constexpr wchar_t kFunction[] = L"CPVMsgBoxDlgTemplate::CreateButton";
  if (commandId < 1 || commandId > 9) {
    Log(L"Error: Invalid MFC button ID", kFunction, __LINE__);
    return FALSE;
  }
  if (stringId < 1 || stringId > 9) {
    Log(L"Error: Invalid string server ID for button text", kFunction, __LINE__);
    return FALSE;
  }
  if (!server) {
    Log(L"Error: Invalid pointer to string server", kFunction, __LINE__);
    return FALSE;
  }
  const CString label = server->GetString(stringId);
  if (label.IsEmpty()) {
    Log(L"Error: No text for button returned from string server", kFunction, __LINE__);
    return FALSE;
  }
  if (shift) {
    rect->left += kButtonStep;
    rect->right += kButtonStep;
  }
  m_items.push_back(new CPVMsgBoxDlgItemButton(*rect, commandId, label));
  return TRUE;
}

BOOL CPVMsgBoxDlgTemplate::CreateItems(const RECT& textRect, const RECT& iconRect, const RECT& buttonRect) {
  constexpr wchar_t kFunction[] = L"CPVMsgBoxDlgTemplate::CreateItems";
  CStringServerWrapper server;
  if (FAILED(server.Initialize(&CLSID_PVButtonStringServer, nullptr))) {
    Log(L"Error: Initializing string server used to obtain button labels", kFunction, __LINE__);
    return FALSE;
  }
  try {
    if (FAILED(server.SetAccelerators(TRUE))) throw _com_error(E_FAIL);
  } catch (const _com_error&) {
    Log(L"Error: Reading accelerators for button labels from string server", kFunction, __LINE__);
    return FALSE;
  }
  m_items.push_back(new CPVMsgBoxDlgItemStatic(textRect, kTextId, m_text));
  if (m_style & MB_ICONMASK) m_items.push_back(new CPVMsgBoxDlgItemIcon(iconRect, kIconId, m_style));

  const size_t firstButton = m_items.size();
  const UINT type = m_style & MB_TYPEMASK;
  if (type > MB_RETRYCANCEL) Log(L"Error: Invalid MFC button ID specified", kFunction, __LINE__);
  std::vector<ButtonDef> buttons = ButtonsOfType(type);
  if (m_style & MB_HELP) buttons.push_back({IDHELP, kHelpStringId});
  RECT rect = buttonRect;
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (!CreateButton(buttons[i].commandId, buttons[i].stringId, &server, i > 0, &rect)) {
      Log(L"Error: Adding button to the dialog", kFunction, __LINE__);
      return FALSE;
    }
  }

  const size_t count = m_items.size() - firstButton;
  size_t k = ((m_style >> 8) & 0xF) + 1;
  if (k > count) k = 1;
  if (count > 0) static_cast<CPVMsgBoxDlgItemButton*>(m_items[firstButton + k - 1])->m_default = 1;
  return TRUE;
}

platform::dialogs::DialogTemplate CPVMsgBoxDlgTemplate::GetDialogTemplate() const {
  const LONG baseUnits = GetDialogBaseUnits();
  platform::dialogs::DialogTemplate dialog;
  dialog.style = kDialogStyle | ((m_style & MB_SYSTEMMODAL) ? DS_SYSMODAL : 0);
  const int left = MulDiv(m_dialogRect.left, 4, LOWORD(baseUnits));
  const int top = MulDiv(m_dialogRect.top, 8, HIWORD(baseUnits));
  const int right = MulDiv(m_dialogRect.right, 4, LOWORD(baseUnits));
  const int bottom = MulDiv(m_dialogRect.bottom, 8, HIWORD(baseUnits));
  dialog.x = static_cast<short>(left);
  dialog.y = static_cast<short>(top);
  dialog.cx = static_cast<short>(right - left);
  dialog.cy = static_cast<short>(bottom - top);
  dialog.title = platform::dialogs::NameOrOrdinal::Text(std::wstring(m_caption.GetString()));
  dialog.extended = false;  // the plain DLGTEMPLATE form, without a font block
  for (const CPVMsgBoxDlgItem* item : m_items) {
    if (!item) {
      Log(L"Error: Invalid pointer to CPVMsgBoxDlgItem", L"CPVMsgBoxDlgTemplate::GetDialogArray", __LINE__);
      continue;
    }
    dialog.items.push_back(item->ToTemplateItem(baseUnits));
  }
  return dialog;
}

std::vector<BYTE> CPVMsgBoxDlgTemplate::GetDialogArray() const {
  return platform::dialogs::BuildDialogTemplate(GetDialogTemplate());
}

int CPVMsgBoxDlgTemplate::DoModal() {
  constexpr wchar_t kFunction[] = L"CPVMsgBoxDlgTemplate::DoModal";
  if ((m_style & MB_SYSTEMMODAL) && (m_style & MB_ICONMASK) == MB_ICONHAND)
    return MessageBoxW(m_hOwner, m_text.GetString(), m_caption.GetString(), m_style);

  const bool hasIcon = (m_style & MB_ICONMASK) != 0;
  const LONG iconWidth = hasIcon ? GetSystemMetrics(SM_CXICON) + 2 : 0;
  const LONG iconHeight = hasIcon ? GetSystemMetrics(SM_CYICON) + 2 : 0;
  SIZE text{0, 0};
  CalcMessageSize(&text);

  const LONG rowWidth = kButtonStep * GetNumButtons() - 6;
  const LONG width = std::max(rowWidth + 20, hasIcon ? text.cx + iconWidth + 36 : text.cx + 20);
  const LONG contentHeight = std::max(text.cy, iconHeight);
  m_dialogRect = RECT{0, 0, width, contentHeight + 51};

  const RECT iconRect{10, 10, 10 + iconWidth, 10 + iconHeight};
  const LONG textLeft = hasIcon ? iconWidth + 26 : 10;
  const RECT textRect{textLeft, 10, textLeft + text.cx, 10 + text.cy};
  const LONG rowTop = contentHeight + 18;
  const LONG rowLeft = (width - rowWidth) / 2;
  const RECT buttonRect{rowLeft, rowTop, rowLeft + kButtonWidth, rowTop + kButtonHeight};

  if (!CreateItems(textRect, iconRect, buttonRect)) {
    Log(L"Error: Creating items for dialog", kFunction, __LINE__);
    return 0;
  }
  if (ButtonsOfType(m_style & MB_TYPEMASK).empty()) return 0;  // an unknown type is not shown

  // The block is sized to the template, so that a long localized text always fits.
  const std::vector<BYTE> bytes = GetDialogArray();
  HGLOBAL block = GlobalAlloc(GMEM_ZEROINIT, bytes.size());
  if (!block) {
    Log(L"Error: Allocating global memory for dialog", kFunction, __LINE__);
    return 0;
  }
  int result = 0;
  if (void* memory = GlobalLock(block)) {
    std::memcpy(memory, bytes.data(), bytes.size());
    if (HINSTANCE instance = AfxGetInstanceHandle()) {
      CPVMsgBoxDlgTemplate* previous = g_current;
      g_current = this;
      result = static_cast<int>(DialogBoxIndirectParamW(instance, static_cast<LPCDLGTEMPLATEW>(memory),
                                                        m_hOwner, &CPVMsgBoxDlgTemplate::MsgBoxDlgProc, 0));
      g_current = previous;
    } else {
      Log(L"Error obtaining the instance handle for the application", kFunction, __LINE__);
    }
    GlobalUnlock(block);
  } else {
    Log(L"Error: Failure to lock global memory used by dialog", kFunction, __LINE__);
  }
  GlobalFree(block);
  return result;
}

INT_PTR CALLBACK CPVMsgBoxDlgTemplate::MsgBoxDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  constexpr wchar_t kFunction[] = L"CPVMsgBoxDlgTemplate::MsgBoxDlgProc";
  switch (message) {
    case WM_INITDIALOG:
      if (!g_current) {
        Log(L"Error: Static This pointer is NULL", kFunction, __LINE__);
        return FALSE;
      }
      return g_current->OnInitDialog(dialog);
    case WM_DESTROY:
      if (!g_current) {
        Log(L"Error: Static This pointer is NULL", kFunction, __LINE__);
        return FALSE;
      }
      return g_current->OnDestroy(dialog);
    case WM_COMMAND:
      if (LOWORD(wParam) != IDHELP) {
        EndDialog(dialog, LOWORD(wParam));
        return TRUE;
      }
      [[fallthrough]];
    case WM_HELP:
      if (!g_current) {
        Log(L"Error: Static This pointer is NULL", kFunction, __LINE__);
        return FALSE;
      }
      g_current->OnHelp();
      return TRUE;
    default:
      return FALSE;
  }
}

BOOL CPVMsgBoxDlgTemplate::OnInitDialog(HWND dialog) {
  HWND focus = nullptr;
  bool hasCancel = false;
  for (const CPVMsgBoxDlgItem* item : m_items) {
    HWND window = GetDlgItem(dialog, item->m_id);
    if (!window || !IsWindow(window)) {
      Log(L"Error: Invalid hWnd for control on the dialog", L"CPVMsgBoxDlgTemplate::OnInitDialog", __LINE__);
    } else {
      SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(static_cast<HFONT>(m_font)), FALSE);
      if (!focus && dynamic_cast<const CPVMsgBoxDlgItemButton*>(item) &&
          static_cast<const CPVMsgBoxDlgItemButton*>(item)->m_default)
        focus = window;
    }
    if (item->m_id == IDCANCEL) hasCancel = true;
  }
  if (focus) SetFocus(focus);
  if (!hasCancel) EnableMenuItem(GetSystemMenu(dialog, FALSE), SC_CLOSE, MF_BYCOMMAND | MF_GRAYED);
  return FALSE;
}

BOOL CPVMsgBoxDlgTemplate::OnDestroy(HWND) {
  return 0;
}

BOOL CPVMsgBoxDlgTemplate::OnHelp() {
  if (m_helpId == 0) return TRUE;
  CString file = m_helpFile;
  if (file.IsEmpty()) {
    CWinApp* app = AfxGetApp();
    if (app && app->m_pszHelpFilePath) file = app->m_pszHelpFilePath;
  }
  if (file.GetLength() >= 4 && file.Right(4).CompareNoCase(L".HLP") == 0)
    file = file.Left(file.GetLength() - 3) + L"chm";
  if (!HtmlHelpW(m_hOwner, file.GetString(), HH_HELP_CONTEXT, m_helpId)) {
    CString message;
    message.Format(
        L"Error: Failed to display help - HtmlHelp: HelpFile = %s, HH_HELP_CONTEXT: = $%x, HelpID: = %u.",
        file.GetString(), HH_HELP_CONTEXT, m_helpId);
    Log(message.GetString(), L"CPVMsgBoxDlgTemplate::OnHelp", __LINE__);
    AfxMessageBox(AFX_IDP_FAILED_TO_LAUNCH_HELP);
    return FALSE;
  }
  return TRUE;
}

// ---------------------------------------------------------------------------------------------
// The message box that tells the dialog manager

BOOL CPVMsgBoxDlgTemplate2::Init(UINT style, const CString& text, const CString& caption, HWND owner,
                                 UINT helpId, const CString& helpFile, IPVDialogManager* manager) {
  constexpr wchar_t kFunction[] = L"CPVMsgBoxDlgTemplate2::Init";
  if (!CPVMsgBoxDlgTemplate::Init(style, text, caption, owner, helpId, helpFile)) {
    Log(L"Error: Invalid argument initialization on base class", kFunction, __LINE__);
    return FALSE;
  }
  m_spIPVDlgManager = manager;
  if (!manager) {
    Log(L"Error: Pointer to m_spIPVDlgManager is invalid", kFunction, __LINE__);
    return FALSE;
  }
  return TRUE;
}

BOOL CPVMsgBoxDlgTemplate2::OnInitDialog(HWND dialog) {
  if (m_spIPVDlgManager)
    m_spIPVDlgManager->DialogShown(dialog);
  else
    Log(L"Error: Pointer to m_spIPVDlgManager is invalid", L"CPVMsgBoxDlgTemplate2::OnInitDialog", __LINE__);
  return CPVMsgBoxDlgTemplate::OnInitDialog(dialog);
}

BOOL CPVMsgBoxDlgTemplate2::OnDestroy(HWND dialog) {
  if (m_spIPVDlgManager)
    m_spIPVDlgManager->DialogDestroyed(dialog);
  else
    Log(L"Error: Pointer to m_spIPVDlgManager is invalid", L"CPVMsgBoxDlgTemplate2::OnDestroy", __LINE__);
  return CPVMsgBoxDlgTemplate::OnDestroy(dialog);
}

// ---------------------------------------------------------------------------------------------
// Entry functions

namespace {
UINT WithHelp(UINT style, UINT helpId) {
  return helpId >= kHelpStyleFromId ? style | MB_HELP : style;
}
}  // namespace

int PVMessageBox(HWND owner, const CString& text, const CString& caption, UINT style, UINT helpId,
                 const CString& helpFile) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CPVMsgBoxDlgTemplate box;
  if (!box.Init(WithHelp(style, helpId), text, caption, owner, helpId, helpFile)) return -1;
  return box.DoModal();
}

int PVMessageBox2(IPVDialogManager* manager, HWND owner, const CString& text, const CString& caption,
                  UINT style, UINT helpId, const CString& helpFile) {
  AFX_MANAGE_STATE(AfxGetStaticModuleState());
  CPVMsgBoxDlgTemplate2 box;
  if (!box.Init(WithHelp(style, helpId), text, caption, owner, helpId, helpFile, manager)) return -1;
  return box.DoModal();
}
