// Connectable objects: an object's outgoing interfaces (connection points) and the sinks
// advised on them.
#pragma once

#include "oaidl.h"

struct CONNECTDATA {
  IUnknown* pUnk;
  DWORD dwCookie;
};
typedef CONNECTDATA* LPCONNECTDATA;

interface IConnectionPointContainer;

// The advised sinks of one connection point. Next hands out AddRef'd sinks.
interface IEnumConnections : public IUnknown {
  STDMETHOD(Next)(ULONG cConnections, CONNECTDATA* rgcd, ULONG* pcFetched) = 0;
  STDMETHOD(Skip)(ULONG cConnections) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumConnections** ppEnum) = 0;
};
DECLARE_UUIDOF(IEnumConnections, "B196B287-BAB4-101A-B69C-00AA00341D07");

// One outgoing interface: sinks that implement it are advised (a cookie each) and unadvised.
interface IConnectionPoint : public IUnknown {
  STDMETHOD(GetConnectionInterface)(IID* pIID) = 0;
  STDMETHOD(GetConnectionPointContainer)(IConnectionPointContainer** ppCPC) = 0;
  STDMETHOD(Advise)(IUnknown* pUnkSink, DWORD* pdwCookie) = 0;
  STDMETHOD(Unadvise)(DWORD dwCookie) = 0;
  STDMETHOD(EnumConnections)(IEnumConnections** ppEnum) = 0;
};
DECLARE_UUIDOF(IConnectionPoint, "B196B286-BAB4-101A-B69C-00AA00341D07");

interface IEnumConnectionPoints : public IUnknown {
  STDMETHOD(Next)(ULONG cConnections, IConnectionPoint** ppCP, ULONG* pcFetched) = 0;
  STDMETHOD(Skip)(ULONG cConnections) = 0;
  STDMETHOD(Reset)() = 0;
  STDMETHOD(Clone)(IEnumConnectionPoints** ppEnum) = 0;
};
DECLARE_UUIDOF(IEnumConnectionPoints, "B196B285-BAB4-101A-B69C-00AA00341D07");

interface IConnectionPointContainer : public IUnknown {
  STDMETHOD(EnumConnectionPoints)(IEnumConnectionPoints** ppEnum) = 0;
  STDMETHOD(FindConnectionPoint)(REFIID riid, IConnectionPoint** ppCP) = 0;
};
DECLARE_UUIDOF(IConnectionPointContainer, "B196B284-BAB4-101A-B69C-00AA00341D07");

inline constexpr IID IID_IEnumConnections = __uuidof(IEnumConnections);
inline constexpr IID IID_IConnectionPoint = __uuidof(IConnectionPoint);
inline constexpr IID IID_IEnumConnectionPoints = __uuidof(IEnumConnectionPoints);
inline constexpr IID IID_IConnectionPointContainer = __uuidof(IConnectionPointContainer);
