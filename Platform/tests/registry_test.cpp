#include <windows.h>
#include <platform/testing_registry.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <unistd.h>
#include <vector>

namespace reg = platform::registry;

namespace {

// An open key, closed when the test is done with it.
struct Key {
  HKEY h = nullptr;
  ~Key() { reset(); }
  void reset() {
    if (h) RegCloseKey(h);
    h = nullptr;
  }
  HKEY* put() { return &h; }
};

LONG Create(HKEY parent, const wchar_t* path, Key* key, DWORD* disposition = nullptr) {
  return RegCreateKeyExW(parent, path, 0, nullptr, REG_OPTION_NON_VOLATILE, KEY_ALL_ACCESS, nullptr,
                         key->put(), disposition);
}

LONG SetText(HKEY key, const wchar_t* name, const std::wstring& text) {
  return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                        static_cast<DWORD>((text.size() + 1) * sizeof(WCHAR)));
}

bool Exists(const wchar_t* path) {
  Key key;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, path, 0, KEY_READ, key.put()) == ERROR_SUCCESS;
}

std::vector<std::wstring> SubkeyNames(HKEY key) {
  std::vector<std::wstring> names;
  wchar_t name[256];
  for (DWORD i = 0;; ++i) {
    DWORD size = 256;
    if (RegEnumKeyExW(key, i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, size);
  }
  return names;
}

class Registry : public ::testing::Test {
 protected:
  void SetUp() override {
    reg::ClearFaults();
    reg::Reset();
    handlesBefore_ = reg::OpenHandleCount();
  }
  void TearDown() override {
    reg::ClearFaults();
    EXPECT_EQ(reg::OpenHandleCount(), handlesBefore_) << "a key handle leaked";
    reg::Reset();
  }
  int handlesBefore_ = 0;
};

TEST_F(Registry, CreateMakesIntermediateKeysAndOpeningIgnoresCaseButKeepsIt) {
  Key created;
  DWORD disposition = 0;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\\{AB}\\InProcServer32", &created, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
  EXPECT_TRUE(Exists(L"CLSID")) << reg::Dump();
  EXPECT_TRUE(Exists(L"clsid\\{ab}\\INPROCSERVER32")) << reg::Dump();

  Key again;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\\{ab}\\InprocServer32", &again, &disposition), ERROR_SUCCESS);
  EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY));
  Key parent;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"Clsid\\{AB}", 0, KEY_READ, parent.put()), ERROR_SUCCESS);
  EXPECT_EQ(SubkeyNames(parent.h), std::vector<std::wstring>{L"InProcServer32"}) << reg::Dump();
}

TEST_F(Registry, OpenFailsWithFileNotFoundWhenAKeyOnThePathIsAbsent) {
  Key existing;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"A", &existing), ERROR_SUCCESS);
  HKEY key = reinterpret_cast<HKEY>(0x1);
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"A\\Missing\\C", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(key, nullptr);
  EXPECT_FALSE(Exists(L"A\\Missing")) << "opening must not create";
}

TEST_F(Registry, BadPathsAndHandlesAreRefused) {
  Key key;
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, L"\\Leading", &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, L"A\\\\B", &key), ERROR_BAD_PATHNAME);
  EXPECT_EQ(Create(reinterpret_cast<HKEY>(0x4242), L"A", &key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(reinterpret_cast<HKEY>(0x4242)), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(HKEY_CLASSES_ROOT), ERROR_SUCCESS);
  EXPECT_EQ(key.h, nullptr);

  HKEY once = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, L"X", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &once, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(once), ERROR_SUCCESS);
  EXPECT_EQ(RegCloseKey(once), ERROR_INVALID_HANDLE) << "a second close";
}

TEST_F(Registry, DefaultValueKeepsTheBytesAsGivenWithTheTerminatorInItsSize) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\\{AB}\\InProcServer32", &key), ERROR_SUCCESS);
  const std::wstring path = L"Z:\\opt\\profiles\\CorvaneView.dll";
  ASSERT_EQ(SetText(key.h, nullptr, path), ERROR_SUCCESS);

  wchar_t buffer[64] = {};
  DWORD size = sizeof buffer, type = 0;
  ASSERT_EQ(RegQueryValueExW(key.h, L"", nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(size, (path.size() + 1) * sizeof(WCHAR));
  EXPECT_EQ(std::wstring(buffer), path);

  // A string stored without its terminator comes back without one.
  ASSERT_EQ(
      RegSetValueExW(key.h, L"Bare", 0, REG_SZ, reinterpret_cast<const BYTE*>(L"ab"), 2 * sizeof(WCHAR)),
      ERROR_SUCCESS);
  wchar_t bare[4] = {L'x', L'x', L'x', L'x'};
  size = sizeof bare;
  ASSERT_EQ(RegQueryValueExW(key.h, L"bare", nullptr, nullptr, reinterpret_cast<BYTE*>(bare), &size),
            ERROR_SUCCESS);
  EXPECT_EQ(size, 2 * sizeof(WCHAR));
  EXPECT_EQ(bare[2], L'x');
}

TEST_F(Registry, QueryWithASmallBufferReportsMoreDataAndTheNeededSize) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"K", &key), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, L"Name", L"value"), ERROR_SUCCESS);
  const DWORD needed = 6 * sizeof(WCHAR);
  struct Case {
    DWORD size;
    bool withBuffer;
    LONG expected;
  } cases[] = {
      {0, true, ERROR_MORE_DATA},        {needed - 1, true, ERROR_MORE_DATA}, {needed, true, ERROR_SUCCESS},
      {needed + 8, true, ERROR_SUCCESS}, {0, false, ERROR_SUCCESS},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE("buffer of " + std::to_string(c.size) + " bytes" + (c.withBuffer ? "" : ", no buffer"));
    wchar_t buffer[16];
    std::fill(std::begin(buffer), std::end(buffer), L'#');
    DWORD size = c.size, type = 0;
    EXPECT_EQ(RegQueryValueExW(key.h, L"Name", nullptr, &type,
                               c.withBuffer ? reinterpret_cast<BYTE*>(buffer) : nullptr, &size),
              c.expected);
    EXPECT_EQ(size, needed);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    if (c.expected == ERROR_MORE_DATA) {
      EXPECT_EQ(buffer[0], L'#') << "the buffer must stay untouched";
    }
  }
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key.h, L"Absent", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegQueryValueExW(key.h, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND)
      << "no default value was set";
}

TEST_F(Registry, EnumKeyRefusesANameThatWithItsTerminatorExceedsTheBuffer) {
  Key parent;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"P", &parent), ERROR_SUCCESS);
  struct Case {
    size_t length;
    LONG expected;
  } cases[] = {{126, ERROR_SUCCESS}, {127, ERROR_SUCCESS}, {128, ERROR_MORE_DATA}, {200, ERROR_MORE_DATA}};
  for (const auto& c : cases) {
    SCOPED_TRACE("a name of " + std::to_string(c.length) + " characters in a 128-character buffer");
    const std::wstring name(c.length, L'n');
    Key child;
    ASSERT_EQ(Create(parent.h, name.c_str(), &child), ERROR_SUCCESS);
    wchar_t buffer[128];
    DWORD size = 128;
    EXPECT_EQ(RegEnumKeyExW(parent.h, 0, buffer, &size, nullptr, nullptr, nullptr, nullptr), c.expected);
    if (c.expected == ERROR_SUCCESS) {
      EXPECT_EQ(size, c.length);
      EXPECT_EQ(std::wstring(buffer), name);
    }
    EXPECT_EQ(RegDeleteKeyW(parent.h, name.c_str()), ERROR_SUCCESS);
  }
  wchar_t buffer[8];
  DWORD size = 8;
  EXPECT_EQ(RegEnumKeyExW(parent.h, 0, buffer, &size, nullptr, nullptr, nullptr, nullptr),
            ERROR_NO_MORE_ITEMS);
}

TEST_F(Registry, EnumKeyListsSubkeysInNameOrderWithoutRegardToCase) {
  Key parent;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"P", &parent), ERROR_SUCCESS);
  for (const wchar_t* name : {L"beta", L"Alpha", L"gamma", L"ALPHA"}) {
    Key child;
    ASSERT_EQ(Create(parent.h, name, &child), ERROR_SUCCESS);
  }
  EXPECT_EQ(SubkeyNames(parent.h), (std::vector<std::wstring>{L"Alpha", L"beta", L"gamma"}));
  DWORD subKeys = 0, values = 0, longest = 0;
  ASSERT_EQ(RegQueryInfoKeyW(parent.h, nullptr, nullptr, nullptr, &subKeys, &longest, nullptr, &values,
                             nullptr, nullptr, nullptr, nullptr),
            ERROR_SUCCESS);
  EXPECT_EQ(subKeys, 3u);
  EXPECT_EQ(values, 0u);
  EXPECT_EQ(longest, 5u);
}

TEST_F(Registry, EnumValueListsValuesInTheOrderTheyWereSet) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"V", &key), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, L"Second", L"2"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, nullptr, L"default"), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, L"second", L"replaced"), ERROR_SUCCESS);
  std::vector<std::wstring> names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[32];
    DWORD size = 32;
    const LONG result = RegEnumValueW(key.h, i, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (result == ERROR_NO_MORE_ITEMS) break;
    ASSERT_EQ(result, ERROR_SUCCESS);
    names.emplace_back(name, size);
  }
  EXPECT_EQ(names, (std::vector<std::wstring>{L"Second", L""}));
  EXPECT_EQ(RegDeleteValueW(key.h, L"SECOND"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteValueW(key.h, L"Second"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteValueW(key.h, nullptr), ERROR_SUCCESS);
}

TEST_F(Registry, DeleteFailsWhileTheKeyHasSubkeysAndSucceedsOnALeaf) {
  Key leaf;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\\{AB}\\InProcServer32", &leaf), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{AB}"), ERROR_ACCESS_DENIED);
  EXPECT_TRUE(Exists(L"CLSID\\{AB}\\InProcServer32")) << reg::Dump();
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"clsid\\{ab}\\inprocserver32"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{AB}"), ERROR_SUCCESS);
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"CLSID\\{AB}"), ERROR_FILE_NOT_FOUND);
  EXPECT_TRUE(Exists(L"CLSID"));
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L""), ERROR_ACCESS_DENIED) << "a predefined key";
}

TEST_F(Registry, AHandleToAKeyDeletedElsewhereFailsWithKeyDeletedAndStillCloses) {
  Key held;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"Gone\\Child", &held), ERROR_SUCCESS);
  ASSERT_EQ(SetText(held.h, L"v", L"x"), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Gone"), ERROR_SUCCESS);
  EXPECT_FALSE(Exists(L"Gone")) << reg::Dump();
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(held.h, L"v", nullptr, nullptr, nullptr, &size), ERROR_KEY_DELETED);
  EXPECT_EQ(SetText(held.h, L"v", L"y"), ERROR_KEY_DELETED);
  Key below;
  EXPECT_EQ(Create(held.h, L"Below", &below), ERROR_KEY_DELETED);
  EXPECT_FALSE(Exists(L"Gone")) << "writing through a deleted key must not revive it";

  // Reset does the same to every open handle.
  Key other;
  ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, L"Software", &other), ERROR_SUCCESS);
  reg::Reset();
  EXPECT_EQ(SetText(other.h, nullptr, L"x"), ERROR_KEY_DELETED);
}

TEST_F(Registry, DeleteTreeWithoutASubkeyEmptiesTheKeyButKeepsIt) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"T\\A\\B", &key), ERROR_SUCCESS);
  Key top;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"T", &top), ERROR_SUCCESS);
  ASSERT_EQ(SetText(top.h, nullptr, L"x"), ERROR_SUCCESS);
  ASSERT_EQ(RegDeleteTreeW(top.h, nullptr), ERROR_SUCCESS);
  EXPECT_TRUE(Exists(L"T"));
  EXPECT_FALSE(Exists(L"T\\A"));
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(top.h, nullptr, nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(RegDeleteTreeW(HKEY_CLASSES_ROOT, L"Absent"), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, AKeyOpenedForReadRefusesWritesAndNewSubkeys) {
  Key created;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"R\\Existing", &created), ERROR_SUCCESS);
  Key read;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"R", 0, KEY_READ, read.put()), ERROR_SUCCESS);
  EXPECT_EQ(SetText(read.h, nullptr, L"x"), ERROR_ACCESS_DENIED);
  Key child;
  EXPECT_EQ(Create(read.h, L"New", &child), ERROR_ACCESS_DENIED);
  EXPECT_FALSE(Exists(L"R\\New"));
  Key existing;
  EXPECT_EQ(Create(read.h, L"existing", &existing), ERROR_SUCCESS)
      << "opening an existing key needs no right";
  // Deleting below a read handle works, as the recursive unregistration relies on.
  existing.reset();
  created.reset();
  EXPECT_EQ(RegDeleteKeyW(read.h, L"Existing"), ERROR_SUCCESS);
}

// ---------------------------------------------------------------------------------------------
// Saving and loading.

void FillWithOddContent() {
  Key key;
  const std::wstring oddName =
      std::wstring(L"Odd \"name\" [x] = ; \u00e9\U0001F600") + wchar_t(0x7F) + wchar_t(0xD800);
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, (L"CLSID\\{AB}\\" + oddName).c_str(), &key), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, nullptr, L"Z:\\opt\\\"quoted\"\r\n\ttab\\"), ERROR_SUCCESS);
  const wchar_t multi[] = L"one\0two\0";
  ASSERT_EQ(
      RegSetValueExW(key.h, L"Multi", 0, REG_MULTI_SZ, reinterpret_cast<const BYTE*>(multi), sizeof multi),
      ERROR_SUCCESS);
  const BYTE odd[3] = {0x41, 0x00, 0xFF};
  ASSERT_EQ(RegSetValueExW(key.h, L"OddSize", 0, REG_SZ, odd, 3), ERROR_SUCCESS);
  const DWORD number = 0x80000001;
  ASSERT_EQ(RegSetValueExW(key.h, L"Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4),
            ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key.h, L"Empty", 0, REG_BINARY, nullptr, 0), ERROR_SUCCESS);
  ASSERT_EQ(RegSetValueExW(key.h, L"Custom", 0, 12345, odd, 2), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, oddName.c_str(), L"named oddly"), ERROR_SUCCESS);
  Key empty;
  ASSERT_EQ(Create(HKEY_LOCAL_MACHINE, L"Software\\Empty Key", &empty), ERROR_SUCCESS);
  ASSERT_EQ(SetText(HKEY_CURRENT_USER, nullptr, L"root value"), ERROR_SUCCESS);
}

TEST_F(Registry, SaveAndLoadRoundTripOddNamesAndEveryKindOfValue) {
  FillWithOddContent();
  const std::string saved = reg::SaveToText();
  const std::wstring dumped = reg::Dump();
  const auto file =
      std::filesystem::temp_directory_path() / ("registry_test-" + std::to_string(getpid()) + ".txt");
  ASSERT_EQ(reg::SaveToFile(file), ERROR_SUCCESS);
  reg::Reset();
  ASSERT_FALSE(Exists(L"CLSID"));
  std::string error;
  ASSERT_EQ(reg::LoadFromFile(file, &error), ERROR_SUCCESS) << error;
  std::filesystem::remove(file);
  EXPECT_EQ(reg::SaveToText(), saved);
  EXPECT_EQ(reg::Dump(), dumped);
  EXPECT_TRUE(Exists(L"CLSID\\{AB}"));

  Key loaded;
  ASSERT_EQ(RegOpenKeyExW(HKEY_LOCAL_MACHINE, L"SOFTWARE\\empty key", 0, KEY_READ, loaded.put()),
            ERROR_SUCCESS)
      << "a key without values is kept";
  BYTE odd[8] = {};
  DWORD size = sizeof odd, type = 0;
  Key parent;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID\\{AB}", 0, KEY_READ, parent.put()), ERROR_SUCCESS);
  const std::vector<std::wstring> names = SubkeyNames(parent.h);
  ASSERT_EQ(names.size(), 1u);
  Key oddKey;
  ASSERT_EQ(RegOpenKeyExW(parent.h, names[0].c_str(), 0, KEY_READ, oddKey.put()), ERROR_SUCCESS);
  ASSERT_EQ(RegQueryValueExW(oddKey.h, L"OddSize", nullptr, &type, odd, &size), ERROR_SUCCESS);
  EXPECT_EQ(size, 3u);
  EXPECT_EQ(odd[2], 0xFF);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
}

TEST_F(Registry, TheSavedTextIsReadable) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\\{AB}\\InProcServer32", &key), ERROR_SUCCESS);
  ASSERT_EQ(SetText(key.h, nullptr, L"Z:\\a.dll"), ERROR_SUCCESS);
  const DWORD one = 1;
  ASSERT_EQ(RegSetValueExW(key.h, L"N", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), 4), ERROR_SUCCESS);
  EXPECT_EQ(reg::SaveToText(),
            "PLATFORM-REGISTRY 1\n"
            "key \"HKEY_CLASSES_ROOT\\\\CLSID\"\n"
            "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{AB}\"\n"
            "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\{AB}\\\\InProcServer32\"\n"
            "value \"\" sz \"Z:\\\\a.dll\\0\"\n"
            "value \"N\" dword 0x00000001\n");
}

TEST_F(Registry, LoadRefusesACorruptTextAndKeepsTheHive) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"Kept", &key), ERROR_SUCCESS);
  const std::wstring before = reg::Dump();
  const std::string header = "PLATFORM-REGISTRY 1\n";
  auto deepPath = [](int levels) {
    std::string path;
    for (int i = 0; i < levels; ++i) path += "\\\\A";
    return path;
  };
  const std::string cases[] = {
      "",
      "not a registry\n",
      "PLATFORM-REGISTRY 2\n",
      header + "value \"\" sz \"x\\0\"\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\n",
      header + "key \"HKEY_NOWHERE\\\\A\"\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\\\\\A\"\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\" extra\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" sz \"bad \\q escape\"\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" sz \"\\u{}\"\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" sz \"\\u{123456789}\"\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" binary hex:0g\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" binary hex:012\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" dword 0x1\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" nonsense hex:\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" 99999999999 hex:\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" sz\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"v\" sz \"x\" trailing\n",
      header + "key \"HKEY_CLASSES_ROOT\\\\A\"\nvalue \"raw \xC3\xA9\" sz \"x\"\n",
      header + "remove \"HKEY_CLASSES_ROOT\\\\A\"\n",
      header + "key \"HKEY_CLASSES_ROOT" + deepPath(513) + "\"\n",
      header + "key \"HKEY_CLASSES_ROOT" + deepPath(200000) + "\"\n",
  };
  for (const auto& text : cases) {
    SCOPED_TRACE("text: " + text.substr(0, 120));
    std::string error;
    EXPECT_EQ(reg::LoadFromText(text, &error), ERROR_INVALID_DATA);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(reg::Dump(), before);
  }
  EXPECT_EQ(reg::LoadFromFile("/nonexistent/registry.txt"), ERROR_FILE_NOT_FOUND);
  EXPECT_EQ(reg::Dump(), before);
  key.reset();
  EXPECT_EQ(reg::LoadFromText(header + "key \"HKEY_CLASSES_ROOT" + deepPath(512) + "\"\n"), ERROR_SUCCESS)
      << "512 levels are the limit";
  EXPECT_EQ(reg::LoadFromText(reg::SaveToText()), ERROR_SUCCESS);
}

TEST_F(Registry, LoadSaysWhenThePathIsADirectoryOrTheFileTooLarge) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("registry_test-" + std::to_string(getpid()) + "-dir");
  std::filesystem::create_directories(folder);
  std::string error;
  EXPECT_EQ(reg::LoadFromFile(folder, &error), ERROR_CANTREAD);
  EXPECT_EQ(error, "a directory, not a file");
  // A sparse file one byte beyond 64 MiB.
  const auto large = folder / "large.txt";
  std::filesystem::resize_file((std::ofstream(large), large), (size_t{64} << 20) + 1);
  EXPECT_EQ(reg::LoadFromFile(large, &error), ERROR_CANTREAD);
  EXPECT_EQ(error, "larger than 64 MiB");
  std::filesystem::remove_all(folder);
}

TEST_F(Registry, SaveReplacesTheFileWholeAndLeavesNothingBeside) {
  const auto folder =
      std::filesystem::temp_directory_path() / ("registry_test-" + std::to_string(getpid()) + "-save");
  std::filesystem::create_directories(folder);
  const auto file = folder / "registry.txt";
  std::ofstream(file) << std::string(100000, '#');  // longer than what replaces it
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\{AB}", &key), ERROR_SUCCESS);
  ASSERT_EQ(reg::SaveToFile(file), ERROR_SUCCESS);
  std::ifstream in(file, std::ios::binary);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), reg::SaveToText());
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "a temporary file is left";
  EXPECT_EQ(reg::SaveToFile(folder / "absent" / "registry.txt"), ERROR_CANTWRITE);
  EXPECT_EQ(reg::SaveToFile(folder), ERROR_CANTWRITE) << "a directory is not replaced";
  EXPECT_TRUE(std::filesystem::is_directory(folder));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1) << "a temporary file is left";
  std::filesystem::remove_all(folder);
}

TEST_F(Registry, SaveWritesThroughALinkToItsTargetAndKeepsTheFilesMode) {
  namespace fs = std::filesystem;
  const auto folder = fs::temp_directory_path() / ("registry_test-" + std::to_string(getpid()) + "-link");
  fs::remove_all(folder);
  fs::create_directories(folder / "real");
  const auto target = folder / "real" / "registry.txt";
  std::ofstream(target) << "old";
  fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  const auto link = folder / "registry.txt";
  fs::create_symlink(fs::path("real") / "registry.txt", link);
  const auto chained = folder / "chained.txt";
  fs::create_symlink(link, chained);
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"CLSID\\{AB}", &key), ERROR_SUCCESS);
  const auto read = [](const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  };
  for (const auto& path : {link, chained}) {
    SCOPED_TRACE(path.string());
    std::string error;
    ASSERT_EQ(reg::SaveToFile(path, &error), ERROR_SUCCESS) << error;
    EXPECT_TRUE(fs::is_symlink(link)) << "the link is kept";
    EXPECT_EQ(read(target), reg::SaveToText()) << "the target holds the hive";
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder / "real"), {}), 1) << "a temporary file is left";
  }

  // A read-only file: the owner who may still write it (the superuser) keeps its mode;
  // anyone else is refused and the file stays as it was.
  fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::string error;
  const LONG saved = reg::SaveToFile(link, &error);
  if (access(target.c_str(), W_OK) == 0) {
    EXPECT_EQ(saved, ERROR_SUCCESS) << error;
    EXPECT_EQ(fs::status(target).permissions(),
              fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  } else {
    EXPECT_EQ(saved, ERROR_ACCESS_DENIED);
    EXPECT_EQ(error, "the file is not writable");
  }
  fs::remove(target);
  EXPECT_EQ(reg::SaveToFile(link, &error), ERROR_SUCCESS) << "a dangling link's target is created: " << error;
  EXPECT_TRUE(fs::is_symlink(link));
  EXPECT_EQ(read(target), reg::SaveToText());
  fs::remove_all(folder);
}

// Keys arrive in any order (a file written by hand, registrations in any order); loading,
// finding and listing them grows as n log n. The times are printed, not asserted.
TEST_F(Registry, TwoHundredThousandKeysInAnyOrderLoadResolveAndListInNLogN) {
  constexpr int kKeys = 200000;
  std::vector<int> order(kKeys);
  for (int i = 0; i < kKeys; ++i) order[static_cast<size_t>(i)] = kKeys - 1 - i;  // reverse order
  std::vector<int> shuffled = order;
  std::mt19937 random(12);
  std::shuffle(shuffled.begin(), shuffled.end(), random);
  auto name = [](int i) {
    wchar_t text[40];
    std::swprintf(text, 40, L"{%08X-0000-0000-0000-000000000000}", static_cast<unsigned>(i) * 2654435761u);
    return std::wstring(text);
  };
  using Clock = std::chrono::steady_clock;
  auto seconds = [](Clock::time_point since) {
    return std::chrono::duration<double>(Clock::now() - since).count();
  };
  for (const auto* keys : {&order, &shuffled}) {
    SCOPED_TRACE(keys == &order ? "reverse order" : "shuffled");
    reg::Reset();
    std::string text = "PLATFORM-REGISTRY 1\n";
    for (int i : *keys) {
      const std::wstring wide = name(i);
      const std::string n(wide.begin(), wide.end());
      text +=
          "key \"HKEY_CLASSES_ROOT\\\\CLSID\\\\" + n + "\\\\InProcServer32\"\nvalue \"\" sz \"x.dll\\0\"\n";
    }
    auto start = Clock::now();
    ASSERT_EQ(reg::LoadFromText(text), ERROR_SUCCESS);
    const double load = seconds(start);

    start = Clock::now();
    Key clsids;
    ASSERT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, clsids.put()), ERROR_SUCCESS);
    std::wstring previous;
    wchar_t found[256];
    DWORD index = 0;
    for (;; ++index) {
      DWORD size = 256;
      if (RegEnumKeyExW(clsids.h, index, found, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS)
        break;
      Key server;
      ASSERT_EQ(RegOpenKeyExW(clsids.h, (std::wstring(found) + L"\\InProcServer32").c_str(), 0, KEY_READ,
                              server.put()),
                ERROR_SUCCESS);
      ASSERT_LT(previous, found) << "enumerated in name order";
      previous = found;
    }
    EXPECT_EQ(index, static_cast<DWORD>(kKeys));
    const double list = seconds(start);

    start = Clock::now();
    reg::Reset();
    for (int i : *keys) {
      Key key;
      ASSERT_EQ(Create(HKEY_CLASSES_ROOT, (L"CLSID\\" + name(i)).c_str(), &key), ERROR_SUCCESS);
    }
    const double create = seconds(start);
    std::printf("%d keys: loaded in %.2f s, listed and opened in %.2f s, created one by one in %.2f s\n",
                kKeys, load, list, create);
  }
}

TEST_F(Registry, LoadNeverCrashesOnAMangledText) {
  FillWithOddContent();
  const std::string saved = reg::SaveToText();
  // Every prefix, and every single-byte change at each position: accepted or refused, no crash.
  for (size_t length = 0; length <= saved.size(); ++length) reg::LoadFromText(saved.substr(0, length));
  for (size_t i = 0; i < saved.size(); ++i) {
    for (char c : {'\0', '"', '\\', 'x', '\n', '\xFF'}) {
      std::string mangled = saved;
      mangled[i] = c;
      reg::LoadFromText(mangled);
    }
  }
  EXPECT_EQ(reg::LoadFromText(saved), ERROR_SUCCESS);
  EXPECT_EQ(reg::SaveToText(), saved);
}

// ---------------------------------------------------------------------------------------------
// Failure injection.

TEST_F(Registry, FailNthCallFailsExactlyThatCallAndLeavesNoTrace) {
  reg::FailNthCall(L"RegCreateKeyExW", 2, ERROR_ACCESS_DENIED);
  Key first, second, third;
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, L"First", &first), ERROR_SUCCESS);
  HKEY* out = second.put();
  *out = reinterpret_cast<HKEY>(0x1);
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, L"Second\\Deep", &second), ERROR_ACCESS_DENIED);
  EXPECT_EQ(second.h, nullptr);
  EXPECT_FALSE(Exists(L"Second")) << reg::Dump();
  EXPECT_EQ(Create(HKEY_CLASSES_ROOT, L"Third", &third), ERROR_SUCCESS) << "the rule fires once";
}

TEST_F(Registry, FailNthCallWithoutAFunctionCountsEveryRegistryCall) {
  Key key;
  ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"K", &key), ERROR_SUCCESS);
  reg::FailNthCall(L"", 3, ERROR_INVALID_HANDLE);
  EXPECT_EQ(SetText(key.h, L"a", L"1"), ERROR_SUCCESS);
  DWORD size = 0;
  EXPECT_EQ(RegQueryValueExW(key.h, L"a", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
  EXPECT_EQ(SetText(key.h, L"b", L"2"), ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegQueryValueExW(key.h, L"b", nullptr, nullptr, nullptr, &size), ERROR_FILE_NOT_FOUND)
      << "the failed call must not have set the value";
}

TEST_F(Registry, AFailedCloseLeavesTheHandleOpen) {
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"C", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  const int open = reg::OpenHandleCount();
  reg::FailNthCall(L"RegCloseKey", 1, ERROR_INVALID_HANDLE);
  EXPECT_EQ(RegCloseKey(key), ERROR_INVALID_HANDLE);
  EXPECT_EQ(reg::OpenHandleCount(), open);
  EXPECT_EQ(RegCloseKey(key), ERROR_SUCCESS);
  EXPECT_EQ(reg::OpenHandleCount(), open - 1);
}

TEST_F(Registry, TheFaultHookSeesEveryCallByNameAndCanFailIt) {
  std::vector<std::wstring> seen;
  reg::SetFaultHook([&seen](std::wstring_view function) -> LONG {
    seen.emplace_back(function);
    return function == L"RegDeleteKeyW" ? ERROR_ACCESS_DENIED : ERROR_SUCCESS;
  });
  {
    Key key;
    ASSERT_EQ(Create(HKEY_CLASSES_ROOT, L"H", &key), ERROR_SUCCESS);
    ASSERT_EQ(SetText(key.h, nullptr, L"x"), ERROR_SUCCESS);
    DWORD size = 0;
    ASSERT_EQ(RegQueryValueExW(key.h, nullptr, nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    wchar_t name[8];
    DWORD length = 8;
    ASSERT_EQ(RegEnumKeyExW(key.h, 0, name, &length, nullptr, nullptr, nullptr, nullptr),
              ERROR_NO_MORE_ITEMS);
  }
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"H"), ERROR_ACCESS_DENIED);
  Key opened;
  EXPECT_EQ(RegOpenKeyExW(HKEY_CLASSES_ROOT, L"H", 0, KEY_READ, opened.put()), ERROR_SUCCESS)
      << "still there";
  const std::vector<std::wstring> expected = {L"RegCreateKeyExW", L"RegSetValueExW", L"RegQueryValueExW",
                                              L"RegEnumKeyExW",   L"RegCloseKey",    L"RegDeleteKeyW",
                                              L"RegOpenKeyExW"};
  EXPECT_EQ(seen, expected);
  reg::ClearFaults();
  opened.reset();
  EXPECT_EQ(RegDeleteKeyW(HKEY_CLASSES_ROOT, L"H"), ERROR_SUCCESS) << "the hook is gone";
}

TEST_F(Registry, FailingTheNthCallFailsThatCallAloneWhateverN) {
  for (int n = 1; n <= 4; ++n) {
    SCOPED_TRACE(n);
    std::wstring failed;
    reg::FailNthCallAndName(n, ERROR_ACCESS_DENIED, &failed);
    std::vector<LONG> results;  // an open and its close, twice
    for (int pair = 0; pair < 2; ++pair) {
      HKEY key = nullptr;
      results.push_back(RegOpenKeyExW(HKEY_CLASSES_ROOT, nullptr, 0, KEY_READ, &key));
      results.push_back(key ? RegCloseKey(key) : ERROR_SUCCESS);
      if (results.back() != ERROR_SUCCESS) RegCloseKey(key);  // the failed close left it open
    }
    reg::ClearFaults();
    std::vector<LONG> expected(4, ERROR_SUCCESS);
    expected[static_cast<size_t>(n - 1)] = ERROR_ACCESS_DENIED;
    EXPECT_EQ(results, expected);
    EXPECT_EQ(failed, n % 2 == 1 ? L"RegOpenKeyExW" : L"RegCloseKey");
  }
}

}  // namespace
