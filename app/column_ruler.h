// The column ruler in the editor's top margin (11 pixels): a tick for every
// column, a longer one and the number for every tenth, a base line, and the
// caret's column marked by a thick line drawn in XOR, so that drawing it
// again at the same place removes it. Drawn through the editor's surface.
#pragma once

#include "editor/zel_edit.h"

namespace notavo {

class TColumnRuler {
 public:
  // From the editor's OnUserDraw: columns c1..c2 (1-based), nothing left of
  // x1; then the caret marker.
  void Draw(TSurface& surface, const TZelEdit& edit, int c1, int c2, int x1);
  // Moves the marker to the caret: the old one is removed first when
  // `eraseOld` (the strip was not repainted since it was drawn).
  void DrawCaret(TSurface& surface, const TZelEdit& edit, bool eraseOld);

 private:
  int FCaretX = 0;  // where the marker was last drawn
};

}  // namespace notavo
