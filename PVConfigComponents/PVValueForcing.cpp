#include "PVValueForcing.h"

#include <HostServices.h>
#include <oleauto.h>

#include "PVLog.h"
#include "PromptServerWrapper.h"

namespace {

constexpr CPVSourceLog Log(L"PVValueForcing");
constexpr LONG kForceTooltipFormat = 33;

}  // namespace

CPVValueForcing::CPVValueForcing(IPVGetSetValue* value) : m_spIPVGetSetValue(value) {}

CPVValueForcing::~CPVValueForcing() = default;

IPVGetValueForcingPtr CPVValueForcing::GetIPVGetValueForcing() const {
  if (!m_spIPVGetSetValue) return nullptr;
  return IPVGetValueForcingPtr(m_spIPVGetSetValue);
}

int CPVValueForcing::GetForceState() const {
  IPVGetValueForcingPtr forcing = GetIPVGetValueForcing();
  bool forced = false;
  if (!forcing || FAILED(forcing->GetIsForced(&forced)) || !forced) return PV_FORCE_STATE_NOT_FORCED;
  forcing = GetIPVGetValueForcing();
  bool enabled = false;
  if (!forcing || FAILED(forcing->GetForcesEnabled(&enabled))) return PV_FORCE_STATE_FORCED;
  return enabled ? PV_FORCE_STATE_FORCED_ENABLED : PV_FORCE_STATE_FORCED;
}

bool CPVValueForcing::GetIsForcingSupported() const {
  IPVGetValueForcingPtr forcing = GetIPVGetValueForcing();
  bool answer = false;
  return forcing && SUCCEEDED(forcing->GetIsForcingSupported(&answer)) && answer;
}

bool CPVValueForcing::GetForcesEnabled() const {
  IPVGetValueForcingPtr forcing = GetIPVGetValueForcing();
  bool answer = false;
  return forcing && SUCCEEDED(forcing->GetForcesEnabled(&answer)) && answer;
}

bool CPVValueForcing::GetIsForced() const {
  IPVGetValueForcingPtr forcing = GetIPVGetValueForcing();
  bool answer = false;
  return forcing && SUCCEEDED(forcing->GetIsForced(&answer)) && answer;
}

_variant_t CPVValueForcing::GetForceValue() const {
  _variant_t value;
  IPVGetValueForcingPtr forcing = GetIPVGetValueForcing();
  // A failed read leaves nothing behind: the value stays VT_EMPTY.
  if (forcing && FAILED(forcing->GetForceValue(&value))) value.Clear();
  return value;
}

CString CPVValueForcing::GetTooltipText() const {
  CString text;
  if (GetForceState() != PV_FORCE_STATE_FORCED_ENABLED) return text;
  CStringServerWrapper server;
  if (FAILED(server.Initialize(&CLSID_PVForceStringServer, nullptr))) {
    Log(L"Failed to create string server.", L"CPVValueForcing::GetTooltipText", __LINE__);
    return text;
  }
  const CString format = server.GetString(kForceTooltipFormat);
  if (format.IsEmpty()) {
    Log(L"Failed to load force arrow tooltip format string", L"CPVValueForcing::GetTooltipText", __LINE__);
    return text;
  }
  _variant_t value = GetForceValue();  // not const: not every SDK declares VariantChangeType's source const
  if (V_VT(&value) == VT_BOOL) {
    text.FormatMessage(format.GetString(), V_BOOL(&value) == VARIANT_TRUE ? L"1" : L"0");
    return text;
  }
  _variant_t shown;
  if (SUCCEEDED(VariantChangeType(shown.GetAddress(), &value, 0, VT_BSTR))) {
    CString insert(V_BSTR(&shown) ? V_BSTR(&shown) : L"");
    insert.Trim(L" \t");
    text.FormatMessage(format.GetString(), insert.GetString());
  }
  return text;
}
