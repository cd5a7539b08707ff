#include "editor/view/link_state.h"

#include <algorithm>

#include "textstore/zel_strings.h"

namespace notavo {

void TLinkStateCache::Refresh(bool singleByte) {
  const int changed = lines_.LowestChangedRowSince(seen_);
  seen_ = lines_.Generation();
  if (singleByte != singleByte_) {
    singleByte_ = singleByte;
    states_.clear();
    return;
  }
  if (changed == TZelStrings::kNoChange) return;
  // A row's state depends on the rows before it and, through a prefix cut
  // by a soft wrap, on the row itself: keep the rows before the change.
  const long long keep = std::max(0LL, static_cast<long long>(changed) - first_);
  if (static_cast<long long>(states_.size()) > keep) states_.resize(static_cast<std::size_t>(keep));
}

std::optional<TLinkRunOn> TLinkStateCache::At(int row) const {
  if (row < first_ || row - first_ >= static_cast<long long>(states_.size())) return std::nullopt;
  return states_[static_cast<std::size_t>(row - first_)];
}

void TLinkStateCache::Remember(int row, TLinkRunOn state) {
  const long long offset = static_cast<long long>(row) - first_;
  if (states_.empty() || offset < 0 || offset > static_cast<long long>(states_.size())) {
    first_ = row;
    states_.assign(1, state);
  } else if (offset == static_cast<long long>(states_.size())) {
    states_.push_back(state);
  } else {
    states_[static_cast<std::size_t>(offset)] = state;
  }
}

}  // namespace notavo
