// The type-library description's reader and writer (the resource compiler compiles this file
// in as well, so it depends on the headers and the text helpers only).
#include <platform/typelib_format.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "../internal/unicode.h"

namespace platform::typelib {

namespace {

struct NameOf {
  ParamType type;
  const char* name;
};
constexpr NameOf kTypeNames[] = {{ParamType::kLong, "long"},         {ParamType::kBool, "bool"},
                                 {ParamType::kBstr, "bstr"},         {ParamType::kUnknown, "unknown"},
                                 {ParamType::kDispatch, "dispatch"}, {ParamType::kVariant, "variant"}};
struct DirectionOf {
  ParamDirection direction;
  const char* name;
};
constexpr DirectionOf kDirectionNames[] = {
    {ParamDirection::kIn, "in"}, {ParamDirection::kOut, "out"}, {ParamDirection::kRetval, "retval"}};

// Words of one line: bare words, or "quoted text" with \" and \\ as escapes.
bool SplitLine(std::string_view line, std::vector<std::string>* words, std::string* error) {
  size_t i = 0;
  while (i < line.size()) {
    if (line[i] == ' ' || line[i] == '\t' || line[i] == '\r') {
      ++i;
      continue;
    }
    std::string word;
    if (line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        char c = line[i++];
        if (c == '"') {
          closed = true;
          break;
        }
        if (c == '\\' && i < line.size()) c = line[i++];
        word += c;
      }
      if (!closed) {
        *error = "unterminated text";
        return false;
      }
      words->push_back("\"" + word);
      continue;
    }
    while (i < line.size() && line[i] != ' ' && line[i] != '\t' && line[i] != '\r') word += line[i++];
    words->push_back(word);
  }
  return true;
}

bool IsText(const std::string& word) {
  return !word.empty() && word[0] == '"';
}
std::wstring TextOf(const std::string& word) {
  return WideFromUtf8(std::string_view(word).substr(1));
}

bool IsIdentifier(const std::string& word) {
  if (word.empty() || IsText(word)) return false;
  for (char c : word)
    if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_')) return false;
  return !std::isdigit(static_cast<unsigned char>(word[0]));
}

bool ParseGuid(const std::string& word, GUID* guid) {
  if (word.size() != 38 || word.front() != '{' || word.back() != '}') return false;
  for (size_t i = 1; i < 37; ++i) {
    const bool dash = i == 9 || i == 14 || i == 19 || i == 24;
    if (dash ? word[i] != '-' : !std::isxdigit(static_cast<unsigned char>(word[i]))) return false;
  }
  *guid = GuidFromText(word.c_str());
  return true;
}

bool ParseVersion(const std::string& word, WORD* major, WORD* minor) {
  unsigned a = 0, b = 0;
  char tail = 0;
  if (std::sscanf(word.c_str(), "%u.%u%c", &a, &b, &tail) != 2 || a > 0xFFFF || b > 0xFFFF) return false;
  *major = static_cast<WORD>(a);
  *minor = static_cast<WORD>(b);
  return true;
}

bool ParseParam(const std::string& word, Param* param) {
  const size_t colon = word.find(':');
  if (colon == std::string::npos) return false;
  const std::string direction = word.substr(0, colon), type = word.substr(colon + 1);
  bool haveDirection = false, haveType = false;
  for (const auto& d : kDirectionNames)
    if (direction == d.name) param->direction = d.direction, haveDirection = true;
  for (const auto& t : kTypeNames)
    if (type == t.name) param->type = t.type, haveType = true;
  if (!haveDirection || !haveType) return false;
  return !(param->type == ParamType::kVariant && param->direction == ParamDirection::kIn);
}

}  // namespace

std::string GuidText(const GUID& g) {
  char text[40];
  std::snprintf(text, sizeof(text), "{%08X-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}", g.Data1, g.Data2,
                g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4], g.Data4[5], g.Data4[6],
                g.Data4[7]);
  return text;
}

std::string QuotedText(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8FromWide(text)) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

std::optional<LibraryDescription> ParseDescription(std::string_view text, std::string* error) {
  LibraryDescription library;
  bool haveLibrary = false;
  int lineNumber = 0;
  std::string problem;
  size_t start = 0;
  while (start <= text.size() && problem.empty()) {
    size_t end = text.find('\n', start);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = text.substr(start, end - start);
    start = end + 1;
    ++lineNumber;
    std::vector<std::string> w;
    if (!SplitLine(line, &w, &problem)) break;
    if (w.empty() || w[0][0] == '#') {
      if (end == text.size()) break;
      continue;
    }
    const std::string& keyword = w[0];
    if (!haveLibrary && keyword != "library") {
      problem = "the description starts with 'library'";
    } else if (keyword == "library") {
      if (haveLibrary)
        problem = "a second 'library'";
      else if (w.size() != 5 || !IsIdentifier(w[1]) || !ParseGuid(w[2], &library.libid) ||
               !ParseVersion(w[3], &library.major, &library.minor) || !IsText(w[4]))
        problem = "expected: library NAME {LIBID} MAJOR.MINOR \"help\"";
      else {
        library.name = WideFromUtf8(w[1]);
        library.help = TextOf(w[4]);
        haveLibrary = true;
      }
    } else if (keyword == "importlib") {
      if (w.size() != 2 || !IsText(w[1]))
        problem = "expected: importlib \"file\"";
      else
        library.imports.push_back(TextOf(w[1]));
    } else if (keyword == "coclass" || keyword == "interface") {
      TypeDescription type;
      type.isCoclass = keyword == "coclass";
      size_t next = 3;
      if (w.size() >= 4 && !type.isCoclass && w[3] == "dual") type.dual = true, next = 4;
      if (w.size() != next + 1 || !IsIdentifier(w[1]) || !ParseGuid(w[2], &type.guid) || !IsText(w[next]))
        problem = "expected: " + keyword + " NAME {GUID}" + (type.isCoclass ? "" : " [dual]") + " \"help\"";
      else {
        type.name = WideFromUtf8(w[1]);
        type.help = TextOf(w[next]);
        library.types.push_back(std::move(type));
      }
    } else if (keyword == "implements") {
      if (library.types.empty() || !library.types.back().isCoclass)
        problem = "'implements' outside a coclass";
      else if (w.size() < 2 || w.size() > 3 || !IsIdentifier(w[1]) || (w.size() == 3 && w[2] != "default"))
        problem = "expected: implements INTERFACE [default]";
      else {
        library.types.back().implemented.push_back(WideFromUtf8(w[1]));
        if (w.size() == 3) library.types.back().defaultInterface = WideFromUtf8(w[1]);
      }
    } else if (keyword == "method") {
      Method method;
      char* endOfNumber = nullptr;
      if (library.types.empty() || library.types.back().isCoclass) {
        problem = "'method' outside an interface";
      } else if (w.size() < 3 || !IsIdentifier(w[2]) ||
                 (method.dispid = static_cast<LONG>(std::strtol(w[1].c_str(), &endOfNumber, 10)),
                  endOfNumber == w[1].c_str() || *endOfNumber != '\0')) {
        problem = "expected: method DISPID NAME [direction:type ...]";
      } else {
        method.name = WideFromUtf8(w[2]);
        for (size_t i = 3; i < w.size() && problem.empty(); ++i) {
          Param param;
          if (!ParseParam(w[i], &param))
            problem = "bad parameter '" + w[i] + "'";
          else if (!method.params.empty() && method.params.back().direction == ParamDirection::kRetval)
            problem = "a retval parameter comes last";
          else
            method.params.push_back(param);
        }
        for (const Method& other : library.types.back().methods)
          if (other.dispid == method.dispid || other.name == method.name) problem = "method declared twice";
        if (problem.empty()) library.types.back().methods.push_back(std::move(method));
      }
    } else {
      problem = "unknown statement '" + keyword + "'";
    }
    if (end == text.size()) break;
  }
  if (problem.empty() && !haveLibrary) problem = "no 'library' statement";
  if (!problem.empty()) {
    if (error) *error = "line " + std::to_string(lineNumber) + ": " + problem;
    return std::nullopt;
  }
  return library;
}

std::string WriteDescription(const LibraryDescription& library) {
  std::ostringstream out;
  out << "library " << Utf8FromWide(library.name) << ' ' << GuidText(library.libid) << ' ' << library.major
      << '.' << library.minor << ' ' << QuotedText(library.help) << '\n';
  for (const std::wstring& import : library.imports) out << "importlib " << QuotedText(import) << '\n';
  for (const TypeDescription& type : library.types) {
    out << (type.isCoclass ? "coclass " : "interface ") << Utf8FromWide(type.name) << ' '
        << GuidText(type.guid) << (type.dual ? " dual " : " ") << QuotedText(type.help) << '\n';
    for (const std::wstring& name : type.implemented)
      out << "implements " << Utf8FromWide(name) << (name == type.defaultInterface ? " default" : "") << '\n';
    for (const Method& method : type.methods) {
      out << "method " << method.dispid << ' ' << Utf8FromWide(method.name);
      for (const Param& param : method.params) {
        for (const auto& d : kDirectionNames)
          if (d.direction == param.direction) out << ' ' << d.name << ':';
        for (const auto& t : kTypeNames)
          if (t.type == param.type) out << t.name;
      }
      out << '\n';
    }
  }
  return out.str();
}

}  // namespace platform::typelib
