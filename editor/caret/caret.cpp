// Placing the caret, bringing it into view, and the caret events.
#include <algorithm>
#include <stdexcept>

#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

namespace {
// Overflow-checked narrowing: an out-of-range result fails the operation.
int Checked(long long v) {
  if (v < INT32_MIN || v > INT32_MAX) throw std::overflow_error("view arithmetic");
  return static_cast<int>(v);
}
}  // namespace

bool TZelEdit::MoveCaretTo(int col, int row, int viewMode, bool setDesired, bool collapse) {
  try {
    const int oldRow = FCaret.Row;
    const bool placed = col >= 0;
    if (placed) {
      FCaret = ClampPosition(FLines, {row, col});
      FCaretX = CaretXOf(FCaret);
    }
    bool scrolled = false;
    if (ScrollToCaret(FCaretX, FCaret.Row, viewMode, 3)) {
      FCaretHost.Hide();
      UpdateVScrollBar();
      UpdateHScrollBar();
      PaintView();
      UpdateCaret();
      FCaretHost.Show();
      scrolled = true;
    } else if (placed) {
      UpdateCaret();
      if (FCaret.Row != oldRow) {
        DrawUnderline(oldRow, true);
        DrawUnderline(FCaret.Row, false);
      }
    }
    if (collapse) {
      FAnchor = FCaret;
      FSelEndRow = FSelPaintedRow = FCaret.Row;
      FSelEndCol = FSelPaintedCol = FCaret.Col;
    }
    if (setDesired) FDesiredCol = FCaret.Col;
    return scrolled;
  } catch (const std::exception&) {
    ShowError("Error:OC006");
    return false;
  }
}

bool TZelEdit::ScrollToCaret(int x, int row, int viewMode, int /*edge*/) {
  try {
    const int oldScrollX = FScrollX;
    const int oldTopRow = FTopRow;
    const int width = FTextAreaWidth;
    if (x > width - 3 || x < 3) {
      const long long absolute = static_cast<long long>(x) + FScrollX;
      FScrollX = Checked(std::max(0LL, absolute - (width - FScrollJumpX)));
      FCaretX = Checked(absolute - FScrollX);
    }
    const int rows = FVisibleRows;
    const int margin = FScrollMarginRows;
    const int count = FLines.Count();
    switch (viewMode) {
      case 1:
        FTopRow = std::max(0, row - rows / 2);
        break;
      case 2:
        FTopRow = std::max(0, row - (rows - static_cast<int>(rows * 0.8)));
        break;
      default:
        if (FTopRow + rows - margin < row) {
          FTopRow = std::max(0, row - (rows - margin));
        } else if (FTopRow < count - (rows - margin)) {
          if (row < FTopRow) FTopRow = std::max(0, row - margin + 1);
        } else {
          FTopRow = std::max(0, row - (rows - margin));
        }
        break;
    }
    if (static_cast<long long>(rows) >= static_cast<long long>(count) + margin) FTopRow = 0;
    return FScrollX != oldScrollX || FTopRow != oldTopRow;
  } catch (const std::exception&) {
    ShowError("Error:OC005");
    return false;
  }
}

bool TZelEdit::GoToPosition(int col, int row, int viewMode) {
  // A position handed in from outside may point anywhere.
  const TRowPos pos = NormalizePosition(FLines, {row, col}, SingleByteMode());
  ClearSelection();
  return MoveCaretTo(pos.Col, pos.Row, viewMode, true, true);
}

void TZelEdit::UpdateCaret() {
  if (!FTimerEnabled) return;
  FCaretY = (FCaret.Row - FTopRow) * FRowPitch;
  const int x = FCaretX < 0 ? -5 : FCaretX + FTextLeft;
  try {
    if (FHost.InputMethod().HasContext()) {
      FHost.InputMethod().SetCompositionWindow({FCaretX + FTextLeft, FCaretY + FTopMargin});
    }
  } catch (const std::exception&) {
    // The composition window only follows the caret; nothing depends on it.
  }
  FCaretHost.SetPos(x, FCaretY + FTopMargin);
  if (!HasSelection()) ForgetFindHit();
  if (FCaret.Col == FLastCaretCol && FCaret.Row == FLastCaretRow && FCaretX == FLastCaretX) {
    return;
  }
  if (OnSelectionChange) OnSelectionChange(*this);
  if (OnMoveCaret) OnMoveCaret(*this);
  FLastCaretCol = FCaret.Col;
  FLastCaretRow = FCaret.Row;
  FLastCaretX = FCaretX;
  if (FSelecting && OnUserClientDraw) {
    const int r1 = std::min(FAnchor.Row, FSelEndRow);
    const int r2 = std::max(FAnchor.Row, FSelEndRow);
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, std::max(0, r1 - 1),
                     std::min(r2 + 1, FLines.Count() - 1));
  }
}

void TZelEdit::ResetCaretAfterLayout() {
  FCaretY = (FCaret.Row - FTopRow) * FRowPitch;
  PlaceCompositionWindow(FCaretX + FTextLeft, FCaretY + FTopMargin);
  FCaretHost.SetPos(FCaretX < 0 ? -5 : FCaretX + FTextLeft, FCaretY + FTopMargin);
}

void TZelEdit::OnSetFocus() {
  TCaretHost& caret = FCaretHost;
  caret.Create(2, FCharHeight);
  ResetCaretAfterLayout();
  caret.Show();
  FHost.Timer().Start(40);
  FTimerEnabled = true;
}

void TZelEdit::OnKillFocus() {
  // Half a double-byte character never pairs with a byte typed after the
  // focus came back.
  FPendingLead = 0;
  FHost.Timer().Stop();
  FTimerEnabled = false;
  FCaretHost.Hide();
  FCaretHost.Destroy();
}

void TZelEdit::DrawUnderline(int row, bool erase) {
  if (!ShowUnderLine || !FWindowCreated) return;
  if (!erase && (FSelecting || FAllSelected || FMouseSelecting)) return;
  if (row < FTopRow || row >= FTopRow + FVisibleRows || row >= FLines.Count()) return;
  const int y = (row - FTopRow + 1) * FRowPitch + FTopMargin + FCharHeight - FRowPitch;
  if (erase && y <= FTopMargin) return;
  TSurface& surface = FHost.Surface();
  surface.SetPen(erase ? FColor : FUlineColor, 1, psSolid, pmCopy);
  surface.MoveTo(FLeftMargin, y);
  surface.LineTo(ControlWidth(), y);
  // The gutter's line, where it runs: down to the last row's characters.
  if (erase && ShowLineNumber && y < GutterBottom(LastVisibleRow())) {
    surface.SetPen(FCREOFColor, 1, psSolid, pmCopy);
    surface.MoveTo(FTextLeft - 4, y);
    surface.LineTo(FTextLeft - 3, y);
  }
  surface.SetPen(FCREOFColor, 1, psSolid, pmCopy);
}

}  // namespace notavo
