// Opening a page, measured beside its floor. For every page a view DLL registers, one full
// host cycle (class object, CreateInstance, Init, Create, Show, activation, deactivation,
// Destroy, Release) against the least work that ends in what the page shows (PageFloor.h):
// the page's template built into windows by the dialog manager with a plain dialog procedure,
// the members the page reads taken straight from the simulated tag, and the windows brought
// to the page's texts, lists, selections, checks, enabled and visible states by direct calls.
//
//   page_bench [--dll NAME.dll]... [benchmark flags]
//
// With no --dll both view DLLs are measured. After the benchmarks it prints, per page, the
// time of a cycle, its floor and their ratio, and the total of each DLL; with repetitions the
// medians of the runs.
#include <windows.h>

#include <HostParent.h>
#include <HostServers.h>
#include <ModuleDefinition.h>
#include <OrvoLog.h>
#include <comdef.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "../host/HostText.h"
#include "PageFloor.h"

namespace {

struct PageUnderTest {
  const pagebench::ViewDll* dll;
  pagebench::Page page;
  pagebench::FloorPlan plan;
};

struct Host {
  hostsim::Ref<hostsim::HostModule> module;
  hostsim::Ref<hostsim::HostParent> parent;
  hostsim::HostWindow window;

  explicit Host(const hostsim::ModuleDefinition& definition)
      : module(hostsim::HostModule::Create(definition)), parent(hostsim::HostParent::Create(module.get())) {}
};

void BM_PageCycle(benchmark::State& state, const PageUnderTest* page) {
  Host host(page->dll->definition);
  for (auto _ : state) {
    if (!pagebench::RunHostCycle(page->page.clsid, host.parent.get(), host.window.get())) {
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
    const pagebench::Floor floor =
        tag ? pagebench::BuildFloor(page->page, page->plan, host.window.get(), tag) : pagebench::Floor{};
    if (!floor.dialog) {
      state.SkipWithError("the template does not build");
      break;
    }
    pagebench::DestroyFloor(floor);
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

// Prints, after the run, each page's cycle against its floor and each DLL's total. A
// benchmark's time is the median of its runs (its one run without repetitions); only the
// runs' own rows count, or the median rows when the runs are not reported.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& run : runs) {
      if (run.error_occurred || run.iterations == 0) continue;
      const bool own = run.run_type == Run::RT_Iteration;
      if (!own && run.aggregate_name != "median") continue;
      const std::string name = run.run_name.function_name;
      const size_t slash = name.find('/');
      if (slash == std::string::npos) continue;
      const double nanoseconds =
          run.GetAdjustedRealTime() * 1e9 / benchmark::GetTimeUnitMultiplier(run.time_unit);
      Times& times = m_times[name.substr(slash + 1)][name.substr(0, slash)];
      (own ? times.runs : times.medians).push_back(nanoseconds);
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
      const double cycleTime = cycle->second.Value();
      const double floorTime = floor->second.Value();
      std::printf("%-48s %12.2f %12.2f %6.2fx\n", page.c_str(), cycleTime / 1e3, floorTime / 1e3,
                  cycleTime / floorTime);
      auto& total = totals[page.substr(0, page.find(':'))];
      total.first += cycleTime;
      total.second += floorTime;
    }
    std::pair<double, double> all;
    for (const auto& [dll, total] : totals) {
      std::printf("%-48s %12.2f %12.2f %6.2fx\n", (dll + " (all pages)").c_str(), total.first / 1e3,
                  total.second / 1e3, total.first / total.second);
      all.first += total.first;
      all.second += total.second;
    }
    if (totals.size() > 1)
      std::printf("%-48s %12.2f %12.2f %6.2fx\n", "all pages", all.first / 1e3, all.second / 1e3,
                  all.first / all.second);
  }

 private:
  struct Times {
    std::vector<double> runs;
    std::vector<double> medians;
    double Value() const { return runs.empty() ? Median(medians) : Median(runs); }
  };
  std::map<std::string, std::map<std::string, Times>> m_times;
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
  std::vector<std::unique_ptr<pagebench::ViewDll>> views;
  std::vector<std::unique_ptr<PageUnderTest>> pages;
  int result = 0;
  for (const std::string& name : dlls) {
    auto view = std::make_unique<pagebench::ViewDll>();
    std::string error;
    if (!pagebench::LoadViewDll(name, view.get(), &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      result = 1;
      break;
    }
    for (const pagebench::Page& registered : view->pages) {
      auto page = std::make_unique<PageUnderTest>();
      page->dll = view.get();
      page->page = registered;
      std::wstring planError;
      if (!pagebench::PlanFloor(page->page, view->definition, &page->plan, &planError)) {
        std::fprintf(stderr, "%s %s: %s\n", name.c_str(), hostcli::Utf8(registered.title).c_str(),
                     hostcli::Utf8(planError).c_str());
        result = 1;
        continue;
      }
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
  if (result == 0) {
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  }
  benchmark::Shutdown();
  pages.clear();
  for (auto& view : views) pagebench::UnloadViewDll(view.get());
  hostsim::RevokeHostServers();
  CoUninitialize();
  return result;
}
