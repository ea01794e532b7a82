// The simulated module's configuration tag: members from a module definition, read and
// written by name through the host's tag interfaces.
//
// Values cross as VARIANTs of the member's type: VT_BOOL, VT_I4 (DINT, and an enumeration's
// code), VT_I8 (LINT), VT_R4 (REAL), VT_BSTR (STRING). An enumeration member keeps its ordered
// (code, text) entries and a current entry: the value read gives the entry's code, the
// enumeration read its index; a write of either moves the current entry, so both views agree.
// Every operation answers E_INVALIDARG for a member the tag does not have.
//
// Besides ITag the tag answers ITag2 (suffix, dirty flags), ITagForcing (forced members, the
// controller's forces switch), ITagEnumValues (entry codes) and ITagExtProperty (text
// properties under a key); a test can refuse any of them, make operations fail and change
// what reads answer.
#pragma once

#include <HostTags.h>

#include <array>
#include <atomic>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "ModuleDefinition.h"

namespace hostsim {

// The member operations a test can make fail.
enum class TagOperation {
  kValueRead,
  kValueWrite,
  kEnumRead,
  kEnumWrite,
  kEnumTexts,
  kMinRead,
  kMaxRead,
  kDirtyRead,
  kForcedRead,
  kForceValueRead,
  kEnumValuesRead,
  kPropertyRead,
  kPropertyWrite,
};
constexpr size_t kTagOperationCount = static_cast<size_t>(TagOperation::kPropertyWrite) + 1;

class ConfigurationTag : public ITag2, public ITagForcing, public ITagEnumValues, public ITagExtProperty {
 public:
  // A new tag with every member at its default, with one reference for the caller.
  static ConfigurationTag* Create(const TagDefinition& definition);

  // IUnknown: IUnknown, IDispatch, ITag, ITag2, ITagForcing, ITagEnumValues, ITagExtProperty,
  // except those a test refused (E_NOINTERFACE).
  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  STDMETHODIMP_(ULONG) AddRef() override;
  STDMETHODIMP_(ULONG) Release() override;
  // IDispatch: the tag is called early-bound only (E_NOTIMPL; no type information).
  STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) override;
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) override;
  STDMETHODIMP Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) override;
  // ITag. Writes convert the VARIANT to the member's type (VariantChangeType's error), refuse
  // a value outside the limits (DISP_E_OVERFLOW) or a code that is no entry's
  // (DISP_E_BADINDEX, as an index outside the list), and set the member dirty. Enumeration
  // operations on another member answer DISP_E_TYPEMISMATCH.
  STDMETHODIMP GetMemberValue(BSTR member, VARIANT* value) override;
  STDMETHODIMP SetMemberValue(BSTR member, VARIANT value) override;
  STDMETHODIMP GetEnumValue(BSTR member, LONG* index) override;
  STDMETHODIMP SetEnumValue(BSTR member, LONG index) override;
  STDMETHODIMP GetEnumStrings(BSTR member, SAFEARRAY** texts) override;
  STDMETHODIMP GetMinValue(BSTR member, VARIANT* value) override;
  STDMETHODIMP GetMaxValue(BSTR member, VARIANT* value) override;
  // ITag2: the definition's suffix (or the one a test set); the member's dirty flag.
  STDMETHODIMP get_Suffix(BSTR* suffix) override;
  STDMETHODIMP GetMemberDirtyState(BSTR member, VARIANT_BOOL* dirty) override;
  // ITagForcing: the member's forced flag and value (a VARIANT of its type); the tag's forces
  // switch, which SetForcesEnabled changes.
  STDMETHODIMP GetIsForced(BSTR member, VARIANT_BOOL* forced) override;
  STDMETHODIMP GetForcesEnabled(VARIANT_BOOL* enabled) override;
  STDMETHODIMP SetForcesEnabled(VARIANT_BOOL enabled) override;
  STDMETHODIMP GetForceValue(BSTR member, VARIANT* value) override;
  // ITagEnumValues: the entries' codes; DISP_E_TYPEMISMATCH for a member of another type.
  STDMETHODIMP GetEnumValues(BSTR member, SAFEARRAY** values) override;
  // ITagExtProperty: text properties per (key, member); a property never written reads as an
  // empty VT_BSTR; a write is changed to VT_BSTR (VariantChangeType's error).
  STDMETHODIMP GetProperty(LONG key, BSTR member, VARIANT* value) override;
  STDMETHODIMP SetProperty(LONG key, BSTR member, VARIANT value) override;

  // The host's side (no dirty marking): false for an absent member or a value the member
  // does not take (an enumeration code that is no entry's).
  bool SetInteger(const std::wstring& member, LONGLONG value);
  bool SetReal(const std::wstring& member, float value);
  bool SetText(const std::wstring& member, const std::wstring& value);
  // The member's current value in its type's form; false when absent.
  bool GetValue(const std::wstring& member, MemberValue* value) const;
  bool IsDirty(const std::wstring& member) const;
  void ClearDirty();
  // The controller forces the member (with that value, or the one it had) or stops forcing
  // it; false for an absent member.
  bool SetForced(const std::wstring& member, bool forced, const MemberValue* value = nullptr);
  void SetSuffix(const std::wstring& suffix) { m_suffix = suffix; }

  // Fault knobs: the member disappears; reads of the member answer hr; value and limit reads
  // answer the member's value converted to vt (VT_R8 for a REAL, for example); VT_EMPTY ends
  // the override. FailOperation makes one operation of the member answer hr (S_OK ends it);
  // FailValueReads is FailOperation for value reads.
  void RemoveMember(const std::wstring& member);
  void FailValueReads(const std::wstring& member, HRESULT hr);
  void AnswerValueAs(const std::wstring& member, VARTYPE vt);
  void FailOperation(const std::wstring& member, TagOperation operation, HRESULT hr);
  // The enumeration-texts read of the member answers these texts in an array whose lower
  // bound is lowerBound (any number of texts, none included).
  void AnswerEnumStrings(const std::wstring& member, LONG lowerBound, const std::vector<std::wstring>& texts);
  // The suffix read and the forces-switch read answer hr (S_OK ends it).
  void FailSuffixRead(HRESULT hr) { m_suffixFailure = hr; }
  void FailForcesEnabledRead(HRESULT hr) { m_forcesEnabledFailure = hr; }
  // QueryInterface for the interface answers E_NOINTERFACE.
  void RefuseInterface(const IID& iid);

  // Observation: how often each operation was asked of a member (answered or failed), value
  // reads alone, and every accepted write (member, VT, value as text; an enumeration write by
  // index is recorded as VT_I4 with the entry's code).
  int OperationCount(const std::wstring& member, TagOperation operation) const;
  int ValueReadCount(const std::wstring& member) const {
    return OperationCount(member, TagOperation::kValueRead);
  }
  struct Write {
    std::wstring member;
    VARTYPE vt;
    std::wstring value;
  };
  const std::vector<Write>& Writes() const { return m_writes; }

  const TagDefinition& Definition() const { return m_definition; }

 private:
  struct MemberState {
    const MemberDefinition* definition = nullptr;
    MemberValue value;
    size_t entry = 0;
    bool dirty = false;
    bool forced = false;
    MemberValue forceValue;
    VARTYPE answerAs = VT_EMPTY;
    std::map<TagOperation, HRESULT> failures;
    bool textsOverridden = false;
    LONG textsLowerBound = 0;
    std::vector<std::wstring> texts;
    std::array<int, kTagOperationCount> asked{};

    HRESULT Failure(TagOperation operation) const;
  };

  explicit ConfigurationTag(const TagDefinition& definition);
  virtual ~ConfigurationTag();

  MemberState* Find(BSTR member);
  MemberState* Find(const std::wstring& member);
  const MemberState* Find(const std::wstring& member) const;
  HRESULT Store(MemberState& state, const VARIANT& value);
  // The member of an operation: E_INVALIDARG when absent, the operation's failure when a test
  // set one, else S_OK with *state set.
  HRESULT Lookup(BSTR member, TagOperation operation, MemberState** state);
  HRESULT ReadLimit(BSTR member, TagOperation operation, bool maximum, VARIANT* value);

  std::atomic<ULONG> m_refs{1};
  TagDefinition m_definition;
  std::map<std::wstring, MemberState> m_members;
  std::vector<Write> m_writes;
  std::wstring m_suffix;
  bool m_forcesEnabled = false;
  HRESULT m_suffixFailure = S_OK;
  HRESULT m_forcesEnabledFailure = S_OK;
  std::vector<IID> m_refused;
  std::map<std::pair<LONG, std::wstring>, std::wstring> m_properties;
};

// A member's value as a VARIANT of its type (the VARIANT is overwritten, not cleared).
HRESULT MemberValueToVariant(const MemberDefinition& member, const MemberValue& value, VARIANT* out);

}  // namespace hostsim
