// What the host reads of the registry: the classes registered with an in-process server.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace hostcli {

struct RegisteredClass {
  std::wstring clsid;   // "{...}" as the key is named
  std::wstring title;   // the key's default value
  std::wstring server;  // the InProcServer32 path, in the platform's form (DefaultValue)
};

// The key's default value, whatever its length: a text (REG_SZ, REG_EXPAND_SZ) as it stands,
// any other value named by its type with its data, "(REG_DWORD 0x0000002A)"; "" when the key
// or the value is missing.
std::wstring DefaultValue(HKEY parent, const std::wstring& subKey);

// Every class under HKEY_CLASSES_ROOT\CLSID with an in-process server, in the registry's
// order.
std::vector<RegisteredClass> RegisteredClasses();

// The file name of a platform path (after its last backslash).
std::wstring FileNameOf(const std::wstring& platformPath);

// The text in lower case, for comparing names and paths as the platform does.
std::wstring Lower(std::wstring text);

}  // namespace hostcli
