// The member-name list of a value object: names by index, each name at most once. The value
// objects and the set-event object keep their names the same way and log under their own
// function names.
#pragma once

#include "PVLog.h"
#include "Strings.h"

// Where a list's failures are logged (the caller's file, function and line: the records name
// the call), and the caller's text for an empty name.
struct PVMemberNameLogSite {
  const wchar_t* sourceFile;
  const wchar_t* function;
  int32_t line;
  const wchar_t* emptyNameMessage;
};

// Puts name at index: appended when index is the list's size, placed in an empty slot below
// it. FALSE for a null or empty name, an index past the end, a name already in the list, or
// a slot that holds another name (the stored name is kept: nothing binds a second one).
inline BOOL AddMemberNameToList(CStrings& names, const wchar_t* name, UINT index,
                                const PVMemberNameLogSite& site) {
  if (!name) {
    PVLog(L"Invalid member name parameter.", site.sourceFile, site.function, site.line);
    return FALSE;
  }
  if (!*name) {
    PVLog(site.emptyNameMessage, site.sourceFile, site.function, site.line);
    return FALSE;
  }
  const CString text(name);
  if (index >= names.GetSize()) {
    if (index > names.GetSize() || !names.InsertAt(text, static_cast<int>(index))) {
      PVLog(L"Failed to add member name.", site.sourceFile, site.function, site.line);
      return FALSE;
    }
    return TRUE;
  }
  if (names.Contains(text)) return FALSE;
  CString stored;
  names.GetAt(index, stored);
  if (!stored.IsEmpty()) {
    PVLog(L"Overwriting existing member name.", site.sourceFile, site.function, site.line);
    return FALSE;
  }
  if (!names.RemoveAt(index) || !names.InsertAt(text, static_cast<int>(index))) {
    PVLog(L"Failed to add member name.", site.sourceFile, site.function, site.line);
    return FALSE;
  }
  return TRUE;
}
