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

STDMETHODIMP StringServer::GetString(LONG id, BSTR* text) {
  if (!text) return E_POINTER;
  *text = nullptr;
  ++Counters().textRequests;
  const auto found = FindHostString(m_server, id, m_lcid);
  if (!found) return E_INVALIDARG;
  *text = SysAllocString((m_accelerators ? *found : WithoutAccessKeys(*found)).c_str());
  return *text ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP StringServer::SetAccelerators(VARIANT_BOOL on) {
  ++Counters().acceleratorCalls;
  m_accelerators = on != VARIANT_FALSE;
  return S_OK;
}

}  // namespace hostsim
