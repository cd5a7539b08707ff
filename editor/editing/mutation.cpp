// Every change of the text: deleting the selection, inserting at the caret,
// typing (insert and overwrite), line breaks with auto-indent, tabs, and
// deleting characters and words. Each records itself for undo, re-cuts the
// edited logical lines while wrapped, and repaints what changed.
#include <algorithm>

#include "editor/caret/position_rule.h"
#include "editor/editing/char_class.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

using namespace win;

namespace {

// Pieces of `text` cut after each CR LF pair; a lone CR or LF stays an
// ordinary byte of its piece.
std::vector<std::string> SplitAfterLineEnds(std::string_view text) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  for (std::size_t at = text.find(kLineEnd); at != std::string_view::npos;
       at = text.find(kLineEnd, start)) {
    pieces.emplace_back(text.substr(start, at + 2 - start));
    start = at + 2;
  }
  if (start < text.size() || pieces.empty()) pieces.emplace_back(text.substr(start));
  return pieces;
}

bool ContainsLineEnd(std::string_view text) {
  return text.find(kLineEnd) != std::string_view::npos;
}

}  // namespace

void TZelEdit::StoreRow(int row, std::string bytes) {
  if (bytes.empty()) {
    FLines.Delete(row);  // no row is ever an empty string
  } else {
    FLines.Put(row, bytes);
  }
}

void TZelEdit::CollapseToCaret() {
  FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  FDesiredCol = FCaret.Col;
}

TRowPos TZelEdit::SelectionStart() const {
  const bool anchorFirst =
      FAnchor.Row < FSelEndRow || (FAnchor.Row == FSelEndRow && FAnchor.Col <= FSelEndCol);
  return anchorFirst ? FAnchor : TRowPos{FSelEndRow, FSelEndCol};
}

bool TZelEdit::IsLineBreakAt(int row, int col) const {
  // Only a row's own terminator ends a line; a CR inside the row is a byte.
  return RowEndsLine(FLines[row]) && col == ContentLength(row) && row + 1 < FLines.Count();
}

// Re-lays out rows first..last after an edit and repaints what changed.
void TZelEdit::AfterEdit(int first, int last, bool rowsChanged, bool redraw, int x) {
  if (WordWrap()) {
    RewrapAfterEdit(x, first, redraw, rowsChanged, last);
    return;
  }
  FCaretX = PrefixWidth(FLines[FCaret.Row], FCaret.Col) - FScrollX;
  if (!redraw) return;
  if (MoveCaretTo(-1, 0, 0, true, true)) return;  // scrolled: all repainted
  if (UpdateVScrollBar(true)) {
    PaintView();
  } else if (rowsChanged || last != first) {
    RepaintRows(3, first, 0);
  } else {
    RepaintEditedRow(first);
  }
  UpdateCaret();
}

// One row changed and no row moved: that row alone is painted again.
void TZelEdit::RepaintEditedRow(int row) {
  if (row >= FTopRow && row <= LastVisibleRow()) {
    PaintRow(0, (row - FTopRow) * FRowPitch, FLines[row]);
    PaintLinks(row, row);
  }
  RepaintRows(6, row + 1, row);  // no rows: the underline, events and bar
}

void TZelEdit::RewrapAfterEdit(int x, int start, bool redraw, bool hint, int last) {
  const TRewrapResult r = RewrapRows(FLines, FWrap.Params(), start, last, FCaret);
  FCaret = r.Caret;
  FCaretX = PrefixWidth(FLines[FCaret.Row], FCaret.Col) - FScrollX;
  if (!redraw) {
    FAnchor.Row = FSelEndRow = FCaret.Row;
    return;
  }
  if (!MoveCaretTo(FCaret.Col, FCaret.Row, 0, true, true)) {
    if (UpdateVScrollBar(true)) {
      PaintView();
    } else if (hint || r.RowCountChanged || last != start) {
      RepaintRows(3, r.Start, 0);
    } else {
      (void)x;
      RepaintEditedRow(r.Start);
      if (r.OldEnd - 1 > r.Start) RepaintRows(6, r.Start + 1, r.OldEnd - 1);
    }
  }
  CollapseToCaret();
  FSelPaintedRow = FCaret.Row;
  UpdateCaret();
}

void TZelEdit::DeleteSelection(bool redraw) {
  // The ends in document order, kept off the inside of a terminator.
  TRowPos a = FAnchor, b{FSelEndRow, FSelEndCol};
  if (FAllSelected) {
    a = {0, 0};
    const int last = FLines.Count() - 1;
    b = {last, ContentLength(last)};
  }
  if (b.Row < a.Row || (b.Row == a.Row && b.Col < a.Col)) std::swap(a, b);
  a.Row = std::clamp(a.Row, 0, FLines.Count() - 1);
  b.Row = std::clamp(b.Row, 0, FLines.Count() - 1);
  a.Col = std::clamp(a.Col, 0, ContentLength(a.Row));
  // An end inside a line end takes part of it; what is left of the row
  // then joins the next row below, so no byte is lost.
  b.Col = std::clamp(b.Col, 0, static_cast<int>(FLines[b.Row].size()));
  if (b.Row + 1 == FLines.Count()) b.Col = std::min(b.Col, ContentLength(b.Row));
  FAnchor = a;
  FSelEndRow = b.Row;
  FSelEndCol = b.Col;
  FSelecting = true;
  FAllSelected = false;
  const std::string text = GetSelText();
  FSelecting = false;
  if (!FUndoing) RecordUndo(ukDeleted, text, a.Row, a.Col);

  FHost.Caret().Hide();
  DrawUnderline(FCaret.Row, true);
  const int rowsBefore = FLines.Count();
  std::string joined = std::string(FLines[a.Row].substr(0, static_cast<std::size_t>(a.Col))) +
                       std::string(FLines[b.Row].substr(static_cast<std::size_t>(b.Col)));
  int lastReplaced = b.Row;
  // A line end removed without its line: the next row joins this one.
  // (A lone CR before the last byte is text: only a terminator of its own
  // ends the row.)
  if (!WordWrap() && !EndsWithTerminator(joined) && b.Row + 1 < FLines.Count()) {
    joined += FLines[b.Row + 1];
    lastReplaced = b.Row + 1;
  }
  std::vector<std::string> replacement;
  if (!joined.empty()) replacement.push_back(std::move(joined));  // no row is ever empty
  FLines.ReplaceRows(a.Row, lastReplaced - a.Row + 1, replacement);
  if (FLines.Count() == 0) FLines.Add(kEofMark);
  FCaret = {std::min(a.Row, FLines.Count() - 1), 0};
  FCaret.Col = FCaret.Row == a.Row ? std::min(a.Col, ContentLength(FCaret.Row)) : 0;
  CollapseToCaret();
  const bool rowsChanged = FLines.Count() != rowsBefore;
  AfterEdit(FCaret.Row, FCaret.Row, rowsChanged || ContainsLineEnd(text), redraw || FUndoing, 0);
  if (!rowsChanged) FUndoing = false;
  UpdateCaret();
  FHost.Caret().Show();
}

void TZelEdit::InsertTextAtCaret(std::string_view text, bool redraw) {
  if (text.empty()) return;
  const int row = FCaret.Row;
  const std::string_view bytes = FLines[row];
  const std::string head(bytes.substr(0, static_cast<std::size_t>(FCaret.Col)));
  const std::string tail(bytes.substr(static_cast<std::size_t>(FCaret.Col)));
  FHost.Caret().Hide();
  DrawUnderline(row, true);
  const std::string whole = head + std::string(text) + tail;
  std::vector<std::string> pieces = SplitAfterLineEnds(whole);
  if (pieces.back().empty()) pieces.pop_back();  // a soft row's end, wrapped
  const int added = static_cast<int>(pieces.size());
  FLines.ReplaceRows(row, 1, pieces);
  // Behind the inserted text, counted through the rows just written: never
  // inside a line end the insertion completed, never behind a soft row's
  // or a line's end.
  FCaret = PositionAtOffset(FLines, row, static_cast<long long>(head.size() + text.size()));
  CollapseToCaret();
  AfterEdit(row, row + added - 1, added > 1, redraw, 0);
  FHost.Caret().Show();
}

void TZelEdit::TypeText(std::string_view text) {
  // Text ends at a NUL, as every text the window system hands over does: a
  // NUL inside a row could be read as an end mark.
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return;
  if (HasSelection()) DeleteSelection(true);
  std::string pad;
  const int row = FCaret.Row;
  const bool atLineEnd = RowEndsLine(FLines[row]) && FCaret.Col >= ContentLength(row);
  if (!FInsertMode && !atLineEnd) {
    // Gather the rest of the logical line into the caret row, so overwriting
    // runs on across soft rows.
    std::string gathered(FLines[row]);
    int last = row;
    while (!RowEndsLine(FLines[last]) && last + 1 < FLines.Count()) gathered += FLines[++last];
    const int gatheredRows = last - row + 1;
    const int contentLength = static_cast<int>(gathered.size()) - (RowEndsLine(gathered) ? 2 : 0);
    const int remaining = contentLength - FCaret.Col;
    const int n = static_cast<int>(text.size());
    const bool splitsCharacter = FCaret.Col + n <= contentLength &&
                                 ByteTypeAt(gathered, FCaret.Col + n, SingleByteMode()) == btLead;
    const int k = std::max(0, std::min(remaining, splitsCharacter ? n + 1 : n));
    if (splitsCharacter) pad.push_back(' ');
    RecordUndo(ukOverwritten,
               gathered.substr(static_cast<std::size_t>(FCaret.Col), static_cast<std::size_t>(k)),
               FCaret.Row, FCaret.Col);
    gathered.erase(static_cast<std::size_t>(FCaret.Col), static_cast<std::size_t>(k));
    FLines.ReplaceRows(row, gatheredRows, std::vector<std::string>{gathered});
  }
  const std::string inserted = std::string(text) + pad;
  RecordUndo(ukInserted, inserted, FCaret.Row, FCaret.Col);
  const int caretRow = FCaret.Row;
  FHost.Caret().Hide();
  if (ContainsLineEnd(inserted) || WordWrap()) {
    if (!pad.empty()) {
      // The pad goes in first, so the caret ends in front of it.
      std::string bytes(FLines[caretRow]);
      bytes.insert(static_cast<std::size_t>(FCaret.Col), pad);
      FLines.Put(caretRow, bytes);
    }
    InsertTextAtCaret(text, true);
  } else {
    std::string bytes(FLines[caretRow]);
    bytes.insert(static_cast<std::size_t>(FCaret.Col), inserted);
    FLines.Put(caretRow, bytes);
    FCaret.Col += static_cast<int>(text.size());
    CollapseToCaret();
    AfterEdit(caretRow, caretRow, false, true, FCaretX);
    // Scroll left while the caret is left of the view; stop when a step
    // moved nothing.
    ScrollLeftToCaret();
    ScrollRight(1000);
  }
  CollapseToCaret();
  UpdateCaret();
  FHost.Caret().Show();
  if (OnChange) OnChange(*this);
  if (OnUserClientDraw) {
    OnUserClientDraw(*this, FTextLeft, ControlWidth() - FVScrollWidth, FCaret.Row, FCaret.Row);
  }
}

// Scrolls left one step at a time while the caret is left of the view; stops
// as soon as a step moved nothing.
void TZelEdit::ScrollLeftToCaret() {
  while (FCaretX < 0 && FScrollX > 0) {
    const int before = FScrollX;
    HScroll(SB_LINEUP, 0);
    if (FScrollX == before) break;
  }
}

// Scrolls right one step at a time while the caret is beyond the text area;
// stops as soon as a step moved nothing.
void TZelEdit::ScrollRight(int times) {
  for (int i = 0; i < times && FCaretX > FTextAreaWidth; ++i) {
    const int before = FScrollX;
    HScroll(SB_LINEDOWN, 0);
    if (FScrollX == before) break;
  }
}

void TZelEdit::InsertLineBreak() {
  if (HasSelection()) DeleteSelection(true);
  std::string indent = "\r\n";
  if (AutoIndent) {
    // Only spaces and tabs carry over: control bytes and the double-width
    // space do not.
    const std::string_view before =
        FLines[FCaret.Row].substr(0, static_cast<std::size_t>(FCaret.Col));
    for (char c : before) {
      if (c != ' ' && c != '\t') break;
      indent.push_back(c);
    }
  }
  RecordUndo(ukInserted, indent, FCaret.Row, FCaret.Col);
  const int previousRow = FCaret.Row;
  InsertTextAtCaret(indent, false);
  FHost.Caret().Hide();
  const bool gutterMoved = UpdateVScrollBar(true);
  if (FCaret.Row - FTopRow + FScrollMarginRows > FVisibleRows) {
    ScrollRows(SB_LINEDOWN, 0, TScrollCaret::Stays);
  }
  if (!MoveCaretTo(-1, 0, 0, true, true)) {
    if (gutterMoved) {
      PaintView();
    } else {
      RepaintRows(3, previousRow, 0);
    }
  }
  UpdateCaret();
  FHost.Caret().Show();
  if (OnChange) OnChange(*this);
}

void TZelEdit::InsertTab() {
  if (CaretScrollFix) BringCaretIntoView();
  if (HasSelection()) DeleteSelection(true);
  RecordUndo(ukInserted, "\t", FCaret.Row, FCaret.Col);
  InsertTextAtCaret("\t", true);
  if (OnChange) OnChange(*this);
}

// Deletes the character (or line end) at the caret, recording `kind`.
void TZelEdit::DeleteCharAt(TUndoKind kind) {
  const int row = FCaret.Row;
  const std::string_view bytes = FLines[row];
  const int col = FCaret.Col;
  if (col >= static_cast<int>(bytes.size())) return;
  std::string updated(bytes);
  if (IsLineBreakAt(row, col)) {
    // The row's terminator: the next row joins this one.
    const std::string terminator(bytes.substr(static_cast<std::size_t>(col)));
    RecordUndo(kind, terminator, row, col);
    updated.erase(static_cast<std::size_t>(col));
    if (WordWrap()) {
      StoreRow(row, updated);
      AfterEdit(row, row, true, true, 0);
    } else {
      updated += FLines[row + 1];
      FLines.Delete(row + 1);
      StoreRow(row, updated);
      AfterEdit(row, row, true, true, 0);
    }
    return;
  }
  if (col >= ContentLength(row)) return;  // the end-of-text mark
  // A lead byte just before the line end has no trail: the terminator's
  // first byte never counts as one.
  const bool twoBytes =
      col + 2 <= ContentLength(row) && ByteTypeAt(bytes, col + 2, SingleByteMode()) == btTrail;
  const int n = twoBytes ? 2 : 1;
  RecordUndo(kind, bytes.substr(static_cast<std::size_t>(col), static_cast<std::size_t>(n)), row,
             col);
  updated.erase(static_cast<std::size_t>(col), static_cast<std::size_t>(n));
  StoreRow(row, updated);
  if (FCaret.Row >= FLines.Count()) FCaret = {FLines.Count() - 1, 0};
  AfterEdit(FCaret.Row, FCaret.Row, updated.empty(), true, FCaretX);
}

void TZelEdit::DeleteCharRight() {
  if (CaretScrollFix) BringCaretIntoView();
  if (HasSelection()) {
    DeleteSelection(true);
    if (OnChange) OnChange(*this);
    return;
  }
  if (!IsLineBreakAt(FCaret.Row, FCaret.Col) && FCaret.Col >= ContentLength(FCaret.Row)) {
    return;  // at the end-of-text mark, or past a soft row's end
  }
  FHost.Caret().Hide();
  DeleteCharAt(ukDeletedAhead);
  CollapseToCaret();
  UpdateCaret();
  FHost.Caret().Show();
  if (OnChange) OnChange(*this);
}

void TZelEdit::DeleteCharLeft() {
  if (CaretScrollFix) BringCaretIntoView();
  if (HasSelection()) {
    DeleteSelection(true);
    if (OnChange) OnChange(*this);
    return;
  }
  if (FCaret.Row == 0 && FCaret.Col == 0) return;
  FHost.Caret().Hide();
  MoveLeftOneCharacter();
  DeleteCharAt(ukBackspaced);
  CollapseToCaret();
  UpdateCaret();
  FHost.Caret().Show();
  if (OnChange) OnChange(*this);
}

void TZelEdit::DeleteWordRight() {
  if (CaretScrollFix) BringCaretIntoView();
  if (FSelecting) {
    DeleteSelection(true);
    return;
  }
  if (FAllSelected) ClearSelection();
  const std::string_view bytes = FLines[FCaret.Row];
  if (bytes.substr(static_cast<std::size_t>(FCaret.Col), 2) == kEofMark) return;
  const char c = FCaret.Col < static_cast<int>(bytes.size())
                     ? bytes[static_cast<std::size_t>(FCaret.Col)]
                     : '\0';
  if (!IsLineBreakAt(FCaret.Row, FCaret.Col) && c != '\t' && c != '\0' &&
      FCaret.Col < ContentLength(FCaret.Row)) {
    const int end = ScanWordForward(bytes, FCaret.Col, SingleByteMode());
    FAnchor = FCaret;
    FSelEndRow = FCaret.Row;
    FSelEndCol = std::min(end, ContentLength(FCaret.Row));
    FSelecting = true;
    DeleteSelection(true);
    if (OnChange) OnChange(*this);
    return;
  }
  DeleteCharRight();
}

void TZelEdit::DeleteWordLeft() {
  if (CaretScrollFix) BringCaretIntoView();
  if (FCaret.Row == 0 && FCaret.Col == 0) return;
  if (FSelecting) {
    DeleteSelection(true);
    return;
  }
  if (FAllSelected) ClearSelection();
  const std::string_view bytes = FLines[FCaret.Row];
  if (FCaret.Col > 0 && bytes[static_cast<std::size_t>(FCaret.Col - 1)] != '\t') {
    const int start = ScanWordBackward(bytes, FCaret.Col, SingleByteMode());
    FAnchor = FCaret;
    FSelEndRow = FCaret.Row;
    FSelEndCol = start;
    FSelecting = true;
    DeleteSelection(true);
    if (OnChange) OnChange(*this);
    return;
  }
  DeleteCharLeft();
  FSelecting = false;
}

}  // namespace notavo
