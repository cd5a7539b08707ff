// Edits, undo and keys: the documented cases and the repaired ones.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/editing/char_class.h"
#include "editor_fixture.h"
#include "textstore/row_terminators.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using namespace notavo::win;
using testing::EditorFixture;

std::string TextOf(const TZelEdit& edit) {
  std::string text;
  for (int i = 0; i < edit.Lines().Count(); ++i) text += edit.Lines()[i];
  return text.substr(0, text.size() - 2);
}

class Editing : public ::testing::Test {
 protected:
  void Load(const std::string& text, bool wrap = false) {
    f.edit.SetWordWrap(wrap);
    ASSERT_TRUE(f.Load(text));
  }
  void Key(int key, std::initializer_list<int> held = {}) {
    for (int k : held) f.host.keysDown[k] = true;
    f.Send(WM_KEYDOWN, static_cast<WPARAM>(key));
    f.Send(WM_KEYUP, static_cast<WPARAM>(key));
    for (int k : held) f.host.keysDown[k] = false;
  }
  void Char(unsigned code) { f.Send(WM_CHAR, code); }
  EditorFixture f;
};

TEST_F(Editing, OverwriteOverADoubleByteCharacterPadsWithASpace) {
  Load("a\x93\xFA\r\nz");
  f.edit.GoToPosition(1, 0, 0);
  Key(VK_INSERT);
  EXPECT_FALSE(f.edit.InsertMode());
  Char('b');
  EXPECT_EQ(TextOf(f.edit), "ab \r\nz");
  EXPECT_EQ(f.edit.CaretCol(), 2);
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "a\x93\xFA\r\nz");
}

TEST_F(Editing, OverwriteNeverEatsTheLineEnd) {
  Load("ab\r\ncd");
  f.edit.GoToPosition(1, 0, 0);
  Key(VK_INSERT);
  Char('x');
  Char('y');
  Char('z');
  EXPECT_EQ(TextOf(f.edit), "axyz\r\ncd");
}

TEST_F(Editing, OverwriteRunsAcrossSoftRows) {
  f.edit.SetColumn(10);
  Load(std::string(15, 'a') + "\r\n", true);
  f.edit.GoToPosition(8, 0, 0);
  Key(VK_INSERT);
  f.edit.TypeText("1234");
  EXPECT_EQ(TextOf(f.edit), "aaaaaaaa1234aaa\r\n");
  EXPECT_EQ(f.edit.Lines().Count(), 3);
}

TEST_F(Editing, AutoIndentCopiesSpacesAndTabsBeforeTheCaret) {
  f.edit.SetAutoIndent(true);
  Load("\t  x\r\n\x81\x40y");
  f.edit.GoToPosition(4, 0, 0);
  Key(VK_RETURN);
  EXPECT_EQ(TextOf(f.edit), "\t  x\r\n\t  \r\n\x81\x40y");
  EXPECT_EQ(f.edit.CaretRow(), 1);
  EXPECT_EQ(f.edit.CaretCol(), 3);
  Key('Z', {VK_CONTROL});  // one undo removes the break and the indent
  EXPECT_EQ(TextOf(f.edit), "\t  x\r\n\x81\x40y");
  f.edit.GoToPosition(1, 0, 0);
  Key(VK_RETURN);
  EXPECT_EQ(TextOf(f.edit), "\t\r\n\t  x\r\n\x81\x40y");
  // A double-width space does not indent.
  f.edit.GoToPosition(2, 2, 0);
  Key(VK_RETURN);
  EXPECT_EQ(f.edit.CaretCol(), 0);
}

TEST_F(Editing, AutoIndentCopiesNoControlBytes) {
  f.edit.SetAutoIndent(true);
  Load(" \x01x");
  f.edit.GoToPosition(2, 0, 0);
  Key(VK_RETURN);
  EXPECT_EQ(TextOf(f.edit), " \x01\r\n x");
}

TEST_F(Editing, DeleteAndBackspaceJoinLinesAsOneStep) {
  Load("ab\r\ncd");
  f.edit.GoToPosition(2, 0, 0);
  Key(VK_DELETE);
  EXPECT_EQ(TextOf(f.edit), "abcd");
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "ab\r\ncd");
  EXPECT_EQ(f.edit.CaretRow(), 0);  // Delete's undo: the caret stays in front
  EXPECT_EQ(f.edit.CaretCol(), 2);
  f.edit.GoToPosition(0, 1, 0);
  Key(VK_BACK);
  EXPECT_EQ(TextOf(f.edit), "abcd");
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "ab\r\ncd");
  EXPECT_EQ(f.edit.CaretRow(), 1);  // Backspace's undo: the caret after it
  EXPECT_EQ(f.edit.CaretCol(), 0);
}

TEST_F(Editing, BackspaceRemovesWholeCharactersByRole) {
  Load(
      "\x93\xFA"
      "a\x93\xFA");  // 日a日: the trail FA has a lead value
  f.edit.GoToPosition(5, 0, 0);
  Key(VK_BACK);
  EXPECT_EQ(TextOf(f.edit),
            "\x93\xFA"
            "a");
  Key(VK_BACK);
  EXPECT_EQ(TextOf(f.edit), "\x93\xFA");
  Key(VK_BACK);
  EXPECT_EQ(TextOf(f.edit), "");
}

TEST_F(Editing, LoneCrIsAnOrdinaryByte) {
  // From an LF file: "abc" CR is one line's text.
  Load("q\nabc\r\nx");
  ASSERT_EQ(f.edit.Lines().Count(), 3);
  ASSERT_EQ(f.edit.Lines()[1], "abc\r\r\n");
  f.edit.GoToPosition(3, 1, 0);
  Key(VK_DELETE);  // the lone CR only
  EXPECT_EQ(TextOf(f.edit), "q\r\nabc\r\nx");
  Key('Z', {VK_CONTROL});
  f.edit.GoToPosition(4, 1, 0);
  Key(VK_BACK);  // the lone CR only, from behind
  EXPECT_EQ(TextOf(f.edit), "q\r\nabc\r\nx");
  Key('Z', {VK_CONTROL});
  f.edit.GoToPosition(3, 1, 0);
  Key(VK_RIGHT);  // over the lone CR: still on the row
  EXPECT_EQ(f.edit.CaretRow(), 1);
  EXPECT_EQ(f.edit.CaretCol(), 4);
  Key(VK_RIGHT);  // over the row's own line end
  EXPECT_EQ(f.edit.CaretRow(), 2);
  f.edit.GoToPosition(1, 2, 0);
  Key(VK_DELETE);  // the end of the text: nothing
  EXPECT_EQ(TextOf(f.edit), "q\r\nabc\r\r\nx");
}

TEST_F(Editing, PastedLoneCrAndLfStayInTheRow) {
  Load("[]");
  f.edit.GoToPosition(1, 0, 0);
  f.host.clipboardText = "a\rb\nc\r\nd";
  Key('V', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "[a\rb\nc\r\nd]");
  ASSERT_EQ(f.edit.Lines().Count(), 2);
  EXPECT_EQ(f.edit.Lines()[0], "[a\rb\nc\r\n");
  EXPECT_EQ(f.edit.CaretRow(), 1);
  EXPECT_EQ(f.edit.CaretCol(), 1);
}

TEST_F(Editing, InsertingACrBeforeAnLfNeverPutsTheCaretInsideALineEnd) {
  Load("p\r\na\nb\r\nz");        // a CR LF file with a stray LF in row 1
  f.edit.GoToPosition(1, 1, 0);  // between 'a' and the LF
  f.host.clipboardText = "x\r";
  Key('V', {VK_CONTROL});  // the pasted CR meets the row's LF: a new line end
  EXPECT_EQ(TextOf(f.edit), "p\r\nax\r\nb\r\nz");
  EXPECT_EQ(f.edit.CaretRow(), 2);
  EXPECT_EQ(f.edit.CaretCol(), 0);
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "p\r\na\nb\r\nz");
}

TEST_F(Editing, DeletingARowsLineEndJoinsTheNextRow) {
  Load("ab\r\ncd\r\nef");
  f.Send(EM_SETSEL, MakeLong(1, 0), MakeLong(1, 1));  // "b" CR LF "c"... then back
  f.edit.SetSelection(2, 0, 1, 0);                    // exactly the CR LF of row 0
  Key(VK_DELETE);
  EXPECT_EQ(TextOf(f.edit), "abcd\r\nef");
  EXPECT_EQ(f.edit.Lines().Count(), 2);
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "ab\r\ncd\r\nef");
  // A whole row from its start to the next row's start goes away.
  f.edit.SetSelection(0, 1, 2, 0);
  Key(VK_DELETE);
  EXPECT_EQ(TextOf(f.edit), "ab\r\nef");
}

TEST_F(Editing, WordDeletionByCharacterClass) {
  Load("\x82\xA0\x82\xA2\x88\x9F\x88\x9F end");  // あい亜亜
  f.edit.GoToPosition(0, 0, 0);
  Key(VK_DELETE, {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "\x88\x9F\x88\x9F end");
  Load("a\tbc");
  f.edit.GoToPosition(2, 0, 0);
  Key(VK_BACK, {VK_CONTROL});  // right after a tab: only the tab
  EXPECT_EQ(TextOf(f.edit), "abc");
}

TEST_F(Editing, CtrlRightStopsAtTheFirstKanji) {
  Load("\x82\xA0\x82\xA2\x88\x9F z");
  Key(VK_RIGHT, {VK_CONTROL});
  EXPECT_EQ(f.edit.CaretCol(), 4);
}

TEST(CharClassTable, Classes) {
  const std::pair<int, int> cases[] = {
      {0x20, 7},   {'5', 6},    {':', 7},    {'A', 6},    {0x80, 2},   {0xB1, 5},   {0xE0, 7},
      {0x8140, 4}, {0x8250, 3}, {0x82A0, 0}, {0x8341, 1}, {0x8397, 4}, {0x889F, 2}, {0x8100, 2}};
  for (const auto& [code, cls] : cases) EXPECT_EQ(CharClass(code), cls) << std::hex << code;
}

TEST_F(Editing, KeysOfTheTable) {
  Load("ab\r\ncd");
  f.edit.GoToPosition(2, 0, 0);
  Key(VK_RIGHT, {VK_SHIFT});  // over the CR LF to the next row
  EXPECT_EQ(f.edit.CaretRow(), 1);
  EXPECT_EQ(f.edit.GetSelText(), "\r\n");
  f.edit.GoToPosition(2, 1, 0);
  Key(VK_RIGHT);  // at the end mark: nothing
  EXPECT_EQ(f.edit.CaretCol(), 2);
  f.edit.GoToPosition(0, 0, 0);
  Key(VK_LEFT);
  EXPECT_EQ(f.edit.CaretCol(), 0);
  f.edit.GoToPosition(1, 0, 0);
  Key(VK_OEM_PERIOD, {VK_CONTROL});  // like End
  EXPECT_EQ(f.edit.CaretCol(), 2);
  Key(VK_OEM_COMMA, {VK_CONTROL});  // like Home
  EXPECT_EQ(f.edit.CaretCol(), 0);
  // Ctrl+Shift+Insert copies (Ctrl group) and then pastes (Shift group).
  f.edit.SetSelection(0, 0, 0, 2);
  Key(VK_INSERT, {VK_CONTROL, VK_SHIFT});
  EXPECT_EQ(*f.host.clipboardText, "ab");
  EXPECT_EQ(TextOf(f.edit), "ab\r\ncd");  // the paste replaced the selection with itself
}

TEST_F(Editing, LeftAtTheStartOfAWrappedRowGoesBeforeTheLastCharacter) {
  f.edit.SetColumn(10);
  Load(std::string(9, 'a') +
           "\x93\xFA"
           "bc",
       true);
  ASSERT_EQ(f.edit.Lines()[0], std::string(9, 'a'));
  f.edit.GoToPosition(0, 1, 0);
  Key(VK_LEFT);
  EXPECT_EQ(f.edit.CaretRow(), 0);
  EXPECT_EQ(f.edit.CaretCol(), 8);
}

TEST_F(Editing, UpDownKeepThePixelColumn) {
  Load("abcdef\r\nab\r\nabcdef");
  f.edit.GoToPosition(5, 0, 0);
  Key(VK_DOWN);
  EXPECT_EQ(f.edit.CaretCol(), 2);
  Key(VK_DOWN);
  EXPECT_EQ(f.edit.CaretCol(), 5);
  Key(VK_LEFT);
  Key(VK_UP);
  Key(VK_UP);
  EXPECT_EQ(f.edit.CaretCol(), 4);
}

TEST_F(Editing, HoldingDownAcceleratesAfterFiveScrolls) {
  f.host.clientSize = {800, 30 * 21 + 4};
  f.Send(WM_SIZE);
  std::string text;
  for (int i = 0; i < 300; ++i) text += "x\r\n";
  Load(text);
  f.edit.GoToPosition(0, 24, 0);  // at the lower margin
  std::vector<int> steps;
  for (int i = 0; i < 8; ++i) {
    const int top = f.edit.TopRow();
    f.Send(WM_KEYDOWN, VK_DOWN);  // held: no key-up between
    steps.push_back(f.edit.TopRow() - top);
  }
  EXPECT_EQ(steps, (std::vector<int>{1, 1, 1, 1, 2, 2, 2, 2}));
  f.Send(WM_KEYUP, VK_DOWN);
  const int top = f.edit.TopRow();
  f.Send(WM_KEYDOWN, VK_DOWN);
  EXPECT_EQ(f.edit.TopRow() - top, 1);
}

TEST_F(Editing, DownReachesTheLastRowsWhenTheViewCannotScroll) {
  f.host.clientSize = {800, 30 * 21 + 4};
  f.Send(WM_SIZE);
  std::string text;
  for (int i = 0; i < 40; ++i) text += "x\r\n";
  Load(text);
  Key(VK_END, {VK_CONTROL});
  f.edit.GoToPosition(0, 30, 0);
  for (int i = 0; i < 20; ++i) Key(VK_DOWN);
  EXPECT_EQ(f.edit.CaretRow(), 40);
}

TEST_F(Editing, InsertKeyTogglesModeAndReportsIt) {
  Load("x");
  std::vector<bool> reported;
  f.edit.OnChangeInsMode = [&](TZelEdit&, bool mode) { reported.push_back(mode); };
  Key(VK_INSERT);
  Key(VK_INSERT);
  EXPECT_EQ(reported, (std::vector<bool>{false, true}));
  f.edit.SetReadOnly(true);
  Key(VK_INSERT);
  EXPECT_EQ(reported.size(), 2u);
}

TEST_F(Editing, CharactersAndReadOnly) {
  Load("");
  Char(0x7F);
  Char(0x01);
  Char('a');
  Char(0xB1);  // half-width katakana
  EXPECT_EQ(TextOf(f.edit), "a\xB1");
  f.host.keysDown[VK_CONTROL] = true;
  Char('b');
  f.host.keysDown[VK_CONTROL] = false;
  f.edit.SetReadOnly(true);
  Char('c');
  Key(VK_BACK);
  Key(VK_RETURN);
  EXPECT_EQ(TextOf(f.edit), "a\xB1");
}

TEST_F(Editing, InputMethodStringIsOneUndoStep) {
  Load("");
  f.host.imeResult = "\x93\xFA\x96\x7B\x8C\xEA";  // 日本語
  f.Send(WM_IME_COMPOSITION, 0, GCS_RESULTSTR);
  EXPECT_EQ(TextOf(f.edit), "\x93\xFA\x96\x7B\x8C\xEA");
  EXPECT_EQ(f.Send(WM_IME_CHAR, 0x93FA), 0);
  EXPECT_EQ(TextOf(f.edit), "\x93\xFA\x96\x7B\x8C\xEA");
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "");
}

TEST_F(Editing, CompositionEvents) {
  Load("");
  std::vector<std::string> events;
  f.edit.OnIMEChanging = [&](TZelEdit&) { events.push_back("start"); };
  f.edit.OnIMEChanged = [&](TZelEdit&) { events.push_back("end"); };
  f.edit.Dispatch(WM_IME_STARTCOMPOSITION, 0, 0);
  f.edit.Dispatch(WM_IME_ENDCOMPOSITION, 0, 0);
  EXPECT_EQ(events, (std::vector<std::string>{"start", "end"}));
}

TEST_F(Editing, ClipboardCutCopyPaste) {
  Load("one two");
  f.host.clipboardText = "keep";
  f.edit.CopyToClipboard();  // no selection: clipboard unchanged
  EXPECT_EQ(*f.host.clipboardText, "keep");
  f.Send(WM_CUT);
  EXPECT_EQ(TextOf(f.edit), "one two");
  f.edit.SetSelection(0, 0, 0, 4);
  f.host.clipboardLocked = true;  // another program holds the clipboard
  f.Send(WM_CUT);
  EXPECT_EQ(TextOf(f.edit), "one two");  // nothing is lost
  EXPECT_FALSE(f.host.messageBoxes.empty());
  f.host.clipboardLocked = false;
  f.Send(WM_CUT);
  EXPECT_EQ(TextOf(f.edit), "two");
  EXPECT_EQ(*f.host.clipboardText, "one ");
  f.edit.SelectAll();
  f.Send(WM_PASTE);  // over everything
  EXPECT_EQ(TextOf(f.edit), "one ");
  Key('Z', {VK_CONTROL});  // one undo brings back what was selected
  EXPECT_EQ(TextOf(f.edit), "two");
}

// --- the undo budget and the modified flag ---------------------------------

TEST_F(Editing, BudgetDropsOldestStepsAndRefusesHugeOnes) {
  Load("");
  f.edit.SetUndoBuf(10);
  f.edit.TypeText("1234");
  f.edit.TypeText("12345678");
  EXPECT_EQ(f.edit.UndoLog().UndoSize(), 8);
  f.edit.Undo();
  EXPECT_EQ(TextOf(f.edit), "1234");
  EXPECT_TRUE(f.edit.Modified());  // the 4-byte step was dropped
  EXPECT_FALSE(f.edit.CanUndo());
  f.edit.Redo();
  EXPECT_FALSE(f.edit.RecordUndo(ukInserted, std::string(20, 'x'), 0, 0));
  EXPECT_FALSE(f.edit.CanUndo());
  EXPECT_FALSE(f.edit.CanRedo());
}

TEST_F(Editing, RecordingOffStillMarksModifiedAndNeverReplaysStaleSteps) {
  Load("");
  f.edit.TypeText("a");
  f.edit.Undo();
  ASSERT_TRUE(f.edit.CanRedo());
  bool modified = false;
  f.edit.OnChangeModify = [&](TZelEdit&, bool m) { modified = m; };
  f.edit.SetUndoRec(false);
  f.edit.TypeText("b");
  EXPECT_TRUE(modified);
  EXPECT_FALSE(f.edit.CanUndo());
  EXPECT_FALSE(f.edit.CanRedo());  // the redo step no longer fits the text
  f.edit.Redo();
  EXPECT_EQ(TextOf(f.edit), "b");
}

TEST_F(Editing, ThreeCharactersAreThreeUndos) {
  Load("");
  Char('a');
  Char('b');
  Char('c');
  f.edit.Undo();
  EXPECT_EQ(TextOf(f.edit), "ab");
  f.edit.Undo();
  f.edit.Undo();
  EXPECT_EQ(TextOf(f.edit), "");
  EXPECT_FALSE(f.edit.Modified());
}

TEST_F(Editing, UndoingPastASaveMarksTheTextModifiedAgain) {
  Load("");
  std::vector<bool> reported;
  f.edit.OnChangeModify = [&](TZelEdit&, bool m) { reported.push_back(m); };
  Char('a');
  f.edit.SetSavePoint();  // saved here
  EXPECT_FALSE(f.edit.Modified());
  f.edit.Undo();
  EXPECT_TRUE(f.edit.Modified());  // the file on disk holds "a"
  f.edit.Redo();
  EXPECT_FALSE(f.edit.Modified());
  EXPECT_EQ(reported, (std::vector<bool>{true, true, false}));
}

TEST_F(Editing, NewEditEndsRedo) {
  Load("");
  std::vector<bool> redo;
  f.edit.OnChangeRedoMode = [&](TZelEdit&, bool r) { redo.push_back(r); };
  Char('a');
  f.edit.Undo();
  Char('b');
  EXPECT_EQ(redo, (std::vector<bool>{true, false}));
  f.edit.Redo();
  EXPECT_EQ(TextOf(f.edit), "b");
}

TEST_F(Editing, UndoFindsItsPlaceAfterARewrap) {
  f.edit.SetColumn(10);
  Load(std::string(30, 'a'), true);
  f.edit.GoToPosition(5, 2, 0);  // logical offset 25
  Char('X');
  f.edit.SetColumn(20);  // re-wrapped: rows change
  f.edit.Undo();
  EXPECT_EQ(TextOf(f.edit), std::string(30, 'a'));
}

}  // namespace
}  // namespace notavo

namespace notavo {
namespace {

TEST_F(Editing, DoubleByteCharactersArriveAsCharacterPairs) {
  Load("");
  Char(0x93);
  EXPECT_EQ(TextOf(f.edit), "");  // waiting for the trail byte
  Char(0xFA);
  Char('a');
  EXPECT_EQ(TextOf(f.edit),
            "\x93\xFA"
            "a");
  Key('Z', {VK_CONTROL});
  Key('Z', {VK_CONTROL});
  EXPECT_EQ(TextOf(f.edit), "");  // one undo step per character
}

TEST_F(Editing, PlainMovesKeepTheAnchorOnTheCaret) {
  Load("abcdef");
  Key(VK_RIGHT);
  Key(VK_RIGHT);
  EXPECT_EQ(f.edit.Anchor(), (TRowPos{0, 2}));
  Key(VK_RIGHT, {VK_SHIFT});
  EXPECT_EQ(f.edit.GetSelText(), "c");
}

TEST_F(Editing, ABatchOfEditsPaintsOnceAtItsEnd) {
  const auto textCalls = [&] {
    return std::count_if(f.host.drawn.begin(), f.host.drawn.end(),
                         [](const TDrawCall& c) { return c.kind == TDrawCall::kText; });
  };
  for (const bool wrap : {false, true}) {
    SCOPED_TRACE(wrap ? "wrapped" : "unwrapped");
    f.edit.SetColumn(10);
    Load("abcdefghijklmnop\r\nxyz\r\n", wrap);
    long long paintedByEdits = 0;
    const auto edit = [&](auto&& change) {
      const auto before = textCalls();
      change();
      paintedByEdits += textCalls() - before;
    };
    f.edit.BeginEdits();
    for (int i = 0; i < 20; ++i) {  // like a replace-all: many hits, one paint
      f.edit.SetSelection(1, 0, 0, 2);
      edit([&] { f.edit.DeleteSelection(true); });
      edit([&] { f.edit.InsertTextAtCaret("b\r\n", true); });
      f.edit.SetSelection(1, 0, 1, 0);  // ... and back
      edit([&] { f.edit.DeleteSelection(true); });
      edit([&] { f.edit.InsertTextAtCaret("b", true); });
    }
    edit([&] { f.edit.InsertTextAtCaret("\x93\xFA", true); });
    EXPECT_EQ(paintedByEdits, 0);
    const auto before = textCalls();
    f.edit.EndEdits();
    EXPECT_GT(textCalls(), before);  // the one paint, at the end
    EXPECT_EQ(TextOf(f.edit), "ab\x93\xFA""cdefghijklmnop\r\nxyz\r\n");
    EXPECT_EQ(f.edit.CaretRow(), 0);
    EXPECT_EQ(f.edit.CaretCol(), 4);
  }
}

TEST_F(Editing, AFocusChangeDropsHalfADoubleByteCharacter) {
  Load("");
  Char(0x93);  // the lead byte of 日, then the focus goes
  f.Send(WM_KILLFOCUS);
  f.Send(WM_SETFOCUS);
  Char('a');
  EXPECT_EQ(TextOf(f.edit), "a");
}

TEST_F(Editing, LoneLeadByteBeforeTheEndNeverTakesATerminatorByte) {
  // Invalid Shift-JIS: a lead byte with nothing after it but the line end.
  Load("a\x93\r\nb\x93");
  f.edit.GoToPosition(1, 0, 0);
  Key(VK_DELETE);
  EXPECT_EQ(TextOf(f.edit), "a\r\nb\x93");
  f.edit.GoToPosition(2, 1, 0);
  Key(VK_BACK);
  EXPECT_EQ(TextOf(f.edit), "a\r\nb");
  Key('Z', {VK_CONTROL});
  f.edit.GoToPosition(1, 1, 0);
  Key(VK_RIGHT);
  EXPECT_EQ(f.edit.CaretCol(), 2);  // over the lone byte, not into the end mark
  Key(VK_DELETE);
  EXPECT_EQ(TextOf(f.edit), "a\r\nb\x93");
  EXPECT_EQ(f.edit.Lines()[1].substr(f.edit.Lines()[1].size() - 2), kEofMark);
}

}  // namespace
}  // namespace notavo
