// The resource compiler's tokens, the preprocessor that makes them, and the cursor the
// statement parsers read them with (including the expression evaluator).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "rc_compiler.h"

namespace rc {

enum class TokenKind { kIdentifier, kNumber, kString, kPunct, kEnd };

struct Token {
  TokenKind kind = TokenKind::kEnd;
  std::string text;    // identifier, punctuation, or the number's spelling
  std::wstring value;  // a string's characters, escapes resolved
  int64_t number = 0;
  bool wide = false;        // L"..."
  bool longNumber = false;  // a number with an L suffix (32 bits in raw data)
  std::shared_ptr<const std::string> file;
  int line = 0;

  bool Is(TokenKind k, const char* t) const { return kind == k && text == t; }
  bool IsPunct(const char* t) const { return Is(TokenKind::kPunct, t); }
  // A keyword, compared without regard to case as the platform's compiler does.
  bool IsKeyword(const char* keyword) const;
};

// Reads the script and everything it includes, runs the directives and expands the macros.
// The tokens end with one kEnd token. Records every file read in *dependencies.
std::vector<Token> Preprocess(const std::string& path, const Options& options, const FileReader& reader,
                              std::vector<std::string>* dependencies);

// The decoded characters of a script file: UTF-16 with its byte-order mark, UTF-8 (mark
// optional); bytes that are not UTF-8 are taken as Latin-1.
std::wstring DecodeScriptText(const std::string& bytes);

// A built-in constant of the platform (WS_CHILD, BS_PUSHBUTTON, IDOK, LANG_GERMAN, ...).
std::optional<int64_t> LookupConstant(const std::string& name);

class TokenCursor {
 public:
  static constexpr int kMaxExpressionDepth = 256;

  explicit TokenCursor(std::vector<Token> tokens);

  const Token& Peek(size_t ahead = 0) const;
  const Token& Next();
  bool AtEnd() const { return Peek().kind == TokenKind::kEnd; }
  [[noreturn]] void Fail(const Token& at, const std::string& message) const;

  bool TakePunct(const char* punct);
  void ExpectPunct(const char* punct, const char* what);
  bool TakeKeyword(const char* keyword);
  bool TakeBegin();  // BEGIN or {
  bool TakeEnd();    // END or }
  void ExpectBegin();

  // An integer expression: numbers, built-in constants, ( ), unary - ~ ! +, and the C binary
  // operators. unknownIsZero: identifiers that name nothing count 0 (#if), else an error.
  // Unary operators and parentheses nest at most kMaxExpressionDepth deep; deeper is an error.
  int64_t Expression(bool unknownIsZero = false);
  // A style list: terms joined by |, each "NOT term" clearing its bits from base.
  DWORD StyleList(DWORD base);
  // An expression checked against a range, for fields of fixed width.
  int64_t Ranged(int64_t low, int64_t high, const char* what);
  // A string, adjacent literals joined.
  std::wstring String(const char* what);
  bool PeekStartsExpression() const;

 private:
  int64_t Binary(int level, bool unknownIsZero);
  int64_t Unary(bool unknownIsZero);

  std::vector<Token> tokens_;
  size_t at_ = 0;
  int depth_ = 0;  // unary operators and parentheses open in the expression being read
};

}  // namespace rc
