// The framework's message box: a dialog built in memory (no dialog resource) whose button
// labels come from the host's string server in the host's language, and whose Help button
// opens a context of the compiled help file. Shown modally on the user-interface thread.
#pragma once

#include <HostServices.h>
#include <afxwin.h>
#include <dlgtemplate.h>

#include <vector>

// One item of the in-memory dialog: its rectangle in pixels and id, and what the template
// writer needs of it (styles, class, title, creation data).
class CPVMsgBoxDlgItem : public CObject {
 public:
  CPVMsgBoxDlgItem(const RECT& rect, WORD id)
      : m_left(rect.left), m_top(rect.top), m_right(rect.right), m_bottom(rect.bottom), m_id(id) {}

  virtual DWORD GetStyle() const = 0;
  virtual DWORD GetExtendedStyle() const { return 0; }
  // The window class as an ordinal (0x0080 button, 0x0082 static).
  virtual platform::dialogs::NameOrOrdinal GetWindowClass() const = 0;
  virtual platform::dialogs::NameOrOrdinal GetTitle() const = 0;
  // No item carries creation data (the template's creation-data count is 0).
  virtual std::vector<BYTE> GetCreationData() const { return {}; }

  // The item as the template writer takes it, in dialog units of the base units given.
  platform::dialogs::DialogItem ToTemplateItem(LONG baseUnits) const;

  LONG m_left, m_top, m_right, m_bottom;
  WORD m_id;
};

// The icon of the message-box style: 32514 question (0x20), 32515 exclamation (0x30),
// 32516 asterisk (0x40), 32513 hand for 0x10 and every other value.
class CPVMsgBoxDlgItemIcon : public CPVMsgBoxDlgItem {
 public:
  CPVMsgBoxDlgItemIcon(const RECT& rect, WORD id, UINT style) : CPVMsgBoxDlgItem(rect, id), m_style(style) {}
  DWORD GetStyle() const override { return WS_CHILD | WS_VISIBLE | SS_ICON; }
  platform::dialogs::NameOrOrdinal GetWindowClass() const override;
  platform::dialogs::NameOrOrdinal GetTitle() const override;
  static WORD IconOrdinal(UINT style);

  UINT m_style;
};

// The message text, left-aligned.
class CPVMsgBoxDlgItemStatic : public CPVMsgBoxDlgItem {
 public:
  CPVMsgBoxDlgItemStatic(const RECT& rect, WORD id, const CString& text)
      : CPVMsgBoxDlgItem(rect, id), m_text(text) {}
  DWORD GetStyle() const override { return WS_CHILD | WS_VISIBLE | SS_LEFT; }
  platform::dialogs::NameOrOrdinal GetWindowClass() const override;
  platform::dialogs::NameOrOrdinal GetTitle() const override;

  CString m_text;
};

// A push button; BS_DEFPUSHBUTTON while the default flag is set.
class CPVMsgBoxDlgItemButton : public CPVMsgBoxDlgItem {
 public:
  CPVMsgBoxDlgItemButton(const RECT& rect, WORD id, const CString& label)
      : CPVMsgBoxDlgItem(rect, id), m_label(label) {}
  DWORD GetStyle() const override;
  platform::dialogs::NameOrOrdinal GetWindowClass() const override;
  platform::dialogs::NameOrOrdinal GetTitle() const override;

  CString m_label;
  int m_default = 0;
};

class CStringServerWrapper;

// Builds the dialog of a message box and runs it modally.
class CPVMsgBoxDlgTemplate : public CObject {
 public:
  static constexpr WORD kTextId = 1001;
  static constexpr WORD kIconId = 1002;
  static constexpr int kButtonWidth = 82;
  static constexpr int kButtonHeight = 23;
  static constexpr int kButtonStep = 88;  // a button's width and the 6 pixels between two

  CPVMsgBoxDlgTemplate() = default;
  ~CPVMsgBoxDlgTemplate() override;
  CPVMsgBoxDlgTemplate(const CPVMsgBoxDlgTemplate&) = delete;
  CPVMsgBoxDlgTemplate& operator=(const CPVMsgBoxDlgTemplate&) = delete;

  // Stores the arguments and makes the message font from the non-client metrics. FALSE
  // (logged) for style 0, an empty text or caption, a null owner, or a font that cannot be made.
  virtual BOOL Init(UINT style, const CString& text, const CString& caption, HWND owner, UINT helpId,
                    const CString& helpFile);
  // The id of the button that closed the dialog; the platform message box's answer for a
  // system-modal hand-icon box; 0 when the dialog cannot be built or shown (logged).
  virtual int DoModal();
  // Sets the message font on every item, the focus on the default button, and greys the
  // close box when there is no Cancel button. FALSE (the focus is set here).
  virtual BOOL OnInitDialog(HWND dialog);
  // Nothing to do here: 0.
  virtual BOOL OnDestroy(HWND dialog);
  // Opens the help context (nothing for help id 0); FALSE (logged, with the class library's
  // message) when the help viewer does not open.
  virtual BOOL OnHelp();

  // The template as written into the dialog's memory block (empty when an item is missing).
  std::vector<BYTE> GetDialogArray() const;
  // The number of buttons of the style (Help included); 6 to 15 count Help only (logged).
  int GetNumButtons() const;

  const std::vector<CPVMsgBoxDlgItem*>& Items() const { return m_items; }
  RECT DialogRect() const { return m_dialogRect; }

  // The dialog procedure of every message box: reaches the open one through the current pointer.
  static INT_PTR CALLBACK MsgBoxDlgProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  // The message box being shown (innermost), null when none.
  static CPVMsgBoxDlgTemplate* Current();

 protected:
  void CalcMessageSize(SIZE* text) const;
  BOOL CreateItems(const RECT& textRect, const RECT& iconRect, const RECT& buttonRect);
  BOOL CreateButton(WORD commandId, LONG stringId, CStringServerWrapper* server, BOOL shift, RECT* rect);
  platform::dialogs::DialogTemplate GetDialogTemplate() const;

  HWND m_hOwner = nullptr;
  std::vector<CPVMsgBoxDlgItem*> m_items;  // owned, in creation order
  UINT m_style = 0;
  RECT m_dialogRect{0, 0, 0, 0};
  CString m_text;
  CString m_caption;
  CFont m_font;
  CString m_helpFile;
  UINT m_helpId = 0;
};

// A message box that also tells the host's dialog manager when its window is shown and destroyed.
class CPVMsgBoxDlgTemplate2 : public CPVMsgBoxDlgTemplate {
 public:
  BOOL OnInitDialog(HWND dialog) override;
  BOOL OnDestroy(HWND dialog) override;
  // The base Init, then the manager (not counted: the caller keeps it alive); FALSE (logged)
  // when the base fails or the manager is null.
  virtual BOOL Init(UINT style, const CString& text, const CString& caption, HWND owner, UINT helpId,
                    const CString& helpFile, IPVDialogManager* manager);
  using CPVMsgBoxDlgTemplate::Init;

 protected:
  IPVDialogManager* m_spIPVDlgManager = nullptr;
};

// Shows a message box in the module's state; MB_HELP is added for a help id of 0x30001 or more.
// The dialog's result, or -1 when the arguments are refused.
int PVMessageBox(HWND owner, const CString& text, const CString& caption, UINT style, UINT helpId,
                 const CString& helpFile);
// As PVMessageBox, telling the dialog manager about the dialog window.
int PVMessageBox2(IPVDialogManager* manager, HWND owner, const CString& text, const CString& caption,
                  UINT style, UINT helpId, const CString& helpFile);
