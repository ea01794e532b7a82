// The hive's text form (saved and loaded between runs of the host command line) and the dump
// for test diagnostics.
#include <cstdio>
#include <fstream>

#include <sys/stat.h>
#include <unistd.h>

#include "../internal/paths.h"
#include "../internal/unicode.h"
#include "platform/testing_registry.h"
#include "registry_hive.h"
#include "winreg.h"

namespace platform::registry {

namespace {

constexpr std::string_view kFormatLine = "PLATFORM-REGISTRY 1";
constexpr size_t kMaxKeyDepth = 512;  // levels below a predefined key

struct TypeName {
  DWORD type;
  const char* word;     // in the text form
  const wchar_t* name;  // in the dump
};
constexpr TypeName kTypeNames[] = {
    {REG_NONE, "none", L"REG_NONE"},
    {REG_SZ, "sz", L"REG_SZ"},
    {REG_EXPAND_SZ, "expand_sz", L"REG_EXPAND_SZ"},
    {REG_BINARY, "binary", L"REG_BINARY"},
    {REG_DWORD, "dword", L"REG_DWORD"},
    {REG_MULTI_SZ, "multi_sz", L"REG_MULTI_SZ"},
    {REG_QWORD, "qword", L"REG_QWORD"},
};

bool IsStringType(DWORD type) {
  return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ;
}

// ---------------------------------------------------------------------------------------------
// Writing.

void AppendQuoted(std::string& out, std::wstring_view text) {
  out += '"';
  for (wchar_t wc : text) {
    const auto c = static_cast<uint32_t>(wc);
    switch (c) {
      case '\\':
        out += "\\\\";
        break;
      case '"':
        out += "\\\"";
        break;
      case 0:
        out += "\\0";
        break;
      case '\n':
        out += "\\n";
        break;
      case '\r':
        out += "\\r";
        break;
      case '\t':
        out += "\\t";
        break;
      default:
        if (c >= 0x20 && c < 0x7F) {
          out += static_cast<char>(c);
        } else {
          char buffer[16];
          std::snprintf(buffer, sizeof buffer, "\\u{%x}", c);
          out += buffer;
        }
    }
  }
  out += '"';
}

std::wstring WideUnits(const std::vector<BYTE>& data) {
  std::wstring units(data.size() / sizeof(WCHAR), L'\0');
  if (!units.empty()) std::memcpy(units.data(), data.data(), units.size() * sizeof(WCHAR));
  return units;
}

void AppendData(std::string& out, const Value& value) {
  if (IsStringType(value.type) && value.data.size() % sizeof(WCHAR) == 0) {
    AppendQuoted(out, WideUnits(value.data));
  } else if (value.type == REG_DWORD && value.data.size() == sizeof(DWORD)) {
    DWORD number;
    std::memcpy(&number, value.data.data(), sizeof number);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<unsigned>(number));
    out += buffer;
  } else {
    out += "hex:";
    for (BYTE b : value.data) {
      char buffer[4];
      std::snprintf(buffer, sizeof buffer, "%02x", b);
      out += buffer;
    }
  }
}

void AppendType(std::string& out, DWORD type) {
  for (const auto& t : kTypeNames) {
    if (t.type == type) {
      out += t.word;
      return;
    }
  }
  out += std::to_string(type);
}

void WriteKey(std::string& out, const Key& key, const std::wstring& path, bool isRoot) {
  if (!isRoot || !key.values.empty()) {
    out += "key ";
    AppendQuoted(out, path);
    out += '\n';
    for (const auto& value : key.values) {
      out += "value ";
      AppendQuoted(out, value.name);
      out += ' ';
      AppendType(out, value.type);
      out += ' ';
      AppendData(out, value);
      out += '\n';
    }
  }
  for (const auto& child : key.Children()) WriteKey(out, *child, path + L"\\" + child->name, false);
}

// ---------------------------------------------------------------------------------------------
// Reading.

class LineReader {
 public:
  explicit LineReader(std::string_view line) : rest_(line) {}

  void SkipSpaces() {
    while (!rest_.empty() && (rest_.front() == ' ' || rest_.front() == '\t')) rest_.remove_prefix(1);
  }
  bool AtEnd() {
    SkipSpaces();
    return rest_.empty();
  }
  bool Peek(char c) {
    SkipSpaces();
    return !rest_.empty() && rest_.front() == c;
  }
  std::string_view Word() {
    SkipSpaces();
    size_t n = 0;
    while (n < rest_.size() && rest_[n] != ' ' && rest_[n] != '\t') ++n;
    std::string_view word = rest_.substr(0, n);
    rest_.remove_prefix(n);
    return word;
  }
  // A quoted text with the escapes AppendQuoted writes.
  bool Quoted(std::wstring* text, std::string* why) {
    SkipSpaces();
    if (rest_.empty() || rest_.front() != '"') return Fail(why, "a quoted text expected");
    rest_.remove_prefix(1);
    text->clear();
    while (true) {
      if (rest_.empty()) return Fail(why, "unterminated quoted text");
      const char c = rest_.front();
      rest_.remove_prefix(1);
      if (c == '"') return true;
      if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) >= 0x7F)
        return Fail(why, "a raw control or non-ASCII character in a quoted text");
      if (c != '\\') {
        *text += static_cast<wchar_t>(c);
        continue;
      }
      if (rest_.empty()) return Fail(why, "an escape at the end of the line");
      const char e = rest_.front();
      rest_.remove_prefix(1);
      switch (e) {
        case '\\':
          *text += L'\\';
          break;
        case '"':
          *text += L'"';
          break;
        case '0':
          *text += L'\0';
          break;
        case 'n':
          *text += L'\n';
          break;
        case 'r':
          *text += L'\r';
          break;
        case 't':
          *text += L'\t';
          break;
        case 'u': {
          if (rest_.empty() || rest_.front() != '{') return Fail(why, "\\u without {");
          rest_.remove_prefix(1);
          uint64_t code = 0;
          int digits = 0;
          while (!rest_.empty() && rest_.front() != '}') {
            const int v = HexValue(rest_.front());
            if (v < 0 || ++digits > 8) return Fail(why, "a bad \\u{} code");
            code = code * 16 + static_cast<uint64_t>(v);
            rest_.remove_prefix(1);
          }
          if (rest_.empty() || digits == 0) return Fail(why, "a bad \\u{} code");
          rest_.remove_prefix(1);
          *text += static_cast<wchar_t>(static_cast<uint32_t>(code));
          break;
        }
        default:
          return Fail(why, "an unknown escape");
      }
    }
  }

  static int HexValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
  }
  static bool Fail(std::string* why, const char* text) {
    *why = text;
    return false;
  }

 private:
  std::string_view rest_;
};

bool ParseType(std::string_view word, DWORD* type) {
  for (const auto& t : kTypeNames) {
    if (word == t.word) {
      *type = t.type;
      return true;
    }
  }
  if (word.empty() || word.size() > 10) return false;
  uint64_t number = 0;
  for (char c : word) {
    if (c < '0' || c > '9') return false;
    number = number * 10 + static_cast<uint64_t>(c - '0');
  }
  if (number > 0xFFFFFFFFu) return false;
  *type = static_cast<DWORD>(number);
  return true;
}

bool ParseData(LineReader& reader, std::vector<BYTE>* data, std::string* why) {
  data->clear();
  if (reader.Peek('"')) {
    std::wstring units;
    if (!reader.Quoted(&units, why)) return false;
    data->resize(units.size() * sizeof(WCHAR));
    if (!units.empty()) std::memcpy(data->data(), units.data(), data->size());
    return true;
  }
  const std::string_view word = reader.Word();
  if (word.starts_with("0x")) {
    if (word.size() != 10) return LineReader::Fail(why, "a dword needs eight hexadecimal digits");
    DWORD number = 0;
    for (char c : word.substr(2)) {
      const int v = LineReader::HexValue(c);
      if (v < 0) return LineReader::Fail(why, "a bad hexadecimal digit");
      number = number * 16 + static_cast<DWORD>(v);
    }
    data->resize(sizeof number);
    std::memcpy(data->data(), &number, sizeof number);
    return true;
  }
  if (word.starts_with("hex:")) {
    const std::string_view digits = word.substr(4);
    if (digits.size() % 2) return LineReader::Fail(why, "an odd number of hexadecimal digits");
    for (size_t i = 0; i < digits.size(); i += 2) {
      const int high = LineReader::HexValue(digits[i]), low = LineReader::HexValue(digits[i + 1]);
      if (high < 0 || low < 0) return LineReader::Fail(why, "a bad hexadecimal digit");
      data->push_back(static_cast<BYTE>(high * 16 + low));
    }
    return true;
  }
  return LineReader::Fail(why, "the value's data expected (\"text\", 0x00000000 or hex:...)");
}

bool ParseHive(std::string_view text, std::vector<KeyPtr>* roots, std::string* error) {
  *roots = NewRoots();
  KeyPtr current;
  bool sawFormat = false;
  int lineNumber = 0;
  std::string why;
  while (!text.empty()) {
    ++lineNumber;
    const size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    LineReader reader(line);
    if (reader.AtEnd() || reader.Peek('#')) continue;
    auto fail = [&](const std::string& reason) {
      *error = "line " + std::to_string(lineNumber) + ": " + reason;
      return false;
    };
    if (!sawFormat) {
      if (line != kFormatLine)
        return fail("not a registry file (\"" + std::string(kFormatLine) + "\" expected)");
      sawFormat = true;
      continue;
    }
    const std::string_view keyword = reader.Word();
    if (keyword == "key") {
      std::wstring path;
      if (!reader.Quoted(&path, &why)) return fail(why);
      if (!reader.AtEnd()) return fail("text after the key's path");
      std::wstring_view rest(path);
      const size_t slash = rest.find(L'\\');
      const std::wstring_view rootName = rest.substr(0, slash);
      current = nullptr;
      for (size_t i = 0; i < RootCount(); ++i)
        if (CompareNoCase(rootName, RootName(i)) == 0) current = (*roots)[i];
      if (!current) return fail("an unknown predefined key");
      rest.remove_prefix(slash == std::wstring_view::npos ? rest.size() : slash + 1);
      if (slash != std::wstring_view::npos) {
        for (size_t depth = 1;; ++depth) {
          const size_t next = rest.find(L'\\');
          const std::wstring_view name = rest.substr(0, next);
          if (name.empty()) return fail("an empty key name in the path");
          // The platform's limit; it also bounds the recursion of everything that walks the tree.
          if (depth > kMaxKeyDepth) return fail("a key more than 512 levels deep");
          current = current->AddChild(name);
          if (next == std::wstring_view::npos) break;
          rest.remove_prefix(next + 1);
        }
      }
    } else if (keyword == "value") {
      if (!current) return fail("a value before any key");
      std::wstring name;
      if (!reader.Quoted(&name, &why)) return fail(why);
      DWORD type = 0;
      if (!ParseType(reader.Word(), &type)) return fail("an unknown value type");
      std::vector<BYTE> data;
      if (!ParseData(reader, &data, &why)) return fail(why);
      if (!reader.AtEnd()) return fail("text after the value's data");
      current->SetValue(name, type, std::move(data));
    } else {
      return fail("\"key\" or \"value\" expected");
    }
  }
  if (!sawFormat) {
    *error = "empty file: not a registry file";
    return false;
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// The dump.

void DumpKey(std::wstring& out, const Key& key, int depth) {
  const std::wstring indent(static_cast<size_t>(depth) * 2, L' ');
  out += indent + key.name + L"\n";
  for (const auto& value : key.values) {
    out += indent + L"  " + (value.name.empty() ? std::wstring(L"@") : value.name) + L" = ";
    const wchar_t* typeName = nullptr;
    for (const auto& t : kTypeNames)
      if (t.type == value.type) typeName = t.name;
    out += typeName ? std::wstring(typeName) : L"type " + std::to_wstring(value.type);
    out += L" ";
    std::string data;
    AppendData(data, value);
    out += WideFromUtf8(data) + L"\n";
  }
  for (const auto& child : key.Children()) DumpKey(out, *child, depth + 1);
}

}  // namespace

std::string SaveToText() {
  std::string out(kFormatLine);
  out += '\n';
  const auto roots = SnapshotRoots();
  for (size_t i = 0; i < roots.size(); ++i) WriteKey(out, *roots[i], roots[i]->name, true);
  return out;
}

LONG LoadFromText(std::string_view text, std::string* error) {
  std::vector<KeyPtr> roots;
  std::string why;
  if (!ParseHive(text, &roots, &why)) {
    if (error) *error = why;
    return ERROR_INVALID_DATA;
  }
  ReplaceRoots(std::move(roots));
  return ERROR_SUCCESS;
}

namespace {

// The file a save replaces: a symbolic link's target (followed link by link), so that the link
// stays and its target holds the new hive.
std::filesystem::path SaveTarget(const std::filesystem::path& hostPath, std::error_code& ec) {
  std::filesystem::path target = hostPath;
  for (int links = 0; std::filesystem::is_symlink(target, ec); ++links) {
    if (links == 40) {  // the limit the file system itself applies to a chain of links
      ec = std::make_error_code(std::errc::too_many_symbolic_link_levels);
      return {};
    }
    const std::filesystem::path next = std::filesystem::read_symlink(target, ec);
    if (ec) return {};
    target = next.is_absolute() ? next : target.parent_path() / next;
  }
  ec.clear();
  return target;
}

}  // namespace

LONG SaveToFile(const std::filesystem::path& hostPath, std::string* error) {
  auto fail = [error](LONG code, const std::string& why) {
    if (error) *error = why;
    return code;
  };
  std::error_code ec;
  const std::filesystem::path target = SaveTarget(hostPath, ec);
  if (ec) return fail(ERROR_CANTWRITE, "its link cannot be followed: " + ec.message());
  // An existing file keeps its permissions; one the caller may not write is left alone, as
  // writing it in place would be refused.
  struct stat existing {};
  const bool exists = stat(target.c_str(), &existing) == 0;
  if (exists && S_ISDIR(existing.st_mode)) return fail(ERROR_CANTWRITE, "a directory, not a file");
  if (exists && access(target.c_str(), W_OK) != 0)
    return fail(ERROR_ACCESS_DENIED, "the file is not writable");
  const std::string text = SaveToText();
  // Written beside the file and renamed over it, so that a reader never sees half a hive and
  // a failed write leaves the old file as it was.
  std::filesystem::path temporary = target;
  temporary += "." + std::to_string(getpid()) + ".tmp";
  std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
  if (!file) return fail(ERROR_CANTWRITE, "cannot create a file in its folder");
  file.write(text.data(), static_cast<std::streamsize>(text.size()));
  file.close();
  bool written = static_cast<bool>(file);
  if (written && exists) written = chmod(temporary.c_str(), existing.st_mode & 07777) == 0;
  if (written) std::filesystem::rename(temporary, target, ec);
  if (!written || ec) {
    std::filesystem::remove(temporary, ec);
    return fail(ERROR_CANTWRITE, "cannot write it");
  }
  return ERROR_SUCCESS;
}

LONG LoadFromFile(const std::filesystem::path& hostPath, std::string* error) {
  std::string text, why;
  if (!ReadWholeHostFile(hostPath, &text, &why)) {
    if (error) *error = why;
    std::error_code ec;
    return std::filesystem::exists(hostPath, ec) ? ERROR_CANTREAD : ERROR_FILE_NOT_FOUND;
  }
  return LoadFromText(text, error);
}

std::wstring Dump() {
  std::wstring out;
  for (const auto& root : SnapshotRoots()) DumpKey(out, *root, 0);
  return out;
}

}  // namespace platform::registry
