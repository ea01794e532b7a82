// The configuration components' interfaces: the value object a control reads, writes,
// range-checks and formats one member through (IPVGetSetValue), its forcing questions
// (IPVGetValueForcing), one-shot event members (IPVSetEvent), and the page-wide adapter from
// value objects to the host's configuration tag (IPVGetSetAdapter and its later versions).
// The table order of every interface is fixed; overloads of one name stand together.
#pragma once

#include <HostTags.h>
#include <afx.h>
#include <oaidl.h>

class CPromptInfo;

// Text format codes of the value objects' text forms.
inline constexpr int PV_FORMAT_INTEGER = 3;
inline constexpr int PV_FORMAT_FLOAT = 4;
inline constexpr int PV_FORMAT_ENUM_STRINGS = 6;

// Text outs are assigned, not appended. prompt may be null; when a text conversion fails with
// an input-error code and it is given, the prompt's text says why, prefixed with the member.
interface IPVGetSetValue : public IUnknown {
  STDMETHOD(GetValue)(CString& text, int format, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(bool* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(SHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(USHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(LONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(ULONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(float* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetValue)(CString& text, int decimals, int format, CPromptInfo* prompt) = 0;

  STDMETHOD(SetValue)(const CString& text, int format, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(bool value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(SHORT value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(USHORT value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(LONG value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(ULONG value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(float value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetValue)(const CString& text, int decimals, int format, CPromptInfo* prompt) = 0;

  STDMETHOD(GetMinValue)(CString& text, int format, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMinValue)(SHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMinValue)(USHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMinValue)(LONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMinValue)(ULONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMinValue)(float* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMinValue)(CString& text, int decimals, int format, CPromptInfo* prompt) = 0;

  STDMETHOD(GetMaxValue)(CString& text, int format, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMaxValue)(SHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMaxValue)(USHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMaxValue)(LONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMaxValue)(ULONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMaxValue)(float* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetMaxValue)(CString& text, int decimals, int format, CPromptInfo* prompt) = 0;

  STDMETHOD(GetDefaultValue)(bool* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetDefaultValue)(SHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetDefaultValue)(USHORT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetDefaultValue)(LONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetDefaultValue)(ULONG* value, CPromptInfo* prompt) = 0;
  STDMETHOD(GetDefaultValue)(float* value, CPromptInfo* prompt) = 0;

  STDMETHOD(TestValue)(SHORT value, CPromptInfo* prompt) = 0;
  STDMETHOD(TestValue)(USHORT value, CPromptInfo* prompt) = 0;
  STDMETHOD(TestValue)(LONG value, CPromptInfo* prompt) = 0;
  STDMETHOD(TestValue)(ULONG value, CPromptInfo* prompt) = 0;
  STDMETHOD(TestValue)(float value, CPromptInfo* prompt) = 0;

  STDMETHOD(GetRawValue)(VARIANT* value, CPromptInfo* prompt) = 0;
  STDMETHOD(SetToDefaultValue)(CPromptInfo* prompt) = 0;
  STDMETHOD(InitializationIsValid)() = 0;
  STDMETHOD(GetMemberNameAt)(UINT index, CString& name) = 0;
  STDMETHOD(HasMemberName)(const wchar_t* name) = 0;
};
DECLARE_UUIDOF(IPVGetSetValue, "6722B884-A11A-4CC1-8731-AB808379E93C");

// What a control asks about a forced member.
interface IPVGetValueForcing : public IUnknown {
  STDMETHOD(GetIsForcingSupported)(bool* supported) = 0;
  STDMETHOD(GetForcesEnabled)(bool* enabled) = 0;
  STDMETHOD(GetIsForced)(bool* forced) = 0;
  STDMETHOD(GetForceValue)(VARIANT* value) = 0;
};
DECLARE_UUIDOF(IPVGetValueForcing, "9B65A1D5-08BF-4164-958C-04FCE077F573");

// A member written as a one-shot event.
interface IPVSetEvent : public IUnknown {
  STDMETHOD(SetEvent)() = 0;
  STDMETHOD(SetEvent)(LONG value) = 0;
  STDMETHOD(InitializationIsValid)() = 0;
  STDMETHOD(GetMemberName)(UINT index, CString& name) = 0;
  STDMETHOD(HasMemberName)(const wchar_t* name) = 0;
};
DECLARE_UUIDOF(IPVSetEvent, "B8CE7365-3991-42B8-956C-A680646BFDCF");

// Typed requests by member name on the host's tag. Reads check the VARIANT type the host
// answers and never convert; writes send the exact type (a float always as VT_R4).
interface IPVGetSetAdapter : public IUnknown {
  STDMETHOD(GetBool)(const wchar_t* member, BOOL* value, BOOL invert) = 0;
  STDMETHOD(SetBool)(const wchar_t* member, BOOL value, BOOL invert) = 0;
  // The member's position in its list of entries; -1 and S_OK for a member the tag lacks.
  STDMETHOD(GetEnum)(const wchar_t* member, LONG* value) = 0;
  STDMETHOD(SetEnum)(const wchar_t* member, LONG value) = 0;
  // texts: out, a one-dimensional BSTR array the caller destroys.
  STDMETHOD(GetEnumStrings)(const wchar_t* member, SAFEARRAY** texts) = 0;
  STDMETHOD(GetFloat)(const wchar_t* member, float* value) = 0;
  STDMETHOD(SetFloat)(const wchar_t* member, float value) = 0;
  STDMETHOD(GetMinFloat)(const wchar_t* member, float* value) = 0;
  STDMETHOD(GetMaxFloat)(const wchar_t* member, float* value) = 0;
  STDMETHOD(GetLong)(const wchar_t* member, LONG* value) = 0;
  STDMETHOD(SetLong)(const wchar_t* member, LONG value) = 0;
  STDMETHOD(GetMinLong)(const wchar_t* member, LONG* value) = 0;
  STDMETHOD(GetMaxLong)(const wchar_t* member, LONG* value) = 0;
  STDMETHOD(GetString)(const wchar_t* member, CString& value) = 0;
  STDMETHOD(SetString)(const wchar_t* member, const CString& value) = 0;
};
DECLARE_UUIDOF(IPVGetSetAdapter, "449777AC-6FC5-4DED-BA18-2AD2C1681FEF");

interface IPVGetSetAdapter2 : public IPVGetSetAdapter {
  // tag: out, the tag's ITag2 (a new reference).
  STDMETHOD(GetITag)(ITag2** tag) = 0;
  STDMETHOD(GetMemberDirtyState)(const wchar_t* member, VARIANT_BOOL* dirty) = 0;
};
DECLARE_UUIDOF(IPVGetSetAdapter2, "C4C0C51A-C14C-44F4-A0E8-4DB077592052");

interface IPVGetSetAdapter3 : public IPVGetSetAdapter2 {
  // VARIANT_TRUE when the tag has the member, VARIANT_FALSE when it answers it has not.
  STDMETHOD(GetMemberExists)(const wchar_t* member, VARIANT_BOOL* exists) = 0;
};
DECLARE_UUIDOF(IPVGetSetAdapter3, "137609B2-2243-47EB-AE12-DA2DC90EAF66");

// Not answered by QueryInterface: its operations are reached through a pointer the caller
// already holds.
interface IPVGetSetAdapter4 : public IPVGetSetAdapter3 {
  // values: out, the entries' device codes (a VT_I4 array the caller destroys).
  STDMETHOD(GetEnumValues)(const wchar_t* member, SAFEARRAY** values) = 0;
  STDMETHOD(GetInt64)(const wchar_t* member, LONGLONG* value) = 0;
  STDMETHOD(SetInt64)(const wchar_t* member, LONGLONG value) = 0;
  STDMETHOD(GetMinInt64)(const wchar_t* member, LONGLONG* value) = 0;
  STDMETHOD(GetMaxInt64)(const wchar_t* member, LONGLONG* value) = 0;
};

_COM_SMARTPTR_TYPEDEF(IPVGetSetValue, __uuidof(IPVGetSetValue));
_COM_SMARTPTR_TYPEDEF(IPVGetValueForcing, __uuidof(IPVGetValueForcing));
_COM_SMARTPTR_TYPEDEF(IPVSetEvent, __uuidof(IPVSetEvent));
_COM_SMARTPTR_TYPEDEF(IPVGetSetAdapter, __uuidof(IPVGetSetAdapter));
_COM_SMARTPTR_TYPEDEF(IPVGetSetAdapter2, __uuidof(IPVGetSetAdapter2));
_COM_SMARTPTR_TYPEDEF(IPVGetSetAdapter3, __uuidof(IPVGetSetAdapter3));
