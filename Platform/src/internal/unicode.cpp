#include "unicode.h"

#include <cstdint>
#include <cwctype>

namespace platform {

namespace {

constexpr uint32_t kReplacement = 0xFFFD;

void AppendUtf8(uint32_t c, std::string& out) {
  if (c < 0x80) {
    out += static_cast<char>(c);
  } else if (c < 0x800) {
    out += static_cast<char>(0xC0 | (c >> 6));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += static_cast<char>(0xE0 | (c >> 12));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (c >> 18));
    out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (c & 0x3F));
  }
}

// The well-formed sequences by their lead byte: how many continuation bytes follow and the
// range the first of them must lie in (the others lie in 80..BF).
struct LeadByte {
  int continuations;  // -1: the byte cannot begin a sequence
  unsigned char firstLow;
  unsigned char firstHigh;
};

LeadByte ClassifyLead(unsigned char lead) {
  if (lead < 0x80) return {0, 0, 0};
  if (lead < 0xC2) return {-1, 0, 0};  // a continuation byte, or an overlong two-byte lead
  if (lead < 0xE0) return {1, 0x80, 0xBF};
  if (lead == 0xE0) return {2, 0xA0, 0xBF};  // not overlong
  if (lead == 0xED) return {2, 0x80, 0x9F};  // not a surrogate
  if (lead < 0xF0) return {2, 0x80, 0xBF};
  if (lead == 0xF0) return {3, 0x90, 0xBF};  // not overlong
  if (lead < 0xF4) return {3, 0x80, 0xBF};
  if (lead == 0xF4) return {3, 0x80, 0x8F};  // not above U+10FFFF
  return {-1, 0, 0};
}

}  // namespace

bool DecodeUtf8(std::string_view text, std::wstring& out, bool failOnInvalid) {
  out.reserve(out.size() + text.size());
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const LeadByte kind = ClassifyLead(lead);
    if (kind.continuations == 0) {
      out += static_cast<wchar_t>(lead);
      ++i;
      continue;
    }
    size_t used = 1;
    uint32_t c = kind.continuations < 0 ? 0 : lead & (0x3F >> kind.continuations);
    bool wellFormed = kind.continuations > 0;
    for (int k = 1; wellFormed && k <= kind.continuations; ++k) {
      if (i + k >= text.size()) {
        wellFormed = false;
        break;
      }
      const auto next = static_cast<unsigned char>(text[i + k]);
      const unsigned char low = k == 1 ? kind.firstLow : 0x80;
      const unsigned char high = k == 1 ? kind.firstHigh : 0xBF;
      if (next < low || next > high) {
        wellFormed = false;
        break;
      }
      c = (c << 6) | (next & 0x3F);
      ++used;
    }
    if (!wellFormed) {
      if (failOnInvalid) return false;
      out += static_cast<wchar_t>(kReplacement);
    } else {
      out += static_cast<wchar_t>(c);
    }
    i += used;
  }
  return true;
}

bool EncodeUtf8(std::wstring_view text, std::string& out, bool failOnInvalid) {
  out.reserve(out.size() + text.size());
  for (size_t i = 0; i < text.size(); ++i) {
    auto c = static_cast<uint32_t>(text[i]);
    if (c >= 0xD800 && c <= 0xDBFF && i + 1 < text.size()) {
      const auto low = static_cast<uint32_t>(text[i + 1]);
      if (low >= 0xDC00 && low <= 0xDFFF) {
        AppendUtf8(0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00), out);
        ++i;
        continue;
      }
    }
    if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) {
      if (failOnInvalid) return false;
      c = kReplacement;
    }
    AppendUtf8(c, out);
  }
  return true;
}

std::string Utf8FromWide(std::wstring_view text) {
  std::string out;
  EncodeUtf8(text, out, false);
  return out;
}

std::wstring WideFromUtf8(std::string_view text) {
  std::wstring out;
  DecodeUtf8(text, out, false);
  return out;
}

wchar_t FoldCase(wchar_t c) {
  // Names are mostly ASCII, whose folding is the same in every locale the process uses.
  if (c < 0x80) return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c;
  return static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
}

int CompareNoCase(std::wstring_view a, std::wstring_view b) {
  size_t n = a.size() < b.size() ? a.size() : b.size();
  for (size_t i = 0; i < n; ++i) {
    wchar_t x = FoldCase(a[i]), y = FoldCase(b[i]);
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

}  // namespace platform
