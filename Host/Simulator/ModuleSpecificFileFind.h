// The host's finder of module-specific files (CLSID_ModuleSpecificFileFind): resolves a help
// file's name to the path where the host keeps it. Registered with the other host services
// (RegisterHostServers); its answers are process-wide settings, as the objects are created by
// CLSID.
#pragma once

#include <PVInterfaces.h>

#include <map>
#include <string>
#include <vector>

#include "SimComObject.h"

namespace hostsim {

// Orders file names without regard to case, as the platform's file system does.
struct FileNameLess {
  bool operator()(const std::wstring& a, const std::wstring& b) const;
};

struct FileFindSettings {
  // A failure makes creating the finder fail with it (CoCreateInstance answers it).
  HRESULT createResult = S_OK;
  // A failure makes every FindFile fail with it.
  HRESULT findResult = S_OK;
  // Names resolved one by one (looked up first).
  std::map<std::wstring, std::wstring, FileNameLess> paths;
  // Otherwise a name resolves to this folder (a platform path), a backslash and the name;
  // whether the file exists is not checked. Empty: an unknown name is not found.
  std::wstring folder;
  // Every name asked for, in order.
  std::vector<std::wstring> requests;
};

// The settings the finder objects answer from. RegisterHostServers resets them.
FileFindSettings& MutableFileFindSettings();
void ResetFileFindSettings();

class ModuleSpecificFileFind final : public IModuleSpecificFileFind {
 public:
  ModuleSpecificFileFind();

  STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
  HOSTSIM_REFCOUNT_IMPL

  // Null name or out: E_POINTER (out null). An empty name: E_INVALIDARG. findResult set: that
  // failure. A name neither in paths nor resolvable under folder:
  // HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND). The path belongs to the caller.
  STDMETHODIMP FindFile(BSTR fileName, BSTR* resolvedPath) override;

 private:
  ~ModuleSpecificFileFind();
};

// The creation function its class factory uses (answers createResult when that is set).
HRESULT CreateModuleSpecificFileFind(REFIID riid, void** ppv);

}  // namespace hostsim
