// A panel: a child window with a 1-pixel raised bevel round its edge, in
// which another control sits inset by the bevel. The control is the
// panel's sibling, above it (so its messages still reach the form); the
// panel clips itself to what the control leaves uncovered.
#pragma once

#include <windows.h>

namespace notavo::framework {

// The window class "NotavoPanel", registered on first use.
const wchar_t* PanelClassName();
// A panel child of `parent`; nullptr on failure. It belongs under the
// control it surrounds: the caller puts it there (HWND_BOTTOM) once the
// control exists.
HWND CreatePanel(HWND parent, int id);
// Puts `panel` at `bounds` and `control` inside its bevel.
void PlacePanel(HWND panel, HWND control, const RECT& bounds);

}  // namespace notavo::framework
