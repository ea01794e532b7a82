// The module lock count of this DLL: the class factories, server locks and COM objects that
// keep it loaded. The DLL may be unloaded only while the count is 0. The count changes
// atomically, so any thread may lock and unlock.
#pragma once

#include <windows.h>

void PVLockModule();
void PVUnlockModule();
// TRUE while anything holds the module.
BOOL PVIsModuleLocked();
