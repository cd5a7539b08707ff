// The control's defaults, clamps, options, construction and whole-document
// operations.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editor_fixture.h"
#include "textstore/row_terminators.h"
#include "wrap_reference.h"

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
  EXPECT_EQ(edit.Version(), "TZelEdit Ver1.24");
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

// One published property as the randomized check below changes it: a value
// drawn at random (out-of-range ones among them), written into an options
// value or passed to the property's own setter.
struct OptionField {
  const char* name;
  std::function<int(std::mt19937&)> draw;
  std::function<void(TZelEditOptions&, int)> write;
  std::function<void(TZelEdit&, int)> set;
};

std::function<int(std::mt19937&)> OneOf(std::initializer_list<int> values) {
  return [list = std::vector<int>(values)](std::mt19937& rng) { return list[rng() % list.size()]; };
}

template <typename T, typename Setter>
OptionField Field(const char* name, std::function<int(std::mt19937&)> draw,
                  T TZelEditOptions::*member, Setter setter, T (*value)(int)) {
  return {name, std::move(draw), [=](TZelEditOptions& o, int v) { o.*member = value(v); },
          [=](TZelEdit& e, int v) { (e.*setter)(value(v)); }};
}

bool AsFlag(int v) { return v != 0; }
int AsNumber(int v) { return v; }
TColor AsColour(int v) { return static_cast<TColor>(v); }
std::uint8_t AsByte(int v) { return static_cast<std::uint8_t>(v); }
TLineSizeUnit AsUnit(int v) { return v != 0 ? uPixel : uPercent; }
TBorderStyle AsBorder(int v) { return v != 0 ? bsSingle : bsNone; }
TFontDesc AsFont(int v) {
  const TFontDesc fonts[] = {{}, {"Terminal", -12, 0xFF0000FF, 128}, {"FixedSys", -25, 7, 1}};
  return fonts[v];
}
std::string AsQuote(int v) {
  const char* quotes[] = {">", "|", ">\x81\x84"};
  return quotes[v];
}

std::vector<OptionField> OptionFields() {
  using O = TZelEditOptions;
  using E = TZelEdit;
  const auto flag = OneOf({0, 1});
  const auto colour = [](std::mt19937& rng) { return static_cast<int>(rng()); };
  return {
      Field("UndoRec", flag, &O::UndoRec, &E::SetUndoRec, AsFlag),
      Field("CaretScrollFix", flag, &O::CaretScrollFix, &E::SetCaretScrollFix, AsFlag),
      Field("TopMargin", OneOf({-7, 0, 11, 30, 45}), &O::TopMargin, &E::SetTopMargin, AsNumber),
      Field("LeftMargin", OneOf({-3, 0, 10, 31}), &O::LeftMargin, &E::SetLeftMargin, AsNumber),
      Field("ScrollStep", OneOf({1, 2, 255}), &O::ScrollStep, &E::SetScrollStep, AsByte),
      Field("CurSetMode", flag, &O::CurSetMode, &E::SetCurSetMode, AsFlag),
      Field("SelColor", colour, &O::SelColor, &E::SetSelColor, AsColour),
      Field("CREOFcolor", colour, &O::CREOFcolor, &E::SetCREOFcolor, AsColour),
      Field("TabCount", OneOf({-1, 0, 1, 3, 4, 8, 12}), &O::TabCount, &E::SetTabCount, AsNumber),
      Field("ShowEOF", flag, &O::ShowEOF, &E::SetShowEOF, AsFlag),
      Field("ShowCR", flag, &O::ShowCR, &E::SetShowCR, AsFlag),
      Field("ShowDblSpace", flag, &O::ShowDblSpace, &E::SetShowDblSpace, AsFlag),
      Field("ShowTAB", flag, &O::ShowTAB, &E::SetShowTAB, AsFlag),
      Field("UndoBuf", OneOf({-1, 0, 10, 1015808}), &O::UndoBuf, &E::SetUndoBuf, AsNumber),
      Field("LineSpace", OneOf({-20, 0, 10, 50, 150}), &O::LineSpace, &E::SetLineSpace, AsNumber),
      Field("LineSpaceUnit", flag, &O::LineSpaceUnit, &E::SetLineSpaceUnit, AsUnit),
      Field("ShowUnderLine", flag, &O::ShowUnderLine, &E::SetShowUnderLine, AsFlag),
      Field("AutoIndent", flag, &O::AutoIndent, &E::SetAutoIndent, AsFlag),
      Field("BorderStyle", flag, &O::BorderStyle, &E::SetBorderStyle, AsBorder),
      Field("Color", colour, &O::Color, &E::SetColor, AsColour),
      Field("Font", OneOf({0, 1, 2}), &O::Font, &E::SetFont, AsFont),
      Field("ReadOnly", flag, &O::ReadOnly, &E::SetReadOnly, AsFlag),
      Field("HorzScrollBar", flag, &O::HorzScrollBar, &E::SetHorzScrollBar, AsFlag),
      Field("VertScrollBar", flag, &O::VertScrollBar, &E::SetVertScrollBar, AsFlag),
      Field("WordWrap", flag, &O::WordWrap, &E::SetWordWrap, AsFlag),
      Field("AutoWrap", flag, &O::AutoWrap, &E::SetAutoWrap, AsFlag),
      Field("WantTabs", flag, &O::WantTabs, &E::SetWantTabs, AsFlag),
      Field("Column", OneOf({-4, 3, 10, 11, 17, 40, 72, 1000}), &O::Column, &E::SetColumn,
            AsNumber),
      Field("Inyostr", OneOf({0, 1, 2}), &O::Inyostr, &E::SetInyostr, AsQuote),
      Field("ColorPrintF", flag, &O::ColorPrintF, &E::SetColorPrintF, AsFlag),
      Field("URLColor", colour, &O::URLColor, &E::SetURLColor, AsColour),
      Field("InyoColor", colour, &O::InyoColor, &E::SetInyoColor, AsColour),
      Field("UlineColor", colour, &O::UlineColor, &E::SetUlineColor, AsColour),
      Field("ShowLineNumber", flag, &O::ShowLineNumber, &E::SetShowLineNumber, AsFlag),
      Field("LineNoColumn", OneOf({-1, 0, 1, 3, 5, 9}), &O::LineNoColumn, &E::SetLineNoColumn,
            AsNumber),
      Field("SingleByteMode", flag, &O::SingleByteMode, &E::SetSingleByteMode, AsFlag),
  };
}

// Long lines, tabs, double-byte characters (one of them across the
// default wrap column), quotes and short lines.
std::string OptionsDocument(std::mt19937& rng) {
  static const std::string pieces[] = {
      "abc ", "\t", "\x93\xFA\x96\x7B", "\x81\x40", "xy", "http://a.jp/ ", "\xB1\xB2"};
  std::string text;
  for (int line = 0; line < 40; ++line) {
    if (line % 7 == 3) text += "> ";
    const int length = OneOf({0, 3, 20, 71, 150, 400})(rng);
    std::string bytes;
    while (static_cast<int>(bytes.size()) < length) bytes += pieces[rng() % std::size(pieces)];
    text += bytes + "\r\n";
  }
  return text + std::string(71, 'z') + "\x88\x9F";
}

std::vector<std::string> RowsOf(const TZelStrings& lines) {
  std::vector<std::string> rows;
  for (int r = 0; r < lines.Count(); ++r) rows.emplace_back(lines[r]);
  return rows;
}

// The rows the options call for, cut afresh from the document's lines by
// the slow reference cut; empty where that cut refuses the line.
std::vector<std::string> ExpectedRows(const TZelEdit& edit, TTextMeasurer& measurer) {
  const TZelEditOptions& o = edit.Options();
  std::vector<std::string> lines{""};
  for (int r = 0; r < edit.Lines().Count(); ++r) {
    lines.back() += edit.Lines()[r];
    if (RowEndsLine(edit.Lines()[r])) lines.emplace_back();
  }
  if (lines.back().empty()) lines.pop_back();
  if (!o.WordWrap) return lines;
  TWrapParams params;
  params.Column = o.Column;
  params.TabCount = o.TabCount;
  params.SingleByteMode = o.SingleByteMode;
  params.AutoWrap = o.AutoWrap;
  // The edge is where the text starts before the gutter widens for the
  // row count; a digit is one 8-pixel cell.
  const int gutter = o.ShowLineNumber ? 8 * o.LineNoColumn + 7 : 0;
  params.TextAreaWidth = 800 - o.LeftMargin - gutter;
  params.CharWidth = edit.CharWidth();
  params.Measurer = &measurer;
  std::vector<std::string> rows;
  for (const std::string& line : lines) {
    if (!testing::ReferenceCut(line, params, rows)) return {};
  }
  return rows;
}

// The caret as (logical line, byte offset in it), which no re-wrap changes.
std::pair<int, int> LogicalCaret(const TZelEdit& edit) {
  int line = 0, offset = edit.CaretCol();
  for (int r = 0; r < edit.CaretRow(); ++r) {
    const std::string_view row = edit.Lines()[r];
    if (RowEndsLine(row)) {
      ++line;
      offset = edit.CaretCol();
    } else {
      offset += static_cast<int>(row.size());
    }
  }
  return {line, offset};
}

// Random groups of properties changed through ApplyOptions in one call give
// the rows a fresh cut with the new options gives, keep the caret on its
// character, and leave the same editor as the same final values passed to
// the setters one by one, in any order: the same rows, caret, view metrics
// and options.
TEST(ZelEditOptions, ChangedTogetherEqualsChangedOneByOne) {
  const std::vector<OptionField> fields = OptionFields();
  for (unsigned seed = 1; seed <= 10; ++seed) {
    SCOPED_TRACE("seed " + std::to_string(seed));
    std::mt19937 rng(seed);
    const std::string document = OptionsDocument(rng);
    EditorFixture together, oneByOne;
    ASSERT_TRUE(together.Load(document));
    ASSERT_TRUE(oneByOne.Load(document));
    for (int step = 0; step < 60; ++step) {
      const int row =
          static_cast<int>(rng() % static_cast<unsigned>(together.edit.Lines().Count()));
      const int col = static_cast<int>(rng() % 300);
      together.edit.GoToPosition(col, row, 0);
      oneByOne.edit.GoToPosition(col, row, 0);
      const std::pair<int, int> caret = LogicalCaret(together.edit);

      std::vector<std::pair<const OptionField*, int>> changes;
      const int count = OneOf({1, 2, 3, 5, 8})(rng);
      for (int i = 0; i < count; ++i) {
        const OptionField& field = fields[rng() % fields.size()];
        changes.emplace_back(&field, field.draw(rng));
      }
      TZelEditOptions options = together.edit.Options();
      std::string names;
      for (const auto& [field, value] : changes) {
        field->write(options, value);
        names += std::string(field->name) + "=" + std::to_string(value) + " ";
      }
      together.edit.ApplyOptions(options);
      // Later draws of the same field win in both editors.
      std::vector<std::pair<const OptionField*, int>> last;
      for (auto it = changes.rbegin(); it != changes.rend(); ++it) {
        const bool seen = std::any_of(last.begin(), last.end(),
                                      [&](const auto& c) { return c.first == it->first; });
        if (!seen) last.push_back(*it);
      }
      std::shuffle(last.begin(), last.end(), rng);
      for (const auto& [field, value] : last) field->set(oneByOne.edit, value);

      SCOPED_TRACE("step " + std::to_string(step) + ": " + names);
      const TZelEdit& a = together.edit;
      const TZelEdit& b = oneByOne.edit;
      ASSERT_TRUE(a.Options() == b.Options());
      ASSERT_EQ(a.Options(), a.Options().Clamped());
      ASSERT_EQ(a.WordWrap(), a.Options().WordWrap);
      const std::vector<std::string> expected = ExpectedRows(a, together.host.Surface());
      if (!expected.empty()) {
        ASSERT_EQ(RowsOf(a.Lines()), expected);
      }
      EXPECT_EQ(LogicalCaret(a), caret);
      ASSERT_EQ(a.Lines().Count(), b.Lines().Count());
      for (int r = 0; r < a.Lines().Count(); ++r) ASSERT_EQ(a.Lines()[r], b.Lines()[r]) << r;
      EXPECT_EQ(a.CaretRow(), b.CaretRow());
      EXPECT_EQ(a.CaretCol(), b.CaretCol());
      EXPECT_EQ(a.CharWidth(), b.CharWidth());
      EXPECT_EQ(a.RowPitch(), b.RowPitch());
      EXPECT_EQ(a.TextLeft(), b.TextLeft());
      EXPECT_EQ(a.TextAreaWidth(), b.TextAreaWidth());
      EXPECT_EQ(a.VisibleRows(), b.VisibleRows());
    }
  }
}

// However many wrap properties change together, the rows are rebuilt once:
// one unwrap and one wrap while wrapped, one wrap when wrapping starts, and
// not at all for what only moves or colours the text.
TEST(ZelEditOptions, WrapChangesTogetherRebuildTheRowsOnce) {
  const struct {
    bool wrapped;
    std::function<void(TZelEditOptions&)> change;
    int rebuilds;
  } cases[] = {
      {true, [](TZelEditOptions& o) { o.Column = 20, o.TabCount = 3, o.SingleByteMode = true; }, 2},
      {true, [](TZelEditOptions& o) { o.AutoWrap = true, o.LeftMargin = 0, o.Font.Height = 9; }, 2},
      {false, [](TZelEditOptions& o) { o.WordWrap = true, o.Column = 30, o.TabCount = 2; }, 1},
      {true, [](TZelEditOptions& o) { o.Color = 5, o.TopMargin = 20, o.LeftMargin = 0; }, 0},
  };
  std::mt19937 rng(7);
  const std::string document = OptionsDocument(rng);
  for (const auto& c : cases) {
    EditorFixture f;
    f.edit.SetWordWrap(c.wrapped);
    ASSERT_TRUE(f.Load(document));
    TZelEditOptions options = f.edit.Options();
    c.change(options);
    const int before = f.edit.RowRebuilds();
    f.edit.ApplyOptions(options);
    EXPECT_EQ(f.edit.RowRebuilds() - before, c.rebuilds) << &c - cases;
  }
}

}  // namespace
}  // namespace notavo
