#include "textstore/block_table.h"

#include <algorithm>
#include <iterator>
#include <vector>

namespace notavo {

void TBlockTable::Add(TRowBlocks&& blocks) {
  entries_.reserve(entries_.size() + blocks.size());  // the inserts below cannot throw
  for (TSizedBlock& block : blocks) {
    if (!block.bytes || block.size == 0) continue;
    const auto begin = reinterpret_cast<std::uintptr_t>(block.bytes.get());
    const auto at = std::upper_bound(entries_.begin(), entries_.end(), begin,
                                     [](std::uintptr_t a, const Entry& e) { return a < e.begin; });
    entries_.insert(at, Entry{begin, block.size, 0, std::move(block.bytes)});
    bytes_ += block.size;
    unused_ = true;
  }
  blocks.clear();
  last_ = 0;
}

TBlockTable::Entry* TBlockTable::Search(std::uintptr_t at) noexcept {
  // The last block starting at or before `at`, if `at` lies inside it.
  const auto it = std::upper_bound(entries_.begin(), entries_.end(), at,
                                   [](std::uintptr_t a, const Entry& e) { return a < e.begin; });
  if (it == entries_.begin()) return nullptr;
  Entry& entry = *std::prev(it);
  if (at - entry.begin >= entry.size) return nullptr;
  last_ = static_cast<std::size_t>(&entry - entries_.data());
  return &entry;
}

void TBlockTable::StartRecount() noexcept {
  for (Entry& entry : entries_) entry.rows = 0;
  lent_ = false;
  unused_ = true;
}

void TBlockTable::Collect() {
  if (!unused_ || lent_) return;
  unused_ = false;
  for (const Entry& entry : entries_) {
    if (entry.rows == 0) bytes_ -= entry.size;
  }
  std::erase_if(entries_, [](const Entry& entry) { return entry.rows == 0; });
  last_ = 0;
}

void TBlockTable::Clear() noexcept {
  std::vector<Entry>().swap(entries_);
  bytes_ = 0;
  last_ = 0;
  lent_ = false;
  unused_ = false;
}

}  // namespace notavo
