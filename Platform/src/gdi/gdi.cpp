// The graphics device interface's objects: fonts with the synthetic metrics (the rule is in
// wingdi.h), device contexts, stock objects, and text measurement and layout.
#include <algorithm>
#include <map>
#include <memory>
#include <mutex>
#include <string_view>
#include <utility>
#include <vector>

#include "errhandlingapi.h"
#include "wingdi.h"
#include "winerror.h"
#include "winuser.h"

namespace {

enum class Kind { kFont, kDc };

struct GdiObject {
  Kind kind;
  LOGFONTW font{};           // kFont
  HFONT selected = nullptr;  // kDc
  COLORREF textColor = 0;    // kDc: black until set
  bool fromGetDC = false;    // kDc: given out by GetDC (ReleaseDC frees it)
};

struct Objects {
  std::mutex lock;
  std::map<void*, std::unique_ptr<GdiObject>> live;
  GdiObject stockFonts[DEFAULT_GUI_FONT + 1];

  Objects() {
    for (int i = OEM_FIXED_FONT; i <= DEFAULT_GUI_FONT; ++i) {
      GdiObject& o = stockFonts[i];
      o.kind = Kind::kFont;
      o.font.lfHeight = -11;
      o.font.lfWeight = FW_NORMAL;
      o.font.lfCharSet = DEFAULT_CHARSET;
      wcscpy(o.font.lfFaceName, L"System Sans");
    }
    GdiObject& system = stockFonts[SYSTEM_FONT];
    system.font.lfHeight = -13;
    wcscpy(system.font.lfFaceName, L"System");
    wcscpy(stockFonts[SYSTEM_FIXED_FONT].font.lfFaceName, L"System Mono");
    wcscpy(stockFonts[OEM_FIXED_FONT].font.lfFaceName, L"System Mono");
    wcscpy(stockFonts[ANSI_FIXED_FONT].font.lfFaceName, L"System Mono");
  }

  bool IsStock(const void* h) const {
    return h >= &stockFonts[OEM_FIXED_FONT] && h <= &stockFonts[DEFAULT_GUI_FONT] &&
           h != &stockFonts[DEFAULT_GUI_FONT - 2];  // index 15 is not a stock object
  }
};

Objects& Gdi() {
  static Objects* objects = new Objects;  // never destroyed: objects may be deleted from static destructors
  return *objects;
}

GdiObject* FindObject(const void* h, Kind kind) {
  Objects& g = Gdi();
  if (!h) return nullptr;
  if (g.IsStock(h))
    return kind == Kind::kFont ? const_cast<GdiObject*>(static_cast<const GdiObject*>(h)) : nullptr;
  std::lock_guard guard(g.lock);
  auto it = g.live.find(const_cast<void*>(h));
  if (it == g.live.end() || it->second->kind != kind) return nullptr;
  return it->second.get();
}

HFONT SystemFont() {
  return static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

HDC NewDc(bool fromGetDC) {
  auto o = std::make_unique<GdiObject>();
  o->kind = Kind::kDc;
  o->selected = SystemFont();
  o->fromGetDC = fromGetDC;
  void* handle = o.get();
  Objects& g = Gdi();
  std::lock_guard guard(g.lock);
  g.live.emplace(handle, std::move(o));
  return static_cast<HDC>(handle);
}

// The metrics of a font by the rule in wingdi.h.
struct Metrics {
  int em;
  bool bold;
  int Height() const { return em + (em + 2) / 5; }
  int Width(wchar_t c) const {
    static constexpr std::wstring_view kNarrow = L" !\"'(),.:;[]`|fijltI";
    static constexpr std::wstring_view kWide = L"MWmw@%";
    if (c == L'\t' || c == L'\r' || c == L'\n') return 0;
    int factor = kNarrow.find(c) != std::wstring_view::npos ? 5
                 : kWide.find(c) != std::wstring_view::npos ? 15
                                                            : 10;
    return (em * factor + 10) / 22 + (bold ? 1 : 0);
  }
};

Metrics MetricsOf(const LOGFONTW& font) {
  int em = 11;
  if (font.lfHeight < 0) {
    em = -font.lfHeight;
  } else if (font.lfHeight > 0) {
    em = 1;
    while ((em + 1) + (em + 1 + 2) / 5 <= font.lfHeight) ++em;
  }
  return {em, font.lfWeight >= FW_SEMIBOLD};
}

Metrics MetricsOfDc(HDC hdc, bool* ok) {
  GdiObject* dc = FindObject(hdc, Kind::kDc);
  *ok = dc != nullptr;
  if (!dc) return {11, false};
  GdiObject* font = FindObject(dc->selected, Kind::kFont);
  if (!font) font = FindObject(SystemFont(), Kind::kFont);
  return MetricsOf(font->font);
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Fonts

EXTERN_C HFONT WINAPI CreateFontIndirectW(const LOGFONTW* lplf) {
  if (!lplf) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto o = std::make_unique<GdiObject>();
  o->kind = Kind::kFont;
  o->font = *lplf;
  o->font.lfFaceName[LF_FACESIZE - 1] = 0;
  void* handle = o.get();
  Objects& g = Gdi();
  std::lock_guard guard(g.lock);
  g.live.emplace(handle, std::move(o));
  return static_cast<HFONT>(handle);
}

EXTERN_C HFONT WINAPI CreateFontW(int cHeight, int cWidth, int cEscapement, int cOrientation, int cWeight,
                                  DWORD bItalic, DWORD bUnderline, DWORD bStrikeOut, DWORD iCharSet,
                                  DWORD iOutPrecision, DWORD iClipPrecision, DWORD iQuality,
                                  DWORD iPitchAndFamily, LPCWSTR pszFaceName) {
  LOGFONTW font{cHeight,
                cWidth,
                cEscapement,
                cOrientation,
                cWeight,
                static_cast<BYTE>(bItalic),
                static_cast<BYTE>(bUnderline),
                static_cast<BYTE>(bStrikeOut),
                static_cast<BYTE>(iCharSet),
                static_cast<BYTE>(iOutPrecision),
                static_cast<BYTE>(iClipPrecision),
                static_cast<BYTE>(iQuality),
                static_cast<BYTE>(iPitchAndFamily),
                {}};
  if (pszFaceName) wcsncpy(font.lfFaceName, pszFaceName, LF_FACESIZE - 1);
  return CreateFontIndirectW(&font);
}

EXTERN_C int WINAPI GetObjectW(HANDLE h, int c, LPVOID pv) {
  GdiObject* font = FindObject(h, Kind::kFont);
  if (!font) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  if (!pv) return sizeof(LOGFONTW);
  if (c <= 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  int n = std::min<int>(c, sizeof(LOGFONTW));
  std::memcpy(pv, &font->font, static_cast<size_t>(n));
  return n;
}

EXTERN_C BOOL WINAPI GetTextMetricsW(HDC hdc, LPTEXTMETRICW lptm) {
  bool ok;
  Metrics m = MetricsOfDc(hdc, &ok);
  if (!ok || !lptm) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  GdiObject* dc = FindObject(hdc, Kind::kDc);
  GdiObject* font = FindObject(dc->selected, Kind::kFont);
  if (!font) font = FindObject(SystemFont(), Kind::kFont);
  TEXTMETRICW tm{};
  tm.tmHeight = m.Height();
  tm.tmDescent = tm.tmHeight / 5;
  tm.tmAscent = tm.tmHeight - tm.tmDescent;
  tm.tmInternalLeading = tm.tmHeight - m.em;
  tm.tmExternalLeading = m.em / 8;
  tm.tmAveCharWidth = m.Width(L'x');
  tm.tmMaxCharWidth = m.Width(L'M');
  tm.tmWeight = font->font.lfWeight ? font->font.lfWeight : FW_NORMAL;
  tm.tmDigitizedAspectX = tm.tmDigitizedAspectY = 96;
  tm.tmFirstChar = 0x20;
  tm.tmLastChar = 0xFFFC;
  tm.tmDefaultChar = 0x1F;
  tm.tmBreakChar = 0x20;
  tm.tmItalic = font->font.lfItalic;
  tm.tmUnderlined = font->font.lfUnderline;
  tm.tmStruckOut = font->font.lfStrikeOut;
  tm.tmPitchAndFamily = font->font.lfPitchAndFamily;
  tm.tmCharSet = font->font.lfCharSet;
  *lptm = tm;
  return TRUE;
}

EXTERN_C BOOL WINAPI GetTextExtentPoint32W(HDC hdc, LPCWSTR lpString, int c, LPSIZE psizl) {
  bool ok;
  Metrics m = MetricsOfDc(hdc, &ok);
  if (!ok || !psizl || c < 0 || (c > 0 && !lpString)) {
    SetLastError(ok ? ERROR_INVALID_PARAMETER : ERROR_INVALID_HANDLE);
    return FALSE;
  }
  LONG width = 0;
  for (int i = 0; i < c; ++i) width += m.Width(lpString[i]);
  *psizl = {width, m.Height()};
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Device contexts and objects

EXTERN_C HDC WINAPI CreateDCW(LPCWSTR, LPCWSTR, LPCWSTR, const DEVMODEW*) {
  return NewDc(false);
}

EXTERN_C HDC WINAPI CreateCompatibleDC(HDC hdc) {
  if (hdc && !FindObject(hdc, Kind::kDc)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return NewDc(false);
}

namespace {
BOOL FreeDc(HDC hdc, bool fromGetDC) {
  Objects& g = Gdi();
  std::lock_guard guard(g.lock);
  auto it = g.live.find(hdc);
  if (it == g.live.end() || it->second->kind != Kind::kDc || it->second->fromGetDC != fromGetDC) return FALSE;
  g.live.erase(it);
  return TRUE;
}
}  // namespace

EXTERN_C BOOL WINAPI DeleteDC(HDC hdc) {
  return FreeDc(hdc, false);
}

EXTERN_C HDC WINAPI GetDC(HWND hWnd) {
  if (hWnd && !IsWindow(hWnd)) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return nullptr;
  }
  return NewDc(true);
}

EXTERN_C int WINAPI ReleaseDC(HWND, HDC hDC) {
  return FreeDc(hDC, true);
}

EXTERN_C HGDIOBJ WINAPI SelectObject(HDC hdc, HGDIOBJ h) {
  GdiObject* dc = FindObject(hdc, Kind::kDc);
  if (!dc || !FindObject(h, Kind::kFont)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return nullptr;
  }
  return std::exchange(dc->selected, static_cast<HFONT>(h));
}

EXTERN_C BOOL WINAPI DeleteObject(HGDIOBJ ho) {
  Objects& g = Gdi();
  if (g.IsStock(ho)) return TRUE;
  std::lock_guard guard(g.lock);
  auto it = g.live.find(ho);
  if (it == g.live.end() || it->second->kind != Kind::kFont) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  g.live.erase(it);
  return TRUE;
}

EXTERN_C HGDIOBJ WINAPI GetStockObject(int i) {
  Objects& g = Gdi();
  if (i < OEM_FIXED_FONT || i > DEFAULT_GUI_FONT || i == DEFAULT_GUI_FONT - 2) return nullptr;
  return &g.stockFonts[i];
}

EXTERN_C int WINAPI GetDeviceCaps(HDC hdc, int index) {
  if (!FindObject(hdc, Kind::kDc)) return 0;
  switch (index) {
    case LOGPIXELSX:
    case LOGPIXELSY:
      return 96;
    case HORZRES:
      return GetSystemMetrics(SM_CXSCREEN);
    case VERTRES:
      return GetSystemMetrics(SM_CYSCREEN);
    case BITSPIXEL:
      return 32;
    default:
      return 0;
  }
}

EXTERN_C COLORREF WINAPI SetTextColor(HDC hdc, COLORREF color) {
  GdiObject* dc = FindObject(hdc, Kind::kDc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  return std::exchange(dc->textColor, color);
}

EXTERN_C COLORREF WINAPI GetTextColor(HDC hdc) {
  GdiObject* dc = FindObject(hdc, Kind::kDc);
  if (!dc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return CLR_INVALID;
  }
  return dc->textColor;
}

// ---------------------------------------------------------------------------------------
// Text layout

EXTERN_C int WINAPI DrawTextW(HDC hdc, LPCWSTR lpchText, int cchText, LPRECT lprc, UINT format) {
  bool ok;
  Metrics m = MetricsOfDc(hdc, &ok);
  if (!ok || !lprc) {
    SetLastError(ERROR_INVALID_HANDLE);
    return 0;
  }
  std::wstring source;
  if (lpchText) source.assign(lpchText, cchText < 0 ? wcslen(lpchText) : static_cast<size_t>(cchText));
  // Prefix characters: "&x" shows x, "&&" shows "&".
  std::wstring text;
  for (size_t i = 0; i < source.size(); ++i) {
    if (!(format & DT_NOPREFIX) && source[i] == L'&') {
      if (i + 1 < source.size()) text += source[++i];
      continue;
    }
    text += source[i];
  }
  auto width = [&](std::wstring_view s) {
    int w = 0;
    for (wchar_t c : s) w += m.Width(c);
    return w;
  };
  const int limit = lprc->right - lprc->left;
  std::vector<std::wstring> lines;
  auto addWrapped = [&](std::wstring_view line) {
    if (!(format & DT_WORDBREAK) || format & DT_SINGLELINE) {
      lines.emplace_back(line);
      return;
    }
    std::wstring current;
    size_t i = 0;
    while (i < line.size()) {
      // The next word and the spaces after it.
      size_t end = i;
      while (end < line.size() && line[end] != L' ') ++end;
      size_t spaces = end;
      while (spaces < line.size() && line[spaces] == L' ') ++spaces;
      std::wstring_view word = line.substr(i, end - i);
      if (!current.empty() && width(current) + width(word) > limit) {
        while (!current.empty() && current.back() == L' ') current.pop_back();
        lines.push_back(current);
        current.clear();
      }
      if (current.empty() && width(word) > limit) {
        // A word wider than the rectangle is broken between characters.
        std::wstring part;
        for (wchar_t c : word) {
          if (!part.empty() && width(part) + m.Width(c) > limit) {
            lines.push_back(part);
            part.clear();
          }
          part += c;
        }
        current = part;
      } else {
        current.append(word);
      }
      current.append(line.substr(end, spaces - end));
      i = spaces;
    }
    while (!current.empty() && current.back() == L' ') current.pop_back();
    lines.push_back(current);
  };
  if (format & DT_SINGLELINE) {
    std::wstring one;
    for (wchar_t c : text) {
      if (c != L'\r' && c != L'\n') one += c;
    }
    addWrapped(one);
  } else {
    size_t start = 0;
    for (size_t i = 0; i <= text.size(); ++i) {
      if (i == text.size() || text[i] == L'\r' || text[i] == L'\n') {
        addWrapped(std::wstring_view(text).substr(start, i - start));
        if (i < text.size() && text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n') ++i;
        start = i + 1;
      }
    }
  }
  int lineHeight = m.Height() + ((format & DT_EXTERNALLEADING) ? m.em / 8 : 0);
  int height = static_cast<int>(lines.size()) * lineHeight;
  if (format & DT_CALCRECT) {
    int widest = 0;
    for (const auto& line : lines) widest = std::max(widest, width(line));
    lprc->right = lprc->left + widest;
    lprc->bottom = lprc->top + height;
  }
  return height;
}

// ---------------------------------------------------------------------------------------
// Test hooks

namespace platform::gdi {

size_t LiveObjectCount() {
  Objects& g = Gdi();
  std::lock_guard guard(g.lock);
  return g.live.size();
}

int CharacterWidth(HFONT font, wchar_t c) {
  GdiObject* o = FindObject(font, Kind::kFont);
  return o ? MetricsOf(o->font).Width(c) : 0;
}

}  // namespace platform::gdi
