// The module loader: the process's table of loaded modules (shared objects opened with dlopen,
// files mapped for their resources only, the executable, the pseudo-modules), their entry
// points, and the resources of their ".rsrc" sections.
#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <link.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "../internal/paths.h"
#include "../internal/unicode.h"
#include "dlgtemplate.h"
#include "errhandlingapi.h"
#include "fileapi.h"
#include "libloaderapi.h"
#include "platform/resource_format.h"
#include "platform/testing_modules.h"
#include "shlobj.h"
#include "winerror.h"
#include "winuser.h"

namespace {

using platform::resources::FoundResource;
using platform::resources::ResourceId;

typedef BOOL(WINAPI* DllEntryPoint)(HINSTANCE, DWORD, LPVOID);

enum class Kind { kExecutable, kLibrary, kDataFile, kPseudo };

struct Module;

// What an HRSRC points to.
struct Resource {
  FoundResource found;
  Module* owner;
};

struct Module {
  Kind kind = Kind::kLibrary;
  uintptr_t tag = 0;          // the low bits of a data-file handle (LDR_IS_DATAFILE / IMAGEMAPPING)
  std::string hostPath;       // real path; empty for pseudo-modules
  std::wstring platformPath;  // as GetModuleFileNameW gives it
  std::wstring fileName;      // the last component, for GetModuleHandleW
  void* library = nullptr;    // dlopen's handle (libraries and the executable)
  DllEntryPoint entryPoint = nullptr;
  int references = 1;
  bool pinned = false;
  bool detaching = false;
  bool hasResourceSection = false;
  std::vector<DWORD> section;  // the ".rsrc" bytes, DWORD storage for alignment
  std::vector<Resource> resources;
  // Pseudo-modules only.
  std::wstring pseudoName;  // "KERNEL32.DLL", "shfolder.dll"
  std::map<std::string, void*> exports;
  bool available = true;
};

// The loader's state. Never destroyed: static destructors of other libraries may still free
// modules at exit.
struct LoaderState {
  std::recursive_mutex lock;  // the loader lock; held while DllMain runs
  std::vector<std::unique_ptr<Module>> modules;
  Module* executable = nullptr;
  std::string lastDiagnostic;
};

// ---------------------------------------------------------------------------------------
// The ".rsrc" section of an ELF64 file

enum class SectionRead { kOk, kMissing, kMalformed };

bool ReadAt(int fd, uint64_t fileSize, uint64_t offset, void* out, uint64_t size) {
  if (offset > fileSize || size > fileSize - offset) return false;
  auto* bytes = static_cast<char*>(out);
  while (size > 0) {
    const ssize_t got = pread(fd, bytes, size, static_cast<off_t>(offset));
    if (got <= 0) return false;
    bytes += got;
    offset += static_cast<uint64_t>(got);
    size -= static_cast<uint64_t>(got);
  }
  return true;
}

// Reads the section named ".rsrc" of the file at path into *storage (*bytes long). A sound ELF64
// file without the section gives kOk and 0 bytes. Refuses anything whose headers, names or
// section lie outside the file, a second ".rsrc", or one without file contents.
SectionRead ReadResourceSection(const std::string& path, std::vector<DWORD>* storage, size_t* bytes) {
  constexpr uint64_t kMaxSection = 256u << 20;
  constexpr uint64_t kMaxSectionCount = 1u << 20;
  *bytes = 0;
  storage->clear();
  const int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return SectionRead::kMissing;
  struct Closer {
    int fd;
    ~Closer() { close(fd); }
  } closer{fd};
  struct stat info;
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) return SectionRead::kMalformed;
  const auto fileSize = static_cast<uint64_t>(info.st_size);

  Elf64_Ehdr header;
  if (!ReadAt(fd, fileSize, 0, &header, sizeof header)) return SectionRead::kMalformed;
  if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64 ||
      header.e_ident[EI_DATA] != ELFDATA2LSB || header.e_ident[EI_VERSION] != EV_CURRENT)
    return SectionRead::kMalformed;
  if (header.e_shoff == 0) return SectionRead::kOk;  // no section table: no resources
  if (header.e_shentsize != sizeof(Elf64_Shdr)) return SectionRead::kMalformed;

  // Extended numbering: the count and the name table's index live in section 0.
  Elf64_Shdr first;
  if (!ReadAt(fd, fileSize, header.e_shoff, &first, sizeof first)) return SectionRead::kMalformed;
  const uint64_t count = header.e_shnum != 0 ? header.e_shnum : first.sh_size;
  const uint64_t namesIndex = header.e_shstrndx != SHN_XINDEX ? header.e_shstrndx : first.sh_link;
  if (count == 0 || count > kMaxSectionCount) return SectionRead::kMalformed;
  if (namesIndex == SHN_UNDEF) return SectionRead::kOk;  // sections without names
  if (namesIndex >= count) return SectionRead::kMalformed;
  std::vector<Elf64_Shdr> sections(count);
  if (!ReadAt(fd, fileSize, header.e_shoff, sections.data(), count * sizeof(Elf64_Shdr)))
    return SectionRead::kMalformed;

  const Elf64_Shdr& namesSection = sections[namesIndex];
  if (namesSection.sh_type != SHT_STRTAB || namesSection.sh_size > kMaxSection)
    return SectionRead::kMalformed;
  std::string names(namesSection.sh_size, '\0');
  if (!ReadAt(fd, fileSize, namesSection.sh_offset, names.data(), names.size()))
    return SectionRead::kMalformed;

  const Elf64_Shdr* found = nullptr;
  for (const auto& section : sections) {
    if (section.sh_type == SHT_NULL) continue;
    if (section.sh_name >= names.size()) return SectionRead::kMalformed;
    const size_t end = names.find('\0', section.sh_name);
    if (end == std::string::npos) return SectionRead::kMalformed;
    if (names.compare(section.sh_name, end - section.sh_name, platform::resources::kSectionName) != 0)
      continue;
    if (found || section.sh_type != SHT_PROGBITS || section.sh_size > kMaxSection)
      return SectionRead::kMalformed;
    found = &section;
  }
  if (!found) return SectionRead::kOk;
  storage->assign((found->sh_size + 3) / 4, 0);
  if (!ReadAt(fd, fileSize, found->sh_offset, storage->data(), found->sh_size))
    return SectionRead::kMalformed;
  *bytes = found->sh_size;
  return SectionRead::kOk;
}

// Reads and checks the module's resources. False: malformed (or an unreadable file).
bool LoadResources(Module* module) {
  size_t bytes = 0;
  if (ReadResourceSection(module->hostPath, &module->section, &bytes) != SectionRead::kOk) return false;
  module->hasResourceSection = bytes != 0;
  if (bytes == 0) return true;
  auto found =
      platform::resources::ParseResourceBlob(reinterpret_cast<const BYTE*>(module->section.data()), bytes);
  if (!found) return false;
  module->resources.reserve(found->size());
  for (auto& resource : *found) module->resources.push_back({std::move(resource), module});
  return true;
}

// ---------------------------------------------------------------------------------------
// The table

std::string RealPath(const std::string& path) {
  char* resolved = realpath(path.c_str(), nullptr);
  if (!resolved) return {};
  std::string result(resolved);
  std::free(resolved);
  return result;
}

std::wstring FileNameOf(std::wstring_view path) {
  const size_t slash = path.find_last_of(L"\\/");
  return std::wstring(slash == std::wstring_view::npos ? path : path.substr(slash + 1));
}

std::string FolderOf(const std::string& path) {
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string(".") : path.substr(0, slash == 0 ? 1 : slash);
}

Module* AddPseudoModule(LoaderState* state, const std::wstring& name, const std::string& folder);

void SetDefaultExports(Module* module) {
  module->exports.clear();
  module->available = true;
  if (platform::CompareNoCase(module->pseudoName, L"KERNEL32.DLL") == 0)
    module->exports["GetLongPathNameW"] = reinterpret_cast<void*>(&GetLongPathNameW);
  else if (platform::CompareNoCase(module->pseudoName, L"shfolder.dll") == 0)
    module->exports["SHGetFolderPathW"] = reinterpret_cast<void*>(&SHGetFolderPathW);
}

// The common controls library as callers read it for its resources: the property sheet's
// page template, dialog 1006, whose font (9 points "System Sans", the system's message font)
// is the property sheet's font. It exports nothing that the servers call.
void AddCommonControlsResources(Module* module) {
  platform::dialogs::DialogTemplate page;
  page.style = WS_CHILD | WS_VISIBLE | DS_SETFONT | DS_CONTROL;
  page.cx = 212;
  page.cy = 188;
  page.pointSize = 9;
  page.weight = FW_NORMAL;
  page.charset = DEFAULT_CHARSET;
  page.typeface = L"System Sans";
  const std::vector<BYTE> blob =
      platform::resources::BuildResourceBlob({{ResourceId::Ordinal(5), ResourceId::Ordinal(1006), 0x0409,
                                               platform::dialogs::BuildDialogTemplateEx(page)}});
  module->section.assign((blob.size() + 3) / 4, 0);
  std::memcpy(module->section.data(), blob.data(), blob.size());
  auto found = platform::resources::ParseResourceBlob(reinterpret_cast<const BYTE*>(module->section.data()),
                                                      blob.size());
  if (!found) return;
  for (auto& resource : *found) module->resources.push_back({std::move(resource), module});
  module->hasResourceSection = true;
}

Module* AddPseudoModule(LoaderState* state, const std::wstring& name, const std::string& folder) {
  auto module = std::make_unique<Module>();
  module->kind = Kind::kPseudo;
  module->pseudoName = name;
  module->fileName = name;
  module->platformPath = platform::PlatformPathFromHost(folder) + L"\\" + name;
  module->pinned = true;
  SetDefaultExports(module.get());
  state->modules.push_back(std::move(module));
  return state->modules.back().get();
}

LoaderState& State() {
  static LoaderState* state = [] {
    auto* created = new LoaderState;
    auto executable = std::make_unique<Module>();
    executable->kind = Kind::kExecutable;
    executable->hostPath = RealPath("/proc/self/exe");
    executable->platformPath = platform::PlatformPathFromHost(executable->hostPath);
    executable->fileName = FileNameOf(executable->platformPath);
    executable->library = dlopen(nullptr, RTLD_NOW);
    executable->pinned = true;
    if (!LoadResources(executable.get())) {
      executable->resources.clear();
      executable->section.clear();
      executable->hasResourceSection = false;
    }
    created->executable = executable.get();
    created->modules.push_back(std::move(executable));
    // The pseudo-modules "live" in the platform library's own folder.
    Dl_info self{};
    dladdr(reinterpret_cast<void*>(&LoadLibraryW), &self);
    const std::string folder = FolderOf(RealPath(self.dli_fname ? self.dli_fname : "."));
    AddPseudoModule(created, L"KERNEL32.DLL", folder);
    AddPseudoModule(created, L"shfolder.dll", folder);
    AddCommonControlsResources(AddPseudoModule(created, L"COMCTL32.DLL", folder));
    return created;
  }();
  return *state;
}

HMODULE HandleOf(const Module* module) {
  return reinterpret_cast<HMODULE>(reinterpret_cast<uintptr_t>(module) | module->tag);
}

// The module behind a handle (null: the executable), or null for an unknown handle.
Module* Find(LoaderState& state, HMODULE handle) {
  if (!handle) return state.executable;
  const auto value = reinterpret_cast<uintptr_t>(handle);
  const auto* candidate = reinterpret_cast<const Module*>(value & ~static_cast<uintptr_t>(3));
  for (const auto& module : state.modules)
    if (module.get() == candidate && module->tag == (value & 3)) return module.get();
  return nullptr;
}

Module* FindPseudo(LoaderState& state, std::wstring_view name) {
  std::wstring withExtension(name);
  if (withExtension.find(L'.') == std::wstring::npos) withExtension += L".dll";
  for (const auto& module : state.modules)
    if (module->kind == Kind::kPseudo && platform::CompareNoCase(module->pseudoName, withExtension) == 0)
      return module.get();
  return nullptr;
}

Module* FindLibrary(LoaderState& state, const std::string& realPath) {
  for (const auto& module : state.modules)
    if (module->kind == Kind::kLibrary && module->hostPath == realPath) return module.get();
  return nullptr;
}

void Remove(LoaderState& state, Module* module) {
  auto at = std::find_if(state.modules.begin(), state.modules.end(),
                         [module](const std::unique_ptr<Module>& m) { return m.get() == module; });
  if (at != state.modules.end()) state.modules.erase(at);
}

bool HasFolder(std::wstring_view name) {
  return name.find_first_of(L"\\/") != std::wstring_view::npos;
}

// The host path a name to load stands for: ".dll" added to a name without extension, a bare
// name in the executable's folder.
std::string HostPathToLoad(LoaderState& state, std::wstring name) {
  std::wstring file = FileNameOf(name);
  if (!file.empty() && file.back() == L'.')
    name.pop_back();
  else if (file.find(L'.') == std::wstring::npos)
    name += L".dll";
  if (!HasFolder(name)) return FolderOf(state.executable->hostPath) + "/" + platform::Utf8FromWide(name);
  return platform::HostPathFromPlatform(name);
}

BOOL Fail(DWORD error) {
  SetLastError(error);
  return FALSE;
}

template <class T>
T* FailNull(DWORD error) {
  SetLastError(error);
  return nullptr;
}

// Loads a file: as a library (runs its DllMain), or for its resources only (tag 1 or 2).
HMODULE Load(LPCWSTR name, bool dataFile, uintptr_t tag) {
  if (!name || !*name) return FailNull<HINSTANCE__>(ERROR_INVALID_PARAMETER);
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  if (!HasFolder(name)) {
    if (Module* pseudo = FindPseudo(state, name)) {
      if (!pseudo->available) return FailNull<HINSTANCE__>(ERROR_MOD_NOT_FOUND);
      ++pseudo->references;
      return HandleOf(pseudo);
    }
  }
  const std::string requested = HostPathToLoad(state, name);
  const std::string realPath = RealPath(requested);
  if (realPath.empty()) {
    state.lastDiagnostic = requested + ": no such file";
    return FailNull<HINSTANCE__>(ERROR_MOD_NOT_FOUND);
  }
  if (Module* loaded = FindLibrary(state, realPath)) {
    ++loaded->references;
    return HandleOf(loaded);
  }

  auto created = std::make_unique<Module>();
  Module* module = created.get();
  module->kind = dataFile ? Kind::kDataFile : Kind::kLibrary;
  module->tag = dataFile ? tag : 0;
  module->hostPath = realPath;
  module->platformPath = platform::PlatformPathFromHost(realPath);
  module->fileName = FileNameOf(module->platformPath);
  if (!LoadResources(module)) {
    state.lastDiagnostic = realPath + ": not an ELF64 shared object with a sound resource section";
    return FailNull<HINSTANCE__>(ERROR_BAD_FORMAT);
  }
  if (!dataFile) {
    module->library = dlopen(realPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!module->library) {
      const char* why = dlerror();
      state.lastDiagnostic = why ? why : realPath + ": dlopen failed";
      // A missing dependency is "module not found" on the platform too.
      const bool missing = why && std::strstr(why, "cannot open shared object file");
      return FailNull<HINSTANCE__>(missing ? ERROR_MOD_NOT_FOUND : ERROR_BAD_FORMAT);
    }
    module->entryPoint = reinterpret_cast<DllEntryPoint>(dlsym(module->library, "DllMain"));
  }
  state.modules.push_back(std::move(created));
  const HMODULE handle = HandleOf(module);
  if (module->entryPoint && !module->entryPoint(handle, DLL_PROCESS_ATTACH, nullptr)) {
    module->detaching = true;
    module->entryPoint(handle, DLL_PROCESS_DETACH, nullptr);
    void* library = module->library;
    Remove(state, module);
    dlclose(library);
    state.lastDiagnostic = realPath + ": DllMain returned FALSE";
    return FailNull<HINSTANCE__>(ERROR_DLL_INIT_FAILED);
  }
  return handle;
}

// Turns a resource type or name argument into an id: an ordinal, "#123", or a string.
ResourceId IdFromArgument(LPCWSTR argument) {
  if (IS_INTRESOURCE(argument))
    return ResourceId::Ordinal(static_cast<WORD>(reinterpret_cast<ULONG_PTR>(argument)));
  if (argument[0] == L'#' && argument[1] != 0) {
    unsigned long value = 0;
    const wchar_t* c = argument + 1;
    for (; *c >= L'0' && *c <= L'9' && value <= 0xFFFF; ++c)
      value = value * 10 + static_cast<unsigned long>(*c - L'0');
    if (*c == 0 && value <= 0xFFFF) return ResourceId::Ordinal(static_cast<WORD>(value));
  }
  return ResourceId::Text(argument);
}

bool SameId(const ResourceId& a, const ResourceId& b) {
  if (a.isOrdinal != b.isOrdinal) return false;
  return a.isOrdinal ? a.ordinal == b.ordinal : platform::CompareNoCase(a.text, b.text) == 0;
}

constexpr WORD kLanguageUsEnglish = 0x0409;

// anyLanguage: the neutral language first, then US English, then the first one stored.
HRSRC FindIn(HMODULE handle, LPCWSTR type, LPCWSTR name, WORD language, bool anyLanguage) {
  if (!type || !name) return FailNull<HRSRC__>(ERROR_INVALID_PARAMETER);
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* module = Find(state, handle);
  if (!module) return FailNull<HRSRC__>(ERROR_INVALID_HANDLE);
  if (!module->hasResourceSection) return FailNull<HRSRC__>(ERROR_RESOURCE_DATA_NOT_FOUND);
  const ResourceId typeId = IdFromArgument(type);
  const ResourceId nameId = IdFromArgument(name);
  bool typeFound = false;
  bool nameFound = false;
  Resource* best = nullptr;
  int bestRank = INT_MAX;
  for (auto& resource : module->resources) {
    if (!SameId(resource.found.type, typeId)) continue;
    typeFound = true;
    if (!SameId(resource.found.name, nameId)) continue;
    nameFound = true;
    const WORD stored = resource.found.language;
    const int rank = !anyLanguage                   ? (stored == language ? 0 : INT_MAX)
                     : stored == 0                  ? 0
                     : stored == kLanguageUsEnglish ? 1
                                                    : 2;
    if (rank < bestRank) best = &resource, bestRank = rank;
  }
  if (!typeFound) return FailNull<HRSRC__>(ERROR_RESOURCE_TYPE_NOT_FOUND);
  if (!nameFound) return FailNull<HRSRC__>(ERROR_RESOURCE_NAME_NOT_FOUND);
  if (!best) return FailNull<HRSRC__>(ERROR_RESOURCE_LANG_NOT_FOUND);
  return reinterpret_cast<HRSRC>(best);
}

// The resource behind an HRSRC, or null when no loaded module holds it.
const Resource* FindResourceRecord(LoaderState& state, HRSRC handle) {
  if (!handle) return nullptr;
  const auto value = reinterpret_cast<uintptr_t>(handle);
  for (const auto& module : state.modules) {
    if (module->resources.empty()) continue;
    const auto first = reinterpret_cast<uintptr_t>(module->resources.data());
    const auto end = first + module->resources.size() * sizeof(Resource);
    if (value >= first && value < end && (value - first) % sizeof(Resource) == 0)
      return reinterpret_cast<const Resource*>(handle);
  }
  return nullptr;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Modules

EXTERN_C HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName) {
  return Load(lpLibFileName, false, 0);
}

EXTERN_C HMODULE WINAPI LoadLibraryExW(LPCWSTR lpLibFileName, HANDLE hFile, DWORD dwFlags) {
  if (hFile) return FailNull<HINSTANCE__>(ERROR_INVALID_PARAMETER);
  // Simplified: search-path flags are ignored; only the resource-only flags change anything.
  const DWORD resourceOnly = dwFlags & (LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE |
                                        LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE);
  if (resourceOnly == 0) return Load(lpLibFileName, false, 0);
  const uintptr_t tag = (dwFlags & LOAD_LIBRARY_AS_IMAGE_RESOURCE) ? 2 : 1;
  return Load(lpLibFileName, true, tag);
}

EXTERN_C BOOL WINAPI FreeLibrary(HMODULE hLibModule) {
  if (!hLibModule) return Fail(ERROR_INVALID_HANDLE);
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* module = Find(state, hLibModule);
  if (!module) return Fail(ERROR_INVALID_HANDLE);
  if (module->kind == Kind::kExecutable || module->kind == Kind::kPseudo) {
    if (module->references > 1) --module->references;
    return TRUE;
  }
  if (module->detaching) return TRUE;  // freed again from its own detach
  if (--module->references > 0 || module->pinned) return TRUE;
  module->detaching = true;
  if (module->entryPoint) module->entryPoint(hLibModule, DLL_PROCESS_DETACH, nullptr);
  void* library = module->library;
  Remove(state, module);
  if (library) dlclose(library);  // runs the module's static destructors
  return TRUE;
}

EXTERN_C FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName) {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* module = hModule ? Find(state, hModule) : nullptr;
  if (!module || module->kind == Kind::kDataFile || (module->kind == Kind::kPseudo && !module->available))
    return FailNull<INT_PTR()>(ERROR_MOD_NOT_FOUND);
  if (!lpProcName || IS_INTRESOURCE(lpProcName)) return FailNull<INT_PTR()>(ERROR_PROC_NOT_FOUND);
  void* address = nullptr;
  if (module->kind == Kind::kPseudo) {
    auto at = module->exports.find(lpProcName);
    if (at != module->exports.end()) address = at->second;
  } else if (module->library) {
    address = dlsym(module->library, lpProcName);
  }
  if (!address) return FailNull<INT_PTR()>(ERROR_PROC_NOT_FOUND);
  return reinterpret_cast<FARPROC>(address);
}

namespace {

Module* FindByName(LoaderState& state, LPCWSTR name) {
  if (!name) return state.executable;
  if (HasFolder(name)) {
    const std::string realPath = RealPath(platform::HostPathFromPlatform(name));
    if (realPath.empty()) return nullptr;
    if (realPath == state.executable->hostPath) return state.executable;
    return FindLibrary(state, realPath);
  }
  if (Module* pseudo = FindPseudo(state, name)) return pseudo->available ? pseudo : nullptr;
  const std::wstring withExtension = std::wstring(name) + L".dll";
  for (const auto& module : state.modules) {
    if (module->kind != Kind::kLibrary && module->kind != Kind::kExecutable) continue;
    if (platform::CompareNoCase(module->fileName, name) == 0 ||
        platform::CompareNoCase(module->fileName, withExtension) == 0)
      return module.get();
  }
  return nullptr;
}

Module* FindByAddress(LoaderState& state, const void* address) {
  Dl_info info{};
  link_map* map = nullptr;
  if (!dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) || !map) return nullptr;
  if (!map->l_name || !map->l_name[0]) return state.executable;
  const std::string realPath = RealPath(map->l_name);
  if (realPath == state.executable->hostPath) return state.executable;
  return FindLibrary(state, realPath);
}

}  // namespace

EXTERN_C HMODULE WINAPI GetModuleHandleW(LPCWSTR lpModuleName) {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* module = FindByName(state, lpModuleName);
  if (!module) return FailNull<HINSTANCE__>(ERROR_MOD_NOT_FOUND);
  return HandleOf(module);
}

EXTERN_C BOOL WINAPI GetModuleHandleExW(DWORD dwFlags, LPCWSTR lpModuleName, HMODULE* phModule) {
  if (!phModule) return Fail(ERROR_INVALID_PARAMETER);
  *phModule = nullptr;
  if ((dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN) && (dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT))
    return Fail(ERROR_INVALID_PARAMETER);
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* module = (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) ? FindByAddress(state, lpModuleName)
                                                                      : FindByName(state, lpModuleName);
  if (!module) return Fail(ERROR_MOD_NOT_FOUND);
  if (dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN) module->pinned = true;
  if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)) ++module->references;
  *phModule = HandleOf(module);
  return TRUE;
}

EXTERN_C DWORD WINAPI GetModuleFileNameW(HMODULE hModule, LPWSTR lpFilename, DWORD nSize) {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* module = Find(state, hModule);
  if (!module || module->kind == Kind::kDataFile) return Fail(ERROR_MOD_NOT_FOUND);
  if (nSize == 0 || !lpFilename) return Fail(ERROR_INSUFFICIENT_BUFFER);
  const std::wstring& path = module->platformPath;
  if (path.size() < nSize) {
    std::wmemcpy(lpFilename, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
  }
  std::wmemcpy(lpFilename, path.c_str(), nSize - 1);
  lpFilename[nSize - 1] = 0;
  SetLastError(ERROR_INSUFFICIENT_BUFFER);
  return nSize;
}

EXTERN_C BOOL WINAPI DisableThreadLibraryCalls(HMODULE) {
  return TRUE;
}

// ---------------------------------------------------------------------------------------
// Resources

EXTERN_C HRSRC WINAPI FindResourceW(HMODULE hModule, LPCWSTR lpName, LPCWSTR lpType) {
  return FindIn(hModule, lpType, lpName, 0, true);
}

EXTERN_C HRSRC WINAPI FindResourceExW(HMODULE hModule, LPCWSTR lpType, LPCWSTR lpName, WORD wLanguage) {
  return FindIn(hModule, lpType, lpName, wLanguage, wLanguage == 0);
}

EXTERN_C HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo) {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  const Resource* resource = FindResourceRecord(state, hResInfo);
  if (!resource) return FailNull<void>(ERROR_INVALID_HANDLE);
  return const_cast<BYTE*>(resource->found.data);
}

EXTERN_C LPVOID WINAPI LockResource(HGLOBAL hResData) {
  return hResData;
}

EXTERN_C DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo) {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  const Resource* resource = FindResourceRecord(state, hResInfo);
  if (!resource) return Fail(ERROR_INVALID_HANDLE);
  return resource->found.size;
}

EXTERN_C BOOL WINAPI FreeResource(HGLOBAL) {
  return FALSE;
}

EXTERN_C int WINAPI LoadStringW(HINSTANCE hInstance, UINT uID, LPWSTR lpBuffer, int cchBufferMax) {
  if (!lpBuffer || cchBufferMax < 0) return Fail(ERROR_INVALID_PARAMETER);
  if (cchBufferMax > 0) lpBuffer[0] = 0;
  if (uID > 0xFFFF) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
  HRSRC block = FindResourceW(hInstance, MAKEINTRESOURCEW(uID / 16 + 1), RT_STRING);
  if (!block) return 0;
  const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(hInstance, block)));
  const DWORD size = SizeofResource(hInstance, block);
  size_t at = 0;
  for (UINT index = 0;; ++index) {
    WORD length;
    if (size - at < 4) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);  // a block cut short
    std::memcpy(&length, data + at, sizeof length);
    const size_t textBytes = static_cast<size_t>(length) * sizeof(WCHAR);
    if (size - at - 4 < textBytes) return Fail(ERROR_RESOURCE_NAME_NOT_FOUND);
    if (index == uID % 16) {
      const auto* text = reinterpret_cast<const WCHAR*>(data + at + 4);  // aligned: see resource_format.h
      if (cchBufferMax == 0) {
        *reinterpret_cast<const WCHAR**>(lpBuffer) = text;
        return length;
      }
      const int copied = std::min<int>(length, cchBufferMax - 1);
      std::memcpy(lpBuffer, text, static_cast<size_t>(copied) * sizeof(WCHAR));
      lpBuffer[copied] = 0;
      if (copied == 0) SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
      return copied;
    }
    at += 4 + textBytes;
  }
}

// ---------------------------------------------------------------------------------------
// Test hooks

namespace platform::modules {

namespace {
Module* PseudoFor(const wchar_t* name) {
  return name ? FindPseudo(State(), name) : nullptr;
}
}  // namespace

bool SetPseudoModuleExport(const wchar_t* module, const char* name, void* address) {
  std::lock_guard<std::recursive_mutex> guard(State().lock);
  Module* pseudo = PseudoFor(module);
  if (!pseudo || !name) return false;
  if (address)
    pseudo->exports[name] = address;
  else
    pseudo->exports.erase(name);
  return true;
}

bool SetPseudoModuleAvailable(const wchar_t* module, bool available) {
  std::lock_guard<std::recursive_mutex> guard(State().lock);
  Module* pseudo = PseudoFor(module);
  if (!pseudo) return false;
  pseudo->available = available;
  return true;
}

void ResetPseudoModules() {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  for (const auto& module : state.modules)
    if (module->kind == Kind::kPseudo) {
      SetDefaultExports(module.get());
      module->references = 1;
    }
}

size_t LoadedModuleCount() {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  return static_cast<size_t>(std::count_if(
      state.modules.begin(), state.modules.end(),
      [](const auto& module) { return module->kind == Kind::kLibrary || module->kind == Kind::kDataFile; }));
}

bool IsLoaded(const wchar_t* path) {
  if (!path) return false;
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  const std::string realPath = RealPath(HostPathFromPlatform(path));
  if (realPath.empty()) return false;
  return std::any_of(state.modules.begin(), state.modules.end(), [&](const auto& module) {
    return (module->kind == Kind::kLibrary || module->kind == Kind::kDataFile) &&
           module->hostPath == realPath;
  });
}

int ReferenceCount(HMODULE module) {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  Module* found = Find(state, module);
  return found ? found->references : 0;
}

std::string LastLoadDiagnostic() {
  LoaderState& state = State();
  std::lock_guard<std::recursive_mutex> guard(state.lock);
  return state.lastDiagnostic;
}

}  // namespace platform::modules
