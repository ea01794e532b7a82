#include "HostServers.h"

#include <HostServices.h>

#include <cstring>
#include <map>
#include <vector>

#include "ModuleSpecificFileFind.h"
#include "PromptServer.h"
#include "StringServer.h"

namespace hostsim {

namespace {

struct GuidLess {
  bool operator()(const GUID& a, const GUID& b) const { return std::memcmp(&a, &b, sizeof(GUID)) < 0; }
};

std::map<GUID, ServiceCounters, GuidLess>& Counters() {
  static std::map<GUID, ServiceCounters, GuidLess> counters;
  return counters;
}

std::vector<DWORD>& Cookies() {
  static std::vector<DWORD> cookies;
  return cookies;
}

template <class Server>
HRESULT RegisterServer(const CLSID& clsid, bool withLocale) {
  auto* factory = new ClassFactory([clsid, withLocale](REFIID riid, void** ppv) {
    return CreateAndQuery<Server>(riid, ppv, clsid, withLocale);
  });
  DWORD cookie = 0;
  const HRESULT hr = CoRegisterClassObject(clsid, factory, CLSCTX_INPROC_SERVER, REGCLS_MULTIPLEUSE, &cookie);
  factory->Release();
  if (SUCCEEDED(hr)) Cookies().push_back(cookie);
  return hr;
}

HRESULT RegisterFileFinder() {
  auto* factory = new ClassFactory(CreateModuleSpecificFileFind);
  DWORD cookie = 0;
  const HRESULT hr = CoRegisterClassObject(CLSID_ModuleSpecificFileFind, factory, CLSCTX_INPROC_SERVER,
                                           REGCLS_MULTIPLEUSE, &cookie);
  factory->Release();
  if (SUCCEEDED(hr)) Cookies().push_back(cookie);
  return hr;
}

}  // namespace

HRESULT RegisterHostServers(const HostServerOptions& options) {
  RevokeHostServers();
  HRESULT hr = RegisterServer<PromptServer>(CLSID_PVInputPromptServer, options.serverLocale);
  if (SUCCEEDED(hr)) hr = RegisterServer<PromptServer>(CLSID_PVModulePromptServer, options.serverLocale);
  if (SUCCEEDED(hr)) hr = RegisterServer<StringServer>(CLSID_PVButtonStringServer, options.serverLocale);
  if (SUCCEEDED(hr)) hr = RegisterServer<StringServer>(CLSID_PVForceStringServer, options.serverLocale);
  if (SUCCEEDED(hr)) hr = RegisterFileFinder();
  ResetFileFindSettings();
  if (FAILED(hr)) RevokeHostServers();
  return hr;
}

void RevokeHostServers() {
  for (DWORD cookie : Cookies()) CoRevokeClassObject(cookie);
  Cookies().clear();
}

ServiceCounters GetServiceCounters(REFCLSID server) {
  return MutableServiceCounters(server);
}

void ResetServiceCounters() {
  // Objects still alive stay counted, so their release does not go below zero.
  for (auto& [clsid, counters] : Counters()) counters = ServiceCounters{.liveObjects = counters.liveObjects};
}

ServiceCounters& MutableServiceCounters(REFCLSID server) {
  return Counters()[server];
}

}  // namespace hostsim
