// The host's prompt server: prompts (caption, type, text) by number from the host's text
// table, in the language set through IServerLocale (English until one is set).
#pragma once

#include <HostServices.h>

#include "SimComObject.h"

namespace hostsim {

class PromptServer final : public IPromptServer, public IServerLocale {
 public:
  // server: the class the object was created as (selects its texts); withLocale: whether it
  // answers IServerLocale.
  PromptServer(const CLSID& server, bool withLocale);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL
  HOSTSIM_DISPATCH_STUBS

  // Unknown id: E_INVALIDARG, the outputs null / 0. Null outputs: E_POINTER.
  STDMETHODIMP GetPrompt(LONG id, BSTR* caption, LONG* type, BSTR* text) override;
  STDMETHODIMP GetLocale(LCID* lcid) override;
  STDMETHODIMP SetLocale(LCID lcid) override;

 private:
  ~PromptServer();
  CLSID m_server;
  bool m_withLocale;
  LCID m_lcid = 1033;
};

}  // namespace hostsim
