// Opening a page beside its floor on the platform itself (the Windows build; the Linux build
// measures with page_bench.cpp on the distribution's microbenchmark library, which the cross
// toolchain does not have). The same cycle and floor (BenchPages.h), timed with the
// performance counter: for each page, one untimed cycle and floor first, then each repetition
// times a fixed number of iterations of the cycle and then of the floor; a page's time is the
// median over the repetitions of the time per iteration.
//
//   page_bench [--dll NAME.dll]... [--iterations N] [--repetitions N] [--filter TEXT]
//
// With no --dll both view DLLs are measured; --filter keeps the pages whose label ("DLL:title")
// contains the text. Prints each repetition's times, then the table of page_bench.cpp: per
// page the cycle, its floor and their ratio, and the total of each DLL.
#include <windows.h>

#include <platform/utf8.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "BenchPages.h"

namespace {

struct Settings {
  long iterations = 100;
  long repetitions = 1;
  std::string filter;
};

// Reads the settings; false with the reason on standard error for an argument it does not know.
bool ReadSettings(const std::vector<std::string>& args, Settings* settings) {
  for (size_t i = 0; i < args.size(); ++i) {
    const bool hasValue = i + 1 < args.size();
    if (args[i] == "--iterations" && hasValue) {
      settings->iterations = std::strtol(args[++i].c_str(), nullptr, 10);
    } else if (args[i] == "--repetitions" && hasValue) {
      settings->repetitions = std::strtol(args[++i].c_str(), nullptr, 10);
    } else if (args[i] == "--filter" && hasValue) {
      settings->filter = args[++i];
    } else {
      std::fprintf(stderr, "page_bench: unknown argument %s\n", args[i].c_str());
      return false;
    }
  }
  if (settings->iterations < 1 || settings->repetitions < 1) {
    std::fprintf(stderr, "page_bench: --iterations and --repetitions take a number of at least 1\n");
    return false;
  }
  return true;
}

double CounterNanoseconds(LONGLONG ticks) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(ticks) * 1e9 / static_cast<double>(frequency.QuadPart);
}

// The nanoseconds per iteration of the step done `iterations` times, or a negative number when
// it fails.
template <typename Step>
double TimePerIteration(long iterations, Step step) {
  LARGE_INTEGER start, end;
  QueryPerformanceCounter(&start);
  for (long i = 0; i < iterations; ++i)
    if (!step()) return -1;
  QueryPerformanceCounter(&end);
  return CounterNanoseconds(end.QuadPart - start.QuadPart) / static_cast<double>(iterations);
}

// The page's cycle and floor, each the median of its repetitions; false when either fails.
bool MeasurePage(const pagebench::PageUnderTest& page, const Settings& settings,
                 std::pair<double, double>* time) {
  pagebench::BenchHost cycleHost(page.dll->definition);
  pagebench::BenchHost floorHost(page.dll->definition);
  const ITagPtr tag = pagebench::ConfigurationTagOf(floorHost);
  const auto cycle = [&] { return pagebench::CycleOnce(cycleHost, page); };
  const auto floor = [&] { return pagebench::FloorOnce(floorHost, tag, page); };
  if (!cycle() || !floor()) {
    std::fprintf(stderr, "%s: the page does not open or its floor does not build\n", page.label.c_str());
    return false;
  }
  std::vector<double> cycles, floors;
  for (long repetition = 0; repetition < settings.repetitions; ++repetition) {
    cycles.push_back(TimePerIteration(settings.iterations, cycle));
    if (cycles.back() < 0) return false;
    std::printf("cycle/%-54s %10.2f us %8ld iterations\n", page.label.c_str(), cycles.back() / 1e3,
                settings.iterations);
  }
  for (long repetition = 0; repetition < settings.repetitions; ++repetition) {
    floors.push_back(TimePerIteration(settings.iterations, floor));
    if (floors.back() < 0) return false;
    std::printf("floor/%-54s %10.2f us %8ld iterations\n", page.label.c_str(), floors.back() / 1e3,
                settings.iterations);
  }
  *time = {pagebench::Median(cycles), pagebench::Median(floors)};
  return true;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(platform::Utf8TextFromWide(argv[i]));
  const std::vector<std::string> dlls = pagebench::TakeDllArguments(&args);
  Settings settings;
  if (!ReadSettings(args, &settings)) return 2;

  pagebench::BenchPages loaded;
  bool ok = pagebench::LoadBenchPages(dlls, &loaded);
  pagebench::PageTimes times;
  for (const auto& page : loaded.pages) {
    if (!ok) break;
    if (page->label.find(settings.filter) == std::string::npos) continue;
    ok = MeasurePage(*page, settings, &times[page->label]);
  }
  if (ok) pagebench::PrintRatioTable(times);
  pagebench::UnloadBenchPages(&loaded);
  return ok ? 0 : 1;
}
