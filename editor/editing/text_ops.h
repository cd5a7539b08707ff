// The text operations every edit is made of. They change the rows (and
// re-cut the edited logical lines while wrapped), and report what changed;
// they never record undo steps, paint, scroll or measure.
#pragma once

#include <string_view>

#include "editor/editing/edit_report.h"
#include "editor/layout/wrap_params.h"
#include "textstore/zel_strings.h"

namespace notavo {

// `wrap` is the wrap parameters while word wrap is on, else null.
class TTextOps {
 public:
  TTextOps(TZelStrings& lines, const TWrapParams* wrap) : lines_(lines), wrap_(wrap) {}

  // Removes the bytes from `a` to `b` (a before b; b may lie inside or
  // behind a line end, which then goes too and the next row joins). The
  // caret goes to `a`.
  TEditReport Delete(TRowPos a, TRowPos b);
  // Inserts `text` at `at`, cutting rows after each CR LF; the caret goes
  // behind the text.
  TEditReport Insert(TRowPos at, std::string_view text);
  // Inserts `bytes` into the row at `at` as they are (no row is cut after a
  // CR LF in them); the caret stays at `at`.
  TEditReport InsertInRow(TRowPos at, std::string_view bytes);

 private:
  // A row an edit put together that has no terminator of its own takes the
  // next row in; returns the last row replaced.
  int JoinUnterminated(std::string& row, int lastRow) const;
  TEditReport Finish(int first, int last, bool rowsMoved, TRowPos caret);

  TZelStrings& lines_;
  const TWrapParams* wrap_;
};

}  // namespace notavo
