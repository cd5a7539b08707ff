// What the control draws, read back from the headless surface's record:
// text runs, marks, gutter, selection colours, links and quotes.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor_fixture.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using namespace notavo::win;
using testing::EditorFixture;

constexpr TColor kTeal = 0x808000, kBlue = 0xFF0000, kGrey = 0x808080, kWhite = 0xFFFFFF;

// The fixture's metrics: 8-pixel bytes, 19-pixel cells, 21-pixel rows.
class Rendering : public ::testing::Test {
 protected:
  void Load(const std::string& bytes) {
    ASSERT_TRUE(f.Load(bytes));
    f.host.drawn.clear();
    f.edit.PaintView();
  }
  int RowTop(int row) const { return row * f.edit.RowPitch() + f.edit.TopMargin(); }
  std::vector<TDrawCall> Calls(TDrawCall::Kind kind) const {
    std::vector<TDrawCall> out;
    for (const auto& c : f.host.drawn) {
      if (c.kind == kind) out.push_back(c);
    }
    return out;
  }
  // Text drawn with its top at row `row`'s top.
  std::vector<TDrawCall> TextOnRow(int row) const {
    std::vector<TDrawCall> out;
    for (const auto& c : f.host.drawn) {
      if ((c.kind == TDrawCall::kText || c.kind == TDrawCall::kTextRect) &&
          c.from.Y == RowTop(row)) {
        out.push_back(c);
      }
    }
    return out;
  }
  bool HasLine(TPoint from, TPoint to, TColor color) const {
    return std::any_of(f.host.drawn.begin(), f.host.drawn.end(), [&](const TDrawCall& c) {
      return c.kind == TDrawCall::kLine && c.from == from && c.to == to && c.color == color;
    });
  }
  EditorFixture f;
};

TEST_F(Rendering, EmptyDocumentShowsEofAtTheOriginAndRowNumberOne) {
  f.edit.SetShowLineNumber(true);
  f.edit.Redesign();
  Load("");
  const auto row = TextOnRow(0);
  const auto eof =
      std::find_if(row.begin(), row.end(), [](const TDrawCall& c) { return c.text == "[EOF]"; });
  ASSERT_NE(eof, row.end());
  EXPECT_EQ(eof->from.X, f.edit.TextLeft());
  EXPECT_EQ(eof->color, kTeal);
  EXPECT_EQ(eof->background, kWhite);
  const auto number =
      std::find_if(row.begin(), row.end(), [](const TDrawCall& c) { return c.text == "1"; });
  ASSERT_NE(number, row.end());
  EXPECT_EQ(number->from.X, f.edit.TextLeft() - 8 - 7);
  // The gutter rule 4 pixels left of the text.
  EXPECT_TRUE(std::any_of(f.host.drawn.begin(), f.host.drawn.end(), [&](const TDrawCall& c) {
    return c.kind == TDrawCall::kLine && c.from.X == f.edit.TextLeft() - 4 &&
           c.to.X == f.edit.TextLeft() - 4;
  }));
}

TEST_F(Rendering, EmptyLineShowsTheArrowAtTheOrigin) {
  Load("\r\nx");
  const int x = f.edit.TextLeft(), y = RowTop(0);
  const int top = f.edit.MarkTop(), bottom = f.edit.MarkBottom();
  EXPECT_EQ(top, 4);      // round(0.2 * 19)
  EXPECT_EQ(bottom, 15);  // round(0.8 * 19)
  EXPECT_TRUE(HasLine({x + 4, y + top}, {x + 4, y + bottom}, kTeal));
  EXPECT_TRUE(HasLine({x + 4, y + bottom}, {x + 1, y + bottom - 3}, kTeal));
  EXPECT_TRUE(HasLine({x + 4, y + bottom}, {x + 7, y + bottom - 3}, kTeal));
}

TEST_F(Rendering, OneTextOutputPerRowAndNoMarkAfterASoftRow) {
  f.edit.SetColumn(10);
  Load(std::string(15, 'a') + "\r\n");
  const auto row0 = TextOnRow(0);
  ASSERT_EQ(row0.size(), 1u);  // the whole row in one output
  EXPECT_EQ(row0[0].text, std::string(10, 'a'));
  EXPECT_EQ(row0[0].rect, (TRect{f.edit.TextLeft() - 1, RowTop(0),
                                 f.edit.TextLeft() + f.edit.TextAreaWidth(), RowTop(0) + 21}));
  // No arrow after the soft row; one after the line's end.
  const int x0 = f.edit.TextLeft() + 80, x1 = f.edit.TextLeft() + 40;
  EXPECT_FALSE(HasLine({x0 + 4, RowTop(0) + 4}, {x0 + 4, RowTop(0) + 15}, kTeal));
  EXPECT_TRUE(HasLine({x1 + 4, RowTop(1) + 4}, {x1 + 4, RowTop(1) + 15}, kTeal));
}

TEST_F(Rendering, QuoteRowsByTheirFirstCharacter) {
  f.edit.SetColumn(10);
  f.edit.SetInyostr(">\x81\x84|"s);  // >, the double-width ＞, |
  Load(">quoted line that wraps\r\n >not quoted\r\n\x81\x84 wide\r\n|pipe\r\nplain");
  auto colorOf = [&](int row) { return TextOnRow(row).at(0).color; };
  EXPECT_EQ(colorOf(0), kGrey);
  EXPECT_EQ(colorOf(1), 0u);  // continuation without a quote character
  EXPECT_EQ(colorOf(3), 0u);  // a space first
  f.edit.SetColorPrintF(false);
  f.host.drawn.clear();
  f.edit.PaintView();
  EXPECT_EQ(colorOf(0), 0u);
}

TEST_F(Rendering, DoubleWidthQuoteAndPipe) {
  f.edit.SetInyostr(">\x81\x84|"s);
  Load("\x81\x84 wide\r\n|pipe\r\n\x84\x81 not\r\n");
  EXPECT_EQ(TextOnRow(0).at(0).color, kGrey);
  EXPECT_EQ(TextOnRow(1).at(0).color, kGrey);
  EXPECT_EQ(TextOnRow(2).at(0).color, 0u);  // 84 81 only matches across characters
}

TEST_F(Rendering, LinksAreRedrawnUnderlinedInTheLinkColour) {
  Load("see HTTP://example.com/x now\r\nplain");
  const auto row = TextOnRow(0);
  const auto link =
      std::find_if(row.begin(), row.end(), [](const TDrawCall& c) { return c.underline; });
  ASSERT_NE(link, row.end());
  EXPECT_EQ(link->color, kBlue);
  const int origin = f.edit.TextLeft();
  EXPECT_EQ(link->rect.Left, origin + 4 * 8);
  EXPECT_EQ(link->rect.Right, origin + (4 + 20) * 8);  // up to the space
  EXPECT_EQ(link->from.X, origin);                     // the whole row, clipped
}

TEST_F(Rendering, LinkRunsOnAcrossASoftWrapNotAHardOne) {
  f.edit.SetColumn(10);
  Load("ab http://x.y/z\r\nhttp://a.b\r\nc d");
  auto underlinedOn = [&](int row) {
    const auto calls = TextOnRow(row);
    return std::count_if(calls.begin(), calls.end(),
                         [](const TDrawCall& c) { return c.underline; });
  };
  EXPECT_EQ(underlinedOn(0), 1);
  EXPECT_EQ(underlinedOn(1), 1);  // the soft row's continuation
  EXPECT_EQ(underlinedOn(2), 1);  // http://a.b
  EXPECT_EQ(underlinedOn(3), 0);  // after a hard line end
}

TEST_F(Rendering, TagLinkStopsAtTheCommaAfterItsDot) {
  Load("x tag:abc.def,ghi");
  const auto calls = TextOnRow(0);
  const auto link =
      std::find_if(calls.begin(), calls.end(), [](const TDrawCall& c) { return c.underline; });
  ASSERT_NE(link, calls.end());
  EXPECT_EQ(link->rect.Left, f.edit.TextLeft() + 2 * 8);
  EXPECT_EQ(link->rect.Right, f.edit.TextLeft() + 13 * 8);
}

TEST_F(Rendering, SelectionPiecesAndTheMarkCell) {
  f.edit.SetShowCR(false);
  Load("abc\r\ndef");
  f.host.drawn.clear();
  f.edit.SetSelection(1, 0, 1, 1);
  // The selected piece of row 0 in inverted colours on the selection colour.
  const auto row0 = TextOnRow(0);
  const auto sel =
      std::find_if(row0.begin(), row0.end(), [](const TDrawCall& c) { return c.text == "bc"; });
  ASSERT_NE(sel, row0.end());
  EXPECT_EQ(sel->background, 0u);
  EXPECT_EQ(sel->color, kWhite);
  // The 8-pixel mark cell of the hard line end is filled with the selection colour.
  const int xEnd = f.edit.TextLeft() + 24;
  EXPECT_TRUE(std::any_of(f.host.drawn.begin(), f.host.drawn.end(), [&](const TDrawCall& c) {
    return c.kind == TDrawCall::kFill &&
           c.rect == TRect{xEnd, RowTop(0), xEnd + 8, RowTop(0) + 21} && c.color == 0u;
  }));
}

TEST_F(Rendering, EofKeepsItsColoursWhileSelected) {
  Load("ab");
  f.host.drawn.clear();
  f.edit.SelectAll();
  const auto row = TextOnRow(0);
  const auto eof =
      std::find_if(row.begin(), row.end(), [](const TDrawCall& c) { return c.text == "[EOF]"; });
  ASSERT_NE(eof, row.end());
  EXPECT_EQ(eof->color, kTeal);
  EXPECT_EQ(eof->background, kWhite);
}

TEST_F(Rendering, TabArrowsStopAtTheHundredthTab) {
  f.edit.SetShowTAB(true);
  f.edit.SetWordWrap(false);
  f.host.clientSize = {8000, 600};  // every tab in view
  f.Send(WM_SIZE);
  Load(std::string(101, '\t') + "x");
  // Each arrow is three strokes from a shaft starting one pixel right of the tab.
  int shafts = 0;
  for (const auto& c : Calls(TDrawCall::kLine)) {
    if (c.from.Y == c.to.Y && c.to.X - c.from.X == 8 - 2 && c.from.Y == RowTop(0) + 9) ++shafts;
  }
  EXPECT_EQ(shafts, 100);
}

TEST_F(Rendering, DoubleWidthSpaceBoxesAreDotted) {
  Load(
      "a\x81\x40"
      "b");
  // Dots are single pixels: lines of length one from the dash start.
  int dots = 0;
  for (const auto& c : Calls(TDrawCall::kLine)) {
    if (std::abs(c.to.X - c.from.X) + std::abs(c.to.Y - c.from.Y) == 1) ++dots;
  }
  EXPECT_GT(dots, 10);
  f.edit.SetSingleByteMode(true);
  f.host.drawn.clear();
  f.edit.PaintView();
  dots = 0;
  for (const auto& c : Calls(TDrawCall::kLine)) {
    if (std::abs(c.to.X - c.from.X) + std::abs(c.to.Y - c.from.Y) == 1) ++dots;
  }
  EXPECT_EQ(dots, 0);
}

TEST_F(Rendering, GutterWidensInTenPixelSteps) {
  f.edit.SetShowLineNumber(true);
  f.edit.SetLineNoColumn(1);
  f.edit.SetWordWrap(false);
  f.edit.Redesign();
  EXPECT_EQ(f.edit.TextLeft(), 25);  // 10 + 8 + 7
  std::string text;
  for (int i = 0; i < 1233; ++i) text += "x\r\n";
  ASSERT_TRUE(f.Load(text));  // 1234 rows: need 4 * 8 + 10 + 7 = 49
  EXPECT_EQ(f.edit.TextLeft(), 55);
  std::string ninetyNine;
  for (int i = 0; i < 98; ++i) ninetyNine += "x\r\n";
  ASSERT_TRUE(f.Load(ninetyNine));  // need 33
  EXPECT_EQ(f.edit.TextLeft(), 45);
  std::string nine;
  for (int i = 0; i < 8; ++i) nine += "x\r\n";
  ASSERT_TRUE(f.Load(nine));  // need 25: not above the base origin
  EXPECT_EQ(f.edit.TextLeft(), 45);
}

TEST_F(Rendering, UserDrawGetsColumnOneAtTheLeft) {
  int c1 = -1;
  f.edit.OnUserDraw = [&](TZelEdit&, int a, int, int, int) { c1 = a; };
  Load("abc");
  EXPECT_EQ(c1, 1);
}

TEST_F(Rendering, RepaintRowsModes) {
  f.edit.SetWordWrap(false);
  std::string text;
  for (int i = 0; i < 60; ++i) text.append("r").append(std::to_string(i)).append("\r\n");
  Load(text);
  f.edit.GoToPosition(0, 10, 0);
  auto repainted = [&](int mode, int a, int b) {
    f.host.drawn.clear();
    f.edit.RepaintRows(mode, a, b);
    std::vector<int> rows;
    for (const auto& c : Calls(TDrawCall::kTextRect)) {
      const int row = (c.from.Y - f.edit.TopMargin()) / f.edit.RowPitch() + f.edit.TopRow();
      if (rows.empty() || rows.back() != row) rows.push_back(row);
    }
    return std::make_pair(rows.empty() ? -1 : rows.front(), rows.empty() ? -1 : rows.back());
  };
  const int bottom = f.edit.TopRow() + f.edit.VisibleRows() - 1;
  EXPECT_EQ(repainted(0, 0, 0), std::make_pair(f.edit.TopRow(), bottom));
  EXPECT_EQ(repainted(1, 0, 0), std::make_pair(9, bottom));
  EXPECT_EQ(repainted(2, 0, 0), std::make_pair(10, bottom));
  EXPECT_EQ(repainted(3, 5, 0), std::make_pair(5, bottom));
  EXPECT_EQ(repainted(4, 0, 0), std::make_pair(10, 10));
  EXPECT_EQ(repainted(5, 0, 0), std::make_pair(11, bottom));
  EXPECT_EQ(repainted(6, 3, 7), std::make_pair(3, 7));
}

}  // namespace
}  // namespace notavo
