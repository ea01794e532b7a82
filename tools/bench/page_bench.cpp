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
// medians of the runs. (The Windows build measures the same with page_bench_windows.cpp.)
#include <windows.h>

#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <vector>

#include "BenchPages.h"
#include "BenchPlatform.h"

namespace {

using pagebench::PageUnderTest;

void BM_PageCycle(benchmark::State& state, const PageUnderTest* page) {
  pagebench::BenchHost host(page->dll->definition);
  for (auto _ : state) {
    if (!pagebench::CycleOnce(host, *page)) {
      state.SkipWithError("the page does not open");
      break;
    }
  }
  pagebench::ForgetLogRecords();
}

void BM_PageFloor(benchmark::State& state, const PageUnderTest* page) {
  pagebench::BenchHost host(page->dll->definition);
  const ITagPtr tag = pagebench::ConfigurationTagOf(host);
  for (auto _ : state) {
    if (!pagebench::FloorOnce(host, tag, *page)) {
      state.SkipWithError("the template does not build");
      break;
    }
  }
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
    pagebench::PageTimes times;
    for (const auto& [page, kinds] : m_times) {
      const auto cycle = kinds.find("cycle");
      const auto floor = kinds.find("floor");
      if (cycle != kinds.end() && floor != kinds.end())
        times[page] = {cycle->second.Value(), floor->second.Value()};
    }
    pagebench::PrintRatioTable(times);
  }

 private:
  struct Times {
    std::vector<double> runs;
    std::vector<double> medians;
    double Value() const { return runs.empty() ? pagebench::Median(medians) : pagebench::Median(runs); }
  };
  std::map<std::string, std::map<std::string, Times>> m_times;
};

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  const std::vector<std::string> dlls = pagebench::TakeDllArguments(&args);
  std::vector<char*> rest{argv[0]};
  for (std::string& arg : args) rest.push_back(arg.data());
  int restCount = static_cast<int>(rest.size());
  benchmark::Initialize(&restCount, rest.data());

  pagebench::BenchPages loaded;
  const bool ok = pagebench::LoadBenchPages(dlls, &loaded);
  if (ok) {
    for (const auto& page : loaded.pages) {
      benchmark::RegisterBenchmark(("cycle/" + page->label).c_str(), BM_PageCycle, page.get())
          ->Unit(benchmark::kMicrosecond);
      benchmark::RegisterBenchmark(("floor/" + page->label).c_str(), BM_PageFloor, page.get())
          ->Unit(benchmark::kMicrosecond);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
  }
  benchmark::Shutdown();
  pagebench::UnloadBenchPages(&loaded);
  return ok ? 0 : 1;
}
