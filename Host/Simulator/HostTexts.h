// The host's own localized texts: prompts and strings by number, per service class and
// language. The service objects read them from here; a language without a text of its own
// falls back to English (1033).
#pragma once

#include <objbase.h>

#include <optional>
#include <string>

namespace hostsim {

inline constexpr LCID kEnglish = 1033;
inline constexpr LCID kGerman = 1031;

struct HostPrompt {
  std::wstring caption;
  LONG type;
  std::wstring text;
};

// The prompt of that number of the prompt-server class, in the language (or in English).
std::optional<HostPrompt> FindHostPrompt(REFCLSID server, LONG id, LCID lcid);
// The string of that number of the string-server class, in the language (or in English),
// with its access-key marks ('&').
std::optional<std::wstring> FindHostString(REFCLSID server, LONG id, LCID lcid);

}  // namespace hostsim
