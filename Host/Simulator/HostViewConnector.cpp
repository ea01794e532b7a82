#include "HostViewConnector.h"

#include <oleauto.h>

#include "SimComObject.h"

namespace hostsim {

namespace {

// Counts itself in the chain's live objects for its lifetime.
class ChainObject {
 protected:
  explicit ChainObject(std::shared_ptr<ViewConnectorState> state) : m_state(std::move(state)) {
    ++m_state->liveObjects;
  }
  ~ChainObject() { --m_state->liveObjects; }
  std::shared_ptr<ViewConnectorState> m_state;
};

class ApplicationObject final : public IApplication, private ChainObject {
 public:
  explicit ApplicationObject(std::shared_ptr<ViewConnectorState> state) : ChainObject(std::move(state)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!m_state->answersApplicationInterface && riid == __uuidof(IApplication)) {
      if (ppv) *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return QueryFromTable<ApplicationObject>(
        this, riid, ppv,
        {{&IID_IDispatch, [](ApplicationObject* o) -> IUnknown* { return static_cast<IApplication*>(o); }},
         HOSTSIM_ENTRY(ApplicationObject, IApplication)});
  }
  HOSTSIM_REFCOUNT_IMPL

  STDMETHODIMP GetTypeInfoCount(UINT* count) override {
    if (!count) return E_POINTER;
    *count = 0;
    return S_OK;
  }
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo** info) override {
    if (info) *info = nullptr;
    return E_NOTIMPL;
  }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override { return E_NOTIMPL; }

  // Property gets of the two colours (no arguments) as VT_I4; anything else is not a member.
  STDMETHODIMP Invoke(DISPID dispid, REFIID riid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                      EXCEPINFO*, UINT*) override {
    ++m_state->propertyReads;
    if (riid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
    if (!(flags & DISPATCH_PROPERTYGET)) return DISP_E_MEMBERNOTFOUND;
    if (dispid != kDispidForcedColour && dispid != kDispidForcedEnabledColour) return DISP_E_MEMBERNOTFOUND;
    if (params && params->cArgs != 0) return DISP_E_BADPARAMCOUNT;
    if (!result) return E_INVALIDARG;
    if (FAILED(m_state->propertyResult)) return m_state->propertyResult;
    VariantInit(result);
    V_VT(result) = VT_I4;
    V_I4(result) = static_cast<LONG>(dispid == kDispidForcedColour ? m_state->forcedColour
                                                                   : m_state->forcedEnabledColour);
    return S_OK;
  }

 private:
  ~ApplicationObject() = default;
};

class ConnectorObject final : public IHostViewConnector, private ChainObject {
 public:
  explicit ConnectorObject(std::shared_ptr<ViewConnectorState> state) : ChainObject(std::move(state)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!m_state->answersConnectorInterface && riid == __uuidof(IHostViewConnector)) {
      if (ppv) *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return QueryFromTable<ConnectorObject>(this, riid, ppv,
                                           {HOSTSIM_ENTRY(ConnectorObject, IHostViewConnector)});
  }
  HOSTSIM_REFCOUNT_IMPL

  HOST_RESERVED_SLOT_IMPL(1);
  HOST_RESERVED_SLOT_IMPL(2);
  HOST_RESERVED_SLOT_IMPL(3);
  HOST_RESERVED_SLOT_IMPL(4);
  HOST_RESERVED_SLOT_IMPL(5);
  HOST_RESERVED_SLOT_IMPL(6);
  HOST_RESERVED_SLOT_IMPL(7);
  HOST_RESERVED_SLOT_IMPL(8);

  STDMETHODIMP GetApplication(IUnknown** application) override {
    ++m_state->applicationRequests;
    if (!application) return E_POINTER;
    *application = nullptr;
    if (FAILED(m_state->applicationResult)) return m_state->applicationResult;
    return CreateAndQuery<ApplicationObject>(IID_IUnknown, reinterpret_cast<void**>(application), m_state);
  }

 private:
  ~ConnectorObject() = default;
};

class ServiceObject final : public IPVExtHostViewConnector, private ChainObject {
 public:
  explicit ServiceObject(std::shared_ptr<ViewConnectorState> state) : ChainObject(std::move(state)) {}

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!m_state->answersServiceInterface && riid == __uuidof(IPVExtHostViewConnector)) {
      if (ppv) *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return QueryFromTable<ServiceObject>(this, riid, ppv,
                                         {HOSTSIM_ENTRY(ServiceObject, IPVExtHostViewConnector)});
  }
  HOSTSIM_REFCOUNT_IMPL

  STDMETHODIMP GetHostViewConnector(IUnknown** connector) override {
    ++m_state->connectorRequests;
    if (!connector) return E_POINTER;
    *connector = nullptr;
    if (FAILED(m_state->connectorResult)) return m_state->connectorResult;
    return CreateAndQuery<ConnectorObject>(IID_IUnknown, reinterpret_cast<void**>(connector), m_state);
  }

 private:
  ~ServiceObject() = default;
};

}  // namespace

HRESULT CreateViewConnectorService(const std::shared_ptr<ViewConnectorState>& state, IUnknown** service) {
  if (!service) return E_POINTER;
  *service = nullptr;
  if (!state) return E_INVALIDARG;
  return CreateAndQuery<ServiceObject>(IID_IUnknown, reinterpret_cast<void**>(service), state);
}

}  // namespace hostsim
