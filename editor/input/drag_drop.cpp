// Dragging the selected text: the drag starts on a press inside the
// selection, the caret follows the pointer over the control as the drop
// point, and on the release the text moves there (or is copied, with Ctrl)
// as two edits painted once: the selection's removal and the insertion,
// one undo step each.
#include <algorithm>

#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"

namespace notavo {

using namespace win;

namespace {
TCursorKind DragPointer(int dragCursor) {
  return dragCursor == 2 ? TCursorKind::DragCopy : TCursorKind::DragMove;
}
}  // namespace

void TZelEdit::BeginDrag() {
  if (FTextDragging || !FMouseSelecting) return;  // only while the left button is held
  if (OnStartDrag) OnStartDrag(*this);
  StartTextDrag();
}

void TZelEdit::StartTextDrag() {
  FTextDragging = true;
  FSavedDragCursor = DragCursor();
  FMouseSelecting = true;
  FOptions.CaretScrollFix = false;
  FDragSelEndCol = FSelPaintedCol;
  FDragSelEndRow = FSelPaintedRow;
  FHost.Drag().BeginDrag();
  // The drag begins over the control, where it was pressed.
  FDragOverControl = true;
  FHost.Drag().SetCursor(DragPointer(DragCursor()));
  if (OnDragOver) OnDragOver(*this, FLastMouseX, FLastMouseY, dsDragEnter);
}

// A move of the pointer during the drag: over the control the caret marks
// the drop point; elsewhere nothing may drop and the drop point stays.
void TZelEdit::DragOverAt(int x, int y) {
  const bool over = FHost.Drag().OverControl({x, y});
  if (over) {
    const TDragState state = FDragOverControl ? dsDragMove : dsDragEnter;
    FDragOverControl = true;
    if (OnDragOver) OnDragOver(*this, x, y, state);
    if (state == dsDragMove) MouseSelectMove(x, y);
    FHost.Drag().SetCursor(DragPointer(DragCursor()));
  } else {
    if (FDragOverControl && OnDragOver) OnDragOver(*this, x, y, dsDragLeave);
    FDragOverControl = false;
    FHost.Drag().SetCursor(TCursorKind::NoDrop);
  }
}

// The release, wherever it happens: the text goes to the last drop point
// shown over the control.
void TZelEdit::FinishTextDrag(int x, int y) {
  const bool over = FHost.Drag().OverControl({x, y});
  if (over && OnDragDrop) OnDragDrop(*this, x, y);
  if (OnEndDrag) OnEndDrag(*this, over, x, y);
  DropText(GetSelText());
  EndTextDrag();
}

void TZelEdit::EndTextDrag() {
  FMouseSelecting = false;
  FTextDragging = false;
  FDragOverControl = false;
  FAutoScrollDir = 0;
  FLineScrollRun = 0;
  FOptions.CaretScrollFix = FSavedCaretScrollFix;
  if (DragCursor() != FSavedDragCursor) SetDragPointer(FSavedDragCursor);
  FHost.Drag().EndDrag();
}

// Ctrl pressed during the drag shows the copy pointer, released the one
// the drag began with.
void TZelEdit::DragKey(bool ctrlDown) {
  if (!FTextDragging) return;
  if (ctrlDown && DragCursor() != 2) {
    SetDragPointer(2);
  } else if (!ctrlDown && DragCursor() != FSavedDragCursor) {
    SetDragPointer(FSavedDragCursor);
  }
}

void TZelEdit::SetDragPointer(int dragCursor) {
  FOptions.DragCursor = dragCursor;
  FHost.Drag().SetCursor(DragPointer(dragCursor));
}

long long TZelEdit::OffsetOf(TRowPos pos) const {
  return FWrap.Index().BytesBeforeRow(pos.Row) + pos.Col;
}

// The row holding the byte `offset` bytes into the text (a row start is
// that row's, not the end of the row before), exactly there. The search
// gallops out from `near`, so only rows around it are counted.
TRowPos TZelEdit::RowPosAtOffset(long long offset, int near) const {
  const TLineIndex& index = FWrap.Index();
  const int last = FLines.Count() - 1;
  auto startsBy = [&](int row) { return index.BytesBeforeRow(row) <= offset; };
  int lo = std::clamp(near, 0, last), hi = lo;  // startsBy(lo), and the answer <= hi
  for (int step = 1; !startsBy(lo); step *= 2) {
    hi = lo - 1;
    lo = std::max(0, lo - step);
  }
  for (int step = 1; hi < last && startsBy(hi + 1); step *= 2) {
    lo = hi + 1;
    hi = std::min(last, hi + step);
  }
  while (lo < hi) {
    const int mid = lo + (hi - lo + 1) / 2;
    if (startsBy(mid)) {
      lo = mid;
    } else {
      hi = mid - 1;
    }
  }
  const long long col =
      std::clamp(offset - index.BytesBeforeRow(lo), 0LL, static_cast<long long>(FLines[lo].size()));
  return {lo, static_cast<int>(col)};
}

void TZelEdit::DropText(std::string_view text) {
  FMouseSelecting = false;
  const TRowPos drop = FCaret;
  const bool copy = FKeys.IsDown(VK_CONTROL);
  // An empty selection has nothing to move.
  bool inside = !HasSelection() || text.empty() || IsCaretInSelection();
  const TSelectionRange sel = GetSelection();
  const long long s = OffsetOf({sel.StartRow, sel.StartCol});
  const long long e = OffsetOf({sel.EndRow, sel.EndCol});
  long long d = OffsetOf(drop);
  // Moved onto either of its own ends the text would stay where it is; the
  // removal could even join a CR before it with an LF behind it, and the
  // insertion point would then fall inside that line end.
  if (!copy && d >= s && d <= e) inside = true;
  if (inside || ReadOnly) {
    ClearSelection();
    FAnchor = FCaret;
    FSelEndRow = FSelPaintedRow = FCaret.Row;
    FSelEndCol = FSelPaintedCol = FCaret.Col;
    FCaretHost.Show();
    if (OnChange) OnChange(*this);
    return;
  }
  // Back where the selection ended (kept inside the rows, whatever the
  // drag's time did to them).
  FCaret = ClampPosition(FLines, {FDragSelEndRow, FDragSelEndCol});
  FCaretHost.Hide();
  BeginEdits();
  if (copy) {
    ClearSelection();
  } else {
    DeleteSelection(true);
    if (d > e) d -= e - s;
  }
  // The insertion at the exact byte: positions are worked out as offsets
  // in the flat text, which the removal shifts by its length only.
  FCaret = RowPosAtOffset(d, drop.Row);
  RecordUndo(ukInserted, text, FCaret.Row, FCaret.Col);
  InsertTextAtCaret(text, true);
  EndEdits();
  FDesiredCol = FCaret.Col;
  FAnchor = FCaret;
  FSelEndRow = FSelPaintedRow = FCaret.Row;
  FSelEndCol = FSelPaintedCol = FCaret.Col;
  UpdateCaret();
  FCaretHost.Show();
  if (OnChange) OnChange(*this);
}

}  // namespace notavo
