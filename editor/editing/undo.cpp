// Recording edits and replaying them backwards (undo) and forwards (redo).
// While wrapped, steps keep logical positions so they survive re-wrapping.
#include <algorithm>
#include <exception>

#include "editor/editing/text_ops.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

void TZelEdit::SetModifiedState(bool modified) {
  if (modified == FModified) return;
  FModified = modified;
  if (OnChangeModify) OnChangeModify(*this, modified);
}

bool TZelEdit::RecordUndo(TUndoKind kind, std::string_view text, int row, int col) {
  if (text.empty()) return true;
  if (col < 0) {
    const TRowPos start = SelectionStart();
    row = start.Row;
    col = start.Col;
  }
  if (WordWrap()) FWrap.RowToLogical(col, row);
  return RecordUndoStep(kind, text, row, col);
}

bool TZelEdit::RecordUndoStep(TUndoKind kind, std::string_view text, int line, int col) {
  if (text.empty()) return true;
  SetModifiedState(true);
  if (!UndoRec || UndoBuf <= 0) {
    // The text changes with no step to undo it: nothing logged fits any more.
    FUndo.LoseHistory();
  } else {
    TUndoStep step;
    step.Kind = kind;
    step.Row = line;
    step.Col = col;
    try {
      step.Text.assign(text);
    } catch (const std::exception&) {
      ShowError("Error:OC001");
      FUndo.LoseHistory();
      return true;
    }
    if (!FUndo.Record(std::move(step), UndoBuf)) {
      if (FRedoReported) {
        FRedoReported = false;
        if (OnChangeRedoMode) OnChangeRedoMode(*this, false);
      }
      return false;
    }
  }
  if (FRedoReported) {
    FRedoReported = false;
    if (OnChangeRedoMode) OnChangeRedoMode(*this, false);
  }
  return true;
}

void TZelEdit::Undo() {
  if (FUndo.Undo().empty() || UndoBuf <= 0) return;
  ReplayStep(true);
  if (!FRedoReported) {
    FRedoReported = true;
    if (OnChangeRedoMode) OnChangeRedoMode(*this, true);
  }
}

void TZelEdit::Redo() {
  if (FUndo.Redo().empty()) return;
  ReplayStep(false);
  if (FUndo.Redo().empty() && FRedoReported) {
    FRedoReported = false;
    if (OnChangeRedoMode) OnChangeRedoMode(*this, false);
  }
}

void TZelEdit::ReplayStep(bool undoDirection) {
  std::deque<TUndoStep>& source = undoDirection ? FUndo.Undo() : FUndo.Redo();
  const TUndoStep step = source.front();
  auto transfer = [&](TUndoKind kind) {
    if (undoDirection) {
      FUndo.TransferFromUndo(kind);
    } else {
      FUndo.TransferFromRedo(kind);
    }
  };
  auto toRows = [&](int row, int col) {
    if (WordWrap()) FWrap.LogicalToRow(col, row);
    row = std::clamp(row, 0, FLines.Count() - 1);
    return TRowPos{row, std::clamp(col, 0, static_cast<int>(FLines[row].size()))};
  };
  if (HasSelection()) ClearSelection();
  DrawUnderline(FCaret.Row, true);
  FCaretHost.Hide();
  const TRowPos at = toRows(step.Row, step.Col);
  TTextOps ops = TextOps();
  TEditReport report{-1, -1, false, FCaret};

  if (step.Kind == ukInserted) {
    // The inserted bytes: walk their length forward from the start.
    int row = at.Row, remaining = static_cast<int>(step.Text.size());
    int col = at.Col;
    while (remaining > 0) {
      const int available = static_cast<int>(FLines[row].size()) - col;
      if (remaining <= available || row + 1 >= FLines.Count()) {
        col += std::min(remaining, available);
        break;
      }
      remaining -= available;
      ++row;
      col = 0;
    }
    transfer(ukDeleted);
    if (!source.empty() && TUndoLog::ReplayedTogether(step, source.front())) {
      // The selection the insertion replaced comes back with the caret
      // behind it; overwritten bytes come back as they were, caret in front.
      // One replacement, so no state between the two is ever laid out.
      const TUndoStep& paired = source.front();
      report = ops.Replace(at, {row, col}, paired.Text, paired.Kind == ukDeleted);
      transfer(ukInserted);
    } else {
      report = ops.Delete(at, {row, col});
    }
  } else if (step.Kind == ukDeleted || step.Kind == ukBackspaced) {
    report = ops.Insert(at, step.Text);
    transfer(ukInserted);
  } else if (step.Kind == ukDeletedAhead) {
    report = ops.Insert(at, step.Text);
    report.Caret = toRows(step.Row, step.Col);  // in front of the restored bytes
    transfer(ukInserted);
  } else {
    transfer(ukInserted);  // an overwrite step on its own: nothing to replay
  }
  ShowEdit(report);
  FCaretHost.Show();
  SetModifiedState(!FUndo.AtSavePoint());
  if (OnChange) OnChange(*this);
}

void TZelEdit::ResetUndo() {
  FUndo.Reset();
  FModified = false;
  if (OnChangeModify) OnChangeModify(*this, false);
  FRedoReported = false;
  if (OnChangeRedoMode) OnChangeRedoMode(*this, false);
}

void TZelEdit::SetSavePoint() {
  FUndo.SetSavePoint();
  FModified = false;
}

}  // namespace notavo
