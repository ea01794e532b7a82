// Resources of modules: FindResourceW/ExW, LoadResource, SizeofResource, LoadStringW over the
// test module's language DLL, malformed resource sections, and the dialog-template and
// resource-blob readers and writers.
#include <elf.h>
#include <platform/testing_text.h>
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include "fixtures/modules/loader_probe_ids.h"
#include "dlgtemplate.h"
#include "errhandlingapi.h"
#include "libloaderapi.h"
#include "platform/resource_format.h"
#include "platform/testing_modules.h"
#include "winerror.h"
#include "winuser.h"

namespace {

using platform::dialogs::DialogItem;
using platform::dialogs::DialogTemplate;
using platform::dialogs::NameOrOrdinal;

using platform::test_support::Narrow;

std::wstring BinFolder() {
  wchar_t path[MAX_PATH];
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  std::wstring folder(path, length);
  return folder.substr(0, folder.rfind(L'\\') + 1);
}

// The host form of a platform path, for writing test files.
std::string HostPath(const std::wstring& path) {
  std::string out;
  for (wchar_t c : path.substr(2)) out += c == L'\\' ? '/' : static_cast<char>(c);
  return out;
}

// LoaderProbeENU.dll, loaded for its resources as the framework loads language DLLs.
class ResourcesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    module_ = LoadLibraryExW((BinFolder() + L"LoaderProbeENU.dll").c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(module_, nullptr) << platform::modules::LastLoadDiagnostic();
  }
  void TearDown() override {
    if (module_) {
      EXPECT_TRUE(FreeLibrary(module_));
    }
  }
  HMODULE module_ = nullptr;
};

TEST_F(ResourcesTest, LoadStringCopiesTheStringAndTerminatesIt) {
  struct Case {
    UINT id;
    std::wstring text;
  } cases[] = {
      {IDS_PROBE_FIRST, L"First string"},
      {IDS_PROBE_LAST_OF_BLOCK, L"Last of the first block"},
      {IDS_PROBE_NEXT_BLOCK, L"First of the second block"},
      {IDS_PROBE_LONG, L"Line one\nLine two\twith a tab, a \"quote\" and \x00e4"},
      {IDS_PROBE_HIGH, L"Unable to start the help."},
      {IDS_PROBE_GERMAN_ONLY, L"Nur deutsch"},  // the only language that has the block
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("id " + std::to_string(c.id));
    wchar_t buffer[128];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    EXPECT_EQ(LoadStringW(module_, c.id, buffer, 128), static_cast<int>(c.text.size()));
    EXPECT_EQ(std::wstring(buffer), c.text) << Narrow(buffer);
  }
}

TEST_F(ResourcesTest, LoadStringOfAnAbsentStringGivesZeroAndAnEmptyBuffer) {
  for (UINT id : {0u, 2u, 14u, static_cast<UINT>(IDS_PROBE_EMPTY), 19u, 33u, 5000u, 0xFFFFu, 0x10000u}) {
    SCOPED_TRACE("id " + std::to_string(id));
    wchar_t buffer[8] = L"full";
    EXPECT_EQ(LoadStringW(module_, id, buffer, 8), 0);
    EXPECT_EQ(buffer[0], L'\0');
  }
  wchar_t buffer[8] = L"full";
  EXPECT_EQ(LoadStringW(nullptr, IDS_PROBE_FIRST, buffer, 8), 0) << "the executable has no strings";
}

TEST_F(ResourcesTest, LoadStringTruncatesToTheBufferLessOne) {
  struct Case {
    int size;
    int result;
    std::wstring text;
  } cases[] = {
      {13, 12, L"First string"}, {12, 11, L"First strin"}, {5, 4, L"Firs"}, {2, 1, L"F"}, {1, 0, L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE("size " + std::to_string(c.size));
    std::vector<wchar_t> buffer(static_cast<size_t>(c.size) + 1, L'#');
    EXPECT_EQ(LoadStringW(module_, IDS_PROBE_FIRST, buffer.data(), c.size), c.result);
    EXPECT_EQ(std::wstring(buffer.data()), c.text) << Narrow(buffer.data());
    EXPECT_EQ(buffer[static_cast<size_t>(c.size)], L'#') << "wrote past the buffer";
  }
}

TEST_F(ResourcesTest, LoadStringWithoutABufferGivesAReadOnlyPointerAndTheLength) {
  const WCHAR* text = nullptr;
  EXPECT_EQ(LoadStringW(module_, IDS_PROBE_NEXT_BLOCK, reinterpret_cast<LPWSTR>(&text), 0), 25);
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(reinterpret_cast<uintptr_t>(text) % alignof(WCHAR), 0u) << "the pointer must be usable as WCHAR*";
  EXPECT_EQ(std::wstring(text, 25), L"First of the second block");
  EXPECT_NE(text[25], L'\0') << "the strings in a block are not terminated; the next string's length follows";
}

TEST_F(ResourcesTest, FindResourceTakesOrdinalsNumberTextsAndNamesWithoutRegardToCase) {
  struct Case {
    const char* what;
    LPCWSTR name;
    LPCWSTR type;
    DWORD size;
  } cases[] = {
      {"an ordinal name", MAKEINTRESOURCEW(IDR_PROBE_DATA), RT_RCDATA, 8},
      {"a #number name", L"#300", RT_RCDATA, 8},
      {"a #number type", MAKEINTRESOURCEW(IDR_PROBE_DATA), L"#10", 8},
      {"a string name", L"PROBEDATA", RT_RCDATA, 4 * sizeof(WCHAR)},
      {"a string name in another case", L"ProbeData", RT_RCDATA, 4 * sizeof(WCHAR)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    HRSRC resource = FindResourceW(module_, c.name, c.type);
    ASSERT_NE(resource, nullptr) << "error " << GetLastError();
    EXPECT_EQ(SizeofResource(module_, resource), c.size);
    EXPECT_NE(LockResource(LoadResource(module_, resource)), nullptr);
  }
  const auto* data = static_cast<const BYTE*>(LockResource(
      LoadResource(module_, FindResourceW(module_, MAKEINTRESOURCEW(IDR_PROBE_DATA), RT_RCDATA))));
  ASSERT_NE(data, nullptr);
  const BYTE expected[] = {0x02, 0x01, 0x06, 0x05, 0x04, 0x03, 'a', 'b'};  // a WORD, a DWORD (L), two bytes
  EXPECT_EQ(std::vector<BYTE>(data, data + 8), std::vector<BYTE>(std::begin(expected), std::end(expected)));
}

TEST_F(ResourcesTest, FindResourceFailsWithTheErrorOfWhatIsMissing) {
  HMODULE noResources =
      LoadLibraryExW((BinFolder() + L"LoaderProbe.dll").c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(noResources, nullptr) << platform::modules::LastLoadDiagnostic();
  struct Case {
    const char* what;
    HMODULE module;
    LPCWSTR name;
    LPCWSTR type;
    DWORD error;
  } cases[] = {
      {"an absent name", module_, MAKEINTRESOURCEW(999), RT_DIALOG, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"an absent string name", module_, L"NOSUCHDATA", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
      {"an absent type", module_, MAKEINTRESOURCEW(IDD_PROBE), MAKEINTRESOURCEW(4),
       ERROR_RESOURCE_TYPE_NOT_FOUND},
      {"a module without resources", noResources, MAKEINTRESOURCEW(IDD_PROBE), RT_DIALOG,
       ERROR_RESOURCE_DATA_NOT_FOUND},
      {"the executable", nullptr, MAKEINTRESOURCEW(IDD_PROBE), RT_DIALOG, ERROR_RESOURCE_DATA_NOT_FOUND},
      {"an unknown handle", reinterpret_cast<HMODULE>(0x1000), MAKEINTRESOURCEW(IDD_PROBE), RT_DIALOG,
       ERROR_INVALID_HANDLE},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    SetLastError(0);
    EXPECT_EQ(FindResourceW(c.module, c.name, c.type), nullptr);
    EXPECT_EQ(GetLastError(), c.error);
  }
  EXPECT_TRUE(FreeLibrary(noResources));
  SetLastError(0);
  EXPECT_EQ(LoadResource(module_, nullptr), nullptr);
  EXPECT_EQ(SizeofResource(module_, reinterpret_cast<HRSRC>(0x1000)), 0u);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(ResourcesTest, FindResourceExTakesTheLanguageExactly) {
  const LPCWSTR firstBlock = MAKEINTRESOURCEW(IDS_PROBE_FIRST / 16 + 1);
  HRSRC english = FindResourceExW(module_, RT_STRING, firstBlock, 0x0409);
  HRSRC german = FindResourceExW(module_, RT_STRING, firstBlock, 0x0407);
  ASSERT_NE(english, nullptr);
  ASSERT_NE(german, nullptr);
  EXPECT_NE(english, german);
  EXPECT_EQ(FindResourceW(module_, firstBlock, RT_STRING), english) << "US English before the others";
  EXPECT_EQ(FindResourceExW(module_, RT_STRING, firstBlock, 0), english) << "neutral: as FindResourceW";
  SetLastError(0);
  EXPECT_EQ(FindResourceExW(module_, RT_STRING, firstBlock, 0x040C), nullptr);
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
}

TEST_F(ResourcesTest, TheCompiledDialogReadsBackAsTheScriptSaysWithTheDefaultControlStyles) {
  HRSRC resource = FindResourceW(module_, MAKEINTRESOURCEW(IDD_PROBE), RT_DIALOG);
  ASSERT_NE(resource, nullptr) << "error " << GetLastError();
  auto dialog = platform::dialogs::ParseDialogTemplate(LockResource(LoadResource(module_, resource)),
                                                       SizeofResource(module_, resource));
  ASSERT_TRUE(dialog.has_value());
  EXPECT_TRUE(dialog->extended);
  EXPECT_EQ(dialog->style, 0x40000440u) << "WS_CHILD | DS_CONTROL | DS_SETFONT";
  EXPECT_EQ(dialog->exStyle, 0x00010000u);
  EXPECT_EQ(dialog->cx, 186);
  EXPECT_EQ(dialog->cy, 95);
  EXPECT_EQ(dialog->pointSize, 8);
  EXPECT_EQ(dialog->weight, 400);
  EXPECT_EQ(dialog->charset, 1);
  EXPECT_EQ(dialog->typeface, L"MS Shell Dlg");
  const std::vector<DialogItem> expected = {
      {0,
       0,
       0x50020000,
       7,
       9,
       50,
       8,
       0xFFFFFFFF,
       NameOrOrdinal::Ordinal(0x82),
       NameOrOrdinal::Text(L"Flow rate:"),
       {}},
      {0, 0, 0x50810080, 60, 7, 60, 14, IDC_PROBE_EDIT, NameOrOrdinal::Ordinal(0x81), {}, {}},
      {0, 0, 0x50210003, 60, 25, 60, 50, IDC_PROBE_COMBO, NameOrOrdinal::Ordinal(0x85), {}, {}},
      {0, 0, 0x50010001, 129, 7, 50, 14, 1, NameOrOrdinal::Ordinal(0x80), NameOrOrdinal::Text(L"OK"), {}},
  };
  ASSERT_EQ(dialog->items.size(), expected.size());
  for (size_t i = 0; i < expected.size(); ++i) {
    SCOPED_TRACE("item " + std::to_string(i));
    const DialogItem& got = dialog->items[i];
    EXPECT_EQ(got.style, expected[i].style) << std::hex << got.style;
    EXPECT_EQ(got.id, expected[i].id);
    EXPECT_EQ(got.windowClass, expected[i].windowClass) << got.windowClass.ordinal;
    EXPECT_EQ(got.title, expected[i].title) << Narrow(got.title.text);
    EXPECT_EQ(got, expected[i]);
  }
}

// ---------------------------------------------------------------------------------------
// Malformed resource sections

std::vector<char> ReadAll(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::vector<char>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

template <class T>
T Get(const std::vector<char>& bytes, size_t at) {
  T value{};
  if (at + sizeof(T) <= bytes.size()) std::memcpy(&value, bytes.data() + at, sizeof(T));
  return value;
}
template <class T>
void Put(std::vector<char>* bytes, size_t at, T value) {
  if (at + sizeof(T) <= bytes->size()) std::memcpy(bytes->data() + at, &value, sizeof(T));
}

// Where the ".rsrc" section's header and contents lie in the file.
struct SectionPlace {
  size_t header = 0;
  size_t offset = 0;
  size_t size = 0;
};
SectionPlace FindResourceSection(const std::vector<char>& file) {
  const auto ehdr = Get<Elf64_Ehdr>(file, 0);
  const auto names = Get<Elf64_Shdr>(file, ehdr.e_shoff + ehdr.e_shstrndx * sizeof(Elf64_Shdr));
  for (size_t i = 0; i < ehdr.e_shnum; ++i) {
    const size_t at = ehdr.e_shoff + i * sizeof(Elf64_Shdr);
    const auto section = Get<Elf64_Shdr>(file, at);
    if (std::string(file.data() + names.sh_offset + section.sh_name) == ".rsrc")
      return {at, section.sh_offset, section.sh_size};
  }
  return {};
}

TEST(MalformedResourcesTest, AModuleWithAMalformedResourceSectionIsRefused) {
  const std::string source = HostPath(BinFolder() + L"LoaderProbeENU.dll");
  const std::vector<char> intact = ReadAll(source);
  const SectionPlace rsrc = FindResourceSection(intact);
  ASSERT_NE(rsrc.size, 0u) << "no .rsrc section in " << source;
  const size_t entry = rsrc.offset + sizeof(platform::resources::BlobHeader);  // the first directory entry
  using Edit = std::function<void(std::vector<char>*)>;
  struct Case {
    const char* what;
    Edit edit;
  } cases[] = {
      {"the blob's magic", [&](auto* f) { Put<DWORD>(f, rsrc.offset, 0x12345678); }},
      {"the blob's version", [&](auto* f) { Put<WORD>(f, rsrc.offset + 4, 2); }},
      {"an entry count past the section", [&](auto* f) { Put<DWORD>(f, rsrc.offset + 8, 0x10000000); }},
      {"a blob size past the section", [&](auto* f) { Put<DWORD>(f, rsrc.offset + 12, 0x7FFFFFFF); }},
      {"a data offset past the blob", [&](auto* f) { Put<DWORD>(f, entry + 12, 0x7FFFFFF0); }},
      {"a misaligned data offset",
       [&](auto* f) { Put<DWORD>(f, entry + 12, Get<DWORD>(*f, entry + 12) + 1); }},
      {"a data size past the blob", [&](auto* f) { Put<DWORD>(f, entry + 16, 0x7FFFFFF0); }},
      {"a name string past the blob", [&](auto* f) { Put<DWORD>(f, entry + 4, 0x80000000u | 0x7FFFFF00u); }},
      {"an ordinal above 16 bits", [&](auto* f) { Put<DWORD>(f, entry, 0x00012345); }},
      {"a section past the end of the file", [&](auto* f) { f->resize(rsrc.offset + rsrc.size / 2); }},
      {"a section without contents",
       [&](auto* f) { Put<DWORD>(f, rsrc.header + offsetof(Elf64_Shdr, sh_type), SHT_NOBITS); }},
      {"section headers past the end of the file",
       [&](auto* f) { Put<Elf64_Off>(f, offsetof(Elf64_Ehdr, e_shoff), 0x7FFFFFFFFFFF); }},
      {"a name table index past the headers",
       [&](auto* f) { Put<Elf64_Half>(f, offsetof(Elf64_Ehdr, e_shstrndx), 999); }},
      {"a wrong section header size",
       [&](auto* f) { Put<Elf64_Half>(f, offsetof(Elf64_Ehdr, e_shentsize), 40); }},
      {"a 32-bit file class", [&](auto* f) { (*f)[EI_CLASS] = ELFCLASS32; }},
      {"a file cut inside the ELF header", [&](auto* f) { f->resize(20); }},
  };
  const size_t before = platform::modules::LoadedModuleCount();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<char> bytes = intact;
    c.edit(&bytes);
    const std::string copy = "/tmp/resources_test_malformed.dll";
    std::ofstream(copy, std::ios::binary | std::ios::trunc)
        .write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    for (DWORD flags : {DWORD{LOAD_LIBRARY_AS_DATAFILE}, DWORD{0x60}, DWORD{0}}) {
      SetLastError(0);
      HMODULE module = LoadLibraryExW(L"Z:\\tmp\\resources_test_malformed.dll", nullptr, flags);
      EXPECT_EQ(module, nullptr) << "flags 0x" << std::hex << flags;
      EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_FORMAT)) << "flags 0x" << std::hex << flags;
      if (module) FreeLibrary(module);
    }
    std::remove(copy.c_str());
  }
  EXPECT_EQ(platform::modules::LoadedModuleCount(), before);

  // The intact copy loads: the refusals above come from the edits.
  const std::string copy = "/tmp/resources_test_intact.dll";
  std::ofstream(copy, std::ios::binary | std::ios::trunc)
      .write(intact.data(), static_cast<std::streamsize>(intact.size()));
  HMODULE module = LoadLibraryExW(L"Z:\\tmp\\resources_test_intact.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
  EXPECT_NE(module, nullptr) << platform::modules::LastLoadDiagnostic();
  wchar_t text[32];
  EXPECT_EQ(LoadStringW(module, IDS_PROBE_FIRST, text, 32), 12);
  if (module) FreeLibrary(module);
  std::remove(copy.c_str());
}

// ---------------------------------------------------------------------------------------
// The dialog-template reader and writer

DialogTemplate SampleDialog(bool extended) {
  DialogTemplate dialog;
  dialog.extended = extended;
  dialog.helpId = extended ? 77 : 0;
  dialog.style = 0x80C800C0;  // WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
  dialog.exStyle = 0x00000101;
  dialog.x = -5, dialog.y = 10, dialog.cx = 200, dialog.cy = 90;
  dialog.menu = NameOrOrdinal::Ordinal(12);
  dialog.windowClass = NameOrOrdinal::Text(L"OwnClass");
  dialog.title = NameOrOrdinal::Text(L"Caption \x00e4\x4e2d");  // odd lengths and non-ASCII
  dialog.pointSize = 9;
  if (extended) dialog.weight = 700, dialog.italic = 1, dialog.charset = 1;
  dialog.typeface = L"MS Shell Dlg";
  dialog.items = {
      {extended ? 5u : 0u,
       0,
       0x50010001,
       1,
       2,
       50,
       14,
       1,
       NameOrOrdinal::Ordinal(0x80),
       NameOrOrdinal::Text(L"OK"),
       {}},
      {0, 0x200, 0x50810080, 3, 4, 5, 6, 1001, NameOrOrdinal::Ordinal(0x81), {}, {1, 2, 3}},
      {0,
       0,
       0x50000003,
       7,
       8,
       0,
       0,
       extended ? 0xFFFFFFFFu : 0xFFFFu,
       NameOrOrdinal::Ordinal(0x82),
       NameOrOrdinal::Ordinal(32516),
       {}},
      {0,
       0,
       0x50000000,
       9,
       10,
       11,
       12,
       1002,
       NameOrOrdinal::Text(L"SysListView32"),
       NameOrOrdinal::Text(L"x"),
       {}},
  };
  return dialog;
}

TEST(DialogTemplateTest, BothFormsReadBackAsWritten) {
  for (bool extended : {true, false}) {
    SCOPED_TRACE(extended ? "DLGTEMPLATEEX" : "DLGTEMPLATE");
    const DialogTemplate dialog = SampleDialog(extended);
    const std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplate(dialog);
    WORD words[2];
    std::memcpy(words, bytes.data(), sizeof words);
    EXPECT_EQ(words[1] == 0xFFFF, extended) << "the signature word tells the forms apart";
    auto parsed = platform::dialogs::ParseDialogTemplate(bytes.data(), bytes.size());
    ASSERT_TRUE(parsed.has_value());
    EXPECT_EQ(*parsed, dialog);
  }
}

TEST(DialogTemplateTest, ItemsStartAtFourByteBoundariesAndOrdinalsAreTwoWords) {
  DialogTemplate dialog;
  dialog.title = NameOrOrdinal::Text(L"T");
  dialog.items.resize(2);
  dialog.items[0].windowClass = NameOrOrdinal::Ordinal(0x80);
  dialog.items[0].title = NameOrOrdinal::Text(L"ab");
  dialog.items[1].windowClass = NameOrOrdinal::Ordinal(0x82);
  const std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplateEx(dialog);
  // Header 26 bytes, menu and class "none" (one 0 unit each), title "T" plus terminator.
  const size_t firstItem = (26 + 4 + 4 + 8 + 3) & ~size_t{3};
  WORD marker, ordinal;
  std::memcpy(&marker, bytes.data() + firstItem + sizeof(DLGITEMTEMPLATEEX), 2);
  std::memcpy(&ordinal, bytes.data() + firstItem + sizeof(DLGITEMTEMPLATEEX) + 2, 2);
  EXPECT_EQ(marker, 0xFFFF);
  EXPECT_EQ(ordinal, 0x80);
  // Item 1: 24 + class 4 + title "ab" 12 + extraCount 2 = 42 bytes; the next one is aligned.
  const size_t secondItem = (firstItem + 42 + 3) & ~size_t{3};
  std::memcpy(&ordinal, bytes.data() + secondItem + sizeof(DLGITEMTEMPLATEEX) + 2, 2);
  EXPECT_EQ(ordinal, 0x82);
  EXPECT_EQ(bytes.size(), secondItem + sizeof(DLGITEMTEMPLATEEX) + 4 + 4 + 2);
}

TEST(DialogTemplateTest, EveryTruncatedTemplateIsRefused) {
  for (bool extended : {true, false}) {
    SCOPED_TRACE(extended ? "DLGTEMPLATEEX" : "DLGTEMPLATE");
    const std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplate(SampleDialog(extended));
    for (size_t size = 0; size < bytes.size(); ++size) {
      // A copy of exactly size bytes, so that the sanitizer sees any read past it.
      const std::vector<BYTE> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
      EXPECT_FALSE(platform::dialogs::ParseDialogTemplate(prefix.data(), prefix.size()).has_value())
          << "size " << size;
    }
  }
  EXPECT_FALSE(platform::dialogs::ParseDialogTemplate(nullptr, 100).has_value());
}

TEST(DialogTemplateTest, AnExtendedTemplateOfAnotherVersionIsRefused) {
  std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplateEx(SampleDialog(true));
  const WORD version = 2;
  std::memcpy(bytes.data(), &version, 2);
  EXPECT_FALSE(platform::dialogs::ParseDialogTemplate(bytes.data(), bytes.size()).has_value());
}

TEST(DialogTemplateTest, ANonCharacterIsWrittenSoThatNoStringReadsAsAnOrdinal) {
  DialogTemplate dialog;
  dialog.title = NameOrOrdinal::Text(std::wstring(1, static_cast<wchar_t>(0x1FFFF)) + L"x");
  const std::vector<BYTE> bytes = platform::dialogs::BuildDialogTemplateEx(dialog);
  auto parsed = platform::dialogs::ParseDialogTemplate(bytes.data(), bytes.size());
  ASSERT_TRUE(parsed.has_value());
  EXPECT_FALSE(parsed->title.isOrdinal);
  EXPECT_EQ(parsed->title.text, std::wstring(L"\xFFFDx"));
}

// ---------------------------------------------------------------------------------------
// Dialog-init data

using platform::dialogs::DialogInitEntry;

std::vector<BYTE> Bytes(const std::string& text) {
  return std::vector<BYTE>(text.begin(), text.end());
}

TEST(DialogInitTest, EntriesArePackedWithoutAlignmentAndEndWithAZeroWord) {
  const std::vector<DialogInitEntry> entries = {{9396, 0x0403, Bytes(std::string("ab\0", 3))},
                                                {9397, 0x0401, Bytes(std::string("\xC3\xA4\0", 3))}};
  const std::vector<BYTE> bytes = platform::dialogs::BuildDialogInit(entries);
  const std::vector<BYTE> expected = {0xB4, 0x24, 0x03, 0x04, 3, 0, 0, 0, 'a',  'b',  0,  // first
                                      0xB5, 0x24, 0x01, 0x04, 3, 0, 0, 0, 0xC3, 0xA4, 0, 0, 0};
  EXPECT_EQ(bytes, expected);
  const auto parsed = platform::dialogs::ParseDialogInit(bytes.data(), bytes.size());
  EXPECT_TRUE(parsed.complete);
  EXPECT_EQ(parsed.entries, entries);
  EXPECT_EQ(platform::dialogs::DialogInitText(parsed.entries[1]), std::wstring(L"\x00E4"));
}

TEST(DialogInitTest, DataThatEndsEarlyOrClaimsTooMuchKeepsTheEntriesBeforeAndIsIncomplete) {
  const std::vector<BYTE> bytes =
      platform::dialogs::BuildDialogInit({{1, 0x0403, Bytes("one")}, {2, 0x0403, Bytes("two")}});
  for (size_t size = 0; size < bytes.size(); ++size) {
    SCOPED_TRACE("size " + std::to_string(size));
    // A copy of exactly size bytes, so that the sanitizer sees any read past it.
    const std::vector<BYTE> prefix(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(size));
    const auto parsed = platform::dialogs::ParseDialogInit(prefix.data(), prefix.size());
    EXPECT_FALSE(parsed.complete);
    const size_t entry = 8 + 3;  // id, message, length and "one" without its terminator
    EXPECT_EQ(parsed.entries.size(), size < 2 * entry ? (size < entry ? 0u : 1u) : 2u);
  }
  std::vector<BYTE> oversized = bytes;
  const DWORD claimed = 0xFFFFFFF0u;
  std::memcpy(oversized.data() + 8 + 3 + 4, &claimed, sizeof claimed);
  const auto parsed = platform::dialogs::ParseDialogInit(oversized.data(), oversized.size());
  EXPECT_FALSE(parsed.complete);
  ASSERT_EQ(parsed.entries.size(), 1u);
  EXPECT_EQ(platform::dialogs::DialogInitText(parsed.entries[0]), std::wstring(L"one"));
  EXPECT_FALSE(platform::dialogs::ParseDialogInit(nullptr, 10).complete);
}

TEST(DialogInitTest, ATextWithoutTerminatorIsTakenWholeAndBadUtf8IsReplaced) {
  EXPECT_EQ(platform::dialogs::DialogInitText({1, 0x0403, Bytes("open")}), std::wstring(L"open"));
  EXPECT_EQ(platform::dialogs::DialogInitText({1, 0x0403, Bytes(std::string("a\0b", 3))}),
            std::wstring(L"a"));
  EXPECT_EQ(platform::dialogs::DialogInitText({1, 0x0403, Bytes("\xFFx")}), std::wstring(L"\xFFFDx"));
  EXPECT_EQ(platform::dialogs::BuildDialogInit({{0, 0x0403, Bytes("lost")}}), std::vector<BYTE>(2, 0))
      << "an entry with control id 0 would end the list";
}

// ---------------------------------------------------------------------------------------
// The resource blob

TEST(ResourceBlobTest, ItemsReadBackWithStringIdsInUpperCase) {
  using platform::resources::ResourceId;
  const std::vector<platform::resources::ResourceItem> items = {
      {ResourceId::Ordinal(5), ResourceId::Ordinal(101), 0x0409, {1, 2, 3}},
      {ResourceId::Text(L"Registry"), ResourceId::Text(L"Module"), 0x0407, {}},
      {ResourceId::Ordinal(10), ResourceId::Text(L"x"), 0, {9, 8, 7, 6, 5}},
  };
  const std::vector<BYTE> blob = platform::resources::BuildResourceBlob(items);
  EXPECT_EQ(blob.size() % 4, 0u);
  std::vector<DWORD> aligned((blob.size() + 3) / 4);
  std::memcpy(aligned.data(), blob.data(), blob.size());
  const auto* data = reinterpret_cast<const BYTE*>(aligned.data());
  auto found = platform::resources::ParseResourceBlob(data, blob.size());
  ASSERT_TRUE(found.has_value());
  ASSERT_EQ(found->size(), items.size());
  const ResourceId types[] = {ResourceId::Ordinal(5), ResourceId::Text(L"REGISTRY"), ResourceId::Ordinal(10)};
  const ResourceId names[] = {ResourceId::Ordinal(101), ResourceId::Text(L"MODULE"), ResourceId::Text(L"X")};
  for (size_t i = 0; i < items.size(); ++i) {
    SCOPED_TRACE("item " + std::to_string(i));
    const auto& got = (*found)[i];
    EXPECT_EQ(got.type, types[i]) << Narrow(got.type.text);
    EXPECT_EQ(got.name, names[i]) << Narrow(got.name.text);
    EXPECT_EQ(got.language, items[i].language);
    EXPECT_EQ(std::vector<BYTE>(got.data, got.data + got.size), items[i].data);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(got.data) % 4, 0u);
  }
  for (size_t size = 0; size < blob.size(); ++size) {
    EXPECT_FALSE(platform::resources::ParseResourceBlob(data, size).has_value()) << "size " << size;
  }
  EXPECT_FALSE(platform::resources::ParseResourceBlob(data + 1, blob.size() - 1).has_value()) << "misaligned";
}

}  // namespace
