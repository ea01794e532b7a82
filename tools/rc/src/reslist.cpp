// reslist module SECTION.bin | reslist decompiled FILE.rc [--typelib-out FILE]
// reslist typelib DESCRIPTION.tld COMPILED.tlb [OTHER.tld]...
//
// Lists a module's resources in one canonical text, so that two encodings of them can be
// compared line by line: the resource blob of a module of this build (its ".rsrc" section, as
// objcopy extracts it), or the resource script that the toolchain's resource tool writes when
// it decompiles a platform resource file (windres -O rc). Dialogs are listed field by field,
// strings one by one, every other resource as its bytes. A type library's bytes differ
// between the two builds by design (the project's description here, the platform's format
// there), so it is listed by name alone; --typelib-out writes the decompiled one's bytes for a
// comparison of their own.
//
// The typelib mode checks a library compiled in the platform's format against the description it
// was generated from: every name, help string and GUID of the description is in it (an import
// the compiler needed nothing from leaves no trace, so imports are not checked), and no
// interface of the other descriptions (the libraries it imports) has been copied into it.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>

#include "dlgtemplate.h"
#include "rc_compiler.h"
#include "tokens.h"
#include "unicode.h"

namespace {

using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;
using platform::resources::ResourceId;

constexpr WORD kDialogType = 5;
constexpr WORD kStringType = 6;
constexpr WORD kStatic = 0x82, kButton = 0x80, kEdit = 0x81, kListBox = 0x83, kScrollBar = 0x84,
               kComboBox = 0x85;

std::string Hex(DWORD value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08x", value);
  return text;
}

// A text as UTF-8 in quotes, control characters and quotes escaped; surrogate pairs (the
// platform's 16-bit units) and whole code points read the same.
std::string Quoted(const std::wstring& text) {
  std::string out = "\"";
  for (char c : platform::Utf8FromWide(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02x", byte);
      out += escape;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string IdText(const ResourceId& id) {
  if (id.isOrdinal) return std::to_string(id.ordinal);
  std::wstring upper = id.text;
  for (auto& c : upper) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return Quoted(upper);
}

std::string Field(const NameOrOrdinal& field) {
  return field.isOrdinal ? "#" + std::to_string(field.ordinal) : Quoted(field.text);
}

std::string Rect(short x, short y, short cx, short cy) {
  return std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(cx) + "," + std::to_string(cy);
}

std::string Bytes(const std::vector<BYTE>& data) {
  std::string out;
  char byte[4];
  for (size_t i = 0; i < data.size(); ++i) {
    std::snprintf(byte, sizeof byte, "%02x", data[i]);
    out += (i % 32 == 0 ? "\n    " : " ") + std::string(byte);
  }
  return out;
}

// The listing: one entry per resource (strings: per string), sorted, so that the order in
// which either side holds them does not matter.
class Listing {
 public:
  void Dialog(WORD language, const ResourceId& name, const DialogTemplate& d) {
    std::string out = "dialog " + IdText(name) + Language(language) + "\n";
    out += "  " + std::string(d.extended ? "DIALOGEX" : "DIALOG") + " help " + std::to_string(d.helpId) +
           " style " + Hex(d.style) + " exstyle " + Hex(d.exStyle) + " rect " + Rect(d.x, d.y, d.cx, d.cy) +
           "\n";
    out += "  menu " + Field(d.menu) + " class " + Field(d.windowClass) + " caption " + Field(d.title) + "\n";
    if (d.HasFont())
      out += "  font " + std::to_string(d.pointSize) + " weight " + std::to_string(d.weight) + " italic " +
             std::to_string(d.italic) + " charset " + std::to_string(d.charset) + " " + Quoted(d.typeface) +
             "\n";
    for (const DialogItem& item : d.items)
      out += "  item " + std::to_string(static_cast<int32_t>(item.id)) + " class " + Field(item.windowClass) +
             " style " + Hex(item.style) + " exstyle " + Hex(item.exStyle) + " help " +
             std::to_string(item.helpId) + " rect " + Rect(item.x, item.y, item.cx, item.cy) + " text " +
             Field(item.title) + (item.creationData.empty() ? "" : " data" + Bytes(item.creationData)) + "\n";
    entries_.push_back(out);
  }

  void String(WORD language, WORD id, const std::wstring& text) {
    entries_.push_back("string " + std::to_string(id) + Language(language) + " " + Quoted(text) + "\n");
  }

  void Data(WORD language, const ResourceId& type, const ResourceId& name, const std::vector<BYTE>& data) {
    const std::string head = "data " + IdText(type) + " " + IdText(name) + Language(language);
    if (IsTypeLibrary(type))
      entries_.push_back(head + " (type library)\n");
    else
      entries_.push_back(head + " " + std::to_string(data.size()) + " bytes" + Bytes(data) + "\n");
  }

  static bool IsTypeLibrary(const ResourceId& type) {
    return !type.isOrdinal && IdText(type) == "\"TYPELIB\"";
  }

  std::string Text() {
    std::sort(entries_.begin(), entries_.end());
    std::string out;
    for (const auto& entry : entries_) out += entry;
    return out;
  }

 private:
  static std::string Language(WORD language) {
    char text[16];
    std::snprintf(text, sizeof text, " language %04x", language);
    return text;
  }

  std::vector<std::string> entries_;
};

// ---------------------------------------------------------------------------------------
// A module's resource blob

bool ListModule(const std::string& bytes, Listing* listing) {
  std::vector<DWORD> storage((bytes.size() + 3) / 4);
  std::memcpy(storage.data(), bytes.data(), bytes.size());
  const auto found =
      platform::resources::ParseResourceBlob(reinterpret_cast<const BYTE*>(storage.data()), bytes.size());
  if (!found) return false;
  for (const auto& resource : *found) {
    const std::vector<BYTE> data(resource.data, resource.data + resource.size);
    if (resource.type == ResourceId::Ordinal(kDialogType)) {
      const auto dialog = platform::dialogs::ParseDialogTemplate(resource.data, resource.size);
      if (!dialog) return false;
      listing->Dialog(resource.language, resource.name, *dialog);
    } else if (resource.type == ResourceId::Ordinal(kStringType) && resource.name.isOrdinal) {
      // 16 strings: u16 length, u16 padding, the WCHAR units (platform/resource_format.h).
      size_t at = 0;
      for (int i = 0; i < 16; ++i) {
        WORD length = 0;
        if (resource.size - at < 4) return false;
        std::memcpy(&length, resource.data + at, sizeof length);
        at += 4;
        if ((resource.size - at) / sizeof(WCHAR) < length) return false;
        std::wstring text(length, L'\0');
        std::memcpy(text.data(), resource.data + at, length * sizeof(WCHAR));
        at += length * sizeof(WCHAR);
        if (length)
          listing->String(resource.language, static_cast<WORD>((resource.name.ordinal - 1) * 16 + i), text);
      }
    } else {
      listing->Data(resource.language, resource.type, resource.name, data);
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------
// A decompiled resource script, in the dialect the toolchain's tool writes: every style is
// written whole, raw data as DWORDs ("0x...L"), WORDs and strings of bytes.

using rc::Token;
using rc::TokenCursor;
using rc::TokenKind;

struct Decompiled {
  TokenCursor in;
  Listing* listing;
  WORD language = 0;
  std::vector<BYTE> typeLibrary;
};

ResourceId ReadId(TokenCursor& in) {
  if (in.Peek().kind == TokenKind::kString) return ResourceId::Text(in.Next().value);
  return ResourceId::Ordinal(static_cast<WORD>(in.Expression()));
}

void SkipMemoryOptions(TokenCursor& in) {
  while (in.TakeKeyword("MOVEABLE") || in.TakeKeyword("PURE") || in.TakeKeyword("DISCARDABLE") ||
         in.TakeKeyword("FIXED") || in.TakeKeyword("IMPURE") || in.TakeKeyword("PRELOAD") ||
         in.TakeKeyword("LOADONCALL")) {
  }
}

// Text: a narrow string's characters are bytes, as the tool writes them; a wide one's are
// 16-bit units.
NameOrOrdinal ReadText(TokenCursor& in) {
  if (in.Peek().kind == TokenKind::kString) return NameOrOrdinal::Text(in.String("a text"));
  return NameOrOrdinal::Ordinal(static_cast<WORD>(in.Expression()));
}

struct Keyword {
  const char* name;
  WORD windowClass;
  bool text;
};
constexpr Keyword kKeywords[] = {
    {"LTEXT", kStatic, true},       {"RTEXT", kStatic, true},           {"CTEXT", kStatic, true},
    {"ICON", kStatic, true},        {"PUSHBUTTON", kButton, true},      {"DEFPUSHBUTTON", kButton, true},
    {"PUSHBOX", kButton, true},     {"CHECKBOX", kButton, true},        {"AUTOCHECKBOX", kButton, true},
    {"RADIOBUTTON", kButton, true}, {"AUTORADIOBUTTON", kButton, true}, {"STATE3", kButton, true},
    {"AUTO3STATE", kButton, true},  {"GROUPBOX", kButton, true},        {"EDITTEXT", kEdit, false},
    {"COMBOBOX", kComboBox, false}, {"LISTBOX", kListBox, false},       {"SCROLLBAR", kScrollBar, false},
};

short Short(TokenCursor& in) {
  in.TakePunct(",");
  return static_cast<short>(in.Expression());
}

DWORD Dword(TokenCursor& in) {
  in.TakePunct(",");
  return static_cast<DWORD>(in.Expression());
}

std::vector<BYTE> ReadRawData(TokenCursor& in) {
  in.ExpectBegin();
  std::vector<BYTE> data;
  while (!in.TakeEnd()) {
    if (in.AtEnd()) in.Fail(in.Peek(), "data without END");
    const Token& token = in.Peek();
    if (token.kind == TokenKind::kString) {
      const bool wide = token.wide;
      for (wchar_t c : in.Next().value) {
        data.push_back(static_cast<BYTE>(c & 0xFF));
        if (wide) data.push_back(static_cast<BYTE>((c >> 8) & 0xFF));
      }
    } else {
      const bool isLong = token.longNumber;
      const auto value = static_cast<uint32_t>(in.Expression());
      for (int i = 0; i < (isLong ? 4 : 2); ++i) data.push_back(static_cast<BYTE>(value >> (8 * i)));
    }
    in.TakePunct(",");
  }
  return data;
}

DialogItem ReadItem(TokenCursor& in) {
  DialogItem item;
  const Token& keyword = in.Next();
  if (keyword.IsKeyword("CONTROL")) {
    item.title = ReadText(in);
    item.id = Dword(in);
    in.TakePunct(",");
    item.windowClass = in.Peek().kind == TokenKind::kString
                           ? NameOrOrdinal::Text(in.String("a class"))
                           : NameOrOrdinal::Ordinal(static_cast<WORD>(in.Expression()));
    item.style = Dword(in);
    item.x = Short(in), item.y = Short(in), item.cx = Short(in), item.cy = Short(in);
  } else {
    const Keyword* kind = nullptr;
    for (const auto& candidate : kKeywords)
      if (keyword.IsKeyword(candidate.name)) kind = &candidate;
    if (!kind) in.Fail(keyword, "unknown control statement '" + keyword.text + "'");
    item.windowClass = NameOrOrdinal::Ordinal(kind->windowClass);
    if (kind->text) {
      item.title = ReadText(in);
      in.TakePunct(",");
    }
    item.id = static_cast<DWORD>(in.Expression());
    item.x = Short(in), item.y = Short(in), item.cx = Short(in), item.cy = Short(in);
    if (in.Peek().IsPunct(",")) item.style = Dword(in);
  }
  if (in.Peek().IsPunct(",")) item.exStyle = Dword(in);
  if (in.Peek().IsPunct(",")) item.helpId = Dword(in);
  if (in.Peek().IsKeyword("BEGIN") || in.Peek().IsPunct("{")) item.creationData = ReadRawData(in);
  return item;
}

DialogTemplate ReadDialog(TokenCursor& in, bool extended) {
  DialogTemplate d;
  d.extended = extended;
  SkipMemoryOptions(in);
  d.x = static_cast<short>(in.Expression());
  d.y = Short(in), d.cx = Short(in), d.cy = Short(in);
  if (in.Peek().IsPunct(",")) d.helpId = Dword(in);
  for (;;) {
    if (in.TakeKeyword("STYLE")) {
      d.style = static_cast<DWORD>(in.Expression());
    } else if (in.TakeKeyword("EXSTYLE")) {
      d.exStyle = static_cast<DWORD>(in.Expression());
    } else if (in.TakeKeyword("CAPTION")) {
      d.title = NameOrOrdinal::Text(in.String("the caption"));
    } else if (in.TakeKeyword("CLASS")) {
      d.windowClass = ReadText(in);
    } else if (in.TakeKeyword("MENU")) {
      d.menu = ReadText(in);
    } else if (in.TakeKeyword("FONT")) {
      d.pointSize = static_cast<WORD>(in.Expression());
      in.TakePunct(",");
      d.typeface = in.String("the typeface");
      // The tool leaves out the defaults: weight 0, not italic, DEFAULT_CHARSET.
      d.charset = 1;
      if (in.Peek().IsPunct(",")) {
        d.weight = static_cast<WORD>(Dword(in));
        d.italic = static_cast<BYTE>(Dword(in));
        d.charset = static_cast<BYTE>(Dword(in));
      }
    } else if (in.TakeKeyword("CHARACTERISTICS") || in.TakeKeyword("VERSION")) {
      in.Expression();
    } else {
      break;
    }
  }
  in.ExpectBegin();
  while (!in.TakeEnd()) {
    if (in.AtEnd()) in.Fail(in.Peek(), "dialog without END");
    d.items.push_back(ReadItem(in));
  }
  return d;
}

void ListDecompiled(Decompiled& s) {
  TokenCursor& in = s.in;
  while (!in.AtEnd()) {
    if (in.TakeKeyword("LANGUAGE")) {
      const auto primary = in.Expression();
      in.TakePunct(",");
      const auto sub = in.Expression();
      s.language = static_cast<WORD>((sub << 10) | primary);
      continue;
    }
    if (in.TakeKeyword("STRINGTABLE")) {
      SkipMemoryOptions(in);
      in.ExpectBegin();
      while (!in.TakeEnd()) {
        if (in.AtEnd()) in.Fail(in.Peek(), "STRINGTABLE without END");
        const auto id = static_cast<WORD>(in.Expression());
        in.TakePunct(",");
        s.listing->String(s.language, id, in.String("a string"));
      }
      continue;
    }
    const ResourceId name = ReadId(in);
    if (in.TakeKeyword("DIALOGEX")) {
      s.listing->Dialog(s.language, name, ReadDialog(in, true));
    } else if (in.TakeKeyword("DIALOG")) {
      s.listing->Dialog(s.language, name, ReadDialog(in, false));
    } else {
      const ResourceId type = ReadId(in);
      SkipMemoryOptions(in);
      const std::vector<BYTE> data = ReadRawData(in);
      if (Listing::IsTypeLibrary(type)) s.typeLibrary = data;
      s.listing->Data(s.language, type, name, data);
    }
  }
}

std::optional<std::string> ReadFile(const std::string& path) {
  return rc::ReadHostFile(path);
}

std::string GuidBytes(const GUID& guid) {
  return std::string(reinterpret_cast<const char*>(&guid), sizeof guid);
}

std::optional<platform::typelib::LibraryDescription> ReadDescription(const std::string& path) {
  const auto text = ReadFile(path);
  std::string error;
  auto library = text ? platform::typelib::ParseDescription(*text, &error) : std::nullopt;
  if (!library) std::cerr << "reslist: " << path << ": not a type-library description " << error << "\n";
  return library;
}

// The faults of the compiled library against its description, one a line.
std::string CheckTypeLibrary(const platform::typelib::LibraryDescription& library,
                             const std::string& compiled,
                             const std::vector<platform::typelib::LibraryDescription>& others) {
  std::string faults;
  const auto expect = [&](const std::string& what, const std::string& bytes) {
    if (compiled.find(bytes) == std::string::npos) faults += "missing " + what + "\n";
  };
  const auto expectText = [&](const std::wstring& text) {
    if (!text.empty()) expect("\"" + platform::Utf8FromWide(text) + "\"", platform::Utf8FromWide(text));
  };
  expectText(library.name);
  expectText(library.help);
  expect("the library's GUID", GuidBytes(library.libid));
  for (const auto& type : library.types) {
    expectText(type.name);
    expectText(type.help);
    expect("the GUID of " + platform::Utf8FromWide(type.name), GuidBytes(type.guid));
    for (const auto& method : type.methods) expectText(method.name);
  }
  for (const auto& other : others)
    for (const auto& type : other.types)
      if (compiled.find(GuidBytes(type.guid)) != std::string::npos)
        faults +=
            "holds " + platform::Utf8FromWide(type.name) + " of " + platform::Utf8FromWide(other.name) + "\n";
  return faults;
}

int CheckTypeLibraryFiles(int argc, char** argv) {
  const auto library = ReadDescription(argv[2]);
  const auto compiled = ReadFile(argv[3]);
  if (!library || !compiled) return 1;
  std::vector<platform::typelib::LibraryDescription> others;
  for (int i = 4; i < argc; ++i) {
    auto other = ReadDescription(argv[i]);
    if (!other) return 1;
    others.push_back(std::move(*other));
  }
  const std::string faults = CheckTypeLibrary(*library, *compiled, others);
  if (faults.empty()) return 0;
  std::cerr << argv[3] << " does not agree with " << argv[2] << ":\n" << faults;
  return 1;
}

int Usage() {
  std::cerr << "usage: reslist module SECTION.bin | reslist decompiled FILE.rc [--typelib-out FILE]\n"
               "       reslist typelib DESCRIPTION.tld COMPILED.tlb [OTHER.tld]...\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) return Usage();
  const std::string mode = argv[1], path = argv[2];
  if (mode == "typelib") return argc >= 4 ? CheckTypeLibraryFiles(argc, argv) : Usage();
  Listing listing;
  try {
    if (mode == "module" && argc == 3) {
      const auto bytes = ReadFile(path);
      if (!bytes || !ListModule(*bytes, &listing)) {
        std::cerr << "reslist: " << path << ": not a readable resource blob\n";
        return 1;
      }
    } else if (mode == "decompiled" &&
               (argc == 3 || (argc == 5 && std::string(argv[3]) == "--typelib-out"))) {
      std::vector<std::string> dependencies;
      Decompiled script{
          TokenCursor(rc::Preprocess(path, {}, rc::ReadHostFile, &dependencies)), &listing, 0, {}};
      ListDecompiled(script);
      if (argc == 5) {
        std::ofstream out(argv[4], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(script.typeLibrary.data()),
                  static_cast<std::streamsize>(script.typeLibrary.size()));
        if (!out.flush()) {
          std::cerr << "reslist: cannot write " << argv[4] << "\n";
          return 2;
        }
      }
    } else {
      return Usage();
    }
  } catch (const std::exception& error) {
    std::cerr << "reslist: " << error.what() << "\n";
    return 1;
  }
  std::cout << listing.Text();
  return 0;
}
