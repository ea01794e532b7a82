// How the helpers are linked, written once for both builds: on Linux they are part of the
// operating system's shared library, which exports them; on Windows they are compiled into
// each DLL, so nothing of theirs is exported.
#pragma once

#if defined(_WIN32)
#define SUPPORT_API
#else
#define SUPPORT_API __attribute__((visibility("default")))
#endif
