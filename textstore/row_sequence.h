// The rows of a document in chunks of about a thousand, with the first row
// index of every chunk: inserting or deleting a row moves at most a chunk's
// rows and adjusts one number per chunk, instead of shifting every row
// behind it. Access by index looks in the chunk of the previous access
// first, so walking rows in order costs no search.
#pragma once

#include <vector>

#include "textstore/row.h"

namespace notavo {

class TRowSequence {
 public:
  static constexpr int kChunk = 1024;        // rows a chunk is filled with
  static constexpr int kSplit = 2 * kChunk;  // a chunk larger than this splits

  int size() const { return starts_.empty() ? 0 : starts_.back(); }
  const TRow& operator[](int index) const { return chunks_[Locate(index)][Offset(index)]; }
  TRow& operator[](int index) { return chunks_[Locate(index)][Offset(index)]; }

  // Inserts `rows` before `index` (0..size()).
  void Insert(int index, std::vector<TRow>&& rows);
  void Insert(int index, TRow&& row);
  // Removes `count` rows from `index`.
  void Erase(int index, int count);
  void Assign(std::vector<TRow>&& rows);
  std::vector<TRow> Release();
  void Clear();

  // The last row k in index..last such that rows index..k lie one after
  // another in memory (as rows cut from one block in place do), stopping
  // once they hold `maxBytes`. Walks the chunks directly: a few
  // instructions a row.
  int AdjacentFrom(int index, int last, std::size_t maxBytes) const {
    std::size_t c = static_cast<std::size_t>(Locate(index));
    std::size_t i = static_cast<std::size_t>(Offset(index));
    const TRow* row = &chunks_[c][i];
    const char* end = row->data() + row->size();
    std::size_t bytes = row->size();
    int k = index;
    while (k < last && bytes < maxBytes) {
      if (++i == chunks_[c].size()) {
        ++c;
        i = 0;
      }
      const TRow& next = chunks_[c][i];
      if (next.data() != end) break;
      end += next.size();
      bytes += next.size();
      ++k;
    }
    return k;
  }

  template <typename Visit>
  void ForEach(Visit&& visit) const {
    for (const auto& chunk : chunks_) {
      for (const TRow& row : chunk) visit(row);
    }
  }

 private:
  int Locate(int index) const {
    // Usually the chunk of the previous access.
    if (index >= starts_[static_cast<std::size_t>(last_)] &&
        index < starts_[static_cast<std::size_t>(last_) + 1]) {
      return last_;
    }
    return Search(index);
  }
  int Search(int index) const;
  int Offset(int index) const { return index - starts_[static_cast<std::size_t>(last_)]; }
  void Restart(std::size_t fromChunk);  // recompute starts_ from a chunk on
  void SplitIfLarge(std::size_t chunk);

  std::vector<std::vector<TRow>> chunks_;
  std::vector<int> starts_;  // chunks_.size() + 1 entries: first row of each, then the total
  mutable int last_ = 0;     // the chunk of the previous access
};

}  // namespace notavo
