// Scroll bars, scroll messages and the wheel, with scaled 16-bit ranges.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "editor_fixture.h"

namespace notavo {
namespace {

using namespace notavo::win;
using testing::EditorFixture;

std::string Rows(int n) {
  std::string text;
  text.reserve(static_cast<std::size_t>(n) * 3);
  for (int i = 0; i < n; ++i) text += "x\r\n";
  return text;
}

// 30 visible rows of 21 pixels (margin 6), wrap off.
class Scrolling : public ::testing::Test {
 protected:
  void SetUp() override {
    f.host.clientSize = {800, 30 * 21 + 4};
    f.Send(WM_SIZE);
    f.edit.SetWordWrap(false);
  }
  int V(int code, int thumb = 0) {
    return static_cast<int>(f.Send(WM_VSCROLL, static_cast<WPARAM>(MakeLong(code, thumb)), 0));
  }
  EditorFixture f;
};

TEST_F(Scrolling, ShortDocumentNeverScrolls) {
  ASSERT_TRUE(f.Load(Rows(9)));  // 10 rows
  EXPECT_EQ(f.edit.MaxTopRow(), 0);
  EXPECT_EQ(f.host.bars[sbVert].arrows, saDisableBoth);
  EXPECT_TRUE(f.host.bars[sbVert].shown);
  for (int code : {SB_LINEDOWN, SB_PAGEDOWN, SB_BOTTOM, SB_LINEUP}) EXPECT_EQ(V(code), 0);
  EXPECT_EQ(f.edit.TopRow(), 0);
}

TEST_F(Scrolling, BottomLeavesTheMarginEmpty) {
  ASSERT_TRUE(f.Load(Rows(99)));  // 100 rows
  EXPECT_EQ(V(SB_BOTTOM), 75);
  EXPECT_EQ(f.edit.TopRow(), 75);
  EXPECT_EQ(f.Send(EM_GETFIRSTVISIBLELINE), 75);
  EXPECT_EQ(V(SB_LINEDOWN), 0);
  EXPECT_EQ(V(SB_TOP), -75);
}

TEST_F(Scrolling, LargeDocumentsUseAScaledThumb) {
  ASSERT_TRUE(f.Load(Rows(99999)));  // 100 000 rows
  EXPECT_EQ(f.edit.MaxTopRow(), 99975);
  EXPECT_EQ(f.edit.VScale(), 4);
  EXPECT_EQ(f.host.bars[sbVert].max, 24994);
  V(SB_THUMBTRACK, 10);
  EXPECT_EQ(f.edit.TopRow(), 40);
  EXPECT_EQ(f.host.bars[sbVert].pos, 10);
}

TEST_F(Scrolling, WheelNotchScrollsTwoRows) {
  ASSERT_TRUE(f.Load(Rows(200)));
  V(SB_PAGEDOWN);
  const int top = f.edit.TopRow();
  f.Send(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLong(0, 120)), 0);
  EXPECT_EQ(f.edit.TopRow(), top - 2);
  f.Send(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLong(0, 60)), 0);
  EXPECT_EQ(f.edit.TopRow(), top - 2);
  f.Send(WM_MOUSEWHEEL, static_cast<WPARAM>(MakeLong(0, static_cast<unsigned>(-240) & 0xFFFF)), 0);
  EXPECT_EQ(f.edit.TopRow(), top + 2);
}

TEST_F(Scrolling, PagingCarriesTheCaretUnlessScrollFixIsOn) {
  ASSERT_TRUE(f.Load(Rows(200)));
  f.edit.GoToPosition(0, 2, 0);
  EXPECT_EQ(V(SB_PAGEDOWN), 30);
  EXPECT_EQ(f.edit.CaretRow(), 32);
  f.edit.SetCaretScrollFix(true);
  V(SB_PAGEDOWN);
  EXPECT_EQ(f.edit.CaretRow(), 32);  // stays on its text row, out of view
}

TEST_F(Scrolling, WideRowsUseAScaledHorizontalThumb) {
  f.edit.SetHorzScrollBar(true);
  ASSERT_TRUE(f.Load(std::string(5000, 'w') + "\r\nx"));  // 40 000 pixels
  f.edit.PaintView();
  EXPECT_EQ(f.edit.MaxRowWidth(), (5000 + 2) * 8);
  EXPECT_EQ(f.edit.HScale(), 2);
  EXPECT_EQ(f.host.bars[sbHorz].arrows, saEnableBoth);
  f.Send(WM_HSCROLL, static_cast<WPARAM>(MakeLong(SB_THUMBTRACK, 1000)), 0);
  EXPECT_EQ(f.edit.ScrollX(), 2000);
  // Never more than one jump of empty space right of the widest row.
  f.Send(WM_HSCROLL, static_cast<WPARAM>(MakeLong(SB_THUMBTRACK, 30000)), 0);
  EXPECT_EQ(f.edit.ScrollX(), f.edit.MaxRowWidth() - f.edit.ScrollJumpX());
}

// Typing that widens the widest row sets the horizontal range only every
// half a view, and the range always lets the widest row's end be reached.
TEST_F(Scrolling, WideningRowsMoveTheHorizontalRangeInSteps) {
  f.edit.SetHorzScrollBar(true);
  ASSERT_TRUE(f.Load(std::string(300, 'w')));
  f.edit.DocumentEnd();
  std::set<int> ranges;
  for (int i = 0; i < 200; ++i) {
    f.edit.TypeText("x");
    const int range = f.host.bars[sbHorz].max;
    ranges.insert(range);
    EXPECT_GE(range * f.edit.HScale(),
              f.edit.MaxRowWidth() - f.edit.ScrollJumpX() - f.edit.HScale());
  }
  EXPECT_LE(ranges.size(), 200u * 8 / (f.edit.TextAreaWidth() / 2) + 2);
}

TEST_F(Scrolling, NarrowRowsNeverScrollSideways) {
  f.edit.SetHorzScrollBar(true);
  ASSERT_TRUE(f.Load("short\r\nrows"));
  f.edit.PaintView();
  f.Send(WM_HSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(f.edit.ScrollX(), 0);
  EXPECT_EQ(f.host.bars[sbHorz].arrows, saDisableBoth);
}

TEST_F(Scrolling, DeletingRowsBelowTheViewBringsItBack) {
  ASSERT_TRUE(f.Load(Rows(200)));
  V(SB_BOTTOM);
  ASSERT_GT(f.edit.TopRow(), 100);
  f.edit.SelectAll();
  f.edit.DeleteCharRight();  // everything goes
  EXPECT_EQ(f.edit.Lines().Count(), 1);
  EXPECT_EQ(f.edit.TopRow(), 0);
  EXPECT_EQ(f.Send(EM_GETFIRSTVISIBLELINE), 0);
}

TEST(ScrollingWide, RowsWiderThan32BitsNeverOverflow) {
  // 1000-pixel characters: 3 MiB in one row is 3 G pixels.
  EditorFixture g({1000, 19});
  g.edit.SetWordWrap(false);
  g.edit.SetHorzScrollBar(true);
  ASSERT_TRUE(g.Load(std::string(3u << 20, 'w')));
  g.edit.GoToPosition(3 << 20, 0, 0);
  EXPECT_GE(g.edit.CaretX(), 0);
  EXPECT_GE(g.edit.ScrollX(), 0);
  g.edit.PaintView();
  EXPECT_GT(g.edit.MaxRowWidth(), 0);
  EXPECT_GE(g.edit.HScale(), 1);
}

TEST_F(Scrolling, ResizeNeverLeavesTheViewPastTheEnd) {
  ASSERT_TRUE(f.Load(Rows(200)));
  V(SB_BOTTOM);
  ASSERT_GT(f.edit.TopRow(), 100);
  ASSERT_TRUE(f.Load(Rows(20)));  // fewer rows: the view resets with the document
  EXPECT_EQ(f.edit.TopRow(), 0);
  f.host.clientSize = {800, 100};
  f.Send(WM_SIZE);
  EXPECT_LE(f.edit.TopRow(), f.edit.MaxTopRow());
}

// Keys, the wheel and the bar scroll the view by moving the pixels of the
// rows that stay and painting the rows uncovered; after each message (and
// the paint it left pending) the screen must hold what a full repaint
// draws. Each message hides, shows and places the caret at most once and
// reads each key's state once.
TEST(ScrollingPixels, MovedRowsAndPaintedStripsMatchAFullRepaint) {
  std::mt19937 random(16);
  std::size_t pixelScrolls = 0;
  for (int round = 0; round < 12; ++round) {
    EditorFixture g;
    g.host.clientSize = {480, 10 * 21 + 4 + static_cast<int>(random() % 21)};
    g.host.KeepScreen();
    g.Send(WM_SIZE);
    g.edit.SetWordWrap(round % 3 == 2);
    g.edit.SetShowLineNumber(round % 2 == 0);
    g.edit.SetShowUnderLine(round % 4 < 2);
    g.edit.SetShowTAB(true);
    g.edit.SetHorzScrollBar(true);
    std::string text;
    const char* const pieces[] = {"word ", "\t", "\x82\xA0", "\x81\x40", "http://x.jp/ ", "> "};
    const int rows = 5 + static_cast<int>(random() % 40);
    for (int r = 0; r < rows; ++r) {
      for (int n = static_cast<int>(random() % 12); n > 0; --n) text += pieces[random() % 6];
      text += "\r\n";
    }
    ASSERT_TRUE(g.Load(text));
    g.Send(WM_PAINT);
    for (int step = 0; step < 120; ++step) {
      const int invalidated = g.host.invalidations;
      const auto caret = g.host.caret;
      const auto keyReads = g.host.keyStateReads;
      std::string what;
      switch (random() % 8) {
        case 0:
        case 1:
          what = "Down";
          g.Send(WM_KEYDOWN, VK_DOWN);
          break;
        case 2:
          what = "Up";
          g.Send(WM_KEYDOWN, VK_UP);
          break;
        case 3:
          what = "wheel";
          g.Send(WM_MOUSEWHEEL,
                 MakeLong(0, random() % 2 ? 120 : static_cast<unsigned>(-120) & 0xFFFF));
          break;
        case 4:
          what = "bar";
          g.Send(WM_VSCROLL, random() % 2 ? SB_LINEDOWN : SB_LINEUP);
          break;
        case 5:
          what = "typing";
          g.Send(WM_CHAR, 'a' + random() % 26);
          break;
        case 6:
          what = "Enter";
          g.Send(WM_KEYDOWN, VK_RETURN);
          break;
        default:
          what = "Page Down";
          g.Send(WM_KEYDOWN, random() % 2 ? VK_NEXT : VK_PRIOR);
          break;
      }
      EXPECT_LE(g.host.caret.hides - caret.hides, 1) << what;
      EXPECT_LE(g.host.caret.shows - caret.shows, 1) << what;
      EXPECT_LE(g.host.caret.placements - caret.placements, 1) << what;
      EXPECT_EQ(g.host.caret.visibleCount, caret.visibleCount) << what;
      for (const auto& [key, reads] : g.host.keyStateReads) {
        EXPECT_LE(reads - (keyReads.contains(key) ? keyReads.at(key) : 0), 1) << what;
      }
      if (g.host.invalidations != invalidated) g.Send(WM_PAINT);
      const std::vector<std::uint32_t> shown = g.host.screen.Pixels();
      g.host.KeepScreen();
      g.Send(WM_PAINT);
      const auto& full = g.host.screen.Pixels();
      const auto differs = std::mismatch(shown.begin(), shown.end(), full.begin());
      if (differs.first != shown.end()) {
        const auto at = differs.first - shown.begin();
        FAIL() << "round " << round << " step " << step << " after " << what << ": pixel ("
               << at % g.host.clientSize.X << ", " << at / g.host.clientSize.X << ") is "
               << std::hex << *differs.first << ", a full repaint draws " << *differs.second
               << std::dec << "; top row " << g.edit.TopRow() << ", caret row "
               << g.edit.CaretRow();
      }
    }
    pixelScrolls += g.host.pixelScrolls.size();
  }
  EXPECT_GT(pixelScrolls, 100u);
}
}  // namespace
}  // namespace notavo
