#include "PromptServer.h"

#include <oleauto.h>

#include "HostServers.h"
#include "HostTexts.h"

namespace hostsim {

STDMETHODIMP PromptServer::GetPrompt(LONG id, BSTR* caption, LONG* type, BSTR* text) {
  if (!caption || !type || !text) return E_POINTER;
  *caption = nullptr;
  *type = 0;
  *text = nullptr;
  ++Counters().textRequests;
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

}  // namespace hostsim
