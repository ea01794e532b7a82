// Registration of the host's service classes in the process (CoRegisterClassObject), as the
// host does at start-up, and what their objects saw, for tests.
#pragma once

#include <objbase.h>

namespace hostsim {

struct HostServerOptions {
  // The service objects answer IServerLocale; false registers variants without it, which
  // answer in English.
  bool serverLocale = true;
};

// Registers the two prompt servers and the two string servers (HostServices.h CLSIDs) and the
// module-specific file finder (ModuleSpecificFileFind.h, whose settings it resets) for
// this process. The calling thread must have called CoInitialize. Returns S_OK, or the
// first failure of CoRegisterClassObject (nothing stays registered then). Registering
// again replaces the earlier registration.
HRESULT RegisterHostServers(const HostServerOptions& options = {});
// Revokes what RegisterHostServers registered; nothing happens when nothing is.
void RevokeHostServers();

// What the service objects of one class saw since the last ResetServiceCounters.
struct ServiceCounters {
  int objectsCreated = 0;
  int localeCalls = 0;   // IServerLocale::SetLocale calls
  LCID lastLocale = 0;   // the last language set (0: none)
  int textRequests = 0;  // GetPrompt / GetString calls
  int acceleratorCalls = 0;
  int liveObjects = 0;  // objects not yet released
};
ServiceCounters GetServiceCounters(REFCLSID server);
void ResetServiceCounters();

// Used by the service objects.
ServiceCounters& MutableServiceCounters(REFCLSID server);

}  // namespace hostsim
