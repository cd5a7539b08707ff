// The wrap properties' rules and the rebuild's failure path.
#include "editor/layout/wrap_layout.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

#include "platform/text_measure.h"
#include "textstore/zel_strings.h"

namespace notavo {
namespace {

using namespace std::string_literals;

struct RecordingHooks : TWrapViewHooks {
  std::vector<std::string> events;
  void ForgetFindHit() override { events.push_back("forget"); }
  void AfterRebuild(bool redraw) override { events.push_back(redraw ? "redraw" : "quiet"); }
  void ReportFailure(std::string_view code) override { events.push_back(std::string(code)); }
};

class ThrowingMeasurer final : public TTextMeasurer {
 public:
  int TextWidth(std::string_view) const override { throw std::runtime_error("font gone"); }
};

std::vector<std::string> RowsOf(const TZelStrings& s) {
  std::vector<std::string> rows;
  for (int i = 0; i < s.Count(); ++i) rows.emplace_back(s[i]);
  return rows;
}

TEST(WrapLayout, ColumnIsClampedAndRewrapsWhileWrapped) {
  TZelStrings lines;
  lines.Add(std::string(25, 'a') + "\0\0"s);
  RecordingHooks hooks;
  TWrapLayout layout(lines, hooks);
  TRowPos caret{0, 12}, anchor{0, 0};
  layout.SetColumn(3, caret, anchor);
  EXPECT_EQ(layout.Params().Column, 10);
  EXPECT_EQ(lines.Count(), 1);  // not wrapped yet: nothing rebuilt
  layout.SetWordWrap(true, caret, anchor);
  EXPECT_EQ(lines.Count(), 3);
  EXPECT_EQ(caret, (TRowPos{1, 2}));
  hooks.events.clear();
  layout.SetColumn(20, caret, anchor);
  EXPECT_EQ(RowsOf(lines), (std::vector<std::string>{std::string(20, 'a'), "aaaaa\0\0"s}));
  EXPECT_EQ(caret, (TRowPos{0, 12}));
  EXPECT_EQ(hooks.events, (std::vector<std::string>{"forget", "quiet", "forget", "redraw"}));
}

TEST(WrapLayout, TabCountIsClamped) {
  TZelStrings lines;
  RecordingHooks hooks;
  TWrapLayout layout(lines, hooks);
  layout.SetTabCount(0);
  EXPECT_EQ(layout.Params().TabCount, 1);
  layout.SetTabCount(12);
  EXPECT_EQ(layout.Params().TabCount, 8);
}

TEST(WrapLayout, FailedRebuildIsReportedAndChangesNothing) {
  TZelStrings lines;
  lines.Add(std::string(40, 'b') + "\r\n");
  lines.Add("\0\0"s);
  const auto before = RowsOf(lines);
  RecordingHooks hooks;
  TWrapLayout layout(lines, hooks);
  ThrowingMeasurer measurer;
  layout.SetAutoWrap(true);
  layout.SetTextArea(100, 8, &measurer);
  TRowPos caret{0, 5}, anchor{0, 5};
  layout.SetWordWrap(true, caret, anchor);
  EXPECT_EQ(RowsOf(lines), before);
  EXPECT_FALSE(layout.WordWrap());
  EXPECT_EQ(caret, (TRowPos{0, 5}));
  EXPECT_EQ(hooks.events.back(), "Error:OC004");
}

}  // namespace
}  // namespace notavo
