#include "ConfigurationTag.h"

#include <oleauto.h>

#include <cassert>

#include "SimComObject.h"

namespace hostsim {

namespace {

VARTYPE VarTypeOf(MemberType type) {
  switch (type) {
    case MemberType::kBool:
      return VT_BOOL;
    case MemberType::kDint:
    case MemberType::kEnumeration:
      return VT_I4;
    case MemberType::kLint:
      return VT_I8;
    case MemberType::kReal:
      return VT_R4;
    case MemberType::kString:
      return VT_BSTR;
  }
  return VT_EMPTY;
}

std::wstring TextOf(const VARIANT& value) {
  VARIANT text;
  VariantInit(&text);
  std::wstring out;
  // A shallow copy, not cleared: not every SDK declares VariantChangeType's source const.
  VARIANT source = value;
  if (SUCCEEDED(VariantChangeType(&text, &source, 0, VT_BSTR)) && V_BSTR(&text)) out = V_BSTR(&text);
  VariantClear(&text);
  return out;
}

}  // namespace

HRESULT MemberValueToVariant(const MemberDefinition& member, const MemberValue& value, VARIANT* out) {
  if (!out) return E_POINTER;
  VariantInit(out);
  V_VT(out) = VarTypeOf(member.type);
  switch (member.type) {
    case MemberType::kBool:
      V_BOOL(out) = value.integer ? VARIANT_TRUE : VARIANT_FALSE;
      break;
    case MemberType::kDint:
    case MemberType::kEnumeration:
      V_I4(out) = static_cast<LONG>(value.integer);
      break;
    case MemberType::kLint:
      V_I8(out) = value.integer;
      break;
    case MemberType::kReal:
      V_R4(out) = value.real;
      break;
    case MemberType::kString:
      V_BSTR(out) = SysAllocString(value.text.c_str());
      if (!V_BSTR(out)) {
        V_VT(out) = VT_EMPTY;
        return E_OUTOFMEMORY;
      }
      break;
  }
  return S_OK;
}

ConfigurationTag* ConfigurationTag::Create(const TagDefinition& definition) {
  return new ConfigurationTag(definition);
}

ConfigurationTag::ConfigurationTag(const TagDefinition& definition)
    : m_definition(definition), m_suffix(definition.suffix), m_forcesEnabled(definition.forcesEnabled) {
  for (const MemberDefinition& member : m_definition.members) {
    MemberState state;
    state.definition = &member;
    state.value = member.defaultValue;
    for (size_t i = 0; i < member.entries.size(); ++i)
      if (member.entries[i].code == member.defaultValue.integer) state.entry = i;
    state.dirty = member.dirty;
    state.forced = member.forced;
    state.forceValue = member.forceValue;
    m_members.emplace(member.name, state);
  }
}

HRESULT ConfigurationTag::MemberState::Failure(TagOperation operation) const {
  const auto found = failures.find(operation);
  return found == failures.end() ? S_OK : found->second;
}

ConfigurationTag::~ConfigurationTag() = default;

STDMETHODIMP ConfigurationTag::QueryInterface(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  for (const IID& refused : m_refused)
    if (refused == riid) return E_NOINTERFACE;
  return QueryFromTable<ConfigurationTag>(
      this, riid, ppv,
      {HOSTSIM_ENTRY(ConfigurationTag, ITag2), HOSTSIM_ENTRY(ConfigurationTag, IDispatch),
       HOSTSIM_ENTRY(ConfigurationTag, ITag), HOSTSIM_ENTRY(ConfigurationTag, ITagForcing),
       HOSTSIM_ENTRY(ConfigurationTag, ITagEnumValues), HOSTSIM_ENTRY(ConfigurationTag, ITagExtProperty)});
}

STDMETHODIMP_(ULONG) ConfigurationTag::AddRef() {
  return m_refs.fetch_add(1) + 1;
}

STDMETHODIMP_(ULONG) ConfigurationTag::Release() {
  const ULONG before = m_refs.fetch_sub(1);
  assert(before != 0 && "Release below zero");
  if (before == 1) {
    m_refs.store(1);  // stabilized while the destructor runs
    delete this;
  }
  return before - 1;
}

STDMETHODIMP ConfigurationTag::GetTypeInfoCount(UINT* pctinfo) {
  if (!pctinfo) return E_POINTER;
  *pctinfo = 0;
  return S_OK;
}
STDMETHODIMP ConfigurationTag::GetTypeInfo(UINT, LCID, ITypeInfo**) {
  return E_NOTIMPL;
}
STDMETHODIMP ConfigurationTag::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) {
  return E_NOTIMPL;
}
STDMETHODIMP ConfigurationTag::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*) {
  return E_NOTIMPL;
}

ConfigurationTag::MemberState* ConfigurationTag::Find(BSTR member) {
  return Find(std::wstring(member ? member : L""));
}

ConfigurationTag::MemberState* ConfigurationTag::Find(const std::wstring& member) {
  const auto found = m_members.find(member);
  return found == m_members.end() ? nullptr : &found->second;
}

const ConfigurationTag::MemberState* ConfigurationTag::Find(const std::wstring& member) const {
  const auto found = m_members.find(member);
  return found == m_members.end() ? nullptr : &found->second;
}

HRESULT ConfigurationTag::Lookup(BSTR member, TagOperation operation, MemberState** state) {
  *state = Find(member);
  if (!*state) return E_INVALIDARG;
  ++(*state)->asked[static_cast<size_t>(operation)];
  return (*state)->Failure(operation);
}

STDMETHODIMP ConfigurationTag::GetMemberValue(BSTR member, VARIANT* value) {
  if (!value) return E_POINTER;
  MemberState* state = Find(member);
  if (!state) return E_INVALIDARG;
  ++state->asked[static_cast<size_t>(TagOperation::kValueRead)];
  if (const HRESULT failure = state->Failure(TagOperation::kValueRead); FAILED(failure)) return failure;
  HRESULT hr = MemberValueToVariant(*state->definition, state->value, value);
  if (SUCCEEDED(hr) && state->answerAs != VT_EMPTY) hr = VariantChangeType(value, value, 0, state->answerAs);
  return hr;
}

HRESULT ConfigurationTag::Store(MemberState& state, const VARIANT& given) {
  const MemberDefinition& member = *state.definition;
  VARIANT converted;
  VariantInit(&converted);
  VARIANT source = given;  // a shallow copy, not cleared: see TextOf
  HRESULT hr = VariantChangeType(&converted, &source, 0, VarTypeOf(member.type));
  if (FAILED(hr)) return hr;
  MemberValue value;
  switch (member.type) {
    case MemberType::kBool:
      value.integer = V_BOOL(&converted) ? 1 : 0;
      break;
    case MemberType::kDint:
    case MemberType::kEnumeration:
      value.integer = V_I4(&converted);
      break;
    case MemberType::kLint:
      value.integer = V_I8(&converted);
      break;
    case MemberType::kReal:
      value.real = V_R4(&converted);
      break;
    case MemberType::kString:
      value.text = V_BSTR(&converted) ? V_BSTR(&converted) : L"";
      break;
  }
  VariantClear(&converted);
  size_t entry = state.entry;
  if (member.type == MemberType::kEnumeration) {
    hr = DISP_E_BADINDEX;
    for (size_t i = 0; i < member.entries.size(); ++i)
      if (member.entries[i].code == value.integer) entry = i, hr = S_OK;
    if (FAILED(hr)) return hr;
  } else if (member.type == MemberType::kReal) {
    if (!(value.real >= member.minimum.real && value.real <= member.maximum.real)) return DISP_E_OVERFLOW;
  } else if (member.type != MemberType::kString) {
    if (value.integer < member.minimum.integer || value.integer > member.maximum.integer)
      return DISP_E_OVERFLOW;
  }
  state.value = value;
  state.entry = entry;
  return S_OK;
}

STDMETHODIMP ConfigurationTag::SetMemberValue(BSTR member, VARIANT value) {
  MemberState* state = nullptr;
  HRESULT hr = Lookup(member, TagOperation::kValueWrite, &state);
  if (FAILED(hr)) return hr;
  hr = Store(*state, value);
  if (FAILED(hr)) return hr;
  state->dirty = true;
  m_writes.push_back({state->definition->name, V_VT(&value), TextOf(value)});
  return S_OK;
}

STDMETHODIMP ConfigurationTag::GetEnumValue(BSTR member, LONG* index) {
  if (!index) return E_POINTER;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kEnumRead, &state); FAILED(hr)) return hr;
  if (state->definition->type != MemberType::kEnumeration) return DISP_E_TYPEMISMATCH;
  *index = static_cast<LONG>(state->entry);
  return S_OK;
}

STDMETHODIMP ConfigurationTag::SetEnumValue(BSTR member, LONG index) {
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kEnumWrite, &state); FAILED(hr)) return hr;
  const MemberDefinition& definition = *state->definition;
  if (definition.type != MemberType::kEnumeration) return DISP_E_TYPEMISMATCH;
  if (index < 0 || static_cast<size_t>(index) >= definition.entries.size()) return DISP_E_BADINDEX;
  state->entry = static_cast<size_t>(index);
  state->value.integer = definition.entries[state->entry].code;
  state->dirty = true;
  m_writes.push_back({definition.name, VT_I4, std::to_wstring(definition.entries[state->entry].code)});
  return S_OK;
}

STDMETHODIMP ConfigurationTag::GetEnumStrings(BSTR member, SAFEARRAY** texts) {
  if (!texts) return E_POINTER;
  *texts = nullptr;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kEnumTexts, &state); FAILED(hr)) return hr;
  const MemberDefinition& definition = *state->definition;
  if (definition.type != MemberType::kEnumeration) return DISP_E_TYPEMISMATCH;
  std::vector<std::wstring> entries;
  for (const EnumerationEntry& entry : definition.entries) entries.push_back(entry.text);
  const std::vector<std::wstring>& shown = state->textsOverridden ? state->texts : entries;
  const LONG lower = state->textsOverridden ? state->textsLowerBound : 0;
  SAFEARRAY* array = SafeArrayCreateVector(VT_BSTR, lower, static_cast<ULONG>(shown.size()));
  if (!array) return E_OUTOFMEMORY;
  for (LONG i = 0; i < static_cast<LONG>(shown.size()); ++i) {
    BSTR text = SysAllocString(shown[i].c_str());
    LONG at = lower + i;
    const HRESULT hr = SafeArrayPutElement(array, &at, text);
    SysFreeString(text);
    if (FAILED(hr)) {
      SafeArrayDestroy(array);
      return hr;
    }
  }
  *texts = array;
  return S_OK;
}

HRESULT ConfigurationTag::ReadLimit(BSTR member, TagOperation operation, bool maximum, VARIANT* value) {
  if (!value) return E_POINTER;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, operation, &state); FAILED(hr)) return hr;
  const MemberDefinition& definition = *state->definition;
  HRESULT hr = MemberValueToVariant(definition, maximum ? definition.maximum : definition.minimum, value);
  if (SUCCEEDED(hr) && state->answerAs != VT_EMPTY) hr = VariantChangeType(value, value, 0, state->answerAs);
  return hr;
}

STDMETHODIMP ConfigurationTag::GetMinValue(BSTR member, VARIANT* value) {
  return ReadLimit(member, TagOperation::kMinRead, false, value);
}

STDMETHODIMP ConfigurationTag::GetMaxValue(BSTR member, VARIANT* value) {
  return ReadLimit(member, TagOperation::kMaxRead, true, value);
}

STDMETHODIMP ConfigurationTag::get_Suffix(BSTR* suffix) {
  if (!suffix) return E_POINTER;
  *suffix = nullptr;
  if (FAILED(m_suffixFailure)) return m_suffixFailure;
  *suffix = SysAllocString(m_suffix.c_str());
  return *suffix ? S_OK : E_OUTOFMEMORY;
}

STDMETHODIMP ConfigurationTag::GetMemberDirtyState(BSTR member, VARIANT_BOOL* dirty) {
  if (!dirty) return E_POINTER;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kDirtyRead, &state); FAILED(hr)) return hr;
  *dirty = state->dirty ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP ConfigurationTag::GetIsForced(BSTR member, VARIANT_BOOL* forced) {
  if (!forced) return E_POINTER;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kForcedRead, &state); FAILED(hr)) return hr;
  *forced = state->forced ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP ConfigurationTag::GetForcesEnabled(VARIANT_BOOL* enabled) {
  if (!enabled) return E_POINTER;
  if (FAILED(m_forcesEnabledFailure)) return m_forcesEnabledFailure;
  *enabled = m_forcesEnabled ? VARIANT_TRUE : VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP ConfigurationTag::SetForcesEnabled(VARIANT_BOOL enabled) {
  m_forcesEnabled = enabled != VARIANT_FALSE;
  return S_OK;
}

STDMETHODIMP ConfigurationTag::GetForceValue(BSTR member, VARIANT* value) {
  if (!value) return E_POINTER;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kForceValueRead, &state); FAILED(hr)) return hr;
  return MemberValueToVariant(*state->definition, state->forceValue, value);
}

STDMETHODIMP ConfigurationTag::GetEnumValues(BSTR member, SAFEARRAY** values) {
  if (!values) return E_POINTER;
  *values = nullptr;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kEnumValuesRead, &state); FAILED(hr)) return hr;
  const MemberDefinition& definition = *state->definition;
  if (definition.type != MemberType::kEnumeration) return DISP_E_TYPEMISMATCH;
  SAFEARRAY* array = SafeArrayCreateVector(VT_I4, 0, static_cast<ULONG>(definition.entries.size()));
  if (!array) return E_OUTOFMEMORY;
  for (LONG i = 0; i < static_cast<LONG>(definition.entries.size()); ++i) {
    LONG code = definition.entries[i].code;
    const HRESULT hr = SafeArrayPutElement(array, &i, &code);
    if (FAILED(hr)) {
      SafeArrayDestroy(array);
      return hr;
    }
  }
  *values = array;
  return S_OK;
}

STDMETHODIMP ConfigurationTag::GetProperty(LONG key, BSTR member, VARIANT* value) {
  if (!value) return E_POINTER;
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kPropertyRead, &state); FAILED(hr)) return hr;
  const auto found = m_properties.find({key, state->definition->name});
  VariantInit(value);
  V_VT(value) = VT_BSTR;
  V_BSTR(value) = SysAllocString(found == m_properties.end() ? L"" : found->second.c_str());
  if (V_BSTR(value)) return S_OK;
  V_VT(value) = VT_EMPTY;
  return E_OUTOFMEMORY;
}

STDMETHODIMP ConfigurationTag::SetProperty(LONG key, BSTR member, VARIANT value) {
  MemberState* state = nullptr;
  if (const HRESULT hr = Lookup(member, TagOperation::kPropertyWrite, &state); FAILED(hr)) return hr;
  VARIANT text;
  VariantInit(&text);
  const HRESULT hr = VariantChangeType(&text, &value, 0, VT_BSTR);
  if (FAILED(hr)) return hr;
  m_properties[{key, state->definition->name}] = V_BSTR(&text) ? V_BSTR(&text) : L"";
  VariantClear(&text);
  return S_OK;
}

bool ConfigurationTag::SetInteger(const std::wstring& member, LONGLONG value) {
  MemberState* state = Find(member);
  if (!state) return false;
  const MemberDefinition& definition = *state->definition;
  if (definition.type == MemberType::kEnumeration) {
    for (size_t i = 0; i < definition.entries.size(); ++i)
      if (definition.entries[i].code == value) {
        state->entry = i;
        state->value.integer = value;
        return true;
      }
    return false;
  }
  if (definition.type == MemberType::kReal) state->value.real = static_cast<float>(value);
  state->value.integer = value;
  return true;
}

bool ConfigurationTag::SetReal(const std::wstring& member, float value) {
  MemberState* state = Find(member);
  if (!state || state->definition->type != MemberType::kReal) return false;
  state->value.real = value;
  return true;
}

bool ConfigurationTag::SetText(const std::wstring& member, const std::wstring& value) {
  MemberState* state = Find(member);
  if (!state || state->definition->type != MemberType::kString) return false;
  state->value.text = value;
  return true;
}

bool ConfigurationTag::GetValue(const std::wstring& member, MemberValue* value) const {
  const MemberState* state = Find(member);
  if (!state) return false;
  *value = state->value;
  return true;
}

bool ConfigurationTag::IsDirty(const std::wstring& member) const {
  const MemberState* state = Find(member);
  return state && state->dirty;
}

void ConfigurationTag::ClearDirty() {
  for (auto& [name, state] : m_members) state.dirty = false;
}

void ConfigurationTag::RemoveMember(const std::wstring& member) {
  m_members.erase(member);
}

void ConfigurationTag::FailValueReads(const std::wstring& member, HRESULT hr) {
  FailOperation(member, TagOperation::kValueRead, hr);
}

void ConfigurationTag::FailOperation(const std::wstring& member, TagOperation operation, HRESULT hr) {
  MemberState* state = Find(member);
  if (!state) return;
  if (SUCCEEDED(hr))
    state->failures.erase(operation);
  else
    state->failures[operation] = hr;
}

bool ConfigurationTag::SetForced(const std::wstring& member, bool forced, const MemberValue* value) {
  MemberState* state = Find(member);
  if (!state) return false;
  state->forced = forced;
  if (value) state->forceValue = *value;
  return true;
}

void ConfigurationTag::AnswerEnumStrings(const std::wstring& member, LONG lowerBound,
                                         const std::vector<std::wstring>& texts) {
  MemberState* state = Find(member);
  if (!state) return;
  state->textsOverridden = true;
  state->textsLowerBound = lowerBound;
  state->texts = texts;
}

void ConfigurationTag::RefuseInterface(const IID& iid) {
  m_refused.push_back(iid);
}

void ConfigurationTag::AnswerValueAs(const std::wstring& member, VARTYPE vt) {
  if (MemberState* state = Find(member)) state->answerAs = vt;
}

int ConfigurationTag::OperationCount(const std::wstring& member, TagOperation operation) const {
  const MemberState* state = Find(member);
  return state ? state->asked[static_cast<size_t>(operation)] : 0;
}

}  // namespace hostsim
