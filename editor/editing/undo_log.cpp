#include "editor/editing/undo_log.h"

#include <utility>

namespace notavo {

bool TUndoLog::Record(TUndoStep step, long long budget) {
  const auto n = static_cast<long long>(step.Text.size());
  while (undoSize_ + n > budget && !undo_.empty()) {
    // The state after the dropped step is now the oldest one reachable.
    baseState_ = undo_.back().StateId;
    undoSize_ -= static_cast<long long>(undo_.back().Text.size());
    undo_.pop_back();
    trimmed_ = true;
  }
  redo_.clear();
  if (n > budget) {
    trimmed_ = true;
    baseState_ = NewState();
    return false;
  }
  step.StateId = NewState();
  undoSize_ += n;
  undo_.push_front(std::move(step));
  return true;
}

void TUndoLog::LoseHistory() {
  ClearUndo();
  redo_.clear();
  trimmed_ = true;
  baseState_ = NewState();
}

void TUndoLog::Reset() {
  ClearUndo();
  redo_.clear();
  trimmed_ = false;
  baseState_ = savedState_ = NewState();
}

void TUndoLog::ClearUndo() {
  undo_.clear();
  undoSize_ = 0;
}

void TUndoLog::TransferFromUndo(TUndoKind newKind) {
  TUndoStep step = std::move(undo_.front());
  undo_.pop_front();
  undoSize_ -= static_cast<long long>(step.Text.size());
  step.Kind = newKind;
  redo_.push_front(std::move(step));
}

void TUndoLog::TransferFromRedo(TUndoKind newKind) {
  TUndoStep step = std::move(redo_.front());
  redo_.pop_front();
  undoSize_ += static_cast<long long>(step.Text.size());
  step.Kind = newKind;
  undo_.push_front(std::move(step));
}

}  // namespace notavo
