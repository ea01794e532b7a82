// The class factory of one page class, and the two functions a page class hands to its
// static registration: its CLSID match and its factory creator.
#pragma once

#include <afxwin.h>
#include <PVInterfaces.h>

#include <new>
#include <type_traits>

#include "PVComObject.h"
#include "PVDefines.h"
#include "PVModuleLock.h"
#include "PVPropPageRegistration.h"

// The object a page's factory makes: the page itself, whose window goes before any of its
// members when the host gives back the last reference without Destroy. Members are destroyed
// in reverse order, and several controls keep plain pointers to partners declared after
// them: with the window gone first, no window message reaches a control whose partner is
// already destroyed.
template <class TPage>
class CPVPropPageObject final : public TPage {
 public:
  ~CPVPropPageObject() override {
    if constexpr (std::is_base_of_v<CWnd, TPage>) {
      if (::IsWindow(this->GetSafeHwnd())) this->DestroyWindow();
    }
  }
};

// Pages are created unbound with a reference count of 0, through their IPVChild. Each page is
// counted under its own class (PVLiveObjects.h).
template <class TPage>
class CPVPropPageClassFactory : public IClassFactory, public CPVComObjectRoot {
 public:
  explicit CPVPropPageClassFactory(REFCLSID clsid)
      : CPVComObjectRoot(PVLiveCounterOf<CPVPropPageClassFactory>(), 0, ModuleLock::kWhileReferenced),
        m_clsid(clsid) {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
  }
  virtual ~CPVPropPageClassFactory() { AFX_MANAGE_STATE(AfxGetStaticModuleState()); }

  BEGIN_PV_INTERFACE_TABLE(CPVPropPageClassFactory)
  PV_INTERFACE_ENTRY(IClassFactory)
  END_PV_INTERFACE_TABLE()

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return InternalQueryInterface(this, Interfaces(), iid, object);
  }
  // The first reference keeps the module loaded until the last one goes.
  STDMETHODIMP_(ULONG) AddRef() override {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return InternalAddRef();
  }
  STDMETHODIMP_(ULONG) Release() override {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    return ReleaseAndDelete();
  }

  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (!object) return E_POINTER;
    if (outer) {
      *object = nullptr;
      return CLASS_E_NOAGGREGATION;
    }
    TPage* page = nullptr;
    try {
      page = new CPVPropPageObject<TPage>;
      if constexpr (std::is_base_of_v<CPVComObjectRoot, TPage>) page->CountAs(PVLiveCounterOf<TPage>());
    } catch (CMemoryException* e) {
      e->Delete();
    } catch (const std::bad_alloc&) {
    }
    if (!page) {
      *object = nullptr;
      return E_OUTOFMEMORY;
    }
    // A page is born with no reference: a failed query takes the count back to 0 and the
    // page deletes itself.
    const IPVChildPtr child(static_cast<IPVChild*>(page));
    const HRESULT hr = child->QueryInterface(iid, object);
    if (FAILED(hr)) *object = nullptr;
    return hr;
  }

  STDMETHODIMP LockServer(BOOL lock) override {
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    if (lock)
      PVLockModule();
    else
      PVUnlockModule();
    return S_OK;
  }

  // The factory creator that a page's registration stores.
  static HRESULT Create(REFCLSID clsid, IClassFactory** factory) {
    CPVPropPageClassFactory* created = nullptr;
    try {
      created = new (std::nothrow) CPVPropPageClassFactory(clsid);
    } catch (CMemoryException* e) {
      e->Delete();
      return E_OUTOFMEMORY;
    }
    *factory = created;  // null when the allocation gave nothing: DllGetClassObject reports it
    return S_OK;
  }

 private:
  CLSID m_clsid;
};

// The CLSID match of a page: the requested CLSID's text compared with the page's own text
// without regard to letter case.
inline BOOL PVMatchClsidText(REFCLSID clsid, const wchar_t* pageClsidText) {
  wchar_t text[128];
  if (PVStringFromGUID(clsid, text, 128) < 0) return FALSE;
  return _wcsicmp(text, pageClsidText) == 0;
}

// The CLSID match of the page whose CLSID text is the constant ClsidText, for the page's
// registration.
template <const wchar_t* ClsidText>
BOOL PVMatchPageClsid(REFCLSID clsid) {
  return PVMatchClsidText(clsid, ClsidText);
}

// The registration of the page class TPage under the CLSID text ClsidText with its title: the
// CLSID match and the class factory of the page pattern. A DLL's catalogue defines its pages'
// registrations with it, in one array, so that they are constructed in catalogue order.
template <class TPage, const wchar_t* ClsidText>
CPVPropPageRegistration PVPageRegistration(const wchar_t* title) {
  return CPVPropPageRegistration(PVMatchPageClsid<ClsidText>, CPVPropPageClassFactory<TPage>::Create, title,
                                 ClsidText);
}
