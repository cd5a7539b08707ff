// Link colouring: web and mail addresses and "tag:" names are redrawn
// underlined in the link colour over the rows just painted. Nothing is
// stored; each pass scans from the start of the logical line so links that
// run on across soft rows are found.
#include <algorithm>
#include <cctype>

#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

namespace {

std::string LowerAscii(std::string_view row) {
  std::string lower(row);
  for (char& c : lower) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return lower;
}

}  // namespace

void TZelEdit::PaintLinks(int first, int last) { LinkPass(first, last, nullptr); }

void TZelEdit::PaintLinksClipped(int first, int last, const TRect& clip) {
  LinkPass(first, last, &clip);
}

void TZelEdit::LinkPass(int first, int last, const TRect* clip) {
  if (!ColorPrintF || first > last || FLines.Count() == 0) return;
  FHost.Surface().SetBkColor(FColor);
  last = std::min(last, FLines.Count() - 1);
  int start = first;
  while (start > 0 && !RowEndsLine(FLines[start - 1])) --start;
  const bool singleByte = SingleByteMode();
  bool linkRunsOn = false, tagRunsOn = false, tailRunsOn = false;

  for (int r = start; r <= last; ++r) {
    const std::string_view raw = FLines[r];
    const bool soft = !RowEndsLine(raw);
    const int len = static_cast<int>(raw.size()) - (soft ? 0 : 2);
    const std::string data = LowerAscii(raw);
    const std::string joined = data + (r + 1 < FLines.Count() ? LowerAscii(FLines[r + 1]) : "");
    // 1-based helpers over this row.
    auto byteAt = [&](int p) {
      return static_cast<unsigned char>(raw[static_cast<std::size_t>(p - 1)]);
    };
    auto doubleByte = [&](int p) { return ByteTypeAt(raw, p, singleByte) != btSingle; };
    auto isDelimiter = [&](int p) {
      if (doubleByte(p)) {
        return ByteTypeAt(raw, p, singleByte) == btLead && p < len && byteAt(p) == 0x81 &&
               byteAt(p + 1) == 0x40;
      }
      const char c = static_cast<char>(byteAt(p));
      return c == ' ' || c == '|' || c == '\t' || c == '"' || c == '>';
    };
    auto tailStop = [&](int p) {
      if (doubleByte(p)) return true;
      const char c = static_cast<char>(byteAt(p));
      return c == '\t' || c == ' ' || c == ',' || c == ':';
    };
    auto span = [&](int from, int to) {
      if (r >= first && from <= to && to >= 1) PaintLinkSpan(from, std::min(to, len), clip, r);
    };
    auto at = [&](int p, std::string_view word) {
      return static_cast<std::size_t>(p - 1) + word.size() <= joined.size() &&
             std::string_view(joined).substr(static_cast<std::size_t>(p - 1), word.size()) == word;
    };
    // Advances through a tag's tail from q; returns the stop position.
    auto tailEnd = [&](int q) {
      while (q <= len && !tailStop(q)) ++q;
      return q;
    };

    if (raw == kLineEnd) {
      linkRunsOn = tagRunsOn = tailRunsOn = false;
      continue;
    }
    int p = 1;
    if (linkRunsOn) {
      while (p <= len && !isDelimiter(p)) ++p;
      span(1, p - 1);
      if (p > len && soft) continue;
      linkRunsOn = false;
    } else if (tagRunsOn) {
      const auto dot = data.find('.');
      if (dot == std::string::npos || static_cast<int>(dot) >= len) {
        span(1, len);
        if (!soft) tagRunsOn = false;
        continue;
      }
      const int d = static_cast<int>(dot) + 1;
      tagRunsOn = false;
      span(1, d);
      tailRunsOn = true;
      p = d + 1;
    }
    if (tailRunsOn) {
      const int e = tailEnd(p);
      span(p, e - 1);
      tailRunsOn = e > len && soft;
      if (tailRunsOn) continue;
      p = e;
    }
    while (p <= len) {
      if (doubleByte(p) && p < len) {
        ++p;
        continue;
      }
      if (at(p, "http://") || at(p, "https:/") || at(p, "mailto:") || at(p, "mail:")) {
        int e = p + 5;
        while (e <= len && !isDelimiter(e)) ++e;
        span(p, e - 1);
        if (e > len && soft) linkRunsOn = true;
        p = e;
      }
      if (p <= len && at(p, "tag:")) {
        const auto dot = data.find('.', static_cast<std::size_t>(p - 1 + 4));
        if (dot == std::string::npos || static_cast<int>(dot) >= len) {
          span(p, len);
          if (soft) tagRunsOn = true;
          break;
        }
        const int e = tailEnd(static_cast<int>(dot) + 2);
        span(p, e - 1);
        if (e > len && soft) tailRunsOn = true;
        p = e;
        continue;
      }
      ++p;
    }
  }
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
