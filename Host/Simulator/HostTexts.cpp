#include "HostTexts.h"

#include <HostServices.h>

#include <array>
#include <string_view>

namespace hostsim {

namespace {

struct PromptRow {
  const CLSID* server;
  LONG id;
  LCID lcid;
  const wchar_t* caption;
  LONG type;
  const wchar_t* text;
};

struct StringRow {
  const CLSID* server;
  LONG id;
  LCID lcid;
  const wchar_t* text;
};

// Rejected input (the framework's prompt server): %1 the text as typed, %2 the limit; prompt 7
// gets the number of decimal places, prompt 8 a range and its step as numbers. The type is
// the prompt's help context. The module identity prompts (the other prompt server): 9 the
// module is missing from the network, 17 the connected module is not the configured one, 11
// its identity could not be determined.
constexpr PromptRow kPrompts[] = {
    {&CLSID_PVInputPromptServer, 2, kEnglish, L"Invalid Input", 0x20002, L"Please enter a value."},
    {&CLSID_PVInputPromptServer, 3, kEnglish, L"Invalid Input", 0x20003,
     L"'%1' is not a valid whole number."},
    {&CLSID_PVInputPromptServer, 4, kEnglish, L"Invalid Input", 0x20004, L"'%1' is not a valid number."},
    {&CLSID_PVInputPromptServer, 5, kEnglish, L"Value Too Large", 0x20005,
     L"The value %1 is above the maximum of %2."},
    {&CLSID_PVInputPromptServer, 6, kEnglish, L"Value Too Small", 0x20006,
     L"The value %1 is below the minimum of %2."},
    {&CLSID_PVInputPromptServer, 7, kEnglish, L"Invalid Input", 0x20007,
     L"%1 is not a valid number of decimal places."},
    {&CLSID_PVInputPromptServer, 8, kEnglish, L"Invalid Input", 0x20008,
     L"Enter a value from %1!d! to %2!d! in steps of %3!d!."},
    {&CLSID_PVInputPromptServer, 2, kGerman, L"Ung\u00fcltige Eingabe", 0x20002,
     L"Bitte geben Sie einen Wert ein."},
    {&CLSID_PVInputPromptServer, 3, kGerman, L"Ung\u00fcltige Eingabe", 0x20003,
     L"'%1' ist keine g\u00fcltige ganze Zahl."},
    {&CLSID_PVInputPromptServer, 4, kGerman, L"Ung\u00fcltige Eingabe", 0x20004,
     L"'%1' ist keine g\u00fcltige Zahl."},
    {&CLSID_PVInputPromptServer, 5, kGerman, L"Wert zu gro\u00df", 0x20005,
     L"Der Wert %1 liegt \u00fcber dem Maximum von %2."},
    {&CLSID_PVInputPromptServer, 6, kGerman, L"Wert zu klein", 0x20006,
     L"Der Wert %1 liegt unter dem Minimum von %2."},
    {&CLSID_PVInputPromptServer, 7, kGerman, L"Ung\u00fcltige Eingabe", 0x20007,
     L"%1 ist keine g\u00fcltige Anzahl von Nachkommastellen."},
    {&CLSID_PVInputPromptServer, 8, kGerman, L"Ung\u00fcltige Eingabe", 0x20008,
     L"Geben Sie einen Wert von %1!d! bis %2!d! in Schritten von %3!d! ein."},
    {&CLSID_PVModulePromptServer, 9, kEnglish, L"Module Missing", 0x20009,
     L"The module is not present on the network. Check that it is connected and powered."},
    {&CLSID_PVModulePromptServer, 11, kEnglish, L"Module Identity", 0x2000B,
     L"The identity of the connected module could not be determined."},
    {&CLSID_PVModulePromptServer, 17, kEnglish, L"Module Mismatch", 0x20011,
     L"The connected module does not match the module configured in the project."},
    {&CLSID_PVModulePromptServer, 9, kGerman, L"Modul fehlt", 0x20009,
     L"Das Modul ist im Netzwerk nicht vorhanden. Pr\u00fcfen Sie, ob es angeschlossen und "
     L"eingeschaltet ist."},
    {&CLSID_PVModulePromptServer, 11, kGerman, L"Modulidentit\u00e4t", 0x2000B,
     L"Die Identit\u00e4t des angeschlossenen Moduls konnte nicht ermittelt werden."},
    {&CLSID_PVModulePromptServer, 17, kGerman, L"Modul stimmt nicht \u00fcberein", 0x20011,
     L"Das angeschlossene Modul stimmt nicht mit dem im Projekt konfigurierten Modul \u00fcberein."},
};

// Message-box button labels 1 to 8 by the numbers the message box asks for (OK, Cancel, Yes,
// No, Abort, Retry, Ignore, Help); the forced-value tooltip format (33).
constexpr StringRow kStrings[] = {
    {&CLSID_PVButtonStringServer, 1, kEnglish, L"OK"},
    {&CLSID_PVButtonStringServer, 2, kEnglish, L"Cancel"},
    {&CLSID_PVButtonStringServer, 3, kEnglish, L"&Yes"},
    {&CLSID_PVButtonStringServer, 4, kEnglish, L"&No"},
    {&CLSID_PVButtonStringServer, 5, kEnglish, L"&Abort"},
    {&CLSID_PVButtonStringServer, 6, kEnglish, L"&Retry"},
    {&CLSID_PVButtonStringServer, 7, kEnglish, L"&Ignore"},
    {&CLSID_PVButtonStringServer, 8, kEnglish, L"&Help"},
    {&CLSID_PVButtonStringServer, 1, kGerman, L"OK"},
    {&CLSID_PVButtonStringServer, 2, kGerman, L"Abbrechen"},
    {&CLSID_PVButtonStringServer, 3, kGerman, L"&Ja"},
    {&CLSID_PVButtonStringServer, 4, kGerman, L"&Nein"},
    {&CLSID_PVButtonStringServer, 5, kGerman, L"&Beenden"},
    {&CLSID_PVButtonStringServer, 6, kGerman, L"&Wiederholen"},
    {&CLSID_PVButtonStringServer, 7, kGerman, L"&Ignorieren"},
    {&CLSID_PVButtonStringServer, 8, kGerman, L"&Hilfe"},
    {&CLSID_PVForceStringServer, 33, kEnglish, L"Forced value: %1"},
    {&CLSID_PVForceStringServer, 33, kGerman, L"Erzwungener Wert: %1"},
};

template <class Row, size_t N>
const Row* FindRow(const Row (&rows)[N], REFCLSID server, LONG id, LCID lcid) {
  for (LCID language : {lcid, kEnglish}) {
    for (const Row& row : rows) {
      if (*row.server == server && row.id == id && row.lcid == language) return &row;
    }
  }
  return nullptr;
}

}  // namespace

std::optional<HostPrompt> FindHostPrompt(REFCLSID server, LONG id, LCID lcid) {
  const PromptRow* row = FindRow(kPrompts, server, id, lcid);
  if (!row) return std::nullopt;
  return HostPrompt{row->caption, row->type, row->text};
}

std::optional<std::wstring> FindHostString(REFCLSID server, LONG id, LCID lcid) {
  const StringRow* row = FindRow(kStrings, server, id, lcid);
  if (!row) return std::nullopt;
  return std::wstring(row->text);
}

}  // namespace hostsim
