// Painting pieces of rows in normal or selected colours, the selection,
// the moves of its end, its clearing, and temporary highlights.
#include <algorithm>
#include <tuple>
#include <vector>

#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

void TZelEdit::PaintSegment(int row, int from, std::string_view bytes, bool selected, int to) {
  selected = selected || FAllSelected;
  to = std::min(to, static_cast<int>(bytes.size()));
  if (from >= to || row < FTopRow) return;
  TSurface& surface = FHost.Surface();
  const std::string prefix =
      ExpandRecordingTabs(bytes.substr(0, static_cast<std::size_t>(from)), nullptr);
  std::vector<int> tabs;
  const std::string run =
      ExpandRecordingTabs(bytes.substr(0, static_cast<std::size_t>(to)), ShowTAB ? &tabs : nullptr);
  std::string piece = run.substr(prefix.size());
  const int x = FTextLeft - FScrollX + surface.TextWidth(prefix);
  const int y = (row - FTopRow) * FRowPitch + FTopMargin;
  const int rightEdge = FTextLeft + FTextAreaWidth;
  const std::string_view tail =
      piece.size() >= 2 ? std::string_view(piece).substr(piece.size() - 2) : std::string_view();
  if (tail == kEofMark) {
    piece.resize(piece.size() - 2);
    to -= 2;
    const int xEnd = x + surface.TextWidth(piece);
    const TRect rest{xEnd, y, rightEdge, y + FRowPitch};
    surface.SetBkColor(FColor);
    if (ShowEOF) {
      surface.SetTextColor(FCREOFColor);
      surface.TextRect(rest, xEnd, y, "[EOF]");
    } else {
      surface.SetBrushColor(FColor);
      surface.FillRect(rest);
    }
  } else if (tail == kLineEnd) {
    piece.resize(piece.size() - 2);
    to -= 2;
    const int xEnd = x + surface.TextWidth(piece);
    surface.SetBrushColor(selected ? FSelColor : FColor);
    surface.FillRect({std::max(FTextLeft, xEnd), y, std::max(FTextLeft, xEnd + 8), y + FRowPitch});
    if (ShowCR) DrawLineEndArrow(xEnd, y, selected ? InverseColor(FCREOFColor) : FCREOFColor);
    surface.SetBrushColor(FColor);
    surface.FillRect({std::max(FTextLeft, xEnd + 8), y, rightEdge, y + FRowPitch});
  }
  const int pieceRight = x + surface.TextWidth(piece);
  const TRect rect{std::max(FTextLeft, x), y, std::max(FTextLeft, pieceRight), y + FRowPitch};
  if (selected) {
    surface.SetTextColor(InverseColor(FFont.Color));
    surface.SetBkColor(FSelColor);
    surface.TextRect(rect, x, y, piece);
    PaintMarks(rect, x, tabs, true, piece, y);
  } else {
    surface.SetTextColor(RowTextColor(bytes));
    surface.SetBkColor(FColor);
    surface.TextRect(rect, x, y, piece);
    PaintMarks(rect, x, tabs, false, piece, y);
    PaintLinksClipped(row, row, rect);
  }
  if (to == static_cast<int>(bytes.size())) {
    surface.SetBrushColor(FColor);
    surface.FillRect({std::max(FTextLeft, pieceRight), y, rightEdge, y + FRowPitch});
  }
}

// Paints row r so that exactly the bytes between (r1, c1) and (r2, c2) are
// selected.
void TZelEdit::PaintRowSelected(int r, int r1, int c1, int r2, int c2) {
  const std::string_view row = FLines[r];
  const int length = static_cast<int>(row.size());
  if (r < r1 || r > r2) {
    PaintSegment(r, 0, row, false, length);
  } else if (r1 == r2) {
    PaintSegment(r, 0, row, false, c1);
    PaintSegment(r, c1, row, true, c2);
    PaintSegment(r, c2, row, false, length);
  } else if (r == r1) {
    PaintSegment(r, 0, row, false, c1);
    PaintSegment(r, c1, row, true, length);
  } else if (r == r2) {
    PaintSegment(r, 0, row, true, c2);
    PaintSegment(r, c2, row, false, length);
  } else {
    PaintSegment(r, 0, row, true, length);
  }
}

void TZelEdit::PaintSelection() {
  const auto [start, end] = Ordered(FAnchor, SelEnd());
  for (int r = FTopRow; r <= LastVisibleRow(); ++r) {
    PaintRowSelected(r, start.Row, start.Col, end.Row, end.Col);
  }
}

void TZelEdit::RepaintSelectionEnd(int col, int row) {
  const int visibleFirst = FTopRow, visibleLast = LastVisibleRow();
  // Bytes between the painted end and the new end change state; the anchor
  // row's piece splits at the anchor.
  const auto [changedFrom, changedTo] = Ordered({FSelPaintedRow, FSelPaintedCol}, {row, col});
  const auto [r1, c1] = changedFrom;
  const auto [r2, c2] = changedTo;
  // Plain copies: the piece painter below captures them.
  const std::pair<TRowPos, TRowPos> selection = Ordered(FAnchor, {row, col});
  const TRowPos selStart = selection.first, selEnd = selection.second;
  const int s1 = selStart.Row, sc1 = selStart.Col, s2 = selEnd.Row, sc2 = selEnd.Col;
  auto paintPiece = [&](int r, int from, int to) {
    if (r < visibleFirst || r > visibleLast || from >= to) return;
    const std::string_view bytes = FLines[r];
    // Split at the selection's bounds so each part is painted in its state.
    std::vector<int> cuts{from};
    if (r == s1 && sc1 > from && sc1 < to) cuts.push_back(sc1);
    if (r == s2 && sc2 > from && sc2 < to) cuts.push_back(sc2);
    cuts.push_back(to);
    std::sort(cuts.begin(), cuts.end());
    for (std::size_t k = 0; k + 1 < cuts.size(); ++k) {
      const int a = cuts[k], b = cuts[k + 1];
      const bool selected = !Before({r, a}, selStart) && Before({r, a}, selEnd);
      PaintSegment(r, a, bytes, selected, b);
    }
  };
  FCaretHost.Hide();
  for (int r = r1; r <= r2; ++r) {
    const int length = static_cast<int>(FLines[r].size());
    paintPiece(r, r == r1 ? c1 : 0, r == r2 ? c2 : length);
  }
  FCaretHost.Show();
  FSelPaintedRow = FSelEndRow = row;
  FSelPaintedCol = FSelEndCol = col;
}

void TZelEdit::RepaintClearedSelection(bool wasAll, int r1, int c1, int r2, int c2) {
  const int visibleFirst = FTopRow, visibleLast = LastVisibleRow();
  if (wasAll) {
    for (int r = visibleFirst; r <= visibleLast; ++r) {
      const std::string_view row = FLines[r];
      PaintSegment(r, 0, row, false, static_cast<int>(row.size()));
    }
    PaintLinks(visibleFirst, visibleLast);
    return;
  }
  const auto [start, end] = Ordered({r1, c1}, {r2, c2});
  std::tie(r1, c1) = std::tie(start.Row, start.Col);
  std::tie(r2, c2) = std::tie(end.Row, end.Col);
  const int first = std::max(r1, visibleFirst), last = std::min(r2, visibleLast);
  for (int r = first; r <= last; ++r) {
    const std::string_view row = FLines[r];
    const int from = r == r1 ? c1 : 0;
    const int to = r == r2 ? c2 : static_cast<int>(row.size());
    PaintSegment(r, from, row, false, to);
  }
  if (first <= last) PaintLinks(first, last);
}

void TZelEdit::HighlightRange(int col, int row, bool erase, TColor background, TColor textColor,
                              int length) {
  if (row < 0 || row >= FLines.Count()) return;
  // The range walks onto following rows while bytes remain.
  int endRow = row, endCol = col, remaining = length;
  for (;;) {
    const int available = static_cast<int>(FLines[endRow].size()) - endCol;
    if (remaining <= available || endRow + 1 >= FLines.Count()) {
      endCol += std::min(remaining, std::max(available, 0));
      break;
    }
    remaining -= available;
    ++endRow;
    endCol = 0;
  }
  FCaretHost.Hide();
  if (erase) {
    for (int r = std::max(row, FTopRow); r <= std::min(endRow, LastVisibleRow()); ++r) {
      PaintRow(0, (r - FTopRow) * FRowPitch, FLines[r]);
    }
    PaintLinks(row, endRow);
  } else {
    const bool selecting = FSelecting, all = FAllSelected;
    const TColor selColor = FSelColor, marks = FCREOFColor, fontColor = FFont.Color;
    FSelecting = FAllSelected = false;
    FSelColor = background;
    FFont.Color = InverseColor(textColor);
    for (int r = std::max(row, FTopRow); r <= std::min(endRow, LastVisibleRow()); ++r) {
      const std::string_view bytes = FLines[r];
      const int from = r == row ? col : 0;
      const int to = r == endRow ? endCol : static_cast<int>(bytes.size());
      PaintSegment(r, from, bytes, true, to);
    }
    FSelecting = selecting;
    FAllSelected = all;
    FSelColor = selColor;
    FCREOFColor = marks;
    FFont.Color = fontColor;
  }
  FCaretHost.Show();
}

}  // namespace notavo
