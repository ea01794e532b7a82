// Each view DLL's language resources carry the device-service messages of the buttons its pages
// place: the Coriolis meter's all of them, the electromagnetic meter's the totalizer's; the
// range message has its two inserts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "DeviceServiceStrings.h"
#include "DllFolder.h"

namespace {

std::wstring LoadText(HMODULE module, UINT id) {
  wchar_t text[512] = {};
  const int length = LoadStringW(module, id, text, 512);
  return std::wstring(text, length > 0 ? static_cast<size_t>(length) : 0);
}

TEST(ServiceMessages, EachViewDllsLanguagesCarryTheMessagesOfItsButtons) {
  const std::vector<UINT> coriolis = {IDS_DEVICE_COEFFICIENT1_RANGE,     IDS_DEVICE_COEFFICIENT2_RANGE,
                                      IDS_DEVICE_TOTALIZER_WRITE_FAILED, IDS_DEVICE_COEFFICIENT1_WRITE_FAILED,
                                      IDS_DEVICE_TEMPERATURE_RANGE,      IDS_DEVICE_COEFFICIENT2_WRITE_FAILED,
                                      IDS_DEVICE_MODEL_WRITE_FAILED,     IDS_DEVICE_TEMPERATURE_WRITE_FAILED};
  const std::vector<UINT> fluxor = {IDS_DEVICE_TOTALIZER_WRITE_FAILED};
  struct Case {
    const char* dll;
    const std::vector<UINT>* ids;
  } cases[] = {{"CorvaneViewENU.dll", &coriolis},   {"CorvaneViewDEU.dll", &coriolis},
               {"FluxorViewENU.dll", &fluxor},      {"FluxorViewDEU.dll", &fluxor},
               {"PVOnlinePagesENU.dll", &coriolis}, {"PVOnlinePagesDEU.dll", &coriolis}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dll);
    pvtest::DllFolder folder{c.dll};
    HMODULE module = LoadLibraryExW(folder.PathOf(c.dll).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module, nullptr);
    for (UINT id : *c.ids) {
      SCOPED_TRACE(id);
      const std::wstring text = LoadText(module, id);
      EXPECT_FALSE(text.empty());
      if (id == IDS_DEVICE_TEMPERATURE_RANGE) {
        EXPECT_NE(text.find(L"%1"), std::wstring::npos);
        EXPECT_NE(text.find(L"%2"), std::wstring::npos);
      }
    }
    FreeLibrary(module);
  }
}

}  // namespace
