#include "PageSession.h"

#include <HostParent.h>
#include <HostServers.h>
#include <ModuleDefinition.h>
#include <PVInterfaces.h>
#include <comdef.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwctype>
#include <filesystem>
#include <map>
#include <optional>

#include "HostPlatform.h"
#include "HostRegistry.h"
#include "HostText.h"
#include "PageDrawing.h"

namespace hostcli {
namespace {

_COM_SMARTPTR_TYPEDEF(IPVChild, __uuidof(IPVChild));
_COM_SMARTPTR_TYPEDEF(IPVPanel3, __uuidof(IPVPanel3));

// Whether the server is the DLL the user named: by its file name alone, or by its path.
bool IsServer(const RegisteredClass& page, const std::string& dll) {
  const std::wstring wanted = Wide(dll);
  if (wanted.find_first_of(L"\\/") == std::wstring::npos)
    return Lower(FileNameOf(page.server)) == Lower(wanted);
  return Lower(page.server) == Lower(PlatformPath(dll));
}

std::optional<RegisteredClass> ResolvePage(const OpenOptions& options, std::string* error) {
  const std::wstring wanted = Wide(options.page);
  const bool byClsid = !wanted.empty() && wanted.front() == L'{';
  std::vector<RegisteredClass> candidates;
  for (RegisteredClass& page : RegisteredClasses()) {
    const bool named = byClsid ? Lower(page.clsid) == Lower(wanted) : page.title == wanted;
    if (named) candidates.push_back(std::move(page));
  }
  if (candidates.empty()) {
    *error = (byClsid ? "no class is registered under " : "no registered page is titled ") + Quoted(wanted);
    return std::nullopt;
  }
  if (!options.dll.empty()) {
    std::erase_if(candidates, [&](const RegisteredClass& page) { return !IsServer(page, options.dll); });
    if (candidates.empty()) {
      *error = Quoted(wanted) + " is not served by " + options.dll;
      return std::nullopt;
    }
  }
  if (candidates.size() > 1) {
    *error = Quoted(wanted) + " is served by more than one DLL; pick one with --dll:";
    for (const RegisteredClass& page : candidates)
      *error += "\n  " + Utf8(page.clsid) + "  " + Utf8(page.server);
    return std::nullopt;
  }
  return candidates.front();
}

// The meter's own definition for the DLL that serves the page.
std::filesystem::path DefaultDefinitionFor(const RegisteredClass& page) {
  return Lower(FileNameOf(page.server)) == L"fluxorview.dll" ? hostsim::ElectromagneticDefinitionFile()
                                                             : hostsim::CoriolisDefinitionFile();
}

std::string Hex(HRESULT hr) {
  char text[16];
  std::snprintf(text, sizeof(text), "0x%08X", static_cast<unsigned>(hr));
  return text;
}

// ---- What the page shows

std::vector<std::wstring> ComboEntries(HWND combo) {
  std::vector<std::wstring> entries;
  const int count = static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0));
  for (int i = 0; i < count; ++i) {
    const auto length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring text(static_cast<size_t>(std::max<LRESULT>(length, 0)) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    entries.push_back(text);
  }
  return entries;
}

bool IsCombo(HWND item) {
  return _wcsicmp(ClassOf(item).c_str(), L"ComboBox") == 0;
}
bool IsEdit(HWND item) {
  return _wcsicmp(ClassOf(item).c_str(), L"Edit") == 0;
}
bool IsButton(HWND item) {
  return _wcsicmp(ClassOf(item).c_str(), L"Button") == 0;
}

const char* StateOf(HWND item) {
  if (!IsWindowEnabled(item)) return "disabled";
  if (IsEdit(item) && (GetWindowLongW(item, GWL_STYLE) & ES_READONLY)) return "read-only";
  return "enabled";
}

std::vector<HWND> ItemsInTabOrder(HWND page) {
  std::vector<HWND> items;
  for (HWND item = GetWindow(page, GW_CHILD); item; item = GetWindow(item, GW_HWNDNEXT))
    items.push_back(item);
  return items;
}

// One line per item (a combo box's list on a second line), in tab order.
std::vector<std::pair<HWND, std::string>> ItemLines(HWND page) {
  std::vector<std::pair<HWND, std::string>> lines;
  for (HWND item : ItemsInTabOrder(page)) {
    char head[96];
    std::snprintf(head, sizeof head, "%5d  %-9s %-9s", static_cast<int16_t>(GetDlgCtrlID(item)),
                  (Utf8(ClassOf(item)) + (IsGroupBox(item) ? " (group box)" : "")).c_str(), StateOf(item));
    std::string line = head;
    if (IsCombo(item)) {
      const std::vector<std::wstring> entries = ComboEntries(item);
      const int selection = static_cast<int>(SendMessageW(item, CB_GETCURSEL, 0, 0));
      if (selection >= 0 && selection < static_cast<int>(entries.size()))
        line += " selection #" + std::to_string(selection) + " " +
                Quoted(entries[static_cast<size_t>(selection)]);
      else
        line += " no selection";
      line += "\n" + std::string(25, ' ') + "list:";
      for (size_t i = 0; i < entries.size(); ++i) line += (i ? ", " : " ") + Quoted(entries[i]);
    } else {
      line += " " + Quoted(TextOf(item));
    }
    lines.emplace_back(item, line);
  }
  return lines;
}

// The items as the page shows them; with before, each item that changed since is marked '*'.
void PrintItems(const std::vector<std::pair<HWND, std::string>>& lines,
                const std::vector<std::pair<HWND, std::string>>* before = nullptr) {
  for (const auto& [item, line] : lines) {
    bool changed = false;
    if (before) {
      const auto was =
          std::find_if(before->begin(), before->end(), [&](const auto& old) { return old.first == item; });
      changed = was == before->end() || was->second != line;
    }
    std::printf("%s%s\n", changed ? " *" : "  ", line.c_str());
  }
}

// Whether the item is one of the page's controls: the page exchanges every control of its list
// with its dialog item, which subclasses the item; labels, with an id or without, keep their
// class's procedure.
bool IsControl(HWND item) {
  WNDCLASSEXW info{};
  info.cbSize = sizeof info;
  if (!GetClassInfoExW(nullptr, ClassOf(item).c_str(), &info)) return false;
  return reinterpret_cast<WNDPROC>(GetWindowLongPtrW(item, GWLP_WNDPROC)) != info.lpfnWndProc;
}

int ControlCount(HWND page) {
  const std::vector<HWND> items = ItemsInTabOrder(page);
  return static_cast<int>(std::count_if(items.begin(), items.end(), IsControl));
}

// ---- What the user does

bool ChooseEntry(PageDriving& driving, HWND combo, const std::wstring& value, std::string* error) {
  const std::vector<std::wstring> entries = ComboEntries(combo);
  int index = -1;
  if (value.size() > 1 && value.front() == L'#' &&
      std::all_of(value.begin() + 1, value.end(), [](wchar_t c) { return std::iswdigit(c); })) {
    index = static_cast<int>(std::wcstol(value.c_str() + 1, nullptr, 10));
  } else {
    const auto found = std::find(entries.begin(), entries.end(), value);
    if (found != entries.end()) index = static_cast<int>(found - entries.begin());
  }
  if (index < 0 || index >= static_cast<int>(entries.size())) {
    *error = "the list has no entry " + Quoted(value);
    return false;
  }
  if (!driving.SelectComboItem(combo, index)) {
    *error = "the combo box does not take a choice (disabled or hidden)";
    return false;
  }
  return true;
}

// Focus in, the old text selected and deleted, the new one typed key by key, focus out to
// the next item in tab order.
bool Retype(PageDriving& driving, HWND page, HWND edit, const std::wstring& value, std::string* error) {
  if (!driving.FocusControl(edit)) {
    *error = "the edit box does not take the focus (disabled or hidden)";
    return false;
  }
  SendMessageW(edit, EM_SETSEL, 0, -1);
  driving.TypeText(edit, L"\b" + value);
  HWND next = GetNextDlgTabItem(page, edit, FALSE);
  if (!next || next == edit || !driving.FocusControl(next)) SetFocus(page);
  return true;
}

bool Click(PageDriving& driving, HWND button, const std::wstring& value, std::string* error) {
  if (value != L"click") {
    *error = "a button takes only \"click\"";
    return false;
  }
  if (!driving.ClickButton(button)) {
    *error = "the button does not take a click (disabled or hidden)";
    return false;
  }
  return true;
}

bool ApplySet(PageDriving& driving, HWND page, int id, const std::wstring& value, std::string* error) {
  HWND item = GetDlgItem(page, id);
  if (!item) {
    *error = "the page has no item " + std::to_string(id);
    return false;
  }
  bool done = false;
  if (IsCombo(item))
    done = ChooseEntry(driving, item, value, error);
  else if (IsEdit(item))
    done = Retype(driving, page, item, value, error);
  else if (IsButton(item))
    done = Click(driving, item, value, error);  // its timers run below
  else
    *error = "item " + std::to_string(id) + " (" + Utf8(ClassOf(item)) + ") takes no value";
  driving.RunTimers();
  return done;
}

// ---- What the page showed and wrote

const char* VariantTypeName(VARTYPE vt) {
  switch (vt) {
    case VT_BOOL:
      return "VT_BOOL";
    case VT_I4:
      return "VT_I4";
    case VT_I8:
      return "VT_I8";
    case VT_R4:
      return "VT_R4";
    case VT_R8:
      return "VT_R8";
    case VT_BSTR:
      return "VT_BSTR";
    case VT_EMPTY:
      return "VT_EMPTY";
    default:
      return "VT_?";
  }
}

void PrintShown(const hostsim::HostParent& parent, const PageDriving& driving) {
  for (const auto& dialog : parent.messageDialogs)
    std::printf("  message   %s caption %s help %ld\n", Quoted(dialog.text).c_str(),
                Quoted(dialog.caption).c_str(), static_cast<long>(dialog.helpContext));
  for (const auto& dialog : parent.errorDialogs)
    std::printf("  error     %s caption %s help %ld\n", Quoted(dialog.text).c_str(),
                Quoted(dialog.caption).c_str(), static_cast<long>(dialog.helpContext));
  for (const ShownBox& box : driving.Boxes()) {
    if (!box.hasHelpId) {
      std::printf("  box       %s caption %s\n", Quoted(box.text).c_str(), Quoted(box.caption).c_str());
      continue;
    }
    std::printf("  box       %s caption %s help %lu\n", Quoted(box.text).c_str(), Quoted(box.caption).c_str(),
                static_cast<unsigned long>(box.helpId));
    if (!box.missingHelpFile.empty())
      std::printf("  help      topic %lu of %s not shown: no help file is installed\n",
                  static_cast<unsigned long>(box.helpId), Utf8(box.missingHelpFile).c_str());
  }
}

const char* ElementTypeName(VARTYPE vt) {
  switch (vt) {
    case VT_I1:
      return "VT_I1";
    case VT_I2:
      return "VT_I2";
    case VT_I4:
      return "VT_I4";
    case VT_ARRAY | VT_UI1:
      return "VT_ARRAY|VT_UI1";
    default:
      return VariantTypeName(vt);
  }
}

// An enumeration's entry for a written code: its position in the list and its text, as the
// item list shows a selection (' (#2 "Volume flow")'); "" for any other member.
std::string EntryOf(const hostsim::ConfigurationTag& tag, const hostsim::ConfigurationTag::Write& write) {
  const hostsim::MemberDefinition* member = tag.Definition().Find(write.member);
  if (!member || member->type != hostsim::MemberType::kEnumeration) return "";
  wchar_t* end = nullptr;
  const long code = std::wcstol(write.value.c_str(), &end, 10);
  if (write.value.empty() || *end != L'\0') return "";
  for (size_t i = 0; i < member->entries.size(); ++i)
    if (member->entries[i].code == code)
      return " (#" + std::to_string(i) + " " + Quoted(member->entries[i].text) + ")";
  return "";
}

// What the device answered a read: its type and value.
std::string AnswerOf(const hostsim::DeviceRequest& request) {
  if (FAILED(request.result)) return "nothing";
  const VARIANT& answer = request.answer;
  if (V_VT(&answer) == (VT_ARRAY | VT_UI1) && V_ARRAY(&answer)) {
    std::string bytes = "bytes";
    const SAFEARRAY* array = V_ARRAY(&answer);
    const auto* data = static_cast<const unsigned char*>(array->pvData);
    for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) {
      char hex[4];
      std::snprintf(hex, sizeof hex, " %02X", data[i]);
      bytes += hex;
    }
    return "VT_ARRAY|VT_UI1 " + bytes;  // the value's bytes, least significant first
  }
  _variant_t text;
  VARIANT source = answer;  // a shallow copy, not cleared: not every SDK declares the source const
  if (FAILED(VariantChangeType(&text, &source, 0, VT_BSTR))) return ElementTypeName(V_VT(&answer));
  const std::wstring value = V_BSTR(&text) ? V_BSTR(&text) : L"";
  return std::string(ElementTypeName(V_VT(&answer))) + " " +
         (V_VT(&answer) == VT_BSTR ? Quoted(value) : Utf8(value));
}

// Where a read went: class, instance and attribute, or the host's path number.
std::string AddressOf(const hostsim::DeviceRequest& request) {
  if (request.argumentType == (VT_BYREF | VT_I4) && request.values.size() == 1)
    return "path " + std::to_string(request.values[0]);
  if (request.types.size() == 3 && request.values.size() == 3)
    return std::string("class ") + std::to_string(request.values[0]) + " instance " +
           std::to_string(request.values[1]) + " attribute " + std::to_string(request.values[2]) + " (" +
           ElementTypeName(request.types[0]) + ")";
  return "a malformed path";
}

// Every write that reached the tag, and every read and service the device was asked for.
void PrintWrites(const hostsim::HostModule& module) {
  for (hostsim::ConfigurationTag* tag : {module.StandardTag(), module.SafetyTag()}) {
    if (!tag) continue;
    for (const auto& write : tag->Writes())
      std::printf("  write     %s %s %s%s\n", Utf8(write.member).c_str(), VariantTypeName(write.vt),
                  Utf8(write.value).c_str(), EntryOf(*tag, write).c_str());
  }
  for (const hostsim::DeviceRequest& request : module.device.requests) {
    if (request.operation == hostsim::DeviceRequest::Operation::kRead) {
      std::printf("  read      %s %s asked %s: %s %s\n", Utf8(request.name).c_str(),
                  AddressOf(request).c_str(), ElementTypeName(request.requestedType),
                  AnswerOf(request).c_str(), Hex(request.result).c_str());
      continue;
    }
    std::printf("  device    %s [", Utf8(request.name).c_str());
    for (size_t i = 0; i < request.types.size(); ++i)
      std::printf("%s%s %ld", i ? ", " : "", ElementTypeName(request.types[i]),
                  static_cast<long>(i < request.values.size() ? request.values[i] : 0));
    std::printf("] %s\n", Hex(request.result).c_str());
  }
}

// DllCanUnloadNow of the loaded server: S_OK when it holds no object and no lock.
HRESULT ServerCanUnload(const std::wstring& server) {
  HMODULE module = GetModuleHandleW(server.c_str());
  if (!module) return S_OK;  // not loaded at all
  using CanUnloadNow = HRESULT(STDAPICALLTYPE*)();
  auto canUnload =
      reinterpret_cast<CanUnloadNow>(reinterpret_cast<void (*)()>(GetProcAddress(module, "DllCanUnloadNow")));
  return canUnload ? canUnload() : E_NOTIMPL;
}

// ---- One page opened, driven and closed

struct PageOutcome {
  int controls = 0;
  size_t failureRecords = 0;
  double openMilliseconds = 0;
  bool clean = false;
};

class PageRun {
 public:
  PageRun(const RegisteredClass& page, const hostsim::ModuleDefinition& definition,
          const OpenOptions& options)
      : m_page(page),
        m_options(options),
        m_module(hostsim::HostModule::Create(definition)),
        m_parent(hostsim::HostParent::Create(m_module.get())) {
    m_parent->vexil.mode = options.mode;
  }

  PageOutcome Run(const std::string& svgFile) {
    PageOutcome outcome;
    m_driving = StartPageDriving();
    const size_t windowsAtStart = m_driving->WindowCount();
    bool ok = true;
    std::vector<FailureRecord> failures;
    {
      ok = Open(&outcome) && ok;
      HWND window = PageWindow();
      if (window) {
        outcome.controls = ControlCount(window);
        const auto shown = ItemLines(window);
        PrintItems(shown);
        if (!m_options.actions.empty()) {
          ok = ApplySets(window) && ok;
          std::printf("  after the actions (* changed):\n");
          const auto after = ItemLines(window);
          PrintItems(after, &shown);
        }
        if (!svgFile.empty()) ok = Draw(window, svgFile) && ok;
      }
      if (m_options.save && m_child) {
        ok = Step("Save", m_child->Save(), true) && ok;
        ok = Step("OnDeactivate", m_child->OnDeactivate(), true) && ok;
      }
      PrintShown(*m_parent.get(), *m_driving);
      PrintWrites(*m_module.get());
      ok = Close() && ok;
      failures = m_driving->FailureRecords();
    }
    outcome.failureRecords = failures.size();
    ok = ReportLeft(windowsAtStart, failures) && ok;
    m_driving.reset();
    outcome.clean = ok;
    return outcome;
  }

 private:
  // Each step the host drives; a failure is printed, and with always every result.
  static bool Step(const char* name, HRESULT hr, bool always = false) {
    if (SUCCEEDED(hr)) {
      if (hr != S_OK || always) std::printf("  %s: %s\n", name, Hex(hr).c_str());
      return true;
    }
    std::printf("  %s failed: %s\n", name, Hex(hr).c_str());
    return false;
  }

  bool Open(PageOutcome* outcome) {
    CLSID clsid{};
    if (FAILED(CLSIDFromString(m_page.clsid.c_str(), &clsid))) {
      std::printf("  %s is no CLSID\n", Utf8(m_page.clsid).c_str());
      return false;
    }
    const auto start = std::chrono::steady_clock::now();
    IPVChild* child = nullptr;
    if (!Step("CoCreateInstance", CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IPVChild),
                                                   reinterpret_cast<void**>(&child))))
      return false;
    m_child.Attach(child);
    m_panel = m_child;
    if (!m_panel) {
      std::printf("  the page offers no panel\n");
      return false;
    }
    bool ok = Step("Init", m_child->Init(m_parent->GetUnknown()));
    if (m_options.languageGiven) ok = Step("SetLocale", m_child->SetLocale(m_options.language)) && ok;
    if (!Step("Create", m_panel->Create(m_window.get()))) return false;
    ok = Step("Show", m_panel->Show(SW_SHOW)) && ok;
    ok = Step("PreInitialActivate", m_child->PreInitialActivate()) && ok;
    ok = Step("OnActivate", m_child->OnActivate()) && ok;
    m_driving->RunTimers();
    outcome->openMilliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return ok;
  }

  // The page's window is the host window's first child or, for a page made from a pop-up
  // template, the first window the host window owns.
  HWND PageWindow() const {
    if (HWND child = GetWindow(m_window.get(), GW_CHILD)) return child;
    OwnedSearch search{m_window.get(), nullptr};
    EnumWindows(&FindOwned, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }

  struct OwnedSearch {
    HWND owner;
    HWND found;
  };
  // A named callback: on i686 the platform calls it __stdcall, which no lambda converts to.
  static BOOL CALLBACK FindOwned(HWND hwnd, LPARAM data) {
    auto* search = reinterpret_cast<OwnedSearch*>(data);
    if (GetWindow(hwnd, GW_OWNER) != search->owner) return TRUE;
    search->found = hwnd;
    return FALSE;
  }

  bool ApplySets(HWND window) {
    bool ok = true;
    for (const OpenOptions::Action& action : m_options.actions) {
      if (!action.event.empty()) {
        ok = SendEvent(action) && ok;
        continue;
      }
      std::string error;
      if (ApplySet(*m_driving, window, action.id, action.value, &error)) {
        std::printf("  set %d = %s\n", action.id, Quoted(action.value).c_str());
      } else {
        std::printf("  set %d = %s: %s\n", action.id, Quoted(action.value).c_str(), error.c_str());
        ok = false;
      }
    }
    return ok;
  }

  // One of the host's events, as the host sends it when the module changes elsewhere; a
  // change of the controller's state first changes the mode the host reports.
  bool SendEvent(const OpenOptions::Action& action) {
    IPVEventHandler2Ptr events = m_child;
    if (!events) {
      std::printf("  event %s: the page takes no events\n", action.event.c_str());
      return false;
    }
    if (!action.value.empty()) m_parent->vexil.mode = std::stol(action.value);
    const std::string& name = action.event;
    HRESULT hr = E_INVALIDARG;
    if (name == "VexilStateChanged")
      hr = events->VexilStateChanged(m_parent->vexil.mode);
    else if (name == "ModuleStatusChanged")
      hr = events->ModuleStatusChanged();
    else if (name == "Flush")
      hr = events->Flush();
    else if (name == "DataChanged")
      hr = events->DataChanged();
    else if (name == "ModuleDefinitionChanged")
      hr = events->ModuleDefinitionChanged();
    else if (name == "Reverted")
      hr = events->Reverted();
    else if (name == "DirtyStateChanged")
      hr = events->DirtyStateChanged();
    else if (name == "ModuleDeleted")
      hr = events->ModuleDeleted();
    m_driving->RunTimers();
    std::string shown = name;
    if (name == "VexilStateChanged") shown += "(" + std::to_string(m_parent->vexil.mode) + ")";
    return Step(("event " + shown).c_str(), hr, true);
  }

  bool Draw(HWND window, const std::string& svgFile) {
    std::string error;
    if (WritePageSvg(window, m_page.title, svgFile, &error)) {
      std::printf("  drawn into %s\n", svgFile.c_str());
      return true;
    }
    std::printf("  not drawn: %s\n", error.c_str());
    return false;
  }

  bool Close() {
    bool ok = true;
    if (m_panel) ok = Step("Destroy", m_panel->Destroy());
    m_panel = nullptr;
    m_child = nullptr;
    m_driving->PumpMessages();
    return ok;
  }

  bool ReportLeft(size_t windowsAtStart, const std::vector<FailureRecord>& failures) {
    bool clean = true;
    const HRESULT canUnload = ServerCanUnload(m_page.server);
    if (canUnload != S_OK) {
      std::printf("  left: the DLL holds objects or locks (DllCanUnloadNow %s)\n", Hex(canUnload).c_str());
      clean = false;
    }
    if (const std::string live = m_driving->LiveObjectsOf(m_page.server); !live.empty()) {
      std::printf("  left: %s\n", live.c_str());
      clean = false;
    }
    const size_t windows = m_driving->WindowCount();
    if (windows != windowsAtStart) {
      std::printf("  left: %zd windows\n", static_cast<ptrdiff_t>(windows - windowsAtStart));
      clean = false;
    }
    if (!failures.empty()) {
      std::printf("  left: %zu log records of failure\n", failures.size());
      for (const FailureRecord& record : failures)
        std::printf("    %s: %s\n", Utf8(record.function).c_str(), Utf8(record.message).c_str());
      clean = false;
    }
    return clean;
  }

  const RegisteredClass m_page;
  const OpenOptions m_options;
  hostsim::Ref<hostsim::HostModule> m_module;
  hostsim::Ref<hostsim::HostParent> m_parent;
  hostsim::HostWindow m_window;
  IPVChildPtr m_child;
  IPVPanel3Ptr m_panel;
  std::unique_ptr<PageDriving> m_driving;  // for one run of the page
};

std::optional<hostsim::ModuleDefinition> LoadDefinition(const std::filesystem::path& file) {
  std::string error;
  auto definition = hostsim::LoadModuleDefinition(file, &error);
  if (!definition) std::printf("%s: %s\n", file.string().c_str(), error.c_str());
  return definition;
}

std::filesystem::path DefinitionFile(const OpenOptions& options, const RegisteredClass& page) {
  return options.definition.empty() ? DefaultDefinitionFor(page) : std::filesystem::path(options.definition);
}

bool ParseSet(const std::string& text, std::pair<int, std::wstring>* set) {
  const size_t equals = text.find('=');
  if (equals == std::string::npos || equals == 0) return false;
  const std::string id = text.substr(0, equals);
  const bool negative = id[0] == '-';
  if (id.size() > 6 ||
      !std::all_of(id.begin() + (negative ? 1 : 0), id.end(), [](char c) { return c >= '0' && c <= '9'; }) ||
      id.size() == (negative ? 1u : 0u))
    return false;
  *set = {std::stoi(id), Wide(text.substr(equals + 1))};
  return true;
}

constexpr const char* kEventNames =
    "VexilStateChanged[=MODE], ModuleStatusChanged, Flush, DataChanged, ModuleDefinitionChanged, Reverted, "
    "DirtyStateChanged, ModuleDeleted";

// An event of the host by its name; VexilStateChanged may carry the controller mode the host
// reports from then on.
bool ParseEvent(const std::string& text, OpenOptions::Action* event) {
  static const char* const names[] = {
      "VexilStateChanged", "ModuleStatusChanged", "Flush",        "DataChanged", "ModuleDefinitionChanged",
      "Reverted",          "DirtyStateChanged",   "ModuleDeleted"};
  const size_t equals = text.find('=');
  const std::string name = text.substr(0, equals);
  if (std::find(std::begin(names), std::end(names), name) == std::end(names)) return false;
  event->event = name;
  if (equals == std::string::npos) return true;
  const std::string mode = text.substr(equals + 1);
  if (name != "VexilStateChanged" || mode.empty() || mode.size() > 9 ||
      !std::all_of(mode.begin(), mode.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  event->value = Wide(mode);
  return true;
}

bool ParseNumber(const std::string& text, unsigned long long limit, unsigned long long* value) {
  if (text.empty() || text.size() > 10 ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
    return false;
  *value = std::stoull(text);
  return *value <= limit;
}

// The host's prompt and string servers, registered in the process while pages are open.
class HostServers {
 public:
  HostServers() : m_result(hostsim::RegisterHostServers()) {
    if (FAILED(m_result)) std::printf("the host's servers are not registered (%s)\n", Hex(m_result).c_str());
  }
  ~HostServers() { hostsim::RevokeHostServers(); }
  HostServers(const HostServers&) = delete;
  HostServers& operator=(const HostServers&) = delete;

 private:
  HRESULT m_result;
};

}  // namespace

bool ParseOpenArguments(const std::vector<std::string>& args, bool all, OpenOptions* options,
                        std::string* error) {
  bool havePage = false;
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    unsigned long long number = 0;
    if (arg == "--definition" && hasValue) {
      options->definition = args[++i];
    } else if (arg == "--language" && hasValue) {
      if (!ParseNumber(args[++i], 0xFFFFFFFFull, &number))
        return *error = "--language takes a language id", false;
      options->language = static_cast<LCID>(number);
      options->languageGiven = true;
    } else if (arg == "--mode" && hasValue) {
      if (!ParseNumber(args[++i], 0x7FFFFFFFull, &number))
        return *error = "--mode takes a controller mode", false;
      options->mode = static_cast<LONG>(number);
    } else if (arg == "--svg" && hasValue) {
      options->svg = args[++i];
      if (options->svg.empty())
        return *error = all ? "--svg takes a folder to draw the pages into"
                            : "--svg takes a file to draw the page into",
               false;
    } else if (!all && arg == "--set" && hasValue) {
      std::pair<int, std::wstring> set;
      if (!ParseSet(args[++i], &set)) return *error = "--set takes ID=VALUE, not " + args[i], false;
      options->actions.push_back({"", set.first, set.second});
    } else if (!all && arg == "--event" && hasValue) {
      OpenOptions::Action event;
      if (!ParseEvent(args[++i], &event))
        return *error = "--event takes one of " + std::string(kEventNames) + ", not " + args[i], false;
      options->actions.push_back(event);
    } else if (!all && arg == "--save") {
      options->save = true;
    } else if (!all && arg == "--dll" && hasValue) {
      options->dll = args[++i];
    } else if (arg.rfind("--", 0) == 0) {
      return *error = "unknown or incomplete option " + arg, false;
    } else if (!havePage) {
      (all ? options->dll : options->page) = arg;
      havePage = true;
    } else {
      return *error = "unexpected argument " + arg, false;
    }
  }
  if (!havePage)
    return *error = all ? "open-all needs a DLL" : "open needs a page (a CLSID or a title)", false;
  return true;
}

int OpenPage(const OpenOptions& options) {
  std::string error;
  const auto page = ResolvePage(options, &error);
  if (!page) {
    std::printf("%s\n", error.c_str());
    return 1;
  }
  const auto definition = LoadDefinition(DefinitionFile(options, *page));
  if (!definition) return 1;
  std::printf("%s  %s\n    %s\n", Utf8(page->title).c_str(), Utf8(page->clsid).c_str(),
              Utf8(page->server).c_str());
  HostServers servers;
  PageRun run(*page, *definition, options);
  return run.Run(options.svg).clean ? 0 : 1;
}

namespace {

// Whether the DLL serves the class: its DllGetClassObject hands out a class factory for it.
bool Serves(HMODULE dll, const std::wstring& clsidText) {
  using GetClassObject = HRESULT(STDAPICALLTYPE*)(REFCLSID, REFIID, void**);
  auto get = reinterpret_cast<GetClassObject>(
      reinterpret_cast<void (*)()>(GetProcAddress(dll, "DllGetClassObject")));
  CLSID clsid{};
  if (!get || FAILED(CLSIDFromString(clsidText.c_str(), &clsid))) return false;
  IUnknown* factory = nullptr;
  if (FAILED(get(clsid, IID_IClassFactory, reinterpret_cast<void**>(&factory))) || !factory) return false;
  factory->Release();
  return true;
}

// The registered pages of the DLL, in catalogue order: those whose key names it, and those it
// serves under a key that names another DLL (both view DLLs serve the system page under one
// CLSID), each with the server its key names.
std::vector<RegisteredClass> PagesOf(const std::string& dll) {
  std::vector<RegisteredClass> registered = RegisteredClasses();
  std::vector<RegisteredClass> pages;
  std::wstring path;
  for (const RegisteredClass& page : registered)
    if (IsServer(page, dll)) {
      pages.push_back(page);
      path = page.server;
    }
  if (HMODULE module = path.empty() ? nullptr : LoadLibraryW(path.c_str())) {
    for (const RegisteredClass& page : registered)
      if (!IsServer(page, dll) && Serves(module, page.clsid)) pages.push_back(page);
    FreeLibrary(module);
  }
  // The page titles sort in the catalogue's order.
  std::sort(pages.begin(), pages.end(),
            [](const RegisteredClass& a, const RegisteredClass& b) { return a.title < b.title; });
  return pages;
}

}  // namespace

int OpenAllPages(const std::string& dll, const OpenOptions& options) {
  const std::vector<RegisteredClass> pages = PagesOf(dll);
  if (pages.empty()) {
    std::printf("%s serves no registered page\n", dll.c_str());
    return 1;
  }
  if (!options.svg.empty()) {
    std::error_code ec;
    if (std::filesystem::exists(options.svg, ec) && !std::filesystem::is_directory(options.svg, ec)) {
      std::printf("--svg %s: a file, not a folder to draw the pages into\n", options.svg.c_str());
      return 1;
    }
    if (std::filesystem::create_directories(options.svg, ec); ec) {
      std::printf("--svg %s: the folder cannot be made (%s)\n", options.svg.c_str(), ec.message().c_str());
      return 1;
    }
  }
  struct Summary {
    std::wstring title;
    std::wstring otherServer;  // the DLL the page's key names instead, when it is not this one
    PageOutcome outcome;
  };
  std::vector<Summary> summaries;
  // Each definition is read once; every page still gets a module of its own built from it.
  std::map<std::filesystem::path, hostsim::ModuleDefinition> definitions;
  HostServers servers;
  for (const RegisteredClass& page : pages) {
    if (!IsServer(page, dll)) {
      summaries.push_back({page.title, FileNameOf(page.server), {}});
      continue;
    }
    const std::filesystem::path file = DefinitionFile(options, page);
    auto definition = definitions.find(file);
    if (definition == definitions.end()) {
      auto loaded = LoadDefinition(file);
      if (!loaded) return 1;
      std::printf("module definition %s read\n", file.string().c_str());
      definition = definitions.emplace(file, std::move(*loaded)).first;
    }
    std::printf("%s  %s\n", Utf8(page.title).c_str(), Utf8(page.clsid).c_str());
    std::string svg;
    if (!options.svg.empty())
      svg = (std::filesystem::path(options.svg) / (Utf8(page.title) + ".svg")).string();
    PageRun run(page, definition->second, options);
    summaries.push_back({page.title, L"", run.Run(svg)});
  }
  int result = 0;
  std::printf("\n");
  for (const Summary& summary : summaries) {
    if (!summary.otherServer.empty()) {
      std::printf("%-36s served by %s: the key names it\n", Utf8(summary.title).c_str(),
                  Utf8(summary.otherServer).c_str());
      continue;
    }
    std::printf("%-36s %3d controls  %zu failures  %8.3f ms  %s\n", Utf8(summary.title).c_str(),
                summary.outcome.controls, summary.outcome.failureRecords, summary.outcome.openMilliseconds,
                summary.outcome.clean ? "clean" : "NOT CLEAN");
    if (!summary.outcome.clean) result = 1;
  }
  return result;
}

}  // namespace hostcli
