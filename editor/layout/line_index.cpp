#include "editor/layout/line_index.h"

#include <algorithm>

#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {

void TLineIndex::Refresh() const {
  const int changed = lines_.LowestChangedRowSince(seen_);
  seen_ = lines_.Generation();
  if (changed == TZelStrings::kNoChange && !checkpoints_.empty()) return;
  // Checkpoint b covers rows before b*kBlock: still right if none of them
  // changed.
  const std::size_t keep = static_cast<std::size_t>(changed / kBlock) + 1;
  if (checkpoints_.size() > keep) checkpoints_.resize(keep);
  if (checkpoints_.empty()) checkpoints_.push_back({});
}

void TLineIndex::ExtendTo(int block) const {
  const int count = lines_.Count();
  while (static_cast<int>(checkpoints_.size()) <= block) {
    const int from = (static_cast<int>(checkpoints_.size()) - 1) * kBlock;
    Checkpoint next = checkpoints_.back();
    for (int r = from; r < from + kBlock && r < count; ++r) {
      const std::string_view row = lines_[r];
      next.lineEnds += RowEndsLine(row) ? 1 : 0;
      next.bytes += static_cast<long long>(row.size());
    }
    checkpoints_.push_back(next);
  }
}

void TLineIndex::Prime(const std::vector<int>& rowsPerLine) {
  seen_ = lines_.Generation();
  checkpoints_.assign(1, Checkpoint{});
  Checkpoint running;
  int row = 0;
  for (int rows : rowsPerLine) {
    for (int k = 0; k < rows; ++k, ++row) {
      if (row > 0 && row % kBlock == 0) checkpoints_.push_back(running);
      running.bytes += static_cast<long long>(lines_[row].size());
      if (k + 1 == rows) ++running.lineEnds;
    }
  }
  if (row > 0 && row % kBlock == 0) checkpoints_.push_back(running);
}

int TLineIndex::LineOfRow(int row) const {
  Refresh();
  row = std::clamp(row, 0, std::max(lines_.Count() - 1, 0));
  const int block = row / kBlock;
  ExtendTo(block);
  int ends = checkpoints_[static_cast<std::size_t>(block)].lineEnds;
  for (int r = block * kBlock; r < row; ++r) ends += RowEndsLine(lines_[r]) ? 1 : 0;
  return ends;
}

long long TLineIndex::BytesBeforeRow(int row) const {
  Refresh();
  row = std::clamp(row, 0, lines_.Count());
  const int block = row / kBlock;
  ExtendTo(block);
  long long bytes = checkpoints_[static_cast<std::size_t>(block)].bytes;
  for (int r = block * kBlock; r < row; ++r) bytes += static_cast<long long>(lines_[r].size());
  return bytes;
}

int TLineIndex::FirstRowOfLine(int line) const {
  Refresh();
  const int count = lines_.Count();
  if (count == 0 || line <= 0) return 0;
  const int lastBlock = (count - 1) / kBlock;
  // Extend until a checkpoint has counted `line` ends, or the end.
  while (checkpoints_.back().lineEnds < line &&
         static_cast<int>(checkpoints_.size()) <= lastBlock) {
    ExtendTo(static_cast<int>(checkpoints_.size()));
  }
  // The last checkpoint with fewer than `line` ends before it: the block of
  // the previous query or the one before it (queries walk nearby lines, as
  // undo does), else a binary search.
  const std::size_t size = checkpoints_.size();
  auto holds = [&](std::size_t b) {
    return b < size && checkpoints_[b].lineEnds < line &&
           (b + 1 == size || checkpoints_[b + 1].lineEnds >= line);
  };
  std::size_t found = lastBlock_;
  if (!holds(found)) found = lastBlock_ - 1;  // wraps to a huge value at 0: no hold
  if (!holds(found)) {
    const auto after =
        std::lower_bound(checkpoints_.begin(), checkpoints_.end(), line,
                         [](const Checkpoint& c, int value) { return c.lineEnds < value; });
    found = static_cast<std::size_t>(after - checkpoints_.begin()) - 1;
  }
  lastBlock_ = found;
  const int block = static_cast<int>(found);
  int ends = checkpoints_[static_cast<std::size_t>(block)].lineEnds;
  for (int r = block * kBlock; r < count - 1; ++r) {
    ends += RowEndsLine(lines_[r]) ? 1 : 0;
    if (ends == line) return r + 1;
  }
  return count - 1;
}

void LogicalToRow(const TZelStrings& lines, const TLineIndex& index, int& offset, int& line) {
  int row = index.FirstRowOfLine(line);
  const int last = lines.Count() - 1;
  int a = offset;
  int result = a;
  // Spend the offset row by row: an offset equal to a soft row's length
  // lands at the start of the next row.
  while (a >= 0) {
    result = a;
    a -= static_cast<int>(lines[row].size());
    if (a < 0 || row >= last) break;
    ++row;
  }
  offset = result;
  line = row;
}

void RowToLogical(const TZelStrings& lines, const TLineIndex& index, int& offset, int& row) {
  const int r = std::clamp(row, 0, std::max(lines.Count() - 1, 0));
  for (int k = r - 1; k >= 0 && !RowEndsLine(lines[k]); --k) {
    offset += static_cast<int>(lines[k].size());
  }
  row = index.LineOfRow(r);
}

}  // namespace notavo
