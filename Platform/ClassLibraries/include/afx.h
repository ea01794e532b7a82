// The class library's core: objects with run-time class information, exceptions, the
// allocation path that reports an out-of-memory as CMemoryException*, and CString.
#pragma once

#include <compare>
#include <cstdarg>
#include <cstdlib>
#include <new>
#include <string>
#include <type_traits>
#include <utility>

#include "windows.h"

#include "classlib_api.h"

#ifndef AFXAPI
#define AFXAPI
#endif
#ifndef PASCAL
#define PASCAL
#endif

// Diagnostics. The class library's checks hold in debug builds only; VERIFY keeps its
// expression in every build.
#include <cassert>
#define ASSERT(f) assert(f)
#ifdef NDEBUG
#define VERIFY(f) ((void)(f))
#else
#define VERIFY(f) assert(f)
#endif
#define ASSERT_VALID(p) ASSERT((p) != nullptr)
#define TRACE(...) ((void)0)
// "#define new DEBUG_NEW" in a source file keeps the ordinary new here.
#define DEBUG_NEW new

class CObject;
class CString;

// ---------------------------------------------------------------------------------------
// Run-time class information.

// One per class that says DECLARE_DYNAMIC: its name, its size and its base class's record.
// Records are compared by address, so each class has exactly one (a class of a DLL has its
// record in that DLL; the class library's records are in the platform library).
struct CLASSLIB_API CRuntimeClass {
  LPCSTR m_lpszClassName;
  int m_nObjectSize;
  UINT m_wSchema;                         // 0xFFFF: not serializable
  CObject*(PASCAL* m_pfnCreateObject)();  // set by IMPLEMENT_DYNCREATE, else null
  const CRuntimeClass* m_pBaseClass;      // null for CObject

  // A new object of the class, or null when the class cannot be created dynamically.
  CObject* CreateObject() const;
  // TRUE when this class is pBaseClass or derives from it.
  BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
};

#define RUNTIME_CLASS(class_name) (const_cast<CRuntimeClass*>(&class_name::class##class_name))

#define DECLARE_DYNAMIC(class_name)             \
 public:                                        \
  static const CRuntimeClass class##class_name; \
  CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC_RECORD(class_name, base_class_name, create)                                   \
  const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name), 0xFFFF, create, \
                                                       RUNTIME_CLASS(base_class_name)};                 \
  CRuntimeClass* class_name::GetRuntimeClass() const {                                                  \
    return RUNTIME_CLASS(class_name);                                                                   \
  }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name) \
  IMPLEMENT_DYNAMIC_RECORD(class_name, base_class_name, nullptr)

#define DECLARE_DYNCREATE(class_name) \
  DECLARE_DYNAMIC(class_name)         \
  static CObject* PASCAL CreateObject();

#define IMPLEMENT_DYNCREATE(class_name, base_class_name) \
  CObject* PASCAL class_name::CreateObject() {           \
    return new class_name;                               \
  }                                                      \
  IMPLEMENT_DYNAMIC_RECORD(class_name, base_class_name, class_name::CreateObject)

// The root of the class library's classes. Not copyable, as on the platform. Its operator
// new goes through the class library's allocation path: an out-of-memory (real or made by
// platform::mfc::FailNextAllocations) throws CMemoryException*.
class CLASSLIB_API CObject {
 public:
  static const CRuntimeClass classCObject;

  virtual ~CObject();
  virtual CRuntimeClass* GetRuntimeClass() const;
  // TRUE when the object's class is pClass or derives from it.
  BOOL IsKindOf(const CRuntimeClass* pClass) const;

  static void* operator new(size_t size);
  static void* operator new[](size_t size);
  static void* operator new(size_t, void* place) noexcept { return place; }
  static void operator delete(void* p) noexcept;
  static void operator delete[](void* p) noexcept;
  static void operator delete(void*, void*) noexcept {}

  CObject(const CObject&) = delete;
  CObject& operator=(const CObject&) = delete;

 protected:
  CObject() = default;
};

// The object when it is of the class (or derives from it), else null; a null object gives null.
CLASSLIB_API CObject* AFXAPI AfxDynamicDownCast(CRuntimeClass* pClass, CObject* pObject);
// The object, which must be of the class (checked in debug builds).
CLASSLIB_API CObject* AFXAPI AfxStaticDownCast(CRuntimeClass* pClass, CObject* pObject);

#define DYNAMIC_DOWNCAST(class_name, object) \
  static_cast<class_name*>(AfxDynamicDownCast(RUNTIME_CLASS(class_name), object))
#define STATIC_DOWNCAST(class_name, object) \
  static_cast<class_name*>(AfxStaticDownCast(RUNTIME_CLASS(class_name), object))

// ---------------------------------------------------------------------------------------
// Exceptions. The class library throws pointers (throw new CFooException) and the catcher
// frees them with Delete(): catch (CException* e) { e->Delete(); }.

class CLASSLIB_API CException : public CObject {
  DECLARE_DYNAMIC(CException)

 public:
  // bAutoDelete FALSE: the exception is a static object that Delete() leaves alone.
  explicit CException(BOOL bAutoDelete = TRUE) : m_bAutoDelete(bAutoDelete) {}
  ~CException() override;

  // Frees a heap exception; does nothing for a static one.
  void Delete();
  // Copies the message (at most nMaxError characters with the terminator) and its help id;
  // FALSE when the exception has no message (the base has none).
  virtual BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const;

 protected:
  BOOL m_bAutoDelete;
};

class CLASSLIB_API CMemoryException : public CException {
  DECLARE_DYNAMIC(CMemoryException)

 public:
  explicit CMemoryException(BOOL bAutoDelete = TRUE) : CException(bAutoDelete) {}
  ~CMemoryException() override;
  BOOL GetErrorMessage(LPWSTR lpszError, UINT nMaxError, UINT* pnHelpContext = nullptr) const override;
};

// Throws the class library's one static CMemoryException (nothing is allocated while memory
// is short, and Delete() on it does nothing).
[[noreturn]] CLASSLIB_API void AFXAPI AfxThrowMemoryException();

namespace platform::mfc {

// Test hook of the class library's allocation path: after `skip` more allocations succeed,
// the next `count` allocations fail with CMemoryException*. FailNextAllocations(0) ends it.
// The path is taken by CObject's operator new, AfxNew, and every CString operation that
// needs a larger buffer than the string has (a text of up to three characters fits a
// string's own storage and allocates nothing).
CLASSLIB_API void FailNextAllocations(int count, int skip = 0);

// The allocation path's check: throws CMemoryException* when the hook says this allocation
// fails.
CLASSLIB_API void ThrowIfAllocationFails();

}  // namespace platform::mfc

// new T(args...) through the class library's allocation path, for classes that do not derive
// from CObject: an out-of-memory throws CMemoryException* (never std::bad_alloc).
template <class T, class... Args>
T* AfxNew(Args&&... args) {
  platform::mfc::ThrowIfAllocationFails();
  try {
    return new T(std::forward<Args>(args)...);
  } catch (const std::bad_alloc&) {
    AfxThrowMemoryException();
  }
}

// ---------------------------------------------------------------------------------------
// CString: the class library's wide string. Lengths and positions are ints; a null text
// counts as empty. Operations that need memory throw CMemoryException* when there is none,
// and leave the string as it was.

class CString;
namespace platform::mfc::detail {
// Format arguments: a CString passes its text (a CString cannot travel through "...").
template <class T>
decltype(auto) FormatArgument(const T& value) {
  if constexpr (std::is_same_v<std::remove_cv_t<T>, CString>)
    return static_cast<const wchar_t*>(value);
  else
    return (value);
}
}  // namespace platform::mfc::detail

class CLASSLIB_API CString {
 public:
  CString() noexcept = default;
  CString(const CString& other);
  CString(CString&& other) noexcept;
  CString(const wchar_t* text);               // null: empty
  CString(const wchar_t* text, int nLength);  // a BSTR and its length, or a part of a text
  CString(const char* text);                  // narrow text as UTF-8
  CString(wchar_t ch, int nRepeat = 1);
  ~CString();

  CString& operator=(const CString& other);
  CString& operator=(CString&& other) noexcept;
  CString& operator=(const wchar_t* text);
  CString& operator=(const char* text);
  CString& operator=(wchar_t ch);

  int GetLength() const noexcept { return static_cast<int>(m_text.size()); }
  bool IsEmpty() const noexcept { return m_text.empty(); }
  void Empty() noexcept;
  wchar_t GetAt(int index) const;
  void SetAt(int index, wchar_t ch);
  wchar_t operator[](int index) const { return GetAt(index); }
  operator const wchar_t*() const noexcept { return m_text.c_str(); }
  const wchar_t* GetString() const noexcept { return m_text.c_str(); }

  CString& operator+=(const CString& text);
  CString& operator+=(const wchar_t* text);
  CString& operator+=(wchar_t ch);
  void Append(const wchar_t* text);
  void Append(const wchar_t* text, int nLength);
  void AppendChar(wchar_t ch);
  // Makes room for nLength characters in one allocation.
  void Preallocate(int nLength);

  // Comparisons: negative, zero or positive. Compare is case-sensitive.
  int Compare(const wchar_t* text) const;
  int CompareNoCase(const wchar_t* text) const;

  // Parts; counts and positions out of range are clamped to the string.
  CString Left(int nCount) const;
  CString Mid(int iFirst) const;
  CString Mid(int iFirst, int nCount) const;
  CString Right(int nCount) const;
  // The leading run of characters that are (not) in the set.
  CString SpanIncluding(const wchar_t* charSet) const;
  CString SpanExcluding(const wchar_t* charSet) const;

  // Positions, or -1. A start beyond the end finds nothing; an empty text is found at start.
  int Find(wchar_t ch, int iStart = 0) const;
  int Find(const wchar_t* sub, int iStart = 0) const;
  int ReverseFind(wchar_t ch) const;
  int FindOneOf(const wchar_t* charSet) const;

  // Edits. Remove and Replace return the number of characters or texts replaced; Insert and
  // Delete the new length. Replace with an empty old text replaces nothing.
  int Remove(wchar_t ch);
  int Replace(wchar_t chOld, wchar_t chNew);
  int Replace(const wchar_t* oldText, const wchar_t* newText);
  int Insert(int index, wchar_t ch);
  int Insert(int index, const wchar_t* text);
  int Delete(int index, int nCount = 1);
  void Truncate(int nNewLength);
  CString& MakeUpper();
  CString& MakeLower();
  CString& MakeReverse();

  // Trimming: white space (iswspace), one character, or any character of a set.
  CString& Trim();
  CString& Trim(wchar_t ch);
  CString& Trim(const wchar_t* charSet);
  CString& TrimLeft();
  CString& TrimLeft(wchar_t ch);
  CString& TrimLeft(const wchar_t* charSet);
  CString& TrimRight();
  CString& TrimRight(wchar_t ch);
  CString& TrimRight(const wchar_t* charSet);

  // The next token from iStart: leading delimiters are skipped, the token runs to the next
  // delimiter, and iStart moves past that delimiter. At the end the token is empty and iStart
  // is -1. An empty delimiter set makes the rest of the string one token.
  CString Tokenize(const wchar_t* delimiters, int& iStart) const;

  // Formatting with the platform's wide format conventions (%s is a wide string). A CString
  // argument passes its text.
  template <class... Args>
  void Format(const wchar_t* format, const Args&... args) {
    FormatList(format, platform::mfc::detail::FormatArgument(args)...);
  }
  template <class... Args>
  void AppendFormat(const wchar_t* format, const Args&... args) {
    AppendFormatList(format, platform::mfc::detail::FormatArgument(args)...);
  }
  void FormatV(const wchar_t* format, va_list args);
  void AppendFormatV(const wchar_t* format, va_list args);

  // FormatMessageW from a string: inserts %1, %2, ... with !type! specifiers ("%1!s!", a
  // bare "%1" is a wide string). The string id form loads the format with LoadString first.
  template <class... Args>
  void FormatMessage(const wchar_t* format, const Args&... args) {
    FormatMessageList(format, platform::mfc::detail::FormatArgument(args)...);
  }
  template <class... Args>
  void FormatMessage(UINT nFormatId, const Args&... args) {
    CString format;
    if (format.LoadString(nFormatId)) FormatMessage(format.GetString(), args...);
  }
  void FormatMessageV(const wchar_t* format, va_list* pArgs);

  // The string resource nId from the current resource handle (or hInstance); FALSE and the
  // string unchanged when there is none.
  BOOL LoadString(UINT nId);
  BOOL LoadString(HINSTANCE hInstance, UINT nId);

  // A new BSTR with the text (the caller frees it); throws CMemoryException* without memory.
  BSTR AllocSysString() const;
  // Frees *pbstr and stores a new BSTR with the text there; returns it.
  BSTR SetSysString(BSTR* pbstr) const;

  // Direct access to the characters. GetBuffer(n) gives room for at least n characters and
  // a terminator (the length is at least n until ReleaseBuffer); ReleaseBuffer(-1) takes the
  // length up to the first terminator, ReleaseBuffer(n) takes n characters.
  wchar_t* GetBuffer();
  wchar_t* GetBuffer(int nMinBufferLength);
  wchar_t* GetBufferSetLength(int nLength);
  void ReleaseBuffer(int nNewLength = -1);
  void ReleaseBufferSetLength(int nNewLength);
  // Strings here never share buffers, so locking only hands out the buffer.
  wchar_t* LockBuffer();
  void UnlockBuffer() noexcept {}

  // Comparison, case-sensitive (a null text is empty); != < <= > >= follow from these.
  friend bool operator==(const CString& a, const CString& b) noexcept { return a.m_text == b.m_text; }
  friend bool operator==(const CString& a, const wchar_t* b) noexcept { return a.Compare(b) == 0; }
  friend std::strong_ordering operator<=>(const CString& a, const CString& b) noexcept {
    return a.Compare(b.GetString()) <=> 0;
  }
  friend std::strong_ordering operator<=>(const CString& a, const wchar_t* b) noexcept {
    return a.Compare(b) <=> 0;
  }

 private:
  void FormatList(const wchar_t* format, ...);
  void AppendFormatList(const wchar_t* format, ...);
  void FormatMessageList(const wchar_t* format, ...);
  // Makes room for nLength characters through the allocation path; throws before changing
  // anything.
  void Reserve(size_t nLength);
  void Assign(const wchar_t* text, size_t nLength);
  // Replaces the text with the result of an edit, through the allocation path.
  void Commit(std::wstring&& result);

  std::wstring m_text;
};

// Concatenation; a null text is empty.
CLASSLIB_API CString operator+(const CString& a, const CString& b);
CLASSLIB_API CString operator+(const CString& a, const wchar_t* b);
CLASSLIB_API CString operator+(const wchar_t* a, const CString& b);
CLASSLIB_API CString operator+(const CString& a, wchar_t b);
CLASSLIB_API CString operator+(wchar_t a, const CString& b);

typedef CString CStringW;
