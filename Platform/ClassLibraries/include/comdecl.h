// DECLARE_UUIDOF(Interface, "XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX"): ties an interface id to its
// type, so that __uuidof(Interface) and __uuidof of a pointer to it give that id, as the
// platform compiler's uuid attribute does. Written beside each interface the project declares.
// The stand-in's compiler support defines it with the stand-in's base types; the toolchain's
// __uuidof takes its ids from __mingw_uuidof specialisations, which this builds from the text.
#pragma once

#if defined(_WIN32)
#include <unknwn.h>

#include "platform/guid_text.h"

#define DECLARE_UUIDOF(type, text)                                     \
  extern "C++" {                                                       \
  template <>                                                          \
  struct __mingw_uuidof_s<type> {                                      \
    static constexpr IID __uuid_inst = ::platform::GuidFromText(text); \
  };                                                                   \
  template <>                                                          \
  constexpr const GUID& __mingw_uuidof<type>() {                       \
    return __mingw_uuidof_s<type>::__uuid_inst;                        \
  }                                                                    \
  template <>                                                          \
  constexpr const GUID& __mingw_uuidof<type*>() {                      \
    return __mingw_uuidof_s<type>::__uuid_inst;                        \
  }                                                                    \
  }
#else
#include <unknwn.h>
#endif
