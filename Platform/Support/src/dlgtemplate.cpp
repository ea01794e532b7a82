// Reader and writer of dialog templates (layout in dlgtemplate.h). One implementation for the
// resource compiler (compiled into it), the dialog code and the in-memory message box.
#include "dlgtemplate.h"

#include <algorithm>
#include <cstring>

#include "platform/utf16.h"

namespace platform::dialogs {

namespace {

// A bounds-checked cursor over the template's bytes; every read fails once past the end.
class Reader {
 public:
  Reader(const BYTE* data, size_t size) : data_(data), size_(size) {}

  template <class T>
  bool Read(T* value) {
    if (size_ - at_ < sizeof(T)) return false;
    std::memcpy(value, data_ + at_, sizeof(T));
    at_ += sizeof(T);
    return true;
  }

  bool ReadString(std::wstring* text) {
    text->clear();
    for (;;) {
      WCHAR unit;
      if (!Read(&unit)) return false;
      if (unit == 0) return true;
      text->push_back(unit);
    }
  }

  bool ReadNameOrOrdinal(NameOrOrdinal* field) {
    WORD first;
    if (size_ - at_ < sizeof first) return false;
    std::memcpy(&first, data_ + at_, sizeof first);
    if (first == kOrdinalMarker) {
      at_ += sizeof first;
      field->isOrdinal = true;
      field->text.clear();
      return Read(&field->ordinal);
    }
    field->isOrdinal = false;
    field->ordinal = 0;
    return ReadString(&field->text);
  }

  bool ReadBytes(size_t count, std::vector<BYTE>* out) {
    if (size_ - at_ < count) return false;
    out->assign(data_ + at_, data_ + at_ + count);
    at_ += count;
    return true;
  }

  bool AlignToDword() {
    const size_t aligned = (at_ + 3) & ~static_cast<size_t>(3);
    if (aligned > size_) return false;
    at_ = aligned;
    return true;
  }

 private:
  const BYTE* data_;
  size_t size_;
  size_t at_ = 0;
};

// Writes the template's fields; Unit is the size of its text units: WCHAR for the module
// resources of this build, char16_t for the platform's resource files.
template <class Unit>
class Writer {
 public:
  template <class T>
  void Write(const T& value) {
    const size_t at = bytes_.size();
    bytes_.resize(at + sizeof(T));
    std::memcpy(bytes_.data() + at, &value, sizeof(T));
  }

  void WriteString(const std::wstring& text) {
    if constexpr (sizeof(Unit) == sizeof(wchar_t)) {
      for (wchar_t c : text) WriteUnit(static_cast<Unit>(c));
    } else {
      for (char16_t c : Utf16FromWide(text)) WriteUnit(static_cast<Unit>(c));
    }
    Write(static_cast<Unit>(0));
  }

  void WriteNameOrOrdinal(const NameOrOrdinal& field) {
    if (field.isOrdinal) {
      Write(kOrdinalMarker);
      Write(field.ordinal);
    } else {
      WriteString(field.text);
    }
  }

  void AlignToDword() { bytes_.resize((bytes_.size() + 3) & ~static_cast<size_t>(3), 0); }
  std::vector<BYTE>& bytes() { return bytes_; }

 private:
  // No unit may read as the ordinal marker.
  void WriteUnit(Unit c) { Write(static_cast<Unit>((c & 0xFFFF) == 0xFFFF ? 0xFFFD : c)); }

  std::vector<BYTE> bytes_;
};

bool ReadItem(Reader* in, bool extended, DialogItem* item) {
  if (!in->AlignToDword()) return false;
  if (extended) {
    DLGITEMTEMPLATEEX fixed;
    if (!in->Read(&fixed)) return false;
    *item = {fixed.helpID, fixed.exStyle, fixed.style, fixed.x, fixed.y, fixed.cx,
             fixed.cy,     fixed.id,      {},          {},      {}};
  } else {
    DLGITEMTEMPLATE fixed;
    if (!in->Read(&fixed)) return false;
    *item = {0, fixed.dwExtendedStyle, fixed.style, fixed.x, fixed.y, fixed.cx, fixed.cy, fixed.id, {}, {},
             {}};
  }
  if (!in->ReadNameOrOrdinal(&item->windowClass) || !in->ReadNameOrOrdinal(&item->title)) return false;
  WORD extra;
  if (!in->Read(&extra)) return false;
  if (!extended) {
    // The old form counts the size word itself.
    if (extra == 0) return true;
    if (extra < sizeof(WORD)) return false;
    extra = static_cast<WORD>(extra - sizeof(WORD));
  }
  return in->ReadBytes(extra, &item->creationData);
}

}  // namespace

std::optional<DialogTemplate> ParseDialogTemplate(const void* data, size_t size) {
  if (!data) return std::nullopt;
  Reader in(static_cast<const BYTE*>(data), size);
  DialogTemplate dialog;
  WORD count = 0;
  WORD words[2] = {0, 0};
  if (size >= sizeof words) std::memcpy(words, data, sizeof words);
  dialog.extended = words[1] == kOrdinalMarker;
  if (dialog.extended) {
    DLGTEMPLATEEX fixed;
    if (!in.Read(&fixed) || fixed.dlgVer != 1) return std::nullopt;
    dialog.helpId = fixed.helpID;
    dialog.exStyle = fixed.exStyle;
    dialog.style = fixed.style;
    count = fixed.cDlgItems;
    dialog.x = fixed.x, dialog.y = fixed.y, dialog.cx = fixed.cx, dialog.cy = fixed.cy;
  } else {
    DLGTEMPLATE fixed;
    if (!in.Read(&fixed)) return std::nullopt;
    dialog.exStyle = fixed.dwExtendedStyle;
    dialog.style = fixed.style;
    count = fixed.cdit;
    dialog.x = fixed.x, dialog.y = fixed.y, dialog.cx = fixed.cx, dialog.cy = fixed.cy;
  }
  if (!in.ReadNameOrOrdinal(&dialog.menu) || !in.ReadNameOrOrdinal(&dialog.windowClass) ||
      !in.ReadNameOrOrdinal(&dialog.title))
    return std::nullopt;
  if (dialog.HasFont()) {
    if (!in.Read(&dialog.pointSize)) return std::nullopt;
    if (dialog.extended &&
        (!in.Read(&dialog.weight) || !in.Read(&dialog.italic) || !in.Read(&dialog.charset)))
      return std::nullopt;
    if (!in.ReadString(&dialog.typeface)) return std::nullopt;
  }
  // Items are added as they are read: the count is the data's word, and a count that the bytes
  // cannot hold must cost no more than the bytes do.
  for (WORD i = 0; i < count; ++i) {
    DialogItem item;
    if (!ReadItem(&in, dialog.extended, &item)) return std::nullopt;
    dialog.items.push_back(std::move(item));
  }
  return dialog;
}

namespace {

template <class Unit>
std::vector<BYTE> BuildTemplate(const DialogTemplate& dialog) {
  Writer<Unit> out;
  const size_t count = dialog.items.size() > 0xFFFF ? 0xFFFF : dialog.items.size();
  if (dialog.extended) {
    out.Write(DLGTEMPLATEEX{1, kOrdinalMarker, dialog.helpId, dialog.exStyle, dialog.style,
                            static_cast<WORD>(count), dialog.x, dialog.y, dialog.cx, dialog.cy});
  } else {
    out.Write(DLGTEMPLATE{dialog.style, dialog.exStyle, static_cast<WORD>(count), dialog.x, dialog.y,
                          dialog.cx, dialog.cy});
  }
  out.WriteNameOrOrdinal(dialog.menu);
  out.WriteNameOrOrdinal(dialog.windowClass);
  out.WriteNameOrOrdinal(dialog.title);
  if (dialog.HasFont()) {
    out.Write(dialog.pointSize);
    if (dialog.extended) {
      out.Write(dialog.weight);
      out.Write(dialog.italic);
      out.Write(dialog.charset);
    }
    out.WriteString(dialog.typeface);
  }
  for (size_t i = 0; i < count; ++i) {
    const DialogItem& item = dialog.items[i];
    out.AlignToDword();
    if (dialog.extended) {
      out.Write(DLGITEMTEMPLATEEX{item.helpId, item.exStyle, item.style, item.x, item.y, item.cx, item.cy,
                                  item.id});
    } else {
      out.Write(DLGITEMTEMPLATE{item.style, item.exStyle, item.x, item.y, item.cx, item.cy,
                                static_cast<WORD>(item.id)});
    }
    out.WriteNameOrOrdinal(item.windowClass);
    out.WriteNameOrOrdinal(item.title);
    const size_t limit = dialog.extended ? 0xFFFF : 0xFFFF - sizeof(WORD);
    const size_t extra = item.creationData.size() > limit ? limit : item.creationData.size();
    if (dialog.extended)
      out.Write(static_cast<WORD>(extra));
    else
      out.Write(static_cast<WORD>(extra == 0 ? 0 : extra + sizeof(WORD)));
    out.bytes().insert(out.bytes().end(), item.creationData.begin(), item.creationData.begin() + extra);
  }
  return std::move(out.bytes());
}

}  // namespace

std::vector<BYTE> BuildDialogTemplate(const DialogTemplate& dialog) {
  return BuildTemplate<WCHAR>(dialog);
}

std::vector<BYTE> BuildDialogTemplateUtf16(const DialogTemplate& dialog) {
  return BuildTemplate<char16_t>(dialog);
}

std::vector<BYTE> BuildDialogTemplateEx(const DialogTemplate& dialog) {
  DialogTemplate extended = dialog;
  extended.extended = true;
  return BuildDialogTemplate(extended);
}

// ---------------------------------------------------------------------------------------
// Dialog-init data

DialogInitData ParseDialogInit(const void* data, size_t size) {
  DialogInitData result;
  if (!data) return result;
  Reader in(static_cast<const BYTE*>(data), size);
  for (;;) {
    DialogInitEntry entry;
    DWORD length;
    if (!in.Read(&entry.controlId)) return result;
    if (entry.controlId == 0) {
      result.complete = true;
      return result;
    }
    if (!in.Read(&entry.message) || !in.Read(&length) || !in.ReadBytes(length, &entry.data)) return result;
    result.entries.push_back(std::move(entry));
  }
}

std::vector<BYTE> BuildDialogInit(const std::vector<DialogInitEntry>& entries) {
  Writer<WCHAR> out;
  for (const auto& entry : entries) {
    if (entry.controlId == 0) continue;
    out.Write(entry.controlId);
    out.Write(entry.message);
    out.Write(static_cast<DWORD>(entry.data.size()));
    out.bytes().insert(out.bytes().end(), entry.data.begin(), entry.data.end());
  }
  out.Write(static_cast<WORD>(0));
  return std::move(out.bytes());
}

}  // namespace platform::dialogs
