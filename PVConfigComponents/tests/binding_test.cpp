// The binding helper that every page's OnInitDialog uses, below the host's door: what it
// does when memory runs short cannot be aimed at through a page. Each control sits on a bare
// window in a host window and is bound over the small module definition; the adapter's
// reference count shows whether the value objects live on only in the control.
#include <afx.h>

#include <functional>
#include <string>
#include <vector>

#include "ConfigPageHost.h"
#include "ConfigTestSupport.h"
#include "PVCtrlBinding.h"
#include "PVGetEnumStrings.h"
#include "PVGetSetEnum.h"
#include "PVGetSetFloat.h"
#include "PVGetSetLong.h"

namespace {

namespace win = platform::windows;
using configpage::EntriesOf;
using configpage::ReferencesOf;

class Binding : public pvconfigtest::ConfigFixture {
 protected:
  void SetUp() override {
    ConfigFixture::SetUp();
    m_windowsAtStart = win::LiveWindowCount();
  }
  void TearDown() override {
    platform::mfc::FailNextAllocations(0);
    EXPECT_EQ(win::LiveWindowCount(), m_windowsAtStart);
    ConfigFixture::TearDown();
  }
  HWND NewWindow(const wchar_t* windowClass, DWORD style) {
    HWND window =
        CreateWindowExW(0, windowClass, L"", WS_CHILD | WS_VISIBLE | style, 0, 0, 100, 20, m_window.get(),
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(9011)), nullptr, nullptr);
    EXPECT_NE(window, nullptr);
    return window;
  }
  ULONG AdapterReferences() const { return ReferencesOf(m_adapter); }

  // One bind of each control kind, on a control subclassed for it, with the allocation
  // failing that `failing` names (counting from 0 once the control stands; -1 for none); the
  // control's answer.
  struct Kind {
    const char* name;
    std::function<HRESULT(Binding&, int failing)> bind;
    std::vector<std::function<IPVGetSetValuePtr(IPVGetSetAdapter*)>> valueObjects;
  };
  static void Arm(int failing) {
    if (failing >= 0) platform::mfc::FailNextAllocations(1, failing);
  }
  static std::vector<Kind> Kinds() {
    return {
        {"combo box",
         [](Binding& f, int failing) {
           CPVCtrlConfigComboBox combo(9011);
           EXPECT_TRUE(combo.SubclassWindow(f.NewWindow(L"ComboBox", CBS_DROPDOWNLIST)));
           Arm(failing);
           const HRESULT hr = PVBindComboBox(combo, L"Unit", f.m_adapter);
           platform::mfc::FailNextAllocations(0);
           f.m_heldWhileBound = f.AdapterReferences();
           if (SUCCEEDED(hr)) {
             EXPECT_EQ(EntriesOf(combo.GetSafeHwnd()), (configpage::Lines{L"ten", L"twenty", L"minus"}));
           }
           combo.DestroyWindow();
           return hr;
         },
         {[](IPVGetSetAdapter* a) { return PVNewValue<CPVGetSetEnum>(L"Unit", a); },
          [](IPVGetSetAdapter* a) { return PVNewValue<CPVGetEnumStrings>(L"Unit", a); }}},
        {"float edit",
         [](Binding& f, int failing) {
           CPVCtrlConfigEditFloat edit(9011);
           EXPECT_TRUE(edit.SubclassWindow(f.NewWindow(L"Edit", ES_AUTOHSCROLL)));
           Arm(failing);
           const HRESULT hr = PVBindEditFloat(edit, L"Level", f.m_adapter, 7, 1, 2);
           platform::mfc::FailNextAllocations(0);
           f.m_heldWhileBound = f.AdapterReferences();
           if (SUCCEEDED(hr)) {
             EXPECT_EQ(edit.GetDecimals(), 2);
             EXPECT_EQ(SendMessageW(edit.GetSafeHwnd(), EM_GETLIMITTEXT, 0, 0), 7);
           }
           edit.DestroyWindow();
           return hr;
         },
         {[](IPVGetSetAdapter* a) { return PVNewValue<CPVGetSetFloat>(L"Level", a); }}},
        {"integer edit",
         [](Binding& f, int failing) {
           CPVCtrlConfigEditInteger edit(9011);
           EXPECT_TRUE(edit.SubclassWindow(f.NewWindow(L"Edit", ES_AUTOHSCROLL)));
           Arm(failing);
           const HRESULT hr = PVBindEditInteger(edit, L"Count", f.m_adapter, 4, 3);
           platform::mfc::FailNextAllocations(0);
           f.m_heldWhileBound = f.AdapterReferences();
           if (SUCCEEDED(hr)) {
             EXPECT_EQ(SendMessageW(edit.GetSafeHwnd(), EM_GETLIMITTEXT, 0, 0), 4);
           }
           edit.DestroyWindow();
           return hr;
         },
         {[](IPVGetSetAdapter* a) { return PVNewValue<CPVGetSetLong>(L"Count", a); }}},
    };
  }

  // How many allocations making the value object takes: each one in turn is made to fail
  // (the object is then empty, and nothing is thrown) until none is met.
  int AllocationsOf(const std::function<IPVGetSetValuePtr(IPVGetSetAdapter*)>& make) {
    const ULONG before = AdapterReferences();
    for (int skip = 0; skip < 50; ++skip) {
      SCOPED_TRACE(testing::Message() << "allocation " << skip + 1 << " fails");
      platform::mfc::FailNextAllocations(1, skip);
      IPVGetSetValuePtr value;
      EXPECT_NO_THROW(value = make(m_adapter));
      platform::mfc::FailNextAllocations(0);
      if (value) return skip;
      EXPECT_EQ(AdapterReferences(), before) << "nothing left behind";
    }
    ADD_FAILURE() << "the value object is never made";
    return 0;
  }

  hostsim::HostWindow m_window;
  size_t m_windowsAtStart = 0;
  ULONG m_heldWhileBound = 0;
};

TEST_F(Binding, TheControlHoldsTheOnlyReferencesOfItsValueObjectsOnItsMember) {
  for (const Kind& kind : Kinds()) {
    SCOPED_TRACE(kind.name);
    const ULONG before = AdapterReferences();
    EXPECT_HR(S_OK, kind.bind(*this, -1));
    EXPECT_EQ(m_heldWhileBound, before + static_cast<ULONG>(kind.valueObjects.size()))
        << "one per value object";
    EXPECT_EQ(AdapterReferences(), before) << "the value objects went with the control";
    EXPECT_EQ(TakeLog(), pvconfigtest::Lines{});
  }
}

TEST_F(Binding, AValueObjectThatCannotBeMadeReachesTheControlAsNullAndNothingIsThrown) {
  for (const Kind& kind : Kinds()) {
    int allocations = 0;
    for (const auto& make : kind.valueObjects) allocations += AllocationsOf(make);
    ASSERT_GT(allocations, 0);
    const ULONG before = AdapterReferences();
    for (int failing = 0; failing < allocations; ++failing) {
      SCOPED_TRACE(testing::Message() << kind.name << ", allocation " << failing + 1 << " fails");
      HRESULT hr = S_OK;
      EXPECT_NO_THROW(hr = kind.bind(*this, failing));
      EXPECT_HR(E_FAIL, hr) << "the control refuses the binding without its value object";
      EXPECT_EQ(AdapterReferences(), before) << "nothing left behind";
      TakeLog();
    }
  }
}

}  // namespace
