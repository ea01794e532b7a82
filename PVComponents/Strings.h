// CStrings: an ordered list of strings, from a separated text or a SAFEARRAY of BSTRs.
// Comparisons are case-sensitive; duplicates are allowed except through AddUnique.
#pragma once

#include <afx.h>
#include <comdef.h>

#include <vector>

class CSafeArray;

// The whole text of a BSTR, with its length (a null BSTR is empty).
CString TextOf(const _bstr_t& text);

class CStrings : public CObject {
  DECLARE_DYNAMIC(CStrings)

 public:
  CStrings() = default;
  CStrings(const CStrings& other);
  CStrings& operator=(const CStrings& other);
  // The non-empty pieces of text between separators, in order.
  CStrings(const CString& text, wchar_t separator);
  // Every element of a VT_BSTR array, a null BSTR as an empty string; another element type is
  // logged and gives an empty list.
  explicit CStrings(CSafeArray& array);
  ~CStrings() override = default;

  bool operator==(const CStrings& other) const;

  // A copy of the element; an empty list or an index out of range is logged and gives "".
  CString operator[](int index) const;
  // FALSE (logged, out unchanged) for an index not below the count.
  BOOL GetAt(unsigned index, CString& out) const;
  // Inserts before the element at index (the count appends); FALSE for an index outside
  // 0..count.
  BOOL InsertAt(const CString& text, int index);
  // E_INVALIDARG when an equal string is in the list already.
  HRESULT AddUnique(const CString& text);
  void Add(const CString& text);
  BOOL Contains(const CString& text) const;
  // index: set to the first equal element's position only when found.
  BOOL Find(const CString& text, int& index) const;
  BOOL RemoveAt(unsigned index);
  void RemoveAll();
  BOOL IsEmpty() const;
  unsigned GetSize() const;
  // The elements with the separator between neighbours.
  CString Join(const CString& separator) const;

 private:
  std::vector<CString> m_strings;
};
