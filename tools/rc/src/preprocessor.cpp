// The resource compiler's front end: decoding a script, comments, tokens, and the
// preprocessor directives (#include, #define, #undef, #if/#ifdef/#ifndef/#elif/#else/#endif,
// #pragma, #error) with object-like macros.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>

#include "tokens.h"

namespace rc {

namespace {

// Headers of the platform itself: their constants are built in, so they are not read.
const char* const kPlatformHeaders[] = {"windows.h",  "winres.h",   "winresrc.h", "afxres.h", "winuser.h",
                                        "commctrl.h", "richedit.h", "dlgs.h",     "winnt.h",  "winver.h",
                                        "verrsrc.h",  "atlres.h",   "prsht.h"};

std::string Lower(std::string text) {
  for (auto& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

bool IsIdentifierStart(wchar_t c) {
  return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z') || c == L'_';
}
bool IsIdentifierPart(wchar_t c) {
  return IsIdentifierStart(c) || (c >= L'0' && c <= L'9');
}
bool IsSpace(wchar_t c) {
  return c == L' ' || c == L'\t' || c == L'\r' || c == L'\f' || c == L'\v';
}

int HexValue(wchar_t c) {
  if (c >= L'0' && c <= L'9') return c - L'0';
  if (c >= L'a' && c <= L'f') return c - L'a' + 10;
  if (c >= L'A' && c <= L'F') return c - L'A' + 10;
  return -1;
}

std::string Narrow(std::wstring_view text) {
  std::string out;
  for (wchar_t c : text) out += static_cast<char>(c < 0x80 ? c : '?');
  return out;
}

struct Macro {
  std::vector<Token> body;
};

struct Conditional {
  bool active;  // this branch's lines are read
  bool taken;   // some branch of this #if was taken
  bool parentActive;
  int line;  // of the #if, for the report when #endif is missing
};

class Preprocessor {
 public:
  Preprocessor(const Options& options, const FileReader& reader, std::vector<std::string>* dependencies)
      : options_(options), reader_(reader), dependencies_(dependencies) {
    Define("RC_INVOKED", "1");
    for (const auto& [name, value] : options.defines) Define(name, value);
  }

  std::vector<Token> Run(const std::string& path) {
    ReadFile(path, nullptr);
    Token end;
    end.kind = TokenKind::kEnd;
    end.file = lastFile_ ? lastFile_ : std::make_shared<const std::string>(path);
    end.line = lastLine_;
    output_.push_back(end);
    return std::move(output_);
  }

 private:
  [[noreturn]] void Fail(const std::shared_ptr<const std::string>& file, int line,
                         const std::string& message) {
    throw CompileError(file ? *file : std::string("<command line>"), line, message);
  }

  void Define(const std::string& name, const std::string& value) {
    auto file = std::make_shared<const std::string>("<command line>");
    macros_[name] = Macro{Tokenize(DecodeScriptText(value), file, 0)};
  }

  void ReadFile(const std::string& path, const Token* includedFrom) {
    if (++depth_ > 32) Fail(includedFrom->file, includedFrom->line, "#include nested too deeply");
    auto bytes = reader_(path);
    if (!bytes) {
      if (includedFrom)
        Fail(includedFrom->file, includedFrom->line, "cannot open include file '" + path + "'");
      throw CompileError(path, 0, "cannot open the script");
    }
    dependencies_->push_back(path);
    auto file = std::make_shared<const std::string>(path);
    const std::wstring text = StripComments(DecodeScriptText(*bytes), file);
    const size_t conditionalDepth = conditionals_.size();

    size_t at = 0;
    int line = 1;
    while (at <= text.size()) {
      // One logical line: physical lines joined at a backslash before the newline.
      const int firstLine = line;
      std::wstring logical;
      while (at <= text.size()) {
        const size_t end = std::min(text.find(L'\n', at), text.size());
        std::wstring_view piece(text.data() + at, end - at);
        at = end + 1;
        ++line;
        if (!piece.empty() && piece.back() == L'\\') {
          logical.append(piece.substr(0, piece.size() - 1));
          continue;
        }
        logical.append(piece);
        break;
      }
      lastFile_ = file;
      lastLine_ = firstLine;
      size_t first = 0;
      while (first < logical.size() && IsSpace(logical[first])) ++first;
      if (first < logical.size() && logical[first] == L'#') {
        Directive(std::wstring_view(logical).substr(first + 1), file, firstLine, path);
      } else if (Active()) {
        for (auto& token : Tokenize(logical, file, firstLine)) Emit(token, 0);
      }
    }
    if (conditionals_.size() != conditionalDepth) Fail(file, conditionals_.back().line, "#if without #endif");
    --depth_;
  }

  bool Active() const { return conditionals_.empty() || conditionals_.back().active; }

  // Replaces comments with spaces, keeping newlines and string literals.
  std::wstring StripComments(const std::wstring& text, const std::shared_ptr<const std::string>& file) {
    std::wstring out;
    out.reserve(text.size());
    int line = 1;
    for (size_t i = 0; i < text.size(); ++i) {
      const wchar_t c = text[i];
      if (c == L'\n') ++line;
      if (c == L'"') {
        out += c;
        for (++i; i < text.size() && text[i] != L'\n'; ++i) {
          out += text[i];
          if (text[i] == L'\\' && i + 1 < text.size() && text[i + 1] != L'\n') {
            out += text[++i];
          } else if (text[i] == L'"') {
            if (i + 1 < text.size() && text[i + 1] == L'"') {
              out += text[++i];
            } else {
              break;
            }
          }
        }
        if (i < text.size() && text[i] == L'\n') {
          out += L'\n';
          ++line;
        }
      } else if (c == L'/' && i + 1 < text.size() && text[i + 1] == L'/') {
        while (i < text.size() && text[i] != L'\n') ++i;
        if (i < text.size()) {
          out += L'\n';
          ++line;
        }
      } else if (c == L'/' && i + 1 < text.size() && text[i + 1] == L'*') {
        const int startLine = line;
        i += 2;
        while (i + 1 < text.size() && !(text[i] == L'*' && text[i + 1] == L'/')) {
          if (text[i] == L'\n') {
            out += L'\n';
            ++line;
          }
          ++i;
        }
        if (i + 1 >= text.size()) Fail(file, startLine, "comment without its end");
        ++i;
        out += L' ';
      } else {
        out += c;
      }
    }
    return out;
  }

  std::vector<Token> Tokenize(std::wstring_view text, const std::shared_ptr<const std::string>& file,
                              int line) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < text.size()) {
      const wchar_t c = text[i];
      if (IsSpace(c) || c == L'\n') {
        ++i;
        continue;
      }
      Token token;
      token.file = file;
      token.line = line;
      const bool wideString = (c == L'L' || c == L'l') && i + 1 < text.size() && text[i + 1] == L'"';
      if (c == L'"' || wideString) {
        token.kind = TokenKind::kString;
        token.wide = wideString;
        i += wideString ? 2 : 1;
        i = ReadString(text, i, &token);
      } else if (IsIdentifierStart(c)) {
        const size_t start = i;
        while (i < text.size() && IsIdentifierPart(text[i])) ++i;
        token.kind = TokenKind::kIdentifier;
        token.text = Narrow(text.substr(start, i - start));
      } else if (c >= L'0' && c <= L'9') {
        const size_t start = i;
        while (i < text.size() && IsIdentifierPart(text[i])) ++i;
        token.kind = TokenKind::kNumber;
        token.text = Narrow(text.substr(start, i - start));
        ParseNumber(&token);
      } else {
        static const char* const kTwoChar[] = {"<<", ">>", "<=", ">=", "==", "!=", "&&", "||"};
        token.kind = TokenKind::kPunct;
        token.text = std::string(1, static_cast<char>(c < 0x80 ? c : '?'));
        if (i + 1 < text.size()) {
          const std::string pair = Narrow(text.substr(i, 2));
          for (const char* two : kTwoChar)
            if (pair == two) token.text = pair;
        }
        if (std::string(",|()+-*/~!&^<>={}%?:").find(token.text[0]) == std::string::npos)
          Fail(file, line, "unexpected character '" + Narrow(text.substr(i, 1)) + "'");
        i += token.text.size();
      }
      tokens.push_back(std::move(token));
    }
    return tokens;
  }

  size_t ReadString(std::wstring_view text, size_t i, Token* token) {
    const int maxHex = 4;  // \x takes up to four digits, as in the wide strings that most scripts hold
    for (;;) {
      if (i >= text.size()) Fail(token->file, token->line, "string without its closing quote");
      const wchar_t c = text[i++];
      if (c == L'"') {
        if (i < text.size() && text[i] == L'"') {
          token->value += L'"';
          ++i;
          continue;
        }
        return i;
      }
      if (c != L'\\' || i >= text.size()) {
        token->value += c;
        continue;
      }
      const wchar_t e = text[i++];
      switch (e) {
        case L'n':
          token->value += L'\n';
          break;
        case L't':
          token->value += L'\t';
          break;
        case L'r':
          token->value += L'\r';
          break;
        case L'a':
          token->value += L'\a';
          break;
        case L'b':
          token->value += L'\b';
          break;
        case L'f':
          token->value += L'\f';
          break;
        case L'v':
          token->value += L'\v';
          break;
        case L'\\':
          token->value += L'\\';
          break;
        case L'"':
          token->value += L'"';
          break;
        case L'\'':
          token->value += L'\'';
          break;
        case L'x':
        case L'X': {
          unsigned value = 0;
          int digits = 0;
          while (digits < maxHex && i < text.size() && HexValue(text[i]) >= 0) {
            value = value * 16 + static_cast<unsigned>(HexValue(text[i++]));
            ++digits;
          }
          if (digits == 0) Fail(token->file, token->line, "\\x without hexadecimal digits");
          token->value += static_cast<wchar_t>(value);
          break;
        }
        default:
          if (e >= L'0' && e <= L'7') {
            unsigned value = static_cast<unsigned>(e - L'0');
            for (int digits = 1; digits < 3 && i < text.size() && text[i] >= L'0' && text[i] <= L'7';
                 ++digits)
              value = value * 8 + static_cast<unsigned>(text[i++] - L'0');
            token->value += static_cast<wchar_t>(value);
          } else {
            // An unknown escape keeps its character, as the platform's compiler does.
            token->value += e;
          }
      }
    }
  }

  void ParseNumber(Token* token) {
    std::string digits = token->text;
    while (!digits.empty() && std::strchr("lLuU", digits.back())) {
      if (digits.back() == 'l' || digits.back() == 'L') token->longNumber = true;
      digits.pop_back();
    }
    int base = 10;
    size_t start = 0;
    if (digits.size() > 2 && digits[0] == '0' && (digits[1] == 'x' || digits[1] == 'X')) base = 16, start = 2;
    if (start >= digits.size()) Fail(token->file, token->line, "malformed number '" + token->text + "'");
    uint64_t value = 0;
    for (size_t i = start; i < digits.size(); ++i) {
      const int digit = HexValue(static_cast<wchar_t>(digits[i]));
      if (digit < 0 || digit >= base)
        Fail(token->file, token->line, "malformed number '" + token->text + "'");
      value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
      if (value > 0xFFFFFFFFull) Fail(token->file, token->line, "number '" + token->text + "' is too large");
    }
    token->number = static_cast<int64_t>(value);
  }

  // Appends a token, expanding macros (each at most once on the way down).
  void Emit(const Token& token, int depth) {
    if (token.kind == TokenKind::kIdentifier && !expanding_.count(token.text)) {
      auto macro = macros_.find(token.text);
      if (macro != macros_.end()) {
        if (depth > 64) Fail(token.file, token.line, "macro expansion nested too deeply");
        expanding_.insert(token.text);
        const std::vector<Token> body = macro->second.body;
        for (Token expanded : body) {
          expanded.file = token.file;
          expanded.line = token.line;
          Emit(expanded, depth + 1);
        }
        expanding_.erase(token.text);
        return;
      }
    }
    output_.push_back(token);
  }

  void Directive(std::wstring_view line, const std::shared_ptr<const std::string>& file, int lineNumber,
                 const std::string& path) {
    size_t start = 0;
    while (start < line.size() && IsSpace(line[start])) ++start;
    size_t end = start;
    while (end < line.size() && IsIdentifierPart(line[end])) ++end;
    if (end == start) {
      if (start == line.size()) return;  // a lone '#'
      Fail(file, lineNumber, "malformed directive");
    }
    const std::string name = Narrow(line.substr(start, end - start));
    const std::wstring_view rest = line.substr(end);
    const bool continues = name == "elif" || name == "else" || name == "endif";
    // For #elif, #else and #endif the level that matters is the one around their #if.
    const bool parentActive =
        continues && !conditionals_.empty() ? conditionals_.back().parentActive : Active();
    const bool conditional = name == "ifdef" || name == "ifndef" || name == "if" || name == "elif" ||
                             name == "else" || name == "endif";
    if (!conditional && !parentActive) return;  // other directives in a skipped branch
    if (name == "pragma") return;               // code_page and the like: scripts are read as Unicode
    if (name == "error") Fail(file, lineNumber, "#error" + Narrow(rest));
    if (name == "include") return Include(rest, file, lineNumber, path);
    // Inside a skipped branch, nested conditions are counted, not evaluated.
    const bool evaluate = parentActive && name != "else" && name != "endif";
    std::vector<Token> tokens;
    tokens.emplace_back();
    tokens[0].kind = TokenKind::kIdentifier;
    tokens[0].text = name;
    if (evaluate)
      for (auto& token : Tokenize(rest, file, lineNumber)) tokens.push_back(std::move(token));
    if (name == "ifdef" || name == "ifndef") {
      if (evaluate && (tokens.size() < 2 || tokens[1].kind != TokenKind::kIdentifier))
        Fail(file, lineNumber, "#" + name + " needs a macro name");
      const bool defined = evaluate && macros_.count(tokens[1].text) != 0;
      const bool value = name == "ifdef" ? defined : !defined;
      conditionals_.push_back({parentActive && value, value, parentActive, lineNumber});
    } else if (name == "if") {
      const bool value = parentActive && Condition(tokens, file, lineNumber);
      conditionals_.push_back({parentActive && value, value, parentActive, lineNumber});
    } else if (name == "elif") {
      if (conditionals_.empty()) Fail(file, lineNumber, "#elif without #if");
      Conditional& top = conditionals_.back();
      const bool value = !top.taken && evaluate && Condition(tokens, file, lineNumber);
      top.active = top.parentActive && value;
      top.taken = top.taken || value;
    } else if (name == "else") {
      if (conditionals_.empty()) Fail(file, lineNumber, "#else without #if");
      Conditional& top = conditionals_.back();
      top.active = top.parentActive && !top.taken;
      top.taken = true;
    } else if (name == "endif") {
      if (conditionals_.empty()) Fail(file, lineNumber, "#endif without #if");
      conditionals_.pop_back();
    } else if (name == "define") {
      if (tokens.size() < 2 || tokens[1].kind != TokenKind::kIdentifier)
        Fail(file, lineNumber, "#define needs a macro name");
      // A '(' right after the name makes a function-like macro, which scripts do not use.
      size_t nameEnd = 0;
      while (nameEnd < rest.size() && IsSpace(rest[nameEnd])) ++nameEnd;
      nameEnd += tokens[1].text.size();
      if (nameEnd < rest.size() && rest[nameEnd] == L'(')
        Fail(file, lineNumber, "function-like macro '" + tokens[1].text + "' is not supported");
      macros_[tokens[1].text] = Macro{std::vector<Token>(tokens.begin() + 2, tokens.end())};
    } else if (name == "undef") {
      if (tokens.size() < 2) Fail(file, lineNumber, "#undef needs a macro name");
      macros_.erase(tokens[1].text);
    } else {
      Fail(file, lineNumber, "unknown directive #" + name);
    }
  }

  bool Condition(const std::vector<Token>& tokens, const std::shared_ptr<const std::string>& file, int line) {
    // defined X and defined(X) first, then macros, then the expression (unknown names are 0).
    std::vector<Token> resolved;
    for (size_t i = 1; i < tokens.size(); ++i) {
      if (tokens[i].kind == TokenKind::kIdentifier && tokens[i].text == "defined") {
        const bool parens = i + 1 < tokens.size() && tokens[i + 1].IsPunct("(");
        const size_t nameAt = i + (parens ? 2 : 1);
        if (nameAt >= tokens.size() || tokens[nameAt].kind != TokenKind::kIdentifier ||
            (parens && (nameAt + 1 >= tokens.size() || !tokens[nameAt + 1].IsPunct(")"))))
          Fail(file, line, "malformed defined()");
        Token number = tokens[i];
        number.kind = TokenKind::kNumber;
        number.number = macros_.count(tokens[nameAt].text) ? 1 : 0;
        number.text = std::to_string(number.number);
        resolved.push_back(number);
        i = nameAt + (parens ? 1 : 0);
      } else {
        resolved.push_back(tokens[i]);
      }
    }
    if (resolved.empty()) Fail(file, line, "#if needs an expression");
    std::vector<Token> expanded;
    std::swap(expanded, output_);
    for (const auto& token : resolved) Emit(token, 0);
    std::swap(expanded, output_);
    Token end;
    end.kind = TokenKind::kEnd;
    end.file = file;
    end.line = line;
    expanded.push_back(end);
    TokenCursor cursor(std::move(expanded));
    const int64_t value = cursor.Expression(true);
    if (!cursor.AtEnd()) cursor.Fail(cursor.Peek(), "unexpected '" + cursor.Peek().text + "' in #if");
    return value != 0;
  }

  void Include(std::wstring_view line, const std::shared_ptr<const std::string>& file, int lineNumber,
               const std::string& path) {
    std::string name;
    const size_t quote = line.find(L'"');
    if (quote != std::wstring_view::npos) {
      const size_t close = line.find(L'"', quote + 1);
      if (close == std::wstring_view::npos) Fail(file, lineNumber, "#include without its closing quote");
      name = Narrow(line.substr(quote + 1, close - quote - 1));
    } else {
      const size_t open = line.find(L'<');
      const size_t close = line.find(L'>', open == std::wstring_view::npos ? 0 : open);
      if (open == std::wstring_view::npos || close == std::wstring_view::npos)
        Fail(file, lineNumber, "#include needs \"file\" or <file>");
      name = Narrow(line.substr(open + 1, close - open - 1));
    }
    std::replace(name.begin(), name.end(), '\\', '/');
    const size_t slash = name.rfind('/');
    const std::string base = Lower(slash == std::string::npos ? name : name.substr(slash + 1));
    for (const char* header : kPlatformHeaders)
      if (base == header) return;
    std::vector<std::string> candidates;
    if (!name.empty() && name[0] == '/') {
      candidates.push_back(name);
    } else {
      const size_t folderEnd = path.rfind('/');
      candidates.push_back(folderEnd == std::string::npos ? name : path.substr(0, folderEnd + 1) + name);
      for (const auto& dir : options_.includeDirs) candidates.push_back(dir + "/" + name);
    }
    Token from;
    from.file = file;
    from.line = lineNumber;
    for (const auto& candidate : candidates) {
      if (reader_(candidate)) {
        ReadFile(candidate, &from);
        lastFile_ = file;
        return;
      }
    }
    Fail(file, lineNumber, "cannot open include file '" + name + "'");
  }

  const Options& options_;
  const FileReader& reader_;
  std::vector<std::string>* dependencies_;
  std::map<std::string, Macro> macros_;
  std::set<std::string> expanding_;
  std::vector<Conditional> conditionals_;
  std::vector<Token> output_;
  std::shared_ptr<const std::string> lastFile_;
  int lastLine_ = 0;
  int depth_ = 0;
};

}  // namespace

bool Token::IsKeyword(const char* keyword) const {
  if (kind != TokenKind::kIdentifier || text.size() != std::strlen(keyword)) return false;
  for (size_t i = 0; i < text.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(text[i])) != keyword[i]) return false;
  return true;
}

std::wstring DecodeScriptText(const std::string& bytes) {
  std::wstring out;
  const auto* b = reinterpret_cast<const unsigned char*>(bytes.data());
  const size_t n = bytes.size();
  if (n >= 2 && b[0] == 0xFF && b[1] == 0xFE) {
    for (size_t i = 2; i + 1 < n; i += 2) {
      uint32_t unit = b[i] | (b[i + 1] << 8);
      if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < n) {
        const uint32_t low = b[i + 2] | (b[i + 3] << 8);
        if (low >= 0xDC00 && low < 0xE000) {
          unit = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
          i += 2;
        }
      }
      out += static_cast<wchar_t>(unit);
    }
    return out;
  }
  size_t i = (n >= 3 && b[0] == 0xEF && b[1] == 0xBB && b[2] == 0xBF) ? 3 : 0;
  while (i < n) {
    const unsigned char c = b[i];
    int length = c < 0x80 ? 1 : (c >> 5) == 0x6 ? 2 : (c >> 4) == 0xE ? 3 : (c >> 3) == 0x1E ? 4 : 0;
    uint32_t value = length == 1 ? c : length == 2 ? (c & 0x1F) : length == 3 ? (c & 0x0F) : (c & 0x07);
    bool valid = length > 0 && i + static_cast<size_t>(length) <= n;
    for (int k = 1; valid && k < length; ++k) {
      if ((b[i + k] & 0xC0) != 0x80) valid = false;
      value = (value << 6) | (b[i + k] & 0x3F);
    }
    if (valid && length > 1 && (value < 0x80 || value > 0x10FFFF || (value >= 0xD800 && value < 0xE000)))
      valid = false;
    if (!valid) {
      out += static_cast<wchar_t>(c);  // Latin-1
      ++i;
      continue;
    }
    out += static_cast<wchar_t>(value);
    i += static_cast<size_t>(length);
  }
  return out;
}

std::vector<Token> Preprocess(const std::string& path, const Options& options, const FileReader& reader,
                              std::vector<std::string>* dependencies) {
  Preprocessor preprocessor(options, reader, dependencies);
  return preprocessor.Run(path);
}

}  // namespace rc
