// The optional extra condition of a configuration control: a reference-counted object that a
// page may hand to a control's Initialize, asked each time the control decides whether it
// may be enabled. A control without one follows the default enable rule alone.
#pragma once

#include <comdef.h>

interface IPVEnableCondition : public IUnknown {
  // enabled: out, TRUE when the control may be enabled. A failed call counts as "no".
  STDMETHOD(GetEnableCondition)(BOOL* enabled) = 0;
};
DECLARE_UUIDOF(IPVEnableCondition, "4659FB62-A016-4AB4-88CD-82050C78985D");

_COM_SMARTPTR_TYPEDEF(IPVEnableCondition, __uuidof(IPVEnableCondition));

// TRUE when there is no condition, or when it answers yes.
inline BOOL EnableConditionAllows(IPVEnableCondition* condition) {
  if (!condition) return TRUE;
  BOOL enabled = FALSE;
  return SUCCEEDED(condition->GetEnableCondition(&enabled)) && enabled ? TRUE : FALSE;
}
