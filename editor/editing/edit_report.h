// What an edit changed, reported instead of painted: the editing layer
// changes rows and says which; the control repaints once per user action.
#pragma once

#include <algorithm>

#include "editor/layout/word_wrap.h"

namespace notavo {

struct TEditReport {
  int FirstRow = -1;       // first row whose bytes changed; -1: nothing changed
  int LastRow = -1;        // last changed row, counted in the rows after the edit
  bool RowsMoved = false;  // rows were added or removed, or line ends changed:
                           // everything from FirstRow down may look different
  TRowPos Caret;           // where the caret goes

  bool Changed() const { return FirstRow >= 0; }
  // One report for two edits made one after the other.
  void Add(const TEditReport& next) {
    if (!next.Changed()) {
      Caret = next.Caret;
      return;
    }
    if (!Changed()) {
      *this = next;
      return;
    }
    FirstRow = std::min(FirstRow, next.FirstRow);
    LastRow = std::max(LastRow, next.LastRow);
    RowsMoved = RowsMoved || next.RowsMoved;
    Caret = next.Caret;
  }
};

}  // namespace notavo
