#include "editor/view/row_widths.h"

#include "textstore/zel_strings.h"

namespace notavo {

void TRowWidthCache::Refresh() {
  const int changed = lines_.LowestChangedRowSince(seen_);
  seen_ = lines_.Generation();
  if (changed == TZelStrings::kNoChange) return;
  // Rows from the change on may hold other bytes, or other rows' bytes.
  for (auto it = rows_.lower_bound(changed); it != rows_.end(); ++it) it->second.recheck = true;
}

void TRowWidthCache::Trim(int row) {
  if (rows_.size() <= kMaxRows) return;
  rows_.erase(rows_.begin(), rows_.lower_bound(row - kNear));
  rows_.erase(rows_.upper_bound(row + kNear), rows_.end());
}

int TRowWidthCache::Width(int row, const TMeasure& measure) {
  Refresh();
  const std::string_view bytes = lines_[row];
  auto it = rows_.find(row);
  if (it != rows_.end()) {
    Entry& entry = it->second;
    if (!entry.recheck || entry.bytes == bytes) {
      entry.recheck = false;
      return entry.width;
    }
    entry.bytes.assign(bytes);
    entry.width = measure(bytes);
    entry.recheck = false;
    return entry.width;
  }
  Trim(row);
  Entry entry{std::string(bytes), measure(bytes), false};
  const int width = entry.width;
  rows_.emplace(row, std::move(entry));
  return width;
}

void TRowWidthCache::clear() { rows_.clear(); }

}  // namespace notavo
