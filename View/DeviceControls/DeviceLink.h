// What the device controls share to reach the connected device through the module's link
// services: the link manager's query, the arrays that carry a CIP path or a service's values,
// the numbers that travel as VT_I1, and the host's "Refresh" service.
#pragma once

#include <HostLinkServices.h>
#include <PVCtrlInterfaces.h>
#include <comdef.h>

#include <initializer_list>

// Releases manager, then queries the module for the link services; the query's result (E_POINTER
// for a null module).
HRESULT QueryLinkManager(IModule* module, IENetLinkCollectionManagerPtr& manager);
// VT_ARRAY|VT_VARIANT over a one-dimensional array from 0 holding copies of the elements.
HRESULT MakeVariantArray(std::initializer_list<_variant_t> elements, _variant_t* out);
// The number as VT_I1; E_INVALIDARG (out untouched) when it does not fit in -128 to 127.
HRESULT MakeI1(LONG value, _variant_t* out);
// A CIP path of three VT_I2 numbers (class, instance, attribute); E_INVALIDARG when one does not
// fit in 16 bits.
HRESULT MakeI2Path(LONG objectClass, LONG instance, LONG attribute, _variant_t* path);
// The same path of three VT_I1 numbers; E_INVALIDARG when one does not fit.
HRESULT MakeI1Path(LONG objectClass, LONG instance, LONG attribute, _variant_t* path);
// ReadAttribute(name, path, result) under the application's wait cursor, with the result
// initialised to the type wanted (E_NOINTERFACE, logged, without a manager). *result holds what
// came back.
HRESULT ReadDeviceAttribute(IENetLinkCollectionManager* manager, const wchar_t* name, const VARIANT& path,
                            VARTYPE wanted, _variant_t* result);

// The checks and conversions of what a read gave back; each answers E_UNEXPECTED (out
// untouched) for a result it does not take.
// A one-dimensional VT_ARRAY|VT_UI1 of at least four bytes: the first four from its lower
// bound, as a 32-bit float whose least significant byte comes first.
HRESULT FloatFromBytes(const VARIANT& result, float* value);
// A non-null VT_BSTR whose text (blanks around it allowed) is all a base-10 integer within
// 32 bits: signed (-2147483648 to 2147483647) or unsigned (0 to 4294967295, kept as its 32 bits).
HRESULT IntegerFromText(const VARIANT& result, bool isSigned, LONG* value);
// VT_R4 as it is, VT_BSTR through the device's text converter ('.' whatever the locale), VT_I2
// and VT_I4 as numbers.
HRESULT FloatFromResult(const VARIANT& result, float* value);
// VT_I2 sign-extended, VT_I4 as is, VT_R4 truncated toward zero when finite and within 32 bits,
// VT_BSTR a base-10 integer within 64 bits of which the low 32 bits are kept, VT_UI1
// zero-extended.
HRESULT LongFromResult(const VARIANT& result, LONG* value);

// ExecuteService(name, VT_EMPTY) under the application's wait cursor.
HRESULT ExecuteWithoutData(IENetLinkCollectionManager* manager, const wchar_t* name);

// The host's refresh of its view of the device, and the codes it may answer that still count as
// a refresh done.
inline constexpr wchar_t kRefreshService[] = L"Refresh";
inline constexpr HRESULT kRefreshPendingRegulator = static_cast<HRESULT>(0x800422F9);
inline constexpr HRESULT kRefreshPendingTotalizer = static_cast<HRESULT>(0x80042204);
