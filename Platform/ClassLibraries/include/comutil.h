// The compiler's COM support classes for strings and variants: _bstr_t and _variant_t. Their
// raising members throw _com_error (comdef.h) through _com_issue_error.
#pragma once

#include <compare>

#include "ole2.h"
#include "comdecl.h"

#include "classlib_api.h"

class _com_error;
class _variant_t;

// Throws _com_error(hr).
EXTERN_C CLASSLIB_API __attribute__((noreturn)) void WINAPI _com_issue_error(HRESULT hr);
// Throws _com_error(hr, the thread's error object if punk supports it for riid): the error
// object is taken from GetErrorInfo when punk's ISupportErrorInfo says S_OK for riid.
EXTERN_C CLASSLIB_API __attribute__((noreturn)) void WINAPI _com_issue_errorex(HRESULT hr, IUnknown* punk,
                                                                               REFIID riid);

// A shared, reference-counted BSTR. Copies share one string; the string is freed with the
// last copy. A default-constructed _bstr_t holds no string (converts to null, length 0).
class CLASSLIB_API _bstr_t {
 public:
  _bstr_t() noexcept = default;
  _bstr_t(const _bstr_t& other) noexcept;
  _bstr_t(_bstr_t&& other) noexcept;
  // Copies the text (null: no string). Raises E_OUTOFMEMORY.
  _bstr_t(const wchar_t* text);
  // Converts the UTF-8 text (null: no string). Raises E_OUTOFMEMORY.
  _bstr_t(const char* text);
  // fCopy true: copies bstr; false: takes bstr over, freeing it with the last copy.
  _bstr_t(BSTR bstr, bool fCopy);
  ~_bstr_t();

  _bstr_t& operator=(const _bstr_t& other) noexcept;
  _bstr_t& operator=(_bstr_t&& other) noexcept;
  _bstr_t& operator=(const wchar_t* text);
  _bstr_t& operator=(const char* text);

  _bstr_t& operator+=(const _bstr_t& other);
  _bstr_t operator+(const _bstr_t& other) const;
  friend _bstr_t operator+(const wchar_t* left, const _bstr_t& right) { return _bstr_t(left) + right; }
  friend _bstr_t operator+(const char* left, const _bstr_t& right) { return _bstr_t(left) + right; }

  // The string, null when there is none. Valid while this _bstr_t (or a copy) holds it.
  operator const wchar_t*() const noexcept;
  operator wchar_t*() const noexcept;
  // The string as UTF-8, kept with the string until it changes; null when there is none.
  operator const char*() const;
  bool operator!() const noexcept { return !static_cast<const wchar_t*>(*this); }

  // Comparison by characters, up to the lengths; no string equals an empty one.
  int Compare(const _bstr_t& other) const noexcept;
  bool operator==(const _bstr_t& other) const noexcept { return Compare(other) == 0; }
  bool operator==(const wchar_t* other) const { return Compare(_bstr_t(other)) == 0; }
  bool operator==(const char* other) const { return Compare(_bstr_t(other)) == 0; }
  std::strong_ordering operator<=>(const _bstr_t& other) const noexcept { return Compare(other) <=> 0; }
  std::strong_ordering operator<=>(const wchar_t* other) const { return Compare(_bstr_t(other)) <=> 0; }

  // A new BSTR with a copy of the string (fCopy false: the string itself, still owned here).
  // Raises E_OUTOFMEMORY.
  BSTR copy(bool fCopy = true) const;
  // Characters, without the terminator.
  unsigned int length() const noexcept;
  // Replaces the string with a copy of s.
  void Assign(BSTR s);
  // The owned BSTR itself (creates an empty holder first if there is none).
  BSTR& GetBSTR();
  // Frees the string first, then gives the address where a new BSTR is to be stored (which
  // this _bstr_t then owns): for out-parameters.
  BSTR* GetAddress();
  // Takes s over (the old string is released first).
  void Attach(BSTR s);
  // Hands the string over to the caller and holds none. When the string is shared with other
  // copies, the caller gets a copy of it and the others keep theirs.
  BSTR Detach();

 private:
  struct Data;
  void Release() noexcept;
  Data* data_ = nullptr;
};

// A VARIANT that clears itself. Constructors set the type from the C++ type; extraction
// operators convert with VariantChangeType and raise the conversion's error (for example
// DISP_E_TYPEMISMATCH or DISP_E_OVERFLOW) through _com_issue_error.
class CLASSLIB_API _variant_t : public tagVARIANT {
 public:
  _variant_t() noexcept;
  _variant_t(const VARIANT& source);     // copy; raises
  _variant_t(const _variant_t& source);  // copy; raises
  _variant_t(_variant_t&& source) noexcept;
  _variant_t(VARIANT& source, bool fCopy);        // fCopy false: takes source over, leaves it VT_EMPTY
  _variant_t(bool value) noexcept;                // VT_BOOL
  _variant_t(char value) noexcept;                // VT_I1
  _variant_t(BYTE value) noexcept;                // VT_UI1
  _variant_t(short value, VARTYPE vt = VT_I2);    // VT_I2 or VT_BOOL; raises E_INVALIDARG otherwise
  _variant_t(unsigned short value) noexcept;      // VT_UI2
  _variant_t(LONG value, VARTYPE vt = VT_I4);     // VT_I4, VT_ERROR or VT_BOOL (LONG is int here)
  _variant_t(ULONG value) noexcept;               // VT_UI4
  _variant_t(long long value) noexcept;           // VT_I8
  _variant_t(unsigned long long value) noexcept;  // VT_UI8
  _variant_t(float value) noexcept;               // VT_R4
  _variant_t(double value, VARTYPE vt = VT_R8);   // VT_R8 or VT_DATE
  _variant_t(const wchar_t* text);                // VT_BSTR, a copy (a null text gives a null BSTR)
  _variant_t(const char* text);                   // VT_BSTR from UTF-8
  _variant_t(const _bstr_t& text);                // VT_BSTR, a copy
  _variant_t(IUnknown* value, bool fAddRef = true) noexcept;   // VT_UNKNOWN
  _variant_t(IDispatch* value, bool fAddRef = true) noexcept;  // VT_DISPATCH
  ~_variant_t();

  _variant_t& operator=(const VARIANT& source);
  _variant_t& operator=(const _variant_t& source);
  _variant_t& operator=(_variant_t&& source) noexcept;
  template <class T>
  _variant_t& operator=(const T& value) {
    return *this = _variant_t(value);
  }

  // Extraction by VariantChangeType into the C++ type; raises on failure.
  operator bool() const;
  operator char() const;
  operator BYTE() const;
  operator short() const;
  operator unsigned short() const;
  operator LONG() const;
  operator ULONG() const;
  operator long long() const;
  operator unsigned long long() const;
  operator float() const;
  operator double() const;
  operator _bstr_t() const;  // (so _bstr_t b = v; converts the variant to text)
  // The interface pointer, AddRef'd for the caller (VT_UNKNOWN, or VT_DISPATCH answering
  // IUnknown); null for a null pointer.
  operator IUnknown*() const;
  operator IDispatch*() const;

  // Frees the value (VariantClear); raises on failure.
  void Clear();
  // Converts in place (or converts pSrc into this); raises on failure, leaving this unchanged.
  void ChangeType(VARTYPE vartype, const _variant_t* pSrc = nullptr);
  // Takes source over (this is cleared first; source is left VT_EMPTY).
  void Attach(VARIANT& source);
  // Hands the value over; this is left VT_EMPTY.
  VARIANT Detach() noexcept;
  // The address of the variant, cleared first: for out-parameters.
  VARIANT* GetAddress();
  // Stores a copy of the UTF-8 text as VT_BSTR.
  void SetString(const char* text);
};
