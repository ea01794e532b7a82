#include "PVForceStateColor.h"

#include <comdef.h>
#include <oleauto.h>

#include "PVCtrl.h"
#include "PVValueForcing.h"

namespace {

// The host application's dispatch properties of the forced colours.
constexpr DISPID kDispidForcedColor = 23;         // forced, forces disabled
constexpr DISPID kDispidForcedEnabledColor = 22;  // forced, forces enabled

// A property of the object, as VT_I4.
HRESULT ReadColorProperty(IDispatch* object, DISPID dispid, COLORREF* color) {
  DISPPARAMS noArguments{};
  _variant_t result;
  HRESULT hr = object->Invoke(dispid, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &noArguments,
                              &result, nullptr, nullptr);
  if (FAILED(hr)) return hr;
  hr = VariantChangeType(&result, &result, 0, VT_I4);
  if (FAILED(hr)) return hr;
  *color = static_cast<COLORREF>(V_I4(&result));
  return S_OK;
}

}  // namespace

HRESULT SetTextColorByForceState(const CPVCtrlBase& control, int forceState, CDC* dc) {
  IApplicationPtr application = control.GetIApplication();
  if (!application) return S_OK;
  COLORREF color = 0;
  HRESULT hr = S_OK;
  switch (forceState) {
    case PV_FORCE_STATE_FORCED:
      hr = ReadColorProperty(application, kDispidForcedColor, &color);
      break;
    case PV_FORCE_STATE_FORCED_ENABLED:
      hr = ReadColorProperty(application, kDispidForcedEnabledColor, &color);
      break;
    default:
      color = GetSysColor(COLOR_WINDOWTEXT);
      break;
  }
  if (FAILED(hr)) return hr;
  if (dc) ::SetTextColor(dc->GetSafeHdc(), color);
  return S_OK;
}
