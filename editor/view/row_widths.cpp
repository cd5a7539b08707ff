#include "editor/view/row_widths.h"

#include "textstore/zel_strings.h"

namespace notavo {

void TRowWidthCache::Trim(int row) {
  if (rows_.size() <= kMaxRows) return;
  rows_.erase(rows_.begin(), rows_.lower_bound(row - kNear));
  rows_.erase(rows_.upper_bound(row + kNear), rows_.end());
}

int TRowWidthCache::Width(int row, const TMeasure& measure) {
  const std::string_view bytes = lines_[row];
  auto it = rows_.find(row);
  if (it == rows_.end()) {
    Trim(row);
    it = rows_.emplace(row, Entry{std::string(bytes), measure(bytes), 0}).first;
  } else if (lines_.LowestChangedRowSince(it->second.seen) <= row && it->second.bytes != bytes) {
    // Rows in view are asked for top to bottom. After Enter each row below
    // holds the bytes just displaced from the row above it; after joining
    // two lines, the bytes still kept for the row below it.
    Entry previous = std::move(it->second);
    const auto below = rows_.find(row + 1);
    if (displaced_.bytes == bytes) {
      it->second = std::move(displaced_);
    } else if (below != rows_.end() && below->second.bytes == bytes) {
      it->second = Entry{below->second.bytes, below->second.width, 0};
    } else {
      it->second = Entry{std::string(bytes), measure(bytes), 0};
    }
    displaced_ = std::move(previous);
  }
  it->second.seen = lines_.Generation();
  return it->second.width;
}

void TRowWidthCache::clear() {
  rows_.clear();
  displaced_ = Entry{};
}

}  // namespace notavo
