// The view onto the rows: geometry after a resize, the scroll bars' and the
// wheel's messages, the auto-scroll tick, and moving the caret by rows.
#include <algorithm>
#include <cstdlib>

#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

using namespace win;

namespace {
int CeilDiv(long long a, long long b) { return static_cast<int>(b > 0 ? (a + b - 1) / b : 0); }
}  // namespace

void TZelEdit::Resize() {
  UpdateTextArea();
  const TPoint client = FHost.Window().ClientSize();
  FVisibleCols = FCharWidth > 0 ? std::max(0, FTextAreaWidth) / FCharWidth : 0;
  FTextRect = {FTextLeft, 0, client.X, FVisibleRows * FRowPitch + FTopMargin};
  FAreaRect = {0, FTopMargin, client.X, FVisibleRows * FRowPitch + FTopMargin};
  if (WordWrap() && AutoWrap()) FWrap.Relayout(FCaret, FAnchor);
  // Rows removed since the view was placed: never show past the end.
  FMaxTopRow = std::max(0, FLines.Count() + FScrollMarginRows - FVisibleRows - 1);
  FTopRow = std::min(FTopRow, std::max(FMaxTopRow, 0));
  UpdateVScrollBar(true);
  UpdateHScrollBar(true);
}

int TZelEdit::VScroll(int code, int thumb) {
  return ScrollRows(code, thumb, TScrollCaret::UnlessFixed).Moved;
}

TZelEdit::TRowScroll TZelEdit::ScrollRows(int code, int thumb, TScrollCaret caret) {
  int delta = 0;
  const int page = FRowPitch > 0 ? FTextAreaHeight / FRowPitch : 0;
  switch (code) {
    case SB_LINEUP:
      delta = FLineScrollRun < -4 ? -ScrollStep : -1;
      break;
    case SB_LINEDOWN:
      delta = FLineScrollRun > 4 ? ScrollStep : 1;
      break;
    case SB_PAGEUP:
      delta = std::min(-1, -page);
      break;
    case SB_PAGEDOWN:
      delta = std::max(1, page);
      break;
    case SB_THUMBTRACK:
      delta = static_cast<int>(
          std::clamp(static_cast<long long>(static_cast<short>(thumb)) * FVScale - FTopRow,
                     -static_cast<long long>(INT32_MAX), static_cast<long long>(INT32_MAX)));
      break;
    case SB_TOP:
      delta = -FTopRow;
      break;
    case SB_BOTTOM:
      delta = FMaxTopRow - FTopRow;
      break;
    default:
      break;
  }
  FMaxTopRow = std::max(0, FLines.Count() + FScrollMarginRows - FVisibleRows - 1);
  // The caret follows by the rows asked for, unless it already stands
  // below the view's margin.
  int caretRows = delta;
  if (delta < 0) {
    delta = std::max(-FTopRow, delta);
  } else {
    delta = std::max(0, std::min(delta, FMaxTopRow - FTopRow));
    if (FCaret.Row + FScrollMarginRows - FTopRow > FVisibleRows) caretRows = 0;
  }
  FVScrolling = true;
  if (delta != 0) {
    DrawUnderline(FCaret.Row, true);
    FTopRow += delta;
    FCaretHost.Hide();
    ShowScrolledRows(delta);
    if (caret == TScrollCaret::WithRows ||
        (caret == TScrollCaret::UnlessFixed && !CaretScrollFix)) {
      MoveCaretRows(caretRows);
    } else if (caret == TScrollCaret::UnlessFixed) {
      UpdateCaret();
    }
    DrawUnderline(FCaret.Row, false);  // the moved pixels took it along or away
    FCaretHost.Show();
    if (FVertScrollBar) FHost.ScrollBars().SetPos(sbVert, CeilDiv(FTopRow, FVScale), true);
  }
  FVScrolling = false;
  FLastVScroll = delta;
  return {delta, caretRows};
}

// The rows that stay in view move as pixels and only the rows they uncover
// are painted; a selection (painted by its own rules) or a scroll of a view
// or more repaints everything.
void TZelEdit::ShowScrolledRows(int delta) {
  const int rows = std::abs(delta);
  if (!FWindowCreated || FRowPitch <= 0 || HasSelection() || FMouseSelecting ||
      rows >= FVisibleRows) {
    FHost.Window().Invalidate(&FAreaRect);
    return;
  }
  const TRect area{0, FTopMargin, FHost.Window().ClientSize().X,
                   FTopMargin + FVisibleRows * FRowPitch};
  FHost.ScrollBars().ScrollPixels(-delta * FRowPitch, area);
  const int first = delta > 0 ? FTopRow + FVisibleRows - rows : FTopRow;
  const int last = first + rows - 1;
  const int lastText = std::min(last, FLines.Count() - 1);
  // What a full repaint leaves in the strip: the background, the rows, and
  // the gutter as far down as it reaches for the rows in view.
  const int top = FTopMargin + (first - FTopRow) * FRowPitch;
  const int bottom = top + rows * FRowPitch;
  FHost.Surface().SetBrushColor(FColor);
  FHost.Surface().FillRect({0, top, ControlWidth(), bottom});
  if (first <= lastText) PaintRows(first, lastText);
  // Below the last row's characters (scrolled up, a row's gap moved there).
  FHost.Surface().SetBrushColor(FColor);
  FHost.Surface().FillRect({0, GutterBottom(LastVisibleRow()), ControlWidth(), ControlHeight()});
  // Scrolled down, the row above the strip is no longer the last: its gap
  // gets the gutter's line.
  const int gutterTop = delta > 0 ? std::max(FTopMargin, top - FRowPitch + FCharHeight) : top;
  const int gutterBottom = std::min({bottom, ControlHeight(), GutterBottom(LastVisibleRow())});
  if (gutterTop < gutterBottom) PaintGutterStrip(gutterTop, gutterBottom, first, lastText);
  if (OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, std::max(0, first - 1),
                     std::min(last, FLines.Count() - 1));
  }
  UpdateHScrollBar();
}

void TZelEdit::HScroll(int code, int thumb) {
  int delta = 0;
  switch (code) {
    case SB_LINEUP:
      delta = -FScrollJumpX;
      break;
    case SB_LINEDOWN:
      delta = FScrollJumpX;
      break;
    case SB_PAGEUP:
      delta = std::min(-1, -(FTextAreaWidth / 3));
      break;
    case SB_PAGEDOWN:
      delta = std::max(1, FTextAreaWidth / 3);
      break;
    case SB_THUMBTRACK:
      delta =
          static_cast<int>(static_cast<long long>(static_cast<short>(thumb)) * FHScale - FScrollX);
      break;
    default:
      break;
  }
  if (delta < 0) {
    delta = std::max(-FScrollX, delta);
  } else {
    delta = std::min(delta, FMaxRowWidth - FScrollX - FScrollJumpX);
    if (FTextAreaWidth >= FMaxRowWidth + FScrollJumpX) delta = 0;
    delta = std::max(0, delta);
  }
  if (delta == 0) return;
  FScrollX += delta;
  if (FHorzScrollBar) FHost.ScrollBars().SetPos(sbHorz, CeilDiv(FScrollX, FHScale), true);
  FHost.ScrollBars().ScrollWindow(-delta, 0, &FTextRect, &FTextRect);
  FCaretX -= delta;
  if (OnUserDraw) {
    FHost.Surface().SetBrushColor(FColor);
    FHost.Surface().FillRect({0, 0, ControlWidth(), FTopMargin});
    RaiseUserDraw();
  }
  FCaretHost.Show();
  UpdateCaret();
}

void TZelEdit::Wheel(int delta) {
  const int notches = std::abs(static_cast<short>(delta) / 120);
  const int code = static_cast<short>(delta) > 0 ? SB_LINEUP : SB_LINEDOWN;
  for (int i = 0; i < notches * 2; ++i) ScrollRows(code, 0, TScrollCaret::UnlessFixed);
}

// One auto-scroll step while a mouse selection or a text drag is held
// outside the text area: the caret moves as its key would move it (the
// selection follows, or the drop point), scrolling at the view's edges.
void TZelEdit::TimerTick() {
  switch (FAutoScrollDir) {
    case -2:
      if (FCaret.Col > 0) CaretLeft(false);
      break;
    case -1:
      CaretUpDown(-1);
      break;
    case 1:
      CaretUpDown(1);
      break;
    case 2:
      if (FCaret.Col < ContentLength(FCaret.Row)) CaretRight(false);
      break;
    default:
      break;
  }
}

void TZelEdit::MoveCaretRows(int n) {
  if ((n < 0 && FCaret.Row == 0) || (n > 0 && FCaret.Row == FLines.Count() - 1) || n == 0) return;
  if (FDesiredXCol != FDesiredCol) {
    FDesiredX = PrefixWidth(FLines[FCaret.Row], FDesiredCol);
    FDesiredXCol = FDesiredCol;
  }
  DrawUnderline(FCaret.Row, true);
  FCaret.Row = std::clamp(FCaret.Row + n, 0, FLines.Count() - 1);
  int x = 0;
  FCaret.Col = XToCol(FLines[FCaret.Row], FDesiredX, x);
  if (x - FScrollX > FTextAreaWidth || (FScrollX > 0 && x - FScrollX < 0)) {
    FScrollX = std::max(0, x - FTextAreaWidth + FScrollJumpX);
    PaintView();
  }
  FCaretX = x - FScrollX;
  ExtendOrClearSelection();
  UpdateCaret();
  DrawUnderline(FCaret.Row, false);
}

}  // namespace notavo
