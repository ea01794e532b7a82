// The host's command line. It keeps the registry in a file between runs and reaches the
// profile DLLs only as the host does: LoadLibraryW and their exports.
//
//   host [--registry FILE] register DLL      DllRegisterServer into the registry
//   host [--registry FILE] unregister DLL    DllUnregisterServer
//   host [--registry FILE] list              the registered classes and their servers
//   host [--registry FILE] load DLL          loads the DLL and reports whether it starts
//   host [--registry FILE] validate FILE [LANGUAGE]
//                                            attaches the registered tag extension to a module
//                                            built from the module-definition file, validates
//                                            it and prints the localized message or "valid"
#include <windows.h>

#include <platform/paths.h>
#include <platform/testing_registry.h>
#include <platform/utf8.h>

#include <ConfigurationTag.h>
#include <ModuleDefinition.h>
#include <TagExtensionHost.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

typedef HRESULT (*PFN_DLLEXPORT)();

std::string Narrow(const std::wstring& text) {
  std::string out;
  for (wchar_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

std::wstring PlatformPath(const std::string& hostPath) {
  return platform::PlatformPathFromHost(std::filesystem::absolute(hostPath).lexically_normal().string());
}

// Loads the DLL and calls one of its parameterless exports.
int CallExport(const std::string& dll, const char* exportName) {
  HMODULE module = LoadLibraryW(PlatformPath(dll).c_str());
  if (!module) {
    std::printf("%s: does not load (error %u)\n", dll.c_str(), static_cast<unsigned>(GetLastError()));
    return 1;
  }
  auto call =
      reinterpret_cast<PFN_DLLEXPORT>(reinterpret_cast<void (*)()>(GetProcAddress(module, exportName)));
  const HRESULT hr = call ? call() : E_NOTIMPL;
  std::printf("%s: %s returned 0x%08X\n", dll.c_str(), exportName, static_cast<unsigned>(hr));
  FreeLibrary(module);
  return SUCCEEDED(hr) ? 0 : 1;
}

std::wstring DefaultValue(HKEY parent, const wchar_t* subKey) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(parent, subKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return L"";
  wchar_t text[1024] = L"";
  DWORD size = sizeof(text);
  if (RegQueryValueExW(key, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(text), &size) != ERROR_SUCCESS)
    text[0] = L'\0';
  RegCloseKey(key);
  return text;
}

int List() {
  HKEY clsids = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &clsids) != ERROR_SUCCESS) {
    std::printf("no classes registered\n");
    return 0;
  }
  wchar_t name[128];
  for (DWORD index = 0;; ++index) {
    DWORD size = 128;
    if (RegEnumKeyExW(clsids, index, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    const std::wstring server = DefaultValue(clsids, (std::wstring(name) + L"\\InProcServer32").c_str());
    std::printf("%s  %s\n    %s\n", Narrow(name).c_str(), Narrow(DefaultValue(clsids, name)).c_str(),
                Narrow(server).c_str());
  }
  RegCloseKey(clsids);
  return 0;
}

int Load(const std::string& dll) {
  HMODULE module = LoadLibraryW(PlatformPath(dll).c_str());
  if (!module) {
    std::printf("%s: does not start (error %u)\n", dll.c_str(), static_cast<unsigned>(GetLastError()));
    return 1;
  }
  auto canUnload = reinterpret_cast<PFN_DLLEXPORT>(
      reinterpret_cast<void (*)()>(GetProcAddress(module, "DllCanUnloadNow")));
  std::printf("%s: starts; DllCanUnloadNow 0x%08X\n", dll.c_str(),
              static_cast<unsigned>(canUnload ? canUnload() : E_NOTIMPL));
  FreeLibrary(module);
  return 0;
}

// The tag extension of the Coriolis module, created through the registry as the host does.
constexpr CLSID kCoriolisTagExtension = platform::GuidFromText("3D72AD1A-B9EE-46EB-8E32-E929007240BA");

std::string Utf8(const std::wstring& text) {
  return platform::Utf8TextFromWide(text);
}

int Validate(const std::string& definitionFile, LCID language) {
  std::string error;
  const auto definition = hostsim::LoadModuleDefinition(definitionFile, &error);
  if (!definition) {
    std::printf("%s: %s\n", definitionFile.c_str(), error.c_str());
    return 1;
  }
  const hostsim::TagDefinition* tagDefinition = definition->FindTag(hostsim::TagKind::kStandard);
  if (!tagDefinition) {
    std::printf("%s: the module has no standard configuration tag\n", definitionFile.c_str());
    return 1;
  }
  HRESULT hr = hostsim::RegisterHostTypeLibraries();
  if (FAILED(hr)) std::printf("host type libraries not registered (0x%08X)\n", static_cast<unsigned>(hr));
  hostsim::ConfigurationTag* tag = hostsim::ConfigurationTag::Create(*tagDefinition);
  hostsim::TagExtensionHost* host = hostsim::TagExtensionHost::Create(tag);
  host->SetLanguage(language);
  int result = 1;
  hr = host->CreateExtension(kCoriolisTagExtension);
  if (FAILED(hr)) {
    std::printf("the tag extension is not available (0x%08X); register CorvaneTags.dll first\n",
                static_cast<unsigned>(hr));
  } else if (FAILED(hr = host->AttachExtension())) {
    std::printf("the tag extension does not attach (0x%08X)\n", static_cast<unsigned>(hr));
  } else {
    const hostsim::ValidationOutcome outcome = host->ValidateWithExtension();
    if (SUCCEEDED(outcome.result)) {
      std::printf("valid\n");
      result = 0;
    } else {
      std::printf("invalid (0x%08X): %s\n", static_cast<unsigned>(outcome.result),
                  outcome.hasErrorInfo  ? Utf8(outcome.errorDescription).c_str()
                  : outcome.lastMessage ? Utf8(*outcome.lastMessage).c_str()
                                        : "");
      if (outcome.lastMessage) std::printf("member: %s\n", Utf8(*outcome.lastMessage).c_str());
    }
  }
  host->Release();
  tag->Release();
  return result;
}

int Usage() {
  std::fprintf(stderr,
               "usage: host [--registry FILE] register DLL | unregister DLL | list | load DLL |\n"
               "            validate DEFINITION-FILE [LANGUAGE-ID]\n"
               "  validate: attaches the registered tag extension to a module built from the\n"
               "            module-definition file (default language 1033) and prints the\n"
               "            localized message of the validation, or \"valid\".\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  std::string registryFile;
  if (args.size() >= 2 && args[0] == "--registry") {
    registryFile = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  if (!registryFile.empty() && std::filesystem::exists(registryFile)) {
    std::string error;
    if (platform::registry::LoadFromFile(registryFile, &error) != ERROR_SUCCESS) {
      std::fprintf(stderr, "cannot read the registry file %s: %s\n", registryFile.c_str(), error.c_str());
      return 1;
    }
  }
  CoInitialize(nullptr);
  int result = 2;
  const std::string& command = args[0];
  if (command == "register" && args.size() == 2)
    result = CallExport(args[1], "DllRegisterServer");
  else if (command == "unregister" && args.size() == 2)
    result = CallExport(args[1], "DllUnregisterServer");
  else if (command == "list" && args.size() == 1)
    result = List();
  else if (command == "load" && args.size() == 2)
    result = Load(args[1]);
  else if (command == "validate" && (args.size() == 2 || args.size() == 3))
    result = Validate(args[1], args.size() == 3 ? static_cast<LCID>(std::stoul(args[2])) : 1033);
  else
    result = Usage();
  CoUninitialize();
  if (!registryFile.empty() && platform::registry::SaveToFile(registryFile) != ERROR_SUCCESS) {
    std::fprintf(stderr, "cannot write the registry file %s\n", registryFile.c_str());
    return 1;
  }
  return result;
}
