// The registry's key tree, shared by the registry calls and the hive's text form.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "wtypesbase.h"

namespace platform::registry {

struct Value {
  std::wstring name;  // empty: the default value
  DWORD type;
  std::vector<BYTE> data;
};

struct Key;
using KeyPtr = std::shared_ptr<Key>;

struct Key {
  std::wstring name;
  Key* parent = nullptr;  // null for a root and for a deleted key
  bool deleted = false;
  std::vector<Value> values;  // in the order they were first set

  // The subkeys ordered by name, compared without regard to case. Keys added out of order are
  // sorted once, when the order is next asked for, so that building a key of n subkeys in any
  // order costs n log n.
  const std::vector<KeyPtr>& Children() const;
  bool HasChildren() const { return !children_.empty(); }
  KeyPtr FindChild(std::wstring_view childName) const;
  // The existing child of that name (any case), or a new one with the name as given.
  KeyPtr AddChild(std::wstring_view childName);
  Value* FindValue(std::wstring_view valueName);
  void SetValue(std::wstring_view valueName, DWORD type, std::vector<BYTE> data);
  // Marks this key and everything below it deleted and drops their contents; handles that
  // still hold one of them see ERROR_KEY_DELETED.
  void MarkDeleted();
  void RemoveChild(const Key* child);
  // Marks every subkey deleted and removes it.
  void RemoveChildren();

 private:
  mutable std::vector<KeyPtr> children_;
  mutable bool sorted_ = true;
  std::unordered_map<std::wstring, KeyPtr> byFoldedName_;  // by the name case-folded
};

// Fresh, empty predefined keys, in the order of RootName.
std::vector<KeyPtr> NewRoots();
// A deep copy of the current predefined keys, taken under the registry's lock, for the text
// form and the dump to read at leisure.
std::vector<KeyPtr> SnapshotRoots();
// Replaces the hive; the old keys are marked deleted.
void ReplaceRoots(std::vector<KeyPtr> roots);
const wchar_t* RootName(size_t index);
size_t RootCount();

}  // namespace platform::registry
