// Changing the published properties: each difference asks for its own work
// (see WorkBetween), and the work is done in one pass, each part once, so
// that several properties changed together cost what the dearest of them
// costs.
#include <algorithm>
#include <utility>

#include "editor/zel_edit.h"

namespace notavo {

void TZelEdit::ApplyOptions(const TZelEditOptions& options) {
  TZelEditOptions next = options.Clamped();
  const TOptionsWork work = WorkBetween(FOptions, next);
  const bool wrap = next.WordWrap;
  FOptions = std::move(next);
  // WordWrap tells the store's state: it changes with the rebuild below.
  FOptions.WordWrap = FWrap.WordWrap();
  FWrap.SetCutRules(FOptions.Column, FOptions.TabCount, FOptions.AutoWrap, FOptions.SingleByteMode);
  if (work.CaretMargin) FCaretRightMargin = FOptions.CurSetMode ? 10 : FScrollJumpX;
  if (work.TabWidths) {
    FRowWidths.clear();
    FDesiredXCol = -1;
  }
  if (!FWindowCreated) {
    // Fonts, bars and geometry take effect when the window is made; only
    // the rows follow now.
    ReflowRows(wrap, work.CutRows, false);
    return;
  }
  const TWrapParams before = FWrap.Params();
  if (work.Font) {
    LoadFont();
  } else if (work.Layout()) {
    if (work.ScrollBars) ShowScrollBars();
    if (work.RowPitch) ApplyRowPitch();
    PlaceTextArea();
  }
  // Rows cut at the window's edge follow the text area and the font.
  const TWrapParams& after = FWrap.Params();
  const bool edgeMoved =
      FOptions.AutoWrap && (work.Font || after.TextAreaWidth != before.TextAreaWidth ||
                            after.CharWidth != before.CharWidth);
  if (ReflowRows(wrap, work.CutRows || edgeMoved, true)) return;
  if (work.Layout()) {
    FCaretX = CaretXOf(FCaret);
    RedrawAll();
  } else if (work.Repaint) {
    ResetCanvas();  // the default pen has the mark colour
    PaintView();
  }
}

void TZelEdit::SetColumn(int v) {
  const bool clampsToSame = v != Column() && std::max(v, TWrapParams::kMinColumn) == Column();
  SetOption(&TZelEditOptions::Column, v);
  if (clampsToSame && FWrap.WordWrap()) ReflowRows(true, true, FWindowCreated);
}

bool TZelEdit::ReflowRows(bool wrap, bool recut, bool redraw) {
  if (wrap == FWrap.WordWrap() && !(wrap && recut)) return false;
  if (wrap && FWrap.WordWrap()) {
    FWrap.Relayout(FCaret, FAnchor, redraw);
  } else {
    FWrap.ApplyWordWrap(wrap, redraw, FCaret, FAnchor);
  }
  // A failed rebuild left the rows and the screen as they were.
  return FWrap.WordWrap() == wrap;
}

void TZelEdit::LoadFont() {
  RebuildLogFont();
  ShowScrollBars();
  SetupFontMetrics();
  FCaretX = CaretXOf(FCaret);
  FDesiredXCol = -1;
  PlaceTextArea();
  FCaretY = (FCaret.Row - FTopRow) * FRowPitch;
  PlaceCompositionWindow(FCaretX + FTextLeft, FCaretY + FTopMargin);
  // The caret is as high as the new font's cells.
  TCaretHost& caret = FCaretHost;
  caret.Hide();
  caret.Destroy();
  caret.Create(2, FCharHeight);
  ResetCaretAfterLayout();
  caret.Show();
}

void TZelEdit::ShowScrollBars() {
  FHost.ScrollBars().Show(sbHorz, FHorzScrollBar);
  FHost.ScrollBars().Show(sbVert, FVertScrollBar);
  FVScrollWidth = FVertScrollBar ? FHost.Window().SystemMetric(win::SM_CXVSCROLL) : 0;
  FHScrollHeight = FHorzScrollBar ? FHost.Window().SystemMetric(win::SM_CYHSCROLL) : 0;
}

void TZelEdit::PlaceTextArea() {
  // The gutter starts at its narrowest; the next vertical scroll-bar update
  // widens it for the row count, so its width never depends on the past.
  UpdateGutterWidth();
  UpdateTextArea();
  const TPoint client = FHost.Window().ClientSize();
  FVisibleCols = FCharWidth > 0 ? std::max(0, FTextAreaWidth) / FCharWidth : 0;
  const int bottom = FVisibleRows * FRowPitch + FTopMargin;
  FTextRect = {FTextLeft, 0, client.X, bottom};
  FAreaRect = {0, FTopMargin, client.X, bottom};
  FMaxTopRow = std::max(0, FLines.Count() + FScrollMarginRows - FVisibleRows - 1);
  FTopRow = std::min(FTopRow, FMaxTopRow);
}

}  // namespace notavo
