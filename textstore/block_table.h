// The blocks a store's View rows point into, each with the number of rows in
// the store that point into it, so a block is freed once no row does (after
// deleting everything, or overwriting every row with an edited copy).
//
// Counts only ever err high: a row is held before it enters the store and
// dropped once it has left, and blocks are freed by Collect at the end of an
// operation, never in the middle. While the rows are lent out of the store
// (ReleaseRows) nothing is freed; taking rows back recounts from them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "textstore/row.h"

namespace notavo {

class TBlockTable {
 public:
  // Takes blocks that rows are about to point into. A block that no row holds
  // by the next Collect is freed.
  void Add(TRowBlocks&& blocks);

  // A row entered the store / left it. Owned rows, empty rows and rows
  // pointing elsewhere are not counted.
  void Hold(const TRow& row) noexcept {
    if (Entry* entry = Find(row)) ++entry->rows;
  }
  void Drop(const TRow& row) noexcept {
    Entry* entry = Find(row);
    if (entry && --entry->rows == 0) unused_ = true;
  }

  // The store's rows are out: free nothing until the counts start again.
  void Lend() noexcept { lent_ = true; }
  // Zeroes every count (and ends a loan) before the store's rows are held
  // again, one by one.
  void StartRecount() noexcept;
  // Frees the blocks that no row holds, unless rows are lent out.
  void Collect();
  void Clear() noexcept;

  std::size_t Bytes() const noexcept { return bytes_; }
  std::size_t Count() const noexcept { return entries_.size(); }

 private:
  struct Entry {
    std::uintptr_t begin;
    std::size_t size;
    std::size_t rows;
    TRowBlock bytes;
  };

  Entry* Find(const TRow& row) noexcept {
    if (row.owned() || row.size() == 0 || entries_.empty()) return nullptr;
    const auto at = reinterpret_cast<std::uintptr_t>(row.data());
    // Rows are mostly counted in document order: usually the last block.
    Entry& last = entries_[last_];
    if (at - last.begin < last.size) return &last;
    return Search(at);
  }
  Entry* Search(std::uintptr_t at) noexcept;

  std::vector<Entry> entries_;  // by address
  std::size_t bytes_ = 0;
  std::size_t last_ = 0;  // the entry of the previous Find
  bool lent_ = false;
  bool unused_ = false;  // some entry may hold no rows
};

}  // namespace notavo
