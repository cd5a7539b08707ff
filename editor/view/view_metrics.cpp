// Font metrics, row pitch, gutter and text-area geometry.
#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "editor/layout/tab_expansion.h"
#include "editor/caret/position_rule.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

namespace {
// Rounding to the nearest integer, ties to the even neighbour.
int RoundEven(double v) { return static_cast<int>(std::nearbyint(v)); }
int CeilDiv(int a, int b) { return b > 0 ? (a + b - 1) / b : 0; }
}  // namespace

int TZelEdit::PrefixWidth(std::string_view row, int bytes) const {
  bytes = std::clamp(bytes, 0, static_cast<int>(row.size()));
  if (bytes == 0) return 0;
  const std::string expanded =
      ExpandTabs(row.substr(0, static_cast<std::size_t>(bytes)), TabCount());
  constexpr std::size_t kPiece = 1 << 20;
  if (expanded.size() <= kPiece) return FHost.Surface().TextWidth(expanded);
  // A very long row: measure in pieces and saturate, so a width past the
  // 32-bit range is a wide row, never a negative one.
  long long width = 0;
  for (std::size_t at = 0; at < expanded.size(); at += kPiece) {
    width += FHost.Surface().TextWidth(std::string_view(expanded).substr(at, kPiece));
  }
  return static_cast<int>(std::min<long long>(width, INT32_MAX / 4));
}

int TZelEdit::ContentLength(int row) const { return notavo::ContentLength(FLines[row]); }

void TZelEdit::ApplyRowPitch() {
  if (FLineSpaceUnit == uPercent) {
    FRowPitch = FCharHeight + RoundEven(static_cast<double>(FCharHeight * FLineSpace) / 100.0);
  } else {
    FRowPitch = FCharHeight + FLineSpace;
  }
  if (FCharHeight != 0 && FRowPitch > 0) {
    FVisibleRows = std::max(0, FTextAreaHeight) / FRowPitch;
    FScrollMarginRows = CeilDiv(FVisibleRows, 5);
  }
}

void TZelEdit::SetupFontMetrics() {
  FRowWidths.clear();  // widths belong to the font
  ResetCanvas();
  FDotCounter = 0;
  TSurface& surface = FHost.Surface();
  const TTextMetrics metrics = surface.GetTextMetrics();
  // A font that reports no width would divide by zero below: take one pixel.
  FCharWidth = std::max(1, metrics.AveCharWidth);
  // The line-end arrow's extent is kept in bytes: larger cells are clamped.
  FCharHeight = std::clamp(metrics.Height, 1, 319);
  ApplyRowPitch();
  FMarkBottom = RoundEven(0.8 * FCharHeight);
  FMarkTop = RoundEven(0.2 * FCharHeight);
  FMaxColumn = (32767 / FCharWidth) / 2;
  const TPoint dbl = surface.TextExtent("\x81\x40");
  FDblSpaceWidth = dbl.X;
  FDblSpaceHeight = dbl.Y;
  FSpaceWidth = surface.TextWidth(" ");
}

void TZelEdit::UpdateGutterWidth() {
  FDigitWidth = FHost.Surface().TextWidth("0");
  FGutterWidth = ShowLineNumber ? std::min(100, FDigitWidth * FLineNoColumn) + 7 : 0;
  FTextLeft = FBaseTextLeft = FLeftMargin + FGutterWidth;
}

void TZelEdit::UpdateTextArea() {
  const TPoint client = FHost.Window().ClientSize();
  FTextAreaWidth = client.X - FTextLeft;
  FTextAreaHeight = client.Y - FTopMargin;
  FVisibleRows = FRowPitch > 0 ? std::max(0, FTextAreaHeight) / FRowPitch : 0;
  FScrollMarginRows = CeilDiv(FVisibleRows, 5);
  FScrollJumpX = CeilDiv(std::max(0, FTextAreaWidth), 5);
  FCaretRightMargin = FCurSetMode ? 10 : FScrollJumpX;
  FWrap.SetTextArea(FTextAreaWidth, FCharWidth, &FHost.Surface());
}

}  // namespace notavo
