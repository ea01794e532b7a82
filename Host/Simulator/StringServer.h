// The host's string server: strings by number from the host's text table, in the language set
// through IServerLocale (English until one is set), with or without access-key marks.
#pragma once

#include "TextServer.h"

namespace hostsim {

class StringServer final : public TextServer<IStringServer> {
 public:
  StringServer(const CLSID& server, bool withLocale) : TextServer(server, withLocale) {}

  // Unknown id: E_INVALIDARG with a null text. Accelerators off removes the '&' marks
  // ("&&" stays one '&').
  STDMETHODIMP GetString(LONG id, BSTR* text) override;
  STDMETHODIMP SetAccelerators(VARIANT_BOOL on) override;

 private:
  bool m_accelerators = true;
};

}  // namespace hostsim
