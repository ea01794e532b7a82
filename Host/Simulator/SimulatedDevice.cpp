#include "SimulatedDevice.h"

#include <oleauto.h>

#include <cstring>
#include <cwchar>

namespace hostsim {

namespace {

constexpr LONG kRegulatorClass = 112;
constexpr LONG kRegulatorInstance = 1;
constexpr LONG kSwitchClass = 112;

// The services, with the element types their data must have.
struct ServiceShape {
  const wchar_t* name;
  std::vector<VARTYPE> types;
};
const ServiceShape kRegulator{L"SetAttributeSingleRegulator", {VT_I1, VT_I4}};
const ServiceShape kSwitch{L"SetAttributeSingleSwitch", {VT_I1, VT_I1, VT_I2}};
const ServiceShape kTotalizer{L"SetAttributeSingleTotalizer", {VT_I1, VT_I1, VT_I2}};
constexpr wchar_t kRefresh[] = L"Refresh";

// An element as a number for the record (VT_I1 and VT_I2 sign-extended); 0 when it is none.
LONG NumberOf(const VARIANT& element) {
  switch (element.vt) {
    case VT_I1:
      return static_cast<signed char>(element.cVal);
    case VT_I2:
      return element.iVal;
    case VT_I4:
      return element.lVal;
    default: {
      VARIANT converted;
      VariantInit(&converted);
      const LONG value = SUCCEEDED(VariantChangeType(&converted, const_cast<VARIANT*>(&element), 0, VT_I4))
                             ? converted.lVal
                             : 0;
      VariantClear(&converted);
      return value;
    }
  }
}

// Fills the record's view of the argument: its type, and an array's bound and elements (only a
// one-dimensional VT_ARRAY|VT_VARIANT is looked into) or a VT_BYREF|VT_I4's number.
void Describe(const VARIANT& argument, DeviceRequest& request) {
  request.argumentType = argument.vt;
  if (argument.vt == (VT_BYREF | VT_I4)) {
    if (argument.plVal) {
      request.types.push_back(VT_I4);
      request.values.push_back(*argument.plVal);
    }
    return;
  }
  if (argument.vt != (VT_ARRAY | VT_VARIANT) || !argument.parray || SafeArrayGetDim(argument.parray) != 1)
    return;
  LONG lower = 0, upper = -1;
  SafeArrayGetLBound(argument.parray, 1, &lower);
  SafeArrayGetUBound(argument.parray, 1, &upper);
  request.lowerBound = lower;
  for (LONG index = lower; index <= upper; ++index) {
    VARIANT element;
    VariantInit(&element);
    if (SUCCEEDED(SafeArrayGetElement(argument.parray, &index, &element))) {
      request.types.push_back(element.vt);
      request.values.push_back(NumberOf(element));
    }
    VariantClear(&element);
  }
}

bool IsPathElement(VARTYPE vt) {
  return vt == VT_I2 || vt == VT_I1;
}

void LeaveErrorInfo(const wchar_t* description) {
  ICreateErrorInfoPtr create;
  if (FAILED(CreateErrorInfo(&create))) return;
  create->SetGUID(__uuidof(IENetLinkCollectionManager));
  create->SetSource(const_cast<LPOLESTR>(L"Simulated device"));
  create->SetDescription(const_cast<LPOLESTR>(description));
  IErrorInfoPtr info(create);
  SetErrorInfo(0, info);
}

// The value as its four bytes, least significant first.
HRESULT ByteArray(uint32_t bits, VARIANT* result) {
  SAFEARRAY* bytes = SafeArrayCreateVector(VT_UI1, 0, 4);
  if (!bytes) return E_OUTOFMEMORY;
  for (LONG i = 0; i < 4; ++i) {
    BYTE b = static_cast<BYTE>(bits >> (8 * i));
    SafeArrayPutElement(bytes, &i, &b);
  }
  result->vt = VT_ARRAY | VT_UI1;
  result->parray = bytes;
  return S_OK;
}

}  // namespace

SimulatedDevice::SimulatedDevice(const DeviceDefinition& definition)
    : m_totalizerClass(definition.totalizerClass) {
  for (const DeviceAttributeDefinition& attribute : definition.attributes) AddAttribute(attribute);
}

SimulatedDevice::Attribute* SimulatedDevice::Find(const DeviceAddress& address) {
  for (Attribute& attribute : m_attributes)
    if (attribute.definition.address == address) return &attribute;
  return nullptr;
}

const SimulatedDevice::Attribute* SimulatedDevice::Find(const DeviceAddress& address) const {
  return const_cast<SimulatedDevice*>(this)->Find(address);
}

void SimulatedDevice::AddAttribute(const DeviceAttributeDefinition& attribute) {
  if (Attribute* existing = Find(attribute.address)) {
    existing->definition = attribute;
    existing->answer.reset();
    return;
  }
  m_attributes.push_back(Attribute{attribute, std::nullopt});
}

bool SimulatedDevice::SetReal(const DeviceAddress& address, float value) {
  Attribute* attribute = Find(address);
  if (!attribute) return false;
  attribute->definition.real = true;
  attribute->definition.realValue = value;
  return true;
}

bool SimulatedDevice::SetInteger(const DeviceAddress& address, LONG value) {
  Attribute* attribute = Find(address);
  if (!attribute) return false;
  attribute->definition.real = false;
  attribute->definition.integer = value;
  return true;
}

std::optional<float> SimulatedDevice::Real(const DeviceAddress& address) const {
  const Attribute* attribute = Find(address);
  if (!attribute || !attribute->definition.real) return std::nullopt;
  return attribute->definition.realValue;
}

std::optional<LONG> SimulatedDevice::Integer(const DeviceAddress& address) const {
  const Attribute* attribute = Find(address);
  if (!attribute || attribute->definition.real) return std::nullopt;
  return attribute->definition.integer;
}

bool SimulatedDevice::SetAnswer(const DeviceAddress& address, const VARIANT& answer) {
  Attribute* attribute = Find(address);
  if (!attribute) return false;
  attribute->answer = _variant_t(answer);
  return true;
}

void SimulatedDevice::ClearAnswer(const DeviceAddress& address) {
  if (Attribute* attribute = Find(address)) attribute->answer.reset();
}

std::vector<DeviceRequest> SimulatedDevice::RequestsOf(const std::wstring& name) const {
  std::vector<DeviceRequest> found;
  for (const DeviceRequest& request : requests)
    if (request.name == name) found.push_back(request);
  return found;
}

const DeviceFailure* SimulatedDevice::FailureFor(const std::wstring& name) {
  for (auto it = m_failures.begin(); it != m_failures.end(); ++it) {
    if (it->call != 0 && it->call != m_calls) continue;
    if (!it->name.empty() && it->name != name) continue;
    m_fired = *it;
    if (it->once) m_failures.erase(it);
    return &m_fired;
  }
  return nullptr;
}

HRESULT SimulatedDevice::Finish(DeviceRequest& request, HRESULT hr, const wchar_t* description) {
  request.result = hr;
  if (FAILED(hr))
    LeaveErrorInfo(description);
  else
    SetErrorInfo(0, nullptr);
  requests.push_back(request);
  return hr;
}

HRESULT SimulatedDevice::ReadAttribute(BSTR name, const VARIANT& path, VARIANT* result) {
  ++m_calls;
  DeviceRequest request;
  request.operation = DeviceRequest::Operation::kRead;
  request.name = name ? name : L"";
  request.requestedType = result ? result->vt : static_cast<VARTYPE>(VT_EMPTY);
  Describe(path, request);
  if (const DeviceFailure* failure = FailureFor(request.name))
    return Finish(request, failure->hr, failure->description.c_str());
  const HRESULT hr = Read(request.name, request, result);
  if (SUCCEEDED(hr)) request.answer = *result;
  return Finish(request, hr,
                hr == E_INVALIDARG          ? L"The attribute path is malformed."
                : hr == DISP_E_TYPEMISMATCH ? L"The attribute cannot be given in the type asked for."
                                            : L"The device has no such attribute.");
}

HRESULT SimulatedDevice::Read(const std::wstring& name, const DeviceRequest& request, VARIANT* result) {
  if (!result) return E_POINTER;
  DeviceAddress address;
  if (request.argumentType == (VT_BYREF | VT_I4)) {
    if (request.values.size() != 1) return E_INVALIDARG;
    address.attribute = request.values[0];
  } else {
    if (request.argumentType != (VT_ARRAY | VT_VARIANT) || request.lowerBound != 0 ||
        request.types.size() != 3)
      return E_INVALIDARG;
    for (VARTYPE vt : request.types)
      if (!IsPathElement(vt)) return E_INVALIDARG;
    address = {request.values[0], request.values[1], request.values[2]};
  }
  const Attribute* attribute = Find(address);
  if (!attribute || attribute->definition.name != name) return DISP_E_MEMBERNOTFOUND;

  // Only the type of *result is read: its value is the caller's uninitialised space.
  const VARTYPE wanted = result->vt;
  VariantInit(result);
  if (attribute->answer) {
    VARIANT answer = attribute->answer.value();  // a shallow copy: not every SDK declares the source const
    return VariantCopy(result, &answer);
  }

  const DeviceAttributeDefinition& value = attribute->definition;
  if (wanted == (VT_ARRAY | VT_UI1)) {
    uint32_t bits = static_cast<uint32_t>(value.integer);
    if (value.real) std::memcpy(&bits, &value.realValue, sizeof bits);
    return ByteArray(bits, result);
  }
  if (wanted == VT_EMPTY || wanted == VT_BSTR) {
    wchar_t text[64];
    if (value.real)
      std::swprintf(text, 64, L"%.9g", static_cast<double>(value.realValue));
    else
      std::swprintf(text, 64, L"%d", static_cast<int>(value.integer));
    result->vt = VT_BSTR;
    result->bstrVal = SysAllocString(text);
    return result->bstrVal ? S_OK : E_OUTOFMEMORY;
  }
  VARIANT base;
  VariantInit(&base);
  if (value.real) {
    base.vt = VT_R4;
    base.fltVal = value.realValue;
  } else {
    base.vt = VT_I4;
    base.lVal = value.integer;
  }
  if (FAILED(VariantChangeType(result, &base, 0, wanted))) {
    VariantInit(result);
    return DISP_E_TYPEMISMATCH;
  }
  return S_OK;
}

HRESULT SimulatedDevice::ExecuteService(BSTR name, const VARIANT& data) {
  ++m_calls;
  DeviceRequest request;
  request.operation = DeviceRequest::Operation::kExecute;
  request.name = name ? name : L"";
  Describe(data, request);
  if (const DeviceFailure* failure = FailureFor(request.name))
    return Finish(request, failure->hr, failure->description.c_str());
  const HRESULT hr = Execute(request.name, request);
  return Finish(request, hr,
                hr == E_INVALIDARG ? L"The service data is malformed."
                                   : L"The device has no such service or attribute.");
}

HRESULT SimulatedDevice::Execute(const std::wstring& name, const DeviceRequest& request) {
  if (name == kRefresh) return request.argumentType == VT_EMPTY ? S_OK : E_INVALIDARG;
  const auto& v = request.values;
  if (name == kRegulator.name) {
    if (request.argumentType != (VT_ARRAY | VT_VARIANT) || request.lowerBound != 0 ||
        request.types != kRegulator.types)
      return E_INVALIDARG;
    Attribute* attribute = Find({kRegulatorClass, kRegulatorInstance, v[0]});
    if (!attribute || !attribute->definition.real) return DISP_E_MEMBERNOTFOUND;
    const uint32_t bits = static_cast<uint32_t>(v[1]);
    std::memcpy(&attribute->definition.realValue, &bits, sizeof bits);
    return S_OK;
  }
  const bool isSwitch = name == kSwitch.name;
  if (isSwitch || name == kTotalizer.name) {
    if (request.argumentType != (VT_ARRAY | VT_VARIANT) || request.lowerBound != 0 ||
        request.types != kSwitch.types)
      return E_INVALIDARG;
    Attribute* attribute = Find({isSwitch ? kSwitchClass : m_totalizerClass, v[0], v[1]});
    if (!attribute || attribute->definition.real) return DISP_E_MEMBERNOTFOUND;
    attribute->definition.integer = v[2];
    return S_OK;
  }
  return DISP_E_MEMBERNOTFOUND;
}

}  // namespace hostsim
