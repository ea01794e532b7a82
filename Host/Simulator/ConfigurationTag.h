// The simulated module's configuration tag: members from a module definition, read and
// written by name through the host's tag interface.
//
// Values cross as VARIANTs of the member's type: VT_BOOL, VT_I4 (DINT, and an enumeration's
// code), VT_I8 (LINT), VT_R4 (REAL), VT_BSTR (STRING). An enumeration member keeps its ordered
// (code, text) entries and a current entry: the value read gives the entry's code, the
// enumeration read its index; a write of either moves the current entry, so both views agree.
// Every operation answers E_INVALIDARG for a member the tag does not have.
#pragma once

#include <HostTags.h>

#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "ModuleDefinition.h"

namespace hostsim {

class ConfigurationTag : public ITag {
 public:
  // A new tag with every member at its default, with one reference for the caller.
  static ConfigurationTag* Create(const TagDefinition& definition);

  // IUnknown: IUnknown, IDispatch and ITag.
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
  // (DISP_E_BADINDEX, as an index outside the list), and set the member dirty.
  STDMETHODIMP GetMemberValue(BSTR member, VARIANT* value) override;
  STDMETHODIMP SetMemberValue(BSTR member, VARIANT value) override;
  STDMETHODIMP GetEnumValue(BSTR member, LONG* index) override;
  STDMETHODIMP SetEnumValue(BSTR member, LONG index) override;
  STDMETHODIMP GetEnumStrings(BSTR member, SAFEARRAY** texts) override;
  STDMETHODIMP GetMinValue(BSTR member, VARIANT* value) override;
  STDMETHODIMP GetMaxValue(BSTR member, VARIANT* value) override;

  // The host's side (no dirty marking): false for an absent member or a value the member
  // does not take (an enumeration code that is no entry's).
  bool SetInteger(const std::wstring& member, LONGLONG value);
  bool SetReal(const std::wstring& member, float value);
  bool SetText(const std::wstring& member, const std::wstring& value);
  // The member's current value in its type's form; false when absent.
  bool GetValue(const std::wstring& member, MemberValue* value) const;
  bool IsDirty(const std::wstring& member) const;
  void ClearDirty();

  // Fault knobs: the member disappears; reads of the member answer hr; value reads answer the
  // member's value converted to vt (VT_R8 for a REAL, for example); VT_EMPTY ends the override.
  void RemoveMember(const std::wstring& member);
  void FailValueReads(const std::wstring& member, HRESULT hr);
  void AnswerValueAs(const std::wstring& member, VARTYPE vt);

  // Observation: value reads per member, and every accepted write (member, VT, value as text).
  int ValueReadCount(const std::wstring& member) const;
  struct Write {
    std::wstring member;
    VARTYPE vt;
    std::wstring value;
  };
  const std::vector<Write>& Writes() const { return m_writes; }

  const TagDefinition& Definition() const { return m_definition; }

 private:
  struct MemberState {
    const MemberDefinition* definition;
    MemberValue value;
    size_t entry = 0;
    bool dirty = false;
    HRESULT readFailure = S_OK;
    VARTYPE answerAs = VT_EMPTY;
    int reads = 0;
  };

  explicit ConfigurationTag(const TagDefinition& definition);
  virtual ~ConfigurationTag();

  MemberState* Find(BSTR member);
  MemberState* Find(const std::wstring& member);
  const MemberState* Find(const std::wstring& member) const;
  HRESULT Store(MemberState& state, const VARIANT& value);

  std::atomic<ULONG> m_refs{1};
  TagDefinition m_definition;
  std::map<std::wstring, MemberState> m_members;
  std::vector<Write> m_writes;
};

// A member's value as a VARIANT of its type (the VARIANT is overwritten, not cleared).
HRESULT MemberValueToVariant(const MemberDefinition& member, const MemberValue& value, VARIANT* out);

}  // namespace hostsim
