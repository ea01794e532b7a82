// The host's string server: strings by number from the host's text table, in the language set
// through IServerLocale (English until one is set), with or without access-key marks.
#pragma once

#include <HostServices.h>

#include "SimComObject.h"

namespace hostsim {

class StringServer final : public IStringServer, public IServerLocale {
 public:
  StringServer(const CLSID& server, bool withLocale);

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL
  HOSTSIM_DISPATCH_STUBS

  // Unknown id: E_INVALIDARG with a null text. Accelerators off removes the '&' marks
  // ("&&" stays one '&').
  STDMETHODIMP GetString(LONG id, BSTR* text) override;
  STDMETHODIMP SetAccelerators(VARIANT_BOOL on) override;
  STDMETHODIMP GetLocale(LCID* lcid) override;
  STDMETHODIMP SetLocale(LCID lcid) override;

 private:
  ~StringServer();
  CLSID m_server;
  bool m_withLocale;
  LCID m_lcid = 1033;
  bool m_accelerators = true;
};

}  // namespace hostsim
