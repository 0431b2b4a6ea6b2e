// Fonts the peers share: named Shift-JIS faces, and the system's status-bar and message fonts.
// Each is made once and lives as long as the process.
#pragma once

#include <windows.h>

#include <string>

#include "toolkit/core/control.h"

namespace toolkit::win32 {

// A Shift-JIS font of the given face and character height in pixels (no DPI scaling).
HFONT FaceFont(const std::string& face, int height, bool fixedPitch);
// The font a model names; the system's default font for controls where it names no face.
HFONT FontOf(const FontSpec& font);
HFONT StatusFont();
HFONT MessageFont();

}  // namespace toolkit::win32
