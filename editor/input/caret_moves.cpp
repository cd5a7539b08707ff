// Caret movements of the keys: Home and End, character and word moves,
// rows and pages, and the document's start and end.
#include <algorithm>

#include "editor/editing/char_class.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

using namespace win;

void TZelEdit::BringCaretIntoView(bool setDesired) {
  MoveCaretTo(FCaret.Col, FCaret.Row, 0, setDesired, false);
}

void TZelEdit::KeyHome() {
  if (CaretScrollFix) BringCaretIntoView();
  if (FCaret.Row == 0 && FCaret.Col == 0) return;
  FCaretHost.Hide();
  FCaret.Col = 0;
  FCaretX = 0;
  if (FScrollX != 0) {
    FScrollX = 0;
    PaintView();
  }
  FDesiredCol = 0;
  ExtendOrClearSelection();
  UpdateCaret();
  FCaretHost.Show();
}

void TZelEdit::KeyEnd() {
  if (CaretScrollFix) BringCaretIntoView();
  const int last = FLines.Count() - 1;
  const int end = ContentLength(FCaret.Row);
  if (FCaret.Row == last && FCaret.Col == end) return;
  FCaretHost.Hide();
  FCaret.Col = end;
  const int width = PrefixWidth(FLines[FCaret.Row], end);
  const int scrollX = std::max(0, width - FTextAreaWidth + FCaretRightMargin);
  if (scrollX != FScrollX) {
    FScrollX = scrollX;
    PaintView();
  }
  FCaretX = width - FScrollX;
  FDesiredCol = FCaret.Col;
  ExtendOrClearSelection();
  UpdateCaret();
  FCaretHost.Show();
}

void TZelEdit::MoveLeftOneCharacter() {
  if (FCaret.Col == 0) {
    if (FCaret.Row == 0) return;
    if (FCaret.Row - FTopRow > FScrollMarginRows) {
      DrawUnderline(FCaret.Row, true);
      --FCaret.Row;
    } else {
      const int before = FCaret.Row;
      ScrollRows(SB_LINEUP, 0, TScrollCaret::WithRows);
      if (FCaret.Row == before) --FCaret.Row;  // the view was at the top
    }
    const std::string_view row = FLines[FCaret.Row];
    int col = ContentLength(FCaret.Row);
    if (!RowEndsLine(row) && col > 0) {
      // Before the soft row's last character.
      col -= col >= 2 && ByteTypeAt(row, col - 1, SingleByteMode()) == btLead ? 2 : 1;
    }
    FCaret.Col = col;
    const int width = PrefixWidth(row, col);
    const int scrollX = std::max(0, width - FTextAreaWidth + FCaretRightMargin);
    const bool repaint = scrollX != 0 || FScrollX != 0;
    FScrollX = scrollX;
    FCaretX = width - FScrollX;
    if (repaint) PaintView();
    return;
  }
  const std::string_view row = FLines[FCaret.Row];
  const int col = FCaret.Col;
  FCaret.Col -= col >= 2 && ByteTypeAt(row, col - 1, SingleByteMode()) == btLead ? 2 : 1;
  FCaretX = CaretXOf(FCaret);
  ScrollLeftToCaret();
}

void TZelEdit::CaretLeft(bool word) {
  if (CaretScrollFix) BringCaretIntoView();
  if (FCaret.Row == 0 && FCaret.Col == 0) return;
  FCaretHost.Hide();
  const std::string_view row = FLines[FCaret.Row];
  if (word && FCaret.Col > 0 && row[static_cast<std::size_t>(FCaret.Col - 1)] != '\t') {
    FCaret.Col = ScanWordBackward(row, FCaret.Col, SingleByteMode());
    FCaretX = CaretXOf(FCaret);
    ScrollLeftToCaret();
  } else {
    MoveLeftOneCharacter();
  }
  FDesiredCol = FCaret.Col;
  ExtendOrClearSelection();
  UpdateCaret();
  FCaretHost.Show();
}

void TZelEdit::CaretRight(bool word) {
  if (CaretScrollFix) BringCaretIntoView();
  const std::string_view row = FLines[FCaret.Row];
  const int length = static_cast<int>(row.size());
  const int col = FCaret.Col;
  const bool atEnd = col >= ContentLength(FCaret.Row);
  if (col < length && row[static_cast<std::size_t>(col)] == '\0' &&
      FCaret.Row == FLines.Count() - 1 && atEnd) {
    FDesiredCol = FCaret.Col;
    return;  // the end-of-text mark
  }
  FCaretHost.Hide();
  const bool lineEnd = IsLineBreakAt(FCaret.Row, col);
  int next = col;
  if (!lineEnd && col < length) {
    const bool pair = ByteTypeAt(row, col + 1, SingleByteMode()) == btLead &&
                      col + 2 <= ContentLength(FCaret.Row);
    next = col + (pair ? 2 : 1);
    const char c = row[static_cast<std::size_t>(col)];
    if (word && c != '\t' && c != '\0')
      next = std::max(next, ScanWordForward(row, col, SingleByteMode()));
    next = std::min(next, ContentLength(FCaret.Row));
  }
  const bool lastRow = FCaret.Row == FLines.Count() - 1;
  if (lineEnd || (next >= length && !lastRow) || (col >= length && !lastRow)) {
    // On to the start of the next row.
    const bool repaint = FScrollX != 0;
    FScrollX = 0;
    FCaret.Col = 0;
    FCaretX = 0;
    if (FCaret.Row - FTopRow + FScrollMarginRows < FVisibleRows) {
      DrawUnderline(FCaret.Row, true);
      ++FCaret.Row;
    } else {
      const int before = FCaret.Row;
      ScrollRows(SB_LINEDOWN, 0, TScrollCaret::WithRows);
      if (FCaret.Row == before && FCaret.Row + 1 < FLines.Count()) ++FCaret.Row;
      FCaret.Col = 0;
    }
    if (repaint) PaintView();
  } else if (next != col) {
    const char c = row[static_cast<std::size_t>(col)];
    FCaret.Col = next;
    if (c != '\t' || word) {
      FCaretX = CaretXOf({FCaret.Row, next});
      for (int i = 0; i < 1000 && FTextAreaWidth - FCaretX - FCaretRightMargin < 0; ++i) {
        const int before = FScrollX;
        HScroll(SB_LINEDOWN, 0);
        if (FScrollX == before) break;
      }
    } else {
      FCaretX = CaretXOf({FCaret.Row, next});
      if (FTextAreaWidth - FCaretX - FCaretRightMargin < 0) HScroll(SB_LINEDOWN, 0);
    }
  }
  FDesiredCol = FCaret.Col;
  ExtendOrClearSelection();
  UpdateCaret();
  FCaretHost.Show();
}

void TZelEdit::CaretUpDown(int direction) {
  if (CaretScrollFix) BringCaretIntoView(false);
  if (direction > 0 && FCaret.Row - FTopRow + FScrollMarginRows >= FVisibleRows) {
    FLineScrollRun = static_cast<short>(std::min(std::max<int>(FLineScrollRun, 0) + 1, 1000));
    // At the view's end the caret still moves.
    if (ScrollRows(SB_LINEDOWN, 0, TScrollCaret::WithRows).Moved == 0) MoveCaretRows(1);
  } else if (direction < 0 && FCaret.Row - FTopRow - FScrollMarginRows < 0) {
    FLineScrollRun = static_cast<short>(std::max(std::min<int>(FLineScrollRun, 0) - 1, -1000));
    if (ScrollRows(SB_LINEUP, 0, TScrollCaret::WithRows).Moved == 0) MoveCaretRows(-1);
  } else {
    MoveCaretRows(direction);
  }
}

void TZelEdit::PageMove(int code) {
  if (CaretScrollFix) BringCaretIntoView();
  const TRowScroll scroll = ScrollRows(code, 0, TScrollCaret::WithRows);
  if (scroll.Moved == 0) MoveCaretRows(scroll.CaretRows);
}

void TZelEdit::DocumentStart() {
  if (FCaret.Row == 0 && FCaret.Col == 0) return;
  const bool shift = FKeys.IsDown(VK_SHIFT);
  if (HasSelection() && !shift) ClearSelection();
  if (!HasSelection()) {
    FSelecting = shift || FMouseSelecting;
    if (FSelecting) FAnchor = FCaret;
  }
  FScrollX = FCaretX = FTopRow = 0;
  FCaret = {0, 0};
  FDesiredCol = 0;
  FHost.ScrollBars().SetPos(sbVert, 0, false);
  FHost.ScrollBars().SetPos(sbHorz, 0, false);
  UpdateVScrollBar(true);
  UpdateHScrollBar(true);
  if (!FSelecting) FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  PaintView();
  UpdateCaret();
}

void TZelEdit::DocumentEnd() {
  const int last = FLines.Count() - 1;
  if (FCaret.Row == last && FCaret.Col == ContentLength(last)) return;
  const bool shift = FKeys.IsDown(VK_SHIFT);
  if (HasSelection() && !shift) ClearSelection();
  if (!HasSelection()) {
    FSelecting = shift || FMouseSelecting;
    if (FSelecting) FAnchor = FCaret;
  }
  FCaret = {last, ContentLength(last)};
  const int width = PrefixWidth(FLines[last], FCaret.Col);
  FScrollX = std::max(0, width - FTextAreaWidth + FCaretRightMargin);
  FCaretX = width - FScrollX;
  FMaxTopRow = std::max(0, FLines.Count() + FScrollMarginRows - FVisibleRows - 1);
  FTopRow = FMaxTopRow;
  UpdateVScrollBar(true);
  FHost.ScrollBars().SetPos(sbVert, (FTopRow + FVScale - 1) / std::max(1, FVScale), false);
  FHost.ScrollBars().SetPos(sbHorz, 0, false);
  UpdateHScrollBar(true);
  FDesiredCol = FCaret.Col;
  if (!FSelecting) FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  PaintView();
  UpdateCaret();
}

void TZelEdit::StartReconvert() {
  if (!FComposing && OnIMEReConvert && FSelecting) {
    const bool anchorFirst =
        FAnchor.Row < FCaret.Row || (FAnchor.Row == FCaret.Row && FAnchor.Col < FCaret.Col);
    if (anchorFirst) {
      const TRowPos end = FCaret;
      FCaret = FAnchor;
      FAnchor = end;
      FSelEndRow = FCaret.Row;
      FSelEndCol = FCaret.Col;
      MoveCaretTo(FCaret.Col, FCaret.Row, 0, true, false);
      PaintView();
    } else if (CaretScrollFix) {
      BringCaretIntoView();
    }
    OnIMEReConvert(*this);
    return;
  }
  if (CaretScrollFix) BringCaretIntoView();
}

}  // namespace notavo
