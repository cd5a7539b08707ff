// Painting the whole view, ranges of rows, the gutter and what lies below
// the last row; the scroll bars that follow what is shown.
#include <algorithm>
#include <cmath>

#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

namespace {
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
int CeilDiv(long long a, long long b) { return static_cast<int>(b > 0 ? (a + b - 1) / b : 0); }
}  // namespace

int TZelEdit::ControlWidth() const {
  return FHost.Window().ClientSize().X + (FVertScrollBar ? FVScrollWidth : 0);
}

int TZelEdit::ControlHeight() const {
  return FHost.Window().ClientSize().Y + (FHorzScrollBar ? FHScrollHeight : 0);
}

int TZelEdit::LastVisibleRow() const {
  return std::min(FLines.Count() - 1, FTopRow + FVisibleRows - 1);
}

void TZelEdit::ResetCanvas() {
  TSurface& surface = FHost.Surface();
  surface.SetBrushColor(FColor);
  surface.SetPen(FCREOFColor, 1, psSolid, pmCopy);
  surface.SetFont(FLogFont);
}

void TZelEdit::RaiseUserDraw() {
  if (!OnUserDraw || FCharWidth <= 0) return;
  const int c1 = std::max(1, RoundEven(static_cast<double>(FScrollX) / FCharWidth));
  const int c2 = std::min(RoundEven(static_cast<double>(ControlWidth() + FScrollX) / FCharWidth),
                          WordWrap() ? Column() : FMaxColumn);
  OnUserDraw(*this, c1, c2, FTextLeft, ControlWidth() - FVScrollWidth);
  ResetCanvas();  // the handler may change font, pen and colours
}

void TZelEdit::PaintView() {
  if (!FWindowCreated || FRowPitch <= 0) return;
  const int first = FTopRow;
  const int last = LastVisibleRow();
  if (FSelecting) {
    PaintSelection();
    EraseBelowRows(first, last);
  } else if (FAllSelected) {
    for (int r = first; r <= last; ++r) {
      const std::string_view row = FLines[r];
      PaintSegment(r, 0, row, true, static_cast<int>(row.size()));
    }
    EraseBelowRows(first, last);
  } else {
    PaintRows(first, last);
    EraseBelowRows(first, last);
    DrawUnderline(FCaret.Row, false);
  }
  TSurface& surface = FHost.Surface();
  surface.SetBrushColor(FColor);
  surface.FillRect({0, 0, ControlWidth(), FTopMargin});
  RaiseUserDraw();
  if (OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, FTopRow,
                     std::min(FLines.Count(), FTopRow + FVisibleRows) - 1);
  }
  if (FHorzScrollBar) FHost.ScrollBars().SetPos(sbHorz, CeilDiv(FScrollX, FHScale), true);
  UpdateHScrollBar();
}

void TZelEdit::PaintRows(int first, int last) {
  for (int r = first; r <= last; ++r) PaintRow(0, (r - FTopRow) * FRowPitch, FLines[r]);
  PaintLinks(first, last);
}

void TZelEdit::EraseBelowRows(int first, int last) {
  TSurface& surface = FHost.Surface();
  surface.SetBrushColor(FColor);
  const int n = std::min(FVisibleRows, FLines.Count() - FTopRow);
  surface.FillRect(
      {0, n * FRowPitch + FTopMargin - FRowPitch + FCharHeight, ControlWidth(), ControlHeight()});
  PaintGutter(first, last);
}

void TZelEdit::PaintGutter(int first, int last) {
  if (last < first) return;
  const int top = std::max(FTopMargin, (first - FTopRow) * FRowPitch + FTopMargin);
  PaintGutterStrip(top, std::min(ControlHeight(), GutterBottom(last)), first, last);
}

int TZelEdit::GutterBottom(int last) const {
  return (last - FTopRow) * FRowPitch + FTopMargin + FCharHeight;
}

void TZelEdit::PaintGutterStrip(int top, int bottom, int first, int last) {
  TSurface& surface = FHost.Surface();
  surface.SetBrushColor(FColor);
  surface.FillRect({0, top, FTextLeft, bottom});
  if (!ShowLineNumber) return;
  surface.SetPen(FCREOFColor, 1, psSolid, pmCopy);
  surface.MoveTo(FTextLeft - 4, top);
  surface.LineTo(FTextLeft - 4, bottom);
  surface.SetTextColor(FCREOFColor);
  surface.SetBkColor(FColor);
  for (int r = first; r <= last; ++r) {
    const std::string number = std::to_string(r + 1);
    surface.TextOut(FTextLeft - surface.TextWidth(number) - 7,
                    (r - FTopRow) * FRowPitch + FTopMargin, number);
  }
}

void TZelEdit::RepaintRows(int mode, int a, int b) {
  if (!FWindowCreated || FRowPitch <= 0) return;
  const int bottom = FTopRow + FVisibleRows - 1;
  int first = FTopRow, last = bottom;
  switch (mode) {
    case 1:
      first = FCaret.Row - 1;
      break;
    case 2:
      first = FCaret.Row;
      break;
    case 3:
      first = std::max(a, FTopRow);
      break;
    case 4:
      first = last = FCaret.Row;
      break;
    case 5:
      first = FCaret.Row + 1;
      break;
    case 6:
      first = std::max(a, FTopRow);
      last = std::min(b, bottom);
      break;
    default:
      break;
  }
  first = std::max(first, FTopRow);
  last = std::min(FLines.Count() - 1, last);
  if (first <= last) {
    PaintRows(first, last);
    EraseBelowRows(first, last);  // nothing painted: nothing below moved either
  }
  DrawUnderline(FCaret.Row, false);
  if (OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, std::max(0, first - 1),
                     last);
  }
  if (FHorzScrollBar) FHost.ScrollBars().SetPos(sbHorz, CeilDiv(FScrollX, FHScale), true);
  UpdateHScrollBar();
}

bool TZelEdit::WidenGutter() {
  if (!ShowLineNumber) return false;
  const int oldLeft = FTextLeft;
  const int need = FHost.Surface().TextWidth(std::to_string(FLines.Count())) + FLeftMargin + 7;
  while (FTextLeft < need) FTextLeft += 10;
  while (need < FTextLeft - 1.5 * FDigitWidth && FBaseTextLeft < need) FTextLeft -= 10;
  FTextAreaWidth = ControlWidth() - FTextLeft - FVScrollWidth;
  FGutterWidth = FTextLeft - FLeftMargin;
  return FTextLeft != oldLeft;
}

bool TZelEdit::UpdateVScrollBar(bool redraw) {
  const int count = FLines.Count();
  FMaxTopRow = std::max(0, count + FScrollMarginRows - FVisibleRows - 1);
  // Rows were removed below the view: never show past the end.
  if (FTopRow > FMaxTopRow) FTopRow = FMaxTopRow;
  bool moved = false;
  if (ShowLineNumber) {
    moved = WidenGutter();
    const int w = ControlWidth(), h = ControlHeight();
    FTextRect = {FTextLeft, FTopMargin, w, h};
    FAreaRect = {0, FTopMargin, w, h};
  }
  if (FVertScrollBar) {
    TScrollBarHost& bars = FHost.ScrollBars();
    bars.Enable(sbVert, FVisibleRows < count + FScrollMarginRows ? saEnableBoth : saDisableBoth);
    FVScale = std::max(1, CeilDiv(FMaxTopRow, 32767));
    bars.SetRange(sbVert, 0, CeilDiv(FMaxTopRow, FVScale), false);
    bars.SetPos(sbVert, CeilDiv(FTopRow, FVScale), redraw);
  }
  return moved;
}

int TZelEdit::RowWidth(int row) {
  // Measuring a long row is the costly part of a scroll-bar update after
  // every keystroke; rows whose bytes did not change keep their width.
  return FRowWidths.Width(row, [this](std::string_view bytes) {
    return PrefixWidth(bytes, static_cast<int>(bytes.size()));
  });
}

void TZelEdit::UpdateHScrollBar(bool redraw) {
  long long widest = 0;
  for (int r = FTopRow; r <= LastVisibleRow(); ++r)
    widest = std::max<long long>(widest, RowWidth(r));
  FMaxRowWidth = static_cast<int>(std::min<long long>(widest, INT32_MAX / 2));
  if (!FHorzScrollBar) return;
  TScrollBarHost& bars = FHost.ScrollBars();
  FHScale = std::max(1, CeilDiv(FMaxRowWidth, 32767));
  // The range moves in steps of half a view: a character that widens the
  // widest row mostly changes nothing, and setting a range is what makes
  // the window system redraw the bar. It shrinks once the rows are two
  // steps narrower. The arrows follow the range (a new range resets them).
  const int exact = std::max(1, CeilDiv(FMaxRowWidth, FHScale) - FScrollJumpX);
  const int step = std::max(1, CeilDiv(std::max(FTextAreaWidth, 64), 2 * FHScale));
  if (exact > FHRange || exact + 2 * step < FHRange) FHRange = CeilDiv(exact, step) * step;
  bars.SetRange(sbHorz, 0, FHRange, redraw);
  bars.Enable(sbHorz, FTextAreaWidth < FMaxRowWidth + FScrollJumpX ? saEnableBoth : saDisableBoth);
}

}  // namespace notavo
