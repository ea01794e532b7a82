// The token cursor of the statement parsers and the integer expressions of scripts.
#include <climits>

#include "tokens.h"

namespace rc {

TokenCursor::TokenCursor(std::vector<Token> tokens) : tokens_(std::move(tokens)) {
  if (tokens_.empty() || tokens_.back().kind != TokenKind::kEnd) tokens_.emplace_back();
}

const Token& TokenCursor::Peek(size_t ahead) const {
  const size_t at = at_ + ahead;
  return at < tokens_.size() ? tokens_[at] : tokens_.back();
}

const Token& TokenCursor::Next() {
  const Token& token = Peek();
  if (at_ + 1 < tokens_.size()) ++at_;
  return token;
}

void TokenCursor::Fail(const Token& at, const std::string& message) const {
  throw CompileError(at.file ? *at.file : std::string("<input>"), at.line, message);
}

bool TokenCursor::TakePunct(const char* punct) {
  if (!Peek().IsPunct(punct)) return false;
  Next();
  return true;
}

namespace {
std::string Describe(const Token& token) {
  switch (token.kind) {
    case TokenKind::kEnd:
      return "the end of the script";
    case TokenKind::kString:
      return "a string";
    default:
      return "'" + token.text + "'";
  }
}
}  // namespace

void TokenCursor::ExpectPunct(const char* punct, const char* what) {
  if (!TakePunct(punct))
    Fail(Peek(), std::string("expected '") + punct + "' " + what + ", found " + Describe(Peek()));
}

bool TokenCursor::TakeKeyword(const char* keyword) {
  if (!Peek().IsKeyword(keyword)) return false;
  Next();
  return true;
}

bool TokenCursor::TakeBegin() {
  return TakeKeyword("BEGIN") || TakePunct("{");
}
bool TokenCursor::TakeEnd() {
  return TakeKeyword("END") || TakePunct("}");
}

void TokenCursor::ExpectBegin() {
  if (!TakeBegin()) Fail(Peek(), "expected BEGIN or '{', found " + Describe(Peek()));
}

bool TokenCursor::PeekStartsExpression() const {
  const Token& token = Peek();
  if (token.kind == TokenKind::kNumber) return true;
  if (token.kind == TokenKind::kIdentifier)
    return LookupConstant(token.text).has_value() || token.IsKeyword("NOT");
  return token.IsPunct("(") || token.IsPunct("-") || token.IsPunct("~") || token.IsPunct("!") ||
         token.IsPunct("+");
}

int64_t TokenCursor::Expression(bool unknownIsZero) {
  return Binary(0, unknownIsZero);
}

namespace {

// C's binary operators by precedence level, loosest first.
const std::vector<std::vector<const char*>>& Levels() {
  static const std::vector<std::vector<const char*>> levels = {
      {"||"},       {"&&"},     {"|"},          {"^"}, {"&"}, {"==", "!="}, {"<", ">", "<=", ">="},
      {"<<", ">>"}, {"+", "-"}, {"*", "/", "%"}};
  return levels;
}

// Values are kept within 32 bits, as the platform's compiler computes them.
int64_t Wrap(int64_t value) {
  return static_cast<int64_t>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

}  // namespace

int64_t TokenCursor::Binary(int level, bool unknownIsZero) {
  if (level >= static_cast<int>(Levels().size())) return Unary(unknownIsZero);
  int64_t left = Binary(level + 1, unknownIsZero);
  for (;;) {
    const char* found = nullptr;
    for (const char* op : Levels()[static_cast<size_t>(level)])
      if (Peek().IsPunct(op)) found = op;
    if (!found) return left;
    const Token& opToken = Next();
    const int64_t right = Binary(level + 1, unknownIsZero);
    const std::string op = found;
    const auto l = static_cast<uint32_t>(left);
    const auto r = static_cast<uint32_t>(right);
    if ((op == "/" || op == "%") && right == 0) Fail(opToken, "division by zero");
    if (op == "||")
      left = (left || right);
    else if (op == "&&")
      left = (left && right);
    else if (op == "|")
      left = l | r;
    else if (op == "^")
      left = l ^ r;
    else if (op == "&")
      left = l & r;
    else if (op == "==")
      left = left == right;
    else if (op == "!=")
      left = left != right;
    else if (op == "<")
      left = left < right;
    else if (op == ">")
      left = left > right;
    else if (op == "<=")
      left = left <= right;
    else if (op == ">=")
      left = left >= right;
    else if (op == "<<")
      left = right >= 32 || right < 0 ? 0 : static_cast<int64_t>(l << r);
    else if (op == ">>")
      left = right >= 32 || right < 0 ? 0 : static_cast<int64_t>(l >> r);
    else if (op == "+")
      left = left + right;
    else if (op == "-")
      left = left - right;
    else if (op == "*")
      left = static_cast<int64_t>(l * r);
    else if (op == "/")
      left = (left == INT32_MIN && right == -1) ? left : left / right;
    else
      left = (left == INT32_MIN && right == -1) ? 0 : left % right;
    left = Wrap(left);
  }
}

int64_t TokenCursor::Unary(bool unknownIsZero) {
  const Token& token = Next();
  // Each operator and parenthesis recurses; a bound keeps a hostile script off the stack's end.
  struct Nesting {
    int& depth;
    ~Nesting() { --depth; }
  } nesting{++depth_};
  if (depth_ > kMaxExpressionDepth)
    Fail(token, "the expression nests deeper than " + std::to_string(kMaxExpressionDepth) + " levels");
  if (token.IsPunct("-")) return Wrap(-Unary(unknownIsZero));
  if (token.IsPunct("+")) return Unary(unknownIsZero);
  if (token.IsPunct("~")) return Wrap(~Unary(unknownIsZero));
  if (token.IsPunct("!")) return !Unary(unknownIsZero);
  if (token.IsPunct("(")) {
    const int64_t value = Expression(unknownIsZero);
    ExpectPunct(")", "to close the expression");
    return value;
  }
  if (token.kind == TokenKind::kNumber) return Wrap(token.number);
  if (token.kind == TokenKind::kIdentifier) {
    if (auto value = LookupConstant(token.text)) return *value;
    if (unknownIsZero) return 0;
    Fail(token, "unknown name '" + token.text + "' in an expression");
  }
  Fail(token, "expected a number, found " + Describe(token));
}

DWORD TokenCursor::StyleList(DWORD base) {
  DWORD value = base;
  do {
    const bool negate = TakeKeyword("NOT");
    // A term stops at the top-level '|', which joins terms here.
    const auto term = static_cast<DWORD>(Binary(3, false));
    value = negate ? (value & ~term) : (value | term);
  } while (TakePunct("|"));
  return value;
}

int64_t TokenCursor::Ranged(int64_t low, int64_t high, const char* what) {
  const Token& at = Peek();
  const int64_t value = Expression();
  if (value < low || value > high)
    Fail(at, std::string(what) + " " + std::to_string(value) + " is out of range (" + std::to_string(low) +
                 " to " + std::to_string(high) + ")");
  return value;
}

std::wstring TokenCursor::String(const char* what) {
  if (Peek().kind != TokenKind::kString)
    Fail(Peek(), std::string("expected ") + what + ", found " + Describe(Peek()));
  std::wstring text;
  while (Peek().kind == TokenKind::kString) text += Next().value;
  return text;
}

}  // namespace rc
