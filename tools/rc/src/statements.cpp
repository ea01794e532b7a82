// The resource statements of a script: one parser per kind, found by the keyword after the
// resource's name (DIALOGEX, DIALOG, RCDATA, user-defined types), plus the statements without
// a name (LANGUAGE, STRINGTABLE). A new kind (REGISTRY, TYPELIB) is one more entry in
// kResourceKinds.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <functional>
#include <map>
#include <set>
#include <sstream>
#include <tuple>

#include <platform/typelib_format.h>

#include "dlgtemplate.h"
#include "tokens.h"
#include "platform/utf16.h"
#include "unicode.h"

namespace rc {

namespace {

using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;
using platform::resources::ResourceId;
using platform::resources::ResourceItem;

constexpr WORD kDialogType = 5;
constexpr WORD kStringType = 6;
constexpr WORD kRcDataType = 10;
constexpr WORD kDialogInitType = 240;

constexpr DWORD WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000,
                WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000,
                WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000;
constexpr DWORD DS_SETFONT = 0x40;
constexpr WORD kButton = 0x80, kEdit = 0x81, kStatic = 0x82, kListBox = 0x83, kScrollBar = 0x84,
               kComboBox = 0x85;

std::string Upper(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return text;
}

struct Compiler;
using StatementParser = void (*)(Compiler&, const ResourceId& name, WORD language);

struct Compiler {
  TokenCursor in;
  const Options& options;
  const FileReader& reader;
  std::string scriptPath;
  CompileResult result;
  WORD language;
  // Strings by (language, id), collected over every STRINGTABLE and written as blocks.
  std::map<std::pair<WORD, WORD>, std::wstring> strings;
  std::set<std::tuple<bool, WORD, std::wstring, bool, WORD, std::wstring, WORD>> seen;

  Compiler(std::vector<Token> tokens, const Options& o, const FileReader& r, std::string path)
      : in(std::move(tokens)), options(o), reader(r), scriptPath(std::move(path)), language(o.language) {}

  bool ForPlatform() const { return options.target == Target::kPlatform; }

  // A text in the target's units: WCHAR for this build's modules, 16 bits for the platform's.
  std::vector<BYTE> TextUnits(const std::wstring& text) const {
    std::vector<BYTE> bytes;
    if (ForPlatform()) {
      const std::u16string units = platform::Utf16FromWide(text);
      bytes.resize(units.size() * sizeof(char16_t));
      if (!units.empty()) std::memcpy(bytes.data(), units.data(), bytes.size());
    } else {
      bytes.resize(text.size() * sizeof(WCHAR));
      if (!text.empty()) std::memcpy(bytes.data(), text.data(), bytes.size());
    }
    return bytes;
  }

  void Add(const Token& at, ResourceId type, ResourceId name, WORD lang, std::vector<BYTE> data) {
    const auto key = std::make_tuple(type.isOrdinal, type.ordinal, type.text, name.isOrdinal, name.ordinal,
                                     name.text, lang);
    if (!seen.insert(key).second) in.Fail(at, "duplicate resource");
    result.resources.push_back({std::move(type), std::move(name), lang, std::move(data)});
  }
};

// LANGUAGE primary, sub
WORD ParseLanguage(TokenCursor& in) {
  const auto primary = in.Ranged(0, 0x3FF, "primary language");
  in.ExpectPunct(",", "between the primary language and the sublanguage");
  const auto sub = in.Ranged(0, 0x3F, "sublanguage");
  return static_cast<WORD>((sub << 10) | primary);
}

// Options between a resource's header and its BEGIN that this compiler takes and ignores.
bool SkipCommonOption(Compiler& c, WORD* language) {
  if (c.in.TakeKeyword("LANGUAGE")) {
    *language = ParseLanguage(c.in);
    return true;
  }
  if (c.in.TakeKeyword("CHARACTERISTICS") || c.in.TakeKeyword("VERSION")) {
    c.in.Expression();
    return true;
  }
  return false;
}

// A resource name or type: a number (or an expression), a string, or an identifier naming
// no macro, which is a string name in upper case.
ResourceId ParseId(TokenCursor& in, const char* what) {
  const Token& token = in.Peek();
  if (token.kind == TokenKind::kString) return ResourceId::Text(in.Next().value);
  if (token.kind == TokenKind::kIdentifier && !LookupConstant(token.text)) {
    const std::string text = in.Next().text;
    return ResourceId::Text(std::wstring(text.begin(), text.end()));
  }
  if (!in.PeekStartsExpression()) in.Fail(token, std::string("expected ") + what);
  return ResourceId::Ordinal(static_cast<WORD>(in.Ranged(0, 0xFFFF, what)));
}

// ---------------------------------------------------------------------------------------
// STRINGTABLE [options] BEGIN id [,] "text" ... END

void ParseStringTable(Compiler& c) {
  WORD language = c.language;
  while (SkipCommonOption(c, &language)) {
  }
  c.in.ExpectBegin();
  while (!c.in.TakeEnd()) {
    if (c.in.AtEnd()) c.in.Fail(c.in.Peek(), "STRINGTABLE without END");
    const Token& at = c.in.Peek();
    const auto id = static_cast<WORD>(c.in.Ranged(0, 0xFFFF, "string id"));
    c.in.TakePunct(",");
    std::wstring text = c.in.String("the string's text");
    if (text.size() > 0xFFFF || (c.ForPlatform() && platform::Utf16FromWide(text).size() > 0xFFFF))
      c.in.Fail(at, "string longer than 65535 characters");
    if (!c.strings.emplace(std::make_pair(language, id), std::move(text)).second)
      c.in.Fail(at, "duplicate string id " + std::to_string(id));
  }
}

// Blocks of 16. For this build's modules each string is u16 length, u16 0, the text in WCHAR
// units (see platform/resource_format.h); for the platform's, u16 length, then the text in
// 16-bit units, the length counting those units.
void WriteStringBlocks(Compiler& c) {
  std::map<std::pair<WORD, WORD>, std::vector<const std::wstring*>> blocks;  // (language, block)
  for (const auto& [key, text] : c.strings) {
    auto& block = blocks[{key.first, static_cast<WORD>(key.second / 16 + 1)}];
    block.resize(16, nullptr);
    block[key.second % 16] = &text;
  }
  for (const auto& [key, block] : blocks) {
    std::vector<BYTE> data;
    for (const std::wstring* text : block) {
      const std::vector<BYTE> units = text ? c.TextUnits(*text) : std::vector<BYTE>{};
      const WORD length =
          static_cast<WORD>(units.size() / (c.ForPlatform() ? sizeof(char16_t) : sizeof(WCHAR)));
      const WORD padding = 0;
      const size_t at = data.size();
      data.resize(at + sizeof length);
      std::memcpy(data.data() + at, &length, sizeof length);
      if (!c.ForPlatform()) {
        data.resize(at + sizeof length + sizeof padding);
        std::memcpy(data.data() + at + sizeof length, &padding, sizeof padding);
      }
      data.insert(data.end(), units.begin(), units.end());
    }
    c.result.resources.push_back(
        {ResourceId::Ordinal(kStringType), ResourceId::Ordinal(key.second), key.first, data});
  }
}

// ---------------------------------------------------------------------------------------
// Dialogs

enum class Form {
  kText,     // KEYWORD text, id, x, y, cx, cy [, style [, exstyle [, helpid]]]
  kNoText,   // KEYWORD id, x, y, cx, cy [, style [, exstyle [, helpid]]]
  kIcon,     // ICON text, id, x, y [, cx, cy [, style [, exstyle [, helpid]]]]
  kControl,  // CONTROL text, id, class, style, x, y, cx, cy [, exstyle [, helpid]]
};

struct ControlKind {
  const char* keyword;
  Form form;
  WORD windowClass;
  DWORD style;  // besides WS_CHILD | WS_VISIBLE
};

// The control statements and the styles the platform's compiler gives them.
constexpr ControlKind kControls[] = {
    {"LTEXT", Form::kText, kStatic, 0x0000 | WS_GROUP},                   // SS_LEFT
    {"RTEXT", Form::kText, kStatic, 0x0002 | WS_GROUP},                   // SS_RIGHT
    {"CTEXT", Form::kText, kStatic, 0x0001 | WS_GROUP},                   // SS_CENTER
    {"PUSHBUTTON", Form::kText, kButton, 0x0000 | WS_TABSTOP},            // BS_PUSHBUTTON
    {"DEFPUSHBUTTON", Form::kText, kButton, 0x0001 | WS_TABSTOP},         // BS_DEFPUSHBUTTON
    {"PUSHBOX", Form::kText, kButton, 0x000A | WS_TABSTOP},               // BS_PUSHBOX
    {"CHECKBOX", Form::kText, kButton, 0x0002 | WS_TABSTOP},              // BS_CHECKBOX
    {"AUTOCHECKBOX", Form::kText, kButton, 0x0003 | WS_TABSTOP},          // BS_AUTOCHECKBOX
    {"RADIOBUTTON", Form::kText, kButton, 0x0004 | WS_TABSTOP},           // BS_RADIOBUTTON
    {"AUTORADIOBUTTON", Form::kText, kButton, 0x0009 | WS_TABSTOP},       // BS_AUTORADIOBUTTON
    {"STATE3", Form::kText, kButton, 0x0005 | WS_TABSTOP},                // BS_3STATE
    {"AUTO3STATE", Form::kText, kButton, 0x0006 | WS_TABSTOP},            // BS_AUTO3STATE
    {"GROUPBOX", Form::kText, kButton, 0x0007},                           // BS_GROUPBOX
    {"EDITTEXT", Form::kNoText, kEdit, 0x0000 | WS_BORDER | WS_TABSTOP},  // ES_LEFT
    {"COMBOBOX", Form::kNoText, kComboBox, 0x0001 | WS_TABSTOP},          // CBS_SIMPLE
    {"LISTBOX", Form::kNoText, kListBox, 0x0001 | WS_BORDER},             // LBS_NOTIFY
    {"SCROLLBAR", Form::kNoText, kScrollBar, 0x0000},                     // SBS_HORZ
    {"ICON", Form::kIcon, kStatic, 0x0003},                               // SS_ICON
    {"CONTROL", Form::kControl, 0, 0},
};

// The predefined classes by name, for CONTROL.
constexpr std::pair<const char*, WORD> kClassNames[] = {{"BUTTON", kButton},       {"EDIT", kEdit},
                                                        {"STATIC", kStatic},       {"LISTBOX", kListBox},
                                                        {"SCROLLBAR", kScrollBar}, {"COMBOBOX", kComboBox}};

std::optional<WORD> PredefinedClass(const std::string& name) {
  for (const auto& [className, ordinal] : kClassNames)
    if (Upper(name) == className) return ordinal;
  return std::nullopt;
}

std::string Utf8(const std::wstring& text) {
  return platform::Utf8FromWide(text);
}

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c < 0x80 ? c : '?');
  return out;
}

short Coordinate(TokenCursor& in, const char* what) {
  return static_cast<short>(in.Ranged(-32768, 32767, what));
}

void Comma(TokenCursor& in, const char* before) {
  in.ExpectPunct(",", (std::string("before the ") + before).c_str());
}

// A control's text: a string, or a number (an ordinal, e.g. an icon's resource id).
NameOrOrdinal ControlText(TokenCursor& in) {
  if (in.Peek().kind == TokenKind::kString) return NameOrOrdinal::Text(in.String("the control's text"));
  const Token& token = in.Peek();
  if (token.kind == TokenKind::kIdentifier && !LookupConstant(token.text)) {
    in.Next();
    return NameOrOrdinal::Text(std::wstring(token.text.begin(), token.text.end()));
  }
  return NameOrOrdinal::Ordinal(static_cast<WORD>(in.Ranged(0, 0xFFFF, "control text ordinal")));
}

NameOrOrdinal ControlClass(TokenCursor& in) {
  const Token& token = in.Peek();
  if (token.kind == TokenKind::kString) {
    const std::wstring name = in.String("the control's class");
    if (auto ordinal = PredefinedClass(Narrow(name))) return NameOrOrdinal::Ordinal(*ordinal);
    return NameOrOrdinal::Text(name);
  }
  if (token.kind == TokenKind::kIdentifier) {
    if (auto ordinal = PredefinedClass(token.text)) {
      in.Next();
      return NameOrOrdinal::Ordinal(*ordinal);
    }
    in.Fail(token, "unknown control class '" + token.text + "' (give other classes as a string)");
  }
  return NameOrOrdinal::Ordinal(static_cast<WORD>(in.Ranged(0, 0xFFFF, "class ordinal")));
}

// Optional raw data after a control: BEGIN words/strings END.
std::vector<BYTE> ParseRawData(Compiler& c);

DialogItem ParseControl(Compiler& c, const ControlKind& kind, bool extended) {
  TokenCursor& in = c.in;
  DialogItem item;
  item.style = WS_CHILD | WS_VISIBLE | kind.style;
  item.windowClass = NameOrOrdinal::Ordinal(kind.windowClass);
  const auto id = [&] {
    const int64_t value =
        extended ? in.Ranged(INT32_MIN, UINT32_MAX, "control id") : in.Ranged(-32768, 0xFFFF, "control id");
    item.id = extended ? static_cast<DWORD>(value) : static_cast<WORD>(value);
  };
  if (kind.form != Form::kNoText) {
    item.title = ControlText(in);
    Comma(in, "control id");
  }
  id();
  if (kind.form == Form::kControl) {
    Comma(in, "control class");
    item.windowClass = ControlClass(in);
    Comma(in, "control style");
    item.style = in.StyleList(item.style);
  }
  Comma(in, "x coordinate");
  item.x = Coordinate(in, "x");
  Comma(in, "y coordinate");
  item.y = Coordinate(in, "y");
  const bool sizeOptional = kind.form == Form::kIcon;
  if (!sizeOptional || in.Peek().IsPunct(",")) {
    Comma(in, "width");
    item.cx = Coordinate(in, "width");
    Comma(in, "height");
    item.cy = Coordinate(in, "height");
  }
  if (kind.form != Form::kControl && in.TakePunct(",")) item.style = in.StyleList(item.style);
  if (in.TakePunct(",")) item.exStyle = in.StyleList(0);
  if (in.TakePunct(",")) {
    if (!extended) in.Fail(in.Peek(), "a help id needs DIALOGEX");
    item.helpId = static_cast<DWORD>(in.Expression());
  }
  if (extended && (in.Peek().IsKeyword("BEGIN") || in.Peek().IsPunct("{")))
    item.creationData = ParseRawData(c);
  return item;
}

void ParseDialog(Compiler& c, const ResourceId& name, WORD language, bool extended) {
  TokenCursor& in = c.in;
  const Token& at = in.Peek();
  DialogTemplate dialog;
  dialog.extended = extended;
  dialog.x = Coordinate(in, "x");
  Comma(in, "y coordinate");
  dialog.y = Coordinate(in, "y");
  Comma(in, "width");
  dialog.cx = Coordinate(in, "width");
  Comma(in, "height");
  dialog.cy = Coordinate(in, "height");
  if (extended && in.TakePunct(",")) dialog.helpId = static_cast<DWORD>(in.Expression());
  bool styleGiven = false;
  bool captionGiven = false;
  DWORD style = 0;
  for (;;) {
    if (SkipCommonOption(c, &language)) continue;
    if (in.TakeKeyword("STYLE")) {
      style = in.StyleList(0);
      styleGiven = true;
    } else if (in.TakeKeyword("EXSTYLE")) {
      dialog.exStyle = in.StyleList(0);
    } else if (in.TakeKeyword("CAPTION")) {
      dialog.title = NameOrOrdinal::Text(in.String("the caption"));
      captionGiven = true;
    } else if (in.TakeKeyword("FONT")) {
      dialog.pointSize = static_cast<WORD>(in.Ranged(0, 0xFFFF, "point size"));
      Comma(in, "typeface");
      dialog.typeface = in.String("the typeface");
      // Omitted values: weight FW_DONTCARE (0), not italic, DEFAULT_CHARSET (1).
      dialog.charset = 1;
      if (in.TakePunct(",")) dialog.weight = static_cast<WORD>(in.Ranged(0, 1000, "font weight"));
      if (in.TakePunct(",")) dialog.italic = static_cast<BYTE>(in.Ranged(0, 255, "italic flag"));
      if (in.TakePunct(",")) dialog.charset = static_cast<BYTE>(in.Ranged(0, 255, "character set"));
      style |= DS_SETFONT;
    } else if (in.TakeKeyword("CLASS")) {
      dialog.windowClass =
          in.Peek().kind == TokenKind::kString
              ? NameOrOrdinal::Text(in.String("the class"))
              : NameOrOrdinal::Ordinal(static_cast<WORD>(in.Ranged(0, 0xFFFF, "class ordinal")));
    } else if (in.TakeKeyword("MENU")) {
      const ResourceId menu = ParseId(in, "a menu name");
      dialog.menu = menu.isOrdinal ? NameOrOrdinal::Ordinal(menu.ordinal) : NameOrOrdinal::Text(menu.text);
    } else {
      break;
    }
  }
  // Without STYLE the platform's default; a caption brings its bar; a font its flag.
  dialog.style =
      (styleGiven ? style : (WS_POPUP | WS_BORDER | WS_SYSMENU | style)) | (captionGiven ? WS_CAPTION : 0);
  if (!dialog.typeface.empty() || dialog.pointSize) dialog.style |= DS_SETFONT;
  in.ExpectBegin();
  while (!in.TakeEnd()) {
    const Token& keyword = in.Peek();
    if (keyword.kind == TokenKind::kEnd) in.Fail(keyword, "dialog without END");
    const ControlKind* kind = nullptr;
    for (const auto& candidate : kControls)
      if (keyword.IsKeyword(candidate.keyword)) kind = &candidate;
    if (!kind) in.Fail(keyword, "unknown control statement '" + keyword.text + "'");
    in.Next();
    if (dialog.items.size() == 0xFFFF) in.Fail(keyword, "more than 65535 controls");
    dialog.items.push_back(ParseControl(c, *kind, extended));
  }
  c.Add(at, ResourceId::Ordinal(kDialogType), name, language,
        c.ForPlatform() ? platform::dialogs::BuildDialogTemplateUtf16(dialog)
                        : platform::dialogs::BuildDialogTemplate(dialog));
}

void ParseDialogEx(Compiler& c, const ResourceId& name, WORD language) {
  ParseDialog(c, name, language, true);
}
void ParseOldDialog(Compiler& c, const ResourceId& name, WORD language) {
  ParseDialog(c, name, language, false);
}

// ---------------------------------------------------------------------------------------
// Raw data: user-defined types and RCDATA, from a file or a BEGIN ... END block.

std::vector<BYTE> ParseRawData(Compiler& c) {
  TokenCursor& in = c.in;
  in.ExpectBegin();
  std::vector<BYTE> data;
  auto append = [&data](const void* bytes, size_t size) {
    const auto* b = static_cast<const BYTE*>(bytes);
    data.insert(data.end(), b, b + size);
  };
  while (!in.TakeEnd()) {
    const Token& token = in.Peek();
    if (token.kind == TokenKind::kEnd) in.Fail(token, "data without END");
    if (token.kind == TokenKind::kString) {
      // Narrow strings are their UTF-8 bytes, wide ones the target's text units; no terminator
      // is added.
      const bool wide = token.wide;
      const std::wstring text = in.Next().value;
      if (wide) {
        const std::vector<BYTE> units = c.TextUnits(text);
        data.insert(data.end(), units.begin(), units.end());
      } else {
        const std::string bytes = Utf8(text);
        append(bytes.data(), bytes.size());
      }
    } else {
      const bool isLong = token.longNumber;
      const int64_t value = in.Expression();
      if (isLong) {
        const auto dword = static_cast<DWORD>(value);
        append(&dword, sizeof dword);
      } else {
        const auto word = static_cast<WORD>(value);
        append(&word, sizeof word);
      }
    }
    in.TakePunct(",");
  }
  return data;
}

std::optional<std::string> ReadDataFile(Compiler& c, const std::string& name, std::string* found) {
  std::vector<std::string> candidates;
  if (!name.empty() && name[0] == '/') {
    candidates.push_back(name);
  } else {
    const size_t slash = c.scriptPath.rfind('/');
    candidates.push_back(slash == std::string::npos ? name : c.scriptPath.substr(0, slash + 1) + name);
    for (const auto& dir : c.options.includeDirs) candidates.push_back(dir + "/" + name);
  }
  for (const auto& candidate : candidates)
    if (auto bytes = c.reader(candidate)) {
      *found = candidate;
      return bytes;
    }
  return std::nullopt;
}

void ParseUserData(Compiler& c, const ResourceId& type, const ResourceId& name, WORD language) {
  const Token& at = c.in.Peek();
  while (SkipCommonOption(c, &language)) {
  }
  std::vector<BYTE> data;
  if (c.in.Peek().kind == TokenKind::kString) {
    std::string file = Utf8(c.in.String("a file name"));
    std::replace(file.begin(), file.end(), '\\', '/');
    std::string found;
    auto bytes = ReadDataFile(c, file, &found);
    if (!bytes) c.in.Fail(at, "cannot open data file '" + file + "'");
    c.result.dependencies.push_back(found);
    data.assign(bytes->begin(), bytes->end());
  } else {
    data = ParseRawData(c);
  }
  c.Add(at, type, name, language, std::move(data));
}

void ParseRcData(Compiler& c, const ResourceId& name, WORD language) {
  ParseUserData(c, ResourceId::Ordinal(kRcDataType), name, language);
}

// The compiled type library that stands for the description at file (X.tld: X.tlb in the
// folder of compiled libraries) in the platform's images.
std::vector<BYTE> CompiledTypeLibrary(Compiler& c, const Token& at, const std::string& file) {
  const size_t slash = file.rfind('/');
  std::string stem = slash == std::string::npos ? file : file.substr(slash + 1);
  const size_t dot = stem.rfind('.');
  if (dot != std::string::npos) stem.resize(dot);
  if (c.options.typeLibraryDir.empty())
    c.in.Fail(at, "no folder of compiled type libraries for '" + file + "' (give it with -T)");
  const std::string path = c.options.typeLibraryDir + "/" + stem + ".tlb";
  auto bytes = c.reader(path);
  if (!bytes) c.in.Fail(at, "cannot open the compiled type library '" + path + "'");
  c.result.dependencies.push_back(path);
  return std::vector<BYTE>(bytes->begin(), bytes->end());
}

// TYPELIB "file": the project's type-library description, checked and stored in its canonical
// form under the type "TYPELIB" (LoadTypeLib reads it back); for the platform's images, the
// library compiled from it in the platform's format.
void ParseTypeLib(Compiler& c, const ResourceId& name, WORD language) {
  const Token& at = c.in.Peek();
  while (SkipCommonOption(c, &language)) {
  }
  std::string file = Utf8(c.in.String("a type-library description file"));
  std::replace(file.begin(), file.end(), '\\', '/');
  std::string found;
  auto bytes = ReadDataFile(c, file, &found);
  if (!bytes) c.in.Fail(at, "cannot open type-library description '" + file + "'");
  c.result.dependencies.push_back(found);
  std::string error;
  const auto library = platform::typelib::ParseDescription(*bytes, &error);
  if (!library) c.in.Fail(at, "type-library description '" + file + "': " + error);
  if (c.ForPlatform()) {
    c.Add(at, ResourceId::Text(L"TYPELIB"), name, language, CompiledTypeLibrary(c, at, file));
    return;
  }
  const std::string text = platform::typelib::WriteDescription(*library);
  c.Add(at, ResourceId::Text(L"TYPELIB"), name, language, std::vector<BYTE>(text.begin(), text.end()));
}

// DLGINIT [options] BEGIN control-id, message, "text" ... [0] END: dialog-init data in the
// platform's layout (dlgtemplate.h), each text stored in UTF-8 with its terminator. A 0 where
// an entry would start is the end mark the compiler writes anyway; nothing may follow it.
void ParseDialogInitData(Compiler& c, const ResourceId& name, WORD language) {
  TokenCursor& in = c.in;
  const Token& at = in.Peek();
  while (SkipCommonOption(c, &language)) {
  }
  in.ExpectBegin();
  std::vector<platform::dialogs::DialogInitEntry> entries;
  bool ended = false;
  while (!in.TakeEnd()) {
    const Token& entryAt = in.Peek();
    if (entryAt.kind == TokenKind::kEnd) in.Fail(entryAt, "DLGINIT without END");
    if (ended) in.Fail(entryAt, "nothing may follow the 0 that ends the DLGINIT list");
    platform::dialogs::DialogInitEntry entry;
    entry.controlId = static_cast<WORD>(in.Ranged(0, 0xFFFF, "control id"));
    if (entry.controlId == 0) {
      ended = true;
      in.TakePunct(",");
      continue;
    }
    Comma(in, "message");
    entry.message = static_cast<WORD>(in.Ranged(0, 0xFFFF, "message"));
    Comma(in, "text");
    if (in.Peek().kind != TokenKind::kString) in.Fail(in.Peek(), "expected the entry's text");
    const std::string text = Utf8(in.String("the entry's text"));
    if (text.find('\0') != std::string::npos) in.Fail(entryAt, "an entry's text holds a terminator");
    entry.data.assign(text.begin(), text.end());
    entry.data.push_back(0);
    entries.push_back(std::move(entry));
    in.TakePunct(",");
  }
  c.Add(at, ResourceId::Ordinal(kDialogInitType), name, language,
        platform::dialogs::BuildDialogInit(entries));
}

// The resource kinds by keyword. Kinds of the platform not listed here and not in
// kUnsupportedKinds are user-defined types named by their keyword.
struct ResourceKind {
  const char* keyword;
  StatementParser parse;
};
constexpr ResourceKind kResourceKinds[] = {
    {"DIALOGEX", ParseDialogEx}, {"DIALOG", ParseOldDialog},       {"RCDATA", ParseRcData},
    {"TYPELIB", ParseTypeLib},   {"DLGINIT", ParseDialogInitData},
};

constexpr const char* kUnsupportedKinds[] = {
    "ACCELERATORS", "BITMAP",   "CURSOR",       "FONT",      "HTML",        "ICON",
    "MENU",         "MENUEX",   "MESSAGETABLE", "TOOLBAR",   "VERSIONINFO", "DESIGNINFO",
    "TEXTINCLUDE",  "PLUGPLAY", "VXD",          "ANICURSOR", "ANIICON",     "DLGINCLUDE"};

void ParseScript(Compiler& c) {
  TokenCursor& in = c.in;
  while (!in.AtEnd()) {
    if (in.TakeKeyword("LANGUAGE")) {
      c.language = ParseLanguage(in);
      continue;
    }
    if (in.TakeKeyword("STRINGTABLE")) {
      ParseStringTable(c);
      continue;
    }
    const ResourceId name = ParseId(in, "a resource name or statement");
    const Token& kindToken = in.Peek();
    if (kindToken.kind == TokenKind::kIdentifier) {
      for (const auto& kind : kResourceKinds)
        if (kindToken.IsKeyword(kind.keyword)) {
          in.Next();
          kind.parse(c, name, c.language);
          goto next;
        }
      for (const char* kind : kUnsupportedKinds)
        if (kindToken.IsKeyword(kind))
          in.Fail(kindToken, "resource kind " + std::string(kind) + " is not supported");
      in.Next();
      ParseUserData(c, ResourceId::Text(std::wstring(kindToken.text.begin(), kindToken.text.end())), name,
                    c.language);
    } else if (kindToken.kind == TokenKind::kNumber || kindToken.kind == TokenKind::kString) {
      const ResourceId type = ParseId(in, "a resource type");
      if (type.isOrdinal && (type.ordinal == kDialogType || type.ordinal == kStringType))
        in.Fail(kindToken, "write dialogs and strings with their statements");
      ParseUserData(c, type, name, c.language);
    } else {
      in.Fail(kindToken, "expected a resource kind after the resource's name");
    }
  next:;
  }
  WriteStringBlocks(c);
}

}  // namespace

std::optional<std::string> ReadHostFile(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return std::nullopt;
  std::ostringstream bytes;
  bytes << file.rdbuf();
  if (file.bad()) return std::nullopt;
  return bytes.str();
}

CompileResult CompileScript(const std::string& path, const Options& options, const FileReader& reader) {
  std::vector<std::string> dependencies;
  auto tokens = Preprocess(path, options, reader, &dependencies);
  Compiler compiler(std::move(tokens), options, reader, path);
  compiler.result.dependencies = std::move(dependencies);
  ParseScript(compiler);
  return std::move(compiler.result);
}

}  // namespace rc
