// CString on a std::wstring. Every operation that needs a larger buffer than the string has
// goes through the class library's allocation path first, so an out-of-memory (real, or made
// by the test hook) throws CMemoryException* and leaves the string as it was.
#include <afxwin.h>

#include <algorithm>
#include <cwctype>
#include <iterator>
#include <stdexcept>

#include "platform/utf8.h"

namespace {

constexpr size_t kNpos = std::wstring::npos;

const wchar_t* OrEmpty(const wchar_t* text) {
  return text ? text : L"";
}

int ToInt(size_t position) {
  return position == kNpos ? -1 : static_cast<int>(position);
}

bool IsIn(wchar_t c, const wchar_t* set) {
  return c != L'\0' && wcschr(set, c) != nullptr;
}

// The text a platform wide format gives; -1 from the formatter gives an empty text. Most
// texts fit a small buffer and are formatted once there; a longer one (or a failure) is
// measured first and formatted again at its length.
std::wstring FormatToText(const wchar_t* format, va_list args) {
  wchar_t small[256];
  va_list first;
  va_copy(first, args);
  const int fitted = _vsnwprintf(small, std::size(small), format, first);
  va_end(first);
  if (fitted >= 0 && static_cast<size_t>(fitted) < std::size(small)) return std::wstring(small, fitted);
  va_list counting;
  va_copy(counting, args);
  const int length = _vscwprintf(format, counting);
  va_end(counting);
  if (length <= 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length), L'\0');
  const int written = _vsnwprintf(text.data(), text.size() + 1, format, args);
  text.resize(written < 0 ? 0 : static_cast<size_t>(written));
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Storage.

void CString::Reserve(size_t nLength) {
  if (nLength <= m_text.capacity()) return;
  platform::mfc::ThrowIfAllocationFails();
  try {
    m_text.reserve(nLength);
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  } catch (const std::length_error&) {
    AfxThrowMemoryException();
  }
}

void CString::Assign(const wchar_t* text, size_t nLength) {
  Reserve(nLength);  // a text inside this string fits its buffer, so it stays valid
  m_text.assign(text, nLength);
}

void CString::Commit(std::wstring&& result) {
  if (result.size() > m_text.capacity()) {
    platform::mfc::ThrowIfAllocationFails();
    m_text = std::move(result);
  } else {
    m_text.assign(result);
  }
}

void CString::Preallocate(int nLength) {
  if (nLength > 0) Reserve(static_cast<size_t>(nLength));
}

CString::CString(const CString& other) {
  Assign(other.m_text.data(), other.m_text.size());
}

CString::CString(CString&& other) noexcept : m_text(std::move(other.m_text)) {
  other.m_text.clear();
}

CString::CString(const wchar_t* text) {
  if (text) Assign(text, wcslen(text));
}

CString::CString(const wchar_t* text, int nLength) {
  if (text && nLength > 0) Assign(text, static_cast<size_t>(nLength));
}

CString::CString(const char* text) {
  if (text) Commit(platform::WideFromUtf8Text(text));
}

CString::CString(wchar_t ch, int nRepeat) {
  if (nRepeat <= 0) return;
  Reserve(static_cast<size_t>(nRepeat));
  m_text.assign(static_cast<size_t>(nRepeat), ch);
}

CString::~CString() = default;

CString& CString::operator=(const CString& other) {
  if (this != &other) Assign(other.m_text.data(), other.m_text.size());
  return *this;
}

CString& CString::operator=(CString&& other) noexcept {
  if (this != &other) {
    m_text = std::move(other.m_text);
    other.m_text.clear();
  }
  return *this;
}

CString& CString::operator=(const wchar_t* text) {
  Assign(OrEmpty(text), text ? wcslen(text) : 0);
  return *this;
}

CString& CString::operator=(const char* text) {
  Commit(text ? platform::WideFromUtf8Text(text) : std::wstring());
  return *this;
}

CString& CString::operator=(wchar_t ch) {
  Assign(&ch, 1);
  return *this;
}

void CString::Empty() noexcept {
  m_text.clear();
}

wchar_t CString::GetAt(int index) const {
  ASSERT(index >= 0 && index < GetLength());
  return m_text[static_cast<size_t>(index)];
}

void CString::SetAt(int index, wchar_t ch) {
  ASSERT(index >= 0 && index < GetLength());
  m_text[static_cast<size_t>(index)] = ch;
}

// ---------------------------------------------------------------------------------------
// Appending.

void CString::Append(const wchar_t* text, int nLength) {
  if (!text || nLength <= 0) return;
  const wchar_t* begin = m_text.data();
  if (text >= begin && text <= begin + m_text.size()) {  // a part of this string
    const std::wstring copy(text, static_cast<size_t>(nLength));
    Reserve(m_text.size() + copy.size());
    m_text.append(copy);
    return;
  }
  Reserve(m_text.size() + static_cast<size_t>(nLength));
  m_text.append(text, static_cast<size_t>(nLength));
}

void CString::Append(const wchar_t* text) {
  if (text) Append(text, static_cast<int>(wcslen(text)));
}

void CString::AppendChar(wchar_t ch) {
  Append(&ch, 1);
}

CString& CString::operator+=(const CString& text) {
  Append(text.m_text.data(), text.GetLength());
  return *this;
}

CString& CString::operator+=(const wchar_t* text) {
  Append(text);
  return *this;
}

CString& CString::operator+=(wchar_t ch) {
  AppendChar(ch);
  return *this;
}

namespace {
CString Concatenate(const wchar_t* a, int lengthA, const wchar_t* b, int lengthB) {
  CString result;
  result.Preallocate(lengthA + lengthB);
  result.Append(a, lengthA);
  result.Append(b, lengthB);
  return result;
}
int Length(const wchar_t* text) {
  return text ? static_cast<int>(wcslen(text)) : 0;
}
}  // namespace

CString operator+(const CString& a, const CString& b) {
  return Concatenate(a.GetString(), a.GetLength(), b.GetString(), b.GetLength());
}
CString operator+(const CString& a, const wchar_t* b) {
  return Concatenate(a.GetString(), a.GetLength(), b, Length(b));
}
CString operator+(const wchar_t* a, const CString& b) {
  return Concatenate(a, Length(a), b.GetString(), b.GetLength());
}
CString operator+(const CString& a, wchar_t b) {
  return Concatenate(a.GetString(), a.GetLength(), &b, 1);
}
CString operator+(wchar_t a, const CString& b) {
  return Concatenate(&a, 1, b.GetString(), b.GetLength());
}

// ---------------------------------------------------------------------------------------
// Comparison and parts.

int CString::Compare(const wchar_t* text) const {
  return wcscmp(m_text.c_str(), OrEmpty(text));
}

int CString::CompareNoCase(const wchar_t* text) const {
  return _wcsicmp(m_text.c_str(), OrEmpty(text));
}

CString CString::Mid(int iFirst, int nCount) const {
  const int64_t length = GetLength();
  int64_t first = std::clamp<int64_t>(iFirst, 0, length);
  int64_t count = std::clamp<int64_t>(nCount, 0, length - first);
  return CString(m_text.data() + first, static_cast<int>(count));
}

CString CString::Mid(int iFirst) const {
  return Mid(iFirst, GetLength());
}

CString CString::Left(int nCount) const {
  return Mid(0, nCount);
}

CString CString::Right(int nCount) const {
  const int count = std::clamp(nCount, 0, GetLength());
  return Mid(GetLength() - count, count);
}

CString CString::SpanIncluding(const wchar_t* charSet) const {
  return Left(charSet ? static_cast<int>(wcsspn(m_text.c_str(), charSet)) : 0);
}

CString CString::SpanExcluding(const wchar_t* charSet) const {
  return Left(static_cast<int>(wcscspn(m_text.c_str(), OrEmpty(charSet))));
}

// ---------------------------------------------------------------------------------------
// Searching.

int CString::Find(wchar_t ch, int iStart) const {
  if (iStart > GetLength()) return -1;
  return ToInt(m_text.find(ch, static_cast<size_t>(std::max(iStart, 0))));
}

int CString::Find(const wchar_t* sub, int iStart) const {
  if (!sub || iStart > GetLength()) return -1;
  return ToInt(m_text.find(sub, static_cast<size_t>(std::max(iStart, 0))));
}

int CString::ReverseFind(wchar_t ch) const {
  return ToInt(m_text.rfind(ch));
}

int CString::FindOneOf(const wchar_t* charSet) const {
  if (!charSet || !*charSet) return -1;
  return ToInt(m_text.find_first_of(charSet));
}

// ---------------------------------------------------------------------------------------
// Editing.

int CString::Remove(wchar_t ch) {
  return static_cast<int>(std::erase(m_text, ch));
}

int CString::Replace(wchar_t chOld, wchar_t chNew) {
  if (chOld == chNew) return 0;
  int count = 0;
  for (wchar_t& c : m_text)
    if (c == chOld) {
      c = chNew;
      ++count;
    }
  return count;
}

int CString::Replace(const wchar_t* oldText, const wchar_t* newText) {
  if (!oldText || !*oldText) return 0;
  const std::wstring_view from(oldText), to(OrEmpty(newText));
  std::wstring result;
  int count = 0;
  size_t done = 0;
  for (size_t at = m_text.find(from); at != kNpos; at = m_text.find(from, done)) {
    result.append(m_text, done, at - done).append(to);
    done = at + from.size();
    ++count;
  }
  if (count == 0) return 0;
  result.append(m_text, done);
  Commit(std::move(result));
  return count;
}

int CString::Insert(int index, const wchar_t* text) {
  if (!text || !*text) return GetLength();
  const size_t at = static_cast<size_t>(std::clamp(index, 0, GetLength()));
  std::wstring result(m_text, 0, at);
  result.append(text).append(m_text, at);
  Commit(std::move(result));
  return GetLength();
}

int CString::Insert(int index, wchar_t ch) {
  const wchar_t text[2] = {ch, L'\0'};
  return Insert(index, text);
}

int CString::Delete(int index, int nCount) {
  const int64_t length = GetLength();
  const int64_t first = std::max(index, 0);
  const int64_t count = std::min<int64_t>(std::max(nCount, 0), length - first);
  if (count > 0) m_text.erase(static_cast<size_t>(first), static_cast<size_t>(count));
  return GetLength();
}

void CString::Truncate(int nNewLength) {
  if (nNewLength >= 0 && nNewLength < GetLength()) m_text.resize(static_cast<size_t>(nNewLength));
}

CString& CString::MakeUpper() {
  for (wchar_t& c : m_text) c = static_cast<wchar_t>(std::towupper(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeLower() {
  for (wchar_t& c : m_text) c = static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c)));
  return *this;
}

CString& CString::MakeReverse() {
  std::reverse(m_text.begin(), m_text.end());
  return *this;
}

// ---------------------------------------------------------------------------------------
// Trimming: one rule, "the character is trimmed", per form.

namespace {
template <class Trimmed>
void TrimText(std::wstring& text, bool left, bool right, Trimmed trimmed) {
  if (right) {
    size_t end = text.size();
    while (end > 0 && trimmed(text[end - 1])) --end;
    text.resize(end);
  }
  if (left) {
    size_t begin = 0;
    while (begin < text.size() && trimmed(text[begin])) ++begin;
    text.erase(0, begin);
  }
}
auto WhiteSpace() {
  return [](wchar_t c) { return std::iswspace(static_cast<wint_t>(c)) != 0; };
}
auto Character(wchar_t ch) {
  return [ch](wchar_t c) { return c == ch; };
}
auto AnyOf(const wchar_t* set) {
  return [set](wchar_t c) { return IsIn(c, set); };
}
}  // namespace

CString& CString::Trim() {
  TrimText(m_text, true, true, WhiteSpace());
  return *this;
}
CString& CString::Trim(wchar_t ch) {
  TrimText(m_text, true, true, Character(ch));
  return *this;
}
CString& CString::Trim(const wchar_t* charSet) {
  TrimText(m_text, true, true, AnyOf(OrEmpty(charSet)));
  return *this;
}
CString& CString::TrimLeft() {
  TrimText(m_text, true, false, WhiteSpace());
  return *this;
}
CString& CString::TrimLeft(wchar_t ch) {
  TrimText(m_text, true, false, Character(ch));
  return *this;
}
CString& CString::TrimLeft(const wchar_t* charSet) {
  TrimText(m_text, true, false, AnyOf(OrEmpty(charSet)));
  return *this;
}
CString& CString::TrimRight() {
  TrimText(m_text, false, true, WhiteSpace());
  return *this;
}
CString& CString::TrimRight(wchar_t ch) {
  TrimText(m_text, false, true, Character(ch));
  return *this;
}
CString& CString::TrimRight(const wchar_t* charSet) {
  TrimText(m_text, false, true, AnyOf(OrEmpty(charSet)));
  return *this;
}

// ---------------------------------------------------------------------------------------
// Tokens.

CString CString::Tokenize(const wchar_t* delimiters, int& iStart) const {
  const int length = GetLength();
  if (iStart >= 0 && iStart < length) {
    if (!delimiters || !*delimiters) {
      const int from = iStart;
      iStart = length + 1;
      return Mid(from);
    }
    const size_t from = m_text.find_first_not_of(delimiters, static_cast<size_t>(iStart));
    if (from != kNpos) {
      size_t to = m_text.find_first_of(delimiters, from);
      if (to == kNpos) to = m_text.size();
      iStart = static_cast<int>(to) + 1;
      return Mid(static_cast<int>(from), static_cast<int>(to - from));
    }
  }
  iStart = -1;
  return CString();
}

// ---------------------------------------------------------------------------------------
// Formatting.

void CString::FormatV(const wchar_t* format, va_list args) {
  Commit(format ? FormatToText(format, args) : std::wstring());
}

void CString::AppendFormatV(const wchar_t* format, va_list args) {
  if (!format) return;
  const std::wstring text = FormatToText(format, args);
  Append(text.data(), static_cast<int>(text.size()));
}

void CString::FormatList(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  try {
    FormatV(format, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

void CString::AppendFormatList(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  try {
    AppendFormatV(format, args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}

// ---------------------------------------------------------------------------------------
// BSTR.

BSTR CString::AllocSysString() const {
  platform::mfc::ThrowIfAllocationFails();
  BSTR text = SysAllocStringLen(m_text.data(), static_cast<UINT>(m_text.size()));
  if (!text) AfxThrowMemoryException();
  return text;
}

BSTR CString::SetSysString(BSTR* pbstr) const {
  BSTR text = AllocSysString();
  SysFreeString(*pbstr);
  *pbstr = text;
  return text;
}

// ---------------------------------------------------------------------------------------
// Buffer access.

wchar_t* CString::GetBuffer(int nMinBufferLength) {
  const size_t length = std::max<size_t>(m_text.size(), static_cast<size_t>(std::max(nMinBufferLength, 0)));
  Reserve(length);
  m_text.resize(length);  // new room holds terminators, so the old text still ends where it did
  return m_text.data();
}

wchar_t* CString::GetBuffer() {
  return GetBuffer(0);
}

wchar_t* CString::GetBufferSetLength(int nLength) {
  const size_t length = static_cast<size_t>(std::max(nLength, 0));
  Reserve(length);
  m_text.resize(length);
  return m_text.data();
}

void CString::ReleaseBuffer(int nNewLength) {
  const size_t length = nNewLength < 0 ? wcsnlen(m_text.data(), m_text.size())
                                       : std::min(static_cast<size_t>(nNewLength), m_text.size());
  m_text.resize(length);
}

void CString::ReleaseBufferSetLength(int nNewLength) {
  ReleaseBuffer(std::max(nNewLength, 0));
}

wchar_t* CString::LockBuffer() {
  return m_text.data();
}

// ---------------------------------------------------------------------------------------
// Messages.

void CString::FormatMessageV(const wchar_t* format, va_list* pArgs) {
  LPWSTR buffer = nullptr;
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ALLOCATE_BUFFER, format,
                                        0, 0, reinterpret_cast<LPWSTR>(&buffer), 0, pArgs);
  struct Release {
    LPWSTR p;
    ~Release() {
      if (p) LocalFree(p);
    }
  } release{buffer};
  // Simplified: a format the platform cannot use leaves an empty string.
  Commit(length && buffer ? std::wstring(buffer, length) : std::wstring());
}

void CString::FormatMessageList(const wchar_t* format, ...) {
  va_list args;
  va_start(args, format);
  try {
    FormatMessageV(format, &args);
  } catch (...) {
    va_end(args);
    throw;
  }
  va_end(args);
}
