// Text typed or pasted into a configuration edit box bound to a member of the simulated
// module, then written through the value object and read back: the first byte picks the box
// (float or integer), its sign flags and the float's decimals, the second whether the text is
// typed or pasted, the third where the box's own text ends and the new text begins. Accepted
// or refused, never a crash; a value the box wrote reads back.
#include <windows.h>

#include <HostModule.h>
#include <HostParent.h>
#include <HostServers.h>
#include <ModuleDefinition.h>
#include <objbase.h>
#include <platform/testing_windows.h>

#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "PVCtrlConfigEditFloat.h"
#include "PVCtrlConfigEditInteger.h"
#include "PVGetSetAdapterITag.h"
#include "PVGetSetFloat.h"
#include "PVGetSetLong.h"

namespace {

namespace win = platform::windows;

constexpr char kDefinition[] =
    "<module name=\"M\"><tag name=\"M:C\" kind=\"standard\">"
    "<member name=\"Level\" type=\"REAL\" default=\"0.5\" min=\"-1000\" max=\"100000\"/>"
    "<member name=\"Count\" type=\"DINT\" default=\"3\" min=\"-99999\" max=\"999999\"/>"
    "</tag></module>";

struct Session {
  Session() {
    if (FAILED(CoInitialize(nullptr)) || FAILED(hostsim::RegisterHostServers())) std::abort();
    std::string error;
    auto parsed = hostsim::ParseModuleDefinition(kDefinition, &error);
    if (!parsed) std::abort();
    definition = *parsed;
  }
  hostsim::ModuleDefinition definition;
  hostsim::HostWindow window;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size < 3) return 0;
  static Session session;
  const bool isFloat = data[0] & 1;
  const DWORD signFlags = ((data[0] >> 1) & 3) | 1;  // a box allows at least '+'
  const int decimals = (data[0] >> 3) % 10;
  const bool pasted = data[1] & 1;
  std::wstring text;
  for (size_t i = 3; i < size; ++i) text += static_cast<wchar_t>(data[i]);
  const size_t split = text.empty() ? 0 : data[2] % (text.size() + 1);

  hostsim::HostModule* module = hostsim::HostModule::Create(session.definition);
  ITag* tag = nullptr;
  if (FAILED(module->GetConfigurationTag(&tag))) std::abort();
  CPVGetSetAdapterITag* adapter = new CPVGetSetAdapterITag(tag);
  tag->Release();
  {
    std::unique_ptr<CPVCtrlConfigEditCtrl> box;
    if (isFloat)
      box = std::make_unique<CPVCtrlConfigEditFloat>(9012);
    else
      box = std::make_unique<CPVCtrlConfigEditInteger>(9012);
    HWND window = CreateWindowExW(0, L"Edit", L"", WS_CHILD | WS_VISIBLE, 0, 0, 100, 20, session.window.get(),
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(9012)), nullptr, nullptr);
    if (!window || !box->SubclassWindow(window)) std::abort();
    const HRESULT bound =
        isFloat ? static_cast<CPVCtrlConfigEditFloat&>(*box).Initialize(
                      IPVGetSetValuePtr(new CPVGetSetFloat(L"Level", adapter), false), 64, signFlags,
                      decimals, nullptr)
                : static_cast<CPVCtrlConfigEditInteger&>(*box).Initialize(
                      IPVGetSetValuePtr(new CPVGetSetLong(L"Count", adapter), false), 64, signFlags, nullptr);
    if (FAILED(bound)) std::abort();
    HWND edit = *box;
    win::FocusControl(edit);
    SetWindowTextW(edit, text.substr(0, split).c_str());
    SendMessageW(edit, EM_SETSEL, data[1] >> 1, data[2] >> 1);
    const std::wstring entered = text.substr(split);
    if (pasted) {
      win::PutClipboardText(entered);
      win::Paste(edit);
    } else {
      win::TypeText(edit, entered);
    }
    if (SUCCEEDED(box->WriteValue(nullptr)) && FAILED(box->ReadValue(nullptr))) std::abort();
    SetFocus(session.window.get());  // leaving the box puts its text in normal form
    box->DestroyWindow();
  }
  win::ResetClipboard();
  win::ClearRecorders();
  adapter->Release();
  module->Release();
  return 0;
}
