// CSafeArray: the owner of one one-dimensional SAFEARRAY, with element access as VARIANTs.
// Failures are logged under the operation's name ("CSafeArray::Get").
#pragma once

#include <windows.h>

#include <oleauto.h>

class CSafeArray {
 public:
  CSafeArray() = default;
  // null: unattached. Without copy the array is adopted; with copy a copy is held. An array
  // of more than one dimension is logged and taken anyway.
  CSafeArray(SAFEARRAY* array, bool copy);
  // An array of count elements of type vt from lowerBound (see Create).
  CSafeArray(VARTYPE vt, LONG lowerBound, ULONG count);
  CSafeArray(const CSafeArray& other);
  virtual ~CSafeArray();
  // Destroys the held array, then holds a copy of the other one; self-assignment does nothing.
  virtual CSafeArray& operator=(const CSafeArray& other);

  // Refuses VT_ARRAY / VT_BYREF types, VT_EMPTY and VT_NULL; destroys the held array first.
  bool Create(VARTYPE vt, LONG lowerBound, ULONG count);
  void Destroy();

  // The element type; VT_EMPTY (logged) when it cannot be had.
  VARTYPE GetType() const;
  // True without an array or with no elements.
  bool IsEmpty() const;
  // The lower bound; 0 without an array or without elements.
  LONG GetBeginIndex() const;
  // One past the last index: the count plus GetBeginIndex.
  LONG GetEndIndex() const;
  ULONG GetCount() const;

  // A copy of the element as a VARIANT: empty when unattached or when the read fails; VT_I4
  // holding E_FAIL for an element type it does not read (VT_CY, VT_DATE, VT_ERROR, ...).
  // The caller clears it.
  VARIANT Get(LONG index) const;
  // Stores a copy of value. E_UNEXPECTED unattached; E_INVALIDARG for VT_EMPTY or a type other
  // than the array's (a VARIANT array takes any); SafeArrayPutElement's failure.
  HRESULT Set(LONG index, const VARIANT& value);
  // Grows the array by one and sets the new last element; on failure shrinks it back.
  HRESULT Add(const VARIANT& value);
  // Adds every element of source in index order; E_FAIL for different element types.
  HRESULT Append(const CSafeArray& source);

  // Gives up ownership.
  SAFEARRAY* Detach();
  SAFEARRAY* GetSafeArray() const { return m_pArray; }
  bool IsAttached() const { return m_pArray != nullptr; }
  // Destroys the held array and gives its slot for an out-parameter.
  SAFEARRAY** GetAddress();

 private:
  SAFEARRAY* m_pArray = nullptr;
};
