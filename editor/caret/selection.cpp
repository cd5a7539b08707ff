// The selection: extending, clearing, querying and selecting everything.
#include <algorithm>

#include "editor/layout/tab_expansion.h"
#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

void TZelEdit::ExtendOrClearSelection() {
  const bool wanted =
      FKeys.IsDown(win::VK_SHIFT) || FMouseSelecting || (FAllSelected && FVScrolling);
  if (!wanted) {
    ClearSelection();
    // No selection: anchor and ends stay on the caret, so the next Shift
    // move starts from here.
    FAnchor = FCaret;
    FSelEndRow = FSelPaintedRow = FCaret.Row;
    FSelEndCol = FSelPaintedCol = FCaret.Col;
    return;
  }
  if (FAllSelected || FTextDragging) {
    FSelPaintedRow = FSelEndRow;
    FSelPaintedCol = FSelEndCol;
    RepaintSelectionEnd(FSelEndCol, FSelEndRow);
    return;
  }
  DrawUnderline(FCaret.Row, true);
  FSelecting = true;
  RepaintSelectionEnd(FCaret.Col, FCaret.Row);
}

TSelectionRange TZelEdit::GetSelection() const {
  TSelectionRange range;
  range.Selected = FSelecting || FAllSelected;
  if (FSelecting) {
    const auto [start, end] = Ordered(FAnchor, SelEnd());
    const int r1 = start.Row, c1 = start.Col;
    int r2 = end.Row, c2 = end.Col;
    if (c2 == 0 && r2 > 0) {
      --r2;
      c2 = static_cast<int>(FLines[r2].size());
    }
    range.StartRow = r1;
    range.StartCol = c1;
    range.EndRow = r2;
    range.EndCol = c2;
  } else if (FAllSelected) {
    const int last = FLines.Count() - 1;
    range.EndRow = last;
    range.EndCol = static_cast<int>(FLines[last].size()) - 2;
  } else {
    range.StartRow = range.EndRow = FCaret.Row;
    range.StartCol = range.EndCol = FCaret.Col;
  }
  return range;
}

void TZelEdit::SetSelection(int anchorCol, int anchorRow, int caretRow, int caretCol) {
  ClearSelection();
  DrawUnderline(FCaret.Row, true);
  FAnchor = {anchorRow, anchorCol};
  FSelPaintedRow = anchorRow;
  FSelPaintedCol = anchorCol;
  const std::string_view row = FLines[caretRow];
  if (RowEndsLine(row) && caretCol == static_cast<int>(row.size()) &&
      caretRow + 1 < FLines.Count()) {
    ++caretRow;
    caretCol = 0;
  }
  FCaret = {caretRow, caretCol};
  FSelecting = true;
  RepaintSelectionEnd(caretCol, caretRow);
  MoveCaretTo(caretCol, caretRow, 0, true, false);
}

void TZelEdit::SelectAll() {
  if (FLines.Count() == 1 && FLines[0] == kEofMark) return;
  DrawUnderline(FCaret.Row, true);
  FAllSelected = true;
  FSelecting = false;
  const int last = FLines.Count() - 1;
  FAnchor = {0, 0};
  FSelEndRow = last;
  FSelEndCol = static_cast<int>(FLines[last].size()) - 2;
  FCaretHost.Hide();
  for (int r = FTopRow; r <= LastVisibleRow(); ++r) {
    const std::string_view row = FLines[r];
    PaintSegment(r, 0, row, true, static_cast<int>(row.size()));
  }
  FCaretHost.Show();
  ForgetFindHit();
  if (OnSelectionChange) OnSelectionChange(*this);
  FLastCaretCol = FCaret.Col;
  FLastCaretRow = FCaret.Row;
  FLastCaretX = FCaretX;
  if (OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, FTopRow,
                     std::min(FLines.Count(), FTopRow + FVisibleRows) - 1);
  }
}

std::string TZelEdit::GetSelText() const {
  if (!HasSelection()) return {};
  const auto [start, end] = Ordered(FAnchor, SelEnd());
  const int r1 = start.Row, r2 = end.Row;
  int c1 = start.Col, c2 = end.Col;
  auto clampCol = [&](int row, int col) {
    return std::clamp(col, 0, static_cast<int>(FLines[row].size()));
  };
  c1 = clampCol(r1, c1);
  c2 = clampCol(r2, c2);
  if (r1 == r2) return std::string(FLines[r1].substr(c1, std::max(0, c2 - c1)));
  std::string text(FLines[r1].substr(static_cast<std::size_t>(c1)));
  for (int r = r1 + 1; r < r2; ++r) text.append(FLines[r]);
  text.append(FLines[r2].substr(0, static_cast<std::size_t>(c2)));
  return text;
}

long long TZelEdit::GetSelLength() const {
  if (!HasSelection()) return 0;
  const auto [start, end] = Ordered(FAnchor, SelEnd());
  const int r1 = start.Row, r2 = end.Row;
  int c1 = start.Col, c2 = end.Col;
  c1 = std::clamp(c1, 0, static_cast<int>(FLines[r1].size()));
  c2 = std::clamp(c2, 0, static_cast<int>(FLines[r2].size()));
  // Through the byte index: a row's worth of work, not the document's.
  const TLineIndex& index = FWrap.Index();
  return std::max(0LL, index.BytesBeforeRow(r2) + c2 - index.BytesBeforeRow(r1) - c1);
}

int TZelEdit::GetCaretColumn() const {
  const std::string_view row = FLines[FCaret.Row];
  const auto bytes =
      static_cast<std::size_t>(std::clamp(FCaret.Col, 0, static_cast<int>(row.size())));
  return static_cast<int>(ExpandTabs(row.substr(0, bytes), TabCount()).size());
}

void TZelEdit::ClearSelection() {
  if (!FSelecting && !FAllSelected) return;
  const int r1 = std::min(FAnchor.Row, FSelEndRow);
  const int r2 = std::max(FAnchor.Row, FSelEndRow);
  const bool wasAll = FAllSelected;
  FCaretHost.Hide();
  FSelecting = false;
  FAllSelected = false;
  if (FWindowCreated && FRowPitch > 0) {
    RepaintClearedSelection(wasAll, FAnchor.Row, FAnchor.Col, FSelEndRow, FSelEndCol);
  }
  if (OnSelectionChange) OnSelectionChange(*this);
  FLastCaretCol = FCaret.Col;
  FLastCaretRow = FCaret.Row;
  FLastCaretX = FCaretX;
  if (!FVScrolling && OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, r1, r2);
  }
  FCaretHost.Show();
  FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  DrawUnderline(FCaret.Row, false);
  ForgetFindHit();
}

}  // namespace notavo
