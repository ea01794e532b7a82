// Test support for the configuration components: a simulated module from a small module
// definition (or the built-in one), a host session for the prompt and string servers, the
// module's standard tag behind a real adapter, and the log lines a call left.
#pragma once

#include <HostModule.h>
#include <ModuleDefinition.h>
#include <OrvoLog.h>
#include <oleauto.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../PVComponents/tests/DllFolder.h"
#include "../../PVComponents/tests/HostSession.h"
#include "PVGetSetAdapterITag.h"
#include "PVLiveObjects.h"

namespace pvconfigtest {

// One standard tag "M:C" with a member of every kind, and a safety tag "M:S".
inline constexpr char kDefinition[] =
    "<module name=\"M\">"
    "<tag name=\"M:C\" kind=\"standard\" suffix=\"O\">"
    "<member name=\"Unit\" type=\"enumeration\" default=\"20\">"
    "<entry code=\"10\" text=\"ten\"/><entry code=\"20\" text=\"twenty\"/><entry code=\"-30\" "
    "text=\"minus\"/>"
    "</member>"
    "<member name=\"Level\" type=\"REAL\" default=\"0.5\" min=\"0\" max=\"100\"/>"
    "<member name=\"Count\" type=\"DINT\" default=\"3\" min=\"-9\" max=\"99\"/>"
    "<member name=\"Negative\" type=\"DINT\" default=\"-5\"/>"
    "<member name=\"Big\" type=\"LINT\" default=\"5000000000\"/>"
    "<member name=\"On\" type=\"BOOL\" default=\"true\"/>"
    "<member name=\"Name\" type=\"STRING\" default=\"abc\"/>"
    "</tag>"
    "<tag name=\"M:S\" kind=\"safety\"><member name=\"Guard\" type=\"DINT\" default=\"1\"/></tag>"
    "</module>";

inline hostsim::ModuleDefinition SmallDefinition() {
  std::string error;
  auto module = hostsim::ParseModuleDefinition(kDefinition, &error);
  EXPECT_TRUE(module.has_value()) << error;
  return module ? *module : hostsim::ModuleDefinition{};
}

inline std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

// The host session, a module over the small definition and an adapter on its standard tag.
class ConfigFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = hostsim::HostModule::Create(SmallDefinition());
    ITag* tag = nullptr;
    ASSERT_HR(S_OK, m_module->GetConfigurationTag(&tag));
    m_adapter = new CPVGetSetAdapterITag(tag);
    tag->Release();
    orvolog::ClearRecords();
  }
  void TearDown() override {
    if (m_adapter) m_adapter->Release();
    m_module->Release();
  }
  // After the derived fixtures' members (controls holding value objects) are gone too.
  ~ConfigFixture() override {
    EXPECT_EQ(PVLiveObjectReportText(), "") << "value objects, events, adapters or controls left alive";
  }

  hostsim::ConfigurationTag* Tag() const { return m_module->StandardTag(); }
  // The log lines ("function: message") since the last call, which clears them.
  static std::vector<std::wstring> TakeLog() {
    std::vector<std::wstring> lines = pvtest::LoggedSinceClear();
    orvolog::ClearRecords();
    return lines;
  }
  static std::wstring ReadReport(const wchar_t* member) {
    return std::wstring(
               L"CPVGetSetAdapeterErrorHandler::ErrorReadingValue: Error: Reading value for member ") +
           member + L" from services!\r\n";
  }
  static std::wstring SaveReport(const wchar_t* member) {
    return std::wstring(L"CPVGetSetAdapeterErrorHandler::ErrorSavingValue: Error: Saving value for member ") +
           member + L" to services!\r\n";
  }

  pvtest::HostSession m_session;
  hostsim::HostModule* m_module = nullptr;
  CPVGetSetAdapterITag* m_adapter = nullptr;
};

using Lines = std::vector<std::wstring>;

}  // namespace pvconfigtest
