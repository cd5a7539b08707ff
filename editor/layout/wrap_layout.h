// The word-wrap state of one editor: the wrap properties with their clamps,
// the switch between logical lines and wrapped rows, and the logical-line
// index. The view reacts through TWrapViewHooks, so the wrap logic does not
// change when the painting and scrolling code plugs in.
#pragma once

#include <string_view>

#include "editor/layout/line_index.h"
#include "editor/layout/word_wrap.h"
#include "editor/layout/wrap_params.h"

namespace notavo {

class TZelStrings;

class TWrapViewHooks {
 public:
  virtual ~TWrapViewHooks() = default;
  // The current find hit refers to old rows: forget it.
  virtual void ForgetFindHit() {}
  // The store was rebuilt and the caret moved: reset the horizontal scroll,
  // recompute the caret's pixel x and, with `redraw`, bring the caret into
  // view and repaint.
  virtual void AfterRebuild(bool /*redraw*/) {}
  // A failure the editor reports with a message box holding `code`.
  virtual void ReportFailure(std::string_view /*code*/) {}
};

class TWrapLayout {
 public:
  static constexpr std::string_view kRebuildFailure = "Error:OC004";

  TWrapLayout(TZelStrings& lines, TWrapViewHooks& hooks)
      : lines_(lines), hooks_(hooks), index_(lines) {}

  bool WordWrap() const { return wordWrap_; }
  const TWrapParams& Params() const { return params_; }
  const TLineIndex& Index() const { return index_; }
  TLineIndex& Index() { return index_; }

  // Construction: the defaults, set directly (the store holds one row).
  void InitDefaults(int column, int tabCount, bool wordWrap) {
    params_.Column = column;
    params_.TabCount = tabCount;
    wordWrap_ = wordWrap;
  }
  // The store was just filled with logical lines (a file was read).
  void StoreHoldsLogicalLines() { wordWrap_ = false; }

  // Rebuilds when the value differs.
  void SetWordWrap(bool on, TRowPos& caret, TRowPos& anchor);
  // At least 10; while wrapped, unwraps and wraps again with the new column.
  void SetColumn(int column, TRowPos& caret, TRowPos& anchor);
  // These take effect at the next rebuild.
  // All four rules at once, already in range (the editor's options clamp them).
  void SetCutRules(int column, int tabCount, bool autoWrap, bool singleByteMode);
  void SetTabCount(int tabCount);
  void SetAutoWrap(bool on) { params_.AutoWrap = on; }
  void SetSingleByteMode(bool on) { params_.SingleByteMode = on; }
  void SetTextArea(int textAreaWidth, int charWidth, const TTextMeasurer* measurer);

  // Rebuilds the whole store as rows (`on`) or logical lines, keeping caret
  // and anchor on their text. A failure is reported and leaves the store
  // and the positions as they were.
  void ApplyWordWrap(bool on, bool redraw, TRowPos& caret, TRowPos& anchor);
  // Unwrap and wrap again (font, window or column changes while wrapped).
  void Relayout(TRowPos& caret, TRowPos& anchor, bool redraw = true);
  // Whole-store rebuilds so far, tried or done: what a change of several
  // wrap properties at once is measured by.
  int Rebuilds() const { return rebuilds_; }

  // The logical-line conversions, through the index.
  void LogicalToRow(int& offset, int& line) const { notavo::LogicalToRow(lines_, index_, offset, line); }
  void RowToLogical(int& offset, int& row) const { notavo::RowToLogical(lines_, index_, offset, row); }

 private:
  TZelStrings& lines_;
  TWrapViewHooks& hooks_;
  TLineIndex index_;
  TWrapParams params_;
  bool wordWrap_ = false;
  int rebuilds_ = 0;
};

}  // namespace notavo
