// A plain view of the rows: text, selection and the top strip, enough to
// show the document until the full renderer (marks, gutter, links) takes
// over; and the scroll-bar bookkeeping the caret operations rely on.
#include <algorithm>
#include <cmath>

#include "editor/tab_expansion.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

namespace {
int CeilDiv(long long a, long long b) { return static_cast<int>(b > 0 ? (a + b - 1) / b : 0); }
}  // namespace

int TZelEdit::ControlWidth() const {
  return FHost.Window().ClientSize().X + (FVertScrollBar ? FVScrollWidth : 0);
}

void TZelEdit::PaintView() {
  if (!FWindowCreated || FRowPitch <= 0) return;
  const int first = FTopRow;
  const int last = std::min(FLines.Count() - 1, FTopRow + FVisibleRows - 1);
  PaintRows(first, last);
  TSurface& surface = FHost.Surface();
  const TPoint client = FHost.Window().ClientSize();
  surface.SetBrushColor(FColor);
  const int below = (std::max(0, last - first + 1)) * FRowPitch + FTopMargin;
  surface.FillRect({0, below, client.X, client.Y});
  surface.FillRect({0, FTopMargin, FTextLeft, below});
  surface.FillRect({0, 0, client.X, FTopMargin});
  DrawUnderline(FCaret.Row, false);
  if (OnUserDraw && FCharWidth > 0) {
    const int c1 =
        std::max(1, static_cast<int>(std::nearbyint(static_cast<double>(FScrollX) / FCharWidth)));
    const int c2 = std::min(static_cast<int>(std::nearbyint(
                                static_cast<double>(ControlWidth() + FScrollX) / FCharWidth)),
                            WordWrap() ? Column() : FMaxColumn);
    OnUserDraw(*this, c1, c2, FTextLeft, ControlWidth() - FVScrollWidth);
    surface.SetFont(FLogFont);
  }
  if (OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, FTopRow,
                     std::min(FLines.Count(), FTopRow + FVisibleRows) - 1);
  }
}

void TZelEdit::PaintRows(int first, int last) {
  TSurface& surface = FHost.Surface();
  const TSelectionRange sel = GetSelection();
  const int right = FTextLeft + FTextAreaWidth;
  for (int r = first; r <= last; ++r) {
    const std::string_view row = FLines[r];
    const std::string text = StripLineEnd(row);
    const int top = (r - FTopRow) * FRowPitch + FTopMargin;
    const int x0 = FTextLeft - FScrollX;
    // Selected bytes of this row, if any.
    int s1 = 0, s2 = 0;
    if (sel.Selected && r >= sel.StartRow && r <= sel.EndRow) {
      s1 = r == sel.StartRow ? sel.StartCol : 0;
      s2 = r == sel.EndRow ? std::min(sel.EndCol, static_cast<int>(text.size()))
                           : static_cast<int>(text.size());
    }
    const int cuts[] = {0, std::clamp(s1, 0, static_cast<int>(text.size())),
                        std::clamp(s2, 0, static_cast<int>(text.size())),
                        static_cast<int>(text.size())};
    for (int piece = 0; piece < 3; ++piece) {
      const int from = cuts[piece], to = std::max(cuts[piece], cuts[piece + 1]);
      if (from >= to && piece != 2) continue;
      const bool selected = piece == 1;
      const int xa = x0 + PrefixWidth(text, from);
      const int xb = piece == 2 ? right : x0 + PrefixWidth(text, to);
      surface.SetTextColor(selected ? InverseColor(FFont.Color) : FFont.Color);
      surface.SetBkColor(selected ? FSelColor : FColor);
      const std::string expanded =
          ExpandTabs(text.substr(0, static_cast<std::size_t>(to)), TabCount());
      const std::string before =
          ExpandTabs(text.substr(0, static_cast<std::size_t>(from)), TabCount());
      surface.TextRect({std::max(FTextLeft, xa), top, std::max(FTextLeft, xb), top + FRowPitch}, xa,
                       top, std::string_view(expanded).substr(before.size()));
    }
  }
}

void TZelEdit::UpdateVScrollBar() {
  const int count = FLines.Count();
  const long long maxTop =
      std::max(0LL, static_cast<long long>(count) + FScrollMarginRows - FVisibleRows - 1);
  if (!FVertScrollBar) return;
  TScrollBarHost& bars = FHost.ScrollBars();
  bars.Enable(sbVert, FVisibleRows < count + FScrollMarginRows ? saEnableBoth : saDisableBoth);
  const int scale = std::max(1, CeilDiv(maxTop, 32767));
  bars.SetRange(sbVert, 0, CeilDiv(maxTop, scale), false);
  bars.SetPos(sbVert, CeilDiv(FTopRow, scale), true);
}

void TZelEdit::UpdateHScrollBar() {
  const int last = std::min(FLines.Count() - 1, FTopRow + FVisibleRows - 1);
  long long widest = 0;
  for (int r = FTopRow; r <= last; ++r) {
    widest =
        std::max<long long>(widest, PrefixWidth(FLines[r], static_cast<int>(FLines[r].size())));
  }
  if (!FHorzScrollBar) return;
  TScrollBarHost& bars = FHost.ScrollBars();
  bars.Enable(sbHorz, FTextAreaWidth < widest + FScrollJumpX ? saEnableBoth : saDisableBoth);
  const int scale = std::max(1, CeilDiv(widest, 32767));
  bars.SetRange(sbHorz, 0, std::max(1, CeilDiv(widest, scale) - FScrollJumpX), true);
}

}  // namespace notavo
