// The control's defaults, clamps, construction and whole-document operations.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor_fixture.h"

namespace notavo {
namespace {

using namespace std::string_literals;
using testing::EditorFixture;

TEST(ZelEditProperties, DefaultsOfConstruction) {
  THeadlessHost host;
  TZelEdit edit(host);
  EXPECT_TRUE(edit.UndoRec);
  EXPECT_FALSE(edit.CaretScrollFix);
  EXPECT_EQ(edit.TopMargin(), 4);
  EXPECT_EQ(edit.LeftMargin(), 10);
  EXPECT_EQ(edit.ScrollStep, 2);
  EXPECT_TRUE(edit.CurSetMode());
  EXPECT_EQ(edit.SelColor(), 0u);
  EXPECT_EQ(edit.CREOFcolor(), 0x808000u);
  EXPECT_EQ(edit.TabCount(), 6);
  EXPECT_TRUE(edit.ShowEOF);
  EXPECT_TRUE(edit.ShowCR);
  EXPECT_TRUE(edit.ShowDblSpace);
  EXPECT_FALSE(edit.ShowTAB);
  EXPECT_EQ(edit.UndoBuf, 1015808);
  EXPECT_EQ(edit.LineSpace(), 10);
  EXPECT_EQ(edit.LineSpaceUnit(), uPercent);
  EXPECT_FALSE(edit.ShowUnderLine);
  EXPECT_FALSE(edit.AutoIndent);
  EXPECT_EQ(edit.BorderStyle, bsNone);
  EXPECT_EQ(edit.Color(), 0xFFFFFFu);
  EXPECT_EQ(edit.Font().Name, "FixedSys");
  EXPECT_FALSE(edit.ReadOnly);
  EXPECT_FALSE(edit.HorzScrollBar());
  EXPECT_TRUE(edit.VertScrollBar());
  EXPECT_TRUE(edit.WordWrap());
  EXPECT_FALSE(edit.AutoWrap());
  EXPECT_TRUE(edit.WantTabs);
  EXPECT_EQ(edit.Column(), 72);
  EXPECT_EQ(edit.Inyostr, ">");
  EXPECT_TRUE(edit.ColorPrintF);
  EXPECT_EQ(edit.URLColor(), 0xFF0000u);
  EXPECT_EQ(edit.InyoColor(), 0x808080u);
  EXPECT_EQ(edit.UlineColor(), 0u);
  EXPECT_EQ(edit.Version, "TZelEdit Ver1.24");
  EXPECT_FALSE(edit.ShowLineNumber);
  EXPECT_EQ(edit.LineNoColumn(), 5);
  EXPECT_FALSE(edit.SingleByteMode());
  EXPECT_EQ(edit.Width, 185);
  EXPECT_EQ(edit.Height, 89);
  EXPECT_TRUE(edit.InsertMode());
  EXPECT_FALSE(edit.Modified());
  // One row holding the end mark; the 40 ms timer runs from the start.
  ASSERT_EQ(edit.Lines().Count(), 1);
  EXPECT_EQ(edit.Lines()[0], "\0\0"s);
  EXPECT_TRUE(host.timerRunning);
  EXPECT_EQ(host.timerInterval, 40);
}

TEST(ZelEditProperties, SettersClamp) {
  THeadlessHost host;
  TZelEdit edit(host);
  const struct {
    const char* name;
    std::function<void(int)> set;
    std::function<int()> get;
    int value, expected;
  } cases[] = {
      {"Column 5", [&](int v) { edit.SetColumn(v); }, [&] { return edit.Column(); }, 5, 10},
      {"Column 3", [&](int v) { edit.SetColumn(v); }, [&] { return edit.Column(); }, 3, 10},
      {"TabCount 0", [&](int v) { edit.SetTabCount(v); }, [&] { return edit.TabCount(); }, 0, 1},
      {"TabCount 12", [&](int v) { edit.SetTabCount(v); }, [&] { return edit.TabCount(); }, 12, 8},
      {"TopMargin 50", [&](int v) { edit.SetTopMargin(v); }, [&] { return edit.TopMargin(); }, 50,
       30},
      {"TopMargin 45", [&](int v) { edit.SetTopMargin(v); }, [&] { return edit.TopMargin(); }, 45,
       30},
      {"LeftMargin -3", [&](int v) { edit.SetLeftMargin(v); }, [&] { return edit.LeftMargin(); },
       -3, 0},
      {"LineNoColumn 9", [&](int v) { edit.SetLineNoColumn(v); },
       [&] { return edit.LineNoColumn(); }, 9, 5},
      {"LineNoColumn 0", [&](int v) { edit.SetLineNoColumn(v); },
       [&] { return edit.LineNoColumn(); }, 0, 1},
      {"LineSpace 150", [&](int v) { edit.SetLineSpace(v); }, [&] { return edit.LineSpace(); }, 150,
       100},
      {"LineSpace -1", [&](int v) { edit.SetLineSpace(v); }, [&] { return edit.LineSpace(); }, -1,
       0},
  };
  for (const auto& c : cases) {
    c.set(c.value);
    EXPECT_EQ(c.get(), c.expected) << c.name;
  }
  edit.SetSelColor(0xFF123456u);
  EXPECT_EQ(edit.SelColor(), 0x123456u);  // stored as a plain RGB value
}

TEST(ZelEditProperties, RowPitchFollowsLineSpace) {
  EditorFixture f({8, 19});
  EXPECT_EQ(f.edit.CharHeight(), 19);
  EXPECT_EQ(f.edit.RowPitch(), 21);  // 19 + round(1.9)
  f.edit.SetLineSpaceUnit(uPixel);
  EXPECT_EQ(f.edit.RowPitch(), 29);
  f.edit.SetLineSpaceUnit(uPercent);
  f.edit.SetLineSpace(0);
  EXPECT_EQ(f.edit.RowPitch(), 19);
  f.edit.SetLineSpace(50);
  EXPECT_EQ(f.edit.RowPitch(), 29);  // 19 + round(9.5): ties go to the even neighbour, 10
  f.edit.SetLineSpace(10);
  EditorFixture g({8, 25});
  EXPECT_EQ(g.edit.RowPitch(), 27);  // 25 + round(2.5) = 25 + 2
}

TEST(ZelEditProperties, ViewMetricsFromTheFont) {
  EditorFixture f({8, 19});
  EXPECT_EQ(f.edit.CharWidth(), 8);
  EXPECT_EQ(f.edit.MaxColumn(), (32767 / 8) / 2);
  EXPECT_EQ(f.edit.LogFont().Height, 19);  // the negated font height
  EXPECT_EQ(f.edit.LogFont().CharSet, TLogFont::kDefaultCharset);
  EXPECT_EQ(f.edit.LogFont().PitchAndFamily, TLogFont::kFixedPitch);
  EXPECT_EQ(f.edit.LogFont().FaceName, "FixedSys");
  EXPECT_EQ(f.edit.TextLeft(), 10);
  EXPECT_EQ(f.edit.TextAreaWidth(), 800 - 10);
  EXPECT_EQ(f.edit.VisibleRows(), (600 - 4) / 21);
}

TEST(ZelEditProperties, LoadFileResetsStateAndReportsModify) {
  EditorFixture f;
  std::vector<std::string> events;
  f.edit.OnChangeModify = [&](TZelEdit&, bool m) { events.push_back(m ? "mod" : "unmod"); };
  f.edit.OnChangeRedoMode = [&](TZelEdit&, bool r) { events.push_back(r ? "redo" : "noredo"); };
  ASSERT_TRUE(f.Load("abc\r\ndef\r\n"));
  EXPECT_EQ(events, (std::vector<std::string>{"unmod", "noredo"}));
  EXPECT_EQ(f.edit.Lines().Count(), 3);
  EXPECT_EQ(f.edit.CaretRow(), 0);
  EXPECT_EQ(f.edit.TopRow(), 0);
}

TEST(ZelEditProperties, MissingFileLeavesEverythingAsItWas) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("one\r\ntwo\r\nthree"));
  f.edit.GoToPosition(1, 2, 0);
  f.edit.SetModified(true);
  std::string why;
  EXPECT_FALSE(f.edit.LoadFile(f.folder.File("missing.txt"), &why));
  EXPECT_NE(why.find("missing.txt"), std::string::npos);
  EXPECT_EQ(f.edit.Lines().Count(), 3);
  EXPECT_EQ(f.edit.CaretRow(), 2);
  EXPECT_EQ(f.edit.CaretCol(), 1);
  EXPECT_TRUE(f.edit.Modified());
}

TEST(ZelEditProperties, SaveFileFailureReturnsFalseAndKeepsTheFile) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("text"));
  EXPECT_FALSE(f.edit.SaveFile(f.folder.File("no/such/folder/x.txt")));
  const std::string target = f.folder.File("out.txt");
  EXPECT_TRUE(f.edit.SaveFile(target));
  EXPECT_EQ(testing::ReadBytes(target), "text");
}

TEST(ZelEditProperties, LoadWrapsAtTheColumn) {
  EditorFixture f;
  f.edit.SetColumn(10);
  ASSERT_TRUE(f.Load(std::string(25, 'x') + "\r\nz"));
  ASSERT_EQ(f.edit.Lines().Count(), 4);
  EXPECT_EQ(f.edit.Lines()[0], std::string(10, 'x'));
  f.edit.SetWordWrap(false);
  EXPECT_EQ(f.edit.Lines().Count(), 2);
}

TEST(ZelEditProperties, ClearEmptiesAndReportsUnmodified) {
  EditorFixture f;
  ASSERT_TRUE(f.Load("abc"));
  bool reported = true;
  f.edit.OnChangeModify = [&](TZelEdit&, bool m) { reported = m; };
  f.edit.SelectAll();
  f.Send(win::WM_CLEAR);
  EXPECT_FALSE(reported);
  EXPECT_EQ(f.edit.Lines().Count(), 1);
  EXPECT_FALSE(f.edit.HasSelection());
}

TEST(ZelEditProperties, RedesignBeforeTheWindowExistsDoesNothing) {
  THeadlessHost host;
  TZelEdit edit(host);
  host.drawn.clear();
  edit.Redesign();
  EXPECT_TRUE(host.drawn.empty());
  EXPECT_FALSE(host.caret.exists);
}

TEST(ZelEditProperties, CompositionWindowFailureIsReportedWithItsStage) {
  EditorFixture f;
  // No context: nothing to place, nothing to report.
  ASSERT_TRUE(f.Load("a"));
  EXPECT_TRUE(f.host.messageBoxes.empty());
  f.host.imeContext = 77;
  f.edit.Redesign();
  ASSERT_TRUE(f.host.compositionWindow.has_value());
  EXPECT_EQ(f.host.compositionWindow->X, f.edit.CaretPixelX());
}

}  // namespace
}  // namespace notavo
