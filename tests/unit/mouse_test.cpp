// The mouse in a headless window: presses, Shift+click, the gutter, drag
// selection and its auto-scroll, double clicks, the popup menu, and
// dragging the selected text (moves, copies, drops the editor refuses).
// Points come from the view's geometry: 8 pixels a byte, rows 21 apart.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "editor_fixture.h"

namespace notavo {
namespace {

using namespace notavo::win;
using testing::EditorFixture;

std::string Text(const TZelEdit& edit) {
  std::string text;
  for (int r = 0; r < edit.Lines().Count(); ++r) text += edit.Lines()[r];
  return text.substr(0, text.size() - 2);
}

std::string NumberedRows(int n) {
  std::string text;
  for (int i = 0; i < n; ++i) text += "row" + std::to_string(i) + "\r\n";
  return text;
}

class Mouse : public ::testing::Test {
 protected:
  void SetUp() override { f.edit.SetWordWrap(false); }
  // A point on the left half of byte `col` of a visible row (no tabs).
  int X(int col) const { return f.edit.TextLeft() + col * 8 + 2 - f.edit.ScrollX(); }
  int Gutter() const { return f.edit.TextLeft() - 5; }
  int Y(int row) const {
    return f.edit.TopMargin() + (row - f.edit.TopRow()) * f.edit.RowPitch() + 5;
  }
  void Mouse_(unsigned message, int x, int y, unsigned keys) {
    f.Send(message, keys, MakeLong(static_cast<unsigned>(x), static_cast<unsigned>(y)));
  }
  void Press(int x, int y, unsigned keys = 0) { Mouse_(WM_LBUTTONDOWN, x, y, MK_LBUTTON | keys); }
  void Move(int x, int y) { Mouse_(WM_MOUSEMOVE, x, y, MK_LBUTTON); }
  void Release(int x, int y) { Mouse_(WM_LBUTTONUP, x, y, 0); }
  void Click(int x, int y, unsigned keys = 0) {
    Press(x, y, keys);
    Release(x, y);
  }
  void ShiftClick(int x, int y) {
    f.host.keysDown[VK_SHIFT] = true;
    Click(x, y, MK_SHIFT);
    f.host.keysDown[VK_SHIFT] = false;
  }
  void Drag(int x1, int y1, int x2, int y2) {
    Press(x1, y1);
    Move(x2, y2);
    Release(x2, y2);
  }
  TRowPos Caret() const { return {f.edit.CaretRow(), f.edit.CaretCol()}; }

  EditorFixture f;
};

// A press more than 4 pixels left of the text selects the row with its
// line break; closer, it only puts the caret at the row's start. The last
// row has no line break to select, an empty document nothing at all.
TEST_F(Mouse, GutterPressSelectsTheWholeRow) {
  ASSERT_TRUE(f.Load("abc\r\nxyz"));
  Click(X(2), Y(0));
  Click(f.edit.TextLeft() - 5, Y(0));
  EXPECT_EQ(f.edit.GetSelText(), "abc\r\n");
  EXPECT_EQ(Caret(), (TRowPos{0, 0}));
  Click(f.edit.TextLeft() - 3, Y(0));
  EXPECT_FALSE(f.edit.HasSelection());
  EXPECT_EQ(Caret(), (TRowPos{0, 0}));
  Click(Gutter(), Y(1));
  EXPECT_EQ(f.edit.GetSelText(), "xyz");
  ASSERT_TRUE(f.Load(""));
  Click(Gutter(), Y(0));
  EXPECT_FALSE(f.edit.HasSelection());
}

// Scrolled sideways, a gutter press brings the view back to its left end
// and paints it all again, rows far from the pressed one included.
TEST_F(Mouse, GutterPressWhileScrolledRepaintsTheView) {
  ASSERT_TRUE(f.Load(NumberedRows(5) + std::string(300, 'w') + "\r\nlast row"));
  f.Send(f.edit.SetCaretPosMessage(), 0, MakeLong(0, 5));
  f.Send(WM_KEYDOWN, VK_END);  // on the long row
  ASSERT_GT(f.edit.ScrollX(), 0);
  f.host.drawn.clear();
  Click(Gutter(), Y(1));
  EXPECT_EQ(f.edit.ScrollX(), 0);
  EXPECT_EQ(f.edit.GetSelText(), "row1\r\n");
  bool lastRowPainted = false;
  for (const TDrawCall& call : f.host.drawn)
    lastRowPainted |= call.text.find("last row") != std::string::npos;
  EXPECT_TRUE(lastRowPainted);
}

// Down the gutter from row 4 to 6 selects rows 4 and 5; up from 4 to 2
// selects rows 2 to 4; always whole rows.
TEST_F(Mouse, DraggingDownAndUpTheGutterSelectsWholeRows) {
  ASSERT_TRUE(f.Load(NumberedRows(9)));
  Press(Gutter(), Y(4));
  Move(Gutter(), Y(5));
  Move(Gutter(), Y(6));
  Release(Gutter(), Y(6));
  EXPECT_EQ(f.edit.GetSelText(), "row4\r\nrow5\r\n");
  EXPECT_EQ(f.edit.Anchor(), (TRowPos{4, 0}));
  EXPECT_EQ(Caret(), (TRowPos{6, 0}));
  Drag(Gutter(), Y(4), Gutter(), Y(2));
  EXPECT_EQ(f.edit.GetSelText(), "row2\r\nrow3\r\nrow4\r\n");
}

// Click then Shift+click selects between the two points; a plain click
// ends the selection.
TEST_F(Mouse, ShiftClickAfterAClick) {
  ASSERT_TRUE(f.Load("0123456789\r\nabcdefghij\r\nend"));
  Click(X(3), Y(0));
  ShiftClick(X(5), Y(1));
  EXPECT_EQ(f.edit.GetSelText(), "3456789\r\nabcde");
  Click(X(1), Y(2));
  EXPECT_FALSE(f.edit.HasSelection());
}

// The handlers raise their events first, the press its own last; the
// second press of a double click is swallowed whole.
TEST_F(Mouse, EventsAndDoubleClicks) {
  ASSERT_TRUE(f.Load("one two three"));
  std::vector<std::string> events;
  f.edit.OnMouseDown = [&](TZelEdit& e, TMouseButton, TShiftState s, int, int) {
    events.push_back("down col " + std::to_string(e.CaretCol()) +
                     ((s & ssDouble) ? " double" : ""));
  };
  f.edit.OnMouseMove = [&](TZelEdit& e, TShiftState, int, int) {
    events.push_back("move sel " + std::to_string(e.GetSelText().size()));
  };
  f.edit.OnMouseUp = [&](TZelEdit&, TMouseButton, TShiftState, int, int) {
    events.push_back("up");
  };
  f.edit.OnDblClick = [&](TZelEdit&) { events.push_back("double click"); };
  Press(X(2), Y(0));
  Move(X(4), Y(0));
  Release(X(4), Y(0));
  EXPECT_EQ(events, (std::vector<std::string>{"down col 2", "move sel 0", "up"}));
  Click(X(9), Y(0));
  events.clear();
  Mouse_(WM_LBUTTONDBLCLK, X(5), Y(0), MK_LBUTTON);
  Release(X(5), Y(0));
  EXPECT_EQ(events, (std::vector<std::string>{"double click", "up"}));
  // Every press, swallowed or not, finishes a composition in progress.
  const std::array<int, 3> complete{NI_COMPOSITIONSTR, CPS_COMPLETE, 0};
  EXPECT_EQ(f.host.imeNotifications, (std::vector<std::array<int, 3>>(3, complete)));
  EXPECT_EQ(Caret(), (TRowPos{0, 9}));
  EXPECT_FALSE(f.edit.HasSelection());
  Click(X(1), Y(0));  // the next press counts again
  EXPECT_EQ(Caret(), (TRowPos{0, 1}));
}

// Held below the text area, each 40 ms tick moves the caret (and the
// selection's end) one row down, the view following from the lower margin
// on; CaretScrollFix is off until the release.
TEST_F(Mouse, HeldBelowTheTextTheTimerSelectsDownwards) {
  f.host.clientSize = {800, 10 * 21 + 4};  // 10 rows, margin 2
  f.Send(WM_SIZE);
  f.edit.SetCaretScrollFix(true);
  ASSERT_TRUE(f.Load(NumberedRows(40)));
  Press(X(1), Y(2));
  EXPECT_FALSE(f.edit.CaretScrollFix);
  Move(X(1), 10 * 21 + 4 + 3);
  EXPECT_EQ(f.edit.AutoScrollDir(), 1);
  std::vector<int> rows, tops;
  for (int tick = 0; tick < 9; ++tick) {
    f.Send(WM_TIMER, 1);
    rows.push_back(f.edit.CaretRow());
    tops.push_back(f.edit.TopRow());
  }
  EXPECT_EQ(rows, (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(tops, (std::vector<int>{0, 0, 0, 0, 0, 0, 1, 2, 3}));
  EXPECT_EQ(f.edit.Anchor(), (TRowPos{2, 1}));
  EXPECT_EQ(f.edit.SelEnd(), (TRowPos{11, 1}));
  Move(X(1), Y(8));  // back inside: the ticks stop
  EXPECT_EQ(f.edit.AutoScrollDir(), 0);
  Release(X(1), Y(8));
  EXPECT_TRUE(f.edit.CaretScrollFix);
  EXPECT_FALSE(f.host.captured);
}

// Held right of the text area, each tick moves the caret one character
// right (the view following), never past the row's end.
TEST_F(Mouse, HeldRightOfTheTextTheTimerSelectsRightwards) {
  f.host.clientSize = {200, 300};
  f.Send(WM_SIZE);
  ASSERT_TRUE(f.Load(std::string(30, 'w') + "\r\nnext"));
  Press(X(10), Y(0));
  Move(250, Y(0));
  EXPECT_EQ(f.edit.AutoScrollDir(), 2);
  for (int tick = 0; tick < 25; ++tick) f.Send(WM_TIMER, 1);
  EXPECT_EQ(Caret(), (TRowPos{0, 30}));
  EXPECT_EQ(f.edit.GetSelText(), std::string(20, 'w'));
  EXPECT_GT(f.edit.ScrollX(), 0);
  Release(250, Y(0));
}

// A right press shows the popup menu at the screen point; middle does nothing.
TEST_F(Mouse, RightPressShowsThePopupMenu) {
  ASSERT_TRUE(f.Load("abc"));
  Mouse_(WM_RBUTTONDOWN, X(1), Y(0), MK_RBUTTON);
  EXPECT_TRUE(f.host.popups.empty());  // none assigned
  f.edit.SetPopupMenu(0x77);
  Mouse_(WM_RBUTTONDOWN, 30, 12, MK_RBUTTON);
  Mouse_(WM_MBUTTONDOWN, 30, 12, MK_MBUTTON);
  ASSERT_EQ(f.host.popups.size(), 1u);
  EXPECT_EQ(f.host.popups[0].first, 0x77u);
  EXPECT_EQ(f.host.popups[0].second, (TPoint{130, 62}));
}

// ---- dragging text ------------------------------------------------------------

class TextDrag : public Mouse {
 protected:
  void Select(int anchorCol, int anchorRow, int col, int row) {
    f.Send(EM_SETSEL, static_cast<WPARAM>(MakeLong(anchorCol, anchorRow)), MakeLong(col, row));
  }
  void DropAt(int fromCol, int fromRow, int toX, int toY, bool ctrl = false) {
    Press(X(fromCol), Y(fromRow));
    Move(toX, toY);
    f.host.keysDown[VK_CONTROL] = ctrl;
    Release(toX, toY);
    f.host.keysDown[VK_CONTROL] = false;
  }
};

// "bc" of "abcd" dropped after the "d" moves there, nothing selected after;
// undo takes back the insertion, then the removal.
TEST_F(TextDrag, MovesTheSelectionAndUndoesInTwoSteps) {
  ASSERT_TRUE(f.Load("abcd\r\nnext"));
  Select(1, 0, 3, 0);
  DropAt(2, 0, X(4), Y(0));
  EXPECT_EQ(Text(f.edit), "adbc\r\nnext");
  EXPECT_FALSE(f.edit.HasSelection());
  EXPECT_EQ(Caret(), (TRowPos{0, 4}));
  EXPECT_FALSE(f.edit.TextDragging());
  f.edit.Undo();
  EXPECT_EQ(Text(f.edit), "ad\r\nnext");
  f.edit.Undo();
  EXPECT_EQ(Text(f.edit), "abcd\r\nnext");
  EXPECT_FALSE(f.edit.CanUndo());
}

// With Ctrl at the drop the text is copied; Ctrl during the drag shows the
// copy pointer, released the move pointer again.
TEST_F(TextDrag, CtrlCopiesAndSwitchesThePointer) {
  ASSERT_TRUE(f.Load("abcd\r\nnext"));
  Select(1, 0, 3, 0);
  Press(X(2), Y(0));
  EXPECT_EQ(f.host.cursor, TCursorKind::DragMove);
  f.host.keysDown[VK_CONTROL] = true;
  f.Send(WM_KEYDOWN, VK_CONTROL);
  EXPECT_EQ(f.host.cursor, TCursorKind::DragCopy);
  EXPECT_EQ(f.edit.DragCursor(), 2);
  f.host.keysDown[VK_CONTROL] = false;
  f.Send(WM_KEYUP, VK_CONTROL);
  EXPECT_EQ(f.host.cursor, TCursorKind::DragMove);
  f.host.keysDown[VK_CONTROL] = true;
  f.Send(WM_KEYDOWN, VK_CONTROL);
  Move(X(2), Y(1));
  Release(X(2), Y(1));
  f.host.keysDown[VK_CONTROL] = false;
  EXPECT_EQ(Text(f.edit), "abcd\r\nnebcxt");
  EXPECT_EQ(f.edit.DragCursor(), 1);
  f.edit.Undo();
  EXPECT_EQ(Text(f.edit), "abcd\r\nnext");
}

// A press inside the selection released at once clears it and leaves the
// caret there; a drop inside the selection or into a read-only control
// only clears it.
TEST_F(TextDrag, DropsThatChangeNothing) {
  ASSERT_TRUE(f.Load("abcdef\r\nnext"));
  Select(1, 0, 5, 0);
  Click(X(3), Y(0));
  EXPECT_FALSE(f.edit.HasSelection());
  EXPECT_EQ(Caret(), (TRowPos{0, 3}));
  Select(1, 0, 5, 0);
  DropAt(2, 0, X(4), Y(0));
  EXPECT_FALSE(f.edit.HasSelection());
  f.edit.SetReadOnly(true);
  Select(1, 0, 5, 0);
  DropAt(2, 0, X(1), Y(1));
  EXPECT_FALSE(f.edit.HasSelection());
  EXPECT_EQ(Text(f.edit), "abcdef\r\nnext");
  EXPECT_FALSE(f.edit.CanUndo());
}

// With DragMode dmManual the application decides: no handler or a refusal
// clears the selection; an answer of yes keeps it and starts nothing.
TEST_F(TextDrag, ManualDragModeAsksTheApplication) {
  ASSERT_TRUE(f.Load("abcdef"));
  f.edit.SetDragMode(dmManual);
  Select(1, 0, 5, 0);
  Press(X(2), Y(0));
  EXPECT_FALSE(f.edit.HasSelection());
  Release(X(2), Y(0));
  std::string asked;
  bool answer = false;
  f.edit.OnManualStartDrag = [&](TZelEdit&, std::string_view text, bool& canDrag) {
    asked = text;
    canDrag = answer;
  };
  for (bool yes : {false, true}) {
    answer = yes;
    Select(1, 0, 5, 0);
    Press(X(2), Y(0));
    EXPECT_EQ(asked, "bcde");
    EXPECT_EQ(f.edit.HasSelection(), yes);
    EXPECT_FALSE(f.edit.TextDragging());
    Release(X(2), Y(0));
  }
}

// Released outside the control, the text goes to the last drop point shown
// inside; outside, the pointer says nothing can drop there.
TEST_F(TextDrag, EndingOutsideDropsAtTheLastPointInside) {
  ASSERT_TRUE(f.Load("abcd\r\nnext"));
  std::vector<TDragState> states;
  bool droppedOn = true;
  f.edit.OnDragOver = [&](TZelEdit&, int, int, TDragState s) { states.push_back(s); };
  f.edit.OnEndDrag = [&](TZelEdit&, bool on, int, int) { droppedOn = on; };
  Select(0, 0, 2, 0);
  Press(X(1), Y(0));
  Move(X(3), Y(1));
  Move(-40, Y(1));
  EXPECT_EQ(f.host.cursor, TCursorKind::NoDrop);
  Release(-40, 900);
  EXPECT_EQ(Text(f.edit), "cd\r\nnexabt");
  EXPECT_FALSE(droppedOn);
  EXPECT_EQ(states, (std::vector<TDragState>{dsDragEnter, dsDragMove, dsDragLeave}));
  EXPECT_FALSE(f.host.captured);
}

// Text moved past a removal is placed by byte offsets: a dragged text with
// a lone CR before its last byte is no line end, so the drop point on the
// next row keeps its row; a row selected from the gutter down to two rows
// on (anchor behind row 1's line break) moves whole.
TEST_F(TextDrag, MovedTextKeepsEveryOtherByte) {
  f.host.clipboardText = "0x\ry1\r\n22\r\n";  // pasted: the reader would cut at the CR
  f.edit.PasteFromClipboard();
  Select(1, 0, 4, 0);  // "x" CR "y"
  DropAt(2, 0, X(1), Y(1));
  EXPECT_EQ(Text(f.edit), "01\r\n2x\ry2\r\n");
  ASSERT_TRUE(f.Load(NumberedRows(4)));
  Press(Gutter(), Y(1));
  Move(Gutter(), Y(3));  // straight past row 2: the anchor stays behind row 1
  Release(Gutter(), Y(3));
  ASSERT_EQ(f.edit.GetSelText(), "row2\r\n");
  DropAt(2, 2, X(0), Y(0));
  EXPECT_EQ(Text(f.edit), "row2\r\nrow0\r\nrow1\r\nrow3\r\n");
}

// A window too small for the gutter, or for one row, still maps a press to
// a real row and returns.
TEST_F(Mouse, TinyWindowsMapPressesToRealRows) {
  ASSERT_TRUE(f.Load(std::string(200, 'w') + "\r\nsecond"));
  for (TPoint size : {TPoint{12, 40}, TPoint{5, 3}, TPoint{0, 0}}) {
    f.host.clientSize = size;
    f.Send(WM_SIZE);
    Click(300, 2);
    EXPECT_EQ(Caret().Row, 0) << size.X << "x" << size.Y;
    Click(300, 500);
    EXPECT_GE(Caret().Row, 0);
    EXPECT_GE(f.edit.ScrollX(), 0);
  }
}

}  // namespace
}  // namespace notavo
