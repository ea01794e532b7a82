#include "PageFloor.h"

#include <HostModule.h>
#include <PVInterfaces.h>

#include <cwchar>
#include <filesystem>
#include <map>
#include <optional>
#include <string>

#include "../host/HostRegistry.h"
#include "../host/HostText.h"
#include "BenchPlatform.h"

namespace pagebench {

namespace {

_COM_SMARTPTR_TYPEDEF(IPVChild, __uuidof(IPVChild));
_COM_SMARTPTR_TYPEDEF(IPVPanel3, __uuidof(IPVPanel3));

namespace fs = std::filesystem;

// The dialog template of each page, by the title both view DLLs register it under.
const std::map<std::wstring, int> kTemplates = {
    {L"PVPageCorvaneCALC Page", 9104},
    {L"PVPageCorvaneCOMM Page", 9014},
    {L"PVPageCorvaneCOMP Page", 9070},
    {L"PVPageCorvaneCONC Page", 9109},
    {L"PVPageCorvaneLOWFLOW Page", 9102},
    {L"PVPageCorvaneMEDIUM Page", 9010},
    {L"PVPageCorvanePARTIALLY Page", 9103},
    {L"PVPageCorvanePETRO Page", 9112},
    {L"PVPageCorvanePROCESS Page", 9100},
    {L"PVPageCorvaneSENSOR Page", 9101},
    {L"PVPageCorvaneSYSTEM Page", 9067},
    {L"PVPageCorvaneSYSTEM2 Page", 9108},
    {L"PVPageCorvaneSYSUNIT Page", 9072},
    {L"PVPageCorvaneSYSUNIT2 Page", 9106},
    {L"PVPageCorvaneTotalizerConfig Page", 9012},
    {L"PVPageCorvaneViscosity Page", 9110},
};

bool IsClass(const std::wstring& className, const wchar_t* name) {
  return _wcsicmp(className.c_str(), name) == 0;
}

std::wstring TextOf(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::wstring EntryOf(HWND combo, int index) {
  const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length < 0) return std::wstring();
  std::wstring text(static_cast<size_t>(length) + 1, L'\0');
  SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<size_t>(length));
  return text;
}

WindowState StateOf(HWND window) {
  WindowState state;
  state.id = static_cast<int>(GetWindowLongPtrW(window, GWLP_ID));
  wchar_t className[256] = L"";
  GetClassNameW(window, className, 256);
  state.className = className;
  state.text = TextOf(window);
  if (IsClass(state.className, L"ComboBox")) {
    const int count = static_cast<int>(SendMessageW(window, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) state.entries.push_back(EntryOf(window, i));
    state.selection = static_cast<int>(SendMessageW(window, CB_GETCURSEL, 0, 0));
  }
  if (IsClass(state.className, L"Button"))
    state.check = static_cast<int>(SendMessageW(window, BM_GETCHECK, 0, 0));
  TooltipState tooltip;
  if (IsClass(state.className, TOOLTIPS_CLASSW) && GetTooltipState(window, &tooltip)) {
    for (const TooltipTool& tool : tooltip.tools) state.tools.emplace_back(tool.id, tool.text);
    state.active = tooltip.active;
  }
  state.enabled = IsWindowEnabled(window) != FALSE;
  state.visible = (GetWindowLongW(window, GWL_STYLE) & WS_VISIBLE) != 0;
  return state;
}

BOOL CALLBACK AddWindowState(HWND window, LPARAM states) {
  reinterpret_cast<std::vector<WindowState>*>(states)->push_back(StateOf(window));
  return TRUE;
}

struct OwnedWindows {
  HWND owner;
  std::vector<HWND> windows;
};

BOOL CALLBACK AddOwnedWindow(HWND window, LPARAM owned) {
  auto* found = reinterpret_cast<OwnedWindows*>(owned);
  if (GetWindow(window, GW_OWNER) == found->owner) found->windows.push_back(window);
  return TRUE;
}

// The windows a dialog's popups belong to: a popup made with a child window as its parent is
// owned by that window's top-level ancestor.
std::vector<HWND> OwnedBy(HWND dialog) {
  OwnedWindows owned{GetAncestor(dialog, GA_ROOT), {}};
  EnumWindows(AddOwnedWindow, reinterpret_cast<LPARAM>(&owned));
  return owned.windows;
}

// The tooltip as the floor makes it again: its style and its tools, the dialog's own tools
// kept for the floor's dialog.
FloorPlan::Tooltip TooltipOf(HWND tooltip, HWND dialog) {
  FloorPlan::Tooltip made;
  made.style = static_cast<DWORD>(GetWindowLongW(tooltip, GWL_STYLE)) & ~static_cast<DWORD>(WS_VISIBLE);
  TooltipState state;
  if (!GetTooltipState(tooltip, &state)) return made;
  for (const TooltipTool& tool : state.tools) {
    TOOLINFOW info{};
    info.cbSize = sizeof(TOOLINFOW);  // the whole record
    info.uFlags = tool.flags;
    info.hwnd = tool.hwnd == dialog ? nullptr : tool.hwnd;
    info.uId = tool.id;
    info.rect = tool.rect;
    made.tools.push_back(info);
    made.toolTexts.push_back(tool.text);
  }
  made.active = state.active;
  return made;
}

std::wstring Describe(const WindowState& window) {
  std::wstring text = L"window " + std::to_wstring(window.id) + L" (" + window.className + L", \"" +
                      window.text + L"\", " + std::to_wstring(window.entries.size()) +
                      L" entries, selection " + std::to_wstring(window.selection) + L", check " +
                      std::to_wstring(window.check) + (window.enabled ? L", enabled" : L", disabled") +
                      (window.visible ? L", visible" : L", hidden") + L")";
  for (const std::wstring& entry : window.entries) text += L" [" + entry + L"]";
  return text;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

HWND BuildTemplate(const Page& page, HWND parent) {
  HRSRC resource = FindResourceW(page.language, MAKEINTRESOURCEW(page.templateId), RT_DIALOG);
  HGLOBAL loaded = resource ? LoadResource(page.language, resource) : nullptr;
  const auto* bytes = loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
  return bytes ? CreateDialogIndirectParamW(page.language, bytes, parent, PlainDialogProc, 0) : nullptr;
}

// The reads of one cycle, one per member and kind, from the tag's counts.
std::vector<FloorPlan::TagRead> ReadsOf(const hostsim::ConfigurationTag& tag) {
  struct Kind {
    hostsim::TagOperation operation;
    FloorPlan::Read read;
  };
  static constexpr Kind kKinds[] = {
      {hostsim::TagOperation::kValueRead, FloorPlan::Read::kValue},
      {hostsim::TagOperation::kEnumRead, FloorPlan::Read::kEnumValue},
      {hostsim::TagOperation::kEnumTexts, FloorPlan::Read::kEnumTexts},
  };
  std::vector<FloorPlan::TagRead> reads;
  for (const hostsim::MemberDefinition& member : tag.Definition().members)
    for (const Kind& kind : kKinds)
      if (tag.OperationCount(member.name, kind.operation) > 0)
        reads.push_back({member.name.c_str(), kind.read});
  return reads;
}

// The step that brings the template's window to the page's, or false when it is another
// window.
bool StepFor(size_t index, const WindowState& bare, const WindowState& shown, FloorPlan::WindowStep* step) {
  if (bare.id != shown.id || bare.className != shown.className) return false;
  step->window = index;
  const bool combo = IsClass(shown.className, L"ComboBox");
  if (combo && bare.entries != shown.entries) {
    step->resetList = !bare.entries.empty();
    step->entries = shown.entries;
  }
  const int selection = step->resetList ? -1 : bare.selection;
  step->select = combo && shown.selection != selection;
  step->selection = shown.selection;
  // A drop-down list shows its selected entry as its text.
  const bool textFollowsList =
      combo &&
      shown.text == (shown.selection >= 0 && static_cast<size_t>(shown.selection) < shown.entries.size()
                         ? shown.entries[static_cast<size_t>(shown.selection)]
                         : std::wstring());
  step->setText = bare.text != shown.text && !textFollowsList;
  step->text = shown.text;
  step->setCheck = bare.check != shown.check;
  step->check = shown.check;
  step->enable = bare.enabled != shown.enabled;
  step->enabled = shown.enabled;
  step->show = bare.visible != shown.visible;
  step->visible = shown.visible;
  return true;
}

bool HasWork(const FloorPlan::WindowStep& step) {
  return step.setText || step.resetList || !step.entries.empty() || step.select || step.setCheck ||
         step.enable || step.show;
}

HWND WindowOf(HWND dialog, const FloorPlan::WindowStep& step) {
  return step.window == 0 ? dialog : GetDlgItem(dialog, step.id);
}

void Apply(HWND window, const FloorPlan::WindowStep& step) {
  if (step.resetList) SendMessageW(window, CB_RESETCONTENT, 0, 0);
  for (const std::wstring& entry : step.entries)
    SendMessageW(window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  if (step.select) SendMessageW(window, CB_SETCURSEL, static_cast<WPARAM>(step.selection), 0);
  if (step.setText) SetWindowTextW(window, step.text.c_str());
  if (step.setCheck) SendMessageW(window, BM_SETCHECK, static_cast<WPARAM>(step.check), 0);
  if (step.enable) EnableWindow(window, step.enabled);
  if (step.show) ShowWindow(window, step.visible ? SW_SHOW : SW_HIDE);
}

}  // namespace

VisibleState ReadVisibleState(HWND dialog, size_t windowsBefore) {
  VisibleState state;
  state.windows.push_back(StateOf(dialog));
  EnumChildWindows(dialog, AddWindowState, reinterpret_cast<LPARAM>(&state.windows));
  for (HWND owned : OwnedBy(dialog)) state.windows.push_back(StateOf(owned));
  state.windowCount = LiveWindowCount() - windowsBefore;
  return state;
}

std::wstring FirstDifference(const VisibleState& expected, const VisibleState& actual) {
  if (expected.windowCount != actual.windowCount)
    return L"windows made: " + std::to_wstring(expected.windowCount) + L" against " +
           std::to_wstring(actual.windowCount);
  if (expected.windows.size() != actual.windows.size())
    return L"windows in the dialog: " + std::to_wstring(expected.windows.size()) + L" against " +
           std::to_wstring(actual.windows.size());
  for (size_t i = 0; i < expected.windows.size(); ++i)
    if (!(expected.windows[i] == actual.windows[i]))
      return Describe(expected.windows[i]) + L" against " + Describe(actual.windows[i]);
  return std::wstring();
}

bool RunHostCycle(const CLSID& clsid, hostsim::HostParent* parent, HWND window, VisibleState* shown,
                  std::vector<FloorPlan::Tooltip>* tooltips) {
  const size_t windowsBefore = shown ? LiveWindowCount() : 0;
  std::optional<TooltipWatch> watch;
  if (shown) watch.emplace();
  IClassFactory* factory = nullptr;
  if (FAILED(CoGetClassObject(clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory))))
    return false;
  IPVChild* child = nullptr;
  const HRESULT created =
      factory->CreateInstance(nullptr, __uuidof(IPVChild), reinterpret_cast<void**>(&child));
  factory->Release();
  if (FAILED(created)) return false;
  IPVChildPtr page(child, false);
  IPVPanel3Ptr panel(page);
  bool ok = SUCCEEDED(page->Init(parent->GetUnknown())) && panel && SUCCEEDED(panel->Create(window));
  ok = ok && SUCCEEDED(panel->Show(SW_SHOW)) && SUCCEEDED(page->PreInitialActivate()) &&
       SUCCEEDED(page->OnActivate());
  if (ok && shown) {
    HWND dialog = GetWindow(window, GW_CHILD);
    ok = dialog != nullptr;
    if (ok) *shown = ReadVisibleState(dialog, windowsBefore);
    if (ok && tooltips) {
      tooltips->clear();
      for (HWND owned : OwnedBy(dialog))
        if (IsClass(StateOf(owned).className, TOOLTIPS_CLASSW)) tooltips->push_back(TooltipOf(owned, dialog));
    }
  }
  ok = ok && SUCCEEDED(page->OnDeactivate());
  if (panel) panel->Destroy();
  return ok;
}

bool PlanFloor(const Page& page, const hostsim::ModuleDefinition& definition, FloorPlan* plan,
               std::wstring* error) {
  hostsim::Ref<hostsim::HostModule> module(hostsim::HostModule::Create(definition));
  hostsim::Ref<hostsim::HostParent> parent(hostsim::HostParent::Create(module.get()));
  hostsim::HostWindow window;
  const hostsim::ConfigurationTag* tag = module->StandardTag();
  if (!tag || !RunHostCycle(page.clsid, parent.get(), window.get(), &plan->page, &plan->tooltips)) {
    *error = L"the page does not open";
    return false;
  }
  plan->reads = ReadsOf(*tag);

  const size_t windowsBefore = LiveWindowCount();
  HWND dialog = BuildTemplate(page, window.get());
  if (!dialog) {
    *error = L"the template does not build";
    return false;
  }
  const VisibleState bare = ReadVisibleState(dialog, windowsBefore);
  DestroyWindow(dialog);
  const size_t made = bare.windows.size() + plan->tooltips.size();
  if (bare.windowCount + plan->tooltips.size() != plan->page.windowCount ||
      made != plan->page.windows.size()) {
    *error = L"the page makes windows its template does not: " + FirstDifference(plan->page, bare);
    return false;
  }
  plan->steps.clear();
  for (size_t i = 0; i < bare.windows.size(); ++i) {
    FloorPlan::WindowStep step;
    if (!StepFor(i, bare.windows[i], plan->page.windows[i], &step)) {
      *error = L"the page's windows are not its template's: " + FirstDifference(plan->page, bare);
      return false;
    }
    step.id = bare.windows[i].id;
    if (!HasWork(step)) continue;
    // The floor finds a window by its id, so an id it changes must be the template's first.
    for (size_t j = 1; j < i && step.window != 0; ++j)
      if (bare.windows[j].id == step.id) {
        *error = L"a window to change shares its id " + std::to_wstring(step.id) + L" with an earlier one";
        return false;
      }
    plan->steps.push_back(std::move(step));
  }
  return true;
}

Floor BuildFloor(const Page& page, const FloorPlan& plan, HWND parent, ITag* tag) {
  Floor floor;
  HWND dialog = BuildTemplate(page, parent);
  if (!dialog) return floor;
  floor.dialog = dialog;
  for (const FloorPlan::TagRead& read : plan.reads) {
    switch (read.kind) {
      case FloorPlan::Read::kValue: {
        VARIANT value;
        VariantInit(&value);
        tag->GetMemberValue(read.member, &value);
        VariantClear(&value);
        break;
      }
      case FloorPlan::Read::kEnumValue: {
        LONG index = -1;
        tag->GetEnumValue(read.member, &index);
        break;
      }
      case FloorPlan::Read::kEnumTexts: {
        SAFEARRAY* texts = nullptr;
        if (SUCCEEDED(tag->GetEnumStrings(read.member, &texts)) && texts) SafeArrayDestroy(texts);
        break;
      }
    }
  }
  for (const FloorPlan::WindowStep& step : plan.steps) Apply(WindowOf(dialog, step), step);
  for (const FloorPlan::Tooltip& made : plan.tooltips) {
    HWND tooltip = CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, made.style, 0, 0, 0, 0, dialog, nullptr,
                                   nullptr, nullptr);
    for (size_t i = 0; i < made.tools.size(); ++i) {
      TOOLINFOW tool = made.tools[i];
      if (!tool.hwnd) tool.hwnd = dialog;
      tool.lpszText = const_cast<LPWSTR>(made.toolTexts[i].c_str());
      SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(tooltip, TTM_ACTIVATE, made.active, 0);
    floor.tooltips.push_back(tooltip);
  }
  return floor;
}

void DestroyFloor(const Floor& floor) {
  for (HWND tooltip : floor.tooltips) DestroyWindow(tooltip);
  if (floor.dialog) DestroyWindow(floor.dialog);
}

bool LoadViewDll(const std::string& name, ViewDll* view, std::string* error) {
  view->name = name;
  const bool electromagnetic = name == "FluxorView.dll";
  const auto definition = hostsim::LoadModuleDefinition(
      electromagnetic ? hostsim::ElectromagneticDefinitionFile() : hostsim::CoriolisDefinitionFile(), error);
  if (!definition) return false;
  view->definition = *definition;
  const fs::path path = BuiltBinaries() / name;
  view->module = LoadLibraryW(PlatformPath(path).c_str());
  const std::string languageName = name.substr(0, name.size() - 4) + "ENU.dll";
  view->language =
      LoadLibraryExW(PlatformPath(BuiltBinaries() / languageName).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  auto registerServer = view->module ? reinterpret_cast<HRESULT (*)()>(reinterpret_cast<void (*)()>(
                                           GetProcAddress(view->module, "DllRegisterServer")))
                                     : nullptr;
  if (!registerServer || FAILED(registerServer()) || !view->language) {
    *error = name + " does not load or register";
    return false;
  }
  for (const hostcli::RegisteredClass& registered : hostcli::RegisteredClasses()) {
    if (hostcli::Lower(registered.server) != hostcli::Lower(PlatformPath(path))) continue;
    const auto templateId = kTemplates.find(registered.title);
    Page page;
    page.title = registered.title;
    page.language = view->language;
    if (templateId == kTemplates.end() || FAILED(CLSIDFromString(registered.clsid.c_str(), &page.clsid))) {
      *error = name + " registers a page of no known template: " + hostcli::Utf8(registered.title);
      return false;
    }
    page.templateId = templateId->second;
    view->pages.push_back(std::move(page));
  }
  return true;
}

void UnloadViewDll(ViewDll* view) {
  if (view->language) FreeLibrary(view->language);
  if (view->module) FreeLibrary(view->module);
  view->language = view->module = nullptr;
}

}  // namespace pagebench
