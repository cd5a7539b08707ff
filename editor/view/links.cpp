// Link colouring: web and mail addresses and "tag:" names are redrawn
// underlined in the link colour over the rows just painted. A link may run
// on across soft rows, so a pass needs the state its first row starts in:
// remembered from earlier passes (FLinkStates), or worked out from the
// nearest row above whose state is known.
#include <algorithm>

#include "editor/view/link_scan.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"

namespace notavo {

void TZelEdit::PaintLinks(int first, int last) { LinkPass(first, last, nullptr); }

void TZelEdit::PaintLinksClipped(int first, int last, const TRect& clip) {
  LinkPass(first, last, &clip);
}

void TZelEdit::LinkPass(int first, int last, const TRect* clip) {
  if (!ColorPrintF || first > last || FLines.Count() == 0) return;
  FHost.Surface().SetBkColor(FColor);
  const int count = FLines.Count();
  last = std::min(last, count - 1);
  if (first > last) return;
  const bool singleByte = SingleByteMode();
  FLinkStates.Refresh(singleByte);
  // Back to the nearest row whose starting state is known: remembered, or
  // the first row of a logical line, where nothing runs on.
  int row = std::max(first, 0);
  std::optional<TLinkRunOn> known = FLinkStates.At(row);
  while (!known) {
    if (row == 0 || RowEndsLine(FLines[row - 1])) {
      known = TLinkRunOn::kNone;
    } else {
      --row;
      known = FLinkStates.At(row);
    }
  }
  TLinkRunOn state = *known;
  TLinkScanner scanner;
  // Rows before `first` are only scanned for the state they pass on.
  const TLinkSpanSink paint = [&](int from, int to) { PaintLinkSpan(from, to, clip, row); };
  const TLinkSpanSink scanOnly;
  for (; row <= last; ++row) {
    FLinkStates.Remember(row, state);
    const std::string_view next = row + 1 < count ? FLines[row + 1] : std::string_view();
    state = scanner.Scan(FLines[row], next, singleByte, state, row >= first ? paint : scanOnly);
  }
  if (last + 1 < count) FLinkStates.Remember(last + 1, state);
}

void TZelEdit::PaintLinkSpan(int from, int to, const TRect* clip, int row) {
  if (row < FTopRow || row > LastVisibleRow()) return;
  const std::string_view bytes = FLines[row];
  const int y = (row - FTopRow) * FRowPitch + FTopMargin;
  TSurface& surface = FHost.Surface();
  const int origin = FTextLeft - FScrollX;
  const std::string before =
      ExpandRecordingTabs(bytes.substr(0, static_cast<std::size_t>(from - 1)), nullptr);
  const std::string through =
      ExpandRecordingTabs(bytes.substr(0, static_cast<std::size_t>(to)), nullptr);
  const int linkLeft = origin + surface.TextWidth(before);
  const int left = std::max(FTextLeft, linkLeft);
  const int right = origin + surface.TextWidth(through);
  TRect rect{left, y, right, y + FRowPitch};
  if (clip) {
    if (clip->Top != y) return;
    rect = {std::max(clip->Left, left), y, std::min(clip->Right, right), y + FRowPitch};
  }
  if (rect.Right < linkLeft || right < rect.Left || rect.Right <= rect.Left) return;
  std::string expanded = ExpandRecordingTabs(bytes, nullptr);
  const std::string_view tail =
      bytes.size() >= 2 ? bytes.substr(bytes.size() - 2) : std::string_view();
  if (tail == kLineEnd || tail == kEofMark) expanded.resize(expanded.size() - 2);
  TLogFont underlined = FLogFont;
  underlined.Underline = 1;
  surface.SetFont(underlined);
  surface.SetTextColor(FURLColor);
  surface.SetBkColor(FColor);
  surface.TextRect(rect, origin, y, expanded);
  surface.SetFont(FLogFont);
}

}  // namespace notavo
