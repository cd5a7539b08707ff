// Pixel x to byte offset within one row.
#include <algorithm>
#include <vector>

#include "editor/zel_edit.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {

// Maps x (relative to the text origin, scrolling added) to the nearer
// character boundary of the row; a point exactly on a character's midpoint
// goes to its left boundary. Boundaries come from the bytes' roles, so a
// trail byte with a lead value ("日a" is 93 FA 61) never starts a character.
// Widths of prefixes grow with the prefix, so a binary search over the
// boundaries measures O(log n) prefixes.
int TZelEdit::XToCol(std::string_view row, int x, int& outX) const {
  if (x <= 0) {
    outX = 0;
    return 0;
  }
  const std::string stripped = StripLineEnd(row);
  const int length = static_cast<int>(stripped.size());
  const int whole = PrefixWidth(stripped, length);
  if (x >= whole) {
    outX = whole;
    return length;
  }
  std::vector<int> bounds;  // character starts, then the length
  const bool singleByte = SingleByteMode();
  for (int i = 0; i < length;) {
    bounds.push_back(i);
    i += !singleByte &&
                 IsLeadByte(static_cast<unsigned char>(stripped[static_cast<std::size_t>(i)])) &&
                 i + 1 < length
             ? 2
             : 1;
  }
  bounds.push_back(length);
  // The last boundary whose prefix is not wider than x.
  std::size_t lo = 0, hi = bounds.size() - 1;  // width(lo) <= x < width(hi)
  while (hi - lo > 1) {
    const std::size_t mid = lo + (hi - lo) / 2;
    (PrefixWidth(stripped, bounds[mid]) <= x ? lo : hi) = mid;
  }
  const int w1 = PrefixWidth(stripped, bounds[lo]);
  const int w2 = PrefixWidth(stripped, bounds[hi]);
  const int half = (w2 - w1) / 2;
  if (x <= w2 - half) {
    outX = w1;
    return bounds[lo];
  }
  outX = w2;
  return bounds[hi];
}

}  // namespace notavo
