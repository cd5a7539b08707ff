// Conversions between row coordinates (row, offset in the row) and logical
// coordinates (logical line, offset in the line), kept cheap near the caret.
//
// The index keeps, for every kBlock-th row, the number of rows before it
// that end a line and their bytes. Edits only invalidate the checkpoints behind the lowest
// changed row (the store reports it), and checkpoints are rebuilt lazily up
// to the row a query needs. A query therefore costs O(log B + kBlock + the
// rows of the one logical line involved), plus, once after an edit, a walk
// from the edit to the queried row. Positions near the caret, which is where
// edits happen, never walk the document.
#pragma once

#include <cstdint>
#include <vector>

namespace notavo {

class TZelStrings;

class TLineIndex {
 public:
  static constexpr int kBlock = 16;

  explicit TLineIndex(const TZelStrings& lines) : lines_(lines) {}

  // Queries are const: the checkpoints are a cache of the rows.
  // Number of rows before `row` that end a line: the logical line of `row`.
  int LineOfRow(int row) const;
  // First row of logical line `line`, or the last row when there are fewer
  // lines.
  int FirstRowOfLine(int line) const;
  // Bytes of the rows before `row` (0..row count): where the row starts in
  // the flat text, terminators included.
  long long BytesBeforeRow(int row) const;
  // After a rebuild that knows how many rows each logical line took: all
  // checkpoints at once, from the row sizes alone, so the first edit after
  // opening a large file does not walk the document.
  void Prime(const std::vector<int>& rowsPerLine);

 private:
  struct Checkpoint {
    int lineEnds = 0;     // rows ending a line before the block
    long long bytes = 0;  // bytes of the rows before the block
  };
  void Refresh() const;
  void ExtendTo(int block) const;  // make checkpoints 0..block valid

  const TZelStrings& lines_;
  mutable std::vector<Checkpoint> checkpoints_;  // per block start; all valid
  mutable std::uint64_t seen_ = 0;               // the store's generation they reflect
  mutable std::size_t lastBlock_ = 0;            // where the last line was found
};

// (logical line, offset) → (row, offset in the row). An offset reaching the
// end of a soft row lands at the start of the next row; the walk never
// passes the last row.
void LogicalToRow(const TZelStrings& lines, const TLineIndex& index, int& offset, int& line);
// (row, offset in the row) → (logical line, offset in the line).
void RowToLogical(const TZelStrings& lines, const TLineIndex& index, int& offset, int& row);

}  // namespace notavo
