// Rebuilding the store as rows and back, and re-cutting after edits,
// checked against a full rebuild of the flat text and plain conversions.
#include "editor/layout/word_wrap.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/layout/line_index.h"
#include "textstore/row_terminators.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using Rows = std::vector<std::string>;

Rows RowsOf(const TZelStrings& s) {
  Rows rows;
  for (int i = 0; i < s.Count(); ++i) rows.emplace_back(s[i]);
  return rows;
}

std::string RandomText(std::mt19937& rng, int maxLength) {
  static const char kBytes[] = {'a', 'b', 'c', ' ', '\t', '\x93', '\xFA', '\x82', '\xA0', '\r'};
  std::string s;
  const int length = static_cast<int>(rng() % (maxLength + 1));
  for (int i = 0; i < length; ++i) s.push_back(kBytes[rng() % sizeof kBytes]);
  return s;
}

void FillLogicalLines(TZelStrings& lines, std::mt19937& rng, int count) {
  lines.Clear();
  for (int i = 0; i < count; ++i) lines.Add(RandomText(rng, 70) + "\r\n");
  lines.Add(RandomText(rng, 70) + "\0\0"s);
}

// Where a position is in the flat text: the sum of the row lengths before
// it plus its offset. Both coordinate systems must agree on this.
long FlatOffset(const TZelStrings& lines, TRowPos p) {
  long at = 0;
  for (int r = 0; r < p.Row; ++r) at += static_cast<long>(lines[r].size());
  return at + p.Col;
}

TWrapParams Column(int column) {
  TWrapParams p;
  p.Column = column;
  p.TabCount = 4;
  return p;
}

TEST(WordWrap, WrapAndUnwrapReturnTheSameRowsAndCaret) {
  std::mt19937 rng(31);
  for (int round = 0; round < 200; ++round) {
    TZelStrings lines;
    FillLogicalLines(lines, rng, 1 + static_cast<int>(rng() % 40));
    const Rows original = RowsOf(lines);
    TLineIndex index(lines);
    // Narrow columns cut most lines (a full rebuild); wide ones only a few
    // (the cut lines are replaced in place).
    const TWrapParams params = Column(10 + static_cast<int>(rng() % 70));
    const int row = static_cast<int>(rng() % lines.Count());
    TRowPos caret{row, static_cast<int>(rng() % (StripLineEnd(lines[row]).size() + 1))};
    TRowPos anchor{0, 0};
    const TRowPos before = caret;
    const long flat = FlatOffset(lines, caret);

    RebuildRows(lines, index, true, params, caret, anchor);
    TZelStrings copy;
    copy.Assign(original);
    ASSERT_EQ(RowsOf(lines), WrapAll(copy, params));
    ASSERT_EQ(FlatOffset(lines, caret), flat);
    ASSERT_LE(caret.Col, static_cast<int>(lines[caret.Row].size()));
    ASSERT_EQ(anchor, (TRowPos{0, 0}));

    RebuildRows(lines, index, false, params, caret, anchor);
    ASSERT_EQ(RowsOf(lines), original);
    ASSERT_EQ(caret, before);
  }
}

TEST(WordWrap, CaretAtSoftRowEndShowsOnNextRow) {
  TZelStrings lines;
  lines.Add(std::string(25, 'a') + "\0\0"s);
  TLineIndex index(lines);
  TRowPos caret{0, 10}, anchor{0, 20};
  RebuildRows(lines, index, true, Column(10), caret, anchor);
  EXPECT_EQ(caret, (TRowPos{1, 0}));
  EXPECT_EQ(anchor, (TRowPos{2, 0}));
}

// Simulates an edit on a wrapped store: the caret's logical line gets new
// text (maybe with line breaks), its old rows are replaced by the new text
// as rows cut anyhow, then RewrapRows must restore the proper layout.
TEST(WordWrap, RewrapAfterEditsMatchesFullRebuild) {
  std::mt19937 rng(77);
  for (int round = 0; round < 400; ++round) {
    TZelStrings lines;
    FillLogicalLines(lines, rng, 2 + static_cast<int>(rng() % 20));
    TLineIndex index(lines);
    const TWrapParams params = Column(10 + static_cast<int>(rng() % 20));
    TRowPos caret{0, 0}, anchor{0, 0};
    RebuildRows(lines, index, true, params, caret, anchor);

    // Pick a row and edit its bytes (keeping the row's terminator).
    const int row = static_cast<int>(rng() % lines.Count());
    const std::string old(lines[row]);
    const bool endsLine = RowEndsLine(old);
    const std::string term = endsLine ? old.substr(old.size() - 2) : "";
    std::string body = endsLine ? old.substr(0, old.size() - 2) : old;
    const int at = static_cast<int>(rng() % (body.size() + 1));
    std::string inserted = RandomText(rng, 40);
    const bool split = rng() % 3 == 0;
    int lastEdited = row;
    Rows replacement;
    if (split) {
      replacement = {body.substr(0, at) + inserted + "\r\n", body.substr(at) + term};
      lastEdited = row + 1;
    } else if (rng() % 2 == 0 && !body.empty()) {
      body.erase(static_cast<std::size_t>(at), rng() % 30);
      replacement = {body + term};
      inserted.clear();
    } else {
      replacement = {body.substr(0, at) + inserted + body.substr(at) + term};
    }
    if (replacement.back().empty()) replacement.pop_back();
    if (replacement.empty()) continue;
    lines.ReplaceRows(row, 1, Rows(replacement));
    // Caret right behind the inserted text (on the row that holds it).
    caret = {row,
             std::min(at + static_cast<int>(inserted.size()), static_cast<int>(lines[row].size()))};
    const long flat = FlatOffset(lines, caret);
    const std::string text = [&] {
      std::string t;
      for (int i = 0; i < lines.Count(); ++i) t += lines[i];
      return t;
    }();

    const TRewrapResult r = RewrapRows(lines, params, row, lastEdited, caret);

    std::string flatAgain;
    for (const auto& line : RowsOf(lines)) flatAgain += line;
    ASSERT_EQ(flatAgain, text);
    ASSERT_EQ(lines.TotalBytes(), static_cast<long long>(text.size()));
    for (int i = 0; i + 1 < lines.Count(); ++i) {
      const std::string_view rowText = lines[i];
      ASSERT_FALSE(rowText.size() >= 2 && rowText.compare(rowText.size() - 2, 2, "\0\0"s) == 0);
    }
    // Every logical line in the store is cut exactly as a fresh cut would.
    TZelStrings logical;
    TRowPos c2{0, 0}, a2{0, 0};
    logical.Assign(RowsOf(lines));
    TLineIndex logicalIndex(logical);
    RebuildRows(logical, logicalIndex, false, params, c2, a2);
    ASSERT_EQ(RowsOf(lines), WrapAll(logical, params)) << round;
    // The caret is on the same byte of the text.
    ASSERT_EQ(FlatOffset(lines, r.Caret), flat) << round;
    ASSERT_LE(r.Start, row);
    ASSERT_EQ(r.RowCountChanged, r.NewEnd != r.OldEnd);
  }
}

TEST(WordWrap, ShrinkingALineLeavesFollowingRowsAlone) {
  TZelStrings lines;
  lines.Add(std::string(25, 'a') + "\r\n");
  lines.Add("next line\r\n");
  lines.Add("\0\0"s);
  TLineIndex index(lines);
  TRowPos caret{0, 0}, anchor{0, 0};
  RebuildRows(lines, index, true, Column(10), caret, anchor);
  ASSERT_EQ(lines.Count(), 5);
  // Delete most of the line: its three rows now hold "aaaaa" + CR LF.
  lines.Put(0, "aaa");
  lines.Put(1, "");
  lines.Put(2, "aa\r\n");
  const TRewrapResult r = RewrapRows(lines, Column(10), 0, 2, {2, 2});
  EXPECT_EQ(RowsOf(lines), (Rows{"aaaaa\r\n", "next line\r\n", "\0\0"s}));
  EXPECT_EQ(r.Caret, (TRowPos{0, 5}));
  EXPECT_EQ(r.OldEnd, 3);
  EXPECT_EQ(r.NewEnd, 1);
  EXPECT_TRUE(r.RowCountChanged);
}

}  // namespace
}  // namespace notavo
