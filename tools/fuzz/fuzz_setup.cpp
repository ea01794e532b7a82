// Set-up shared by every fuzz target, run once before the first input (libFuzzer calls it; the
// corpus replay calls it too): the log records go nowhere, since a target that reaches failure
// paths millions of times would write them by the megabyte, and none stays in memory, so that
// no input leaves memory behind that the leak check after it would have to scan.
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  setenv("ORVOLOG_FILE", "/dev/null", 1);
  setenv("ORVOLOG_RECORDS_KEPT", "0", 1);
  return 0;
}
