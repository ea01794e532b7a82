#include "BenchPages.h"

#include <HostServers.h>

#include <algorithm>
#include <cstdio>

#include "../host/HostText.h"
#include "BenchPlatform.h"

namespace pagebench {

BenchHost::BenchHost(const hostsim::ModuleDefinition& definition)
    : module(hostsim::HostModule::Create(definition)), parent(hostsim::HostParent::Create(module.get())) {}

bool CycleOnce(BenchHost& host, const PageUnderTest& page) {
  return RunHostCycle(page.page.clsid, host.parent.get(), host.window.get());
}

ITagPtr ConfigurationTagOf(BenchHost& host) {
  ITag* tag = nullptr;
  host.module->GetConfigurationTag(&tag);
  return ITagPtr(tag, false);
}

bool FloorOnce(BenchHost& host, ITag* tag, const PageUnderTest& page) {
  const Floor floor = tag ? BuildFloor(page.page, page.plan, host.window.get(), tag) : Floor{};
  if (!floor.dialog) return false;
  DestroyFloor(floor);
  return true;
}

std::vector<std::string> TakeDllArguments(std::vector<std::string>* args) {
  std::vector<std::string> dlls;
  std::vector<std::string> rest;
  for (size_t i = 0; i < args->size(); ++i) {
    if ((*args)[i] == "--dll" && i + 1 < args->size())
      dlls.push_back((*args)[++i]);
    else
      rest.push_back((*args)[i]);
  }
  *args = std::move(rest);
  return dlls;
}

bool LoadBenchPages(const std::vector<std::string>& dlls, BenchPages* loaded) {
  CoInitialize(nullptr);
  hostsim::RegisterHostServers();
  bool ok = true;
  for (const std::string& name :
       dlls.empty() ? std::vector<std::string>{"CorvaneView.dll", "FluxorView.dll"} : dlls) {
    auto view = std::make_unique<ViewDll>();
    std::string error;
    if (!LoadViewDll(name, view.get(), &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      UnloadViewDll(view.get());
      return false;
    }
    for (const Page& registered : view->pages) {
      auto page = std::make_unique<PageUnderTest>();
      page->dll = view.get();
      page->page = registered;
      page->label = name + ":" + hostcli::Utf8(registered.title);
      std::wstring planError;
      if (!PlanFloor(page->page, view->definition, &page->plan, &planError)) {
        std::fprintf(stderr, "%s: %s\n", page->label.c_str(), hostcli::Utf8(planError).c_str());
        ok = false;
        continue;
      }
      loaded->pages.push_back(std::move(page));
    }
    loaded->views.push_back(std::move(view));
  }
  ForgetLogRecords();
  return ok;
}

void UnloadBenchPages(BenchPages* loaded) {
  loaded->pages.clear();
  for (auto& view : loaded->views) UnloadViewDll(view.get());
  loaded->views.clear();
  hostsim::RevokeHostServers();
  CoUninitialize();
}

double Median(std::vector<double> values) {
  if (values.empty()) return 0;
  std::sort(values.begin(), values.end());
  const size_t middle = values.size() / 2;
  return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

void PrintRatioTable(const PageTimes& times) {
  const auto row = [](const std::string& name, double cycle, double floor) {
    std::printf("%-48s %12.2f %12.2f %6.2fx\n", name.c_str(), cycle / 1e3, floor / 1e3, cycle / floor);
  };
  std::printf("\n%-48s %12s %12s %7s\n", "page", "cycle (us)", "floor (us)", "ratio");
  std::map<std::string, std::pair<double, double>> totals;
  for (const auto& [page, time] : times) {
    row(page, time.first, time.second);
    auto& total = totals[page.substr(0, page.find(':'))];
    total.first += time.first;
    total.second += time.second;
  }
  std::pair<double, double> all;
  for (const auto& [dll, total] : totals) {
    row(dll + " (all pages)", total.first, total.second);
    all.first += total.first;
    all.second += total.second;
  }
  if (totals.size() > 1) row("all pages", all.first, all.second);
}

}  // namespace pagebench
