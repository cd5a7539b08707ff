#include "editor/layout/wrap_layout.h"

#include <algorithm>
#include <exception>

#include "textstore/zel_strings.h"

namespace notavo {

void TWrapLayout::SetWordWrap(bool on, TRowPos& caret, TRowPos& anchor) {
  if (on != wordWrap_) ApplyWordWrap(on, true, caret, anchor);
}

void TWrapLayout::SetColumn(int column, TRowPos& caret, TRowPos& anchor) {
  if (column == params_.Column) return;
  params_.Column = std::max(TWrapParams::kMinColumn, column);
  if (wordWrap_) {
    ApplyWordWrap(false, false, caret, anchor);
    ApplyWordWrap(true, true, caret, anchor);
  }
}

void TWrapLayout::SetCutRules(int column, int tabCount, bool autoWrap, bool singleByteMode) {
  params_.Column = column;
  params_.TabCount = tabCount;
  params_.AutoWrap = autoWrap;
  params_.SingleByteMode = singleByteMode;
}

void TWrapLayout::SetTabCount(int tabCount) {
  params_.TabCount = std::clamp(tabCount, TWrapParams::kMinTabCount, TWrapParams::kMaxTabCount);
}

void TWrapLayout::SetTextArea(int textAreaWidth, int charWidth, const TTextMeasurer* measurer) {
  params_.TextAreaWidth = textAreaWidth;
  params_.CharWidth = charWidth;
  params_.Measurer = measurer;
}

void TWrapLayout::ApplyWordWrap(bool on, bool redraw, TRowPos& caret, TRowPos& anchor) {
  ++rebuilds_;
  try {
    hooks_.ForgetFindHit();
    RebuildRows(lines_, index_, on, params_, caret, anchor);
    wordWrap_ = on;
    hooks_.AfterRebuild(redraw);
  } catch (const std::exception&) {
    hooks_.ReportFailure(kRebuildFailure);
  }
}

void TWrapLayout::Relayout(TRowPos& caret, TRowPos& anchor, bool redraw) {
  if (!wordWrap_) return;
  ApplyWordWrap(false, false, caret, anchor);
  ApplyWordWrap(true, redraw, caret, anchor);
}

}  // namespace notavo
