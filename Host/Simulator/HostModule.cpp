#include "HostModule.h"

#include <cassert>

#include <oleauto.h>

#include <string>

namespace hostsim {

HostModule* HostModule::Create() {
  return CreateFromFile(CoriolisDefinitionFile());
}

HostModule* HostModule::CreateFromFile(const std::filesystem::path& definitionFile) {
  std::string error;
  const auto definition = LoadModuleDefinition(definitionFile, &error);
  assert(definition && "the built-in definition loads");
  return new HostModule(definition ? *definition : ModuleDefinition{});
}

HostModule* HostModule::Create(const ModuleDefinition& definition) {
  return new HostModule(definition);
}

HostModule::HostModule(const ModuleDefinition& definition) : device(definition.device) {
  for (const TagDefinition& tag : definition.tags) {
    const int index = static_cast<int>(m_tags.size());
    if (tag.kind == TagKind::kStandard && m_standard < 0) m_standard = index;
    if (tag.kind == TagKind::kSafety && m_safety < 0) m_safety = index;
    m_tags.emplace_back(ConfigurationTag::Create(tag));
  }
}

ConfigurationTag* HostModule::StandardTag() const {
  return m_standard < 0 ? nullptr : m_tags[m_standard].get();
}

ConfigurationTag* HostModule::SafetyTag() const {
  return m_safety < 0 ? nullptr : m_tags[m_safety].get();
}

ConfigurationTag* HostModule::FindTag(const std::wstring& name) const {
  for (const auto& tag : m_tags)
    if (tag->Definition().name == name) return tag.get();
  return nullptr;
}

HRESULT HostModule::HandOut(int index, HRESULT failure, ITag** tag) const {
  if (!tag) return E_POINTER;
  *tag = nullptr;
  if (FAILED(failure)) return failure;
  if (index < 0) return E_NOINTERFACE;
  ConfigurationTag* found = m_tags[index].get();
  found->AddRef();
  *tag = static_cast<ITag2*>(found);
  return S_OK;
}

STDMETHODIMP HostModule::GetConfigurationTag(ITag** tag) {
  ++tags.standardCalls;
  return HandOut(m_standard, tags.standardResult, tag);
}

STDMETHODIMP HostModule::GetConnectionInstance(LONG, IConnectionInstance** instance) {
  if (!instance) return E_POINTER;
  *instance = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP HostModule::GetSafetyConfigurationTag(ITag** tag) {
  ++tags.safetyCalls;
  return HandOut(m_safety, tags.safetyResult, tag);
}

STDMETHODIMP HostModule::GetPrivateTag(BSTR name, ITag** tag) {
  if (!tag) return E_POINTER;
  *tag = nullptr;
  ConfigurationTag* found = FindTag(name ? name : L"");
  if (!found) return E_INVALIDARG;
  found->AddRef();
  *tag = static_cast<ITag2*>(found);
  return S_OK;
}

STDMETHODIMP HostModule::QueryInterface(REFIID riid, void** ppv) {
  if (ppv) *ppv = nullptr;
  if (riid == __uuidof(IModuleSafetyTag) && FAILED(tags.safetyQueryResult)) return tags.safetyQueryResult;
  if (riid == __uuidof(IModulePrivateTags) && FAILED(tags.privateQueryResult)) return tags.privateQueryResult;
  if (riid == __uuidof(IModuleSafety) && !safety.answersSafety) return E_NOINTERFACE;
  if (riid == __uuidof(IModuleSafetyLock) && !safety.answersLock) return E_NOINTERFACE;
  if (riid == __uuidof(IModuleInternal7)) {
    if (FAILED(version.queryFailure)) return version.queryFailure;
    if (!version.answersVersion) return E_NOINTERFACE;
  }
  if (riid == __uuidof(IDeviceInfo2) && !identity.answersIdentity) return E_NOINTERFACE;
  if (riid == __uuidof(IModuleStateSource) && !stateFlag.answersFlag) return E_NOINTERFACE;
  if (riid == __uuidof(IENetLinkCollectionManager)) {
    ++link.linkManagerQueries;
    if (!link.answersLinkManager) return E_NOINTERFACE;
  }
  if (riid == IID_IModuleLinkCompanion) {
    ++link.companionQueries;
    if (!link.offersCompanion || !ppv) return E_NOINTERFACE;
    AddRef();
    *ppv = GetUnknown();
    return S_OK;
  }
  return QueryFromTable<HostModule>(
      this, riid, ppv,
      {HOSTSIM_ENTRY(HostModule, IModule), HOSTSIM_ENTRY(HostModule, IModuleSafetyTag),
       HOSTSIM_ENTRY(HostModule, IModulePrivateTags), HOSTSIM_ENTRY(HostModule, IModuleSafety),
       HOSTSIM_ENTRY(HostModule, IModuleSafetyLock), HOSTSIM_ENTRY(HostModule, IModuleInternal7),
       HOSTSIM_ENTRY(HostModule, IDeviceInfo2), HOSTSIM_ENTRY(HostModule, IModuleStateSource),
       HOSTSIM_ENTRY(HostModule, IENetLinkCollectionManager), HOSTSIM_ENTRY(HostModule, ISupportErrorInfo)});
}

STDMETHODIMP HostModule::GetSafetyEnabled(LONG which, VARIANT_BOOL* enabled) {
  ++safety.enabledCalls;
  safety.lastEnabledArgument = which;
  if (!enabled) return E_POINTER;
  if (SUCCEEDED(safety.enabledResult)) *enabled = safety.enabled;
  return safety.enabledResult;
}

STDMETHODIMP HostModule::GetSafetyLocked(VARIANT_BOOL* locked) {
  ++safety.lockedCalls;
  if (!locked) return E_POINTER;
  if (SUCCEEDED(safety.lockedResult)) *locked = safety.locked;
  return safety.lockedResult;
}

STDMETHODIMP HostModule::GetLockFlag1(VARIANT_BOOL* flag) {
  ++safety.flagCalls;
  if (!flag) return E_POINTER;
  if (SUCCEEDED(safety.flag1Result)) *flag = safety.flag1;
  return safety.flag1Result;
}

STDMETHODIMP HostModule::GetLockFlag2(VARIANT_BOOL* flag) {
  ++safety.flagCalls;
  if (!flag) return E_POINTER;
  if (SUCCEEDED(safety.flag2Result)) *flag = safety.flag2;
  return safety.flag2Result;
}

STDMETHODIMP HostModule::get_CurrentVexilVersion(LONG* major, LONG* minor) {
  if (!major || !minor) return E_POINTER;
  if (SUCCEEDED(version.result)) {
    *major = version.major;
    *minor = version.minor;
  }
  return version.result;
}

STDMETHODIMP HostModule::GetModuleIdentityStatus(LONG* status) {
  ++identity.calls;
  if (!status) return E_POINTER;
  if (SUCCEEDED(identity.result)) *status = identity.status;
  return identity.result;
}

STDMETHODIMP HostModule::GetModuleStateFlag(VARIANT_BOOL* flag) {
  if (!flag) return E_POINTER;
  if (SUCCEEDED(stateFlag.result)) *flag = stateFlag.flag;
  return stateFlag.result;
}

STDMETHODIMP HostModule::ReadAttribute(BSTR name, VARIANT path, VARIANT* result) {
  return device.ReadAttribute(name, path, result);
}

STDMETHODIMP HostModule::ExecuteService(BSTR name, VARIANT data) {
  return device.ExecuteService(name, data);
}

STDMETHODIMP HostModule::InterfaceSupportsErrorInfo(REFIID riid) {
  return riid == __uuidof(IENetLinkCollectionManager) ? S_OK : S_FALSE;
}

}  // namespace hostsim
