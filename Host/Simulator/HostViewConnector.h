// The host's road from a page to its application object: the view-connector service (what the
// host parent hands out for CLSID_PVExtHostViewConnector), the connector object it gives, and
// the application object the connector gives. Each step can be made to fail, and the
// application's two colour properties can be set.
#pragma once

#include <PVInterfaces.h>

#include <memory>

namespace hostsim {

// The application object's dispatch ids of its two forced-value colours.
inline constexpr DISPID kDispidForcedColour = 23;         // forced, forces disabled
inline constexpr DISPID kDispidForcedEnabledColour = 22;  // forced, forces enabled

// Shared by the three objects of one chain: the switches of each step, the colours, and what
// the objects saw.
struct ViewConnectorState {
  // Step by step, in the order a page walks them.
  bool answersServiceInterface = true;      // service object: QueryInterface IPVExtHostViewConnector
  HRESULT connectorResult = S_OK;           // IPVExtHostViewConnector::GetHostViewConnector
  bool answersConnectorInterface = true;    // connector object: QueryInterface IHostViewConnector
  HRESULT applicationResult = S_OK;         // IHostViewConnector::GetApplication
  bool answersApplicationInterface = true;  // application object: QueryInterface IApplication
  // A failure here makes every property read of the application object fail with it.
  HRESULT propertyResult = S_OK;
  COLORREF forcedColour = 0x0000A5FF;         // dispid 23, as VT_I4
  COLORREF forcedEnabledColour = 0x000000FF;  // dispid 22, as VT_I4

  int connectorRequests = 0;    // GetHostViewConnector calls
  int applicationRequests = 0;  // GetApplication calls
  int propertyReads = 0;        // IDispatch::Invoke calls on the application object
  int liveObjects = 0;          // objects of this chain not yet released
};

// A new view-connector service object over state, one reference for the caller in *service.
// The connector and application objects are made per request, each with its own reference.
HRESULT CreateViewConnectorService(const std::shared_ptr<ViewConnectorState>& state, IUnknown** service);

}  // namespace hostsim
