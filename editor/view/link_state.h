// The link state at the start of display rows, remembered between paints so
// that colouring the rows in view scans those rows, not everything from the
// start of their logical line. It follows the store's change tracking
// itself: whoever edits the rows needs to tell it nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "editor/view/link_scan.h"

namespace notavo {

class TZelStrings;

class TLinkStateCache {
 public:
  explicit TLinkStateCache(const TZelStrings& lines) : lines_(lines) {}

  // Forgets what the store's changes since the last call may have altered,
  // and everything when the byte roles changed (`singleByte`).
  void Refresh(bool singleByte);
  // The state at the start of `row`, when known.
  std::optional<TLinkRunOn> At(int row) const;
  // Keeps the state at the start of `row`. Rows are kept as one run: a row
  // next to or inside it extends it, any other starts a new one.
  void Remember(int row, TLinkRunOn state);

 private:
  const TZelStrings& lines_;
  std::uint64_t seen_ = 0;  // the store's generation the states reflect
  bool singleByte_ = false;
  int first_ = 0;                   // the row of states_[0]
  std::vector<TLinkRunOn> states_;  // at the starts of rows first_, first_ + 1, ...
};

}  // namespace notavo
