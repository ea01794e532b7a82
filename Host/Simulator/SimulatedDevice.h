// The connected device behind the simulated module's link services: attributes by object
// class, instance and attribute number (or a path number of the host's own), each with its
// name and value; the named services that change them; a record of every request; and
// per-call failure switches with the error information they leave.
//
//   ReadAttribute(name, path, result): only the type of *result is read on entry (the rest is
//   the caller's uninitialised space, overwritten); path VT_ARRAY|VT_VARIANT (one dimension, lower bound 0,
//   three elements of VT_I2 or VT_I1: class, instance, attribute) or VT_BYREF|VT_I4 referring
//   to a path number; the name must be the attribute's. The answer has the type *result asks
//   for: VT_ARRAY|VT_UI1 the value's four bytes, least significant first (a REAL's bits, an
//   integer's two's complement); VT_EMPTY and VT_BSTR signed decimal text; any other type the
//   value converted (VariantChangeType) from VT_R4 (a REAL) or VT_I4 (an integer). An answer a
//   test set for the attribute is given as it is, whatever was asked.
//
//   ExecuteService(name, data):
//     "SetAttributeSingleRegulator"  [VT_I1 attribute, VT_I4 float bits]    class 112, instance 1
//     "SetAttributeSingleSwitch"     [VT_I1 instance, VT_I1 attribute, VT_I2 value]   class 112
//     "SetAttributeSingleTotalizer"  [VT_I1 instance, VT_I1 attribute, VT_I2 code]
//                                    the totalizer class (115 unless the definition says)
//     "Refresh"                      VT_EMPTY
//   each as VT_ARRAY|VT_VARIANT over a one-dimensional array from 0; the device changes at once.
//
// Failures: a malformed path or data E_INVALIDARG, an unknown address, a name that is not the
// attribute's or an unknown service DISP_E_MEMBERNOTFOUND, an answer type that cannot be made
// DISP_E_TYPEMISMATCH; a failure switch its own code. Every failure leaves error information
// for IENetLinkCollectionManager (SetErrorInfo); a success clears the thread's error object.
#pragma once

#include <HostLinkServices.h>
#include <comdef.h>

#include <optional>
#include <string>
#include <vector>

#include "ModuleDefinition.h"

namespace hostsim {

// One call the device received, as it arrived and as it was answered.
struct DeviceRequest {
  enum class Operation { kRead, kExecute };
  Operation operation = Operation::kRead;
  std::wstring name;           // the attribute or service name (a null BSTR as "")
  VARTYPE argumentType = 0;    // the type of the path (reads) or data (services) VARIANT
  LONG lowerBound = 0;         // of the argument's array, when it holds one
  std::vector<VARTYPE> types;  // the array's element types, in order
  std::vector<LONG> values;    // the elements as numbers (a VT_BYREF|VT_I4 path: its number)
  VARTYPE requestedType = 0;   // reads: the type *result held on entry
  HRESULT result = S_OK;
  _variant_t answer;  // reads: what *result held on return
};

// A failure switch: the nth call (counting reads and services from 1; 0 any call) or every
// call of the name ("" any name), or both, answered with hr and error information carrying
// description. once: the switch is removed after it has fired.
struct DeviceFailure {
  int call = 0;
  std::wstring name;
  HRESULT hr = E_FAIL;
  std::wstring description = L"The device did not answer.";
  bool once = false;
};

class SimulatedDevice {
 public:
  SimulatedDevice() = default;
  explicit SimulatedDevice(const DeviceDefinition& definition);

  // ---- The device's state. An address the device lacks gives false or nullopt.
  LONG TotalizerClass() const { return m_totalizerClass; }
  void SetTotalizerClass(LONG objectClass) { m_totalizerClass = objectClass; }
  // Adds (or replaces) an attribute.
  void AddAttribute(const DeviceAttributeDefinition& attribute);
  bool SetReal(const DeviceAddress& address, float value);
  bool SetInteger(const DeviceAddress& address, LONG value);
  std::optional<float> Real(const DeviceAddress& address) const;
  std::optional<LONG> Integer(const DeviceAddress& address) const;
  // What every read of the attribute answers from now on, whatever type it asks for (a test's
  // own answer: unsigned text, a null BSTR, a wrong type, a short byte array ...). The read
  // succeeds and answers a copy. ClearAnswer goes back to the value.
  bool SetAnswer(const DeviceAddress& address, const VARIANT& answer);
  void ClearAnswer(const DeviceAddress& address);

  // ---- Failure switches
  void Fail(const DeviceFailure& failure) { m_failures.push_back(failure); }
  void ClearFailures() { m_failures.clear(); }

  // ---- The record
  std::vector<DeviceRequest> requests;
  int Calls() const { return m_calls; }
  // The requests of one name, in order.
  std::vector<DeviceRequest> RequestsOf(const std::wstring& name) const;

  // ---- The link services' two operations
  HRESULT ReadAttribute(BSTR name, const VARIANT& path, VARIANT* result);
  HRESULT ExecuteService(BSTR name, const VARIANT& data);

 private:
  struct Attribute {
    DeviceAttributeDefinition definition;
    std::optional<_variant_t> answer;
  };
  Attribute* Find(const DeviceAddress& address);
  const Attribute* Find(const DeviceAddress& address) const;
  // The switch that takes this call, or null.
  const DeviceFailure* FailureFor(const std::wstring& name);
  HRESULT Finish(DeviceRequest& request, HRESULT hr, const wchar_t* description);
  HRESULT Read(const std::wstring& name, const DeviceRequest& request, VARIANT* result);
  HRESULT Execute(const std::wstring& name, const DeviceRequest& request);

  LONG m_totalizerClass = 115;
  std::vector<Attribute> m_attributes;
  std::vector<DeviceFailure> m_failures;
  DeviceFailure m_fired;  // the switch that fired last (a copy: a once switch is gone)
  int m_calls = 0;
};

}  // namespace hostsim
