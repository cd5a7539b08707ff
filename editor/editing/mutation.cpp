// Every change of the text made by a user action: deleting the selection,
// inserting at the caret, typing (insert and overwrite), line breaks with
// auto-indent, tabs, and deleting characters and words. Each records its
// undo steps, changes the rows through TTextOps (which reports what
// changed), and hands the report to ShowEdit, which repaints once.
#include <algorithm>

#include "editor/caret/position_rule.h"
#include "editor/editing/char_class.h"
#include "editor/editing/text_ops.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

using namespace win;

TTextOps TZelEdit::TextOps() { return TTextOps(FLines, WordWrap() ? &FWrap.Params() : nullptr); }

void TZelEdit::CollapseToCaret() {
  FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  FDesiredCol = FCaret.Col;
}

TRowPos TZelEdit::SelectionStart() const { return Ordered(FAnchor, SelEnd()).first; }

bool TZelEdit::IsLineBreakAt(int row, int col) const {
  // Only a row's own terminator ends a line; a CR inside the row is a byte.
  return RowEndsLine(FLines[row]) && col == ContentLength(row) && row + 1 < FLines.Count();
}

int TZelEdit::CaretXOf(TRowPos pos) const {
  return PrefixWidth(FLines[pos.Row], pos.Col) - FScrollX;
}

void TZelEdit::BeginEdits() { ++FEditBatchDepth; }

void TZelEdit::EndEdits() {
  if (FEditBatchDepth > 0 && --FEditBatchDepth == 0 && FEditBatch.Changed()) {
    const TEditReport report = FEditBatch;
    FEditBatch = {};
    ShowEdit(report);
  }
}

// Turns what an edit changed into one repaint: the caret goes where the
// report says and into view; a scroll repaints everything, otherwise the
// changed rows (and everything below when rows moved) are painted again.
void TZelEdit::ShowEdit(const TEditReport& report) {
  FCaret = report.Caret;
  CollapseToCaret();
  if (FEditBatchDepth > 0) {
    FEditBatch.Add(report);  // the caret's x is worked out when it is shown
    return;
  }
  FCaretX = CaretXOf(FCaret);
  if (!report.Changed()) {
    UpdateCaret();
    return;
  }
  if (!MoveCaretTo(-1, 0, 0, true, true)) {  // scrolled: all repainted
    if (UpdateVScrollBar(true)) {
      PaintView();
    } else if (report.RowsMoved) {
      RepaintRows(3, report.FirstRow, 0);
    } else {
      RepaintEditedRow(report.FirstRow);
      if (report.LastRow > report.FirstRow) RepaintRows(6, report.FirstRow + 1, report.LastRow);
    }
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

TEditReport TZelEdit::DeleteSelection(bool redraw) {
  // The ends in document order, kept off the inside of a terminator.
  auto [a, b] = Ordered(FAnchor, SelEnd());
  if (FAllSelected) {
    const int last = FLines.Count() - 1;
    a = {0, 0};
    b = {last, ContentLength(last)};
  }
  // A start behind a row's line end (a row selected from the gutter)
  // stands for the next row's start, not for the place before the CR LF.
  a.Row = std::clamp(a.Row, 0, FLines.Count() - 1);
  if (a.Row + 1 < FLines.Count() && a.Col >= static_cast<int>(FLines[a.Row].size())) {
    a = {a.Row + 1, 0};
  }
  a = ClampPosition(FLines, a);
  // An end inside a line end takes part of it; what is left of the row
  // then joins the next row below, so no byte is lost.
  b.Row = std::clamp(b.Row, 0, FLines.Count() - 1);
  b.Col = std::clamp(b.Col, 0, static_cast<int>(FLines[b.Row].size()));
  if (b.Row + 1 == FLines.Count()) b.Col = std::min(b.Col, ContentLength(b.Row));
  FAnchor = a;
  FSelEndRow = b.Row;
  FSelEndCol = b.Col;
  FSelecting = true;
  FAllSelected = false;
  const std::string text = GetSelText();
  FSelecting = false;
  RecordUndo(ukDeleted, text, a.Row, a.Col);
  return ApplyEdit(TextOps().Delete(a, b), redraw);
}

TEditReport TZelEdit::InsertTextAtCaret(std::string_view text, bool redraw) {
  if (text.empty()) return {-1, -1, false, FCaret};
  return ApplyEdit(TextOps().Insert(FCaret, text), redraw);
}

// The caret goes where the edit put it; with redraw the report is shown now,
// otherwise the caller shows it.
TEditReport TZelEdit::ApplyEdit(const TEditReport& report, bool redraw) {
  FCaretHost.Hide();
  DrawUnderline(FCaret.Row, true);
  if (redraw) {
    ShowEdit(report);
  } else {
    FCaret = report.Caret;
    CollapseToCaret();
    FCaretX = CaretXOf(FCaret);
  }
  FCaretHost.Show();
  return report;
}

// The position `bytes` bytes before `pos`, walking back over rows as stored.
static TRowPos BytesBefore(const TZelStrings& lines, TRowPos pos, int bytes) {
  while (bytes > 0) {
    if (pos.Col >= bytes) return {pos.Row, pos.Col - bytes};
    bytes -= pos.Col;
    if (pos.Row == 0) return {0, 0};
    --pos.Row;
    pos.Col = static_cast<int>(lines[pos.Row].size());
  }
  return pos;
}

void TZelEdit::TypeText(std::string_view text) {
  // Text ends at a NUL, as every text the window system hands over does: a
  // NUL inside a row could be read as an end mark.
  text = text.substr(0, text.find('\0'));
  if (text.empty()) return;
  BeginEdits();
  if (HasSelection()) DeleteSelection(true);
  std::string pad;
  const TRowPos at = FCaret;
  TRowPos overwrittenEnd = at;
  const bool atLineEnd = RowEndsLine(FLines[at.Row]) && at.Col >= ContentLength(at.Row);
  if (!FInsertMode && !atLineEnd) {
    // The overwritten bytes run on across soft rows to the line's end.
    int lastRow = at.Row;
    const std::string line = JoinLogicalLine(FLines, at.Row, lastRow);
    const int contentLength = notavo::ContentLength(line);
    const int remaining = contentLength - at.Col;
    const int n = static_cast<int>(text.size());
    // A character cut in two by the last overwritten byte goes whole, and a
    // space keeps the columns behind it in place.
    const bool splitsCharacter =
        at.Col + n <= contentLength && ByteTypeAt(line, at.Col + n, SingleByteMode()) == btLead;
    const int k = std::max(0, std::min(remaining, splitsCharacter ? n + 1 : n));
    if (splitsCharacter) pad.push_back(' ');
    RecordUndo(ukOverwritten, std::string_view(line).substr(static_cast<std::size_t>(at.Col),
                                                            static_cast<std::size_t>(k)),
               at.Row, at.Col);
    overwrittenEnd = PositionAtOffset(FLines, at.Row, at.Col + k);
  }
  const std::string inserted = std::string(text) + pad;
  RecordUndo(ukInserted, inserted, at.Row, at.Col);
  FCaretHost.Hide();
  TEditReport report = TextOps().Replace(at, overwrittenEnd, inserted, true);
  // The caret stays in front of the pad.
  if (!pad.empty()) report.Caret = NormalizePosition(FLines, BytesBefore(FLines, report.Caret, 1),
                                                     SingleByteMode());
  ShowEdit(report);
  EndEdits();
  if (!WordWrap()) {
    // Scroll a step at a time while the caret is outside the text area;
    // each loop stops when a step moved nothing.
    ScrollLeftToCaret();
    ScrollRight(1000);
  }
  UpdateCaret();
  FCaretHost.Show();
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
  FCaretHost.Hide();
  const bool gutterMoved = UpdateVScrollBar(true);
  // Near the bottom edge the view moves a row first, the caret with the text.
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
  FCaretHost.Show();
  if (OnChange) OnChange(*this);
}

void TZelEdit::InsertTab() {
  if (CaretScrollFix) BringCaretIntoView();
  BeginEdits();
  if (HasSelection()) DeleteSelection(true);
  RecordUndo(ukInserted, "\t", FCaret.Row, FCaret.Col);
  InsertTextAtCaret("\t", true);
  EndEdits();
  if (OnChange) OnChange(*this);
}

// Deletes the character (or line end) at the caret, recording `kind`.
void TZelEdit::DeleteCharAt(TUndoKind kind) {
  const TRowPos at = FCaret;
  const std::string_view bytes = FLines[at.Row];
  if (at.Col >= static_cast<int>(bytes.size())) return;
  int n = 0;
  if (IsLineBreakAt(at.Row, at.Col)) {
    n = static_cast<int>(bytes.size()) - at.Col;  // the row's terminator
  } else if (at.Col < ContentLength(at.Row)) {
    // A lead byte just before the line end has no trail: the terminator's
    // first byte never counts as one.
    const bool twoBytes = at.Col + 2 <= ContentLength(at.Row) &&
                          ByteTypeAt(bytes, at.Col + 2, SingleByteMode()) == btTrail;
    n = twoBytes ? 2 : 1;
  } else {
    return;  // the end-of-text mark
  }
  RecordUndo(kind, bytes.substr(static_cast<std::size_t>(at.Col), static_cast<std::size_t>(n)),
             at.Row, at.Col);
  ShowEdit(TextOps().Delete(at, {at.Row, at.Col + n}));
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
  FCaretHost.Hide();
  DeleteCharAt(ukDeletedAhead);
  UpdateCaret();
  FCaretHost.Show();
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
  FCaretHost.Hide();
  MoveLeftOneCharacter();
  DeleteCharAt(ukBackspaced);
  UpdateCaret();
  FCaretHost.Show();
  if (OnChange) OnChange(*this);
}

// Selects from the caret to `end` on the caret row and deletes that.
void TZelEdit::DeleteToColumn(int end) {
  FAnchor = FCaret;
  FSelEndRow = FCaret.Row;
  FSelEndCol = end;
  FSelecting = true;
  DeleteSelection(true);
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
  if (!IsLineBreakAt(FCaret.Row, FCaret.Col) && c != '\t' && c != '\0' && c != '\r' &&
      FCaret.Col < ContentLength(FCaret.Row)) {
    const int end = ScanWordForward(bytes, FCaret.Col, SingleByteMode());
    DeleteToColumn(std::min(end, ContentLength(FCaret.Row)));
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
    DeleteToColumn(ScanWordBackward(bytes, FCaret.Col, SingleByteMode()));
    return;
  }
  DeleteCharLeft();
  FSelecting = false;
}

}  // namespace notavo
