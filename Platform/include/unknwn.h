// IUnknown and IClassFactory: the two interfaces every COM object and class factory offers.
#pragma once

#include <type_traits>

#include "winerror.h"

interface IUnknown {
  STDMETHOD(QueryInterface)(REFIID riid, void** ppvObject) = 0;
  STDMETHOD_(ULONG, AddRef)() = 0;
  STDMETHOD_(ULONG, Release)() = 0;

  // The compiler's typed form: QueryInterface(&p) asks for the interface of p's type.
  template <class Q>
  HRESULT QueryInterface(Q** pp) {
    return QueryInterface(__uuidof(Q), reinterpret_cast<void**>(pp));
  }
};
DECLARE_UUIDOF(IUnknown, "00000000-0000-0000-C000-000000000046");
typedef IUnknown* LPUNKNOWN;

interface IClassFactory : public IUnknown {
  STDMETHOD(CreateInstance)(IUnknown * pUnkOuter, REFIID riid, void** ppvObject) = 0;
  STDMETHOD(LockServer)(BOOL fLock) = 0;
};
DECLARE_UUIDOF(IClassFactory, "00000001-0000-0000-C000-000000000046");
typedef IClassFactory* LPCLASSFACTORY;

inline constexpr IID IID_IUnknown = __uuidof(IUnknown);
inline constexpr IID IID_IClassFactory = __uuidof(IClassFactory);

// IID_PPV_ARGS(&p): the interface id of p's type and p's address as void**.
#define IID_PPV_ARGS(pp) \
  __uuidof(std::remove_pointer_t<std::remove_pointer_t<decltype(pp)>>), ::platform::IidPpvArgsHelper(pp)
namespace platform {
template <class T>
void** IidPpvArgsHelper(T** pp) {
  return reinterpret_cast<void**>(pp);
}
}  // namespace platform
