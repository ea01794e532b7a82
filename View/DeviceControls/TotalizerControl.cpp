#include "TotalizerControl.h"

#include <PVLog.h>

#include <iterator>

namespace {

constexpr CPVSourceLog Log(L"TotalizerControl");

}  // namespace

int TotalizerControlIndex(LONG code) {
  for (int i = 0; i < static_cast<int>(std::size(kTotalizerControlCodes)); ++i)
    if (kTotalizerControlCodes[i] == code) return i;
  return 0;
}

LONG TotalizerControlCode(int index) {
  if (index < 0 || index >= static_cast<int>(std::size(kTotalizerControlCodes)))
    return kTotalizerControlCodes[0];
  return kTotalizerControlCodes[index];
}

HRESULT ShowTotalizerControl(IENetLinkCollectionManager* manager, const wchar_t* attributeName,
                             LONG objectClass, LONG instance, LONG attribute, CWnd* combo,
                             const wchar_t* function) {
  if (!combo) {
    Log(L"Invalid combo box", function, __LINE__);
    return E_FAIL;
  }
  _variant_t path;
  HRESULT read = MakeI1Path(objectClass, instance, attribute, &path);
  if (FAILED(read)) Log(L"The attribute path does not fit the device's numbers.", function, __LINE__);
  LONG value = 0;
  if (SUCCEEDED(read)) {
    _variant_t result;
    read = ReadDeviceAttribute(manager, attributeName, path, VT_EMPTY, &result);
    if (SUCCEEDED(read)) read = IntegerFromText(result, true, &value);
    if (FAILED(read)) Log(L"Failed to read the totalizer control.", function, __LINE__);
  }
  if (!manager) {
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1));
    return read;
  }
  const HRESULT refreshed = ExecuteWithoutData(manager, kRefreshService);
  if (FAILED(refreshed)) Log(L"Failed to refresh after reading the totalizer control.", function, __LINE__);
  if (FAILED(read) || FAILED(refreshed)) {
    combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(-1));
    return FAILED(read) ? read : refreshed;
  }
  combo->SendMessage(CB_SETCURSEL, static_cast<WPARAM>(TotalizerControlIndex(value)));
  return S_OK;
}
