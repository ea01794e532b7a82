// Free helpers of the configuration components: the adapter over a tag's extension
// properties, found among the tags of the module's connections.
#pragma once

#include <PVInterfaces.h>

#include <cstddef>
#include <functional>
#include <unordered_map>

#include "PVGetSetInterfaces.h"

// Which tag of a connection instance a tag-extension lookup reads: the instance's first or
// second tag, or the module's configuration tag.
enum PVTagExtTagType : LONG {
  PV_TAGEXT_CONNECTION_TAG_FIRST = 0,
  PV_TAGEXT_CONNECTION_TAG_SECOND = 1,
  PV_TAGEXT_CONFIGURATION_TAG = 2,
};

// One adapter per property key and tag; the tag is named by its IUnknown identity. The
// adapter holds the tag's ITagExtProperty, which keeps that identity alive as long as the
// entry exists.
struct CPVTagExtAdapterKey {
  LONG propertyKey;
  IUnknown* tagIdentity;
  bool operator==(const CPVTagExtAdapterKey& other) const {
    return propertyKey == other.propertyKey && tagIdentity == other.tagIdentity;
  }
};

struct CPVTagExtAdapterKeyHash {
  size_t operator()(const CPVTagExtAdapterKey& key) const {
    return std::hash<const void*>()(key.tagIdentity) * 31u + std::hash<LONG>()(key.propertyKey);
  }
};

typedef std::unordered_map<CPVTagExtAdapterKey, IPVGetSetAdapterPtr, CPVTagExtAdapterKeyHash>
    CPVTagExtAdapterMap;

// The extension-property adapter (propertyKey) of the first tag that has the member: the
// module's connection instances are walked by index from 0 until the module answers
// E_NOINTERFACE, and of each the tag of tagType is asked for the member. The adapter is taken
// from adapters, or made and stored there. Borrowed: the map keeps the reference. Null (the
// failure logged) without a module, for an unknown tag type, or when no tag has the member.
IPVGetSetAdapter* GetTagExtPropertyIPVGetSetAdapter(IModule* pIModule, LONG tagType, LONG propertyKey,
                                                    const wchar_t* memberName, CPVTagExtAdapterMap& adapters);
