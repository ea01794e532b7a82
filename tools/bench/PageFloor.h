// The floor of a page: the least work that ends in what the open page shows, done by direct
// calls without the framework. The page's template is built into windows by the dialog
// manager with a plain dialog procedure, the members the page reads are read from the tag
// once each, and the windows are brought to the page's visible state with the plain window
// calls (SetWindowTextW, CB_ADDSTRING and CB_SETCURSEL, BM_SETCHECK, EnableWindow,
// ShowWindow).
//
// The floor's work is derived from the page itself: one host cycle of the page is observed
// (what it shows once activated, which tag operations it asked for which members), and the
// plan is the difference between that and what the bare template shows. So a change to a page
// changes its floor with it.
#pragma once

#include <windows.h>

#include <HostParent.h>
#include <HostTags.h>
#include <commctrl.h>
#include <ModuleDefinition.h>
#include <comdef.h>

#include <string>
#include <utility>
#include <vector>

namespace pagebench {

// What one window shows.
struct WindowState {
  int id = 0;
  std::wstring className;
  std::wstring text;
  std::vector<std::wstring> entries;  // a combo box's list
  int selection = -1;                 // a combo box's selected entry
  int check = 0;                      // a button's check state
  bool enabled = false;
  bool visible = false;  // its own visible style, whatever its parent's
  // A tooltip's tools (by id, with their texts) and whether it is active.
  std::vector<std::pair<UINT_PTR, std::wstring>> tools;
  bool active = false;

  bool operator==(const WindowState&) const = default;
};

// What a dialog shows: the dialog first, then its descendants in the order of EnumChildWindows,
// then the windows it owns (the tooltips of its statics) in the order of EnumWindows, and the
// number of windows made.
struct VisibleState {
  std::vector<WindowState> windows;
  size_t windowCount = 0;

  bool operator==(const VisibleState&) const = default;
};

// What the dialog shows, with the windows made since windowsBefore (LiveWindowCount) counted.
VisibleState ReadVisibleState(HWND dialog, size_t windowsBefore);
// The first difference between two states in words ("" when they are equal), for a test's
// message.
std::wstring FirstDifference(const VisibleState& expected, const VisibleState& actual);

// One page of a view DLL, as the host reaches it.
struct Page {
  std::wstring title;
  CLSID clsid{};
  HMODULE language = nullptr;  // the language resource DLL that holds the template
  int templateId = 0;
};

// A view DLL of the build's binaries (PROJECT_BIN_DIR, else the program's folder) loaded with
// its English resource DLL and registered, with the module definition of its meter and the
// pages it registered, in registry order.
struct ViewDll {
  std::string name;
  HMODULE module = nullptr;
  HMODULE language = nullptr;
  hostsim::ModuleDefinition definition;
  std::vector<Page> pages;
};

// Loads and registers the DLL (NAME.dll); false with *error set when it does not load or
// register, or registers a page whose template is unknown here. COM must be initialized and
// the host's servers registered.
bool LoadViewDll(const std::string& name, ViewDll* view, std::string* error);
// Frees what LoadViewDll loaded.
void UnloadViewDll(ViewDll* view);

// What the host cycle of a page reads and shows, and the floor's plan derived from it.
struct FloorPlan {
  enum class Read { kValue, kEnumValue, kEnumTexts };
  struct TagRead {
    _bstr_t member;
    Read kind;
  };
  // What one window of the template needs to show the page's state.
  struct WindowStep {
    size_t window = 0;  // its place in the template's VisibleState (0: the dialog)
    int id = 0;
    bool setText = false;
    std::wstring text;
    bool resetList = false;  // the template's own list emptied before the page's is added
    std::vector<std::wstring> entries;
    bool select = false;
    int selection = -1;
    bool setCheck = false;
    int check = 0;
    bool enable = false;
    bool enabled = false;
    bool show = false;
    bool visible = false;
  };

  // A tooltip the dialog owns, made as the page makes it, with its tools.
  struct Tooltip {
    DWORD style = 0;
    std::vector<TOOLINFOW> tools;  // hwnd null for the dialog; texts in toolTexts
    std::vector<std::wstring> toolTexts;
    bool active = false;
  };

  std::vector<TagRead> reads;
  std::vector<WindowStep> steps;
  std::vector<Tooltip> tooltips;
  VisibleState page;  // what the page shows once activated
};

// The cycle the host drives (class object, CreateInstance, Init, Create, Show, activation,
// deactivation, Destroy, Release), in the parent window; false when a step fails. When shown is
// given it receives what the page shows between its activation and its deactivation.
// When tooltips is given it receives the tooltips the dialog owns then, as the floor makes them.
bool RunHostCycle(const CLSID& clsid, hostsim::HostParent* parent, HWND window, VisibleState* shown = nullptr,
                  std::vector<FloorPlan::Tooltip>* tooltips = nullptr);

// Observes one host cycle of the page against a fresh host of the definition and plans its
// floor; false with *error set when the page does not open or its windows are not its
// template's.
bool PlanFloor(const Page& page, const hostsim::ModuleDefinition& definition, FloorPlan* plan,
               std::wstring* error);

// The page's floor: its dialog and the tooltips the dialog's statics own (owned by the
// parent's top-level window, as the page's are, so destroyed on their own).
struct Floor {
  HWND dialog = nullptr;
  std::vector<HWND> tooltips;
};

// Builds the page's floor in the parent window, at the page's visible state; the dialog is
// null when the template does not build. DestroyFloor destroys it.
Floor BuildFloor(const Page& page, const FloorPlan& plan, HWND parent, ITag* tag);
void DestroyFloor(const Floor& floor);

}  // namespace pagebench
