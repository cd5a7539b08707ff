// Caret placement, bringing it into view, the caret events, the selection,
// and the pixel-to-offset hit test.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/layout/tab_expansion.h"
#include "editor_fixture.h"
#include "textstore/row_terminators.h"
#include "textstore/shift_jis.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using namespace notavo::win;
using testing::EditorFixture;

std::string Rows(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "row " + std::to_string(i) + "\r\n";
  return text;
}

TEST(Caret, ClampedToTheRowContent) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("abc\r\nxy"));
  f.edit.MoveCaretTo(1000, 0, 0, true, true);
  EXPECT_EQ(f.edit.CaretCol(), 3);
  f.edit.MoveCaretTo(1000, 50, 0, true, true);
  EXPECT_EQ(f.edit.CaretRow(), 1);
  EXPECT_EQ(f.edit.CaretCol(), 2);
  EXPECT_EQ(f.edit.CaretX(), 16);
}

TEST(Caret, NegativeColumnOnlyBringsTheCaretIntoView) {
  EditorFixture f;
  f.edit.SetWordWrap(false);
  ASSERT_TRUE(f.Load(Rows(200)));
  f.edit.GoToPosition(2, 150, 0);
  ASSERT_NE(f.edit.TopRow(), 150 - f.edit.VisibleRows() / 2);
  f.edit.MoveCaretTo(-1, 3, 1, false, false);  // centre on the caret, don't move it
  EXPECT_EQ(f.edit.CaretRow(), 150);
  EXPECT_EQ(f.edit.CaretCol(), 2);
  EXPECT_EQ(f.edit.TopRow(), 150 - f.edit.VisibleRows() / 2);
}

TEST(Caret, ScrollsSoTheRowSitsAboveTheMargin) {
  // 30 visible rows of 21 pixels: margin ceil(30 / 5) = 6.
  EditorFixture f;
  f.host.clientSize = {800, 30 * 21 + 4};
  f.Send(WM_SIZE);
  f.edit.SetWordWrap(false);
  ASSERT_TRUE(f.Load(Rows(100)));
  ASSERT_EQ(f.edit.VisibleRows(), 30);
  ASSERT_EQ(f.edit.ScrollMarginRows(), 6);
  EXPECT_TRUE(f.edit.MoveCaretTo(0, 40, 0, true, true));
  EXPECT_EQ(40 - f.edit.TopRow(), 24);
  EXPECT_FALSE(f.edit.MoveCaretTo(0, 41, 0, true, true) && 41 - f.edit.TopRow() != 24);
  // Centre and search-hit modes.
  f.edit.MoveCaretTo(0, 70, 1, true, true);
  EXPECT_EQ(f.edit.TopRow(), 55);
  f.edit.MoveCaretTo(0, 50, 2, true, true);
  EXPECT_EQ(f.edit.TopRow(), 50 - (30 - 24));
  // Back to the top when everything fits.
  EditorFixture g;
  g.edit.SetWordWrap(false);
  ASSERT_TRUE(g.Load(Rows(5)));
  EXPECT_FALSE(g.edit.MoveCaretTo(0, 4, 1, true, true));
  EXPECT_EQ(g.edit.TopRow(), 0);
}

TEST(Caret, ScrolledOutOnTheLeftIsHidden) {
  EditorFixture f;
  f.edit.SetWordWrap(false);
  f.host.clientSize = {210, 200};  // a text area of 200 pixels
  f.Send(WM_SIZE);
  ASSERT_TRUE(f.Load(std::string(200, 'w') + "\r\nx"));
  f.edit.MoveCaretTo(100, 0, 0, true, true);  // 800 pixels in: scrolls right
  EXPECT_GT(f.edit.ScrollX(), 0);
  EXPECT_EQ(f.edit.CaretX() + f.edit.ScrollX(), 800);
  // Now the row below, at its start, without scrolling back yet.
  f.edit.UpdateCaret();
  const int scrollX = f.edit.ScrollX();
  ASSERT_GT(scrollX, 0);
  f.edit.MoveCaretTo(0, 1, 0, true, true);
  EXPECT_EQ(f.edit.ScrollX(), 0);  // x < 3: the view returns to its left end
}

TEST(CaretEvents, SelectionChangeBeforeMoveCaretAndOnlyOnChange) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("abc\r\ndef"));
  std::vector<std::string> events;
  f.edit.OnSelectionChange = [&](TZelEdit&) { events.push_back("sel"); };
  f.edit.OnMoveCaret = [&](TZelEdit&) { events.push_back("move"); };
  f.edit.GoToPosition(1, 1, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"sel", "move"}));
  events.clear();
  f.edit.UpdateCaret();
  EXPECT_TRUE(events.empty());
}

TEST(CaretEvents, NothingWhileUnfocusedThenOnceAfterRefocus) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("abc\r\ndef"));
  int events = 0;
  f.edit.OnMoveCaret = [&](TZelEdit&) { ++events; };
  f.Send(WM_KILLFOCUS);
  EXPECT_FALSE(f.host.timerRunning);
  EXPECT_FALSE(f.host.caret.exists);
  const TPoint before = f.host.caret.pos;
  f.edit.GoToPosition(2, 1, 0);
  f.edit.GoToPosition(3, 1, 0);
  EXPECT_EQ(events, 0);
  EXPECT_EQ(f.host.caret.pos, before);
  f.Send(WM_SETFOCUS);
  EXPECT_TRUE(f.host.caret.exists);
  EXPECT_EQ(f.host.caret.width, 2);
  EXPECT_EQ(f.host.caret.height, f.edit.CharHeight());
  f.edit.UpdateCaret();
  EXPECT_EQ(events, 1);
  f.edit.UpdateCaret();
  EXPECT_EQ(events, 1);
  EXPECT_EQ(f.host.caret.pos,
            (TPoint{f.edit.TextLeft() + 3 * 8, f.edit.RowPitch() + f.edit.TopMargin()}));
}

TEST(Selection, GetSelectionNormalisesAndEndsOnTheRowAbove) {
  EditorFixture f;
  f.edit.SetWordWrap(false);
  ASSERT_TRUE(f.Load(Rows(10)));
  f.edit.SetSelection(0, 5, 2, 3);  // anchor after the caret
  TSelectionRange r = f.edit.GetSelection();
  EXPECT_TRUE(r.Selected);
  EXPECT_EQ(r.StartRow, 2);
  EXPECT_EQ(r.StartCol, 3);
  EXPECT_EQ(r.EndRow, 4);  // the end at the start of row 5 is row 4's full length
  EXPECT_EQ(r.EndCol, 7);
  f.edit.ClearSelection();
  r = f.edit.GetSelection();
  EXPECT_FALSE(r.Selected);
  EXPECT_EQ(r.StartRow, f.edit.CaretRow());
  EXPECT_EQ(f.edit.Anchor(), (TRowPos{f.edit.CaretRow(), f.edit.CaretCol()}));
}

TEST(Selection, SelTextAcrossSoftRowsHasNoLineBreak) {
  EditorFixture f;
  f.edit.SetColumn(10);
  ASSERT_TRUE(f.Load(std::string(15, 'a') + "\r\nb"));
  ASSERT_EQ(f.edit.Lines()[0], std::string(10, 'a'));
  f.edit.SetSelection(8, 0, 1, 2);
  EXPECT_EQ(f.edit.GetSelText(), "aaaa");
  EXPECT_EQ(f.edit.GetSelLength(), 4);
}

TEST(Selection, SelectAllAndTheEmptyDocument) {
  EditorFixture empty;
  empty.edit.SelectAll();
  EXPECT_FALSE(empty.edit.HasSelection());
  EditorFixture f;
  ASSERT_TRUE(f.Load("ab\r\ncd"));
  int selectionEvents = 0;
  f.edit.OnSelectionChange = [&](TZelEdit&) { ++selectionEvents; };
  f.edit.SelectAll();
  EXPECT_TRUE(f.edit.HasSelection());
  EXPECT_EQ(selectionEvents, 1);
  EXPECT_EQ(f.edit.GetSelText(), "ab\r\ncd");
  EXPECT_EQ(f.edit.GetSelLength(), 6);
  const TSelectionRange r = f.edit.GetSelection();
  EXPECT_EQ(r.EndRow, 1);
  EXPECT_EQ(r.EndCol, 2);
  f.edit.UpdateCaret();
  EXPECT_EQ(selectionEvents, 1);  // SelectAll took the caret values already
}

TEST(Selection, ShiftExtendsPlainMoveClears) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("hello world"));
  f.host.keysDown[VK_SHIFT] = true;
  f.edit.MoveCaretTo(5, 0, 0, true, false);
  f.edit.ExtendOrClearSelection();
  EXPECT_TRUE(f.edit.HasSelection());
  EXPECT_EQ(f.edit.GetSelText(), "hello");
  f.host.keysDown[VK_SHIFT] = false;
  f.edit.MoveCaretTo(7, 0, 0, true, false);
  f.edit.ExtendOrClearSelection();
  EXPECT_FALSE(f.edit.HasSelection());
  EXPECT_EQ(f.edit.Anchor(), (TRowPos{0, 7}));
}

TEST(Selection, GoToPositionSnapsTrailBytesAndClearsTheSelection) {
  EditorFixture f;
  ASSERT_TRUE(
      f.Load("\x93\xFA"
             "a\x93\xFA"));
  f.edit.SelectAll();
  f.edit.GoToPosition(4, 0, 0);
  EXPECT_FALSE(f.edit.HasSelection());
  EXPECT_EQ(f.edit.CaretCol(), 3);
  f.edit.GoToPosition(-7, 0, 0);
  EXPECT_EQ(f.edit.CaretCol(), 0);
}

TEST(Caret, ColumnCountsExpandedCells) {
  EditorFixture f;
  f.edit.SetTabCount(4);
  ASSERT_TRUE(
      f.Load("a\tb\x93\xFA"
             "c"));
  f.edit.GoToPosition(3, 0, 0);
  EXPECT_EQ(f.edit.GetCaretColumn(), 5);
  f.edit.GoToPosition(5, 0, 0);
  EXPECT_EQ(f.edit.GetCaretColumn(), 7);
}

// --- hit test --------------------------------------------------------------

// The nearest character boundary by brute force; the midpoint goes left.
int NearestBoundary(const TZelEdit& edit, const std::string& row, int x, int& outX) {
  const std::string s = StripLineEnd(row);
  int best = 0, bestX = 0;
  if (x <= 0) {
    outX = 0;
    return 0;
  }
  std::vector<int> bounds;
  for (int i = 0; i < static_cast<int>(s.size());) {
    bounds.push_back(i);
    i += ByteTypeAt(s, i + 1, false) == btLead && i + 1 < static_cast<int>(s.size()) ? 2 : 1;
  }
  bounds.push_back(static_cast<int>(s.size()));
  for (std::size_t k = 0; k < bounds.size(); ++k) {
    const int w = edit.PrefixWidth(s, bounds[k]);
    if (w <= x) {
      best = bounds[k];
      bestX = w;
    }
    if (w > x) {
      const int half = (w - bestX) / 2;
      if (x > w - half) {
        best = bounds[k];
        bestX = w;
      }
      break;
    }
  }
  outX = bestX;
  return best;
}

TEST(HitTest, XToColFindsTheNearestBoundaryOnRandomRows) {
  EditorFixture f;
  f.edit.SetTabCount(4);
  std::mt19937 rng(17);
  const char bytes[] = {'a', 'b', '\t', '\x93', '\xFA', '\x81', '\x40', ' '};
  for (int round = 0; round < 400; ++round) {
    std::string row;
    const int length = static_cast<int>(rng() % 40);
    for (int i = 0; i < length; ++i) row.push_back(bytes[rng() % sizeof bytes]);
    row += "\r\n";
    const int width = f.edit.PrefixWidth(row, static_cast<int>(row.size()));
    for (int x = -3; x <= width + 10; x += 1 + static_cast<int>(rng() % 3)) {
      int outFast = -1, outRef = -2;
      const int fast = f.edit.XToCol(row, x, outFast);
      const int ref = NearestBoundary(f.edit, row, x, outRef);
      ASSERT_EQ(fast, ref) << ::testing::PrintToString(row) << " x=" << x;
      ASSERT_EQ(outFast, outRef);
    }
  }
}

TEST(HitTest, MidpointGoesLeftAndTrailValuesAreNotLeads) {
  EditorFixture f;
  int outX = 0;
  // "日a": 93 FA 61, each byte 8 pixels: 日 spans 0..16.
  EXPECT_EQ(f.edit.XToCol("\x93\xFA"
                          "a",
                          8, outX),
            0);
  EXPECT_EQ(f.edit.XToCol("\x93\xFA"
                          "a",
                          9, outX),
            2);
  EXPECT_EQ(outX, 16);
  EXPECT_EQ(f.edit.XToCol("\x93\xFA"
                          "a",
                          20, outX),
            2);
  EXPECT_EQ(f.edit.XToCol("\x93\xFA"
                          "a",
                          21, outX),
            3);
  EXPECT_EQ(f.edit.XToCol("ab\r\n", 1000, outX), 2);
  EXPECT_EQ(outX, 16);
}

}  // namespace
}  // namespace notavo
