#include "textstore/row_terminators.h"

#include <gtest/gtest.h>

#include <string>

namespace notavo {
namespace {

using namespace std::string_literals;

struct TerminatorCase {
  std::string row;
  bool endsLine;
  std::string withoutLineEnd;
  std::string withoutEofMark;
};

TEST(RowTerminators, Table) {
  const TerminatorCase cases[] = {
      {"abc\r\n"s, true, "abc", "abc\r\n"},
      {"abc\0\0"s, true, "abc", "abc"},
      {"\0\0"s, true, "", ""},
      {"\r\n"s, true, "", "\r\n"},
      {"abc"s, false, "abc", "abc"},
      {"a"s, false, "a", "a"},
      {""s, false, "", ""},
      {"\r"s, false, "\r", "\r"},
      {"\0"s, false, "\0"s, "\0"s},
      {"ab\rx"s, true, "ab", "ab\rx"},  // lone CR with its follower
      {"ab\0x"s, true, "ab", "ab"},     // NUL-led terminator
      {"ab\n\r"s, false, "ab\n\r", "ab\n\r"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.row));
    EXPECT_EQ(RowEndsLine(c.row), c.endsLine);
    EXPECT_EQ(StripLineEnd(c.row), c.withoutLineEnd);
    EXPECT_EQ(StripEofMark(c.row), c.withoutEofMark);
  }
}

}  // namespace
}  // namespace notavo
