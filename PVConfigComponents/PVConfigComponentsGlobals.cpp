#include "PVConfigComponentsGlobals.h"

#include <HostTags.h>
#include <comdef.h>
#include <oleauto.h>

#include <new>

#include "PVGetSetAdapterITagExtProperty.h"
#include "PVLog.h"

namespace {

constexpr CPVSourceLog Log(L"PVConfigComponentsGlobals");
constexpr wchar_t kFunction[] = L"GetTagExtPropertyIPVGetSetAdapter";

// The tag of tagType for one connection instance: S_OK with the tag, E_NOINTERFACE when
// there is none, E_INVALIDARG for a tag type that names no tag, or the host's failure.
HRESULT GetTagOfType(IModule* module, IConnectionInstance* instance, LONG tagType, ITag** tag) {
  switch (tagType) {
    case PV_TAGEXT_CONNECTION_TAG_FIRST:
    case PV_TAGEXT_CONNECTION_TAG_SECOND:
      return instance->GetConnectionTag(tagType, tag);
    case PV_TAGEXT_CONFIGURATION_TAG:
      return module->GetConfigurationTag(tag);
    default:
      return E_INVALIDARG;
  }
}

IUnknown* IdentityOf(IUnknown* object) {
  IUnknownPtr identity;
  if (FAILED(object->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(&identity))) || !identity)
    return object;
  return identity.GetInterfacePtr();  // the caller holds the object: the identity lives as long
}

}  // namespace

IPVGetSetAdapter* GetTagExtPropertyIPVGetSetAdapter(IModule* pIModule, LONG tagType, LONG propertyKey,
                                                    const wchar_t* memberName,
                                                    CPVTagExtAdapterMap& adapters) {
  if (!pIModule) {
    Log(L"Invalid pointer 'pIModule'\n", kFunction, __LINE__);
    return nullptr;
  }
  if (tagType < PV_TAGEXT_CONNECTION_TAG_FIRST || tagType > PV_TAGEXT_CONFIGURATION_TAG) {
    // Every instance would answer the same: one line, and no tag.
    Log(L"Invalid tag type\n", kFunction, __LINE__);
    return nullptr;
  }
  const _bstr_t member(memberName ? memberName : L"");
  for (LONG index = 0;; ++index) {
    IConnectionInstancePtr instance;
    HRESULT hr = pIModule->GetConnectionInstance(index, &instance);
    if (hr == E_NOINTERFACE) break;
    if (FAILED(hr) || !instance) {
      Log(L"Failed to get connection instance from ORVO services\n", kFunction, __LINE__);
      break;
    }
    ITagPtr tag;
    hr = GetTagOfType(pIModule, instance, tagType, &tag);
    if (FAILED(hr) || !tag) {
      if (hr != E_NOINTERFACE) Log(L"Failed to get tag from ORVO services\n", kFunction, __LINE__);
      continue;
    }
    hr = tag->GetMemberValue(member, _variant_t().GetAddress());  // only whether it can be read
    if (hr == E_INVALIDARG) continue;                             // this tag has no such member
    if (FAILED(hr)) {
      Log(L"Failed to get value from output tag\n", kFunction, __LINE__);
      continue;
    }

    const CPVTagExtAdapterKey key{propertyKey, IdentityOf(tag)};
    const auto found = adapters.find(key);
    if (found != adapters.end()) return found->second;
    ITagExtPropertyPtr properties(tag);
    CPVGetSetAdapterITagExtProperty* created =
        properties ? new (std::nothrow) CPVGetSetAdapterITagExtProperty(propertyKey, properties) : nullptr;
    if (!created) {
      Log(L"Failed to create adapter object.", kFunction, __LINE__);
      return nullptr;
    }
    IPVGetSetAdapterPtr adapter;
    adapter.Attach(static_cast<IPVGetSetAdapter*>(created));  // the map owns the first reference
    IPVGetSetAdapter* handedOut = adapter;
    adapters.emplace(key, std::move(adapter));
    return handedOut;
  }
  return nullptr;
}
