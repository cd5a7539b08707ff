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

  // Replaces the bytes from `a` to `b` (a not after b; b may lie inside or
  // behind a line end, which then goes too and the next row joins) by
  // `text`. Rows are cut after every CR LF of the result. The caret goes
  // behind the text, or stays at `a`.
  TEditReport Replace(TRowPos a, TRowPos b, std::string_view text, bool caretBehind);
  TEditReport Delete(TRowPos a, TRowPos b) { return Replace(a, b, {}, false); }
  TEditReport Insert(TRowPos at, std::string_view text) { return Replace(at, at, text, true); }

 private:
  TEditReport Finish(int first, int last, bool rowsMoved, TRowPos caret);

  TZelStrings& lines_;
  const TWrapParams* wrap_;
};

}  // namespace notavo
