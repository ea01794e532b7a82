// The host command line's page commands: a property page of a registered view DLL opened,
// driven and closed as the host does it, against the simulated module of a module
// definition, with a report of what the page showed, what it wrote and what it left.
#pragma once

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

namespace hostcli {

// What `open` was asked to do.
struct OpenOptions {
  std::string page;        // a CLSID text or a page title
  std::string dll;         // --dll: which server of a title that several DLLs serve
  std::string definition;  // --definition: the module definition (default: the meter's own)
  LCID language = 1033;
  bool languageGiven = false;
  LONG mode = 0;  // the controller mode the host reports (0: offline)
  // --set ID=VALUE and --event NAME[=STATE], in the order given.
  struct Action {
    std::string event;  // empty for a --set
    int id = 0;
    std::wstring value;  // a --set's value, or the state VexilStateChanged reports ("" keeps it)
  };
  std::vector<Action> actions;
  bool save = false;
  std::string svg;  // --svg FILE (open) or DIR (open-all)
};

// Parses the arguments after the command name of `open` (PAGE and its options) or of
// `open-all` (DLL and --svg, --definition, --language, --mode); false with *error set for a
// malformed argument.
bool ParseOpenArguments(const std::vector<std::string>& args, bool all, OpenOptions* options,
                        std::string* error);

// `open PAGE ...`: 0 when the page opened, every step the host drives succeeded and nothing
// was left; 1 otherwise (the reason is printed).
int OpenPage(const OpenOptions& options);

// `open-all DLL ...`: every page the DLL registers, in catalogue order, one block each and a
// summary line per page. 0 when every page opened cleanly.
int OpenAllPages(const std::string& dll, const OpenOptions& options);

}  // namespace hostcli
