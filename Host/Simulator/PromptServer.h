// The host's prompt server: prompts (caption, type, text) by number from the host's text
// table, in the language set through IServerLocale (English until one is set).
#pragma once

#include "TextServer.h"

namespace hostsim {

class PromptServer final : public TextServer<IPromptServer> {
 public:
  PromptServer(const CLSID& server, bool withLocale) : TextServer(server, withLocale) {}

  // Unknown id: E_INVALIDARG, the outputs null / 0. Null outputs: E_POINTER.
  STDMETHODIMP GetPrompt(LONG id, BSTR* caption, LONG* type, BSTR* text) override;
};

}  // namespace hostsim
