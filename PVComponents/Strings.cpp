#include "Strings.h"

#include "PVLog.h"
#include "SafeArray.h"

IMPLEMENT_DYNAMIC(CStrings, CObject)

namespace {
constexpr CPVSourceLog Log(L"Strings");
}  // namespace

CStrings::CStrings(const CStrings& other) : CObject(), m_strings(other.m_strings) {}

CStrings& CStrings::operator=(const CStrings& other) {
  if (this != &other) m_strings = other.m_strings;
  return *this;
}

CStrings::CStrings(const CString& text, wchar_t separator) {
  const wchar_t delimiters[] = {separator, L'\0'};
  int position = 0;
  while (position >= 0 && position < text.GetLength()) {
    CString piece = text.Tokenize(delimiters, position);
    if (position >= 0 && !piece.IsEmpty()) m_strings.push_back(piece);
  }
}

CString TextOf(const _bstr_t& text) {
  return CString(static_cast<const wchar_t*>(text), static_cast<int>(text.length()));
}

CStrings::CStrings(CSafeArray& array) {
  if (array.GetType() != VT_BSTR) {
    Log(L"Cannot copy construct a CStrings object from a non-BSTR safearray.", L"CStrings::CStrings",
        __LINE__);
    return;
  }
  if (array.IsEmpty()) return;
  for (LONG i = array.GetBeginIndex(); i < array.GetEndIndex(); ++i) {
    VARIANT got = array.Get(i);
    _variant_t element(got, false);
    if (element.vt != VT_BSTR && FAILED(VariantChangeType(&element, &element, 0, VT_BSTR))) {
      m_strings.emplace_back();
      continue;
    }
    m_strings.emplace_back(element.bstrVal, static_cast<int>(SysStringLen(element.bstrVal)));
  }
}

bool CStrings::operator==(const CStrings& other) const {
  if (m_strings.size() != other.m_strings.size()) return false;
  for (size_t i = 0; i < m_strings.size(); ++i) {
    if (m_strings[i].Compare(other.m_strings[i]) != 0) return false;
  }
  return true;
}

CString CStrings::operator[](int index) const {
  if (m_strings.empty()) {
    Log(L"CStrings container is empty.", L"CStrings::operator []", __LINE__);
    return CString();
  }
  if (index < 0 || static_cast<size_t>(index) >= m_strings.size()) {
    Log(L"Index out of range.", L"CStrings::operator []", __LINE__);
    return CString();
  }
  return m_strings[static_cast<size_t>(index)];
}

BOOL CStrings::GetAt(unsigned index, CString& out) const {
  if (index >= m_strings.size()) {
    Log(L"Index out of range.", L"CStrings::GetAt", __LINE__);
    return FALSE;
  }
  out = m_strings[index];
  return TRUE;
}

BOOL CStrings::InsertAt(const CString& text, int index) {
  if (index < 0 || static_cast<size_t>(index) > m_strings.size()) return FALSE;
  m_strings.insert(m_strings.begin() + index, text);
  return TRUE;
}

HRESULT CStrings::AddUnique(const CString& text) {
  if (Contains(text)) return E_INVALIDARG;
  m_strings.push_back(text);
  return S_OK;
}

void CStrings::Add(const CString& text) {
  m_strings.push_back(text);
}

BOOL CStrings::Contains(const CString& text) const {
  int ignored = 0;
  return Find(text, ignored);
}

BOOL CStrings::Find(const CString& text, int& index) const {
  for (size_t i = 0; i < m_strings.size(); ++i) {
    if (m_strings[i].Compare(text) == 0) {
      index = static_cast<int>(i);
      return TRUE;
    }
  }
  return FALSE;
}

BOOL CStrings::RemoveAt(unsigned index) {
  if (index >= m_strings.size()) return FALSE;
  m_strings.erase(m_strings.begin() + index);
  return TRUE;
}

void CStrings::RemoveAll() {
  m_strings.clear();
}

BOOL CStrings::IsEmpty() const {
  return m_strings.empty() ? TRUE : FALSE;
}

unsigned CStrings::GetSize() const {
  return static_cast<unsigned>(m_strings.size());
}

CString CStrings::Join(const CString& separator) const {
  CString joined;
  for (size_t i = 0; i < m_strings.size(); ++i) {
    if (i > 0) joined += separator;
    joined += m_strings[i];
  }
  return joined;
}
