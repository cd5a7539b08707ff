// Painting one row: its text in one output, the line-end or end-of-text
// mark, and the marks on tabs and double-width spaces.
#include <algorithm>
#include <cstdint>

#include "editor/layout/tab_expansion.h"
#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

namespace {
constexpr std::string_view kEofText = "[EOF]";
constexpr std::string_view kDblSpace = "\x81\x40";
constexpr int kMaxTabMarks = 100;
}  // namespace

std::string TZelEdit::ExpandRecordingTabs(std::string_view bytes, std::vector<int>* tabs) const {
  const int tabCount = TabCount();
  std::string expanded;
  expanded.reserve(bytes.size());
  for (char c : bytes) {
    if (c != '\t') {
      expanded.push_back(c);
      continue;
    }
    if (tabs && static_cast<int>(tabs->size()) < kMaxTabMarks) {
      tabs->push_back(FHost.Surface().TextWidth(expanded));
    }
    expanded.append(static_cast<std::size_t>(TabCells(static_cast<int>(expanded.size()), tabCount)),
                    ' ');
  }
  return expanded;
}

bool TZelEdit::IsQuoteRow(std::string_view row) const {
  if (!ColorPrintF) return false;
  const std::string content = StripLineEnd(row);
  if (content.empty()) return false;  // an empty row is never a quote row
  const bool twoBytes = ByteTypeAt(content, 1, SingleByteMode()) == btLead && content.size() >= 2;
  const std::string_view first = std::string_view(content).substr(0, twoBytes ? 2 : 1);
  // A character-aware search: a match never starts on a trail byte.
  const std::string_view quotes = Inyostr;
  for (std::size_t at = quotes.find(first); at != std::string_view::npos;
       at = quotes.find(first, at + 1)) {
    if (ByteTypeAt(quotes, static_cast<int>(at) + 1, SingleByteMode()) != btTrail) return true;
  }
  return false;
}

TColor TZelEdit::RowTextColor(std::string_view row) const {
  return IsQuoteRow(row) ? FInyoColor : FFont.Color;
}

void TZelEdit::PaintRow(int x, int yOffset, std::string_view bytes) {
  TSurface& surface = FHost.Surface();
  std::vector<int> tabs;
  std::string expanded = ExpandRecordingTabs(bytes, ShowTAB ? &tabs : nullptr);
  surface.SetTextColor(RowTextColor(bytes));
  const std::string_view tail =
      bytes.size() >= 2 ? bytes.substr(bytes.size() - 2) : std::string_view();
  if (tail == kLineEnd || tail == kEofMark) expanded.resize(expanded.size() - 2);
  surface.SetBkColor(FColor);
  const int top = yOffset + FTopMargin;
  const TRect rect{FTextLeft + x - 1, top, FTextLeft + FTextAreaWidth, top + FRowPitch};
  const int x0 = FTextLeft - FScrollX;
  surface.TextRect(rect, x0, top, expanded);
  // A row wider than the 32-bit range puts its mark far off the screen.
  const long long markX = static_cast<long long>(x0) + surface.TextWidth(expanded);
  PaintLineEndMark(static_cast<int>(std::min<long long>(markX, INT32_MAX / 4)), tail, top);
  PaintMarks(rect, x0, tabs, false, expanded, top);
}

void TZelEdit::DrawLineEndArrow(int x, int y, TColor color) {
  TSurface& surface = FHost.Surface();
  surface.SetPen(color, 1, psSolid, pmCopy);
  surface.MoveTo(x + 4, y + FMarkTop);
  surface.LineTo(x + 4, y + FMarkBottom);
  surface.LineTo(x + 1, y + FMarkBottom - 3);
  surface.MoveTo(x + 4, y + FMarkBottom);
  surface.LineTo(x + 7, y + FMarkBottom - 3);
}

void TZelEdit::PaintLineEndMark(int x, std::string_view tail, int y) {
  TSurface& surface = FHost.Surface();
  if (tail == kEofMark && ShowEOF) {
    surface.SetTextColor(FCREOFColor);
    surface.SetBkColor(FColor);
    surface.TextOut(x, y, kEofText);
  } else if (tail == kLineEnd && ShowCR) {
    DrawLineEndArrow(x, y, FCREOFColor);
  }
}

void TZelEdit::PlotDot(int x, int y) {
  // On-length 1, off-length 1; the phase runs on from line to line.
  TSurface& surface = FHost.Surface();
  if (FDotCounter == 0) FDotStart = {x, y};
  if (FDotCounter == 1) {
    surface.MoveTo(FDotStart.X, FDotStart.Y);
    surface.LineTo(x, y);
  }
  FDotCounter = (FDotCounter + 1) % 2;
}

void TZelEdit::DottedLine(int x1, int y1, int x2, int y2) {
  // The points from the start towards the end, the end excluded, as the
  // window system's line enumeration gives them (our lines are straight
  // horizontal or vertical ones).
  const int dx = x2 > x1 ? 1 : (x2 < x1 ? -1 : 0);
  const int dy = y2 > y1 ? 1 : (y2 < y1 ? -1 : 0);
  for (int x = x1, y = y1; x != x2 || y != y2; x += dx, y += dy) {
    PlotDot(x, y);
    if (dx != 0 && dy != 0) break;  // not expected: diagonal
  }
}

void TZelEdit::PaintMarks(const TRect& clip, int x0, const std::vector<int>& tabs, bool inverted,
                          std::string_view text, int y) {
  TSurface& surface = FHost.Surface();
  const TColor color = inverted ? InverseColor(FCREOFColor) : FCREOFColor;
  if (ShowDblSpace && !SingleByteMode() && text.find(kDblSpace) != std::string_view::npos) {
    surface.SetPen(color, 1, psSolid, pmCopy);
    // Walk characters so a match never starts on a trail byte.
    for (std::size_t i = 0; i + 1 < text.size();) {
      const bool lead = IsLeadByte(static_cast<unsigned char>(text[i]));
      if (lead && text.substr(i, 2) == kDblSpace) {
        const int right = x0 + surface.TextWidth(text.substr(0, i + 2));
        if (right >= clip.Left && right - FDblSpaceWidth <= clip.Right) {
          const int top = y + 2, bottom = y + FDblSpaceHeight - 2;
          const int left = right - FDblSpaceWidth + 3, edge = right - 3;
          DottedLine(edge, top, edge, bottom);
          DottedLine(edge, bottom, left, bottom);
          DottedLine(left, bottom, left, top);
          DottedLine(left, top, edge, top);
        }
      }
      i += lead ? 2 : 1;
    }
  }
  if (tabs.empty()) return;
  surface.SetPen(color, 1, psSolid, pmCopy);
  for (int p : tabs) {
    const int start = FTextLeft + p - FScrollX + 1;
    const int end = start + FSpaceWidth;
    if (end < clip.Left || start > clip.Right) continue;
    const int tip = end - 2, mid = y + FDblSpaceHeight / 2;
    surface.MoveTo(start, mid);
    surface.LineTo(tip, mid);
    surface.LineTo(tip - 3, mid - 3);
    surface.MoveTo(tip, mid);
    surface.LineTo(tip - 3, mid + 3);
  }
}

}  // namespace notavo
