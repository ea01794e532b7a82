// The layout of dialog templates: the one definition that the resource compiler writes, the
// dialog code reads and the in-memory message box builds.
//
// As on the platform, a template is a packed sequence of 16-bit words and 32-bit fields:
//
//   DLGTEMPLATEEX  (dlgVer 1, signature 0xFFFF; told apart from DLGTEMPLATE by that second word)
//     WORD dlgVer, signature; DWORD helpID, exStyle, style; WORD cDlgItems; SHORT x, y, cx, cy
//     menu, windowClass, title          each a name-or-ordinal (below)
//     if style has DS_SETFONT (0x40):   WORD pointsize, weight; BYTE italic, charset; typeface
//   then cDlgItems items, each starting at a 4-byte boundary (counted from the template start):
//     DWORD helpID, exStyle, style; SHORT x, y, cx, cy; DWORD id
//     windowClass, title                each a name-or-ordinal
//     WORD extraCount, then extraCount bytes of creation data
//
//   DLGTEMPLATE (the old form)
//     DWORD style, dwExtendedStyle; WORD cdit; SHORT x, y, cx, cy; menu, class, title
//     if DS_SETFONT: WORD pointsize; typeface
//   items at 4-byte boundaries: DWORD style, dwExtendedStyle; SHORT x, y, cx, cy; WORD id;
//     class, title; WORD size of the creation data including that word (0: none), the data
//
// A name-or-ordinal is either an ordinal, the 16-bit word 0xFFFF followed by a 16-bit word,
// or a string of WCHAR units (wchar_t, 32 bits here) with its terminator; "none" (no menu,
// the default class, no title) is the empty string, a single 0 unit. The first 16-bit word
// tells them apart: no text character has 0xFFFF in its low 16 bits (they are all
// non-characters). Strings are not aligned inside a template, so readers copy them with
// memcpy; use ParseDialogTemplate rather than reading by hand.
#pragma once

#include <algorithm>
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "platform/support_api.h"
#include "platform/utf8.h"
#if defined(_WIN32)
#include <windows.h>  // DLGTEMPLATE and DLGITEMTEMPLATE
#else
#include "wtypesbase.h"
#endif

#pragma pack(push, 2)

#if !defined(_WIN32)
// The fixed fields of an old-form template, in the platform's layout.
typedef struct {
  DWORD style;
  DWORD dwExtendedStyle;
  WORD cdit;
  short x;
  short y;
  short cx;
  short cy;
} DLGTEMPLATE;
typedef DLGTEMPLATE* LPDLGTEMPLATEW;
typedef const DLGTEMPLATE* LPCDLGTEMPLATEW;
typedef LPDLGTEMPLATEW LPDLGTEMPLATE;
typedef LPCDLGTEMPLATEW LPCDLGTEMPLATE;

// The fixed fields of an old-form item.
typedef struct {
  DWORD style;
  DWORD dwExtendedStyle;
  short x;
  short y;
  short cx;
  short cy;
  WORD id;
} DLGITEMTEMPLATE;
typedef DLGITEMTEMPLATE* PDLGITEMTEMPLATEW;
typedef DLGITEMTEMPLATE* LPDLGITEMTEMPLATEW;
#endif

// The fixed fields of an extended template (the platform documents them but declares no type).
typedef struct {
  WORD dlgVer;
  WORD signature;
  DWORD helpID;
  DWORD exStyle;
  DWORD style;
  WORD cDlgItems;
  short x;
  short y;
  short cx;
  short cy;
} DLGTEMPLATEEX;

// The fixed fields of an extended item.
typedef struct {
  DWORD helpID;
  DWORD exStyle;
  DWORD style;
  short x;
  short y;
  short cx;
  short cy;
  DWORD id;
} DLGITEMTEMPLATEEX;

#pragma pack(pop)

static_assert(sizeof(DLGTEMPLATE) == 18 && sizeof(DLGITEMTEMPLATE) == 18, "platform sizes");
static_assert(sizeof(DLGTEMPLATEEX) == 26 && sizeof(DLGITEMTEMPLATEEX) == 24, "platform sizes");

namespace platform::dialogs {

inline constexpr WORD kOrdinalMarker = 0xFFFF;  // first word of an ordinal name, and dlgVer 1's signature
inline constexpr DWORD kSetFontStyle = 0x40;    // DS_SETFONT: the template carries a font block

// A menu, class or title field of a template.
struct NameOrOrdinal {
  bool isOrdinal = false;
  WORD ordinal = 0;
  std::wstring text;  // when not an ordinal; empty means none

  static NameOrOrdinal Ordinal(WORD value) { return {true, value, {}}; }
  static NameOrOrdinal Text(std::wstring value) { return {false, 0, std::move(value)}; }
  bool IsNone() const { return !isOrdinal && text.empty(); }
  bool operator==(const NameOrOrdinal&) const = default;
};

struct DialogItem {
  DWORD helpId = 0;  // extended form only
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  DWORD id = 0;  // 16 bits in the old form
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  std::vector<BYTE> creationData;
  bool operator==(const DialogItem&) const = default;
};

struct DialogTemplate {
  bool extended = true;  // DLGTEMPLATEEX; false: DLGTEMPLATE
  DWORD helpId = 0;      // extended form only
  DWORD exStyle = 0;
  DWORD style = 0;
  short x = 0, y = 0, cx = 0, cy = 0;
  NameOrOrdinal menu;
  NameOrOrdinal windowClass;
  NameOrOrdinal title;
  // The font block, present when style has DS_SETFONT. weight, italic and charset are stored in
  // the extended form only. The face is kept whole; LOGFONTW holds 31 characters of it.
  WORD pointSize = 0;
  WORD weight = 0;
  BYTE italic = 0;
  BYTE charset = 0;
  std::wstring typeface;
  std::vector<DialogItem> items;

  bool HasFont() const { return (style & kSetFontStyle) != 0; }
  bool operator==(const DialogTemplate&) const = default;
};

// Reads a template of either form from size bytes at data. Returns nullopt for anything
// malformed: too short for a field, a string without its terminator inside size bytes, an
// extended template whose dlgVer is not 1, fewer items than the count says. Bytes after the
// last item are ignored.
SUPPORT_API std::optional<DialogTemplate> ParseDialogTemplate(const void* data, size_t size);

// Writes dialog in the form its `extended` flag names, 4-byte aligned items, the font block
// when style has DS_SETFONT. At most 65535 items are written. A character whose low 16 bits
// are 0xFFFF (a non-character) is written as U+FFFD, so that no string reads as an ordinal.
SUPPORT_API std::vector<BYTE> BuildDialogTemplate(const DialogTemplate& dialog);

// As BuildDialogTemplate, with 16-bit text units whatever the size of WCHAR, as the platform's
// resource files hold templates: a character beyond the basic plane takes its surrogate pair.
SUPPORT_API std::vector<BYTE> BuildDialogTemplateUtf16(const DialogTemplate& dialog);

// As BuildDialogTemplate, always in the extended form (DLGTEMPLATEEX).
SUPPORT_API std::vector<BYTE> BuildDialogTemplateEx(const DialogTemplate& dialog);

// Dialog-init data: a resource of type RT_DLGINIT (240) named as its dialog, with messages
// the class library sends to the dialog's controls before the data exchange. Entries follow
// one another without alignment:
//
//   WORD control id (0 ends the list), WORD message, DWORD length, then length bytes of data
//
// For a combo box string (kDialogInitAddString) the data is the text in UTF-8 with its
// terminator.
inline constexpr WORD kDialogInitAddString = 0x0403;

struct DialogInitEntry {
  WORD controlId = 0;
  WORD message = 0;
  std::vector<BYTE> data;
  bool operator==(const DialogInitEntry&) const = default;
};

struct DialogInitData {
  std::vector<DialogInitEntry> entries;  // in resource order, up to the end or the fault
  bool complete = false;                 // the 0 word that ends the list was reached
};

// Reads the entries from size bytes at data, never past them. Stops without the end mark
// (complete false) where the data ends inside an entry's fixed fields, or an entry claims
// more bytes than are left; the entries before that are kept. Bytes after the end mark are
// ignored.
SUPPORT_API DialogInitData ParseDialogInit(const void* data, size_t size);

// Writes the entries and the end mark. An entry with control id 0 would end the list early
// and is not written.
SUPPORT_API std::vector<BYTE> BuildDialogInit(const std::vector<DialogInitEntry>& entries);

// The text of a combo box string entry: the data up to its first terminator (all of it
// without one), converted from UTF-8. Inline, over the platform's own conversion, so that a
// build-time tool that reads templates without the platform does not need it.
inline std::wstring DialogInitText(const DialogInitEntry& entry) {
  const auto* bytes = reinterpret_cast<const char*>(entry.data.data());
  const auto end = std::find(entry.data.begin(), entry.data.end(), BYTE{0});
  return WideFromUtf8Text(std::string_view(bytes, static_cast<size_t>(end - entry.data.begin())));
}

}  // namespace platform::dialogs
