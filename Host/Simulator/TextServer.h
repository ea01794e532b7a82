// What the host's two text servers (prompt and string server) share: the server class they
// were created as (it selects their texts and their counters), the language set through
// IServerLocale (English until one is set; the interface is answered only by servers made
// with it), the object and locale-call counts, the reference count and the interface table.
#pragma once

#include <HostServices.h>

#include "HostServers.h"
#include "SimComObject.h"

namespace hostsim {

// Server: the server's own interface (a dual interface, so IDispatch is answered too).
template <class Server>
class TextServer : public Server, public IServerLocale {
 public:
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override {
    if (!m_withLocale && riid == __uuidof(IServerLocale)) {
      if (ppv) *ppv = nullptr;
      return E_NOINTERFACE;
    }
    return QueryFromTable<TextServer>(
        this, riid, ppv,
        {HOSTSIM_ENTRY(TextServer, Server),
         {&IID_IDispatch, [](TextServer* o) -> IUnknown* { return static_cast<Server*>(o); }},
         HOSTSIM_ENTRY(TextServer, IServerLocale)});
  }
  HOSTSIM_REFCOUNT_IMPL
  HOSTSIM_DISPATCH_STUBS

  STDMETHODIMP GetLocale(LCID* lcid) override {
    if (!lcid) return E_POINTER;
    *lcid = m_lcid;
    return S_OK;
  }
  STDMETHODIMP SetLocale(LCID lcid) override {
    ServiceCounters& counters = Counters();
    ++counters.localeCalls;
    counters.lastLocale = lcid;
    m_lcid = lcid;
    return S_OK;
  }

 protected:
  // server: the class the object was created as; withLocale: whether it answers
  // IServerLocale.
  TextServer(const CLSID& server, bool withLocale) : m_server(server), m_withLocale(withLocale) {
    ServiceCounters& counters = Counters();
    ++counters.objectsCreated;
    ++counters.liveObjects;
  }
  virtual ~TextServer() { --Counters().liveObjects; }

  ServiceCounters& Counters() const { return MutableServiceCounters(m_server); }

  const CLSID m_server;
  const bool m_withLocale;
  LCID m_lcid = 1033;
};

}  // namespace hostsim
