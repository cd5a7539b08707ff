// Recording edits and replaying them backwards (undo) and forwards (redo).
// While wrapped, steps keep logical positions so they survive re-wrapping.
#include <algorithm>
#include <exception>

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
  SetModifiedState(true);
  if (!UndoRec || UndoBuf <= 0) {
    // The text changes with no step to undo it: nothing logged fits any more.
    FUndo.LoseHistory();
  } else {
    if (col < 0) {
      const TRowPos start = SelectionStart();
      row = start.Row;
      col = start.Col;
    }
    if (WordWrap()) FWrap.RowToLogical(col, row);
    TUndoStep step;
    step.Kind = kind;
    step.Row = row;
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
  const TRowPos at = toRows(step.Row, step.Col);

  if (step.Kind == ukInserted) {
    // Select the inserted bytes: walk their length forward from the start.
    FAnchor = at;
    int row = at.Row, remaining = static_cast<int>(step.Text.size());
    int col = at.Col;
    while (remaining > 0) {
      const int available = static_cast<int>(FLines[row].size()) - col;
      if (remaining <= available || row + 1 >= FLines.Count()) {
        col += std::min(remaining, available);
        remaining = 0;
        break;
      }
      remaining -= available;
      ++row;
      col = 0;
    }
    if (row > at.Row && col == static_cast<int>(FLines[row].size()) && row + 1 < FLines.Count()) {
      ++row;
      col = 0;
    }
    FSelEndRow = row;
    FSelEndCol = col;
    FSelecting = true;
    FUndoing = true;
    DeleteSelection(false);
    transfer(ukDeleted);
    // Typing over a selection or over overwritten bytes undoes as one step.
    if (!source.empty() && source.front().Row == step.Row && source.front().Col == step.Col) {
      const TUndoStep paired = source.front();
      if (paired.Kind == ukDeleted) {
        FUndoing = true;
        FCaret = toRows(paired.Row, paired.Col);
        InsertTextAtCaret(paired.Text, false);
        transfer(ukInserted);
      } else if (paired.Kind == ukOverwritten) {
        FUndoing = true;
        FCaret = toRows(paired.Row, paired.Col);
        std::string bytes(FLines[FCaret.Row]);
        bytes.insert(static_cast<std::size_t>(FCaret.Col), paired.Text);
        FLines.Put(FCaret.Row, bytes);
        if (WordWrap()) {
          const TRewrapResult r =
              RewrapRows(FLines, FWrap.Params(), FCaret.Row, FCaret.Row, FCaret);
          FCaret = r.Caret;
        }
        transfer(ukInserted);
      }
    }
    if (!MoveCaretTo(FCaret.Col, FCaret.Row, 0, true, true)) {
      if (FUndoing) {
        if (UpdateVScrollBar(true)) {
          PaintView();
        } else {
          RepaintRows(3, std::min(at.Row, FCaret.Row), 0);
        }
      } else {
        UpdateHScrollBar(true);
      }
      UpdateCaret();
    }
    FUndoing = false;
    FHost.Caret().Show();
  } else if (step.Kind == ukDeleted || step.Kind == ukBackspaced) {
    FCaret = at;
    CollapseToCaret();
    InsertTextAtCaret(step.Text, true);
    transfer(ukInserted);
  } else if (step.Kind == ukDeletedAhead) {
    FCaret = at;
    CollapseToCaret();
    const std::string_view text = step.Text;
    std::string bytes(FLines[FCaret.Row]);
    const bool lineEnd = text.size() == 2 && (text[0] == '\r' || text[0] == '\0');
    if (lineEnd && !WordWrap()) {
      // The line end goes back: the row splits at the caret.
      const std::string tail = bytes.substr(static_cast<std::size_t>(FCaret.Col));
      bytes.resize(static_cast<std::size_t>(FCaret.Col));
      bytes += text;
      FLines.ReplaceRows(FCaret.Row, 1, std::vector<std::string>{bytes, tail});
      AfterEdit(FCaret.Row, FCaret.Row + 1, true, true, 0);
    } else {
      bytes.insert(static_cast<std::size_t>(FCaret.Col), text);
      if (lineEnd) {
        // Wrapped: split after the restored terminator, then re-cut.
        const std::string tail = bytes.substr(static_cast<std::size_t>(FCaret.Col) + 2);
        bytes.resize(static_cast<std::size_t>(FCaret.Col) + 2);
        std::vector<std::string> rows{bytes};
        if (!tail.empty()) rows.push_back(tail);
        FLines.ReplaceRows(FCaret.Row, 1, rows);
        AfterEdit(FCaret.Row, FCaret.Row + static_cast<int>(rows.size()) - 1, true, true, 0);
      } else {
        FLines.Put(FCaret.Row, bytes);
        AfterEdit(FCaret.Row, FCaret.Row, false, true, 0);
      }
    }
    // The caret stays in front of the restored bytes.
    FCaret = toRows(step.Row, step.Col);
    FCaretX = PrefixWidth(FLines[FCaret.Row], FCaret.Col) - FScrollX;
    CollapseToCaret();
    UpdateCaret();
    transfer(ukInserted);
  } else {
    transfer(ukInserted);  // an overwrite step on its own: nothing to replay
  }
  SetModifiedState(!FUndo.AtSavePoint());
  if (OnChange) OnChange(*this);
}

void TZelEdit::ResetUndo() {
  FUndoing = false;
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
