// The compiler's interface smart pointer: _com_ptr_t<_com_IIID<I, &__uuidof(I)>>, the
// project's one smart-pointer family for COM interfaces. It owns one reference; constructing
// or assigning from another interface type asks QueryInterface; raising members throw
// _com_error.
#pragma once

#include <cstddef>
#include <memory>
#include <utility>

#include "comutil.h"

// The interface type and its IID, as one template argument.
template <class I, const IID* piid>
class _com_IIID {
 public:
  typedef I Interface;
  static const IID& GetIID() noexcept { return *piid; }
};

template <class IIID>
class _com_ptr_t {
 public:
  typedef typename IIID::Interface Interface;

  static const IID& GetIID() noexcept { return IIID::GetIID(); }

  _com_ptr_t() noexcept = default;
  _com_ptr_t(std::nullptr_t) noexcept {}
  // Shares p (AddRef).
  _com_ptr_t(Interface* p) noexcept : p_(p) { AddRefIfAny(); }
  // fAddRef false: takes the caller's reference over.
  _com_ptr_t(Interface* p, bool fAddRef) noexcept : p_(p) {
    if (fAddRef) AddRefIfAny();
  }
  _com_ptr_t(const _com_ptr_t& other) noexcept : p_(other.p_) { AddRefIfAny(); }
  _com_ptr_t(_com_ptr_t&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  // Any other interface pointer or smart pointer: QueryInterface for this one (null when the
  // object does not offer it).
  template <class Q>
  _com_ptr_t(Q* p) noexcept {
    QueryFrom(p);
  }
  template <class OtherIIID>
  _com_ptr_t(const _com_ptr_t<OtherIIID>& other) noexcept {
    QueryFrom(other.GetInterfacePtr());
  }
  // A variant's VT_UNKNOWN / VT_DISPATCH object, asked for this interface; raises when the
  // variant holds no object.
  _com_ptr_t(const _variant_t& value) {
    IUnknown* unknown = static_cast<IUnknown*>(value);
    QueryFrom(unknown);
    if (unknown) unknown->Release();
  }
  // Creates an object of the class (CreateInstance); raises any error but E_NOINTERFACE, which
  // leaves the pointer null.
  explicit _com_ptr_t(const CLSID& clsid, IUnknown* pOuter = nullptr, DWORD dwClsContext = CLSCTX_ALL) {
    HRESULT hr = CreateInstance(clsid, pOuter, dwClsContext);
    if (FAILED(hr) && hr != E_NOINTERFACE) _com_issue_error(hr);
  }

  ~_com_ptr_t() { ReleaseIfAny(); }

  _com_ptr_t& operator=(const _com_ptr_t& other) noexcept { return *this = other.p_; }
  _com_ptr_t& operator=(_com_ptr_t&& other) noexcept {
    if (this != std::addressof(other)) {  // operator& is the out-parameter form
      ReleaseIfAny();
      p_ = std::exchange(other.p_, nullptr);
    }
    return *this;
  }
  _com_ptr_t& operator=(Interface* p) noexcept {
    if (p) p->AddRef();
    ReleaseIfAny();
    p_ = p;
    return *this;
  }
  _com_ptr_t& operator=(std::nullptr_t) noexcept {
    ReleaseIfAny();
    return *this;
  }
  template <class Q>
  _com_ptr_t& operator=(Q* p) noexcept {
    _com_ptr_t queried(p);
    return *this = std::move(queried);
  }
  template <class OtherIIID>
  _com_ptr_t& operator=(const _com_ptr_t<OtherIIID>& other) noexcept {
    return *this = other.GetInterfacePtr();
  }

  // Releases the current object, then creates one of the class and asks it for this
  // interface. Returns CoCreateInstance's HRESULT (the pointer is null on failure).
  HRESULT CreateInstance(const CLSID& rclsid, IUnknown* pOuter = nullptr,
                         DWORD dwClsContext = CLSCTX_ALL) noexcept {
    ReleaseIfAny();
    if (!pOuter)
      return CoCreateInstance(rclsid, nullptr, dwClsContext, GetIID(), reinterpret_cast<void**>(&p_));
    // An aggregated object must be created for IUnknown first.
    IUnknown* unknown = nullptr;
    HRESULT hr =
        CoCreateInstance(rclsid, pOuter, dwClsContext, IID_IUnknown, reinterpret_cast<void**>(&unknown));
    if (FAILED(hr)) return hr;
    hr = unknown->QueryInterface(GetIID(), reinterpret_cast<void**>(&p_));
    unknown->Release();
    return hr;
  }

  // QueryInterface of the held object into p (AddRef'd). Returns E_POINTER when null.
  template <class Q>
  HRESULT QueryInterface(const IID& iid, Q*& p) noexcept {
    return p_ ? p_->QueryInterface(iid, reinterpret_cast<void**>(&p)) : E_POINTER;
  }
  template <class Q>
  HRESULT QueryInterface(const IID& iid, Q** p) noexcept {
    return QueryInterface(iid, *p);
  }

  // Takes p over without AddRef (fAddRef true: shares it); the old object is released.
  void Attach(Interface* p) noexcept {
    ReleaseIfAny();
    p_ = p;
  }
  void Attach(Interface* p, bool fAddRef) noexcept {
    if (fAddRef && p) p->AddRef();
    Attach(p);
  }
  // Hands the reference over to the caller; the pointer becomes null.
  Interface* Detach() noexcept { return std::exchange(p_, nullptr); }

  Interface* GetInterfacePtr() const noexcept { return p_; }
  Interface*& GetInterfacePtr() noexcept { return p_; }

  // AddRef / Release of the held object for the caller's own bookkeeping; raise E_POINTER when
  // null. Release also forgets the object.
  void AddRef() {
    if (!p_) _com_issue_error(E_POINTER);
    p_->AddRef();
  }
  void Release() {
    if (!p_) _com_issue_error(E_POINTER);
    std::exchange(p_, nullptr)->Release();
  }

  // Releases the current object first, then gives the slot for an out-parameter.
  Interface** operator&() noexcept {
    ReleaseIfAny();
    return &p_;
  }

  operator Interface*() const noexcept { return p_; }
  // Raises E_POINTER when null.
  Interface& operator*() const {
    if (!p_) _com_issue_error(E_POINTER);
    return *p_;
  }
  Interface* operator->() const {
    if (!p_) _com_issue_error(E_POINTER);
    return p_;
  }

  explicit operator bool() const noexcept { return p_ != nullptr; }
  bool operator!() const noexcept { return p_ == nullptr; }

  // Equality by object identity (the objects' IUnknown pointers).
  template <class Q>
  bool operator==(Q* p) const noexcept {
    return IsSameObject(p);
  }
  template <class OtherIIID>
  bool operator==(const _com_ptr_t<OtherIIID>& other) const noexcept {
    return IsSameObject(other.GetInterfacePtr());
  }
  bool operator==(const _com_ptr_t& other) const noexcept { return IsSameObject(other.p_); }
  bool operator==(std::nullptr_t) const noexcept { return p_ == nullptr; }

 private:
  void AddRefIfAny() noexcept {
    if (p_) p_->AddRef();
  }
  void ReleaseIfAny() noexcept {
    if (p_) std::exchange(p_, nullptr)->Release();
  }
  template <class Q>
  void QueryFrom(Q* p) noexcept {
    if (p) p->QueryInterface(GetIID(), reinterpret_cast<void**>(&p_));
  }
  template <class Q>
  bool IsSameObject(Q* other) const noexcept {
    if (static_cast<void*>(p_) == static_cast<void*>(other)) return true;
    if (!p_ || !other) return false;
    IUnknown* mine = nullptr;
    IUnknown* theirs = nullptr;
    p_->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&mine));
    other->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&theirs));
    const bool same = mine && mine == theirs;
    if (mine) mine->Release();
    if (theirs) theirs->Release();
    return same;
  }

  Interface* p_ = nullptr;
};
