// The two inputs a user feels besides opening a page, each beside its floor: one keystroke
// judged by a float edit's mask (floor: the mask's character test alone), and one whole
// validation of the Coriolis configuration by the tag extension (floor: the tag reads the
// validation makes, alone).
#include <afxwin.h>

#include <ConfigurationTag.h>
#include <ModuleDefinition.h>
#include <TagExtensionHost.h>
#include <comdef.h>
#include <platform/paths.h>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <vector>

#include "EditMask.h"

namespace {

namespace fs = std::filesystem;

constexpr CLSID kCoriolisTagExtension = platform::GuidFromText("3D72AD1A-B9EE-46EB-8E32-E929007240BA");

// A float edit holding "123.4" with the caret at its end, as the mask sees it.
class FloatEdit {
 public:
  FloatEdit() {
    m_window =
        CreateWindowExW(0, L"Edit", L"123.4", WS_POPUP, 0, 0, 100, 20, nullptr, nullptr, nullptr, nullptr);
    m_edit.Attach(m_window);
    m_edit.SendMessage(EM_SETSEL, 5, 5);
  }
  ~FloatEdit() {
    m_edit.Detach();
    DestroyWindow(m_window);
  }
  CWnd* get() { return &m_edit; }

 private:
  HWND m_window = nullptr;
  CWnd m_edit;
};

void BM_KeystrokeMask(benchmark::State& state) {
  FloatEdit edit;
  CEditFloatMask* mask = GetEditFloatMask();
  for (auto _ : state) benchmark::DoNotOptimize(mask->CheckChar(edit.get(), L'5', PV_SIGN_MINUS_ALLOWED));
}
BENCHMARK(BM_KeystrokeMask);

void BM_KeystrokeFloor(benchmark::State& state) {
  CEditFloatMask* mask = GetEditFloatMask();
  for (auto _ : state) benchmark::DoNotOptimize(mask->IsValidChar(L'5'));
}
BENCHMARK(BM_KeystrokeFloor);

// The Coriolis module's tag and the tag extension attached to it through the registry.
struct Validation {
  hostsim::ConfigurationTag* tag = nullptr;
  hostsim::TagExtensionHost* host = nullptr;
  std::vector<_bstr_t> membersRead;

  Validation() {
    std::string error;
    const auto definition = hostsim::LoadModuleDefinition(hostsim::CoriolisDefinitionFile(), &error);
    const hostsim::TagDefinition* standard =
        definition ? definition->FindTag(hostsim::TagKind::kStandard) : nullptr;
    if (!standard) return;
    tag = hostsim::ConfigurationTag::Create(*standard);
    host = hostsim::TagExtensionHost::Create(tag);
    if (FAILED(host->CreateExtension(kCoriolisTagExtension)) || FAILED(host->AttachExtension())) return;
    host->ValidateWithExtension();
    for (const hostsim::MemberDefinition& member : standard->members)
      if (tag->ValueReadCount(member.name) > 0) membersRead.emplace_back(member.name.c_str());
  }
  ~Validation() {
    if (host) host->Release();
    if (tag) tag->Release();
  }
  bool ready() const { return !membersRead.empty(); }
};

Validation* TheValidation() {
  static Validation validation;
  return &validation;
}

void BM_Validation(benchmark::State& state) {
  Validation* validation = TheValidation();
  if (!validation->ready()) return state.SkipWithError("the tag extension does not attach");
  for (auto _ : state) benchmark::DoNotOptimize(validation->host->ValidateWithExtension().result);
  state.counters["reads"] = static_cast<double>(validation->membersRead.size());
}
BENCHMARK(BM_Validation)->Unit(benchmark::kMicrosecond);

void BM_ValidationFloor(benchmark::State& state) {
  Validation* validation = TheValidation();
  if (!validation->ready()) return state.SkipWithError("the tag extension does not attach");
  for (auto _ : state) {
    for (const _bstr_t& member : validation->membersRead) {
      _variant_t value;
      validation->tag->GetMemberValue(member, &value);
    }
  }
}
BENCHMARK(BM_ValidationFloor)->Unit(benchmark::kMicrosecond);

}  // namespace

// The tag extension is reached through the registry, as the host reaches it.
int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  CoInitialize(nullptr);
  const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
  HMODULE tags = LoadLibraryW(platform::PlatformPathFromHost((bin / "CorvaneTags.dll").string()).c_str());
  auto registerServer = tags ? reinterpret_cast<HRESULT (*)()>(
                                   reinterpret_cast<void (*)()>(GetProcAddress(tags, "DllRegisterServer")))
                             : nullptr;
  if (!registerServer || FAILED(registerServer()) || FAILED(hostsim::RegisterHostTypeLibraries())) {
    std::fprintf(stderr, "CorvaneTags.dll does not load or register\n");
    return 1;
  }
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  CoUninitialize();
  return 0;
}
