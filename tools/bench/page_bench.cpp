// Opening a page, measured beside its floor. For every page a view DLL registers, one full
// host cycle (class object, CreateInstance, Init, Create, Show, activation, deactivation,
// Destroy, Release) against the least the same work needs without the framework: the page's
// template built into windows by the dialog manager with a plain dialog procedure, and the
// members the page reads taken straight from the simulated tag.
//
//   page_bench [--dll NAME.dll]... [benchmark flags]
//
// With no --dll both view DLLs are measured. After the benchmarks it prints, per page, the
// time of a cycle, its floor and their ratio, and the total of each DLL.
#include <windows.h>

#include <HostParent.h>
#include <HostServers.h>
#include <ModuleDefinition.h>
#include <OrvoLog.h>
#include <PVInterfaces.h>
#include <comdef.h>
#include <platform/paths.h>
#include <platform/testing_windows.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "../host/HostRegistry.h"
#include "../host/HostText.h"

namespace {

namespace fs = std::filesystem;
namespace pw = platform::windows;

_COM_SMARTPTR_TYPEDEF(IPVChild, __uuidof(IPVChild));
_COM_SMARTPTR_TYPEDEF(IPVPanel3, __uuidof(IPVPanel3));

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

fs::path BuiltBinaries() {
  const char* bin = std::getenv("PROJECT_BIN_DIR");
  if (bin) return bin;
  return fs::read_symlink("/proc/self/exe").parent_path();
}

std::wstring PlatformPath(const fs::path& path) {
  return platform::PlatformPathFromHost(path.string());
}

// One view DLL loaded and registered, with the simulated host its pages run in.
struct ViewDll {
  std::string name;
  HMODULE module = nullptr;
  HMODULE language = nullptr;  // the English resource DLL, for the templates
  hostsim::ModuleDefinition definition;
};

struct PageUnderTest {
  ViewDll* dll;
  std::wstring title;
  CLSID clsid;
  int templateId;
  // What the page reads: the members whose value it read, and those of them that are
  // enumerations (their texts are read too).
  std::vector<_bstr_t> members;
  std::vector<_bstr_t> enumerations;
};

struct Host {
  hostsim::Ref<hostsim::HostModule> module;
  hostsim::Ref<hostsim::HostParent> parent;
  hostsim::HostWindow window;

  explicit Host(const hostsim::ModuleDefinition& definition)
      : module(hostsim::HostModule::Create(definition)), parent(hostsim::HostParent::Create(module.get())) {}
};

bool Cycle(const PageUnderTest& page, Host& host) {
  IClassFactory* factory = nullptr;
  if (FAILED(CoGetClassObject(page.clsid, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory))))
    return false;
  IPVChild* child = nullptr;
  const HRESULT created =
      factory->CreateInstance(nullptr, __uuidof(IPVChild), reinterpret_cast<void**>(&child));
  factory->Release();
  if (FAILED(created)) return false;
  IPVChildPtr page_(child, false);
  IPVPanel3Ptr panel(page_);
  bool ok = SUCCEEDED(page_->Init(host.parent->GetUnknown())) && panel &&
            SUCCEEDED(panel->Create(host.window.get()));
  ok = ok && SUCCEEDED(panel->Show(SW_SHOW)) && SUCCEEDED(page_->PreInitialActivate()) &&
       SUCCEEDED(page_->OnActivate()) && SUCCEEDED(page_->OnDeactivate());
  if (panel) panel->Destroy();
  return ok;
}

INT_PTR CALLBACK PlainDialogProc(HWND, UINT message, WPARAM, LPARAM) {
  return message == WM_INITDIALOG;
}

bool Floor(const PageUnderTest& page, Host& host, ITag* tag) {
  HRSRC resource = FindResourceW(page.dll->language, MAKEINTRESOURCEW(page.templateId), RT_DIALOG);
  HGLOBAL loaded = resource ? LoadResource(page.dll->language, resource) : nullptr;
  const auto* bytes = loaded ? static_cast<LPCDLGTEMPLATEW>(LockResource(loaded)) : nullptr;
  HWND dialog =
      bytes ? CreateDialogIndirectParamW(page.dll->language, bytes, host.window.get(), PlainDialogProc, 0)
            : nullptr;
  if (!dialog) return false;
  for (const _bstr_t& member : page.members) {
    _variant_t value;
    tag->GetMemberValue(member, &value);
  }
  for (const _bstr_t& member : page.enumerations) {
    SAFEARRAY* texts = nullptr;
    if (SUCCEEDED(tag->GetEnumStrings(member, &texts)) && texts) SafeArrayDestroy(texts);
  }
  DestroyWindow(dialog);
  return true;
}

// The members one cycle of the page reads, found from the tag's read counts.
void FindMembersRead(PageUnderTest& page) {
  Host host(page.dll->definition);
  hostsim::ConfigurationTag* tag = host.module->StandardTag();
  if (!tag || !Cycle(page, host)) return;
  for (const hostsim::MemberDefinition& member : tag->Definition().members) {
    if (tag->ValueReadCount(member.name) == 0) continue;
    page.members.emplace_back(member.name.c_str());
    if (member.type == hostsim::MemberType::kEnumeration) page.enumerations.emplace_back(member.name.c_str());
  }
}

void BM_PageCycle(benchmark::State& state, const PageUnderTest* page) {
  Host host(page->dll->definition);
  for (auto _ : state) {
    if (!Cycle(*page, host)) {
      state.SkipWithError("the page does not open");
      break;
    }
  }
  orvolog::ClearRecords();
}

void BM_PageFloor(benchmark::State& state, const PageUnderTest* page) {
  Host host(page->dll->definition);
  ITag* tag = nullptr;
  host.module->GetConfigurationTag(&tag);
  ITagPtr owned(tag, false);
  for (auto _ : state) {
    if (!tag || !Floor(*page, host, tag)) {
      state.SkipWithError("the template does not build");
      break;
    }
  }
}

// Prints, after the run, each page's cycle against its floor and each DLL's total.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      const std::string name = run.benchmark_name();
      const double nanoseconds =
          run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      const size_t slash = name.find('/');
      if (slash == std::string::npos) continue;
      m_times[name.substr(slash + 1)][name.substr(0, slash)] = nanoseconds;
    }
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::map<std::string, std::pair<double, double>> totals;
    std::printf("\n%-48s %12s %12s %7s\n", "page", "cycle (us)", "floor (us)", "ratio");
    for (const auto& [page, times] : m_times) {
      const auto cycle = times.find("cycle");
      const auto floor = times.find("floor");
      if (cycle == times.end() || floor == times.end()) continue;
      std::printf("%-48s %12.2f %12.2f %6.2fx\n", page.c_str(), cycle->second / 1e3, floor->second / 1e3,
                  cycle->second / floor->second);
      auto& total = totals[page.substr(0, page.find(':'))];
      total.first += cycle->second;
      total.second += floor->second;
    }
    for (const auto& [dll, total] : totals)
      std::printf("%-48s %12.2f %12.2f %6.2fx\n", (dll + " (all pages)").c_str(), total.first / 1e3,
                  total.second / 1e3, total.first / total.second);
  }

 private:
  std::map<std::string, std::map<std::string, double>> m_times;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> dlls;
  std::vector<char*> rest{argv[0]};
  for (int i = 1; i < argc; ++i) {
    if (std::string(argv[i]) == "--dll" && i + 1 < argc)
      dlls.push_back(argv[++i]);
    else
      rest.push_back(argv[i]);
  }
  if (dlls.empty()) dlls = {"CorvaneView.dll", "FluxorView.dll"};
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());

  CoInitialize(nullptr);
  hostsim::RegisterHostServers();
  std::string error;
  const auto coriolis = hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
  const auto electromagnetic = hostsim::LoadModuleDefinition(hostsim::ElectromagneticDefinitionFile(), &error);
  if (!coriolis || !electromagnetic) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  std::vector<std::unique_ptr<ViewDll>> views;
  std::vector<std::unique_ptr<PageUnderTest>> pages;
  for (const std::string& name : dlls) {
    auto view = std::make_unique<ViewDll>();
    view->name = name;
    view->definition = name == "FluxorView.dll" ? *electromagnetic : *coriolis;
    const fs::path path = BuiltBinaries() / name;
    view->module = LoadLibraryW(PlatformPath(path).c_str());
    const std::string languageName = name.substr(0, name.size() - 4) + "ENU.dll";
    view->language = LoadLibraryExW(PlatformPath(BuiltBinaries() / languageName).c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    auto registerServer = view->module ? reinterpret_cast<HRESULT (*)()>(reinterpret_cast<void (*)()>(
                                             GetProcAddress(view->module, "DllRegisterServer")))
                                       : nullptr;
    if (!registerServer || FAILED(registerServer()) || !view->language) {
      std::fprintf(stderr, "%s does not load or register\n", name.c_str());
      return 1;
    }
    for (const hostcli::RegisteredClass& registered : hostcli::RegisteredClasses()) {
      if (hostcli::Lower(registered.server) != hostcli::Lower(PlatformPath(path))) continue;
      const auto templateId = kTemplates.find(registered.title);
      if (templateId == kTemplates.end()) continue;
      auto page = std::make_unique<PageUnderTest>();
      page->dll = view.get();
      page->title = registered.title;
      page->templateId = templateId->second;
      if (FAILED(CLSIDFromString(registered.clsid.c_str(), &page->clsid))) continue;
      FindMembersRead(*page);
      const std::string label = name + ":" + hostcli::Utf8(registered.title);
      benchmark::RegisterBenchmark(("cycle/" + label).c_str(), BM_PageCycle, page.get())
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("floor/" + label).c_str(), BM_PageFloor, page.get())
          ->Unit(benchmark::kMicrosecond);
      pages.push_back(std::move(page));
    }
    views.push_back(std::move(view));
  }
  orvolog::ClearRecords();
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
  pages.clear();
  for (auto& view : views) FreeLibrary(view->language);
  hostsim::RevokeHostServers();
  CoUninitialize();
  return 0;
}
