#include "app/editor_settings.h"

namespace notavo {

TZelEditOptions ProgramEditorOptions() {
  TZelEditOptions o;  // the control's defaults, then what the program changes
  o.CaretScrollFix = true;
  o.TopMargin = 11;
  o.TabCount = 4;
  o.ShowTAB = true;
  o.ShowUnderLine = true;
  o.AutoIndent = true;
  o.BorderStyle = bsSingle;
  o.Font = {"FixedSys", -19, 0, TLogFont::kShiftJisCharset};
  o.HorzScrollBar = true;
  o.Column = 1000;
  o.ShowLineNumber = true;
  o.LineNoColumn = 3;
  return o;
}

void ApplyProgramSettings(TZelEdit& edit) { edit.ApplyOptions(ProgramEditorOptions()); }

}  // namespace notavo
