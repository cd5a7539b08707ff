#include "editor/zel_edit_options.h"

#include <algorithm>

namespace notavo {

namespace {
constexpr TColor PlainRgb(TColor c) { return c & 0xFFFFFFu; }
}  // namespace

TZelEditOptions TZelEditOptions::Clamped() const {
  TZelEditOptions o = *this;
  o.TopMargin = std::clamp(o.TopMargin, 0, kMaxMargin);
  o.LeftMargin = std::clamp(o.LeftMargin, 0, kMaxMargin);
  o.TabCount = std::clamp(o.TabCount, TWrapParams::kMinTabCount, TWrapParams::kMaxTabCount);
  o.LineSpace = std::clamp(o.LineSpace, 0, kMaxLineSpace);
  o.LineNoColumn = std::clamp(o.LineNoColumn, kMinLineNoColumn, kMaxLineNoColumn);
  o.Column = std::max(o.Column, TWrapParams::kMinColumn);
  for (TColor* c : {&o.SelColor, &o.CREOFcolor, &o.Color, &o.URLColor, &o.InyoColor, &o.UlineColor,
                    &o.Font.Color}) {
    *c = PlainRgb(*c);
  }
  return o;
}

TOptionsWork WorkBetween(const TZelEditOptions& from, const TZelEditOptions& to) {
  TOptionsWork work;
  work.Repaint = from.SelColor != to.SelColor || from.CREOFcolor != to.CREOFcolor ||
                 from.ShowEOF != to.ShowEOF || from.ShowCR != to.ShowCR ||
                 from.ShowDblSpace != to.ShowDblSpace || from.ShowTAB != to.ShowTAB ||
                 from.ShowUnderLine != to.ShowUnderLine || from.Color != to.Color ||
                 from.Inyostr != to.Inyostr || from.ColorPrintF != to.ColorPrintF ||
                 from.URLColor != to.URLColor || from.InyoColor != to.InyoColor ||
                 from.UlineColor != to.UlineColor ||
                 // double-width spaces are marked only outside single-byte mode
                 from.SingleByteMode != to.SingleByteMode;
  work.CaretMargin = from.CurSetMode != to.CurSetMode;
  work.RowPitch = from.LineSpace != to.LineSpace || from.LineSpaceUnit != to.LineSpaceUnit;
  work.ScrollBars =
      from.HorzScrollBar != to.HorzScrollBar || from.VertScrollBar != to.VertScrollBar;
  work.Geometry = from.TopMargin != to.TopMargin || from.LeftMargin != to.LeftMargin ||
                  from.ShowLineNumber != to.ShowLineNumber || from.LineNoColumn != to.LineNoColumn;
  work.Font = from.Font != to.Font;
  work.TabWidths = from.TabCount != to.TabCount;
  // Unwrapped rows are whole lines whatever the cut rules say; wrapped rows
  // follow them at once.
  work.CutRows =
      to.WordWrap && (from.Column != to.Column || from.TabCount != to.TabCount ||
                      from.AutoWrap != to.AutoWrap || from.SingleByteMode != to.SingleByteMode);
  work.WordWrap = from.WordWrap != to.WordWrap;
  return work;
}

}  // namespace notavo
