#include "StringServer.h"

#include <oleauto.h>

#include "HostServers.h"
#include "HostTexts.h"

namespace hostsim {

namespace {

std::wstring WithoutAccessKeys(const std::wstring& text) {
  std::wstring plain;
  for (size_t i = 0; i < text.size(); ++i) {
    if (text[i] == L'&') {
      if (i + 1 < text.size() && text[i + 1] == L'&') plain += text[++i];
      continue;
    }
    plain += text[i];
  }
  return plain;
}

}  // namespace

StringServer::StringServer(const CLSID& server, bool withLocale)
    : m_server(server), m_withLocale(withLocale) {
  ServiceCounters& counters = MutableServiceCounters(m_server);
  ++counters.objectsCreated;
  ++counters.liveObjects;
}

StringServer::~StringServer() {
  --MutableServiceCounters(m_server).liveObjects;
}

STDMETHODIMP StringServer::QueryInterface(REFIID riid, void** ppv) {
  if (!m_withLocale && riid == __uuidof(IServerLocale)) {
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  return QueryFromTable<StringServer>(
      this, riid, ppv,
      {HOSTSIM_ENTRY(StringServer, IStringServer),
       {&IID_IDispatch, [](StringServer* o) -> IUnknown* { return static_cast<IStringServer*>(o); }},
       HOSTSIM_ENTRY(StringServer, IServerLocale)});
}

STDMETHODIMP StringServer::GetString(LONG id, BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  ++MutableServiceCounters(m_server).textRequests;
  const auto found = FindHostString(m_server, id, m_lcid);
  if (!found) return E_INVALIDARG;
  *text = SysAllocString((m_accelerators ? *found : WithoutAccessKeys(*found)).c_str());
  return *text ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP StringServer::SetAccelerators(VARIANT_BOOL on) {
  ++MutableServiceCounters(m_server).acceleratorCalls;
  m_accelerators = on != VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP StringServer::GetLocale(LCID* lcid) {
  if (!lcid) return E_POINTER;
  *lcid = m_lcid;
  return S_OK;
}

STDMETHODIMP StringServer::SetLocale(LCID lcid) {
  ServiceCounters& counters = MutableServiceCounters(m_server);
  ++counters.localeCalls;
  counters.lastLocale = lcid;
  m_lcid = lcid;
  return S_OK;
}

}  // namespace hostsim
