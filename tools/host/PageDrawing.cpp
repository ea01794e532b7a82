#include "PageDrawing.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "HostText.h"

namespace hostcli {
namespace {

// Text escaped for an XML attribute or element.
std::string Escaped(const std::wstring& text) {
  std::string out;
  for (char c : Utf8(text)) {
    switch (c) {
      case '&':
        out += "&amp;";
        break;
      case '<':
        out += "&lt;";
        break;
      case '>':
        out += "&gt;";
        break;
      case '"':
        out += "&quot;";
        break;
      default:
        // Control characters have no place in XML 1.0 text.
        out += static_cast<unsigned char>(c) < 0x20 ? ' ' : c;
    }
  }
  return out;
}

// What a combo box shows in its closed field: the selected entry.
std::wstring ComboSelection(HWND combo) {
  const auto selection = SendMessageW(combo, CB_GETCURSEL, 0, 0);
  if (selection < 0) return L"";
  const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(selection), 0);
  std::wstring text(static_cast<size_t>(length > 0 ? length : 0) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(selection), reinterpret_cast<LPARAM>(text.data()));
  text.resize(wcslen(text.c_str()));
  return text;
}

// The item's rectangle in the page's client coordinates.
RECT ItemRect(HWND page, HWND item) {
  RECT rect{};
  GetWindowRect(item, &rect);
  MapWindowPoints(nullptr, page, reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

struct Font {
  std::wstring face = L"sans-serif";
  int pixels = 11;
  HFONT handle = nullptr;
};

// The text's width in the dialog's font by the platform's metrics: the drawing squeezes or
// stretches each text to it, so a browser's font shows what fits on the platform.
int TextWidth(HWND page, const Font& font, const std::wstring& text) {
  HDC dc = GetDC(page);
  if (!dc) return 0;
  HGDIOBJ old = font.handle ? SelectObject(dc, font.handle) : nullptr;
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  if (old) SelectObject(dc, old);
  ReleaseDC(page, dc);
  return size.cx;
}

Font FontOf(HWND page) {
  Font font;
  HFONT handle = reinterpret_cast<HFONT>(SendMessageW(page, WM_GETFONT, 0, 0));
  font.handle = handle;
  LOGFONTW logFont{};
  if (handle && GetObjectW(handle, sizeof(logFont), &logFont) == sizeof(logFont)) {
    if (logFont.lfFaceName[0]) font.face = logFont.lfFaceName;
    if (logFont.lfHeight != 0) font.pixels = logFont.lfHeight < 0 ? -logFont.lfHeight : logFont.lfHeight;
  }
  return font;
}

// A group box as the platform draws it: an unfilled frame whose top edge runs through the
// middle of the caption's line, the caption at its top left on the dialog's background.
void DrawGroupFrame(std::ostringstream& svg, HWND page, const RECT& r, const Font& font,
                    const std::wstring& text, const char* ink) {
  const int top = r.top + font.pixels / 2;
  svg << "    <rect class=\"frame\" x=\"" << r.left << "\" y=\"" << top << "\" width=\"" << r.right - r.left
      << "\" height=\"" << r.bottom - top << "\" fill=\"none\" stroke=\"#a0a0a0\"/>\n";
  if (text.empty()) return;
  const int measured = TextWidth(page, font, text);
  const int x = r.left + 8;
  svg << "    <rect x=\"" << x - 2 << "\" y=\"" << r.top << "\" width=\"" << measured + 4 << "\" height=\""
      << font.pixels + 1 << "\" fill=\"#f0f0f0\" stroke=\"none\"/>\n"
      << "    <text x=\"" << x << "\" y=\"" << r.top + font.pixels << "\" fill=\"" << ink << "\"";
  if (measured > 0) svg << " textLength=\"" << measured << "\" lengthAdjust=\"spacingAndGlyphs\"";
  svg << ">" << Escaped(text) << "</text>\n";
}

void DrawItem(std::ostringstream& svg, HWND page, HWND item, const Font& font) {
  const RECT r = ItemRect(page, item);
  const int width = r.right - r.left;
  const int height = r.bottom - r.top;
  const std::wstring kind = ClassOf(item);
  const LONG style = GetWindowLongW(item, GWL_STYLE);
  const bool enabled = IsWindowEnabled(item) != FALSE;
  const bool combo = _wcsicmp(kind.c_str(), L"ComboBox") == 0;
  const bool edit = _wcsicmp(kind.c_str(), L"Edit") == 0;
  const bool group = IsGroupBox(item);
  const bool button = !group && _wcsicmp(kind.c_str(), L"Button") == 0;
  const bool readOnly = edit && (style & ES_READONLY);
  const std::wstring text = combo ? ComboSelection(item) : TextOf(item);
  const char* state = !enabled ? "disabled" : readOnly ? "read-only" : "enabled";
  const char* ink = enabled ? "#000000" : "#808080";

  svg << "  <g class=\"item\" data-id=\"" << static_cast<int16_t>(GetDlgCtrlID(item)) << "\" data-class=\""
      << Escaped(kind) << "\" data-state=\"" << state << "\">\n";
  const char* fill = "none";
  const char* stroke = "none";
  if (edit || combo) {
    fill = enabled && !readOnly ? "#ffffff" : "#f0f0f0";
    stroke = "#7a7a7a";
  } else if (button) {
    fill = "#e1e1e1";
    stroke = "#adadad";
  }
  // A combo box is drawn closed: its field is one line high, whatever its dropped height.
  const int drawnHeight = combo ? std::min(height, font.pixels + 10) : height;
  svg << "    <rect x=\"" << r.left << "\" y=\"" << r.top << "\" width=\"" << width << "\" height=\""
      << drawnHeight << "\" fill=\"" << fill << "\" stroke=\"" << stroke << "\"/>\n";
  if (combo) {
    const int arrowX = r.left + width - 8;
    const int arrowY = r.top + drawnHeight / 2;
    svg << "    <path d=\"M" << arrowX - 4 << ' ' << arrowY - 2 << " L" << arrowX << ' ' << arrowY + 2 << " L"
        << arrowX + 4 << ' ' << arrowY - 2 << "\" fill=\"none\" stroke=\"" << ink << "\"/>\n";
  }
  if (group) {
    DrawGroupFrame(svg, page, r, font, text, ink);
  } else if (!text.empty()) {
    const bool centred = button;
    const int x = centred ? r.left + width / 2 : r.left + (edit || combo ? 3 : 0);
    const int baseline =
        r.top + (edit || combo || button ? (drawnHeight + font.pixels) / 2 - 1 : font.pixels);
    svg << "    <text x=\"" << x << "\" y=\"" << baseline << "\" fill=\"" << ink << "\""
        << (centred ? " text-anchor=\"middle\"" : "");
    if (const int measured = TextWidth(page, font, text); measured > 0)
      svg << " textLength=\"" << measured << "\" lengthAdjust=\"spacingAndGlyphs\"";
    svg << ">" << Escaped(text) << "</text>\n";
  }
  svg << "  </g>\n";
}

}  // namespace

bool WritePageSvg(HWND page, const std::wstring& title, const std::string& file, std::string* error) {
  RECT client{};
  if (!GetClientRect(page, &client)) {
    *error = "the page has no window";
    return false;
  }
  const Font font = FontOf(page);
  std::ostringstream svg;
  svg << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" << client.right << "\" height=\""
      << client.bottom << "\" viewBox=\"0 0 " << client.right << ' ' << client.bottom << "\" font-family=\""
      << Escaped(font.face) << ", sans-serif\" font-size=\"" << font.pixels << "px\">\n"
      << "  <title>" << Escaped(title) << "</title>\n"
      << "  <rect class=\"dialog\" x=\"0\" y=\"0\" width=\"" << client.right << "\" height=\""
      << client.bottom << "\" fill=\"#f0f0f0\" stroke=\"#a0a0a0\"/>\n";
  for (HWND item = GetWindow(page, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT))
    DrawItem(svg, page, item, font);
  svg << "</svg>\n";
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << svg.str();
  out.close();
  if (!out) {
    *error = "cannot write " + file;
    return false;
  }
  return true;
}

}  // namespace hostcli
