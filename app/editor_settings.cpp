#include "app/editor_settings.h"

#include <string>

namespace notavo {

void ApplyProgramSettings(TZelEdit& edit) {
  edit.UndoRec = true;
  edit.CaretScrollFix = true;
  edit.SetTopMargin(11);
  edit.SetLeftMargin(10);
  edit.ScrollStep = 2;
  edit.SetCurSetMode(true);
  edit.SetSelColor(0);
  edit.SetCREOFcolor(0x808000);
  edit.SetTabCount(4);
  edit.ShowEOF = true;
  edit.ShowCR = true;
  edit.ShowDblSpace = true;
  edit.ShowTAB = true;
  edit.UndoBuf = 1015808;
  edit.SetLineSpace(10);
  edit.SetLineSpaceUnit(uPercent);
  edit.ShowUnderLine = true;
  edit.AutoIndent = true;
  edit.BorderStyle = bsSingle;
  edit.SetColor(0xFFFFFF);
  edit.SetFont({"FixedSys", -19, 0, TLogFont::kShiftJisCharset});
  edit.ReadOnly = false;
  edit.SetHorzScrollBar(true);
  edit.SetVertScrollBar(true);
  edit.SetWordWrap(true);
  edit.SetAutoWrap(false);
  edit.WantTabs = true;
  edit.SetColumn(1000);
  // Built from a std::string: GCC 12 warns (-Wrestrict, falsely) about the
  // inlined assignment from a literal.
  edit.Inyostr = std::string(">");
  edit.ColorPrintF = true;
  edit.SetURLColor(0xFF0000);
  edit.SetInyoColor(0x808080);
  edit.SetUlineColor(0);
  edit.ShowLineNumber = true;
  edit.SetLineNoColumn(3);
  edit.SetSingleByteMode(false);
}

}  // namespace notavo
