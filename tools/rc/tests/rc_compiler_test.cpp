// The resource compiler: scripts compiled in memory and read back with the platform's own
// readers, its faults reported with file and line, and a resource DLL built with
// add_resource_dll read back through the module loader.
#include <gtest/gtest.h>
#include <platform/testing_text.h>

#include <algorithm>
#include <map>
#include <string>
#include <tuple>

#include "dlgtemplate.h"
#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "platform/testing_modules.h"
#include "rc_compiler.h"
#include "winuser.h"

namespace {

using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;
using platform::resources::ResourceId;
using platform::resources::ResourceItem;

constexpr DWORD kChildVisible = 0x50000000;

using platform::test_support::Narrow;

// Compiles main.rc from in-memory files.
rc::CompileResult Compile(const std::string& script, std::map<std::string, std::string> files = {},
                          rc::Options options = {}) {
  files["/src/main.rc"] = script;
  rc::FileReader reader = [files](const std::string& path) -> std::optional<std::string> {
    auto at = files.find(path);
    if (at == files.end()) return std::nullopt;
    return at->second;
  };
  return rc::CompileScript("/src/main.rc", options, reader);
}

const ResourceItem* FindItem(const rc::CompileResult& result, WORD type, WORD name) {
  for (const auto& item : result.resources)
    if (item.type == ResourceId::Ordinal(type) && item.name == ResourceId::Ordinal(name)) return &item;
  return nullptr;
}

DialogTemplate CompileDialog(const std::string& script) {
  const auto result = Compile(script);
  const ResourceItem* item = FindItem(result, 5, 100);
  if (!item) throw std::runtime_error("no dialog 100");
  auto dialog = platform::dialogs::ParseDialogTemplate(item->data.data(), item->data.size());
  if (!dialog) throw std::runtime_error("the compiled dialog does not parse");
  return *dialog;
}

// The string id's text as the compiled block holds it, or nullopt.
std::optional<std::wstring> StringFromBlocks(const rc::CompileResult& result, WORD id) {
  const ResourceItem* block = FindItem(result, 6, static_cast<WORD>(id / 16 + 1));
  if (!block) return std::nullopt;
  size_t at = 0;
  for (int index = 0; index <= id % 16; ++index) {
    WORD length;
    std::memcpy(&length, block->data.data() + at, 2);
    if (index == id % 16) {
      std::wstring text(length, L'\0');
      std::memcpy(text.data(), block->data.data() + at + 4, length * sizeof(WCHAR));
      return text;
    }
    at += 4 + length * sizeof(WCHAR);
  }
  return std::nullopt;
}

TEST(RcCompilerTest, ControlStatementsGetThePlatformsClassesAndDefaultStyles) {
  struct Case {
    const char* statement;
    WORD windowClass;
    DWORD style;
    NameOrOrdinal title;
  } cases[] = {
      {"LTEXT \"t\", 7, 1, 2, 3, 4", 0x82, kChildVisible | 0x00020000 | 0x0, NameOrOrdinal::Text(L"t")},
      {"RTEXT \"t\", 7, 1, 2, 3, 4", 0x82, kChildVisible | 0x00020000 | 0x2, NameOrOrdinal::Text(L"t")},
      {"CTEXT \"t\", 7, 1, 2, 3, 4", 0x82, kChildVisible | 0x00020000 | 0x1, NameOrOrdinal::Text(L"t")},
      {"PUSHBUTTON \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x00010000 | 0x0, NameOrOrdinal::Text(L"t")},
      {"DEFPUSHBUTTON \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x00010000 | 0x1,
       NameOrOrdinal::Text(L"t")},
      {"CHECKBOX \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x00010000 | 0x2, NameOrOrdinal::Text(L"t")},
      {"AUTOCHECKBOX \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x00010000 | 0x3,
       NameOrOrdinal::Text(L"t")},
      {"RADIOBUTTON \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x00010000 | 0x4, NameOrOrdinal::Text(L"t")},
      {"AUTORADIOBUTTON \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x00010000 | 0x9,
       NameOrOrdinal::Text(L"t")},
      {"GROUPBOX \"t\", 7, 1, 2, 3, 4", 0x80, kChildVisible | 0x7, NameOrOrdinal::Text(L"t")},
      {"EDITTEXT 7, 1, 2, 3, 4", 0x81, kChildVisible | 0x00800000 | 0x00010000, {}},
      {"COMBOBOX 7, 1, 2, 3, 4", 0x85, kChildVisible | 0x00010000 | 0x1, {}},
      {"LISTBOX 7, 1, 2, 3, 4", 0x83, kChildVisible | 0x00800000 | 0x1, {}},
      {"SCROLLBAR 7, 1, 2, 3, 4", 0x84, kChildVisible, {}},
      {"ICON 32516, 7, 1, 2, 3, 4", 0x82, kChildVisible | 0x3, NameOrOrdinal::Ordinal(32516)},
      {"CONTROL \"t\", 7, \"Button\", BS_AUTOCHECKBOX, 1, 2, 3, 4", 0x80, kChildVisible | 0x3,
       NameOrOrdinal::Text(L"t")},
      {"CONTROL \"t\", 7, STATIC, SS_ICON, 1, 2, 3, 4", 0x82, kChildVisible | 0x3, NameOrOrdinal::Text(L"t")},
      {"CONTROL \"\", 7, \"SysListView32\", 0x4001, 1, 2, 3, 4", 0, kChildVisible | 0x4001,
       NameOrOrdinal::Text(L"")},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statement);
    const DialogTemplate dialog =
        CompileDialog(std::string("100 DIALOGEX 0, 0, 10, 10\nBEGIN\n") + c.statement + "\nEND\n");
    ASSERT_EQ(dialog.items.size(), 1u);
    const auto& item = dialog.items[0];
    EXPECT_EQ(item.style, c.style) << std::hex << item.style;
    if (c.windowClass)
      EXPECT_EQ(item.windowClass, NameOrOrdinal::Ordinal(c.windowClass)) << item.windowClass.ordinal;
    else
      EXPECT_EQ(item.windowClass, NameOrOrdinal::Text(L"SysListView32")) << Narrow(item.windowClass.text);
    EXPECT_EQ(item.title, c.title) << Narrow(item.title.text);
    EXPECT_EQ(item.id, 7u);
    EXPECT_EQ(item.x, 1);
    EXPECT_EQ(item.y, 2);
    EXPECT_EQ(item.cx, 3);
    EXPECT_EQ(item.cy, 4);
  }
}

TEST(RcCompilerTest, StylesCombineWithTheDefaultsAndNotClearsBits) {
  struct Case {
    const char* statement;
    DWORD style;
    DWORD exStyle;
    DWORD helpId;
  } cases[] = {
      {"LTEXT \"t\", 7, 1, 2, 3, 4, SS_RIGHT", kChildVisible | 0x00020000 | 0x2, 0, 0},
      {"LTEXT \"t\", 7, 1, 2, 3, 4, NOT WS_GROUP | SS_ENDELLIPSIS", kChildVisible | 0x4000, 0, 0},
      {"EDITTEXT 7, 1, 2, 3, 4, ES_READONLY | NOT WS_BORDER | NOT WS_TABSTOP", kChildVisible | 0x0800, 0, 0},
      {"PUSHBUTTON \"t\", 7, 1, 2, 3, 4, NOT WS_VISIBLE", 0x40000000 | 0x00010000, 0, 0},
      {"EDITTEXT 7, 1, 2, 3, 4, ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, 55", kChildVisible | 0x00810080, 0x200, 55},
      {"CONTROL \"t\", 7, \"Edit\", (ES_LEFT | ES_NUMBER) + 0, 1, 2, 3, 4, WS_EX_STATICEDGE",
       kChildVisible | 0x2000, 0x20000, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.statement);
    const DialogTemplate dialog =
        CompileDialog(std::string("100 DIALOGEX 0, 0, 10, 10\n{\n") + c.statement + "\n}\n");
    ASSERT_EQ(dialog.items.size(), 1u);
    EXPECT_EQ(dialog.items[0].style, c.style) << std::hex << dialog.items[0].style;
    EXPECT_EQ(dialog.items[0].exStyle, c.exStyle) << std::hex << dialog.items[0].exStyle;
    EXPECT_EQ(dialog.items[0].helpId, c.helpId);
  }
}

TEST(RcCompilerTest, DialogHeaderStatementsFillTheTemplate) {
  const DialogTemplate dialog = CompileDialog(
      "100 DIALOGEX 10, -20, 300, 200, 4711\n"
      "STYLE DS_MODALFRAME | WS_POPUP\n"
      "EXSTYLE WS_EX_CONTROLPARENT\n"
      "CAPTION \"Settings \"\"A\"\"\"\n"
      "FONT 9, \"MS Shell Dlg\", 700, 1, 0\n"
      "CLASS \"OwnClass\"\n"
      "MENU 12\n"
      "BEGIN\nEND\n");
  EXPECT_TRUE(dialog.extended);
  EXPECT_EQ(dialog.style, 0x80C000C0u)
      << std::hex << dialog.style << " (WS_POPUP | DS_MODALFRAME, then WS_CAPTION and DS_SETFONT)";
  EXPECT_EQ(dialog.exStyle, 0x10000u);
  EXPECT_EQ(dialog.helpId, 4711u);
  EXPECT_EQ(dialog.x, 10);
  EXPECT_EQ(dialog.y, -20);
  EXPECT_EQ(dialog.title, NameOrOrdinal::Text(L"Settings \"A\"")) << Narrow(dialog.title.text);
  EXPECT_EQ(dialog.pointSize, 9);
  EXPECT_EQ(dialog.weight, 700);
  EXPECT_EQ(dialog.italic, 1);
  EXPECT_EQ(dialog.charset, 0);
  EXPECT_EQ(dialog.typeface, L"MS Shell Dlg");
  EXPECT_EQ(dialog.windowClass, NameOrOrdinal::Text(L"OwnClass"));
  EXPECT_EQ(dialog.menu, NameOrOrdinal::Ordinal(12));

  const DialogTemplate defaults = CompileDialog("100 DIALOGEX 0, 0, 10, 10\nBEGIN\nEND\n");
  EXPECT_EQ(defaults.style, 0x80880000u)
      << std::hex << defaults.style << " (WS_POPUP | WS_BORDER | WS_SYSMENU)";
  EXPECT_FALSE(defaults.HasFont());

  const DialogTemplate old =
      CompileDialog("100 DIALOG 0, 0, 10, 10\nFONT 8, \"Tahoma\"\nBEGIN\nLTEXT \"a\", 1, 0, 0, 1, 1\nEND\n");
  EXPECT_FALSE(old.extended);
  EXPECT_TRUE(old.HasFont());
  EXPECT_EQ(old.typeface, L"Tahoma");
  ASSERT_EQ(old.items.size(), 1u);
  EXPECT_EQ(old.items[0].title, NameOrOrdinal::Text(L"a"));
}

TEST(RcCompilerTest, StringTableTextsKeepTheirEscapes) {
  struct Case {
    const char* literal;
    std::wstring text;
  } cases[] = {
      {R"("plain")", L"plain"},
      {R"("line\nbreak")", L"line\nbreak"},
      {R"("tab\there")", L"tab\there"},
      {R"("a \"quoted\" word")", L"a \"quoted\" word"},
      {R"("a ""doubled"" quote")", L"a \"doubled\" quote"},
      {R"("back\\slash")", L"back\\slash"},
      {R"("hex \x41\x00e4!")", L"hex A\x00e4!"},
      {R"("octal \101")", L"octal A"},
      {R"("joined " "literals")", L"joined literals"},
      {R"(L"wide")", L"wide"},
      {R"("")", L""},
      {"\"utf-8 \xC3\xA4\"", L"utf-8 \x00e4"},
      {"\"latin-1 \xE4\"", L"latin-1 \x00e4"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.literal);
    const auto result = Compile(std::string("STRINGTABLE\nBEGIN\n  17, ") + c.literal + "\nEND\n");
    const auto text = StringFromBlocks(result, 17);
    ASSERT_TRUE(text.has_value()) << "no block 2";
    EXPECT_EQ(*text, c.text) << Narrow(*text);
  }
}

TEST(RcCompilerTest, StringsGoToBlocksOfSixteenPerLanguage) {
  const auto result = Compile(
      "STRINGTABLE BEGIN 1 \"one\" 15 \"fifteen\" 16 \"sixteen\" END\n"
      "LANGUAGE LANG_GERMAN, SUBLANG_GERMAN\n"
      "STRINGTABLE BEGIN 1 \"eins\" END\n");
  std::vector<std::tuple<WORD, WORD, size_t>> blocks;  // name, language, size
  for (const auto& item : result.resources) {
    EXPECT_EQ(item.type, ResourceId::Ordinal(6));
    blocks.emplace_back(item.name.ordinal, item.language, item.data.size());
  }
  // Each block: 16 x (length, padding) plus the texts.
  const std::vector<std::tuple<WORD, WORD, size_t>> expected = {
      {1, 0x0407, 64 + 4 * 4}, {1, 0x0409, 64 + (3 + 7) * 4}, {2, 0x0409, 64 + 7 * 4}};
  std::sort(blocks.begin(), blocks.end());
  EXPECT_EQ(blocks, expected);
}

TEST(RcCompilerTest, ThePreprocessorReadsProjectHeadersAndSkipsThePlatformsOwn) {
  const auto result = Compile(
      "#include \"resource.h\"\n"
      "#include <afxres.h>\n"
      "#include \"windows.h\"\n"
      "#ifdef IDS_A\n"
      "#define TEXT_A \"a from header\"\n"
      "#else\n"
      "#error not read\n"
      "#endif\n"
      "#ifndef APSTUDIO_INVOKED\n"
      "#if 0\n"
      "this line is never read \" unbalanced\n"
      "#elif defined(IDS_B) && IDS_B == 2\n"
      "#define TEXT_B \"b from elif\"\n"
      "#else\n"
      "#define TEXT_B \"wrong\"\n"
      "#endif\n"
      "#endif\n"
      "/* a block comment\n spanning lines */ STRINGTABLE // a line comment\n"
      "BEGIN\n"
      "  IDS_A TEXT_A\n"
      "  IDS_B TEXT_B\n"
      "  IDS_C \"from an include folder\"\n"
      "END\n",
      {{"/src/resource.h", "#pragma once\n#define IDS_A 1\n#define IDS_B (IDS_A + 1)\n#include \"more.h\"\n"},
       {"/inc/more.h", "#define IDS_C \\\n  3\n"}},
      [] {
        rc::Options options;
        options.includeDirs = {"/inc"};
        return options;
      }());
  EXPECT_EQ(StringFromBlocks(result, 1), std::optional<std::wstring>(L"a from header"));
  EXPECT_EQ(StringFromBlocks(result, 2), std::optional<std::wstring>(L"b from elif"));
  EXPECT_EQ(StringFromBlocks(result, 3), std::optional<std::wstring>(L"from an include folder"));
  const std::vector<std::string> dependencies = {"/src/main.rc", "/src/resource.h", "/inc/more.h"};
  EXPECT_EQ(result.dependencies, dependencies);
}

// The scheme of the view DLLs' pages: a layout file with the items, placed by macros of a
// grid header and named by text macros, included by one script per language after its texts;
// a fragment of rows may be included inside a dialog's body.
TEST(RcCompilerTest, OneLayoutFileServesEveryLanguageScriptThatDefinesItsTexts) {
  const std::map<std::string, std::string> files = {
      {"/src/grid.h",
       "#define ROW1 (MARGIN)\n#define ROW2 (MARGIN + ROW_PITCH)\n#define MARGIN 7\n"
       "#define ROW_PITCH 18\n#define PICK CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP\n"
       "#define PAGE_FONT 8, \"Panel Sans\"\n"},
      {"/src/pages/page.dlg",
       "100 DIALOGEX 0, 0, 200, ROW2 + 14 + MARGIN\nSTYLE WS_CHILD\nCAPTION TXT_CAPTION\n"
       "FONT PAGE_FONT\nBEGIN\n#include \"rows.dlg\"\n"
       "    COMBOBOX 11, 60, ROW2, 80, 100, PICK\nEND\n"
       "100 DLGINIT BEGIN 11, 0x403, TXT_ENTRY \" 1\" END\n"},
      {"/src/pages/rows.dlg", "    LTEXT TXT_ROW \" 2\", -1, MARGIN, ROW2 + 3, 50, 8\n"},
  };
  struct Language {
    const char* texts;
    WORD language;
    const wchar_t* caption;
    const wchar_t* label;
    const char* entry;
  } languages[] = {
      {"#define TXT_CAPTION \"Page\"\n#define TXT_ROW \"Row\"\n#define TXT_ENTRY \"Entry\"\n", 0x0409,
       L"Page", L"Row 2", "Entry 1"},
      {"#define TXT_CAPTION \"Seite\"\n#define TXT_ROW \"Zeile\"\n#define TXT_ENTRY \"Eintrag\"\n", 0x0407,
       L"Seite", L"Zeile 2", "Eintrag 1"},
  };
  for (const auto& language : languages) {
    SCOPED_TRACE(language.entry);
    auto scriptFiles = files;
    scriptFiles["/src/texts.h"] = language.texts;
    const auto result =
        Compile("#include \"grid.h\"\n#include \"texts.h\"\nLANGUAGE " +
                    std::to_string(language.language & 0x3FF) + ", 1\n#include \"pages/page.dlg\"\n",
                scriptFiles);
    ASSERT_EQ(result.resources.size(), 2u);
    EXPECT_EQ(result.resources[0].language, language.language);
    const auto dialog = platform::dialogs::ParseDialogTemplate(result.resources[0].data.data(),
                                                               result.resources[0].data.size());
    ASSERT_TRUE(dialog.has_value());
    EXPECT_EQ(dialog->title, NameOrOrdinal::Text(language.caption));
    EXPECT_EQ(dialog->cy, 7 + 18 + 14 + 7);
    EXPECT_EQ(dialog->typeface, L"Panel Sans");
    ASSERT_EQ(dialog->items.size(), 2u);
    EXPECT_EQ(dialog->items[0].title, NameOrOrdinal::Text(language.label))
        << Narrow(dialog->items[0].title.text);
    EXPECT_EQ(dialog->items[0].y, 7 + 18 + 3);
    EXPECT_EQ(dialog->items[1].style, kChildVisible | 0x00210003u) << std::hex << dialog->items[1].style;
    const auto init =
        platform::dialogs::ParseDialogInit(result.resources[1].data.data(), result.resources[1].data.size());
    ASSERT_EQ(init.entries.size(), 1u);
    EXPECT_EQ(std::string(init.entries[0].data.begin(), init.entries[0].data.end() - 1), language.entry);
  }
}

TEST(RcCompilerTest, UserDefinedResourcesTakeRawDataOrAFile) {
  const auto result = Compile(
      "1 RCDATA BEGIN 1, 2L, \"ab\", L\"c\" END\n"
      "MODULE REGISTRY \"module.rgs\"\n",
      {{"/src/module.rgs", "HKCR { }\n"}});
  ASSERT_EQ(result.resources.size(), 2u);
  const std::vector<BYTE> raw = {1, 0, 2, 0, 0, 0, 'a', 'b', 'c', 0, 0, 0};
  EXPECT_EQ(result.resources[0].type, ResourceId::Ordinal(10));
  EXPECT_EQ(result.resources[0].data, raw);
  EXPECT_EQ(result.resources[1].type, ResourceId::Text(L"REGISTRY"));
  EXPECT_EQ(result.resources[1].name, ResourceId::Text(L"MODULE"));
  const std::string text = "HKCR { }\n";
  EXPECT_EQ(result.resources[1].data, std::vector<BYTE>(text.begin(), text.end()));
}

TEST(RcCompilerTest, DialogInitDataIsWrittenInThePlatformsLayoutWithUtf8Texts) {
  const auto result = Compile(
      "#define IDC_MODEL 9396\n"
      "#define TEXT_B \"B\\x00e4\"\n"
      "100 DLGINIT\n"
      "BEGIN\n"
      "  IDC_MODEL, 0x403, \"A\"\n"
      "  IDC_MODEL, 0x401, TEXT_B,\n"
      "  7, 0x403, L\"\"\n"
      "  0\n"
      "END\n"
      "101 DLGINIT LANGUAGE LANG_GERMAN, SUBLANG_GERMAN { }\n");
  ASSERT_EQ(result.resources.size(), 2u);
  EXPECT_EQ(result.resources[0].type, ResourceId::Ordinal(240));
  EXPECT_EQ(result.resources[0].name, ResourceId::Ordinal(100));
  const std::vector<BYTE> expected = {0xB4, 0x24, 0x03, 0x04, 2, 0, 0, 0, 'A', 0,              // "A"
                                      0xB4, 0x24, 0x01, 0x04, 4, 0, 0, 0, 'B', 0xC3, 0xA4, 0,  // "Bä"
                                      7,    0,    0x03, 0x04, 1, 0, 0, 0, 0,                   // ""
                                      0,    0};
  EXPECT_EQ(result.resources[0].data, expected);
  const auto parsed =
      platform::dialogs::ParseDialogInit(result.resources[0].data.data(), result.resources[0].data.size());
  EXPECT_TRUE(parsed.complete);
  ASSERT_EQ(parsed.entries.size(), 3u);
  EXPECT_EQ(platform::dialogs::DialogInitText(parsed.entries[1]), std::wstring(L"B\x00e4"));
  EXPECT_EQ(result.resources[1].language, 0x0407);
  EXPECT_EQ(result.resources[1].data, std::vector<BYTE>(2, 0)) << "an empty list is its end mark";
}

TEST(RcCompilerTest, FaultsAreReportedWithFileAndLine) {
  struct Case {
    const char* script;
    const char* message;
    const char* file;
    int line;
  } cases[] = {
      {"100 DIALOGEX 0, 0, 1, 1\nBEGIN\n  SLIDER 1, 2, 3, 4, 5\nEND\n", "unknown control statement 'SLIDER'",
       "/src/main.rc", 3},
      {"STRINGTABLE\nBEGIN\n  1 \"open\nEND\n", "string without its closing quote", "/src/main.rc", 3},
      {"STRINGTABLE\nBEGIN\n  1 \"x\"\n", "STRINGTABLE without END", "/src/main.rc", 4},
      {"STRINGTABLE\nBEGIN\n  1 \"x\"\n  1 \"y\"\nEND\n", "duplicate string id 1", "/src/main.rc", 4},
      {"100 DIALOGEX 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", IDC_MISSING, 0, 0, 1, 1\nEND\n",
       "unknown name 'IDC_MISSING'", "/src/main.rc", 3},
      {"100 DIALOGEX 0, 0, 70000, 1\nBEGIN\nEND\n", "width 70000 is out of range", "/src/main.rc", 1},
      {"1 VERSIONINFO\nBEGIN\nEND\n", "resource kind VERSIONINFO is not supported", "/src/main.rc", 1},
      {"#define F(x) x\n", "function-like macro 'F' is not supported", "/src/main.rc", 1},
      {"\n#endif\n", "#endif without #if", "/src/main.rc", 2},
      {"#ifdef X\n", "#if without #endif", "/src/main.rc", 1},
      {"/* open\n\n", "comment without its end", "/src/main.rc", 1},
      {"#include \"missing.h\"\n", "cannot open include file 'missing.h'", "/src/main.rc", 1},
      {"#include \"bad.h\"\n", "#error stop here", "/src/bad.h", 2},
      {"100 DIALOGEX 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\" 1, 0, 0, 1, 1\nEND\n", "expected ','", "/src/main.rc",
       3},
      {"1 RCDATA BEGIN 1 / 0 END\n", "division by zero", "/src/main.rc", 1},
      {"100 DIALOGEX 0, 0, 1, 1\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\nEND\n"
       "100 DIALOGEX 0, 0, 1, 1\nBEGIN\nEND\n",
       "duplicate resource", "/src/main.rc", 5},
      {"1 RCDATA \"absent.bin\"\n", "cannot open data file 'absent.bin'", "/src/main.rc", 1},
      {"STRINGTABLE BEGIN 1 $ END\n", "unexpected character '$'", "/src/main.rc", 1},
      {"1 DLGINIT\nBEGIN\n  5, 0x403, 12\nEND\n", "expected the entry's text", "/src/main.rc", 3},
      {"1 DLGINIT\nBEGIN\n  5, 0x403, \"a\"\n  0\n  6, 0x403, \"b\"\nEND\n",
       "nothing may follow the 0 that ends the DLGINIT list", "/src/main.rc", 5},
      {"1 DLGINIT\nBEGIN\n  5, 0x403, \"a\\0b\"\nEND\n", "an entry's text holds a terminator", "/src/main.rc",
       3},
      {"1 DLGINIT\nBEGIN\n  5, 0x10000, \"a\"\nEND\n", "message 65536 is out of range", "/src/main.rc", 3},
      {"1 DLGINIT\nBEGIN\n  5, 0x403, \"a\"\n", "DLGINIT without END", "/src/main.rc", 4},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.script);
    try {
      Compile(c.script, {{"/src/bad.h", "// fine\n#error stop here\n"}});
      ADD_FAILURE() << "compiled without a fault";
    } catch (const rc::CompileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
      EXPECT_EQ(error.file(), c.file) << error.what();
      EXPECT_EQ(error.line(), c.line) << error.what();
    }
  }
}

TEST(RcCompilerTest, DeeplyNestedExpressionsAreRefusedWithTheirLine) {
  const std::string parens = std::string(5000, '(') + "1" + std::string(5000, ')');
  const std::string minus(200000, '-');
  const std::string cases[] = {
      "// deep\n#if " + parens + "\n#endif\n",
      "// deep\n#if " + minus + "1\n#endif\n",
      "// deep\n1 RCDATA BEGIN " + parens + " END\n",
      "// deep\n1 RCDATA BEGIN " + minus + "1 END\n",
  };
  for (const auto& script : cases) {
    SCOPED_TRACE(script.substr(0, 40));
    try {
      Compile(script);
      ADD_FAILURE() << "compiled without a fault";
    } catch (const rc::CompileError& error) {
      EXPECT_NE(std::string(error.what()).find("nests deeper than 256 levels"), std::string::npos)
          << error.what();
      EXPECT_EQ(error.line(), 2) << error.what();
    }
  }
  // 256 levels still compile: 254 parentheses, the minus and the number.
  const std::string deepest = std::string(254, '(') + "-1" + std::string(254, ')');
  EXPECT_NO_THROW(Compile("#if " + deepest + "\n#endif\n1 RCDATA BEGIN " + deepest + " END\n"));
}

TEST(RcCompilerTest, EveryCutOfAValidScriptCompilesOrFailsCleanly) {
  const std::string script =
      "#include \"ids.h\"\n"
      "LANGUAGE LANG_ENGLISH, SUBLANG_ENGLISH_US\n"
      "STRINGTABLE BEGIN IDS_A \"a\\tb\" IDS_A2, \"c\" \"d\" END\n"
      "IDD_X DIALOGEX 0, 0, 100, 50\nSTYLE DS_SETFONT | WS_CHILD\nCAPTION \"Cap\"\nFONT 8, \"MS Shell Dlg\", "
      "400, 0, 1\n"
      "BEGIN\n  LTEXT \"x\", IDC_STATIC, 1, 2, 3, 4, NOT WS_GROUP\n"
      "  CONTROL \"\", 5, \"Button\", BS_AUTOCHECKBOX | WS_TABSTOP, 1, 2, 3, 4, 0, 9\n"
      "  ICON 1, 6, 1, 2\n  EDITTEXT 7, 1, 2, 3, 4\nEND\n"
      "1 RCDATA { 1, 2L, \"x\" }\n"
      "IDD_X DLGINIT BEGIN 7, 0x403, \"y\" 0 END\n";
  const std::map<std::string, std::string> files = {
      {"/src/ids.h", "#define IDS_A 1\n#define IDS_A2 2\n#define IDD_X 100\n"}};
  ASSERT_NO_THROW(Compile(script, files));
  for (size_t size = 0; size < script.size(); ++size) {
    SCOPED_TRACE("first " + std::to_string(size) + " characters");
    try {
      Compile(script.substr(0, size), files);
    } catch (const rc::CompileError&) {
      // A fault in the script; anything else fails the test.
    }
  }
}

TEST(RcCompilerTest, UnicodeScriptsWithAByteOrderMarkAreRead) {
  const std::wstring text = L"STRINGTABLE BEGIN 1 \"\x00e4\x4e2d\" END\n";
  std::string utf16 = "\xFF\xFE";
  for (wchar_t c : text) {
    utf16 += static_cast<char>(c & 0xFF);
    utf16 += static_cast<char>((c >> 8) & 0xFF);
  }
  const auto result = Compile(utf16);
  EXPECT_EQ(StringFromBlocks(result, 1), std::optional<std::wstring>(L"\x00e4\x4e2d"));
}

// RcTestStrings.dll is built from tests/strings.rc by add_resource_dll.
TEST(RcResourceDllTest, ABuiltResourceDllServesItsStringsAndDialogThroughTheLoader) {
  wchar_t exe[MAX_PATH];
  const std::wstring exePath(exe, GetModuleFileNameW(nullptr, exe, MAX_PATH));
  const std::wstring path = exePath.substr(0, exePath.rfind(L'\\') + 1) + L"RcTestStrings.dll";
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  struct Case {
    UINT id;
    std::wstring text;
  } cases[] = {
      {1, L"First"}, {16, L"Tab\there, quote \" and A"}, {300, L"A longer string joined from two literals"}};
  for (const auto& c : cases) {
    SCOPED_TRACE("id " + std::to_string(c.id));
    wchar_t buffer[64];
    EXPECT_EQ(LoadStringW(module, c.id, buffer, 64), static_cast<int>(c.text.size()));
    EXPECT_EQ(std::wstring(buffer), c.text) << Narrow(buffer);
  }
  HRSRC dialog = FindResourceW(module, MAKEINTRESOURCEW(101), RT_DIALOG);
  ASSERT_NE(dialog, nullptr) << "error " << GetLastError();
  auto parsed = platform::dialogs::ParseDialogTemplate(LockResource(LoadResource(module, dialog)),
                                                       SizeofResource(module, dialog));
  ASSERT_TRUE(parsed.has_value());
  ASSERT_EQ(parsed->items.size(), 2u);
  EXPECT_EQ(parsed->items[1].id, 1001u) << "IDC_NAME is (1000 + 1)";
  EXPECT_EQ(parsed->items[1].style, 0x50810080u) << std::hex << parsed->items[1].style;
  EXPECT_TRUE(FreeLibrary(module));
}

}  // namespace

TEST(RcCompilerTest, TypeLibDescriptionsAreCheckedAndStoredInTheirCanonicalForm) {
  const std::string description =
      "# comment\n"
      "library L {11112222-3333-4444-5555-666677778888} 1.0 \"help\"\n"
      "interface I {11112222-3333-4444-5555-666677778889} dual \"\"\n"
      "method 1 M   in:long\n";
  const auto result = Compile("1 TYPELIB \"lib.tld\"\n", {{"/src/lib.tld", description}});
  ASSERT_EQ(1u, result.resources.size());
  const ResourceItem& item = result.resources[0];
  EXPECT_TRUE(item.type == ResourceId::Text(L"TYPELIB"));
  EXPECT_TRUE(item.name == ResourceId::Ordinal(1));
  EXPECT_EQ(
      "library L {11112222-3333-4444-5555-666677778888} 1.0 \"help\"\n"
      "interface I {11112222-3333-4444-5555-666677778889} dual \"\"\n"
      "method 1 M in:long\n",
      std::string(item.data.begin(), item.data.end()));
  EXPECT_NE(std::find(result.dependencies.begin(), result.dependencies.end(), "/src/lib.tld"),
            result.dependencies.end());

  try {
    Compile("1 TYPELIB \"lib.tld\"\n", {{"/src/lib.tld", "library L {bad} 1.0 \"x\"\n"}});
    ADD_FAILURE() << "a malformed description compiled";
  } catch (const rc::CompileError& error) {
    EXPECT_NE(std::string(error.what()).find("lib.tld': line 1"), std::string::npos) << error.what();
  }
}

namespace {

rc::Options PlatformOptions(std::string typeLibraryDir) {
  rc::Options options;
  options.target = rc::Target::kPlatform;
  options.typeLibraryDir = std::move(typeLibraryDir);
  return options;
}

}  // namespace

// What only the platform's resource file refuses or stores differently: lengths in 16-bit units,
// and the compiled type library in place of the description.
TEST(RcCompilerTest, ThePlatformTargetCountsSixteenBitUnitsAndStoresTheCompiledTypeLibrary) {
  const std::string description = "library L {11112222-3333-4444-5555-666677778888} 1.0 \"help\"\n";
  // 40000 characters beyond the basic plane: 40000 WCHAR units here, 80000 16-bit units there.
  std::string astral;
  for (int i = 0; i < 40000; ++i) astral += "\xF0\x9D\x84\x9E";
  const std::string longString = "STRINGTABLE BEGIN 1 \"" + astral + "\" END\n";
  EXPECT_NO_THROW(Compile(longString));
  struct Case {
    const char* name;
    std::string script;
    std::string typeLibraryDir;
    const char* message;
  } cases[] = {
      {"a string of more than 65535 16-bit units", longString, "", "string longer than 65535 characters"},
      {"no folder of compiled type libraries", "1 TYPELIB \"lib.tld\"\n", "", "give it with -T"},
      {"no compiled type library in the folder", "1 TYPELIB \"lib.tld\"\n", "/empty",
       "cannot open the compiled type library '/empty/lib.tlb'"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    try {
      Compile(c.script, {{"/src/lib.tld", description}}, PlatformOptions(c.typeLibraryDir));
      ADD_FAILURE() << "compiled";
    } catch (const rc::CompileError& error) {
      EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos) << error.what();
    }
  }

  const std::string compiled("MSFT\0\x01\x02", 7);
  const auto result =
      Compile("1 TYPELIB \"lib.tld\"\n", {{"/src/lib.tld", description}, {"/tlb/lib.tlb", compiled}},
              PlatformOptions("/tlb"));
  ASSERT_EQ(1u, result.resources.size());
  EXPECT_EQ(compiled, std::string(result.resources[0].data.begin(), result.resources[0].data.end()));
  EXPECT_NE(std::find(result.dependencies.begin(), result.dependencies.end(), "/tlb/lib.tlb"),
            result.dependencies.end());
}

// The IDL of a description defines each of its interfaces; a coclass naming an interface the
// library does not define is refused, as the IDL compiler would copy it into the library.
TEST(RcCompilerTest, TheIdlOfADescriptionRefusesACoclassNamingAnotherLibrarysInterface) {
  std::string error;
  const auto own = platform::typelib::ParseDescription(
      "library L {11112222-3333-4444-5555-666677778888} 1.0 \"help\"\n"
      "coclass C {11112222-3333-4444-5555-66667777888A} \"class\"\n"
      "implements I default\n"
      "interface I {11112222-3333-4444-5555-666677778889} dual \"\"\n"
      "method 1 M in:long\n",
      &error);
  ASSERT_TRUE(own) << error;
  EXPECT_NE(rc::GenerateIdl(*own, "own.tld").find("interface I : IDispatch"), std::string::npos);
  const auto foreign = platform::typelib::ParseDescription(
      "library L {11112222-3333-4444-5555-666677778888} 1.0 \"help\"\n"
      "coclass C {11112222-3333-4444-5555-66667777888A} \"class\"\n"
      "implements IHost default\n",
      &error);
  ASSERT_TRUE(foreign) << error;
  EXPECT_THROW(rc::GenerateIdl(*foreign, "foreign.tld"), std::runtime_error);
}
