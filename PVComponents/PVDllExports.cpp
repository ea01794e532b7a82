// The four COM exports of a view DLL, linked into each one.
#include "PVPropPageRegistration.h"

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  return PVDllGetClassObject(clsid, iid, object);
}

STDAPI DllCanUnloadNow() {
  return PVDllCanUnloadNow();
}

STDAPI DllRegisterServer() {
  return PVDllRegisterServer();
}

STDAPI DllUnregisterServer() {
  return PVDllUnregisterServer();
}
