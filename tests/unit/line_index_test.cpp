// Row ↔ logical conversions against a plain walk from row 0, before and
// after the store changes under the index.
#include "editor/layout/line_index.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <string>
#include <vector>

#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

using namespace std::string_literals;

// The obvious walks, counting rows that end a line.
void NaiveLogicalToRow(const TZelStrings& lines, int& offset, int& line) {
  int row = 0, counted = 0;
  const int last = lines.Count() - 1;
  while (counted < line && row < last) {
    if (RowEndsLine(lines[row])) ++counted;
    ++row;
  }
  int a = offset, result = a;
  for (;;) {
    result = a;
    a -= static_cast<int>(lines[row].size());
    if (a < 0 || row == last) break;
    ++row;
  }
  offset = result;
  line = row;
}

void NaiveRowToLogical(const TZelStrings& lines, int& offset, int& row) {
  int line = 0;
  for (int r = 0; r < row; ++r) line += RowEndsLine(lines[r]) ? 1 : 0;
  for (int r = row - 1; r >= 0 && !RowEndsLine(lines[r]); --r)
    offset += static_cast<int>(lines[r].size());
  row = line;
}

std::string RandomRow(std::mt19937& rng) {
  std::string row(rng() % 6, 'x');
  switch (rng() % 4) {
    case 0:
      return row;  // soft row
    case 1:
      return row + "\n";  // ends in LF but is a soft row
    default:
      return row + "\r\n";
  }
}

void FillRandom(TZelStrings& lines, std::mt19937& rng, int rows) {
  lines.Clear();
  for (int i = 0; i < rows; ++i) lines.Add(RandomRow(rng));
  lines.Add("tail\0\0"s);
}

TEST(LineIndex, SoftRowEndingInLfIsNotALineEnd) {
  TZelStrings lines;
  for (const std::string& r : {"ab\n"s, "cd\r\n"s, "ef\0\0"s}) lines.Add(r);
  TLineIndex index(lines);
  int offset = 1, row = 1;
  RowToLogical(lines, index, offset, row);
  EXPECT_EQ(row, 0);
  EXPECT_EQ(offset, 4);
  int col = 4, line = 0;
  LogicalToRow(lines, index, col, line);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(col, 1);
}

TEST(LineIndex, OffsetAtSoftRowEndLandsOnNextRow) {
  TZelStrings lines;
  for (const std::string& r : {"abc"s, "de\r\n"s, "\0\0"s}) lines.Add(r);
  TLineIndex index(lines);
  int col = 3, line = 0;
  LogicalToRow(lines, index, col, line);
  EXPECT_EQ(line, 1);
  EXPECT_EQ(col, 0);
}

TEST(LineIndex, NeverWalksPastTheLastRow) {
  TZelStrings lines;
  for (const std::string& r : {"a\r\n"s, "b\0\0"s}) lines.Add(r);
  TLineIndex index(lines);
  int col = 50, line = 7;
  LogicalToRow(lines, index, col, line);
  EXPECT_EQ(line, 1);
  int offset = 0, row = 99;
  RowToLogical(lines, index, offset, row);
  EXPECT_EQ(row, 1);
}

TEST(LineIndex, AgreesWithNaiveWalkThroughRandomEdits) {
  std::mt19937 rng(5);
  TZelStrings lines;
  FillRandom(lines, rng, 700);
  // Several readers of the store's changes, each asking at its own pace;
  // some fall further behind than the store remembers changes.
  std::vector<std::unique_ptr<TLineIndex>> indexes;
  for (int i = 0; i < 3; ++i) indexes.push_back(std::make_unique<TLineIndex>(lines));
  for (int step = 0; step < 3000; ++step) {
    // Edit somewhere, then query somewhere else, like caret moves after edits.
    const int edits = rng() % 8 == 0 ? static_cast<int>(rng() % 100) : 1;
    for (int e = 0; e < edits; ++e) {
      const int count = lines.Count();
      // A burst's later edits stay near the end, so a reader that missed
      // its first one must still learn about the low row.
      auto pick = [&](int n) {
        return e == 0 ? static_cast<int>(rng() % n) : std::max(0, n - 1 - static_cast<int>(rng() % 20));
      };
      switch (rng() % 5) {
        case 0:
          lines.Insert(pick(count), RandomRow(rng));
          break;
        case 1:
          if (count > 2) lines.Delete(pick(count - 1));
          break;
        case 2:
          lines.Put(pick(count - 1), RandomRow(rng));
          break;
        default:
          break;  // queries only
      }
      // Readers look in between now and then, so changes get generations
      // of their own.
      if (rng() % 3 == 0) (void)indexes[rng() % 2]->LineOfRow(0);
    }
    // The last reader looks only now and then, far behind the others.
    const TLineIndex& index = *indexes[step % 37 == 0 ? 2 : rng() % 2];
    const int last = lines.Count() - 1;
    int row = static_cast<int>(rng() % (last + 1)), offset = static_cast<int>(rng() % 4);
    int naiveRow = row, naiveOffset = offset;
    RowToLogical(lines, index, offset, row);
    NaiveRowToLogical(lines, naiveOffset, naiveRow);
    ASSERT_EQ(row, naiveRow) << step;
    ASSERT_EQ(offset, naiveOffset) << step;

    const int probe = static_cast<int>(rng() % (last + 2));
    long long naiveBytes = 0;
    for (int r = 0; r < probe; ++r) naiveBytes += static_cast<long long>(lines[r].size());
    ASSERT_EQ(index.BytesBeforeRow(probe), naiveBytes) << step;
    ASSERT_EQ(lines.TotalBytes(), index.BytesBeforeRow(lines.Count())) << step;

    int line = static_cast<int>(rng() % (last + 3)), col = static_cast<int>(rng() % 12);
    int naiveLine = line, naiveCol = col;
    LogicalToRow(lines, index, col, line);
    NaiveLogicalToRow(lines, naiveCol, naiveLine);
    ASSERT_EQ(line, naiveLine) << step;
    ASSERT_EQ(col, naiveCol) << step;
  }
}

TEST(LineIndex, RoundTripsEveryPosition) {
  std::mt19937 rng(8);
  TZelStrings lines;
  FillRandom(lines, rng, 300);
  TLineIndex index(lines);
  for (int row = 0; row < lines.Count(); ++row) {
    const int length = static_cast<int>(StripLineEnd(lines[row]).size());
    for (int col = 0; col < length; ++col) {
      int r = row, c = col;
      RowToLogical(lines, index, c, r);
      LogicalToRow(lines, index, c, r);
      ASSERT_EQ(r, row);
      ASSERT_EQ(c, col);
    }
  }
}

}  // namespace
}  // namespace notavo
