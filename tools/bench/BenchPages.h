// The pages a benchmark driver measures, each beside its floor, shared by the Linux driver
// (page_bench.cpp, on the distribution's microbenchmark library) and the Windows one
// (page_bench_windows.cpp, on the performance counter): the view DLLs loaded and their pages'
// floors planned, one cycle and one floor as a measured iteration does them, and the table
// of the results.
#pragma once

#include <HostModule.h>
#include <HostParent.h>

#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "PageFloor.h"

namespace pagebench {

struct PageUnderTest {
  const ViewDll* dll = nullptr;
  Page page;
  FloorPlan plan;
  std::string label;  // "DLL:title"
};

// The host objects of one page's measurement, built once before its iterations; the
// registry is opened in every iteration, as the host opens it for every page.
struct BenchHost {
  hostsim::Ref<hostsim::HostModule> module;
  hostsim::Ref<hostsim::HostParent> parent;
  hostsim::HostWindow window;

  explicit BenchHost(const hostsim::ModuleDefinition& definition);
};

// One host cycle of the page; false when it does not open.
bool CycleOnce(BenchHost& host, const PageUnderTest& page);
// The module's configuration tag, which the floor reads directly (taken once, before the
// floor's iterations; null when the module has none).
ITagPtr ConfigurationTagOf(BenchHost& host);
// The page's floor built and destroyed; false when its template does not build.
bool FloorOnce(BenchHost& host, ITag* tag, const PageUnderTest& page);

// The DLLs loaded (both view DLLs when none is named) with every page they register and its
// floor's plan, in registry order.
struct BenchPages {
  std::vector<std::unique_ptr<ViewDll>> views;
  std::vector<std::unique_ptr<PageUnderTest>> pages;
};

// Takes "--dll NAME" pairs out of the arguments, keeping the others in order.
std::vector<std::string> TakeDllArguments(std::vector<std::string>* args);
// COM initialized, the host's servers registered and the DLLs' pages planned; false when a
// DLL does not load or a page's floor cannot be planned, said on standard error.
bool LoadBenchPages(const std::vector<std::string>& dlls, BenchPages* loaded);
// Frees what LoadBenchPages loaded, revokes the servers and uninitializes COM.
void UnloadBenchPages(BenchPages* loaded);

double Median(std::vector<double> values);

// Per page (by label), the nanoseconds of a cycle and of its floor.
using PageTimes = std::map<std::string, std::pair<double, double>>;
// Prints each page's cycle, floor and ratio, each DLL's total and the total of all pages.
void PrintRatioTable(const PageTimes& times);

}  // namespace pagebench
