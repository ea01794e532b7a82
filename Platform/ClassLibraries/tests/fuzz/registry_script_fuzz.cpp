// Registry scripts as the registrar runs them: any text is refused or registered, never a
// crash; what registers also unregisters.
#include <atlbase.h>

#include <platform/testing_registry.h>

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::registry::Reset();
  std::wstring script;
  for (size_t i = 0; i < size; ++i) script += static_cast<wchar_t>(data[i]);
  ATL::CRegObject registrar;
  registrar.AddReplacement(L"MODULE", L"Z:\\fuzz\\module.dll");
  if (FAILED(registrar.StringRegister(script.c_str()))) return 0;
  if (FAILED(registrar.StringUnregister(script.c_str()))) std::abort();
  return 0;
}
