// Rebuilding the store as display rows or as logical lines, and re-cutting
// the edited lines in place after an edit. The view's part (scrolling the
// caret into view, repainting) belongs to the editor: these functions only
// change the store and the caret's coordinates and say what changed.
#pragma once

#include <string>
#include <vector>

#include "editor/layout/wrap_params.h"

namespace notavo {

class TZelStrings;
class TLineIndex;

struct TRowPos {
  int Row = 0;
  int Col = 0;
  friend bool operator==(const TRowPos&, const TRowPos&) = default;
};

// Every entry of the store (each a logical line) cut into rows.
std::vector<std::string> WrapAll(const TZelStrings& lines, const TWrapParams& params);

// The rows of the logical line starting at `row`, up to and including the
// first row that ends a line (or the last row); `lastRow` names that row.
std::string JoinLogicalLine(const TZelStrings& lines, int row, int& lastRow);

// Rebuilds the whole store as wrapped rows (`on`) or as logical lines,
// converting caret and anchor so they stay on the same text. The new layout
// is complete before the store changes; on failure the store is as it was.
void RebuildRows(TZelStrings& lines, TLineIndex& index, bool on, const TWrapParams& params,
                 TRowPos& caret, TRowPos& anchor);

struct TRewrapResult {
  int Start = 0;   // first row re-cut (the soft row before the edit, if any)
  int OldEnd = 0;  // one past the last old row of the re-cut range
  int NewEnd = 0;  // one past the last new row
  TRowPos Caret;   // the caret on the new rows
  bool RowCountChanged = false;
};

// After an edit: re-cuts the logical lines from `start` (or the soft row
// before it) through the line holding `last`, in place. `caret` is the
// caret before, in the old rows.
TRewrapResult RewrapRows(TZelStrings& lines, const TWrapParams& params, int start, int last,
                         TRowPos caret);

}  // namespace notavo
