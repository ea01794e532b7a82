// Value forcing through a value object on the simulated tag: forcing support by the tag's
// suffix, the force state from the member's forced flag and the controller's forces switch,
// how every missing answer degrades to "not forced", and the force-arrow tooltip from the
// host's string server.
#include <oleauto.h>

#include "ConfigTestSupport.h"
#include "PVGetSetAdapterITagExtProperty.h"
#include "PVGetSetFloat.h"
#include "PVGetSetLong.h"
#include "PVValueForcing.h"

namespace {

using pvconfigtest::ConfigFixture;
using pvconfigtest::Lines;

class Forcing : public ConfigFixture {
 protected:
  IPVGetSetValuePtr Make(const wchar_t* member) {
    return IPVGetSetValuePtr(new CPVGetSetLong(member, m_adapter), false);
  }
};

TEST_F(Forcing, OnlyTheSuffixesOAndEOSupportForcing) {
  const struct {
    const wchar_t* suffix;
    bool supported;
  } cases[] = {{L"O", true}, {L"EO", true}, {L"o", false}, {L"E", false}, {L"", false}, {L"OE", false}};
  IPVGetSetValuePtr count = Make(L"Count");
  CPVValueForcing forcing(count);
  for (const auto& c : cases) {
    SCOPED_TRACE(pvconfigtest::Narrow(c.suffix));
    Tag()->SetSuffix(c.suffix);
    EXPECT_EQ(c.supported, forcing.GetIsForcingSupported());
    bool answer = !c.supported;
    EXPECT_HR(S_OK, forcing.GetIPVGetValueForcing()->GetIsForcingSupported(&answer));
    EXPECT_EQ(c.supported, answer);
  }
  EXPECT_EQ(Lines{}, TakeLog());
}

TEST_F(Forcing, AFailedSuffixReadIsTheOnlyReportedFailure) {
  Tag()->FailSuffixRead(E_ACCESSDENIED);
  IPVGetSetValuePtr count = Make(L"Count");
  IPVGetValueForcingPtr forcing(count);
  bool supported = true;
  EXPECT_HR(E_ACCESSDENIED, forcing->GetIsForcingSupported(&supported));
  EXPECT_FALSE(supported);
  EXPECT_EQ(Lines{L"CPVGetSetMemberNameValue::GetIsForcingSupported: Failed ITag2::get_Suffix\n."},
            TakeLog());
  EXPECT_FALSE(CPVValueForcing(count).GetIsForcingSupported());
}

TEST_F(Forcing, TheForceStateFollowsTheMemberAndTheControllersSwitch) {
  const struct {
    const char* name;
    bool forced;
    bool enabled;
    HRESULT enabledRead;
    int state;
  } cases[] = {
      {"not forced", false, true, S_OK, PV_FORCE_STATE_NOT_FORCED},
      {"forced, forces disabled", true, false, S_OK, PV_FORCE_STATE_FORCED},
      {"forced, forces enabled", true, true, S_OK, PV_FORCE_STATE_FORCED_ENABLED},
      {"forced, switch unreadable", true, true, E_ACCESSDENIED, PV_FORCE_STATE_FORCED},
  };
  IPVGetSetValuePtr count = Make(L"Count");
  CPVValueForcing forcing(count);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(Tag()->SetForced(L"Count", c.forced));
    Tag()->SetForcesEnabled(c.enabled ? VARIANT_TRUE : VARIANT_FALSE);
    Tag()->FailForcesEnabledRead(c.enabledRead);
    EXPECT_EQ(c.state, forcing.GetForceState());
    EXPECT_EQ(c.forced, forcing.GetIsForced());
    EXPECT_EQ(c.enabled && SUCCEEDED(c.enabledRead), forcing.GetForcesEnabled());
  }
  Tag()->FailOperation(L"Count", hostsim::TagOperation::kForcedRead, E_ACCESSDENIED);
  EXPECT_EQ(PV_FORCE_STATE_NOT_FORCED, forcing.GetForceState());
  EXPECT_EQ(Lines{}, TakeLog());
}

TEST_F(Forcing, EveryMissingAnswerDegradesToNotForced) {
  ASSERT_TRUE(Tag()->SetForced(L"Count", true));
  Tag()->SetForcesEnabled(VARIANT_TRUE);
  // An adapter without the later interfaces cannot reach the tag.
  ITagExtProperty* properties = nullptr;
  ASSERT_HR(S_OK, Tag()->QueryInterface(__uuidof(ITagExtProperty), reinterpret_cast<void**>(&properties)));
  IPVGetSetAdapterPtr textOnly(new CPVGetSetAdapterITagExtProperty(1, properties), false);
  properties->Release();
  IPVGetSetValuePtr onTextOnly(new CPVGetSetLong(L"Count", textOnly), false);
  IPVGetValueForcingPtr questions(onTextOnly);
  bool answer = true;
  EXPECT_HR(S_OK, questions->GetIsForcingSupported(&answer));
  EXPECT_FALSE(answer);
  EXPECT_HR(S_OK, questions->GetIsForced(&answer));
  EXPECT_FALSE(answer);
  VARIANT value;
  VariantInit(&value);
  EXPECT_HR(E_NOINTERFACE, questions->GetForceValue(&value));
  EXPECT_HR(E_INVALIDARG, questions->GetForceValue(nullptr));
  EXPECT_EQ(PV_FORCE_STATE_NOT_FORCED, CPVValueForcing(onTextOnly).GetForceState());
  const _variant_t forcedValue = CPVValueForcing(onTextOnly).GetForceValue();
  EXPECT_EQ(VT_EMPTY, V_VT(&forcedValue));
  // No value object at all.
  CPVValueForcing none(nullptr);
  EXPECT_EQ(PV_FORCE_STATE_NOT_FORCED, none.GetForceState());
  EXPECT_FALSE(none.GetIsForcingSupported());
  EXPECT_EQ(std::wstring(), none.GetTooltipText().GetString());
  // A tag without ITagForcing.
  IPVGetSetValuePtr count = Make(L"Count");
  EXPECT_EQ(PV_FORCE_STATE_FORCED_ENABLED, CPVValueForcing(count).GetForceState());
  Tag()->RefuseInterface(__uuidof(ITagForcing));
  EXPECT_EQ(PV_FORCE_STATE_NOT_FORCED, CPVValueForcing(count).GetForceState());
  EXPECT_EQ(Lines{}, TakeLog());
  // A value object without an adapter: E_FAIL, and the adapter's absence logged.
  IPVGetSetValuePtr unbound(new CPVGetSetLong(L"Count", nullptr), false);
  orvolog::ClearRecords();
  EXPECT_HR(E_FAIL, IPVGetValueForcingPtr(unbound)->GetIsForcingSupported(&answer));
  EXPECT_EQ(Lines{L"CPVGetSetMemberNameValue::GetIPVGetSetAdapter: Failed to get Get/Set Adapter"},
            TakeLog());
}

TEST_F(Forcing, TheTooltipShowsTheForcedValueOnlyWhileForcesAreEnabled) {
  hostsim::MemberValue padded;
  padded.text = L" \t forced text\t ";
  ASSERT_TRUE(Tag()->SetForced(L"Name", true, &padded));
  hostsim::MemberValue two;
  two.real = 2.5f;
  ASSERT_TRUE(Tag()->SetForced(L"Level", true, &two));
  ASSERT_TRUE(Tag()->SetForced(L"On", true));  // forced to its value, TRUE
  hostsim::MemberValue off;
  ASSERT_TRUE(Tag()->SetForced(L"Count", true, &off));
  Tag()->SetForcesEnabled(VARIANT_TRUE);
  const struct {
    const wchar_t* member;
    const wchar_t* tooltip;
  } cases[] = {{L"On", L"Forced value: 1"},
               {L"Name", L"Forced value: forced text"},
               {L"Level", L"Forced value: 2.5"},
               {L"Count", L"Forced value: 0"},
               {L"Unit", L""}};
  for (const auto& c : cases) {
    SCOPED_TRACE(pvconfigtest::Narrow(c.member));
    IPVGetSetValuePtr value(new CPVGetSetFloat(c.member, m_adapter), false);
    EXPECT_EQ(std::wstring(c.tooltip), CPVValueForcing(value).GetTooltipText().GetString());
  }
  Tag()->SetForcesEnabled(VARIANT_FALSE);
  IPVGetSetValuePtr on(new CPVGetSetFloat(L"On", m_adapter), false);
  EXPECT_EQ(std::wstring(), CPVValueForcing(on).GetTooltipText().GetString());
  EXPECT_EQ(Lines{}, TakeLog());
}

TEST(ForcingTooltip, WithoutTheHostsStringServerTheTooltipIsEmptyAndLogged) {
  hostsim::HostModule* module = hostsim::HostModule::Create(pvconfigtest::SmallDefinition());
  ASSERT_TRUE(module->StandardTag()->SetForced(L"Count", true));
  module->StandardTag()->SetForcesEnabled(VARIANT_TRUE);
  ITag* tag = nullptr;
  ASSERT_HR(S_OK, module->GetConfigurationTag(&tag));
  IPVGetSetAdapterPtr adapter(new CPVGetSetAdapterITag(tag), false);
  tag->Release();
  {
    // COM without the host's servers registered.
    ASSERT_HR(S_OK, CoInitialize(nullptr));
    IPVGetSetValuePtr count(new CPVGetSetLong(L"Count", adapter), false);
    orvolog::ClearRecords();
    EXPECT_EQ(std::wstring(), CPVValueForcing(count).GetTooltipText().GetString());
    EXPECT_EQ(Lines{L"CPVValueForcing::GetTooltipText: Failed to create string server."},
              pvtest::LoggedSinceClear());
    CoUninitialize();
  }
  adapter = nullptr;
  module->Release();
}

}  // namespace
