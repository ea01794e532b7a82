// How the class libraries are linked, written once for both builds: on Windows they are
// compiled into each DLL, so nothing of theirs is exported; on Linux they are one shared
// library whose classes and functions the DLLs and the tests link against.
#pragma once

#if defined(_WIN32)
#define CLASSLIB_API
#else
#define CLASSLIB_API __attribute__((visibility("default")))
#endif
