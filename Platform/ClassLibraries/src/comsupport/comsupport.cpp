// The compiler's COM support classes: _com_error, _bstr_t and _variant_t.
#include <string>

#include "comdef.h"
#if defined(_WIN32)
#include <wchar.h>  // the C runtime's _wcsicmp and the other wide-string functions
#else
#include "crtwide.h"
#endif
#include "platform/refcount.h"
#include "platform/utf8.h"
#include "winbase.h"

using platform::RefCount;

void _com_issue_error(HRESULT hr) {
  throw _com_error(hr);
}

void _com_issue_errorex(HRESULT hr, IUnknown* punk, REFIID riid) {
  IErrorInfo* errorInfo = nullptr;
  ISupportErrorInfo* support = nullptr;
  if (punk && SUCCEEDED(punk->QueryInterface(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)))) {
    if (support->InterfaceSupportsErrorInfo(riid) == S_OK && GetErrorInfo(0, &errorInfo) != S_OK)
      errorInfo = nullptr;
    support->Release();
  }
  throw _com_error(hr, errorInfo);
}

// ---------------------------------------------------------------------------------------------
// _com_error

_com_error::_com_error(HRESULT hr, IErrorInfo* perrinfo, bool fAddRef) noexcept
    : hresult_(hr), errorInfo_(perrinfo) {
  if (errorInfo_ && fAddRef) errorInfo_->AddRef();
}

_com_error::_com_error(const _com_error& other) noexcept
    : hresult_(other.hresult_), errorInfo_(other.errorInfo_) {
  if (errorInfo_) errorInfo_->AddRef();
}

_com_error& _com_error::operator=(const _com_error& other) noexcept {
  if (this != &other) {
    if (other.errorInfo_) other.errorInfo_->AddRef();
    if (errorInfo_) errorInfo_->Release();
    hresult_ = other.hresult_;
    errorInfo_ = other.errorInfo_;
    delete[] std::exchange(message_, nullptr);
  }
  return *this;
}

_com_error::~_com_error() {
  if (errorInfo_) errorInfo_->Release();
  delete[] message_;
}

IErrorInfo* _com_error::ErrorInfo() const noexcept {
  if (errorInfo_) errorInfo_->AddRef();
  return errorInfo_;
}

namespace {

_bstr_t ErrorText(IErrorInfo* info, HRESULT (STDMETHODCALLTYPE IErrorInfo::*get)(BSTR*)) {
  BSTR text = nullptr;
  if (info && FAILED((info->*get)(&text))) text = nullptr;
  return _bstr_t(text, false);
}

// The dispatch error codes of WCodeToHRESULT: 0x80040200 + wCode.
constexpr HRESULT kFirstWCodeHresult = static_cast<HRESULT>(0x80040200);
constexpr HRESULT kLastWCodeHresult = static_cast<HRESULT>(0x8004FFFF);

}  // namespace

_bstr_t _com_error::Description() const {
  return ErrorText(errorInfo_, &IErrorInfo::GetDescription);
}
_bstr_t _com_error::Source() const {
  return ErrorText(errorInfo_, &IErrorInfo::GetSource);
}
_bstr_t _com_error::HelpFile() const {
  return ErrorText(errorInfo_, &IErrorInfo::GetHelpFile);
}

DWORD _com_error::HelpContext() const {
  DWORD context = 0;
  if (errorInfo_ && FAILED(errorInfo_->GetHelpContext(&context))) context = 0;
  return context;
}

GUID _com_error::ErrorGUID() const {
  GUID guid = GUID_NULL;
  if (errorInfo_ && FAILED(errorInfo_->GetGUID(&guid))) guid = GUID_NULL;
  return guid;
}

HRESULT _com_error::WCodeToHRESULT(WORD wCode) noexcept {
  return wCode >= 0xFE00 ? kLastWCodeHresult : kFirstWCodeHresult + wCode;
}

WORD _com_error::HRESULTToWCode(HRESULT hr) noexcept {
  return (hr >= kFirstWCodeHresult && hr <= kLastWCodeHresult) ? static_cast<WORD>(hr - kFirstWCodeHresult)
                                                               : 0;
}

const wchar_t* _com_error::ErrorMessage() const {
  if (message_) return message_;
  wchar_t text[512];
  DWORD length = FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                static_cast<DWORD>(hresult_), 0, text, 512, nullptr);
  while (length > 0 && (text[length - 1] == L'\n' || text[length - 1] == L'\r')) --length;
  if (length == 0) {
    const int written = WCode() != 0
                            ? swprintf_s(text, 512, L"IDispatch error #%d", WCode())
                            : swprintf_s(text, 512, L"Unknown error 0x%0lX", static_cast<ULONG>(hresult_));
    length = written > 0 ? static_cast<DWORD>(written) : 0;
  }
  message_ = new wchar_t[length + 1];
  std::wmemcpy(message_, text, length);
  message_[length] = L'\0';
  return message_;
}

// ---------------------------------------------------------------------------------------------
// _bstr_t

struct _bstr_t::Data {
  BSTR text;
  std::string utf8;  // filled by operator const char*
  bool haveUtf8 = false;
  RefCount refs;
  explicit Data(BSTR owned) : text(owned) {}
  ~Data() { SysFreeString(text); }
};

namespace {

BSTR CopyBstr(BSTR text) {
  if (!text) return nullptr;
  BSTR copy = SysAllocStringByteLen(reinterpret_cast<LPCSTR>(text), SysStringByteLen(text));
  if (!copy) _com_issue_error(E_OUTOFMEMORY);
  return copy;
}

BSTR AllocOrRaise(const wchar_t* text, size_t length) {
  BSTR copy = SysAllocStringLen(text, static_cast<UINT>(length));
  if (!copy) _com_issue_error(E_OUTOFMEMORY);
  return copy;
}

}  // namespace

void _bstr_t::Release() noexcept {
  if (data_ && data_->refs.Release() == 0) delete data_;
  data_ = nullptr;
}

_bstr_t::_bstr_t(const _bstr_t& other) noexcept : data_(other.data_) {
  if (data_) data_->refs.AddRef();
}

_bstr_t::_bstr_t(_bstr_t&& other) noexcept : data_(std::exchange(other.data_, nullptr)) {}

_bstr_t::_bstr_t(const wchar_t* text) {
  if (text) data_ = new Data(AllocOrRaise(text, std::wcslen(text)));
}

_bstr_t::_bstr_t(const char* text) {
  if (!text) return;
  const std::wstring wide = platform::WideFromUtf8Text(text);
  data_ = new Data(AllocOrRaise(wide.data(), wide.size()));
}

_bstr_t::_bstr_t(BSTR bstr, bool fCopy) {
  BSTR owned = fCopy ? CopyBstr(bstr) : bstr;
  data_ = new Data(owned);
}

_bstr_t::~_bstr_t() {
  Release();
}

_bstr_t& _bstr_t::operator=(const _bstr_t& other) noexcept {
  if (other.data_) other.data_->refs.AddRef();
  Release();
  data_ = other.data_;
  return *this;
}

_bstr_t& _bstr_t::operator=(_bstr_t&& other) noexcept {
  if (this != &other) {
    Release();
    data_ = std::exchange(other.data_, nullptr);
  }
  return *this;
}

_bstr_t& _bstr_t::operator=(const wchar_t* text) {
  return *this = _bstr_t(text);
}
_bstr_t& _bstr_t::operator=(const char* text) {
  return *this = _bstr_t(text);
}

_bstr_t _bstr_t::operator+(const _bstr_t& other) const {
  const unsigned int left = length();
  const unsigned int right = other.length();
  BSTR joined = AllocOrRaise(nullptr, size_t{left} + right);
  if (left) std::wmemcpy(joined, data_->text, left);
  if (right) std::wmemcpy(joined + left, other.data_->text, right);
  return _bstr_t(joined, false);
}

_bstr_t& _bstr_t::operator+=(const _bstr_t& other) {
  return *this = *this + other;
}

_bstr_t::operator const wchar_t*() const noexcept {
  return data_ ? data_->text : nullptr;
}
_bstr_t::operator wchar_t*() const noexcept {
  return data_ ? data_->text : nullptr;
}

_bstr_t::operator const char*() const {
  if (!data_ || !data_->text) return nullptr;
  if (!data_->haveUtf8) {
    data_->utf8 = platform::Utf8TextFromWide(std::wstring_view(data_->text, SysStringLen(data_->text)));
    data_->haveUtf8 = true;
  }
  return data_->utf8.c_str();
}

int _bstr_t::Compare(const _bstr_t& other) const noexcept {
  const unsigned int left = length();
  const unsigned int right = other.length();
  for (unsigned int i = 0; i < left && i < right; ++i) {
    const wchar_t a = data_->text[i];
    const wchar_t b = other.data_->text[i];
    if (a != b) return a < b ? -1 : 1;
  }
  return left == right ? 0 : (left < right ? -1 : 1);
}

BSTR _bstr_t::copy(bool fCopy) const {
  BSTR text = data_ ? data_->text : nullptr;
  return fCopy ? CopyBstr(text) : text;
}

unsigned int _bstr_t::length() const noexcept {
  return data_ ? SysStringLen(data_->text) : 0;
}

void _bstr_t::Assign(BSTR s) {
  *this = _bstr_t(s, true);
}

BSTR& _bstr_t::GetBSTR() {
  if (!data_) data_ = new Data(nullptr);
  return data_->text;
}

BSTR* _bstr_t::GetAddress() {
  Release();
  data_ = new Data(nullptr);
  return &data_->text;
}

void _bstr_t::Attach(BSTR s) {
  Release();
  data_ = new Data(s);
}

BSTR _bstr_t::Detach() {
  if (!data_) return nullptr;
  BSTR text = nullptr;
  if (data_->refs.AddRef() == 2) {  // ours alone: hand it over
    text = std::exchange(data_->text, nullptr);
  } else {
    text = CopyBstr(data_->text);
  }
  data_->refs.Release();
  Release();
  return text;
}

// ---------------------------------------------------------------------------------------------
// _variant_t

namespace {

void RaiseIfFailed(HRESULT hr) {
  if (FAILED(hr)) _com_issue_error(hr);
}

// The variant converted to vt (a copy when it already is vt); raises on failure.
// The source operand of VariantCopy and VariantChangeType, which read it only: some
// declarations of the two take it without const.
VARIANTARG* SourceOf(const VARIANT& source) {
  return const_cast<VARIANTARG*>(&source);
}

_variant_t Converted(const VARIANT& source, VARTYPE vt) {
  _variant_t result;
  RaiseIfFailed(VariantChangeType(&result, SourceOf(source), 0, vt));
  return result;
}

}  // namespace

_variant_t::_variant_t() noexcept {
  VariantInit(this);
}

_variant_t::_variant_t(const VARIANT& source) {
  VariantInit(this);
  RaiseIfFailed(VariantCopy(this, SourceOf(source)));
}

_variant_t::_variant_t(const _variant_t& source) : _variant_t(static_cast<const VARIANT&>(source)) {}

_variant_t::_variant_t(_variant_t&& source) noexcept : tagVARIANT(source) {
  source.vt = VT_EMPTY;
}

_variant_t::_variant_t(VARIANT& source, bool fCopy) {
  VariantInit(this);
  if (fCopy) {
    RaiseIfFailed(VariantCopy(this, &source));
  } else {
    static_cast<VARIANT&>(*this) = source;
    source.vt = VT_EMPTY;
  }
}

_variant_t::_variant_t(bool value) noexcept {
  vt = VT_BOOL;
  boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
}

_variant_t::_variant_t(char value) noexcept {
  vt = VT_I1;
  cVal = value;
}

_variant_t::_variant_t(BYTE value) noexcept {
  vt = VT_UI1;
  bVal = value;
}

_variant_t::_variant_t(short value, VARTYPE type) {
  if (type != VT_I2 && type != VT_BOOL) _com_issue_error(E_INVALIDARG);
  vt = type;
  if (type == VT_BOOL)
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  else
    iVal = value;
}

_variant_t::_variant_t(unsigned short value) noexcept {
  vt = VT_UI2;
  uiVal = value;
}

_variant_t::_variant_t(LONG value, VARTYPE type) {
  if (type != VT_I4 && type != VT_ERROR && type != VT_BOOL) _com_issue_error(E_INVALIDARG);
  vt = type;
  if (type == VT_BOOL)
    boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
  else if (type == VT_ERROR)
    scode = value;
  else
    lVal = value;
}

_variant_t::_variant_t(ULONG value) noexcept {
  vt = VT_UI4;
  ulVal = value;
}

_variant_t::_variant_t(long long value) noexcept {
  vt = VT_I8;
  llVal = value;
}

_variant_t::_variant_t(unsigned long long value) noexcept {
  vt = VT_UI8;
  ullVal = value;
}

_variant_t::_variant_t(float value) noexcept {
  vt = VT_R4;
  fltVal = value;
}

_variant_t::_variant_t(double value, VARTYPE type) {
  if (type != VT_R8 && type != VT_DATE) _com_issue_error(E_INVALIDARG);
  vt = type;
  if (type == VT_DATE)
    date = value;
  else
    dblVal = value;
}

_variant_t::_variant_t(const wchar_t* text) {
  VariantInit(this);
  BSTR copy = text ? SysAllocString(text) : nullptr;
  if (text && !copy) _com_issue_error(E_OUTOFMEMORY);
  vt = VT_BSTR;
  bstrVal = copy;
}

_variant_t::_variant_t(const char* text) {
  VariantInit(this);
  SetString(text);
}

_variant_t::_variant_t(const _bstr_t& text) {
  VariantInit(this);
  BSTR copy = text.copy();
  vt = VT_BSTR;
  bstrVal = copy;
}

_variant_t::_variant_t(IUnknown* value, bool fAddRef) noexcept {
  vt = VT_UNKNOWN;
  punkVal = value;
  if (value && fAddRef) value->AddRef();
}

_variant_t::_variant_t(IDispatch* value, bool fAddRef) noexcept {
  vt = VT_DISPATCH;
  pdispVal = value;
  if (value && fAddRef) value->AddRef();
}

_variant_t::~_variant_t() {
  VariantClear(this);
}

_variant_t& _variant_t::operator=(const VARIANT& source) {
  RaiseIfFailed(VariantCopy(this, SourceOf(source)));
  return *this;
}

_variant_t& _variant_t::operator=(const _variant_t& source) {
  return *this = static_cast<const VARIANT&>(source);
}

_variant_t& _variant_t::operator=(_variant_t&& source) noexcept {
  if (this != &source) {
    VariantClear(this);
    static_cast<VARIANT&>(*this) = source;
    source.vt = VT_EMPTY;
  }
  return *this;
}

_variant_t::operator bool() const {
  return Converted(*this, VT_BOOL).boolVal != VARIANT_FALSE;
}
_variant_t::operator char() const {
  return Converted(*this, VT_I1).cVal;
}
_variant_t::operator BYTE() const {
  return Converted(*this, VT_UI1).bVal;
}
_variant_t::operator short() const {
  return Converted(*this, VT_I2).iVal;
}
_variant_t::operator unsigned short() const {
  return Converted(*this, VT_UI2).uiVal;
}
_variant_t::operator LONG() const {
  return Converted(*this, VT_I4).lVal;
}
_variant_t::operator ULONG() const {
  return Converted(*this, VT_UI4).ulVal;
}
_variant_t::operator long long() const {
  return Converted(*this, VT_I8).llVal;
}
_variant_t::operator unsigned long long() const {
  return Converted(*this, VT_UI8).ullVal;
}
_variant_t::operator float() const {
  return Converted(*this, VT_R4).fltVal;
}
_variant_t::operator double() const {
  return Converted(*this, VT_R8).dblVal;
}

_variant_t::operator _bstr_t() const {
  _variant_t text = Converted(*this, VT_BSTR);
  return _bstr_t(std::exchange(text.bstrVal, nullptr), false);
}

_variant_t::operator IUnknown*() const {
  _variant_t object = Converted(*this, VT_UNKNOWN);
  return std::exchange(object.punkVal, nullptr);
}

_variant_t::operator IDispatch*() const {
  _variant_t object = Converted(*this, VT_DISPATCH);
  return std::exchange(object.pdispVal, nullptr);
}

void _variant_t::Clear() {
  RaiseIfFailed(VariantClear(this));
}

void _variant_t::ChangeType(VARTYPE vartype, const _variant_t* pSrc) {
  RaiseIfFailed(VariantChangeType(this, SourceOf(pSrc ? *pSrc : *this), 0, vartype));
}

void _variant_t::Attach(VARIANT& source) {
  Clear();
  static_cast<VARIANT&>(*this) = source;
  source.vt = VT_EMPTY;
}

VARIANT _variant_t::Detach() noexcept {
  VARIANT value = *this;
  vt = VT_EMPTY;
  return value;
}

VARIANT* _variant_t::GetAddress() {
  Clear();
  return this;
}

void _variant_t::SetString(const char* text) {
  _bstr_t converted(text);
  BSTR copy = converted.copy();
  Clear();
  vt = VT_BSTR;
  bstrVal = copy;
}
