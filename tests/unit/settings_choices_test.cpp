// The settings dialogs' decisions: the wrap dialog's three boxes as they
// load and as they are clicked, its column check and what OK stores, and
// the display dialog's tab-width list.
#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/choices/tab_width_choice.h"
#include "app/choices/wrap_choice.h"

namespace notavo {
namespace {

using enum TWrapBox;

// The boxes as one readable string: per box "x" checked or "." not, upper
// case when enabled; then the column box "C" enabled or "c" not.
std::string Show(const TWrapBoxes& b) {
  std::string s;
  for (TWrapBox box : {NoReturn, RightReturn, SetReturn}) {
    s += b.IsEnabled(box) ? (b.IsChecked(box) ? 'X' : 'O') : (b.IsChecked(box) ? 'x' : 'o');
  }
  return s + (b.ColumnEnabled ? 'C' : 'c');
}

TWrapBoxes Loaded(const std::map<TWrapBox, bool>& file) {
  TWrapBoxes boxes;
  LoadWrapBoxes(boxes, [&](TWrapBox box, bool fallback) {
    const auto found = file.find(box);
    return found == file.end() ? fallback : found->second;
  });
  return boxes;
}

TEST(WrapBoxes, LoadAndClickTable) {
  struct Case {
    std::map<TWrapBox, bool> file;
    std::vector<TWrapBox> clicks;
    const char* expected;
  };
  const Case cases[] = {
      {{}, {}, "xOOc"},  // no settings file: no wrapping, chosen and disabled
      {{{RightReturn, true}, {NoReturn, false}}, {}, "OxOc"},
      {{{SetReturn, true}, {NoReturn, false}}, {}, "OOxC"},
      {{{SetReturn, true}, {NoReturn, true}}, {}, "xOOc"},
      // Read in the order RightReturn, SetReturn, NoReturn: the last one set wins.
      {{{RightReturn, true}, {SetReturn, true}, {NoReturn, false}}, {}, "OOxC"},
      // Nothing chosen: only RightReturn can be clicked, the column box enabled.
      {{{NoReturn, false}}, {}, "oOoC"},
      {{}, {RightReturn}, "OxOc"},
      {{}, {SetReturn}, "OOxC"},
      {{}, {SetReturn, NoReturn}, "xOOc"},
      {{}, {SetReturn, RightReturn}, "OxOc"},
      {{}, {RightReturn, SetReturn}, "OOxC"},
      // From nothing chosen, the first choice leaves the column box as it was.
      {{{NoReturn, false}}, {RightReturn}, "OxOC"},
  };
  for (const Case& c : cases) {
    TWrapBoxes boxes = Loaded(c.file);
    for (TWrapBox box : c.clicks) boxes.Click(box);
    EXPECT_EQ(Show(boxes), c.expected) << "case " << (&c - cases);
  }
}

TEST(WrapDecision, ModeTableAndColumnCheck) {
  constexpr int kMax = 2047;  // an 8-pixel font
  const TWrapBoxes no = Loaded({});
  TWrapBoxes right = no, set = no, none = Loaded({{NoReturn, false}});
  right.Click(RightReturn);
  set.Click(SetReturn);
  struct Case {
    const TWrapBoxes& boxes;
    const char* text;
    std::optional<TWrapConfig> config;
    TColumnRefusal refusal;
    int setNum;
  };
  using enum TColumnRefusal;
  const Case cases[] = {
      {no, "10", TWrapConfig{false, kMax, true}, None, 10},
      {right, "10", TWrapConfig{true, kMax, false}, None, 10},
      {set, "10", TWrapConfig{false, 10, true}, None, 10},
      {set, "2047", TWrapConfig{false, 2047, true}, None, 2047},
      {set, "9", TWrapConfig{false, kMax, true}, BelowTen, kMax},
      {set, "-5", TWrapConfig{false, kMax, true}, BelowTen, kMax},
      {set, "2048", TWrapConfig{false, kMax, true}, AboveMax, kMax},
      // Not a number: wraps at 1000 and stores that, with no error.
      {set, "abc", TWrapConfig{false, 1000, true}, None, 1000},
      {set, "", TWrapConfig{false, 1000, true}, None, 1000},
      {set, "99999999999", TWrapConfig{false, 1000, true}, None, 1000},
      {right, "12x", TWrapConfig{true, kMax, false}, None, 1000},
      // Other modes store the typed column unchecked.
      {no, "5", TWrapConfig{false, kMax, true}, None, 5},
      {none, "30", std::nullopt, None, 30},
  };
  for (const Case& c : cases) {
    const TWrapOutcome outcome = DecideWrap(c.boxes, c.text, kMax);
    EXPECT_EQ(outcome.Config, c.config) << c.text << " case " << (&c - cases);
    EXPECT_EQ(outcome.Refusal, c.refusal) << c.text;
    EXPECT_EQ(outcome.SetNum, c.setNum) << c.text;
  }
  // A font so wide that 1000 is out of reach: a text that is no number is
  // refused like a column too large.
  const TWrapOutcome wide = DecideWrap(set, "abc", 500);
  EXPECT_EQ(wide.Refusal, AboveMax);
  EXPECT_EQ(wide.Config->Column, 500);
  EXPECT_EQ(wide.SetNum, 500);
  EXPECT_EQ(DecideWrap(right, "abc", 500).SetNum, 500);
}

TEST(TabWidthChoice, ItemForEachWidthAndWidthFromText) {
  const int items[] = {-1, 0, 0, 1, 1, 2, 2, 3};  // widths 1 ... 8
  for (int width = 1; width <= 8; ++width) {
    EXPECT_EQ(TabWidthItem(width), items[width - 1]) << width;
    if (items[width - 1] >= 0) {
      // OK without touching the list: the shown item's width.
      EXPECT_EQ(TabWidthFromText(kTabWidthItems[items[width - 1]]), width - width % 2);
    }
  }
  EXPECT_EQ(TabWidthFromText(""), 4);
}

}  // namespace
}  // namespace notavo
