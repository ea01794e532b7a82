#include "PromptServer.h"

#include <oleauto.h>

#include "HostServers.h"
#include "HostTexts.h"

namespace hostsim {

PromptServer::PromptServer(const CLSID& server, bool withLocale)
    : m_server(server), m_withLocale(withLocale) {
  ServiceCounters& counters = MutableServiceCounters(m_server);
  ++counters.objectsCreated;
  ++counters.liveObjects;
}

PromptServer::~PromptServer() {
  --MutableServiceCounters(m_server).liveObjects;
}

STDMETHODIMP PromptServer::QueryInterface(REFIID riid, void** ppv) {
  if (!m_withLocale && riid == __uuidof(IServerLocale)) {
    if (ppv) *ppv = nullptr;
    return E_NOINTERFACE;
  }
  return QueryFromTable<PromptServer>(
      this, riid, ppv,
      {HOSTSIM_ENTRY(PromptServer, IPromptServer),
       {&IID_IDispatch, [](PromptServer* o) -> IUnknown* { return static_cast<IPromptServer*>(o); }},
       HOSTSIM_ENTRY(PromptServer, IServerLocale)});
}

STDMETHODIMP PromptServer::GetPrompt(LONG id, BSTR* caption, LONG* type, BSTR* text) {
  if (!caption || !type || !text) return E_POINTER;
  *caption = nullptr;
  *type = 0;
  *text = nullptr;
  ++MutableServiceCounters(m_server).textRequests;
  const auto prompt = FindHostPrompt(m_server, id, m_lcid);
  if (!prompt) return E_INVALIDARG;
  *caption = SysAllocString(prompt->caption.c_str());
  *text = SysAllocString(prompt->text.c_str());
  if (!*caption || !*text) {
    SysFreeString(*caption);
    SysFreeString(*text);
    *caption = *text = nullptr;
    return E_OUTOFMEMORY;
  }
  *type = prompt->type;
  return S_OK;
}

STDMETHODIMP PromptServer::GetLocale(LCID* lcid) {
  if (!lcid) return E_POINTER;
  *lcid = m_lcid;
  return S_OK;
}

STDMETHODIMP PromptServer::SetLocale(LCID lcid) {
  ServiceCounters& counters = MutableServiceCounters(m_server);
  ++counters.localeCalls;
  counters.lastLocale = lcid;
  m_lcid = lcid;
  return S_OK;
}

}  // namespace hostsim
