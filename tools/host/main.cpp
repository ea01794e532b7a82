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
//   host [--registry FILE] open PAGE [options]
//                                            opens a registered page as the host does, acts
//                                            on its items, saves and closes it (PageSession.h)
//   host [--registry FILE] open-all DLL [options]
//                                            the same for every page the DLL registers
#include <windows.h>

#include <platform/guid_text.h>
#include <platform/utf8.h>

#include <ConfigurationTag.h>
#include <ModuleDefinition.h>
#include <TagExtensionHost.h>

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "HostPlatform.h"
#include "HostRegistry.h"
#include "HostText.h"
#include "PageSession.h"

namespace {

typedef HRESULT(STDAPICALLTYPE* PFN_DLLEXPORT)();

using hostcli::PlatformPath;

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

// The longest key name the platform allows, without its terminator.
constexpr DWORD kMaxKeyName = 255;

int List() {
  HKEY clsids = nullptr;
  if (RegOpenKeyExW(HKEY_CLASSES_ROOT, L"CLSID", 0, KEY_READ, &clsids) != ERROR_SUCCESS) {
    std::printf("no classes registered\n");
    return 0;
  }
  int result = 0;
  wchar_t name[kMaxKeyName + 1];
  for (DWORD index = 0;; ++index) {
    DWORD size = kMaxKeyName + 1;
    const LONG error = RegEnumKeyExW(clsids, index, name, &size, nullptr, nullptr, nullptr, nullptr);
    if (error == ERROR_NO_MORE_ITEMS) break;
    if (error == ERROR_MORE_DATA) {
      std::fprintf(stderr, "class %u: its key name is longer than %u characters\n",
                   static_cast<unsigned>(index), static_cast<unsigned>(kMaxKeyName));
      result = 1;
      continue;
    }
    if (error != ERROR_SUCCESS) {
      std::fprintf(stderr, "the classes cannot be listed (error %u)\n", static_cast<unsigned>(error));
      result = 1;
      break;
    }
    const std::wstring server = hostcli::DefaultValue(clsids, std::wstring(name) + L"\\InProcServer32");
    std::printf("%s  %s\n    %s\n", hostcli::Utf8(name).c_str(),
                hostcli::Utf8(hostcli::DefaultValue(clsids, name)).c_str(), hostcli::Utf8(server).c_str());
  }
  RegCloseKey(clsids);
  return result;
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
                  outcome.hasErrorInfo  ? hostcli::Utf8(outcome.errorDescription).c_str()
                  : outcome.lastMessage ? hostcli::Utf8(*outcome.lastMessage).c_str()
                                        : "");
      if (outcome.lastMessage) std::printf("member: %s\n", hostcli::Utf8(*outcome.lastMessage).c_str());
    }
  }
  host->Release();
  tag->Release();
  return result;
}

int Usage() {
  std::fprintf(stderr,
               "usage: host [--registry FILE] register DLL | unregister DLL | list | load DLL |\n"
               "            validate DEFINITION-FILE [LANGUAGE-ID] |\n"
               "            open PAGE [--dll DLL] [--definition FILE] [--language LCID] [--mode N]\n"
               "                 [--set ID=VALUE | --event NAME]... [--save] [--svg FILE] |\n"
               "            open-all DLL [--definition FILE] [--language LCID] [--mode N] [--svg DIR]\n"
               "  validate: attaches the registered tag extension to a module built from the\n"
               "            module-definition file (default language 1033) and prints the\n"
               "            localized message of the validation, or \"valid\".\n"
               "  open:     creates the page (a CLSID or a page title) through the registry, drives\n"
               "            it as the host does on a module of the definition (default: the meter's\n"
               "            own), prints its items; --set chooses a combo box entry (text or #position),\n"
               "            retypes an edit or clicks a button (VALUE click); --event sends one of\n"
               "            the host's events in its place among them (VexilStateChanged=N also makes\n"
               "            N the mode from then on); --save saves and prints\n"
               "            what the page showed and wrote; --svg draws the page. --mode is the\n"
               "            controller mode the host reports: 1 to 6 are online, any other value\n"
               "            (0 by default) offline.\n");
  return 2;
}

// A language id: a decimal number that fits 32 bits.
std::optional<LCID> ParseLanguage(const std::string& text) {
  if (text.empty() || text.size() > 10 || text.find_first_not_of("0123456789") != std::string::npos)
    return std::nullopt;
  const unsigned long long value = std::stoull(text);
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<LCID>(value);
}

int Run(std::vector<std::string> args) {
  std::string registryFile;
  if (!args.empty() && args[0] == "--registry") {
    if (args.size() < 2 || args[1].empty()) return Usage();
    registryFile = args[1];
    args.erase(args.begin(), args.begin() + 2);
  }
  if (args.empty()) return Usage();
  const std::string& command = args[0];
  std::optional<LCID> language = 1033;
  if (command == "validate" && args.size() == 3) language = ParseLanguage(args[2]);
  // open PAGE ... and open-all DLL ...: their arguments are checked before anything is done.
  const bool pageCommand = command == "open" || command == "open-all";
  const bool all = command == "open-all";
  hostcli::OpenOptions pageOptions;
  if (pageCommand) {
    std::string error;
    if (!hostcli::ParseOpenArguments({args.begin() + 1, args.end()}, all, &pageOptions, &error)) {
      std::fprintf(stderr, "%s\n", error.c_str());
      return Usage();
    }
  }
  const bool known =
      ((command == "register" || command == "unregister" || command == "load") && args.size() == 2) ||
      (command == "list" && args.size() == 1) ||
      (command == "validate" && (args.size() == 2 || args.size() == 3) && language) || pageCommand;
  if (!known) return Usage();

  std::string error;
  const std::unique_ptr<hostcli::RunRegistry> registry = hostcli::OpenRunRegistry(registryFile, &error);
  if (!registry) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  CoInitialize(nullptr);
  int result = 2;
  if (command == "register")
    result = CallExport(args[1], "DllRegisterServer");
  else if (command == "unregister")
    result = CallExport(args[1], "DllUnregisterServer");
  else if (command == "list")
    result = List();
  else if (command == "load")
    result = Load(args[1]);
  else if (pageCommand)
    result = all ? hostcli::OpenAllPages(pageOptions.dll, pageOptions) : hostcli::OpenPage(pageOptions);
  else
    result = Validate(args[1], *language);
  CoUninitialize();
  if (!registry->Save(&error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  return result;
}

}  // namespace

namespace hostcli {

int RunCommandLine(std::vector<std::string> args) {
  return Run(std::move(args));
}

}  // namespace hostcli
