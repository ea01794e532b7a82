// Test support for the framework's host-service tests: HRESULTs and wide texts that print,
// a session with COM initialized and the simulated host's servers registered, and the log
// records a call left.
#pragma once

#include <HostServers.h>
#include <OrvoLog.h>
#include <objbase.h>
#include <platform/testing_hresult.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

namespace pvtest {

using ::platform::test_support::Hr;

// COM for this thread, the host's servers registered, and an empty log; undone at the end.
class HostSession {
 public:
  explicit HostSession(const hostsim::HostServerOptions& options = {}) {
    m_initialized = SUCCEEDED(CoInitialize(nullptr));
    EXPECT_TRUE(m_initialized);
    EXPECT_EQ(Hr(S_OK), Hr(hostsim::RegisterHostServers(options)));
    hostsim::ResetServiceCounters();
    orvolog::ClearRecords();
  }
  ~HostSession() {
    hostsim::RevokeHostServers();
    if (m_initialized) CoUninitialize();
  }
  HostSession(const HostSession&) = delete;
  HostSession& operator=(const HostSession&) = delete;

 private:
  bool m_initialized = false;
};

// A log record as "function: message", for comparing with EXPECT_EQ.
inline std::wstring Describe(const orvolog::Record& record) {
  return record.function + L": " + record.message;
}

// Every record since the last ClearRecords, described.
inline std::vector<std::wstring> LoggedSinceClear() {
  std::vector<std::wstring> described;
  for (const orvolog::Record& record : orvolog::RecentRecords()) described.push_back(Describe(record));
  return described;
}

}  // namespace pvtest
