// What a dialog template says of its size and font, read from the template's bytes as the
// dialog manager lays them out (dlgtemplate.h), and the dialog base units of such a font as
// the dialog manager measures them on the screen: what a panel needs to tell its size before
// it has a window.
#pragma once

#include <windows.h>

#include <cstddef>

// The size (in dialog units) and the font a template declares.
struct TemplateMetrics {
  short cx = 0;
  short cy = 0;
  bool hasFont = false;
  WORD pointSize = 0;
  WCHAR face[LF_FACESIZE] = {};
};

// Size and font of a template of either form. False when even the size cannot be read; a
// font block that runs past the end counts as none.
bool ReadTemplateMetrics(const BYTE* data, size_t size, TemplateMetrics* metrics);

struct BaseUnits {
  int horizontal = 0;
  int vertical = 0;
  int height = 0;  // the font's tmHeight
};

// The dialog base units of the template's font as the dialog manager measures them on the
// screen; the system's when the template names no font or it cannot be had.
BaseUnits FontBaseUnits(const TemplateMetrics& metrics);
