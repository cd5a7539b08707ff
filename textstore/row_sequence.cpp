#include "textstore/row_sequence.h"

#include <algorithm>
#include <iterator>

namespace notavo {

int TRowSequence::Search(int index) const {
  const auto at = [&](int c) { return starts_[static_cast<std::size_t>(c)]; };
  if (last_ + 2 < static_cast<int>(starts_.size()) && index >= at(last_ + 1) &&
      index < at(last_ + 2)) {
    return ++last_;
  }
  // The last chunk whose first row is not after `index`.
  const auto it = std::upper_bound(starts_.begin(), starts_.end() - 1, index);
  last_ = static_cast<int>(it - starts_.begin()) - 1;
  return last_;
}

void TRowSequence::Restart(std::size_t fromChunk) {
  starts_.resize(chunks_.size() + 1);
  if (fromChunk == 0) starts_[0] = 0;
  for (std::size_t c = std::max<std::size_t>(fromChunk, 1); c <= chunks_.size(); ++c) {
    starts_[c] = starts_[c - 1] + static_cast<int>(chunks_[c - 1].size());
  }
  last_ = 0;
}

void TRowSequence::SplitIfLarge(std::size_t chunk) {
  if (static_cast<int>(chunks_[chunk].size()) <= kSplit) return;
  std::vector<TRow> big = std::move(chunks_[chunk]);
  std::vector<std::vector<TRow>> pieces;
  for (std::size_t at = 0; at < big.size(); at += kChunk) {
    const std::size_t end = std::min(big.size(), at + kChunk);
    pieces.emplace_back(std::make_move_iterator(big.begin() + static_cast<std::ptrdiff_t>(at)),
                        std::make_move_iterator(big.begin() + static_cast<std::ptrdiff_t>(end)));
  }
  chunks_[chunk] = std::move(pieces.front());
  chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(chunk) + 1,
                 std::make_move_iterator(pieces.begin() + 1),
                 std::make_move_iterator(pieces.end()));
}

void TRowSequence::Insert(int index, TRow&& row) {
  std::vector<TRow> one;
  one.push_back(std::move(row));
  Insert(index, std::move(one));
}

void TRowSequence::Insert(int index, std::vector<TRow>&& rows) {
  if (rows.empty()) return;
  if (chunks_.empty()) {
    Assign(std::move(rows));
    return;
  }
  // The chunk to insert into: the one holding `index`, or the last one at the end.
  const std::size_t c =
      index >= size() ? chunks_.size() - 1 : static_cast<std::size_t>(Locate(index));
  const int offset = index - starts_[c];
  auto& chunk = chunks_[c];
  chunk.insert(chunk.begin() + offset, std::make_move_iterator(rows.begin()),
               std::make_move_iterator(rows.end()));
  SplitIfLarge(c);
  Restart(c);
}

void TRowSequence::Erase(int index, int count) {
  if (count <= 0) return;
  std::size_t c = static_cast<std::size_t>(Locate(index));
  const std::size_t first = c;
  int offset = index - starts_[c];
  while (count > 0 && c < chunks_.size()) {
    auto& chunk = chunks_[c];
    const int n = std::min(count, static_cast<int>(chunk.size()) - offset);
    chunk.erase(chunk.begin() + offset, chunk.begin() + offset + n);
    count -= n;
    offset = 0;
    ++c;
  }
  // Drop chunks left empty, keeping at least one.
  const auto empty = [](const std::vector<TRow>& chunk) { return chunk.empty(); };
  chunks_.erase(std::remove_if(chunks_.begin() + static_cast<std::ptrdiff_t>(first),
                               chunks_.begin() + static_cast<std::ptrdiff_t>(c), empty),
                chunks_.begin() + static_cast<std::ptrdiff_t>(c));
  if (chunks_.empty()) chunks_.emplace_back();
  Restart(std::min(first, chunks_.size() - 1));
}

void TRowSequence::Assign(std::vector<TRow>&& rows) {
  chunks_.clear();
  for (std::size_t at = 0; at < rows.size(); at += kChunk) {
    const std::size_t end = std::min(rows.size(), at + kChunk);
    chunks_.emplace_back(std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(at)),
                         std::make_move_iterator(rows.begin() + static_cast<std::ptrdiff_t>(end)));
  }
  if (chunks_.empty()) chunks_.emplace_back();
  Restart(0);
}

std::vector<TRow> TRowSequence::Release() {
  std::vector<TRow> rows;
  rows.reserve(static_cast<std::size_t>(size()));
  for (auto& chunk : chunks_) {
    for (TRow& row : chunk) rows.push_back(std::move(row));
  }
  Clear();
  return rows;
}

void TRowSequence::Clear() {
  std::vector<std::vector<TRow>>().swap(chunks_);
  starts_.clear();
  last_ = 0;
}

}  // namespace notavo
