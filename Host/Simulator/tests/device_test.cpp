// The simulated device behind the module's link services: its defaults from the module
// definition, reads by path in the type asked for, the services that change it, the record of
// requests, and the failure switches with the error information they leave.
#include <HostModule.h>
#include <oleauto.h>
#include <platform/testing_hresult.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using hostsim::DeviceAddress;
using hostsim::DeviceRequest;

VARIANT Number(VARTYPE vt, LONG value) {
  VARIANT v;
  VariantInit(&v);
  v.vt = vt;
  if (vt == VT_I1) v.cVal = static_cast<CHAR>(value);
  if (vt == VT_I2) v.iVal = static_cast<SHORT>(value);
  if (vt == VT_I4) v.lVal = value;
  if (vt == VT_R4) v.fltVal = static_cast<float>(value);
  return v;
}

// VT_ARRAY|VT_VARIANT over the elements, from lower.
_variant_t Array(const std::vector<VARIANT>& elements, LONG lower = 0) {
  SAFEARRAY* array = SafeArrayCreateVector(VT_VARIANT, lower, static_cast<ULONG>(elements.size()));
  for (size_t i = 0; i < elements.size(); ++i) {
    LONG index = lower + static_cast<LONG>(i);
    SafeArrayPutElement(array, &index, const_cast<VARIANT*>(&elements[i]));
  }
  VARIANT v;
  VariantInit(&v);
  v.vt = VT_ARRAY | VT_VARIANT;
  v.parray = array;
  _variant_t owned;
  owned.Attach(v);
  return owned;
}

_variant_t Path(LONG objectClass, LONG instance, LONG attribute, VARTYPE vt = VT_I2) {
  return Array({Number(vt, objectClass), Number(vt, instance), Number(vt, attribute)});
}

class Device : public ::testing::Test {
 protected:
  void SetUp() override {
    m_module = hostsim::HostModule::Create();
    SetErrorInfo(0, nullptr);
  }
  void TearDown() override {
    m_module->Release();
    SetErrorInfo(0, nullptr);
  }
  hostsim::SimulatedDevice& device() { return m_module->device; }
  IENetLinkCollectionManager* Link() { return m_module; }

  // A read whose result starts as the type given; the answer in *answer.
  HRESULT Read(const wchar_t* name, const _variant_t& path, VARTYPE wanted, _variant_t* answer) {
    VARIANT result;
    VariantInit(&result);
    result.vt = wanted;
    const HRESULT hr = Link()->ReadAttribute(_bstr_t(name), path, &result);
    answer->Attach(result);
    return hr;
  }
  HRESULT Execute(const wchar_t* name, const _variant_t& data) {
    return Link()->ExecuteService(_bstr_t(name), data);
  }
  // The description of the thread's error object, "" when there is none.
  static std::wstring TakeErrorDescription() {
    IErrorInfo* info = nullptr;
    if (GetErrorInfo(0, &info) != S_OK || !info) return L"";
    BSTR description = nullptr;
    info->GetDescription(&description);
    std::wstring text = description ? description : L"";
    SysFreeString(description);
    info->Release();
    return text;
  }

  hostsim::HostModule* m_module = nullptr;
};

TEST_F(Device, TheBuiltInDefinitionGivesTheCoriolisMetersDeviceDefaults) {
  EXPECT_EQ(device().TotalizerClass(), 115);
  EXPECT_EQ(device().Real({112, 1, 21}), 1.25f);
  EXPECT_EQ(device().Real({112, 1, 24}), 20.0f);
  EXPECT_EQ(device().Integer({112, 1, 23}), 807);
  for (LONG instance = 1; instance <= 3; ++instance) EXPECT_EQ(device().Integer({115, instance, 9}), -32226);
  EXPECT_EQ(device().Integer({0, 0, 104}), -32729);
  EXPECT_EQ(device().Integer({0, 0, 103}), -32472);
}

TEST_F(Device, TheElectromagneticDefinitionGivesItsTotalizersOnClass112) {
  std::string error;
  const auto definition = hostsim::LoadModuleDefinition(hostsim::ElectromagneticDefinitionFile(), &error);
  ASSERT_TRUE(definition.has_value()) << error;
  hostsim::SimulatedDevice fluxor(definition->device);
  EXPECT_EQ(fluxor.TotalizerClass(), 112);
  for (LONG instance = 1; instance <= 3; ++instance) EXPECT_EQ(fluxor.Integer({112, instance, 9}), -32226);
  EXPECT_EQ(fluxor.Integer({0, 0, 104}), -32729);
  EXPECT_FALSE(fluxor.Real({112, 1, 21}).has_value())
      << "the electromagnetic meter has no viscosity regulator";
}

TEST_F(Device, TheDefinitionRefusesAMalformedDeviceSection) {
  struct Case {
    const char* what;
    const char* device;
    bool parses;
  } cases[] = {
      {"a real and a code",
       R"(<device totalizerClass="112"><attribute class="112" instance="2" number="9" name="T" type="DINT" value="-5"/><attribute path="7" name="P" type="REAL" value="2.5"/></device>)",
       true},
      {"an unknown type",
       R"(<device><attribute class="1" instance="1" number="1" name="T" type="STRING"/></device>)", false},
      {"a class beyond 16 bits",
       R"(<device><attribute class="65536" instance="1" number="1" name="T" type="DINT"/></device>)", false},
      {"an address twice",
       R"(<device><attribute path="7" name="A" type="DINT"/><attribute path="7" name="B" type="DINT"/></device>)",
       false},
      {"another element", R"(<device><member name="x"/></device>)", false},
      {"no name", R"(<device><attribute path="7" type="DINT"/></device>)", false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::string error;
    auto definition =
        hostsim::ParseModuleDefinition(std::string("<module name=\"M\">") + c.device + "</module>", &error);
    EXPECT_EQ(definition.has_value(), c.parses) << error;
    if (definition && c.parses) {
      hostsim::SimulatedDevice parsed(definition->device);
      EXPECT_EQ(parsed.TotalizerClass(), 112);
      EXPECT_EQ(parsed.Integer({112, 2, 9}), -5);
      EXPECT_EQ(parsed.Real({0, 0, 7}), 2.5f);
    }
  }
}

TEST_F(Device, AReadAnswersInTheTypeTheResultAsksFor) {
  device().SetReal({112, 1, 21}, -1.5f);
  device().SetInteger({112, 1, 23}, -32226);
  _variant_t answer;
  ASSERT_HR(S_OK, Read(L"ViscosityCompX1", Path(112, 1, 21), VT_ARRAY | VT_UI1, &answer));
  ASSERT_EQ(answer.vt, VT_ARRAY | VT_UI1);
  ASSERT_EQ(answer.parray->rgsabound[0].cElements, 4u);
  ASSERT_EQ(answer.parray->rgsabound[0].lLbound, 0);
  float bits = 0.0f;
  std::memcpy(&bits, answer.parray->pvData, 4);  // least significant byte first
  EXPECT_EQ(bits, -1.5f);
  ASSERT_HR(S_OK, Read(L"ViscosityCompX1", Path(112, 1, 21), VT_R4, &answer));
  EXPECT_EQ(answer.vt, VT_R4);
  EXPECT_EQ(answer.fltVal, -1.5f);

  struct Case {
    VARTYPE wanted;
    VARTYPE answered;
    std::wstring text;  // the answer as text
  } cases[] = {
      {VT_EMPTY, VT_BSTR, L"-32226"}, {VT_BSTR, VT_BSTR, L"-32226"}, {VT_I2, VT_I2, L"-32226"},
      {VT_I4, VT_I4, L"-32226"},      {VT_R4, VT_R4, L"-32226"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.wanted);
    ASSERT_HR(S_OK, Read(L"ViscosityCalcModel", Path(112, 1, 23), c.wanted, &answer));
    EXPECT_EQ(answer.vt, c.answered);
    _variant_t text;
    ASSERT_HR(S_OK, VariantChangeType(&text, &answer, 0, VT_BSTR));
    EXPECT_EQ(std::wstring(text.bstrVal), c.text);
  }
  ASSERT_HR(S_OK, Read(L"TotalizerControl", Path(115, 2, 9, VT_I1), VT_EMPTY, &answer));
  EXPECT_EQ(std::wstring(answer.bstrVal), L"-32226");
  VARIANT level = Number(VT_I4, 104);
  VARIANT byRef;
  VariantInit(&byRef);
  byRef.vt = VT_BYREF | VT_I4;
  byRef.plVal = &level.lVal;
  ASSERT_HR(S_OK, Read(L"AccessStatusLevel", byRef, VT_I2, &answer));
  EXPECT_EQ(answer.vt, VT_I2);
  EXPECT_EQ(answer.iVal, -32729);
  ASSERT_HR(DISP_E_MEMBERNOTFOUND, Read(L"ServiceLevel", byRef, VT_I2, &answer))
      << "104 is not the service level";
}

TEST_F(Device, AMalformedPathOrAnotherNameIsRefused) {
  struct Case {
    const char* what;
    _variant_t path;
    const wchar_t* name;
    HRESULT expected;
  } cases[] = {
      {"two elements", Array({Number(VT_I2, 112), Number(VT_I2, 1)}), L"ViscosityCompX1", E_INVALIDARG},
      {"four elements", Array({Number(VT_I2, 112), Number(VT_I2, 1), Number(VT_I2, 21), Number(VT_I2, 0)}),
       L"ViscosityCompX1", E_INVALIDARG},
      {"lower bound 1", Array({Number(VT_I2, 112), Number(VT_I2, 1), Number(VT_I2, 21)}, 1),
       L"ViscosityCompX1", E_INVALIDARG},
      {"a VT_I4 element", Array({Number(VT_I2, 112), Number(VT_I4, 1), Number(VT_I2, 21)}),
       L"ViscosityCompX1", E_INVALIDARG},
      {"a VT_R4 element", Array({Number(VT_I2, 112), Number(VT_I2, 1), Number(VT_R4, 21)}),
       L"ViscosityCompX1", E_INVALIDARG},
      {"not an array", _variant_t(static_cast<LONG>(104)), L"AccessStatusLevel", E_INVALIDARG},
      {"another attribute's name", Path(112, 1, 21), L"ViscosityCompX2", DISP_E_MEMBERNOTFOUND},
      {"no such attribute", Path(112, 2, 21), L"ViscosityCompX1", DISP_E_MEMBERNOTFOUND},
      {"the elements mixed", Array({Number(VT_I1, 112), Number(VT_I2, 1), Number(VT_I1, 21)}),
       L"ViscosityCompX1", S_OK},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    _variant_t answer;
    EXPECT_HR(c.expected, Read(c.name, c.path, VT_R4, &answer));
    if (FAILED(c.expected)) {
      EXPECT_FALSE(TakeErrorDescription().empty()) << "a failure leaves error information";
    }
  }
  EXPECT_EQ(device().requests.size(), std::size(cases));
}

TEST_F(Device, AnAnswerOfTheTestsOwnIsGivenWhateverTypeIsAskedFor) {
  VARIANT nullText;
  VariantInit(&nullText);
  nullText.vt = VT_BSTR;
  nullText.bstrVal = nullptr;
  ASSERT_TRUE(device().SetAnswer({115, 1, 9}, nullText));
  _variant_t answer;
  ASSERT_HR(S_OK, Read(L"TotalizerControl", Path(115, 1, 9, VT_I1), VT_EMPTY, &answer));
  EXPECT_EQ(answer.vt, VT_BSTR);
  EXPECT_EQ(answer.bstrVal, nullptr);
  ASSERT_TRUE(device().SetAnswer({115, 1, 9}, _variant_t(L"33310")));
  ASSERT_HR(S_OK, Read(L"TotalizerControl", Path(115, 1, 9, VT_I1), VT_I4, &answer));
  EXPECT_EQ(std::wstring(answer.bstrVal), L"33310");
  device().ClearAnswer({115, 1, 9});
  ASSERT_HR(S_OK, Read(L"TotalizerControl", Path(115, 1, 9, VT_I1), VT_EMPTY, &answer));
  EXPECT_EQ(std::wstring(answer.bstrVal), L"-32226");
  EXPECT_FALSE(device().SetAnswer({1, 1, 1}, nullText)) << "no such attribute";
}

TEST_F(Device, TheServicesChangeTheDeviceAtOnceAndMalformedDataIsRefused) {
  const float written = 3.75f;
  LONG bits = 0;
  std::memcpy(&bits, &written, 4);
  EXPECT_HR(S_OK, Execute(L"SetAttributeSingleRegulator", Array({Number(VT_I1, 22), Number(VT_I4, bits)})));
  EXPECT_EQ(device().Real({112, 1, 22}), 3.75f);
  EXPECT_HR(S_OK, Execute(L"SetAttributeSingleSwitch",
                          Array({Number(VT_I1, 1), Number(VT_I1, 23), Number(VT_I2, 806)})));
  EXPECT_EQ(device().Integer({112, 1, 23}), 806);
  EXPECT_HR(S_OK, Execute(L"SetAttributeSingleTotalizer",
                          Array({Number(VT_I1, 3), Number(VT_I1, 9), Number(VT_I2, -32608)})));
  EXPECT_EQ(device().Integer({115, 3, 9}), -32608);
  EXPECT_HR(S_OK, Execute(L"Refresh", _variant_t()));

  struct Case {
    const char* what;
    const wchar_t* name;
    _variant_t data;
    HRESULT expected;
  } refused[] = {
      {"refresh with data", L"Refresh", Array({Number(VT_I1, 1)}), E_INVALIDARG},
      {"a VT_I2 attribute", L"SetAttributeSingleRegulator", Array({Number(VT_I2, 21), Number(VT_I4, bits)}),
       E_INVALIDARG},
      {"a missing element", L"SetAttributeSingleSwitch", Array({Number(VT_I1, 1), Number(VT_I1, 23)}),
       E_INVALIDARG},
      {"a VT_I4 code", L"SetAttributeSingleTotalizer",
       Array({Number(VT_I1, 1), Number(VT_I1, 9), Number(VT_I4, 198)}), E_INVALIDARG},
      {"lower bound 1", L"SetAttributeSingleTotalizer",
       Array({Number(VT_I1, 1), Number(VT_I1, 9), Number(VT_I2, 198)}, 1), E_INVALIDARG},
      {"no data", L"SetAttributeSingleTotalizer", _variant_t(), E_INVALIDARG},
      {"no such instance", L"SetAttributeSingleTotalizer",
       Array({Number(VT_I1, 4), Number(VT_I1, 9), Number(VT_I2, 198)}), DISP_E_MEMBERNOTFOUND},
      {"a code into a real", L"SetAttributeSingleSwitch",
       Array({Number(VT_I1, 1), Number(VT_I1, 21), Number(VT_I2, 198)}), DISP_E_MEMBERNOTFOUND},
      {"an unknown service", L"Reset", _variant_t(), DISP_E_MEMBERNOTFOUND},
  };
  for (const Case& c : refused) {
    SCOPED_TRACE(c.what);
    EXPECT_HR(c.expected, Execute(c.name, c.data));
  }
  EXPECT_EQ(device().Integer({115, 1, 9}), -32226) << "nothing refused changed the device";

  device().SetTotalizerClass(112);
  device().AddAttribute({{112, 2, 9}, L"TotalizerControl", false, 0.0f, 0});
  EXPECT_HR(S_OK, Execute(L"SetAttributeSingleTotalizer",
                          Array({Number(VT_I1, 2), Number(VT_I1, 9), Number(VT_I2, 199)})));
  EXPECT_EQ(device().Integer({112, 2, 9}), 199) << "the totalizer class the device is set to";
}

TEST_F(Device, TheRecordKeepsEveryRequestInOrderWithItsElementTypesAndAnswer) {
  _variant_t answer;
  Read(L"ViscosityRefTemp", Path(112, 1, 24), VT_R4, &answer);
  Execute(L"SetAttributeSingleTotalizer", Array({Number(VT_I1, 1), Number(VT_I1, 9), Number(VT_I2, 198)}));
  Execute(L"Refresh", _variant_t());
  const auto& record = device().requests;
  ASSERT_EQ(record.size(), 3u);
  EXPECT_EQ(record[0].operation, DeviceRequest::Operation::kRead);
  EXPECT_EQ(record[0].name, L"ViscosityRefTemp");
  EXPECT_EQ(record[0].argumentType, VT_ARRAY | VT_VARIANT);
  EXPECT_EQ(record[0].types, (std::vector<VARTYPE>{VT_I2, VT_I2, VT_I2}));
  EXPECT_EQ(record[0].values, (std::vector<LONG>{112, 1, 24}));
  EXPECT_EQ(record[0].requestedType, VT_R4);
  EXPECT_EQ(record[0].answer.vt, VT_R4);
  EXPECT_EQ(record[1].operation, DeviceRequest::Operation::kExecute);
  EXPECT_EQ(record[1].types, (std::vector<VARTYPE>{VT_I1, VT_I1, VT_I2}));
  EXPECT_EQ(record[1].values, (std::vector<LONG>{1, 9, 198}));
  EXPECT_EQ(record[2].name, L"Refresh");
  EXPECT_EQ(record[2].argumentType, VT_EMPTY);
  EXPECT_HR(S_OK, record[2].result);
  EXPECT_EQ(device().RequestsOf(L"Refresh").size(), 1u);
  EXPECT_EQ(device().Calls(), 3);
}

TEST_F(Device, AFailureSwitchFailsItsCallWithItsCodeAndLeavesErrorInformation) {
  device().Fail({0, L"Refresh", static_cast<HRESULT>(0x800422F9), L"Refresh pending", false});
  device().Fail({2, L"", static_cast<HRESULT>(0x80042204), L"Second call", true});
  _variant_t answer;
  EXPECT_HR(S_OK, Read(L"ViscosityRefTemp", Path(112, 1, 24), VT_R4, &answer));
  EXPECT_HR(0x80042204, Execute(L"SetAttributeSingleTotalizer",
                                Array({Number(VT_I1, 1), Number(VT_I1, 9), Number(VT_I2, 198)})));
  EXPECT_EQ(device().Integer({115, 1, 9}), -32226) << "a failed call changes nothing";

  // The error information is found as a client finds it: the link manager supports it.
  ISupportErrorInfo* support = nullptr;
  ASSERT_HR(S_OK, m_module->QueryInterface(__uuidof(ISupportErrorInfo), reinterpret_cast<void**>(&support)));
  EXPECT_HR(S_OK, support->InterfaceSupportsErrorInfo(__uuidof(IENetLinkCollectionManager)));
  EXPECT_HR(S_FALSE, support->InterfaceSupportsErrorInfo(__uuidof(IModule)));
  support->Release();
  EXPECT_EQ(TakeErrorDescription(), L"Second call");

  EXPECT_HR(0x800422F9, Execute(L"Refresh", _variant_t()));
  EXPECT_EQ(TakeErrorDescription(), L"Refresh pending");
  EXPECT_HR(0x800422F9, Execute(L"Refresh", _variant_t())) << "the name switch stays";
  EXPECT_HR(S_OK, Execute(L"SetAttributeSingleTotalizer",
                          Array({Number(VT_I1, 1), Number(VT_I1, 9), Number(VT_I2, 198)})));
  EXPECT_EQ(TakeErrorDescription(), L"") << "a success clears the error object";
  device().ClearFailures();
  EXPECT_HR(S_OK, Execute(L"Refresh", _variant_t()));
}

TEST_F(Device, TheLinkManagerAndTheCompanionAreOfferedAsTheSwitchesSay) {
  IUnknown* found = nullptr;
  EXPECT_HR(S_OK,
            m_module->QueryInterface(__uuidof(IENetLinkCollectionManager), reinterpret_cast<void**>(&found)));
  ASSERT_NE(found, nullptr);
  found->Release();
  EXPECT_HR(E_NOINTERFACE,
            m_module->QueryInterface(IID_IModuleLinkCompanion, reinterpret_cast<void**>(&found)));
  EXPECT_EQ(found, nullptr);
  m_module->link.offersCompanion = true;
  m_module->link.answersLinkManager = false;
  EXPECT_HR(S_OK, m_module->QueryInterface(IID_IModuleLinkCompanion, reinterpret_cast<void**>(&found)));
  ASSERT_NE(found, nullptr);
  found->Release();
  EXPECT_HR(E_NOINTERFACE,
            m_module->QueryInterface(__uuidof(IENetLinkCollectionManager), reinterpret_cast<void**>(&found)));
  EXPECT_EQ(m_module->link.linkManagerQueries, 2);
  EXPECT_EQ(m_module->link.companionQueries, 2);
}

}  // namespace
