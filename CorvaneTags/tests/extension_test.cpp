// The tag extension as a host drives it: creation through the registry, attaching to the host
// object, the host's own validation, error information, the message and the language.
#include "TagsTestSupport.h"

namespace {

using tagstest::ExtensionFixture;
using tagstest::kNotAttached;
using tagstest::kNotPossibleText;
using tagstest::kProgId;
using tagstest::Narrow;

class Extension : public ExtensionFixture {};

TEST_F(Extension, WhenAttachedTwiceThenTheSecondAttachIsRefusedAndChangesNothing) {
  ASSERT_HR(S_OK, m_host->AttachExtension());
  m_host->SetLanguage(1031);
  EXPECT_HR(E_POINTER, m_host->AttachExtension());
  // Still English, still attached.
  m_tag->SetReal(L"Petroleum_Oil_density_sample", 1210.5f);
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_HR(E_FAIL, outcome.result);
  EXPECT_EQ(0u, outcome.errorDescription.find(L"Invalid configuration value"))
      << Narrow(outcome.errorDescription);
}

TEST_F(Extension, WhenNothingWasValidatedThenGetLastMessageSucceedsWithNull) {
  IValidate* validate = nullptr;
  ASSERT_HR(S_OK, m_host->QueryExtension(IID_IValidate, reinterpret_cast<void**>(&validate)));
  BSTR message = SysAllocString(L"junk");
  BSTR before = message;
  EXPECT_HR(S_OK, validate->GetLastMessage(&message));
  EXPECT_EQ(nullptr, message);
  SysFreeString(before);
  EXPECT_HR(E_POINTER, validate->GetLastMessage(nullptr));
  validate->Release();
}

TEST_F(Extension, ErrorInfoIsSupportedForIValidateOnly) {
  ISupportErrorInfo* support = nullptr;
  ASSERT_HR(S_OK, m_host->QueryExtension(IID_ISupportErrorInfo, reinterpret_cast<void**>(&support)));
  const struct {
    const char* name;
    IID iid;
    HRESULT expected;
  } cases[] = {{"IValidate", IID_IValidate, S_OK},
               {"IExtensionComponent", IID_IExtensionComponent, S_FALSE},
               {"IDispatch", IID_IDispatch, S_FALSE},
               {"IUnknown", IID_IUnknown, S_FALSE}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_HR(c.expected, support->InterfaceSupportsErrorInfo(c.iid));
  }
  support->Release();
}

TEST_F(Extension, WhenNotAttachedThenValidateReportsString102With0x80040300) {
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_HR(kNotAttached, outcome.result);
  ASSERT_TRUE(outcome.hasErrorInfo);
  EXPECT_TRUE(outcome.errorInterface == IID_IValidate);
  EXPECT_EQ(Narrow(kProgId), Narrow(outcome.errorSource));
  EXPECT_EQ(Narrow(kNotPossibleText), Narrow(outcome.errorDescription));
  EXPECT_EQ("", Narrow(outcome.errorHelpFile));
  EXPECT_HR(S_OK, outcome.lastMessageResult);
  EXPECT_FALSE(outcome.lastMessage.has_value());
  EXPECT_EQ(0, m_host->HostValidateCalls());
}

TEST_F(Extension, WhenTheHostObjectRefusesAnInterfaceThenAttachReturnsItsErrorAndKeepsEarlierSteps) {
  const struct {
    const char* name;
    IID refused;
    bool attachedAfterwards;  // the tag and the host validation were taken
  } cases[] = {
      {"tag", IID_ITag, false}, {"validation", IID_IValidate, false}, {"locale", IID_IHostLocale, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::TagExtensionHost* host = hostsim::TagExtensionHost::Create(m_tag);
    ASSERT_HR(S_OK, host->CreateExtension(tagstest::kExtensionClsid));
    host->RefuseInterface(c.refused);
    EXPECT_HR(E_NOINTERFACE, host->AttachExtension());
    // Any call after a partly failed one is refused.
    if (c.attachedAfterwards) {
      EXPECT_HR(E_POINTER, host->AttachExtension());
    }
    const auto outcome = host->ValidateWithExtension();
    EXPECT_HR(c.attachedAfterwards ? S_OK : kNotAttached, outcome.result);
    host->Release();
  }
}

TEST_F(Extension, WhenTheHostValidationFailsThenItsCodeAndMessagePassThroughAndNoRuleRuns) {
  ASSERT_HR(S_OK, m_host->AttachExtension());
  const HRESULT hostFailure = static_cast<HRESULT>(0x80041234);
  m_host->SetHostValidation(hostFailure, std::wstring(L"Module name missing"));
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_HR(hostFailure, outcome.result);
  EXPECT_FALSE(outcome.hasErrorInfo);
  ASSERT_TRUE(outcome.lastMessage.has_value());
  EXPECT_EQ("Module name missing", Narrow(*outcome.lastMessage));
  EXPECT_EQ(0, m_tag->ValueReadCount(L"System_units_Oil_density_unit"));
  EXPECT_EQ(1, m_host->HostMessageCalls());
}

TEST_F(Extension, WhenTheHostValidationFailsWithoutMessageThenTheEarlierMessageIsCleared) {
  ASSERT_HR(S_OK, m_host->AttachExtension());
  m_tag->SetReal(L"Corr_volflow_Ref_temperature", 1e6f);
  ASSERT_HR(E_FAIL, m_host->ValidateWithExtension().result);
  m_host->SetHostValidation(E_FAIL, std::nullopt);
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_HR(E_FAIL, outcome.result);
  EXPECT_FALSE(outcome.hasErrorInfo);
  EXPECT_FALSE(outcome.lastMessage.has_value());
}

TEST_F(Extension, WhenTheHostMessageCannotBeHadThenValidateReports102With0x80040300) {
  ASSERT_HR(S_OK, m_host->AttachExtension());
  m_host->SetHostValidation(E_FAIL, std::wstring(L"ignored"), E_OUTOFMEMORY);
  const auto outcome = m_host->ValidateWithExtension();
  EXPECT_HR(kNotAttached, outcome.result);
  ASSERT_TRUE(outcome.hasErrorInfo);
  EXPECT_EQ(Narrow(kNotPossibleText), Narrow(outcome.errorDescription));
}

TEST_F(Extension, TheHostLanguageChoosesTheResourceDllWithEnglishAsFallback) {
  const struct {
    const char* name;
    LCID language;
    HRESULT languageResult;
    const wchar_t* expectedPrefix;
  } cases[] = {{"German", 1031, S_OK, L"Ungültiger Konfigurationswert"},
               {"Spanish has no DLL: English", 1034, S_OK, L"Invalid configuration value"},
               {"language query fails: unchanged", 1031, E_FAIL, L"Invalid configuration value"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::TagExtensionHost* host = hostsim::TagExtensionHost::Create(m_tag);
    ASSERT_HR(S_OK, host->CreateExtension(tagstest::kExtensionClsid));
    host->SetLanguage(c.language, c.languageResult);
    EXPECT_HR(S_OK, host->AttachExtension());
    m_tag->SetReal(L"Corr_volflow_Ref_temperature", 1e6f);
    const auto outcome = host->ValidateWithExtension();
    EXPECT_HR(E_FAIL, outcome.result);
    EXPECT_EQ(0u, outcome.errorDescription.find(c.expectedPrefix)) << Narrow(outcome.errorDescription);
    host->Release();
    // The next case starts in English again.
    hostsim::TagExtensionHost* reset = hostsim::TagExtensionHost::Create(m_tag);
    ASSERT_HR(S_OK, reset->CreateExtension(tagstest::kExtensionClsid));
    reset->SetLanguage(1033);
    EXPECT_HR(S_OK, reset->AttachExtension());
    reset->Release();
  }
}

TEST_F(Extension, WhenTheHostLanguageHasNoAbbreviationThenAttachTakesEnglish) {
  // German is current; a language the platform cannot name has no resource DLL of its own.
  m_host->SetLanguage(1031);
  ASSERT_HR(S_OK, m_host->AttachExtension());
  for (const LCID language : {LCID{0}, LCID{0xFFFFFFFF}}) {
    SCOPED_TRACE(testing::Message() << "language " << language);
    hostsim::TagExtensionHost* host = hostsim::TagExtensionHost::Create(m_tag);
    ASSERT_HR(S_OK, host->CreateExtension(tagstest::kExtensionClsid));
    host->SetLanguage(language);
    EXPECT_HR(S_OK, host->AttachExtension());
    m_tag->SetReal(L"Corr_volflow_Ref_temperature", 1e6f);
    const auto outcome = host->ValidateWithExtension();
    EXPECT_HR(E_FAIL, outcome.result);
    EXPECT_EQ(0u, outcome.errorDescription.find(L"Invalid configuration value"))
        << Narrow(outcome.errorDescription);
    host->Release();
  }
}

TEST_F(Extension, WhenNeitherTheHostLanguageNorEnglishLoadsThenAttachFailsWith0x80040300) {
  // German becomes current; then the English DLL is gone from the folder.
  m_host->SetLanguage(1031);
  ASSERT_HR(S_OK, m_host->AttachExtension());
  m_folder.Remove("CorvaneTagsENU.dll");
  const struct {
    const char* name;
    LCID language;
  } cases[] = {{"Spanish, then the fallback", 1034}, {"English itself is the fallback", 1033}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    hostsim::TagExtensionHost* host = hostsim::TagExtensionHost::Create(m_tag);
    ASSERT_HR(S_OK, host->CreateExtension(tagstest::kExtensionClsid));
    host->SetLanguage(c.language);
    EXPECT_HR(kNotAttached, host->AttachExtension());
    // The tag and the validation were taken: validation runs, still in German.
    m_tag->SetReal(L"Corr_volflow_Ref_temperature", 1e6f);
    const auto outcome = host->ValidateWithExtension();
    EXPECT_HR(E_FAIL, outcome.result);
    EXPECT_EQ(0u, outcome.errorDescription.find(L"Ungültiger")) << Narrow(outcome.errorDescription);
    host->Release();
  }
}

TEST_F(Extension, AggregationIsAllowedOnlyForIUnknownAndObjectsHoldTheModule) {
  IUnknown* outer = static_cast<ITag*>(m_host);
  void* object = nullptr;
  EXPECT_HR(CLASS_E_NOAGGREGATION,
            CoCreateInstance(tagstest::kExtensionClsid, outer, CLSCTX_INPROC_SERVER, IID_IValidate, &object));
  EXPECT_EQ(nullptr, object);
  IValidate* plain = nullptr;
  ASSERT_HR(S_OK, CoCreateInstance(tagstest::kExtensionClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IValidate,
                                   reinterpret_cast<void**>(&plain)));
  IExtensionComponent* component = nullptr;
  EXPECT_HR(S_OK, plain->QueryInterface(IID_IExtensionComponent, reinterpret_cast<void**>(&component)));
  IUnknown* identity1 = nullptr;
  IUnknown* identity2 = nullptr;
  plain->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity1));
  component->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity2));
  EXPECT_EQ(identity1, identity2);
  identity1->Release();
  identity2->Release();
  component->Release();
  plain->Release();
}

TEST_F(Extension, LateBoundCallsGoThroughTheHostTypeLibraries) {
  IValidate* validate = nullptr;
  ASSERT_HR(S_OK, m_host->QueryExtension(IID_IValidate, reinterpret_cast<void**>(&validate)));
  DISPID ids[1] = {};
  LPOLESTR names[] = {const_cast<LPOLESTR>(L"getlastmessage")};
  ASSERT_HR(S_OK, validate->GetIDsOfNames(GUID_NULL, names, 1, 0, ids));
  EXPECT_EQ(2, ids[0]);
  LPOLESTR unknown[] = {const_cast<LPOLESTR>(L"Frobnicate")};
  EXPECT_HR(DISP_E_UNKNOWNNAME, validate->GetIDsOfNames(GUID_NULL, unknown, 1, 0, ids));

  // Validate before Attach: the failure reaches the caller as an exception with the text.
  DISPPARAMS none = {nullptr, nullptr, 0, 0};
  EXCEPINFO exception = {};
  VARIANT result;
  VariantInit(&result);
  EXPECT_HR(DISP_E_EXCEPTION,
            validate->Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, &none, &result, &exception, nullptr));
  EXPECT_HR(kNotAttached, exception.scode);
  EXPECT_EQ(Narrow(kNotPossibleText), Narrow(exception.bstrDescription ? exception.bstrDescription : L""));
  EXPECT_EQ(Narrow(kProgId), Narrow(exception.bstrSource ? exception.bstrSource : L""));
  SysFreeString(exception.bstrSource);
  SysFreeString(exception.bstrDescription);
  SysFreeString(exception.bstrHelpFile);

  // Attach by late binding, then read the message as the return value.
  IDispatch* component = nullptr;
  ASSERT_HR(S_OK, m_host->QueryExtension(IID_IExtensionComponent, reinterpret_cast<void**>(&component)));
  VARIANT host;
  VariantInit(&host);
  V_VT(&host) = VT_UNKNOWN;
  V_UNKNOWN(&host) = static_cast<ITag*>(m_host);
  DISPPARAMS one = {&host, nullptr, 1, 0};
  EXPECT_HR(S_OK, component->Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, &one, nullptr, nullptr, nullptr));
  EXPECT_HR(DISP_E_BADPARAMCOUNT,
            component->Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  component->Release();
  m_tag->SetReal(L"Corr_volflow_Ref_temperature", 1e6f);
  // Without EXCEPINFO the operation's own code comes back.
  EXPECT_HR(E_FAIL, validate->Invoke(1, GUID_NULL, 0, DISPATCH_METHOD, &none, nullptr, nullptr, nullptr));
  EXPECT_HR(S_OK, validate->Invoke(2, GUID_NULL, 0, DISPATCH_METHOD, &none, &result, nullptr, nullptr));
  EXPECT_EQ(VT_BSTR, V_VT(&result));
  EXPECT_EQ("Corr_volflow_Ref_temperature", Narrow(V_BSTR(&result) ? V_BSTR(&result) : L""));
  VariantClear(&result);
  validate->Release();
}

TEST_F(Extension, WhileAnObjectLivesTheDllCannotUnload) {
  HMODULE module = GetModuleHandleW(m_folder.PathOf("CorvaneTags.dll").c_str());
  ASSERT_NE(nullptr, module);
  auto canUnload = reinterpret_cast<tagstest::PFN_DLLFUNCTION>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllCanUnloadNow")));
  ASSERT_NE(nullptr, canUnload);
  EXPECT_HR(S_FALSE, canUnload());
  EXPECT_EQ(CPVLiveObjects(module).Count("CCorvane300TagExt"), 1);
  m_host->Release();
  m_host = nullptr;
  EXPECT_HR(S_OK, canUnload());
  EXPECT_EQ(CPVLiveObjects(module).Count("CCorvane300TagExt"), 0);
}

}  // namespace
