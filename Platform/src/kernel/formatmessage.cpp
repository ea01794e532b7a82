// FormatMessageW: the message text is split into tokens once, the arguments its inserts name
// are read, and each insert is formatted through _snwprintf so that its printf conversion
// keeps the platform's meaning (%s a wide string, %l 32 bits).
#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "crtwide.h"
#include "winbase.h"

namespace {

// The system's error texts, in the project's own words, in the platform's style: a sentence
// and a line break.
struct SystemMessage {
  DWORD id;
  const wchar_t* text;
};
constexpr SystemMessage kSystemMessages[] = {
    {0, L"The operation succeeded.\r\n"},
    {1, L"The function is not valid here.\r\n"},
    {2, L"The system cannot find the file specified.\r\n"},
    {3, L"The system cannot find the folder path specified.\r\n"},
    {5, L"Access was denied.\r\n"},
    {6, L"The handle is not valid.\r\n"},
    {8, L"There is not enough memory to process this command.\r\n"},
    {11, L"The program has a format that is not valid.\r\n"},
    {13, L"The data is not valid.\r\n"},
    {14, L"There is not enough memory to complete this operation.\r\n"},
    {50, L"The request is not supported.\r\n"},
    {80, L"The file already exists.\r\n"},
    {87, L"A parameter is not correct.\r\n"},
    {111, L"The file name is too long.\r\n"},
    {120, L"The function is not supported on this system.\r\n"},
    {122, L"The buffer passed to a system call is too small.\r\n"},
    {123, L"The syntax of the file name, folder name or volume label is not correct.\r\n"},
    {126, L"The module named could not be found.\r\n"},
    {127, L"The procedure named could not be found in the module.\r\n"},
    {145, L"The folder is not empty.\r\n"},
    {158, L"The memory block is not locked.\r\n"},
    {161, L"The path specified is not valid.\r\n"},
    {183, L"A file cannot be created when that file already exists.\r\n"},
    {234, L"There is more data than the buffer holds.\r\n"},
    {259, L"There is no more data.\r\n"},
    {267, L"The folder name is not valid.\r\n"},
    {317, L"No message text was found for message number 0x%1 in the message file for %2.\r\n"},
    {1004, L"The flags are not valid.\r\n"},
    {1011, L"The registry key could not be opened.\r\n"},
    {1012, L"The registry key could not be read.\r\n"},
    {1013, L"The registry key could not be written.\r\n"},
    {1018, L"The registry key has been marked for deletion; the operation is not allowed.\r\n"},
    {1114, L"The initialization routine of a dynamic link library (DLL) failed.\r\n"},
    {1400, L"The window handle is not valid.\r\n"},
    {1812, L"The image file has no resource section.\r\n"},
    {1813, L"The resource type cannot be found in the image file.\r\n"},
    {1814, L"The resource name cannot be found in the image file.\r\n"},
    {1815, L"The resource language cannot be found in the image file.\r\n"},
    {0x80004001, L"Not implemented.\r\n"},
    {0x80004002, L"No such interface is supported.\r\n"},
    {0x80004003, L"The pointer is not valid.\r\n"},
    {0x80004004, L"The operation was aborted.\r\n"},
    {0x80004005, L"An unspecified error occurred.\r\n"},
    {0x8000FFFF, L"An unexpected failure occurred.\r\n"},
};

const wchar_t* FindSystemMessage(DWORD id) {
  // A Win32 error as an HRESULT has the error's text.
  if ((id & 0xFFFF0000u) == 0x80070000u) id &= 0xFFFFu;
  for (const auto& message : kSystemMessages)
    if (message.id == id) return message.text;
  return nullptr;
}

// ---------------------------------------------------------------------------------------------
// Tokens.

struct Token {
  enum Kind { kText, kInsert, kRegularBreak, kHardBreak } kind;
  std::wstring text;  // kText: the characters; kRegularBreak: "\r\n"; kInsert: the conversion
  int index = 0;      // kInsert: 1..99
};

// Splits the message; false for an unterminated !conversion! or a '%' that ends the text.
bool Tokenize(const wchar_t* text, bool ignoreInserts, std::vector<Token>* tokens) {
  auto appendText = [tokens](std::wstring_view piece) {
    if (tokens->empty() || tokens->back().kind != Token::kText) tokens->push_back(Token{Token::kText, L""});
    tokens->back().text += piece;
  };
  const wchar_t* p = text;
  while (*p) {
    if (*p == L'\r' || *p == L'\n') {
      // "\r\n", a bare "\n" or a bare "\r": each is one line break, written as "\r\n".
      const size_t length = (p[0] == L'\r' && p[1] == L'\n') ? 2 : 1;
      tokens->push_back(Token{Token::kRegularBreak, L"\r\n"});
      p += length;
      continue;
    }
    if (*p != L'%') {
      appendText(std::wstring_view(p, 1));
      ++p;
      continue;
    }
    const wchar_t* start = p++;
    const wchar_t c = *p;
    if (c == L'\0') return false;  // a '%' that ends the text escapes nothing
    if (c == L'0') return true;    // the message ends here
    if (c >= L'1' && c <= L'9') {
      int index = c - L'0';
      ++p;
      if (*p >= L'0' && *p <= L'9') index = index * 10 + (*p++ - L'0');
      std::wstring printfFormat = L"s";
      if (*p == L'!') {
        const wchar_t* close = std::wcschr(p + 1, L'!');
        if (!close) return false;
        printfFormat.assign(p + 1, close);
        p = close + 1;
      }
      if (ignoreInserts)
        appendText(std::wstring_view(start, static_cast<size_t>(p - start)));
      else
        tokens->push_back(Token{Token::kInsert, printfFormat, index});
      continue;
    }
    ++p;
    if (ignoreInserts && c != L'n' && c != L'r' && c != L't') {
      // Ignoring inserts keeps every other escape as it stands too; only %0, %n, %r and %t act.
      appendText(std::wstring_view(start, 2));
      continue;
    }
    switch (c) {
      case L'n':
        tokens->push_back(Token{Token::kHardBreak, L""});
        break;
      case L'r':
        appendText(L"\r");
        break;
      case L't':
        appendText(L"\t");
        break;
      default:
        appendText(std::wstring_view(&c, 1));  // %% %. %! "% " and any other character
    }
  }
  return true;
}

// ---------------------------------------------------------------------------------------------
// Arguments: pointer-sized slots, numbered from 1.

class Arguments {
 public:
  Arguments(const std::vector<Token>& tokens, bool isArray, va_list* list) {
    if (!list) return;
    if (isArray) {
      array_ = reinterpret_cast<const DWORD_PTR*>(list);
      return;
    }
    // A va_list is read in order, so every slot up to the highest used is read once.
    size_t slots = 0;
    for (const auto& token : tokens) {
      if (token.kind != Token::kInsert) continue;
      slots = std::max(slots, static_cast<size_t>(token.index + Stars(token.text)));
    }
    for (size_t i = 0; i < slots; ++i) fetched_.push_back(va_arg(*list, DWORD_PTR));
    haveList_ = true;
  }

  bool Available() const { return array_ || haveList_; }
  DWORD_PTR Get(int index) const {
    return array_ ? array_[index - 1] : fetched_[static_cast<size_t>(index - 1)];
  }

  static int Stars(const std::wstring& printfFormat) {
    int stars = 0;
    for (wchar_t c : printfFormat) stars += c == L'*';
    return stars;
  }

 private:
  const DWORD_PTR* array_ = nullptr;
  bool haveList_ = false;
  std::vector<DWORD_PTR> fetched_;
};

template <class... T>
std::wstring Printf(const std::wstring& format, T... values) {
  const int needed = _scwprintf(format.c_str(), values...);
  if (needed <= 0) return std::wstring();
  std::wstring out(static_cast<size_t>(needed) + 1, L'\0');
  _snwprintf(out.data(), out.size(), format.c_str(), values...);
  out.resize(static_cast<size_t>(needed));
  return out;
}

template <class V>
std::wstring PrintfWithStars(const std::wstring& format, const std::vector<int>& stars, V value) {
  switch (stars.size()) {
    case 0:
      return Printf(format, value);
    case 1:
      return Printf(format, stars[0], value);
    default:
      return Printf(format, stars[0], stars[1], value);
  }
}

// One insert through the C runtime; false for a conversion it does not take. The platform takes
// no floating-point conversion in an insert (a caller formats the number into a text first).
bool FormatInsert(const Token& token, const Arguments& args, std::wstring* out) {
  const std::wstring& printfFormat = token.text;
  if (printfFormat.empty()) return false;
  const wchar_t conversion = printfFormat.back();
  if (!std::wcschr(L"diouxXcCsSp", conversion)) return false;
  const int starCount = Arguments::Stars(printfFormat);
  if (starCount > 2) return false;
  std::vector<int> stars;
  for (int i = 0; i < starCount; ++i) stars.push_back(static_cast<int>(args.Get(token.index + i)));
  const DWORD_PTR slot = args.Get(token.index + starCount);
  const std::wstring format = L"%" + printfFormat;
  const std::wstring_view modifiers = std::wstring_view(printfFormat).substr(0, printfFormat.size() - 1);
  if (conversion == L's' || conversion == L'S' || conversion == L'p') {
    *out = PrintfWithStars(format, stars, reinterpret_cast<const void*>(slot));
  } else if (conversion == L'c' || conversion == L'C') {
    *out = PrintfWithStars(format, stars, static_cast<int>(slot));
  } else if (modifiers.find(L"I64") != std::wstring_view::npos ||
             modifiers.find(L"ll") != std::wstring_view::npos ||
             modifiers.find_first_of(L"jzt") != std::wstring_view::npos ||
             (modifiers.find(L'I') != std::wstring_view::npos &&
              modifiers.find(L"I32") == std::wstring_view::npos)) {
    *out = PrintfWithStars(format, stars, static_cast<long long>(slot));
  } else {
    *out = PrintfWithStars(format, stars, static_cast<int>(static_cast<uint32_t>(slot)));
  }
  return true;
}

// Breaks a line at the last space that keeps it within width characters (or hard at width).
std::wstring Wrap(std::wstring_view line, size_t width) {
  std::wstring out;
  while (line.size() > width) {
    size_t cut = line.rfind(L' ', width);
    size_t skip = 1;
    if (cut == std::wstring_view::npos || cut == 0) {
      cut = width;
      skip = 0;
    }
    out += line.substr(0, cut);
    out += L"\r\n";
    line.remove_prefix(cut + skip);
  }
  out += line;
  return out;
}

DWORD Fail(DWORD error) {
  SetLastError(error);
  return 0;
}

}  // namespace

EXTERN_C DWORD WINAPI FormatMessageW(DWORD dwFlags, LPCVOID lpSource, DWORD dwMessageId, DWORD dwLanguageId,
                                     LPWSTR lpBuffer, DWORD nSize, va_list* Arguments) {
  if (!lpBuffer) return Fail(ERROR_INVALID_PARAMETER);
  const bool allocate = (dwFlags & FORMAT_MESSAGE_ALLOCATE_BUFFER) != 0;
  if (allocate) *reinterpret_cast<LPWSTR*>(lpBuffer) = nullptr;

  const wchar_t* text = nullptr;
  if (dwFlags & FORMAT_MESSAGE_FROM_STRING) {
    text = static_cast<const wchar_t*>(lpSource);
    if (!text) return Fail(ERROR_INVALID_PARAMETER);
  } else if (dwFlags & (FORMAT_MESSAGE_FROM_HMODULE | FORMAT_MESSAGE_FROM_SYSTEM)) {
    // The stand-in's modules carry no message tables: a module is searched in vain first.
    if (!(dwFlags & FORMAT_MESSAGE_FROM_SYSTEM)) return Fail(ERROR_RESOURCE_TYPE_NOT_FOUND);
    if (dwLanguageId != 0 && dwLanguageId != 0x400 && dwLanguageId != 0x409 && dwLanguageId != 0x800)
      return Fail(ERROR_RESOURCE_LANG_NOT_FOUND);
    text = FindSystemMessage(dwMessageId);
    if (!text) return Fail(ERROR_MR_MID_NOT_FOUND);
  } else {
    return Fail(ERROR_INVALID_PARAMETER);
  }

  std::vector<Token> tokens;
  if (!Tokenize(text, (dwFlags & FORMAT_MESSAGE_IGNORE_INSERTS) != 0, &tokens))
    return Fail(ERROR_INVALID_PARAMETER);
  bool hasInserts = false;
  for (const auto& token : tokens) hasInserts = hasInserts || token.kind == Token::kInsert;
  const ::Arguments args(tokens, (dwFlags & FORMAT_MESSAGE_ARGUMENT_ARRAY) != 0,
                         hasInserts ? Arguments : nullptr);
  if (hasInserts && !args.Available()) return Fail(ERROR_INVALID_PARAMETER);

  const DWORD width = dwFlags & FORMAT_MESSAGE_MAX_WIDTH_MASK;
  std::vector<std::wstring> lines(1);
  for (const auto& token : tokens) {
    switch (token.kind) {
      case Token::kText:
        lines.back() += token.text;
        break;
      case Token::kRegularBreak:
        lines.back() += width == 0 ? token.text : std::wstring(L" ");
        break;
      case Token::kHardBreak:
        lines.emplace_back();
        break;
      case Token::kInsert: {
        std::wstring piece;
        if (!FormatInsert(token, args, &piece)) return Fail(ERROR_INVALID_PARAMETER);
        lines.back() += piece;
        break;
      }
    }
  }
  std::wstring out;
  for (size_t i = 0; i < lines.size(); ++i) {
    if (i) out += L"\r\n";
    out += (width != 0 && width != FORMAT_MESSAGE_MAX_WIDTH_MASK) ? Wrap(lines[i], width) : lines[i];
  }

  const DWORD length = static_cast<DWORD>(out.size());
  if (allocate) {
    const SIZE_T characters = std::max<SIZE_T>(length + 1, nSize);
    auto* memory = static_cast<LPWSTR>(LocalAlloc(LMEM_FIXED, characters * sizeof(WCHAR)));
    if (!memory) return Fail(ERROR_NOT_ENOUGH_MEMORY);
    std::wmemcpy(memory, out.c_str(), length + 1);
    *reinterpret_cast<LPWSTR*>(lpBuffer) = memory;
    return length;
  }
  if (nSize < length + 1) return Fail(ERROR_INSUFFICIENT_BUFFER);
  std::wmemcpy(lpBuffer, out.c_str(), length + 1);
  return length;
}
