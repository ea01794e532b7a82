// The simulated module object: the object the host hands a page as its module. Its
// configuration tags come from a module definition: IModule gives the standard tag,
// IModuleSafetyTag the safety tag, IModulePrivateTags any tag by name. It also answers the
// safety interfaces (states a test sets), IModuleInternal7 (a settable host version),
// IDeviceInfo2 (a settable identity status) and IModuleStateSource (a settable flag), and its
// link services (IENetLinkCollectionManager with ISupportErrorInfo) over the simulated device
// of the definition.
#pragma once

#include <HostLinkServices.h>
#include <HostServices.h>
#include <PVInterfaces.h>

#include <filesystem>
#include <string>
#include <vector>

#include "ConfigurationTag.h"
#include "ModuleDefinition.h"
#include "SimComObject.h"
#include "SimulatedDevice.h"

namespace hostsim {

// What the tag queries answer, beyond the tags of the definition.
struct TagQueryState {
  // A failure of the standard tag query (S_OK: the tag, or E_NOINTERFACE without one).
  HRESULT standardResult = S_OK;
  // QueryInterface for IModuleSafetyTag: answered, or this failure (S_OK: answered).
  HRESULT safetyQueryResult = S_OK;
  // A failure of the safety tag query (S_OK: the tag, or E_NOINTERFACE without one).
  HRESULT safetyResult = S_OK;
  // QueryInterface for IModulePrivateTags: answered, or this failure.
  HRESULT privateQueryResult = S_OK;
  int standardCalls = 0;
  int safetyCalls = 0;
};

// What the safety interfaces answer, and how often they were asked.
struct SafetyState {
  bool answersSafety = true;  // QueryInterface for IModuleSafety succeeds
  bool answersLock = true;    // QueryInterface for IModuleSafetyLock succeeds
  HRESULT enabledResult = S_OK;
  VARIANT_BOOL enabled = VARIANT_FALSE;
  HRESULT lockedResult = S_OK;
  VARIANT_BOOL locked = VARIANT_FALSE;
  HRESULT flag1Result = S_OK;
  VARIANT_BOOL flag1 = VARIANT_FALSE;
  HRESULT flag2Result = S_OK;
  VARIANT_BOOL flag2 = VARIANT_FALSE;
  int enabledCalls = 0;
  LONG lastEnabledArgument = 0;
  int lockedCalls = 0;
  int flagCalls = 0;
};

// What IModuleInternal7 answers.
struct VersionState {
  bool answersVersion = true;
  HRESULT result = S_OK;
  LONG major = 5;
  LONG minor = 21;
  // A failure other than E_NOINTERFACE from QueryInterface for IModuleInternal7 (S_OK: none).
  HRESULT queryFailure = S_OK;
};

// What IDeviceInfo2 answers: the identity status of the connected module (1 missing,
// 2 mismatched, other values match) or a failure.
struct IdentityState {
  bool answersIdentity = true;
  HRESULT result = S_OK;
  LONG status = 0;
  int calls = 0;
};

// What IModuleStateSource answers.
struct ModuleStateFlag {
  bool answersFlag = true;
  HRESULT result = S_OK;
  VARIANT_BOOL flag = VARIANT_FALSE;
};

// Whether the module answers its link services and the companion interface, and how often it
// was asked for them.
struct LinkState {
  bool answersLinkManager = true;
  bool offersCompanion = false;
  int linkManagerQueries = 0;
  int companionQueries = 0;
};

class HostModule : public IModule,
                   public IModuleSafetyTag,
                   public IModulePrivateTags,
                   public IModuleSafety,
                   public IModuleSafetyLock,
                   public IModuleInternal7,
                   public IDeviceInfo2,
                   public IModuleStateSource,
                   public IENetLinkCollectionManager,
                   public ISupportErrorInfo {
 public:
  // A new module over the built-in Coriolis definition (standard and safety tags), with one
  // reference for the caller.
  static HostModule* Create();
  // A new module over a built-in definition file (CoriolisDefinitionFile(),
  // ElectromagneticDefinitionFile()), with one reference for the caller.
  static HostModule* CreateFromFile(const std::filesystem::path& definitionFile);
  // A new module whose tags (every member at its default) are those of the definition: the
  // first standard and the first safety tag are the configuration tags; a kind the definition
  // lacks is answered with E_NOINTERFACE.
  static HostModule* Create(const ModuleDefinition& definition);

  // The object's identity, as the host hands it out.
  IUnknown* GetUnknown() { return static_cast<IModule*>(this); }
  IModule* GetModule() { return this; }

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL

  // IModule: the standard tag; no connections are simulated (E_NOINTERFACE at index 0).
  STDMETHODIMP GetConfigurationTag(ITag** tag) override;
  STDMETHODIMP GetConnectionInstance(LONG index, IConnectionInstance** instance) override;
  // IModuleSafetyTag, IModulePrivateTags (any tag of the module by its name).
  STDMETHODIMP GetSafetyConfigurationTag(ITag** tag) override;
  STDMETHODIMP GetPrivateTag(BSTR name, ITag** tag) override;

  STDMETHODIMP GetSafetyEnabled(LONG which, VARIANT_BOOL* enabled) override;
  STDMETHODIMP GetSafetyLocked(VARIANT_BOOL* locked) override;
  STDMETHODIMP GetLockFlag1(VARIANT_BOOL* flag) override;
  STDMETHODIMP GetLockFlag2(VARIANT_BOOL* flag) override;
  STDMETHODIMP get_CurrentVexilVersion(LONG* major, LONG* minor) override;
  STDMETHODIMP GetModuleIdentityStatus(LONG* status) override;
  STDMETHODIMP GetModuleStateFlag(VARIANT_BOOL* flag) override;
  // The link services: the simulated device's (SimulatedDevice.h).
  STDMETHODIMP ReadAttribute(BSTR name, VARIANT path, VARIANT* result) override;
  STDMETHODIMP ExecuteService(BSTR name, VARIANT data) override;
  // S_OK for IENetLinkCollectionManager, S_FALSE for every other interface.
  STDMETHODIMP InterfaceSupportsErrorInfo(REFIID riid) override;

  // The placeholder slots of the companion interfaces (one override serves them all).
  HOST_RESERVED_SLOT_IMPL(1);
  HOST_RESERVED_SLOT_IMPL(2);
  HOST_RESERVED_SLOT_IMPL(3);
  HOST_RESERVED_SLOT_IMPL(4);
  HOST_RESERVED_SLOT_IMPL(5);
  HOST_RESERVED_SLOT_IMPL(6);
  HOST_RESERVED_SLOT_IMPL(7);
  HOST_RESERVED_SLOT_IMPL(8);
  HOST_RESERVED_SLOT_IMPL(9);
  HOST_RESERVED_SLOT_IMPL(10);
  HOST_RESERVED_SLOT_IMPL(11);
  HOST_RESERVED_SLOT_IMPL(12);
  HOST_RESERVED_SLOT_IMPL(13);
  HOST_RESERVED_SLOT_IMPL(14);
  HOST_RESERVED_SLOT_IMPL(15);
  HOST_RESERVED_SLOT_IMPL(16);
  HOST_RESERVED_SLOT_IMPL(17);
  HOST_RESERVED_SLOT_IMPL(18);
  HOST_RESERVED_SLOT_IMPL(19);
  HOST_RESERVED_SLOT_IMPL(20);
  HOST_RESERVED_SLOT_IMPL(21);
  HOST_RESERVED_SLOT_IMPL(22);
  HOST_RESERVED_SLOT_IMPL(23);
  HOST_RESERVED_SLOT_IMPL(24);
  HOST_RESERVED_SLOT_IMPL(25);
  HOST_RESERVED_SLOT_IMPL(26);
  HOST_RESERVED_SLOT_IMPL(27);
  HOST_RESERVED_SLOT_IMPL(28);
  HOST_RESERVED_SLOT_IMPL(29);
  HOST_RESERVED_SLOT_IMPL(30);
  HOST_RESERVED_SLOT_IMPL(31);
  HOST_RESERVED_SLOT_IMPL(32);
  HOST_RESERVED_SLOT_IMPL(33);
  HOST_RESERVED_SLOT_IMPL(34);
  HOST_RESERVED_SLOT_IMPL(35);
  HOST_RESERVED_SLOT_IMPL(36);
  HOST_RESERVED_SLOT_IMPL(37);
  HOST_RESERVED_SLOT_IMPL(38);
  HOST_RESERVED_SLOT_IMPL(39);
  HOST_RESERVED_SLOT_IMPL(40);
  HOST_RESERVED_SLOT_IMPL(41);
  HOST_RESERVED_SLOT_IMPL(42);
  HOST_RESERVED_SLOT_IMPL(43);
  HOST_RESERVED_SLOT_IMPL(44);
  HOST_RESERVED_SLOT_IMPL(45);
  HOST_RESERVED_SLOT_IMPL(46);
  HOST_RESERVED_SLOT_IMPL(47);
  HOST_RESERVED_SLOT_IMPL(48);
  HOST_RESERVED_SLOT_IMPL(49);
  HOST_RESERVED_SLOT_IMPL(50);
  HOST_RESERVED_SLOT_IMPL(51);
  HOST_RESERVED_SLOT_IMPL(52);
  HOST_RESERVED_SLOT_IMPL(53);
  HOST_RESERVED_SLOT_IMPL(54);
  HOST_RESERVED_SLOT_IMPL(55);
  HOST_RESERVED_SLOT_IMPL(56);
  HOST_RESERVED_SLOT_IMPL(57);
  HOST_RESERVED_SLOT_IMPL(58);
  HOST_RESERVED_SLOT_IMPL(59);
  HOST_RESERVED_SLOT_IMPL(60);
  HOST_RESERVED_SLOT_IMPL(61);
  HOST_RESERVED_SLOT_IMPL(62);

  // The module's tags, for a test to set values and knobs on (not AddRef'd; null when the
  // definition has no such tag).
  ConfigurationTag* StandardTag() const;
  ConfigurationTag* SafetyTag() const;
  ConfigurationTag* FindTag(const std::wstring& name) const;
  // The module no longer has a standard or safety tag (the query answers E_NOINTERFACE).
  void DropStandardTag() { m_standard = -1; }
  void DropSafetyTag() { m_safety = -1; }

  SafetyState safety;
  VersionState version;
  IdentityState identity;
  ModuleStateFlag stateFlag;
  TagQueryState tags;
  LinkState link;
  SimulatedDevice device;

 private:
  explicit HostModule(const ModuleDefinition& definition);
  HRESULT HandOut(int index, HRESULT failure, ITag** tag) const;

  std::vector<Ref<ConfigurationTag>> m_tags;
  int m_standard = -1;
  int m_safety = -1;

 protected:
  virtual ~HostModule() = default;
};

}  // namespace hostsim
