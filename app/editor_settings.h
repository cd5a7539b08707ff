// The editor control's settings in the program, in one place for the main
// window and the tests that check the control as the program shows it.
#pragma once

#include "editor/zel_edit.h"

namespace notavo {

// Japanese text with visible tabs, line ends and full-width spaces, line
// numbers, wrapping at 1000 columns, FixedSys 19 pixels (or a Japanese
// fixed-pitch face where FixedSys has no Japanese glyphs): the main window's
// stored layout as one options value, and that value given to an editor.
TZelEditOptions ProgramEditorOptions();
void ApplyProgramSettings(TZelEdit& edit);

}  // namespace notavo
