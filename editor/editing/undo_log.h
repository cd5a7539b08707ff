// The undo and redo logs: steps of inserted or removed bytes at a position,
// newest first, the undo log bounded by a byte budget. Each state of the
// text has an id (the id of the step that led to it), so the modified flag
// is "the current state is not the saved one": undoing back past a save
// marks the text modified again, and lost history is never mistaken for
// the saved text.
#pragma once

#include <cstdint>
#include <deque>
#include <string>

namespace notavo {

enum TUndoKind : std::uint8_t {
  ukInserted = 0,      // text was inserted at the position
  ukDeleted = 1,       // text was deleted at the position (selection)
  ukBackspaced = 2,    // one character or line end deleted by Backspace
  ukDeletedAhead = 3,  // one character or line end deleted by Delete
  ukOverwritten = 5,   // bytes overwritten by typing
};

struct TUndoStep {
  TUndoKind Kind = ukInserted;
  int Col = 0;
  int Row = 0;
  std::string Text;
  std::uint64_t StateId = 0;  // the state this step leads to
};

class TUndoLog {
 public:
  // The one pairing rule: an insertion is replayed together with the step
  // recorded just before it at the same position when that step removed
  // text there — the selection the insertion replaced (typing or pasting
  // over a selection, a replacement, a drop) or the bytes typing overwrote.
  // Recording a removal and then an insertion at one position is all a
  // caller does to make them one undo step.
  static bool ReplayedTogether(const TUndoStep& insertion, const TUndoStep& previous) {
    return insertion.Kind == ukInserted && previous.Row == insertion.Row &&
           previous.Col == insertion.Col &&
           (previous.Kind == ukDeleted || previous.Kind == ukOverwritten);
  }

  // Adds a step, dropping the oldest while the budget is exceeded. Returns
  // false when the step alone is larger than the budget: then nothing is
  // kept and the history counts as lost.
  bool Record(TUndoStep step, long long budget);
  // The text changed with no step to undo it (recording off or refused):
  // both logs are emptied, since nothing in them fits the text any more.
  void LoseHistory();
  void Reset();  // no history; the current text is the saved one
  void SetSavePoint() { savedState_ = CurrentState(); }
  bool AtSavePoint() const { return CurrentState() == savedState_; }

  std::deque<TUndoStep>& Undo() { return undo_; }
  std::deque<TUndoStep>& Redo() { return redo_; }
  const std::deque<TUndoStep>& Undo() const { return undo_; }
  const std::deque<TUndoStep>& Redo() const { return redo_; }
  long long UndoSize() const { return undoSize_; }
  bool Trimmed() const { return trimmed_; }
  void ClearUndo();
  void ClearRedo() { redo_.clear(); }
  // Moves the front step of one log to the front of the other with a new
  // kind, keeping its bytes, position and state id.
  void TransferFromUndo(TUndoKind newKind);
  void TransferFromRedo(TUndoKind newKind);
  std::uint64_t CurrentState() const { return undo_.empty() ? baseState_ : undo_.front().StateId; }

 private:
  std::uint64_t NewState() { return ++lastState_; }

  std::deque<TUndoStep> undo_, redo_;
  long long undoSize_ = 0;
  bool trimmed_ = false;
  std::uint64_t lastState_ = 0;
  std::uint64_t baseState_ = 0;  // the state below the oldest undo step
  std::uint64_t savedState_ = 0;
};

}  // namespace notavo
