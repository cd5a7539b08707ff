#include "editor/layout/row_cut.h"

#include <cstring>

#include "editor/layout/tab_expansion.h"
#include "platform/text_measure.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

namespace {

bool IsStopByte(char c) { return c == kCR || c == kNUL; }

// Whether a byte is the lead byte of a double-byte character. Usually the
// run of lead-valued bytes just before it is short and its parity answers;
// a long run (text like "亜亜亜…", whose bytes all have lead values) is
// settled by walking character starts forward from the text's start
// instead, continuing from the previous query where possible. Both give
// what ByteTypeAt gives.
class LeadFinder {
 public:
  static constexpr int kShortRun = 32;

  LeadFinder(std::string_view text, bool singleByte) : text_(text), singleByte_(singleByte) {}
  bool IsLeadAt(int index) {
    if (singleByte_ || index < 0) return false;
    int run = 0;
    while (run < kShortRun && index - run > 0 && Lead(index - run - 1)) ++run;
    const bool runEnded = index - run == 0 || !Lead(index - run - 1);
    if (runEnded) return run % 2 == 0 && Lead(index);
    if (start_ > index) start_ = 0;
    for (;;) {
      const int length = Lead(start_) ? 2 : 1;
      if (start_ + length > index) break;
      start_ += length;
    }
    return start_ == index && Lead(index);
  }

 private:
  bool Lead(int i) const {
    return IsLeadByte(static_cast<unsigned char>(text_[static_cast<std::size_t>(i)]));
  }
  std::string_view text_;
  bool singleByte_;
  int start_ = 0;  // a character start at or before the last forward query
};

int FitPixels(std::string_view rest, int pos, const TWrapParams& params) {
  const long long maxPixels = params.MaxRowPixels();
  auto fits = [&](int bytes) {
    const std::string piece =
        ExpandTabs(rest.substr(0, static_cast<std::size_t>(bytes)), params.TabCount);
    return params.Measurer->TextWidth(piece) <= maxPixels;
  };
  if (pos == 0 || fits(pos)) return pos;
  // Widths grow with the prefix: find the longest prefix that still fits.
  int lo = 0, hi = pos;
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    (fits(mid) ? lo : hi) = mid;
  }
  return lo;
}

}  // namespace

int FitPrefix(std::string_view rest, const TWrapParams& params) {
  const int n = static_cast<int>(rest.size());
  const int column = params.Column;
  const int tabCount = params.TabCount < 1 ? 1 : params.TabCount;
  int pos;
  const int reach = n < column ? n : column;
  // No byte takes more than tabCount cells: short rows fit unseen.
  if (static_cast<long long>(n) * tabCount <= column && !params.AutoWrap) return n;
  if (std::memchr(rest.data(), '\t', static_cast<std::size_t>(reach)) == nullptr) {
    pos = reach;  // no tab within reach: one cell a byte
  } else {
    // From tab to tab: the bytes between take a cell each.
    int cells = 0;
    pos = 0;
    while (pos < n) {
      const void* tab = std::memchr(rest.data() + pos, '\t', static_cast<std::size_t>(n - pos));
      const int next = tab ? static_cast<int>(static_cast<const char*>(tab) - rest.data()) : n;
      if (next - pos > column - cells) {
        pos += column - cells;
        break;
      }
      cells += next - pos;
      pos = next;
      if (pos == n) break;
      const int width = TabCells(cells, tabCount);
      if (cells + width > column) break;
      cells += width;
      ++pos;
    }
  }
  if (params.AutoWrap && params.Measurer) pos = FitPixels(rest, pos, params);
  return pos;
}

int SettleCut(std::string_view rest, int pos, int limit, bool singleByte) {
  LeadFinder leads(rest, singleByte);
  if (pos >= 1 && IsStopByte(rest[static_cast<std::size_t>(pos - 1)])) --pos;
  if (pos >= 1 && leads.IsLeadAt(pos - 1)) --pos;

  // A sound soft row: not empty, no half character at its end, and nothing
  // that RowEndsLine would read as a terminator.
  auto sound = [&](int k) {
    if (k < 1 || k >= limit) return false;
    if (k >= 2 && IsStopByte(rest[static_cast<std::size_t>(k - 2)])) return false;
    return !leads.IsLeadAt(k - 1);
  };
  if (sound(pos)) return pos;
  for (int k = pos - 1; k >= 1; --k) {
    if (sound(k) && !IsStopByte(rest[static_cast<std::size_t>(k - 1)])) return k;
  }
  for (int k = pos - 1; k >= 1; --k) {
    if (sound(k)) return k;
  }
  for (int k = pos < 1 ? 1 : pos + 1; k < limit; ++k) {
    if (sound(k)) return k;
  }
  return limit;
}

void CutRowLengths(std::string_view line, const TWrapParams& params, std::vector<int>& lengths) {
  std::string_view rest = line;
  for (;;) {
    const int length = static_cast<int>(rest.size());
    const int limit = RowEndsLine(rest) ? length - 1 : length;
    int pos = FitPrefix(rest, params);
    if (pos < limit) pos = SettleCut(rest, pos, limit, params.SingleByteMode);
    if (pos >= limit) {
      lengths.push_back(length);
      return;
    }
    lengths.push_back(pos);
    rest.remove_prefix(static_cast<std::size_t>(pos));
  }
}

void CutLogicalLine(std::string_view line, const TWrapParams& params,
                    std::vector<std::string>& rows) {
  std::vector<int> lengths;
  CutRowLengths(line, params, lengths);
  std::size_t at = 0;
  for (int length : lengths) {
    rows.emplace_back(line.substr(at, static_cast<std::size_t>(length)));
    at += static_cast<std::size_t>(length);
  }
}

}  // namespace notavo
