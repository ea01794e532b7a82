#include "DialogMetrics.h"

#include <dlgtemplate.h>

#include <cstring>

namespace {

// Dialog templates read as bytes, as the dialog manager lays them out (dlgtemplate.h).
class TemplateReader {
 public:
  TemplateReader(const BYTE* data, size_t size) : m_data(data), m_size(size) {}

  bool Word(size_t at, WORD* value) const { return Read(at, value, sizeof *value); }
  bool Dword(size_t at, DWORD* value) const { return Read(at, value, sizeof *value); }
  bool Short(size_t at, short* value) const { return Read(at, value, sizeof *value); }

  // The offset after a name-or-ordinal field at `at`: an ordinal is 0xFFFF and a 16-bit word,
  // a name runs to its terminating WCHAR. False when the field runs past the end.
  bool SkipNameOrOrdinal(size_t at, size_t* next) const {
    WORD first = 0;
    if (!Word(at, &first)) return false;
    if (first == 0xFFFF) {
      if (m_size - at < 2 * sizeof(WORD)) return false;
      *next = at + 2 * sizeof(WORD);
      return true;
    }
    return SkipString(at, next, nullptr, 0);
  }

  // Reads a terminated WCHAR string at `at` into text (at most capacity - 1 characters and
  // the terminator; null text: skipped only).
  bool SkipString(size_t at, size_t* next, WCHAR* text, size_t capacity) const {
    size_t count = 0;
    for (;; ++count) {
      WCHAR unit = 0;
      if (!Read(at + count * sizeof(WCHAR), &unit, sizeof unit)) return false;
      if (text && count + 1 < capacity) text[count] = unit;
      if (unit == 0) break;
    }
    if (text && capacity > 0) text[count + 1 < capacity ? count : capacity - 1] = 0;
    *next = at + (count + 1) * sizeof(WCHAR);
    return true;
  }

 private:
  bool Read(size_t at, void* out, size_t bytes) const {
    if (at > m_size || bytes > m_size - at) return false;
    std::memcpy(out, m_data + at, bytes);
    return true;
  }
  const BYTE* m_data;
  size_t m_size;
};

BaseUnits SystemBaseUnits() {
  const LONG units = GetDialogBaseUnits();
  return {LOWORD(units), HIWORD(units), HIWORD(units)};
}

}  // namespace

bool ReadTemplateMetrics(const BYTE* data, size_t size, TemplateMetrics* metrics) {
  TemplateReader reader(data, size);
  WORD signature = 0;
  if (!reader.Word(sizeof(WORD), &signature)) return false;
  const bool extended = signature == 0xFFFF;
  DWORD style = 0;
  const size_t styleAt = extended ? offsetof(DLGTEMPLATEEX, style) : offsetof(DLGTEMPLATE, style);
  const size_t cxAt = extended ? offsetof(DLGTEMPLATEEX, cx) : offsetof(DLGTEMPLATE, cx);
  const size_t cyAt = extended ? offsetof(DLGTEMPLATEEX, cy) : offsetof(DLGTEMPLATE, cy);
  if (!reader.Dword(styleAt, &style) || !reader.Short(cxAt, &metrics->cx) ||
      !reader.Short(cyAt, &metrics->cy))
    return false;
  if (!(style & DS_SETFONT)) return true;
  size_t at = extended ? sizeof(DLGTEMPLATEEX) : sizeof(DLGTEMPLATE);
  if (!reader.SkipNameOrOrdinal(at, &at) || !reader.SkipNameOrOrdinal(at, &at)) return true;  // menu, class
  if (!reader.SkipString(at, &at, nullptr, 0)) return true;                                   // title
  WORD pointSize = 0;
  if (!reader.Word(at, &pointSize)) return true;
  at += sizeof(WORD);
  if (extended) at += sizeof(WORD) + 2 * sizeof(BYTE);  // weight, italic, charset
  if (!reader.SkipString(at, &at, metrics->face, LF_FACESIZE)) return true;
  metrics->pointSize = pointSize;
  metrics->hasFont = true;
  return true;
}

BaseUnits FontBaseUnits(const TemplateMetrics& metrics) {
  if (!metrics.hasFont || metrics.face[0] == 0) return SystemBaseUnits();
  HDC screen = GetDC(nullptr);
  if (!screen) return SystemBaseUnits();
  HFONT font = CreateFontW(-MulDiv(metrics.pointSize, GetDeviceCaps(screen, LOGPIXELSY), 72), 0, 0, 0,
                           FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0, 0, metrics.face);
  if (!font) {
    ReleaseDC(nullptr, screen);
    return SystemBaseUnits();
  }
  HGDIOBJ previous = SelectObject(screen, font);
  static const wchar_t kLetters[] = L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
  SIZE extent{};
  TEXTMETRICW tm{};
  const bool measured = GetTextExtentPoint32W(screen, kLetters, 52, &extent) && GetTextMetricsW(screen, &tm);
  SelectObject(screen, previous);
  DeleteObject(font);
  ReleaseDC(nullptr, screen);
  if (!measured) return SystemBaseUnits();
  return {(extent.cx + 26) / 52, tm.tmHeight + tm.tmExternalLeading, tm.tmHeight};
}
