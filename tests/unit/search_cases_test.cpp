// The search run's cases one by one: the built-in matcher's rules, a run's
// order of hits and its counts, replace runs limited to the selection's
// rows, the three answers of a confirmation, where the next step starts,
// and the faults mended (a hit over a line end replaced exactly, a run that
// resumes behind a replacement that re-wrapped its row).
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/search/match_rule.h"
#include "editor_fixture.h"

namespace notavo {
namespace {

using testing::EditorFixture;

TEST(BuiltInMatcher, ComparesBytesExactlyFromCharacterStartsUpToTheFirstNul) {
  struct Case {
    std::string text, find;
    int x;
  } const cases[] = {
      {"xxABC", "abc", 0},
      {"xxABCabc", "abc", 6},
      {"\x82\xA0\x82\xA2", "\xA0\x82", 0},                // trail byte of one, lead of the next
      {"a\x82\xA0\xA0\x82", "\xA0\x82", 4},               // the same bytes at a character start
      {"\x82\x82\x82\xA0", "\x82\xA0", 3},                // a trail byte that looks like a lead
      {"ab\0cd", "cd", 0},                                // the text ends at its NUL
      {"abcd", std::string("cd\0zz", 5), 3},              // so does the search text
      {"abc", "", 0},                                     // the empty text matches nowhere
      {std::string(3999, '\x82') + "\x82x", "\x82x", 0},  // a lead run longer than the look back
      {std::string(4000, '\x82') + "x\x82x", "\x82x", 4002},
  };
  for (const Case& c : cases) EXPECT_EQ(FindInText(c.text, c.find), c.x) << c.text.size();
}

struct Events {
  explicit Events(TZelEdit& edit) {
    edit.OnFind = TBuiltInMatcher{};
    edit.OnFindHit = [this](TZelEdit&, std::string_view, int x, int y, int len, int count) {
      log += "hit " + std::to_string(y) + "," + std::to_string(x) + " len " + std::to_string(len) +
             " #" + std::to_string(count) + "; ";
    };
    edit.OnFindNoHit = [this](TZelEdit&, std::string_view) { log += "none; "; };
    edit.OnFindChangeEnd = [this](TZelEdit&, std::string_view, std::string_view, int count) {
      log += "end #" + std::to_string(count) + "; ";
    };
  }
  std::string Take() { return std::exchange(log, {}); }
  std::string log;
};

std::string Text(const TZelEdit& edit) {
  std::string text;
  for (int r = 0; r < edit.Lines().Count(); ++r) text += edit.Lines()[r];
  return text.substr(0, text.size() - 2);
}

TEST(SearchRun, FindsInOrderWrapsAroundAndRestartsAtTheCaret) {
  EditorFixture f;
  Events e(f.edit);
  ASSERT_TRUE(f.Load("xa\r\nb abXabXab\r\nab"));
  f.edit.SetSearchText("a\r\nb");  // over a line end
  f.edit.FindFirst();
  f.edit.FindNext();
  f.edit.FindNext();  // the first hit again, counted afresh
  EXPECT_EQ(e.Take(), "hit 0,1 len 4 #1; none; hit 0,1 len 4 #1; ");
  // The hit is painted on the colour given (yellow on blue), until the
  // caret moves.
  f.host.drawn.clear();
  f.edit.PaintFoundText(0xFF0000);
  auto blue = [&] {
    return std::count_if(f.host.drawn.begin(), f.host.drawn.end(),
                         [](const TDrawCall& c) { return c.background == 0xFF0000; });
  };
  EXPECT_GT(blue(), 0);
  f.edit.GoToPosition(0, 0, 0);
  f.host.drawn.clear();
  f.edit.PaintFoundText(0xFF0000);
  EXPECT_EQ(blue(), 0);

  f.edit.SetSearchText("ab");
  f.edit.GoToPosition(10, 1, 0);  // the end of abXabXab
  f.edit.FindPrev();
  f.edit.FindPrev();
  f.edit.FindPrev();
  f.edit.FindPrev();
  EXPECT_EQ(e.Take(), "hit 1,8 len 2 #1; hit 1,5 len 2 #2; hit 1,2 len 2 #3; none; ");
  f.edit.FindNext();  // forward from where the backward search stopped
  EXPECT_EQ(e.Take(), "hit 1,2 len 2 #4; ");

  f.edit.GoToPosition(6, 1, 0);  // a caret move: the next step starts there
  f.edit.FindNext();
  EXPECT_EQ(e.Take(), "hit 1,8 len 2 #5; ");
  f.edit.GoToPosition(7, 1, 0);  // a hit ending at the caret is found backwards
  f.edit.FindPrev();
  EXPECT_EQ(e.Take(), "hit 1,5 len 2 #6; ");
  EXPECT_EQ(f.edit.CaretCol(), 5);

  f.edit.SetSearchText("");
  f.edit.FindFirst();
  EXPECT_EQ(e.Take(), "none; ");
}

TEST(SearchRun, ReplaceAllCountsAndNeverSearchesItsOwnReplacements) {
  struct Case {
    std::string text, find, by;
    bool wrap;
    std::string expected, events;
  } const cases[] = {
      {"aaa", "a", "aa", false, "aaaaaa", "end #3; "},
      // The hit over a line end is exactly the bytes matched.
      {"xa\r\nby", "a\r\nb", "X", false, "xXy", "end #1; "},
      {"xa\r\nby\r\nz", "a\r\nb", "X", true, "xXy\r\nz", "end #1; "},
      // Each replacement re-wraps its rows; the run goes on behind it.
      {std::string(60, 'a'), "aa", "b\r\naa", true,
       [] {
         std::string s;
         for (int i = 0; i < 30; ++i) s += "b\r\naa";
         return s;
       }(),
       "end #30; "},
      {"abc", "", "x", false, "abc", "end #0; "},
  };
  for (const Case& c : cases) {
    EditorFixture f;
    Events e(f.edit);
    f.edit.SetWordWrap(c.wrap);
    f.edit.SetColumn(10);
    ASSERT_TRUE(f.Load(c.text));
    f.edit.ReplaceAll(c.find, c.by, true, false);
    EXPECT_EQ(Text(f.edit), c.expected) << c.text;
    EXPECT_EQ(e.Take(), c.events) << c.text;
  }
}

TEST(SearchRun, ReplaceInTheSelectionTakesWholeRowsAndAsksAsTold) {
  EditorFixture f;
  Events e(f.edit);
  ASSERT_TRUE(f.Load("a1\r\na2 a\r\na3\r\na4 a\r\na5"));
  f.edit.SetSelection(2, 1, 3, 1);  // from (1,2) to (3,1): rows 1 to 3
  f.edit.ReplaceAll("a", "b", false, false);
  EXPECT_EQ(Text(f.edit), "a1\r\nb2 b\r\nb3\r\nb4 b\r\na5");
  EXPECT_EQ(e.Take(), "end #5; ");

  // The answers: no, yes, then all (this and every later hit without
  // asking) or stop (at once; the end still reports what was replaced).
  for (const bool abort : {false, true}) {
    ASSERT_TRUE(f.Load("xa xa xa xa"));
    int asked = 0;
    f.edit.OnFindChange = [&](TZelEdit&, std::string_view, std::string_view, int, int, int,
                              int count, bool& change, bool& confirm, bool& stop) {
      EXPECT_TRUE(change);
      EXPECT_EQ(count, asked == 2 ? 1 : 0);
      if (asked == 0) change = false;
      if (asked == 2 && abort) stop = true;
      if (asked == 2 && !abort) confirm = false;
      ++asked;
    };
    f.edit.ReplaceAll("a", "b", true, true);
    EXPECT_EQ(Text(f.edit), abort ? "xa xb xa xa" : "xa xb xb xb");
    EXPECT_EQ(e.Take(), abort ? "end #1; " : "end #3; ");
    EXPECT_EQ(asked, 3);
    // The next find starts at the caret (on the stopped hit, or behind the
    // last replacement), counting on from the run.
    f.edit.FindNext();
    f.edit.FindPrev();
    EXPECT_EQ(e.Take(),
              abort ? "hit 0,7 len 1 #2; hit 0,1 len 1 #3; " : "none; hit 0,1 len 1 #4; ");
  }
}

// A run without questions draws, scrolls and measures nothing per hit (the
// hit-by-hit path for a line holding a NUL included), then paints once.
TEST(SearchRun, ReplaceAllWithoutQuestionsPaintsOnceAtTheEnd) {
  for (const bool wrap : {false, true}) {
    EditorFixture f;
    Events e(f.edit);
    f.edit.SetWordWrap(wrap);
    f.edit.SetColumn(10);
    std::string text;
    for (int i = 0; i < 300; ++i) text += i == 150 ? std::string("a\0a a\r\n", 8) : "xa ya za\r\n";
    ASSERT_TRUE(f.Load(text));
    f.host.drawn.clear();
    const int top = f.edit.TopRow();
    int changes = 0;
    f.edit.OnChange = [&](TZelEdit& edit) {
      ++changes;
      EXPECT_TRUE(f.host.drawn.empty());
      EXPECT_EQ(edit.TopRow(), top);
    };
    f.edit.ReplaceAll("a", "b", true, false);
    EXPECT_EQ(e.Take(), "end #898; ");  // the NUL hides the line's last two
    EXPECT_EQ(changes, 898);
    EXPECT_FALSE(f.host.drawn.empty());
  }
}

}  // namespace
}  // namespace notavo
