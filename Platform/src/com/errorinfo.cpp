// The error object and the per-thread slot that holds the current one.
#include "com_internal.h"

#include <new>
#include <string>

using platform::com::CastTo;
using platform::com::InterfaceEntry;
using platform::com::QueryInterfaceFromTable;
using platform::com::RefCount;

namespace {

class ErrorInfo final : public IErrorInfo, public ICreateErrorInfo {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    static const InterfaceEntry<ErrorInfo> table[] = {
        {&IID_IUnknown, CastTo<ErrorInfo, IErrorInfo>},
        {&IID_IErrorInfo, CastTo<ErrorInfo, IErrorInfo>},
        {&IID_ICreateErrorInfo, CastTo<ErrorInfo, ICreateErrorInfo>},
    };
    return QueryInterfaceFromTable(this, table, riid, ppv);
  }
  STDMETHODIMP_(ULONG) AddRef() override { return refs_.AddRef(); }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG remaining = refs_.Release();
    if (remaining == 0) delete this;
    return remaining;
  }

  // IErrorInfo: each text comes back as a new BSTR (null when it was never set).
  STDMETHODIMP GetGUID(GUID* pGUID) override { return pGUID ? (*pGUID = guid_, S_OK) : E_INVALIDARG; }
  STDMETHODIMP GetSource(BSTR* pBstrSource) override { return CopyOut(source_, pBstrSource); }
  STDMETHODIMP GetDescription(BSTR* pBstrDescription) override {
    return CopyOut(description_, pBstrDescription);
  }
  STDMETHODIMP GetHelpFile(BSTR* pBstrHelpFile) override { return CopyOut(helpFile_, pBstrHelpFile); }
  STDMETHODIMP GetHelpContext(DWORD* pdwHelpContext) override {
    return pdwHelpContext ? (*pdwHelpContext = helpContext_, S_OK) : E_INVALIDARG;
  }

  // ICreateErrorInfo: a null text clears it.
  STDMETHODIMP SetGUID(REFGUID rguid) override { return guid_ = rguid, S_OK; }
  STDMETHODIMP SetSource(LPOLESTR szSource) override { return Store(source_, szSource); }
  STDMETHODIMP SetDescription(LPOLESTR szDescription) override { return Store(description_, szDescription); }
  STDMETHODIMP SetHelpFile(LPOLESTR szHelpFile) override { return Store(helpFile_, szHelpFile); }
  STDMETHODIMP SetHelpContext(DWORD dwHelpContext) override { return helpContext_ = dwHelpContext, S_OK; }

 private:
  ~ErrorInfo() = default;

  struct Text {
    bool set = false;
    std::wstring value;
  };

  static HRESULT Store(Text& text, const OLECHAR* value) {
    text.set = value != nullptr;
    text.value = value ? value : L"";
    return S_OK;
  }
  static HRESULT CopyOut(const Text& text, BSTR* out) {
    if (!out) return E_INVALIDARG;
    *out = nullptr;
    if (!text.set) return S_OK;
    *out = SysAllocStringLen(text.value.data(), static_cast<UINT>(text.value.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
  }

  RefCount refs_;
  GUID guid_ = GUID_NULL;
  Text source_;
  Text description_;
  Text helpFile_;
  DWORD helpContext_ = 0;
};

// The thread's error object; a thread that ends with one still set releases it.
struct ErrorSlot {
  IErrorInfo* current = nullptr;
  ~ErrorSlot() {
    if (current) current->Release();
  }
};

ErrorSlot& ThreadSlot() {
  thread_local ErrorSlot slot;
  return slot;
}

}  // namespace

HRESULT CreateErrorInfo(ICreateErrorInfo** pperrinfo) {
  if (!pperrinfo) return E_INVALIDARG;
  auto* object = new (std::nothrow) ErrorInfo;
  *pperrinfo = object;
  return object ? S_OK : E_OUTOFMEMORY;
}

HRESULT SetErrorInfo(ULONG dwReserved, IErrorInfo* perrinfo) {
  if (dwReserved != 0) return E_INVALIDARG;
  if (perrinfo) perrinfo->AddRef();
  IErrorInfo* previous = ThreadSlot().current;
  ThreadSlot().current = perrinfo;
  if (previous) previous->Release();
  return S_OK;
}

HRESULT GetErrorInfo(ULONG dwReserved, IErrorInfo** pperrinfo) {
  if (dwReserved != 0 || !pperrinfo) return E_INVALIDARG;
  *pperrinfo = ThreadSlot().current;
  ThreadSlot().current = nullptr;
  return *pperrinfo ? S_OK : S_FALSE;
}
