#include "ModuleSpecificFileFind.h"

#include <oleauto.h>

#include <algorithm>
#include <cwctype>

#include "HostServers.h"

namespace hostsim {

bool FileNameLess::operator()(const std::wstring& a, const std::wstring& b) const {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), [](wchar_t x, wchar_t y) {
    return std::towlower(static_cast<wint_t>(x)) < std::towlower(static_cast<wint_t>(y));
  });
}

FileFindSettings& MutableFileFindSettings() {
  static FileFindSettings settings;
  return settings;
}

void ResetFileFindSettings() {
  MutableFileFindSettings() = FileFindSettings{};
}

ModuleSpecificFileFind::ModuleSpecificFileFind() {
  ServiceCounters& counters = MutableServiceCounters(CLSID_ModuleSpecificFileFind);
  ++counters.objectsCreated;
  ++counters.liveObjects;
}

ModuleSpecificFileFind::~ModuleSpecificFileFind() {
  --MutableServiceCounters(CLSID_ModuleSpecificFileFind).liveObjects;
}

STDMETHODIMP ModuleSpecificFileFind::QueryInterface(REFIID riid, void** ppv) {
  return QueryFromTable<ModuleSpecificFileFind>(
      this, riid, ppv, {HOSTSIM_ENTRY(ModuleSpecificFileFind, IModuleSpecificFileFind)});
}

STDMETHODIMP ModuleSpecificFileFind::FindFile(BSTR fileName, BSTR* resolvedPath) {
  if (!resolvedPath) return E_POINTER;
  *resolvedPath = nullptr;
  if (!fileName) return E_POINTER;
  ++MutableServiceCounters(CLSID_ModuleSpecificFileFind).textRequests;
  FileFindSettings& settings = MutableFileFindSettings();
  const std::wstring name(fileName, SysStringLen(fileName));
  settings.requests.push_back(name);
  if (name.empty()) return E_INVALIDARG;
  if (FAILED(settings.findResult)) return settings.findResult;

  std::wstring path;
  if (const auto found = settings.paths.find(name); found != settings.paths.end()) {
    path = found->second;
  } else if (!settings.folder.empty()) {
    path = settings.folder;
    if (path.back() != L'\\') path += L'\\';
    path += name;
  } else {
    return HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND);
  }
  *resolvedPath = SysAllocStringLen(path.data(), static_cast<UINT>(path.size()));
  return *resolvedPath ? S_OK : E_OUTOFMEMORY;
}

HRESULT CreateModuleSpecificFileFind(REFIID riid, void** ppv) {
  if (!ppv) return E_POINTER;
  *ppv = nullptr;
  const HRESULT created = MutableFileFindSettings().createResult;
  if (FAILED(created)) return created;
  return CreateAndQuery<ModuleSpecificFileFind>(riid, ppv);
}

}  // namespace hostsim
