// The module hooks of the tests on the platform's own loader. A loaded server's live-object
// counts are its own (no export reads them), so no readers are found; the loader's reasons
// for a failed load are the last error's text.
#pragma once

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::modules {

// The text of the thread's last error, for a load that failed.
std::string LastLoadDiagnostic();

struct LiveObjectReaders {
  int32_t (*count)(const char* className);
  size_t (*report)(char* buffer, size_t size);
};

// False: the platform keeps no table of a module's readers.
bool FindLiveObjectReaders(HMODULE module, LiveObjectReaders* readers);

}  // namespace platform::modules
